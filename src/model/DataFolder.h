#pragma once
// Where the channel type tables live. There is no Windows version to ask on
// this system, so the version counts as 0 and the tables are looked up beside
// the executable; an installed program whose folder holds no tables looks in
// <prefix>/share/quillmere.

#include <string>

namespace qm {

// The folder of the running executable.
std::string executableFolder();

// The executable's folder when it holds a Channel table, else
// ../share/quillmere beside it when that does, else the executable's folder.
std::string defaultDataFolder();
// The same rule for a program in `programFolder`: a build runs with the
// tables beside it, an installed <prefix>/bin program finds
// <prefix>/share/quillmere.
std::string dataFolderFor(const std::string& programFolder);

// The folder the first file dialog of a run starts in: the first 7
// characters of the data folder followed by "/data" when that folder exists,
// else the samples folder beside the tables, else the current folder.
std::string firstDialogFolder(const std::string& dataFolder);

}  // namespace qm
