// The left side of the window: the file name, the no-file message, the header
// boxes with the GPS position, and the place where the panels appear.

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/LineFields.h"
#include "ui/HeaderBoxes.h"
#include "ui/MainForm.h"
#include "ui/PlainText.h"

namespace qm::ui {

namespace {

constexpr int kSideWidth = 300;

QLabel* label(const QString& text, QWidget* parent, const char* objectName = nullptr) {
    return plainLabel(text, parent, objectName);
}

QLineEdit* box(const char* objectName, QWidget* parent) {
    auto* b = new QLineEdit(parent);
    b->setObjectName(objectName);
    return b;
}

}  // namespace

QWidget* MainForm::buildSideArea() {
    auto* side = new QWidget(this);
    side->setObjectName("sideArea");
    side->setFixedWidth(kSideWidth);
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);

    lblFileName_ = label("WELCOME TO QUILLMERE", side, "lblFileName");
    QFont big = lblFileName_->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() + 1.5);
    lblFileName_->setFont(big);
    lblFileName_->setWordWrap(true);
    column->addWidget(lblFileName_);

    frmMessage_ = new QFrame(side);
    frmMessage_->setObjectName("frmMessage");
    frmMessage_->setFrameShape(QFrame::StyledPanel);
    auto* messageLayout = new QVBoxLayout(frmMessage_);
    messageLayout->setContentsMargins(8, 6, 8, 6);
    auto* noFile = label("No file selected", frmMessage_, "lblNoFileSelected");
    noFile->setAlignment(Qt::AlignCenter);
    messageLayout->addWidget(noFile);
    column->addWidget(frmMessage_);

    headerArea_ = buildHeaderArea();
    column->addWidget(headerArea_);
    buildPanelFrames(side);
    // Only the combine panel's preview uses the height of the side; the
    // other panels are as tall as their controls and sit at the top.
    for (QGroupBox* frame : panels_)
        column->addWidget(frame, frame->objectName() == QLatin1String("frmSecondFileData") ? 1 : 0);
    column->addStretch(1);
    return side;
}

QWidget* MainForm::buildHeaderArea() {
    auto* area = new QWidget(this);
    area->setObjectName("headerArea");
    auto* column = new QVBoxLayout(area);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);

    // Each caption sits above its box, so the boxes get the whole width of
    // the side and long header texts show in full or nearly so.
    auto* fields = new QVBoxLayout();
    fields->setSpacing(0);
    for (const HeaderBox& h : headerBoxes()) {
        auto* b = box(h.objectName, area);
        b->setEnabled(false);
        // A text longer than its box scrolls inside it; the tip shows it whole.
        connect(b, &QLineEdit::textChanged, b, [b](const QString& t) { setPlainToolTip(b, t); });
        auto* l = label(h.caption, area);
        l->setBuddy(b);
        QFont small = l->font();
        small.setPointSizeF(small.pointSizeF() - 1.0);
        l->setFont(small);
        fields->addWidget(l);
        fields->addWidget(b);
        fields->addSpacing(3);
    }
    column->addLayout(fields);

    auto* gps = new QFrame(area);
    gps->setObjectName("gpsArea");
    gps->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(gps);
    grid->setContentsMargins(8, 6, 8, 8);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    auto* title = label("GPS DATA", gps, "lblGPSData");
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    grid->addWidget(title, 0, 0, 1, 3);
    const char* names[] = {"txtGPSLat", "txtGPSLon", "txtGPSAlt"};
    const char* captions[] = {"LAT", "LON", "ALT"};
    for (int i = 0; i < 3; ++i) {
        auto* b = box(names[i], gps);
        b->setReadOnly(true);
        grid->addWidget(label(captions[i], gps), i + 1, 0);
        grid->addWidget(b, i + 1, 1);
    }
    grid->addWidget(label("(m)", gps, "lblGPSAltUnits"), 3, 2);
    auto* edit = new QPushButton("EDIT GPS DATA", gps);
    edit->setObjectName("cmdEditGPS");
    edit->setEnabled(false);
    grid->addWidget(edit, 4, 1);
    grid->setColumnStretch(1, 1);
    column->addWidget(gps);
    return area;
}

void MainForm::buildPanelFrames(QWidget* area) {
    struct Frame {
        const char* objectName;
        const char* caption;
    };
    static const Frame frames[] = {
        {"frmSecondFileData", "COMBINE FILES"},
        {"frmChangeStartDepth", "CHANGE START DEPTH"},
        {"frmDepthIncrement", "DEPTH / ELEVATION INCREMENT"},
        {"frmShiftBaselines", "SHIFT CHANNEL(S)"},
        {"frmExportData", "EXPORT DATA"},
    };
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        auto* frame = new QGroupBox(frames[i].caption, area);
        frame->setObjectName(frames[i].objectName);
        frame->setAutoFillBackground(true);
        frame->hide();
        frame->installEventFilter(this);
        panels_[i] = frame;
    }
}

void MainForm::showHeaderTexts() {
    for (const HeaderBox& h : headerBoxes()) setBoxText(h.objectName, sounding_.*(h.field));
    // DecodeGPS only for a GGA sentence; otherwise the boxes show the empty
    // fields, and the altitude box its unit.
    if (containsNoCase(sounding_.gpsSentence, "GGA"))
        decodeGps();
    else
        setGpsBoxes("", "", "m");
    for (const HeaderBox& h : headerBoxes())
        if (auto* b = findChild<QLineEdit*>(h.objectName)) b->setEnabled(true);
    if (auto* edit = findChild<QPushButton*>("cmdEditGPS")) edit->setEnabled(true);
}

}  // namespace qm::ui
