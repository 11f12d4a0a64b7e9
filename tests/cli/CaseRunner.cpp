// Runs every case under tests/cases/ through the batch tool's in-process
// entry and compares what it printed and wrote with what the case expects.
//
// A case is a folder holding a file `args`: the tool's arguments, one per
// line. In them {samples} stands for data/samples, {data} for data/, {case}
// for the case's own folder and {out} for a fresh scratch folder. Beside it:
//   status          the exit status (default 0)
//   stdout, stderr  the exact output (default: none); {out}, {samples} and
//                   {case} in the tool's output are folded back to those names
//   files/NAME      a file the run must leave in {out}, byte for byte; any
//                   other file left in {out} fails the case
//   setup/NAME      copied into {out} before the run (an earlier file)
//   locale          the LC_ALL locale of the run (de_DE.UTF-8: comma mode)
// QM_UPDATE_CASES=1 writes what the run gave into the case instead of
// comparing, for a new case that is then read through once by eye.

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "cli/ToolRun.h"

namespace fs = std::filesystem;
using namespace qm::test;

namespace {

const fs::path kCasesDir = QM_CASES_DIR;

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; !from.empty() && (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

std::string readIfThere(const fs::path& p, const std::string& otherwise = "") {
    return fs::exists(p) ? readFile(p.string()) : otherwise;
}

// Bytes a person can read in a failure: CR, tabs and other controls shown.
std::string visible(const std::string& line) {
    std::string v;
    for (unsigned char ch : line) {
        if (ch == '\r') v += "\\r";
        else if (ch == '\t') v += "\\t";
        else if (ch < 0x20 || ch >= 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", ch);
            v += hex;
        } else v += static_cast<char>(ch);
    }
    return v;
}

// Empty when equal; else the first differing line of each side.
std::string difference(const std::string& expected, const std::string& actual) {
    if (expected == actual) return "";
    std::istringstream e(expected), a(actual);
    std::string el, al;
    for (int line = 1;; ++line) {
        const bool moreE = static_cast<bool>(std::getline(e, el));
        const bool moreA = static_cast<bool>(std::getline(a, al));
        if (!moreE && !moreA) return "they differ only in the final line end";
        if (!moreE || !moreA || el != al) {
            std::ostringstream d;
            d << "first difference at line " << line << "\n  expected: "
              << (moreE ? "\"" + visible(el) + "\"" : "(end)") << "\n  actual:   "
              << (moreA ? "\"" + visible(al) + "\"" : "(end)");
            return d.str();
        }
    }
}

std::map<std::string, std::string> filesIn(const fs::path& folder) {
    std::map<std::string, std::string> files;
    if (!fs::is_directory(folder)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), folder).string()] = readFile(entry.path().string());
    return files;
}

class LocaleScope {
   public:
    explicit LocaleScope(const std::string& name) {
        if (name.empty()) return;
        saved_ = std::setlocale(LC_ALL, nullptr);
        if (!std::setlocale(LC_ALL, name.c_str())) ADD_FAILURE() << "locale " << name << " is not installed";
    }
    ~LocaleScope() {
        if (!saved_.empty()) std::setlocale(LC_ALL, saved_.c_str());
    }

   private:
    std::string saved_;
};

class CaseTest : public testing::Test {
   public:
    explicit CaseTest(fs::path folder) : folder_(std::move(folder)) {}

    void TestBody() override {
        TempDir scratch;
        const std::string out = scratch.path().string();
        const std::map<std::string, std::string> setup = filesIn(folder_ / "setup");
        for (const auto& [name, bytes] : setup) {
            fs::create_directories((scratch.path() / name).parent_path());
            writeFile((scratch.path() / name).string(), bytes);
        }

        std::vector<std::string> args;
        std::istringstream lines(readFile((folder_ / "args").string()));
        for (std::string a; std::getline(lines, a);) {
            a = replaceAll(a, "{samples}", samplesDir());
            a = replaceAll(a, "{data}", dataDir());
            a = replaceAll(a, "{case}", folder_.string());
            args.push_back(replaceAll(a, "{out}", out));
        }

        ToolRun run;
        {
            std::string locale = readIfThere(folder_ / "locale");
            while (!locale.empty() && std::isspace(static_cast<unsigned char>(locale.back()))) locale.pop_back();
            LocaleScope scope(locale);
            run = runTool(args, false);
        }
        const auto fold = [&](const std::string& text) {
            return replaceAll(replaceAll(replaceAll(text, out, "{out}"), samplesDir(), "{samples}"), folder_.string(), "{case}");
        };
        std::map<std::string, std::string> written = filesIn(scratch.path());
        for (const auto& [name, bytes] : setup)
            if (written.count(name) && written[name] == bytes) written.erase(name);

        if (std::getenv("QM_UPDATE_CASES")) {
            update(run.status, fold(run.out), fold(run.err), written);
            return;
        }
        const std::string status = readIfThere(folder_ / "status", "0");
        EXPECT_EQ(std::stoi(status), run.status) << "exit status; stderr:\n" << run.err;
        const std::string outDiff = difference(readIfThere(folder_ / "stdout"), fold(run.out));
        EXPECT_TRUE(outDiff.empty()) << "stdout: " << outDiff;
        const std::string errDiff = difference(readIfThere(folder_ / "stderr"), fold(run.err));
        EXPECT_TRUE(errDiff.empty()) << "stderr: " << errDiff;

        const std::map<std::string, std::string> expected = filesIn(folder_ / "files");
        for (const auto& [name, bytes] : expected) {
            auto found = written.find(name);
            if (found == written.end()) {
                ADD_FAILURE() << name << " was not written";
                continue;
            }
            const std::string d = difference(bytes, found->second);
            EXPECT_TRUE(d.empty()) << name << ": " << d;
        }
        for (const auto& [name, bytes] : written)
            EXPECT_TRUE(expected.count(name)) << "the run also left " << name;
    }

   private:
    void update(int status, const std::string& out, const std::string& err,
                const std::map<std::string, std::string>& written) const {
        const auto put = [&](const std::string& name, const std::string& bytes, bool keep) {
            const fs::path p = folder_ / name;
            if (keep) {
                fs::create_directories(p.parent_path());
                writeFile(p.string(), bytes);
            } else {
                fs::remove(p);
            }
        };
        put("status", std::to_string(status) + "\n", status != 0);
        put("stdout", out, !out.empty());
        put("stderr", err, !err.empty());
        fs::remove_all(folder_ / "files");
        for (const auto& [name, bytes] : written) put("files/" + name, bytes, true);
    }

    fs::path folder_;
};

// One test per case folder, named after its path below tests/cases.
const bool kRegistered = [] {
    if (!fs::is_directory(kCasesDir)) return false;
    std::vector<fs::path> folders;
    for (const auto& entry : fs::recursive_directory_iterator(kCasesDir))
        if (entry.is_regular_file() && entry.path().filename() == "args") folders.push_back(entry.path().parent_path());
    std::sort(folders.begin(), folders.end());
    for (const fs::path& folder : folders) {
        std::string name = fs::relative(folder, kCasesDir).string();
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        testing::RegisterTest("Cases", name.c_str(), nullptr, nullptr, __FILE__, __LINE__,
                              [folder]() -> testing::Test* { return new CaseTest(folder); });
    }
    return true;
}();

}  // namespace
