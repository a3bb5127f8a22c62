// The tagged value: kinds, conversion, equality and formatting.
#include "params/param_val.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace qvi {
namespace {

TEST(ParamValTest, NarrowKindsKeepOnlyTheirMeaningfulBits) {
    QV_param_val s16 = QV_param_val::S16(-2);
    EXPECT_EQ(s16.GetKind(), ValKind::S16);
    EXPECT_EQ(s16.GetLong(), -2);
    EXPECT_EQ(s16.GetShort(), -2);
    EXPECT_DOUBLE_EQ(s16.ToDouble(), -2.0);

    QV_param_val u8 = QV_param_val::U8(200);
    u8.SetPayload(300);  // only the low byte survives, as in an 8-bit field
    EXPECT_EQ(u8.GetKind(), ValKind::U8);
    EXPECT_EQ(u8.GetLong(), 44);

    QV_param_val u32 = QV_param_val::U32(0xFFFFFFFFu);
    EXPECT_DOUBLE_EQ(u32.ToDouble(), 4294967295.0);  // zero-extended
    EXPECT_EQ(u32.GetShort(), -1);                   // low 16 bits

    EXPECT_DOUBLE_EQ(QV_param_val::Text("12").ToDouble(), 0.0);
    EXPECT_DOUBLE_EQ(QV_param_val::Index(5).ToDouble(), 0.0);
    EXPECT_DOUBLE_EQ(QV_param_val::Float(1.25f).ToDouble(), 1.25);
}

struct ConvertCase {
    QV_param_val from;
    ValKind to;
    bool fits;
    double expected;  // the number after a successful conversion
};

class ParamValConvertTest : public ::testing::TestWithParam<ConvertCase> {};

TEST_P(ParamValConvertTest, RefusesWhatDoesNotFitAndKeepsTheValue) {
    const ConvertCase &c = GetParam();
    QV_param_val value = c.from;
    int result = value.ConvertTo(c.to);
    if (c.fits) {
        EXPECT_EQ(result, 0);
        EXPECT_EQ(value.GetKind(), c.to);
        EXPECT_DOUBLE_EQ(value.ToDouble(), c.expected);
    } else {
        EXPECT_EQ(result, -1);
        EXPECT_EQ(value.GetKind(), c.from.GetKind());
        EXPECT_TRUE(value.Equals(c.from));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Limits, ParamValConvertTest,
    ::testing::Values(ConvertCase{QV_param_val::U16(300), ValKind::U8, false, 0},
                      ConvertCase{QV_param_val::U16(255), ValKind::U8, true, 255},
                      ConvertCase{QV_param_val::S16(-129), ValKind::S8, false, 0},
                      ConvertCase{QV_param_val::S16(-128), ValKind::S8, true, -128},
                      ConvertCase{QV_param_val::S16(128), ValKind::S8, false, 0},
                      ConvertCase{QV_param_val::U32(65536), ValKind::U16, false, 0},
                      ConvertCase{QV_param_val::U32(65535), ValKind::U16, true, 65535},
                      ConvertCase{QV_param_val::U32(32768), ValKind::S16, false, 0},
                      ConvertCase{QV_param_val::S32(-32768), ValKind::S16, true, -32768},
                      ConvertCase{QV_param_val::S16(-1), ValKind::U32, false, 0},
                      ConvertCase{QV_param_val::U32(0x80000000u), ValKind::S32, false, 0},
                      ConvertCase{QV_param_val::Float(2.9f), ValKind::U16, true, 2},  // truncated
                      ConvertCase{QV_param_val::Float(-2.9f), ValKind::S16, true,
                                  -2},                                                // toward zero
                      ConvertCase{QV_param_val::Float(-0.5f), ValKind::U8, true, 0},  // -0 fits
                      ConvertCase{QV_param_val::Float(255.9f), ValKind::U8, true, 255},
                      ConvertCase{QV_param_val::Float(256.0f), ValKind::U8, false, 0},
                      ConvertCase{QV_param_val::S32(-7), ValKind::Float, true, -7},
                      ConvertCase{QV_param_val::U16(7), ValKind::U16, true, 7},
                      ConvertCase{QV_param_val::Text("5"), ValKind::U16, false, 0},
                      ConvertCase{QV_param_val::U16(5), ValKind::Text, false, 0},
                      ConvertCase{QV_param_val::Text("abc"), ValKind::Text, true, 0}));

TEST(ParamValTest, EqualsComparesKindsAndMeaningfulPayloads) {
    EXPECT_FALSE(QV_param_val::U16(5).Equals(QV_param_val::U32(5)));
    EXPECT_TRUE(QV_param_val::U16(5).Equals(QV_param_val::U16(5)));
    EXPECT_TRUE(QV_param_val::S16(-1).Equals(QV_param_val::FromPayload(ValKind::S16, 0x1234FFFF)));
    EXPECT_TRUE(QV_param_val::Float(1.5f).Equals(QV_param_val::Float(1.5f)));
    EXPECT_FALSE(QV_param_val::Float(1.5f).Equals(QV_param_val::Float(1.25f)));
    EXPECT_TRUE(QV_param_val::Text("Abc").Equals(QV_param_val::Text("Abc")));
    EXPECT_FALSE(QV_param_val::Text("Abc").Equals(QV_param_val::Text("abc")));
    // Index values are above text and never equal, not even to themselves.
    EXPECT_FALSE(QV_param_val::Index(2).Equals(QV_param_val::Index(2)));
}

TEST(ParamValTest, FormatFollowsKindAndRadix) {
    EXPECT_EQ(QV_param_val::U16(255).Format(16), "0xFF");
    EXPECT_EQ(QV_param_val::U32(255).Format(16), "0xFF");
    EXPECT_EQ(QV_param_val::U8(255).Format(10), "255");
    EXPECT_EQ(QV_param_val::U32(4000000000u).Format(10), "4000000000");
    EXPECT_EQ(QV_param_val::S16(-5).Format(10), "-5");
    EXPECT_EQ(QV_param_val::S16(-1).Format(16), "0xFFFFFFFF");  // promoted to int, then hex
    EXPECT_EQ(QV_param_val::S32(-2147483647 - 1).ToString(), "-2147483648");
    EXPECT_EQ(QV_param_val::Float(1.5f).Format(16), "1.500");
    EXPECT_EQ(QV_param_val::Float(-0.0625f).ToString(), "-0.062");
    EXPECT_EQ(QV_param_val::Text("Hitachi KP-F1").ToString(), "Hitachi KP-F1");
    EXPECT_EQ(QV_param_val::Index(-1).ToString(), "-1");
}

TEST(ParamValTest, FormatIsAtMost63CharactersAndIgnoresTheLocale) {
    EXPECT_EQ(QV_param_val::Text(std::string(100, 'x')).ToString().size(), 63u);

    const char *previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "fr_FR.UTF-8")) {
        EXPECT_EQ(QV_param_val::Float(2.25f).ToString(), "2.250");
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(QV_param_val::Float(2.25f).ToString(), "2.250");
}

}  // namespace
}  // namespace qvi
