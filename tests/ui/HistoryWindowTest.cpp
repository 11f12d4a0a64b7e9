// Undo and redo of every command that changes the sounding, through the
// window: each command is done, undone and redone, and the whole Sounding,
// the page model, the controls that show the sounding and the saved bytes
// are compared with the state before and after it.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <functional>

#include "model/SoundingWriter.h"
#include "support/SoundingCompare.h"
#include "ui/HeaderBoxes.h"
#include "ui/UiTestSupport.h"

namespace qm::uitest {
namespace {

// Everything an undo must give back, apart from the Sounding itself.
struct Shown {
    std::vector<std::string> page;  // cell texts, colours, labels, the page record
    std::vector<std::string> controls;
    std::string saved;
    bool operator==(const Shown&) const = default;
};

struct State {
    std::unique_ptr<Sounding> sounding;
    Shown shown;
};

std::string colour(Rgb c) { return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b); }

State stateOf(Window& win) {
    ui::MainForm& f = *win.form;
    State st{std::make_unique<Sounding>(f.sounding()), {}};
    ReadingsPage& page = f.page();
    for (int r = 1; r <= kPageRows; ++r)
        for (int c = 0; c < kPageColumns; ++c) {
            const PageCell& cell = page.cell(c, r);
            st.shown.page.push_back(cell.text + "|" + colour(cell.background) + "|" + colour(cell.textColor));
        }
    const PageView v = page.view();
    st.shown.page.push_back(page.dataIndexLabel() + page.numberOfReadingsLabel() + v.editOriginalText +
                            std::to_string(v.editColumn) + std::to_string(v.editRow) + std::to_string(v.rowSelectArmed));
    for (const char* name : {"mnuDepth", "mnuElevation", "mnu2Digits", "mnu3Digits"})
        st.shown.controls.push_back(std::to_string(f.action(name)->isChecked()));
    for (int c = 1; c <= kMaxChannels; ++c) {
        auto* units = win.w<QComboBox>(QStringLiteral("cmbChannelUnits_%1").arg(c));
        st.shown.controls.push_back(win.w<QLabel>(QStringLiteral("lblChannelLabel_%1").arg(c))->text().toStdString() +
                                    "|" + std::to_string(units->isVisibleTo(&f)) + units->currentText().toStdString() +
                                    std::to_string(units->count()) +
                                    std::to_string(!win.w<QLineEdit>(QStringLiteral("txtChannel%1_1").arg(c))->testAttribute(Qt::WA_ForceDisabled)));
    }
    for (const char* name : {"txtGPSLat", "txtGPSLon", "txtGPSAlt"}) st.shown.controls.push_back(f.boxText(name));
    st.shown.controls.push_back(win.w<QLabel>("lblDepthLabel")->text().toStdString());
    Sounding toSave(f.sounding());
    for (const ui::HeaderBox& h : ui::headerBoxes()) toSave.*(h.field) = f.boxText(h.objectName);
    st.shown.saved = soundingFileText(toSave, f.tables(), '.');
    return st;
}

// The first entry in which two lists differ.
std::string firstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const std::string x = i < a.size() ? a[i] : "(none)", y = i < b.size() ? b[i] : "(none)";
        if (x != y) return "entry " + std::to_string(i) + ": " + x + " / " + y;
    }
    return "";
}

void expectSame(const State& expected, Window& win, const char* when) {
    const State now = stateOf(win);
    EXPECT_EQ(test::soundingDifference(*expected.sounding, *now.sounding), "") << when;
    EXPECT_EQ(firstDifference(expected.shown.page, now.shown.page), "") << when;
    EXPECT_EQ(firstDifference(expected.shown.controls, now.shown.controls), "") << when;
    EXPECT_TRUE(expected.shown.saved == now.shown.saved) << when;
}

QDialog* gpsDialog() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "frmEnterGPS" && w->isVisible()) return qobject_cast<QDialog*>(w);
    return nullptr;
}

void press(QWidget* owner, const char* name) { owner->findChild<QPushButton*>(name)->click(); }

struct StepCase {
    const char* name;
    const char* sample;
    std::function<void(Window&)> prepare;  // moves and panels: no step
    std::function<void(Window&)> run;      // the command
    std::string undoCaption;
    // A typed value shows as typed until the page is next filled; a redo
    // fills it, so the value shows in the channel's pattern then.
    bool typedText = false;
};

using Act = std::function<void(Window&)>;
void none(Window&) {}
Act menu(const char* name) {
    return [name](Window& w) { w.form->action(name)->trigger(); };
}
// Types into a box of the open GPS dialog or of the window, then presses a button there.
Act typeAndPress(const char* box, const char* text, const char* button) {
    return [=](Window& w) {
        QWidget* owner = gpsDialog() ? static_cast<QWidget*>(gpsDialog()) : w.form.get();
        if (*box) typeInto(owner->findChild<QLineEdit*>(box), text);
        press(owner, button);
    };
}
// A key in the depth cell of the cursor row; Insert and Delete wait until it is 12 readings down.
Act depthKey(int key, int times = 1) {
    return [=](Window& w) {
        for (int i = 0; i < times; ++i)
            sendKey(w.w<QLineEdit>(QStringLiteral("txtDepth_%1").arg(w.form->sounding().pageRow)), key);
    };
}
void openGps(Window& w) { clickOn(w.w<QPushButton>("cmdEditGPS")); }

const std::vector<StepCase>& stepCases() {
    static const std::vector<StepCase> cases = {
        {"value", "sample-nopore.cpt", [](Window& w) { clickOn(w.w<QLineEdit>("txtChannel1_8")); },
         [](Window& w) {
             typeInto(w.w<QLineEdit>("txtChannel1_8"), "123.5");
             sendKey(w.w<QLineEdit>("txtChannel1_8"), Qt::Key_Down);
         },
         "&Undo Edit Value", true},
        {"insert", "sample-nopore.cpt", depthKey(Qt::Key_Down, 12), depthKey(Qt::Key_Insert), "&Undo Insert Reading"},
        {"delete", "sample-nopore.cpt", depthKey(Qt::Key_Down, 12), depthKey(Qt::Key_Delete), "&Undo Delete Reading"},
        {"auto-clean", "sample-nopore.cpt", none, menu("mnuAutoClean"), "&Undo AutoClean For Interp"},
        {"shift", "sample-10ch.cpt", menu("mnuShiftBaseline"), typeAndPress("txtShiftChannelByChan_2", "-0.5", "Command5"),
         "&Undo Shift Readings"},
        {"remove-negatives", "sample-10ch.cpt", menu("mnuShiftBaseline"), typeAndPress("", "", "Command7"),
         "&Undo Remove Negatives"},
        {"start-depth", "sample-older.cpt", menu("menuStartDepth"), typeAndPress("txtNewStartDepth", "1.5", "Command3"),
         "&Undo Start Depth"},
        {"increment", "sample-older.cpt", menu("mnuDepthIncrement"), typeAndPress("txtNewIncrement", "0.025", "cmdOK"),
         "&Undo Depth Increment"},
        {"elevation", "sample-older.cpt", none, menu("mnuElevation"), "&Undo Depth Format"},
        {"unit", "sample-older.cpt", none,
         [](Window& w) {
             auto* units = w.w<QComboBox>("cmbChannelUnits_1");
             units->setCurrentIndex(units->currentIndex() == 0 ? 1 : 0);
             w.form->cmbChannelUnitsClick(1);
         },
         "&Undo Channel Unit"},
        {"digits", "sample-older.cpt", none, menu("mnu3Digits"), "&Undo Depth Digits"},
        {"gps-ok", "sample-nopore.cpt", openGps, typeAndPress("txtLatitude", "4807.038", "cmdOK"), "&Undo GPS Position"},
        // No latitude: the sentence goes and the boxes are emptied.
        {"gps-no-position", "sample-nopore.cpt", openGps, typeAndPress("txtLatitude", "", "cmdOK"), "&Undo GPS Position"},
        {"clear-gps", "sample-nopore.cpt", openGps,
         [](Window& w) {
             typeAndPress("", "", "cmdClearGPS")(w);
             typeAndPress("", "", "cmdCancel")(w);
         },
         "&Undo CLEAR GPS"},
        {"combine", "sample-older.cpt",
         [](Window& w) {
             w.files->answers.push_back(samplesDir() + "/sample-older-push2.cpt");
             w.form->action("menuCombine")->trigger();
         },
         typeAndPress("", "", "cmdCombineOK"), "&Undo Combine"},
    };
    return cases;
}

class EveryStep : public ::testing::TestWithParam<std::size_t> {};

TEST_P(EveryStep, UndoGivesBackTheStateBeforeAndRedoTheStateAfter) {
    const StepCase& c = stepCases()[GetParam()];
    Window win;
    win.open(samplesDir() + "/" + c.sample);
    c.prepare(win);
    QAction* undo = win.form->action("mnuUndo");
    QAction* redo = win.form->action("mnuRedo");
    EXPECT_FALSE(undo->isEnabled());
    const State before = stateOf(win);
    c.run(win);
    if (c.typedText) win.form->refreshDisplay();
    const State after = stateOf(win);
    ASSERT_NE(test::soundingDifference(*before.sounding, *after.sounding), "") << "the command changed nothing";
    EXPECT_EQ(undo->text().toStdString(), c.undoCaption);

    undo->trigger();
    expectSame(before, win, "after undo");
    EXPECT_EQ(redo->text().toStdString(), "&Redo" + c.undoCaption.substr(5));
    win.form->undoClick();  // nothing left to undo
    expectSame(before, win, "after a second undo");
    EXPECT_EQ(undo->text(), "&Undo");
    EXPECT_FALSE(undo->isEnabled());

    redo->trigger();
    expectSame(after, win, "after redo");
    win.form->redoClick();  // nothing left to redo
    expectSame(after, win, "after a second redo");
    EXPECT_FALSE(redo->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Commands, EveryStep, ::testing::Range<std::size_t>(0, stepCases().size()),
                         [](const auto& info) {
                             std::string n = stepCases()[info.param].name;
                             for (char& ch : n)
                                 if (ch == '-') ch = '_';
                             return n;
                         });

TEST(HistoryWindow, UndoClosesTheOpenPanelAndTheListGoesToAnEntry) {
    Window win;
    win.open(samplesDir() + "/sample-older.cpt");
    const State opened = stateOf(win);
    win.form->action("mnu3Digits")->trigger();
    win.form->action("mnuElevation")->trigger();
    const State afterBoth = stateOf(win);
    win.form->action("menuStartDepth")->trigger();
    ASSERT_TRUE(win.w("frmChangeStartDepth")->isVisibleTo(win.form.get()));
    win.form->action("mnuUndo")->trigger();
    EXPECT_FALSE(win.w("frmChangeStartDepth")->isVisibleTo(win.form.get()));

    win.form->action("mnuHistoryList")->trigger();
    auto* list = win.form->findChild<QListWidget*>("lstHistory");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), "As opened: sample-older.cpt");
    EXPECT_EQ(list->item(2)->text(), "2. Depth format: Depth -> Elevation");
    emit list->itemClicked(list->item(0));
    expectSame(opened, win, "the list's first entry");
    emit list->itemClicked(list->item(2));
    expectSame(afterBoth, win, "the list's last entry");
}

}  // namespace
}  // namespace qm::uitest
