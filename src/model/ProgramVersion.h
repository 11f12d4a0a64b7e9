#pragma once
// The program's name and version, as About shows them and the records
// that the program writes carry them.

namespace qm {

constexpr const char* kProgramName = "Quillmere";
constexpr const char* kProgramVersion = "2021.05.04.1";

}  // namespace qm
