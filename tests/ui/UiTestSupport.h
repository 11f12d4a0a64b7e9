#pragma once
// Window tests: a main window with scripted file dialogs and recorded message
// boxes, and key and mouse events sent to the real widgets.

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "ui/MainForm.h"
#include "ui/PageCellEdit.h"
#include "ui/TextCodec.h"

namespace qm::uitest {

using test::dataDir;
using test::readFile;
using test::samplesDir;
using test::TempDir;
using test::writeFile;

// Each show answers with the next scripted path ("" cancels) and records
// how the command prepared the dialog.
struct ScriptedFileDialog : ui::FileDialogBackend {
    std::deque<std::string> answers;
    std::vector<std::string> shown;  // "open|save filter fileName initDir"
    std::string showOpen(const ui::CommonDialog& d) override { return answer("open", d); }
    std::string showSave(const ui::CommonDialog& d) override { return answer("save", d); }
    std::string answer(const char* kind, const ui::CommonDialog& d) {
        shown.push_back(std::string(kind) + " \"" + d.filter + "\" \"" + d.fileName + "\" " + d.initDir);
        std::string a = answers.empty() ? std::string() : answers.front();  // cancel once the script ran out
        if (!answers.empty()) answers.pop_front();
        return a;
    }
};

struct RecordingMessageBoxes : ui::MessageBoxes {
    std::vector<std::string> texts;   // every box, messages and questions
    std::deque<bool> answers;         // for questions; No when empty
    std::function<void()> onMessage;  // runs while a box is up
    std::deque<std::optional<std::string>> typed;  // for text prompts; Cancel when empty
    void message(const std::string& text) override { texts.push_back(text), onMessage ? onMessage() : void(); }
    std::optional<std::string> askText(const std::string& prompt, const std::string&) override {
        message(prompt);
        if (typed.empty()) return std::nullopt;
        auto a = typed.front();
        typed.pop_front();
        return a;
    }
    // The item whose text is the next typed answer.
    std::optional<int> chooseItem(const std::string& prompt, const std::vector<std::string>& items) override {
        const auto answer = askText(prompt, "");
        for (std::size_t i = 0; answer && i < items.size(); ++i)
            if (items[i].rfind(*answer, 0) == 0) return static_cast<int>(i);
        return std::nullopt;
    }
    bool question(const std::string& text) override {
        message(text);
        const bool a = !answers.empty() && answers.front();
        if (!answers.empty()) answers.pop_front();
        return a;
    }
};

// What a text box shows: a page cell keeps it apart from the editing buffer.
inline QString shown(const QLineEdit* w) {
    if (auto* cell = qobject_cast<const ui::PageCellEdit*>(w)) return cell->shownText();
    return w->text();
}

struct Window {
    explicit Window(int commaMode = 0) {
        auto boxes = std::make_unique<RecordingMessageBoxes>();
        auto dialog = std::make_unique<ScriptedFileDialog>();
        messages = boxes.get();
        files = dialog.get();
        ui::MainFormPlatform p;
        p.messageBoxes = std::move(boxes);
        p.fileDialog = std::move(dialog);
        p.endRun = [this] { ++runsEnded; };
        p.dataFolder = dataDir();
        p.commaDecimalMode = commaMode;
        form = std::make_unique<ui::MainForm>(std::move(p));
        form->show();
    }
    template <typename T = QWidget> T* w(const QString& name) const { return form->findChild<T*>(name); }
    void open(const std::string& path) {
        files->answers.push_back(path);
        form->menuFileOpenClick();
    }
    std::unique_ptr<ui::MainForm> form;
    RecordingMessageBoxes* messages = nullptr;
    ScriptedFileDialog* files = nullptr;
    int runsEnded = 0;
};

inline void sendKey(QWidget* w, int qtKey, const QString& text = QString(), Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, qtKey, mods, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, mods, text);
    QApplication::sendEvent(w, &release);
}

// Replaces the text of a box as the user would: select all, then type.
inline void typeInto(QLineEdit* w, const QString& text) {
    w->setFocus();
    w->selectAll();
    sendKey(w, Qt::Key_Backspace);
    for (QChar ch : text) sendKey(w, 0, QString(ch));
}

inline void clickOn(QWidget* w) {
    const QPointF at = QRectF(w->rect()).center();
    for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
}

// Drags `paths` onto the window and drops them, as a file manager does; true
// when the window took the drop. The work the drop posts has run on return.
inline bool dropFiles(QWidget* w, const std::vector<std::string>& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& p : paths) urls << QUrl::fromLocalFile(ui::fromFileName(p));
    data.setUrls(urls);
    const QPoint at = w->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &drop);
    QCoreApplication::sendPostedEvents();
    return drop.isAccepted();
}

}  // namespace qm::uitest
