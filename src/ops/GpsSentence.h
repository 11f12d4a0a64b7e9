#pragma once
// The GPS position of a sounding: one GGA sentence (stored as GpsSentence),
// its ten fields as DecodeGPS splits them, and the sentence the GPS dialog
// builds from its boxes. Numbers typed into the dialog are read leniently,
// with "." as the decimal point whatever the locale.

#include <optional>
#include <string>
#include <string_view>

#include "model/Sounding.h"
#include "ops/OpResult.h"

namespace qm {

// The fields kept from a sentence (0-based comma-separated field numbers):
// 1 time, 2 latitude, 3 N/S, 4 longitude, 5 E/W, 6 fix, 7 satellites,
// 8 HDOP, 9 altitude, 11 geoid separation.
struct GpsFields {
    std::string time, latitude, northSouth, longitude, eastWest, positionFix, satellites, hdop, altitude,
        geoidSeparation;
    bool operator==(const GpsFields&) const = default;
};

// DecodeGPS: walks the text character by character, a comma opening the
// next field. Nothing is checked, so a "$GPGGA" prefix, a checksum or
// missing fields make no difference.
GpsFields decodeGps(std::string_view sentence);

// The fields of the sounding's sentence, as a load decodes them: only a
// sentence containing "GGA" (any letter case) is split, else all are empty.
GpsFields gpsFieldsOf(const Sounding& s);

// The position a sentence gives, in signed decimal degrees (north and east
// positive), for the exports.
struct GpsPosition {
    double latitude = 0.0;
    double longitude = 0.0;
    // The last place of the sentence's minutes in degrees: how finely the
    // position was written down (the sentence carries no accuracy of its own).
    double resolution = 0.0;
};

// Only a sentence that names a place: latitude ddmm.mmmm with N or S,
// longitude dddmm.mmmm with E or W, whole minutes below 60, and neither
// coordinate 0 (which the GPS dialog takes for "not given").
std::optional<GpsPosition> gpsPositionOf(const GpsFields& f);

// The main window's three GPS boxes.
struct GpsBoxTexts {
    std::string latitude;   // txtGPSLat: latitude and N/S
    std::string longitude;  // txtGPSLon: longitude and E/W
    std::string altitude;   // txtGPSAlt: altitude and "m"
};
GpsBoxTexts gpsBoxTexts(const GpsFields& f);

// The lenient leading-number scan of the dialog: blanks are skipped, "." is
// the decimal point, the scan stops at the first character that cannot
// continue the number; a text without a leading number reads as 0.
double leadingNumber(std::string_view text);

constexpr int kMaxSatellites = 24;

// What the dialog holds: the texts of its boxes and the texts of the selected
// list items, an empty text where no item is selected.
struct GpsEntry {
    std::string time, latitude, northSouth, longitude, eastWest, positionFix, satellites, hdop, altitude,
        geoidSeparation;
};

// The dialog as it opens on the decoded fields: N/S selects "S" only for
// exactly "S" and "N" otherwise (E/W alike); the satellite count selects the
// item of its rounded value (halves to even), and none outside 0..24.
GpsEntry gpsEntryFromFields(const GpsFields& f);

// The list position the satellite count selects, -1 for none.
int satelliteItemIndex(std::string_view satellites);

// BuildGpsSentence: "GGA,time,lat,N/S,lon,E/W,fix,sats,hdop,alt,M,geoid,M,,0000*00".
std::string buildGpsSentence(const GpsEntry& e);

struct GpsOkResult : OpResult {
    bool closeDialog = true;
    // With ok: the fields decoded from the stored sentence. Otherwise, when
    // the dialog closes, the main window's GPS boxes are emptied and the
    // fields keep their values.
    GpsFields fields;
};

// The dialog's OK. Without latitude or longitude (either reads as 0) the
// stored sentence is emptied and the dialog closes with a message; without
// an N/S or E/W selection the dialog stays open with a message; otherwise
// the built sentence is stored in the sounding.
GpsOkResult acceptGpsEntry(Sounding& s, const GpsEntry& e);

// CLEAR GPS: the stored sentence is emptied at once.
void clearGps(Sounding& s);

}  // namespace qm
