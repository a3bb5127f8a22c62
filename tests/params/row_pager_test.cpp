// Which rows of a page are shown, scrolled to and focused.
#include "params/row_pager.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "params/mod_param.h"
#include "params/param_group.h"
#include "params/usr_param.h"
#include "support/recording_ui.h"

namespace qvi {
namespace {

constexpr int kFirstRangeId = 10;

// A group of n number rows (ids 10, 11, ...; row i shows 100 + i), with a
// stand-in for the page selector in front, as BuildPageList leaves it.
class RowPagerTest : public ::testing::Test {
protected:
    void BuildRows(int count) {
        for (int i = 0; i < count; ++i) {
            const std::array defaults{QV_param_val::U16(static_cast<std::uint16_t>(100 + i))};
            params_.push_back(std::make_unique<QV_range_param>(
                "Range" + std::to_string(i), 1, defaults, -1, i, nullptr, nullptr, nullptr, nullptr,
                nullptr, nullptr, 10));
            usrParams_.push_back(std::make_unique<QV_range_usr_param>(
                "Row " + std::to_string(i), kFirstRangeId + i, params_, i, QV_param_val::U16(0),
                QV_param_val::U16(1023), QV_param_val::U16(1)));
            ids_.push_back(kFirstRangeId + i);
        }
        group_ = std::make_unique<QV_param_group>("Timing", ids_, usrParams_);
        group_->InsertFront(&selector_);
    }

    RowPager PagerOf(int count) {
        BuildRows(count);
        return RowPager(*group_);
    }

    RecordingUi ui_;
    ScopedUi scopedUi_{ui_};
    ParamList params_;
    UsrParamList usrParams_;
    std::vector<int> ids_;
    QV_page_usr_param selector_{{"Timing"}};
    std::unique_ptr<QV_param_group> group_;
};

TEST_F(RowPagerTest, TwentySevenRowsFillNineteenRowsAndScrollToEight) {
    RowPager pager = PagerOf(27);
    EXPECT_EQ(pager.EntryCount(), 28);
    EXPECT_EQ(pager.RowsInUse(), 20);
    EXPECT_EQ(pager.MaxScrollPosition(), 8);
    EXPECT_TRUE(pager.ScrollBarVisible());
    EXPECT_FALSE(pager.DescribeRow(0).visible);
    for (int row = 1; row <= 19; ++row)
        EXPECT_EQ(pager.RowParam(row), group_->GetUsrParams()[static_cast<std::size_t>(row)]);
    EXPECT_EQ(pager.RowParam(20), nullptr);

    pager.Scroll(ScrollMove::ToEnd);
    EXPECT_EQ(pager.RowParam(1)->GetId(), kFirstRangeId + 8);
    EXPECT_EQ(pager.RowParam(19)->GetId(), kFirstRangeId + 26);
    EXPECT_EQ(pager.FirstShownId(), kFirstRangeId + 8);
}

TEST_F(RowPagerTest, ScrollMovesStepAndClamp) {
    RowPager pager = PagerOf(27);
    EXPECT_EQ(pager.Scroll(ScrollMove::PageForward), 3);
    EXPECT_EQ(pager.Scroll(ScrollMove::PageForward), 6);
    EXPECT_EQ(pager.Scroll(ScrollMove::PageForward), 8);
    EXPECT_EQ(pager.Scroll(ScrollMove::LineForward), 8);
    EXPECT_EQ(pager.Scroll(ScrollMove::LineBack), 7);
    EXPECT_EQ(pager.Scroll(ScrollMove::PageBack), 4);
    EXPECT_EQ(pager.Scroll(ScrollMove::ThumbTrack, 5), 5);
    EXPECT_EQ(pager.Scroll(ScrollMove::ThumbPosition, 42), 8);
    EXPECT_EQ(pager.Scroll(ScrollMove::ThumbPosition, -3), 0);
    EXPECT_EQ(pager.Scroll(ScrollMove::LineBack), 0);
    EXPECT_EQ(pager.Scroll(ScrollMove::ToEnd), 8);
    EXPECT_EQ(pager.Scroll(ScrollMove::ToStart), 0);
}

TEST_F(RowPagerTest, GroupsThatFitShowEverythingWithoutScrollBar) {
    RowPager pager = PagerOf(19);
    EXPECT_EQ(pager.RowsInUse(), 20);
    EXPECT_FALSE(pager.ScrollBarVisible());
    EXPECT_EQ(pager.Scroll(ScrollMove::PageForward), 0);

    pager.SetEntries({group_->GetUsrParams().begin(), group_->GetUsrParams().begin() + 5});
    EXPECT_EQ(pager.RowsInUse(), 5);
    std::vector<RowView> rows = pager.DescribeRows();
    ASSERT_EQ(rows.size(), 20u);
    EXPECT_TRUE(rows[4].ShowsNumberField());
    for (std::size_t row = 5; row < rows.size(); ++row)
        EXPECT_FALSE(rows[row].ShowsDropDown() || rows[row].ShowsNumberField()) << row;
}

TEST_F(RowPagerTest, CapacityFollowsResizeAndKeepsScrollInRange) {
    RowPager pager = PagerOf(27);
    pager.SetCapacity(5);
    EXPECT_EQ(pager.RowsInUse(), 6);
    EXPECT_EQ(pager.Scroll(ScrollMove::ToEnd), 22);
    EXPECT_EQ(pager.RowParam(5)->GetId(), kFirstRangeId + 26);
    EXPECT_EQ(pager.RowParam(6), nullptr);

    pager.SetCapacity(19);
    EXPECT_EQ(pager.ScrollPosition(), 8);
    pager.SetCapacity(0);
    EXPECT_EQ(pager.RowsInUse(), 2);
    pager.SetCapacity(40);
    EXPECT_EQ(pager.Capacity(), 19);

    pager.SetEntries(group_->GetUsrParams());
    EXPECT_EQ(pager.ScrollPosition(), 0);
}

TEST_F(RowPagerTest, NumberRowsShowTheirValueAndEnabledFlag) {
    BuildRows(2);
    usrParams_[1]->SetEnabled(false);
    RowPager pager(*group_);
    RowView number = pager.DescribeRow(1);
    EXPECT_TRUE(number.ShowsNumberField());
    EXPECT_FALSE(number.ShowsDropDown());
    EXPECT_EQ(number.label, "Row 0");
    EXPECT_EQ(number.valueText, "100");
    EXPECT_TRUE(number.enabled);
    EXPECT_FALSE(pager.DescribeRow(2).enabled);
}

// Entry e of the group is usrParams_[e - 1]: entry 0 is the page selector.
TEST_F(RowPagerTest, KeyboardFocusScrollsToTheNextEditableEntry) {
    RowPager pager = PagerOf(27);       // entries 1 to 27 in rows 1 to 19
    usrParams_[20]->SetEnabled(false);  // entry 21
    usrParams_[1]->SetEnabled(false);   // entry 2

    // Inside the rows shown nothing scrolls.
    EXPECT_EQ(pager.MoveFocus(3, true), 4);
    EXPECT_EQ(pager.ScrollPosition(), 0);
    // From the last row the rows scroll by one to bring the next entry in.
    EXPECT_EQ(pager.MoveFocus(19, true), 19);
    EXPECT_EQ(pager.ScrollPosition(), 1);
    EXPECT_EQ(pager.RowParam(19)->GetId(), kFirstRangeId + 19);
    // A disabled entry is passed over, scrolling as far as the one after it.
    EXPECT_EQ(pager.MoveFocus(19, true), 19);
    EXPECT_EQ(pager.ScrollPosition(), 3);
    EXPECT_EQ(pager.RowParam(19)->GetId(), kFirstRangeId + 21);
    // Past the last entry the focus leaves the rows; nothing scrolls.
    pager.Scroll(ScrollMove::ToEnd);
    EXPECT_EQ(pager.MoveFocus(19, true), -1);
    EXPECT_EQ(pager.ScrollPosition(), 8);

    // Backwards from the first row shown the rows scroll back, skipping
    // entry 2; before entry 1 the focus leaves.
    pager.Scroll(ScrollMove::ThumbPosition, 2);
    EXPECT_EQ(pager.MoveFocus(1, false), 1);
    EXPECT_EQ(pager.ScrollPosition(), 0);
    EXPECT_EQ(pager.RowParam(1)->GetId(), kFirstRangeId);
    EXPECT_EQ(pager.MoveFocus(1, false), -1);
    EXPECT_EQ(pager.MoveFocus(3, false), 1);
    // Rows that show no entry move nowhere.
    EXPECT_EQ(pager.MoveFocus(0, true), -1);
    EXPECT_EQ(pager.MoveFocus(20, false), -1);

    // A page shortened by a resize scrolls within its fewer rows.
    RowPager small(*group_);
    small.SetCapacity(5);
    EXPECT_EQ(small.MoveFocus(5, true), 5);
    EXPECT_EQ(small.ScrollPosition(), 1);
}

}  // namespace
}  // namespace qvi
