#include "ui/CombinePanel.h"

#include <QAction>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

#include "model/SafeFile.h"
#include "ops/Combine.h"
#include "ui/MainForm.h"
#include "ui/PlainText.h"
#include "ui/TextCodec.h"

namespace qm::ui {

namespace {

constexpr const char* kSoundingFilter = "Digital CPT data (*.cpt)|*.cpt";

// The preview's columns line up only in a font whose characters are all
// one width. The system's fixed font is the first choice; where it resolves
// to a proportional face (a sparse font set), any installed fixed-pitch
// family will do.
QFont fixedWidthFont() {
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (QFontInfo(f).fixedPitch()) return f;
    for (const QString& family : QFontDatabase::families()) {
        if (!QFontDatabase::isFixedPitch(family) || QFontDatabase::isPrivateFamily(family)) continue;
        f.setFamily(family);
        if (QFontInfo(f).fixedPitch()) return f;
    }
    f.setStyleHint(QFont::TypeWriter);
    return f;
}

QLabel* caption(const char* text, const char* objectName, QWidget* parent) {
    return plainLabel(QString::fromLatin1(text), parent, objectName);
}

}  // namespace

CombinePanel::CombinePanel(MainForm& form)
    : QObject(&form), form_(form), second_(std::make_unique<SecondSounding>()) {
    frame_ = form_.panelFrame("frmSecondFileData");
    buildControls();
    connect(form_.action("menuCombine"), &QAction::triggered, this,
            [this] { form_.runCommand("read the second file", [this] { menuCombineClick(); }); });
    connect(cmdCombineOK_, &QPushButton::clicked, this,
            [this] { form_.runCommand("combine the soundings", [this] { cmdCombineOKClick(); }); });
}

CombinePanel::~CombinePanel() = default;

void CombinePanel::buildControls() {
    auto* column = new QVBoxLayout(frame_);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(6);

    auto* fields = new QGridLayout();
    fields->setHorizontalSpacing(6);
    fields->setVerticalSpacing(4);
    fields->addWidget(caption("Final Depth Of 1st Sounding:", "lblFinalDepthCaption", frame_), 0, 0);
    lblFinalDepthOfFirstSounding_ = caption("", "lblFinalDepthOfFirstSounding", frame_);
    fields->addWidget(lblFinalDepthOfFirstSounding_, 0, 1, 1, 2);

    auto* startCaption = caption("Start Appending At Depth:", "lblStartDepthCaption", frame_);
    fields->addWidget(startCaption, 1, 0);
    txtStartDepth_ = new QLineEdit(frame_);
    txtStartDepth_->setObjectName("txtStartDepth");
    txtStartDepth_->setMaximumWidth(80);
    startCaption->setBuddy(txtStartDepth_);
    fields->addWidget(txtStartDepth_, 1, 1);
    fields->addWidget(caption("m", "lblStartDepthUnit", frame_), 1, 2);
    fields->setColumnStretch(2, 1);
    column->addLayout(fields);

    chkNormalizeDepth_ = new QCheckBox(QStringLiteral("Normalize depth to 1st file"), frame_);
    chkNormalizeDepth_->setObjectName("chkNormalizeDepth");
    column->addWidget(chkNormalizeDepth_);

    const QFont fixed = fixedWidthFont();

    // The headings sit in a strip without scroll bars that follows the
    // preview's horizontal scrolling, so each heading stays over its column
    // however wide the preview is.
    lblSecondFileChannels_ = caption("", "lblSecondFileChannels", frame_);
    lblSecondFileChannels_->setFont(fixed);
    lblSecondFileChannels_->setTextFormat(Qt::PlainText);
    headingsArea_ = new QScrollArea(frame_);
    headingsArea_->setObjectName("secondFileChannelsStrip");
    headingsArea_->setFrameShape(QFrame::NoFrame);
    headingsArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    headingsArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    headingsArea_->setWidgetResizable(false);
    headingsArea_->setWidget(lblSecondFileChannels_);
    // The strip shows the frame behind it, like every other label.
    lblSecondFileChannels_->setAutoFillBackground(false);
    headingsArea_->viewport()->setAutoFillBackground(false);
    headingsArea_->setAutoFillBackground(false);
    headingsArea_->setFixedHeight(QFontMetrics(fixed).height() + 2);
    // The strip ends where the preview's text area ends, before its
    // vertical scroll bar.
    auto* strip = new QHBoxLayout();
    strip->setContentsMargins(0, 0, 0, 0);
    strip->setSpacing(0);
    strip->addWidget(headingsArea_, 1);
    const int scrollBarWidth = frame_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, frame_);
    strip->addSpacing(scrollBarWidth + 2);
    column->addLayout(strip);

    txtSecondFileData_ = new QPlainTextEdit(frame_);
    txtSecondFileData_->setObjectName("txtSecondFileData");
    txtSecondFileData_->setFont(fixed);
    txtSecondFileData_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtSecondFileData_->setWordWrapMode(QTextOption::NoWrap);
    // For inspection only: what the append takes is the file as read.
    txtSecondFileData_->setReadOnly(true);
    txtSecondFileData_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(txtSecondFileData_->horizontalScrollBar(), &QScrollBar::valueChanged, headingsArea_->horizontalScrollBar(),
            &QScrollBar::setValue);
    column->addWidget(txtSecondFileData_, 1);

    cmdCombineOK_ = new QPushButton(QStringLiteral("OK"), frame_);
    cmdCombineOK_->setObjectName("cmdCombineOK");
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(cmdCombineOK_);
    column->addLayout(buttons);
}

void CombinePanel::showMessages(const std::vector<std::string>& messages) {
    for (const std::string& m : messages) form_.messageBoxes().message(m);
}

void CombinePanel::menuCombineClick() {
    form_.prepareFileDialog(kSoundingFilter, "");
    CommonDialog& dialog = form_.commonDialog();
    dialog.showOpen();
    if (dialog.fileName.empty()) {
        form_.messageBoxes().message(kNoFileSelectedMessage);
        return;
    }

    secondTitle_ = fileTitleOf(dialog.fileName);
    const CombineReadResult read =
        readSecondFile(dialog.fileName, form_.sounding(), form_.tables(), form_.commaDecimalMode(), *second_);
    // The cone message, the channel-count message, the drill-outs and a
    // depth/elevation mismatch, in the order the read met them.
    showMessages(read.messages);
    if (!read.ok) {
        // No second file is ready to append any more: the panel may not
        // stay open on an earlier preview.
        frame_->hide();
        return;
    }
    showPreview(read.preview);
}

void CombinePanel::showPreview(const CombinePreview& preview) {
    setPlainText(lblSecondFileChannels_, fromCp1252(preview.channelHeadings));

    QString data;
    qsizetype longest = lblSecondFileChannels_->text().size();
    for (const std::string& line : preview.dataLines) {
        if (!data.isEmpty()) data += QLatin1Char('\n');
        const QString text = fromCp1252(line);
        longest = std::max(longest, text.size());
        data += text;
    }
    txtSecondFileData_->setPlainText(data);
    txtSecondFileData_->moveCursor(QTextCursor::Start);

    // The headings are one character narrower than the depth column (" Depth"
    // over "  12.80"), so the strip starts one character to the right of the
    // preview's text: then every heading ends where its column ends. It is
    // wide enough to follow the preview's scrolling to its end.
    const QFontMetrics metrics(lblSecondFileChannels_->font());
    const int indent = txtSecondFileData_->frameWidth() +
                       static_cast<int>(txtSecondFileData_->document()->documentMargin()) +
                       metrics.horizontalAdvance(QLatin1Char('0'));
    lblSecondFileChannels_->setContentsMargins(indent, 0, 0, 0);
    lblSecondFileChannels_->setFixedSize(
        indent + metrics.horizontalAdvance(QString(longest, QLatin1Char('0'))) + 64,
        headingsArea_->height());
    headingsArea_->horizontalScrollBar()->setValue(txtSecondFileData_->horizontalScrollBar()->value());

    form_.showPanel(frame_);
    setPlainText(lblFinalDepthOfFirstSounding_, fromCp1252(preview.finalDepthOfFirstSounding));
    txtStartDepth_->setText(fromCp1252(preview.startDepth));
    txtStartDepth_->setCursorPosition(0);
    chkNormalizeDepth_->setChecked(preview.normalizeDepth);
    txtStartDepth_->setFocus();
}

void CombinePanel::cmdCombineOKClick() {
    const std::string startText = toCp1252(txtStartDepth_->text());
    form_.beginStep();
    const AppendResult appended = appendSecondSounding(form_.sounding(), *second_, startText,
                                                       chkNormalizeDepth_->isChecked(), form_.commaDecimalMode(),
                                                       form_.page().depthInFeet());
    showMessages(appended.messages);
    if (appended.ok) {
        // Only the count: the page shows the new readings at its next refresh.
        form_.updateNumberOfReadingsLabel();
        frame_->hide();
    }
    // Otherwise the panel stays for another start value.
    form_.endStep([this, &startText](const Sounding& before) {
        return steps::combine(before, form_.sounding(), secondTitle_, startText);
    });
}

}  // namespace qm::ui
