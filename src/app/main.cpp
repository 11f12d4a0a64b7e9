// quillmere [FILE.cpt]: the window program. With a FILE it opens it at start
// as File > Open does once the dialog has returned it, so a file manager or a
// shell can hand the program a file.

#include <QApplication>
#include <QScreen>
#include <clocale>

#include "ui/MainForm.h"

int main(int argc, char* argv[]) {
    // The decimal mode follows the C library's locale from the environment.
    std::setlocale(LC_ALL, "");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quillmere");
    // Desktops match the window to the installed quillmere.desktop (its
    // name and icon) by this.
    QGuiApplication::setDesktopFileName("quillmere");

    qm::ui::MainForm form;
    // The window is laid out for 1366 x 768 and up; it takes the whole
    // screen, so a wider one shows the profile beside all ten channels.
    form.resize(form.screen()->availableGeometry().size());
    form.showMaximized();

    // QApplication has taken its own options out of argv; the path stays the
    // bytes the shell gave.
    if (argc > 1) form.openSoundingFile(argv[1]);
    return QApplication::exec();
}
