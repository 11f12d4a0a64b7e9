#include "ui/ExportPanel.h"

#include <QAction>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <string>

#include "ops/AnalogExport.h"
#include "ui/MainForm.h"
#include "ui/PlainText.h"
#include "ui/TextCodec.h"

namespace qm::ui {

namespace {

QString text(std::string_view bytes) { return fromCp1252(bytes); }

QLabel* wrappedLabel(std::string_view bytes, const char* objectName, QWidget* parent) {
    QLabel* l = plainLabel(text(bytes), parent, objectName);
    l->setWordWrap(true);
    return l;
}

}  // namespace

ExportPanel::ExportPanel(MainForm& form) : QObject(&form), form_(form) {
    frame_ = form_.panelFrame("frmExportData");
    if (!frame_) return;
    build();
    if (QAction* menu = form_.action("MenuExport"))
        connect(menu, &QAction::triggered, this, [this] { menuExportClick(); });
}

void ExportPanel::build() {
    auto* column = new QVBoxLayout(frame_);
    column->setContentsMargins(10, 8, 10, 10);
    column->setSpacing(10);

    column->addWidget(wrappedLabel(kExportPanelInstruction, "lblExportInstruction", frame_));

    // One exclusive group: none is selected until the first Export of the run.
    options_ = new QButtonGroup(this);
    options_->setExclusive(true);
    auto* rows = new QGridLayout();
    rows->setHorizontalSpacing(6);
    rows->setVerticalSpacing(6);
    const auto& systems = unitSystemRows();
    for (int i = 0; i < kUnitSystemCount; ++i) {
        const UnitSystemRow& row = systems[static_cast<std::size_t>(i)];
        auto* option = new QRadioButton(text(row.caption), frame_);
        option->setObjectName(text(row.optionName));
        options_->addButton(option, i);
        QLabel* units = plainLabel(text(row.label), frame_);
        units->setObjectName(QStringLiteral("lblExportUnits_%1").arg(i + 1));
        units->setBuddy(option);
        rows->addWidget(option, i, 0);
        rows->addWidget(units, i, 1);
    }
    rows->setColumnStretch(1, 1);
    column->addLayout(rows);

    column->addWidget(wrappedLabel(kExportPanelNote, "lblExportNote", frame_));

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    auto* ok = new QPushButton("OK", frame_);
    ok->setObjectName("Command1");
    auto* cancel = new QPushButton("Cancel", frame_);
    cancel->setObjectName("Command2");
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    column->addLayout(buttons);
    // The panel is as tall as its controls, not the whole side of the window.
    frame_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);

    // A click runs the option's handler also on the button already selected:
    // the user asks for that system's units again (after picking one by hand).
    connect(options_, &QButtonGroup::idClicked, this,
            [this](int id) { optionClick(unitSystemRows()[static_cast<std::size_t>(id)].system); });
    connect(ok, &QPushButton::clicked, this,
            [this] { form_.runCommand("export the sounding", [this] { command1Click(); }); });
    connect(cancel, &QPushButton::clicked, this, [this] { command2Click(); });
}

void ExportPanel::menuExportClick() {
    if (!frame_ || !form_.soundingLoaded()) return;
    form_.showPanel(frame_);
    if (options_->checkedButton() == nullptr) {
        // Selecting the option runs its click, so English's units apply now.
        options_->button(0)->setChecked(true);
        optionClick(unitSystemRows()[0].system);
    }
}

void ExportPanel::optionClick(UnitSystem system) {
    unitSystem_ = system;
    // Each pick goes through the channel's unit box, whose handler converts
    // the values and refreshes the page, as when the user picks the unit.
    for (const UnitPick& pick : unitPicksFor(form_.sounding(), form_.tables(), system))
        form_.selectChannelUnit(pick.channel, pick.unitIndex - 1);
}

void ExportPanel::command1Click() {
    if (!form_.soundingLoaded()) return;
    form_.prepareFileDialog(std::string(kAnalogFileFilter), "");
    CommonDialog& dialog = form_.commonDialog();
    dialog.showSave();
    // No file chosen: nothing is written and the panel stays for another try.
    if (dialog.fileName.empty()) return;

    AnalogExportRequest request;
    request.system = unitSystem_.value_or(UnitSystem::English);
    // The title goes into the file's first line, which is in the code page.
    request.fileTitle = toCp1252(fromFileName(dialog.fileTitle));
    request.texts.dateAndTime = form_.boxText("txtDateandTime");
    request.texts.operatorName = form_.boxText("txtOperator");
    request.texts.location = form_.boxText("txtLocation");
    request.texts.coneNumber = form_.boxText("txtConeNumber");
    request.texts.jobNumber = form_.boxText("txtJobNumber");
    request.texts.waterTableDepth = form_.boxText("txtWaterTableDepth");
    request.depthInFeet = form_.page().depthInFeet();
    request.sep = form_.decimalSeparator();

    const OpResult result = exportAnalogFile(form_.sounding(), dialog.fileName, request);
    for (const std::string& m : result.messages) form_.messageBoxes().message(m);
    // A refused water table or a failed write keeps the panel open.
    if (result.ok) frame_->hide();
}

void ExportPanel::command2Click() {
    if (frame_) frame_->hide();
}

}  // namespace qm::ui
