#include "model/SoundingWriter.h"

#include <array>
#include <cmath>
#include <cstring>

#include "model/FileBytes.h"
#include "model/LineFields.h"
#include "model/NumberText.h"
#include "model/SafeFile.h"

namespace qm {

namespace {

constexpr const char* kOlderVersionLine = "Brennomarck Sounding File";
constexpr const char* kNewerVersionLine = "BM Sounding File ver. 2015.07.02.1";
constexpr const char* kLead = "             ";  // 13 spaces
constexpr const char* kField = "@@@@@@@@@@@@@@@@@@@@";
constexpr const char* kRawPattern = "####0.00000";

// The data row's lead: the depth pattern and the widths of the depth and
// speed fields ("@@@@@@@" and "@@@@@@" in the newer layout, 6 and 7 in the older).
struct RowLayout {
    const char* depthPattern;
    std::size_t depthWidth;
    std::size_t speedWidth;
};

RowLayout layoutFor(bool newer) { return newer ? RowLayout{"##0.000", 7, 6} : RowLayout{"##0.00", 6, 7}; }

bool newerLayout(const Sounding& s) { return s.depthDecimals > 2; }

float currentUnitFactor(const Sounding& s, const ChannelTypeTable& table, int c) {
    return table.factor(s.channelType[c], s.channelUnitIndex[c]);
}


// The depth and speed texts of reading r in the given layout.
std::string depthText(const Sounding& s, int r, bool newer, char sep) {
    return formatPattern(s.depth[r], layoutFor(newer).depthPattern, sep);
}
std::string speedText(const Sounding& s, int r, char sep) { return formatPattern(s.speed[r], "##0.00", sep); }

// The reader takes the depth from columns 1-6 (older) or 1-7 (newer) and the
// speed from columns 8-13 in both layouts, so the speed text may be at most 6
// characters in either.
bool rowFits(const Sounding& s, int r, bool newer, char sep) {
    return std::isfinite(s.depth[r]) && std::isfinite(s.speed[r]) &&
           depthText(s, r, newer, sep).size() <= layoutFor(newer).depthWidth && speedText(s, r, sep).size() <= 6;
}

// The file's bytes, and the first reason why they would not read back as
// written. Each text is made once and checked against its columns as it is
// appended, so the check costs no second pass over the readings.
struct RenderedFile {
    FileBytes bytes;
    std::optional<std::string> problem;
};

std::string rowProblem(const Sounding& s, int r, bool newer, char sep) {
    std::string text = "The file was not saved: reading " + std::to_string(r) + " (depth " +
                       depthText(s, r, newer, sep) + " m, speed " + speedText(s, r, sep) +
                       " cm/s) does not fit the columns of the " + (newer ? "3-digit" : "2-digit") +
                       " layout, so the file would read back wrong.";
    bool otherHoldsAll = true;
    for (int q = 1; q <= s.readingCount && otherHoldsAll; ++q) otherHoldsAll = rowFits(s, q, !newer, sep);
    if (otherHoldsAll)
        text += std::string(" The ") + (newer ? "2-digit" : "3-digit") + " layout holds every reading: choose \"" +
                (newer ? "2 digits" : "3 digits") + "\" under Depth Significant Digits and save again.";
    return text;
}

RenderedFile render(const Sounding& s, const ChannelTypeTable& table, char sep) {
    const bool newer = newerLayout(s);
    const RowLayout layout = layoutFor(newer);
    RenderedFile file;
    auto fail = [&file](std::string why) {
        if (!file.problem) file.problem = std::move(why);
    };
    file.bytes.reserve(static_cast<std::size_t>(s.readingCount) * (13 + 20 * s.channelCount + 2) + 4096);
    // The header lines and each row that takes the long road are made as
    // texts first, then moved into the file's bytes.
    std::string out;

    printLine(out, {newer ? kNewerVersionLine : kOlderVersionLine});
    for (const auto text : kHeaderLines) printLine(out, {s.*text});
    printLine(out, {});
    printLine(out, {});

    // Every channel-line field must stay within its 20 columns.
    auto channelLine = [&](auto fieldOf) {
        out += kLead;
        for (int c = 1; c <= s.channelCount; ++c) {
            const std::string field = fieldOf(c);
            if (field.size() > kFieldWidth)
                fail("The file was not saved: the description of channel " + std::to_string(c) + " (" +
                     s.channelName[c] + ") does not fit its 20 columns (\"" + field + "\").");
            appendFormatPattern(out, field, kField);
        }
        printLine(out, {});
    };
    for (int c = 1; c <= s.channelCount; ++c)
        if (currentUnitFactor(s, table, c) == 0.0f)
            fail("The file was not saved: the unit of channel " + std::to_string(c) + " (" + s.channelName[c] +
                 ") has a factor of 0.");
    channelLine([&](int c) { return numberText(static_cast<int>(s.channelType[c])); });
    channelLine([&](int c) { return s.channelName[c]; });
    channelLine([&](int c) { return numberText(s.channelRawSpan[c], sep); });
    channelLine([&](int c) { return formatPattern(s.channelBaseline[c][1], kRawPattern, sep); });
    channelLine([&](int c) { return numberText(s.channelFullScale[c], sep) + " " + table.name(s.channelType[c], 1); });
    channelLine([&](int c) { return table.name(s.channelType[c], s.channelUnitIndex[c]); });
    channelLine([&](int c) { return numberText(currentUnitFactor(s, table, c), sep); });
    printLine(out, {newer ? "    (m)(cm/s)" : "   (m) (cm/s)"});
    file.bytes.append(out);

    // Taken apart once for the whole file, not once for every number.
    const NumericPattern depthPattern = parseNumericPattern(layout.depthPattern);
    const NumericPattern speedPattern = parseNumericPattern("##0.00");
    const NumericPattern rawPattern = parseNumericPattern(kRawPattern);
    std::array<float, kMaxChannels + 1> factors{};
    for (int c = 1; c <= s.channelCount; ++c) factors[c] = currentUnitFactor(s, table, c);
    // The usual row is put together in a scratch line from its last field
    // to its first (each field blanks the columns before it) and appended
    // whole. A row with a text too wide for its columns, or any value the
    // quick road does not take, is built again below, field by field.
    char scratch[kFieldRoom + kLeadWidth + kFieldWidth * kMaxChannels + 2];
    char* const line = scratch + kFieldRoom;
    const std::size_t lineLength = kLeadWidth + kFieldWidth * static_cast<std::size_t>(s.channelCount) + 2;
    auto quickRow = [&](int r) {
        char* end = line + lineLength - 2;
        end[0] = '\r';
        end[1] = '\n';
        for (int c = s.channelCount; c >= 1; --c, end -= kFieldWidth) {
            const float v = s.value(c, r);
            if (v == kNoDataValue) {
                std::memcpy(end - kFieldRoom, "                  -32768", kFieldRoom);
                continue;
            }
            // A raw reading of -32768 would read back as no data: the row
            // below reports it.
            const float raw = valueToRaw(s, c, v, factors[c]);
            if (raw == kNoDataValue || !putPlainField(end, kFieldWidth, raw, rawPattern, sep)) return false;
        }
        // The speed in at most 6 characters, so that column 7 of the older
        // layout stays blank.
        return putPlainField(end, 6, s.speed[r], speedPattern, sep) &&
               putPlainField(line + layout.depthWidth, layout.depthWidth, s.depth[r], depthPattern, sep);
    };
    for (int r = 1; r <= s.readingCount; ++r) {
        if (quickRow(r)) {
            file.bytes.append(line, lineLength);
            continue;
        }
        out.clear();
        appendFormatPattern(out, s.depth[r], depthPattern, sep, layout.depthWidth);
        const std::size_t depthEnd = out.size();
        appendFormatPattern(out, s.speed[r], speedPattern, sep, layout.speedWidth);
        // Each text within its field makes a lead of exactly 13 columns. The
        // reader takes the speed from columns 8-13 in both layouts, so in the
        // older layout column 7, the first of the speed's 7, must stay blank.
        const bool fits = depthEnd == layout.depthWidth && out.size() == kLeadWidth && (newer || out[6] == ' ');
        // Only the first refusal is reported, and its text looks at every
        // reading: built for each row that does not fit, it would make a
        // save of a large sounding whose rows all overflow take minutes.
        if ((!fits || !std::isfinite(s.depth[r]) || !std::isfinite(s.speed[r])) && !file.problem)
            fail(rowProblem(s, r, newer, sep));
        for (int c = 1; c <= s.channelCount; ++c) {
            const float v = s.value(c, r);
            if (v == kNoDataValue) {
                appendRightAligned(out, "-32768", kFieldWidth);
                continue;
            }
            const float raw = valueToRaw(s, c, v, factors[c]);
            const std::size_t before = out.size();
            appendFormatPattern(out, raw, rawPattern, sep, kFieldWidth);
            if (out.size() - before > kFieldWidth || !std::isfinite(raw))
                fail("The file was not saved: the value of channel " + std::to_string(c) + " (" + s.channelName[c] +
                     ") at reading " + std::to_string(r) + " is too large to be written as a raw reading.");
            else if (raw == kNoDataValue)
                fail("The file was not saved: the value of channel " + std::to_string(c) + " (" + s.channelName[c] +
                     ") at reading " + std::to_string(r) +
                     " would be written as the raw reading -32768, which marks a reading without data. Change the "
                     "value and save again.");
        }
        printLine(out, {});
        file.bytes.append(out);
    }
    if (s.hasFinalBaseline) {
        out.clear();
        printLine(out, {s.finalBaselineLine});
        file.bytes.append(out);
    }
    return file;
}

}  // namespace

FileBytes soundingFileBytes(const Sounding& s, const ChannelTypeTable& table, char sep) {
    return std::move(render(s, table, sep).bytes);
}

std::string soundingFileText(const Sounding& s, const ChannelTypeTable& table, char sep) {
    return std::string(render(s, table, sep).bytes.view());
}

std::optional<std::string> layoutProblem(const Sounding& s, const ChannelTypeTable& table, char sep) {
    return render(s, table, sep).problem;
}

SaveResult saveSoundingFile(const std::string& path, const Sounding& s, const ChannelTypeTable& table, char sep) {
    RenderedFile file = render(s, table, sep);
    if (file.problem) return {false, *file.problem};
    FileResult written = writeFileSafely(path, file.bytes.view());
    if (!written.ok) return {false, "The file was not saved. " + written.error};
    return {true, {}};
}

}  // namespace qm
