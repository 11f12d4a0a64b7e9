#include "model/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <random>
#include <system_error>

namespace qm {

namespace fs = std::filesystem;

namespace {

// The batch tool writes from several threads: each call takes its own
// reference to the hook, so a hook replaced meanwhile stays alive until the
// calls still using it are done.
std::mutex hookMutex;
std::shared_ptr<const FileFaultHook> faultHook;

// Asks the test seam whether this call should fail; returns its errno or 0.
int injectedFault(const char* operation) {
    std::shared_ptr<const FileFaultHook> hook;
    {
        std::lock_guard guard(hookMutex);
        hook = faultHook;
    }
    return hook ? (*hook)(operation) : 0;
}

// strerror's text, without its buffer shared between threads.
std::string reason(int err) { return std::generic_category().message(err); }

FileResult failure(const std::string& what, const std::string& path, int err) {
    return {false, what + " " + path + ": " + reason(err) + "."};
}

std::string temporaryNameBeside(const fs::path& target) {
    thread_local std::mt19937 gen{std::random_device{}()};
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    // Built by appending: GCC 12 warns falsely about "." + std::string.
    std::string name(".");
    name.append(target.filename().string()).append(".tmp-").append(std::to_string(gen() % 1000000000u));
    return (folder / name).string();
}

// What a file created the ordinary way would get: 0666 less the umask.
// The umask can only be read by setting it, which other threads' files
// would feel, so it is read once, before any write.
mode_t newFileMode() {
    static const mode_t mask = [] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return 0666 & ~mask;
}

bool writeAll(int fd, std::string_view bytes, int& err) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        if ((err = injectedFault("write")) != 0) return false;
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            err = errno;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The rename is an entry of the folder: syncing the folder makes the new
// name survive a crash as the new bytes do. The file is in place by then,
// so a folder that cannot be synced changes nothing for the caller.
void syncFolderOf(const fs::path& target) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

void setFileFaultHook(FileFaultHook hook) {
    auto installed = hook ? std::make_shared<const FileFaultHook>(std::move(hook)) : nullptr;
    std::lock_guard guard(hookMutex);
    faultHook = std::move(installed);
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::exists(path, ec);
}

std::string fileTitleOf(const std::string& path) { return fs::path(path).filename().string(); }

namespace {

// Reads the whole file into `data` (a std::string or FileBytes), straight
// into a buffer of the file's size; a file that grows meanwhile is read on
// to its end.
template <class Buffer>
FileResult readInto(const std::string& path, Buffer& data) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return failure("Could not open", path, errno);
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return failure("Could not open", path, EISDIR);
    }
    std::size_t used = 0;
    data.resize(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 0) + 1);
    for (;;) {
        if (used == data.size()) data.resize(data.size() * 2 + 4096);
        const ssize_t n = ::read(fd, data.data() + used, data.size() - used);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            return failure("Could not read", path, err);
        }
        if (n == 0) break;
        used += static_cast<std::size_t>(n);
    }
    data.resize(used);
    ::close(fd);
    return {true, {}};
}

}  // namespace

FileResult readWholeFile(const std::string& path, std::string& bytes) {
    std::string data;
    FileResult read = readInto(path, data);
    if (read.ok) bytes = std::move(data);
    return read;
}

FileResult readWholeFile(const std::string& path, FileBytes& bytes) {
    FileBytes data;
    FileResult read = readInto(path, data);
    if (read.ok) bytes = std::move(data);
    return read;
}

FileResult writeFileSafely(const std::string& path, std::string_view bytes) {
    const fs::path target(path);
    std::error_code ec;
    if (fs::is_directory(target, ec)) return failure("Could not write", path, EISDIR);

    // A replaced file keeps its permissions; a new one gets the usual ones.
    struct stat existing {};
    const mode_t mode = ::stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : newFileMode();

    std::string temp;
    int fd = -1;
    int err = injectedFault("open");
    for (int attempt = 0; err == 0 && attempt < 20; ++attempt) {
        temp = temporaryNameBeside(target);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) break;
        if (errno != EEXIST) err = errno;
    }
    if (fd < 0) return failure("Could not write", path, err ? err : EEXIST);

    auto abandon = [&](int e) {
        if (fd >= 0) ::close(fd);
        ::unlink(temp.c_str());
        return failure("Could not write", path, e);
    };
    if (!writeAll(fd, bytes, err)) return abandon(err);
    if ((err = injectedFault("flush")) != 0) return abandon(err);
    if (::fsync(fd) != 0) return abandon(errno);
    ::fchmod(fd, mode);
    if ((err = injectedFault("close")) != 0) return abandon(err);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0) return abandon(errno);
    if ((err = injectedFault("rename")) != 0) return abandon(err);
    if (::rename(temp.c_str(), path.c_str()) != 0) return abandon(errno);
    syncFolderOf(target);
    return {true, {}};
}

FileResult copyFileSafely(const std::string& from, const std::string& to) {
    std::error_code ec;
    if (fs::exists(to, ec) && fs::equivalent(from, to, ec))
        return {false, "Could not copy " + from + " onto itself: choose another name for the copy."};
    std::string bytes;
    FileResult read = readWholeFile(from, bytes);
    if (!read.ok) return read;
    return writeFileSafely(to, bytes);
}

}  // namespace qm
