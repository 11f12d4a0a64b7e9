#include "model/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
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

// The temporary file's name: hidden, beside the target, and never longer
// than the folder allows, so that a target name of the longest legal length
// stays writable (its head is shortened to make room for the suffix).
std::string temporaryNameBeside(const fs::path& target) {
    thread_local std::mt19937 gen{std::random_device{}()};
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    constexpr std::size_t kSuffix = 15;  // "." + ".tmp-" + up to 9 digits
    const std::size_t room = limit > static_cast<long>(kSuffix) ? static_cast<std::size_t>(limit) - kSuffix : 240;
    // Built by appending: GCC 12 warns falsely about "." + std::string.
    std::string name(".");
    name.append(target.filename().string().substr(0, room)).append(".tmp-").append(std::to_string(gen() % 1000000000u));
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

namespace {

const char* kindOf(mode_t mode) {
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISFIFO(mode)) return "a named pipe";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a file";
}

// Where the bytes of `path` go: the file itself, or for a link the file it
// leads to (through any chain of links), so that the link stays a link.
struct Target {
    std::string realPath;  // what is replaced or created
    std::string problem;   // why nothing may be written; empty when it may
    bool exists = false;
    struct stat st {};
};

Target targetOf(const std::string& path) {
    Target t;
    t.realPath = path;
    struct stat own {};
    if (::lstat(path.c_str(), &own) != 0) return t;  // no file yet (or the open will say why)
    // What the name leads to, through any links.
    if (::stat(path.c_str(), &t.st) != 0) {
        std::error_code ec;
        const fs::path to = fs::read_symlink(path, ec);
        t.problem = "Could not write " + path + ": it is a link to " + (ec ? std::string("a file") : to.string()) +
                    ", which does not exist.";
        return t;
    }
    t.exists = true;
    if (S_ISDIR(t.st.st_mode)) t.problem = "Could not write " + path + ": " + reason(EISDIR) + ".";
    else if (!S_ISREG(t.st.st_mode))
        t.problem = "Could not write " + path + ": it is " + kindOf(t.st.st_mode) + ", not a regular file.";
    else if (S_ISLNK(own.st_mode)) {
        // The file the link leads to is replaced in its own folder.
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            t.realPath = real;
            std::free(real);
        }
    }
    return t;
}

// One file written into its temporary file and closed, not yet renamed.
struct Staged {
    std::string path;  // as the caller named it, for messages
    std::string realPath;
    std::string temp;
};

FileResult stage(const std::string& path, std::string_view bytes, Staged& staged) {
    const Target target = targetOf(path);
    if (!target.problem.empty()) return {false, target.problem};
    // A replaced file keeps its permissions, but never the set-user or
    // set-group bits: the new bytes are not what they were granted to.
    const mode_t mode = target.exists ? (target.st.st_mode & 0777) : newFileMode();

    std::string temp;
    int fd = -1;
    int err = injectedFault("open");
    for (int attempt = 0; err == 0 && attempt < 20; ++attempt) {
        temp = temporaryNameBeside(fs::path(target.realPath));
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
    // The owner and group of a replaced file, where we may set them: a
    // shared file stays writable for those it was shared with. Who may not
    // give a file away keeps at least the group, when a member of it.
    if (target.exists && (target.st.st_uid != ::geteuid() || target.st.st_gid != ::getegid()) &&
        (injectedFault("chown") != 0 || ::fchown(fd, target.st.st_uid, target.st.st_gid) != 0))
        (void)::fchown(fd, static_cast<uid_t>(-1), target.st.st_gid);
    ::fchmod(fd, mode);
    if ((err = injectedFault("close")) != 0) return abandon(err);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0) return abandon(errno);
    staged = {path, target.realPath, temp};
    return {true, {}};
}

FileResult commit(const Staged& staged) {
    int err = injectedFault("rename");
    if (err == 0 && ::rename(staged.temp.c_str(), staged.realPath.c_str()) != 0) err = errno;
    if (err == 0) {
        syncFolderOf(staged.realPath);
        return {true, {}};
    }
    ::unlink(staged.temp.c_str());
    return failure("Could not write", staged.path, err);
}

}  // namespace

std::string outputTargetProblem(const std::string& path) { return targetOf(path).problem; }

FileResult writeFileSafely(const std::string& path, std::string_view bytes) {
    Staged staged;
    const FileResult written = stage(path, bytes, staged);
    return written.ok ? commit(staged) : written;
}

FileResult writeFilesSafely(const std::vector<FileToWrite>& files) {
    std::vector<Staged> staged(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        const FileResult written = stage(files[i].first, files[i].second, staged[i]);
        if (written.ok) continue;
        for (std::size_t k = 0; k < i; ++k) ::unlink(staged[k].temp.c_str());
        return written;
    }
    for (std::size_t i = 0; i < staged.size(); ++i) {
        const FileResult renamed = commit(staged[i]);
        if (renamed.ok) continue;
        for (std::size_t k = i + 1; k < staged.size(); ++k) ::unlink(staged[k].temp.c_str());
        return renamed;
    }
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
