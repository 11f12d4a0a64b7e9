#pragma once
// The readings page as the window shows it, without any widget: the texts,
// text colours and backgrounds of its 24 rows of depth, channel and speed
// cells, the page cursor moves, the row selection, the selected cell and the
// commit of a typed value, and the Insert and Delete of readings. The window
// renders the cells after each call and turns the returned reaction into
// message boxes and a focus move.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/ChannelTypeTable.h"
#include "model/PageText.h"
#include "model/Sounding.h"

namespace qm {

// Page columns: the depth, channels 1..10, then the speed.
constexpr int kDepthColumn = 0;
constexpr int kSpeedColumn = kMaxChannels + 1;
constexpr int kPageColumns = kMaxChannels + 2;

struct Rgb {
    int r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kLightGrey{220, 220, 220};
constexpr Rgb kGreen{0, 220, 0};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlack{0, 0, 0};

// Key codes as the page's key handlers know them; the shift state is ignored.
namespace keys {
constexpr int kEnter = 13;
constexpr int kUp = 38;
constexpr int kDown = 40;
constexpr int kInsert = 45;
constexpr int kDelete = 46;
// The jumps: Page Up and Page Down, and Home and End with Ctrl held.
constexpr int kPageUp = 33;
constexpr int kPageDown = 34;
constexpr int kCtrlEnd = 35;
constexpr int kCtrlHome = 36;
}  // namespace keys

struct PageCell {
    std::string text;
    Rgb background = kWhite;
    Rgb textColor = kBlack;
};

// What the window does after a handler: show the messages in order (OK
// button), then move the focus.
struct PageReaction {
    enum class Focus { Unchanged, DepthCell, ChannelCell };
    std::vector<std::string> messages;
    Focus focus = Focus::Unchanged;
    int focusColumn = 0;  // for ChannelCell
    int focusRow = 0;
    // The key is one of the page's keys for that column; the window does not
    // pass it on to the text box.
    bool keyTaken = false;
};

// The selected-cell record and guard (fields of the main window).
struct SelectedCell {
    bool rowSelectArmed = true;
    int editColumn = 0;
    int editRow = 0;
    int editCellShaded = 0;
    bool entryValid = false;
    std::string editOriginalText;
    friend bool operator==(const SelectedCell&, const SelectedCell&) = default;
};
// What the page shows apart from the Sounding's figures: the cells that are
// not white, and the selected-cell record. The undo history keeps it beside
// each step, so an undo gives back the highlight it found.
struct PageView {
    std::vector<std::pair<uint16_t, Rgb>> shaded;  // cell index, background
    SelectedCell selected;
    friend bool operator==(const PageView&, const PageView&) = default;
};

// The page holds its selected-cell record as public fields, the ones a
// PageView keeps.
class ReadingsPage : public SelectedCell {
   public:
    ReadingsPage(Sounding& sounding, const ChannelTypeTable& table, int commaDecimalMode);

    // The cell of page column 0..11 (depth, channels, speed) and row 1..24.
    const PageCell& cell(int column, int row) const { return cells_[index(column, row)]; }
    // The user typed into a channel cell.
    void setCellText(int column, int row, std::string text);

    // Reading shown in page row `row`.
    int32_t readingIndexOfRow(int row) const { return sounding_.dataIndex - sounding_.pageRow + row; }
    // The highest page row the cursor may stand on: the row of the first
    // reading after the leading readings without data, at most row 24.
    int topCursorRow() const;

    // The load has filled the Sounding (cursor included): from now on the
    // page's keys act.
    void startAfterLoad();
    bool loaded() const { return loaded_; }

    // The page's depth unit (cmbDepthUnits): value(0, r) in metres or feet.
    bool depthInFeet() const { return depthInFeet_; }
    void setDepthInFeet(bool feet);  // cmbDepthUnits_Click: refreshes

    // RefreshDisplay: the page copy of the depths, then the texts of the 24
    // rows and the text colours of depth and speed cells. Backgrounds stay.
    void refreshDisplay();

    // RestoreCellColor: the selected channel cell gets its white or grey back.
    void restoreCellColor();
    // txtDepth_Click: makes page row `index` current when RowSelectArmed.
    void selectRow(int index);

    // Key handlers of the three kinds of column (txtDepth_KeyDown,
    // txtChannel1..10_KeyDown, txtSpeed_KeyDown).
    PageReaction depthKeyDown(int row, int keyCode);
    PageReaction channelKeyDown(int column, int row, int keyCode);
    PageReaction speedKeyDown(int row, int keyCode);
    // txtChannel1..10_Click.
    PageReaction channelClick(int column, int row);

    // The commit of a channel cell: CheckForValidEntry, then the conversion
    // into the cell's reading. A cell whose text is still the one the page
    // wrote into it stores nothing and succeeds. On refusal "Invalid Text
    // Entry" is added to `messages` and the cell gets EditOriginalText back.
    bool commit(int column, int row, std::vector<std::string>& messages);

    // Insert and Delete of the depth column; false when the key's condition
    // fails (nothing changed then).
    bool insertReading();
    bool deleteReading();

    PageView view() const;
    // After an undo or redo put the Sounding back: the backgrounds and the
    // selected-cell record of `view`, the texts from the Sounding
    // (RefreshDisplay), empty cells in the columns above the channel count
    // and both labels.
    void restoreView(const PageView& view);
    // ---- Jumps: moves of more than one reading (ReadingsPageJumps.cpp) ----
    // Each commits a typed value first (the channel cell where a key was
    // pressed, else the selected cell; a text the page wrote itself is no
    // typed value), and a refused text stops it. The cursor lands on the
    // reading asked for, kept within NoDataLeadCount + 1 .. ReadingCount,
    // with the page's top row as near to `wishedTop` as the cursor rows
    // allow and the page never scrolled past the last reading. Nothing in
    // the sounding changes but the committed value.

    // Page Up, Page Down, Ctrl+Home, Ctrl+End in a cell of `column`, `row`.
    PageReaction jumpKey(int column, int row, int keyCode);
    // The wheel over the page: `readings` down (negative: up), the page along.
    PageReaction scrollBy(int32_t readings);
    // The scroll bar: reading `top` on the top row, the cursor row kept.
    PageReaction scrollTo(int32_t top);
    // Go to Depth and a click on the profile: reading k becomes current; the
    // page stays when it shows k, else k comes to the middle row.
    PageReaction goToReading(int32_t k);
    // Puts the cursor back on reading k with reading `top` on the top row
    // (where a click that turned out to be half a double click found it).
    PageReaction returnTo(int32_t k, int32_t top) { return jumpTo(k, top); }
    // The reading whose page depth (value(0, r)) is nearest to `depth`, the
    // first of equals; 0 without readings.
    int32_t nearestReading(double depth) const;
    // The reading on the top row, and the largest top the scroll bar offers.
    int32_t topReading() const { return sounding_.dataIndex - sounding_.pageRow + 1; }
    int32_t lastTopReading() const;
    // Counts every change this model made to the sounding's values, reading
    // count or page depths (commit, Insert, Delete, the depth unit), so a
    // view of the whole sounding knows when to draw it again.
    uint64_t changeCount() const { return changeCount_; }

    // lblDataIndex and lblNumberOfReadings.
    const std::string& dataIndexLabel() const { return dataIndexLabel_; }
    const std::string& numberOfReadingsLabel() const { return numberOfReadingsLabel_; }
    void updateLabels();
    void updateNumberOfReadingsLabel();

   private:
    static std::size_t index(int column, int row) {
        return static_cast<std::size_t>(row) * kPageColumns + static_cast<std::size_t>(column);
    }
    PageCell& at(int column, int row) { return cells_[index(column, row)]; }
    static bool validCell(int column, int row) {
        return column >= 0 && column < kPageColumns && row >= 1 && row <= kPageRows;
    }
    static bool isChannelColumn(int column) { return column >= 1 && column <= kMaxChannels; }
    bool moveDown(PageReaction& reaction);
    bool moveUp(PageReaction& reaction);
    int largestNoDataCount() const;
    PageReaction jumpTo(int32_t k, int32_t wishedTop, int keyColumn = 0, int keyRow = 0);
    bool commitTyped(int column, int row, PageReaction& reaction);
    uint64_t changeCount_ = 0;

    Sounding& sounding_;
    const ChannelTypeTable& table_;
    int commaDecimalMode_;
    char sep_;
    bool loaded_ = false;
    bool depthInFeet_ = false;
    std::array<PageCell, (kPageRows + 1) * kPageColumns> cells_{};
    std::array<std::string, (kPageRows + 1) * kPageColumns> shownText_{};
    std::string dataIndexLabel_;
    std::string numberOfReadingsLabel_;
};

}  // namespace qm
