// The colour-space matrix list the colour modules share.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "modules/acquisition/csc_matrices.h"
#include "support/test_env.h"

namespace qvi {
namespace {

using ::testing::ElementsAre;

class CscMatricesTest : public testing::UiTest {
protected:
    QV_csc_matrix_catalogue &catalogue = QV_csc_matrix_catalogue::Instance();
};

// Names match exactly; "custom" is the last entry and starts as the one before it.
TEST_F(CscMatricesTest, CustomIsTheLastEntryAndNamesMatchExactly) {
    EXPECT_EQ(catalogue.Names().back(), "custom");
    EXPECT_EQ(catalogue.Find("custom"), QV_csc_matrix_catalogue::kCustomIndex);
    EXPECT_EQ(catalogue.Find("def_rgb_rgb"), -1);
    EXPECT_EQ(catalogue.Get(10)->coefficients, catalogue.Get(9)->coefficients);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CscMatricesTest, ABadIndexIsReportedAndGivesNoMatrix) {
    EXPECT_EQ(catalogue.Get(11), nullptr);
    EXPECT_EQ(catalogue.GetMutable(-1), nullptr);
    EXPECT_THAT(ui.Texts(), ElementsAre("Invalid index: 11 passed to TX-30 CSC Matrix Manager",
                                        "Invalid index: -1 passed to TX-30 CSC Matrix Manager"));
}

}  // namespace
}  // namespace qvi
