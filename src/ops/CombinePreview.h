#pragma once
// What the combine panel shows of a second file before the append: the
// first sounding's last depth, the default start value, the column headings
// and one fixed-width line per reading of the matched channels.

#include <string>
#include <vector>

#include "model/Sounding.h"
#include "ops/SecondFileReader.h"

namespace qm {

struct CombinePreview {
    std::string finalDepthOfFirstSounding;  // lblFinalDepthOfFirstSounding: "7.5 m"
    std::string startDepth;                 // txtStartDepth: the 2nd file's first depth
    bool normalizeDepth = true;             // chkNormalizeDepth
    std::string channelHeadings;            // lblSecondFileChannels
    std::vector<std::string> dataLines;     // txtSecondFileData, one line per reading, no line end

    // The lines of txtSecondFileData, each ended by CR LF.
    std::string dataText() const;
};

CombinePreview combinePreview(const Sounding& first, const SecondSounding& second, char sep);

}  // namespace qm
