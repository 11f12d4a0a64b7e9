#pragma once
// A sounding file dropped on the main window, as a file manager drops it.
// Before a sounding is loaded the file opens exactly as File > Open opens
// the file its dialog returns; once one is loaded (Open is disabled then)
// a drop only says so and changes nothing. Built once by MainForm after
// start-up.

#include <QObject>
#include <QString>

class QMimeData;

namespace qm::ui {

class MainForm;

class SoundingFileDrop : public QObject {
    Q_OBJECT
   public:
    explicit SoundingFileDrop(MainForm& form);

    // The one local file a drag carries; empty for several files, a link to
    // elsewhere or no file at all, which the window refuses.
    static QString droppedFile(const QMimeData* data);

   protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

   private:
    void open(const QString& path);

    MainForm& form_;
};

}  // namespace qm::ui
