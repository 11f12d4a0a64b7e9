// Window scenes as data: tests/ui/scenes/<name>.txt is a transcript of
// commands to the window (one a line) each followed by what the window then
// shows, indented. The runner replays the commands and compares the whole
// transcript; QM_UPDATE_CASES=1 writes the actual one back, to be read
// through by eye. Paths take {samples}, {files} (scenes/files) and {out} (a
// fresh folder); the same words stand for them in the output.
//
//   window [comma]   a new window (with comma decimals)
//   open PATH | answer [PATH] | yes | no       File > Open; the next file dialog's answer; the next question's
//   menu NAME | click NAME | key NAME KEY [TIMES] | type NAME TEXT (over the text) | add NAME TEXT
//   pick NAME INDEX | show NAME... | focus | panel NAME | menus | rows FIRST LAST | file PATH [FIRST [LAST]]
//   value C R     the Sounding's value of channel C at reading R
//   during NAME...  show these widgets whenever a message box comes up
//   check [combined]  the window against the page model and the Sounding, as the monkey checks it
//   remember NAME | same NAME   keep the Sounding and all the window shows; say where it now differs
//   size W H | refresh | typed TEXT (the next text prompt's answer) | wheel NAME NOTCHES [ctrl] [DEPTH]
//   press DEPTH (a click on the profile) | profile   where the profile's cursor, band and window stand
//   drop PATH...  files dropped on the window as from a file manager
// Keys may carry "Ctrl+" (Enter is the keypad's); pick sets a list's row, a combo box's item or a scroll bar's value.
// After each command come the message boxes ("box:"), file dialogs ("dialog:") and
// whether the run ended.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QListWidget>
#include <QScrollBar>
#include <QWheelEvent>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <filesystem>

#include "model/LineFields.h"
#include "model/SoundingWriter.h"
#include "support/SoundingCompare.h"
#include "ui/HeaderBoxes.h"
#include "ui/ProfileView.h"
#include "ui/TextCodec.h"
#include "ui/UiTestSupport.h"
#include "ui/WindowCheck.h"

namespace qm::uitest {
namespace {

namespace fs = std::filesystem;
const std::string kScenes = QM_TEST_DATA_DIR "/../tests/ui/scenes";

std::string colour(const QColor& c) {
    for (const auto& [name, rgb] : {std::pair{"white", kWhite}, {"grey", kLightGrey}, {"green", kGreen}, {"red", kRed},
                                    {"black", kBlack}})
        if (c == qcolor(rgb)) return name;
    return c.name().toStdString();
}

class Scene {
   public:
    std::string run(const std::string& script) {
        std::istringstream in(script);
        std::string line, out;
        while (std::getline(in, line)) {
            if (line.rfind("  ", 0) == 0) continue;
            out += line + "\n";
            if (line.empty() || line[0] == '#') continue;
            said_.clear();
            const std::size_t space = std::min(line.find(' '), line.size());
            do_(line.substr(0, space), line.substr(std::min(space + 1, line.size())));
            for (const std::string& s : said_) out += "  " + tidy(s) + "\n";
        }
        return out;
    }

   private:
    std::string path(std::string p) const {
        for (const auto& [word, real] : {std::pair{"{samples}", samplesDir()}, {"{files}", kScenes + "/files"},
                                         {"{out}", out_.path()}})
            if (p.rfind(word, 0) == 0) p = real + p.substr(std::strlen(word));
        return p;
    }
    std::string tidy(std::string s) const {
        for (const auto& [real, word] : {std::pair{kScenes + "/files", "{files}"}, {out_.path(), "{out}"},
                                         {samplesDir(), "{samples}"}, {dataDir(), "{data}"},
                                         {QDir::currentPath().toStdString(), "{cwd}"}})
            for (std::size_t at; (at = s.find(real)) != std::string::npos;) s.replace(at, real.size(), word);
        return s;
    }
    ui::MainForm& form() const { return *win_->form; }

    QObject* find(const std::string& name) const {
        const QString n = QString::fromStdString(name);
        if (QDialog* d = openGpsDialog())
            if (QWidget* w = d->findChild<QWidget*>(n)) return w;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == n && top != win_->form.get()) return top;
        if (QAction* a = form().action(name.c_str())) return a;
        return form().findChild<QWidget*>(n);
    }

    std::string describe(QObject* o) const {
        if (!o) return "(no such widget)";
        std::string d = o->objectName().toStdString(), text;
        auto* w = qobject_cast<QWidget*>(o);
        if (auto* a = qobject_cast<QAction*>(o))
            return d + " \"" + a->text().toStdString() + "\"" + (a->isEnabled() ? "" : " off") +
                   (a->isCheckable() ? (a->isChecked() ? " [x]" : " [ ]") : "");
        if (auto* e = qobject_cast<QLineEdit*>(o)) text = shown(e).toStdString();
        if (auto* l = qobject_cast<QLabel*>(o)) text = l->text().toStdString();
        if (auto* b = qobject_cast<QAbstractButton*>(o)) text = b->text().toStdString();
        if (auto* g = qobject_cast<QGroupBox*>(o)) text = g->title().toStdString();
        if (qobject_cast<QDialog*>(o)) text = w->windowTitle().toStdString();
        if (auto* list = qobject_cast<QComboBox*>(o)) text = list->currentText().toStdString();
        if (auto* list = qobject_cast<QListWidget*>(o))
            for (int i = 0; i < list->count(); ++i) text += (i ? " | " : "") + list->item(i)->text().toStdString();
        if (auto* p = qobject_cast<QPlainTextEdit*>(o))
            text = std::to_string(p->blockCount()) + " lines: " + p->document()->firstBlock().text().toStdString() +
                   " ... " + p->document()->lastBlock().text().toStdString();
        d += " \"" + text + "\"";
        if (auto* list = qobject_cast<QComboBox*>(o)) d += " (" + std::to_string(list->currentIndex()) + " of " + std::to_string(list->count()) + ")";
        if (!w->isVisible()) d += " hidden";
        if (!w->isEnabled()) d += " off";
        if (auto* b = qobject_cast<QAbstractButton*>(o); b && b->isCheckable()) d += b->isChecked() ? " [x]" : " [ ]";
        if (auto* e = qobject_cast<QLineEdit*>(o)) {
            if (e->isReadOnly()) d += " ro";
            if (!e->isEnabled()) return d;
            if (colour(e->palette().color(QPalette::Base)) != "white") d += " " + colour(e->palette().color(QPalette::Base));
            if (colour(e->palette().color(QPalette::Text)) != "black") d += " text " + colour(e->palette().color(QPalette::Text));
        }
        return d;
    }

    void menuTree(const QList<QAction*>& actions, const std::string& indent) {
        for (QAction* a : actions) {
            said_.push_back(indent + (a->isSeparator() ? a->objectName().toStdString() + " -" : describe(a)));
            if (a->menu()) menuTree(a->menu()->actions(), indent + "  ");
        }
    }

    // Row r as the user sees it: the texts, and the painted grounds that
    // are not white.
    std::string row(const QImage& shot, int r) const {
        std::string line = (r < 10 ? " " : "") + std::to_string(r) + " |";
        for (int col = 0; col < kPageColumns; ++col) {
            auto* cell = form().findChild<ui::PageCellEdit*>(cellName(col, r));
            if (!cell->isEnabled() && shown(cell).isEmpty()) continue;
            const std::string ground = colour(shot.pixelColor(cell->mapTo(&form(), QPoint(3, cell->height() / 2))));
            line += " " + shown(cell).toStdString() + (ground == "white" ? "" : "(" + ground + ")") +
                    (colour(cell->palette().color(QPalette::Text)) == "red" ? "(red)" : "") + " |";
        }
        return line;
    }

    // Everything an undo must give back: the Sounding, and the page, the
    // controls and the file a save would write as the window shows them.
    struct State {
        std::shared_ptr<Sounding> sounding;
        std::vector<std::string> shown;
    };
    State state() const {
        State st{std::make_shared<Sounding>(form().sounding()), {}};
        const QImage shot = form().grab().toImage();
        for (int r = 1; r <= kPageRows; ++r) st.shown.push_back(row(shot, r));
        std::vector<std::string> names = {"mnuDepth", "mnuElevation", "mnu2Digits", "mnu3Digits", "lblDepthLabel",
                                          "lblDataIndex", "lblNumberOfReadings", "txtGPSLat", "txtGPSLon", "txtGPSAlt"};
        for (int c = 1; c <= kMaxChannels; ++c)
            for (const char* kind : {"lblChannelLabel_", "cmbChannelUnits_"}) names.push_back(kind + std::to_string(c));
        // An undo closes the open panel, which shows the header boxes again.
        for (const std::string& name : names) {
            std::string d = describe(find(name));
            if (const std::size_t at = d.find(" hidden"); at != std::string::npos) d.erase(at, 7);
            st.shown.push_back(d);
        }
        Sounding toSave(form().sounding());
        for (const ui::HeaderBox& h : ui::headerBoxes()) toSave.*(h.field) = form().boxText(h.objectName);
        st.shown.push_back(soundingFileText(toSave, form().tables(), '.'));
        return st;
    }
    std::string sameAs(const std::string& name) const {
        const State now = state(), &then = states_.at(name);
        if (const std::string d = test::soundingDifference(*then.sounding, *now.sounding); !d.empty())
            return "the Sounding differs from " + name + ": " + d;
        for (std::size_t i = 0; i < now.shown.size(); ++i)
            if (now.shown[i] != then.shown[i]) return "differs from " + name + ": " + then.shown[i] + " / " + now.shown[i];
        return "as at " + name;
    }

    ui::ProfileView* profile() const { return form().findChild<ui::ProfileView*>("profileView"); }
    std::string profileState() const {
        ui::ProfileView* v = profile();
        if (!v->isVisible()) return "profile hidden";
        v->drawTracksIfStale();
        char text[200];
        std::snprintf(text, sizeof text, "profile: cursor %d, line at %.3f, band %d-%d, window %.2f-%.2f, %zu tracks, drawn %d times, scroll bar at %d",
                      v->cursorReading(), v->axisAt(v->cursorY()), v->bandFirst(), v->bandLast(), v->windowTop(),
                      v->windowBottom(), v->shownTracks().size(), v->trackDrawings(),
                      form().findChild<QScrollBar*>("pageScrollBar")->value());
        std::string d = text;
        for (const ProfileTrack* t : v->shownTracks())
            d += " | " + t->title + (t->hydrostatic.empty() ? "" : " u0 " + std::to_string(t->hydrostatic.size()));
        return d;
    }
    void mouse(QWidget* w, QEvent::Type type, QPointF at) const {
        QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }

    void do_(const std::string& c, const std::string& rest) {
        std::vector<std::string> args;
        std::istringstream words(rest);
        for (std::string a; words >> a;) args.push_back(a);
        if (!win_ || c == "window") win_.reset(), win_ = std::make_unique<Window>(c == "window" && rest == "comma");
        const std::size_t dialogsBefore = win_->files->shown.size();
        const int endedBefore = win_->runsEnded;
        win_->messages->onMessage = [this] {
            said_.push_back("box: " + win_->messages->texts.back());
            for (const std::string& name : during_) said_.push_back("  while the box is up: " + describe(find(name)));
        };
        QWidget* w = args.empty() ? nullptr : qobject_cast<QWidget*>(find(args[0]));
        if (!w && (c == "click" || c == "key" || c == "type" || c == "add" || c == "pick" || c == "panel" || c == "wheel"))
            return said_.push_back("(no such widget)");
        if (c == "menu" && !qobject_cast<QAction*>(find(rest))) return said_.push_back("(no such menu item)");
        static const std::map<std::string, int> keys = {
            {"Down", Qt::Key_Down},     {"Up", Qt::Key_Up},         {"Insert", Qt::Key_Insert}, {"Delete", Qt::Key_Delete},
            {"Return", Qt::Key_Return}, {"Escape", Qt::Key_Escape}, {"End", Qt::Key_End},       {"Home", Qt::Key_Home},
            {"PageDown", Qt::Key_PageDown}, {"PageUp", Qt::Key_PageUp}, {"Enter", Qt::Key_Enter}};
        if (c == "open") win_->open(path(rest));
        if (c == "answer") win_->files->answers.push_back(path(rest));
        if (c == "yes" || c == "no") win_->messages->answers.push_back(c == "yes");
        if (c == "menu") qobject_cast<QAction*>(find(rest))->trigger();
        if (c == "click") clickOn(w);
        const bool ctrl = (c == "key" && args.at(1).rfind("Ctrl+", 0) == 0) || (c == "wheel" && rest.find("ctrl") != std::string::npos);
        for (int i = 0; c == "key" && i < (args.size() > 2 ? std::stoi(args[2]) : 1); ++i)  // held: to the focus as it moves
            sendKey(i ? QApplication::focusWidget() : w, keys.at(args[1].substr(ctrl ? 5 : 0)), {},
                    ctrl ? Qt::ControlModifier : args[1] == "Enter" ? Qt::KeypadModifier : Qt::NoModifier);
        if (c == "wheel") {
            const bool atDepth = args.size() > 2 && args.back() != "ctrl";
            const QPointF at = atDepth ? QPointF(20, profile()->geometry().yOf(std::stod(args.back()))) : QPointF(5, 5);
            QWheelEvent e(at, w->mapToGlobal(at), {}, {0, 120 * std::stoi(args.at(1))}, Qt::NoButton,
                          ctrl ? Qt::ControlModifier : Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(w, &e);
            profile()->drawTracksIfStale();
            if (atDepth) said_.push_back("depth under the pointer: " + std::to_string(profile()->axisAt(at.y())));
        }
        if (c == "press") {
            const QPointF at(profile()->geometry().tracks.at(0).center().x(), profile()->geometry().yOf(std::stod(rest)));
            mouse(profile(), QEvent::MouseButtonPress, at), mouse(profile(), QEvent::MouseButtonRelease, at);
        }
        if (c == "profile") said_.push_back(profileState());
        if (c == "size") form().resize(std::stoi(args.at(0)), std::stoi(args.at(1)));
        if (c == "refresh") form().refreshDisplay();
        if (c == "typed") win_->messages->typed.push_back(rest);
        if (c == "drop") {
            std::vector<std::string> paths;
            for (const std::string& a : args) paths.push_back(path(a));
            said_.push_back(dropFiles(&form(), paths) ? "the window took the drop" : "the window refused the drag");
        }
        if (c == "remember") states_[rest] = state();
        if (c == "same") said_.push_back(sameAs(rest));
        if (c == "add")
            for (QChar ch : QString::fromStdString(rest.substr(args[0].size())).trimmed()) sendKey(w, 0, ch);
        if (c == "focus") said_.push_back(describe(QApplication::focusWidget()));
        if (c == "type") typeInto(qobject_cast<QLineEdit*>(w), QString::fromStdString(rest.substr(args[0].size())).trimmed());
        if (auto* list = qobject_cast<QComboBox*>(w); list && c == "pick") {
            list->setCurrentIndex(std::stoi(args.at(1)));
            emit list->activated(std::stoi(args.at(1)));
        }
        if (auto* list = qobject_cast<QListWidget*>(w); list && c == "pick") emit list->itemClicked(list->item(std::stoi(args.at(1))));
        if (auto* bar = qobject_cast<QScrollBar*>(w); bar && c == "pick") bar->setValue(std::stoi(args.at(1)));
        if (c == "during") during_ = args;
        if (c == "show")
            for (const std::string& name : args) said_.push_back(describe(find(name)));
        if (c == "panel")
            for (QWidget* child : w->findChildren<QWidget*>())
                if (!child->objectName().startsWith("qt_") && (!child->objectName().isEmpty() || qobject_cast<QLabel*>(child)))
                    said_.push_back(describe(child));
        if (c == "menus") menuTree(form().menuBar()->actions(), "");
        if (c == "rows") {
            const QImage shot = form().grab().toImage();
            for (int r = std::stoi(args.at(0)); r <= std::stoi(args.at(1)); ++r) said_.push_back(row(shot, r));
        }
        if (c == "file") {
            const std::vector<std::string> lines = splitLines(readFile(path(args.at(0))));
            const std::size_t first = args.size() > 1 ? std::stoul(args[1]) : 1;
            const std::size_t last = args.size() > 2 ? std::stoul(args[2]) : lines.size();
            said_.push_back(std::to_string(lines.size()) + " lines");
            for (std::size_t i = first; i <= last && i <= lines.size(); ++i) said_.push_back("| " + ui::fromCp1252(lines[i - 1]).toStdString());
        }
        if (c == "value") said_.push_back(std::to_string(form().sounding().value(std::stoi(args.at(0)), std::stoi(args.at(1)))));
        if (c == "check") {
            CellMask none{};
            const std::string why = windowProblem(form());
            said_.push_back(why.empty() ? pageProblem(form(), none, rest == "combined") : why);
            if (said_.back().empty()) said_.back() = "the window shows the page model and the Sounding";
        }
        QCoreApplication::processEvents();
        for (std::size_t i = dialogsBefore; i < win_->files->shown.size(); ++i)
            said_.push_back("dialog: " + win_->files->shown[i]);
        if (win_->runsEnded != endedBefore) said_.push_back("the run ended");
    }

    TempDir out_;
    std::unique_ptr<Window> win_;
    std::vector<std::string> said_, during_;
    std::map<std::string, State> states_;
};

class Scenes : public ::testing::TestWithParam<std::string> {};

TEST_P(Scenes, ShowWhatTheTranscriptSays) {
    const std::string file = kScenes + "/" + GetParam() + ".txt";
    const std::string expected = readFile(file);
    const std::string actual = Scene().run(expected);
    if (std::getenv("QM_UPDATE_CASES")) writeFile(file, actual);
    EXPECT_EQ(actual, expected);
}

std::vector<std::string> sceneNames() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(kScenes))
        if (e.path().extension() == ".txt") names.push_back(e.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Window, Scenes, ::testing::ValuesIn(sceneNames()), [](const auto& info) {
    std::string name = info.param;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});

}  // namespace
}  // namespace qm::uitest
