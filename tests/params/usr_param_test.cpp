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

// A position outside the labels is refused and changes nothing; a valid one
// stores the choice's value and writes the register.
TEST_F(UsrParamTest, ChoiceRowStoresTheChoiceValueAndRefusesAPositionOutsideItsLabels) {
    QV_usr_param *sync = module.GetUsrParam(2);
    EXPECT_EQ(sync->GetControlKind(), ControlKind::DropDown);
    EXPECT_EQ(sync->GetChoices(), (std::vector<std::string>{"Internal", "External"}));
    EXPECT_EQ(sync->SetIndex(2), -1);
    EXPECT_EQ(sync->SetIndex(-1), -1);
    EXPECT_EQ(sync->GetIndex(), 0);
    EXPECT_TRUE(registers.writes.empty());
    EXPECT_EQ(ui.Errors(),
              (std::vector<std::string>{
                  "invalid index: 2 passed to SetIndex() for user param: Sync Source",
                  "invalid index: -1 passed to SetIndex() for user param: Sync Source"}));
    EXPECT_EQ(sync->SetIndex(1), kRedrawRow);
    EXPECT_EQ(sync->GetIndex(), 1);
    EXPECT_TRUE(module.GetModParam(2)->GetRawValue().Equals(QV_param_val::U16(1)));
    EXPECT_EQ(registers.writes, (std::vector<Write>{{3, 11, 1, 16}}));
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

}  // namespace
}  // namespace qvi
