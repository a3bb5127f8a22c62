#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "params/param_val.h"
#include "params/scroll.h"
#include "params/usr_param.h"

namespace qvi {

// The logic of the value entry dialog ("Please Enter a value..."), which edits
// one number or text row of the Module Setup dialog. The window only draws what
// this class decides: the texts, the scroll bar's range, position and page
// step, and which controls are visible. It keeps its own current value (the
// last one accepted or scrolled to) in the kind of the row's value; nothing
// reaches the row before Apply or OK.
class ValueEntry {
public:
    // refreshOwner tells the owner board to refresh; Apply calls it after a
    // store when the row asks for it.
    ValueEntry(QV_usr_param &row, std::function<void()> refreshOwner);

    const std::string &Caption() const;
    bool IsTextEntry() const { return family_ == Family::Text; }
    bool ShowsScrollBar() const { return HasScrollSettings() && !inverted_; }
    bool ShowsLimits() const { return !IsTextEntry() && !inverted_; }
    const std::string &MinText() const { return minText_; }
    const std::string &MaxText() const { return maxText_; }
    int ScrollMax() const { return scrollMax_; }
    int PageStep() const { return pageStep_; }
    int ScrollPos() const { return scrollPos_; }
    const std::string &EditText() const { return editText_; }
    // The last value accepted or scrolled to, in the kind of the row's value.
    const QV_param_val &CurrentValue() const { return current_; }

    // thumbPos is used by the two thumb moves only.
    void Scroll(ScrollMove move, int thumbPos = 0);
    // The edit field lost the focus with this text in it.
    void FocusOut(std::string_view typed);
    // True when the typed value was stored; the dialog stays open either way.
    bool Apply(std::string_view typed);
    // True when the typed value was stored and the dialog closes with OK.
    bool Ok(std::string_view typed);
    // The help context id for the row.
    int HelpTopic() const;

private:
    // How the kinds of value behave in the dialog; the 8-bit and signed 32-bit
    // kinds follow their closest 16-bit sibling.
    enum class Family { Text, SmallUnsigned, Signed, Unsigned32, Float, Other };
    // What asks for the typed text: the three differ only in messages and
    // in whether the owner board is told.
    enum class Trigger { FocusOut, Apply, Ok };
    // A typed number: exact for the integer kinds, the double for float.
    struct Typed {
        std::int64_t whole = 0;
        double real = 0.0;
    };

    static Family FamilyOf(ControlKind control, ValKind kind);
    // The integer limits clipped to the value's kind, and their distance.
    struct Span {
        std::int64_t low = 0;
        std::int64_t range = 0;
    };
    Span IntegerSpan() const;

    bool HasScrollSettings() const;
    void SetUpScroll();
    void SetUpIntegerScroll();
    void SetUpFloatScroll();
    int PositionOf(const QV_param_val &value) const;
    QV_param_val ValueAt(int position) const;
    std::string FormatCurrent() const;

    bool Commit(std::string_view typed, Trigger trigger);
    std::optional<Typed> Parse(std::string_view typed) const;
    std::optional<QV_param_val> Accept(std::string_view typed, Trigger trigger);
    std::optional<QV_param_val> InKind(const Typed &number) const;
    bool SpansAllPatterns() const;
    bool InLimits(const QV_param_val &value) const;
    std::string OutOfRangeText(const Typed &number, Trigger trigger) const;
    void Reject(const std::string &message);

    QV_usr_param &row_;
    std::function<void()> refreshOwner_;
    QV_param_val current_;
    Family family_;
    double min_ = 0.0;
    double max_ = 0.0;
    double step_ = 0.0;
    bool inverted_ = false;  // the maximum is below the minimum
    std::string minText_;
    std::string maxText_;
    std::string editText_;
    int scrollMax_ = 0;
    int pageStep_ = 0;
    int scrollPos_ = 0;
};

}  // namespace qvi
