#pragma once
// The words of each kind of step: a short name for the Undo and Redo
// captions, and a description with its particulars for the History list,
// the saved record and the batch tool's --log. The window and the batch
// tool call the same function for the same command, so both say the same.
// Numbers are written with the locale's decimal separator `sep`.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"
#include "ops/AutoClean.h"

namespace qm::steps {

struct Words {
    std::string name;
    std::string description;
};

// "TIP RESISTANCE at 5.12 m: 12.50 MPA -> 13.00 MPA": the values as the page
// shows them in the channel's unit.
Words valueEdit(const Sounding& s, const ChannelTypeTable& table, int c, int32_t r, float before, float after,
                char sep);
// The Insert and Delete keys on the depth column at reading `r`.
Words insertReading(const Sounding& after, int32_t r, char sep);
Words deleteReading(const Sounding& before, int32_t r, char sep);
// "AutoClean For Interp: inserted PRESSURE U2, 3 readings added at 5.14 to 5.18 m, 12 depths snapped"
Words autoClean(const Sounding& after, const AutoCleanResult& result, char sep);
// "Shift channel 2 SLEEVE FRICTION by -0.05 KPA"; offsetTexts as the shift takes them.
Words shift(const Sounding& s, const ChannelTypeTable& table, const std::vector<std::string>& offsetTexts, char sep);
// "Remove Negatives: 37 readings replaced (TIP RESISTANCE 30, PRESSURE U2 7)"
Words removeNegatives(const Sounding& before, const Sounding& after);
Words startDepth(const Sounding& before, const Sounding& after, char sep);
Words increment(const Sounding& before, const Sounding& after, char sep);
Words depthFormat(const Sounding& before, const Sounding& after);
Words channelUnit(const Sounding& before, const Sounding& after, const ChannelTypeTable& table, int c);
Words depthDigits(const Sounding& before, const Sounding& after);
// The GPS dialog's OK and CLEAR GPS.
Words gpsPosition(const Sounding& before, const Sounding& after);
Words clearGps(const Sounding& before);
// "Combine: 260 readings appended from push2.cpt at 12.80 m"
Words combine(const Sounding& before, const Sounding& after, std::string_view secondFileTitle,
              std::string_view startText);

}  // namespace qm::steps
