#pragma once
// What the program says once it has written a file the user asked for: the
// file's name, one line each, so a batch of exports reads as a list.

#include <string>
#include <string_view>

namespace qm {

// The kinds of export, as the confirmations name them.
constexpr std::string_view kCsvExport = "CSV";
constexpr std::string_view kGefExport = "GEF-CPT report";
constexpr std::string_view kAgsExport = "AGS4 file";
constexpr std::string_view kLogExport = "Log";

// "CSV exported to /data/CPT-01.csv."
inline std::string exportedTo(std::string_view kind, std::string_view path) {
    return std::string(kind) + " exported to " + std::string(path) + ".";
}

// "History saved to /data/CPT-01-history.txt."
inline std::string historySavedTo(std::string_view path) { return "History saved to " + std::string(path) + "."; }

}  // namespace qm
