// The value converters between stored, shown, written and printed forms.
#include "params/converters.h"

#include <gtest/gtest.h>

#include <array>

#include "params/mod_param.h"
#include "support/test_env.h"

namespace qvi {
namespace {

using testing::UiTest;

const std::array<QV_param_val, 1> kU16Zero{QV_param_val::U16(0)};

// A range parameter named "Clamp_Level" owning the converter under test as
// its to-UI converter, so the converter knows its parameter.
std::unique_ptr<QV_range_param> RangeOwning(ConverterPtr converter) {
    return std::make_unique<QV_range_param>("Clamp_Level", 1, kU16Zero, -1, 4, std::move(converter),
                                            nullptr, nullptr, nullptr, nullptr, nullptr, 10);
}

std::unique_ptr<QV_choice_param> ChoiceOwning(ConverterPtr converter) {
    return std::make_unique<QV_choice_param>(
        "Sync_Source", 1, kU16Zero, -1, 5, std::move(converter), nullptr, nullptr, nullptr, nullptr,
        nullptr, std::vector<std::string>{"Internal", "External", "Composite"},
        std::vector<QV_param_val>{QV_param_val::U16(0), QV_param_val::U16(4), QV_param_val::U16(9)},
        true);
}

class ConverterTest : public UiTest {};

TEST_F(ConverterTest, InvertSwapsZeroAndOneInTheInputKind) {
    auto param = RangeOwning(std::make_unique<InvertConverter>());
    QV_param_val inverted = param->ToUi().Convert(QV_param_val::U16(1));
    EXPECT_EQ(inverted.GetKind(), ValKind::U16);
    EXPECT_EQ(inverted.GetLong(), 0);
    EXPECT_EQ(param->ToUi().Convert(QV_param_val::S32(0)).GetLong(), 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ConverterTest, InvertReportsAnythingButZeroOrOneAndYieldsZero) {
    auto param = RangeOwning(std::make_unique<InvertConverter>());
    QV_param_val result = param->ToUi().Convert(QV_param_val::U16(2));
    EXPECT_EQ(result.GetKind(), ValKind::U16);
    EXPECT_EQ(result.GetLong(), 0);
    ASSERT_EQ(ui.Errors().size(), 1u);
    EXPECT_EQ(
        ui.Errors()[0],
        "Bad value passed to InvertConverter for mod param: Clamp_Level can only invert 0 & 1");
}

TEST_F(ConverterTest, ValueToIndexFindsThePositionOrFallsBackToTheFirst) {
    auto param = ChoiceOwning(std::make_unique<Val2IndexConverter>());
    QV_param_val found = param->ToUi().Convert(QV_param_val::U16(9));
    EXPECT_EQ(found.GetKind(), ValKind::Index);
    EXPECT_EQ(found.GetLong(), 2);
    EXPECT_EQ(param->ToUi().Convert(QV_param_val::U16(7)).GetLong(), 0);
    // The same number in another kind is not the choice value.
    EXPECT_EQ(param->ToUi().Convert(QV_param_val::U32(9)).GetLong(), 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ConverterTest, IndexToValueGivesTheChoiceValue) {
    auto param = ChoiceOwning(std::make_unique<Index2ValConverter>());
    QV_param_val value = param->ToUi().Convert(QV_param_val::Index(1));
    EXPECT_TRUE(value.Equals(QV_param_val::U16(4)));
    // A position outside the list is a caller's fault: reported, never garbage.
    EXPECT_TRUE(param->ToUi().Convert(QV_param_val::Index(3)).Equals(QV_param_val::U16(0)));
    EXPECT_EQ(ui.Errors().size(), 1u);
}

TEST_F(ConverterTest, ListConvertersRefuseNonChoiceParameters) {
    auto toIndex = RangeOwning(std::make_unique<Val2IndexConverter>());
    QV_param_val index = toIndex->ToUi().Convert(QV_param_val::U16(3));
    EXPECT_EQ(index.GetKind(), ValKind::Index);
    EXPECT_EQ(index.GetLong(), 0);

    auto toValue = RangeOwning(std::make_unique<Index2ValConverter>());
    toValue->ToUi().Convert(QV_param_val::Index(0));

    EXPECT_EQ(ui.Errors(),
              (std::vector<std::string>{
                  "Val2IndexConverter is not a valid converter for mod param: Clamp_Level which is "
                  "mod param type: RANGE",
                  "Index2ValConverter is not a valid converter for mod param: Clamp_Level which is "
                  "mod param type: RANGE"}));
}

TEST_F(ConverterTest, ScaleOffsetTruncatesBackIntoTheInputKind) {
    ScaleOffsetConverter half(QV_param_val::Float(0.5f), QV_param_val::U16(0));
    QV_param_val result = half.Convert(QV_param_val::U16(5));
    EXPECT_EQ(result.GetKind(), ValKind::U16);
    EXPECT_EQ(result.GetLong(), 2);

    ScaleOffsetConverter shifted(QV_param_val::U16(3), QV_param_val::S16(-4));
    EXPECT_EQ(shifted.Convert(QV_param_val::S16(-2)).GetLong(), -10);
}

TEST_F(ConverterTest, ScaleOffsetReturnsTheFloatWhenTheKindCannotHoldIt) {
    ScaleOffsetConverter scale(QV_param_val::Float(0.5f), QV_param_val::S16(-10));
    QV_param_val result = scale.Convert(QV_param_val::U16(4));  // 2 - 10 = -8: no U16
    EXPECT_EQ(result.GetKind(), ValKind::Float);
    EXPECT_FLOAT_EQ(result.GetFloat(), -8.0f);
}

TEST_F(ConverterTest, ScaleOffsetRoundsThroughSinglePrecision) {
    // 16777217 is not a float: the product is rounded to 16777216 before the
    // offset is added, and the sum is rounded again.
    ScaleOffsetConverter scale(QV_param_val::U16(1), QV_param_val::U32(1));
    EXPECT_EQ(scale.Convert(QV_param_val::U32(16777216)).GetLong(), 16777216);
}

TEST_F(ConverterTest, OffsetAddsInSinglePrecisionAndKeepsTheKind) {
    OffsetConverter plusHalf(QV_param_val::Float(8.5f));
    QV_param_val result = plusHalf.Convert(QV_param_val::S16(-20));
    EXPECT_EQ(result.GetKind(), ValKind::S16);
    EXPECT_EQ(result.GetLong(), -11);  // -11.5 truncated toward zero

    OffsetConverter minusTen(QV_param_val::S16(-10));
    QV_param_val negative = minusTen.Convert(QV_param_val::U8(3));
    EXPECT_EQ(negative.GetKind(), ValKind::Float);
    EXPECT_FLOAT_EQ(negative.GetFloat(), -7.0f);
}

TEST_F(ConverterTest, NullConverterIsTheIdentity) {
    NullConverter identity;
    EXPECT_EQ(identity.Convert(QV_param_val::Text("x")).GetText(), "x");
    EXPECT_TRUE(identity.Convert(QV_param_val::S8(-3)).Equals(QV_param_val::S8(-3)));
}

}  // namespace
}  // namespace qvi
