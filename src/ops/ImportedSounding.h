#pragma once
// What the readers of other formats (GEF-CPT, AGS4) share: a test as such a
// file gives it (header texts, the penetration lengths, measured columns
// with their units), turned into the Sounding a .cpt fills. Each measured
// column becomes a channel whose raw readings are its values in the type's
// base unit (baseline 0, span and full scale 1), shown in the file's unit,
// so the page, the corrections, the save and every export work unchanged.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"
#include "model/SoundingReader.h"

namespace qm {

struct ImportedColumn {
    int16_t type = 0;
    std::string name;      // the channel's name on the page
    std::string unitText;  // the unit as the file writes it
    std::string_view standardUnit;  // the format's own unit, where the file names none the tables know
    std::string source;    // how messages name the column ("column 3", "SCPT_RES")
    std::vector<std::optional<double>> values;  // one per reading; nothing where the file has no data
};

struct ImportedTest {
    std::string companyName, operatorName, coneNumber, location, jobNumber, holeNumber, dateAndTime, header,
        footnote1, footnote2, gpsSentence, waterTableDepth;
    std::vector<double> depth;                // penetration length, m
    std::vector<std::optional<double>> time;  // s, where the file has a time column
    int depthDecimals = 0;                    // the most any depth is written with
    std::vector<ImportedColumn> columns;
};

// Fills `s` (a blank Sounding) from the test. Columns whose unit the tables
// cannot convert are left out with a message; more than 10 channels is an
// error (returned, `s` then half filled and to be thrown away).
std::optional<std::string> fillImportedSounding(const ImportedTest& test, const ChannelTypeTable& tables,
                                                Sounding& s, std::vector<std::string>& messages,
                                                std::string_view fileKind);

// Text of another program's file in the code page the Sounding keeps
// (Windows-1252): valid UTF-8 is converted, anything else is taken as that
// code page already.
std::string toCodePage(std::string_view bytes);

// A number as these formats write it: "." as the decimal point whatever the
// locale, an exponent allowed, blanks around it; nothing for any other
// text, or for one too large for the Single the Sounding keeps.
std::optional<double> plainNumber(std::string_view text);

// Reads a file into a fresh Sounding with `read`, which fills it and its
// messages or returns why the file is refused. Only a file read whole
// replaces `out` (keeping its file identity), so a refused one leaves it as
// it was, with the refusal as the error and no messages.
LoadResult readIntoFresh(Sounding& out,
                         const std::function<std::optional<std::string>(Sounding&, std::vector<std::string>&)>& read);

// Blanks, tabs and line ends off both ends.
std::string_view trimBlanks(std::string_view text);
// ASCII letters in upper case, other bytes as they are.
std::string upperAscii(std::string_view text);
// Whether `path` ends in `extension` (".gef"), letter case ignored.
bool hasExtension(std::string_view path, std::string_view extension);

// A WGS84 position in signed decimal degrees as the GGA sentence the GPS
// boxes show; empty outside the globe.
std::string gpsSentenceOf(double latitude, double longitude);

}  // namespace qm
