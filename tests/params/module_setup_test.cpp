// The Module Setup dialog's logic: tabs, port and page choices, which rows change and refresh;
// which rows of a page are shown, scrolled to and focused.
#include "params/module_setup.h"
#include "params/row_pager.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "library/hardware.h"
#include "params/converters.h"
#include "params/mod.h"
#include "params/mod_param.h"
#include "support/fake_registers.h"
#include "support/recording_ui.h"
#include "system/plat_mod.h"

namespace qvi {
namespace {

constexpr int kRangeCount = 27;
constexpr int kPortId = 1;
constexpr int kSyncId = 2;
constexpr int kJumpId = 3;
constexpr int kFirstRangeId = 10;
constexpr int kPortHandle = 100;
constexpr int kSyncHandle = 101;
constexpr int kFirstRangeReg = 0x40;

class CountingBoard : public QV_plat_mod {
public:
    explicit CountingBoard(RegisterAccess *library) : QV_plat_mod("Board", library, 7) {}
    void DumpRegisters() override { ++dumps; }
    int dumps = 0;
};

// A drop-down that jumps to another page through the module's page selector.
class PageJumpUsrParam : public QV_usr_param {
public:
    PageJumpUsrParam() : QV_usr_param("Jump", ControlKind::DropDown, kJumpId) {}
    int SetIndex(int index) override { return GetModule()->GetPageSelector()->SetIndex(index); }
    int GetIndex() override { return GetModule()->GetPageSelector()->GetIndex(); }
    std::vector<std::string> GetChoices() const override {
        return GetModule()->GetPageSelector()->GetChoices();
    }
};

// Two camera ports. Range row i is register 0x40 + i and holds 100 + i on
// port 0 and 200 + i on port 1. Groups: "Camera" (port, sync, jump, rows 0
// and 1) and "Timing" (all 27 rows).
class TestModule : public QV_mod {
public:
    explicit TestModule(QV_plat_mod *board, std::string name = "Test")
        : QV_mod(std::move(name), board) {
        CreateModParams();
        CreateUsrParams();
        CreateParamGroups();
        BuildPageList();
    }

    void CreateModParams() override {
        const std::array port{QV_param_val::S16(0)};
        AddModParam(std::make_unique<QV_range_param>("Port", 1, port, -1, kPortHandle, nullptr,
                                                     nullptr, nullptr, nullptr, nullptr, nullptr,
                                                     10));
        const std::array sync{QV_param_val::U16(0)};
        AddModParam(std::make_unique<QV_choice_param>(
            "Sync", 2, sync, -1, kSyncHandle, std::make_unique<Val2IndexConverter>(),
            std::make_unique<Index2ValConverter>(), nullptr, nullptr, nullptr, nullptr,
            std::vector<std::string>{"Off", "On"},
            std::vector<QV_param_val>{QV_param_val::U16(0), QV_param_val::U16(5)}, true));
        for (int i = 0; i < kRangeCount; ++i) {
            const std::array defaults{QV_param_val::U16(static_cast<std::uint16_t>(100 + i)),
                                      QV_param_val::U16(static_cast<std::uint16_t>(200 + i))};
            AddModParam(std::make_unique<QV_range_param>("Range" + std::to_string(i), 2, defaults,
                                                         kFirstRangeReg + i, i, nullptr, nullptr,
                                                         nullptr, nullptr, nullptr, nullptr, 10));
        }
    }

    void CreateUsrParams() override {
        AddUsrParam(std::make_unique<QV_port_usr_param>("Camera Port", kPortId, GetModParams(),
                                                        kPortHandle,
                                                        std::vector<std::string>{"A", "B"}));
        AddUsrParam(std::make_unique<QV_choice_usr_param>(
            "Sync", kSyncId, GetModParams(), kSyncHandle, std::vector<std::string>{"Off", "On"}));
        AddUsrParam(std::make_unique<PageJumpUsrParam>());
        for (int i = 0; i < kRangeCount; ++i)
            AddUsrParam(std::make_unique<QV_range_usr_param>(
                "Range " + std::to_string(i), kFirstRangeId + i, GetModParams(), i,
                QV_param_val::U16(0), QV_param_val::U16(1023), QV_param_val::U16(1)));
    }

    void CreateParamGroups() override {
        const std::array camera{kPortId, kSyncId, kJumpId, kFirstRangeId, kFirstRangeId + 1};
        AddParamGroup(std::make_unique<QV_param_group>("Camera", camera, GetUsrParams()));
        std::vector<int> timing;
        for (int i = 0; i < kRangeCount; ++i) timing.push_back(kFirstRangeId + i);
        AddParamGroup(std::make_unique<QV_param_group>("Timing Control", timing, GetUsrParams()));
    }

    int GetHelpTopic(int usrParamId) override { return 500 + usrParamId; }

    QV_mod_param &Range(int i) { return *GetModParam(i); }
};

// The program around the dialog; forgetting a dialog destroys it, as the
// owner view does through its registry.
class FakeHost : public ModuleSetupHost {
public:
    void RefreshOwner(QV_mod &module) override { refreshed.push_back(&module); }
    void MarkConfigChanged() override { ++configChanged; }
    void ForgetDialog(int elementIndex) override {
        forgotten.push_back(elementIndex);
        registry.Forget(elementIndex);
    }
    bool HasRowHelp(const QV_mod &) const override { return rowHelp; }

    ModuleSetupRegistry registry;
    std::vector<QV_mod *> refreshed;
    std::vector<int> forgotten;
    int configChanged = 0;
    bool rowHelp = false;
};

class ModuleSetupTest : public ::testing::Test {
protected:
    ModuleSetup &Open(int element, QV_mod &module, QV_mod *second = nullptr) {
        ModuleSetupRegistry::OpenResult result =
            host_.registry.Open(host_, element, module, second, second ? element + 1 : -1);
        EXPECT_NE(result.dialog, nullptr);
        return *result.dialog;
    }

    RecordingUi ui_;
    ScopedUi scopedUi_{ui_};
    HardwareTemporarilyEnabled hardware_;
    testing::FakeRegisters registers_;
    CountingBoard board_{&registers_};
    TestModule module_{&board_};
    FakeHost host_;
};

constexpr int kCameraTab = 0;
constexpr int kTimingTab = 1;
constexpr int kFirstRangeRow = 4;  // in the Camera tab, after port, sync and jump

TEST_F(ModuleSetupTest, OpeningListsTabsAndTakesTheSavedState) {
    TestModule second(&board_, "Second");
    module_.Range(0).SetUIValue(QV_param_val::U16(7));
    ASSERT_TRUE(module_.IsModified());
    ModuleSetup &dialog = Open(3, module_, &second);
    EXPECT_FALSE(module_.IsModified());

    ASSERT_EQ(dialog.TabCount(), 4);
    EXPECT_EQ(&dialog.TabModule(0), &second);
    EXPECT_EQ(&dialog.TabModule(2), &module_);
    EXPECT_EQ(dialog.TabTitle(1), "Timing Control");
    EXPECT_EQ(dialog.TabGroupIndex(2), 0);
    EXPECT_EQ(dialog.TabGroupIndex(3), 1);
    EXPECT_EQ(dialog.Pager(2).DescribeRow(kFirstRangeRow).valueText, "7");
}

TEST_F(ModuleSetupTest, PortChoiceRefillsEveryRowWithTheNewPortsValues) {
    ModuleSetup &dialog = Open(0, module_);
    EXPECT_EQ(dialog.DropDownChanged(kCameraTab, 1, 1), Redraw::AllRows);
    RowView port = dialog.Pager(kCameraTab).DescribeRow(1);
    EXPECT_EQ(port.choices, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(port.selected, 1);
    EXPECT_EQ(dialog.Pager(kCameraTab).DescribeRow(kFirstRangeRow + 1).valueText, "201");
    EXPECT_EQ(dialog.Pager(kTimingTab).DescribeRow(19).valueText, "218");
    EXPECT_EQ(registers_.registers[kFirstRangeReg + 26], 226);
    EXPECT_EQ(ui_.waitCursorShown, 1);
    EXPECT_EQ(ui_.waitCursorDepth, 0);
    EXPECT_EQ(module_.GetUsrParam(kPortId)->SetIndex(2), -1);
    EXPECT_EQ(dialog.Pager(kCameraTab).DescribeRow(1).selected, 1);
}

TEST_F(ModuleSetupTest, OnlyDropDownRowsChangeAndOnlyFlaggedRowsRefreshTheOwner) {
    ModuleSetup &dialog = Open(0, module_);
    const std::size_t writes = registers_.writes.size();
    EXPECT_EQ(dialog.DropDownChanged(kCameraTab, kFirstRangeRow, 1), Redraw::Nothing);
    EXPECT_EQ(dialog.DropDownChanged(kCameraTab, 0, 1), Redraw::Nothing);
    EXPECT_EQ(dialog.DropDownChanged(kCameraTab, 12, 1), Redraw::Nothing);
    EXPECT_EQ(dialog.DropDownChanged(9, 1, 1), Redraw::Nothing);
    EXPECT_EQ(registers_.writes.size(), writes);

    EXPECT_EQ(dialog.DropDownChanged(kCameraTab, 2, 1), Redraw::Row);
    dialog.ValueEntryClosed(kCameraTab, kFirstRangeRow);
    EXPECT_TRUE(host_.refreshed.empty());
    module_.GetUsrParam(kSyncId)->SetNotifyOwner(true);
    module_.GetUsrParam(kFirstRangeId)->SetNotifyOwner(true);
    dialog.DropDownChanged(kCameraTab, 2, 0);
    dialog.ValueEntryClosed(kCameraTab, kFirstRangeRow);
    EXPECT_EQ(host_.refreshed, (std::vector<QV_mod *>{&module_, &module_}));
    EXPECT_TRUE(ui_.Errors().empty());
}

TEST_F(ModuleSetupTest, ChoosingAnotherGroupRebuildsThePageFromTheTop) {
    ModuleSetup &dialog = Open(0, module_);
    dialog.SetRowsThatFit(3);
    ASSERT_EQ(dialog.Pager(kCameraTab).Scroll(ScrollMove::LineForward), 1);
    EXPECT_EQ(dialog.DropDownChanged(kCameraTab, 2, 1), Redraw::Page);
    EXPECT_EQ(dialog.TabGroupIndex(kCameraTab), 1);
    EXPECT_EQ(dialog.Pager(kCameraTab).ScrollPosition(), 0);
    EXPECT_EQ(dialog.Pager(kCameraTab).MaxScrollPosition(), 24);
    EXPECT_EQ(dialog.Pager(kCameraTab).FirstShownId(), kFirstRangeId);
}

TEST_F(ModuleSetupTest, CancelRestoresValuesAndRegistersOfBothModules) {
    TestModule second(&board_, "Second");
    ModuleSetup &dialog = Open(2, module_, &second);
    module_.GetUsrParam(kFirstRangeId + 3)->SetValue(QV_param_val::U16(900));
    second.Range(0).SetUIValue(QV_param_val::U16(1));
    ASSERT_EQ(registers_.registers[kFirstRangeReg + 3], 900);

    dialog.Cancel();
    EXPECT_EQ(module_.Range(3).GetUIValue().GetLong(), 103);
    EXPECT_EQ(registers_.registers[kFirstRangeReg + 3], 103);
    EXPECT_EQ(second.Range(0).GetUIValue().GetLong(), 100);
    EXPECT_EQ(ui_.waitCursorShown, 1);
    EXPECT_EQ(ui_.waitCursorDepth, 0);
    EXPECT_EQ(host_.refreshed, (std::vector<QV_mod *>{&module_, &second}));
    EXPECT_EQ(host_.forgotten, (std::vector<int>{2}));
    EXPECT_EQ(host_.registry.Find(2), nullptr);
    EXPECT_EQ(host_.configChanged, 0);
}

TEST_F(ModuleSetupTest, OkMarksTheConfigurationChangedOnlyWhenModified) {
    Open(0, module_).Ok();
    EXPECT_EQ(host_.configChanged, 0);
    EXPECT_EQ(host_.forgotten, (std::vector<int>{0}));

    TestModule second(&board_, "Second");
    ModuleSetup &dialog = Open(1, module_, &second);
    second.GetUsrParam(kSyncId)->SetIndex(1);
    dialog.Ok();
    EXPECT_EQ(host_.configChanged, 1);
    EXPECT_EQ(second.GetModParam(kSyncHandle)->GetRawValue().GetLong(), 5);
    EXPECT_EQ(host_.registry.OpenCount(), 0);
}

// The dialog's rows follow its first page but are never below three; each
// further dialog cascades from the main window's top right.
TEST_F(ModuleSetupTest, InitialRowsFollowTheFirstPageAndDialogsCascade) {
    EXPECT_EQ(Open(0, module_).InitialRowCount(), 6);
    QV_mod empty("Empty", &board_);
    ModuleSetup &none = Open(5, empty);
    EXPECT_EQ(none.TabCount(), 0);
    EXPECT_EQ(none.InitialShrinkRows(), 17);
    DialogOrigin third = ModuleSetup::Placement(1200, 100, 400, 2);
    EXPECT_EQ(third.x, 760);
    EXPECT_EQ(third.y, 190);
}

TEST_F(ModuleSetupTest, ViewRegistersAndHelp) {
    ModuleSetup &dialog = Open(0, module_);
    EXPECT_TRUE(dialog.ViewRegistersEnabled());
    dialog.ShowRegisters();
    EXPECT_EQ(board_.dumps, 1);
    SetHardwareEnabled(false);
    EXPECT_FALSE(dialog.ViewRegistersEnabled());

    EXPECT_EQ(dialog.HelpTopic(kTimingTab, 2), ModuleSetup::kGeneralHelpTopic);
    host_.rowHelp = true;
    EXPECT_EQ(dialog.HelpTopic(kTimingTab, 2), 500 + kFirstRangeId + 1);
    EXPECT_EQ(dialog.HelpTopic(kCameraTab, 15), ModuleSetup::kGeneralHelpTopic);
}

TEST_F(ModuleSetupTest, RegistryKeepsOneDialogPerElement) {
    ModuleSetupRegistry::OpenResult first = host_.registry.Open(host_, 4, module_);
    EXPECT_FALSE(first.activated);
    ModuleSetupRegistry::OpenResult again = host_.registry.Open(host_, 4, module_);
    EXPECT_TRUE(again.activated);
    EXPECT_EQ(again.dialog, first.dialog);

    // Every element has a slot of its own, however long the system is.
    TestModule late(&board_, "Late");
    ModuleSetupRegistry::OpenResult far = host_.registry.Open(host_, 40, late);
    ASSERT_NE(far.dialog, nullptr);
    EXPECT_EQ(host_.registry.Find(40), far.dialog);
    EXPECT_EQ(&far.dialog->Module(), &late);
    EXPECT_EQ(host_.registry.Open(host_, 16, module_).dialog->ElementIndex(), 16);
    EXPECT_EQ(host_.registry.Open(host_, -1, module_).dialog, nullptr);
    EXPECT_EQ(ui_.Errors(), (std::vector<std::string>{
                                "invalid element index: -1 passed to the Module Setup dialog "
                                "for module: Test"}));
    EXPECT_EQ(host_.registry.OpenCount(), 3);

    host_.registry.Forget(40);
    EXPECT_EQ(host_.registry.Find(40), nullptr);
    EXPECT_EQ(host_.registry.OpenCount(), 2);
    host_.registry.CloseAll();
    EXPECT_EQ(host_.registry.OpenCount(), 0);
}

// The pager over the test module's 27-row "Timing Control" page, its page
// selector in front as BuildPageList leaves it.
class RowPagerTest : public ModuleSetupTest {
protected:
    const QV_param_group &Timing() const { return *module_.GetParamGroups()[1]; }
    RowPager TimingPager() const { return RowPager(Timing()); }
};

// Rows show their entry's label, value and enabled flag; every move steps
// and clamps within the eight positions the rows beyond nineteen need.
TEST_F(RowPagerTest, TwentySevenRowsFillNineteenRowsAndScrollWithinEight) {
    module_.GetUsrParam(kFirstRangeId + 1)->SetEnabled(false);
    RowPager pager = TimingPager();
    EXPECT_EQ(pager.EntryCount(), 28);
    EXPECT_EQ(pager.RowsInUse(), 20);
    EXPECT_EQ(pager.MaxScrollPosition(), 8);
    EXPECT_TRUE(pager.ScrollBarVisible());
    EXPECT_FALSE(pager.DescribeRow(0).visible);
    for (int row = 1; row <= 19; ++row)
        EXPECT_EQ(pager.RowParam(row), Timing().GetUsrParams()[static_cast<std::size_t>(row)]);
    EXPECT_EQ(pager.RowParam(20), nullptr);
    RowView number = pager.DescribeRow(1);
    EXPECT_TRUE(number.ShowsNumberField());
    EXPECT_FALSE(number.ShowsDropDown());
    EXPECT_EQ(number.label, "Range 0");
    EXPECT_EQ(number.valueText, "100");
    EXPECT_TRUE(number.enabled);
    EXPECT_FALSE(pager.DescribeRow(2).enabled);

    EXPECT_EQ(pager.Scroll(ScrollMove::PageForward), 3);
    EXPECT_EQ(pager.Scroll(ScrollMove::PageForward), 6);
    EXPECT_EQ(pager.Scroll(ScrollMove::PageForward), 8);
    EXPECT_EQ(pager.Scroll(ScrollMove::LineForward), 8);
    EXPECT_EQ(pager.Scroll(ScrollMove::LineBack), 7);
    EXPECT_EQ(pager.Scroll(ScrollMove::PageBack), 4);
    EXPECT_EQ(pager.Scroll(ScrollMove::ThumbTrack, 5), 5);
    EXPECT_EQ(pager.Scroll(ScrollMove::ThumbPosition, 42), 8);
    EXPECT_EQ(pager.Scroll(ScrollMove::ThumbPosition, -3), 0);
    EXPECT_EQ(pager.Scroll(ScrollMove::LineBack), 0);
    EXPECT_EQ(pager.Scroll(ScrollMove::ToEnd), 8);
    EXPECT_EQ(pager.RowParam(1)->GetId(), kFirstRangeId + 8);
    EXPECT_EQ(pager.RowParam(19)->GetId(), kFirstRangeId + 26);
    EXPECT_EQ(pager.FirstShownId(), kFirstRangeId + 8);
    EXPECT_EQ(pager.Scroll(ScrollMove::ToStart), 0);
}

// Groups that fit show everything without a scroll bar; the capacity follows
// a resize and keeps the scroll position in range.
TEST_F(RowPagerTest, GroupsThatFitOrAResizeChangeTheRowsInUse) {
    RowPager pager = TimingPager();
    const auto &entries = Timing().GetUsrParams();
    pager.SetEntries({entries.begin(), entries.begin() + 20});  // 19 rows fit
    EXPECT_EQ(pager.RowsInUse(), 20);
    EXPECT_FALSE(pager.ScrollBarVisible());
    EXPECT_EQ(pager.Scroll(ScrollMove::PageForward), 0);

    pager.SetEntries({entries.begin(), entries.begin() + 5});
    EXPECT_EQ(pager.RowsInUse(), 5);
    std::vector<RowView> rows = pager.DescribeRows();
    ASSERT_EQ(rows.size(), 20u);
    EXPECT_TRUE(rows[4].ShowsNumberField());
    for (std::size_t row = 5; row < rows.size(); ++row)
        EXPECT_FALSE(rows[row].ShowsDropDown() || rows[row].ShowsNumberField()) << row;

    pager.SetEntries(entries);
    pager.SetCapacity(5);
    EXPECT_EQ(pager.RowsInUse(), 6);
    EXPECT_EQ(pager.Scroll(ScrollMove::ToEnd), 22);
    EXPECT_EQ(pager.RowParam(5)->GetId(), kFirstRangeId + 26);
    EXPECT_EQ(pager.RowParam(6), nullptr);

    pager.SetCapacity(19);
    EXPECT_EQ(pager.ScrollPosition(), 8);
    pager.SetCapacity(0);
    EXPECT_EQ(pager.RowsInUse(), 2);
    pager.SetCapacity(40);
    EXPECT_EQ(pager.Capacity(), 19);

    pager.SetEntries(Timing().GetUsrParams());
    EXPECT_EQ(pager.ScrollPosition(), 0);
}

// Entry e of the group is range row e - 1: entry 0 is the page selector.
TEST_F(RowPagerTest, KeyboardFocusScrollsToTheNextEditableEntry) {
    RowPager pager = TimingPager();                              // entries 1 to 27 in rows 1 to 19
    module_.GetUsrParam(kFirstRangeId + 20)->SetEnabled(false);  // entry 21
    module_.GetUsrParam(kFirstRangeId + 1)->SetEnabled(false);   // entry 2

    // Inside the rows shown nothing scrolls.
    EXPECT_EQ(pager.MoveFocus(3, true), 4);
    EXPECT_EQ(pager.ScrollPosition(), 0);
    // From the last row the rows scroll by one to bring the next entry in.
    EXPECT_EQ(pager.MoveFocus(19, true), 19);
    EXPECT_EQ(pager.ScrollPosition(), 1);
    EXPECT_EQ(pager.RowParam(19)->GetId(), kFirstRangeId + 19);
    // A disabled entry is passed over, scrolling as far as the one after it.
    EXPECT_EQ(pager.MoveFocus(19, true), 19);
    EXPECT_EQ(pager.ScrollPosition(), 3);
    EXPECT_EQ(pager.RowParam(19)->GetId(), kFirstRangeId + 21);
    // Past the last entry the focus leaves the rows; nothing scrolls.
    pager.Scroll(ScrollMove::ToEnd);
    EXPECT_EQ(pager.MoveFocus(19, true), -1);
    EXPECT_EQ(pager.ScrollPosition(), 8);

    // Backwards from the first row shown the rows scroll back, skipping
    // entry 2; before entry 1 the focus leaves.
    pager.Scroll(ScrollMove::ThumbPosition, 2);
    EXPECT_EQ(pager.MoveFocus(1, false), 1);
    EXPECT_EQ(pager.ScrollPosition(), 0);
    EXPECT_EQ(pager.RowParam(1)->GetId(), kFirstRangeId);
    EXPECT_EQ(pager.MoveFocus(1, false), -1);
    EXPECT_EQ(pager.MoveFocus(3, false), 1);
    // Rows that show no entry move nowhere.
    EXPECT_EQ(pager.MoveFocus(0, true), -1);
    EXPECT_EQ(pager.MoveFocus(20, false), -1);

    // A page shortened by a resize scrolls within its fewer rows.
    RowPager small = TimingPager();
    small.SetCapacity(5);
    EXPECT_EQ(small.MoveFocus(5, true), 5);
    EXPECT_EQ(small.ScrollPosition(), 1);
}

}  // namespace
}  // namespace qvi
