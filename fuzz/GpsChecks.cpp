// The GPS sentence and the dialog's number scan.
#include <cmath>
#include <cstdlib>
#include <memory>

#include "FuzzChecks.h"
#include "model/NumberText.h"
#include "ops/GpsSentence.h"

namespace qm::fuzz {

namespace {

bool scanBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool digit(char c) { return c >= '0' && c <= '9'; }

// The scan as the dialog's help describes it, written apart from the
// program's: blanks anywhere in the number are passed over, then a sign,
// digits, a point and digits, and an exponent that counts only with digits.
double referenceLeadingNumber(std::string_view text) {
    std::string t;
    for (const char c : text)
        if (!scanBlank(c)) t += c;
    std::size_t i = 0;
    std::string number;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) number += t[i++];
    const std::size_t wholeStart = i;
    while (i < t.size() && digit(t[i])) number += t[i++];
    bool anyDigit = i > wholeStart;
    if (i < t.size() && t[i] == '.') {
        number += t[i++];
        const std::size_t fractionStart = i;
        while (i < t.size() && digit(t[i])) number += t[i++];
        anyDigit = anyDigit || i > fractionStart;
    }
    if (!anyDigit) return 0.0;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) exponent += t[j++];
        const std::size_t digitsStart = j;
        while (j < t.size() && digit(t[j])) exponent += t[j++];
        if (j > digitsStart) number += exponent;
    }
    const double v = std::strtod(number.c_str(), nullptr);
    return std::isfinite(v) ? v : 0.0;
}

}  // namespace

void checkLeadingNumber(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = asText(data, size);
    const double got = leadingNumber(text), want = referenceLeadingNumber(text);
    require(got == want,
            "the scan of \"" + std::string(text) + "\" gives " + numberText(static_cast<float>(got), '.') +
                ", the reference " + numberText(static_cast<float>(want), '.'));
    require(satelliteItemIndex(text) >= -1 && satelliteItemIndex(text) <= kMaxSatellites, "a satellite item beyond the list");
}

void checkGpsSentence(const std::uint8_t* data, std::size_t size) {
    const std::string_view sentence = asText(data, size);
    const GpsFields f = decodeGps(sentence);
    for (const std::string* field : {&f.time, &f.latitude, &f.northSouth, &f.longitude, &f.eastWest,
                                     &f.positionFix, &f.satellites, &f.hdop, &f.altitude, &f.geoidSeparation})
        require(field->find(',') == std::string::npos && field->size() <= size, "a decoded field holds a comma");

    // The dialog opened on the sentence and closed with OK: what it stores
    // decodes to what it showed, and opening and closing it once more
    // changes nothing.
    const GpsEntry entry = gpsEntryFromFields(f);
    const std::string built = buildGpsSentence(entry);
    const GpsFields rebuilt = decodeGps(built);
    require(rebuilt.northSouth == entry.northSouth && rebuilt.eastWest == entry.eastWest &&
                rebuilt.satellites == entry.satellites,
            "the built sentence lost a selection: " + built);
    // An empty satellite field reads as 0 when the dialog opens again, so a
    // second OK may select item 0; from then on the sentence stays.
    const std::string again = buildGpsSentence(gpsEntryFromFields(rebuilt));
    GpsFields reread = decodeGps(again);
    require(buildGpsSentence(gpsEntryFromFields(reread)) == again, "a third OK changed the sentence: " + again);
    reread.satellites = rebuilt.satellites;
    // A field below zero that rounds to zeros keeps its "-" ("-000000.000"),
    // but the dialog reads that text back as a negative zero, which is
    // written without one: the second OK may drop that sign, nothing more.
    const auto zeroSignDropped = [](GpsFields g) {
        for (std::string* field : {&g.time, &g.latitude, &g.longitude, &g.positionFix, &g.hdop, &g.altitude,
                                  &g.geoidSeparation})
            if (field->size() > 1 && (*field)[0] == '-' &&
                field->find_first_not_of("0.", 1) == std::string::npos)
                field->erase(0, 1);
        return g;
    };
    require(zeroSignDropped(reread) == zeroSignDropped(rebuilt), "a second OK changed more than the satellites: " + built + " / " + again);

    static const auto sounding = std::make_unique<Sounding>();
    Sounding& s = *sounding;
    s.gpsSentence = "earlier";
    const GpsOkResult ok = acceptGpsEntry(s, entry);
    if (ok.ok) {
        require(s.gpsSentence == built, "OK stored another sentence than it built");
        require(ok.fields == rebuilt, "OK shows other fields than it stored");
        require(gpsFieldsOf(s) == rebuilt, "the stored sentence decodes differently");
    } else {
        require(!ok.messages.empty(), "OK was refused without a message");
        require(s.gpsSentence.empty() || s.gpsSentence == "earlier", "a refused OK stored a sentence");
    }
    require(gpsBoxTexts(f).altitude == f.altitude + "m", "the altitude box lost its unit");
}

}  // namespace qm::fuzz
