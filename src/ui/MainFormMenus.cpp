// The menu tree, with About and Exit. Items that need a sounding start
// disabled; the load enables them.

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "ui/MainForm.h"

namespace qm::ui {

namespace {

QAction* item(QWidget* owner, const char* objectName, const char* caption, bool enabled = true,
              bool checkable = false) {
    auto* a = new QAction(QString::fromLatin1(caption), owner);
    a->setObjectName(objectName);
    a->setEnabled(enabled);
    a->setCheckable(checkable);
    return a;
}

QMenu* submenu(QWidget* owner, const char* objectName, const char* caption, bool enabled = true) {
    auto* m = new QMenu(QString::fromLatin1(caption), owner);
    m->setObjectName(objectName);
    // The menu's own item carries the name too, so action() finds it.
    m->menuAction()->setObjectName(objectName);
    m->menuAction()->setEnabled(enabled);
    return m;
}

void separator(QMenu* menu, const char* objectName) { menu->addSeparator()->setObjectName(objectName); }

}  // namespace

void MainForm::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("menuBar");

    QMenu* file = submenu(this, "MenuFile", "&File");
    QAction* open = item(this, "MenuFileOpen", "&Open");
    connect(open, &QAction::triggered, this, [this] { menuFileOpenClick(); });
    file->addAction(open);
    separator(file, "sep1");
    QAction* copy = item(this, "mnuCopy", "&Copy");
    connect(copy, &QAction::triggered, this, [this] { mnuCopyClick(); });
    file->addAction(copy);
    separator(file, "Sep0");
    file->addAction(item(this, "menuCombine", "&Combine", false));
    separator(file, "sep2");
    QAction* save = item(this, "MenuFileSave", "&Save", false);
    connect(save, &QAction::triggered, this, [this] { menuFileSaveClick(); });
    file->addAction(save);
    separator(file, "sep3");
    file->addAction(item(this, "MenuExport", "&Export", false));
    file->addAction(item(this, "mnuExportCsv", "Export CS&V...", false));
    file->addAction(item(this, "mnuExportGef", "Export &GEF-CPT...", false));
    file->addAction(item(this, "mnuExportAgs", "Export AGS&4...", false));
    file->addAction(item(this, "mnuAgsTransfer", "AGS4 &Transfer Details..."));
    file->addAction(item(this, "mnuExportLog", "Export &Log...", false));
    separator(file, "sep4");
    file->addAction(item(this, "mnuAutoClean", "&AutoClean For Interp", false));
    separator(file, "sep5");
    QAction* exit = item(this, "MenuFileExit", "&Exit");
    connect(exit, &QAction::triggered, this, [this] { menuFileExitClick(); });
    file->addAction(exit);
    bar->addMenu(file);

    bar->addAction(item(this, "mnuShiftBaseline", "&Shift Channel(s)", false));

    QMenu* editDepth = submenu(this, "mnuEditDepth", "&Edit Depth / Elevation", false);
    editDepth->addAction(item(this, "menuStartDepth", "&Start Depth / Elevation"));
    editDepth->addAction(item(this, "mnuDepthIncrement", "&Depth / Elevation Increment"));
    QMenu* format = submenu(this, "mnuDepthFormat", "Depth Format");
    format->addAction(item(this, "mnuDepth", "Depth", true, true));
    format->addAction(item(this, "mnuElevation", "Elevation", true, true));
    editDepth->addMenu(format);
    bar->addMenu(editDepth);

    QMenu* digits = submenu(this, "mnuDepthSignificantDigits", "&Depth Significant Digits", false);
    QAction* two = item(this, "mnu2Digits", "2 digits", true, true);
    connect(two, &QAction::triggered, this, [this] { mnu2DigitsClick(); });
    digits->addAction(two);
    QAction* three = item(this, "mnu3Digits", "3 digits", true, true);
    connect(three, &QAction::triggered, this, [this] { mnu3DigitsClick(); });
    digits->addAction(three);
    bar->addMenu(digits);

    QAction* about = item(this, "mnuAbout", "&About");
    connect(about, &QAction::triggered, this, [this] { mnuAboutClick(); });
    bar->addAction(about);
    buildHistoryMenu();
}

void MainForm::enableLoadedCommands() {
    for (const char* name : {"MenuFileSave", "MenuExport", "mnuExportCsv", "mnuExportGef", "mnuExportAgs", "mnuExportLog",
                             "menuCombine", "mnuShiftBaseline", "mnuEditDepth", "mnuDepthSignificantDigits",
                             "mnuAutoClean", "mnuHistoryList", "mnuSaveHistory"})
        action(name)->setEnabled(true);
    action("MenuFileOpen")->setEnabled(false);
}

void MainForm::mnuAboutClick() { messageBoxes_->message("Quillmere Version 2021.05.04.1"); }

void MainForm::menuFileExitClick() {
    // No question and nothing saved.
    endRun();
}

}  // namespace qm::ui
