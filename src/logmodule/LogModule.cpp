// The log drawing for the batch tool, as a module it loads only for --plot:
// Qt's painting libraries then cost nothing to a run that draws nothing.
// The tool calls qm_log_prepare on its main thread before any action runs,
// then qm_log_render from any of its threads.

#include <QGuiApplication>
#include <cstdlib>

#include "logmodule/LogModuleAbi.h"
#include "ui/LogPainter.h"

extern "C" {

QM_LOG_EXPORT int qm_log_abi() { return qm::kLogModuleAbi; }

QM_LOG_EXPORT bool qm_log_prepare() {
    if (QCoreApplication::instance()) return true;  // a program that has its own (the tests)
    // No window is ever shown; a batch run on a machine without a display
    // draws all the same.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The tool's stderr carries its own messages only; Qt's notes about the
    // platform (no runtime folder, no display) are no news to its user.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static int argc = 1;
    static char name[] = "quillmere-cli";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    return app != nullptr;
}

QM_LOG_EXPORT void qm_log_render(const qm::LogRequest& request, std::vector<std::string>& files, std::string& error) {
    qm::ui::LogFiles drawn = qm::ui::renderLog(request);
    files = std::move(drawn.bytes);
    error = std::move(drawn.error);
}

}  // extern "C"
