// The two readers of sounding files: File > Open, and the second file of a
// combine followed by its append.
#include <memory>

#include "FuzzChecks.h"
#include "model/NumberText.h"
#include "model/SafeFile.h"
#include "model/SoundingReader.h"
#include "ops/Combine.h"
#include "support/SoundingCompare.h"

namespace qm::fuzz {

namespace {

// A Sounding is some megabytes: the checks keep theirs for the whole run and
// empty them only after they were filled.
Sounding& reusedSounding(int which) {
    static std::unique_ptr<Sounding> soundings[2];
    if (!soundings[which]) soundings[which] = std::make_unique<Sounding>();
    return *soundings[which];
}

const Sounding& emptySounding() {
    static const auto empty = std::make_unique<Sounding>();
    return *empty;
}

void requireUntouched(const Sounding& s, const std::string& where) {
    const std::string difference = test::soundingDifference(s, emptySounding());
    require(difference.empty(), where + ": a refused file changed the sounding (" + difference + ")");
}

// A file with a comma in it may be a comma-decimal file; read it in that
// mode too.
bool mayBeCommaFile(std::string_view bytes) { return bytes.find(',') != std::string_view::npos; }

// The open sounding of the combine: the older sample, and the newer one for
// inputs whose last byte is odd, so both layouts are met.
const Sounding& openSample(bool newer) {
    static std::unique_ptr<Sounding> samples[2];
    auto& sample = samples[newer];
    if (!sample) {
        sample = std::make_unique<Sounding>();
        const std::string path = dataFolder() + (newer ? "/samples/sample-newer.cpt" : "/samples/sample-older.cpt");
        // Its header and first 40 readings: every append is saved and read
        // back, and a short sounding keeps that quick.
        std::string bytes;
        const FileResult file = readWholeFile(path, bytes);
        if (!file.ok) fail(file.error);
        std::size_t end = 0;
        for (int line = 0; line < 23 + 40 && end != std::string::npos; ++line) end = bytes.find('\n', end + 1);
        if (end != std::string::npos) bytes.resize(end + 1);
        const LoadResult r = readSoundingText(bytes, shippedTables(), 0, *sample);
        if (!r.ok) fail("the sample " + path + " does not load: " + r.error);
    }
    return *sample;
}

}  // namespace

void checkSoundingReader(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = asText(data, size);
    for (int mode = 0; mode <= 1; ++mode) {
        if (mode == 1 && !mayBeCommaFile(bytes)) break;
        const std::string where = mode ? "read in comma mode" : "read in point mode";
        Sounding& s = reusedSounding(0);
        const LoadResult r = readSoundingText(bytes, shippedTables(), mode, s);
        if (!r.ok) {
            require(!r.error.empty(), where + ": refused without a message");
            requireUntouched(s, where);
            continue;
        }
        requireWithinCapacities(s, where);
        requireSaveLoadsBack(s, mode, where);
        // Both layouts: the depth digits menu switches between them.
        s.depthDecimals = s.depthDecimals == 2 ? 3 : 2;
        requireSaveLoadsBack(s, mode, where + ", saved in the other layout");
        s = emptySounding();
    }
}

void checkSecondFileReader(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = asText(data, size);
    const bool newer = size > 0 && (data[size - 1] & 1) != 0;
    const Sounding& first = openSample(newer);
    static auto second = std::make_unique<SecondSounding>();
    const CombineReadResult read = readSecondFileText(bytes, first, shippedTables(), 0, *second);

    if (!read.ok) {
        require(!read.messages.empty(), "the second file was refused without a message");
        require(!second->readyToAppend, "a refused second file is ready to append");
        const std::string& last = read.messages.back();
        // A file of the other depth format is kept as read, not appended.
        if (last != kDepthThenElevationMessage && last != kElevationThenDepthMessage)
            requireUntouched(second->sounding, "second file");
        *second = SecondSounding();
        return;
    }
    require(second->readyToAppend, "an accepted second file is not ready to append");
    const Sounding& s2 = second->sounding;
    require(s2.readingCount >= 1 && s2.readingCount <= kMaxReadings, "second file reading count");
    require(s2.channelCount >= 1 && s2.channelCount <= kMaxChannels, "second file channel count");
    for (int c = 1; c <= s2.channelCount; ++c)
        require(second->channelMap[c] >= 0 && second->channelMap[c] <= first.channelCount,
                "channel map of channel " + std::to_string(c));

    // Append from the second file's first depth, normalized and not: the
    // result must be a sounding like any other.
    for (const bool normalize : {true, false}) {
        Sounding& combined = reusedSounding(1);
        combined = first;
        SecondSounding ready = *second;
        const std::string start = numberText(s2.depth[1], '.');
        const AppendResult appended = appendSecondSounding(combined, ready, start, normalize, 0, false);
        if (!appended.ok) {
            require(!appended.messages.empty(), "an append was refused without a message");
            const std::string difference = test::soundingDifference(combined, first);
            require(difference.empty(), "a refused append changed the sounding (" + difference + ")");
            continue;
        }
        require(appended.readingCount == combined.readingCount, "the reported reading count");
        requireWithinCapacities(combined, "combined");
        requireSaveLoadsBack(combined, 0, "combined");
    }
    *second = SecondSounding();
}

}  // namespace qm::fuzz
