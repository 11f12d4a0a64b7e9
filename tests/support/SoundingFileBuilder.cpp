#include "support/SoundingFileBuilder.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "model/NumberText.h"

namespace qm::test {

std::string rightAligned(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

SoundingFileBuilder::SoundingFileBuilder(bool newer, char sep)
    : newer_(newer),
      sep_(sep),
      version_(newer ? "BM Sounding File ver. 2015.07.02.1" : "Brennomarck Sounding File"),
      header_{"ACME CPT SERVICES", "J. SMITH", "C10-4471", "NORTH QUAY", "JOB-2207", "CPT-03",
              "2021-05-04 09:12", "BRIDGE PIER 3", "FOOTNOTE ONE", "FOOTNOTE TWO", "", "2.35", "", ""} {}

SoundingFileBuilder& SoundingFileBuilder::versionLine(std::string text) {
    version_ = std::move(text);
    return *this;
}

SoundingFileBuilder& SoundingFileBuilder::headerLine(int lineNumber, std::string text) {
    if (lineNumber < 2 || lineNumber > 15) throw std::invalid_argument("header lines are 2 to 15");
    header_[static_cast<std::size_t>(lineNumber - 2)] = std::move(text);
    return *this;
}

SoundingFileBuilder& SoundingFileBuilder::channel(ChannelSpec channel) {
    channels_.push_back(std::move(channel));
    return *this;
}

SoundingFileBuilder& SoundingFileBuilder::channelLine(int lineNumber, std::string text) {
    if (lineNumber < 16 || lineNumber > 23) throw std::invalid_argument("channel lines are 16 to 23");
    channelLineOverrides_.emplace_back(lineNumber, std::move(text));
    return *this;
}

std::string SoundingFileBuilder::number(double value, const char* pattern) const {
    return formatPattern(value, pattern, sep_);
}

SoundingFileBuilder& SoundingFileBuilder::row(double depth, double speed, const std::vector<double>& raws) {
    std::vector<std::string> fields;
    for (double raw : raws) fields.push_back(raw == -32768.0 ? "-32768" : number(raw, "####0.00000"));
    return rowTexts(number(depth, newer_ ? "##0.000" : "##0.00"), number(speed, "##0.00"), fields);
}

SoundingFileBuilder& SoundingFileBuilder::rowTexts(const std::string& depth, const std::string& speed,
                                                   const std::vector<std::string>& fields) {
    std::string l = rightAligned(depth, newer_ ? 7 : 6) + rightAligned(speed, newer_ ? 6 : 7);
    for (const std::string& f : fields) l += rightAligned(f, 20);
    data_.push_back(std::move(l));
    return *this;
}

SoundingFileBuilder& SoundingFileBuilder::line(std::string text) {
    data_.push_back(std::move(text));
    return *this;
}

SoundingFileBuilder& SoundingFileBuilder::finalBaseline(const std::vector<double>& raws) {
    std::string l(13, ' ');
    for (double raw : raws) l += rightAligned(number(raw, "####0.00000"), 20);
    finalBaselineLine_ = l;
    data_.push_back(std::move(l));
    return *this;
}

SoundingFileBuilder& SoundingFileBuilder::lineEnd(std::string end) {
    lineEnd_ = std::move(end);
    return *this;
}

std::string SoundingFileBuilder::text() const {
    std::vector<std::string> lines;
    lines.push_back(version_);
    for (const std::string& h : header_) lines.push_back(h);
    auto channelLine = [&](auto fieldOf) {
        std::string l(13, ' ');
        for (const ChannelSpec& c : channels_) l += rightAligned(fieldOf(c), 20);
        lines.push_back(l);
    };
    channelLine([](const ChannelSpec& c) { return c.type; });
    channelLine([](const ChannelSpec& c) { return c.name; });
    channelLine([](const ChannelSpec& c) { return c.rawSpan; });
    channelLine([](const ChannelSpec& c) { return c.baseline; });
    channelLine([](const ChannelSpec& c) { return c.fullScale; });
    channelLine([](const ChannelSpec& c) { return c.unit; });
    channelLine([](const ChannelSpec& c) { return c.factor; });
    lines.push_back(newer_ ? "    (m)(cm/s)" : "   (m) (cm/s)");
    for (const auto& [number, text] : channelLineOverrides_) lines[static_cast<std::size_t>(number - 1)] = text;
    for (const std::string& d : data_) lines.push_back(d);

    std::string out;
    for (const std::string& l : lines) out += l + lineEnd_;
    return out;
}

}  // namespace qm::test
