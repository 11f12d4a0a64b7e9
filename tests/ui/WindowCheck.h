#pragma once
// One comparison of the window with the page model, and of the page model
// with the Sounding, for the monkey after every event and for the scenes.
// Returns the first rule broken, described, or "" when all hold.

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <array>
#include <cmath>
#include <string>

#include "model/NumberText.h"
#include "model/PageText.h"
#include "model/Units.h"
#include "ui/MainForm.h"
#include "ui/ProfileView.h"
#include "ui/PageCellEdit.h"
#include "ui/TextCodec.h"

namespace qm::uitest {

// Channel cells holding typed text that the page has not yet replaced.
using CellMask = std::array<std::array<bool, kPageRows + 1>, kPageColumns>;

inline QDialog* openGpsDialog() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "frmEnterGPS" && w->isVisible()) return qobject_cast<QDialog*>(w);
    return nullptr;
}

inline QString cellName(int column, int row) {
    if (column == kDepthColumn) return QStringLiteral("txtDepth_%1").arg(row);
    if (column == kSpeedColumn) return QStringLiteral("txtSpeed_%1").arg(row);
    return QStringLiteral("txtChannel%1_%2").arg(column).arg(row);
}

inline QColor qcolor(Rgb c) { return QColor(c.r, c.g, c.b); }

// What the user sees against what the page model and the Sounding hold.
inline std::string windowProblem(ui::MainForm& form) {
    const ReadingsPage& page = form.page();
    const Sounding& s = form.sounding();
    const bool loaded = form.soundingLoaded();
    if (bool(openGpsDialog()) == form.isEnabled()) return "the main window takes input exactly when the GPS dialog is up";
    for (const ui::PageCellEdit* cell : form.findChildren<ui::PageCellEdit*>()) {
            const int col = cell->column(), r = cell->row();
            const PageCell& want = page.cell(col, r);
            const std::string name = cellName(col, r).toStdString();
            // A character the code page cannot hold reaches the model as '?'.
            if (ui::toCp1252(cell->shownText()) != want.text) return name + " shows other text than the page model";
            if (cell->palette().color(QPalette::Active, QPalette::Base) != qcolor(want.background) ||
                cell->palette().color(QPalette::Active, QPalette::Text) != qcolor(want.textColor))
                return name + " has other colours than the page model";
            const bool channel = col != kDepthColumn && col != kSpeedColumn;
            if (cell->isEnabledTo(&form) != (!channel || (loaded && col <= s.channelCount)))
                return name + " has the wrong enabled state";
        }
    // A file's text is never taken for markup.
    for (const QLabel* l : form.findChildren<QLabel*>())
        if (l->textFormat() != Qt::PlainText && Qt::mightBeRichText(l->text()))
            return l->objectName().toStdString() + " shows \"" + l->text().toStdString() + "\" as markup";
    if (form.findChild<QLabel*>("lblDataIndex")->text().toStdString() != page.dataIndexLabel() ||
        form.findChild<QLabel*>("lblNumberOfReadings")->text().toStdString() != page.numberOfReadingsLabel())
        return "the index or count label differs from the page's";
    int panels = 0;
    for (auto* frame : form.findChildren<QGroupBox*>(QRegularExpression("^frm"))) panels += frame->isVisibleTo(&form);
    // The profile takes the header column's place when the window has no
    // room for it beside the page; a panel goes before both.
    auto* profile = form.findChild<ui::ProfileView*>("profileView");
    const bool profileInSide =
        profile->parentWidget() == form.findChild<QWidget*>("sideArea") && profile->isVisibleTo(&form);
    if (panels > 1 || (profileInSide && panels > 0) ||
        form.findChild<QWidget*>("headerArea")->isVisibleTo(&form) != (panels == 0 && !profileInSide))
        return "the header boxes, the panels and the profile do not take turns";
    if (loaded && profile->isVisibleTo(&form)) {
        profile->drawTracksIfStale();
        if (!profile->profile() || profile->profile()->readingCount != std::min(s.readingCount, kMaxReadings))
            return "the profile does not show the sounding's readings";
        if (profile->cursorReading() != s.dataIndex) return "the profile's cursor is not at the current reading";
    }
    // While the GPS dialog is up the disabled window disables its menus.
    if (!form.isEnabled()) return {};
    for (const char* name : {"MenuFileSave", "MenuExport", "menuCombine", "mnuShiftBaseline", "mnuEditDepth",
                             "mnuDepthSignificantDigits", "mnuAutoClean", "mnuProfile", "mnuFitWholeSounding",
                             "mnuGoToDepth", "mnuExportCsv", "mnuExportGef", "mnuExportAgs"})
        if (form.action(name)->isEnabled() != loaded) return std::string(name) + " has the wrong enabled state";
    if (form.action("MenuFileOpen")->isEnabled() == loaded) return "MenuFileOpen has the wrong enabled state";
    if (!loaded) return {};
    for (int c = 1; c <= kMaxChannels; ++c) {
        const QString label = form.findChild<QLabel*>(QStringLiteral("lblChannelLabel_%1").arg(c))->text();
        const auto* units = form.findChild<QComboBox*>(QStringLiteral("cmbChannelUnits_%1").arg(c));
        if (label != (c <= s.channelCount ? ui::fromCp1252(s.channelName[c]) : QString()))
            return "lblChannelLabel_" + std::to_string(c) + " does not name its channel";
        if (c <= s.channelCount && (units->count() != form.tables().unitCount[s.channelType[c]] ||
                                    units->currentIndex() != s.channelUnitIndex[c] - 1))
            return "cmbChannelUnits_" + std::to_string(c) + " does not show the channel's unit";
    }
    if (form.findChild<QComboBox*>("cmbDepthUnits_1")->currentIndex() != (page.depthInFeet() ? 1 : 0))
        return "cmbDepthUnits_1 does not show the page's depth unit";
    if (form.findChild<QLabel*>("lblDepthLabel")->text() != (s.depthFormat == 0 ? "DEPTH" : "ELEVATION") ||
        form.action("mnuDepth")->isChecked() != (s.depthFormat == 0) ||
        form.action("mnuElevation")->isChecked() != (s.depthFormat != 0))
        return "the depth label or the Depth/Elevation marks do not follow the format";
    if (form.action("mnu3Digits")->isChecked() != (s.depthDecimals == 3) ||
        form.action("mnu2Digits")->isChecked() != (s.depthDecimals != 3))
        return "the digits marks do not follow the depth digits";
    return {};
}

// The counts within their capacities, the cursor where the keys may put it
// and the 24 rows showing the readings they stand for. After a combine the
// leading count changes under the cursor and only the bounds hold.
inline std::string pageProblem(ui::MainForm& form, const CellMask& typed, bool combined) {
    const ReadingsPage& page = form.page();
    const Sounding& s = form.sounding();
    if (s.channelCount < 0 || s.channelCount > kMaxChannels || s.readingCount < 0 || s.readingCount > kMaxReadings ||
        s.noDataLeadCount < 0 || s.noDataLeadCount > kMaxReadings)
        return "a count outside its capacity";
    for (int c = 1; c <= s.channelCount; ++c)
        if (s.noDataCount[c] < 0 || s.noDataCount[c] > (combined ? kMaxReadings : s.noDataLeadCount))
            return "noDataCount of channel " + std::to_string(c) + " outside 0..noDataLeadCount";
    if (!page.loaded())
        return s.readingCount || s.channelCount || !page.cell(kDepthColumn, 1).text.empty() ? "filled before a load" : "";
    if (s.pageRow < 1 || s.pageRow > kPageRows || s.dataIndex < 1 || s.dataIndex > kMaxReadings + 1)
        return "the cursor is off the page or the readings";
    if (!combined && (s.pageRow < page.topCursorRow() || s.pageRow > s.dataIndex ||
                      s.dataIndex < s.noDataLeadCount + 1 ||
                      s.dataIndex > std::max<int>(s.readingCount, s.noDataLeadCount) + 1))
        return "the cursor is where no key puts it";
    for (int r = 1; r <= s.readingCount; ++r)
        if (const float want = page.depthInFeet() ? float(double(s.depth[r]) * kFeetPerMetre) : s.depth[r];
            !(s.value(0, r) == want) && !(std::isnan(want) && std::isnan(s.value(0, r))))
            return "the page depth of reading " + std::to_string(r) + " does not follow its depth";
    const char sep = form.decimalSeparator();
    const auto rows = pageRowTexts(s, form.tables(), sep);
    for (int r = 1; r <= kPageRows; ++r) {
        const PageRowText& want = rows[r];
        const std::string row = " in row " + std::to_string(r) + ", reading " + std::to_string(want.readingIndex);
        if (page.readingIndexOfRow(r) != s.dataIndex - s.pageRow + r) return "the row maps to another reading" + row;
        if (page.cell(kDepthColumn, r).text != want.depth || page.cell(kSpeedColumn, r).text != want.speed)
            return "the depth or speed differs from the Sounding's" + row;
        if (!(page.cell(kDepthColumn, r).textColor == (want.red ? kRed : kBlack)) ||
            !(page.cell(kSpeedColumn, r).textColor == page.cell(kDepthColumn, r).textColor))
            return "the depth or speed colour does not follow the speed" + row;
        for (int c = 1; c <= kMaxChannels; ++c) {
            const std::string& text = page.cell(c, r).text;
            if (text == want.channel[c] || (c <= s.channelCount && typed[c][r])) continue;
            // A committed entry stays as typed until the next refresh.
            const auto number = localeTextToNumber(text, sep);
            if (c > s.channelCount || !number || !want.inRange ||
                static_cast<float>(*number) != s.value(c, want.readingIndex))
                return "channel " + std::to_string(c) + " shows \"" + text + "\", the Sounding \"" + want.channel[c] +
                       "\"" + row;
        }
    }
    return {};
}

}  // namespace qm::uitest
