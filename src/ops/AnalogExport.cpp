#include "ops/AnalogExport.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>

#include "model/NumberText.h"
#include "model/SafeFile.h"
#include "model/Units.h"

namespace qm {

namespace {

constexpr int kTitleWidth = 6;
constexpr int kDateWidth = 15;
constexpr int kHeaderWidth = 16;  // operator, location, cone and job number
constexpr std::string_view kDepthField = "@@@@@@";
constexpr std::string_view kColumnField = "@@@@@@@@";
constexpr std::string_view kNoDataText = "-32768 ";
constexpr std::string_view kWaterTableMessage = "Please enter a number in the water table depth box.";

constexpr int kResultantType = 6;
constexpr int kTemperatureType = 10;

// The number patterns of one unit system, by what a column shows.
struct ColumnPatterns {
    std::string_view tip;            // column 1
    std::string_view sleeve;         // column 2
    std::string_view resultant3;     // column 3 when it is the resultant column
    std::string_view channel;        // column 3 otherwise, and any column that shows its own channel
    std::string_view resultant4;     // column 4 when it is the resultant column
    std::string_view temperature;    // the temperature columns
    bool fahrenheit = false;
};

ColumnPatterns patternsFor(UnitSystem system) {
    switch (system) {
        case UnitSystem::English:
            return {"#####0.00", "###0.000", "####0.00", "####0.00", "####0.00", "####0.0", true};
        case UnitSystem::MetricWtKsc:
        case UnitSystem::MetricWtBar:
            return {"###0.00", "##0.0000", "###0.00", "####0.000", "####0.00", "####0.0", false};
        case UnitSystem::MetricAbsBar:
            return {"###0.000", "####0.00", "####0.00", "###0.000", "####0.00", "####0.0", false};
        case UnitSystem::MetricAbsKpa:
            return {"###0.000", "####0.00", "####0.00", "####0.00", "####0.00", "####0.0", false};
    }
    return patternsFor(UnitSystem::English);
}

// Cut to `width` bytes or padded with blanks on the right.
std::string fixedWidth(std::string_view text, std::size_t width) {
    std::string out(text.substr(0, std::min(width, text.size())));
    out.resize(width, ' ');
    return out;
}

// The depth as the readings page holds it, metres or feet (as the page's
// depth column computes it).
float pageDepth(const Sounding& s, int r, bool feet) {
    return feet ? static_cast<float>(static_cast<double>(s.depth[r]) * kFeetPerMetre) : s.depth[r];
}

// The step between the first two depths as the page shows them. A sounding
// of fewer than two readings has no second depth (the slot holds nothing
// meaningful), so its own increment stands in, in the page's unit and with
// the sign the axis gives (elevations fall).
float pageIncrement(const Sounding& s, bool feet) {
    if (s.readingCount >= 2) return pageDepth(s, 2, feet) - pageDepth(s, 1, feet);
    const float step = s.depthFormatApplied == 1 ? -s.depthIncrement : s.depthIncrement;
    return feet ? static_cast<float>(static_cast<double>(step) * kFeetPerMetre) : step;
}

std::string codeOf(int channelType) {
    switch (channelType) {
        case 1: return "  1";
        case 2: return "  2";
        case 3: return "  3";
        case kResultantType: return "  4";
        case kTemperatureType: return "  5";
        default: return {};
    }
}

float resultant(const Sounding& s, int a, int b, int r) {
    const double va = s.value(a, r);
    const double vb = s.value(b, r);
    return static_cast<float>(std::sqrt(va * va + vb * vb));
}

// The Fahrenheit value rounded to seven significant digits (its plain text
// read back), so that a Single such as 53.6499977 counts as the 53.65 it
// stands for and the one-decimal pattern writes 53.7. The pattern rounds on
// the exact binary value, and the double nearest to a decimal half may lie
// a hair below it (53.65 does); moving the magnitude up by a few units in
// the last place puts such a half back on its upper side. A value of at
// most seven significant digits that is not a half lies far further from
// the pattern's rounding point than that, so no other value changes.
double sevenDigitValue(float f) {
    const double read = localeTextToNumber(plainNumberText(f), '.').value_or(f);
    return read * (1.0 + 8.0 * std::numeric_limits<double>::epsilon());
}

class DataLineWriter {
   public:
    DataLineWriter(const Sounding& s, const AnalogColumns& columns, const AnalogExportRequest& request)
        : s_(s), columns_(columns), patterns_(patternsFor(request.system)), sep_(request.sep) {}

    // Appends reading r's line; returns why it cannot be written, or empty.
    // A text wider than its column would run into the next one, and no
    // reader could take the line apart again: such a line is refused.
    std::string append(std::string& out, int r) const {
        const std::string depthText = formatPattern(static_cast<double>(s_.depth[r]), "##0.00", sep_);
        if (!std::isfinite(s_.depth[r]))
            return "The file was not written: the depth of reading " + std::to_string(r) + " is not a finite number.";
        if (depthText.size() > kDepthField.size())
            return "The file was not written: the depth of reading " + std::to_string(r) + " (" + depthText +
                   ") does not fit its column of " + std::to_string(kDepthField.size()) + " characters.";
        out += formatPattern(depthText, kDepthField);
        for (int k = 1; k <= columns_.columnCount; ++k) {
            nonFinite_ = false;
            const std::string text = columnText(k, r);
            if (nonFinite_ || text.size() > kColumnField.size()) {
                const int c = sourceChannel(k);
                return "The file was not written: the value of channel " + std::to_string(c) + " (" +
                       s_.channelName[c] + ") at reading " + std::to_string(r) +
                       (nonFinite_ ? std::string(" is not a finite number.")
                                   : " (" + text + ") does not fit its column of " +
                                         std::to_string(kColumnField.size()) + " characters.");
            }
            out += formatPattern(text, kColumnField);
        }
        out += "\r\n";
        return {};
    }

   private:
    // The channel a column takes its value from, for the messages.
    int sourceChannel(int k) const {
        if (k <= 3) return k;
        if (columns_.resultantColumn == k) return k;
        if (k == 5 || columns_.temperatureColumn == 4) return columns_.temperatureChannel ? columns_.temperatureChannel : columns_.columnChannel[k];
        return columns_.columnChannel[k];
    }

    std::string columnText(int k, int r) const {
        switch (k) {
            case 1: return tested(1, r, number(s_.value(1, r), patterns_.tip));
            case 2: return tested(2, r, number(s_.value(2, r), patterns_.sleeve));
            case 3:
                if (columns_.resultantColumn == 3) return resultantText(3, 4, r, patterns_.resultant3);
                return tested(3, r, number(s_.value(3, r), patterns_.channel));
            case 4:
                if (columns_.resultantColumn == 4) return resultantText(4, 5, r, patterns_.resultant4);
                // Temperature is tested on its own channel: testing channel 4
                // would write -32768 degrees C as -58950.4 F, or blank out a
                // good temperature when channel 4 alone has no reading.
                if (columns_.temperatureColumn == 4) return tested(columns_.temperatureChannel, r, temperature(r));
                return ownChannel(4, r);
            default:
                // Column 5 is the temperature; a sounding without a type-10
                // channel has none, so the column shows its own channel.
                if (columns_.temperatureChannel != 0) return tested(columns_.temperatureChannel, r, temperature(r));
                return ownChannel(5, r);
        }
    }

    // A column that is neither a resultant nor a temperature column shows
    // the channel whose code it carries.
    std::string ownChannel(int k, int r) const {
        const int c = columns_.columnChannel[k];
        return tested(c, r, number(s_.value(c, r), patterns_.channel));
    }

    // A resultant with either channel missing has no data: the square root
    // of -32768 squared would be written as a bogus 32768.00, wider than
    // its column.
    std::string resultantText(int a, int b, int r, std::string_view pattern) const {
        if (s_.value(b, r) == kNoDataValue) return std::string(kNoDataText);
        return tested(a, r, number(resultant(s_, a, b, r), pattern));
    }

    std::string tested(int c, int r, std::string text) const {
        if (s_.value(c, r) == kNoDataValue) return std::string(kNoDataText);
        return text;
    }

    std::string number(float v, std::string_view pattern) const {
        if (!std::isfinite(v)) nonFinite_ = true;
        return formatPattern(static_cast<double>(v), pattern, sep_);
    }

    std::string temperature(int r) const {
        const float celsius = s_.value(columns_.temperatureChannel, r);
        if (!patterns_.fahrenheit) return number(celsius, patterns_.temperature);
        const float f = static_cast<float>(static_cast<double>(celsius) * 9.0 / 5.0 + 32.0);
        if (!std::isfinite(f)) nonFinite_ = true;
        return formatPattern(sevenDigitValue(f), patterns_.temperature, sep_);
    }

    const Sounding& s_;
    const AnalogColumns& columns_;
    ColumnPatterns patterns_;
    char sep_;
    mutable bool nonFinite_ = false;  // the column text just made stands for no finite number
};

}  // namespace

AnalogHeaderTexts headerTextsOf(const Sounding& s) {
    return {s.dateAndTime, s.operatorName, s.location, s.coneNumber, s.jobNumber, s.waterTableDepth};
}

AnalogColumns analogColumnsOf(const Sounding& s) {
    AnalogColumns columns;
    int16_t columnNumber = 1;
    const int channelCount = std::clamp<int>(s.channelCount, 0, kMaxChannels);
    for (int c = 1; c <= channelCount; ++c) {
        const int type = s.channelType[c];
        const std::string code = codeOf(type);
        if (code.empty()) continue;
        columns.codes += code;
        ++columns.columnCount;
        if (columns.columnCount <= kMaxAnalogColumns) columns.columnChannel[columns.columnCount] = c;
        if (type == kResultantType) columns.resultantColumn = columnNumber;
        if (type == kTemperatureType) {
            columns.temperatureColumn = columnNumber;
            columns.temperatureChannel = c;
        } else {
            ++columnNumber;
        }
    }
    return columns;
}

OpResult analogFileText(const Sounding& s, const AnalogExportRequest& request, std::string& bytes) {
    OpResult result;
    const AnalogHeaderTexts& t = request.texts;
    const char sep = request.sep;

    float waterTable = 0.0f;
    if (t.waterTableDepth.find_first_not_of(" \t") != std::string::npos) {
        const auto number = localeTextToNumber(t.waterTableDepth, sep);
        if (!number) {
            result.messages.emplace_back(kWaterTableMessage);
            return result;
        }
        waterTable = static_cast<float>(*number);
        if (!std::isfinite(waterTable)) {
            result.messages.emplace_back("The file was not written: the water table depth " + t.waterTableDepth +
                                         " is not a finite number.");
            return result;
        }
    }

    const AnalogColumns columns = analogColumnsOf(s);
    const float increment = pageIncrement(s, request.depthInFeet);
    const float leadDepth = static_cast<float>(s.noDataCount[2] * increment);
    if (!std::isfinite(increment) || !std::isfinite(leadDepth)) {
        result.messages.emplace_back("The file was not written: the depth increment is not a finite number.");
        return result;
    }

    std::string out;
    printLine(out, {fixedWidth(request.fileTitle, kTitleWidth), fixedWidth(t.dateAndTime, kDateWidth),
                    fixedWidth(t.operatorName, kHeaderWidth), unitSystemRow(request.system).name});
    printLine(out, {fixedWidth(t.location, kHeaderWidth), fixedWidth(t.coneNumber, kHeaderWidth),
                    fixedWidth(t.jobNumber, kHeaderWidth), " 3  ", formatPattern(waterTable, "##0.00", sep), "  ",
                    formatPattern(increment, "#.00", sep), "  ", formatPattern(leadDepth, "#.00", sep),
                    columns.codes});

    if (columns.columnCount >= 1 && columns.columnCount <= kMaxAnalogColumns) {
        const DataLineWriter lines(s, columns, request);
        const int readingCount = std::clamp<int32_t>(s.readingCount, 0, kMaxReadings);
        for (int r = 1; r <= readingCount; ++r) {
            std::string problem = lines.append(out, r);
            if (problem.empty()) continue;
            result.messages.push_back(std::move(problem));
            return result;
        }
    }

    bytes = std::move(out);
    result.ok = true;
    return result;
}

OpResult exportAnalogFile(const Sounding& s, const std::string& path, const AnalogExportRequest& request) {
    std::string bytes;
    OpResult result = analogFileText(s, request, bytes);
    if (!result.ok) return result;
    const FileResult written = writeFileSafely(path, bytes);
    if (!written.ok) {
        result.ok = false;
        result.messages.push_back(written.error);
    }
    return result;
}

}  // namespace qm
