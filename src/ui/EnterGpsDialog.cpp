#include "ui/EnterGpsDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/NumberText.h"
#include "ui/GpsCommands.h"
#include "ui/MainForm.h"
#include "ui/PlainText.h"
#include "ui/TextCodec.h"

namespace qm::ui {

namespace {

QLineEdit* textBox(const char* objectName, QWidget* parent) {
    auto* b = new QLineEdit(parent);
    b->setObjectName(objectName);
    return b;
}

QComboBox* list(const char* objectName, QWidget* parent) {
    auto* c = new QComboBox(parent);
    c->setObjectName(objectName);
    return c;
}

QPushButton* button(const char* objectName, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(objectName);
    return b;
}

// The list item whose text is `text`, or the first when none is.
int itemOrFirst(const QComboBox* c, const std::string& text) {
    const int found = c->findText(fromCp1252(text), Qt::MatchExactly | Qt::MatchCaseSensitive);
    return found < 0 ? 0 : found;
}

std::string selectedText(const QComboBox* c) { return c->currentIndex() < 0 ? std::string() : toCp1252(c->currentText()); }

}  // namespace

EnterGpsDialog::EnterGpsDialog(MainForm& form, GpsCommands& gps) : QDialog(nullptr), form_(form), gps_(gps) {
    setObjectName("frmEnterGPS");
    setPlainWindowTitle(this, QStringLiteral("Enter GPS Data"));
    buildControls();
    formLoad();
}

void EnterGpsDialog::buildControls() {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(14, 12, 14, 12);
    column->setSpacing(10);

    auto* instructions = plainLabel(
        "ENTER GPS DATA. LATITUDE, LONGITUDE AND ALTITUDE VALUES ARE REQUIRED. OTHER VALUES ARE NOT REQUIRED AND "
        "WILL BE FILLED WITH DEFAULT VALUES IF NOT SPECIFIED.  NOTE: LEADING ZEROS ARE NOT REQUIRED.",
        this, "lblInstructions");
    instructions->setWordWrap(true);
    column->addWidget(instructions);

    auto* grid = new QGridLayout();
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    int row = 0;
    // One row per field: its label (the label's buddy is the control, so
    // the label belongs to it), the control, and the unit where there is one.
    const auto addRow = [&](const QString& caption, QWidget* control, const char* unit = nullptr) {
        auto* l = plainLabel(caption, this);
        l->setBuddy(control);
        grid->addWidget(l, row, 0);
        grid->addWidget(control, row, 1);
        if (unit) grid->addWidget(plainLabel(unit, this), row, 2);
        ++row;
    };

    txtTime_ = textBox("txtTime", this);
    txtLatitude_ = textBox("txtLatitude", this);
    cmbNS_ = list("cmbNS", this);
    txtLongitude_ = textBox("txtLongitude", this);
    cmbEW_ = list("cmbEW", this);
    txtPositionFix_ = textBox("txtPositionFix", this);
    cmbNumberOfSatellites_ = list("cmbNumberOfSatellites", this);
    txtHDOP_ = textBox("txtHDOP", this);
    txtAltitude_ = textBox("txtAltitude", this);
    txtGeoid_ = textBox("txtGeoid", this);

    addRow("UTC TIME (hhmmss.sss)", txtTime_);
    addRow("LATITUDE (ddmm.mmmm)", txtLatitude_);
    addRow("N/S", cmbNS_);
    addRow("LONGITUDE (dddmm.mmmm)", txtLongitude_);
    addRow("E/W", cmbEW_);
    addRow("POSITION FIX", txtPositionFix_);
    addRow("NUMBER OF SATELLITES (0-24)", cmbNumberOfSatellites_);
    addRow("HDOP  (00.0 - 99.9)", txtHDOP_);
    addRow("ALTITUDE (xxxx.x)", txtAltitude_, "(m)");
    addRow("GEOID SEPARATION (-9999.9 - 17999.9)", txtGeoid_, "(m)");
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(2, fontMetrics().horizontalAdvance("(m)"));
    column->addLayout(grid);

    auto* sentenceRow = new QHBoxLayout();
    sentenceRow->setSpacing(6);
    sentenceRow->addWidget(plainLabel("GPS STRING:", this, "lblGPSStringCaption"));
    lblGPSString_ = plainLabel("", this, "lblGPSString");
    lblGPSString_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    sentenceRow->addWidget(lblGPSString_, 1);
    column->addLayout(sentenceRow);

    auto* buttons = new QHBoxLayout();
    auto* ok = button("cmdOK", "OK", this);
    auto* cancel = button("cmdCancel", "CANCEL", this);
    auto* clear = button("cmdClearGPS", "CLEAR GPS", this);
    // Enter in a box is OK, as in any dialog; Escape is CANCEL (reject).
    ok->setDefault(true);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    buttons->addWidget(clear);
    column->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &EnterGpsDialog::cmdOKClick);
    connect(cancel, &QPushButton::clicked, this, &EnterGpsDialog::cmdCancelClick);
    connect(clear, &QPushButton::clicked, this, &EnterGpsDialog::cmdClearGPSClick);

    // Every box and list rebuilds the sentence when it changes, also when
    // the program sets it. The position fix does too, so OK never stores a
    // fix the label does not show.
    for (QLineEdit* box : {txtTime_, txtLatitude_, txtLongitude_, txtPositionFix_, txtHDOP_, txtAltitude_, txtGeoid_})
        connect(box, &QLineEdit::textChanged, this, &EnterGpsDialog::buildGpsSentence);
    for (QComboBox* c : {cmbNS_, cmbEW_, cmbNumberOfSatellites_})
        connect(c, &QComboBox::currentIndexChanged, this, &EnterGpsDialog::buildGpsSentence);

    // Room for a long sentence (two-digit satellites, wide altitude and
    // geoid) on its line without the dialog growing as the user types.
    setMinimumWidth(660);
}

void EnterGpsDialog::formLoad() {
    // 1. The lists, each on its first item.
    cmbNS_->addItems({"N", "S"});
    cmbEW_->addItems({"E", "W"});
    for (int i = 0; i <= kMaxSatellites; ++i) cmbNumberOfSatellites_->addItem(fromCp1252(numberText(i)));

    // 2. The fields as DecodeGPS left them. N/S and E/W take "S" or "W"
    // only when the field is exactly that letter; a satellite count the list
    // has no item for selects none.
    const GpsFields& f = gps_.fields;
    const GpsEntry e = gpsEntryFromFields(f);
    txtTime_->setText(fromCp1252(e.time));
    txtLatitude_->setText(fromCp1252(e.latitude));
    cmbNS_->setCurrentIndex(itemOrFirst(cmbNS_, e.northSouth));
    txtLongitude_->setText(fromCp1252(e.longitude));
    cmbEW_->setCurrentIndex(itemOrFirst(cmbEW_, e.eastWest));
    txtPositionFix_->setText(fromCp1252(e.positionFix));
    cmbNumberOfSatellites_->setCurrentIndex(satelliteItemIndex(f.satellites));
    txtHDOP_->setText(fromCp1252(e.hdop));
    txtAltitude_->setText(fromCp1252(e.altitude));
    txtGeoid_->setText(fromCp1252(e.geoidSeparation));

    // 3.
    buildGpsSentence();
}

GpsEntry EnterGpsDialog::entry() const {
    GpsEntry e;
    e.time = toCp1252(txtTime_->text());
    e.latitude = toCp1252(txtLatitude_->text());
    e.northSouth = selectedText(cmbNS_);
    e.longitude = toCp1252(txtLongitude_->text());
    e.eastWest = selectedText(cmbEW_);
    e.positionFix = toCp1252(txtPositionFix_->text());
    e.satellites = selectedText(cmbNumberOfSatellites_);
    e.hdop = toCp1252(txtHDOP_->text());
    e.altitude = toCp1252(txtAltitude_->text());
    e.geoidSeparation = toCp1252(txtGeoid_->text());
    return e;
}

void EnterGpsDialog::buildGpsSentence() {
    setPlainText(lblGPSString_, fromCp1252(qm::buildGpsSentence(entry())));
}

void EnterGpsDialog::cmdOKClick() {
    form_.beginStep();
    const GpsOkResult result = acceptGpsEntry(form_.sounding(), entry());
    for (const std::string& m : result.messages) form_.messageBoxes().message(m);
    if (result.ok) {
        // The stored sentence is the one the label shows; DecodeGPS refreshes
        // the fields and the main window's boxes from it.
        form_.decodeGps();
    } else if (result.closeDialog) {
        // No position: the sentence is gone and the boxes are emptied. The
        // ten fields keep the last decoded position, so the next opening
        // offers it again.
        form_.setGpsBoxes("", "", "");
    }
    form_.endStep([this](const Sounding& before) { return steps::gpsPosition(before, form_.sounding()); });
    if (result.closeDialog) closeDialog(QDialog::Accepted);
}

void EnterGpsDialog::cmdCancelClick() { closeDialog(QDialog::Rejected); }

void EnterGpsDialog::reject() { cmdCancelClick(); }

void EnterGpsDialog::cmdClearGPSClick() {
    // The stored sentence goes at once: a CANCEL after this does not bring
    // it back. The main window's boxes keep their text until an OK.
    form_.beginStep();
    clearGps(form_.sounding());
    gps_.fields = GpsFields{};
    form_.endStep([](const Sounding& before) { return steps::clearGps(before); });
    for (QLineEdit* box : {txtTime_, txtLatitude_, txtLongitude_, txtPositionFix_, txtHDOP_, txtAltitude_, txtGeoid_})
        box->clear();
    for (QComboBox* c : {cmbNS_, cmbEW_, cmbNumberOfSatellites_}) c->setCurrentIndex(-1);
    buildGpsSentence();
}

void EnterGpsDialog::closeDialog(int result) {
    done(result);
    form_.setEnabled(true);
    form_.activateWindow();
}

}  // namespace qm::ui
