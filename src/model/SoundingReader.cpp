#include "model/SoundingReader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <utility>

#include "model/DigitChunks.h"
#include "model/LineFields.h"
#include "model/NumberText.h"
#include "model/SafeFile.h"
#include "model/Units.h"

namespace qm {

namespace {

constexpr int kFirstDataLine = 24;

// A refusal: the message names the line and what is wrong with it.
struct Refusal {
    std::string text;
};

Refusal refuse(int lineNumber, const std::string& what) {
    return {"The file cannot be opened: line " + std::to_string(lineNumber) + " " + what + "."};
}

class Reader {
   public:
    Reader(std::string_view bytes, const ChannelTypeTable& table, int commaDecimalMode)
        : lines_(splitLineViews(bytes)), table_(table), mode_(commaDecimalMode) {}

    // Fills `s` (a fresh Sounding) or returns why the file is refused.
    std::optional<Refusal> read(Sounding& s, std::vector<std::string>& messages) {
        if (lines_.size() < kFirstDataLine - 1)
            return Refusal{"The file cannot be opened: it ends at line " + std::to_string(lines_.size()) +
                           ", before its channel lines (16 to 22) and column titles (23) are complete."};
        s.versionLine = lines_[0];
        s.depthDecimals = s.isNewerLayout() ? 3 : 2;
        for (std::size_t i = 0; i < kHeaderLines.size(); ++i) (s.*kHeaderLines[i]).assign(lines_[i + 1]);

        if (auto r = readChannelLines(s)) return r;
        return readData(s, messages);
    }

    std::size_t lineCount() const { return lines_.size(); }

   private:
    std::string_view line(int number) const { return lines_[static_cast<std::size_t>(number - 1)]; }

    // A number of a channel line or data row; nullopt when it is not one, or
    // when it is too large for the Single it is stored in.
    std::optional<double> number(std::string_view text) const {
        auto v = textToNumberOf(text, mode_);
        if (v && std::fabs(*v) > std::numeric_limits<float>::max()) return std::nullopt;
        return v;
    }

    // The usual data row in one pass: every field of it on the quick road
    // of number text, so that every character of its fields is a blank, a
    // digit, a sign or a separator and none can belong to a marker. Only
    // what follows the last field is looked at for one, and a row that
    // could be the final baseline (six blanks first) is left to the checks
    // below, as is the reading past the capacity. Stores reading
    // `count` + 1; false, and nothing stored, for any other line.
    static bool quickRow(std::string_view l, bool newer, int count, int channels, float* depths, float* speeds,
                         const std::array<float*, kMaxChannels + 1>& raws) {
        const auto width = static_cast<std::size_t>(kLeadWidth + kFieldWidth * channels);
        if (!quickRoads() || l.size() < width || count >= kMaxReadings || (count > 1 && l.compare(0, 6, "      ") == 0))
            return false;
        if (const std::string_view rest = l.substr(width); !rest.empty() && mayHoldMarker(rest)) return false;
        double depth = 0.0, speed = 0.0;
        std::array<double, kMaxChannels + 1> fields{};
        if (!chunks::readUsualField(l.substr(0, newer ? 7 : 6), '.', ',', depth) ||
            !chunks::readUsualField(l.substr(7, 6), '.', ',', speed))
            return false;
        for (int c = 1; c <= channels; ++c) {
            const auto at = static_cast<std::size_t>(kLeadWidth + kFieldWidth * (c - 1));
            if (!chunks::readUsualField(l.substr(at, kFieldWidth), '.', ',', fields[static_cast<std::size_t>(c)]))
                return false;
        }
        const int r = count + 1;
        depths[r] = static_cast<float>(depth);
        speeds[r] = static_cast<float>(speed);
        for (int c = 1; c <= channels; ++c)
            raws[static_cast<std::size_t>(c)][r] = static_cast<float>(fields[static_cast<std::size_t>(c)]);
        return true;
    }

    // Reading r's readings without data counted, channel by channel.
    static void countNoData(Sounding& s, int r, const std::array<float*, kMaxChannels + 1>& raws) {
        for (int c = 1; c <= s.channelCount; ++c) {
            if (raws[static_cast<std::size_t>(c)][r] != kNoDataValue) continue;
            ++s.noDataCount[c];
            s.noDataLeadCount = std::max(s.noDataLeadCount, s.noDataCount[c]);
        }
    }

    // The same, taking the quick road for the usual field of a data row.
    std::optional<double> rowNumber(std::string_view text) const {
        if (double v = 0.0; quickRoads() && chunks::readUsualField(text, '.', ',', v)) return v;
        return number(text);
    }

    Refusal noNumber(int lineNumber, int c, const char* what) const {
        return refuse(lineNumber, std::string("has no number for the ") + what + " of channel " + std::to_string(c) +
                                      " (\"" + std::string(channelFieldView(line(lineNumber), c)) + "\")");
    }

    std::optional<double> fieldNumber(int lineNumber, int c, const char* what, std::optional<Refusal>& error) const {
        auto v = number(channelFieldView(line(lineNumber), c));
        if (!v) error = noNumber(lineNumber, c, what);
        return v;
    }

    std::optional<Refusal> readChannelLines(Sounding& s) {
        // Line 16: one 20-character field per channel.
        const int count = fieldCountOf(line(16));
        if (count > kMaxChannels)
            return refuse(16, "describes " + std::to_string(count) + " channels; at most 10 can be read");
        // A sounding without channels is no rig's file: most often one whose
        // header lost lines, so that the channel lines stand lower.
        if (count == 0) return refuse(16, "describes no channel; the channel type codes belong on it");
        s.channelCount = static_cast<int16_t>(count);
        s.porePressureMissing = true;
        std::optional<Refusal> error;
        for (int c = 1; c <= count; ++c) {
            auto type = fieldNumber(16, c, "type code", error);
            if (!type) return error;
            const double rounded = std::nearbyint(*type);
            if (!(rounded >= 1 && rounded <= kMaxChannelTypes))
                return refuse(16, "gives channel " + std::to_string(c) + " the type " +
                                      numberText(static_cast<float>(*type), decimalSeparator(mode_)) +
                                      "; channel types run from 1 to 20");
            s.channelType[c] = static_cast<int16_t>(rounded);
            if (!table_.hasType(s.channelType[c]))
                return refuse(16, "gives channel " + std::to_string(c) + " the type " + std::to_string(s.channelType[c]) +
                                      ", for which there is no channel type table (Channel" +
                                      std::to_string(s.channelType[c]) + ".txt)");
            if (table_.unitCount[s.channelType[c]] < 1)
                return refuse(16, "gives channel " + std::to_string(c) + " the type " + std::to_string(s.channelType[c]) +
                                      ", whose channel type table lists no units");
            if (s.channelType[c] == 3) s.porePressureMissing = false;
        }
        for (int c = 1; c <= count; ++c) {
            s.channelName[c] = withoutLeadingSpaces(channelField(line(17), c));

            auto span = fieldNumber(18, c, "raw span", error);
            if (!span) return error;
            if (static_cast<float>(*span) == 0.0f)
                return refuse(18, "gives channel " + std::to_string(c) + " a raw span of 0, which cannot be converted");
            s.channelRawSpan[c] = static_cast<float>(*span);

            auto baseline = fieldNumber(19, c, "initial baseline", error);
            if (!baseline) return error;
            s.channelBaseline[c][1] = static_cast<float>(*baseline);

            // Line 20: the full scale, a space, the base unit's name.
            const std::string_view field = channelFieldView(line(20), c);
            std::size_t k = 0;
            for (std::size_t i = std::min<std::size_t>(field.size(), kFieldWidth); i >= 2; --i) {
                if (field[i - 1] == ' ') {
                    k = i - 1;
                    break;
                }
            }
            auto fullScale = number(field.substr(0, k));
            if (!fullScale)
                return refuse(20, "has no full scale and unit for channel " + std::to_string(c) + " (\"" +
                                      std::string(field) + "\")");
            if (static_cast<float>(*fullScale) == 0.0f)
                return refuse(20, "gives channel " + std::to_string(c) + " a full scale of 0, which cannot be converted");
            s.channelFullScale[c] = static_cast<float>(*fullScale);

            // Line 21: the unit by its exact name; the last match wins, no match is unit 1.
            const std::string unitName = withoutLeadingSpaces(channelField(line(21), c));
            s.channelUnitIndex[c] = 1;
            const int t = s.channelType[c];
            for (int u = 1; u <= table_.unitCount[t]; ++u)
                if (unitName == table_.unitName[t][u]) s.channelUnitIndex[c] = static_cast<int16_t>(u);
            // The load converts the values into this unit, so its factor must not be 0.
            if (table_.unitFactor[t][s.channelUnitIndex[c]] == 0.0f)
                return refuse(21, "gives channel " + std::to_string(c) + " the unit " +
                                      table_.unitName[t][s.channelUnitIndex[c]] +
                                      ", whose factor in the channel type table (Channel" + std::to_string(t) +
                                      ".txt) is 0");
        }
        // Line 22 counts its own fields, not the channels.
        const int factors = fieldCountOf(line(22));
        if (factors > kMaxChannels)
            return refuse(22, "holds " + std::to_string(factors) + " unit factors; at most 10 can be read");
        for (int i = 1; i <= factors; ++i) {
            auto factor = fieldNumber(22, i, "unit factor", error);
            if (!factor) return error;
            s.channelUnitFactor[i] = static_cast<float>(*factor);
        }
        for (int c = 1; c <= count; ++c) {
            if (s.channelUnitFactor[c] == 0.0f)
                return refuse(22, c > factors ? "has no unit factor for channel " + std::to_string(c)
                                              : "gives channel " + std::to_string(c) + " a unit factor of 0, which cannot be converted");
        }
        return std::nullopt;
    }

    static bool isBlank(std::string_view l) {
        return std::all_of(l.begin(), l.end(), [](char ch) { return ch == ' ' || ch == '\t'; });
    }

    std::optional<Refusal> readData(Sounding& s, std::vector<std::string>& messages) {
        s.readingCount = 0;
        s.noDataLeadCount = 0;
        const bool newer = s.isNewerLayout();
        // The columns sized once for every line that may be a reading (and
        // slots 0 and one past the last), not grown reading by reading.
        const int dataLines = static_cast<int>(lines_.size()) - kFirstDataLine + 1;
        const auto rows = static_cast<std::size_t>(std::clamp(dataLines, 0, kMaxReadings) + 2);
        // Reading r comes from a line of its own, so r < rows: the rows are
        // written through these without a length check each.
        float* const depths = s.depth.hold(rows);
        float* const speeds = s.speed.hold(rows);
        float* const pageDepths = s.valueColumn(0).hold(rows);
        std::array<float*, kMaxChannels + 1> raws{};
        for (int c = 1; c <= s.channelCount; ++c) {
            raws[static_cast<std::size_t>(c)] = s.rawColumn(c).hold(rows);
            s.valueColumn(c).hold(rows);
        }
        for (int n = kFirstDataLine; n <= static_cast<int>(lines_.size()); ++n) {
            const std::string_view l = line(n);
            if (quickRow(l, newer, s.readingCount, s.channelCount, depths, speeds, raws)) {
                const int r = ++s.readingCount;
                pageDepths[r] = depths[r];
                countNoData(s, r, raws);
                continue;
            }
            // A blank line carries no reading (a trailing one is common).
            if (isBlank(l)) continue;

            // A marker is a marker even when it starts with six spaces.
            if (mayHoldMarker(l) && (containsNoCase(l, "********") || containsNoCase(l, "DRILLOUT"))) {
                messages.push_back("Drillout detected at " + numberText(s.depth[s.readingCount], decimalSeparator(mode_)) + " m");
                continue;
            }
            if (l.compare(0, 6, "      ") == 0 && s.readingCount > 1) {
                if (auto r = readFinalBaseline(s, n)) return r;
                continue;
            }
            if (s.readingCount >= kMaxReadings)
                return refuse(n, "would be reading 10001; a sounding holds at most 10000 readings");
            const int r = s.readingCount + 1;

            const std::string_view depthText = newer ? columnsView(l, 1, 7) : columnsView(l, 1, 6);
            auto depth = rowNumber(depthText);
            if (!depth) return refuse(n, "has no depth in its first columns (\"" + std::string(depthText) + "\")");
            const std::string_view speedText = columnsView(l, 8, 13);
            auto speed = rowNumber(speedText);
            if (!speed) return refuse(n, "has no speed in columns 8 to 13 (\"" + std::string(speedText) + "\")");
            depths[r] = static_cast<float>(*depth);
            speeds[r] = static_cast<float>(*speed);
            pageDepths[r] = depths[r];
            // A row of every field takes its fields without a bounds check each.
            const bool wholeRow = l.size() >= static_cast<std::size_t>(kLeadWidth + kFieldWidth * s.channelCount);
            for (int c = 1; c <= s.channelCount; ++c) {
                const std::size_t at = static_cast<std::size_t>(kLeadWidth + kFieldWidth * (c - 1));
                auto raw = rowNumber(wholeRow ? std::string_view(l.data() + at, kFieldWidth) : channelFieldView(l, c));
                if (!raw) return noNumber(n, c, "reading");
                raws[static_cast<std::size_t>(c)][r] = static_cast<float>(*raw);
            }
            countNoData(s, r, raws);
            s.readingCount = r;
        }
        // The engineering values once every row is read, channel by channel:
        // in a loop of nothing else the divisions overlap, where one per
        // field would wait for the last. NoDataValue stays NoDataValue.
        for (int c = 1; c <= s.channelCount; ++c) {
            const float baseline = s.channelBaseline[c][1], span = s.channelRawSpan[c];
            const float fullScale = s.channelFullScale[c], unitFactor = s.channelUnitFactor[c];
            const std::size_t rows = static_cast<std::size_t>(s.readingCount) + 1;
            const float* const raws = s.rawColumn(c).hold(rows);
            float* const values = s.valueColumn(c).hold(rows);
            for (int r = 1; r <= s.readingCount; ++r) values[r] = rawToValue(raws[r], baseline, span, fullScale, unitFactor);
        }
        return std::nullopt;
    }

    // The final-baseline line sits on a grid shifted by one column: drop the
    // first 14 characters, and put a space in front unless a sign starts it.
    std::optional<Refusal> readFinalBaseline(Sounding& s, int n) {
        const std::string_view l = line(n);
        std::string t = l.size() > 14 ? std::string(l.substr(14)) : std::string();
        if (t.empty() || t[0] != '-') t = " " + t;
        for (int c = 1; c <= s.channelCount; ++c) {
            const std::string_view field = columnsView(t, kFieldWidth * (c - 1) + 1, kFieldWidth * c);
            auto v = number(field);
            if (!v)
                return refuse(n, "looks like the final baseline but has no number for channel " + std::to_string(c) +
                                     " (\"" + std::string(field) + "\")");
            s.channelBaseline[c][2] = static_cast<float>(*v);
            s.baselineDrift[c] = rawToValue(s, c, s.channelBaseline[c][2]);
        }
        s.finalBaselineLine.assign(l);
        s.hasFinalBaseline = true;
        return std::nullopt;
    }

    std::vector<std::string_view> lines_;
    const ChannelTypeTable& table_;
    int mode_;
};

// Depth or elevation from readings 2 and 12 (zero beyond the last reading),
// then the leading readings without data, the unit factors of the table and
// the cursor.
std::optional<std::string> finishLoad(Sounding& s, const ChannelTypeTable& table) {
    const ReadingColumn& depth = s.depth;
    const float increment = static_cast<float>((static_cast<double>(depth[12]) - depth[2]) / 10.0);
    s.depthFormat = s.depthFormatApplied = increment >= 0.0f ? 0 : 1;
    s.depthIncrement = std::fabs(increment);

    // Without any -32768 reading, the sleeve's lag behind the tip follows from
    // the cone size. A zero increment (all judged depths equal) skips this.
    if (s.noDataLeadCount == 0 && s.depthIncrement != 0.0f) {
        const int lead = leadCountFromFullScale(s.channelFullScale[1], s.depthIncrement);
        if (lead > 0) {
            s.noDataCount[2] = static_cast<int16_t>(lead);
            s.noDataLeadCount = static_cast<int16_t>(lead);
        }
    }

    for (int c = 1; c <= s.channelCount; ++c) {
        std::string problem = changeChannelUnit(s, table, c, s.channelUnitIndex[c]);
        if (!problem.empty()) return "The file cannot be opened: " + problem;
    }

    s.dataIndex = s.noDataLeadCount + 1;
    // With 24 or more leading readings the cursor sits on the last page row.
    s.pageRow = static_cast<int16_t>(std::min<int32_t>(s.dataIndex, 24));
    return std::nullopt;
}

}  // namespace

std::string cutShortWarning(std::size_t lineNumber) {
    return "The file ends in the middle of line " + std::to_string(lineNumber) +
           ": it may have been cut short. Check the last reading.";
}

int leadCountFromFullScale(float fullScale1, float depthIncrement) {
    if (depthIncrement == 0.0f) return 0;
    double span = 0.0;
    if (fullScale1 == 100000.0f)
        span = 0.1;
    else if (fullScale1 == 150000.0f)
        span = 0.15;
    else
        return 0;
    const double count = std::nearbyint(span / static_cast<double>(depthIncrement));
    // A tiny increment must not push the cursor past the capacity.
    return static_cast<int>(std::clamp(count, 0.0, static_cast<double>(kMaxReadings)));
}

LoadResult readSoundingText(std::string_view bytes, const ChannelTypeTable& table, int commaDecimalMode,
                            Sounding& out) {
    LoadResult result;
    // The record a read fills, kept blank between reads on each thread, so
    // that one file after another fills columns whose memory is already
    // there rather than allocating and first touching it anew. Whatever
    // happens, it is left blank again (holding the record `out` had, after
    // a successful read).
    thread_local std::unique_ptr<Sounding> spare;
    if (!spare) spare = std::make_unique<Sounding>();
    struct BlankAfter {
        Sounding& s;
        ~BlankAfter() { s.makeBlank(); }
    } blankAfter{*spare};
    Sounding& fresh = *spare;

    Reader reader(bytes, table, commaDecimalMode);
    if (auto refusal = reader.read(fresh, result.messages)) {
        result.error = refusal->text;
        result.messages.clear();
        return result;
    }
    if (auto problem = finishLoad(fresh, table)) {
        result.error = *problem;
        result.messages.clear();
        return result;
    }
    if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r')
        result.warnings.push_back(cutShortWarning(reader.lineCount()));
    fresh.filePath = out.filePath;
    fresh.openedFileTitle = out.openedFileTitle;
    std::swap(out, fresh);
    result.ok = true;
    return result;
}

LoadResult readSoundingFile(const std::string& path, const ChannelTypeTable& table, int commaDecimalMode,
                            Sounding& out) {
    FileBytes bytes;
    FileResult read = readWholeFile(path, bytes, kSoundingFileLimit);
    if (!read.ok) return {false, read.error, {}, {}};
    LoadResult result = readSoundingText(bytes.view(), table, commaDecimalMode, out);
    if (result.ok) {
        out.filePath = path;
        out.openedFileTitle = fileTitleOf(path);
    }
    return result;
}

}  // namespace qm
