// The rows of the Module Setup dialog: drop-downs, number fields, text, selectors.
#include "params/usr_param.h"

#include <gtest/gtest.h>

#include "params/mod.h"
#include "support/fake_registers.h"
#include "support/sample_module.h"
#include "support/test_env.h"
#include "system/plat_mod.h"

namespace qvi {
namespace {

using testing::FakeRegisters;
using testing::SampleModule;
using Write = FakeRegisters::Write;

class UsrParamTest : public testing::UiTest {
protected:
    FakeRegisters registers;
    QV_plat_mod board{"TX99_plat_mod", &registers, 3};
    SampleModule module{&board};
};

TEST_F(UsrParamTest, ChoiceRowStoresTheChoiceValueAndWritesTheRegister) {
    QV_usr_param *sync = module.GetUsrParam(2);
    EXPECT_EQ(sync->GetControlKind(), ControlKind::DropDown);
    EXPECT_EQ(sync->GetChoices(), (std::vector<std::string>{"Internal", "External"}));
    EXPECT_EQ(sync->GetIndex(), 0);
    EXPECT_EQ(sync->SetIndex(1), kRedrawRow);
    EXPECT_EQ(sync->GetIndex(), 1);
    EXPECT_TRUE(module.GetModParam(2)->GetRawValue().Equals(QV_param_val::U16(1)));
    EXPECT_EQ(registers.writes, (std::vector<Write>{{3, 11, 1, 16}}));
}

TEST_F(UsrParamTest, ChoiceRowRefusesAPositionOutsideItsLabels) {
    QV_usr_param *sync = module.GetUsrParam(2);
    EXPECT_EQ(sync->SetIndex(2), -1);
    EXPECT_EQ(sync->SetIndex(-1), -1);
    EXPECT_EQ(sync->GetIndex(), 0);
    EXPECT_TRUE(registers.writes.empty());
    EXPECT_EQ(ui.Errors(),
              (std::vector<std::string>{
                  "invalid index: 2 passed to SetIndex() for user param: Sync Source",
                  "invalid index: -1 passed to SetIndex() for user param: Sync Source"}));
}

TEST_F(UsrParamTest, RangeRowOffersItsLimitsAndStoresThroughTheParameter) {
    const ParamList &params = module.GetModParams();
    QV_range_usr_param total("Horizontal Total", 9, params, 1, QV_param_val::U16(0),
                             QV_param_val::U16(1023), QV_param_val::U16(1));
    EXPECT_EQ(total.GetControlKind(), ControlKind::Number);
    EXPECT_TRUE(total.GetMin().Equals(QV_param_val::U16(0)));
    EXPECT_TRUE(total.GetMax().Equals(QV_param_val::U16(1023)));
    EXPECT_TRUE(total.GetStep().Equals(QV_param_val::U16(1)));
    EXPECT_EQ(total.SetValue(QV_param_val::U16(700)), 0);
    EXPECT_EQ(total.GetValue().GetLong(), 700);
    EXPECT_EQ(registers.writes, (std::vector<Write>{{3, 10, 700, 16}}));
}

TEST_F(UsrParamTest, RowsWithoutAParameterOrOfAnotherControlChangeNothing) {
    const ParamList &params = module.GetModParams();
    QV_range_usr_param orphan("Orphan", 9, params, 99, QV_param_val::U16(0), QV_param_val::U16(1),
                              QV_param_val::U16(1));
    EXPECT_EQ(orphan.GetParam(), nullptr);
    EXPECT_EQ(orphan.SetValue(QV_param_val::U16(1)), -1);
    EXPECT_EQ(orphan.GetValue().GetKind(), ValKind::Index);
    EXPECT_EQ(orphan.SetIndex(0), -1);  // a number row has no list
    QV_value_usr_param text("Camera Name", 10, params, 1);
    EXPECT_EQ(text.GetControlKind(), ControlKind::Text);
    EXPECT_EQ(text.SetIndex(0), -1);
    EXPECT_TRUE(registers.writes.empty());
    EXPECT_EQ(ui.Errors().size(), 3u);
}

TEST_F(UsrParamTest, PortSelectorSwitchesEveryParameterRefreshesAndRewritesTheHardware) {
    QV_usr_param *port = module.GetUsrParam(0);
    EXPECT_EQ(port->SetIndex(2), kRedrawRows);
    EXPECT_EQ(port->GetIndex(), 2);
    for (const auto &param : module.GetModParams())
        EXPECT_EQ(param->GetCurrentPort(), param->GetPortCount() == 4 ? 2 : 0);
    EXPECT_EQ(module.GetUsrParam(1)->GetValue().GetLong(), 12);
    // The port value itself has no register; ApplyAll then rewrites port 2's values.
    EXPECT_EQ(registers.writes, (std::vector<Write>{{3, 10, 12, 16}, {3, 11, 0, 16}}));
    EXPECT_EQ(ui.waitCursorShown, 1);
    EXPECT_EQ(ui.waitCursorDepth, 0);

    EXPECT_EQ(port->SetIndex(4), -1);
    EXPECT_EQ(port->GetIndex(), 2);
}

}  // namespace
}  // namespace qvi
