#include "model/ChannelTypeTable.h"

#include <cmath>
#include <filesystem>
#include <limits>
#include <optional>

#include "model/NumberText.h"
#include "model/SafeFile.h"

namespace qm {

namespace {

const std::string kEmpty;

// Reads the comma/line-end separated fields of a table file. Leading blanks
// of a field are skipped; a field that starts with a double quote runs to the
// next double quote, commas inside included.
class FieldScanner {
   public:
    explicit FieldScanner(std::string_view text) : text_(text) {}

    std::optional<std::string> next() {
        // Line ends between fields separate like commas; blank lines carry no field.
        while (pos_ < text_.size() && (text_[pos_] == '\r' || text_[pos_] == '\n' || text_[pos_] == ' ' ||
                                       text_[pos_] == '\t'))
            ++pos_;
        if (pos_ >= text_.size()) return std::nullopt;
        std::string field;
        if (text_[pos_] == '"') {
            ++pos_;
            while (pos_ < text_.size() && text_[pos_] != '"') field += text_[pos_++];
            if (pos_ < text_.size()) ++pos_;  // closing quote
            // Anything up to the separator after a quoted field is dropped.
            while (pos_ < text_.size() && !isSeparator(text_[pos_])) ++pos_;
        } else {
            while (pos_ < text_.size() && !isSeparator(text_[pos_])) field += text_[pos_++];
            while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) field.pop_back();
        }
        if (pos_ < text_.size() && text_[pos_] == ',') ++pos_;
        return field;
    }

   private:
    static bool isSeparator(char c) { return c == ',' || c == '\r' || c == '\n'; }
    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

float ChannelTypeTable::factor(int t, int u) const {
    if (t < 1 || t > kMaxChannelTypes || u < 1 || u > kMaxUnits) return 0.0f;
    return unitFactor[t][u];
}

const std::string& ChannelTypeTable::name(int t, int u) const {
    if (t < 0 || t > kMaxChannelTypes || u < 0 || u > kMaxUnits) return kEmpty;
    return unitName[t][u];
}

const std::string& ChannelTypeTable::format(int t, int u) const {
    if (t < 0 || t > kMaxChannelTypes || u < 0 || u > kMaxUnits) return kEmpty;
    return unitFormat[t][u];
}

std::string parseChannelTypeTable(std::string_view content, int t, ChannelTypeTable& table) {
    table.defined[t] = true;
    table.unitCount[t] = 0;
    FieldScanner scanner(content);
    for (int i = 1; i <= 13; ++i) {
        if (!scanner.next()) return "it ends before the unit count";
    }
    auto countField = scanner.next();
    if (!countField) return "it ends before the unit count";
    // Table numbers are written with a point whatever the system's setting.
    auto count = localeTextToNumber(*countField, '.');
    // Checked as a double first: a count of 1E+20 would not fit any integer.
    if (!count || *count < 0 || *count != std::floor(*count))
        return "its unit count \"" + *countField + "\" is not a whole number";
    std::string problem;
    long declared = kMaxUnits;
    if (*count > kMaxUnits)
        problem = "it declares " + *countField + " units, more than the 10 it may hold";
    else
        declared = static_cast<long>(*count);
    for (int u = 1; u <= declared; ++u) {
        auto name = scanner.next();
        auto pattern = name ? scanner.next() : std::nullopt;
        auto factorText = pattern ? scanner.next() : std::nullopt;
        if (!factorText) return "it ends after " + std::to_string(u - 1) + " of its " + std::to_string(declared) + " units";
        auto factor = localeTextToNumber(*factorText, '.');
        if (!factor) return "the factor \"" + *factorText + "\" of unit " + *name + " is not a number";
        // The factor is held as a Single.
        if (std::fabs(*factor) > std::numeric_limits<float>::max())
            return "the factor \"" + *factorText + "\" of unit " + *name + " is too large";
        table.unitName[t][u] = *name;
        table.unitFormat[t][u] = *pattern;
        table.unitFactor[t][u] = static_cast<float>(*factor);
        table.unitCount[t] = static_cast<int16_t>(u);
    }
    return problem;
}

TableLoadReport loadChannelTypeTables(const std::string& folder) {
    TableLoadReport report;
    for (int t = 1; t <= kMaxChannelTypes; ++t) {
        const std::string name = "Channel" + std::to_string(t) + ".txt";
        const std::filesystem::path path = std::filesystem::path(folder) / name;
        std::error_code ec;
        // A missing table is no table; anything else of that name is read,
        // and refused when it is no regular file or too large to be one.
        if (!std::filesystem::exists(path, ec)) continue;
        std::string bytes;
        FileResult read = readWholeFile(path.string(), bytes, kChannelTableLimit);
        if (!read.ok) {
            report.table.defined[t] = true;
            report.problems.push_back("The channel type table " + name + " could not be read: " + read.error);
            continue;
        }
        std::string problem = parseChannelTypeTable(bytes, t, report.table);
        if (!problem.empty())
            report.problems.push_back("The channel type table " + name + " is damaged: " + problem + ".");
    }
    return report;
}

}  // namespace qm
