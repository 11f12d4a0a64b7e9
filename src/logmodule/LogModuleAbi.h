#pragma once
// The calls between the batch tool and its log drawing module. Both sides are
// built from the same sources, so the C++ types pass as they are; the number
// below changes with LogRequest, and a module of another build is refused.

#include <string>
#include <vector>

#include "ops/LogPage.h"

#define QM_LOG_EXPORT __attribute__((visibility("default")))

namespace qm {

constexpr int kLogModuleAbi = 1;

using LogAbiCall = int (*)();
using LogPrepareCall = bool (*)();
using LogRenderCall = void (*)(const LogRequest&, std::vector<std::string>& files, std::string& error);

}  // namespace qm
