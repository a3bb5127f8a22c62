#pragma once

#include <string>
#include <vector>

#include "params/param_group.h"
#include "params/scroll.h"
#include "params/usr_param.h"

namespace qvi {

// Everything the widgets of one row of a Module Setup page need to draw it.
// A row that is not visible hides its label, drop-down and number field.
struct RowView {
    QV_usr_param *usrParam = nullptr;
    bool visible = false;
    std::string label;
    ControlKind kind = ControlKind::DropDown;
    std::vector<std::string> choices;  // drop-down rows only
    int selected = -1;                 // drop-down rows only
    std::string valueText;             // number and text rows only
    bool enabled = false;

    bool ShowsDropDown() const { return visible && kind == ControlKind::DropDown; }
    bool ShowsNumberField() const { return visible && kind != ControlKind::DropDown; }
};

// The rows of one Module Setup page and the scroll position over the entries
// of the group the page shows. Entry 0 is always the page selector: row 0
// stands for it and is never drawn, so row r shows entry r + scroll position.
class RowPager {
public:
    static constexpr int kRows = 20;
    static constexpr int kMaxCapacity = kRows - 1;
    static constexpr int kScrollBarId = 30;

    static constexpr int LabelId(int row) { return 100 + row; }
    static constexpr int NumberFieldId(int row) { return 200 + row; }
    static constexpr int DropDownId(int row) { return 300 + row; }
    // The row a label, number field or drop-down id belongs to; -1 for any other id.
    static int RowOfControl(int controlId);

    RowPager() = default;
    explicit RowPager(const QV_param_group &group) { SetEntries(group.GetUsrParams()); }

    // Shows another list from the top.
    void SetEntries(std::vector<QV_usr_param *> entries);
    // The number of rows that fit the page after a resize, kept within 1..19.
    void SetCapacity(int rowsThatFit);

    int Capacity() const { return capacity_; }
    int EntryCount() const { return static_cast<int>(entries_.size()); }
    // Counts row 0 too.
    int RowsInUse() const;
    int ScrollPosition() const { return scroll_; }
    int MaxScrollPosition() const;
    bool ScrollBarVisible() const { return MaxScrollPosition() > 0; }
    int PageStep() const { return MaxScrollPosition() / 4 + 1; }

    // Applies a scroll bar move; the thumb position is used only by the thumb
    // moves. Returns the new scroll position.
    int Scroll(ScrollMove move, int thumbPosition = 0);

    // Keyboard focus leaves `row` forward (Tab) or back (Shift+Tab): the
    // nearest entry that way which can be edited is scrolled into view.
    // Returns the row that shows it, or -1 (nothing scrolled) when there is
    // none that way and the focus leaves the rows.
    int MoveFocus(int row, bool forward);

    // The user parameter a row shows; null for row 0 and for rows beyond those in use.
    QV_usr_param *RowParam(int row) const;
    RowView DescribeRow(int row) const;
    // Rows 0 to 19, in order.
    std::vector<RowView> DescribeRows() const;
    // The id of the user parameter in row 1; -1 when no row shows one.
    int FirstShownId() const;

private:
    void ClampScroll();
    // Scrolls as little as needed for the entry to show in a row.
    void ScrollToShow(int entry);

    std::vector<QV_usr_param *> entries_;
    int capacity_ = kMaxCapacity;
    int scroll_ = 0;
};

}  // namespace qvi
