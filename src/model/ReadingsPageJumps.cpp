// The page's moves of more than one reading: Page Up and Down, Ctrl+Home
// and End, the wheel, the scroll bar, Go to Depth and the profile's click.
// Up and Down keep their own rules in ReadingsPage.cpp.

#include <algorithm>
#include <cmath>

#include "model/ReadingsPage.h"

namespace qm {

namespace {

constexpr int32_t kMiddleRow = kPageRows / 2;

}  // namespace

int32_t ReadingsPage::lastTopReading() const {
    return std::max<int32_t>(1, sounding_.readingCount - (kPageRows - 1));
}

int32_t ReadingsPage::nearestReading(double depth) const {
    int32_t best = 0;
    double bestGap = 0.0;
    for (int32_t r = 1; r <= sounding_.readingCount && r <= kMaxReadings; ++r) {
        const double gap = std::fabs(sounding_.value(0, r) - depth);
        if (best == 0 || gap < bestGap) {
            best = r;
            bestGap = gap;
        }
    }
    return best;
}

bool ReadingsPage::commitTyped(int column, int row, PageReaction& reaction) {
    if (!isChannelColumn(column) || !validCell(column, row)) {
        column = editColumn;
        row = editRow;
    }
    if (!isChannelColumn(column) || !validCell(column, row)) return true;
    if (commit(column, row, reaction.messages)) return true;
    reaction.focus = PageReaction::Focus::ChannelCell;
    reaction.focusColumn = column;
    reaction.focusRow = row;
    return false;
}

PageReaction ReadingsPage::jumpTo(int32_t k, int32_t wishedTop, int keyColumn, int keyRow) {
    PageReaction reaction;
    reaction.keyTaken = true;
    Sounding& s = sounding_;
    const int32_t first = s.noDataLeadCount + 1;
    const int32_t last = std::min<int32_t>(s.readingCount, kMaxReadings);
    if (!loaded_ || last < first) return reaction;
    if (!commitTyped(keyColumn, keyRow, reaction)) return reaction;

    k = std::clamp(k, first, last);
    // The cursor row stays between topCursorRow() and row 24, and the top
    // row shows reading 1 or later.
    const int32_t lowTop = std::max<int32_t>(1, k - (kPageRows - 1));
    const int32_t highTop = std::max<int32_t>(lowTop, k - topCursorRow() + 1);
    int32_t top = std::clamp(wishedTop, lowTop, highTop);
    // Past the end the page would show empty rows: the last reading goes no
    // higher than the bottom row.
    if (top > last - (kPageRows - 1)) top = std::max(lowTop, last - (kPageRows - 1));
    const int row = static_cast<int>(k - top + 1);

    if (k != s.dataIndex || row != s.pageRow) {
        s.dataIndex = k;
        s.pageRow = static_cast<int16_t>(row);
        rowSelectArmed = true;
        selectRow(row);
        rowSelectArmed = false;
        refreshDisplay();
    }
    updateLabels();
    reaction.focus = PageReaction::Focus::DepthCell;
    reaction.focusRow = s.pageRow;
    return reaction;
}

PageReaction ReadingsPage::jumpKey(int column, int row, int keyCode) {
    const int32_t k = sounding_.dataIndex, top = topReading();
    switch (keyCode) {
        case keys::kPageDown: return jumpTo(k + kPageRows, top + kPageRows, column, row);
        case keys::kPageUp: return jumpTo(k - kPageRows, top - kPageRows, column, row);
        case keys::kCtrlHome: return jumpTo(sounding_.noDataLeadCount + 1, 1, column, row);
        case keys::kCtrlEnd: return jumpTo(sounding_.readingCount, sounding_.readingCount, column, row);
        default: return {};
    }
}

PageReaction ReadingsPage::scrollBy(int32_t readings) {
    return jumpTo(sounding_.dataIndex + readings, topReading() + readings);
}

PageReaction ReadingsPage::scrollTo(int32_t top) { return jumpTo(top + sounding_.pageRow - 1, top); }

PageReaction ReadingsPage::goToReading(int32_t k) {
    const int32_t top = topReading();
    const bool onPage = k >= top && k < top + kPageRows;
    return jumpTo(k, onPage ? top : k - (kMiddleRow - 1));
}

}  // namespace qm
