#pragma once
// The View menu and what it governs: the profile beside the page (or, when
// the window has no room beside the page, in the header column's place),
// its optional tracks, Fit Whole Sounding, Go to Depth; and the ways of
// moving through a long sounding that need no cell: the wheel over the page,
// the page's scroll bar and a click on the profile. The moves themselves are
// the page model's (ReadingsPage::jumpTo and its callers).

#include <QObject>
#include <array>
#include <map>
#include <string>

#include "model/Sounding.h"
#include "ops/TrackScales.h"

class QAction;
class QMenu;
class QScrollBar;
class QWidget;

namespace qm::ui {

class InterpretationCommands;
class MainForm;
class ProfileView;

class ViewCommands : public QObject {
    Q_OBJECT
   public:
    explicit ViewCommands(MainForm& form);

    // The window calls these: after every change of the sounding, after the
    // page was shown again, after the load, and when the side column or the
    // window's width changed. place() returns true when the profile takes
    // the header column's place.
    void soundingChanged();
    void pageShown();
    void loaded();
    bool place(bool panelShown);

    void mnuProfileClick();
    void mnuFitWholeSoundingClick();
    void mnuGoToDepthClick();

    ProfileView* profileView() const { return profile_; }
    // The scales the user chose in View > Scales, for the profile and the log.
    ScaleChooser scaleChooser() const;
    // Sets (or, with none, clears) the user's scale of a track, remembered
    // between runs, and draws the profile again.
    void setOwnScale(const ProfileTrack& t, std::optional<ValueRange> range);
    InterpretationCommands& interpretation() const { return *interpretation_; }

   protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

   private:
    void rebuildProfile();
    void rebuildTrackMenu();
    void rebuildScaleMenu();
    void addScaleItems(const ProfileTrack& t, int n);
    void askOwnScale(const ProfileTrack& t);
    bool fitsBeside() const;
    void picked(double axisValue);
    void scrolled(int readings);
    std::string channelSignature() const;

    MainForm& form_;
    ProfileView* profile_ = nullptr;
    InterpretationCommands* interpretation_ = nullptr;
    QWidget* besideArea_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
    QMenu* tracksMenu_ = nullptr;
    QMenu* scalesMenu_ = nullptr;
    // The user's scales by track and unit ("qc@MPA"), as remembered.
    std::map<std::string, ValueRange> ownScales_;
    std::string scaleSignature_;
    QAction* profileItem_ = nullptr;
    bool stale_ = true;
    bool syncing_ = false;
    bool inSide_ = false;
    uint64_t pageChanges_ = 0;
    int wheelRest_ = 0;
    // The cursor and the page's top before the last press on the profile.
    int32_t beforePress_ = 0, topBeforePress_ = 0;
    std::string trackSignature_;
};

}  // namespace qm::ui
