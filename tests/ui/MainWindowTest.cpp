// The main window: its first state, the menu tree, start-up, File > Open,
// Save and Copy, About, Exit and the panel frames.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <filesystem>

#include "ui/UiTestSupport.h"

namespace qm::test {
namespace {

namespace fs = std::filesystem;

// The menu as the user reads it: one line per item, nested items indented,
// separators as "-", disabled items marked "(off)" and checkable ones "[ ]".
void describe(const QList<QAction*>& actions, int depth, QStringList& out) {
    for (QAction* a : actions) {
        QString line = QString(depth * 2, ' ') + a->objectName() + " " + (a->isSeparator() ? "-" : a->text());
        if (!a->isEnabled()) line += " (off)";
        if (a->isCheckable()) line += a->isChecked() ? " [x]" : " [ ]";
        out << line;
        if (a->menu()) describe(a->menu()->actions(), depth + 1, out);
    }
}

QStringList menuTree(const Window& win) {
    QStringList out;
    describe(win.form->menuBar()->actions(), 0, out);
    return out;
}

TEST(MainWindow, MenuTreeAtStart) {
    Window win;
    const QStringList expected = {
        "MenuFile &File",
        "  MenuFileOpen &Open",
        "  sep1 -",
        "  mnuCopy &Copy",
        "  Sep0 -",
        "  menuCombine &Combine (off)",
        "  sep2 -",
        "  MenuFileSave &Save (off)",
        "  sep3 -",
        "  MenuExport &Export (off)",
        "  sep4 -",
        "  mnuAutoClean &AutoClean For Interp (off)",
        "  sep5 -",
        "  MenuFileExit &Exit",
        "mnuShiftBaseline &Shift Channel(s) (off)",
        "mnuEditDepth &Edit Depth / Elevation (off)",
        "  menuStartDepth &Start Depth / Elevation",
        "  mnuDepthIncrement &Depth / Elevation Increment",
        "  mnuDepthFormat Depth Format",
        "    mnuDepth Depth [ ]",
        "    mnuElevation Elevation [ ]",
        "mnuDepthSignificantDigits &Depth Significant Digits (off)",
        "  mnu2Digits 2 digits [ ]",
        "  mnu3Digits 3 digits [ ]",
        "mnuView &View",
        "  mnuProfile &Profile (off) [ ]",
        "  mnuTracks &Tracks (off)",
        "  sepView -",
        "  mnuFitWholeSounding &Fit Whole Sounding (off)",
        "  mnuGoToDepth &Go to Depth... (off)",
        "mnuAbout &About",
    };
    EXPECT_EQ(menuTree(win), expected);
}

TEST(MainWindow, FirstState) {
    Window win;
    EXPECT_EQ(win.form->windowTitle(), "Quillmere");
    EXPECT_EQ(win.w<QLabel>("lblFileName")->text(), "WELCOME TO QUILLMERE");
    EXPECT_TRUE(win.w<QFrame>("frmMessage")->isVisible());
    EXPECT_TRUE(win.form->findChild<QLabel*>("lblNoFileSelected")->text() == "No file selected");
    for (const char* box : {"txtCompanyName", "txtOperator", "txtConeNumber", "txtLocation", "txtJobNumber",
                            "txtDateandTime", "txtHoleNumber", "txtHeader", "txtFootnote1", "txtFootnote2",
                            "txtWaterTableDepth"})
        EXPECT_FALSE(win.cell(box)->isEnabled()) << box;
    for (const char* box : {"txtGPSLat", "txtGPSLon", "txtGPSAlt"}) EXPECT_TRUE(win.cell(box)->isReadOnly()) << box;
    EXPECT_EQ(win.w<QPushButton>("cmdEditGPS")->text(), "EDIT GPS DATA");
    EXPECT_FALSE(win.w<QPushButton>("cmdEditGPS")->isEnabled());
    EXPECT_FALSE(win.w<QLabel>("lblDepthLabel")->isVisible());
    EXPECT_FALSE(win.w<QLabel>("lblSpeedLabel")->isVisible());
    EXPECT_FALSE(win.w<QComboBox>("cmbDepthUnits_1")->isVisible());
    QComboBox* depthUnits = win.w<QComboBox>("cmbDepthUnits_1");
    ASSERT_EQ(depthUnits->count(), 2);
    EXPECT_EQ(depthUnits->itemText(0), "m");
    EXPECT_EQ(depthUnits->itemText(1), "ft");
    for (int c = 1; c <= 10; ++c) {
        EXPECT_EQ(win.w<QLabel>(QString("lblChannelLabel_%1").arg(c))->text(), "");
        EXPECT_FALSE(win.w<QComboBox>(QString("cmbChannelUnits_%1").arg(c))->isVisible());
        for (int r = 1; r <= 24; ++r)
            ASSERT_FALSE(win.cell(QString("txtChannel%1_%2").arg(c).arg(r))->isEnabled());
    }
    EXPECT_TRUE(win.cell("txtDepth_24")->isReadOnly());
    EXPECT_TRUE(win.cell("txtSpeed_1")->isReadOnly());
    EXPECT_EQ(win.cell("txtDepth_1")->focusPolicy(), Qt::ClickFocus);
    const std::pair<const char*, const char*> panels[] = {
        {"frmSecondFileData", "COMBINE FILES"},           {"frmChangeStartDepth", "CHANGE START DEPTH"},
        {"frmDepthIncrement", "DEPTH / ELEVATION INCREMENT"}, {"frmShiftBaselines", "SHIFT CHANNEL(S)"},
        {"frmExportData", "EXPORT DATA"}};
    for (const auto& [name, title] : panels) {
        QGroupBox* frame = win.form->panelFrame(name);
        ASSERT_NE(frame, nullptr) << name;
        EXPECT_EQ(frame->title(), title);
        EXPECT_FALSE(frame->isVisible());
    }
    EXPECT_TRUE(win.messages->texts.empty());
}

TEST(MainWindow, AboutAndExit) {
    Window win;
    win.form->action("mnuAbout")->trigger();
    ASSERT_EQ(win.messages->texts.size(), 1u);
    EXPECT_EQ(win.messages->texts[0], "Quillmere Version 2021.05.04.1");
    EXPECT_EQ(win.runsEnded, 0);
    win.form->panelFrame("frmExportData")->show();
    win.form->action("MenuFileExit")->trigger();
    EXPECT_EQ(win.runsEnded, 1);
    EXPECT_EQ(win.messages->texts.size(), 1u);
}

TEST(MainWindow, DamagedTablesAreNamedAtStart) {
    TempDir dir;
    for (int t = 1; t <= 20; ++t) {
        const std::string name = "Channel" + std::to_string(t) + ".txt";
        fs::copy_file(dataDir() + "/" + name, dir.file(name));
    }
    writeFile(dir.file("Channel5.txt"), "\"A\",\"B\",3,4,5,6,7,8,9,10,11,12,13,3,\"U1\",\"0\",1\r\n");
    Window win(0, dir.path().string());
    ASSERT_EQ(win.messages->texts.size(), 1u);
    EXPECT_NE(win.messages->texts[0].find("Channel5.txt"), std::string::npos);
    EXPECT_TRUE(win.form->tables().hasType(1));
}

TEST(MainWindow, OpenShowsTheSoundingAndEnablesTheCommands) {
    TempDir dir;
    SoundingText text;
    text.missing2 = 3;
    const std::string path = text.writeTo(dir, "first.cpt");
    Window win;
    win.open(path);
    ASSERT_TRUE(win.messages->texts.empty()) << win.messages->texts[0];
    ASSERT_EQ(win.files->shown.size(), 1u);
    const auto& shown = win.files->shown[0];
    EXPECT_FALSE(shown.save);
    EXPECT_EQ(shown.filter, "Digital CPT data (*.*)|*.*");
    EXPECT_EQ(shown.fileName, "");
    // The first dialog of the run: the samples beside the tables.
    EXPECT_EQ(shown.initDir, dataDir() + "/samples");

    EXPECT_EQ(win.w<QLabel>("lblFileName")->text(), "FILE:first.cpt");
    EXPECT_FALSE(win.w<QFrame>("frmMessage")->isVisible());
    EXPECT_EQ(win.text("txtCompanyName"), QString::fromUtf8("Company \u00C5 Co."));
    EXPECT_EQ(win.text("txtHoleNumber"), "Hole");
    EXPECT_EQ(win.text("txtDateandTime"), "2021-07-02 14:20");
    EXPECT_EQ(win.text("txtWaterTableDepth"), "1.85");
    EXPECT_TRUE(win.cell("txtFootnote2")->isEnabled());
    EXPECT_EQ(win.text("txtGPSLat"), "4733.1167N");
    EXPECT_EQ(win.text("txtGPSLon"), "12220.3412W");
    EXPECT_EQ(win.text("txtGPSAlt"), "18.6m");
    EXPECT_TRUE(win.w<QPushButton>("cmdEditGPS")->isEnabled());

    EXPECT_EQ(win.w<QLabel>("lblDepthLabel")->text(), "DEPTH");
    EXPECT_TRUE(win.w<QLabel>("lblDepthLabel")->isVisible());
    EXPECT_EQ(win.w<QLabel>("lblSpeedLabel")->text(), "SPEED");
    EXPECT_EQ(win.w<QLabel>("lblSpeedUnitsLabel")->text(), "(cm/sec)");
    EXPECT_TRUE(win.w<QComboBox>("cmbDepthUnits_1")->isVisible());
    EXPECT_EQ(win.w<QComboBox>("cmbDepthUnits_1")->currentText(), "m");
    EXPECT_EQ(win.w<QLabel>("lblChannelLabel_1")->text(), "TIP RESISTANCE");
    EXPECT_EQ(win.w<QLabel>("lblChannelLabel_2")->text(), "SLEEVE FRICTION");
    EXPECT_EQ(win.w<QLabel>("lblChannelLabel_3")->text(), "");
    QComboBox* units1 = win.w<QComboBox>("cmbChannelUnits_1");
    EXPECT_TRUE(units1->isVisible());
    EXPECT_EQ(units1->count(), win.form->tables().unitCount[1]);
    EXPECT_EQ(units1->currentText(), "KPA");
    EXPECT_FALSE(win.w<QComboBox>("cmbChannelUnits_3")->isVisible());
    EXPECT_TRUE(win.cell("txtChannel2_24")->isEnabled());
    EXPECT_FALSE(win.cell("txtChannel3_1")->isEnabled());

    // Three readings without data: the cursor on reading 4, row 4.
    EXPECT_EQ(win.w<QLabel>("lblDataIndex")->text(), "Data Index:  4");
    EXPECT_EQ(win.w<QLabel>("lblNumberOfReadings")->text(), "# of Readings:  60");
    EXPECT_EQ(win.text("txtDepth_1"), "0.020");
    EXPECT_EQ(win.text("txtChannel1_4"), "104");
    EXPECT_EQ(win.text("txtChannel2_1"), "-32768.0");
    EXPECT_EQ(win.text("txtSpeed_1"), "2.00");
    EXPECT_EQ(background(win.cell("txtDepth_4")), QColor(0, 220, 0));
    EXPECT_EQ(background(win.cell("txtSpeed_4")), QColor(220, 220, 220));
    EXPECT_EQ(background(win.cell("txtChannel1_4")), QColor(220, 220, 220));
    EXPECT_EQ(background(win.cell("txtChannel2_1")), QColor(220, 220, 220));
    EXPECT_EQ(background(win.cell("txtChannel2_4")), QColor(255, 255, 255));

    EXPECT_TRUE(win.form->action("mnu3Digits")->isChecked());
    EXPECT_FALSE(win.form->action("mnu2Digits")->isChecked());
    EXPECT_TRUE(win.form->action("mnuDepth")->isChecked());
    EXPECT_FALSE(win.form->action("mnuElevation")->isChecked());
    const QStringList tree = menuTree(win);
    EXPECT_TRUE(tree.contains("  MenuFileOpen &Open (off)"));
    for (const QString& line : tree) {
        // A sounding with tip and sleeve only has no optional tracks.
        if (!line.contains("MenuFileOpen") && !line.contains("mnuTracks")) {
            EXPECT_FALSE(line.contains("(off)")) << line.toStdString();
        }
    }

    // A run handles one sounding.
    EXPECT_FALSE(win.form->openSoundingFile(path));
}

TEST(MainWindow, OlderLayoutAndElevation) {
    TempDir dir;
    Window win;
    // Falling depths from reading 2 to 12 select elevation format.
    SoundingText few;
    few.newer = false;
    few.readings = 5;
    win.open(few.writeTo(dir, "few.cpt"));
    EXPECT_EQ(win.w<QLabel>("lblDepthLabel")->text(), "ELEVATION");
    EXPECT_TRUE(win.form->action("mnuElevation")->isChecked());
    EXPECT_FALSE(win.form->action("mnuDepth")->isChecked());
    EXPECT_TRUE(win.form->action("mnu2Digits")->isChecked());
    EXPECT_FALSE(win.form->action("mnu3Digits")->isChecked());
    EXPECT_EQ(win.text("txtDepth_1"), "0.02");
}

TEST(MainWindow, CancelledOpenChangesNothing) {
    Window win;
    win.files->answers.push_back("");
    win.form->menuFileOpenClick();
    EXPECT_TRUE(win.messages->texts.empty());
    EXPECT_TRUE(win.form->action("MenuFileOpen")->isEnabled());
    EXPECT_EQ(win.w<QLabel>("lblFileName")->text(), "WELCOME TO QUILLMERE");
    // The second dialog starts in the current folder.
    win.form->menuFileOpenClick();
    ASSERT_EQ(win.files->shown.size(), 2u);
    EXPECT_EQ(win.files->shown[1].initDir, QDir::currentPath().toStdString());
}

TEST(MainWindow, ARefusedFileLeavesTheFirstState) {
    TempDir dir;
    const std::string path = dir.file("bad.cpt");
    writeFile(path, "Brennomarck Sounding File\r\nonly two lines\r\n");
    Window win;
    win.open(path);
    ASSERT_EQ(win.messages->texts.size(), 1u);
    EXPECT_FALSE(win.messages->texts[0].empty());
    EXPECT_FALSE(win.form->soundingLoaded());
    EXPECT_TRUE(win.form->action("MenuFileOpen")->isEnabled());
    EXPECT_FALSE(win.form->action("MenuFileSave")->isEnabled());
    EXPECT_EQ(win.w<QLabel>("lblFileName")->text(), "WELCOME TO QUILLMERE");
    EXPECT_TRUE(win.w<QFrame>("frmMessage")->isVisible());
    EXPECT_FALSE(win.cell("txtCompanyName")->isEnabled());
    EXPECT_EQ(win.text("txtDepth_1"), "");
    // A good file still opens afterwards.
    win.open(SoundingText{}.writeTo(dir, "good.cpt"));
    EXPECT_TRUE(win.form->soundingLoaded());
}

TEST(MainWindow, DrilloutMarkersAreReportedInOrder) {
    TempDir dir;
    SoundingText text;
    text.drilloutAfter = 30;
    Window win;
    // The header is on show when the marker is reported, the page not yet.
    QString nameDuringMessage, depthDuringMessage;
    win.messages->onMessage = [&] {
        nameDuringMessage = win.w<QLabel>("lblFileName")->text();
        depthDuringMessage = win.text("txtDepth_1");
    };
    win.open(text.writeTo(dir, "drill.cpt"));
    EXPECT_EQ(nameDuringMessage, "FILE:drill.cpt");
    EXPECT_EQ(depthDuringMessage, "");
    ASSERT_EQ(win.messages->texts.size(), 1u);
    EXPECT_EQ(win.messages->texts[0], "Drillout detected at 0.6 m");
    EXPECT_EQ(win.w<QLabel>("lblNumberOfReadings")->text(), "# of Readings:  60");
}

TEST(MainWindow, SaveWritesTheBoxesAndEndsTheRun) {
    TempDir dir;
    SoundingText text;
    text.finalBaseline = std::string(26, ' ') + "0.04138" + std::string(13, ' ') + "0.03380";
    const std::string path = text.writeTo(dir, "first.cpt");
    Window win;
    win.open(path);
    win.cell("txtOperator")->setText(QString::fromUtf8("J. M\u00FCller"));

    // Cancelled: nothing.
    win.files->answers.push_back("");
    win.form->menuFileSaveClick();
    EXPECT_EQ(win.runsEnded, 0);
    ASSERT_EQ(win.files->shown.size(), 2u);
    EXPECT_TRUE(win.files->shown[1].save);
    EXPECT_EQ(win.files->shown[1].filter, "Digital CPT data (*.cpt)|*.cpt");
    EXPECT_EQ(win.files->shown[1].fileName, "");

    const std::string out = dir.file("saved.cpt");
    win.files->answers.push_back(out);
    win.form->menuFileSaveClick();
    ASSERT_EQ(win.messages->texts.size(), 1u);
    EXPECT_EQ(win.messages->texts[0], "File saved.  To cleanup another file, restart the program.");
    EXPECT_EQ(win.runsEnded, 1);
    const std::vector<std::string> lines = splitLines(readFile(out));
    ASSERT_EQ(lines.size(), 84u);
    EXPECT_EQ(lines[0], "BM Sounding File ver. 2015.07.02.1");
    EXPECT_EQ(lines[1], "Company \xC5 Co.");
    EXPECT_EQ(lines[2], "J. M\xFCller");
    EXPECT_EQ(lines.back(), text.finalBaseline);
    // The Sounding itself keeps the texts it was read with.
    EXPECT_EQ(win.form->sounding().operatorName, "Operator");
}

TEST(MainWindow, OverwriteRules) {
    TempDir dir;
    TempDir other;
    const std::string path = SoundingText{}.writeTo(dir, "first.cpt");
    writeFile(dir.file("other.cpt"), "keep");
    writeFile(dir.file("FIRST.cpt"), "keep");
    writeFile(other.file("first.cpt"), "old");
    Window win;
    win.open(path);

    // Another file's name: refused, whatever its folder.
    for (const std::string& target : {dir.file("other.cpt"), dir.file("FIRST.cpt")}) {
        win.messages->texts.clear();
        win.files->answers.push_back(target);
        win.form->menuFileSaveClick();
        ASSERT_EQ(win.messages->texts.size(), 1u);
        EXPECT_EQ(win.messages->texts[0], "Cannot overwrite existing file.");
        EXPECT_EQ(readFile(target), "keep");
    }
    // The opened file's name in another folder: the question; No keeps it.
    win.messages->texts.clear();
    win.messages->answers.push_back(false);
    win.files->answers.push_back(other.file("first.cpt"));
    win.form->menuFileSaveClick();
    ASSERT_EQ(win.messages->texts.size(), 1u);
    EXPECT_EQ(win.messages->texts[0], "Do you want to overwrite the existing file?");
    EXPECT_EQ(readFile(other.file("first.cpt")), "old");
    EXPECT_EQ(win.runsEnded, 0);

    // Yes replaces the opened file itself.
    win.messages->texts.clear();
    win.messages->answers.push_back(true);
    win.files->answers.push_back(path);
    win.form->menuFileSaveClick();
    ASSERT_EQ(win.messages->texts.size(), 2u);
    EXPECT_EQ(win.messages->texts[1], "File saved.  To cleanup another file, restart the program.");
    EXPECT_EQ(win.runsEnded, 1);
    EXPECT_EQ(splitLines(readFile(path)).size(), splitLines(SoundingText{}.bytes()).size());
}

TEST(MainWindow, AFailedSaveKeepsTheRunGoing) {
    TempDir dir;
    Window win;
    win.open(SoundingText{}.writeTo(dir, "first.cpt"));
    win.files->answers.push_back(dir.file("no-such-folder/out.cpt"));
    win.form->menuFileSaveClick();
    ASSERT_EQ(win.messages->texts.size(), 1u);
    EXPECT_NE(win.messages->texts[0].find("out.cpt"), std::string::npos);
    EXPECT_EQ(win.runsEnded, 0);
    EXPECT_TRUE(win.form->action("MenuFileSave")->isEnabled());
    EXPECT_EQ(win.form->sounding().readingCount, 60);
}

TEST(MainWindow, TheTwoDigitSettingSavesTheOlderLayout) {
    TempDir dir;
    Window win;
    win.open(SoundingText{}.writeTo(dir, "first.cpt"));
    win.form->action("mnu2Digits")->trigger();
    EXPECT_TRUE(win.form->action("mnu2Digits")->isChecked());
    EXPECT_FALSE(win.form->action("mnu3Digits")->isChecked());
    EXPECT_EQ(win.text("txtDepth_1"), "0.02");
    win.files->answers.push_back(dir.file("older.cpt"));
    win.form->menuFileSaveClick();
    const std::vector<std::string> lines = splitLines(readFile(dir.file("older.cpt")));
    EXPECT_EQ(lines[0], "Brennomarck Sounding File");
    EXPECT_EQ(lines[22], "   (m) (cm/s)");
    EXPECT_EQ(lines[23].substr(0, 13), "  0.02   2.00");
    win.form->action("mnu3Digits")->trigger();
    EXPECT_EQ(win.text("txtDepth_1"), "0.020");
}

TEST(MainWindow, CopyBeforeAndAfterALoad) {
    TempDir dir;
    const std::string source = dir.file("source.cpt");
    writeFile(source, "any bytes\r\n\x01\x02");
    writeFile(dir.file("target.cpt"), "old");
    Window win;
    win.files->answers = {source, dir.file("target.cpt")};
    win.form->action("mnuCopy")->trigger();
    ASSERT_EQ(win.files->shown.size(), 2u);
    EXPECT_FALSE(win.files->shown[0].save);
    EXPECT_EQ(win.files->shown[0].fileName, "");
    EXPECT_TRUE(win.files->shown[1].save);
    EXPECT_EQ(win.files->shown[1].fileName, source);
    EXPECT_EQ(win.files->shown[1].filter, "Digital CPT data (*.*)|*.*");
    ASSERT_EQ(win.messages->texts.size(), 1u);
    EXPECT_EQ(win.messages->texts[0], "File copied");
    EXPECT_EQ(readFile(dir.file("target.cpt")), "any bytes\r\n\x01\x02");

    // After a load the sounding and the page stay as they were.
    win.open(SoundingText{}.writeTo(dir, "first.cpt"));
    const QString before = win.text("txtChannel1_3");
    win.files->answers = {source, ""};
    win.messages->texts.clear();
    win.form->action("mnuCopy")->trigger();
    EXPECT_TRUE(win.messages->texts.empty());
    win.files->answers = {source, source};
    win.form->action("mnuCopy")->trigger();
    ASSERT_EQ(win.messages->texts.size(), 1u);
    EXPECT_NE(win.messages->texts[0], "File copied");
    EXPECT_EQ(readFile(source), "any bytes\r\n\x01\x02");
    EXPECT_EQ(win.text("txtChannel1_3"), before);
    EXPECT_EQ(win.w<QLabel>("lblFileName")->text(), "FILE:first.cpt");
}

TEST(MainWindow, APanelTakesThePlaceOfTheHeader) {
    Window win;
    QWidget* header = win.w("headerArea");
    QGroupBox* shift = win.form->panelFrame("frmShiftBaselines");
    QGroupBox* exportFrame = win.form->panelFrame("frmExportData");
    EXPECT_TRUE(header->isVisible());
    shift->show();
    EXPECT_TRUE(shift->isVisible());
    EXPECT_FALSE(header->isVisible());
    exportFrame->show();
    EXPECT_FALSE(shift->isVisible());
    EXPECT_TRUE(exportFrame->isVisible());
    exportFrame->hide();
    EXPECT_TRUE(header->isVisible());
    // The page stays in view beside a panel.
    EXPECT_TRUE(win.cell("txtChannel10_24")->isVisible());
}

}  // namespace
}  // namespace qm::test
