// Seeded random events on the main window, on every shipped sample, on a
// window without a sounding, and on a sounding near the reading capacity:
// page keys (also held down), typing into cells and boxes, clicks, menu
// commands, panel and dialog buttons and list picks, with scripted answers
// for the file dialogs and the Yes/No boxes. After each event the window is
// compared with the page model and the Sounding, and every file written is
// checked. QM_MONKEY_EVENTS sets the events per test, QM_MONKEY_SEED the
// seed; a failure prints both with the event number and the events before it.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <csignal>
#include <deque>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <unistd.h>

#include "model/LineFields.h"
#include "model/NumberText.h"
#include "model/SoundingReader.h"
#include "ui/ProfileView.h"
#include "ui/UiTestSupport.h"
#include "ui/WindowCheck.h"

namespace qm::monkey {
namespace {

namespace fs = std::filesystem;
using namespace uitest;

struct MonkeyRun {
    std::string name;       // names the run in reports; part of its seed
    std::string startFile;  // opened before the first event; empty: no sounding
    int commaDecimalMode = 0;
    int events = 600;       // QM_MONKEY_EVENTS when set
    std::uint64_t baseSeed = 1;  // QM_MONKEY_SEED when set
};

struct MonkeyOutcome {
    std::string failure;  // the broken rule with the seed, event number and events before it
    int eventsRun = 0, runsEnded = 0, soundingsLoaded = 0, messages = 0;
};


// The run's seed and last events, kept up to date before each event, so that
// a sanitizer's abort or a crash still tells how to replay it.
std::string crashTrace;
extern "C" void writeTraceAndDie(int signal) {
    (void)!write(2, crashTrace.data(), crashTrace.size());
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

const char* const kMenuItems[] = {"MenuFileOpen",     "mnuCopy",        "menuCombine",       "MenuFileSave",
                                  "MenuExport",       "mnuAutoClean",   "MenuFileExit",      "mnuShiftBaseline",
                                  "menuStartDepth",   "mnuDepthIncrement", "mnuDepth",       "mnuElevation",
                                  "mnu2Digits",       "mnu3Digits",     "mnuAbout",          "mnuExportCsv",
                                  "mnuExportGef",     "mnuExportAgs",   "mnuHistoryList",    "mnuSaveHistory",
                                  "mnuProfile",       "mnuFitWholeSounding", "mnuGoToDepth", "mnuExportLog",
                                  "mnuAgsTransfer",   "mnuInterpretation",
                                  // Undo and Redo weigh as much as the rest together.
                                  "mnuUndo", "mnuRedo", "mnuUndo", "mnuRedo", "mnuUndo", "mnuRedo", "mnuUndo", "mnuRedo"};

// The commands that write a file of their own, with its extension.
const std::map<std::string, const char*> kWriters = {
    {"mnuExportCsv", ".csv"}, {"mnuExportGef", ".gef"}, {"mnuExportAgs", ".ags"}, {"mnuSaveHistory", ".txt"},
    {"mnuExportLog", ".svg"}};

// A menu item the user can reach: it and every menu above it enabled.
bool reachable(QAction* a, int depth = 0) {
    if (!a || !a->isEnabled() || !a->isVisible() || depth > 6) return false;
    for (QObject* o : a->associatedObjects())
        if (auto* m = qobject_cast<QMenu*>(o); m && !reachable(m->menuAction(), depth + 1)) return false;
    return true;
}

class Monkey {
   public:
    explicit Monkey(const MonkeyRun& run) : run_(run), rng_(seed()) {
        for (const auto& e : fs::directory_iterator(samplesDir()))
            if (e.path().extension() == ".cpt") samples_[e.path().string()] = readFile(e.path().string());
        // Files the open and combine dialogs may pick besides the samples.
        std::string noise;
        for (int i = 0; i < 3000; ++i) noise += char(uniform(0, 255));
        const std::string& sample = samples_.begin()->second;
        std::string bent = sample.substr(0, sample.size() / 2) + "x" + sample.substr(sample.size() / 2 + 1);
        for (const auto& [name, bytes] : std::map<std::string, std::string>{
                 {"noise", noise}, {"empty", ""}, {"cut", sample.substr(0, sample.size() / 3 + 7)}, {"bent", bent}})
            writeFile(dir_.file("garbage-" + name + ".cpt"), bytes);
        // Soundings in the other formats the window opens, whole and cut.
        for (const char* path : {"/gef/separators-voids-units/in.gef", "/ags/several-tests-units/in.ags"}) {
            const std::string bytes = readFile(std::string(QM_CASES_DIR) + path);
            const std::string ext = fs::path(path).extension().string();
            writeFile(dir_.file("other" + ext), bytes);
            writeFile(dir_.file("garbage-cut" + ext), bytes.substr(0, bytes.size() / 2));
        }
        // Texts that look like markup or formulas, in a file that loads and
        // in one refused at a data line.
        for (const char* name : {"markup.cpt", "markup-refused.cpt"})
            writeFile(dir_.file(name), readFile(QM_TEST_DATA_DIR "/../tests/ui/scenes/files/" + std::string(name)));
    }

    MonkeyOutcome go() {
        for (int s : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL}) std::signal(s, writeTraceAndDie);
        trace_ = std::getenv("QM_MONKEY_TRACE") != nullptr;
        std::string why = newWindow();
        for (n_ = 1; n_ <= run_.events && why.empty(); ++n_) {
            Event e = chooseEvent();
            remember(e.what);
            const std::size_t before = win_->messages->texts.size();
            const auto files = e.command.empty() ? std::map<std::string, std::string>{} : snapshot();
            e.act();
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            const std::vector<std::string> said(win_->messages->texts.begin() + std::ptrdiff_t(before),
                                                win_->messages->texts.end());
            if (!e.command.empty()) why = fileProblem(files, e, said);
            if (why.empty()) why = afterEvent(said);
            if (why.empty() && win_->runsEnded > 0) {
                ++outcome_.runsEnded;
                remember("  (the run ended: a new window starts)");
                why = newWindow();
            }
            if (why.empty()) outcome_.eventsRun = n_;
        }
        for (const auto& [path, bytes] : samples_)
            if (why.empty() && readFile(path) != bytes) why = "the sample " + path + " was changed";
        if (!why.empty()) outcome_.failure = header() + "failed: " + why + "\n" + recentText();
        crashTrace.clear();
        return outcome_;
    }

   private:
    struct Event {
        std::string what;
        std::function<void()> act;
        std::string command{};  // of an event that may write a file
        std::vector<std::string> answers{};
    };

    std::uint64_t seed() const {
        std::uint64_t h = 1469598103934665603ull;  // FNV-1a of the name, moved by the base seed
        for (unsigned char ch : run_.name) h = (h ^ ch) * 1099511628211ull;
        return h ^ (run_.baseSeed * 0x9E3779B97F4A7C15ull);
    }
    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool chance(int percent) { return uniform(1, 100) <= percent; }
    template <typename T> T pick(const std::vector<T>& v) { return v[std::size_t(uniform(0, int(v.size()) - 1))]; }
    ui::MainForm& form() const { return *win_->form; }
    QWidget* root() const { return openGpsDialog() ? static_cast<QWidget*>(openGpsDialog()) : win_->form.get(); }
    static std::string nameOf(const QObject* o) { return o ? o->objectName().toStdString() : "(none)"; }

    // ---- what the events type and pick

    // Mostly digits, then signs, separators, an exponent, blanks, letters
    // and characters outside ASCII (one the code page cannot hold).
    QString typedChar() {
        if (chance(50)) return QString(QChar(u'0' + uniform(0, 9)));
        static const QString others = QString::fromUtf8("-+.,Ee axQ-.,\xC3\xA9\xC2\xB5\xE4\xB8\xAD");
        return others.mid(uniform(0, int(others.size()) - 1), 1);
    }

    // A whole text for a box: numbers of every shape in both separators,
    // and some that are no number.
    QString boxText() {
        static const std::vector<std::string> special = {
            "",    " ",     "-",      ".",      ",",     "0",      "0.005",    "-0.005", "1e3",   "1E-2",
            "abc", "12.3.4", "1,2,3", "+1",     "-32768", "99999999", "3.4e38", "-3.4e39", "1e308", "0.0001",
            " 5",  "5 ",    "--1",    "0x10",   "inf",   "nan",    "10000",    "200",    "-200",  "0.02",
            "0.025", "999.999", "-999.99", "7"};
        std::string t = pick(special);
        if (chance(45)) {
            t = (chance(25) ? "-" : "") + std::to_string(chance(25) ? uniform(0, 99999) : uniform(0, 30));
            if (chance(70)) t += "." + std::to_string(uniform(0, 9999));
        }
        if (chance(80)) std::replace(t.begin(), t.end(), '.', decimalSeparator(run_.commaDecimalMode));
        return QString::fromStdString(t);
    }

    std::string pickOpenPath() {
        const int k = uniform(1, 100);
        std::vector<std::string> mine;
        for (const auto& e : fs::directory_iterator(dir_.path())) mine.push_back(e.path().string());
        if (k <= 65) return k <= 55 ? std::next(samples_.begin(), uniform(0, int(samples_.size()) - 1))->first : "";
        if (k <= 72) return dir_.file("missing.cpt");
        if (k <= 75) return dir_.path();
        return pick(mine);
    }

    // New names, the names written before, the opened file's own name (which
    // only Save may overwrite), a missing folder, a folder, or cancel.
    std::string pickSavePath(const std::string& prefix, const char* extension) {
        const int k = uniform(1, 100);
        std::vector<std::string> own;
        for (const auto& e : fs::directory_iterator(dir_.path()))
            if (e.path().filename().string().rfind(prefix, 0) == 0) own.push_back(e.path().string());
        if (k <= 10) return "";
        if (k <= 15) return dir_.file("no-such-folder") + "/x" + extension;
        if (k <= 18) return dir_.path();
        if (k <= 38 && !form().sounding().openedFileTitle.empty()) return dir_.file(form().sounding().openedFileTitle);
        if (k <= 55 && !own.empty()) return pick(own);
        return dir_.file(prefix + std::to_string(++written_) + extension);
    }

    // ---- the events: keys and typing most, then clicks on cells, menu
    // commands, buttons, whole box texts and list picks.

    Event chooseEvent() {
        const int k = uniform(1, 100);
        if (k <= 28) return keyEvent();
        if (k <= 46) return typeEvent();
        if (k <= 60) return cellClick();
        if (k <= 70) return menuEvent();
        if (k <= 84) return buttonEvent();
        if (k <= 92) return boxEvent();
        if (k <= 94) return dropEvent();
        if (k <= 96 && root() == win_->form.get()) return viewEvent();
        return comboEvent();
    }

    ui::PageCellEdit* cell(int column, int row) const { return form().findChild<ui::PageCellEdit*>(cellName(column, row)); }
    int channelColumn() {
        const int channels = std::clamp<int>(form().sounding().channelCount, 1, kMaxChannels);
        return chance(90) ? uniform(1, channels) : uniform(1, kMaxChannels);
    }
    ui::PageCellEdit* randomCell() {
        const int k = uniform(1, 100);
        return cell(k <= 30 ? kDepthColumn : k <= 40 ? kSpeedColumn : channelColumn(), uniform(1, kPageRows));
    }
    // Text typed into a channel cell stays there until the page refreshes.
    void markTyped(QWidget* w) {
        auto* c = qobject_cast<ui::PageCellEdit*>(w);
        if (c && c->column() != kDepthColumn && c->column() != kSpeedColumn) typed_[c->column()][c->row()] = true;
    }

    Event keyEvent() {
        struct Key { int code; const char* name; int weight; };
        static const Key keys[] = {{Qt::Key_Down, "Down", 24},    {Qt::Key_Up, "Up", 20},        {Qt::Key_Insert, "Insert", 9},
                                   {Qt::Key_Delete, "Delete", 9}, {Qt::Key_Return, "Enter", 10}, {Qt::Key_Backspace, "Backspace", 8},
                                   {Qt::Key_Tab, "Tab", 4},       {Qt::Key_Escape, "Escape", 3}, {Qt::Key_Left, "Left", 2},
                                   {Qt::Key_End, "End", 2},       {Qt::Key_PageDown, "PageDown", 1}};
        int roll = 0;
        for (const Key& k : keys) roll += k.weight;
        const Key* key = keys;
        for (roll = uniform(1, roll); roll > key->weight && key + 1 != std::end(keys);) roll -= (key++)->weight;
        const int code = key->code;
        const bool edits = code != Qt::Key_Down && code != Qt::Key_Up && code != Qt::Key_Return;
        if (!openGpsDialog() && chance(8)) {
            // A page key held down repeats as the cursor moves, which takes it
            // to the ends and the sounding down to a few readings.
            static const int held[] = {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Delete, Qt::Key_Insert};
            const int heldCode = held[uniform(0, 4)], times = uniform(5, 400);
            ui::PageCellEdit* start = chance(70) ? cell(kDepthColumn, uniform(1, kPageRows)) : randomCell();
            return {"click " + nameOf(start) + ", hold key " + std::to_string(heldCode) + " for " + std::to_string(times),
                    [this, start, heldCode, times] {
                        clickOn(start);
                        for (int i = 0; i < times; ++i) {
                            QWidget* target = qobject_cast<ui::PageCellEdit*>(form().focusWidget()) ? form().focusWidget() : start;
                            if (heldCode != Qt::Key_Down && heldCode != Qt::Key_Up) markTyped(target);
                            QKeyEvent press(QEvent::KeyPress, heldCode, Qt::NoModifier, QString(), true);
                            QApplication::sendEvent(target, &press);
                        }
                        QKeyEvent release(QEvent::KeyRelease, heldCode, Qt::NoModifier);
                        QApplication::sendEvent(start, &release);
                    }};
        }
        QPointer<QWidget> target = root()->focusWidget();
        const bool click = !target || !chance(65);
        if (click) target = randomCell();
        return {std::string(click ? "click " : "focus ") + nameOf(target) + ", key " + key->name,
                [this, target, click, code, edits] {
                    if (click && target) clickOn(target);
                    if (target && edits) markTyped(target);
                    if (target) sendKey(target, code);
                }};
    }

    // The boxes the user can type into now: the window's, or the GPS dialog's.
    std::vector<QLineEdit*> boxes() const {
        std::vector<QLineEdit*> out;
        for (QLineEdit* e : root()->findChildren<QLineEdit*>())
            if (e->isVisible() && e->isEnabled() && !e->isReadOnly() && !qobject_cast<ui::PageCellEdit*>(e))
                out.push_back(e);
        return out;
    }

    Event typeEvent() {
        const bool replace = chance(30);
        QString text;
        for (int i = uniform(1, 6); i > 0; --i) text += typedChar();
        QPointer<QLineEdit> target = qobject_cast<QLineEdit*>(root()->focusWidget());
        bool click = !target || !target->isEnabled() || target->isReadOnly() || !chance(70);
        if (click) target = !openGpsDialog() && chance(60) ? cell(channelColumn(), uniform(1, kPageRows))
                            : boxes().empty()                 ? nullptr
                                                              : pick(boxes());
        return {(click ? "click " : "into ") + nameOf(target) + ", type \"" + ui::toCp1252(text) + "\"" +
                    (replace ? " over the text" : ""),
                [this, target, text, replace, click] {
                    if (target && click) clickOn(target);
                    if (!target) return;
                    markTyped(target);
                    if (replace) target->selectAll(), sendKey(target, Qt::Key_Backspace);
                    for (QChar ch : text)
                        if (target) sendKey(target, 0, QString(ch));
                }};
    }

    Event cellClick() { ui::PageCellEdit* c = randomCell(); return {"click " + nameOf(c), [c] { clickOn(c); }}; }

    Event menuEvent() {
        std::vector<QAction*> items;
        for (const char* name : kMenuItems)
            if (QAction* a = form().action(name); a && form().isEnabled() && reachable(a)) items.push_back(a);
        if (items.empty()) return {"menu (none reachable)", [] {}};
        QPointer<QAction> a = pick(items);
        const std::string name = nameOf(a);
        std::vector<std::string> answers;
        if (name == "MenuFileOpen" || name == "menuCombine") answers = {pickOpenPath()};
        if (name == "mnuCopy") answers = {pickOpenPath(), pickSavePath("copy-", ".cpt")};
        if (name == "MenuFileSave") answers = {pickSavePath("save-", ".cpt")};
        if (kWriters.count(name)) answers = {pickSavePath("out-", kWriters.at(name))};
        const bool writes = name == "mnuCopy" || name == "MenuFileSave" || kWriters.count(name);
        // The History list opens on a click on one of its entries.
        const int entry = uniform(0, 200);
        // Go to Depth asks for a depth: a number, a text that is none, or Cancel.
        std::optional<std::string> typed;
        if (name == "mnuGoToDepth" && chance(85)) typed = ui::toCp1252(boxText());
        return answered("menu " + name + (typed ? " typing \"" + *typed + "\"" : ""), writes ? name : "", answers,
                        [this, a, entry, typed] {
            win_->messages->typed = {typed};
            if (a) a->trigger();
            if (a && a->objectName() == "mnuHistoryList")
                if (auto* list = form().findChild<QListWidget*>("lstHistory"); list && list->count() > 0)
                    emit list->itemClicked(list->item(entry % list->count()));
        });
    }

    Event buttonEvent() {
        std::vector<QAbstractButton*> buttons;
        for (QAbstractButton* b : root()->findChildren<QAbstractButton*>())
            if (b->isVisible() && b->isEnabled()) buttons.push_back(b);
        if (buttons.empty()) return {"button (none shown)", [] {}};
        QPointer<QAbstractButton> b = pick(buttons);
        const std::string name = nameOf(b);
        const bool exportOk = name == "Command1";
        return answered("click " + name, exportOk ? name : "",
                        exportOk ? std::vector<std::string>{pickSavePath("export-", ".cpd")} : std::vector<std::string>{},
                        [this, b, name] {
                            if (b) clickOn(b);
                            // An append hides the panel but leaves the page
                            // as it was until its next refresh.
                            if (name == "cmdCombineOK" && !form().panelFrame("frmSecondFileData")->isVisible())
                                pageStale_ = combined_ = true;
                        });
    }

    // An event with scripted file dialog answers and random Yes/No answers.
    Event answered(std::string what, const std::string& command, const std::vector<std::string>& answers,
                   std::function<void()> act) {
        for (const std::string& p : answers) what += " [" + (p.empty() ? std::string("cancel") : p) + "]";
        const bool yes1 = chance(50), yes2 = chance(50);
        what += yes1 ? " yes" : " no";
        return {what,
                [this, answers, yes1, yes2, act] {
                    win_->files->answers.assign(answers.begin(), answers.end());
                    win_->messages->answers = {yes1, yes2};
                    act();
                    win_->files->answers.clear();
                    win_->messages->answers.clear();
                },
                command, answers};
    }

    Event boxEvent() {
        if (boxes().empty()) return {"box (none shown)", [] {}};
        QPointer<QLineEdit> box = pick(boxes());
        const QString text = boxText();
        return {"set " + nameOf(box) + " to \"" + ui::toCp1252(text) + "\"", [box, text] {
                    if (box) typeInto(box, text);
                }};
    }

    // The ways through a long sounding that are no menu item: Page Up and
    // Down, Ctrl+Home and End, the wheel (Ctrl: zoom) over the page and the
    // profile, the scroll bar, a click, drag or double click on the profile,
    // an optional track, and a window too narrow or wide for the profile.
    Event viewEvent() {
        ui::MainForm& form = *win_->form;
        auto* profile = form.findChild<ui::ProfileView*>("profileView");
        const bool onProfile = profile->isVisible() && chance(50);
        QPointer<QWidget> w(onProfile ? static_cast<QWidget*>(profile) : randomCell());
        const QPointF at(uniform(0, w->width()), uniform(0, w->height()));
        auto send = [w, at](QEvent::Type type, int key, int notches, bool ctrl, QPointF to) {
            const Qt::KeyboardModifiers mods = ctrl ? Qt::ControlModifier : Qt::NoModifier;
            if (!w) return;
            if (type == QEvent::KeyPress) {
                QKeyEvent e(type, key, mods);
                QApplication::sendEvent(w, &e);
            } else if (type == QEvent::Wheel) {
                QWheelEvent e(at, w->mapToGlobal(at), {}, {0, 120 * notches}, Qt::NoButton, mods, Qt::NoScrollPhase, false);
                QApplication::sendEvent(w, &e);
            } else {
                QMouseEvent e(type, to, w->mapToGlobal(to), Qt::LeftButton,
                              type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, mods);
                QApplication::sendEvent(w, &e);
            }
        };
        const int k = uniform(1, 100), n = uniform(-4, 4);
        const bool ctrl = chance(40);
        if (k <= 35) {
            static const int keys[] = {Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_End};
            const int key = keys[uniform(0, 3)];
            return {std::string("key ") + (ctrl ? "Ctrl+" : "") + QKeySequence(key).toString().toStdString() + " in " + nameOf(w),
                    [send, key, ctrl] { send(QEvent::KeyPress, key, 0, ctrl, {}); }};
        }
        if (k <= 60)
            return {"wheel " + std::to_string(n) + (ctrl ? " with Ctrl" : "") + " over " + nameOf(w),
                    [send, n, ctrl] { send(QEvent::Wheel, 0, n, ctrl, {}); }};
        if (k <= 72) {
            QPointer<QScrollBar> bar(form.findChild<QScrollBar*>("pageScrollBar"));
            const int value = uniform(-5, 10005);
            return {"scroll bar to " + std::to_string(value), [bar, value] {
                        if (bar && bar->isEnabled()) bar->setValue(value);
                    }};
        }
        if (k <= 88 && onProfile)
            return {"press, drag " + std::to_string(n) + " and release on the profile" + (ctrl ? ", double click" : ""),
                    [send, at, n, ctrl] {
                        send(QEvent::MouseButtonPress, 0, 0, false, at);
                        for (int i = 1; i <= std::abs(n); ++i) send(QEvent::MouseMove, 0, 0, false, at + QPointF(0, 40 * n * i));
                        send(QEvent::MouseButtonRelease, 0, 0, false, at + QPointF(0, 40 * n * std::abs(n)));
                        if (ctrl) send(QEvent::MouseButtonDblClick, 0, 0, false, at);
                    }};
        std::vector<QAction*> tracks;
        for (QAction* a : form.findChild<QMenu*>("mnuTracks")->actions())
            if (reachable(a)) tracks.push_back(a);
        // View > Scales: automatic, a standard scale, or an own one typed
        // (a scale, a text that is none, or Cancel).
        if (chance(40))
            for (QMenu* m : form.findChild<QMenu*>("mnuScales")->findChildren<QMenu*>())
                for (QAction* a : m->actions())
                    if (reachable(a)) tracks.push_back(a);
        if (!tracks.empty() && tracks.back()->objectName().startsWith("mnuScale")) {
            QPointer<QAction> scale(pick(tracks));
            static const char* const texts[] = {"0:20", "-50:250.5", "5:5", "1e30:1e31", "abc", "-1:0,5", ":", ""};
            std::optional<std::string> typed;
            if (chance(85)) typed = chance(50) ? texts[uniform(0, 7)] : ui::toCp1252(boxText() + ":" + boxText());
            return {"menu " + scale->objectName().toStdString() + (typed ? " typing \"" + *typed + "\"" : ""),
                    [this, scale, typed] {
                        win_->messages->typed = {typed};
                        if (scale) scale->trigger();
                    }};
        }
        if (tracks.empty() || chance(30))
            return {ctrl ? "window 1920 x 1080" : "window 1366 x 768",
                    [this, ctrl] { win_->form->resize(ctrl ? 1920 : 1366, ctrl ? 1080 : 768); }};
        QPointer<QAction> track(pick(tracks));
        return {"menu " + track->objectName().toStdString(), [track] {
                    if (track) track->trigger();
                }};
    }

    // A file dropped on the window as from a file manager (the paths File >
    // Open is given; for its cancel, two files at once, which is refused).
    Event dropEvent() {
        std::vector<std::string> paths{pickOpenPath()};
        if (paths.front().empty()) paths = {samples_.begin()->first, samples_.rbegin()->first};
        std::string what = "drop";
        for (const std::string& p : paths) what += " [" + p + "]";
        return {what, [this, paths] { dropFiles(win_->form.get(), paths); }};
    }

    Event comboEvent() {
        std::vector<QComboBox*> lists;
        for (QComboBox* c : root()->findChildren<QComboBox*>())
            if (c->isVisible() && c->isEnabled() && c->count() > 0) lists.push_back(c);
        if (lists.empty()) return {"list (none shown)", [] {}};
        QPointer<QComboBox> list = pick(lists);
        const int index = uniform(0, list->count() - 1);
        // As the user's pick: the selection, then the activation.
        return {"pick item " + std::to_string(index) + " of " + nameOf(list),
                [list, index] { if (list) list->setCurrentIndex(index), emit list->activated(index); }};
    }

    // ---- windows, files and checks

    std::string newWindow() {
        win_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        win_ = std::make_unique<Window>(run_.commaDecimalMode);
        for (auto& column : typed_) column.fill(false);
        pageStale_ = combined_ = false;
        if (!run_.startFile.empty()) win_->open(run_.startFile);
        if (!run_.startFile.empty() && !form().soundingLoaded()) return "the start file does not load";
        wasLoaded_ = false;
        return afterEvent(win_->messages->texts);
    }

    std::map<std::string, std::string> snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::directory_iterator(dir_.path()))
            if (e.is_regular_file()) files[e.path().string()] = readFile(e.path().string());
        return files;
    }

    // Every file the event wrote is the one its command meant to write, and
    // whole: a saved sounding loads, a copy holds its source's bytes, an
    // export is not empty. Nothing else changed or went.
    std::string fileProblem(const std::map<std::string, std::string>& before, const Event& e,
                            const std::vector<std::string>& said) {
        const auto saidIt = [&](const std::string& text) { return std::find(said.begin(), said.end(), text) != said.end(); };
        const auto after = snapshot();
        for (const auto& [path, bytes] : before)
            if (!after.count(path)) return "the file " + path + " went";
        for (const auto& [path, bytes] : after) {
            if (before.count(path) && before.at(path) == bytes) continue;
            if (path.find(".tmp-") != std::string::npos) return "a temporary file was left: " + path;
            if (e.answers.empty() || e.answers.back() != path) return "the file " + path + " changed, not being written";
            // A saved file loads back with every reading and channel.
            auto back = std::make_unique<Sounding>();
            const bool loads = readSoundingText(bytes, form().tables(), run_.commaDecimalMode, *back).ok;
            if (e.command == "MenuFileSave" && (!saidIt("File saved.  To cleanup another file, restart the program.") ||
                                                !loads || back->readingCount != form().sounding().readingCount ||
                                                back->channelCount != form().sounding().channelCount))
                return "the save wrote " + path + " without saying so, or it does not load as it was";
            const std::string& source = e.answers.front();
            if (e.command == "mnuCopy" &&
                (!saidIt("File copied") || bytes != (before.count(source) ? before.at(source) : readFile(source))))
                return "the copy " + path + " is not its source's bytes, or was not announced";
            if ((e.command == "Command1" || (kWriters.count(e.command) && e.command != "mnuSaveHistory")) && bytes.empty())
                return "the export " + path + " is empty";
            static const std::map<std::string, std::string> kinds = {
                {"mnuExportCsv", "CSV"}, {"mnuExportGef", "GEF-CPT report"}, {"mnuExportAgs", "AGS4 file"}, {"mnuExportLog", "Log"}};
            if (kinds.count(e.command) && !saidIt(kinds.at(e.command) + " exported to " + path + "."))
                return "the export " + path + " was not announced with its name";
            const std::string record = form().history().recordText();
            if (e.command == "mnuSaveHistory" &&
                (!saidIt("History saved to " + path + ".") || bytes.rfind("Quillmere ", 0) != 0 ||
                 bytes.size() < record.size() || bytes.compare(bytes.size() - record.size(), record.size(), record) != 0))
                return "the history " + path + " is not the record, or was not announced";
        }
        return {};
    }

    std::string afterEvent(const std::vector<std::string>& said) {
        for (const std::string& m : said) {
            if (m.empty()) return "a message box with no text";
            remember("    box: " + m.substr(0, 70));
        }
        outcome_.messages += int(said.size());
        if (std::string why = windowProblem(form()); !why.empty()) return why;
        // After a combine the page shows the appended readings only at its
        // next refresh.
        const std::string why = pageProblem(form(), typed_, combined_);
        if (pageStale_) pageStale_ = !why.empty();
        if (!pageStale_ && !why.empty()) return why;
        const auto rows = pageRowTexts(form().sounding(), form().tables(), form().decimalSeparator());
        for (int c = 1; c <= kMaxChannels; ++c)
            for (int r = 1; r <= kPageRows; ++r)
                typed_[c][r] = typed_[c][r] && form().page().cell(c, r).text != rows[r].channel[c];
        outcome_.soundingsLoaded += !wasLoaded_ && form().soundingLoaded();
        wasLoaded_ = form().soundingLoaded();
        return {};
    }

    // ---- reports

    void remember(const std::string& what) {
        recent_.push_back(what.rfind("  ", 0) == 0 ? what : "#" + std::to_string(n_) + " " + what);
        if (recent_.size() > 20) recent_.pop_front();
        if (trace_) std::fprintf(stderr, "%s\n", recent_.back().c_str());
        crashTrace = "\n==== monkey: the process died during this event ====\n" + header() + recentText();
    }
    std::string header() const {
        return "monkey " + run_.name + " (QM_MONKEY_SEED=" + std::to_string(run_.baseSeed) + "), event " +
               std::to_string(n_) + " of " + std::to_string(run_.events) + " (QM_MONKEY_EVENTS)\n";
    }
    std::string recentText() const {
        std::string t = "dataIndex " + std::to_string(form().sounding().dataIndex) + ", pageRow " +
                        std::to_string(form().sounding().pageRow) + (combined_ ? ", combined" : "") + "\nlast events:\n";
        for (const std::string& line : recent_) t += "  " + line + "\n";
        return t;
    }

    MonkeyRun run_;
    std::mt19937_64 rng_;
    TempDir dir_;
    std::map<std::string, std::string> samples_;
    std::unique_ptr<Window> win_;
    CellMask typed_{};
    bool pageStale_ = false, combined_ = false, wasLoaded_ = false, trace_ = false;
    int written_ = 0, n_ = 0;
    std::deque<std::string> recent_;
    MonkeyOutcome outcome_;
};

MonkeyOutcome runMonkey(MonkeyRun run) {
    if (const char* v = std::getenv("QM_MONKEY_EVENTS"); v && std::atoi(v) > 0)
        run.events = std::max(1, std::atoi(v) * run.events / 600);
    if (const char* v = std::getenv("QM_MONKEY_SEED"); v && *v) run.baseSeed = std::strtoull(v, nullptr, 10);
    return Monkey(run).go();
}


void expectClean(const MonkeyRun& run) {
    const MonkeyOutcome out = runMonkey(run);
    EXPECT_EQ(out.failure, "");
    std::printf("[ monkey   ] %s: %d events, %d soundings loaded, %d runs ended, %d message boxes\n",
                run.name.c_str(), out.eventsRun, out.soundingsLoaded, out.runsEnded, out.messages);
}

std::vector<std::string> sampleNames() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(samplesDir()))
        if (e.path().extension() == ".cpt") names.push_back(e.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

class MonkeyOnSample : public ::testing::TestWithParam<std::string> {};

TEST_P(MonkeyOnSample, KeepsEveryRule) {
    const std::string path = samplesDir() + "/" + GetParam() + ".cpt";
    // A sample written on a comma system carries commas in its raw spans.
    const std::vector<std::string> lines = splitLines(readFile(path));
    expectClean({GetParam(), path, lines.size() > 17 && lines[17].find(',') != std::string::npos, 600});
}

INSTANTIATE_TEST_SUITE_P(Samples, MonkeyOnSample, ::testing::ValuesIn(sampleNames()),
                         [](const auto& info) { return QString::fromStdString(info.param).replace('-', '_').toStdString(); });

TEST(Monkey, StartsWithoutASounding) { expectClean({"no-sounding", ""}); }

TEST(Monkey, SoundingAtCapacity) {
    // sample-newer's first twelve rows, then its rows with data over and
    // over, every 0.02 m, four readings short of the capacity, so that
    // Insert and Combine meet it.
    const std::vector<std::string> lines = splitLines(readFile(samplesDir() + "/sample-newer.cpt"));
    std::vector<std::string> rows;
    for (std::size_t i = 23; i < lines.size(); ++i)
        if (lines[i].size() > 14 && std::isdigit(lines[i][6] & 0x7f) && lines[i].find("-32768") == std::string::npos)
            rows.push_back(lines[i]);
    std::string text;
    for (std::size_t i = 0; i < 23; ++i) text += lines[i] + "\r\n";
    for (int r = 1; r <= kMaxReadings - 4; ++r) {
        const std::string& row = r <= 12 ? lines[22 + std::size_t(r)] : rows[std::size_t(r) % rows.size()];
        appendFormatPattern(text, 0.02 * r, "##0.000", '.', 7);
        text += row.substr(7) + "\r\n";
    }
    TempDir dir;
    writeFile(dir.file("big.cpt"), text);
    expectClean({"capacity", dir.file("big.cpt"), 0, 200});
}

}  // namespace
}  // namespace qm::monkey
