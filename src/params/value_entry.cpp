// The value entry dialog's logic: parsing, limits and storing the typed value.
#include "params/value_entry.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <utility>

#include "params/mod.h"
#include "params/number_text.h"
#include "platform/ui.h"

namespace qvi {

namespace {

// The scroll bar of a small unsigned value stops here (the classic scroll-bar
// limit); a wider range then moves more than one value per position.
constexpr std::int64_t kSmallScrollMax = 32767;
constexpr int kDefaultHelpTopic = 13;  // the module-less topic, as QV_mod gives it

struct KindRange {
    std::int64_t min;
    std::int64_t max;
};

KindRange RangeOf(ValKind kind) {
    switch (kind) {
        case ValKind::U8:
            return {0, UINT8_MAX};
        case ValKind::U16:
            return {0, UINT16_MAX};
        case ValKind::U32:
            return {0, UINT32_MAX};
        case ValKind::S8:
            return {INT8_MIN, INT8_MAX};
        case ValKind::S16:
            return {INT16_MIN, INT16_MAX};
        case ValKind::S32:
            return {INT32_MIN, INT32_MAX};
        default:
            return {0, 0};
    }
}

// A limit as a whole number of the kind, truncated and clipped to the kind.
std::int64_t WholeInKind(double value, ValKind kind) {
    KindRange range = RangeOf(kind);
    if (std::isnan(value)) return range.min;
    double clipped = std::clamp(std::trunc(value), static_cast<double>(range.min),
                                static_cast<double>(range.max));
    return static_cast<std::int64_t>(clipped);
}

// A scroll count: never negative, never beyond an int, 0 for NaN.
int ClampCount(double count) {
    if (!(count > 0)) return 0;
    if (count >= static_cast<double>(INT_MAX)) return INT_MAX;
    return static_cast<int>(count);
}

}  // namespace

ValueEntry::ValueEntry(QV_usr_param &row, std::function<void()> refreshOwner)
    : row_(row),
      refreshOwner_(std::move(refreshOwner)),
      current_(row.GetValue()),
      family_(FamilyOf(row.GetControlKind(), current_.GetKind())) {
    if (IsTextEntry()) {
        editText_ = current_.ToString();
        return;
    }
    QV_param_val min = row.GetMin(), max = row.GetMax();
    min_ = min.ToDouble();
    max_ = max.ToDouble();
    step_ = row.GetStep().ToDouble();
    inverted_ = max_ < min_;
    minText_ = min.ToString();
    maxText_ = max.ToString();
    editText_ = FormatCurrent();
    SetUpScroll();
}

ValueEntry::Family ValueEntry::FamilyOf(ControlKind control, ValKind kind) {
    if (control == ControlKind::Text) return Family::Text;
    switch (kind) {
        case ValKind::U8:
        case ValKind::U16:
            return Family::SmallUnsigned;
        case ValKind::S8:
        case ValKind::S16:
        case ValKind::S32:
            return Family::Signed;
        case ValKind::U32:
            return Family::Unsigned32;
        case ValKind::Float:
            return Family::Float;
        default:
            return Family::Other;
    }
}

const std::string &ValueEntry::Caption() const {
    return row_.GetLabel();
}

int ValueEntry::HelpTopic() const {
    QV_mod *module = row_.GetModule();
    return module != nullptr ? module->GetHelpTopic(row_.GetId()) : kDefaultHelpTopic;
}

bool ValueEntry::HasScrollSettings() const {
    return family_ == Family::SmallUnsigned || family_ == Family::Signed ||
           family_ == Family::Unsigned32 || family_ == Family::Float;
}

ValueEntry::Span ValueEntry::IntegerSpan() const {
    std::int64_t low = WholeInKind(min_, current_.GetKind());
    return {low, WholeInKind(max_, current_.GetKind()) - low};
}

void ValueEntry::SetUpScroll() {
    if (!ShowsScrollBar()) return;
    if (family_ == Family::Float)
        SetUpFloatScroll();
    else
        SetUpIntegerScroll();
    scrollPos_ = PositionOf(current_);
}

// The small unsigned kinds scroll value by value and page by the step; the
// others scroll step by step and page by a tenth of the range. A step that is
// not positive counts as 1.
void ValueEntry::SetUpIntegerScroll() {
    std::int64_t range = IntegerSpan().range;
    double step = std::trunc(step_);
    if (family_ == Family::SmallUnsigned) {
        scrollMax_ = static_cast<int>(std::min(range, kSmallScrollMax));
        pageStep_ = ClampCount(step);
        return;
    }
    if (!(step >= 1)) step = 1;
    scrollMax_ = ClampCount(std::trunc(static_cast<double>(range) / step));
    pageStep_ = scrollMax_ / 10;
}

// Float limits are worked in single precision, as the values are: 1 / 0.1f
// must give 10 steps, not the 9.99... that double precision gives.
void ValueEntry::SetUpFloatScroll() {
    float low = static_cast<float>(min_), high = static_cast<float>(max_);
    float step = static_cast<float>(step_);
    if (!(step > 0)) step = 1.0f;
    scrollMax_ = ClampCount(static_cast<double>(std::trunc((high - low) / step)));
    pageStep_ = scrollMax_ / 10;
}

int ValueEntry::PositionOf(const QV_param_val &value) const {
    if (scrollMax_ == 0) return 0;
    if (family_ == Family::Float) {
        float low = static_cast<float>(min_), range = static_cast<float>(max_) - low;
        if (!(range > 0)) return 0;
        float share = (value.GetFloat() - low) / range;
        return std::min(ClampCount(static_cast<double>(share * static_cast<float>(scrollMax_))),
                        scrollMax_);
    }
    Span span = IntegerSpan();
    if (span.range == 0) return 0;
    // At most 2^32 times 2^31: no overflow.
    std::int64_t offset = WholeInKind(value.ToDouble(), current_.GetKind()) - span.low;
    std::int64_t position = offset * scrollMax_ / span.range;
    return static_cast<int>(std::clamp<std::int64_t>(position, 0, scrollMax_));
}

// minimum + range * (position / scroll maximum), truncated toward zero for the
// integer kinds. Integers are worked exactly: (low * max + range * position)
// stays below the high limit times the scroll maximum, under 2^63.
QV_param_val ValueEntry::ValueAt(int position) const {
    if (family_ == Family::Float) {
        float low = static_cast<float>(min_), range = static_cast<float>(max_) - low;
        if (scrollMax_ == 0) return QV_param_val::Float(low);
        float share = static_cast<float>(position) / static_cast<float>(scrollMax_);
        return QV_param_val::Float(low + range * share);
    }
    Span span = IntegerSpan();
    std::int64_t value = span.low;
    if (scrollMax_ != 0) value = (span.low * scrollMax_ + span.range * position) / scrollMax_;
    return QV_param_val::FromPayload(current_.GetKind(), static_cast<std::uint32_t>(value));
}

std::string ValueEntry::FormatCurrent() const {
    if (current_.GetKind() == ValKind::Float) return FormatFixed(current_.ToDouble(), 4, 3);
    return current_.ToString();
}

void ValueEntry::Scroll(ScrollMove move, int thumbPos) {
    if (!ShowsScrollBar()) return;
    std::int64_t position = scrollPos_;
    switch (move) {
        case ScrollMove::LineBack:
            position -= 1;
            break;
        case ScrollMove::LineForward:
            position += 1;
            break;
        case ScrollMove::PageBack:
            position -= std::int64_t{pageStep_} + 1;
            break;
        case ScrollMove::PageForward:
            position += std::int64_t{pageStep_} + 1;
            break;
        case ScrollMove::ThumbPosition:
        case ScrollMove::ThumbTrack:
            position = thumbPos;
            break;
        case ScrollMove::ToStart:
            position = 0;
            break;
        case ScrollMove::ToEnd:
            position = scrollMax_;
            break;
    }
    scrollPos_ = static_cast<int>(std::clamp<std::int64_t>(position, 0, scrollMax_));
    current_ = ValueAt(scrollPos_);
    editText_ = FormatCurrent();
}

// Only signed and float entries are checked as the field is left; the field
// keeps the text as typed when it is accepted.
void ValueEntry::FocusOut(std::string_view typed) {
    if (family_ != Family::Signed && family_ != Family::Float) return;
    std::optional<QV_param_val> value = Accept(typed, Trigger::FocusOut);
    if (!value) return;
    current_ = *value;
    if (ShowsScrollBar()) scrollPos_ = PositionOf(current_);
    editText_ = std::string(typed);
}

bool ValueEntry::Apply(std::string_view typed) {
    return Commit(typed, Trigger::Apply);
}

// The row pager tells the owner board after OK, so OK does not.
bool ValueEntry::Ok(std::string_view typed) {
    return Commit(typed, Trigger::Ok);
}

bool ValueEntry::Commit(std::string_view typed, Trigger trigger) {
    std::optional<QV_param_val> value;
    if (IsTextEntry())
        value = QV_param_val::Text(std::string(typed));
    else
        value = Accept(typed, trigger);
    if (!value) return false;
    current_ = *value;
    editText_ = IsTextEntry() ? std::string(typed) : FormatCurrent();
    if (ShowsScrollBar()) scrollPos_ = PositionOf(current_);
    row_.SetValue(current_);  // the row reports its own failures
    if (trigger == Trigger::Apply && row_.NotifiesOwner() && refreshOwner_) refreshOwner_();
    return true;
}

std::optional<ValueEntry::Typed> ValueEntry::Parse(std::string_view typed) const {
    switch (family_) {
        case Family::Float:
            if (std::optional<double> real = ParseDecimal(typed)) return Typed{0, *real};
            return std::nullopt;
        case Family::SmallUnsigned:
        case Family::Signed:
        case Family::Unsigned32:
            if (std::optional<std::int64_t> whole = ParseInteger(typed))
                return Typed{*whole, static_cast<double>(*whole)};
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

// The value to take, or nothing after the message. With the maximum below the
// minimum any value that fits the kind is taken.
std::optional<QV_param_val> ValueEntry::Accept(std::string_view typed, Trigger trigger) {
    std::optional<Typed> number = Parse(typed);
    if (!number) {
        Reject(MessageText("Invalid entry: ", typed));
        return std::nullopt;
    }
    std::optional<QV_param_val> value = InKind(*number);
    if (!value || !(inverted_ || InLimits(*value))) {
        Reject("Entry out of range: " + OutOfRangeText(*number, trigger));
        return std::nullopt;
    }
    return value;
}

// A 32-bit row that spans every bit pattern takes a number spelled either
// way: the mailboxes' limits run from 0 to all bits set, which a signed kind
// holds as -1, so both 4294967295 and -1 are that pattern.
std::optional<QV_param_val> ValueEntry::InKind(const Typed &number) const {
    const ValKind kind = current_.GetKind();
    if (kind == ValKind::Float) {
        if (!(std::fabs(number.real) <= FLT_MAX)) return std::nullopt;
        return QV_param_val::Float(static_cast<float>(number.real));
    }
    KindRange range = RangeOf(kind);
    if (SpansAllPatterns()) range = {INT32_MIN, UINT32_MAX};
    if (number.whole < range.min || number.whole > range.max) return std::nullopt;
    return QV_param_val::FromPayload(kind, static_cast<std::uint32_t>(number.whole));
}

bool ValueEntry::SpansAllPatterns() const {
    const ValKind kind = current_.GetKind();
    if (kind != ValKind::S32 && kind != ValKind::U32) return false;
    const KindRange range = RangeOf(kind);
    return inverted_ ||
           (min_ <= static_cast<double>(range.min) && max_ >= static_cast<double>(range.max));
}

// Compared in the kind, so a float typed as 0.1 meets a limit of 0.1f.
bool ValueEntry::InLimits(const QV_param_val &value) const {
    double number = value.ToDouble();
    return number >= min_ && number <= max_;
}

// Apply shows an unsigned 32-bit entry in hexadecimal (its low 32 bits), OK
// in decimal; the other kinds show the number as typed, in decimal.
std::string ValueEntry::OutOfRangeText(const Typed &number, Trigger trigger) const {
    if (family_ == Family::Float) return FormatFixed(number.real, 4, 3);
    if (family_ == Family::Unsigned32 && trigger == Trigger::Apply)
        return FormatHexUpper(static_cast<std::uint32_t>(number.whole));
    return std::to_string(number.whole);
}

void ValueEntry::Reject(const std::string &message) {
    ReportError(message);
    editText_ = FormatCurrent();
}

}  // namespace qvi
