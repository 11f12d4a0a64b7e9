// The window tests need a QApplication before any widget exists.

#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

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
    // What the window remembers between runs (scales, AGS4 transfer details)
    // goes to a folder of this test process's own, never the user's and never
    // another test program's running beside it; every run starts from
    // nothing remembered.
    QStandardPaths::setTestModeEnabled(true);
    const QTemporaryDir settingsFolder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder.path());
    QSettings().clear();
    // Exported files carry this day, so a scene may show their dates.
    qputenv("QM_TODAY", "2026-01-15");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
