#pragma once
// The interpretation in the window: View > Interpretation... opens the
// settings dialog (the net area ratio, remembered per cone number; the water
// table, the header box's or another; the unit weight, estimated or a
// constant), and View > Tracks switches its tracks on (Bq, Ic, the soil
// behaviour type column). While any of them is on, the profile draws qt with
// qc, and the log and the CSV export carry the interpretation.

#include <QObject>
#include <optional>

#include "ops/Interpretation.h"
#include "ops/InterpretationTracks.h"

class QAction;
class QDialog;
class QLineEdit;
class QMenu;
class QRadioButton;

namespace qm::ui {

class MainForm;

class InterpretationCommands : public QObject {
    Q_OBJECT
   public:
    InterpretationCommands(MainForm& form, QMenu& viewMenu);

    // The settings as the dialog last accepted them; the area ratio is the
    // one remembered for the sounding's cone.
    InterpretationSettings settings() const;
    const InterpretationTrackChoice& tracks() const { return tracks_; }
    // Any of the tracks is on: the log and the exports carry it.
    bool on() const { return tracks_.any(); }
    // The interpretation of the open sounding with the settings, the water
    // table box standing for the header's; none while it is off.
    std::optional<Interpretation> current() const;
    // Adds the chosen tracks (and qt) to a profile of the open sounding.
    void addTracks(ProfileData& p) const;
    // The Tracks menu's items for the interpretation, appended to `menu`.
    void addTrackItems(QMenu& menu);

    void mnuInterpretationClick();
    // The dialog's OK: a bad value gets its message and changes nothing.
    void cmdInterpretationOkClick();

   signals:
    void changed();

   private:
    MainForm& form_;
    QAction* item_ = nullptr;
    QDialog* dialog_ = nullptr;
    QLineEdit* areaRatio_ = nullptr;
    QRadioButton* headerWater_ = nullptr;
    QLineEdit* waterTableBox_ = nullptr;
    QRadioButton* estimated_ = nullptr;
    QLineEdit* unitWeight_ = nullptr;
    InterpretationTrackChoice tracks_;
    std::optional<double> otherWater_;  // another water table than the header's
    std::optional<double> unitWeightValue_;
};

}  // namespace qm::ui
