#pragma once
// Window tests: a main window with scripted file dialogs and recorded message
// boxes, sounding files built in code, and key and mouse events sent to the
// real widgets.

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/LineFields.h"
#include "model/NumberText.h"
#include "support/SoundingFileBuilder.h"
#include "support/TestSupport.h"
#include "ui/MainForm.h"
#include "ui/PageCellEdit.h"

namespace qm::test {

// Each show answers with the next scripted path ("" cancels) and records
// how the command prepared the dialog.
class ScriptedFileDialog : public ui::FileDialogBackend {
   public:
    struct Shown {
        bool save = false;
        std::string filter, fileName, initDir;
    };
    std::deque<std::string> answers;
    std::vector<Shown> shown;

    std::string showOpen(const ui::CommonDialog& d) override { return answer(false, d); }
    std::string showSave(const ui::CommonDialog& d) override { return answer(true, d); }

   private:
    std::string answer(bool save, const ui::CommonDialog& d) {
        shown.push_back({save, d.filter, d.fileName, d.initDir});
        if (answers.empty()) return {};
        std::string a = answers.front();
        answers.pop_front();
        return a;
    }
};

class RecordingMessageBoxes : public ui::MessageBoxes {
   public:
    std::vector<std::string> texts;      // every box, messages and questions
    std::deque<bool> answers;            // for questions; No when empty
    std::function<void()> onMessage;     // runs while a message box is up
    std::deque<std::optional<std::string>> typed;  // for text prompts; Cancel when empty
    void message(const std::string& text) override {
        texts.push_back(text);
        if (onMessage) onMessage();
    }
    bool question(const std::string& text) override {
        texts.push_back(text);
        if (answers.empty()) return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> askText(const std::string& prompt, const std::string&) override {
        texts.push_back(prompt);
        if (typed.empty()) return std::nullopt;
        auto a = typed.front();
        typed.pop_front();
        return a;
    }
};

// What a text box shows: a page cell keeps it apart from the editing buffer.
inline QString shown(QLineEdit* w) {
    if (auto* cell = qobject_cast<ui::PageCellEdit*>(w)) return cell->shownText();
    return w->text();
}

struct Window {
    explicit Window(int commaMode = 0, std::string dataFolder = dataDir()) {
        auto boxes = std::make_unique<RecordingMessageBoxes>();
        auto dialog = std::make_unique<ScriptedFileDialog>();
        messages = boxes.get();
        files = dialog.get();
        ui::MainFormPlatform p;
        p.messageBoxes = std::move(boxes);
        p.fileDialog = std::move(dialog);
        p.endRun = [this] { ++runsEnded; };
        p.dataFolder = std::move(dataFolder);
        p.commaDecimalMode = commaMode;
        form = std::make_unique<ui::MainForm>(std::move(p));
        form->show();
    }

    template <typename T = QWidget>
    T* w(const QString& name) const {
        return form->findChild<T*>(name);
    }
    QLineEdit* cell(const QString& name) const { return w<QLineEdit>(name); }
    // A page cell's shown text, or a text box's text.
    QString text(const QString& name) const { return shown(cell(name)); }

    // File > Open answering the dialog with `path`.
    void open(const std::string& path) {
        files->answers.push_back(path);
        form->menuFileOpenClick();
    }

    std::unique_ptr<ui::MainForm> form;
    RecordingMessageBoxes* messages = nullptr;
    ScriptedFileDialog* files = nullptr;
    int runsEnded = 0;
};

inline void sendKey(QWidget* w, int qtKey, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

// Replaces the text of a cell as the user would: select all, then type.
inline void typeInto(QLineEdit* w, const QString& text) {
    w->setFocus();
    w->selectAll();
    sendKey(w, Qt::Key_Backspace);
    for (QChar ch : text) sendKey(w, 0, QString(ch));
}

inline void clickOn(QWidget* w) {
    const QPointF at = QRectF(w->rect()).center();
    const QPointF global = w->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

inline QColor background(QWidget* w) { return w->palette().color(QPalette::Base); }
inline QColor textColor(QWidget* w) { return w->palette().color(QPalette::Text); }

// A sounding file built in code. Channels 1 and 2 are tip resistance and
// sleeve friction in KPA with span and full scale 1 and baseline 0, so a
// value equals its raw reading: channel 1 holds 100 + r, channel 2 200 + r
// (or -32768 for its first `missing2` readings). With unit1 "MPA" channel 1
// is shown in MPA: (100 + r) / 1000. Depths every 0.02 m,
// speed 2 cm/s.
struct SoundingText {
    int readings = 60;
    int missing2 = 0;
    bool newer = true;
    std::string unit1 = "KPA";
    int drilloutAfter = 0;  // a marker line after this many readings, 0 for none
    std::string gps = "GGA,212009.000,4733.1167,N,12220.3412,W,2,10,0.9,18.6,M,-22.9,M,,0000*00";
    std::string finalBaseline;

    std::string bytes() const {
        SoundingFileBuilder b(newer);
        const char* header[] = {"Company \xC5 Co.", "Operator", "CN-1",   "Location", "Job", "Hole",
                                "2021-07-02 14:20", "Header",   "Foot 1", "Foot 2"};
        for (int i = 0; i < 10; ++i) b.headerLine(i + 2, header[i]);
        b.headerLine(12, gps).headerLine(13, "1.85");
        b.channel({"1", "TIP RESISTANCE", "1", "0.00000", "1 KPA", unit1, unit1 == "MPA" ? "0.001" : "1"});
        b.channel({"2", "SLEEVE FRICTION", "1", "0.00000", "1 KPA", "KPA", "1"});
        for (int r = 1; r <= readings; ++r) {
            b.row(0.02 * r, 2.0, {100.0 + r, r <= missing2 ? -32768.0 : 200.0 + r});
            if (r == drilloutAfter) b.line("******** DRILLOUT ********");
        }
        if (!finalBaseline.empty()) b.line(finalBaseline);
        return b.text();
    }

    std::string writeTo(const TempDir& dir, const std::string& name) const {
        const std::string path = dir.file(name);
        writeFile(path, bytes());
        return path;
    }
};

}  // namespace qm::test
