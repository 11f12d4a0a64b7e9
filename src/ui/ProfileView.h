#pragma once
// The profile beside the readings page. It draws its tracks once into a
// pixmap and, when the page moves, paints only the cursor line and the band
// of the page's readings over it again. A click or a drag names a depth
// (readingPicked), the wheel scrolls the page (wheelScrolled), Ctrl + wheel
// zooms around the pointer, a double click shows the whole sounding.

#include <QPixmap>
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

#include "model/ProfileData.h"
#include "ui/ProfilePainter.h"

namespace qm::ui {

class ProfileView : public QWidget {
    Q_OBJECT
   public:
    explicit ProfileView(QWidget* parent = nullptr);

    // A new profile (after any change of the sounding); the zoom stays when
    // the extent is the same, else the whole sounding shows.
    void setProfile(std::shared_ptr<const ProfileData> profile);
    void clearProfile();
    const ProfileData* profile() const { return profile_.get(); }
    // The optional track of channel c is drawn.
    void setTrackShown(int channel, bool shown);
    bool trackShown(int channel) const { return channel >= 0 && channel <= kMaxChannels && shown_[channel]; }
    std::vector<const ProfileTrack*> shownTracks() const;
    void setDecimalSeparator(char sep);

    // The current reading and the page's first and last reading.
    void setCursor(int32_t reading, int32_t pageFirst, int32_t pageLast);
    int32_t cursorReading() const { return cursor_; }
    int32_t bandFirst() const { return bandFirst_; }
    int32_t bandLast() const { return bandLast_; }

    // Ends a drag: the moves of the mouse pick no more readings.
    void stopDrag() { dragging_ = false; }
    void fitWholeSounding();
    // Zooms the depth window by `factor` (< 1 closer) keeping `axisValue` in place.
    void zoomAround(double axisValue, double factor);
    double windowTop() const { return top_; }
    double windowBottom() const { return bottom_; }

    // Where things are drawn: the geometry of the last drawing, the cursor
    // line's y and the band's rectangle; and how often the tracks were drawn.
    const ProfileGeometry& geometry() const { return geometry_; }
    double cursorY() const;
    QRectF bandRect() const;
    int trackDrawings() const { return trackDrawings_; }
    // Draws the tracks now if they are out of date (as a paint would).
    void drawTracksIfStale();
    // The axis value at a y of the widget.
    double axisAt(double y) const { return geometry_.axisAt(y); }

   signals:
    // A press of the left button, before the reading it picks.
    void pressed();
    void readingPicked(double axisValue);
    // A double click fitted the whole sounding (after its first click picked).
    void doubleClicked();
    void wheelScrolled(int readings);
    void zoomChanged();

   protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

   private:
    void invalidate();
    void updateGeometryOnly();
    double axisOf(int32_t reading) const;
    QRect cursorArea() const;
    // Keeps the cursor and the page's whole band inside a zoomed window.
    void follow();

    std::shared_ptr<const ProfileData> profile_;
    std::array<bool, kMaxChannels + 1> shown_{};
    ProfileStyle style_;
    ProfileGeometry geometry_;
    QPixmap tracks_;
    bool stale_ = true;
    int trackDrawings_ = 0;
    double top_ = 0.0, bottom_ = 1.0;
    bool zoomed_ = false;
    int32_t cursor_ = 0, bandFirst_ = 0, bandLast_ = 0;
    int wheelRest_ = 0;
    bool dragging_ = false;
};

}  // namespace qm::ui
