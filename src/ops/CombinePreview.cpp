#include "ops/CombinePreview.h"

#include "model/NumberText.h"

namespace qm {

namespace {
constexpr const char* kDepthColumn = "@@@@@@@";
constexpr const char* kChannelColumn = "@@@@@@@@@@@@@@@";
}  // namespace

std::string CombinePreview::dataText() const {
    std::string text;
    for (const std::string& line : dataLines) printLine(text, {line});
    return text;
}

CombinePreview combinePreview(const Sounding& first, const SecondSounding& second, char sep) {
    const Sounding& s = second.sounding;
    CombinePreview p;

    p.channelHeadings = " Depth";
    for (int c = 1; c <= s.channelCount; ++c)
        if (second.channelMap[c] > 0) p.channelHeadings += formatPattern(s.channelName[c], kChannelColumn);

    p.dataLines.reserve(static_cast<std::size_t>(s.readingCount));
    for (int r = 1; r <= s.readingCount; ++r) {
        // Metres whatever the page's depth unit.
        std::string line = formatPattern(formatPattern(s.depth[r], "##0.00", sep), kDepthColumn);
        for (int c = 1; c <= s.channelCount; ++c)
            if (second.channelMap[c] > 0)
                line += formatPattern(formatPattern(s.value(c, r), "##########0.000", sep), kChannelColumn);
        p.dataLines.push_back(std::move(line));
    }

    p.finalDepthOfFirstSounding = numberText(first.depth[first.readingCount], sep) + " m";
    p.startDepth = numberText(s.depth[1], sep);
    p.normalizeDepth = true;
    return p;
}

}  // namespace qm
