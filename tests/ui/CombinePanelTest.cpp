// File > Combine and the COMBINE FILES panel: the dialog, the messages in
// their order, the preview, the append through the panel's widgets and a
// save of the combined sounding; refusals and Cancel.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <cstdlib>

#include "model/SoundingReader.h"
#include "ops/Combine.h"
#include "ui/TextCodec.h"
#include "ui/UiTestSupport.h"

namespace qm::test {
namespace {

const std::string kFirstSample = "sample-older.cpt";
const std::string kSecondSample = "sample-older-push2.cpt";

std::string sample(const std::string& name) { return samplesDir() + "/" + name; }

// A window with the older sample open and no message left over.
struct CombineWindow : Window {
    CombineWindow() {
        open(sample(kFirstSample));
        EXPECT_TRUE(form->soundingLoaded());
        messages->texts.clear();
    }

    // File > Combine answering the dialog with `path` ("" cancels).
    void combine(const std::string& path) {
        files->answers.push_back(path);
        form->action("menuCombine")->trigger();
    }

    QGroupBox* panel() const { return form->panelFrame("frmSecondFileData"); }
    bool panelShown() const { return panel()->isVisibleTo(form.get()); }
    QLineEdit* startDepth() const { return cell("txtStartDepth"); }
    std::string readingsLabel() const { return w<QLabel>("lblNumberOfReadings")->text().toStdString(); }
    QStringList previewLines() const {
        return w<QPlainTextEdit>("txtSecondFileData")->toPlainText().split(QLatin1Char('\n'));
    }
    void pressOK() { clickOn(w<QPushButton>("cmdCombineOK")); }
};

QString col15(const char* text) { return QString::fromLatin1(text).rightJustified(15); }

std::string readingsCaption(int n) { return "# of Readings: " + plainNumberText(n); }

TEST(CombinePanel, TheWholeFlowFromTheMenuToTheSavedFile) {
    TempDir dir;
    CombineWindow win;
    ASSERT_EQ(win.form->sounding().readingCount, 600);
    ASSERT_EQ(win.form->sounding().noDataLeadCount, 5);
    EXPECT_FALSE(win.panelShown());
    EXPECT_TRUE(win.form->action("menuCombine")->isEnabled());
    EXPECT_EQ(win.form->action("menuCombine")->text(), "&Combine");

    const QSize sizeBefore = win.form->size();
    win.combine(sample(kSecondSample));
    ASSERT_EQ(win.files->shown.size(), 2u);
    const auto& shown = win.files->shown[1];
    EXPECT_FALSE(shown.save);
    EXPECT_EQ(shown.filter, "Digital CPT data (*.cpt)|*.cpt");
    EXPECT_EQ(shown.fileName, "");
    // Not the first dialog of the run: it opens where the last one ended.
    EXPECT_EQ(shown.initDir, ui::toFileName(QDir::currentPath()));

    // Same cone number and the same three channels: the one message.
    EXPECT_EQ(win.messages->texts, std::vector<std::string>{kSameConeMessage});

    // The panel in place of the header boxes, with its captions.
    ASSERT_TRUE(win.panelShown());
    EXPECT_EQ(win.panel()->title(), "COMBINE FILES");
    EXPECT_FALSE(win.w("headerArea")->isVisibleTo(win.form.get()));
    // The panel takes the header boxes' place without growing the window.
    QApplication::processEvents();
    EXPECT_EQ(win.form->height(), sizeBefore.height());
    EXPECT_EQ(win.form->width(), sizeBefore.width());
    QStringList captions;
    for (const QLabel* l : win.panel()->findChildren<QLabel*>()) captions << l->text();
    EXPECT_TRUE(captions.contains("Final Depth Of 1st Sounding:"));
    EXPECT_TRUE(captions.contains("Start Appending At Depth:"));
    EXPECT_TRUE(captions.contains("m"));
    EXPECT_EQ(win.w<QCheckBox>("chkNormalizeDepth")->text(), "Normalize depth to 1st file");
    EXPECT_EQ(win.w<QPushButton>("cmdCombineOK")->text(), "OK");

    // What the command filled in.
    EXPECT_EQ(win.w<QLabel>("lblFinalDepthOfFirstSounding")->text(), "12.34 m");
    EXPECT_EQ(win.startDepth()->text(), "12.8");
    EXPECT_TRUE(win.w<QCheckBox>("chkNormalizeDepth")->isChecked());
    auto* headings = win.w<QLabel>("lblSecondFileChannels");
    EXPECT_EQ(headings->text(), " Depth" + col15("TIP RESISTANCE") + col15("SLEEVE FRICTION") + col15("PRESSURE U2"));
    const QStringList lines = win.previewLines();
    ASSERT_EQ(lines.size(), 260);
    // The sleeve lags behind the tip: no data in its first readings.
    EXPECT_TRUE(lines[0].startsWith("  12.80")) << lines[0].toStdString();
    EXPECT_EQ(lines[0].mid(22, 15), col15("-32768.000"));
    EXPECT_TRUE(lines[259].startsWith("  17.98")) << lines[259].toStdString();
    EXPECT_EQ(lines[259].size(), 7 + 3 * 15);
    // Columns line up only in a fixed-width font, the headings' too.
    auto* preview = win.w<QPlainTextEdit>("txtSecondFileData");
    EXPECT_TRUE(QFontInfo(preview->font()).fixedPitch());
    EXPECT_TRUE(QFontInfo(headings->font()).fixedPitch());
    // The headings follow the preview when it scrolls sideways.
    QScrollBar* across = preview->horizontalScrollBar();
    ASSERT_GT(across->maximum(), 0) << "three columns are wider than the panel";
    across->setValue(across->maximum());
    EXPECT_EQ(win.w<QScrollArea>("secondFileChannelsStrip")->horizontalScrollBar()->value(), across->maximum());
    across->setValue(0);

    // A start value between two depths of the second file: 12.80, 12.82 and
    // 12.84 are skipped, 12.86 follows the first sounding's anchor at 12.32
    // (its reading before the last) one step further down. The last five readings of the first sounding,
    // held back for the sleeve's lag, give way.
    typeInto(win.startDepth(), "12.85");
    const QString cellBefore = win.text("txtDepth_1");
    win.pressOK();
    EXPECT_EQ(win.messages->texts.size(), 1u);
    EXPECT_FALSE(win.panelShown());
    EXPECT_TRUE(win.w("headerArea")->isVisibleTo(win.form.get()));
    const Sounding& s = win.form->sounding();
    EXPECT_EQ(s.readingCount, 595 + 257);
    EXPECT_EQ(win.readingsLabel(), readingsCaption(852));
    EXPECT_FLOAT_EQ(s.depth[596], 12.34f);
    EXPECT_FLOAT_EQ(s.depth[852], 12.32f + (17.98f - 12.84f));
    EXPECT_EQ(s.noDataLeadCount, 5);
    // The page itself is not redrawn by the append.
    EXPECT_EQ(win.text("txtDepth_1"), cellBefore);

    // Saved: the first file's header, the appended readings back in the raw
    // readings of the second file (the same cone's calibration both ways).
    const std::string out = dir.file("combined.cpt");
    win.files->answers.push_back(out);
    win.form->menuFileSaveClick();
    ASSERT_EQ(win.messages->texts.size(), 2u);
    EXPECT_EQ(win.messages->texts[1], "File saved.  To cleanup another file, restart the program.");
    EXPECT_EQ(win.runsEnded, 1);
    Sounding saved;
    const LoadResult reread = readSoundingFile(out, win.form->tables(), 0, saved);
    ASSERT_TRUE(reread.ok) << reread.error;
    EXPECT_EQ(saved.readingCount, 852);
    EXPECT_EQ(saved.dateAndTime, "04/27/2021 09:42:17 AM");
    EXPECT_TRUE(saved.hasFinalBaseline);
    const std::string bytes = readFile(out);
    EXPECT_NE(bytes.find(" 12.34   1.48             1.34956              -32768             0.12197\r\n"), std::string::npos)
        << "reading 596 as saved";
}

TEST(CombinePanel, MessagesComeInTheOrderOfTheRead) {
    // Another cone, two of the three channels, and a drill-out marker after
    // the 20th reading (0.40 m).
    TempDir dir;
    SoundingText other;
    other.drilloutAfter = 20;
    CombineWindow win;
    win.combine(other.writeTo(dir, "other.cpt"));
    EXPECT_EQ(win.messages->texts, (std::vector<std::string>{kDifferentConesMessage, kChannelCountMessage,
                                                              "Drillout detected in 2nd file at 0.4 m"}));
    ASSERT_TRUE(win.panelShown());
    // The marker is no reading; only matched channels are shown.
    EXPECT_EQ(win.previewLines().size(), 60);
    EXPECT_EQ(win.w<QLabel>("lblSecondFileChannels")->text(),
              " Depth" + col15("TIP RESISTANCE") + col15("SLEEVE FRICTION"));
    EXPECT_EQ(win.startDepth()->text(), "0.02");
}

TEST(CombinePanel, ARefusedSecondFileClosesThePanelAndChangesNothing) {
    TempDir dir;
    CombineWindow win;
    win.combine(sample(kSecondSample));
    ASSERT_TRUE(win.panelShown());
    win.messages->texts.clear();

    // A file cut short in its header: the reader's one message.
    const std::string shortFile = dir.file("short.cpt");
    writeFile(shortFile, "Brennomarck Sounding File\r\nCompany\r\nOperator\r\n");
    win.combine(shortFile);
    ASSERT_EQ(win.messages->texts.size(), 1u);
    EXPECT_FALSE(win.messages->texts[0].empty());
    EXPECT_FALSE(win.panelShown());
    EXPECT_EQ(win.form->sounding().readingCount, 600);
    EXPECT_EQ(win.readingsLabel(), readingsCaption(600));

    // A file of elevations against a sounding of depths: the cone message
    // first, the mismatch last, and no panel.
    std::string secondPush = readFile(sample(kSecondSample));
    std::size_t at = 0;
    for (int line = 1; line <= 23; ++line) at = secondPush.find('\n', at) + 1;
    for (; at < secondPush.size() && secondPush.compare(at, 6, "      ") != 0; at = secondPush.find('\n', at) + 1)
        secondPush[at] = '-';  // " 12.80" becomes "-12.80"
    const std::string elevations = dir.file("elevations.cpt");
    writeFile(elevations, secondPush);
    win.messages->texts.clear();
    win.combine(sample(kSecondSample));
    ASSERT_TRUE(win.panelShown());
    win.messages->texts.clear();
    win.combine(elevations);
    EXPECT_EQ(win.messages->texts, (std::vector<std::string>{kSameConeMessage, kDepthThenElevationMessage}));
    EXPECT_FALSE(win.panelShown());
    EXPECT_EQ(win.form->sounding().readingCount, 600);
}

TEST(CombinePanel, AStartValueThatIsNoNumberOrOutOfRangeKeepsThePanel) {
    CombineWindow win;
    win.combine(sample(kSecondSample));
    ASSERT_TRUE(win.panelShown());
    win.messages->texts.clear();

    typeInto(win.startDepth(), "abc");
    win.pressOK();
    EXPECT_EQ(win.messages->texts, std::vector<std::string>{"Value must be between 12.80 and 17.98."});
    EXPECT_TRUE(win.panelShown());
    EXPECT_EQ(win.form->sounding().readingCount, 600);
    EXPECT_EQ(win.readingsLabel(), readingsCaption(600));

    typeInto(win.startDepth(), "18");
    win.pressOK();
    EXPECT_EQ(win.messages->texts.back(), "Value must be between 12.80 and 17.98.");
    EXPECT_TRUE(win.panelShown());

    // Without normalization the second file's depths must go on below the
    // first sounding's last; 12.80 does, so the panel's second try appends.
    win.w<QCheckBox>("chkNormalizeDepth")->setChecked(false);
    typeInto(win.startDepth(), "12.8");
    win.pressOK();
    EXPECT_EQ(win.messages->texts.size(), 2u);
    EXPECT_FALSE(win.panelShown());
    EXPECT_EQ(win.form->sounding().readingCount, 595 + 260);
    EXPECT_FLOAT_EQ(win.form->sounding().depth[596], 12.8f);
    EXPECT_EQ(win.readingsLabel(), readingsCaption(855));
}

TEST(CombinePanel, CancellingTheDialogLeavesEverythingAsItWas) {
    CombineWindow win;
    win.combine("");
    EXPECT_EQ(win.messages->texts, std::vector<std::string>{"No File Selected."});
    EXPECT_FALSE(win.panelShown());

    // With a preview shown, Cancel keeps it, and its OK still appends.
    win.combine(sample(kSecondSample));
    ASSERT_TRUE(win.panelShown());
    typeInto(win.startDepth(), "13");
    win.messages->texts.clear();
    win.combine("");
    EXPECT_EQ(win.messages->texts, std::vector<std::string>{"No File Selected."});
    EXPECT_TRUE(win.panelShown());
    EXPECT_EQ(win.startDepth()->text(), "13");
    EXPECT_EQ(win.form->sounding().readingCount, 600);
    win.pressOK();
    EXPECT_EQ(win.messages->texts.size(), 1u);
    EXPECT_FALSE(win.panelShown());
    EXPECT_GT(win.form->sounding().readingCount, 600);
}

// Not a check: with QM_SHOT set to a file path, the window with the panel
// and its preview is drawn into that PNG file, and scrolled sideways into
// the same name with "-scrolled".
TEST(CombinePanel, Screenshot) {
    const char* shot = std::getenv("QM_SHOT");
    if (!shot || !*shot) GTEST_SKIP() << "set QM_SHOT to a .png path to draw the panel";
    CombineWindow win;
    win.form->resize(1366, 768);
    win.combine(sample(kSecondSample));
    ASSERT_TRUE(win.panelShown());
    QApplication::processEvents();
    const QString path = QString::fromLocal8Bit(shot);
    ASSERT_TRUE(win.form->grab().save(path));
    // And scrolled to the preview's right end, beside it.
    QScrollBar* across = win.w<QPlainTextEdit>("txtSecondFileData")->horizontalScrollBar();
    across->setValue(across->maximum());
    QApplication::processEvents();
    QString scrolled = path;
    scrolled.insert(scrolled.lastIndexOf(QLatin1Char('.')), QStringLiteral("-scrolled"));
    ASSERT_TRUE(win.form->grab().save(scrolled));
}

}  // namespace
}  // namespace qm::test
