// The value entry dialog's logic: parsing, limits and messages.
#include "params/value_entry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "params/mod.h"
#include "params/number_text.h"
#include "support/recording_ui.h"

namespace qvi {
namespace {

using V = QV_param_val;
using Texts = std::vector<std::string>;

TEST(NumberTextTest, IntegersMustFillTheWholeText) {
    EXPECT_EQ(ParseInteger(" -17\t"), -17);
    EXPECT_EQ(ParseInteger("+5"), 5);
    EXPECT_EQ(ParseInteger("-9223372036854775808"), INT64_MIN);
    for (const char *bad :
         {"", "  ", "12abc", "1.5", "- 5", "+-5", "--5", "0x10", "1 2", "9223372036854775808"})
        EXPECT_FALSE(ParseInteger(bad).has_value()) << bad;
}

TEST(NumberTextTest, DecimalsInPlainNotationOnly) {
    EXPECT_EQ(ParseDecimal(" -2.25 "), -2.25);
    EXPECT_EQ(ParseDecimal("+.5"), 0.5);
    EXPECT_EQ(ParseDecimal("2."), 2.0);
    EXPECT_EQ(ParseDecimal("7"), 7.0);
    EXPECT_EQ(ParseDecimal("1.5E-2"), 0.015);
    EXPECT_EQ(ParseDecimal("1e3"), 1000.0);
    EXPECT_EQ(ParseDecimal("0.000001e-400"), 0.0);  // too small becomes zero
    for (const char *bad : {"", ".", "-", "1e", "e3", "1.2.3", "1,5", "inf", "nan", "0x1p3", "1e+",
                            "abc", "1e400", "123456789e99999999999"})
        EXPECT_FALSE(ParseDecimal(bad).has_value()) << bad;
}

// Ordinary values and hexadecimal are the value entry tests' messages.
TEST(NumberTextTest, FormatsLikePrintfInTheCLocale) {
    EXPECT_EQ(FormatFixed(-0.0001, 4, 3), "-0.000");
    EXPECT_EQ(FormatFixed(1e300, 4, 3).size(), 305u);
}

class HelpfulMod : public QV_mod {
public:
    using QV_mod::QV_mod;
    int GetHelpTopic(int usrParamId) override { return 500 + usrParamId; }
};

class ValueEntryTest : public ::testing::Test {
protected:
    // A number row over a new module parameter holding value; its id is its handle.
    QV_usr_param &Row(V value, V min, V max, V step, std::string label = "Horizontal Total") {
        const int handle = next_++;
        const V defaults[] = {value};
        mod_.AddModParam(std::make_unique<QV_range_param>("P" + std::to_string(handle), 1, defaults,
                                                          0, handle, nullptr, nullptr, nullptr,
                                                          nullptr, nullptr, nullptr, 10));
        mod_.AddUsrParam(std::make_unique<QV_range_usr_param>(
            std::move(label), handle, mod_.GetModParams(), handle, min, max, step));
        return *mod_.GetUsrParam(handle);
    }
    ValueEntry Open(QV_usr_param &row) {
        return ValueEntry(row, [this] { ++refreshes_; });
    }
    static std::string Stored(QV_usr_param &row) { return row.GetValue().ToString(); }
    // "scroll max, page step, position: edit text" in one line.
    static std::string Shape(const ValueEntry &e) {
        return MessageText(e.ScrollMax(), ",", e.PageStep(), ",", e.ScrollPos(), ": ",
                           e.EditText());
    }

    RecordingUi ui_;
    ScopedUi scoped_{ui_};
    HelpfulMod mod_{"TX-10", nullptr};
    int next_ = 1;
    int refreshes_ = 0;
};

TEST_F(ValueEntryTest, OpensWithLabelLimitsAndHelp) {
    QV_usr_param &row = Row(V::U16(500), V::U16(0), V::U16(1023), V::U16(1));
    ValueEntry entry = Open(row);
    EXPECT_EQ(entry.Caption(), "Horizontal Total");
    EXPECT_FALSE(entry.IsTextEntry());
    EXPECT_TRUE(entry.ShowsScrollBar() && entry.ShowsLimits());
    EXPECT_EQ(entry.MinText() + "/" + entry.MaxText(), "0/1023");
    EXPECT_EQ(entry.HelpTopic(), 501);
    entry.Scroll(ScrollMove::ThumbPosition, 700);
    EXPECT_EQ(Stored(row), "500");  // scrolling stores nothing

    QV_range_usr_param loose("Loose", 9, mod_.GetModParams(), 1, V::U16(0), V::U16(1), V::U16(1));
    EXPECT_EQ(Open(loose).HelpTopic(), 13);  // no module
}

// The scroll bar over a row's limits: "scroll max, page step, position: edit
// text" after the moves. A full unsigned 16-bit range is cut to 32767
// positions; signed values truncate toward zero; floats scroll in single
// precision; a degenerate range or step never divides by zero.
TEST_F(ValueEntryTest, ScrollingFollowsTheLimitsAndStep) {
    using M = ScrollMove;
    struct Limits {
        V min, max, step;
    };
    const Limits u10{V::U16(0), V::U16(1023), V::U16(1)};
    const Limits u16{V::U16(0), V::U16(65535), V::U16(1)};
    const Limits s16{V::S16(-100), V::S16(100), V::S16(5)};
    const Limits real{V::Float(0), V::Float(1), V::Float(0.1f)};
    const struct {
        V value;
        Limits limits;
        std::vector<std::pair<ScrollMove, int>> moves;
        const char *shape;
    } cases[] = {
        {V::U16(500), u10, {}, "1023,1,500: 500"},
        {V::U16(0), u10, {{M::PageForward, 0}}, "1023,1,2: 2"},
        {V::U16(0), u10, {{M::PageForward, 0}, {M::PageBack, 0}, {M::LineBack, 0}}, "1023,1,0: 0"},
        {V::U16(0), u10, {{M::ThumbTrack, 5000}}, "1023,1,1023: 1023"},
        {V::U16(0), u10, {{M::ThumbPosition, 700}}, "1023,1,700: 700"},
        {V::U16(65535), u16, {}, "32767,1,32767: 65535"},
        {V::U16(65535), u16, {{M::ToStart, 0}, {M::LineForward, 0}}, "32767,1,1: 2"},
        {V::U16(65535),
         u16,
         {{M::ToStart, 0}, {M::LineForward, 0}, {M::LineForward, 0}},
         "32767,1,2: 4"},
        {V::S16(0), s16, {}, "40,4,20: 0"},
        {V::S16(0), s16, {{M::PageForward, 0}}, "40,4,25: 25"},
        // Page step 0: moves by 1 to -10 + 20/6.
        {V::S16(-10), {V::S16(-10), V::S16(10), V::S16(3)}, {{M::PageForward, 0}}, "6,0,1: -6"},
        {V::Float(0.7f), real, {}, "10,1,7: 0.700"},
        {V::Float(0.7f), real, {{M::LineForward, 0}}, "10,1,8: 0.800"},
        {V::U32(250000), {V::U32(0), V::U32(1000000), V::U32(1000)}, {}, "1000,100,250: 250000"},
        {V::S16(5), {V::S16(5), V::S16(5), V::S16(0)}, {{M::ToEnd, 0}}, "0,0,0: 5"},
        {V::Float(1), {V::Float(0), V::Float(2), V::Float(0)}, {}, "2,0,1: 1.000"},  // step 1
        {V::U16(3), {V::U16(3), V::U16(3), V::U16(0)}, {{M::PageForward, 0}}, "0,0,0: 3"},
    };
    for (const auto &c : cases) {
        ValueEntry entry = Open(Row(c.value, c.limits.min, c.limits.max, c.limits.step));
        for (const auto &[move, position] : c.moves) entry.Scroll(move, position);
        EXPECT_EQ(Shape(entry), c.shape) << "case " << (&c - cases);
    }
}

// Typed text against a row's limits, with OK or Apply: whether it is taken,
// what the row holds then, in its own kind, and the message. A refused value
// is named in the row's kind (unsigned 32-bit in hex). A maximum below the
// minimum takes any value of the kind; on 32 bits, spelled unsigned or signed.
TEST_F(ValueEntryTest, TypedTextIsCheckedAgainstTheLimitsInTheRowsKind) {
    enum Button { kOk, kApply };
    const V s32All = V::FromPayload(ValKind::S32, 0xFFFFFFFFu);
    const struct {
        V value, min, max;
        Button button;
        const char *typed;
        const char *held;     // the row's value afterwards
        const char *message;  // empty when taken
    } cases[] = {
        {V::U16(100), V::U16(0), V::U16(1023), kOk, "2000", "100", "Entry out of range: 2000"},
        {V::U16(100), V::U16(0), V::U16(1023), kOk, "12abc", "100", "Invalid entry: 12abc"},
        {V::U16(100), V::U16(0), V::U16(1023), kApply, "abc", "100", "Invalid entry: abc"},
        {V::U16(100), V::U16(0), V::U16(1023), kOk, " 700 ", "700", ""},
        {V::U32(7), V::U32(0), V::U32(4095), kApply, "5000", "7", "Entry out of range: 1388"},
        {V::U32(7), V::U32(0), V::U32(4095), kOk, "5000", "7", "Entry out of range: 5000"},
        {V::U32(7), V::U32(0), V::U32(4095), kApply, "-1", "7", "Entry out of range: FFFFFFFF"},
        {V::Float(0.5f), V::Float(0), V::Float(1), kApply, "2.5", "0.500",
         "Entry out of range: 2.500"},
        // 0.1 meets the limit 0.1f once in single precision.
        {V::Float(0.5f), V::Float(0.1f), V::Float(1), kApply, "0.1", "0.100", ""},
        {V::S16(0), V::S16(-100), V::S16(100), kOk, "-200", "0", "Entry out of range: -200"},
        {V::S16(0), V::S16(-100), V::S16(100), kApply, "-20", "-20", ""},
        {V::U16(50), V::U16(100), V::U16(10), kOk, "5000", "5000", ""},
        {V::U16(50), V::U16(100), V::U16(10), kOk, "70000", "50", "Entry out of range: 70000"},
        {V::S32(0), V::S32(0), s32All, kOk, "4294967295", "-1", ""},
        {V::S32(0), V::S32(0), s32All, kApply, "-2", "-2", ""},
        {V::S32(0), V::S32(0), s32All, kOk, "2147483648", "-2147483648", ""},
        {V::S32(0), V::S32(0), s32All, kOk, "4294967296", "0", "Entry out of range: 4294967296"},
        {V::S32(0), V::S32(0), s32All, kOk, "-2147483649", "0", "Entry out of range: -2147483649"},
        {V::U32(0), V::U32(0), V::U32(0xFFFFFFFFu), kOk, "-2147483648", "2147483648", ""},
        {V::U32(0), V::U32(0), V::U32(0xFFFFFFFFu), kApply, "-2", "4294967294", ""},
        {V::U32(0), V::U32(0), V::U32(0xFFFFFFFFu), kOk, "4294967296", "0",
         "Entry out of range: 4294967296"},
        // Ordinary limits take only their own spelling.
        {V::S32(0), V::S32(-100), V::S32(100), kOk, "4294967295", "0",
         "Entry out of range: 4294967295"},
        {V::U32(0), V::U32(0), V::U32(1000), kOk, "-1", "0", "Entry out of range: -1"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(MessageText(c.value.ToString(), " in ", c.min.ToString(), "..",
                                 c.max.ToString(), ": ", c.typed));
        ui_.Clear();
        QV_usr_param &row = Row(c.value, c.min, c.max, V::FromPayload(c.value.GetKind(), 1));
        ValueEntry entry = Open(row);
        const bool taken = c.button == kOk ? entry.Ok(c.typed) : entry.Apply(c.typed);
        EXPECT_EQ(taken, *c.message == '\0');
        EXPECT_EQ(Stored(row), c.held);
        EXPECT_EQ(row.GetValue().GetKind(), c.value.GetKind());
        EXPECT_EQ(ui_.Errors(), *c.message ? Texts{c.message} : Texts{});
    }
}

// The dialog shows what the row holds after Ok and Apply; only Apply tells
// the owner (the row pager tells the board after OK).
TEST_F(ValueEntryTest, OkAndApplyShowTheValueAndOnlyApplyTellsTheOwner) {
    QV_usr_param &row = Row(V::U16(100), V::U16(0), V::U16(1023), V::U16(1));
    row.SetNotifyOwner(true);
    ValueEntry entry = Open(row);
    EXPECT_FALSE(entry.Ok("2000"));
    EXPECT_EQ(entry.EditText(), "100");
    EXPECT_TRUE(entry.Ok("700"));
    EXPECT_EQ(Shape(entry), "1023,1,700: 700");
    EXPECT_EQ(refreshes_, 0);
    EXPECT_TRUE(entry.Apply("20"));
    EXPECT_EQ(Shape(entry), "1023,1,20: 20");
    EXPECT_EQ(refreshes_, 1);

    ValueEntry s16 = Open(Row(V::S16(0), V::S16(-100), V::S16(100), V::S16(1)));
    EXPECT_TRUE(s16.Apply("-20"));
    EXPECT_EQ(s16.ScrollPos(), 80);
    EXPECT_EQ(refreshes_, 1);
}

TEST_F(ValueEntryTest, FocusOutChecksSignedAndFloatOnly) {
    QV_usr_param &row = Row(V::S16(0), V::S16(-100), V::S16(100), V::S16(1));
    ValueEntry entry = Open(row);
    entry.FocusOut("50");
    EXPECT_EQ(entry.ScrollPos(), 150);
    entry.FocusOut("500");
    EXPECT_EQ(entry.EditText(), "50");
    EXPECT_EQ(Stored(row), "0");

    ValueEntry real = Open(Row(V::Float(0.5f), V::Float(0), V::Float(1), V::Float(0.1f)));
    real.FocusOut("x");
    ValueEntry u16 = Open(Row(V::U16(1), V::U16(0), V::U16(10), V::U16(1)));
    u16.FocusOut("abc");
    // A maximum below the minimum takes any value of the kind.
    ValueEntry any = Open(Row(V::S16(0), V::S16(10), V::S16(-10), V::S16(1)));
    EXPECT_FALSE(any.ShowsScrollBar() || any.ShowsLimits());
    any.FocusOut("-3000");
    EXPECT_EQ(any.CurrentValue().GetLong(), -3000);
    any.FocusOut("40000");
    EXPECT_EQ(ui_.Errors(), (Texts{"Entry out of range: 500", "Invalid entry: x",
                                   "Entry out of range: 40000"}));
}

TEST_F(ValueEntryTest, TextRowsAndOtherKinds) {
    const V defaults[] = {V::Text("Area camera 1")};
    mod_.AddModParam(std::make_unique<QV_string_param>(
        "Camera", 1, defaults, 0, 90, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    QV_value_usr_param text("Camera", 90, mod_.GetModParams(), 90);
    ValueEntry entry = Open(text);
    EXPECT_TRUE(entry.IsTextEntry());
    EXPECT_FALSE(entry.ShowsScrollBar() || entry.ShowsLimits());
    EXPECT_EQ(entry.EditText(), "Area camera 1");
    EXPECT_TRUE(entry.Ok("  My camera "));
    EXPECT_EQ(text.GetValue().GetKind(), ValKind::Text);
    EXPECT_EQ(Stored(text), "  My camera ");

    ValueEntry index = Open(Row(V::Index(2), V::U16(0), V::U16(5), V::U16(1)));
    EXPECT_FALSE(index.ShowsScrollBar());
    EXPECT_FALSE(index.Ok("3"));
    EXPECT_EQ(ui_.Errors(), Texts{"Invalid entry: 3"});
}

}  // namespace
}  // namespace qvi
