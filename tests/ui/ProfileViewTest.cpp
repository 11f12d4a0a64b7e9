// The profile beside the page, through the window: where its cursor line and
// band stand after every way of moving, a click on it, and that it draws its
// tracks again after every change of the sounding and only then.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <functional>

#include "support/SoundingFileBuilder.h"
#include "ui/ProfileView.h"
#include "ui/UiTestSupport.h"

namespace qm::uitest {
namespace {

// A two-channel sounding of `n` readings at 2 cm, tip 100 + r and sleeve 200 + r.
std::string soundingOf(int n) {
    test::SoundingFileBuilder b(true);
    const char* header[] = {"Co", "Op", "CN-1", "Loc", "Job", "Hole", "2021-07-02 14:20", "Header", "Foot 1", "Foot 2"};
    for (int i = 0; i < 10; ++i) b.headerLine(i + 2, header[i]);
    b.headerLine(12, "GGA,212009.000,4733.1167,N,12220.3412,W,2,10,0.9,18.6,M,-22.9,M,,0000*00").headerLine(13, "1.85");
    b.channel({"1", "TIP RESISTANCE", "1", "0.00000", "1 KPA", "KPA", "1"});
    b.channel({"2", "SLEEVE FRICTION", "1", "0.00000", "1 KPA", "KPA", "1"});
    for (int r = 1; r <= n; ++r) b.row(0.02 * r, 2.0, {100.0 + r, 200.0 + r});
    return b.text();
}

struct ProfileWindow : Window {
    explicit ProfileWindow(int readings = 200) {
        form->resize(1920, 1080);
        writeFile(dir.file("profile.cpt"), soundingOf(readings));
        open(dir.file("profile.cpt"));
        view = w<ui::ProfileView>("profileView");
        EXPECT_TRUE(view && view->isVisibleTo(form.get()));
        view->drawTracksIfStale();
    }
    const Sounding& s() const { return form->sounding(); }
    QLineEdit* depthCell(int row) const { return w<QLineEdit>(QString("txtDepth_%1").arg(row)); }
    QLineEdit* focusCell() const {
        auto* c = qobject_cast<QLineEdit*>(form->focusWidget());
        return c ? c : depthCell(s().pageRow);
    }
    void wheel(QWidget* target, int notches, Qt::KeyboardModifiers mods = Qt::NoModifier, QPointF at = {5, 5}) {
        QWheelEvent e(at, target->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, mods,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &e);
    }
    void clickProfileAt(double axisValue) {
        const QPointF at(view->geometry().tracks[0].center().x(), view->geometry().yOf(axisValue));
        QMouseEvent press(QEvent::MouseButtonPress, at, view->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(view, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, view->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(view, &release);
    }
    TempDir dir;
    ui::ProfileView* view = nullptr;
};

void keyWith(QWidget* w, int qtKey, Qt::KeyboardModifiers mods) {
    QKeyEvent press(QEvent::KeyPress, qtKey, mods);
    QApplication::sendEvent(w, &press);
}

TEST(ProfileView, CursorLineAndBandFollowEveryMoveWithoutDrawingTheTracksAgain) {
    ProfileWindow win;
    const int drawings = win.view->trackDrawings();
    const struct {
        const char* what;
        std::function<void()> act;
        int32_t index;
    } moves[] = {
        {"Down", [&] { sendKey(win.focusCell(), Qt::Key_Down); }, 2},
        {"Page Down", [&] { sendKey(win.focusCell(), Qt::Key_PageDown); }, 26},
        {"Page Down", [&] { sendKey(win.focusCell(), Qt::Key_PageDown); }, 50},
        {"Up", [&] { sendKey(win.focusCell(), Qt::Key_Up); }, 49},
        {"Page Up", [&] { sendKey(win.focusCell(), Qt::Key_PageUp); }, 25},
        {"Ctrl+End", [&] { keyWith(win.focusCell(), Qt::Key_End, Qt::ControlModifier); }, 200},
        {"wheel up", [&] { win.wheel(win.depthCell(3), 2); }, 194},
        {"Ctrl+Home", [&] { keyWith(win.focusCell(), Qt::Key_Home, Qt::ControlModifier); }, 1},
        {"wheel over the profile", [&] { win.wheel(win.view, -1); }, 4},
        {"scroll bar", [&] { win.w<QScrollBar>("pageScrollBar")->setValue(101); }, 101},
        {"Go to Depth", [&] {
             win.messages->typed.push_back("1.50");
             win.form->action("mnuGoToDepth")->trigger();
         }, 75},
        {"a click on the profile", [&] { win.clickProfileAt(0.6); }, 30},
    };
    for (const auto& m : moves) {
        m.act();
        const Sounding& s = win.s();
        EXPECT_EQ(s.dataIndex, m.index) << m.what;
        const int32_t top = s.dataIndex - s.pageRow + 1;
        EXPECT_EQ(win.view->cursorReading(), s.dataIndex) << m.what;
        EXPECT_EQ(win.view->bandFirst(), top) << m.what;
        EXPECT_EQ(win.view->bandLast(), std::min(top + 23, s.readingCount)) << m.what;
        // The line lies at the current reading's depth.
        const double y = win.view->geometry().yOf(0.02 * s.dataIndex);
        EXPECT_NEAR(win.view->cursorY(), y, 0.01) << m.what;
        EXPECT_EQ(win.w<QScrollBar>("pageScrollBar")->value(), top) << m.what;
        EXPECT_EQ(win.w<QLabel>("lblDataIndex")->text(), QString("Data Index:  %1").arg(s.dataIndex)) << m.what;
        win.view->drawTracksIfStale();
        EXPECT_EQ(win.view->trackDrawings(), drawings) << m.what;
    }
    EXPECT_TRUE(win.messages->texts == std::vector<std::string>{"Go to depth (m):"});
    // A text that is no number moves nothing.
    win.messages->typed.push_back("abc");
    win.form->action("mnuGoToDepth")->trigger();
    EXPECT_EQ(win.messages->texts.back(), "\"abc\" is not a depth. Please type a number of metres, for example 12.50.");
    EXPECT_EQ(win.s().dataIndex, 30);
}

TEST(ProfileView, AClickCommitsATypedValueFirstAndZoomKeepsThePointer) {
    ProfileWindow win;
    QLineEdit* typed = win.w<QLineEdit>("txtChannel1_5");
    clickOn(typed);
    typeInto(typed, "777");
    win.clickProfileAt(3.0);
    EXPECT_EQ(win.s().value(1, 5), 777.0f);
    EXPECT_EQ(win.s().dataIndex, 150);
    win.view->drawTracksIfStale();
    EXPECT_EQ(win.view->profile()->tracks[0].series[0].values[5], 777.0f);
    // That commit is a step of the history like any other.
    win.form->action("mnuUndo")->trigger();
    EXPECT_EQ(win.s().value(1, 5), 105.0f);
    win.form->action("mnuRedo")->trigger();
    EXPECT_EQ(win.s().value(1, 5), 777.0f);
    // A refused text: its message, and the cursor stays.
    clickOn(win.w<QLineEdit>("txtChannel1_6"));
    typeInto(win.w<QLineEdit>("txtChannel1_6"), "x1");
    win.clickProfileAt(1.0);
    EXPECT_EQ(win.messages->texts, std::vector<std::string>{"Invalid Text Entry"});
    EXPECT_EQ(win.s().dataIndex, 150);

    // Ctrl + wheel zooms around the pointer; a double click shows all.
    const double at = 2.0;
    const QPointF pointer(20, win.view->geometry().yOf(at));
    win.wheel(win.view, 3, Qt::ControlModifier, pointer);
    win.view->drawTracksIfStale();
    EXPECT_LT(win.view->windowBottom() - win.view->windowTop(), 4.1 * 0.6);
    EXPECT_NEAR(win.view->geometry().yOf(at), pointer.y(), 0.5);
    win.form->action("mnuFitWholeSounding")->trigger();
    EXPECT_GT(win.view->windowBottom() - win.view->windowTop(), 3.99);
}

TEST(ProfileView, DrawsTheTracksAgainAfterEveryChangeOfTheSounding) {
    TempDir other;
    const std::string second = other.file("second.cpt");
    writeFile(second, soundingOf(30));
    ProfileWindow win;
    auto trigger = [&](const char* name) { win.form->action(name)->trigger(); };
    const struct {
        const char* what;
        std::function<void()> act;
    } commands[] = {
        {"a committed value", [&] {
             clickOn(win.w<QLineEdit>("txtChannel2_3"));
             typeInto(win.w<QLineEdit>("txtChannel2_3"), "5");
             sendKey(win.w<QLineEdit>("txtChannel2_3"), Qt::Key_Return);
         }},
        {"Insert", [&] { sendKey(win.depthCell(win.s().pageRow), Qt::Key_Insert); }},
        {"Delete", [&] { sendKey(win.depthCell(win.s().pageRow), Qt::Key_Delete); }},
        {"combine", [&] {
             win.files->answers.push_back(second);
             trigger("menuCombine");
             clickOn(win.w<QPushButton>("cmdCombineOK"));
         }},
        {"a channel unit", [&] { win.form->selectChannelUnit(1, 1); }},
        {"the depth unit", [&] {
             auto* box = win.w<QComboBox>("cmbDepthUnits_1");
             box->setCurrentIndex(1);
             emit box->activated(1);
         }},
        {"the depth digits", [&] { trigger("mnu2Digits"); }},
        {"the depth format", [&] { trigger("mnuElevation"); }},
        {"AutoClean", [&] { trigger("mnuAutoClean"); }},
        {"the water table", [&] { typeInto(win.w<QLineEdit>("txtWaterTableDepth"), "0.5"); }},
        {"an undo", [&] { trigger("mnuUndo"); }},
        {"a redo", [&] { trigger("mnuRedo"); }},
    };
    sendKey(win.depthCell(1), Qt::Key_PageDown);
    for (const auto& c : commands) {
        const int drawings = win.view->trackDrawings();
        c.act();
        win.view->drawTracksIfStale();
        EXPECT_EQ(win.view->trackDrawings(), drawings + 1) << c.what;
    }
    const ProfileData& p = *win.view->profile();
    EXPECT_TRUE(p.feet && p.elevation);
    EXPECT_EQ(p.readingCount, win.s().readingCount);
    EXPECT_EQ(p.tracks[2].kind, TrackKind::PorePressure);  // added by AutoClean
    EXPECT_EQ(p.tracks[2].hydrostatic.size(), 3u);
}

TEST(ProfileView, TenChannelsAt1366TakeTheHeaderColumnsPlaceOnlyWhenAsked) {
    Window win;
    win.form->resize(1366, 768);
    win.open(samplesDir() + "/sample-10ch.cpt");
    auto* view = win.w<ui::ProfileView>("profileView");
    QAction* profile = win.form->action("mnuProfile");
    EXPECT_FALSE(profile->isChecked());
    EXPECT_FALSE(view->isVisibleTo(win.form.get()));
    EXPECT_TRUE(win.w("headerArea")->isVisibleTo(win.form.get()));
    profile->trigger();
    EXPECT_TRUE(view->isVisibleTo(win.form.get()));
    EXPECT_EQ(view->parentWidget(), win.w("sideArea"));
    EXPECT_FALSE(win.w("headerArea")->isVisibleTo(win.form.get()));
    // The optional tracks are off until chosen.
    view->drawTracksIfStale();
    EXPECT_EQ(view->shownTracks().size(), 4u);
    win.form->action("mnuTrack_4")->trigger();
    EXPECT_EQ(view->shownTracks().size(), 5u);
    profile->trigger();
    EXPECT_TRUE(win.w("headerArea")->isVisibleTo(win.form.get()));
    EXPECT_FALSE(view->isVisibleTo(win.form.get()));
}

}  // namespace
}  // namespace qm::uitest
