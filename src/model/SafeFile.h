#pragma once
// Whole-file reads and writes. A write goes into a temporary file beside the
// target, is flushed and closed, then renamed into place, so a reader sees
// either the earlier file or the complete new one, never half of it.
// Only a regular file is ever replaced: a folder, a device, a pipe or a
// socket of the name is refused, and so is a link that leads nowhere. A
// link to a file replaces the file it leads to and stays a link. A replaced
// file keeps its owner and group where the system lets us set them, and its
// permissions without the set-user and set-group bits.

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/FileBytes.h"

namespace qm {

struct FileResult {
    bool ok = false;
    std::string error;  // names the file and the system's reason
};

// Reads the whole file into `bytes`; on failure `bytes` is left as it was.
// FileBytes for the large ones: its memory is not zeroed first.
FileResult readWholeFile(const std::string& path, std::string& bytes);
FileResult readWholeFile(const std::string& path, FileBytes& bytes);

// Replaces (or creates) `path` with `bytes`.
FileResult writeFileSafely(const std::string& path, std::string_view bytes);

// Several files as one write (the pages of a log): every file goes into its
// temporary file first, and only when all of them are whole are they renamed
// into place, so a failure before that leaves every earlier file as it was.
using FileToWrite = std::pair<std::string, std::string_view>;  // path, bytes
FileResult writeFilesSafely(const std::vector<FileToWrite>& files);

// Why `path` cannot be written as a regular file ("Could not write PATH: it
// is a named pipe, not a regular file."), or empty when it can be tried: it
// is a regular file, a link to one, or names no file yet.
std::string outputTargetProblem(const std::string& path);

// Copies `from` to `to` byte for byte; an existing `to` is replaced. A copy
// onto the source itself is refused.
FileResult copyFileSafely(const std::string& from, const std::string& to);

bool fileExists(const std::string& path);
// The name without its folder.
std::string fileTitleOf(const std::string& path);

// A seam for tests: every open, write, flush, close and rename of a safe
// write asks the hook first; a hook that returns a non-zero errno makes that
// call fail with it. Empty by default. Writes on several threads call it
// at once.
using FileFaultHook = std::function<int(const char* operation)>;
void setFileFaultHook(FileFaultHook hook);

}  // namespace qm
