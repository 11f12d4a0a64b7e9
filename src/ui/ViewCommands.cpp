#include "ui/ViewCommands.h"

#include <QAction>
#include <QBoxLayout>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSettings>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <memory>

#include "model/NumberText.h"
#include "model/ProfileData.h"
#include "ops/TrackLabels.h"
#include "ui/InterpretationCommands.h"
#include "ui/MainForm.h"
#include "ui/PlainText.h"
#include "ui/PageCellEdit.h"
#include "ui/ProfileView.h"
#include "ui/TextCodec.h"

namespace qm::ui {

namespace {

// Narrower than this, four tracks get too cramped to read beside the page.
constexpr int kLeastWidthBeside = 300;
constexpr int kReadingsPerNotch = 3;
const char* const kScalesGroup = "scales";

std::string scaleKey(const ProfileTrack& t) { return t.key + "@" + t.unit; }

QAction* item(QObject* owner, const char* objectName, const char* caption) {
    auto* a = new QAction(QString::fromLatin1(caption), owner);
    a->setObjectName(objectName);
    a->setEnabled(false);
    return a;
}

}  // namespace

ViewCommands::ViewCommands(MainForm& form) : QObject(&form), form_(form) {
    QMenuBar* bar = form_.menuBar();
    auto* view = new QMenu("&View", &form_);
    view->setObjectName("mnuView");
    view->menuAction()->setObjectName("mnuView");
    profileItem_ = item(this, "mnuProfile", "&Profile");
    profileItem_->setCheckable(true);
    connect(profileItem_, &QAction::triggered, this, [this] { mnuProfileClick(); });
    view->addAction(profileItem_);
    tracksMenu_ = new QMenu("&Tracks", &form_);
    tracksMenu_->setObjectName("mnuTracks");
    tracksMenu_->menuAction()->setObjectName("mnuTracks");
    tracksMenu_->menuAction()->setEnabled(false);
    view->addMenu(tracksMenu_);
    scalesMenu_ = new QMenu("&Scales", &form_);
    scalesMenu_->setObjectName("mnuScales");
    scalesMenu_->menuAction()->setObjectName("mnuScales");
    scalesMenu_->menuAction()->setEnabled(false);
    view->addMenu(scalesMenu_);
    // The scales chosen in earlier runs (separator "." whatever the locale).
    QSettings settings;
    settings.beginGroup(kScalesGroup);
    for (const QString& key : settings.childKeys())
        if (const auto range = parseScale(settings.value(key).toString().toStdString(), '.'))
            ownScales_[toCp1252(key)] = *range;
    view->addSeparator()->setObjectName("sepView");
    QAction* fit = item(this, "mnuFitWholeSounding", "&Fit Whole Sounding");
    connect(fit, &QAction::triggered, this, [this] { mnuFitWholeSoundingClick(); });
    view->addAction(fit);
    QAction* go = item(this, "mnuGoToDepth", "&Go to Depth...");
    go->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    go->setShortcutContext(Qt::WindowShortcut);
    connect(go, &QAction::triggered, this, [this] { mnuGoToDepthClick(); });
    view->addAction(go);
    interpretation_ = new InterpretationCommands(form_, *view);
    connect(interpretation_, &InterpretationCommands::changed, this, [this] { soundingChanged(); });
    // Beside the other menus, before About.
    bar->insertMenu(form_.action("mnuAbout"), view);

    // The profile's place beside the page takes the window's spare width.
    besideArea_ = new QWidget(&form_);
    besideArea_->setObjectName("profileArea");
    auto* besideLayout = new QVBoxLayout(besideArea_);
    besideLayout->setContentsMargins(0, 0, 0, 0);
    besideArea_->hide();
    if (auto* row = qobject_cast<QHBoxLayout*>(form_.findChild<QWidget*>("centralArea")->layout())) {
        row->setStretchFactor(form_.findChild<QWidget*>("readingsPage"), 0);
        row->addWidget(besideArea_, 1);
    }
    profile_ = new ProfileView(besideArea_);
    besideLayout->addWidget(profile_);
    profile_->hide();
    profile_->setDecimalSeparator(form_.decimalSeparator());
    connect(profile_, &ProfileView::pressed, this, [this] {
        beforePress_ = form_.sounding().dataIndex;
        topBeforePress_ = form_.page().topReading();
    });
    connect(profile_, &ProfileView::readingPicked, this, [this](double v) { picked(v); });
    // A double click only fits: the reading its first click picked is undone.
    connect(profile_, &ProfileView::doubleClicked, this, [this] {
        if (!form_.soundingLoaded() || beforePress_ < 1) return;
        const int32_t k = beforePress_, top = topBeforePress_;
        if (k == form_.sounding().dataIndex && top == form_.page().topReading()) return;
        form_.handleReaction(form_.movePage([this, k, top] { return form_.page().returnTo(k, top); }));
    });
    connect(profile_, &ProfileView::wheelScrolled, this, [this](int n) { scrolled(n); });

    scrollBar_ = form_.findChild<QScrollBar*>("pageScrollBar");
    if (scrollBar_)
        connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int top) {
            if (syncing_ || !form_.soundingLoaded()) return;
            form_.handleReaction(form_.movePage([this, top] { return form_.page().scrollTo(top); }));
        });
    // The wheel over the page's cells (a text box passes it on only to its
    // parents' handlers, not their filters) and over its free space.
    if (QWidget* page = form_.findChild<QWidget*>("readingsPage")) {
        page->installEventFilter(this);
        for (QWidget* w : page->findChildren<QWidget*>())
            if (qobject_cast<PageCellEdit*>(w) || w->objectName().startsWith("readings"))
                w->installEventFilter(this);
    }
    // u0 follows the water table box as it is typed.
    if (auto* box = form_.findChild<QLineEdit*>("txtWaterTableDepth"))
        connect(box, &QLineEdit::textChanged, this, [this] { soundingChanged(); });
}

std::string ViewCommands::channelSignature() const {
    const Sounding& s = form_.sounding();
    std::string sig;
    for (int c = 1; c <= s.channelCount && c <= kMaxChannels; ++c)
        sig += std::to_string(s.channelType[c]) + ":" + s.channelName[c] + "|";
    return sig;
}

void ViewCommands::loaded() {
    for (const char* name : {"mnuProfile", "mnuFitWholeSounding", "mnuGoToDepth"})
        if (QAction* a = form_.action(name)) a->setEnabled(true);
    if (scrollBar_) scrollBar_->setEnabled(true);
    // The profile starts shown where it fits beside the page; elsewhere the
    // View menu brings it into the header column's place.
    profileItem_->setChecked(fitsBeside());
    soundingChanged();
    form_.layoutSideColumn();
    pageShown();
}

void ViewCommands::soundingChanged() {
    stale_ = true;
    if (!form_.soundingLoaded()) return;
    if (channelSignature() != trackSignature_) rebuildTrackMenu();
    if (profile_->isVisibleTo(&form_)) rebuildProfile();
}

void ViewCommands::rebuildProfile() {
    stale_ = false;
    pageChanges_ = form_.page().changeCount();
    const std::optional<double> water =
        localeTextToNumber(form_.boxText("txtWaterTableDepth"), form_.decimalSeparator());
    auto data = std::make_shared<ProfileData>(
        buildProfile(form_.sounding(), form_.tables(), form_.page().depthInFeet(), water));
    interpretation_->addTracks(*data);
    applyScales(*data, scaleChooser());
    profile_->setProfile(data);
    rebuildScaleMenu();
    pageShown();
}

void ViewCommands::rebuildTrackMenu() {
    trackSignature_ = channelSignature();
    tracksMenu_->clear();
    const Sounding& s = form_.sounding();
    const ProfileData shape = buildProfile(s, form_.tables(), false, std::nullopt);
    for (const ProfileTrack& t : shape.tracks) {
        if (!t.optional) continue;
        const int c = t.channel;
        QString caption = plainCaption(fromCp1252(s.channelName[c]));
        caption = (c < 10 ? QStringLiteral("&%1 ").arg(c) : QStringLiteral("1&0 ")) + caption;
        auto* a = new QAction(caption, tracksMenu_);
        a->setObjectName(QStringLiteral("mnuTrack_%1").arg(c));
        a->setCheckable(true);
        a->setChecked(profile_->trackShown(c));
        connect(a, &QAction::toggled, this, [this, c](bool on) { profile_->setTrackShown(c, on); });
        tracksMenu_->addAction(a);
    }
    interpretation_->addTrackItems(*tracksMenu_);
    tracksMenu_->menuAction()->setEnabled(!tracksMenu_->actions().isEmpty());
}

ScaleChooser ViewCommands::scaleChooser() const {
    return [this](const ProfileTrack& t) -> std::optional<ValueRange> {
        const auto it = ownScales_.find(scaleKey(t));
        if (it == ownScales_.end()) return std::nullopt;
        return it->second;
    };
}

void ViewCommands::setOwnScale(const ProfileTrack& t, std::optional<ValueRange> range) {
    const std::string key = scaleKey(t);
    QSettings settings;
    settings.beginGroup(kScalesGroup);
    if (range) {
        ownScales_[key] = *range;
        settings.setValue(fromCp1252(key), QString::fromStdString(scaleText(*range, '.')));
    } else {
        ownScales_.erase(key);
        settings.remove(fromCp1252(key));
    }
    rebuildProfile();
}

void ViewCommands::rebuildScaleMenu() {
    const ProfileData* data = profile_->profile();
    // The items stay while the tracks and their units do (a choice redraws
    // the profile from inside its own item's signal); only the checks move.
    std::string signature;
    if (data)
        for (const ProfileTrack& t : data->tracks) signature += scaleKey(t) + "|";
    if (signature != scaleSignature_) {
        scaleSignature_ = signature;
        scalesMenu_->clear();
        for (QMenu* old : scalesMenu_->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly)) delete old;
        int n = 0;
        if (data)
            for (const ProfileTrack& t : data->tracks) addScaleItems(t, ++n);
        scalesMenu_->menuAction()->setEnabled(!scalesMenu_->actions().isEmpty());
    }
    if (!data) return;
    int n = 0;
    for (const ProfileTrack& t : data->tracks) {
        ++n;
        const std::vector<double> standard = standardScales(t);
        bool isStandard = false;
        for (std::size_t k = 0; k < standard.size(); ++k) {
            const bool on = t.ownScale && t.low == 0.0 && t.high == standard[k];
            isStandard = isStandard || on;
            if (QAction* a = form_.action(QStringLiteral("mnuScaleStd_%1_%2").arg(n).arg(k + 1).toLatin1().constData()))
                a->setChecked(on);
        }
        if (QAction* a = form_.action(QStringLiteral("mnuScaleAuto_%1").arg(n).toLatin1().constData()))
            a->setChecked(!t.ownScale);
        if (QAction* a = form_.action(QStringLiteral("mnuScaleOwn_%1").arg(n).toLatin1().constData()))
            a->setChecked(t.ownScale && !isStandard);
    }
}

void ViewCommands::addScaleItems(const ProfileTrack& t, int n) {
    const char sep = form_.decimalSeparator();
    QString caption = fromCp1252(t.title).replace("&", "&&") + " (" + QString::fromStdString(unitSpelling(t.unit)) + ")";
    if (n <= 10) caption = QStringLiteral("&%1 ").arg(n % 10) + caption;
    QMenu* menu = scalesMenu_->addMenu(caption);
    menu->setObjectName(QStringLiteral("mnuScale_%1").arg(n));
    menu->menuAction()->setObjectName(QStringLiteral("mnuScale_%1").arg(n));
    // The track's name and unit pick the remembered scale; n finds the
    // track in the profile of the moment.
    auto choice = [&](const QString& name, const QString& text, auto&& run) {
        auto* a = new QAction(text, menu);
        a->setObjectName(name);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, run);
        menu->addAction(a);
    };
    auto trackAt = [this](int i) -> const ProfileTrack* {
        const ProfileData* d = profile_->profile();
        return d && i >= 1 && static_cast<std::size_t>(i) <= d->tracks.size() ? &d->tracks[static_cast<std::size_t>(i) - 1] : nullptr;
    };
    choice(QStringLiteral("mnuScaleAuto_%1").arg(n), "&Automatic", [this, trackAt, n] {
        if (const ProfileTrack* t = trackAt(n)) setOwnScale(ProfileTrack(*t), std::nullopt);
    });
    int k = 0;
    for (double high : standardScales(t)) {
        ++k;
        const QString text = QStringLiteral("0 \u2013 ") + QString::fromStdString(generalNumberText(static_cast<float>(high), sep));
        choice(QStringLiteral("mnuScaleStd_%1_%2").arg(n).arg(k), text, [this, trackAt, n, high] {
            if (const ProfileTrack* t = trackAt(n)) setOwnScale(ProfileTrack(*t), ValueRange{0.0, high});
        });
    }
    choice(QStringLiteral("mnuScaleOwn_%1").arg(n), "&Own...", [this, trackAt, n] {
        if (const ProfileTrack* t = trackAt(n)) askOwnScale(ProfileTrack(*t));
    });
}

void ViewCommands::askOwnScale(const ProfileTrack& t) {
    const char sep = form_.decimalSeparator();
    const std::string unit = toCp1252(QString::fromStdString(unitSpelling(t.unit)));
    const std::optional<std::string> answer = form_.messageBoxes().askText(
        "Scale of " + t.title + " (" + unit + "), as minimum:maximum:", scaleText({t.low, t.high}, sep));
    if (!answer) return;
    const std::optional<ValueRange> range = parseScale(*answer, sep);
    if (!range) {
        form_.messageBoxes().message("\"" + *answer + "\" is not a scale. Please type the minimum and the maximum, "
                                     "for example 0:20 or -50:250" + sep + "5.");
        return;
    }
    setOwnScale(t, range);
}

void ViewCommands::pageShown() {
    if (!form_.soundingLoaded()) return;
    const ReadingsPage& page = form_.page();
    const Sounding& s = form_.sounding();
    // A commit, Insert or Delete changed the sounding through the page.
    if (page.changeCount() != pageChanges_) {
        pageChanges_ = page.changeCount();
        soundingChanged();
    }
    const int32_t top = page.topReading();
    profile_->setCursor(s.dataIndex, std::max<int32_t>(top, 1), std::min<int32_t>(top + kPageRows - 1, s.readingCount));
    if (scrollBar_) {
        syncing_ = true;
        scrollBar_->setRange(1, std::max(page.lastTopReading(), top));
        scrollBar_->setPageStep(kPageRows);
        scrollBar_->setValue(top);
        syncing_ = false;
    }
}

bool ViewCommands::fitsBeside() const {
    // The page's grid has its fixed size at once; the layouts follow later.
    const QWidget* side = form_.findChild<QWidget*>("sideArea");
    const QWidget* grid = form_.findChild<QWidget*>("readingsGrid");
    const int bar = scrollBar_ ? scrollBar_->sizeHint().width() : 16;
    const int used = side->width() + grid->width() + bar + 2 * 10 + 2 * 6 + 4;
    return form_.width() - used >= kLeastWidthBeside;
}

bool ViewCommands::place(bool panelShown) {
    const bool on = form_.soundingLoaded() && profileItem_->isChecked();
    auto* side = qobject_cast<QVBoxLayout*>(form_.findChild<QWidget*>("sideArea")->layout());
    const bool beside = fitsBeside();
    if (on && !beside && !inSide_ && side) {
        // In the header column's place, under the file name.
        side->insertWidget(side->indexOf(form_.findChild<QWidget*>("headerArea")) + 1, profile_, 100);
        inSide_ = true;
    } else if ((!on || beside) && inSide_) {
        besideArea_->layout()->addWidget(profile_);
        inSide_ = false;
    }
    besideArea_->setVisible(on && beside);
    const bool show = on && (beside || !panelShown);
    // The header boxes go first: standing beside the profile for a moment,
    // they would make the window grow to hold both, and stay grown.
    if (show && inSide_) form_.findChild<QWidget*>("headerArea")->hide();
    const bool wasShown = profile_->isVisibleTo(&form_);
    profile_->setVisible(show);
    if (show && (!wasShown || stale_)) rebuildProfile();
    return on && inSide_ && !panelShown;
}

void ViewCommands::mnuProfileClick() { form_.layoutSideColumn(); }

void ViewCommands::mnuFitWholeSoundingClick() {
    if (form_.soundingLoaded()) profile_->fitWholeSounding();
}

void ViewCommands::mnuGoToDepthClick() {
    if (!form_.soundingLoaded()) return;
    const bool feet = form_.page().depthInFeet();
    const char sep = form_.decimalSeparator();
    const std::string unit = feet ? "ft" : "m";
    const Sounding& s = form_.sounding();
    const std::string current =
        formatPattern(s.value(0, std::clamp<int32_t>(s.dataIndex, 1, kMaxReadings)), "0.00", sep);
    const std::optional<std::string> answer = form_.messageBoxes().askText("Go to depth (" + unit + "):", current);
    if (!answer) return;
    const std::optional<double> depth = localeTextToNumber(*answer, sep);
    if (!depth || !std::isfinite(*depth)) {
        form_.messageBoxes().message("\"" + *answer + "\" is not a depth. Please type a number of " +
                                     (feet ? "feet" : "metres") + ", for example 12" + sep + "50.");
        return;
    }
    // Beyond the last reading (below it in depth, under it in elevation):
    // the last reading, and a word why the page stops there.
    const float last = s.readingCount >= 1 ? s.value(0, std::min<int32_t>(s.readingCount, kMaxReadings)) : 0.0f;
    const bool elevation = s.depthFormatApplied == 1;
    const bool beyond = s.readingCount >= 1 && (elevation ? *depth < last - 0.005 : *depth > last + 0.005);
    const int32_t k = beyond ? s.readingCount : form_.page().nearestReading(*depth);
    form_.handleReaction(form_.movePage([this, k] { return form_.page().goToReading(k); }));
    if (beyond)
        form_.messageBoxes().message("The sounding ends at " + formatPattern(last, "0.00", sep) + " " + unit + ".");
}

void ViewCommands::picked(double axisValue) {
    if (!form_.soundingLoaded()) return;
    const int32_t k = form_.page().nearestReading(axisValue);
    const PageReaction reaction = form_.movePage([this, k] { return form_.page().goToReading(k); });
    // A refused typed value ends the drag with its one message.
    if (!reaction.messages.empty()) profile_->stopDrag();
    form_.handleReaction(reaction);
}

void ViewCommands::scrolled(int readings) {
    if (form_.soundingLoaded() && readings != 0)
        form_.handleReaction(form_.movePage([this, readings] { return form_.page().scrollBy(readings); }));
}

bool ViewCommands::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        wheelRest_ += wheel->angleDelta().y();
        const int notches = wheelRest_ / 120;
        wheelRest_ -= notches * 120;
        scrolled(-notches * kReadingsPerNotch);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace qm::ui
