#include "cli/LogDrawing.h"

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <mutex>

#include "logmodule/LogModuleAbi.h"

namespace qm::cli {

namespace {

struct Module {
    std::string problem = "The log drawing was not prepared.";
    LogRenderCall render = nullptr;
};

Module& module() {
    static Module m;
    return m;
}

std::filesystem::path programFolder() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : self.parent_path();
}

std::string load(Module& m) {
    const std::filesystem::path folder = programFolder();
    const std::filesystem::path places[] = {folder / "quillmere-log.so",
                                            folder / ".." / QM_MODULE_DIR / "quillmere-log.so"};
    std::string tried;
    for (const std::filesystem::path& place : places) {
        if (!std::filesystem::exists(place)) {
            tried += (tried.empty() ? "" : ", ") + place.lexically_normal().string();
            continue;
        }
        void* handle = dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) return std::string("The log drawing module could not be loaded: ") + dlerror();
        auto abi = reinterpret_cast<LogAbiCall>(dlsym(handle, "qm_log_abi"));
        auto prepare = reinterpret_cast<LogPrepareCall>(dlsym(handle, "qm_log_prepare"));
        m.render = reinterpret_cast<LogRenderCall>(dlsym(handle, "qm_log_render"));
        if (!abi || !prepare || !m.render || abi() != kLogModuleAbi)
            return place.string() + " belongs to another build of quillmere-cli.";
        if (!prepare()) return "The log drawing module could not start.";
        return {};
    }
    return "Drawing a log needs quillmere-log.so, which is not installed (looked for " + tried + ").";
}

}  // namespace

void prepareLogDrawing() {
    static std::once_flag once;
    std::call_once(once, [] { module().problem = load(module()); });
}

std::string logDrawingProblem() { return module().problem; }

void drawLog(const LogRequest& request, std::vector<std::string>& files, std::string& error) {
    if (!logDrawingProblem().empty()) {
        error = logDrawingProblem();
        return;
    }
    module().render(request, files, error);
}

}  // namespace qm::cli
