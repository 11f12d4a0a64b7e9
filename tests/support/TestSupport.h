#pragma once
// Helpers shared by the test programs: temporary folders, the data folders,
// the shipped channel type tables and whole-file reads and writes.

#include <filesystem>
#include <string>

#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"

namespace qm::test {

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
   public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

   private:
    std::filesystem::path path_;
};

std::string dataDir();     // the project's data/ folder
std::string samplesDir();  // data/samples

// The channel type tables shipped in data/.
const ChannelTypeTable& shippedTables();

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

}  // namespace qm::test
