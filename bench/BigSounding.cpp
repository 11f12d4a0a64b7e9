#include "BigSounding.h"

#include <cmath>
#include <memory>

#include "model/SoundingWriter.h"

namespace qm::bench {

const ChannelTypeTable& benchTables() {
    static const ChannelTypeTable table = [] {
        ChannelTypeTable t;
        for (int type = 1; type <= 10; ++type)
            parseChannelTypeTable("a,b,c,d,e,f,g,h,i,j,k,l,m,2,KPA,####0.0,1,MPA,##0.000,0.001\r\n", type, t);
        return t;
    }();
    return table;
}

std::string bigSoundingFile(bool newer) { return soundingFile(newer, kMaxReadings, 10, 0); }

std::string soundingFile(bool newer, int readings, int channels, int seed) {
    auto s = std::make_unique<Sounding>();
    s->versionLine = newer ? "BM Sounding File ver. 2015.07.02.1" : "Brennomarck Sounding File";
    s->depthDecimals = newer ? 3 : 2;
    s->companyName = "Bench Drilling";
    s->coneNumber = "CN-0001";
    s->channelCount = static_cast<int16_t>(channels);
    for (int c = 1; c <= channels; ++c) {
        s->channelType[c] = static_cast<int16_t>(c);
        s->channelName[c] = "CHANNEL " + std::to_string(c);
        s->channelRawSpan[c] = 10000.0f;
        s->channelBaseline[c][1] = 12.5f;
        s->channelFullScale[c] = c == 1 ? 100000.0f : 1000.0f;
        s->channelUnitIndex[c] = 1;
        s->channelUnitFactor[c] = 1.0f;
    }
    s->readingCount = readings;
    for (int r = 1; r <= readings; ++r) {
        s->depth[r] = static_cast<float>(r) * 0.01f;
        s->speed[r] = 2.0f + 0.1f * static_cast<float>(r % 7);
        for (int c = 1; c <= channels; ++c)
            s->value(c, r) = (c == 2 && r <= 10) ? kNoDataValue
                                                 : static_cast<float>(100.0 + 50.0 * std::sin(r * 0.01 + c + seed));
    }
    return soundingFileText(*s, benchTables(), '.');
}

}  // namespace qm::bench
