#include "support/SoundingFileBuilder.h"

#include "model/NumberText.h"

namespace qm::test {

namespace {

std::string field(const std::string& text, std::size_t width = 20) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

}  // namespace

SoundingFileBuilder::SoundingFileBuilder(bool newer, char sep)
    : newer_(newer),
      sep_(sep),
      header_{"ACME CPT SERVICES", "J. SMITH", "C10-4471", "NORTH QUAY", "JOB-2207", "CPT-03",
              "2021-05-04 09:12", "BRIDGE PIER 3", "FOOTNOTE ONE", "FOOTNOTE TWO", "", "2.35", "", ""} {}

SoundingFileBuilder& SoundingFileBuilder::headerLine(int lineNumber, std::string text) {
    header_.at(static_cast<std::size_t>(lineNumber - 2)) = std::move(text);
    return *this;
}

SoundingFileBuilder& SoundingFileBuilder::channel(ChannelSpec channel) {
    channels_.push_back(std::move(channel));
    return *this;
}

std::string SoundingFileBuilder::number(double value, const char* pattern) const {
    return formatPattern(value, pattern, sep_);
}

SoundingFileBuilder& SoundingFileBuilder::row(double depth, double speed, const std::vector<double>& raws) {
    std::string l = field(number(depth, newer_ ? "##0.000" : "##0.00"), newer_ ? 7 : 6) +
                    field(number(speed, "##0.00"), newer_ ? 6 : 7);
    for (double raw : raws) l += field(raw == -32768.0 ? "-32768" : number(raw, "####0.00000"));
    return line(l);
}

SoundingFileBuilder& SoundingFileBuilder::line(std::string text) {
    data_.push_back(std::move(text));
    return *this;
}

SoundingFileBuilder& SoundingFileBuilder::finalBaseline(const std::vector<double>& raws) {
    std::string l(13, ' ');
    for (double raw : raws) l += field(number(raw, "####0.00000"));
    return line(l);
}

std::string SoundingFileBuilder::text() const {
    std::string out = newer_ ? "BM Sounding File ver. 2015.07.02.1\r\n" : "Brennomarck Sounding File\r\n";
    for (const std::string& h : header_) out += h + "\r\n";
    for (std::string ChannelSpec::*part : {&ChannelSpec::type, &ChannelSpec::name, &ChannelSpec::rawSpan,
                                           &ChannelSpec::baseline, &ChannelSpec::fullScale, &ChannelSpec::unit,
                                           &ChannelSpec::factor}) {
        out += std::string(13, ' ');
        for (const ChannelSpec& c : channels_) out += field(c.*part);
        out += "\r\n";
    }
    out += newer_ ? "    (m)(cm/s)\r\n" : "   (m) (cm/s)\r\n";
    for (const std::string& d : data_) out += d + "\r\n";
    return out;
}

}  // namespace qm::test
