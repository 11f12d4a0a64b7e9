#include "ops/LogPage.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "model/CodePage.h"
#include "model/Units.h"
#include "ops/GpsSentence.h"
#include "ops/WaterTable.h"

namespace qm {

namespace {

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string degrees(double value, char positive, char negative) {
    char text[40];
    std::snprintf(text, sizeof text, "%.6f\xC2\xB0 %c", std::fabs(value), value < 0 ? negative : positive);
    return text;
}

}  // namespace

std::optional<LogFormat> logFormatOf(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::nullopt;
    const std::string ext = lower(path.substr(dot + 1));
    if (ext == "pdf") return LogFormat::Pdf;
    if (ext == "png") return LogFormat::Png;
    if (ext == "svg") return LogFormat::Svg;
    return std::nullopt;
}

std::optional<PaperSize> paperSizeOf(const std::string& name) {
    const std::string n = lower(name);
    if (n == "a4") return PaperSize::A4;
    if (n == "letter") return PaperSize::Letter;
    return std::nullopt;
}

std::vector<LogHeaderField> logHeaderFields(const Sounding& s, const std::string& fileName,
                                            const CalendarDate& made) {
    std::vector<LogHeaderField> f;
    f.push_back({"Project", cp1252ToUtf8(s.header)});
    for (const auto& [label, text] : {std::pair{"Company", &s.companyName}, {"Job number", &s.jobNumber},
                                      {"Hole number", &s.holeNumber}, {"Location", &s.location},
                                      {"Date and time", &s.dateAndTime}, {"Cone number", &s.coneNumber}})
        f.push_back({label, cp1252ToUtf8(*text)});
    const GpsFields gps = gpsFieldsOf(s);
    if (const std::optional<GpsPosition> at = gpsPositionOf(gps)) {
        f.push_back({"Latitude", degrees(at->latitude, 'N', 'S')});
        f.push_back({"Longitude", degrees(at->longitude, 'E', 'W')});
        if (!gps.altitude.empty()) f.push_back({"Altitude", cp1252ToUtf8(gps.altitude) + " m"});
    }
    std::string water = cp1252ToUtf8(s.waterTableDepth);
    if (waterTableDepth(water)) water += " m";
    f.push_back({"Water table depth", water});
    f.push_back({"File", fileName});
    f.push_back({"Log made", isoText(made)});
    std::string remarks = cp1252ToUtf8(s.footnote1);
    // Two footnotes read as two remarks: a note without its own full stop
    // ends with a semicolon before the next.
    if (!s.footnote2.empty()) {
        const bool closed = remarks.empty() || remarks.back() == '.' || remarks.back() == ';';
        remarks += (remarks.empty() ? "" : closed ? " " : "; ") + cp1252ToUtf8(s.footnote2);
    }
    f.push_back({"Remarks", remarks});
    return f;
}

std::vector<LogPageSpan> logPageSpans(const ProfileData& p, double metresPerPage) {
    const double low = p.axisMin, high = p.axisMax;
    const double perPage = metresPerPage * (p.feet ? kFeetPerMetre : 1.0);
    std::vector<LogPageSpan> spans;
    if (!(perPage > 0) || p.readingCount < 1 || !std::isfinite(perPage)) {
        // As the view fits the whole sounding: a little room above and below.
        const double pad = std::max((high - low) * 0.01, 0.01);
        spans.push_back(p.elevation ? LogPageSpan{high + pad, low - pad} : LogPageSpan{low - pad, high + pad});
        return spans;
    }
    // Depths run down from the top of the first page; elevations fall from it.
    // Each break is its multiple times the depth per page, so that one
    // page's bottom is exactly the next one's top and 0 is exactly 0.
    const double first = p.elevation ? std::ceil(high / perPage) : std::floor(low / perPage);
    const double extent = p.elevation ? first * perPage - low : high - first * perPage;
    const double pages = std::max(1.0, std::ceil(extent / perPage - 1e-9));
    if (pages > kMostLogPages) return {};
    const double sign = p.elevation ? -1.0 : 1.0;
    auto at = [&](double i) { return (first + sign * i) * perPage; };
    for (double i = 0; i < pages; ++i) spans.push_back({at(i), at(i + 1)});
    return spans;
}

std::string logSpanProblem(const std::vector<LogPageSpan>& spans) {
    for (const LogPageSpan& span : spans)
        if (!std::isfinite(span.top) || !std::isfinite(span.bottom) || !(span.top != span.bottom))
            return "The log was not drawn: the depths are too large for a page to tell them apart.";
    return {};
}

std::string tooManyLogPages() {
    return "The log would need more than " + std::to_string(static_cast<int>(kMostLogPages)) +
           " pages; choose a greater depth per page.";
}

std::vector<std::string> logFilePaths(const std::string& path, LogFormat format, std::size_t pages) {
    if (format == LogFormat::Pdf || pages <= 1) return {path};
    const std::size_t dot = path.find_last_of('.');
    std::vector<std::string> paths;
    for (std::size_t i = 1; i <= pages; ++i)
        paths.push_back(path.substr(0, dot) + "-" + std::to_string(i) + path.substr(dot));
    return paths;
}

std::string pageCaption(std::size_t index, std::size_t count) {
    if (count <= 1) return {};
    return "Page " + std::to_string(index + 1) + " of " + std::to_string(count);
}

}  // namespace qm
