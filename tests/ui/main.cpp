// The window tests need a QApplication before any widget exists.

#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>

// The offscreen platform says for every window that it cannot pass size
// hints on; that says nothing about the tests.
static void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.contains(QLatin1String("propagateSizeHints"))) qt_message_output(type, context, text);
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quillmere");
    // Settings the window keeps (AGS4 transfer details, the
    // interpretation's area ratio per cone) go to a test folder,
    // never the user's own.
    QStandardPaths::setTestModeEnabled(true);
    QSettings().clear();
    // Exported files carry this day, so a scene may show their dates.
    qputenv("QM_TODAY", "2026-01-15");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
