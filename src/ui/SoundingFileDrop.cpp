#include "ui/SoundingFileDrop.h"

#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include "ui/MainForm.h"
#include "ui/TextCodec.h"

namespace qm::ui {

SoundingFileDrop::SoundingFileDrop(MainForm& form) : QObject(&form), form_(form) {
    form.setAcceptDrops(true);
    form.installEventFilter(this);
    // Text boxes take drops of their own by default, and a file dropped on
    // one would become its text (a header line, a reading). Without that a
    // drop anywhere on the window reaches the window.
    for (QLineEdit* box : form.findChildren<QLineEdit*>()) box->setAcceptDrops(false);
}

QString SoundingFileDrop::droppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) return {};
    return urls.front().toLocalFile();
}

bool SoundingFileDrop::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &form_) return false;
    // While the GPS dialog has the window disabled a drop is refused, as
    // every other input is.
    const bool takesInput = form_.isEnabled();
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (!takesInput || droppedFile(drag->mimeData()).isEmpty()) drag->ignore();
            else drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QString path = droppedFile(drop->mimeData());
            if (!takesInput || path.isEmpty()) {
                drop->ignore();
                return true;
            }
            drop->acceptProposedAction();
            // The file manager waits until the drop returns; the load and its
            // message boxes come after that.
            QMetaObject::invokeMethod(this, [this, path] { open(path); }, Qt::QueuedConnection);
            return true;
        }
        default:
            return false;
    }
}

void SoundingFileDrop::open(const QString& path) {
    if (form_.soundingLoaded()) {
        form_.messageBoxes().message("A sounding is open already. To open another file, restart the program.");
        return;
    }
    form_.openSoundingFile(toFileName(path));
}

}  // namespace qm::ui
