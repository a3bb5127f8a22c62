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

// Anything but 0 or 1 is reported and yields 0, in the input's kind.
TEST_F(ConverterTest, InvertSwapsZeroAndOneInTheInputKind) {
    auto param = RangeOwning(std::make_unique<InvertConverter>());
    QV_param_val inverted = param->ToUi().Convert(QV_param_val::U16(1));
    EXPECT_TRUE(inverted.Equals(QV_param_val::U16(0)));
    EXPECT_TRUE(param->ToUi().Convert(QV_param_val::S32(0)).Equals(QV_param_val::S32(1)));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(param->ToUi().Convert(QV_param_val::U16(2)).Equals(QV_param_val::U16(0)));
    EXPECT_EQ(ui.Errors(), std::vector<std::string>{
                               "Bad value passed to InvertConverter for mod param: Clamp_Level "
                               "can only invert 0 & 1"});
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

// Scale and offset work in single precision and truncate back into the input's
// kind, or give the float when that kind cannot hold it.
TEST_F(ConverterTest, ArithmeticConvertersKeepTheKindWhenTheResultFits) {
    using V = QV_param_val;
    ScaleOffsetConverter half(V::Float(0.5f), V::U16(0));
    ScaleOffsetConverter triple(V::U16(3), V::S16(-4));
    ScaleOffsetConverter halfLess10(V::Float(0.5f), V::S16(-10));
    // 16777217 is not a float: the sum is rounded back to 16777216.
    ScaleOffsetConverter plusOne(V::U16(1), V::U32(1));
    OffsetConverter plusHalf(V::Float(8.5f));
    OffsetConverter minusTen(V::S16(-10));
    NullConverter identity;
    const struct {
        Converter &converter;
        V in, out;
    } cases[] = {
        {half, V::U16(5), V::U16(2)},
        {triple, V::S16(-2), V::S16(-10)},
        {halfLess10, V::U16(4), V::Float(-8)},  // -8: no U16
        {plusOne, V::U32(16777216), V::U32(16777216)},
        {plusHalf, V::S16(-20), V::S16(-11)},  // -11.5 truncated toward zero
        {minusTen, V::U8(3), V::Float(-7)},
        {identity, V::S8(-3), V::S8(-3)},
    };
    for (const auto &c : cases) {
        const V out = c.converter.Convert(c.in);
        EXPECT_TRUE(out.Equals(c.out)) << "case " << (&c - cases) << ": " << out.ToString();
    }
    EXPECT_EQ(identity.Convert(V::Text("x")).GetText(), "x");
}

}  // namespace
}  // namespace qvi
