// The two readers of sounding files: File > Open, and the second file of a
// combine followed by its append.
#include <memory>

#include "FuzzChecks.h"
#include "model/NumberText.h"
#include "model/SafeFile.h"
#include "model/SoundingReader.h"
#include "ops/Combine.h"
#include "ops/Interpretation.h"
#include "support/SoundingCompare.h"

namespace qm::fuzz {

namespace {

// A Sounding is some megabytes: the checks keep theirs (0 and 1 filled in
// turn, 2 always empty) for the whole run.
Sounding& reused(int which) {
    static std::unique_ptr<Sounding> soundings[3];
    if (!soundings[which]) soundings[which] = std::make_unique<Sounding>();
    return *soundings[which];
}

void requireUntouched(const Sounding& s, const std::string& where) {
    const std::string difference = test::soundingDifference(s, reused(2));
    require(difference.empty(), where + ": a refused file changed the sounding (" + difference + ")");
}

// The open sounding of the combine: the header and first 40 readings of the
// older sample, or of the newer one for inputs whose last byte is odd, so
// both layouts are met and every append saves quickly.
const Sounding& openSample(bool newer) {
    static std::unique_ptr<Sounding> samples[2];
    if (!samples[newer]) {
        samples[newer] = std::make_unique<Sounding>();
        std::string bytes;
        const std::string path = dataFolder() + (newer ? "/samples/sample-newer.cpt" : "/samples/sample-older.cpt");
        if (!readWholeFile(path, bytes).ok) fail("cannot read " + path);
        std::size_t end = 0;
        for (int line = 0; line < 23 + 40; ++line) end = bytes.find('\n', end + 1);
        const LoadResult r = readSoundingText(bytes.substr(0, end + 1), shippedTables(), 0, *samples[newer]);
        if (!r.ok) fail("the sample " + path + " does not load: " + r.error);
    }
    return *samples[newer];
}

// Every accepted sounding can be interpreted: one value per reading, and a
// zone exactly where Ic has a value, the zone of that Ic.
void requireInterpretable(const Sounding& s, const std::string& where) {
    const Interpretation in = interpret(s, shippedTables(), {});
    const std::size_t size = static_cast<std::size_t>(s.readingCount) + 1;
    require(in.qt.size() == size && in.ic.size() == size && in.zone.size() == size,
            where + ": the interpretation has not one value per reading");
    for (std::size_t r = 1; r < size; ++r)
        require(in.zone[r] == zoneOf(in.ic[r]), where + ": reading " + std::to_string(r) + " has a zone not its Ic's");
}

const SecondSounding& blankSecond() {
    static const auto blank = std::make_unique<const SecondSounding>();
    return *blank;
}

}  // namespace

void checkSoundingReader(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = asText(data, size);
    // A file with a comma in it may be a comma-decimal file: read it in that mode too.
    for (int mode = 0; mode <= (bytes.find(',') != std::string_view::npos); ++mode) {
        const std::string where = mode ? "read in comma mode" : "read in point mode";
        Sounding& s = reused(0);
        const LoadResult r = readSoundingText(bytes, shippedTables(), mode, s);
        if (!r.ok) {
            require(!r.error.empty(), where + ": refused without a message");
            requireUntouched(s, where);
            continue;
        }
        requireWithinCapacities(s, where);
        requireInterpretable(s, where);
        requireSaveLoadsBack(s, mode, where);
        // Both layouts: the depth digits menu switches between them.
        s.depthDecimals = s.depthDecimals == 2 ? 3 : 2;
        requireSaveLoadsBack(s, mode, where + ", saved in the other layout");
        s.makeBlank();
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
        *second = blankSecond();
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
        // Copies into records kept for the whole run: new ones would
        // allocate some megabytes for every input.
        Sounding& combined = reused(1);
        combined = first;
        static auto kept = std::make_unique<SecondSounding>();
        SecondSounding& ready = *kept;
        ready = *second;
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
    *second = blankSecond();
}

}  // namespace qm::fuzz
