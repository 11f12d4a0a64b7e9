#pragma once
// Builds the bytes of small sounding files and channel type tables for tests:
// header lines, channel lines on the 13 + 20 column grid, data rows in either
// layout, drill-out markers and a final-baseline line. Numbers given as
// floats are written with the builder's decimal separator; texts go in as
// they are, so a test can put anything into any field.

#include <string>
#include <vector>


namespace qm::test {

// `text` right-aligned in `width` columns (never cut).
std::string rightAligned(const std::string& text, std::size_t width);

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

    SoundingFileBuilder& versionLine(std::string text);
    // Lines 2..15 of the file; lines 2..13 hold the header texts.
    SoundingFileBuilder& headerLine(int lineNumber, std::string text);
    SoundingFileBuilder& channel(ChannelSpec channel);
    // Replaces a whole channel line (16..22) or the column titles (23).
    SoundingFileBuilder& channelLine(int lineNumber, std::string text);

    // A data row: depth and speed with the layout's patterns, then one
    // 20-character field per raw reading ("-32768" for -32768).
    SoundingFileBuilder& row(double depth, double speed, const std::vector<double>& raws);
    // A data row from texts: depth right-aligned in 6 (older) or 7 (newer),
    // speed in 7 or 6, each field right-aligned in 20.
    SoundingFileBuilder& rowTexts(const std::string& depth, const std::string& speed,
                                  const std::vector<std::string>& fields);
    // Any line of the data section as it is (a marker, a blank line).
    SoundingFileBuilder& line(std::string text);
    // The final-baseline line: 13 spaces and the values right-aligned in 20.
    SoundingFileBuilder& finalBaseline(const std::vector<double>& raws);

    SoundingFileBuilder& lineEnd(std::string end);

    // The number as the builder writes it: `pattern` ("####0.00000") with the
    // builder's separator.
    std::string number(double value, const char* pattern) const;

    std::string text() const;
    std::string finalBaselineText() const { return finalBaselineLine_; }
    bool newer() const { return newer_; }

   private:
    bool newer_;
    char sep_;
    std::string version_;
    std::vector<std::string> header_;  // lines 2..15
    std::vector<ChannelSpec> channels_;
    std::vector<std::pair<int, std::string>> channelLineOverrides_;
    std::vector<std::string> data_;
    std::string finalBaselineLine_;
    std::string lineEnd_ = "\r\n";
};

}  // namespace qm::test
