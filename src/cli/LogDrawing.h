#pragma once
// The batch tool draws logs with a module of its own (quillmere-log.so,
// beside the tool in a build folder, else in the installed module folder),
// loaded only when the command line asks for --plot: a run that draws
// nothing never loads Qt's painting.

#include <string>
#include <vector>

#include "ops/LogPage.h"

namespace qm::cli {

// Loads the module and readies it for drawing. Call once, on the main
// thread, before any input runs; later calls do nothing.
void prepareLogDrawing();

// Empty when the module is ready, else why it is not, as a message.
std::string logDrawingProblem();

// The log's files, one bytes string per file; `error` says why there are none.
void drawLog(const LogRequest& request, std::vector<std::string>& files, std::string& error);

}  // namespace qm::cli
