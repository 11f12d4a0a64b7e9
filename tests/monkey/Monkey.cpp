#include "monkey/Monkey.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <unistd.h>
#include <vector>

#include "model/PageText.h"
#include "model/SoundingReader.h"
#include "monkey/SoundingChecks.h"
#include "support/SoundingCompare.h"
#include "ui/HeaderBoxes.h"
#include "ui/ProfileView.h"
#include "ui/TextCodec.h"
#include "ui/UiTestSupport.h"

namespace qm::monkey {

namespace fs = std::filesystem;
using test::Window;

namespace {

constexpr std::size_t kRecentEvents = 20;
constexpr double kHangSeconds = 30.0;

// ---- what a crash leaves on stderr -------------------------------------

// The run's name, seed and last events, kept up to date before each event,
// so that a sanitizer's abort or a fault still tells how to replay it.
std::string& crashTrace() {
    static std::string trace;
    return trace;
}

extern "C" void writeTraceAndDie(int signal) {
    const std::string& t = crashTrace();
    if (!t.empty()) {
        const char head[] = "\n==== monkey: the process died during this event ====\n";
        (void)!write(2, head, sizeof head - 1);
        (void)!write(2, t.data(), t.size());
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void installCrashTrace() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    for (int s : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL}) std::signal(s, writeTraceAndDie);
}

// ---- seeds --------------------------------------------------------------

std::uint64_t seedFor(std::uint64_t base, const std::string& name) {
    // FNV-1a over the name, mixed with the base seed: each test its own
    // stream, all of them moved by QM_MONKEY_SEED.
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char ch : name) h = (h ^ ch) * 1099511628211ull;
    return h ^ (base * 0x9E3779B97F4A7C15ull);
}

std::string shortText(const std::string& t, std::size_t max = 70) {
    return t.size() <= max ? t : t.substr(0, max) + "...";
}

// ---- the window's widgets -------------------------------------------------

QString cellName(int column, int row) {
    if (column == kDepthColumn) return QStringLiteral("txtDepth_%1").arg(row);
    if (column == kSpeedColumn) return QStringLiteral("txtSpeed_%1").arg(row);
    return QStringLiteral("txtChannel%1_%2").arg(column).arg(row);
}

QDialog* openGpsDialog() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "frmEnterGPS" && w->isVisible())
            if (auto* d = qobject_cast<QDialog*>(w)) return d;
    return nullptr;
}

// A menu item the user can reach: it and every menu above it enabled, and
// the window taking input.
bool reachable(QAction* a, int depth = 0) {
    if (!a || !a->isEnabled() || !a->isVisible() || depth > 6) return false;
    for (QObject* o : a->associatedObjects())
        if (auto* m = qobject_cast<QMenu*>(o))
            if (!reachable(m->menuAction(), depth + 1)) return false;
    return true;
}

const char* const kMenuItems[] = {"MenuFileOpen", "mnuCopy",          "menuCombine",       "MenuFileSave",
                                  "MenuExport",   "mnuAutoClean",     "MenuFileExit",      "mnuShiftBaseline",
                                  "menuStartDepth", "mnuDepthIncrement", "mnuDepth",        "mnuElevation",
                                  "mnu2Digits",   "mnu3Digits",       "mnuAbout",          "mnuProfile",
                                  "mnuFitWholeSounding", "mnuGoToDepth"};

const char* const kPanels[] = {"frmSecondFileData", "frmChangeStartDepth", "frmDepthIncrement", "frmShiftBaselines",
                               "frmExportData"};

// ---- the run ----------------------------------------------------------------

class Monkey {
   public:
    explicit Monkey(const MonkeyRun& run) : run_(run), seed_(seedFor(run.baseSeed, run.name)), rng_(seed_) {
        for (const auto& e : fs::directory_iterator(test::samplesDir()))
            if (e.path().extension() == ".cpt") samples_.push_back(e.path().string());
        std::sort(samples_.begin(), samples_.end());
        for (const std::string& s : samples_) sampleBytes_[s] = test::readFile(s);
        writeGarbage();
    }

    MonkeyOutcome go() {
        installCrashTrace();
        if (std::getenv("QM_MONKEY_TRACE")) traceToStderr_ = true;
        if (std::string why = newWindow(); !why.empty()) return fail(why);
        for (n_ = 1; n_ <= run_.events; ++n_) {
            Event e = chooseEvent();
            remember(e.what);
            messagesBefore_ = win_->messages->texts.size();
            std::map<std::string, std::string> filesBefore;
            if (e.writesFiles) filesBefore = snapshotFiles();
            const auto started = std::chrono::steady_clock::now();
            e.act();
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
            noteMessages();
            if (traceToStderr_) remember("  (" + std::to_string(static_cast<int>(took * 1000)) + " ms)");
            if (took > kHangSeconds) return fail("the event took " + std::to_string(took) + " s");
            if (e.writesFiles) {
                const auto& texts = win_->messages->texts;
                const std::vector<std::string> said(texts.begin() + static_cast<std::ptrdiff_t>(messagesBefore_),
                                                    texts.end());
                if (std::string why = fileProblem(filesBefore, e.command, e.answers, said); !why.empty())
                    return fail(why);
            }
            const auto checked = std::chrono::steady_clock::now();
            if (std::string why = afterEvent(); !why.empty()) return fail(why);
            if (traceToStderr_)
                remember("  (checks " +
                         std::to_string(static_cast<int>(
                             std::chrono::duration<double>(std::chrono::steady_clock::now() - checked).count() * 1000)) +
                         " ms)");
            if (win_->runsEnded > 0) {
                ++outcome_.runsEnded;
                remember("  (the run ended: a new window starts)");
                if (std::string why = newWindow(); !why.empty()) return fail(why);
            }
            outcome_.eventsRun = n_;
        }
        // The last state is saved and loaded back whatever the interval.
        if (std::string why = saveCheck(); !why.empty()) return fail(why);
        for (const auto& [path, bytes] : sampleBytes_)
            if (test::readFile(path) != bytes) return fail("the sample " + path + " was changed");
        crashTrace().clear();
        return outcome_;
    }

   private:
    struct Event {
        std::string what;
        std::function<void()> act;
        bool writesFiles = false;
        // For an event that may write a file: its command and dialog answers.
        std::string command{};
        std::vector<std::string> answers{};
    };

    // ---- random choices

    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool chance(int percent) { return uniform(1, 100) <= percent; }
    template <typename T>
    const T& pick(const std::vector<T>& v) {
        return v[static_cast<std::size_t>(uniform(0, static_cast<int>(v.size()) - 1))];
    }
    char sep() const { return decimalSeparator(run_.commaDecimalMode); }

    // One typed character: mostly digits, then the signs and separators a
    // number may hold, the exponent letter, blanks, letters, and a few
    // characters outside ASCII (one the code page cannot hold).
    QString typedChar() {
        const int k = uniform(1, 100);
        if (k <= 50) return QString(QChar(u'0' + uniform(0, 9)));
        static const std::vector<QString> others = {"-", "+", ".", ",", "E", "e", " ", "a", "x", "Q",
                                                    "-", ".", ",", QString::fromUtf8("\xC3\xA9"),
                                                    QString::fromUtf8("\xC2\xB5"), QString::fromUtf8("\xE4\xB8\xAD")};
        return pick(others);
    }

    // A whole text for a panel or dialog box: numbers of every shape in both
    // separators, and some that are no number.
    QString boxText() {
        const int k = uniform(1, 100);
        auto withSep = [this](std::string t) {
            if (chance(80))
                for (char& ch : t)
                    if (ch == '.') ch = sep();
            return QString::fromStdString(t);
        };
        if (k <= 45) {
            const int whole = uniform(0, 3) == 0 ? uniform(0, 99999) : uniform(0, 30);
            std::string t = (chance(25) ? "-" : "") + std::to_string(whole);
            if (chance(70)) {
                t += ".";
                const int digits = uniform(1, 4);
                for (int i = 0; i < digits; ++i) t += static_cast<char>('0' + uniform(0, 9));
            }
            return withSep(t);
        }
        static const std::vector<std::string> special = {
            "",     " ",      "-",        ".",        ",",       "0",       "0.005",    "-0.005", "1e3",
            "1E-2", "abc",    "12.3.4",   "1,2,3",    "+1",      "-32768",  "99999999", "3.4e38", "-3.4e39",
            "1e308", "0.0001", " 5",      "5 ",       "--1",     "0x10",    "inf",      "nan",    "10000",
            "200",  "-200",   "0.02",     "0.025",    "999.999", "-999.99", "7"};
        return withSep(pick(special));
    }

    std::string pickOpenPath() {
        const int k = uniform(1, 100);
        if (k <= 55) return pick(samples_);
        if (k <= 65) return "";
        if (k <= 72) return dir_.file("missing.cpt");
        if (k <= 75) return dir_.path().string();
        std::vector<std::string> mine;
        for (const auto& e : fs::directory_iterator(dir_.path())) mine.push_back(e.path().string());
        return mine.empty() ? pick(samples_) : pick(mine);
    }

    std::string pickSavePath(const char* prefix, const char* extension) {
        const int k = uniform(1, 100);
        if (k <= 10) return "";
        if (k <= 15) return dir_.file("no-such-folder") + "/x" + extension;
        if (k <= 18) return dir_.path().string();
        if (k <= 38) {
            // The opened file's own name, which only Save may overwrite.
            const std::string& title = win_->form->sounding().openedFileTitle;
            if (!title.empty()) return dir_.file(title);
        }
        if (k <= 55) {
            std::vector<std::string> own;
            for (const auto& e : fs::directory_iterator(dir_.path()))
                if (e.path().filename().string().rfind(prefix, 0) == 0) own.push_back(e.path().string());
            if (!own.empty()) return pick(own);
        }
        return dir_.file(std::string(prefix) + std::to_string(++written_) + extension);
    }

    void scriptAnswers(std::vector<std::string> paths) {
        win_->files->answers.assign(paths.begin(), paths.end());
    }

    // ---- the events

    // Keys and typing most, then clicks on cells, buttons, menu commands,
    // whole box texts and list picks.
    Event chooseEvent() {
        QDialog* gps = openGpsDialog();
        const int k = uniform(1, 100);
        if (k <= 28) return keyEvent(gps);
        if (k <= 46) return typeEvent(gps);
        if (k <= 60) return cellClickEvent();
        if (k <= 70) return menuEvent();
        if (k <= 84) return buttonEvent(gps);
        if (k <= 92) return boxEvent(gps);
        if (k <= 96 && !gps) return viewEvent();
        return comboEvent(gps);
    }

    QWidget* focusOf(QDialog* gps) const {
        if (gps) return gps->focusWidget();
        return win_->form->focusWidget();
    }

    ui::PageCellEdit* cellAt(int column, int row) const {
        return cells_[static_cast<std::size_t>(row) * kPageColumns + static_cast<std::size_t>(column)];
    }

    int randomColumn() {
        const int k = uniform(1, 100);
        if (k <= 30) return kDepthColumn;
        if (k <= 40) return kSpeedColumn;
        const int channels = std::max<int>(1, win_->form->sounding().channelCount);
        return chance(90) ? uniform(1, std::min(channels, kMaxChannels)) : uniform(1, kMaxChannels);
    }

    void markTyped(QWidget* w) {
        if (auto* cell = qobject_cast<ui::PageCellEdit*>(w))
            if (cell->column() != kDepthColumn && cell->column() != kSpeedColumn) typed_[cell->column()][cell->row()] = true;
    }

    static std::string nameOf(const QWidget* w) { return w ? w->objectName().toStdString() : std::string("(none)"); }

    Event keyEvent(QDialog* gps) {
        struct Key {
            int code;
            const char* name;
            int weight;
        };
        static const Key keys[] = {{Qt::Key_Down, "Down", 24},     {Qt::Key_Up, "Up", 20},
                                   {Qt::Key_Insert, "Insert", 9},  {Qt::Key_Delete, "Delete", 9},
                                   {Qt::Key_Return, "Enter", 10},  {Qt::Key_Backspace, "Backspace", 8},
                                   {Qt::Key_Tab, "Tab", 4},        {Qt::Key_Escape, "Escape", 3},
                                   {Qt::Key_Left, "Left", 2},      {Qt::Key_End, "End", 2},
                                   {Qt::Key_PageDown, "PageDown", 1}};
        int total = 0;
        for (const Key& key : keys) total += key.weight;
        int roll = uniform(1, total);
        const Key* chosen = &keys[0];
        for (const Key& key : keys) {
            if (roll <= key.weight) {
                chosen = &key;
                break;
            }
            roll -= key.weight;
        }
        QWidget* focus = focusOf(gps);
        const int code = chosen->code;
        if (!gps && chance(8)) {
            // A key held down: the page keys repeat until the key is let go,
            // which takes the cursor to the ends and the sounding down to a
            // few readings.
            static const int held[] = {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Delete, Qt::Key_Insert};
            static const char* heldNames[] = {"Down", "Down", "Up", "Delete", "Insert"};
            const int which = uniform(0, 4);
            const int times = uniform(5, 400);
            const int column = chance(70) ? kDepthColumn : randomColumn();
            auto* cell = cellAt(column, uniform(1, kPageRows));
            const int heldCode = held[which];
            return {"click " + nameOf(cell) + ", hold " + heldNames[which] + " for " + std::to_string(times) + " repeats",
                    [this, cell, heldCode, times] {
                        test::clickOn(cell);
                        QCoreApplication::processEvents();
                        // The key goes to the cell that has the focus, as the cursor moves.
                        for (int i = 0; i < times; ++i) {
                            QWidget* now = win_->form->focusWidget();
                            QWidget* target = qobject_cast<ui::PageCellEdit*>(now) ? now : cell;
                            if (heldCode != Qt::Key_Down && heldCode != Qt::Key_Up) markTyped(target);
                            QKeyEvent press(QEvent::KeyPress, heldCode, Qt::NoModifier, QString(), true);
                            QApplication::sendEvent(target, &press);
                        }
                        QKeyEvent release(QEvent::KeyRelease, heldCode, Qt::NoModifier);
                        QApplication::sendEvent(cell, &release);
                    }};
        }
        if (focus && chance(65)) {
            QPointer<QWidget> target(focus);
            return {"key " + std::string(chosen->name) + " in " + nameOf(focus) + " (focus)", [this, target, code] {
                        if (!target) return;
                        if (code != Qt::Key_Down && code != Qt::Key_Up && code != Qt::Key_Return) markTyped(target);
                        test::sendKey(target, code);
                    }};
        }
        // Another cell: the user clicks it first, then presses the key.
        const int column = randomColumn(), row = uniform(1, kPageRows);
        auto* cell = cellAt(column, row);
        return {"click " + nameOf(cell) + ", key " + chosen->name, [this, cell, code] {
                    test::clickOn(cell);
                    QCoreApplication::processEvents();
                    if (code != Qt::Key_Down && code != Qt::Key_Up && code != Qt::Key_Return) markTyped(cell);
                    test::sendKey(cell, code);
                }};
    }

    // The line edits the user can reach now: the cells and boxes of the
    // window, or those of the GPS dialog while it is open.
    std::vector<QLineEdit*> reachableBoxes(QDialog* gps, bool cells) const {
        std::vector<QLineEdit*> out;
        QWidget* root = gps ? static_cast<QWidget*>(gps) : win_->form.get();
        for (QLineEdit* e : root->findChildren<QLineEdit*>()) {
            if (!e->isVisible() || !e->isEnabled() || e->isReadOnly()) continue;
            if (!cells && qobject_cast<ui::PageCellEdit*>(e)) continue;
            out.push_back(e);
        }
        return out;
    }

    Event typeEvent(QDialog* gps) {
        const bool replace = chance(30);
        QString text;
        const int length = uniform(1, 6);
        for (int i = 0; i < length; ++i) text += typedChar();
        const std::string shown = "\"" + ui::toCp1252(text) + "\"" + (replace ? " replacing the text" : "");
        auto* focus = qobject_cast<QLineEdit*>(focusOf(gps));
        QLineEdit* target = nullptr;
        bool click = false;
        if (focus && focus->isEnabled() && !focus->isReadOnly() && chance(70)) {
            target = focus;
        } else if (!gps && chance(60)) {
            // A channel cell, clicked first.
            const int channels = std::max<int>(1, win_->form->sounding().channelCount);
            target = cellAt(uniform(1, std::min(channels, kMaxChannels)), uniform(1, kPageRows));
            click = true;
        } else {
            const std::vector<QLineEdit*> boxes = reachableBoxes(gps, false);
            if (!boxes.empty()) {
                target = pick(boxes);
                click = true;
            }
        }
        if (!target) return {"type " + shown + " (nowhere to type)", [] {}};
        QPointer<QLineEdit> t(target);
        return {std::string(click ? "click " : "type into ") + nameOf(target) + (click ? ", type " : " ") + shown,
                [this, t, text, replace, click] {
                    if (!t) return;
                    if (click) {
                        test::clickOn(t);
                        QCoreApplication::processEvents();
                    }
                    if (!t) return;
                    markTyped(t);
                    if (replace) {
                        t->selectAll();
                        test::sendKey(t, Qt::Key_Backspace);
                    }
                    for (QChar ch : text) {
                        if (!t) return;
                        test::sendKey(t, 0, QString(ch));
                    }
                }};
    }

    Event cellClickEvent() {
        const int column = randomColumn(), row = uniform(1, kPageRows);
        auto* cell = cellAt(column, row);
        return {"click " + nameOf(cell), [cell] { test::clickOn(cell); }};
    }

    Event menuEvent() {
        std::vector<QAction*> items;
        for (const char* name : kMenuItems)
            if (QAction* a = win_->form->action(name); a && win_->form->isEnabled() && reachable(a)) items.push_back(a);
        if (items.empty()) return {"menu (none reachable)", [] {}};
        QAction* a = pick(items);
        const std::string name = a->objectName().toStdString();
        std::vector<std::string> answers{};
        bool files = false;
        if (name == "MenuFileOpen" || name == "menuCombine") {
            answers = {pickOpenPath()};
        } else if (name == "mnuCopy") {
            answers = {pickOpenPath(), pickSavePath("copy-", ".cpt")};
            files = true;
        } else if (name == "MenuFileSave") {
            answers = {pickSavePath("save-", ".cpt")};
            files = true;
        }
        std::string what = "menu " + name;
        for (const std::string& p : answers) what += " [" + (p.empty() ? std::string("cancel") : shortText(p, 200)) + "]";
        const bool yes1 = chance(50), yes2 = chance(50);
        what += yes1 ? " yes" : " no";
        // Go to Depth asks for a depth: a number, a text that is none, or Cancel.
        std::optional<std::string> typed;
        if (name == "mnuGoToDepth" && chance(85)) typed = ui::toCp1252(boxText());
        if (typed) what += " typing \"" + *typed + "\"";
        QPointer<QAction> action(a);
        return {what,
                [this, action, answers, yes1, yes2, typed] {
                    scriptAnswers(answers);
                    win_->messages->answers = {yes1, yes2};
                    win_->messages->typed = {typed};
                    if (action) action->trigger();
                    win_->files->answers.clear();
                    win_->messages->answers.clear();
                },
                files, name, answers};
    }

    // The ways through a long sounding that are no menu item: Page Up and
    // Down, Ctrl+Home and End, the wheel (Ctrl: zoom) over the page and the
    // profile, the scroll bar, a click, drag or double click on the profile,
    // an optional track, and a window too narrow or wide for the profile.
    Event viewEvent() {
        ui::MainForm& form = *win_->form;
        auto* profile = form.findChild<ui::ProfileView*>("profileView");
        const bool onProfile = profile->isVisible() && chance(50);
        QPointer<QWidget> w(onProfile ? static_cast<QWidget*>(profile) : cellAt(randomColumn(), uniform(1, kPageRows)));
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
        if (tracks.empty() || chance(30))
            return {ctrl ? "window 1920 x 1080" : "window 1366 x 768",
                    [this, ctrl] { win_->form->resize(ctrl ? 1920 : 1366, ctrl ? 1080 : 768); }};
        QPointer<QAction> track(pick(tracks));
        return {"menu " + track->objectName().toStdString(), [track] {
                    if (track) track->trigger();
                }};
    }

    std::vector<QAbstractButton*> reachableButtons(QDialog* gps) const {
        std::vector<QAbstractButton*> out;
        QWidget* root = gps ? static_cast<QWidget*>(gps) : win_->form.get();
        for (QAbstractButton* b : root->findChildren<QAbstractButton*>())
            if (b->isVisible() && b->isEnabled()) out.push_back(b);
        return out;
    }

    Event buttonEvent(QDialog* gps) {
        const std::vector<QAbstractButton*> buttons = reachableButtons(gps);
        if (buttons.empty()) return {"button (none shown)", [] {}};
        QAbstractButton* b = pick(buttons);
        const std::string name = nameOf(b);
        std::vector<std::string> answers{};
        bool files = false;
        if (name == "Command1") {
            answers = {pickSavePath("export-", ".cpd")};
            files = true;
        }
        std::string what = "click button " + name;
        for (const std::string& p : answers) what += " [" + (p.empty() ? std::string("cancel") : shortText(p, 200)) + "]";
        const bool yes = chance(50);
        QPointer<QAbstractButton> target(b);
        return {what,
                [this, target, answers, yes, name] {
                    scriptAnswers(answers);
                    win_->messages->answers = {yes};
                    if (target) test::clickOn(target);
                    // An append that went through hides the panel. It does
                    // not refresh the page, which shows the new readings at
                    // its next refresh.
                    if (name == "cmdCombineOK" && !win_->form->panelFrame("frmSecondFileData")->isVisible()) {
                        pageStale_ = true;
                        combined_ = true;
                    }
                    win_->files->answers.clear();
                    win_->messages->answers.clear();
                },
                files, name, answers};
    }

    Event boxEvent(QDialog* gps) {
        const std::vector<QLineEdit*> boxes = reachableBoxes(gps, false);
        if (boxes.empty()) return {"box (none shown)", [] {}};
        QLineEdit* box = pick(boxes);
        const QString text = boxText();
        QPointer<QLineEdit> t(box);
        return {"set " + nameOf(box) + " to \"" + ui::toCp1252(text) + "\"", [t, text] {
                    if (t) test::typeInto(t, text);
                }};
    }

    Event comboEvent(QDialog* gps) {
        std::vector<QComboBox*> lists;
        QWidget* root = gps ? static_cast<QWidget*>(gps) : win_->form.get();
        for (QComboBox* c : root->findChildren<QComboBox*>())
            if (c->isVisible() && c->isEnabled() && c->count() > 0) lists.push_back(c);
        if (lists.empty()) return {"list (none shown)", [] {}};
        QComboBox* c = pick(lists);
        const int index = uniform(0, c->count() - 1);
        QPointer<QComboBox> t(c);
        return {"pick item " + std::to_string(index) + " (" + ui::toCp1252(c->itemText(index)) + ") of " + nameOf(c),
                [t, index] {
                    if (!t) return;
                    // As the user's pick: the selection, then the activation.
                    t->setCurrentIndex(index);
                    emit t->activated(index);
                }};
    }

    // ---- windows and files

    std::string newWindow() {
        win_.reset();
        lastSaved_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        win_ = std::make_unique<Window>(run_.commaDecimalMode);
        cells_.fill(nullptr);
        for (int r = 1; r <= kPageRows; ++r)
            for (int col = 0; col < kPageColumns; ++col) {
                auto* cell = win_->w<ui::PageCellEdit>(cellName(col, r));
                if (!cell) return "no page cell " + cellName(col, r).toStdString();
                cells_[static_cast<std::size_t>(r) * kPageColumns + static_cast<std::size_t>(col)] = cell;
            }
        for (auto& column : typed_) column.fill(false);
        pageStale_ = false;
        combined_ = false;
        if (!run_.startFile.empty()) {
            win_->open(run_.startFile);
            if (!win_->form->soundingLoaded())
                return "the start file does not load: " +
                       (win_->messages->texts.empty() ? std::string() : win_->messages->texts.back());
            ++outcome_.soundingsLoaded;
        }
        wasLoaded_ = win_->form->soundingLoaded();
        seenMessages_ = win_->messages->texts.size();
        return afterEvent();
    }

    void writeGarbage() {
        std::string noise;
        for (int i = 0; i < 3000; ++i) noise += static_cast<char>(uniform(0, 255));
        test::writeFile(dir_.file("garbage-noise.cpt"), noise);
        test::writeFile(dir_.file("garbage-empty.cpt"), "");
        const std::string& sample = sampleBytes_.begin()->second;
        test::writeFile(dir_.file("garbage-cut.cpt"), sample.substr(0, sample.size() / 3 + 7));
        // A sample whose 30th row has a letter in its depth.
        std::string bent = sample;
        std::size_t at = 0;
        for (int line = 0; line < 30 && at != std::string::npos; ++line) at = bent.find('\n', at + 1);
        if (at != std::string::npos && at + 3 < bent.size()) bent[at + 3] = 'x';
        test::writeFile(dir_.file("garbage-bent.cpt"), bent);
    }

    std::map<std::string, std::string> snapshotFiles() const {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::directory_iterator(dir_.path()))
            if (e.is_regular_file()) files[e.path().string()] = test::readFile(e.path().string());
        return files;
    }

    // Every file the event wrote is one the command meant to write and is
    // whole: a saved sounding loads, a copy holds its source's bytes, an
    // export is not empty. Nothing else changed or went.
    std::string fileProblem(const std::map<std::string, std::string>& before, const std::string& command,
                            const std::vector<std::string>& answers, const std::vector<std::string>& newMessages) {
        const auto saidOk = [&](const std::string& text) {
            return std::find(newMessages.begin(), newMessages.end(), text) != newMessages.end();
        };
        const std::map<std::string, std::string> after = snapshotFiles();
        for (const auto& [path, bytes] : before)
            if (!after.count(path)) return "the file " + path + " went";
        for (const auto& [path, bytes] : after) {
            const auto old = before.find(path);
            if (old != before.end() && old->second == bytes) continue;
            const std::string name = fs::path(path).filename().string();
            if (name.find(".tmp-") != std::string::npos) return "a temporary file was left: " + name;
            if (answers.empty() || answers.back() != path)
                return "the file " + name + " changed though the command was not writing it";
            if (command == "MenuFileSave") {
                if (!saidOk("File saved.  To cleanup another file, restart the program."))
                    return "the save changed " + name + " without saying it saved";
                auto back = std::make_unique<Sounding>();
                const LoadResult r = readSoundingText(bytes, win_->form->tables(), run_.commaDecimalMode, *back);
                if (!r.ok) return "the saved file " + name + " does not load: " + r.error;
            } else if (command == "mnuCopy") {
                if (!saidOk("File copied")) return "the copy changed " + name + " without saying it copied";
                const auto source = before.count(answers.front()) ? before.at(answers.front())
                                                                  : test::readFile(answers.front());
                if (bytes != source) return "the copy " + name + " does not hold its source's bytes";
            } else if (command == "Command1") {
                if (bytes.empty()) return "the export " + name + " is empty";
            } else {
                return "the file " + name + " changed after " + command;
            }
        }
        return {};
    }

    // ---- the checks after each event

    void noteMessages() {
        outcome_.messages += static_cast<int>(win_->messages->texts.size() - messagesBefore_);
    }

    std::string afterEvent() {
        if (!win_ || !win_->form) return "the window is gone";
        const auto& texts = win_->messages->texts;
        std::vector<std::string> fresh(texts.begin() + static_cast<std::ptrdiff_t>(seenMessages_), texts.end());
        seenMessages_ = texts.size();
        for (const std::string& m : fresh) {
            if (m.empty()) return "a message box with no text";
            remember("    box: " + shortText(m));
        }
        if (std::string why = windowProblem(); !why.empty()) return why;
        if (std::string why = modelProblem(); !why.empty()) return why;
        if (!wasLoaded_ && win_->form->soundingLoaded()) ++outcome_.soundingsLoaded;
        wasLoaded_ = win_->form->soundingLoaded();
        if (run_.saveCheckEvery <= 1 || n_ % run_.saveCheckEvery == 0)
            if (std::string why = saveCheck(); !why.empty()) return why;
        return {};
    }

    std::string saveCheck() {
        if (!win_->form->soundingLoaded()) return {};
        // What File > Save writes: the Sounding with the header boxes' texts.
        auto toSave = std::make_unique<Sounding>(win_->form->sounding());
        for (const ui::HeaderBox& h : ui::headerBoxes()) (*toSave).*(h.field) = win_->form->boxText(h.objectName);
        // Most events change nothing that is saved; the file is rendered
        // only for a Sounding that differs from the one checked last.
        if (lastSaved_ && test::soundingDifference(*lastSaved_, *toSave).empty()) return {};
        const std::string why = saveLoadProblem(*toSave, win_->form->tables(), run_.commaDecimalMode);
        lastSaved_ = std::move(toSave);
        return why.empty() ? why : "save and load: " + why;
    }

    std::string modelProblem() {
        ui::MainForm& form = *win_->form;
        const Sounding& s = form.sounding();
        const ReadingsPage& page = form.page();
        if (std::string why = countProblem(s, combined_); !why.empty()) return why;
        if (std::string why = cursorProblem(s, page, combined_); !why.empty()) return why;
        if (!page.loaded()) return pageTextProblem(page, s, form.tables(), sep(), typed_);
        if (pageStale_) {
            // After a combine the page shows the appended readings only at
            // its next refresh; until then only the widgets are compared.
            if (pageDepthProblem(s, page.depthInFeet()).empty() &&
                pageTextProblem(page, s, form.tables(), sep(), typed_).empty())
                pageStale_ = false;
            return {};
        }
        if (std::string why = pageDepthProblem(s, page.depthInFeet()); !why.empty()) return why;
        if (std::string why = pageTextProblem(page, s, form.tables(), sep(), typed_); !why.empty()) return why;
        // A typed cell that shows the model's text again is no longer typed.
        const auto rows = pageRowTexts(s, form.tables(), sep());
        for (int c = 1; c <= kMaxChannels; ++c)
            for (int r = 1; r <= kPageRows; ++r)
                if (typed_[c][r] && page.cell(c, r).text == rows[r].channel[c]) typed_[c][r] = false;
        return {};
    }

    std::string windowProblem() {
        ui::MainForm& form = *win_->form;
        const ReadingsPage& page = form.page();
        const Sounding& s = form.sounding();
        const bool loaded = form.soundingLoaded();
        QDialog* gps = openGpsDialog();
        if (gps && form.isEnabled()) return "the GPS dialog is open and the main window takes input";
        if (!gps && !form.isEnabled()) return "the main window stays disabled with no dialog open";

        for (int r = 1; r <= kPageRows; ++r)
            for (int col = 0; col < kPageColumns; ++col) {
                const ui::PageCellEdit* cell = cellAt(col, r);
                const PageCell& want = page.cell(col, r);
                // A character the code page cannot hold reaches the model as '?'.
                if (ui::toCp1252(cell->shownText()) != want.text)
                    return nameOf(cell) + " shows \"" + ui::toCp1252(cell->shownText()) + "\", the page model \"" +
                           want.text + "\"";
                const QColor bg = cell->palette().color(QPalette::Active, QPalette::Base);
                const QColor fg = cell->palette().color(QPalette::Active, QPalette::Text);
                if (bg != QColor(want.background.r, want.background.g, want.background.b) ||
                    fg != QColor(want.textColor.r, want.textColor.g, want.textColor.b))
                    return nameOf(cell) + " has other colours than the page model";
                const bool channel = col != kDepthColumn && col != kSpeedColumn;
                const bool enabled = !channel || (loaded && col <= s.channelCount);
                if (cell->isEnabledTo(&form) != enabled)
                    return nameOf(cell) + (enabled ? " is disabled" : " is enabled") + " with " +
                           std::to_string(s.channelCount) + " channels";
            }
        if (form.findChild<QLabel*>("lblDataIndex")->text().toStdString() != page.dataIndexLabel())
            return "lblDataIndex does not show the page's label";
        if (form.findChild<QLabel*>("lblNumberOfReadings")->text().toStdString() != page.numberOfReadingsLabel())
            return "lblNumberOfReadings does not show the page's label";

        int shownPanels = 0;
        for (const char* name : kPanels) shownPanels += form.panelFrame(name)->isVisibleTo(&form) ? 1 : 0;
        if (shownPanels > 1) return "two panels are shown at once";
        // The profile takes the header column's place when the window has no
        // room for it beside the page; a panel goes before both.
        auto* profile = form.findChild<ui::ProfileView*>("profileView");
        const bool profileInSide = profile->parentWidget() == form.findChild<QWidget*>("sideArea") &&
                                   profile->isVisibleTo(&form);
        if (profileInSide && shownPanels > 0) return "the profile and a panel share the side column";
        if (form.findChild<QWidget*>("headerArea")->isVisibleTo(&form) != (shownPanels == 0 && !profileInSide))
            return "the header boxes, the panels and the profile do not take turns";
        if (loaded && profile->isVisibleTo(&form)) {
            profile->drawTracksIfStale();
            if (!profile->profile() || profile->profile()->readingCount != std::min(s.readingCount, kMaxReadings))
                return "the profile does not show the sounding's readings";
            if (profile->cursorReading() != s.dataIndex) return "the profile's cursor is not at the current reading";
        }

        // While the GPS dialog is open the disabled window disables its menus,
        // and a menu's item follows its menu; the states are its own again
        // when the dialog closes.
        if (!form.isEnabled()) return {};
        for (const char* name : {"MenuFileSave", "MenuExport", "menuCombine", "mnuShiftBaseline", "mnuEditDepth",
                                 "mnuDepthSignificantDigits", "mnuAutoClean", "mnuProfile", "mnuFitWholeSounding",
                                 "mnuGoToDepth"})
            if (form.action(name)->isEnabled() != loaded) return std::string(name) + " has the wrong enabled state";
        if (form.action("MenuFileOpen")->isEnabled() == loaded) return "MenuFileOpen has the wrong enabled state";
        if (!loaded) return {};

        for (int c = 1; c <= kMaxChannels; ++c) {
            const auto* label = form.findChild<QLabel*>(QStringLiteral("lblChannelLabel_%1").arg(c));
            const auto* units = form.findChild<QComboBox*>(QStringLiteral("cmbChannelUnits_%1").arg(c));
            if (c > s.channelCount) {
                if (!label->text().isEmpty()) return "lblChannelLabel_" + std::to_string(c) + " names no channel";
                continue;
            }
            if (label->text() != ui::fromCp1252(s.channelName[c]))
                return "lblChannelLabel_" + std::to_string(c) + " shows \"" + ui::toCp1252(label->text()) +
                       "\" for channel \"" + s.channelName[c] + "\"";
            const int t = s.channelType[c];
            if (units->count() != form.tables().unitCount[t] || units->currentIndex() != s.channelUnitIndex[c] - 1)
                return "cmbChannelUnits_" + std::to_string(c) + " shows item " + std::to_string(units->currentIndex()) +
                       " of " + std::to_string(units->count()) + " for unit " + std::to_string(s.channelUnitIndex[c]);
        }
        if (form.findChild<QComboBox*>("cmbDepthUnits_1")->currentIndex() != (page.depthInFeet() ? 1 : 0))
            return "cmbDepthUnits_1 does not show the page's depth unit";
        const QString depthLabel = form.findChild<QLabel*>("lblDepthLabel")->text();
        if (depthLabel != (s.depthFormat == 0 ? "DEPTH" : "ELEVATION")) return "lblDepthLabel does not show the format";
        if (form.action("mnuDepth")->isChecked() != (s.depthFormat == 0) ||
            form.action("mnuElevation")->isChecked() != (s.depthFormat != 0))
            return "the Depth/Elevation marks do not follow the format";
        if (form.action("mnu3Digits")->isChecked() != (s.depthDecimals == 3) ||
            form.action("mnu2Digits")->isChecked() != (s.depthDecimals != 3))
            return "the digits marks do not follow the depth digits";
        return {};
    }

    // ---- reports

    void remember(const std::string& what) {
        const std::string line = (what.rfind("  ", 0) == 0 ? what : "#" + std::to_string(n_) + " " + what);
        recent_.push_back(line);
        while (recent_.size() > kRecentEvents) recent_.pop_front();
        if (traceToStderr_) {
            const std::string out = line + "\n";
            (void)!write(2, out.data(), out.size());
        }
        crashTrace() = header() + recentText();
    }

    std::string header() const {
        return "monkey " + run_.name + ": seed " + std::to_string(seed_) + " (QM_MONKEY_SEED=" +
               std::to_string(run_.baseSeed) + "), event " + std::to_string(n_) + " of " +
               std::to_string(run_.events) + " (QM_MONKEY_EVENTS)\n";
    }

    std::string recentText() const {
        std::string t = "last events:\n";
        for (const std::string& line : recent_) t += "  " + line + "\n";
        return t;
    }

    std::string stateText() const {
        if (!win_ || !win_->form) return {};
        const Sounding& s = win_->form->sounding();
        const ReadingsPage& page = win_->form->page();
        return "state: dataIndex " + std::to_string(s.dataIndex) + ", pageRow " + std::to_string(s.pageRow) +
               ", readingCount " + std::to_string(s.readingCount) + ", channelCount " + std::to_string(s.channelCount) +
               ", noDataLeadCount " + std::to_string(s.noDataLeadCount) + ", editColumn/Row " +
               std::to_string(page.editColumn) + "/" + std::to_string(page.editRow) + ", depthDecimals " +
               std::to_string(s.depthDecimals) + ", depthFormat " + std::to_string(s.depthFormat) +
               (combined_ ? ", combined" : "") + "\n";
    }

    MonkeyOutcome fail(const std::string& why) {
        outcome_.failure = header() + "failed: " + why + "\n" + stateText() + recentText();
        crashTrace().clear();
        return outcome_;
    }

    MonkeyRun run_;
    std::uint64_t seed_;
    std::mt19937_64 rng_;
    test::TempDir dir_;
    std::vector<std::string> samples_;
    std::map<std::string, std::string> sampleBytes_;
    std::unique_ptr<Window> win_;
    std::unique_ptr<Sounding> lastSaved_;
    std::array<ui::PageCellEdit*, (kPageRows + 1) * kPageColumns> cells_{};
    CellMask typed_{};
    bool pageStale_ = false;
    bool combined_ = false;
    bool wasLoaded_ = false;
    bool traceToStderr_ = false;
    std::size_t seenMessages_ = 0;
    std::size_t messagesBefore_ = 0;
    int written_ = 0;
    int n_ = 0;
    std::deque<std::string> recent_;
    MonkeyOutcome outcome_;
};

}  // namespace

int eventsFromEnvironment(int fallback) {
    const char* v = std::getenv("QM_MONKEY_EVENTS");
    if (!v || !*v) return fallback;
    const long n = std::strtol(v, nullptr, 10);
    return n > 0 ? static_cast<int>(n) : fallback;
}

std::uint64_t seedFromEnvironment(std::uint64_t fallback) {
    const char* v = std::getenv("QM_MONKEY_SEED");
    if (!v || !*v) return fallback;
    return std::strtoull(v, nullptr, 10);
}

MonkeyOutcome runMonkey(const MonkeyRun& run) {
    Monkey m(run);
    return m.go();
}

}  // namespace qm::monkey
