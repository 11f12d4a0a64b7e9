#include "model/DataFolder.h"

#include <filesystem>

namespace qm {

namespace fs = std::filesystem;

namespace {

bool holdsTables(const fs::path& folder) {
    std::error_code ec;
    for (int t = 1; t <= 20; ++t)
        if (fs::is_regular_file(folder / ("Channel" + std::to_string(t) + ".txt"), ec)) return true;
    return false;
}

bool isFolder(const fs::path& p) {
    std::error_code ec;
    return fs::is_directory(p, ec);
}

}  // namespace

std::string executableFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return fs::current_path(ec).string();
    return exe.parent_path().string();
}

std::string defaultDataFolder() { return dataFolderFor(executableFolder()); }

std::string dataFolderFor(const std::string& programFolder) {
    fs::path own = programFolder;
    // "/usr/bin/" names the same folder as "/usr/bin"; its parent is /usr.
    if (!own.has_filename()) own = own.parent_path();
    if (holdsTables(own)) return own.string();
    const fs::path installed = own.parent_path() / "share" / "quillmere";
    if (holdsTables(installed)) return installed.string();
    return own.string();
}

std::string firstDialogFolder(const std::string& dataFolder) {
    const fs::path ruled = fs::path(dataFolder.substr(0, 7) + "/data");
    if (isFolder(ruled)) return ruled.string();
    const fs::path samples = fs::path(dataFolder) / "samples";
    if (isFolder(samples)) return samples.string();
    std::error_code ec;
    return fs::current_path(ec).string();
}

}  // namespace qm
