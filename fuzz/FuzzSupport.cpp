#include "FuzzChecks.h"

#include <cmath>
#include <memory>

#include "model/NumberText.h"
#include "model/PageText.h"
#include "model/SoundingReader.h"
#include "model/SoundingWriter.h"

namespace qm::fuzz {

const std::string& dataFolder() {
    static const std::string folder = QM_FUZZ_DATA_DIR;
    return folder;
}

const ChannelTypeTable& shippedTables() {
    static const ChannelTypeTable table = loadChannelTypeTables(dataFolder()).table;
    return table;
}

void fail(const std::string& what) { throw PropertyFailure(what); }

Check checkNamed(const std::string& name) {
    static const std::pair<const char*, Check> checks[] = {
        {"sounding_reader", checkSoundingReader}, {"second_file_reader", checkSecondFileReader},
        {"channel_table", checkChannelTable},     {"text_to_number", checkTextToNumber},
        {"cell_entry", checkCellEntry},           {"gps_sentence", checkGpsSentence},
        {"leading_number", checkLeadingNumber},
    };
    for (const auto& [n, check] : checks)
        if (name == n) return check;
    return nullptr;
}

namespace {

bool within(long value, long lo, long hi) { return value >= lo && value <= hi; }

// Values the rig's channels produce: calibrations and readings of ordinary
// size. Only there is the rounding of a save small enough to bound; files
// with calibrations of 1E-30 or 1E+30 are still checked for everything else.
bool ordinaryCalibration(const Sounding& s, int c) {
    auto ordinary = [](float v, bool zeroAllowed) {
        const float a = std::fabs(v);
        return std::isfinite(v) && ((zeroAllowed && v == 0.0f) || (a >= 1e-3f && a <= 1e6f));
    };
    return ordinary(s.channelRawSpan[c], false) && ordinary(s.channelFullScale[c], false) &&
           ordinary(s.channelUnitFactor[c], false) && ordinary(s.channelBaseline[c][1], true);
}

std::string at(const std::string& where, const std::string& what) { return where + ": " + what; }

}  // namespace

void requireWithinCapacities(const Sounding& s, const std::string& where) {
    require(within(s.channelCount, 1, kMaxChannels), at(where, "channel count " + std::to_string(s.channelCount)));
    require(within(s.readingCount, 0, kMaxReadings), at(where, "reading count " + std::to_string(s.readingCount)));
    require(s.depth.size() == static_cast<std::size_t>(kReadingSlots) && s.speed.size() == s.depth.size(),
            at(where, "reading arrays resized"));
    require(within(s.noDataLeadCount, 0, kMaxReadings), at(where, "leading readings without data"));
    for (int c = 1; c <= s.channelCount; ++c) {
        require(within(s.noDataCount[c], 0, kMaxReadings), at(where, "no-data count of channel " + std::to_string(c)));
        require(within(s.channelType[c], 1, kMaxChannelTypes), at(where, "type of channel " + std::to_string(c)));
        require(shippedTables().hasType(s.channelType[c]), at(where, "a channel of a type without table"));
        require(within(s.channelUnitIndex[c], 1, shippedTables().unitCount[s.channelType[c]]),
                at(where, "unit index of channel " + std::to_string(c)));
        require(s.channelUnitFactor[c] != 0.0f && std::isfinite(s.channelUnitFactor[c]),
                at(where, "unit factor of channel " + std::to_string(c)));
    }
    require(s.depthDecimals == 2 || s.depthDecimals == 3, at(where, "depth decimals"));
    require(within(s.pageRow, 1, kPageRows), at(where, "page row " + std::to_string(s.pageRow)));
    require(within(s.dataIndex, s.pageRow, kMaxReadings + 1), at(where, "data index " + std::to_string(s.dataIndex)));
}

void requireSaveLoadsBack(const Sounding& s, int commaDecimalMode, const std::string& where) {
    const ChannelTypeTable& table = shippedTables();
    const char sep = decimalSeparator(commaDecimalMode);
    // A sounding whose readings do not fit the columns is refused with a
    // message and nothing is written: nothing to load back.
    if (layoutProblem(s, table, sep)) return;
    const std::string saved = soundingFileText(s, table, sep);

    // A load replaces the whole sounding, so the one of the last input can
    // be read into.
    static const auto back = std::make_unique<Sounding>();
    const LoadResult r = readSoundingText(saved, table, commaDecimalMode, *back);
    require(r.ok, at(where, "the saved file does not load back: " + r.error));
    if (!r.messages.empty()) fail(at(where, "the saved file loads with a message: " + r.messages.front()));
    const Sounding& b = *back;

    require(b.readingCount == s.readingCount, at(where, "reading count changed"));
    require(b.channelCount == s.channelCount, at(where, "channel count changed"));
    require(b.hasFinalBaseline == s.hasFinalBaseline, at(where, "final baseline lost or gained"));
    for (std::size_t i = 0; i < kHeaderLines.size(); ++i)
        if (s.*kHeaderLines[i] != b.*kHeaderLines[i]) fail(at(where, "header line " + std::to_string(i + 2) + " changed"));

    const bool newer = s.depthDecimals > 2;
    const double depthStep = newer ? 0.0005 : 0.005;
    for (int c = 1; c <= s.channelCount; ++c) {
        const std::string ch = " of channel " + std::to_string(c);
        require(b.channelType[c] == s.channelType[c], at(where, "type" + ch + " changed"));
        require(b.channelName[c] == s.channelName[c], at(where, "name" + ch + " changed"));
        require(b.channelUnitIndex[c] == s.channelUnitIndex[c], at(where, "unit" + ch + " changed"));
    }
    // The texts of a failure are made only when it happens: a check runs
    // over every value of every input.
    auto readingText = [](int r) { return " at reading " + std::to_string(r); };
    auto valueText = [&](int c, int r) { return " of channel " + std::to_string(c) + readingText(r); };
    for (int r = 1; r <= s.readingCount; ++r) {
        // Depth and speed are written with their patterns' decimals.
        const double d = s.depth[r], e = b.depth[r];
        if (std::fabs(d - e) > depthStep + 1e-6 * std::fabs(d)) fail(at(where, "depth" + readingText(r) + " moved"));
        const double v = s.speed[r], w = b.speed[r];
        if (std::fabs(v - w) > 0.005 + 1e-6 * std::fabs(v)) fail(at(where, "speed" + readingText(r) + " moved"));
        for (int c = 1; c <= s.channelCount; ++c) {
            const float x = s.value(c, r), y = b.value(c, r);
            if ((x == kNoDataValue) != (y == kNoDataValue))
                fail(at(where, "no-data reading" + valueText(c, r) + " changed"));
            if (x == kNoDataValue || !ordinaryCalibration(s, c)) continue;
            const float written = valueToRaw(s, c, x, table.factor(s.channelType[c], s.channelUnitIndex[c]));
            if (std::fabs(written) > 1e6f) continue;
            // One raw unit in the channel's unit, times the raw reading's
            // error: its five decimals and the Single rounding of the inverse.
            const double perRaw = std::fabs(static_cast<double>(s.channelFullScale[c]) * s.channelUnitFactor[c] /
                                            s.channelRawSpan[c]);
            const double rawError = 2e-5 + 1e-6 * (std::fabs(written) + std::fabs(s.channelBaseline[c][1]));
            const double bound = rawError * perRaw + 1e-6 * std::fabs(x);
            if (std::fabs(static_cast<double>(x) - y) > bound)
                fail(at(where, "value" + valueText(c, r) + " moved from " + numberText(x, '.') + " to " +
                                   numberText(y, '.')));
        }
    }
}

}  // namespace qm::fuzz
