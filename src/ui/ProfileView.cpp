#include "ui/ProfileView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace qm::ui {

namespace {

constexpr double kZoomPerNotch = 0.8;
constexpr int kReadingsPerNotch = 3;
// The closest zoom shows about two pages of readings.
constexpr int kFewestReadingsShown = 48;

}  // namespace

ProfileView::ProfileView(QWidget* parent) : QWidget(parent) {
    setObjectName("profileView");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 300);
    setFocusPolicy(Qt::NoFocus);
    style_.font = font();
    style_.font.setPointSizeF(std::max(6.0, style_.font.pointSizeF() - 1.5));
    setToolTip("Click or drag: go to a reading. Ctrl + wheel: zoom. Double click: whole sounding.");
}

void ProfileView::setDecimalSeparator(char sep) {
    style_.decimalSeparator = sep;
    invalidate();
}

void ProfileView::setProfile(std::shared_ptr<const ProfileData> profile) {
    const bool sameExtent = profile_ && profile && profile_->axisMin == profile->axisMin &&
                            profile_->axisMax == profile->axisMax && profile_->elevation == profile->elevation &&
                            profile_->feet == profile->feet;
    profile_ = std::move(profile);
    if (!sameExtent || !zoomed_) {
        zoomed_ = false;
        fitWholeSounding();
    }
    invalidate();
}

void ProfileView::clearProfile() {
    profile_.reset();
    invalidate();
}

void ProfileView::setTrackShown(int channel, bool shown) {
    if (channel < 0 || channel > kMaxChannels || shown_[channel] == shown) return;
    shown_[channel] = shown;
    invalidate();
}

std::vector<const ProfileTrack*> ProfileView::shownTracks() const {
    std::vector<const ProfileTrack*> out;
    if (!profile_) return out;
    for (const ProfileTrack& t : profile_->tracks)
        if (!t.optional || trackShown(t.channel)) out.push_back(&t);
    return out;
}

double ProfileView::axisOf(int32_t reading) const {
    if (!profile_ || profile_->readingCount < 1) return 0.0;
    return profile_->axis[static_cast<std::size_t>(std::clamp<int32_t>(reading, 1, profile_->readingCount))];
}

void ProfileView::fitWholeSounding() {
    if (!profile_ || profile_->readingCount < 1) {
        top_ = 0.0;
        bottom_ = 1.0;
    } else {
        const double span = profile_->axisMax - profile_->axisMin;
        const double pad = std::max(span * 0.01, 0.01);
        top_ = profile_->axisMin - pad;
        bottom_ = profile_->axisMax + pad;
        // Elevations: the higher one at the top.
        if (profile_->elevation) std::swap(top_, bottom_);
    }
    zoomed_ = false;
    invalidate();
    emit zoomChanged();
}

void ProfileView::zoomAround(double axisValue, double factor) {
    if (!profile_ || profile_->readingCount < 2) return;
    const double full = profile_->axisMax - profile_->axisMin;
    const double span = std::fabs(bottom_ - top_);
    const double step = full / std::max(1, profile_->readingCount - 1);
    const double fewest = std::max(step * kFewestReadingsShown, 1e-3);
    const double wanted = std::clamp(span * factor, std::min(fewest, full), full * 1.02 + 0.02);
    if (wanted >= full * 1.0) {
        fitWholeSounding();
        return;
    }
    const double sign = bottom_ > top_ ? 1.0 : -1.0;
    const double fraction = (axisValue - top_) / (bottom_ - top_);
    double low = axisValue - fraction * wanted * sign;  // the new top in the axis direction
    // Kept within the sounding.
    const double lowest = profile_->elevation ? profile_->axisMax : profile_->axisMin;
    const double highest = profile_->elevation ? profile_->axisMin + wanted : profile_->axisMax - wanted;
    low = profile_->elevation ? std::clamp(low, highest, lowest) : std::clamp(low, lowest, highest);
    top_ = low;
    bottom_ = low + wanted * sign;
    zoomed_ = true;
    invalidate();
    emit zoomChanged();
}

void ProfileView::follow() {
    if (!zoomed_ || !profile_ || cursor_ < 1) return;
    // The band's ends and the cursor, low to high along the axis.
    const double a = axisOf(bandFirst_ >= 1 ? bandFirst_ : cursor_), b = axisOf(bandLast_ >= 1 ? bandLast_ : cursor_);
    const double c = axisOf(cursor_);
    const double need0 = std::min({a, b, c}), need1 = std::max({a, b, c});
    const double lo = std::min(top_, bottom_), hi = std::max(top_, bottom_);
    if (need0 >= lo && need1 <= hi) return;
    const double span = hi - lo;
    double shift = 0.0;
    if (need1 - need0 > span) shift = c - (lo + hi) / 2;  // a band taller than the window: the cursor in the middle
    else if (need0 < lo) shift = need0 - lo;
    else shift = need1 - hi;
    // A little room beyond the band, as far as the sounding goes.
    const double room = std::min(span * 0.05, std::max(0.0, span - (need1 - need0)) / 2);
    shift += shift > 0 ? room : -room;
    top_ += shift;
    bottom_ += shift;
    invalidate();
}

void ProfileView::invalidate() {
    stale_ = true;
    update();
}

void ProfileView::updateGeometryOnly() {
    geometry_ = layoutProfile(QRectF(rect()).adjusted(2, 2, -2, -2), shownTracks(), style_, top_, bottom_);
}

void ProfileView::drawTracksIfStale() {
    if (!stale_) return;
    stale_ = false;
    updateGeometryOnly();
    const qreal ratio = devicePixelRatioF();
    tracks_ = QPixmap(size() * ratio);
    tracks_.setDevicePixelRatio(ratio);
    tracks_.fill(Qt::white);
    QPainter p(&tracks_);
    if (profile_) {
        drawProfile(p, geometry_, *profile_, shownTracks(), style_);
        ++trackDrawings_;
    }
    p.setPen(QColor(170, 170, 170));
    p.drawRect(QRectF(rect()).adjusted(0, 0, -1, -1));
}

double ProfileView::cursorY() const { return geometry_.yOf(axisOf(cursor_)); }

QRectF ProfileView::bandRect() const {
    return profileBandRect(geometry_, axisOf(bandFirst_), axisOf(bandLast_));
}

QRect ProfileView::cursorArea() const {
    if (!profile_ || cursor_ < 1) return {};
    return profileCursorRect(geometry_, axisOf(cursor_)).united(bandRect()).toAlignedRect().adjusted(-2, -2, 2, 2);
}

void ProfileView::setCursor(int32_t reading, int32_t pageFirst, int32_t pageLast) {
    if (reading == cursor_ && pageFirst == bandFirst_ && pageLast == bandLast_) return;
    const QRect before = cursorArea();
    cursor_ = reading;
    bandFirst_ = pageFirst;
    bandLast_ = pageLast;
    follow();
    if (stale_) return;
    update(before.united(cursorArea()));
}

void ProfileView::paintEvent(QPaintEvent* event) {
    drawTracksIfStale();
    QPainter p(this);
    const QRect area = event->rect();
    p.drawPixmap(area, tracks_, QRectF(QPointF(area.topLeft()) * tracks_.devicePixelRatio(),
                                       QSizeF(area.size()) * tracks_.devicePixelRatio()));
    if (profile_ && cursor_ >= 1) {
        p.setClipRect(area);
        drawProfileCursor(p, geometry_, axisOf(bandFirst_), axisOf(bandLast_), axisOf(cursor_));
    }
}

void ProfileView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    invalidate();
}

void ProfileView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !profile_) return QWidget::mousePressEvent(event);
    dragging_ = true;
    emit pressed();
    emit readingPicked(geometry_.axisAt(event->position().y()));
}

void ProfileView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_ || !(event->buttons() & Qt::LeftButton) || !profile_) {
        dragging_ = false;
        return QWidget::mouseMoveEvent(event);
    }
    emit readingPicked(geometry_.axisAt(event->position().y()));
}

void ProfileView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseDoubleClickEvent(event);
    dragging_ = false;
    fitWholeSounding();
    emit doubleClicked();
}

void ProfileView::wheelEvent(QWheelEvent* event) {
    if (!profile_) return QWidget::wheelEvent(event);
    wheelRest_ += event->angleDelta().y();
    const int notches = wheelRest_ / 120;
    wheelRest_ -= notches * 120;
    event->accept();
    if (notches == 0) return;
    if (event->modifiers() & Qt::ControlModifier)
        zoomAround(geometry_.axisAt(event->position().y()), std::pow(kZoomPerNotch, notches));
    else
        emit wheelScrolled(-notches * kReadingsPerNotch);
}

}  // namespace qm::ui
