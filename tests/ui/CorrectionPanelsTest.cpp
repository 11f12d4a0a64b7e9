// The correction commands through the window: AutoClean For Interp, the
// channel shift panel, the start depth and increment panels, and the depth
// format switch.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <cstdlib>
#include <functional>
#include <vector>

#include "support/SoundingFileBuilder.h"
#include "ui/UiTestSupport.h"

namespace qm::test {
namespace {

// A newer-layout sounding file with any channels. Every channel has a raw
// span equal to its full scale and baseline 0, so a value is its raw reading
// times the factor of its unit.
struct BuiltSounding {
    struct Channel {
        int type;
        std::string name;
        std::string unit = "KPA";
        std::string factor = "1";
        std::string fullScale = "1";  // also the raw span, so a value stays its raw reading
    };
    std::vector<Channel> channels;
    std::vector<double> depths;
    std::function<double(int c, int r)> raw = [](int c, int r) { return 100.0 * c + r; };
    std::vector<double> finalBaseline;  // raw final baselines, one per channel, or none

    std::string writeTo(const TempDir& dir, const std::string& name) const {
        SoundingFileBuilder b;
        for (const Channel& ch : channels)
            b.channel({std::to_string(ch.type), ch.name, ch.fullScale, "0.00000", ch.fullScale + " " + ch.unit, ch.unit,
                       ch.factor});
        for (std::size_t i = 0; i < depths.size(); ++i) {
            std::vector<double> raws;
            for (std::size_t c = 1; c <= channels.size(); ++c) raws.push_back(raw(int(c), int(i) + 1));
            b.row(depths[i], 2.0, raws);
        }
        if (!finalBaseline.empty()) b.finalBaseline(finalBaseline);
        const std::string path = dir.file(name);
        writeFile(path, b.text());
        return path;
    }
};

std::vector<double> evenDepths(int count, double step, double first) {
    std::vector<double> d;
    for (int i = 0; i < count; ++i) d.push_back(first + step * i);
    return d;
}

BuiltSounding tipAndSleeve(int readings = 40) {
    BuiltSounding b;
    b.channels = {{1, "TIP RESISTANCE"}, {2, "SLEEVE FRICTION"}};
    b.depths = evenDepths(readings, 0.02, 0.02);
    return b;
}

// A window over a sounding written into a folder of its own.
struct OpenedWindow : Window {
    explicit OpenedWindow(const BuiltSounding& b = tipAndSleeve(30), int commaMode = 0) : Window(commaMode) {
        open(b.writeTo(dir, "s.cpt"));
    }
    TempDir dir;
};

QLabel* label(const Window& win, const QString& name) { return win.w<QLabel>(name); }
QPushButton* button(const Window& win, const char* name) { return win.w<QPushButton>(name); }
QString indexed(const char* name, int i) { return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i); }

// The texts of every label inside a panel frame.
QStringList labelTexts(QGroupBox* frame) {
    QStringList out;
    for (QLabel* l : frame->findChildren<QLabel*>()) out << l->text();
    return out;
}

std::vector<float> channelValues(const Sounding& s, int c) {
    std::vector<float> v;
    for (int r = 1; r <= s.readingCount; ++r) v.push_back(s.value(c, r));
    return v;
}

std::vector<float> depths(const Sounding& s) { return {s.depth.begin() + 1, s.depth.begin() + 1 + s.readingCount}; }

// ---------------------------------------------------------------- AutoClean

TEST(AutoCleanCommand, AddsThePorePressureColumnFillsTheGapAndCountsAtOnce) {
    TempDir dir;
    BuiltSounding b = tipAndSleeve(30);
    // Readings at 0.36 and 0.38 are missing.
    b.depths = evenDepths(17, 0.02, 0.02);
    for (double d : evenDepths(13, 0.02, 0.40)) b.depths.push_back(d);
    Window win;
    win.open(b.writeTo(dir, "gap.cpt"));
    ASSERT_TRUE(win.messages->texts.empty());
    ASSERT_EQ(win.form->sounding().readingCount, 30);
    EXPECT_FALSE(win.w<QComboBox>("cmbChannelUnits_3")->isVisible());

    QAction* command = win.form->action("mnuAutoClean");
    ASSERT_TRUE(command->isEnabled());
    command->trigger();
    EXPECT_TRUE(win.messages->texts.empty());
    const Sounding& s = win.form->sounding();
    EXPECT_EQ(s.channelCount, 3);
    EXPECT_EQ(s.readingCount, 32);
    EXPECT_EQ(label(win, "lblNumberOfReadings")->text(), "# of Readings:  32");

    EXPECT_EQ(label(win, "lblChannelLabel_3")->text(), "PRESSURE U2");
    QComboBox* units = win.w<QComboBox>("cmbChannelUnits_3");
    EXPECT_TRUE(units->isVisible());
    ASSERT_EQ(units->count(), win.form->tables().unitCount[3]);
    EXPECT_EQ(units->itemText(0), "KPA");
    EXPECT_EQ(units->currentIndex(), 0);
    for (int r = 1; r <= 24; ++r) ASSERT_TRUE(win.cell(indexed("txtChannel3", r))->isEnabled()) << r;
    EXPECT_EQ(win.text("txtChannel3_1"), "0.0");
    // The untouched columns keep their channels.
    EXPECT_EQ(label(win, "lblChannelLabel_1")->text(), "TIP RESISTANCE");
    EXPECT_EQ(label(win, "lblChannelLabel_2")->text(), "SLEEVE FRICTION");
    EXPECT_FALSE(win.cell("txtChannel4_1")->isEnabled());

    // The page shows the filled readings: 0.36 and 0.38 carry the values of
    // the reading at 0.40.
    EXPECT_EQ(win.text("txtDepth_18"), "0.360");
    EXPECT_EQ(win.text("txtDepth_19"), "0.380");
    EXPECT_EQ(win.text("txtDepth_20"), "0.400");
    EXPECT_EQ(win.text("txtChannel1_18"), "118");
    EXPECT_EQ(win.text("txtChannel1_19"), "118");
    EXPECT_EQ(win.text("txtChannel1_20"), "118");

    // A second run adds no second pore-pressure channel.
    command->trigger();
    EXPECT_TRUE(win.messages->texts.empty());
    EXPECT_EQ(s.channelCount, 3);
    EXPECT_EQ(s.readingCount, 32);
    EXPECT_FALSE(win.cell("txtChannel4_1")->isEnabled());
}

TEST(AutoCleanCommand, MovedChannelsTakeTheirNamesUnitsAndValuesToTheNextColumn) {
    TempDir dir;
    BuiltSounding b;
    b.channels = {{1, "TIP RESISTANCE"},
                  {2, "SLEEVE FRICTION"},
                  {4, "PRESSURE U1", "MPA", "0.001"},
                  {6, "INCLINATION X", "RAD", "0.01745329"}};
    b.depths = evenDepths(30, 0.02, 0.02);
    b.raw = [](int c, int r) { return 10.0 * c + r; };
    Window win;
    win.open(b.writeTo(dir, "four.cpt"));
    ASSERT_TRUE(win.messages->texts.empty());
    const QString u1Shown = win.text("txtChannel3_1");
    const QString inclinationShown = win.text("txtChannel4_1");
    // Open panels that show the old channel positions are closed.
    win.form->action("mnuShiftBaseline")->trigger();
    ASSERT_TRUE(win.form->panelFrame("frmShiftBaselines")->isVisible());

    win.form->action("mnuAutoClean")->trigger();
    EXPECT_TRUE(win.messages->texts.empty());
    EXPECT_FALSE(win.form->panelFrame("frmShiftBaselines")->isVisible());
    EXPECT_EQ(win.form->sounding().channelCount, 5);
    const QStringList names = {"TIP RESISTANCE", "SLEEVE FRICTION", "PRESSURE U2", "PRESSURE U1", "INCLINATION X"};
    for (int c = 1; c <= 5; ++c) EXPECT_EQ(label(win, indexed("lblChannelLabel", c))->text(), names[c - 1]);
    QComboBox* u1 = win.w<QComboBox>("cmbChannelUnits_4");
    QComboBox* inclination = win.w<QComboBox>("cmbChannelUnits_5");
    EXPECT_TRUE(inclination->isVisible());
    EXPECT_EQ(u1->currentText(), "MPA");
    ASSERT_EQ(inclination->count(), win.form->tables().unitCount[6]);
    EXPECT_EQ(inclination->itemText(0), "DEG");
    EXPECT_EQ(inclination->currentText(), "RAD");
    EXPECT_EQ(win.text("txtChannel3_1"), "0.0");
    EXPECT_EQ(win.text("txtChannel4_1"), u1Shown);
    EXPECT_EQ(win.text("txtChannel5_1"), inclinationShown);
    EXPECT_TRUE(win.cell("txtChannel5_24")->isEnabled());
    EXPECT_FALSE(win.cell("txtChannel6_1")->isEnabled());

    // The shift panel opened again shows the channels in their new rows.
    win.form->action("mnuShiftBaseline")->trigger();
    EXPECT_EQ(label(win, "lblShiftChanLabel_3")->text(), "PRESSURE U2");
    EXPECT_EQ(label(win, "lblShiftChanLabel_5")->text(), "INCLINATION X");
    EXPECT_EQ(label(win, "lblShiftUnitsChan_5")->text(), "RAD");
    EXPECT_TRUE(label(win, "lblShiftChanLabel_5")->isVisible());
}

TEST(AutoCleanCommand, TenChannelsWithoutPorePressureSayThereIsNoRoom) {
    TempDir dir;
    BuiltSounding b;
    for (int t : {1, 2, 4, 5, 6, 7, 8, 9, 10, 11}) b.channels.push_back({t, "CHANNEL " + std::to_string(t)});
    for (BuiltSounding::Channel& ch : b.channels) {
        const ChannelTypeTable& table = shippedTables();
        ch.unit = table.name(ch.type, 1);
    }
    // Depths off the grid: 0.02 steps from 0.03.
    b.depths = evenDepths(30, 0.02, 0.03);
    b.depths[5] = 0.125;
    Window win;
    win.open(b.writeTo(dir, "ten.cpt"));
    ASSERT_TRUE(win.messages->texts.empty()) << win.messages->texts[0];
    win.form->action("mnuAutoClean")->trigger();
    ASSERT_EQ(win.messages->texts.size(), 1u);
    EXPECT_NE(win.messages->texts[0].find("no room for a pore-pressure channel"), std::string::npos);
    EXPECT_EQ(win.form->sounding().channelCount, 10);
    EXPECT_EQ(label(win, "lblChannelLabel_3")->text(), "CHANNEL 4");
    // The depths were still cleaned: 0.125 is on the 0.02 grid's 0.12 now.
    EXPECT_NEAR(win.form->sounding().depth[6], 0.12f, 1e-6);
    EXPECT_EQ(win.text("txtDepth_6"), "0.120");
}

TEST(AutoCleanCommand, AZeroIncrementIsRefusedAndNothingChanges) {
    TempDir dir;
    Window win;
    win.open(tipAndSleeve().writeTo(dir, "s.cpt"));
    Sounding& s = win.form->sounding();
    s.depthIncrement = 0.0f;
    s.depth[3] = 0.0612f;
    win.form->action("mnuAutoClean")->trigger();
    ASSERT_EQ(win.messages->texts.size(), 1u);
    EXPECT_NE(win.messages->texts[0].find("Nothing was changed"), std::string::npos);
    EXPECT_EQ(s.channelCount, 2);
    EXPECT_FLOAT_EQ(s.depth[3], 0.0612f);
    EXPECT_FALSE(win.cell("txtChannel3_1")->isEnabled());
    EXPECT_EQ(label(win, "lblChannelLabel_3")->text(), "");
}

// ------------------------------------------------------------ Shift panel

TEST(ShiftBaselinesPanel, OpeningShowsOneRowPerChannelWithItsFixedTexts) {
    BuiltSounding b = tipAndSleeve(30);
    // Sleeve: no data for 3 readings, then 0.5, -0.1, 2.0 and a reading far
    // below the floor (-2 % of full scale 100: -2 is the floor).
    b.channels[1].fullScale = "100";
    b.raw = [](int c, int r) {
        if (c == 1) return 100.0 + r;
        if (r <= 3) return -32768.0;
        if (r == 4) return 0.5;
        if (r == 5) return -0.1;
        if (r == 6) return -5.0;
        return 2.0;
    };
    OpenedWindow win(b);
    QGroupBox* frame = win.form->panelFrame("frmShiftBaselines");
    EXPECT_FALSE(frame->isVisible());
    win.form->action("mnuShiftBaseline")->trigger();
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->title(), "SHIFT CHANNEL(S)");
    const QStringList texts = labelTexts(frame);
    for (const char* fixed :
         {"TO SHIFT CHANNELS, ENTER OFFSET INTO  'SHIFT CHANNEL BY:' BOX AND CLICK 'SHIFT READINGS'", "<OR>",
          "CLICK ON 'REMOVE NEGATIVES' TO REMOVE JUST THE NEGATIVES AND ZEROS WITHOUT SHIFTING THE OTHER READINGS",
          "WARNING: THIS FUNCTION WILL NOT PERFORM ANY ERROR CHECKING", "LOWEST READING", "FINAL BASELINE",
          "SHIFT CHANNEL BY"})
        EXPECT_TRUE(texts.contains(QString::fromLatin1(fixed))) << fixed;
    // "<OR>" is shown as it is, not taken for markup.
    for (QLabel* l : frame->findChildren<QLabel*>())
        EXPECT_EQ(l->textFormat(), Qt::PlainText) << l->objectName().toStdString();
    EXPECT_EQ(button(win, "Command5")->text(), "SHIFT READINGS");
    EXPECT_EQ(button(win, "Command6")->text(), "CANCEL");
    EXPECT_EQ(button(win, "Command7")->text(), "REMOVE NEGATIVES");

    EXPECT_EQ(label(win, "lblShiftChanLabel_1")->text(), "TIP RESISTANCE");
    EXPECT_EQ(label(win, "lblShiftChanLabel_2")->text(), "SLEEVE FRICTION");
    EXPECT_EQ(label(win, "lblShiftUnitsChan_1")->text(), "KPA");
    EXPECT_EQ(label(win, "lblLowestReadingChan_1")->text(), "101");
    EXPECT_EQ(label(win, "lblLowestReadingChan_2")->text(), "-0.1");
    for (int c = 1; c <= 2; ++c) {
        EXPECT_EQ(win.text(indexed("txtShiftChannelByChan", c)), "0");
        EXPECT_EQ(label(win, indexed("lblFinalBaselineChan", c))->text(), "Not Available");
        EXPECT_TRUE(win.cell(indexed("txtShiftChannelByChan", c))->isVisible());
    }
    for (int c = 3; c <= 10; ++c) {
        for (const char* name :
             {"lblShiftChanLabel", "lblLowestReadingChan", "lblFinalBaselineChan", "lblShiftUnitsChan"})
            ASSERT_NE(label(win, indexed(name, c)), nullptr) << name << c;
        ASSERT_NE(win.cell(indexed("txtShiftChannelByChan", c)), nullptr);
        EXPECT_FALSE(win.cell(indexed("txtShiftChannelByChan", c))->isVisible()) << c;
        EXPECT_FALSE(label(win, indexed("lblShiftChanLabel", c))->isVisible()) << c;
    }
}

TEST(ShiftBaselinesPanel, FinalBaselineShowsTheDriftInTheChannelsUnit) {
    BuiltSounding b = tipAndSleeve(30);
    b.finalBaseline = {3.0, -0.26};
    OpenedWindow win(b);
    ASSERT_TRUE(win.form->sounding().hasFinalBaseline);
    win.form->action("mnuShiftBaseline")->trigger();
    EXPECT_EQ(label(win, "lblFinalBaselineChan_1")->text(), "3");
    EXPECT_EQ(label(win, "lblFinalBaselineChan_2")->text(), "-0.3");
}

TEST(ShiftBaselinesPanel, ShiftReadingsAddsEachOffsetInTheShownUnit) {
    BuiltSounding b = tipAndSleeve(30);
    b.raw = [](int c, int r) { return c == 2 && r <= 2 ? -32768.0 : 100.0 * c + r; };
    OpenedWindow win(b);
    const Sounding& s = win.form->sounding();
    win.form->action("mnuShiftBaseline")->trigger();
    typeInto(win.cell("txtShiftChannelByChan_2"), "-0.5");
    clickOn(button(win, "Command5"));
    EXPECT_TRUE(win.messages->texts.empty());
    EXPECT_FALSE(win.form->panelFrame("frmShiftBaselines")->isVisible());
    // Channel 1's box still read "0": unchanged.
    EXPECT_FLOAT_EQ(s.value(1, 5), 105.0f);
    // Readings without data stay without data.
    EXPECT_EQ(s.value(2, 1), kNoDataValue);
    EXPECT_EQ(s.value(2, 2), kNoDataValue);
    EXPECT_FLOAT_EQ(s.value(2, 3), 202.5f);
    EXPECT_FLOAT_EQ(s.value(2, 30), 229.5f);
    // The page was refreshed; row r shows reading r.
    EXPECT_EQ(win.text("txtChannel2_3"), "202.5");
    EXPECT_EQ(win.text("txtChannel2_2"), "-32768.0");
    EXPECT_EQ(win.text("txtChannel1_3"), "103");
}

TEST(ShiftBaselinesPanel, ShiftReadsTheLocalesDecimalSeparatorAndRepeats) {
    OpenedWindow win(tipAndSleeve(30), 1);
    ASSERT_TRUE(win.messages->texts.empty());
    const Sounding& s = win.form->sounding();
    win.form->action("mnuShiftBaseline")->trigger();
    typeInto(win.cell("txtShiftChannelByChan_1"), "1,5");
    clickOn(button(win, "Command5"));
    EXPECT_TRUE(win.messages->texts.empty());
    EXPECT_FLOAT_EQ(s.value(1, 1), 102.5f);
    // Every opening starts from "0" again, and a second shift adds to the first.
    win.form->action("mnuShiftBaseline")->trigger();
    EXPECT_EQ(win.text("txtShiftChannelByChan_1"), "0");
    EXPECT_EQ(label(win, "lblLowestReadingChan_1")->text(), "103");
    typeInto(win.cell("txtShiftChannelByChan_1"), "-2,5");
    clickOn(button(win, "Command5"));
    EXPECT_FLOAT_EQ(s.value(1, 1), 100.0f);
    EXPECT_EQ(win.text("txtChannel1_1"), "100");
}

TEST(ShiftBaselinesPanel, AnOffsetThatIsNotANumberShiftsNoChannel) {
    OpenedWindow win;
    const Sounding& s = win.form->sounding();
    const std::vector<float> tip = channelValues(s, 1), sleeve = channelValues(s, 2);
    win.form->action("mnuShiftBaseline")->trigger();
    typeInto(win.cell("txtShiftChannelByChan_1"), "2");
    typeInto(win.cell("txtShiftChannelByChan_2"), "1.2.3");
    clickOn(button(win, "Command5"));
    ASSERT_EQ(win.messages->texts.size(), 1u);
    EXPECT_NE(win.messages->texts[0].find("\"1.2.3\""), std::string::npos);
    EXPECT_NE(win.messages->texts[0].find("No channel was shifted."), std::string::npos);
    EXPECT_TRUE(win.form->panelFrame("frmShiftBaselines")->isVisible());
    EXPECT_EQ(win.text("txtShiftChannelByChan_2"), "1.2.3");
    EXPECT_EQ(channelValues(s, 1), tip);
    EXPECT_EQ(channelValues(s, 2), sleeve);
    EXPECT_EQ(win.text("txtChannel1_1"), "101");

    // Corrected, the same panel shifts.
    typeInto(win.cell("txtShiftChannelByChan_2"), "");
    clickOn(button(win, "Command5"));
    EXPECT_EQ(win.messages->texts.size(), 2u);
    EXPECT_TRUE(win.form->panelFrame("frmShiftBaselines")->isVisible());
    typeInto(win.cell("txtShiftChannelByChan_2"), "0.00");
    clickOn(button(win, "Command5"));
    EXPECT_EQ(win.messages->texts.size(), 2u);
    EXPECT_FALSE(win.form->panelFrame("frmShiftBaselines")->isVisible());
    EXPECT_FLOAT_EQ(s.value(1, 1), 103.0f);
    EXPECT_EQ(channelValues(s, 2), sleeve);
    EXPECT_EQ(win.text("txtChannel1_1"), "103");
}

TEST(ShiftBaselinesPanel, RemoveNegativesIgnoresTheOffsetsAndSparesTypesSixAndSeven) {
    BuiltSounding b;
    b.channels = {
        {1, "TIP RESISTANCE"}, {2, "SLEEVE FRICTION"}, {6, "INCLINATION X", "DEG"}, {7, "INCLINATION Y", "DEG"}};
    b.depths = evenDepths(30, 0.02, 0.02);
    b.raw = [](int c, int r) {
        if (c == 1) return 100.0 + r;
        const double pattern[] = {-1.2, 0.0, 0.3, -32768.0};
        return pattern[(r - 1) % 4];
    };
    OpenedWindow win(b);
    ASSERT_TRUE(win.messages->texts.empty()) << win.messages->texts[0];
    const Sounding& s = win.form->sounding();
    const std::vector<float> tip = channelValues(s, 1);
    const std::vector<float> x = channelValues(s, 3), y = channelValues(s, 4);
    win.form->action("mnuShiftBaseline")->trigger();
    typeInto(win.cell("txtShiftChannelByChan_1"), "5");
    clickOn(button(win, "Command7"));
    EXPECT_TRUE(win.messages->texts.empty());
    EXPECT_FALSE(win.form->panelFrame("frmShiftBaselines")->isVisible());
    EXPECT_EQ(channelValues(s, 1), tip);
    // 0.001 % of full scale 1.
    const float replacement = static_cast<float>(1.0 * 0.00001);
    EXPECT_EQ(s.value(2, 1), replacement);
    EXPECT_EQ(s.value(2, 2), replacement);
    EXPECT_FLOAT_EQ(s.value(2, 3), 0.3f);
    EXPECT_EQ(s.value(2, 4), replacement);
    EXPECT_EQ(channelValues(s, 3), x);
    EXPECT_EQ(channelValues(s, 4), y);
    EXPECT_EQ(win.text("txtChannel2_4"), "0.0");
}

TEST(ShiftBaselinesPanel, CancelChangesNothingAndTheNextOpeningResetsTheOffsets) {
    OpenedWindow win;
    const Sounding& s = win.form->sounding();
    const std::vector<float> tip = channelValues(s, 1);
    win.form->action("mnuShiftBaseline")->trigger();
    typeInto(win.cell("txtShiftChannelByChan_1"), "7");
    clickOn(button(win, "Command6"));
    EXPECT_FALSE(win.form->panelFrame("frmShiftBaselines")->isVisible());
    EXPECT_TRUE(win.messages->texts.empty());
    EXPECT_EQ(channelValues(s, 1), tip);
    win.form->action("mnuShiftBaseline")->trigger();
    EXPECT_EQ(win.text("txtShiftChannelByChan_1"), "0");
}

// -------------------------------------------------------- Start depth panel

TEST(ChangeStartDepthPanel, OpensWithTheShownStartDepthAndMovesEveryDepth) {
    BuiltSounding b = tipAndSleeve(30);
    b.depths = evenDepths(30, 0.05, 1.004);
    OpenedWindow win(b);
    QGroupBox* frame = win.form->panelFrame("frmChangeStartDepth");
    win.form->action("menuStartDepth")->trigger();
    ASSERT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->title(), "CHANGE START DEPTH");
    EXPECT_EQ(label(win, "Label22")->text(), "Current Start Depth");
    EXPECT_EQ(label(win, "Label23")->text(), "New Start Depth");
    EXPECT_EQ(labelTexts(frame).count("m"), 2);
    EXPECT_EQ(button(win, "Command3")->text(), "OK");
    EXPECT_EQ(button(win, "Command4")->text(), "Cancel");
    EXPECT_EQ(label(win, "lblCurrentStartDepth")->text(), "1.00");
    EXPECT_EQ(win.text("txtNewStartDepth"), "1.00");

    // The offset comes from the two decimals shown: 2.00 - 1.00.
    typeInto(win.cell("txtNewStartDepth"), "2.00");
    clickOn(button(win, "Command3"));
    EXPECT_TRUE(win.messages->texts.empty());
    EXPECT_FALSE(frame->isVisible());
    const Sounding& s = win.form->sounding();
    EXPECT_FLOAT_EQ(s.depth[1], 2.004f);
    EXPECT_NEAR(s.depth[30], 3.454f, 1e-5);
    EXPECT_EQ(win.text("txtDepth_1"), "2.004");
    EXPECT_FLOAT_EQ(s.value(0, 1), s.depth[1]);
}

TEST(ChangeStartDepthPanel, ElevationCaptionsAndAnAbsoluteDatum) {
    BuiltSounding b = tipAndSleeve(30);
    b.depths = evenDepths(30, 0.05, 0.05);
    OpenedWindow win(b);
    win.form->action("mnuElevation")->trigger();
    QGroupBox* frame = win.form->panelFrame("frmChangeStartDepth");
    win.form->action("menuStartDepth")->trigger();
    EXPECT_EQ(frame->title(), "CHANGE START ELEVATION");
    EXPECT_EQ(label(win, "Label22")->text(), "Current Start Elevation");
    EXPECT_EQ(label(win, "Label23")->text(), "New Start Elevation");
    EXPECT_EQ(label(win, "lblCurrentStartDepth")->text(), "-0.05");
    typeInto(win.cell("txtNewStartDepth"), "100.00");
    clickOn(button(win, "Command3"));
    const Sounding& s = win.form->sounding();
    EXPECT_FLOAT_EQ(s.depth[1], 100.0f);
    EXPECT_FLOAT_EQ(s.depth[2], 99.95f);
    EXPECT_EQ(win.text("txtDepth_2"), "99.950");

    // Back to depth: the captions follow the format.
    win.form->action("mnuDepth")->trigger();
    win.form->action("menuStartDepth")->trigger();
    EXPECT_EQ(frame->title(), "CHANGE START DEPTH");
    EXPECT_EQ(label(win, "Label22")->text(), "Current Start Depth");
    EXPECT_EQ(label(win, "lblCurrentStartDepth")->text(), "-100.00");
}

TEST(ChangeStartDepthPanel, ANonNumberIsRefusedAndCancelChangesNothing) {
    OpenedWindow win;
    const Sounding& s = win.form->sounding();
    const std::vector<float> before = depths(s);
    QGroupBox* frame = win.form->panelFrame("frmChangeStartDepth");
    win.form->action("menuStartDepth")->trigger();
    typeInto(win.cell("txtNewStartDepth"), "1.5 m");
    clickOn(button(win, "Command3"));
    ASSERT_EQ(win.messages->texts.size(), 1u);
    EXPECT_NE(win.messages->texts[0].find("\"1.5 m\" is not a number"), std::string::npos);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(depths(s), before);
    EXPECT_EQ(win.text("txtDepth_1"), "0.020");

    typeInto(win.cell("txtNewStartDepth"), "3.00");
    clickOn(button(win, "Command4"));
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(depths(s), before);
    EXPECT_EQ(win.messages->texts.size(), 1u);
}

// ---------------------------------------------------------- Increment panel

TEST(DepthIncrementPanel, OpensWithTheIncrementAndItsFixedTexts) {
    OpenedWindow win;
    QGroupBox* frame = win.form->panelFrame("frmDepthIncrement");
    win.form->action("mnuDepthIncrement")->trigger();
    ASSERT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->title(), "DEPTH / ELEVATION INCREMENT");
    const QStringList texts = labelTexts(frame);
    for (const char* fixed :
         {"CURRENT INCREMENT", "NEW INCREMENT", "USE ONLY POSITIVE VALUES FOR THE DEPTH / ELEVATION INCREMENT",
          "WARNING: THE DEPTH / ELEVATION INCREMENT SHOULD BE CHANGED ONLY IF IT WAS SET INCORRECTLY IN VORTAQ"})
        EXPECT_TRUE(texts.contains(QString::fromLatin1(fixed))) << fixed;
    EXPECT_EQ(texts.count("m"), 2);
    EXPECT_EQ(button(win, "Command9")->text(), "INCREASE +.005");
    EXPECT_EQ(button(win, "Command10")->text(), "DECREASE -.005");
    EXPECT_EQ(button(win, "cmdOK")->text(), "OK");
    EXPECT_EQ(button(win, "Command11")->text(), "CANCEL");
    EXPECT_EQ(label(win, "lblCurrentIncrement")->text(), "0.020");
    EXPECT_EQ(win.text("txtNewIncrement"), "0.020");
}

TEST(DepthIncrementPanel, IncreaseStepsAndOkRescalesDepthsAndSpeeds) {
    BuiltSounding b = tipAndSleeve(30);
    b.depths = evenDepths(30, 0.05, 0.05);
    OpenedWindow win(b);
    const Sounding& s = win.form->sounding();
    const float accepted = s.depthIncrement;
    win.form->action("mnuDepthIncrement")->trigger();
    QStringList shown;
    for (int i = 0; i < 3; ++i) {
        clickOn(button(win, "Command9"));
        shown << win.text("txtNewIncrement");
    }
    EXPECT_EQ(shown, (QStringList{"0.055", "0.060", "0.065"}));
    EXPECT_EQ(s.depthIncrement, accepted);
    clickOn(button(win, "cmdOK"));
    EXPECT_TRUE(win.messages->texts.empty());
    EXPECT_FALSE(win.form->panelFrame("frmDepthIncrement")->isVisible());
    const float ratio = 0.065f / accepted;
    EXPECT_FLOAT_EQ(s.depthIncrement, 0.065f);
    EXPECT_FLOAT_EQ(s.depth[1], 0.05f * ratio);
    EXPECT_FLOAT_EQ(s.depth[3], 0.15f * ratio);
    EXPECT_FLOAT_EQ(s.speed[2], 2.0f * ratio);
    EXPECT_EQ(win.text("txtDepth_1"), "0.065");
    EXPECT_EQ(win.text("txtSpeed_1"), "2.60");
}

TEST(DepthIncrementPanel, ATypedIncrementWinsUntilAButtonStepsFromThePendingOne) {
    BuiltSounding b = tipAndSleeve(30);
    b.depths = evenDepths(30, 0.05, 1.00);
    OpenedWindow win(b);
    const Sounding& s = win.form->sounding();
    win.form->action("mnuDepthIncrement")->trigger();
    typeInto(win.cell("txtNewIncrement"), "0.2");
    clickOn(button(win, "Command9"));
    // The typed 0.2 is lost: the button stepped from 0.05.
    EXPECT_EQ(win.text("txtNewIncrement"), "0.055");
    typeInto(win.cell("txtNewIncrement"), "0.025");
    clickOn(button(win, "cmdOK"));
    EXPECT_TRUE(win.messages->texts.empty());
    EXPECT_FLOAT_EQ(s.depthIncrement, 0.025f);
    EXPECT_FLOAT_EQ(s.depth[1], 0.5f);
    EXPECT_EQ(win.text("txtDepth_1"), "0.500");
}

TEST(DepthIncrementPanel, DecreaseLooksAtTheAcceptedIncrement) {
    OpenedWindow win;
    const Sounding& s = win.form->sounding();
    const std::vector<float> before = depths(s);
    win.form->action("mnuDepthIncrement")->trigger();
    QStringList shown;
    for (int i = 0; i < 4; ++i) {
        clickOn(button(win, "Command10"));
        shown << win.text("txtNewIncrement");
    }
    // The accepted 0.02 stays above 0.005, so the steps go on down to 0.
    EXPECT_EQ(shown, (QStringList{"0.015", "0.010", "0.005", "-0.000"}));
    clickOn(button(win, "cmdOK"));
    ASSERT_EQ(win.messages->texts.size(), 1u);
    EXPECT_EQ(win.messages->texts[0], "The new increment must be greater than 0. The depths were not changed.");
    EXPECT_TRUE(win.form->panelFrame("frmDepthIncrement")->isVisible());
    EXPECT_FLOAT_EQ(s.depthIncrement, 0.02f);
    EXPECT_EQ(depths(s), before);
}

TEST(DepthIncrementPanel, ANonNumberIsRefusedAndCancelKeepsTheIncrement) {
    OpenedWindow win;
    const Sounding& s = win.form->sounding();
    const std::vector<float> before = depths(s);
    QGroupBox* frame = win.form->panelFrame("frmDepthIncrement");
    win.form->action("mnuDepthIncrement")->trigger();
    typeInto(win.cell("txtNewIncrement"), "five");
    clickOn(button(win, "cmdOK"));
    ASSERT_EQ(win.messages->texts.size(), 1u);
    EXPECT_NE(win.messages->texts[0].find("\"five\" is not a number"), std::string::npos);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(depths(s), before);

    clickOn(button(win, "Command9"));
    clickOn(button(win, "Command11"));
    EXPECT_FALSE(frame->isVisible());
    EXPECT_FLOAT_EQ(s.depthIncrement, 0.02f);
    EXPECT_EQ(depths(s), before);
    // Opening again starts from the accepted increment.
    win.form->action("mnuDepthIncrement")->trigger();
    EXPECT_EQ(win.text("txtNewIncrement"), "0.020");
    clickOn(button(win, "Command9"));
    EXPECT_EQ(win.text("txtNewIncrement"), "0.025");
}

// -------------------------------------------------------------- Depth format

TEST(DepthFormatCommands, ElevationNegatesTheDepthsAndDepthRestoresThem) {
    OpenedWindow win;
    const Sounding& s = win.form->sounding();
    const std::vector<float> before = depths(s);
    QAction* depth = win.form->action("mnuDepth");
    QAction* elevation = win.form->action("mnuElevation");
    EXPECT_TRUE(depth->isChecked());
    EXPECT_FALSE(elevation->isChecked());

    elevation->trigger();
    EXPECT_FALSE(depth->isChecked());
    EXPECT_TRUE(elevation->isChecked());
    EXPECT_EQ(label(win, "lblDepthLabel")->text(), "ELEVATION");
    EXPECT_EQ(s.depthFormat, 1);
    EXPECT_FLOAT_EQ(s.depth[1], -0.02f);
    EXPECT_EQ(win.text("txtDepth_1"), "-0.020");

    // Chosen again, the format in force keeps its mark and its values.
    elevation->trigger();
    EXPECT_TRUE(elevation->isChecked());
    EXPECT_FALSE(depth->isChecked());
    EXPECT_FLOAT_EQ(s.depth[1], -0.02f);

    depth->trigger();
    EXPECT_TRUE(depth->isChecked());
    EXPECT_FALSE(elevation->isChecked());
    EXPECT_EQ(label(win, "lblDepthLabel")->text(), "DEPTH");
    EXPECT_EQ(depths(s), before);
    EXPECT_EQ(win.text("txtDepth_1"), "0.020");
    depth->trigger();
    EXPECT_TRUE(depth->isChecked());
    EXPECT_EQ(depths(s), before);
    EXPECT_TRUE(win.messages->texts.empty());
}

TEST(DepthFormatCommands, TheDepthUnitStillApplies) {
    OpenedWindow win;
    QComboBox* units = win.w<QComboBox>("cmbDepthUnits_1");
    units->setCurrentIndex(1);
    emit units->activated(1);
    ASSERT_EQ(win.text("txtDepth_1"), "0.066");
    win.form->action("mnuElevation")->trigger();
    EXPECT_EQ(win.text("txtDepth_1"), "-0.066");
}

TEST(DepthFormatCommands, SwitchingClosesAnOpenStartPanel) {
    OpenedWindow win;
    QGroupBox* frame = win.form->panelFrame("frmChangeStartDepth");
    win.form->action("menuStartDepth")->trigger();
    win.form->action("mnuDepth")->trigger();
    EXPECT_TRUE(frame->isVisible());
    // Its shown 0.02 is no longer the first value after the switch.
    win.form->action("mnuElevation")->trigger();
    EXPECT_FALSE(frame->isVisible());
    EXPECT_FLOAT_EQ(win.form->sounding().depth[1], -0.02f);
}

TEST(DepthFormatCommands, WithoutASoundingNothingIsMarked) {
    Window win;
    win.form->action("mnuElevation")->trigger();
    EXPECT_FALSE(win.form->action("mnuElevation")->isChecked());
    EXPECT_FALSE(win.form->action("mnuDepth")->isChecked());
    EXPECT_TRUE(win.messages->texts.empty());
}

// ------------------------------------------------------------- Screenshots

// Not a check: with QM_SHOTS_DIR set to a folder, draws the window over a
// sample (sample-older.cpt, or the one named by QM_SHOTS_SAMPLE) with each
// correction panel open (shift.png, startdepth.png, increment.png).
TEST(CorrectionPanelShots, DrawEachPanelOverASample) {
    const char* folder = std::getenv("QM_SHOTS_DIR");
    if (!folder || !*folder) GTEST_SKIP() << "set QM_SHOTS_DIR to a folder to draw the panels";
    const char* sample = std::getenv("QM_SHOTS_SAMPLE");
    Window win;
    win.open(samplesDir() + "/" + (sample && *sample ? sample : "sample-older.cpt"));
    win.form->resize(1366, 740);
    const QString dir = QString::fromLocal8Bit(folder);
    const std::pair<const char*, const char*> shots[] = {{"mnuShiftBaseline", "shift.png"},
                                                         {"menuStartDepth", "startdepth.png"},
                                                         {"mnuDepthIncrement", "increment.png"}};
    for (const auto& [command, file] : shots) {
        win.form->action(command)->trigger();
        QApplication::processEvents();
        ASSERT_TRUE(win.form->grab().save(dir + "/" + file)) << file;
    }
}

}  // namespace
}  // namespace qm::test
