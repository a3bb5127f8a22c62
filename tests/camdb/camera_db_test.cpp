// The camera database file: loading, lists per module and port, saving.
#include "camdb/camera_db.h"

#include <gtest/gtest.h>

#include <array>
#include <map>

#include "library/hardware.h"
#include "support/core_scratch_dir.h"
#include "support/fake_registers.h"
#include "support/sample_module.h"
#include "support/test_env.h"

namespace qvi {
namespace {

namespace fs = std::filesystem;
using testing::FakeRegisters;
using testing::SampleModule;
using Names = std::vector<std::string>;

constexpr int kClampHandle = 1;  // SampleModule's per-port clamp level, register 10

struct Fill {
    std::uint16_t clamp;
    int port;
    bool hardware;
    bool operator==(const Fill &) const = default;
};

// A camera's platform object: fills its clamp level into the port and notes
// whether register writes were possible at the time.
class FakeCameraPlat : public QV_plat_mod {
public:
    FakeCameraPlat(std::uint16_t clamp, std::vector<Fill> &fills)
        : QV_plat_mod("FakeCamera", static_cast<RegisterAccess *>(nullptr), 0),
          clamp_(clamp),
          fills_(fills) {}

    void FillPortParams(QV_mod &module, int port) override {
        fills_.push_back({clamp_, port, HardwareEnabled()});
        module.SetParamFromCNF(port, kClampHandle, QV_param_val::U16(clamp_));
    }

private:
    std::uint16_t clamp_;
    std::vector<Fill> &fills_;
};

// A camera section with the keys in file order; a null value leaves its key out.
std::string Section(int index, std::array<const char *, 6> values) {
    constexpr std::array<const char *, 6> kKeys = {"Name",         "ConfigFile",      "ValidTXMod",
                                                   "ValidTXPorts", "CablePartNumber", "Comments"};
    std::string text = "\n[Cam" + std::to_string(index) + "]\n";
    for (std::size_t k = 0; k < kKeys.size(); ++k)
        if (values[k]) text += std::string(kKeys[k]) + " = " + values[k] + "\n";
    return text;
}

// Cam1 lacks a key and Cam2's configuration cannot be built; the other five load.
const std::string kLongComment(120, 'x');
const std::string kDatabase =
    "[CameraDataBase]\nNumberOfCameras = 7\n" +
    Section(0, {"Alpha", "alpha.cnf", "TX-10", "0,1", "C-100", "two ports"}) +
    Section(1, {"NoPorts", "alpha.cnf", "TX-10", nullptr, "C-1", "none"}) +
    Section(2, {"Broken", "broken.cnf", "TX-10", "0", "C-2", "none"}) +
    Section(3, {"Beta", "beta.cnf", "TX-40", "0,1", "C-3", ""}) +
    Section(4, {"Gamma", "gamma.cnf", "TX-71", "2,3", "C-4", "interlaced"}) +
    Section(5, {"Delta", "delta.cnf", "SXA", "0", "C-5", "channel"}) +
    Section(6, {"Epsilon", "epsilon.cnf", "TX-10", "1,3", "C-6", kLongComment.c_str()});

class CameraDbTest : public testing::UiTest {
protected:
    fs::path WriteFile(const std::string &name, const std::string &text) {
        return scratch_.Write(name, text);
    }
    static std::string ReadFile(const fs::path &path) { return testing::ScratchDir::Read(path); }
    QV_camera_db::PlatModBuilder Builder() {
        return [this](const fs::path &file, const std::string &model) {
            builds.emplace_back(file, model);
            const std::string name = file.filename().string();
            if (failBuilds || name == "broken.cnf") return std::unique_ptr<QV_plat_mod>();
            return std::unique_ptr<QV_plat_mod>(new FakeCameraPlat(clampOf[name], fills));
        };
    }
    long Clamp(int port) { return module.GetModParam(kClampHandle)->GetRawValue(port).GetLong(); }

    testing::ScratchDir scratch_;
    const fs::path root_ = scratch_.Path();
    const fs::path dbFile = WriteFile("cameras.db", kDatabase);
    std::map<std::string, std::uint16_t> clampOf{{"alpha.cnf", 101}, {"epsilon.cnf", 105}};
    std::vector<std::pair<fs::path, std::string>> builds;
    std::vector<Fill> fills;
    bool failBuilds = false;
    QV_camera_db db{root_, "cameras", Builder()};
    FakeRegisters registers;
    QV_plat_mod board{"TX10_plat_mod", &registers, 3};
    SampleModule module{&board};
};

TEST_F(CameraDbTest, LoadDropsOnlyTheBrokenCamerasAndBuildsForTheMappedModel) {
    ASSERT_EQ(db.Load(dbFile), 0);
    EXPECT_EQ(db.GetNames(), (Names{"Alpha", "Beta", "Gamma", "Delta", "Epsilon"}));
    EXPECT_EQ(ui.Texts(), Names{"Can't find entry: \"ValidTXPorts\"\nin file: " + dbFile.string()});
    // The camera with the missing key never reaches the builder.
    const fs::path folder = root_ / "cameras";
    EXPECT_EQ(builds,
              (std::vector<std::pair<fs::path, std::string>>{{folder / "alpha.cnf", "TX-10"},
                                                             {folder / "broken.cnf", "TX-10"},
                                                             {folder / "beta.cnf", "TX-40"},
                                                             {folder / "gamma.cnf", "TX-70"},
                                                             {folder / "delta.cnf", "SXA-VMOD"},
                                                             {folder / "epsilon.cnf", "TX-10"}}));
    EXPECT_EQ(db.GetRecord(4)->comments, std::string(99, 'x'));  // the 100-byte buffer

    EXPECT_EQ(db.Load(WriteFile("nocount.db", "[CameraDataBase]\n" +
                                                  Section(0, {"A", "a", "TX-10", "0", "", ""}))),
              -1);
    EXPECT_EQ(db.Count(), 0);
    EXPECT_EQ(db.CameraNames("TX-10", 0), Names{});
    EXPECT_EQ(db.Load(root_ / "missing.db"), -1);
}

// A count beyond the cameras present (a slip, or an enormous number) stops at
// the first missing section with one message; the cameras before it stay.
TEST_F(CameraDbTest, ACountBeyondTheCamerasPresentStopsWithOneMessage) {
    const std::string cameras = Section(0, {"Alpha", "alpha.cnf", "TX-10", "0", "", ""}) +
                                Section(1, {"Epsilon", "epsilon.cnf", "TX-10", "1", "", ""});
    for (const char *count : {"3", "2147483647", "99999999999999999999"}) {
        SCOPED_TRACE(count);
        ui.Clear();
        const fs::path file =
            WriteFile("huge.db",
                      std::string("[CameraDataBase]\nNumberOfCameras = ") + count + "\n" + cameras);
        ASSERT_EQ(db.Load(file), 0);
        EXPECT_EQ(db.GetNames(), (Names{"Alpha", "Epsilon"}));
        const std::string shown = std::string(count) == "3" ? "3" : "2147483647";
        EXPECT_EQ(ui.Texts(),
                  Names{"\"NumberOfCameras\" is " + shown +
                        " but there is no [Cam2] in file: " + file.string() + "\n2 cameras read"});
    }
}

// The TX-10 lists are read by the edits and LoadCamera cases below.
TEST_F(CameraDbTest, ListsExistForTheDocumentedPairsAndHoldTheSuitingCamerasInOrder) {
    ASSERT_EQ(db.Load(dbFile), 0);
    EXPECT_EQ(db.CameraNames("TX-40", 0), Names{"Beta"});
    EXPECT_EQ(db.GetCameraList("TX-40", 1), nullptr);  // TX-40 has a port-0 list only
    EXPECT_EQ(db.CameraNames("TX-71", 3), Names{"Gamma"});
    EXPECT_EQ(db.CameraNames("TX-70", 3), Names{});  // the key must match exactly
    EXPECT_EQ(db.CameraNames("SXA", 0), Names{"Delta"});
    EXPECT_EQ(db.GetCameraList("SXA", 1), nullptr);
    EXPECT_EQ(db.GetCameraList("TX-60", 1), nullptr);
}

TEST_F(CameraDbTest, LoadCameraWrapsTheCountToTheFirstAndRefusesLargerIndices) {
    ASSERT_EQ(db.Load(dbFile), 0);
    ui.Clear();
    const QV_camera_list &list = *db.GetCameraList("TX-10", 1);
    EXPECT_EQ(list.LoadCamera(2, module), 0);
    EXPECT_EQ(Clamp(1), 101);
    EXPECT_EQ(list.LoadCamera(3, module), -1);
    EXPECT_EQ(db.GetCameraList("TX-10", 2)->LoadCamera(0, module), -1);  // an empty list
    EXPECT_EQ(fills, (std::vector<Fill>{{101, 1, true}}));
    EXPECT_EQ(ui.Texts(),
              (Names{"invalid index: 3 passed to LoadCamera() for camera list: TX-10 port 1",
                     "invalid index: 0 passed to LoadCamera() for camera list: TX-10 port 2"}));

    failBuilds = true;  // the copy below gets no platform object
    ASSERT_TRUE(db.Duplicate(0));
    EXPECT_EQ(db.GetCameraList("TX-10", 0)->LoadCamera(0, module), -2);
}

// A save writes the whole file, which reads back as it was; a failed save
// keeps the old file and names it.
TEST_F(CameraDbTest, SaveWritesTheWholeFileOrKeepsTheOldOne) {
    ASSERT_EQ(db.Load(dbFile), 0);
    for (int index : {4, 3, 2}) ASSERT_TRUE(db.Delete(index));
    QV_camera_rec shown = db.GetRecord(1)->CopyText();
    shown.comments = "first\n[Cam0]";  // must not open a section
    ASSERT_TRUE(db.StoreDetails(1, shown));
    const fs::path saved = root_ / "saved.db";
    ASSERT_EQ(db.Save(saved), 0);
    EXPECT_EQ(ReadFile(saved),
              "[CameraDataBase]\nNumberOfCameras = 2\n"
              "\n[Cam0]\nName = Alpha\nConfigFile = alpha.cnf\nValidTXMod = TX-10\n"
              "ValidTXPorts = 0,1\nCablePartNumber = C-100\nComments = two ports\n"
              "\n[Cam1]\nName = Beta\nConfigFile = beta.cnf\nValidTXMod = TX-40\n"
              "ValidTXPorts = 0,1\nCablePartNumber = C-3\nComments = first [Cam0]\n");

    // Blanks at a value's ends and quotes of its own survive a save and a reload.
    const std::string cameras =
        "[CameraDataBase]\nNumberOfCameras = 1\n" +
        Section(0, {"\"  Alpha \"", "alpha.cnf", "TX-10", "0", "\"\"C-1\"\"", "\" padded\""});
    ASSERT_EQ(db.Load(WriteFile("padded.db", cameras)), 0);
    ASSERT_EQ(db.GetNames(), Names{"  Alpha "});
    ASSERT_EQ(db.Save(saved), 0);
    ASSERT_EQ(db.Load(saved), 0);
    EXPECT_EQ(db.GetNames(), Names{"  Alpha "});
    EXPECT_EQ(db.GetRecord(0)->cablePartNumber, "\"C-1\"");
    EXPECT_EQ(db.GetRecord(0)->comments, " padded");

    // No new file can be created beside a file whose name is this long.
    const fs::path longName = WriteFile(std::string(250, 'd'), "old");
    EXPECT_EQ(db.Save(longName), -1);
    EXPECT_EQ(ReadFile(longName), "old");
    EXPECT_EQ(ui.Errors().back(), "Could not write camera database file: " + longName.string() +
                                      "\nFile name too long");
}

TEST_F(CameraDbTest, EditsKeepTheListsInStepAndBadIndicesChangeNothing) {
    ASSERT_EQ(db.Load(dbFile), 0);
    ASSERT_TRUE(db.Duplicate(0));
    EXPECT_EQ(db.CameraNames("TX-10", 1), (Names{"Alpha(dup)", "Alpha", "Epsilon"}));
    EXPECT_EQ(builds.back().first.filename(), "alpha.cnf");  // the copy has its own object
    ASSERT_TRUE(db.Delete(1));
    EXPECT_EQ(db.CameraNames("TX-10", 0), Names{"Alpha(dup)"});
    EXPECT_TRUE(db.Rename(0, std::string(19, 'n')));
    EXPECT_EQ(db.CameraNames("TX-10", 0), Names{std::string(19, 'n')});
    EXPECT_FALSE(db.Rename(0, std::string(20, 'n')));
    EXPECT_EQ(ui.Texts().back(), "Name is too long, 19 character max");

    QV_camera_rec shown = db.GetRecord(1)->CopyText();  // Beta
    shown.validModule = "TX-71";
    shown.validPorts = "0,2";
    ASSERT_TRUE(db.StoreDetails(1, shown));
    EXPECT_EQ(builds.back(), std::make_pair(root_ / "cameras" / "beta.cnf", std::string("TX-70")));
    EXPECT_EQ(db.CameraNames("TX-40", 0), Names{});
    EXPECT_EQ(db.CameraNames("TX-71", 2), (Names{"Beta", "Gamma"}));

    const Names before = db.GetNames();
    EXPECT_FALSE(db.Duplicate(5));
    EXPECT_FALSE(db.Delete(-1));
    EXPECT_FALSE(db.Rename(5, "x"));
    EXPECT_EQ(db.GetNames(), before);
    EXPECT_EQ(ui.Errors().back(), "invalid index: 5 passed to Rename() for camera database");
}

TEST_F(CameraDbTest, ACameraRowChoosesThroughTheInstalledDatabase) {
    ASSERT_EQ(db.Load(dbFile), 0);
    const std::array<QV_param_val, 4> names{QV_param_val::Text("x"), QV_param_val::Text("Custom"),
                                            QV_param_val::Text("x"), QV_param_val::Text("x")};
    module.AddModParam(std::make_unique<QV_string_param>(
        "Camera_Name", 4, names, -1, 50, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    auto added =
        std::make_unique<QV_camera_usr_param>("Camera", 50, module.GetModParams(), 50, "TX-10", 1);
    QV_camera_usr_param &row = *added;
    module.AddUsrParam(std::move(added));
    module.SetPort(1);
    module.MarkSaved();
    InstallCameraList(&db);

    // A name the database does not know is offered last, as the port's own settings.
    row.Refresh();
    EXPECT_EQ(row.GetChoices(), (Names{"Alpha", "Epsilon", "Custom"}));
    EXPECT_EQ(row.SavedIndex(), 2);
    EXPECT_EQ(row.SetIndex(1), kRedrawRows);
    EXPECT_EQ(Clamp(1), 105);
    EXPECT_EQ(row.GetIndex(), 1);
    // The owner-less fill only sets the values; the fill with the owner writes the port.
    EXPECT_EQ(fills, (std::vector<Fill>{{105, 1, false}, {105, 1, true}}));
    EXPECT_EQ(registers.writes, (std::vector<FakeRegisters::Write>{{3, 10, 105, 16}}));
    EXPECT_TRUE(HardwareEnabled());
    EXPECT_EQ(row.SetIndex(2), kRedrawRows);  // the port's own values come back, none filled
    EXPECT_EQ(Clamp(1), 11);
    EXPECT_EQ(fills.size(), 2u);
    EXPECT_EQ(ui.waitCursorShown, 2);
    EXPECT_EQ(ui.waitCursorDepth, 0);
    EXPECT_EQ(row.SetIndex(3), -1);
    // A known name is selected without an entry of its own.
    module.GetModParam(50)->SetRawValue(1, QV_param_val::Text("Epsilon"));
    module.MarkSaved();
    row.Refresh();
    EXPECT_EQ(row.GetChoices(), (Names{"Alpha", "Epsilon"}));
    EXPECT_EQ(row.GetIndex(), 1);
    EXPECT_EQ(row.SavedIndex(), -1);

    // A database that goes away takes itself out of the rows' reach, and only itself.
    { QV_camera_db other(root_, "cameras", Builder()); }
    EXPECT_EQ(CurrentCameraList(), &db);
    {
        QV_camera_db other(root_, "cameras", Builder());
        InstallCameraList(&other);
    }
    EXPECT_EQ(CurrentCameraList(), nullptr);
}

}  // namespace
}  // namespace qvi
