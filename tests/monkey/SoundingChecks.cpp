#include "monkey/SoundingChecks.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <memory>
#include <sstream>

#include "model/NumberText.h"
#include "model/PageText.h"
#include "model/SoundingReader.h"
#include "model/SoundingWriter.h"
#include "model/Units.h"

namespace qm::monkey {

namespace {

std::string num(double v) {
    std::ostringstream o;
    o.precision(9);
    o << v;
    return o.str();
}

std::string at(const char* what, int c, int r) {
    return std::string(what) + " of channel " + std::to_string(c) + " at reading " + std::to_string(r);
}

bool near(double a, double b, double tolerance) { return std::fabs(a - b) <= tolerance; }

}  // namespace

std::string countProblem(const Sounding& s, bool combined) {
    if (s.channelCount < 0 || s.channelCount > kMaxChannels)
        return "channelCount " + std::to_string(s.channelCount) + " outside 0..10";
    if (s.readingCount < 0 || s.readingCount > kMaxReadings)
        return "readingCount " + std::to_string(s.readingCount) + " outside 0..10000";
    // The leading count is the largest NoDataCount at load. A sounding
    // without any -32768 takes it from the cone's full scale instead, so for
    // a very short sounding it may exceed the readings there are; it is kept
    // within the capacity.
    if (s.noDataLeadCount < 0 || s.noDataLeadCount > kMaxReadings)
        return "noDataLeadCount " + std::to_string(s.noDataLeadCount) + " outside 0..10000";
    for (int c = 1; c <= s.channelCount; ++c) {
        // NoDataCount is what the load counted; later edits do not update it
        // (by design), but nothing but a combine makes it exceed the leading
        // count.
        const int most = combined ? kMaxReadings : s.noDataLeadCount;
        if (s.noDataCount[c] < 0 || s.noDataCount[c] > most)
            return "noDataCount of channel " + std::to_string(c) + " is " + std::to_string(s.noDataCount[c]) +
                   ", outside 0..noDataLeadCount " + std::to_string(s.noDataLeadCount);
    }
    if (static_cast<int>(s.depth.size()) < kReadingSlots || static_cast<int>(s.speed.size()) < kReadingSlots)
        return "the depth or speed array lost its slots";
    return {};
}

std::string cursorProblem(const Sounding& s, const ReadingsPage& page, bool combined) {
    if (!page.loaded()) {
        // Before a load the page has no cursor to keep.
        if (s.readingCount != 0 || s.channelCount != 0) return "a Sounding is filled while the page is not loaded";
        return {};
    }
    const std::string where = " (dataIndex " + std::to_string(s.dataIndex) + ", pageRow " +
                              std::to_string(s.pageRow) + ", readingCount " + std::to_string(s.readingCount) +
                              ", noDataLeadCount " + std::to_string(s.noDataLeadCount) + ")";
    if (s.pageRow < 1 || s.pageRow > kPageRows) return "pageRow outside 1..24" + where;
    if (s.dataIndex < 1 || s.dataIndex > kMaxReadings + 1) return "dataIndex outside the readings" + where;
    for (int r = 1; r <= kPageRows; ++r) {
        const int32_t k = page.readingIndexOfRow(r);
        if (k != s.dataIndex - s.pageRow + r) return "row " + std::to_string(r) + " maps to the wrong reading" + where;
    }
    if (combined) return {};
    if (s.pageRow < page.topCursorRow()) return "pageRow above the first row the cursor may stand on" + where;
    // The page keys keep the cursor row on the current reading: rows above it
    // show earlier readings, down to reading 1 at the top at most.
    if (s.pageRow > s.dataIndex) return "pageRow below dataIndex" + where;
    if (s.dataIndex < s.noDataLeadCount + 1) return "dataIndex above the first reading after the leading ones" + where;
    // Delete of the last reading leaves DataIndex one past the new last one;
    // a sounding shorter than its leading count starts past its end.
    const int32_t last = std::max<int32_t>(s.readingCount + 1, s.noDataLeadCount + 1);
    if (s.dataIndex > last) return "dataIndex past the readings" + where;
    return {};
}

std::string pageDepthProblem(const Sounding& s, bool depthInFeet) {
    for (int r = 1; r <= s.readingCount; ++r) {
        const float expected =
            depthInFeet ? static_cast<float>(static_cast<double>(s.depth[r]) * kFeetPerMetre) : s.depth[r];
        if (!(s.value(0, r) == expected) && !(std::isnan(expected) && std::isnan(s.value(0, r))))
            return "page depth at reading " + std::to_string(r) + " is " + num(s.value(0, r)) + " for depth " +
                   num(s.depth[r]) + (depthInFeet ? " (ft)" : " (m)");
    }
    return {};
}

std::string pageTextProblem(const ReadingsPage& page, const Sounding& s, const ChannelTypeTable& table, char sep,
                            const CellMask& typed) {
    if (!page.loaded()) {
        for (int r = 1; r <= kPageRows; ++r)
            for (int col = 0; col < kPageColumns; ++col)
                if (!page.cell(col, r).text.empty())
                    return "cell " + std::to_string(col) + "/" + std::to_string(r) + " shows text before a load";
        return {};
    }
    const auto rows = pageRowTexts(s, table, sep);
    const int channels = std::clamp<int>(s.channelCount, 0, kMaxChannels);
    for (int r = 1; r <= kPageRows; ++r) {
        const PageRowText& want = rows[r];
        const std::string row = " in page row " + std::to_string(r) + " (reading " + std::to_string(want.readingIndex) + ")";
        if (page.cell(kDepthColumn, r).text != want.depth)
            return "depth cell shows \"" + page.cell(kDepthColumn, r).text + "\", the Sounding \"" + want.depth + "\"" + row;
        if (page.cell(kSpeedColumn, r).text != want.speed)
            return "speed cell shows \"" + page.cell(kSpeedColumn, r).text + "\", the Sounding \"" + want.speed + "\"" + row;
        const Rgb color = want.red ? kRed : kBlack;
        if (!(page.cell(kDepthColumn, r).textColor == color) || !(page.cell(kSpeedColumn, r).textColor == color))
            return "depth or speed text colour does not follow the speed" + row;
        for (int c = 1; c <= kMaxChannels; ++c) {
            const std::string& shown = page.cell(c, r).text;
            if (c > channels) {
                // Columns without a channel never show anything.
                if (!shown.empty()) return "column " + std::to_string(c) + " has no channel but shows \"" + shown + "\"" + row;
                continue;
            }
            if (shown == want.channel[c] || typed[c][r]) continue;
            // A committed entry stays as typed until the next refresh.
            const auto typedNumber = localeTextToNumber(shown, sep);
            if (typedNumber && want.inRange && static_cast<float>(*typedNumber) == s.value(c, want.readingIndex))
                continue;
            return "channel " + std::to_string(c) + " cell shows \"" + shown + "\", the Sounding \"" + want.channel[c] +
                   "\"" + row;
        }
    }
    return {};
}

// The file of `saved` read back and compared with it.
std::string savedFileProblem(const Sounding& saved, const ChannelTypeTable& table, int commaDecimalMode);

std::string saveLoadProblem(const Sounding& saved, const ChannelTypeTable& table, int commaDecimalMode) {
    const char sep = decimalSeparator(commaDecimalMode);
    const std::string problem = savedFileProblem(saved, table, commaDecimalMode);
    // A layout the writer refuses is never written: the save says so and
    // the file stays as it was. (Rendering it costs as much as the check,
    // so it is asked only when the check fails.)
    if (!problem.empty() && layoutProblem(saved, table, sep)) return {};
    return problem;
}

std::string savedFileProblem(const Sounding& saved, const ChannelTypeTable& table, int commaDecimalMode) {
    const std::string text = soundingFileText(saved, table, decimalSeparator(commaDecimalMode));
    auto back = std::make_unique<Sounding>();
    const LoadResult loaded = readSoundingText(text, table, commaDecimalMode, *back);
    if (!loaded.ok) return "the saved file does not load: " + loaded.error;
    if (!loaded.messages.empty()) return "the saved file reads with a message: " + loaded.messages.front();
    const Sounding& a = saved;
    const Sounding& b = *back;

    for (std::size_t i = 0; i < kHeaderLines.size(); ++i)
        if (a.*kHeaderLines[i] != b.*kHeaderLines[i])
            return "header line " + std::to_string(i + 2) + " reads back as \"" + b.*kHeaderLines[i] + "\", saved \"" +
                   a.*kHeaderLines[i] + "\"";
    if (a.channelCount != b.channelCount)
        return "channelCount reads back as " + std::to_string(b.channelCount) + ", saved " + std::to_string(a.channelCount);
    if (a.readingCount != b.readingCount)
        return "readingCount reads back as " + std::to_string(b.readingCount) + ", saved " + std::to_string(a.readingCount);
    if (a.depthDecimals != b.depthDecimals) return "the layout reads back with other depth digits";
    if (a.hasFinalBaseline != b.hasFinalBaseline) return "the final-baseline line does not read back";
    if (a.hasFinalBaseline && a.finalBaselineLine != b.finalBaselineLine)
        return "the final-baseline line reads back as \"" + b.finalBaselineLine + "\"";

    for (int c = 1; c <= a.channelCount; ++c) {
        const std::string ch = " of channel " + std::to_string(c);
        if (a.channelType[c] != b.channelType[c]) return "type" + ch + " differs";
        if (a.channelName[c] != b.channelName[c]) return "name" + ch + " reads back as \"" + b.channelName[c] + "\"";
        // Units are found by name, so a repeated name comes back as its last
        // entry; what must come back is the unit's name and factor.
        const int t = a.channelType[c];
        if (table.name(t, a.channelUnitIndex[c]) != table.name(t, b.channelUnitIndex[c]) ||
            table.factor(t, a.channelUnitIndex[c]) != table.factor(t, b.channelUnitIndex[c]))
            return "unit" + ch + " differs";
        if (!near(a.channelRawSpan[c], b.channelRawSpan[c], 1e-6 * std::fabs(a.channelRawSpan[c])))
            return "raw span" + ch + " reads back as " + num(b.channelRawSpan[c]) + ", saved " + num(a.channelRawSpan[c]);
        if (!near(a.channelFullScale[c], b.channelFullScale[c], 1e-6 * std::fabs(a.channelFullScale[c])))
            return "full scale" + ch + " reads back as " + num(b.channelFullScale[c]);
        // Written with five decimals.
        if (!near(a.channelBaseline[c][1], b.channelBaseline[c][1], 6e-6 + 2e-7 * std::fabs(a.channelBaseline[c][1])))
            return "initial baseline" + ch + " reads back as " + num(b.channelBaseline[c][1]) + ", saved " +
                   num(a.channelBaseline[c][1]);
    }

    const double depthStep = a.depthDecimals == 3 ? 0.001 : 0.01;
    for (int r = 1; r <= a.readingCount; ++r) {
        const std::string reading = " at reading " + std::to_string(r);
        if (!near(a.depth[r], b.depth[r], 0.5001 * depthStep + 4 * FLT_EPSILON * std::fabs(a.depth[r])))
            return "depth" + reading + " reads back as " + num(b.depth[r]) + ", saved " + num(a.depth[r]);
        if (!near(a.speed[r], b.speed[r], 0.005001 + 4 * FLT_EPSILON * std::fabs(a.speed[r])))
            return "speed" + reading + " reads back as " + num(b.speed[r]) + ", saved " + num(a.speed[r]);
        for (int c = 1; c <= a.channelCount; ++c) {
            const float x = a.value(c, r), y = b.value(c, r);
            if (x == kNoDataValue || y == kNoDataValue) {
                if (x != y) return at("value", c, r) + " reads back as " + num(y) + ", saved " + num(x);
                continue;
            }
            // The raw reading is rebuilt through three Single stores and
            // written with five decimals; one raw unit is this much value.
            const float factor = table.factor(a.channelType[c], a.channelUnitIndex[c]);
            const double raw = valueToRaw(a, c, x, factor);
            const double perRaw = std::fabs(static_cast<double>(a.channelFullScale[c]) * a.channelUnitFactor[c] /
                                            a.channelRawSpan[c]);
            const double rawError = 1e-5 + 5e-7 * (std::fabs(raw) + std::fabs(a.channelBaseline[c][1]));
            if (!near(x, y, rawError * perRaw + 2e-6 * std::fabs(x)))
                return at("value", c, r) + " reads back as " + num(y) + ", saved " + num(x);
        }
    }
    return {};
}

}  // namespace qm::monkey
