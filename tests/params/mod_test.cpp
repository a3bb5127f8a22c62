// The parameter container: parameters by handle, rows, groups, changes since opening.
#include "params/mod.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/fake_registers.h"
#include "support/sample_module.h"
#include "support/test_env.h"
#include "system/plat_mod.h"

namespace qvi {
namespace {

using testing::FakeRegisters;
using testing::SampleModule;
using testing::UiTest;
using Write = FakeRegisters::Write;

class ModTest : public UiTest {
protected:
    FakeRegisters registers;
    QV_plat_mod board{"TX99_plat_mod", &registers, 7};
    SampleModule module{&board};
};

TEST_F(ModTest, NullEntriesAreNotAdded) {
    module.AddModParam(nullptr);
    module.AddUsrParam(nullptr);
    module.AddParamGroup(nullptr);
    EXPECT_EQ(module.GetModParams().size(), 4u);
    EXPECT_EQ(module.GetUsrParams().size(), 4u);
    EXPECT_EQ(module.GetParamGroups().size(), 2u);
}

TEST_F(ModTest, UiValueOfAnUnknownHandleIsReportedAsSigned16Zero) {
    EXPECT_EQ(module.GetUIValue(2).GetKind(), ValKind::Index);
    QV_param_val missing = module.GetUIValue(42);
    EXPECT_TRUE(missing.Equals(QV_param_val::S16(0)));
    EXPECT_EQ(ui.Errors(),
              (std::vector<std::string>{"Invalid mod param handle: 42 passed to module: TX-99"}));
}

TEST_F(ModTest, ConfigurationValuesReachTheHardwareOnlyForTheCurrentPort) {
    EXPECT_EQ(module.SetParamFromCNF(0, 1, QV_param_val::U16(40)), 0);
    EXPECT_EQ(module.SetParamFromCNF(2, 1, QV_param_val::U16(42)), 0);
    EXPECT_EQ(module.SetParamFromCNF(2, QV_param_val::U16(1)), 0);  // port 0, no write
    EXPECT_EQ(module.SetParamFromCNF(0, 42, QV_param_val::U16(1)), -1);
    EXPECT_EQ(module.SetParamFromCNF(42, QV_param_val::U16(1)), -1);

    EXPECT_EQ(registers.writes, (std::vector<Write>{{7, 10, 40, 16}}));
    EXPECT_EQ(module.GetModParam(1)->GetRawValue(2).GetLong(), 42);
    EXPECT_EQ(module.GetModParam(2)->GetRawValue(0).GetLong(), 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ModTest, ModifiedSavedAndRevertCoverEveryParameter) {
    module.MarkSaved();
    EXPECT_FALSE(module.IsModified());
    module.GetModParam(3)->SetRawValue(QV_param_val::U16(1));
    EXPECT_TRUE(module.IsModified());
    module.RevertAll();
    EXPECT_FALSE(module.IsModified());

    module.GetModParam(1)->SetRawValue(2, QV_param_val::U16(99));
    module.GetModParam(1)->SetRawValue(1, QV_param_val::U16(98));
    module.Revert(2);
    EXPECT_EQ(module.GetModParam(1)->GetRawValue(2).GetLong(), 12);
    EXPECT_EQ(module.GetModParam(1)->GetRawValue(1).GetLong(), 98);
    EXPECT_TRUE(module.IsModified());
}

TEST_F(ModTest, ApplyAllWritesEveryRegisterInListOrderThroughThePortSeenNow) {
    module.SetPort(3);
    EXPECT_EQ(module.GetModParam(1)->GetCurrentPort(), 3);
    EXPECT_EQ(module.GetModParam(0)->GetCurrentPort(), 0);  // one-port parameters stay
    module.ApplyAll();
    EXPECT_EQ(registers.writes, (std::vector<Write>{{7, 10, 13, 16}, {7, 11, 0, 16}}));
}

// Where the selector stands on every page is checked over every model's tables.
TEST_F(ModTest, PageSelectorRedrawsThePageAndRefusesAPageBeyondTheLast) {
    QV_page_usr_param *selector = module.GetPageSelector();
    ASSERT_NE(selector, nullptr);
    EXPECT_EQ(selector->SetIndex(1), kRedrawPage);
    EXPECT_EQ(selector->GetIndex(), 1);
    EXPECT_EQ(selector->SetIndex(2), -1);
    EXPECT_EQ(selector->GetIndex(), 1);
}

TEST_F(ModTest, GroupsReportIdsWithoutARowAndGoOn) {
    const std::array<int, 3> ids{1, 77, 3};
    QV_param_group group("Timing Control", ids, module.GetUsrParams());
    ASSERT_EQ(group.Size(), 2);
    EXPECT_EQ(group.GetUsrParams()[1]->GetId(), 3);
    EXPECT_EQ(ui.Errors(), (std::vector<std::string>{"invalid ParamHandle: 77 passed to "
                                                     "QV_param_group() ctor for param group: "
                                                     "Timing Control"}));
}

TEST_F(ModTest, TheBaseGivesTheDefaultHelpTopicAndNoSection) {
    EXPECT_EQ(module.GetHelpTopic(2), 13);
    std::ostringstream out;
    QV_mod plain("RX-600", &board);
    plain.WriteCFGSection(out);
    EXPECT_EQ(out.str(), "");
    EXPECT_FALSE(plain.IsEditable());
}

TEST_F(ModTest, ADisabledParameterStillHoldsItsValue) {
    module.DisableModParam(3);
    EXPECT_EQ(module.GetModParam(3)->GetCFGString(), "");
    EXPECT_EQ(module.GetModParam(2)->GetCFGString(), "Sync_Source = Internal");
    EXPECT_EQ(module.GetUIValue(3).GetLong(), 0);
}

}  // namespace
}  // namespace qvi
