#pragma once
// The program's two kinds of message box: a message with an OK button and a
// question with Yes and No. The window shows them with QMessageBox; the
// tests record each text and script each answer.

#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace qm::ui {

class MessageBoxes {
   public:
    virtual ~MessageBoxes() = default;
    // `text` is in the code page of the files (Windows-1252 bytes).
    virtual void message(const std::string& text) = 0;
    // True for Yes.
    virtual bool question(const std::string& text) = 0;
    // A line of text typed in answer to `prompt` (OK), or none (Cancel).
    virtual std::optional<std::string> askText(const std::string& /*prompt*/, const std::string& /*text*/) {
        return std::nullopt;
    }
    // The index of the item chosen in answer to `prompt` (OK), or none (Cancel).
    virtual std::optional<int> chooseItem(const std::string& /*prompt*/, const std::vector<std::string>& /*items*/) {
        return std::nullopt;
    }
};

// Modal boxes over `parent`, titled with the application's name.
class QtMessageBoxes : public MessageBoxes {
   public:
    explicit QtMessageBoxes(QWidget* parent) : parent_(parent) {}
    void message(const std::string& text) override;
    bool question(const std::string& text) override;
    std::optional<std::string> askText(const std::string& prompt, const std::string& text) override;
    std::optional<int> chooseItem(const std::string& prompt, const std::vector<std::string>& items) override;

   private:
    QWidget* parent_;
};

}  // namespace qm::ui
