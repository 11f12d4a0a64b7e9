#include "ops/ImportedSounding.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>

#include "model/CodePage.h"
#include "ops/GpsSentence.h"

namespace qm {

namespace {

// Other spellings of the tables' unit names.
std::string tableSpelling(std::string_view unit) {
    std::string u = upperAscii(trimBlanks(unit));
    if (u == "DEGREE" || u == "DEGREES" || u == "\xB0") return "DEG";
    if (u == "\xB0" "C" || u == "DEG C" || u == "DEG.C") return "DEGC";
    if (u == "COUNTS/S" || u == "COUNTS/SEC") return "CPS";
    if (u == "COUNTS/MIN") return "CPM";
    return u;
}

int unitIndex(const ChannelTypeTable& tables, int type, const std::string& wanted) {
    for (int u = 1; u <= tables.unitCount[type]; ++u)
        if (upperAscii(tables.name(type, u)) == wanted) return u;
    return 0;
}

// The most common step between readings, to 0.1 mm; 0 when none is
// positive. Whether the steps differ is told through `even`.
float commonStep(const std::vector<double>& depth, bool& even) {
    std::map<long, int> steps;
    for (std::size_t r = 1; r < depth.size(); ++r) ++steps[std::lround((depth[r] - depth[r - 1]) * 10000.0)];
    long common = 0;
    int most = 0;
    for (const auto& [step, n] : steps)
        if (step > 0 && n > most) {
            most = n;
            common = step;
        }
    even = steps.size() <= 1;
    return static_cast<float>(static_cast<double>(common) / 10000.0);
}

}  // namespace

std::optional<std::string> fillImportedSounding(const ImportedTest& test, const ChannelTypeTable& tables,
                                                Sounding& s, std::vector<std::string>& messages,
                                                std::string_view fileKind) {
    s.companyName = test.companyName;
    s.operatorName = test.operatorName;
    s.coneNumber = test.coneNumber;
    s.location = test.location;
    s.jobNumber = test.jobNumber;
    s.holeNumber = test.holeNumber;
    s.dateAndTime = test.dateAndTime;
    s.header = test.header;
    s.footnote1 = test.footnote1;
    s.footnote2 = test.footnote2;
    s.gpsSentence = test.gpsSentence;
    s.waterTableDepth = test.waterTableDepth;

    const std::string kind(fileKind);
    int c = 0;
    for (const ImportedColumn& col : test.columns) {
        if (!tables.hasType(col.type)) {
            messages.push_back("The " + kind + " file's " + col.source + " has no channel type table: it is left out.");
            continue;
        }
        int unit = unitIndex(tables, col.type, tableSpelling(col.unitText));
        if (unit == 0) {
            unit = unitIndex(tables, col.type, tableSpelling(col.standardUnit));
            if (unit == 0) {
                messages.push_back("The " + kind + " file's " + col.source + " is in a unit the channel tables do not know (" +
                                   cp1252ToAscii(col.unitText) + "): it is left out.");
                continue;
            }
            messages.push_back("The " + kind + " file's " + col.source + " gives the unit \"" +
                               cp1252ToAscii(col.unitText) + "\"; it is read in " + tables.name(col.type, unit) + ".");
        }
        if (c == kMaxChannels)
            return "The " + kind + " file cannot be opened: it has more measured columns than the " +
                   std::to_string(kMaxChannels) + " channels a sounding holds.";
        ++c;
        s.channelType[c] = col.type;
        s.channelName[c] = col.name;
        s.channelRawSpan[c] = 1.0f;
        s.channelFullScale[c] = 1.0f;
        s.channelBaseline[c] = {0.0f, 0.0f, 0.0f};
        s.channelUnitIndex[c] = static_cast<int16_t>(unit);
        s.channelUnitFactor[c] = tables.factor(col.type, unit);
        const int count = static_cast<int>(std::min(col.values.size(), test.depth.size()));
        s.rawColumn(c).hold(static_cast<std::size_t>(count) + 1);
        s.valueColumn(c).hold(static_cast<std::size_t>(count) + 1);
        for (int r = 1; r <= count; ++r) {
            const auto& v = col.values[static_cast<std::size_t>(r - 1)];
            if (!v) {
                s.raw(c, r) = kNoDataValue;
                s.value(c, r) = kNoDataValue;
                ++s.noDataCount[c];
                continue;
            }
            // The value is the file's number itself; the raw reading is that
            // value in the base unit, which converts back to it to within a
            // float's last place.
            s.raw(c, r) = static_cast<float>(*v / static_cast<double>(s.channelUnitFactor[c]));
            s.value(c, r) = static_cast<float>(*v);
        }
    }
    if (c == 0)
        return "The " + kind + " file cannot be opened: it has no measured column that a channel type takes.";
    s.channelCount = static_cast<int16_t>(c);
    s.porePressureMissing =
        std::none_of(s.channelType.begin() + 1, s.channelType.begin() + 1 + c, [](int16_t t) { return t == 3; });

    s.readingCount = static_cast<int32_t>(test.depth.size());
    s.depth.hold(test.depth.size() + 1);
    s.speed.hold(test.depth.size() + 1);
    s.valueColumn(0).hold(test.depth.size() + 1);
    for (int r = 1; r <= s.readingCount; ++r) {
        s.depth[r] = static_cast<float>(test.depth[static_cast<std::size_t>(r - 1)]);
        s.value(0, r) = s.depth[r];
    }
    // The speed from the time column, in cm/s; the first reading takes the
    // second's. Without times the speed stays 0.
    if (test.time.size() == test.depth.size()) {
        for (int r = 2; r <= s.readingCount; ++r) {
            const auto& t0 = test.time[static_cast<std::size_t>(r - 2)];
            const auto& t1 = test.time[static_cast<std::size_t>(r - 1)];
            if (!t0 || !t1 || *t1 <= *t0) continue;
            const double v = (static_cast<double>(s.depth[r]) - s.depth[r - 1]) / (*t1 - *t0) * 100.0;
            if (std::isfinite(v) && std::fabs(v) < 1000.0) s.speed[r] = static_cast<float>(v);
        }
        if (s.readingCount >= 2) s.speed[1] = s.speed[2];
    }

    // The layout whose depth decimals keep the file's.
    const bool newer = test.depthDecimals > 2;
    s.versionLine = newer ? "BM Sounding File ver. 2015.07.02.1" : "Brennomarck Sounding File";
    s.depthDecimals = newer ? 3 : 2;
    s.depthFormat = 0;
    s.depthFormatApplied = 0;
    bool even = true;
    s.depthIncrement = commonStep(test.depth, even);
    if (!even && s.depthIncrement > 0.0f) {
        char step[32];
        std::snprintf(step, sizeof step, "%.4g", static_cast<double>(s.depthIncrement));
        messages.push_back("The readings of the " + kind +
                           " file are not evenly spaced: their depths are kept as read; the depth increment is the "
                           "most common step, " +
                           step + " m.");
    }
    for (int k = 1; k <= c; ++k) s.noDataLeadCount = std::max(s.noDataLeadCount, s.noDataCount[k]);
    s.dataIndex = s.noDataLeadCount + 1;
    // With 24 or more leading readings the cursor sits on the last page row.
    s.pageRow = static_cast<int16_t>(std::min<int32_t>(s.dataIndex, 24));
    return std::nullopt;
}

LoadResult readIntoFresh(Sounding& out,
                         const std::function<std::optional<std::string>(Sounding&, std::vector<std::string>&)>& read) {
    LoadResult result;
    auto fresh = std::make_unique<Sounding>();
    if (auto refusal = read(*fresh, result.messages)) {
        result.error = *refusal;
        result.messages.clear();
        return result;
    }
    fresh->filePath = out.filePath;
    fresh->openedFileTitle = out.openedFileTitle;
    out = std::move(*fresh);
    result.ok = true;
    return result;
}

std::string_view trimBlanks(std::string_view t) {
    const auto blank = [](char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; };
    while (!t.empty() && blank(t.front())) t.remove_prefix(1);
    while (!t.empty() && blank(t.back())) t.remove_suffix(1);
    return t;
}

std::string upperAscii(std::string_view t) {
    std::string u(t);
    for (char& ch : u)
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    return u;
}

bool hasExtension(std::string_view path, std::string_view extension) {
    return path.size() >= extension.size() &&
           upperAscii(path.substr(path.size() - extension.size())) == upperAscii(extension);
}

std::string toCodePage(std::string_view bytes) {
    if (std::all_of(bytes.begin(), bytes.end(), [](char ch) { return static_cast<unsigned char>(ch) < 0x80; }))
        return std::string(bytes);
    std::string out;
    out.reserve(bytes.size());
    bool anyWide = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        const int length = (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
        if (length == 0 || i + static_cast<std::size_t>(length) > bytes.size()) return std::string(bytes);
        char32_t cp = b & (length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07);
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) return std::string(bytes);
            cp = (cp << 6) | (next & 0x3F);
        }
        if (cp < 0x80) return std::string(bytes);  // an overlong form is no UTF-8 of ours
        anyWide = true;
        char byte = '?';
        for (int code = 0x80; code <= 0xFF; ++code)
            if (cp1252ToUnicode(static_cast<unsigned char>(code)) == cp) byte = static_cast<char>(code);
        out += byte;
        i += static_cast<std::size_t>(length);
    }
    return anyWide ? out : std::string(bytes);
}

std::optional<double> plainNumber(std::string_view text) {
    text = trimBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    // The usual field, "-12.345": its digits as a whole number, divided once
    // by an exact power of ten, which rounds as the full conversion does.
    {
        static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11,
                                             1e12, 1e13, 1e14, 1e15};
        std::size_t i = text.front() == '-' ? 1 : 0;
        std::uint64_t mantissa = 0;
        int digits = 0, decimals = 0;
        bool point = false, plain = i < text.size();
        for (; i < text.size() && plain; ++i) {
            const char ch = text[i];
            if (ch >= '0' && ch <= '9') {
                mantissa = mantissa * 10 + static_cast<unsigned>(ch - '0');
                ++digits;
                decimals += point;
            } else if (ch == '.' && !point) {
                point = true;
            } else {
                plain = false;
            }
        }
        if (plain && digits > 0 && digits <= 15) {
            const double v = static_cast<double>(mantissa) / kPowers[decimals];
            return text.front() == '-' ? -v : v;
        }
    }
    double v = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v)) return std::nullopt;
    if (std::fabs(v) > 3.0e38) return std::nullopt;
    return v;
}

std::string gpsSentenceOf(double latitude, double longitude) {
    if (!(std::fabs(latitude) <= 90.0) || !(std::fabs(longitude) <= 180.0)) return {};
    const auto minutes = [](double degrees, int width) {
        const double a = std::fabs(degrees);
        int whole = static_cast<int>(a);
        double m = std::round((a - whole) * 60.0 * 1e6) / 1e6;
        if (m >= 60.0) {
            ++whole;
            m -= 60.0;
        }
        char buf[40];
        std::snprintf(buf, sizeof buf, "%0*d%09.6f", width, whole, m);
        return std::string(buf);
    };
    GpsEntry e;
    e.latitude = minutes(latitude, 2);
    e.northSouth = latitude < 0 ? "S" : "N";
    e.longitude = minutes(longitude, 3);
    e.eastWest = longitude < 0 ? "W" : "E";
    return buildGpsSentence(e);
}

}  // namespace qm
