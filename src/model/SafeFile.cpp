#include "model/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
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

// "a character device" for a mode that is no regular file.
const char* kindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISFIFO(mode)) return "a FIFO (named pipe)";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

FileResult notAFile(const std::string& path, mode_t mode) {
    const std::string kind = kindOf(mode);
    return {false, "Could not open " + path + ": it is " + kind + ", not a file that can be read."};
}

FileResult tooLarge(const std::string& path, const FileLimit& limit, const std::string& size) {
    return {false, "Could not open " + path + ": it holds " + size + " bytes, more than " + limit.what +
                       " can (at most " + std::to_string(limit.maxBytes) + " bytes)."};
}

// Refuses what is no regular file or is larger than the bound.
std::optional<FileResult> refusal(const std::string& path, const struct stat& st, const FileLimit& limit) {
    if (!S_ISREG(st.st_mode)) return notAFile(path, st.st_mode);
    if (st.st_size > 0 && static_cast<std::uintmax_t>(st.st_size) > limit.maxBytes)
        return tooLarge(path, limit, std::to_string(st.st_size));
    return std::nullopt;
}

// Reads the whole file into `data` (a std::string or FileBytes), straight
// into a buffer of the file's size. The buffer never grows past the bound
// and one byte (that byte tells a file larger than the bound).
template <class Buffer>
FileResult readInto(const std::string& path, Buffer& data, const FileLimit& limit) {
    // Looked at before it is opened: opening a device can have effects of
    // its own, and opening a FIFO would wait for a writer.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return failure("Could not open", path, errno);
    if (auto refused = refusal(path, st, limit)) return *refused;
    // O_NONBLOCK: a FIFO put in the file's place meanwhile is not waited on
    // either; the second look below refuses it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return failure("Could not open", path, errno);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (::fstat(fd, &st) != 0) return failure("Could not open", path, errno);
    if (auto refused = refusal(path, st, limit)) return *refused;

    const std::size_t bound = limit.maxBytes == kAnyFile.maxBytes ? limit.maxBytes : limit.maxBytes + 1;
    std::size_t used = 0;
    data.resize(std::min(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 0), bound - 1) + 1);
    for (;;) {
        if (used == data.size()) {
            if (used >= bound) break;
            data.resize(std::min(bound, data.size() * 2 + 4096));
        }
        const ssize_t n = ::read(fd, data.data() + used, data.size() - used);
        if (n < 0) {
            if (errno == EINTR) continue;
            return failure("Could not read", path, errno);
        }
        if (n == 0) break;
        used += static_cast<std::size_t>(n);
    }
    if (used > limit.maxBytes)
        return {false, "Could not read " + path + ": it holds more than " + limit.what + " can (at most " +
                           std::to_string(limit.maxBytes) + " bytes)."};
    data.resize(used);
    return {true, {}};
}

}  // namespace

std::string nonFileKind(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return {};
    return kindOf(st.st_mode);
}

FileResult readWholeFile(const std::string& path, std::string& bytes, const FileLimit& limit) {
    std::string data;
    FileResult read = readInto(path, data, limit);
    if (read.ok) bytes = std::move(data);
    return read;
}

FileResult readWholeFile(const std::string& path, FileBytes& bytes, const FileLimit& limit) {
    FileBytes data;
    FileResult read = readInto(path, data, limit);
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

    // Whatever ends the write early, an exception too (memory running out
    // on the way), takes the temporary file with it.
    struct TempGuard {
        int& fd;
        const std::string& temp;
        bool renamed = false;
        ~TempGuard() {
            if (fd >= 0) ::close(fd);
            if (!renamed) ::unlink(temp.c_str());
        }
    } guard{fd, temp};
    auto abandon = [&](int e) { return failure("Could not write", path, e); };
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
    guard.renamed = true;
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
