#pragma once
// The words on the profile's and the log's tracks: units as people write
// them, and track titles made to fit their track whole.

#include <functional>
#include <string>
#include <vector>

namespace qm {

// A unit name of the channel type tables (KPA, DEGC, OHM-M, ...) as a
// track, a legend or the log writes it (kPa, °C, Ω·m), in UTF-8. Names the
// table does not know come back as they are. The page's unit boxes keep the
// tables' own texts.
std::string unitSpelling(const std::string& tableName);

// The lines of a track title `title` in a track `width` wide, as `measure`
// (the drawn width of a text) finds them: the whole title on one line when
// it fits, else split at the space that fits it on two lines; when a word
// is still too wide, the longest word is shortened, step by step, to its
// letters before a vowel that follows a consonant and a point (TEMPERATURE:
// TEMPERATUR., TEMPERAT., TEMPER., TEMP.) until it fits, keeping at least
// one letter.
// A title is never cut without a point to say so.
std::vector<std::string> titleLines(const std::string& title, double width,
                                    const std::function<double(const std::string&)>& measure);

}  // namespace qm
