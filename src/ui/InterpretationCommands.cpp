#include "ui/InterpretationCommands.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QUrl>
#include <QVBoxLayout>

#include "model/NumberText.h"
#include "ui/MainForm.h"
#include "ui/MessageBoxes.h"
#include "ui/TextCodec.h"

namespace qm::ui {

namespace {

// Remembered per cone, as the header names it: a cone keeps its area ratio.
// Percent-encoded, so a "/" in the cone number makes no group of its own.
QString areaRatioKey(const Sounding& s) {
    const QString cone = fromCp1252(s.coneNumber).trimmed();
    return QStringLiteral("interpretation/areaRatio/") +
           (cone.isEmpty() ? QStringLiteral("(no cone)") : QString::fromLatin1(QUrl::toPercentEncoding(cone)));
}

// The ratio remembered for the cone; else the one the opened file gives
// (GEF-CPT, AGS4); else the usual 0.80.
double rememberedAreaRatio(const Sounding& s, std::optional<double> fromFile) {
    const QVariant v = QSettings().value(areaRatioKey(s));
    bool ok = false;
    const double a = v.toDouble(&ok);
    if (ok && areaRatioProblem(a).empty()) return a;
    return fromFile && areaRatioProblem(*fromFile).empty() ? *fromFile : kDefaultAreaRatio;
}

QString numberText(double v, int decimals, char sep) {
    return QString::fromStdString(formatPattern(v, decimals ? "0." + std::string(decimals, '0') : "0", sep));
}

}  // namespace

InterpretationCommands::InterpretationCommands(MainForm& form, QMenu& viewMenu) : QObject(&form), form_(form) {
    item_ = new QAction(QStringLiteral("&Interpretation..."), this);
    item_->setObjectName("mnuInterpretation");
    item_->setEnabled(false);
    connect(item_, &QAction::triggered, this, [this] { mnuInterpretationClick(); });
    viewMenu.addAction(item_);
}

InterpretationSettings InterpretationCommands::settings() const {
    InterpretationSettings s;
    s.areaRatio = rememberedAreaRatio(form_.sounding(), form_.fileAreaRatio());
    s.waterTable = otherWater_;
    s.unitWeight = unitWeightValue_;
    return s;
}

std::optional<Interpretation> InterpretationCommands::current() const {
    if (!on() || !form_.soundingLoaded()) return std::nullopt;
    InterpretationSettings s = settings();
    const bool fromBox = !s.waterTable;
    if (fromBox) s.waterTable = localeTextToNumber(form_.boxText("txtWaterTableDepth"), form_.decimalSeparator());
    Interpretation in = interpret(form_.sounding(), form_.tables(), s);
    in.settings.waterTable = otherWater_;
    in.waterTableFromHeader = fromBox && in.waterTable.has_value();
    return in;
}

void InterpretationCommands::addTracks(ProfileData& p) const {
    if (const std::optional<Interpretation> in = current())
        addInterpretationTracks(p, form_.sounding(), form_.tables(), *in, tracks_);
}

void InterpretationCommands::addTrackItems(QMenu& menu) {
    item_->setEnabled(form_.soundingLoaded());
    if (!menu.actions().isEmpty()) menu.addSeparator();
    const struct {
        const char* name;
        const char* caption;
        bool InterpretationTrackChoice::*flag;
    } items[] = {{"mnuTrackBq", "&Bq", &InterpretationTrackChoice::bq},
                 {"mnuTrackIc", "&Ic", &InterpretationTrackChoice::ic},
                 {"mnuTrackZones", "&Soil Behaviour Type", &InterpretationTrackChoice::zones}};
    for (const auto& i : items) {
        auto* a = new QAction(QString::fromLatin1(i.caption), &menu);
        a->setObjectName(i.name);
        a->setCheckable(true);
        a->setChecked(tracks_.*(i.flag));
        const auto flag = i.flag;
        connect(a, &QAction::toggled, this, [this, flag](bool on) {
            tracks_.*flag = on;
            emit changed();
        });
        menu.addAction(a);
    }
}

void InterpretationCommands::mnuInterpretationClick() {
    if (!form_.soundingLoaded()) return;
    const char sep = form_.decimalSeparator();
    if (!dialog_) {
        dialog_ = new QDialog(&form_);
        dialog_->setObjectName("frmInterpretation");
        dialog_->setWindowTitle(QStringLiteral("Interpretation"));
        auto* form = new QGridLayout;
        areaRatio_ = new QLineEdit(dialog_);
        areaRatio_->setObjectName("txtAreaRatio");
        headerWater_ = new QRadioButton(QStringLiteral("The &header's"), dialog_);
        headerWater_->setObjectName("optHeaderWaterTable");
        auto* otherWater = new QRadioButton(QStringLiteral("&Other (m):"), dialog_);
        otherWater->setObjectName("optOtherWaterTable");
        waterTableBox_ = new QLineEdit(dialog_);
        waterTableBox_->setObjectName("txtWaterTable");
        estimated_ = new QRadioButton(QStringLiteral("&Estimated from qt and Rf"), dialog_);
        estimated_->setObjectName("optEstimatedUnitWeight");
        auto* constant = new QRadioButton(QStringLiteral("&Constant (kN/m3):"), dialog_);
        constant->setObjectName("optConstantUnitWeight");
        unitWeight_ = new QLineEdit(dialog_);
        unitWeight_->setObjectName("txtUnitWeight");
        auto* waterGroup = new QWidget(dialog_);
        auto* weightGroup = new QWidget(dialog_);
        auto* w = new QGridLayout(waterGroup);
        w->setContentsMargins(0, 0, 0, 0);
        w->addWidget(headerWater_, 0, 0, 1, 2);
        w->addWidget(otherWater, 1, 0);
        w->addWidget(waterTableBox_, 1, 1);
        auto* u = new QGridLayout(weightGroup);
        u->setContentsMargins(0, 0, 0, 0);
        u->addWidget(estimated_, 0, 0, 1, 2);
        u->addWidget(constant, 1, 0);
        u->addWidget(unitWeight_, 1, 1);
        auto* ratioLabel = new QLabel(QStringLiteral("Net &area ratio a:"), dialog_);
        ratioLabel->setBuddy(areaRatio_);
        form->addWidget(ratioLabel, 0, 0);
        form->addWidget(areaRatio_, 0, 1);
        form->addWidget(new QLabel(QStringLiteral("Water table depth:"), dialog_), 1, 0, Qt::AlignTop);
        form->addWidget(waterGroup, 1, 1);
        form->addWidget(new QLabel(QStringLiteral("Unit weight:"), dialog_), 2, 0, Qt::AlignTop);
        form->addWidget(weightGroup, 2, 1);
        auto* buttons = new QDialogButtonBox(dialog_);
        QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
        ok->setObjectName("cmdInterpretationOK");
        QPushButton* cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
        cancel->setObjectName("cmdInterpretationCancel");
        connect(ok, &QPushButton::clicked, this, [this] { cmdInterpretationOkClick(); });
        connect(cancel, &QPushButton::clicked, dialog_, &QDialog::hide);
        auto* all = new QVBoxLayout(dialog_);
        all->addLayout(form);
        all->addWidget(new QLabel(QStringLiteral("The area ratio is remembered for the cone named in the header."), dialog_));
        all->addWidget(buttons);
    }
    // Filled afresh from the settings at each opening.
    const Sounding& s = form_.sounding();
    areaRatio_->setText(numberText(rememberedAreaRatio(s, form_.fileAreaRatio()), 2, sep));
    const QString box = form_.findChild<QLineEdit*>("txtWaterTableDepth")
                            ? fromCp1252(form_.boxText("txtWaterTableDepth"))
                            : QString();
    headerWater_->setText(QStringLiteral("The &header's (%1)").arg(box.isEmpty() ? QStringLiteral("none") : box));
    headerWater_->setChecked(!otherWater_);
    dialog_->findChild<QRadioButton*>("optOtherWaterTable")->setChecked(otherWater_.has_value());
    waterTableBox_->setText(otherWater_ ? numberText(*otherWater_, 2, sep) : QString());
    estimated_->setChecked(!unitWeightValue_);
    dialog_->findChild<QRadioButton*>("optConstantUnitWeight")->setChecked(unitWeightValue_.has_value());
    unitWeight_->setText(unitWeightValue_ ? numberText(*unitWeightValue_, 2, sep) : QString());
    dialog_->show();
    dialog_->raise();
}

void InterpretationCommands::cmdInterpretationOkClick() {
    if (!dialog_ || !form_.soundingLoaded()) return;
    const char sep = form_.decimalSeparator();
    MessageBoxes& boxes = form_.messageBoxes();
    // Every value is read and checked before any is kept.
    const auto read = [&](QLineEdit* box, const char* what, std::string (*problem)(double)) -> std::optional<double> {
        const std::string text = toCp1252(box->text());
        const std::optional<double> v = localeTextToNumber(text, sep);
        if (!v) {
            boxes.message(std::string("The ") + what + " \"" + text + "\" is not a number. Nothing was changed.");
            return std::nullopt;
        }
        if (const std::string why = problem(*v); !why.empty()) {
            boxes.message(why + " Nothing was changed.");
            return std::nullopt;
        }
        return v;
    };
    const std::optional<double> ratio = read(areaRatio_, "net area ratio", areaRatioProblem);
    if (!ratio) return;
    std::optional<double> water, weight;
    if (!headerWater_->isChecked() && !(water = read(waterTableBox_, "water table depth", waterTableProblem))) return;
    if (!estimated_->isChecked() && !(weight = read(unitWeight_, "unit weight", unitWeightProblem))) return;
    QSettings().setValue(areaRatioKey(form_.sounding()), *ratio);
    otherWater_ = water;
    unitWeightValue_ = weight;
    dialog_->hide();
    emit changed();
}

}  // namespace qm::ui
