#pragma once
// The main window's file dialog (CommonDialog1). A command sets filter,
// fileName and initDir, calls showOpen or showSave and reads fileName (the
// full path, empty when the user cancelled) and fileTitle (the name without
// its folder). What sits behind it is a FileDialogBackend: QFileDialog in
// the program, scripted answers in the tests.

#include <memory>
#include <string>

class QWidget;

namespace qm::ui {

class CommonDialog;

class FileDialogBackend {
   public:
    virtual ~FileDialogBackend() = default;
    // The chosen full path, or an empty text when cancelled.
    virtual std::string showOpen(const CommonDialog& dialog) = 0;
    virtual std::string showSave(const CommonDialog& dialog) = 0;
};

class CommonDialog {
   public:
    explicit CommonDialog(std::unique_ptr<FileDialogBackend> backend);

    // "Description|pattern" pairs joined by "|", e.g. "Digital CPT data (*.cpt)|*.cpt".
    std::string filter;
    std::string fileName;
    std::string initDir;
    std::string fileTitle;

    void showOpen();
    void showSave();

    FileDialogBackend& backend() { return *backend_; }

   private:
    void take(std::string chosen);
    std::unique_ptr<FileDialogBackend> backend_;
};

// The Qt file dialog. Like the system dialog it stands in for, it leaves the
// process's current folder where the user picked the file, so a later
// dialog opens there.
class QtFileDialogBackend : public FileDialogBackend {
   public:
    explicit QtFileDialogBackend(QWidget* parent) : parent_(parent) {}
    std::string showOpen(const CommonDialog& dialog) override;
    std::string showSave(const CommonDialog& dialog) override;

   private:
    QWidget* parent_;
};

// "Digital CPT data (*.*)|*.*" as a Qt name filter: "Digital CPT data (*)".
// "*.*" means every file, also one without an extension.
std::string qtNameFilters(const std::string& filter);

}  // namespace qm::ui
