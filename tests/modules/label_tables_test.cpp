// Every model's Module Setup rows, pages and help topics as the program builds
// them from the module's tables: once on a platform object without a library,
// as the help and a module added by hand see them, and once filled from the
// sample demo on the sample rack, as a loaded configuration shows them. What a
// slip in a transcribed table would break is checked here for every model at
// once, as is what the trigger operations tell the stand-in; the modules' own
// tests check what their rows do.
#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <memory>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <typeinfo>
#include <vector>

#include <gtest/gtest.h>

#include "app/help_pages.h"
#include "keys/key_table.h"
#include "library/hardware.h"
#include "modules/acquisition/acq_plat_mod.h"
#include "modules/acquisition/pair_row.h"
#include "modules/model_registry.h"
#include "params/camera_list.h"
#include "params/mod.h"
#include "params/mod_param.h"
#include "sim/trigger_registers.h"
#include "support/stand_in.h"
#include "system/plat_mod.h"

namespace qvi::keys {

// Test names and failures show the model rather than the table's address.
void PrintTo(const ModelTable *table, std::ostream *os) {
    *os << (table ? table->model : "no model");
}

}  // namespace qvi::keys

namespace qvi {
namespace {

namespace fs = std::filesystem;
using keys::ModelTable;

// Rows the tables document as departing from the rule of their kind.
enum class Quirk { FewerLabels, NoParameter, OutsideLimits, IdTwice, ChoicesFromSettings };
struct Documented {
    std::string_view model;
    int id;
    Quirk quirk;
};
constexpr Documented kDocumented[] = {
    // "Strobe Mode": the third word is read and written, never offered.
    {"TX-10", 41, Quirk::FewerLabels},
    // "Cust P2": one label for its two words.
    {"TX-50", 53, Quirk::FewerLabels},
    // "EXSync fine width": bound to no parameter, always shows 0, below its minimum.
    {"TX-40", 27, Quirk::NoParameter},
    {"TX-40", 27, Quirk::OutsideLimits},
    // "Load Counter" stands twice in the label table.
    {"TX-70", 126, Quirk::IdTwice},
    // "Frame count": a board without the key shows its default 0, below 1 to 8.
    {"SXP", 6, Quirk::OutsideLimits},
    // "Brightness": the key's default 160 lies above -128 to 127.
    {"TX-70", 22, Quirk::OutsideLimits},
    // "Horizontal Total": the demo's cameras have totals above the row's 1023
    // (1024 on SXA channel 2, 1344 on the TX-70's XGA camera).
    {"SXA-VMOD", 8, Quirk::OutsideLimits},
    {"TX-70", 42, Quirk::OutsideLimits},
    // "Memory Size": its labels are the settings file's memory files, none here.
    {"RX-20", 0, Quirk::ChoicesFromSettings},
};

// The boards and modules whose library has no register dump.
constexpr std::string_view kWithoutRegisterDump[] = {"BZ700", "RXP", "RX-10", "RX-30", "SXA"};

// The rows that set two parameters: the stored values of the two (by
// handle) that each choice leaves, where documented; what an index outside
// the choices shows first (with the index after it), if anything; and whether
// it then takes the first choice or keeps the one it had.
struct PairRowCase {
    std::string_view model;
    int id;
    int first, second;
    std::vector<std::array<int, 2>> held;
    std::string_view message;
    bool setsFirst;
};
const PairRowCase kPairRows[] = {
    {"TX-20", 20, 18, 19, {{0, 0}, {1, 1}, {1, 0}},
     "Invalid passed to TX20_trig_usr_param::SetIndex()", false},
    {"TX-20", 23, 31, 32, {{0, 0}, {0, 1}, {1, 0}, {1, 1}},
     "Invalid passed to TX20_strobe_output_usr_param::SetIndex()", true},
    {"TX-20", 24, 29, 30, {{0, 0}, {1, 0}, {1, 1}}, "", true},
    {"TX-40", 17, 40, 41, {{0, 0}, {1, 1}, {1, 0}},
     "Invalid index passed to TX40_trig_usr_param::SetIndex() ", false},
    {"TX-40", 22, 28, 29, {{0, 1}, {0, 0}, {1, 0}, {1, 1}},
     "Invalid index passed to TX40_prog_int_usr_param::SetIndex() ", false},
    {"TX-50", 39, 44, 43, {{0, 0}, {0, 1}, {1, 0}, {1, 1}},
     "Invalid passed to TX50_strobe_output_usr_param::SetIndex()", true},
    {"TX-50", 40, 0, 0, {}, "Invalid passed to TX20_trig_usr_param::SetIndex()", false},
};

bool Is(const ModelTable &table, int id, Quirk quirk) {
    return std::ranges::any_of(kDocumented, [&](const Documented &row) {
        return row.model == table.model && row.id == id && row.quirk == quirk;
    });
}

// One label per word, or one per value where words repeat a value as another
// spelling of it.
bool OneLabelPerChoice(std::size_t labels, const QV_choice_param &choice) {
    std::set<double> values;
    for (int i = 0; i < choice.GetChoiceCount(); ++i)
        values.insert(choice.GetChoiceValue(i).ToDouble());
    return labels == std::size_t(choice.GetChoiceCount()) || labels == values.size();
}

bool Is32Bit(ValKind kind) {
    return kind == ValKind::S32 || kind == ValKind::U32 || kind == ValKind::Float;
}

// The largest port count of the module's parameters: 4 for a four-port module.
int PortsOf(const QV_mod &module) {
    int ports = 1;
    for (const auto &param : module.GetModParams()) ports = std::max(ports, param->GetPortCount());
    return ports;
}

std::string RowName(const QV_usr_param &row) {
    return "row " + std::to_string(row.GetId()) + " \"" + row.GetLabel() + "\"";
}

const HelpBook &Help() {
    static const HelpBook book;
    return book;
}

class LabelTableTest : public testing::StandInTest,
                       public ::testing::WithParamInterface<const ModelTable *> {
protected:
    const ModelTable &table() const { return *GetParam(); }
    std::string Model() const { return std::string(table().model); }

    // The container as the help builds it: a platform object without a library.
    std::unique_ptr<QV_mod> Unfilled() {
        unfilledPlatform_ = MakePlatform(PlatformNameOf(Model()), nullptr, 0, NoModuleSettings());
        if (!unfilledPlatform_) return nullptr;
        return MakeContainer(Model(), *unfilledPlatform_, NoModuleSettings());
    }

    // The model's containers in the sample demo, loaded on the sample rack with
    // or without hardware and refreshed as the Module Setup dialog refreshes them.
    std::vector<QV_mod *> Loaded(bool hardware) {
        const fs::path samples(QVI_SAMPLES_DIR);
        SetHardwareEnabled(hardware);
        UseRack(Read(samples / "rack.ini"));
        Start();
        const fs::path demo = Write("demo.txt", Read(samples / "demo.txt"));
        EXPECT_EQ(tree->LoadFile(demo.string()), 0);
        return ModulesOfModel();
    }

    // The model's containers in the loaded configuration, refreshed as the
    // Module Setup dialog refreshes them.
    std::vector<QV_mod *> ModulesOfModel() {
        std::vector<QV_mod *> found;
        for (int i = 0; i < tree->System().Size(); ++i) {
            QV_mod *module = tree->System().GetModule(i);
            if (module == nullptr || keys::FindModel(module->GetName()) != &table()) continue;
            module->RefreshUsrParams();
            found.push_back(module);
        }
        return found;
    }

    // Whether the model's modules have camera structures, one per port; a
    // model whose specification is its camera refers to its current copy.
    int CameraRefOffset() const {
        const keys::Layout &layout = table().layout;
        if (layout.cameraPorts == 0) return -1;
        return layout.cameraRefOffset >= 0 ? layout.cameraRefOffset : layout.currentCameraRefOffset;
    }
    std::uint8_t *CameraOf(const QV_plat_mod &owner, int port) const {
        const std::size_t stride = std::size_t(port * table().layout.cameraRefStride);
        return owner.Deref(RecordU32(owner.Spec(), std::size_t(CameraRefOffset()) + stride));
    }
    std::vector<std::uint8_t> CameraBytes(const QV_plat_mod &owner, int port) const {
        const std::uint8_t *at = CameraOf(owner, port);
        return std::vector<std::uint8_t>(at, at + table().layout.cameraSize);
    }

    // What the library prints while the module shows its registers.
    std::string ShownRegisters(QV_mod &module) {
        std::string printed;
        auto sink = platform->Binding().Entry<&::qrx_set_console_sink>();
        sink([](const char *text, void *user) { static_cast<std::string *>(user)->append(text); },
             &printed);
        module.ShowRegisters();
        sink([](const char *, void *) {}, nullptr);
        return printed;
    }

    void CheckRows(QV_mod &module);
    void CheckSelectors(QV_mod &module);
    void CheckPages(const QV_mod &module);
    void CheckHelp(QV_mod &module);
    void CheckShownValues(QV_mod &module);
    void CheckPairRows(QV_mod &module);

private:
    std::unique_ptr<QV_plat_mod> unfilledPlatform_;
};

// Ids are unique and each row edits a parameter of the module of a kind its
// control can show, within limits that make sense for that parameter.
void LabelTableTest::CheckRows(QV_mod &module) {
    std::set<int> ids;
    for (const auto &row : module.GetUsrParams()) {
        SCOPED_TRACE(RowName(*row));
        const bool added = ids.insert(row->GetId()).second;
        EXPECT_TRUE(added || Is(table(), row->GetId(), Quirk::IdTwice)) << "id used twice";
        EXPECT_NE(row->GetId(), QV_page_usr_param::kId);
        EXPECT_FALSE(row->GetLabel().empty());
        const QV_mod_param *param = row->GetParam();
        if (Is(table(), row->GetId(), Quirk::NoParameter)) {
            EXPECT_EQ(param, nullptr);
            continue;
        }
        ASSERT_NE(param, nullptr) << "the row's handle names no parameter";
        const ValKind kind = param->GetRawValue(0).GetKind();
        const auto *choice = dynamic_cast<const QV_choice_param *>(param);
        switch (row->GetControlKind()) {
            case ControlKind::DropDown:
                if (typeid(*row) != typeid(QV_choice_usr_param)) break;
                ASSERT_NE(choice, nullptr) << "a drop-down of a number or a text";
                if (Is(table(), row->GetId(), Quirk::FewerLabels)) {
                    EXPECT_LT(row->GetChoices().size(), std::size_t(choice->GetChoiceCount()));
                } else {
                    EXPECT_TRUE(OneLabelPerChoice(row->GetChoices().size(), *choice))
                        << row->GetChoices().size() << " labels for " << choice->GetChoiceCount()
                        << " words";
                }
                break;
            case ControlKind::Number: {
                EXPECT_EQ(choice, nullptr) << "a number field of a choice";
                EXPECT_NE(kind, ValKind::Text);
                const QV_param_val min = row->GetMin(), max = row->GetMax();
                EXPECT_GT(row->GetStep().ToDouble(), 0.0);
                // A 32-bit row whose maximum lies below its minimum takes any number.
                if (!Is32Bit(min.GetKind())) {
                    EXPECT_LE(min.ToDouble(), max.ToDouble());
                }
                if (typeid(*row) == typeid(QV_range_usr_param)) {
                    EXPECT_EQ(min.GetKind(), kind);
                    EXPECT_EQ(max.GetKind(), kind);
                    EXPECT_EQ(row->GetStep().GetKind(), kind);
                }
                break;
            }
            case ControlKind::Text:
                EXPECT_EQ(kind, ValKind::Text);
                break;
        }
    }
}

// The cameras a camera selector lists are those of its own model (the section
// or the library's name), of the board for a camera channel; the TX-70 on its
// decoder board lists those of its variant name.
bool ListsCamerasOf(const ModelTable &table, std::string_view key) {
    if (key == "TX-71") key = "TX-70";
    const ModelTable *owner = keys::FindModel(key);
    if (owner == nullptr) owner = keys::FindSection(key);
    if (owner == &table) return true;
    return owner && table.category == keys::ModelCategory::CameraChannel &&
           std::ranges::count(owner->slots, keys::SlotKind::CameraChannel) > 0;
}

// Each page with camera selectors has one per port, ports 0 up, all listing
// the same cameras, and a port selector with one label per port when there is
// more than one; the first page has them. Each edits the port's camera name.
void LabelTableTest::CheckSelectors(QV_mod &module) {
    bool anyCamera = false;
    for (const auto &group : module.GetParamGroups()) {
        SCOPED_TRACE("page \"" + group->GetName() + "\"");
        std::set<int> ports;
        std::set<std::string> keys;
        std::vector<const QV_usr_param *> portSelectors;
        for (const QV_usr_param *row : group->GetUsrParams()) {
            if (dynamic_cast<const QV_port_usr_param *>(row)) portSelectors.push_back(row);
            const auto *camera = dynamic_cast<const QV_camera_usr_param *>(row);
            if (camera == nullptr) continue;
            EXPECT_TRUE(ports.insert(camera->Port()).second) << RowName(*row) << " port twice";
            keys.insert(camera->ModuleKey());
            EXPECT_TRUE(ListsCamerasOf(table(), camera->ModuleKey())) << camera->ModuleKey();
            ASSERT_NE(row->GetParam(), nullptr);
            EXPECT_EQ(row->GetParam()->GetRawValue(0).GetKind(), ValKind::Text);
        }
        if (group == module.GetParamGroups().front()) anyCamera = !ports.empty();
        EXPECT_LE(keys.size(), 1u);
        if (!ports.empty()) {
            EXPECT_EQ(*ports.rbegin(), static_cast<int>(ports.size()) - 1) << "a port missing";
        }
        ASSERT_LE(portSelectors.size(), 1u);
        if (ports.size() > 1) {
            ASSERT_EQ(portSelectors.size(), 1u);
            EXPECT_EQ(portSelectors.front()->GetChoices().size(), ports.size());
            EXPECT_LE(static_cast<int>(ports.size()), PortsOf(module));
        } else {
            EXPECT_TRUE(portSelectors.empty());
        }
    }
    bool hasCamera = false;
    for (const auto &row : module.GetUsrParams())
        hasCamera = hasCamera || dynamic_cast<const QV_camera_usr_param *>(row.get());
    EXPECT_EQ(anyCamera, hasCamera) << "the first page lacks the camera selectors";
}

// Every page has a title and rows after the page selector, which heads every
// page and lists the titles.
void LabelTableTest::CheckPages(const QV_mod &module) {
    const auto &groups = module.GetParamGroups();
    if (module.GetUsrParams().empty()) {
        EXPECT_TRUE(groups.empty());
        return;
    }
    ASSERT_FALSE(groups.empty());
    const QV_page_usr_param *selector = module.GetPageSelector();
    ASSERT_NE(selector, nullptr);
    std::vector<std::string> titles;
    for (const auto &group : groups) {
        SCOPED_TRACE("page \"" + group->GetName() + "\"");
        EXPECT_FALSE(group->GetName().empty());
        EXPECT_EQ(std::ranges::count(titles, group->GetName()), 0) << "title used twice";
        titles.push_back(group->GetName());
        const std::vector<QV_usr_param *> &rows = group->GetUsrParams();
        ASSERT_GE(rows.size(), 2u) << "no rows";
        EXPECT_EQ(rows.front(), selector);
        std::set<const QV_usr_param *> onPage;
        for (std::size_t i = 1; i < rows.size(); ++i) {
            EXPECT_TRUE(onPage.insert(rows[i]).second) << RowName(*rows[i]) << " twice";
            EXPECT_NE(rows[i], selector);
        }
    }
    EXPECT_EQ(selector->GetChoices(), titles);
}

// Every row's topic has a page of the built-in help, and the help table names
// no row the module lacks: any other id gets the general topic. The model has
// its own page.
void LabelTableTest::CheckHelp(QV_mod &module) {
    EXPECT_NE(Help().FindLink(HelpBook::ModelLink(table().model)), nullptr);
    for (const auto &row : module.GetUsrParams()) {
        const int topic = module.GetHelpTopic(row->GetId());
        EXPECT_NE(Help().Find(topic), nullptr) << RowName(*row) << " topic " << topic;
    }
    for (int id = -1; id <= QV_page_usr_param::kId; ++id) {
        if (module.GetUsrParam(id) != nullptr) continue;
        EXPECT_EQ(module.GetHelpTopic(id), HelpBook::kModuleTopic) << "id " << id;
    }
}

// What a row shows lies inside its own choices and limits. A camera
// selector's choices come from the camera database, not from the tables.
void LabelTableTest::CheckShownValues(QV_mod &module) {
    for (const auto &row : module.GetUsrParams()) {
        SCOPED_TRACE(RowName(*row));
        if (dynamic_cast<const QV_camera_usr_param *>(row.get()) ||
            Is(table(), row->GetId(), Quirk::OutsideLimits) ||
            Is(table(), row->GetId(), Quirk::ChoicesFromSettings))
            continue;
        if (row->GetControlKind() == ControlKind::DropDown) {
            const int index = row->GetIndex();
            EXPECT_GE(index, 0);
            EXPECT_LT(index, static_cast<int>(row->GetChoices().size()));
        } else if (row->GetControlKind() == ControlKind::Number) {
            const double min = row->GetMin().ToDouble(), max = row->GetMax().ToDouble();
            if (min > max) continue;  // any number
            const double value = row->GetValue().ToDouble();
            EXPECT_GE(value, min);
            EXPECT_LE(value, max);
        }
    }
}

// Every choice of a row that sets two parameters reads back as chosen (its
// pairs are told apart and none shadows a later one) and leaves the values
// documented, and an index outside them is handled as documented.
void LabelTableTest::CheckPairRows(QV_mod &module) {
    const auto held = [&](int handle) { return module.GetModParam(handle)->GetRawValue().ToDouble(); };
    for (const auto &row : module.GetUsrParams()) {
        if (dynamic_cast<const QV_pair_usr_param *>(row.get()) == nullptr) continue;
        SCOPED_TRACE(RowName(*row));
        const auto c = std::ranges::find_if(kPairRows, [&](const PairRowCase &pair) {
            return pair.model == table().model && pair.id == row->GetId();
        });
        ASSERT_NE(c, std::end(kPairRows)) << "an undocumented row";
        const int count = static_cast<int>(row->GetChoices().size());
        for (int index = 0; index < count; ++index) {
            EXPECT_EQ(row->SetIndex(index), kRedrawRow);
            EXPECT_EQ(row->GetIndex(), index);
            if (c->held.empty()) continue;
            ASSERT_LT(index, static_cast<int>(c->held.size()));
            EXPECT_EQ(held(c->first), c->held[std::size_t(index)][0]) << index;
            EXPECT_EQ(held(c->second), c->held[std::size_t(index)][1]) << index;
        }
        row->SetIndex(1);
        ui.Clear();
        EXPECT_EQ(row->SetIndex(count), kRedrawRow);
        std::vector<std::string> shown;
        if (!c->message.empty()) shown.push_back(std::string(c->message) + std::to_string(count));
        EXPECT_EQ(ui.Texts(), shown);
        EXPECT_EQ(row->GetIndex(), c->setsFirst ? 0 : 1);
        ui.Clear();
    }
}

TEST_P(LabelTableTest, RowsPagesAndHelpAreWellFormedAsBuilt) {
    std::unique_ptr<QV_mod> module = Unfilled();
    ASSERT_NE(module, nullptr);
    CheckRows(*module);
    CheckSelectors(*module);
    CheckPages(*module);
    CheckHelp(*module);
    EXPECT_TRUE(ui.messages.empty()) << ui.Texts().front();
    SetHardwareEnabled(false);  // no library to write to
    CheckPairRows(*module);
    SetHardwareEnabled(true);
}

TEST_P(LabelTableTest, LoadedRowsShowValuesInsideTheirChoicesAndLimits) {
    const std::unique_ptr<QV_mod> unfilled = Unfilled();
    ASSERT_NE(unfilled, nullptr);
    const bool hasRows = !unfilled->GetUsrParams().empty();
    for (bool hardware : {true, false}) {
        SCOPED_TRACE(hardware ? "hardware" : "no hardware");
        const std::vector<QV_mod *> modules = Loaded(hardware);
        if (hasRows) {
            ASSERT_FALSE(modules.empty()) << "the demo has no " << Model();
        }
        for (QV_mod *module : modules) {
            SCOPED_TRACE(module->GetName() + ":" + std::to_string(module->GetInstance()));
            CheckRows(*module);
            CheckSelectors(*module);
            CheckPages(*module);
            CheckShownValues(*module);
            // Registers are shown only with hardware, by every model that has them.
            const bool dumps = std::ranges::count(kWithoutRegisterDump, table().model) == 0;
            EXPECT_EQ(ShownRegisters(*module).empty(), !hardware || !dumps);
        }
        EXPECT_TRUE(ui.messages.empty()) << ui.Texts().front();
    }
}

// The stand-in's trigger registers of a module: its model's row for the input
// board it reports, or the row for any board.
const quar::TriggerRegisters *TriggerRowOf(std::string_view model, int inputBoard) {
    const quar::TriggerRegisters *any = nullptr;
    for (const quar::TriggerRegisters &row : quar::kTriggerRegisters) {
        if (row.model != model) continue;
        if (row.inputBoard == inputBoard) return &row;
        if (row.inputBoard < 0) any = &row;
    }
    return any;
}

// Each trigger operation sets the source and enable registers the stand-in
// triggers by (a camera channel: its library parameters), and the module's
// own software trigger ends the wait the generator reports.
TEST_P(LabelTableTest, TriggerOperationsSetWhatTheStandInTriggersBy) {
    const bool channel = table().category == keys::ModelCategory::CameraChannel;
    if (!channel && table().category != keys::ModelCategory::SlotModule) return;
    for (QV_mod *module : Loaded(true)) {
        auto *acq = dynamic_cast<QV_acq_plat_mod *>(module->GetOwner());
        if (acq == nullptr) continue;  // a computational module
        const auto reg = [&](int at) {
            return acq->Binding()->Entry<&::read_reg>()(acq->Handle(), at);
        };
        const auto param = [&](int at) {
            return acq->Binding()->Entry<&::qrx_get_param>()(acq->Handle(), at);
        };
        if (channel) {
            acq->PrepareSoftwareTrigger();
            EXPECT_EQ(param(quar::kChannelSourceParam), 2.0);
            EXPECT_EQ(param(quar::kChannelModeParam), 2.0);
            acq->PrepareExternalTrigger();
            EXPECT_EQ(param(quar::kChannelSourceParam), 1.0);
            acq->SoftwareTrigger();
            continue;
        }
        const quar::TriggerRegisters *row =
            TriggerRowOf(table().model, reg(quar::kInputBoardTypeRegister));
        if (row == nullptr) continue;
        SCOPED_TRACE("input board " + std::to_string(row->inputBoard));
        acq->PrepareExternalTrigger();
        EXPECT_EQ(reg(row->sourceRegister), row->externalSource);
        EXPECT_EQ(reg(row->enableRegister), 1);
        if (row->softwareSource < 0) continue;  // external triggers only
        acq->PrepareSoftwareTrigger();
        EXPECT_EQ(reg(row->sourceRegister), row->softwareSource);
        EXPECT_EQ(reg(row->enableRegister), 1);
        // The TX-10 does not tell when its triggered frame is taken.
        EXPECT_EQ(acq->TriggerDone(), table().model == "TX-10" ? 1 : 0);
        acq->SoftwareTrigger();
        EXPECT_EQ(acq->TriggerDone(), 1);
    }
    EXPECT_TRUE(ui.messages.empty()) << ui.Texts().front();
}

// Overwrites a camera structure's bytes, all but its matrix reference.
void Scramble(std::uint8_t *camera, const keys::Layout &layout) {
    for (std::size_t at = 0; at < layout.cameraSize; ++at) {
        const auto matrixAt = static_cast<std::size_t>(layout.matrixRefOffset);
        if (layout.matrixRefOffset >= 0 && at >= matrixAt && at < matrixAt + 4) continue;
        camera[at] = std::uint8_t(0x5A ^ at);
    }
}

// A camera copy gives every port a structure of its own, equal to the one it
// had and referring to an equal matrix, and changes nothing the module writes;
// the module fills from the copies from then on, whatever the old ones hold.
TEST_P(LabelTableTest, CameraCopyGivesEveryPortAnEqualStructureOfItsOwn) {
    const keys::Layout &layout = table().layout;
    if (CameraRefOffset() < 0) return;
    for (QV_mod *module : Loaded(true)) {
        auto *owner = dynamic_cast<QV_plat_mod *>(module->GetOwner());
        ASSERT_NE(owner, nullptr);
        // The structure's bytes, its matrix reference replaced by the matrix.
        const auto contents = [&](const std::uint8_t *at) {
            std::vector<std::uint8_t> bytes(at, at + layout.cameraSize);
            if (layout.matrixRefOffset < 0) return bytes;
            const auto reference = bytes.begin() + layout.matrixRefOffset;
            const std::uint8_t *matrix = owner->Deref(RecordU32(at, std::size_t(layout.matrixRefOffset)));
            bytes.erase(reference, reference + 4);
            bytes.insert(bytes.end(), matrix, matrix + layout.matrixSize);
            return bytes;
        };
        std::vector<std::uint8_t *> cameras;
        for (int port = 0; port < layout.cameraPorts; ++port)
            cameras.push_back(CameraOf(*owner, port));
        std::ostringstream written, again;
        module->WriteCFGSection(written);
        owner->CopyCameraConfig();
        for (int port = 0; port < layout.cameraPorts; ++port) {
            SCOPED_TRACE("port " + std::to_string(port));
            ASSERT_NE(CameraOf(*owner, port), cameras[std::size_t(port)]);
            EXPECT_EQ(contents(CameraOf(*owner, port)), contents(cameras[std::size_t(port)]));
        }
        module->WriteCFGSection(again);
        EXPECT_EQ(again.str(), written.str());
        if (layout.cameraRefOffset < 0) continue;  // its specification is its camera
        for (std::uint8_t *old : cameras) Scramble(old, layout);
        owner->FillParams(*module);
        std::ostringstream filled;
        module->WriteCFGSection(filled);
        EXPECT_EQ(filled.str(), written.str());
    }
}

// The block of the model's first module in a configuration text: its section
// and the camera ports after it.
std::string FirstBlock(const std::string &text, std::string_view section) {
    std::istringstream lines(text);
    const std::string head = "[" + std::string(section) + ":0]";
    std::string block;
    bool inside = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("[") && !line.starts_with("[CameraPort")) inside = line == head;
        if (inside) block += line + "\n";
    }
    return block;
}

// The camera port blocks a module writes (a camera channel's without its head).
std::string PortBlocks(QV_mod &module) {
    std::ostringstream written;
    module.WriteCFGSection(written);
    const std::string text = written.str();
    const std::size_t blocks = text.find("\n[CameraPort");
    return text.substr(blocks == std::string::npos ? text.find('\n') : blocks);
}

// Filling another module's container gives each of that module's camera
// structures, one port at a time, the contents of this module's (a TX-20's
// keeps its positive reference, the bytes past the first 88), and the
// container the camera ports this module writes.
TEST_P(LabelTableTest, FillingAnotherModulesContainerCopiesItsCameraStructures) {
    if (CameraRefOffset() < 0) return;
    std::vector<QV_mod *> modules = Loaded(true);
    if (modules.size() < 2) {
        // The demo's module on one SX-400, one with its defaults on another.
        const std::string section(table().section);
        const std::string demo = Read(fs::path(QVI_SAMPLES_DIR) / "demo.txt");
        UseRack("[Board]\nKind = SXP\nCount = 2\nSlot0 = " + section + "\n");
        Start();
        const fs::path pair =
            Write("pair.txt", "[SYSTEM:0]\n[SX-400:0]\n" + FirstBlock(demo, section) +
                                  "[SX-400:1]\n[" + section + ":1]\n      Slot_Number = 0\n");
        ASSERT_EQ(tree->LoadFile(pair.string()), 0);
        modules = ModulesOfModel();
        ASSERT_EQ(modules.size(), 2u);
    }
    auto *source = dynamic_cast<QV_plat_mod *>(modules[0]->GetOwner());
    auto *target = dynamic_cast<QV_plat_mod *>(modules[1]->GetOwner());
    ASSERT_TRUE(source && target && source != target);
    const std::size_t size = table().layout.cameraSize;
    const std::size_t copied = table().model == "TX-20" ? 88 : size;
    // Filled once more: the structures then also hold what filling applies
    // (a TX-50 port's fixed settings), as in a module opened on its own.
    source->FillParams(*modules[0]);
    for (int port = table().layout.cameraPorts - 1; port >= 0; --port) {
        SCOPED_TRACE("port " + std::to_string(port));
        std::uint8_t *own = CameraOf(*target, port);
        for (std::size_t at = 0; at < size; ++at) own[at] = std::uint8_t(0xA5 ^ at);
        std::vector<std::uint8_t> expected = CameraBytes(*source, port);
        std::copy(own + copied, own + size, expected.begin() + std::ptrdiff_t(copied));
        const std::vector<std::uint8_t> others = CameraBytes(*target, 0);
        source->FillPortParams(*modules[1], port);
        EXPECT_EQ(CameraBytes(*target, port), expected);
        EXPECT_NE(CameraOf(*target, port), CameraOf(*source, port));
        if (port > 0) {
            EXPECT_EQ(CameraBytes(*target, 0), others) << "another port filled";
        }
    }
    source->FillParams(*modules[1]);
    EXPECT_EQ(PortBlocks(*modules[1]), PortBlocks(*modules[0]));
}

std::string TestName(const ::testing::TestParamInfo<const ModelTable *> &info) {
    std::string name(info.param->model);
    std::ranges::replace_if(
        name, [](char c) { return !std::isalnum(c); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(EveryModel, LabelTableTest,
                         ::testing::ValuesIn(keys::AllModels().begin(), keys::AllModels().end()),
                         TestName);

}  // namespace
}  // namespace qvi
