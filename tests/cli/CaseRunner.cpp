// Runs every case under tests/cases/ through the batch tool's in-process
// entry and compares what it printed and wrote with what the case expects.
//
// A case is a folder holding a file `args`: the tool's arguments, one per
// line (the shipped tables are read unless they start with --tables). In
// them {samples} stands for data/samples, {data} for data/, {case} for the
// case's own folder (its input files) and {out} for a fresh scratch folder.
// Beside it:
//   status          the exit status when not 0
//   stdout, stderr  the exact output (default: none); {out}, {samples} and
//                   {case} in the tool's output are folded back to those names
//   files/NAME      a file the run must leave in {out}, byte for byte; any
//                   other new or changed file in {out} fails the case
//   setup/NAME      copied into {out} before the run (an earlier file)
//   locale          the LC_ALL locale of the run (de_DE.UTF-8: comma mode)
// Every case runs twice, the second time with the quick roads of number
// text off, and with QM_TODAY=2026-01-15, so files that carry the day they
// were made (GEF-CPT, AGS4) compare byte for byte.
// QM_UPDATE_CASES=1 writes what the run gave into the case instead of
// comparing, for a new case that is then read through once by eye.

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "cli/Cli.h"
#include "model/NumberText.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using namespace qm::test;

namespace {

using Files = std::map<std::string, std::string>;

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; !from.empty() && (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

Files filesIn(const fs::path& folder, const std::string& prefix = "") {
    Files files;
    if (fs::is_directory(folder))
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            if (entry.is_regular_file())
                files[prefix + fs::relative(entry.path(), folder).string()] = readFile(entry.path().string());
    return files;
}

// Bytes a person can read in a failure: CR, tabs and other controls shown.
std::string visible(const std::string& line) {
    std::string v;
    for (unsigned char ch : line) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02x", ch);
        v += ch == '\r' ? "\\r" : ch == '\t' ? "\\t" : (ch < 0x20 || ch >= 0x7f) ? hex : std::string(1, char(ch));
    }
    return v;
}

// Empty when equal; else the first differing line of each side.
std::string difference(const std::string& expected, const std::string& actual) {
    if (expected == actual) return "";
    std::istringstream e(expected), a(actual);
    std::string el, al;
    for (int line = 1;; ++line) {
        const bool moreE = static_cast<bool>(std::getline(e, el)), moreA = static_cast<bool>(std::getline(a, al));
        if (!moreE && !moreA) return "they differ only in the final line end";
        if (!moreE || !moreA || el != al)
            return "first difference at line " + std::to_string(line) + "\n  expected: " +
                   (moreE ? "\"" + visible(el) + "\"" : "(end)") + "\n  actual:   " +
                   (moreA ? "\"" + visible(al) + "\"" : "(end)");
    }
}

class CaseTest : public testing::Test {
   public:
    explicit CaseTest(fs::path folder) : folder_(std::move(folder)) {}

    void TestBody() override {
        Files expected = filesIn(folder_ / "files", "files/");
        for (const char* name : {"status", "stdout", "stderr"})
            if (fs::exists(folder_ / name)) expected[name] = readFile((folder_ / name).string());
        const Files actual = run();
        if (std::getenv("QM_UPDATE_CASES")) {
            for (const auto& [name, bytes] : expected) fs::remove(folder_ / name);
            for (const auto& [name, bytes] : actual) {
                fs::create_directories((folder_ / name).parent_path());
                writeFile((folder_ / name).string(), bytes);
            }
            return;
        }
        compare(expected, actual, "");
        // Once more on the general roads of number text alone.
        qm::quickRoadsOn = false;
        const Files general = run();
        qm::quickRoadsOn = true;
        compare(expected, general, "with the quick roads off, ");
    }

   private:
    // What one run gives, named as the case names what it expects.
    Files run() const {
        TempDir scratch;
        const std::string out = scratch.path().string(), self = folder_.string();
        const Files setup = filesIn(folder_ / "setup");
        for (const auto& [name, bytes] : setup) writeFile((scratch.path() / name).string(), bytes);

        std::vector<std::string> args;
        std::istringstream lines(readFile((folder_ / "args").string()));
        for (std::string a; std::getline(lines, a);)
            args.push_back(replaceAll(replaceAll(replaceAll(replaceAll(a, "{samples}", samplesDir()), "{data}", dataDir()),
                                                 "{case}", self),
                                      "{out}", out));
        if (args.empty() || args[0] != "--tables") args.insert(args.begin(), {"--tables", dataDir()});

        std::string locale;
        std::ifstream(folder_ / "locale") >> locale;
        const std::string savedLocale = std::setlocale(LC_ALL, nullptr);
        if (!locale.empty() && !std::setlocale(LC_ALL, locale.c_str())) ADD_FAILURE() << "locale " << locale << " is not installed";
        std::ostringstream stdoutText, stderrText;
        const int status = qm::cli::runCli(args, stdoutText, stderrText);
        std::setlocale(LC_ALL, savedLocale.c_str());

        const auto fold = [&](const std::string& text) {
            return replaceAll(replaceAll(replaceAll(text, out, "{out}"), samplesDir(), "{samples}"), self, "{case}");
        };
        Files actual = filesIn(scratch.path(), "files/");
        for (const auto& [name, bytes] : setup)
            if (actual["files/" + name] == bytes) actual.erase("files/" + name);
        if (status != 0) actual["status"] = std::to_string(status) + "\n";
        if (!stdoutText.str().empty()) actual["stdout"] = fold(stdoutText.str());
        if (!stderrText.str().empty()) actual["stderr"] = fold(stderrText.str());
        return actual;
    }

    static void compare(const Files& expected, const Files& actual, const std::string& how) {
        for (const auto& [name, bytes] : actual)
            if (!expected.count(name)) ADD_FAILURE() << how << "the run also gave " << name << ":\n" << bytes;
        for (const auto& [name, bytes] : expected) {
            if (!actual.count(name)) ADD_FAILURE() << how << "the run gave no " << name;
            else if (const std::string d = difference(bytes, actual.at(name)); !d.empty())
                ADD_FAILURE() << how << name << ": " << d;
        }
    }

    fs::path folder_;
};

// One test per case folder, named after its path below tests/cases.
const bool kRegistered = [] {
    // Files that carry the day they were made (GEF-CPT, AGS4) compare byte for byte.
    setenv("QM_TODAY", "2026-01-15", 1);
    std::vector<fs::path> folders;
    if (fs::is_directory(QM_CASES_DIR))
        for (const auto& entry : fs::recursive_directory_iterator(QM_CASES_DIR))
            if (entry.is_regular_file() && entry.path().filename() == "args") folders.push_back(entry.path().parent_path());
    std::sort(folders.begin(), folders.end());
    for (const fs::path& folder : folders) {
        std::string name = fs::relative(folder, QM_CASES_DIR).string();
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        testing::RegisterTest("Cases", name.c_str(), nullptr, nullptr, __FILE__, __LINE__,
                              [folder]() -> testing::Test* { return new CaseTest(folder); });
    }
    return true;
}();

}  // namespace
