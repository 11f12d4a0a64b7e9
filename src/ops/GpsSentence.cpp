#include "ops/GpsSentence.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>

#include "model/LineFields.h"
#include "model/NumberText.h"

namespace qm {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The dialog writes its numbers with "." whatever the locale, as the
// sentence layout requires.
std::string gpsNumber(std::string_view text, std::string_view pattern) {
    return formatPattern(leadingNumber(text), pattern, '.');
}

// The number the scan reads from `text`, rewritten as plain digits for the
// one number conversion of the program: "  -12.5xyz" gives "-12.5".
std::string leadingNumberText(std::string_view text) {
    std::size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && isBlank(text[i])) ++i;
    };
    const auto takeDigits = [&](std::string& into) {
        for (skipBlanks(); i < text.size() && isDigit(text[i]); skipBlanks()) into += text[i++];
    };

    std::string number;
    skipBlanks();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') number += '-';
        ++i;
    }
    std::string whole, fraction;
    takeDigits(whole);
    if (i < text.size() && text[i] == '.') {
        ++i;
        takeDigits(fraction);
    }
    if (whole.empty() && fraction.empty()) return {};
    number += whole.empty() ? "0" : whole;
    if (!fraction.empty()) number += "." + fraction;

    // An exponent counts only with digits after it: "1E" reads as 1.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        skipBlanks();
        std::string exponent;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            if (text[i] == '-') exponent += '-';
            ++i;
        }
        std::string digits;
        takeDigits(digits);
        if (!digits.empty()) number += "E" + exponent + digits;
    }
    return number;
}

// ddmm.mmmm (or dddmm.mmmm) as degrees; nothing for a text that is not
// such a number.
std::optional<double> sentenceDegrees(const std::string& text, double maxDegrees, int& minuteDecimals) {
    const std::optional<double> v = localeTextToNumber(text, '.');
    if (!v || *v <= 0.0 || text.find_first_of("eE") != std::string::npos) return std::nullopt;
    const double degrees = std::floor(*v / 100.0);
    const double minutes = *v - degrees * 100.0;
    if (minutes >= 60.0 || degrees + minutes / 60.0 > maxDegrees) return std::nullopt;
    const std::size_t point = text.find('.');
    minuteDecimals = point == std::string::npos ? 0 : static_cast<int>(text.find_last_not_of(' ') - point);
    return degrees + minutes / 60.0;
}

}  // namespace

std::optional<GpsPosition> gpsPositionOf(const GpsFields& f) {
    const bool north = f.northSouth == "N", east = f.eastWest == "E";
    if ((!north && f.northSouth != "S") || (!east && f.eastWest != "W")) return std::nullopt;
    int latDecimals = 0, lonDecimals = 0;
    const auto lat = sentenceDegrees(f.latitude, 90.0, latDecimals);
    const auto lon = sentenceDegrees(f.longitude, 180.0, lonDecimals);
    if (!lat || !lon) return std::nullopt;
    GpsPosition p;
    p.latitude = north ? *lat : -*lat;
    p.longitude = east ? *lon : -*lon;
    p.resolution = std::pow(10.0, -std::min(latDecimals, lonDecimals)) / 60.0;
    return p;
}

GpsFields decodeGps(std::string_view sentence) {
    GpsFields f;
    std::string* const byField[] = {nullptr,        &f.time,      &f.latitude,   &f.northSouth,
                                    &f.longitude,   &f.eastWest,  &f.positionFix, &f.satellites,
                                    &f.hdop,        &f.altitude,  nullptr,        &f.geoidSeparation};
    std::size_t field = 0;
    for (const char c : sentence) {
        if (c == ',') {
            ++field;
            continue;
        }
        if (field < std::size(byField) && byField[field] != nullptr) *byField[field] += c;
    }
    return f;
}

GpsFields gpsFieldsOf(const Sounding& s) {
    if (!containsNoCase(s.gpsSentence, "GGA")) return {};
    return decodeGps(s.gpsSentence);
}

GpsBoxTexts gpsBoxTexts(const GpsFields& f) {
    return {f.latitude + f.northSouth, f.longitude + f.eastWest, f.altitude + "m"};
}

double leadingNumber(std::string_view text) {
    const std::string number = leadingNumberText(text);
    if (number.empty()) return 0.0;
    // Only a value beyond the double range fails here; it reads as no number.
    return localeTextToNumber(number, '.').value_or(0.0);
}

int satelliteItemIndex(std::string_view satellites) {
    const double rounded = std::nearbyint(leadingNumber(satellites));
    // A count the list has no item for selects none.
    if (!(rounded >= 0.0 && rounded <= kMaxSatellites)) return -1;
    return static_cast<int>(rounded);
}

GpsEntry gpsEntryFromFields(const GpsFields& f) {
    GpsEntry e;
    e.time = f.time;
    e.latitude = f.latitude;
    e.northSouth = f.northSouth == "S" ? "S" : "N";
    e.longitude = f.longitude;
    e.eastWest = f.eastWest == "W" ? "W" : "E";
    e.positionFix = f.positionFix;
    const int satellites = satelliteItemIndex(f.satellites);
    e.satellites = satellites < 0 ? std::string() : numberText(satellites);
    e.hdop = f.hdop;
    e.altitude = f.altitude;
    e.geoidSeparation = f.geoidSeparation;
    return e;
}

std::string buildGpsSentence(const GpsEntry& e) {
    std::string out;
    printLine(out,
              {"GGA,", gpsNumber(e.time, "000000.000"), ",", gpsNumber(e.latitude, "0000.0000"), ",", e.northSouth,
               ",", gpsNumber(e.longitude, "00000.0000"), ",", e.eastWest, ",", gpsNumber(e.positionFix, "0"), ",",
               e.satellites, ",", gpsNumber(e.hdop, "####0.0"), ",", gpsNumber(e.altitude, "#####0.0"), ",M,",
               gpsNumber(e.geoidSeparation, "####0.0"), ",M,,0000*00"},
              false);
    return out;
}

GpsOkResult acceptGpsEntry(Sounding& s, const GpsEntry& e) {
    GpsOkResult result;
    if (leadingNumber(e.latitude) == 0.0 || leadingNumber(e.longitude) == 0.0) {
        result.messages.emplace_back(
            "Latitude and/or longitude values have not been specified. GPS data will not be saved");
        s.gpsSentence.clear();
        return result;
    }
    if (e.northSouth.empty() || e.eastWest.empty()) {
        result.messages.emplace_back(e.northSouth.empty() ? "North / South must be specified."
                                                          : "East / West must be specified.");
        result.closeDialog = false;
        return result;
    }
    s.gpsSentence = buildGpsSentence(e);
    result.fields = decodeGps(s.gpsSentence);
    result.ok = true;
    return result;
}

void clearGps(Sounding& s) { s.gpsSentence.clear(); }

}  // namespace qm
