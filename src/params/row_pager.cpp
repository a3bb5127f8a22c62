// What the widgets of each row of a Module Setup page show, and the scrolling between rows.
#include "params/row_pager.h"

#include <algorithm>

namespace qvi {

int RowPager::RowOfControl(int controlId) {
    for (int first : {LabelId(0), NumberFieldId(0), DropDownId(0)}) {
        int row = controlId - first;
        if (row >= 1 && row < kRows) return row;
    }
    return -1;
}

void RowPager::SetEntries(std::vector<QV_usr_param *> entries) {
    entries_ = std::move(entries);
    scroll_ = 0;
}

void RowPager::SetCapacity(int rowsThatFit) {
    capacity_ = std::clamp(rowsThatFit, 1, kMaxCapacity);
    ClampScroll();
}

int RowPager::RowsInUse() const {
    return std::min(EntryCount(), capacity_ + 1);
}

int RowPager::MaxScrollPosition() const {
    return std::max(0, EntryCount() - (capacity_ + 1));
}

int RowPager::Scroll(ScrollMove move, int thumbPosition) {
    switch (move) {
        case ScrollMove::LineBack:
            --scroll_;
            break;
        case ScrollMove::LineForward:
            ++scroll_;
            break;
        case ScrollMove::PageBack:
            scroll_ -= PageStep();
            break;
        case ScrollMove::PageForward:
            scroll_ += PageStep();
            break;
        case ScrollMove::ThumbPosition:
        case ScrollMove::ThumbTrack:
            scroll_ = thumbPosition;
            break;
        case ScrollMove::ToStart:
            scroll_ = 0;
            break;
        case ScrollMove::ToEnd:
            scroll_ = MaxScrollPosition();
            break;
    }
    ClampScroll();
    return scroll_;
}

void RowPager::ClampScroll() {
    scroll_ = std::clamp(scroll_, 0, MaxScrollPosition());
}

int RowPager::MoveFocus(int row, bool forward) {
    if (RowParam(row) == nullptr) return -1;
    const int step = forward ? 1 : -1;
    // Entry 0 is the page selector, which no row shows.
    for (int entry = row + scroll_ + step; entry >= 1 && entry < EntryCount(); entry += step) {
        if (!entries_[static_cast<std::size_t>(entry)]->IsEnabled()) continue;
        ScrollToShow(entry);
        return entry - scroll_;
    }
    return -1;
}

void RowPager::ScrollToShow(int entry) {
    const int lastRow = RowsInUse() - 1;
    if (entry < 1 + scroll_) scroll_ = entry - 1;
    if (entry > lastRow + scroll_) scroll_ = entry - lastRow;
    ClampScroll();
}

QV_usr_param *RowPager::RowParam(int row) const {
    if (row < 1 || row >= RowsInUse()) return nullptr;
    return entries_[static_cast<std::size_t>(row + scroll_)];
}

RowView RowPager::DescribeRow(int row) const {
    RowView view;
    QV_usr_param *usrParam = RowParam(row);
    if (usrParam == nullptr) return view;
    view.usrParam = usrParam;
    view.visible = true;
    view.label = usrParam->GetLabel();
    view.kind = usrParam->GetControlKind();
    view.enabled = usrParam->IsEnabled();
    if (view.kind == ControlKind::DropDown) {
        view.choices = usrParam->GetChoices();
        view.selected = usrParam->GetIndex();
    } else {
        view.valueText = usrParam->GetValue().ToString();
    }
    return view;
}

std::vector<RowView> RowPager::DescribeRows() const {
    std::vector<RowView> views;
    views.reserve(kRows);
    for (int row = 0; row < kRows; ++row) views.push_back(DescribeRow(row));
    return views;
}

int RowPager::FirstShownId() const {
    QV_usr_param *first = RowParam(1);
    return first ? first->GetId() : -1;
}

}  // namespace qvi
