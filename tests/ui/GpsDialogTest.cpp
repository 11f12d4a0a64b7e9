// The GPS position: the main window's GPS boxes after a load, and the
// dialog frmEnterGPS opened by EDIT GPS DATA, driven through its widgets.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QWindow>

#include "ui/UiTestSupport.h"

namespace qm::test {
namespace {

constexpr const char* kLoadedSentence = "GGA,212009.000,4733.1167,N,12220.3412,W,2,10,0.9,18.6,M,-22.9,M,,0000*00";
constexpr const char* kNoPositionMessage =
    "Latitude and/or longitude values have not been specified. GPS data will not be saved";

// The GPS dialogs that exist, shown or not.
QList<QDialog*> gpsDialogs() {
    QList<QDialog*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "frmEnterGPS")
            if (auto* d = qobject_cast<QDialog*>(w)) found << d;
    return found;
}

// A window with a sounding whose line 12 is `gps`, and the dialog opened by
// a click on EDIT GPS DATA.
struct GpsFixture {
    explicit GpsFixture(std::string gps = kLoadedSentence) {
        SoundingText text;
        text.gps = std::move(gps);
        path = text.writeTo(dir, "gps.cpt");
        win.open(path);
    }

    QDialog* openDialog() {
        clickOn(win.w<QPushButton>("cmdEditGPS"));
        const QList<QDialog*> dialogs = gpsDialogs();
        return dialogs.size() == 1 ? dialogs.front() : nullptr;
    }

    template <typename T = QWidget>
    T* in(const char* name) const {
        const QList<QDialog*> dialogs = gpsDialogs();
        return dialogs.isEmpty() ? nullptr : dialogs.front()->findChild<T*>(name);
    }
    QLineEdit* box(const char* name) const { return in<QLineEdit>(name); }
    QComboBox* list(const char* name) const { return in<QComboBox>(name); }
    QString built() const { return in<QLabel>("lblGPSString")->text(); }
    void press(const char* button) const { clickOn(in<QPushButton>(button)); }
    // Every box of the open dialog, as "GGA,123519.000,4807.0380,N,01131.0000,E,1,8,0.9,545.4,M,46.9,M,,0000*00".
    void typeFullPosition() const {
        typeInto(box("txtTime"), "123519");
        typeInto(box("txtLatitude"), "4807.038");
        typeInto(box("txtLongitude"), "1131");
        typeInto(box("txtPositionFix"), "1");
        list("cmbNumberOfSatellites")->setCurrentIndex(8);
        typeInto(box("txtHDOP"), "0.9");
        typeInto(box("txtAltitude"), "545.4");
        typeInto(box("txtGeoid"), "46.9");
    }

    // The main window's three boxes, joined for one comparison.
    QString mainBoxes() const { return win.text("txtGPSLat") + "|" + win.text("txtGPSLon") + "|" + win.text("txtGPSAlt"); }
    const std::string& stored() const { return win.form->sounding().gpsSentence; }

    TempDir dir;
    std::string path;
    Window win;
};

TEST(GpsDialog, TheLoadShowsTheGpsBoxes) {
    {
        GpsFixture f;
        EXPECT_EQ(f.mainBoxes(), "4733.1167N|12220.3412W|18.6m");
        EXPECT_TRUE(f.win.w<QPushButton>("cmdEditGPS")->isEnabled());
    }
    {
        // No sentence at all: only the altitude's unit shows.
        GpsFixture f("");
        EXPECT_EQ(f.mainBoxes(), "||m");
    }
    {
        // Any other text is kept as it is and not split.
        GpsFixture f("NO FIX, 12, 34");
        EXPECT_EQ(f.mainBoxes(), "||m");
        EXPECT_EQ(f.stored(), "NO FIX, 12, 34");
    }
    {
        // A receiver's own sentence, any letter case, decodes as well.
        GpsFixture f("$gpgga,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47");
        EXPECT_EQ(f.mainBoxes(), "4807.038N|01131.000E|545.4m");
    }
}

TEST(GpsDialog, ControlsTextsAndTheLoadedPosition) {
    GpsFixture f;
    QDialog* d = f.openDialog();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->windowTitle(), "Enter GPS Data");

    // Every control with its label.
    const std::vector<std::pair<const char*, QString>> labelled = {
        {"txtTime", "UTC TIME (hhmmss.sss)"},
        {"txtLatitude", "LATITUDE (ddmm.mmmm)"},
        {"cmbNS", "N/S"},
        {"txtLongitude", "LONGITUDE (dddmm.mmmm)"},
        {"cmbEW", "E/W"},
        {"txtPositionFix", "POSITION FIX"},
        {"cmbNumberOfSatellites", "NUMBER OF SATELLITES (0-24)"},
        {"txtHDOP", "HDOP  (00.0 - 99.9)"},
        {"txtAltitude", "ALTITUDE (xxxx.x)"},
        {"txtGeoid", "GEOID SEPARATION (-9999.9 - 17999.9)"},
    };
    const QList<QLabel*> labels = d->findChildren<QLabel*>();
    for (const auto& [name, caption] : labelled) {
        QWidget* control = f.in(name);
        ASSERT_NE(control, nullptr) << name;
        QStringList captions;
        for (QLabel* l : labels)
            if (l->buddy() == control) captions << l->text();
        EXPECT_EQ(captions, QStringList{caption}) << name;
    }
    QStringList texts;
    for (QLabel* l : labels) texts << l->text();
    EXPECT_TRUE(texts.contains(
        "ENTER GPS DATA. LATITUDE, LONGITUDE AND ALTITUDE VALUES ARE REQUIRED. OTHER VALUES ARE NOT REQUIRED AND "
        "WILL BE FILLED WITH DEFAULT VALUES IF NOT SPECIFIED.  NOTE: LEADING ZEROS ARE NOT REQUIRED."));
    EXPECT_TRUE(texts.contains("GPS STRING:"));
    EXPECT_EQ(texts.count("(m)"), 2);
    EXPECT_EQ(f.in<QPushButton>("cmdOK")->text(), "OK");
    EXPECT_EQ(f.in<QPushButton>("cmdCancel")->text(), "CANCEL");
    EXPECT_EQ(f.in<QPushButton>("cmdClearGPS")->text(), "CLEAR GPS");

    // The lists.
    auto items = [](QComboBox* c) {
        QStringList out;
        for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
        return out;
    };
    EXPECT_EQ(items(f.list("cmbNS")), (QStringList{"N", "S"}));
    EXPECT_EQ(items(f.list("cmbEW")), (QStringList{"E", "W"}));
    QStringList satellites;
    for (int i = 0; i <= 24; ++i) satellites << QString::number(i);
    EXPECT_EQ(items(f.list("cmbNumberOfSatellites")), satellites);

    // The decoded fields, and the sentence rebuilt from them unchanged.
    EXPECT_EQ(f.box("txtTime")->text(), "212009.000");
    EXPECT_EQ(f.box("txtLatitude")->text(), "4733.1167");
    EXPECT_EQ(f.list("cmbNS")->currentText(), "N");
    EXPECT_EQ(f.box("txtLongitude")->text(), "12220.3412");
    EXPECT_EQ(f.list("cmbEW")->currentText(), "W");
    EXPECT_EQ(f.box("txtPositionFix")->text(), "2");
    EXPECT_EQ(f.list("cmbNumberOfSatellites")->currentText(), "10");
    EXPECT_EQ(f.box("txtHDOP")->text(), "0.9");
    EXPECT_EQ(f.box("txtAltitude")->text(), "18.6");
    EXPECT_EQ(f.box("txtGeoid")->text(), "-22.9");
    EXPECT_EQ(f.built(), kLoadedSentence);
}

TEST(GpsDialog, TheMainWindowIsDisabledWhileTheDialogIsOpen) {
    GpsFixture f;
    QDialog* d = f.openDialog();
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(f.win.form->isEnabled());
    EXPECT_TRUE(d->isEnabled());
    EXPECT_TRUE(f.in<QPushButton>("cmdOK")->isEnabled());
    ASSERT_NE(d->windowHandle(), nullptr);
    EXPECT_EQ(d->windowHandle()->transientParent(), f.win.form->windowHandle());

    // Each way out gives the window back: OK, CANCEL, and Escape (the
    // window's close button goes the same way).
    f.press("cmdOK");
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(f.win.form->isEnabled());

    d = f.openDialog();
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(f.win.form->isEnabled());
    f.press("cmdCancel");
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(f.win.form->isEnabled());

    d = f.openDialog();
    ASSERT_NE(d, nullptr);
    sendKey(f.box("txtTime"), Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(f.win.form->isEnabled());

    d = f.openDialog();
    ASSERT_NE(d, nullptr);
    d->close();
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(f.win.form->isEnabled());
    // Each opening made a fresh dialog in place of the last.
    EXPECT_EQ(gpsDialogs().size(), 1);
}

TEST(GpsDialog, OkBuildsAndStoresTheSentence) {
    GpsFixture f("");
    ASSERT_NE(f.openDialog(), nullptr);
    // Opening without a position: empty boxes, "N", "E" and 0 satellites.
    for (const char* name : {"txtTime", "txtLatitude", "txtLongitude", "txtPositionFix", "txtHDOP", "txtAltitude",
                             "txtGeoid"})
        EXPECT_EQ(f.box(name)->text(), "") << name;
    EXPECT_EQ(f.list("cmbNS")->currentText(), "N");
    EXPECT_EQ(f.list("cmbEW")->currentText(), "E");
    EXPECT_EQ(f.list("cmbNumberOfSatellites")->currentText(), "0");
    EXPECT_EQ(f.built(), "GGA,000000.000,0000.0000,N,00000.0000,E,0,0,0.0,0.0,M,0.0,M,,0000*00");

    f.typeFullPosition();
    const QString expected = "GGA,123519.000,4807.0380,N,01131.0000,E,1,8,0.9,545.4,M,46.9,M,,0000*00";
    EXPECT_EQ(f.built(), expected);
    // Nothing is stored before OK.
    EXPECT_EQ(f.stored(), "");
    EXPECT_EQ(f.mainBoxes(), "||m");

    f.press("cmdOK");
    EXPECT_TRUE(f.win.messages->texts.empty());
    EXPECT_EQ(QString::fromStdString(f.stored()), expected);
    EXPECT_EQ(f.mainBoxes(), "4807.0380N|01131.0000E|545.4m");

    // The next opening shows what OK decoded.
    ASSERT_NE(f.openDialog(), nullptr);
    EXPECT_EQ(f.box("txtLatitude")->text(), "4807.0380");
    EXPECT_EQ(f.list("cmbNumberOfSatellites")->currentText(), "8");
    EXPECT_EQ(f.built(), expected);
}

TEST(GpsDialog, OkWithOnlyThePositionAndWithSignedValues) {
    GpsFixture f("");
    ASSERT_NE(f.openDialog(), nullptr);
    typeInto(f.box("txtLatitude"), "4807.038");
    typeInto(f.box("txtLongitude"), "1131");
    f.press("cmdOK");
    EXPECT_EQ(f.stored(), "GGA,000000.000,4807.0380,N,01131.0000,E,0,0,0.0,0.0,M,0.0,M,,0000*00");
    EXPECT_EQ(f.mainBoxes(), "4807.0380N|01131.0000E|0.0m");

    // Minus signs stay; "S" and "W"; numbers read up to the first stray
    // character, with "." as the decimal point.
    ASSERT_NE(f.openDialog(), nullptr);
    f.list("cmbNS")->setCurrentIndex(1);
    f.list("cmbEW")->setCurrentIndex(1);
    typeInto(f.box("txtAltitude"), "-3");
    typeInto(f.box("txtGeoid"), " -12.5 m");
    typeInto(f.box("txtHDOP"), "1,5");
    f.press("cmdOK");
    EXPECT_EQ(f.stored(), "GGA,000000.000,4807.0380,S,01131.0000,W,0,0,1.0,-3.0,M,-12.5,M,,0000*00");
    EXPECT_EQ(f.mainBoxes(), "4807.0380S|01131.0000W|-3.0m");
}

TEST(GpsDialog, EditingThePositionFixRebuildsTheSentence) {
    GpsFixture f;
    ASSERT_NE(f.openDialog(), nullptr);
    typeInto(f.box("txtPositionFix"), "1");
    EXPECT_EQ(f.built(), "GGA,212009.000,4733.1167,N,12220.3412,W,1,10,0.9,18.6,M,-22.9,M,,0000*00");
    f.press("cmdOK");
    EXPECT_EQ(f.stored(), "GGA,212009.000,4733.1167,N,12220.3412,W,1,10,0.9,18.6,M,-22.9,M,,0000*00");
}

TEST(GpsDialog, DecodedFieldsTheListsCannotShow) {
    // "s" is not "S", and 30 satellites name no list item: the dialog opens
    // on "N" and no satellite item, and its sentence leaves the count empty
    // until one is picked.
    GpsFixture f("GGA,010203.000,1234.5000,s,00012.0000,w,1,30,1.2,5.0,M,0.0,M,,0000*00");
    ASSERT_NE(f.openDialog(), nullptr);
    EXPECT_EQ(f.list("cmbNS")->currentText(), "N");
    EXPECT_EQ(f.list("cmbEW")->currentText(), "E");
    EXPECT_EQ(f.list("cmbNumberOfSatellites")->currentIndex(), -1);
    EXPECT_EQ(f.built(), "GGA,010203.000,1234.5000,N,00012.0000,E,1,,1.2,5.0,M,0.0,M,,0000*00");
    f.list("cmbNumberOfSatellites")->setCurrentIndex(24);
    EXPECT_EQ(f.built(), "GGA,010203.000,1234.5000,N,00012.0000,E,1,24,1.2,5.0,M,0.0,M,,0000*00");
}

TEST(GpsDialog, OkRefusals) {
    {
        // Without a latitude: a message, nothing stored, the boxes emptied,
        // the dialog closed.
        GpsFixture f;
        QDialog* d = f.openDialog();
        ASSERT_NE(d, nullptr);
        typeInto(f.box("txtLatitude"), "abc");
        f.press("cmdOK");
        EXPECT_EQ(f.win.messages->texts, std::vector<std::string>{kNoPositionMessage});
        EXPECT_EQ(f.stored(), "");
        EXPECT_EQ(f.mainBoxes(), "||");
        EXPECT_FALSE(d->isVisible());
        EXPECT_TRUE(f.win.form->isEnabled());
        // The fields kept the last decoded position for the next opening.
        ASSERT_NE(f.openDialog(), nullptr);
        EXPECT_EQ(f.box("txtLatitude")->text(), "4733.1167");
    }
    {
        // A longitude of exactly 0 counts as missing too.
        GpsFixture f;
        ASSERT_NE(f.openDialog(), nullptr);
        typeInto(f.box("txtLongitude"), "0.000");
        f.press("cmdOK");
        EXPECT_EQ(f.win.messages->texts, std::vector<std::string>{kNoPositionMessage});
        EXPECT_EQ(f.stored(), "");
    }
    {
        // Without a hemisphere the dialog stays open and nothing changes.
        GpsFixture f;
        QDialog* d = f.openDialog();
        ASSERT_NE(d, nullptr);
        typeInto(f.box("txtAltitude"), "20");
        f.list("cmbNS")->setCurrentIndex(-1);
        f.list("cmbEW")->setCurrentIndex(-1);
        f.press("cmdOK");
        f.list("cmbNS")->setCurrentIndex(0);
        f.press("cmdOK");
        EXPECT_EQ(f.win.messages->texts,
                  (std::vector<std::string>{"North / South must be specified.", "East / West must be specified."}));
        EXPECT_TRUE(d->isVisible());
        EXPECT_FALSE(f.win.form->isEnabled());
        EXPECT_EQ(f.stored(), kLoadedSentence);
        EXPECT_EQ(f.mainBoxes(), "4733.1167N|12220.3412W|18.6m");
        // Once chosen, OK goes through.
        f.list("cmbEW")->setCurrentIndex(0);
        f.press("cmdOK");
        EXPECT_EQ(f.stored(), "GGA,212009.000,4733.1167,N,12220.3412,E,2,10,0.9,20.0,M,-22.9,M,,0000*00");
        EXPECT_FALSE(d->isVisible());
    }
}

TEST(GpsDialog, CancelChangesNothing) {
    GpsFixture f;
    ASSERT_NE(f.openDialog(), nullptr);
    typeInto(f.box("txtLatitude"), "1111.1");
    f.list("cmbNS")->setCurrentIndex(1);
    f.press("cmdCancel");
    EXPECT_TRUE(f.win.messages->texts.empty());
    EXPECT_EQ(f.stored(), kLoadedSentence);
    EXPECT_EQ(f.mainBoxes(), "4733.1167N|12220.3412W|18.6m");
    // The next opening starts again from the fields.
    ASSERT_NE(f.openDialog(), nullptr);
    EXPECT_EQ(f.box("txtLatitude")->text(), "4733.1167");
    EXPECT_EQ(f.list("cmbNS")->currentText(), "N");
}

TEST(GpsDialog, ClearGps) {
    GpsFixture f;
    QDialog* d = f.openDialog();
    ASSERT_NE(d, nullptr);
    f.press("cmdClearGPS");
    // At once: the stored sentence, every box and every list selection.
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(f.stored(), "");
    for (const char* name : {"txtTime", "txtLatitude", "txtLongitude", "txtPositionFix", "txtHDOP", "txtAltitude",
                             "txtGeoid"})
        EXPECT_EQ(f.box(name)->text(), "") << name;
    for (const char* name : {"cmbNS", "cmbEW", "cmbNumberOfSatellites"})
        EXPECT_EQ(f.list(name)->currentIndex(), -1) << name;
    EXPECT_EQ(f.built(), "GGA,000000.000,0000.0000,,00000.0000,,0,,0.0,0.0,M,0.0,M,,0000*00");
    // The main window's boxes wait for an OK.
    EXPECT_EQ(f.mainBoxes(), "4733.1167N|12220.3412W|18.6m");

    // CANCEL does not bring the sentence back; the next opening is empty.
    f.press("cmdCancel");
    EXPECT_EQ(f.stored(), "");
    EXPECT_TRUE(f.win.form->isEnabled());
    ASSERT_NE(f.openDialog(), nullptr);
    EXPECT_EQ(f.box("txtLatitude")->text(), "");
    EXPECT_EQ(f.list("cmbNS")->currentText(), "N");
    EXPECT_EQ(f.list("cmbNumberOfSatellites")->currentText(), "0");

    // CLEAR GPS then OK: no position, and the boxes are emptied.
    f.press("cmdClearGPS");
    f.press("cmdOK");
    EXPECT_EQ(f.win.messages->texts, std::vector<std::string>{kNoPositionMessage});
    EXPECT_EQ(f.stored(), "");
    EXPECT_EQ(f.mainBoxes(), "||");
}

// Line 12 of the file saved by File > Save.
std::string savedGpsLine(GpsFixture& f, const std::string& name) {
    const std::string out = f.dir.file(name);
    f.win.files->answers.push_back(out);
    f.win.form->menuFileSaveClick();
    const std::vector<std::string> lines = splitLines(readFile(out));
    return lines.size() > 11 ? lines[11] : "(no line 12)";
}

TEST(GpsDialog, TheSentenceIsSavedWithTheSounding) {
    {
        GpsFixture f("");
        ASSERT_NE(f.openDialog(), nullptr);
        f.typeFullPosition();
        f.press("cmdOK");
        EXPECT_EQ(savedGpsLine(f, "set.cpt"), "GGA,123519.000,4807.0380,N,01131.0000,E,1,8,0.9,545.4,M,46.9,M,,0000*00");
        EXPECT_EQ(f.win.runsEnded, 1);
    }
    {
        // Cleared: line 12 is empty, and the line after it is still the
        // water table depth.
        GpsFixture f;
        ASSERT_NE(f.openDialog(), nullptr);
        f.press("cmdClearGPS");
        f.press("cmdCancel");
        EXPECT_EQ(savedGpsLine(f, "cleared.cpt"), "");
        EXPECT_EQ(splitLines(readFile(f.dir.file("cleared.cpt")))[12], "1.85");
    }
}

}  // namespace
}  // namespace qm::test
