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
        {"leading_number", checkLeadingNumber},   {"gef_reader", checkGefReader},
        {"ags_reader", checkAgsReader},
    };
    for (const auto& [n, check] : checks)
        if (name == n) return check;
    return nullptr;
}

namespace {

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

}  // namespace

void requireWithinCapacities(const Sounding& s, const std::string& where) {
    const auto within = [&](long value, long lo, long hi, const std::string& what) {
        if (value < lo || value > hi) fail(where + ": " + what + " " + std::to_string(value));
    };
    within(s.channelCount, 1, kMaxChannels, "channel count");
    within(s.readingCount, 0, kMaxReadings, "reading count");
    // The columns hold what the sounding has, not a full record: at most the
    // slots of the lines read, of the channels there are.
    for (int i = 0; i < Sounding::kColumnCount; ++i)
        within(static_cast<long>(s.column(i).size()), 0, kReadingSlots, "reading slots");
    for (int c = s.channelCount + 1; c <= kMaxChannels; ++c)
        within(static_cast<long>(s.rawColumn(c).size() + s.valueColumn(c).size()), 0, 0, "slots past the last channel");
    within(s.noDataLeadCount, 0, kMaxReadings, "leading readings without data");
    for (int c = 1; c <= s.channelCount; ++c) {
        const std::string ch = " of channel " + std::to_string(c);
        within(s.noDataCount[c], 0, kMaxReadings, "no-data count" + ch);
        within(s.channelType[c], 1, kMaxChannelTypes, "type" + ch);
        within(s.channelUnitIndex[c], 1, shippedTables().unitCount[s.channelType[c]], "unit index" + ch);
        require(s.channelUnitFactor[c] != 0.0f && std::isfinite(s.channelUnitFactor[c]), where + ": unit factor" + ch);
    }
    within(s.depthDecimals, 2, 3, "depth decimals");
    within(s.pageRow, 1, kPageRows, "page row");
    within(s.dataIndex, s.pageRow, kMaxReadings + 1, "data index");
}

void requireSaveLoadsBack(const Sounding& s, int commaDecimalMode, const std::string& where) {
    const ChannelTypeTable& table = shippedTables();
    const char sep = decimalSeparator(commaDecimalMode);
    // A sounding whose readings do not fit the columns is refused with a
    // message and nothing is written: nothing to load back.
    if (layoutProblem(s, table, sep)) return;
    // A load replaces the whole sounding, so the one of the last input can
    // be read into.
    static const auto back = std::make_unique<Sounding>();
    const LoadResult r = readSoundingText(soundingFileText(s, table, sep), table, commaDecimalMode, *back);
    require(r.ok && r.messages.empty(), where + ": the saved file does not load back cleanly: " + r.error);
    const Sounding& b = *back;
    require(b.readingCount == s.readingCount && b.channelCount == s.channelCount && b.hasFinalBaseline == s.hasFinalBaseline,
            where + ": counts or the final baseline changed");
    for (std::size_t i = 0; i < kHeaderLines.size(); ++i)
        require(s.*kHeaderLines[i] == b.*kHeaderLines[i], where + ": header line " + std::to_string(i + 2) + " changed");
    for (int c = 1; c <= s.channelCount; ++c)
        require(b.channelType[c] == s.channelType[c] && b.channelName[c] == s.channelName[c] &&
                    b.channelUnitIndex[c] == s.channelUnitIndex[c],
                where + ": the description of channel " + std::to_string(c) + " changed");
    // Depth and speed are written with their patterns' decimals; the texts
    // of a failure are made only when it happens, as this runs over every
    // value of every input.
    const double depthStep = s.depthDecimals > 2 ? 0.0005 : 0.005;
    const auto at = [&](int c, int r) { return where + ": channel " + std::to_string(c) + " at reading " + std::to_string(r); };
    for (int r = 1; r <= s.readingCount; ++r) {
        if (std::fabs(double(s.depth[r]) - b.depth[r]) > depthStep + 1e-6 * std::fabs(s.depth[r])) fail(at(0, r) + ": depth moved");
        if (std::fabs(double(s.speed[r]) - b.speed[r]) > 0.005 + 1e-6 * std::fabs(s.speed[r])) fail(at(0, r) + ": speed moved");
        for (int c = 1; c <= s.channelCount; ++c) {
            const float x = s.value(c, r), y = b.value(c, r);
            if ((x == kNoDataValue) != (y == kNoDataValue)) fail(at(c, r) + ": a no-data mark changed");
            if (x == kNoDataValue || !ordinaryCalibration(s, c)) continue;
            const float written = valueToRaw(s, c, x, table.factor(s.channelType[c], s.channelUnitIndex[c]));
            if (std::fabs(written) > 1e6f) continue;
            // One raw unit in the channel's unit, times the raw reading's
            // error: its five decimals and the Single rounding of the inverse.
            const double perRaw = std::fabs(double(s.channelFullScale[c]) * s.channelUnitFactor[c] / s.channelRawSpan[c]);
            const double rawError = 2e-5 + 1e-6 * (std::fabs(written) + std::fabs(s.channelBaseline[c][1]));
            if (std::fabs(double(x) - y) > rawError * perRaw + 1e-6 * std::fabs(x))
                fail(at(c, r) + ": value moved from " + numberText(x, '.') + " to " + numberText(y, '.'));
        }
    }
}

}  // namespace qm::fuzz
