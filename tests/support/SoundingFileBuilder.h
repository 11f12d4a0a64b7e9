#pragma once
// Builds the bytes of small sounding files for tests: header lines, channel
// lines on the 13 + 20 column grid, data rows in either layout, marker lines
// and a final-baseline line. Numbers given as floats are written with the
// builder's decimal separator; texts go in as they are, so a test can put
// anything into any field.

#include <string>
#include <vector>

namespace qm::test {

struct ChannelSpec {
    std::string type = "1";
    std::string name = "TIP";
    std::string rawSpan = "20000";
    std::string baseline = "100.00000";
    std::string fullScale = "100000 KPA";  // number, a space, the base unit
    std::string unit = "KPA";
    std::string factor = "1";
};

class SoundingFileBuilder {
   public:
    // newer: the 2015 version line and 3-digit rows; else the older layout.
    explicit SoundingFileBuilder(bool newer = true, char sep = '.');

    // Lines 2..15 of the file; lines 2..13 hold the header texts.
    SoundingFileBuilder& headerLine(int lineNumber, std::string text);
    SoundingFileBuilder& channel(ChannelSpec channel);
    // A data row: depth and speed with the layout's patterns, then one
    // 20-character field per raw reading ("-32768" for -32768).
    SoundingFileBuilder& row(double depth, double speed, const std::vector<double>& raws);
    // Any line of the data section as it is (a marker, a blank line).
    SoundingFileBuilder& line(std::string text);
    // The final-baseline line: 13 spaces and the values right-aligned in 20.
    SoundingFileBuilder& finalBaseline(const std::vector<double>& raws);

    std::string text() const;

   private:
    std::string number(double value, const char* pattern) const;

    bool newer_;
    char sep_;
    std::vector<std::string> header_;  // lines 2..15
    std::vector<ChannelSpec> channels_;
    std::vector<std::string> data_;
};

}  // namespace qm::test
