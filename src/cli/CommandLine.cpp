#include "cli/CommandLine.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <ostream>
#include <thread>

#include "model/NumberText.h"
#include "model/SafeFile.h"
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

// The *.cpt files directly in `folder` (letter case ignored, as the rigs'
// own machines write .CPT as well), sorted by name.
std::vector<InputFile> soundingsIn(const std::string& folder) {
    std::vector<InputFile> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (endsWithCpt(name) && entry.is_regular_file(ec)) found.push_back({entry.path().string(), name});
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
    if (!ags.test.empty()) return {{path, stem + "-" + safe(ags.test) + ".ags"}};
    std::string bytes;
    if (!readWholeFile(path, bytes).ok) return {{path, fs::path(path).filename().string()}};
    const AgsTestList list = agsTests(bytes);
    if (list.tests.empty()) return {{path, fs::path(path).filename().string()}};
    std::vector<InputFile> inputs;
    for (const AgsTest& t : list.tests) inputs.push_back({path + "#" + t.name(), stem + "-" + safe(t.name()) + ".ags"});
    return inputs;
}

unsigned jobCount(const std::string& text) {
    const auto n = localeTextToNumber(text, '.');
    if (!n || *n < 1 || *n > 1024 || *n != static_cast<double>(static_cast<unsigned>(*n)))
        throw UsageError{"--jobs takes a whole number from 1 to 1024, not " + text};
    return static_cast<unsigned>(*n);
}

// The file a path names, so that two spellings of one file meet.
std::string fileKey(const std::string& path) {
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::absolute(path, ec), ec);
    if (ec) p = fs::absolute(path).lexically_normal();
    return p.string();
}

// With several inputs every output path must name its input, and no two
// inputs may write one file or one input write over another's file: the
// outcome would hang on which thread came last.
void checkOutputs(const CommandLine& line) {
    if (!line.several) return;
    struct Use {
        std::size_t input;
        bool read;  // the input file itself, not an output
    };
    std::map<std::string, Use> owner;
    for (std::size_t i = 0; i < line.inputs.size(); ++i) owner.emplace(fileKey(line.inputs[i].path), Use{i, true});
    for (std::size_t at : line.outputAt) {
        const std::string& pattern = line.args[at];
        if (pattern.find("{stem}") == std::string::npos && pattern.find("{name}") == std::string::npos)
            throw UsageError{line.args[at - 1] + " " + pattern + ": with several inputs an output path needs {stem} or {name}"};
        for (std::size_t i = 0; i < line.inputs.size(); ++i) {
            const std::string out = withPlaceholders(pattern, line.inputs[i]);
            const auto [it, added] = owner.emplace(fileKey(out), Use{i, false});
            if (added || it->second.input == i) continue;
            const std::string& other = line.inputs[it->second.input].path;
            if (it->second.read) throw UsageError{"the output " + out + " of " + line.inputs[i].path + " would replace the input " + other};
            throw UsageError{line.inputs[i].path + " and " + other + " would both write " + out};
        }
    }
}

}  // namespace

CommandLine readCommandLine(const std::vector<std::string>& args, const ActionRegistry& registry) {
    CommandLine line;
    line.args = args;
    line.jobs = std::max(1u, std::thread::hardware_concurrency());
    std::size_t next = 0;
    for (;;) {
        if (takeFlag(args, next, "--tables")) line.tablesFolder = argumentOf(args, next, "--tables");
        else if (takeFlag(args, next, "--jobs")) line.jobs = jobCount(argumentOf(args, next, "--jobs"));
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
            line.inputs.push_back({args[next], fs::path(args[next]).filename().string()});
        }
    }
    line.several = line.several || line.inputs.size() > 1;
    line.chainStart = next;

    // Every action reads its arguments once here, on an empty sounding,
    // and returns before it acts.
    std::ostream nowhere(nullptr);
    CliContext check(nowhere, nowhere);
    check.checking = true;
    while (next < args.size()) {
        const std::string& name = args[next++];
        const Action* action = registry.find(name);
        if (!action) {
            if (name == "--tables" || name == "--jobs") throw UsageError{name + " must come before the inputs"};
            throw UsageError{"unknown action " + name};
        }
        if (action->writes == Writes::FileAtFirstArgument && next < args.size()) line.outputAt.push_back(next);
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
