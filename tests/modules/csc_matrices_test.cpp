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

TEST_F(CscMatricesTest, ListsTheTenConversionsThenCustom) {
    EXPECT_THAT(catalogue.Names(),
                ElementsAre("DEF_RGB_RGB", "DEF_RGB_BGR", "DEF_RGB_RYYBY", "DEF_RGB_YUV",
                            "DEF_RGB_YIQ", "DEF_RGB_YCRCB", "DEF_RYYBY_RYYBY", "DEF_RYYBY_RGB",
                            "DEF_RYYBY_YUV", "DEF_RYYBY_YIQ", "custom"));
    EXPECT_EQ(catalogue.Find("custom"), QV_csc_matrix_catalogue::kCustomIndex);
    EXPECT_EQ(catalogue.Find("def_rgb_rgb"), -1);

    const QV_csc_matrix *yuv = catalogue.Get(8);
    ASSERT_NE(yuv, nullptr);
    EXPECT_EQ(yuv->inputFormat, 32);
    EXPECT_EQ(yuv->outputFormat, 16);
    EXPECT_EQ(yuv->scaling, 0);
    // Row by row, each the nearest single-precision number to the decimal.
    EXPECT_THAT(yuv->coefficients, ElementsAre(0.536f, 1.051f, -0.587f, 0.350f, 1.207f, 0.443f,
                                               -0.587f, 1.329f, 0.258f));
    EXPECT_EQ(catalogue.Get(7)->coefficients[0], static_cast<float>(-1.402));
    EXPECT_EQ(catalogue.Get(5)->outputFormat, 0);
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
