#include "ops/GpsSentence.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

const char* const kEmptySentence = "GGA,000000.000,0000.0000,N,00000.0000,E,0,0,0.0,0.0,M,0.0,M,,0000*00";

TEST(GpsDecode, SplitsTheFieldsOfAStandardSentence) {
    const GpsFields f = decodeGps("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47");
    EXPECT_EQ(f.time, "123519");
    EXPECT_EQ(f.latitude, "4807.038");
    EXPECT_EQ(f.northSouth, "N");
    EXPECT_EQ(f.longitude, "01131.000");
    EXPECT_EQ(f.eastWest, "E");
    EXPECT_EQ(f.positionFix, "1");
    EXPECT_EQ(f.satellites, "08");
    EXPECT_EQ(f.hdop, "0.9");
    EXPECT_EQ(f.altitude, "545.4");
    EXPECT_EQ(f.geoidSeparation, "46.9");
    const GpsBoxTexts boxes = gpsBoxTexts(f);
    EXPECT_EQ(boxes.latitude, "4807.038N");
    EXPECT_EQ(boxes.longitude, "01131.000E");
    EXPECT_EQ(boxes.altitude, "545.4m");
}

TEST(GpsDecode, ShortSentencesLeaveTheMissingFieldsEmpty) {
    const GpsFields f = decodeGps("anything at all,1,2,S");
    EXPECT_EQ(f.time, "1");
    EXPECT_EQ(f.latitude, "2");
    EXPECT_EQ(f.northSouth, "S");
    EXPECT_EQ(f.longitude, "");
    EXPECT_EQ(f.geoidSeparation, "");
    EXPECT_EQ(gpsBoxTexts(GpsFields{}).altitude, "m");

    Sounding s;
    s.gpsSentence = "no position,1,2";
    EXPECT_EQ(gpsFieldsOf(s), GpsFields{});
    s.gpsSentence = "gga,1,2";
    EXPECT_EQ(gpsFieldsOf(s).latitude, "2");
}

TEST(GpsLenientNumber, ReadsTheLeadingNumber) {
    EXPECT_EQ(leadingNumber("4807.038"), 4807.038);
    EXPECT_EQ(leadingNumber("  -12.5xyz"), -12.5);
    EXPECT_EQ(leadingNumber("1 2 3"), 123.0);
    EXPECT_EQ(leadingNumber("12,5"), 12.0);
    EXPECT_EQ(leadingNumber("1.2.3"), 1.2);
    EXPECT_EQ(leadingNumber(".5"), 0.5);
    EXPECT_EQ(leadingNumber("1e3"), 1000.0);
    EXPECT_EQ(leadingNumber("2E"), 2.0);
    EXPECT_EQ(leadingNumber("abc"), 0.0);
    EXPECT_EQ(leadingNumber(""), 0.0);
    EXPECT_EQ(leadingNumber("-"), 0.0);
    EXPECT_EQ(leadingNumber("1e999"), 0.0);
}

TEST(GpsDialog, OpensOnTheDecodedFields) {
    GpsFields f = decodeGps("GGA,1,2,s,3,W,1,2.5,,,M,,M");
    GpsEntry e = gpsEntryFromFields(f);
    EXPECT_EQ(e.northSouth, "N");  // only an exact "S" selects S
    EXPECT_EQ(e.eastWest, "W");
    EXPECT_EQ(e.satellites, "2");  // 2.5 rounds to the even 2

    EXPECT_EQ(satelliteItemIndex(""), 0);
    EXPECT_EQ(satelliteItemIndex("08"), 8);
    EXPECT_EQ(satelliteItemIndex("3.5"), 4);
    EXPECT_EQ(satelliteItemIndex("24"), 24);
    EXPECT_EQ(satelliteItemIndex("25"), -1);
    EXPECT_EQ(satelliteItemIndex("-1"), -1);
    f.satellites = "30";
    EXPECT_EQ(gpsEntryFromFields(f).satellites, "");

    // Without GPS data: empty boxes, N, E and 0 satellites.
    e = gpsEntryFromFields(GpsFields{});
    EXPECT_EQ(buildGpsSentence(e), kEmptySentence);
}

TEST(GpsDialog, BuildsTheSentenceLayout) {
    GpsEntry e;
    e.time = "123519";
    e.latitude = "4807.038";
    e.northSouth = "N";
    e.longitude = "1131";
    e.eastWest = "E";
    e.positionFix = "1";
    e.satellites = "8";
    e.hdop = "0.9";
    e.altitude = "545.4";
    e.geoidSeparation = "46.9";
    EXPECT_EQ(buildGpsSentence(e), "GGA,123519.000,4807.0380,N,01131.0000,E,1,8,0.9,545.4,M,46.9,M,,0000*00");

    e.geoidSeparation = "-12.5";
    e.altitude = "-3";
    e.northSouth = "";
    e.satellites = "";
    EXPECT_EQ(buildGpsSentence(e), "GGA,123519.000,4807.0380,,01131.0000,E,1,,0.9,-3.0,M,-12.5,M,,0000*00");
}

TEST(GpsDialog, OkStoresTheBuiltSentence) {
    Sounding s;
    GpsEntry e = gpsEntryFromFields(GpsFields{});
    e.latitude = "4807.038";
    e.longitude = "1131";
    const GpsOkResult result = acceptGpsEntry(s, e);
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.closeDialog);
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(s.gpsSentence, "GGA,000000.000,4807.0380,N,01131.0000,E,0,0,0.0,0.0,M,0.0,M,,0000*00");
    const GpsBoxTexts boxes = gpsBoxTexts(result.fields);
    EXPECT_EQ(boxes.latitude, "4807.0380N");
    EXPECT_EQ(boxes.longitude, "01131.0000E");
    EXPECT_EQ(boxes.altitude, "0.0m");
}

TEST(GpsDialog, OkWithoutAPositionEmptiesTheSentence) {
    for (const char* lat : {"", "0", "north"}) {
        Sounding s;
        s.gpsSentence = "GGA,earlier";
        GpsEntry e = gpsEntryFromFields(GpsFields{});
        e.latitude = lat;
        e.longitude = "1131";
        const GpsOkResult result = acceptGpsEntry(s, e);
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.closeDialog);
        ASSERT_EQ(result.messages.size(), 1u);
        EXPECT_EQ(result.messages[0],
                  "Latitude and/or longitude values have not been specified. GPS data will not be saved");
        EXPECT_EQ(s.gpsSentence, "");
    }
}

TEST(GpsDialog, OkWithoutAHemisphereKeepsTheDialogOpen) {
    Sounding s;
    s.gpsSentence = "GGA,earlier";
    GpsEntry e;
    e.latitude = "1";
    e.longitude = "2";
    e.eastWest = "E";
    GpsOkResult result = acceptGpsEntry(s, e);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.closeDialog);
    EXPECT_EQ(result.messages, std::vector<std::string>{"North / South must be specified."});
    e.northSouth = "S";
    e.eastWest = "";
    result = acceptGpsEntry(s, e);
    EXPECT_EQ(result.messages, std::vector<std::string>{"East / West must be specified."});
    EXPECT_EQ(s.gpsSentence, "GGA,earlier");

    clearGps(s);
    EXPECT_EQ(s.gpsSentence, "");
}

}  // namespace
}  // namespace qm
