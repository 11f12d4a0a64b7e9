#include "cli/CommandLine.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <ostream>
#include <thread>

#include "model/NumberText.h"
#include "model/SafeFile.h"
#include "ops/LogPage.h"
#include "ops/AgsReader.h"
#include "ops/SoundingOpen.h"

namespace qm::cli {

namespace fs = std::filesystem;

namespace {

bool isOption(const std::string& a) { return a.rfind("--", 0) == 0; }

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

std::string withPlaceholders(const std::string& pattern, const InputFile& input) {
    return replaceAll(replaceAll(pattern, "{stem}", fs::path(input.name).stem().string()), "{name}", input.name);
}

bool endsWithCpt(const std::string& name) {
    if (name.size() < 4) return false;
    std::string ext = name.substr(name.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".cpt";
}

// Why a folder's entry is no file to read, or empty. Such an entry is kept
// as an input that fails, so that it is reported and never skipped.
std::string entryProblem(const fs::directory_entry& entry) {
    std::error_code ec;
    const fs::file_status status = entry.status(ec);
    if (status.type() == fs::file_type::regular) return {};
    if (status.type() == fs::file_type::not_found && entry.is_symlink(ec)) {
        const fs::path to = fs::read_symlink(entry.path(), ec);
        return "The file cannot be opened: it is a link to " + to.string() + ", which does not exist.";
    }
    if (ec) return "The file cannot be opened: " + ec.message() + ".";
    return "The file cannot be opened: it is not a regular file.";
}

// The *.cpt entries directly in `folder` (letter case ignored, as the rigs'
// own machines write .CPT as well), sorted by name; folders are left out.
std::vector<InputFile> soundingsIn(const std::string& folder) {
    std::vector<InputFile> found;
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code own;
        if (!endsWithCpt(name) || it->is_directory(own)) continue;
        found.push_back({it->path().string(), name, entryProblem(*it)});
    }
    if (ec) throw UsageError{"cannot list the folder " + folder + ": " + ec.message()};
    if (found.empty()) throw UsageError{"the folder " + folder + " holds no .cpt files"};
    std::sort(found.begin(), found.end(), [](const InputFile& a, const InputFile& b) { return a.name < b.name; });
    return found;
}

// An AGS4 file stands for each of its tests, a sounding of its own: the
// path names the test after "#", and {stem} is the file's stem, a dash and
// the test's name. A file that cannot be read or listed stays one input,
// whose load then says why.
std::vector<InputFile> agsInputs(const std::string& path) {
    const AgsPath ags = agsPathOf(path);
    const std::string stem = fs::path(ags.file).stem().string();
    const auto safe = [](std::string name) {
        for (char& ch : name)
            if (ch == '/' || ch == '\\' || ch == '#') ch = '-';
        return name;
    };
    if (!ags.test.empty()) return {{path, stem + "-" + safe(ags.test) + ".ags", {}}};
    std::string bytes;
    if (!readWholeFile(path, bytes).ok) return {{path, fs::path(path).filename().string(), {}}};
    const AgsTestList list = agsTests(bytes);
    if (list.tests.empty()) return {{path, fs::path(path).filename().string(), {}}};
    std::vector<InputFile> inputs;
    for (const AgsTest& t : list.tests) inputs.push_back({path + "#" + t.name(), stem + "-" + safe(t.name()) + ".ags", {}});
    return inputs;
}

unsigned jobCount(const CliContext& ctx, const std::string& text) {
    const long n = wholeNumberOption(ctx, text, "--jobs");
    if (n < 1 || n > 1024) throw UsageError{"--jobs takes a whole number from 1 to 1024, not " + text};
    return static_cast<unsigned>(n);
}

// The file a path names, so that two spellings of one file meet.
std::string fileKey(const std::string& path) {
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::absolute(path, ec), ec);
    if (ec) p = fs::absolute(path).lexically_normal();
    return p.string();
}

// {stem} and {name} must name a file inside the output's folder: an input
// named "...cpt" has the stem "..", which would put out/{stem}/x.csv beside out.
void checkPlaceholders(const std::string& option, const std::string& pattern, const InputFile& input) {
    const std::string stem = fs::path(input.name).stem().string();
    for (const auto& [mark, value] : {std::pair{"{stem}", stem}, std::pair{"{name}", input.name}}) {
        if (pattern.find(mark) == std::string::npos) continue;
        if (value.empty() || value == "." || value == ".." || value.find('/') != std::string::npos)
            throw UsageError{option + " " + pattern + ": " + mark + " of " + input.path + " would be \"" + value +
                             "\", which names no file in the output's folder"};
    }
}

// The names a log's pages may take: OUT itself, or OUT-1.ext, OUT-2.ext,
// ... Every such name is "BASE.ext" or "BASE-N.ext" for a family BASE.ext.
// The family a name would belong to as a page, or empty.
std::string pageFamilyOf(const std::string& name) {
    const std::size_t dot = name.find_last_of('.');
    const std::size_t slash = name.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::size_t dash = dot;
    while (dash > 0 && std::isdigit(static_cast<unsigned char>(name[dash - 1]))) --dash;
    if (dash == dot || dash == 0 || name[dash - 1] != '-' || name[dash] == '0') return {};
    return name.substr(0, dash - 1) + name.substr(dot);
}

// With several inputs every output path must name its input, and no two
// inputs may write one file or one input write over another's file: the
// outcome would hang on which thread came last. A log's pages count with
// every name they may take, before any input is read and its page count known.
void checkOutputs(const CommandLine& line) {
    for (std::size_t k = 0; k < line.outputAt.size(); ++k) {
        const std::size_t at = line.outputAt[k];
        const std::string& option = line.args[at - 1];
        const std::string& pattern = line.args[at];
        if (isStandardOutput(pattern)) {
            if (line.outputKind[k] != Writes::TextAtFirstArgument)
                throw UsageError{option + " cannot write to standard output (-): name a file (./- for a file named -)"};
            if (line.several) throw UsageError{option + " -: standard output takes the output of one input only"};
            continue;
        }
        for (const InputFile& input : line.inputs) {
            checkPlaceholders(option, pattern, input);
            const std::string problem = outputTargetProblem(withPlaceholders(pattern, input));
            if (!problem.empty()) throw UsageError{problem};
        }
    }
    if (!line.several) return;
    struct Use {
        std::size_t input;
        bool read;  // the input file itself, not an output
        std::string name;
    };
    // A file (or a page's name), and the page families: a clash is one file
    // in both, or a file that is a page of a family, or two families that
    // share a page.
    std::map<std::string, Use> files, families;
    std::multimap<std::string, Use> pages;  // the files by the family they would be a page of
    auto clash = [&](const Use& mine, const Use& other) {
        if (other.input == mine.input) return;
        const std::string& path = line.inputs[mine.input].path;
        const std::string& otherPath = line.inputs[other.input].path;
        if (other.read) throw UsageError{"the output " + mine.name + " of " + path + " would replace the input " + otherPath};
        throw UsageError{path + " and " + otherPath + " would both write " + mine.name +
                         (mine.name == other.name ? "" : " (or " + other.name + ")")};
    };
    auto addFile = [&](const std::string& key, const Use& use) {
        if (const auto [it, added] = files.emplace(key, use); !added) clash(use, it->second);
        if (const std::string family = pageFamilyOf(key); !family.empty()) pages.emplace(family, use);
        for (const std::string& family : {key, pageFamilyOf(key)})
            if (const auto it = families.find(family); !family.empty() && it != families.end()) clash(use, it->second);
    };
    for (std::size_t i = 0; i < line.inputs.size(); ++i) {
        const std::string key = fileKey(line.inputs[i].path);
        files.emplace(key, Use{i, true, {}});
        if (const std::string family = pageFamilyOf(key); !family.empty()) pages.emplace(family, Use{i, true, {}});
    }
    for (std::size_t k = 0; k < line.outputAt.size(); ++k) {
        const std::size_t at = line.outputAt[k];
        const std::string& pattern = line.args[at];
        if (pattern.find("{stem}") == std::string::npos && pattern.find("{name}") == std::string::npos)
            throw UsageError{line.args[at - 1] + " " + pattern + ": with several inputs an output path needs {stem} or {name}"};
        for (std::size_t i = 0; i < line.inputs.size(); ++i) {
            const std::string out = withPlaceholders(pattern, line.inputs[i]);
            const std::string key = fileKey(out);
            addFile(key, Use{i, false, out});
            // A PDF log is one file however many pages it has.
            if (line.outputKind[k] != Writes::PagesAtFirstArgument || logFormatOf(out) == LogFormat::Pdf) continue;
            // The family itself: its first page name is already a file above.
            const std::size_t dot = out.find_last_of('.');
            const Use use{i, false, out.substr(0, dot) + "-N" + out.substr(dot)};
            if (const auto [it, added] = families.emplace(key, use); !added) clash(use, it->second);
            const auto [from, to] = pages.equal_range(key);
            for (auto it = from; it != to; ++it) clash(use, it->second);
        }
    }
}

}  // namespace

CommandLine readCommandLine(const std::vector<std::string>& args, const ActionRegistry& registry,
                            int commaDecimalMode) {
    CommandLine line;
    line.args = args;
    line.jobs = std::max(1u, std::thread::hardware_concurrency());
    std::size_t next = 0;
    // Every action reads its arguments once here, on an empty sounding,
    // and returns before it acts; numbers by the locale's separator.
    std::ostream nowhere(nullptr);
    CliContext check(nowhere, nowhere);
    check.checking = true;
    check.sep = decimalSeparator(commaDecimalMode);
    for (;;) {
        if (takeFlag(args, next, "--tables")) line.tablesFolder = argumentOf(args, next, "--tables");
        else if (takeFlag(args, next, "--jobs")) line.jobs = jobCount(check, argumentOf(args, next, "--jobs"));
        else break;
    }
    if (next >= args.size()) throw UsageError{"no input file given"};
    if (registry.find(args[next])) throw UsageError{"the input file must come before " + args[next]};
    if (isOption(args[next])) throw UsageError{"unknown option " + args[next]};

    for (; next < args.size() && !isOption(args[next]); ++next) {
        std::error_code ec;
        if (fs::is_directory(args[next], ec)) {
            const std::vector<InputFile> files = soundingsIn(args[next]);
            line.inputs.insert(line.inputs.end(), files.begin(), files.end());
            line.several = true;
        } else if (!agsPathOf(args[next]).file.empty()) {
            const std::vector<InputFile> tests = agsInputs(args[next]);
            line.inputs.insert(line.inputs.end(), tests.begin(), tests.end());
        } else {
            line.inputs.push_back({args[next], fs::path(args[next]).filename().string(), {}});
        }
    }
    line.several = line.several || line.inputs.size() > 1;
    line.chainStart = next;

    while (next < args.size()) {
        const std::string& name = args[next++];
        const Action* action = registry.find(name);
        if (!action) {
            if (name == "--tables" || name == "--jobs") throw UsageError{name + " must come before the inputs"};
            throw UsageError{"unknown action " + name};
        }
        if (action->writes != Writes::Nothing && next < args.size()) {
            line.outputAt.push_back(next);
            line.outputKind.push_back(action->writes);
        }
        action->run(check, args, next);
    }
    checkOutputs(line);
    return line;
}

std::vector<std::string> argsFor(const CommandLine& line, const InputFile& input) {
    std::vector<std::string> args = line.args;
    for (std::size_t at : line.outputAt) args[at] = withPlaceholders(args[at], input);
    return args;
}

}  // namespace qm::cli
