#include "model/ReadingsPage.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "model/NumberText.h"
#include "model/Units.h"

namespace qm {

namespace {

constexpr const char* kInvalidEntry = "Invalid Text Entry";

}  // namespace

ReadingsPage::ReadingsPage(Sounding& sounding, const ChannelTypeTable& table, int commaDecimalMode)
    : sounding_(sounding),
      table_(table),
      commaDecimalMode_(commaDecimalMode),
      sep_(decimalSeparator(commaDecimalMode)) {}

void ReadingsPage::setCellText(int column, int row, std::string text) {
    if (!validCell(column, row)) return;
    at(column, row).text = std::move(text);
}

int ReadingsPage::topCursorRow() const {
    // With 24 or more leading readings without data the cursor keeps to the
    // bottom row, so the top row still shows a reading of index 1 or more.
    return std::clamp(sounding_.noDataLeadCount + 1, 1, kPageRows);
}

void ReadingsPage::startAfterLoad() {
    loaded_ = true;
    // The first row selection of the run: RowSelectArmed is still true from
    // start-up, so it takes effect.
    selectRow(sounding_.pageRow);
    depthInFeet_ = false;
    refreshDisplay();
    updateLabels();
}

void ReadingsPage::setDepthInFeet(bool feet) {
    depthInFeet_ = feet;
    ++changeCount_;
    refreshDisplay();
}

void ReadingsPage::refreshDisplay() {
    updatePageDepths(sounding_, depthInFeet_);
    const auto rows = pageRowTexts(sounding_, table_, sep_);
    const int channels = std::clamp<int>(sounding_.channelCount, 0, kMaxChannels);
    for (int r = 1; r <= kPageRows; ++r) {
        const PageRowText& row = rows[r];
        const Rgb color = row.red ? kRed : kBlack;
        PageCell& depth = at(kDepthColumn, r);
        depth.text = row.depth;
        depth.textColor = color;
        PageCell& speed = at(kSpeedColumn, r);
        speed.text = row.speed;
        speed.textColor = color;
        // Columns above the channel count keep whatever they show.
        for (int c = 1; c <= channels; ++c) at(c, r).text = row.channel[c];
    }
    // What the page itself last wrote into each channel cell, so that a
    // refused entry in a cell other than the selected one gets its own text
    // back.
    for (int r = 1; r <= kPageRows; ++r)
        for (int c = 1; c <= channels; ++c) shownText_[index(c, r)] = at(c, r).text;
}

void ReadingsPage::restoreCellColor() {
    if (editRow < 1 || editRow > kPageRows) return;
    if (!isChannelColumn(editColumn)) return;
    at(editColumn, editRow).background = editCellShaded == 0 ? kWhite : kLightGrey;
}

void ReadingsPage::selectRow(int index) {
    restoreCellColor();
    if (!rowSelectArmed) return;
    const int row = std::clamp(index, topCursorRow(), kPageRows);
    if (sounding_.pageRow > 0)
        for (PageCell& c : cells_) c.background = kWhite;
    // A channel with n leading readings without data has its grey cell n
    // rows above the current row.
    const int channels = std::clamp<int>(sounding_.channelCount, 0, kMaxChannels);
    for (int c = 1; c <= channels; ++c) {
        const int missing = sounding_.noDataCount[c];
        if (row > missing && row - missing <= kPageRows) at(c, row - missing).background = kLightGrey;
    }
    editColumn = 0;
    editRow = row;
    at(kDepthColumn, row).background = kGreen;
    at(kSpeedColumn, row).background = kLightGrey;
    sounding_.pageRow = static_cast<int16_t>(row);
    rowSelectArmed = false;
}

bool ReadingsPage::moveDown(PageReaction& reaction) {
    if (sounding_.dataIndex >= sounding_.readingCount) return false;
    rowSelectArmed = true;
    ++sounding_.dataIndex;
    if (sounding_.pageRow >= kPageRows) {
        // The page scrolls up by one reading under the unchanged cursor row.
        refreshDisplay();
        rowSelectArmed = false;
        return true;
    }
    const int wanted = sounding_.pageRow + 1;
    selectRow(wanted);
    // A combine gives the sounding the second file's leading count and leaves
    // the cursor where it stood, possibly above the first row the cursor may
    // take now; the row selection then puts it further down than asked. The
    // rows must follow, or a typed value would go to another reading than the
    // one its row shows.
    if (sounding_.pageRow != wanted) refreshDisplay();
    rowSelectArmed = false;
    reaction.focus = PageReaction::Focus::DepthCell;
    reaction.focusRow = sounding_.pageRow;
    return true;
}

bool ReadingsPage::moveUp(PageReaction& reaction) {
    if (sounding_.dataIndex <= sounding_.noDataLeadCount + 1) return false;
    rowSelectArmed = true;
    --sounding_.dataIndex;
    if (sounding_.pageRow <= topCursorRow()) {
        refreshDisplay();
        rowSelectArmed = false;
        return true;
    }
    selectRow(sounding_.pageRow - 1);
    rowSelectArmed = false;
    reaction.focus = PageReaction::Focus::DepthCell;
    reaction.focusRow = sounding_.pageRow;
    return true;
}

int ReadingsPage::largestNoDataCount() const {
    int largest = 0;
    const int channels = std::clamp<int>(sounding_.channelCount, 0, kMaxChannels);
    for (int c = 1; c <= channels; ++c) largest = std::max<int>(largest, sounding_.noDataCount[c]);
    return largest;
}

bool ReadingsPage::deleteReading() {
    Sounding& s = sounding_;
    if (!(s.noDataLeadCount < s.dataIndex && s.dataIndex <= s.readingCount)) return false;
    // Each channel moves at its own offset; the lowest reading touched is
    // DataIndex - NoDataCount(c), the highest ReadingCount + 1 (the spare slot).
    if (s.dataIndex - largestNoDataCount() < 0 || s.readingCount + 1 >= kReadingSlots) return false;
    const int channels = std::clamp<int>(s.channelCount, 0, kMaxChannels);
    for (int32_t i = s.dataIndex; i <= s.readingCount; ++i) {
        for (int c = 1; c <= channels; ++c) {
            const int32_t at = i - s.noDataCount[c];
            s.value(c, at) = s.value(c, at + 1);
        }
        s.speed[i] = s.speed[i + 1];
    }
    --s.readingCount;
    ++changeCount_;
    refreshDisplay();
    return true;
}

bool ReadingsPage::insertReading() {
    Sounding& s = sounding_;
    // The loop copies down to reading DataIndex - 2 - NoDataCount(c), and the
    // new reading must fit the capacity.
    if (s.readingCount + 1 > kMaxReadings) return false;
    if (s.dataIndex - 2 - largestNoDataCount() < 0) return false;
    ++s.readingCount;
    const int channels = std::clamp<int>(s.channelCount, 0, kMaxChannels);
    for (int32_t i = s.readingCount; i >= s.dataIndex - 1; --i) {
        for (int c = 1; c <= channels; ++c) {
            const int32_t at = i - s.noDataCount[c];
            s.value(c, at) = s.value(c, at - 1);
        }
        s.speed[i] = s.speed[i - 1];
        s.depth[i] = s.depth[i - 1] + s.depthIncrement;
    }
    for (int c = 1; c <= channels; ++c)
        if (s.noDataCount[c] > 0) s.value(c, s.readingCount) = kNoDataValue;
    ++changeCount_;
    refreshDisplay();
    return true;
}

PageView ReadingsPage::view() const {
    PageView v;
    for (std::size_t i = 0; i < cells_.size(); ++i)
        if (cells_[i].background != kWhite) v.shaded.emplace_back(static_cast<uint16_t>(i), cells_[i].background);
    v.selected = *this;
    return v;
}

void ReadingsPage::restoreView(const PageView& v) {
    for (PageCell& c : cells_) c.background = kWhite;
    for (const auto& [i, color] : v.shaded)
        if (i < cells_.size()) cells_[i].background = color;
    static_cast<SelectedCell&>(*this) = v.selected;
    // A channel an undone clean-up had added leaves no figures behind.
    const int channels = std::clamp<int>(sounding_.channelCount, 0, kMaxChannels);
    for (int r = 1; r <= kPageRows; ++r)
        for (int c = channels + 1; c <= kMaxChannels; ++c) {
            at(c, r).text.clear();
            shownText_[index(c, r)].clear();
        }
    refreshDisplay();
    updateLabels();
}

void ReadingsPage::updateLabels() {
    dataIndexLabel_ = "Data Index: " + plainNumberText(sounding_.dataIndex);
    updateNumberOfReadingsLabel();
}

void ReadingsPage::updateNumberOfReadingsLabel() {
    numberOfReadingsLabel_ = "# of Readings: " + plainNumberText(sounding_.readingCount);
}

bool ReadingsPage::commit(int column, int row, std::vector<std::string>& messages) {
    if (!isChannelColumn(column) || !validCell(column, row)) return false;
    PageCell& c = at(column, row);
    // A text nobody changed is no entry: converting the shown text back would
    // round the reading to its display pattern. The page's own text is the
    // measure, not EditOriginalText, which a second click on the selected
    // cell sets to whatever was typed by then.
    if (c.text == shownText_[index(column, row)]) {
        entryValid = true;
        return true;
    }
    entryValid = checkForValidEntry(c.text, commaDecimalMode_);
    std::optional<double> number;
    if (entryValid) number = localeTextToNumber(c.text, sep_);
    // Texts that pass the character check but are no number (1.2.3, "-",
    // "."), and numbers a Single cannot hold, are refused like any other.
    if (!number || std::fabs(*number) > static_cast<double>(FLT_MAX)) {
        entryValid = false;
        messages.emplace_back(kInvalidEntry);
        const bool selected = column == editColumn && row == editRow;
        c.text = selected ? editOriginalText : shownText_[index(column, row)];
        return false;
    }
    const int32_t k = readingIndexOfRow(row);
    // A row that shows no reading has nothing to store into.
    if (column <= sounding_.channelCount && k >= 1 && k <= kMaxReadings) {
        sounding_.value(column, k) = static_cast<float>(*number);
        ++changeCount_;
    }
    return true;
}

PageReaction ReadingsPage::depthKeyDown(int /*row*/, int keyCode) {
    PageReaction reaction;
    reaction.keyTaken = keyCode == keys::kDown || keyCode == keys::kUp || keyCode == keys::kDelete ||
                        keyCode == keys::kInsert;
    if (!loaded_) return reaction;
    switch (keyCode) {
        case keys::kDown: moveDown(reaction); break;
        case keys::kUp: moveUp(reaction); break;
        case keys::kDelete: deleteReading(); break;
        case keys::kInsert: insertReading(); break;
        default: break;
    }
    // Any key in the depth column, also one that did nothing.
    updateLabels();
    return reaction;
}

PageReaction ReadingsPage::channelKeyDown(int column, int row, int keyCode) {
    PageReaction reaction;
    reaction.keyTaken = keyCode == keys::kDown || keyCode == keys::kUp || keyCode == keys::kEnter;
    if (!loaded_ || !reaction.keyTaken) return reaction;
    switch (keyCode) {
        case keys::kDown:
            // At the last reading not even the commit happens.
            if (sounding_.dataIndex < sounding_.readingCount && commit(column, row, reaction.messages))
                moveDown(reaction);
            updateLabels();
            break;
        case keys::kUp:
            if (sounding_.dataIndex > sounding_.noDataLeadCount + 1 && commit(column, row, reaction.messages))
                moveUp(reaction);
            updateLabels();
            break;
        case keys::kEnter:
            if (commit(column, row, reaction.messages)) {
                // Unarmed: only the highlight of the selected cell goes.
                selectRow(sounding_.pageRow);
                reaction.focus = PageReaction::Focus::DepthCell;
                reaction.focusRow = sounding_.pageRow;
            }
            break;
        default: break;
    }
    return reaction;
}

PageReaction ReadingsPage::speedKeyDown(int /*row*/, int keyCode) {
    PageReaction reaction;
    reaction.keyTaken = keyCode == keys::kDown || keyCode == keys::kUp;
    if (!loaded_ || !reaction.keyTaken) return reaction;
    if (keyCode == keys::kDown)
        moveDown(reaction);
    else
        moveUp(reaction);
    updateLabels();
    return reaction;
}

PageReaction ReadingsPage::channelClick(int column, int row) {
    PageReaction reaction;
    if (!loaded_ || !isChannelColumn(column) || !validCell(column, row)) return reaction;
    if (editColumn > 0 && (editColumn != column || editRow != row)) {
        if (!commit(editColumn, editRow, reaction.messages)) {
            reaction.focus = PageReaction::Focus::ChannelCell;
            reaction.focusColumn = editColumn;
            reaction.focusRow = editRow;
            return reaction;
        }
    }
    editOriginalText = at(column, row).text;
    restoreCellColor();
    editCellShaded = at(column, row).background == kWhite ? 0 : 1;
    editColumn = column;
    editRow = row;
    at(column, row).background = kGreen;
    return reaction;
}

}  // namespace qm
