// File > Export: the panel, its unit systems applied through the page's unit
// boxes, and OK writing the analog file.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <filesystem>

#include "ops/AnalogExport.h"
#include "ops/UnitSystems.h"
#include "ui/UiTestSupport.h"

namespace qm::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kOptions[] = {"optEnglish", "optMetricAbsKPA", "optMetricAbsBAR", "optMetricWtKSC",
                                    "optMetricWtBAR"};

struct ExportWindow : Window {
    explicit ExportWindow(const std::string& path, int commaMode = 0, std::string tables = dataDir())
        : Window(commaMode, std::move(tables)) {
        open(path);
    }

    QGroupBox* panel() const { return w<QGroupBox>("frmExportData"); }
    QRadioButton* option(const char* name) const { return w<QRadioButton>(name); }
    QComboBox* units(int c) const { return w<QComboBox>(QString("cmbChannelUnits_%1").arg(c)); }
    void exportCommand() const { form->action("MenuExport")->trigger(); }
    // OK, answering the save dialog with `path` ("" cancels).
    void ok(const std::string& path) const {
        files->answers.push_back(path);
        clickOn(w<QPushButton>("Command1"));
    }
    // What the file must hold: the sounding as it stands, the header boxes'
    // texts and the page's depth unit.
    std::string expectedFile(UnitSystem system, const std::string& title, bool feet, char sep) const {
        AnalogExportRequest request;
        request.system = system;
        request.fileTitle = title;
        request.texts.dateAndTime = form->boxText("txtDateandTime");
        request.texts.operatorName = form->boxText("txtOperator");
        request.texts.location = form->boxText("txtLocation");
        request.texts.coneNumber = form->boxText("txtConeNumber");
        request.texts.jobNumber = form->boxText("txtJobNumber");
        request.texts.waterTableDepth = form->boxText("txtWaterTableDepth");
        request.depthInFeet = feet;
        request.sep = sep;
        std::string bytes;
        EXPECT_TRUE(analogFileText(form->sounding(), request, bytes).ok);
        return bytes;
    }
};

std::string sample10() { return samplesDir() + "/sample-10ch.cpt"; }

TEST(ExportPanel, ControlsAndTexts) {
    ExportWindow win(sample10());
    ASSERT_TRUE(win.form->soundingLoaded());
    QGroupBox* panel = win.panel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(win.form->action("MenuExport")->text(), "&Export");
    EXPECT_TRUE(win.form->action("MenuExport")->isEnabled());
    EXPECT_FALSE(panel->isVisible());

    win.exportCommand();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->title(), "EXPORT DATA");
    const QStringList captions = {"English -", "Metric -", "Metric -", "Metric -", "Metric -"};
    const QStringList labels = {"Qc in TSF, Fs in TSF, PP in PSI", "Qc in MPA, Fs in KPA, PP in KPA",
                                "Qc in MPA, Fs in KPA, PP in BAR", "Qc in KSC, Fs in KSC, PP in KSC",
                                "Qc in KSC, Fs in KSC, PP in BAR"};
    QStringList shownLabels;
    for (QLabel* l : panel->findChildren<QLabel*>())
        if (l->buddy()) shownLabels << l->text();
    EXPECT_EQ(shownLabels, labels);
    for (int i = 0; i < 5; ++i) {
        QRadioButton* o = win.option(kOptions[i]);
        ASSERT_NE(o, nullptr) << kOptions[i];
        EXPECT_EQ(o->text(), captions[i]);
        EXPECT_TRUE(o->isVisible());
        // Every option lives on the panel, and only one can be on.
        EXPECT_EQ(o->parentWidget(), panel);
    }
    QStringList texts;
    for (QLabel* l : panel->findChildren<QLabel*>())
        if (!l->buddy()) texts << l->text();
    EXPECT_EQ(texts, QStringList({"To export digital cone data to old *.cpd file format, select the desired units "
                                  "and press OK.",
                                  "NOTE: The channel units will revert to the default units for the selected "
                                  "analog format."}));
    EXPECT_EQ(win.w<QPushButton>("Command1")->text(), "OK");
    EXPECT_EQ(win.w<QPushButton>("Command2")->text(), "Cancel");
    // The panel takes the place of the header boxes.
    EXPECT_FALSE(win.w<QWidget>("headerArea")->isVisible());

    clickOn(win.option("optMetricWtBAR"));
    int on = 0;
    for (const char* name : kOptions) on += win.option(name)->isChecked() ? 1 : 0;
    EXPECT_EQ(on, 1);
    EXPECT_TRUE(win.option("optMetricWtBAR")->isChecked());
}

TEST(ExportPanel, FirstExportSelectsEnglishAndAnOptionChangesTheUnitsAtOnce) {
    ExportWindow win(sample10());
    Sounding& s = win.form->sounding();
    ASSERT_EQ(win.units(1)->currentText(), "MPA");
    ASSERT_EQ(win.units(2)->currentText(), "KPA");
    ASSERT_EQ(win.units(3)->currentText(), "KPA");
    ASSERT_EQ(s.channelType[3], 3);
    const int k = s.dataIndex;
    const float tipMpa = s.value(1, k);
    const float poreKpa = s.value(3, k);
    const QString tempCell = win.text("txtChannel6_1");

    win.exportCommand();
    EXPECT_TRUE(win.option("optEnglish")->isChecked());
    EXPECT_EQ(win.units(1)->currentText(), "TSF");
    EXPECT_EQ(win.units(2)->currentText(), "TSF");
    EXPECT_EQ(win.units(3)->currentText(), "PSI");
    EXPECT_EQ(s.channelUnitIndex[1], 3);
    EXPECT_NEAR(s.value(1, k), tipMpa / 0.001 * 0.01044272, 1e-3);
    EXPECT_NEAR(s.value(3, k), poreKpa * 0.1450377, 1e-3);
    // The page shows the new values at once, in the new unit's pattern.
    EXPECT_EQ(win.text("txtChannel1_" + QString::number(s.pageRow)),
              QString::fromStdString(formatPattern(s.value(1, k), "###0.00", '.')));
    EXPECT_EQ(win.text("txtChannel6_1"), tempCell);
    EXPECT_TRUE(win.messages->texts.empty());

    // Another option switches at once, without OK.
    clickOn(win.option("optMetricAbsBAR"));
    EXPECT_EQ(win.units(1)->currentText(), "MPA");
    EXPECT_EQ(win.units(2)->currentText(), "KPA");
    EXPECT_EQ(win.units(3)->currentText(), "BAR");
    EXPECT_NEAR(s.value(1, k), tipMpa, 1e-4);
    EXPECT_NEAR(s.value(3, k), poreKpa * 0.01, 1e-4);
}

TEST(ExportPanel, CancelKeepsTheUnitsAndTheNextExportKeepsTheOption) {
    ExportWindow win(sample10());
    win.exportCommand();
    clickOn(win.option("optMetricWtKSC"));
    clickOn(win.w<QPushButton>("Command2"));
    EXPECT_FALSE(win.panel()->isVisible());
    EXPECT_TRUE(win.w<QWidget>("headerArea")->isVisible());
    for (int c = 1; c <= 3; ++c) EXPECT_EQ(win.units(c)->currentText(), "KSC") << c;

    // A unit picked by hand meanwhile stays: showing the panel again is no click.
    QComboBox* tip = win.units(1);
    const int mpa = tip->findText("MPA");
    tip->setCurrentIndex(mpa);
    emit tip->activated(mpa);
    win.exportCommand();
    EXPECT_TRUE(win.option("optMetricWtKSC")->isChecked());
    EXPECT_EQ(win.units(1)->currentText(), "MPA");
    EXPECT_EQ(win.units(2)->currentText(), "KSC");
    EXPECT_EQ(win.files->shown.size(), 1u);  // only the open dialog
}

TEST(ExportPanel, AChannelWhoseListLacksTheUnitKeepsItsUnit) {
    // Sleeve friction tables without TSF.
    TempDir tables;
    for (int t = 1; t <= 20; ++t) {
        const std::string name = "Channel" + std::to_string(t) + ".txt";
        writeFile(tables.file(name), readFile(dataDir() + "/" + name));
    }
    std::string sleeve = readFile(dataDir() + "/Channel2.txt");
    const std::string tsf = "\"TSF\",\"##0.000\",0.01044272\r\n";
    ASSERT_NE(sleeve.find(tsf), std::string::npos);
    sleeve.erase(sleeve.find(tsf), tsf.size());
    ASSERT_NE(sleeve.find("\r\n8\r\n"), std::string::npos);
    sleeve.replace(sleeve.find("\r\n8\r\n"), 5, "\r\n7\r\n");
    writeFile(tables.file("Channel2.txt"), sleeve);

    TempDir dir;
    ExportWindow win(SoundingText{}.writeTo(dir, "lacking.cpt"), 0, tables.path().string());
    ASSERT_TRUE(win.form->soundingLoaded());
    ASSERT_EQ(win.units(2)->findText("TSF"), -1);
    const Sounding& s = win.form->sounding();
    win.exportCommand();
    EXPECT_EQ(win.units(1)->currentText(), "TSF");
    EXPECT_EQ(win.units(2)->currentText(), "KPA");
    EXPECT_EQ(s.value(2, 1), 201.0f);

    // The file then holds the sleeve in KPA.
    const std::string out = dir.file("lacking.cpd");
    win.ok(out);
    const std::string file = readFile(out);
    EXPECT_EQ(file, win.expectedFile(UnitSystem::English, "lackin", false, '.'));
    // First data line: depth 0.02, tip 101 kPa in TSF, sleeve 201 KPA.
    const std::size_t line3 = file.find("\r\n", file.find("\r\n") + 2) + 2;
    EXPECT_EQ(file.substr(line3, 22), "  0.02    1.05 201.000");
}

TEST(ExportPanel, AUnitPickedByHandAfterTheOptionIsWritten) {
    TempDir dir;
    ExportWindow win(SoundingText{}.writeTo(dir, "hand.cpt"));
    win.exportCommand();
    ASSERT_EQ(win.units(1)->currentText(), "TSF");
    QComboBox* tip = win.units(1);
    const int mpa = tip->findText("MPA");
    tip->setCurrentIndex(mpa);
    emit tip->activated(mpa);
    ASSERT_EQ(win.units(1)->currentText(), "MPA");

    const std::string out = dir.file("hand.cpd");
    win.ok(out);
    const std::string file = readFile(out);
    EXPECT_EQ(file, win.expectedFile(UnitSystem::English, "hand.c", false, '.'));
    // 101 kPa is 0.101 MPa, written with English's tip pattern.
    const std::size_t line3 = file.find("\r\n", file.find("\r\n") + 2) + 2;
    EXPECT_EQ(file.substr(line3, 14), "  0.02    0.10");
}

TEST(ExportPanel, NoFileChosenKeepsThePanelAndWritesNothing) {
    TempDir dir;
    ExportWindow win(SoundingText{}.writeTo(dir, "cancel.cpt"));
    win.exportCommand();
    win.ok("");
    EXPECT_TRUE(win.panel()->isVisible());
    EXPECT_TRUE(win.messages->texts.empty());
    ASSERT_EQ(win.files->shown.size(), 2u);
    const ScriptedFileDialog::Shown& shown = win.files->shown[1];
    EXPECT_TRUE(shown.save);
    EXPECT_EQ(shown.filter, "Analog CPT data (*.cpd)|*.cpd");
    EXPECT_EQ(shown.fileName, "");
    // After the open dialog the start folder is the current one.
    EXPECT_EQ(fs::path(shown.initDir), fs::current_path());
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
    // Another try is possible.
    win.ok(dir.file("second.cpd"));
    EXPECT_FALSE(win.panel()->isVisible());
    EXPECT_TRUE(fs::exists(dir.file("second.cpd")));
}

TEST(ExportPanel, OkWritesTheFileFromTheBoxesAndHidesThePanel) {
    ExportWindow win(sample10());
    TempDir dir;
    // Edits of the header boxes reach the file.
    win.form->setBoxText("txtOperator", "B. Lindqvist \xE9");
    win.form->setBoxText("txtWaterTableDepth", "2.5");
    win.exportCommand();
    clickOn(win.option("optMetricWtKSC"));
    const std::string out = dir.file("SCPTU12.cpd");
    writeFile(out, "an older export\r\n");  // replaced without a question
    win.ok(out);
    EXPECT_TRUE(win.messages->texts.empty());
    EXPECT_FALSE(win.panel()->isVisible());
    const std::string file = readFile(out);
    EXPECT_EQ(file, win.expectedFile(UnitSystem::MetricWtKsc, "SCPTU1", false, '.'));
    EXPECT_EQ(file.substr(0, file.find("\r\n")),
              "SCPTU12021-07-02 14:2B. Lindqvist \xE9  Metric [kgf/cm\xFD]");
    EXPECT_NE(file.find(" 3  2.50  "), std::string::npos);
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 2 + win.form->sounding().readingCount);
}

TEST(ExportPanel, TheIncrementFollowsTheDepthUnitOfThePage) {
    ExportWindow win(sample10());
    QComboBox* depthUnits = win.w<QComboBox>("cmbDepthUnits_1");
    depthUnits->setCurrentIndex(1);
    emit depthUnits->activated(1);
    TempDir dir;
    win.exportCommand();
    const std::string out = dir.file("feet.cpd");
    win.ok(out);
    const std::string feet = win.expectedFile(UnitSystem::English, "feet.c", true, '.');
    ASSERT_NE(feet, win.expectedFile(UnitSystem::English, "feet.c", false, '.'));
    EXPECT_EQ(readFile(out), feet);
}

TEST(ExportPanel, ACommaRunWritesCommas) {
    TempDir dir;
    ExportWindow win(SoundingText{}.writeTo(dir, "comma.cpt"), 1);
    win.form->setBoxText("txtWaterTableDepth", "1,85");
    win.exportCommand();
    const std::string out = dir.file("comma.cpd");
    win.ok(out);
    EXPECT_TRUE(win.messages->texts.empty());
    const std::string file = readFile(out);
    EXPECT_EQ(file, win.expectedFile(UnitSystem::English, "comma.", false, ','));
    EXPECT_NE(file.find(" 3  1,85  ,02  "), std::string::npos);
}

TEST(ExportPanel, ARefusedWaterTableOrAFailedWriteKeepsThePanelAndEveryFile) {
    ExportWindow win(sample10());
    TempDir dir;
    const std::string out = dir.file("kept.cpd");
    writeFile(out, "an older export\r\n");
    win.form->setBoxText("txtWaterTableDepth", "deep");
    win.exportCommand();
    win.ok(out);
    EXPECT_EQ(win.messages->texts, std::vector<std::string>({"Please enter a number in the water table depth box."}));
    EXPECT_TRUE(win.panel()->isVisible());
    EXPECT_EQ(readFile(out), "an older export\r\n");

    // A folder that does not exist: the system's reason, the panel stays.
    win.messages->texts.clear();
    win.form->setBoxText("txtWaterTableDepth", "");
    win.ok(dir.file("missing/out.cpd"));
    ASSERT_EQ(win.messages->texts.size(), 1u);
    EXPECT_FALSE(win.messages->texts[0].empty());
    EXPECT_TRUE(win.panel()->isVisible());
    EXPECT_FALSE(fs::exists(dir.file("missing")));

    // An empty water table writes 0.00.
    win.messages->texts.clear();
    win.ok(out);
    EXPECT_TRUE(win.messages->texts.empty());
    EXPECT_FALSE(win.panel()->isVisible());
    EXPECT_NE(readFile(out).find(" 3  0.00  "), std::string::npos);
}

}  // namespace
}  // namespace qm::test
