#include "ops/GefReader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include "model/CodePage.h"
#include "ops/GpsSentence.h"
#include "ops/ImportedSounding.h"
#include "ops/NationalGrid.h"

namespace qm {

namespace {

// A measured quantity of the report and the channel it becomes.
struct GefChannel {
    int quantity;
    int16_t type;
    std::string_view name;         // the channel's name on the page
    std::string_view defaultUnit;  // the report's unit, when a column names none we know
};

constexpr std::array<GefChannel, 12> kChannels = {{
    {2, 1, "TIP RESISTANCE", "MPA"},
    {3, 2, "SLEEVE FRICTION", "MPA"},
    {4, 14, "FRICTION RATIO", "%"},
    {5, 4, "PORE PRESSURE U1", "MPA"},
    {6, 3, "PORE PRESSURE U2", "MPA"},
    {7, 5, "PORE PRESSURE U3", "MPA"},
    {8, 9, "INCLINATION", "DEG"},
    {9, 6, "INCLINATION NS", "DEG"},
    {10, 7, "INCLINATION EW", "DEG"},
    {21, 6, "INCLINATION X", "DEG"},
    {22, 7, "INCLINATION Y", "DEG"},
    {23, 11, "CONDUCTIVITY", "S/m"},
}};

constexpr int kPenetrationLength = 1;
constexpr int kTime = 12;
// Corrected depth and the derived quantities 13 to 20: computed again by
// the interpretation rather than kept.
bool isDerived(int quantity) { return quantity == 11 || (quantity >= 13 && quantity <= 20); }

const GefChannel* channelOf(int quantity) {
    for (const GefChannel& c : kChannels)
        if (c.quantity == quantity) return &c;
    return nullptr;
}

// The comma-separated parameters of a header line, trimmed.
std::vector<std::string_view> parameters(std::string_view value) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = value.find(',', start);
        out.push_back(trimBlanks(value.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start)));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return out;
}

std::optional<double> gefNumber(std::string_view text) { return plainNumber(text); }

std::optional<int> wholeNumber(std::string_view text) {
    const auto v = gefNumber(text);
    if (!v || *v != std::floor(*v) || std::fabs(*v) > 1e6) return std::nullopt;
    return static_cast<int>(*v);
}

struct Column {
    int quantity = 0;
    std::string unit, name;
    std::optional<double> voidValue;
};

struct Header {
    int columnCount = 0;
    std::map<int, Column> columns;
    std::string columnSeparator, recordSeparator;
    std::map<std::string, std::vector<std::string>> texts;        // keyword -> values of its lines
    std::map<int, std::vector<std::string_view>> measurementText;  // number -> parameters
    std::map<int, std::vector<std::string_view>> measurementVar;
    std::vector<std::string> comments;
};

std::string refusal(int line, const std::string& what) {
    return "The GEF file cannot be opened: line " + std::to_string(line) + " " + what + ".";
}

class GefParser {
   public:
    GefParser(std::string_view bytes, const ChannelTypeTable& tables) : text_(toCodePage(bytes)), tables_(tables) {}

    std::optional<std::string> read(Sounding& s, std::vector<std::string>& messages, GefExtras& extras) {
        if (auto r = readHeader()) return r;
        if (auto r = checkColumns()) return r;
        if (auto r = readData()) return r;
        ImportedTest test;
        fillHeader(test, extras);
        fillReadings(test, messages);
        if (recordsWithoutDepth_ > 0 && readings_ > 0)
            messages.push_back("The GEF file holds " + std::to_string(recordsWithoutDepth_) +
                               " record(s) without a penetration length: they are left out.");
        return fillImportedSounding(test, tables_, s, messages, "GEF");
    }

   private:
    // The next line of the text, without its end (CR LF, LF or CR).
    bool nextLine(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        const std::size_t end = text_.find_first_of("\r\n", pos_);
        const std::size_t stop = end == std::string::npos ? text_.size() : end;
        line = std::string_view(text_).substr(pos_, stop - pos_);
        pos_ = stop;
        if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
        ++lineNumber_;
        return true;
    }

    std::optional<std::string> readHeader() {
        std::string_view line;
        bool first = true;
        while (nextLine(line)) {
            std::string_view t = trimBlanks(line);
            if (t.empty()) continue;
            if (t.front() != '#')
                return refusal(lineNumber_, first ? "does not start a GEF header (#GEFID= ...)"
                                                  : "is not a header line (#KEYWORD= ...) before #EOH=");
            first = false;
            const std::size_t eq = t.find('=');
            if (eq == std::string_view::npos) return refusal(lineNumber_, "has no \"=\" after its keyword");
            const std::string keyword = upperAscii(trimBlanks(t.substr(1, eq - 1)));
            const std::string_view value = trimBlanks(t.substr(eq + 1));
            if (keyword == "EOH") return std::nullopt;
            if (auto r = headerLine(keyword, value)) return r;
        }
        return refusal(lineNumber_, "ends the file before the header's end (#EOH=)");
    }

    std::optional<std::string> headerLine(const std::string& keyword, std::string_view value) {
        const auto p = parameters(value);
        if (keyword == "COLUMN") {
            const auto n = wholeNumber(p[0]);
            if (!n || *n < 1 || *n > 64) return refusal(lineNumber_, "gives no column count from 1 to 64");
            header_.columnCount = *n;
        } else if (keyword == "COLUMNINFO") {
            const auto n = wholeNumber(p[0]);
            const auto q = p.size() >= 4 ? wholeNumber(p[3]) : std::nullopt;
            if (!n || *n < 1 || *n > 64 || !q)
                return refusal(lineNumber_, "is no column description (number, unit, name, quantity)");
            Column& c = header_.columns[*n];
            c.quantity = *q;
            c.unit = std::string(p[1]);
            c.name = std::string(p[2]);
        } else if (keyword == "COLUMNVOID") {
            const auto n = wholeNumber(p[0]);
            const auto v = p.size() >= 2 ? gefNumber(p[1]) : std::nullopt;
            if (!n || *n < 1 || *n > 64 || !v) return refusal(lineNumber_, "is no column void (number, value)");
            header_.columns[*n].voidValue = v;
        } else if (keyword == "COLUMNSEPARATOR") {
            header_.columnSeparator = std::string(value.empty() ? std::string_view(" ") : value.substr(0, 1));
        } else if (keyword == "RECORDSEPARATOR") {
            header_.recordSeparator = std::string(value.substr(0, 1));
        } else if (keyword == "MEASUREMENTTEXT" || keyword == "MEASUREMENTVAR") {
            const auto n = wholeNumber(p[0]);
            if (!n) return refusal(lineNumber_, "gives no number before its text");
            (keyword == "MEASUREMENTTEXT" ? header_.measurementText : header_.measurementVar)[*n] =
                std::vector<std::string_view>(p.begin() + 1, p.end());
        } else if (keyword == "COMMENT") {
            header_.comments.emplace_back(value);
        } else {
            header_.texts[keyword].emplace_back(value);
        }
        return std::nullopt;
    }

    std::optional<std::string> checkColumns() {
        if (header_.columnCount == 0) {
            if (header_.columns.empty()) return refusal(lineNumber_, "closes a header without #COLUMN=");
            header_.columnCount = header_.columns.rbegin()->first;
        }
        for (const auto& [n, c] : header_.columns)
            if (n > header_.columnCount)
                return refusal(lineNumber_, "closes a header that describes column " + std::to_string(n) + " of " +
                                                std::to_string(header_.columnCount));
        for (int n = 1; n <= header_.columnCount; ++n) {
            const auto it = header_.columns.find(n);
            if (it == header_.columns.end() || it->second.quantity == 0)
                return refusal(lineNumber_, "closes a header without #COLUMNINFO= for column " + std::to_string(n));
            if (it->second.quantity == kPenetrationLength) depthColumn_ = n;
        }
        if (depthColumn_ == 0) return refusal(lineNumber_, "closes a header without a penetration length (quantity 1)");
        columns_.resize(static_cast<std::size_t>(header_.columnCount));
        for (int n = 1; n <= header_.columnCount; ++n) voids_.push_back(header_.columns.at(n).voidValue);
        return std::nullopt;
    }

    // One record: its fields, split by the declared separator or by blanks.
    void fields(std::string_view record, std::vector<std::string_view>& out) const {
        out.clear();
        const bool blanks = header_.columnSeparator.empty() || header_.columnSeparator == " ";
        std::size_t i = 0;
        while (i < record.size()) {
            if (blanks) {
                while (i < record.size() && (record[i] == ' ' || record[i] == '\t')) ++i;
                if (i >= record.size()) break;
                const std::size_t end = record.find_first_of(" \t", i);
                const std::size_t stop = end == std::string_view::npos ? record.size() : end;
                out.push_back(record.substr(i, stop - i));
                i = stop;
            } else {
                const std::size_t end = record.find(header_.columnSeparator[0], i);
                const std::size_t stop = end == std::string_view::npos ? record.size() : end;
                out.push_back(trimBlanks(record.substr(i, stop - i)));
                i = stop == record.size() ? stop : stop + 1;
                if (stop == record.size()) break;
                if (i == record.size()) out.push_back({});  // a separator at the end
            }
        }
        // Many writers end a record with the column separator too.
        if (!blanks && static_cast<int>(out.size()) == header_.columnCount + 1 && out.back().empty()) out.pop_back();
    }

    std::optional<std::string> readData() {
        std::string_view line;
        const char recordEnd = header_.recordSeparator.empty() ? '\0' : header_.recordSeparator[0];
        while (nextLine(line)) {
            // A line may hold several records, or a record end its line.
            std::size_t start = 0;
            while (start <= line.size()) {
                const std::size_t end = recordEnd ? line.find(recordEnd, start) : std::string_view::npos;
                const std::string_view record = line.substr(start, end == std::string_view::npos ? line.size() - start
                                                                                                 : end - start);
                if (!trimBlanks(record).empty())
                    if (auto r = readRecord(record)) return r;
                if (end == std::string_view::npos) break;
                start = end + 1;
            }
        }
        return std::nullopt;
    }

    std::optional<std::string> readRecord(std::string_view record) {
        fields(record, fields_);
        const auto& f = fields_;
        if (static_cast<int>(f.size()) != header_.columnCount)
            return refusal(lineNumber_, "holds " + std::to_string(f.size()) + " values where the header declares " +
                                            std::to_string(header_.columnCount) + " columns");
        if (readings_ >= kMaxReadings)
            return refusal(lineNumber_, "holds reading " + std::to_string(kMaxReadings + 1) + ", more than " +
                                            std::to_string(kMaxReadings) + " readings fit");
        record_.clear();
        for (std::size_t k = 0; k < f.size(); ++k) {
            const auto v = gefNumber(f[k]);
            if (!v)
                return refusal(lineNumber_, "holds \"" + cp1252ToAscii(f[k]) + "\" in column " + std::to_string(k + 1) +
                                                ", which is not a number");
            record_.push_back(*v);
        }
        // A record without a penetration length has no place in the
        // sounding (a writer's record of voids stands for no readings).
        const std::size_t d = static_cast<std::size_t>(depthColumn_ - 1);
        if (voids_[d] && record_[d] == *voids_[d]) {
            ++recordsWithoutDepth_;
            return std::nullopt;
        }
        // Only a whole record is kept.
        for (std::size_t k = 0; k < f.size(); ++k)
            columns_[k].push_back(voids_[k] && record_[k] == *voids_[k] ? std::nullopt
                                                                         : std::optional<double>(record_[k]));
        ++readings_;
        const std::string_view depthText = trimBlanks(f[static_cast<std::size_t>(depthColumn_ - 1)]);
        if (const std::size_t point = depthText.find('.'); point != std::string_view::npos)
            depthDecimals_ = std::max(depthDecimals_, depthText.find_first_not_of("0123456789", point + 1) ==
                                                              std::string_view::npos
                                                          ? static_cast<int>(depthText.size() - point - 1)
                                                          : 3);
        return std::nullopt;
    }

    std::string text(const std::string& keyword, std::size_t parameter = 0) const {
        const auto it = header_.texts.find(keyword);
        if (it == header_.texts.end() || it->second.empty()) return {};
        const auto p = parameters(it->second.front());
        return parameter < p.size() ? std::string(p[parameter]) : std::string();
    }

    std::string measurementText(int number) const {
        const auto it = header_.measurementText.find(number);
        return it == header_.measurementText.end() || it->second.empty() ? std::string() : std::string(it->second[0]);
    }

    std::optional<double> measurementVar(int number) const {
        const auto it = header_.measurementVar.find(number);
        if (it == header_.measurementVar.end() || it->second.empty()) return std::nullopt;
        return gefNumber(it->second[0]);
    }

    void fillHeader(ImportedTest& s, GefExtras& extras) const {
        s.companyName = text("FILEOWNER");
        if (s.companyName.empty()) s.companyName = text("COMPANYID");
        // "#PROJECTID= CPT, 1234": the kind of project, then its number.
        s.jobNumber = text("PROJECTID", 1);
        if (s.jobNumber.empty()) s.jobNumber = text("PROJECTID");
        s.holeNumber = text("TESTID");
        s.header = text("PROJECTNAME");
        if (s.header.empty()) s.header = measurementText(2);
        s.location = measurementText(3);
        s.coneNumber = measurementText(4);
        s.dateAndTime = dateAndTime();
        if (!header_.comments.empty()) s.footnote1 = header_.comments[0];
        for (std::size_t k = 1; k < header_.comments.size(); ++k)
            s.footnote2 += (k > 1 ? "; " : "") + header_.comments[k];
        if (const auto it = header_.measurementVar.find(14); it != header_.measurementVar.end() && !it->second.empty())
            s.waterTableDepth = std::string(it->second[0]);
        s.gpsSentence = gpsSentence();
        extras.netAreaRatio = measurementVar(3);
        if (const auto z = header_.texts.find("ZID"); z != header_.texts.end() && !z->second.empty()) {
            const auto p = parameters(z->second.front());
            if (p.size() >= 2) extras.surfaceLevel = gefNumber(p[1]);
        }
    }

    // "#STARTDATE= 2024, 3, 5" and "#STARTTIME= 10, 0, 0" as the rig writes
    // a date: "2024-03-05 10:00:00".
    std::string dateAndTime() const {
        const auto d = header_.texts.find("STARTDATE");
        if (d == header_.texts.end() || d->second.empty()) return {};
        const auto p = parameters(d->second.front());
        if (p.size() < 3) return std::string(d->second.front());
        const auto y = wholeNumber(p[0]), m = wholeNumber(p[1]), day = wholeNumber(p[2]);
        if (!y || !m || !day) return std::string(d->second.front());
        char buf[64];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", *y, *m, *day);
        std::string out = buf;
        const auto t = header_.texts.find("STARTTIME");
        if (t != header_.texts.end() && !t->second.empty()) {
            const auto q = parameters(t->second.front());
            const auto h = q.size() >= 1 ? wholeNumber(q[0]) : std::nullopt;
            const auto mi = q.size() >= 2 ? wholeNumber(q[1]) : std::nullopt;
            const auto sec = q.size() >= 3 ? gefNumber(q[2]) : std::nullopt;
            if (h && mi) {
                std::snprintf(buf, sizeof buf, " %02d:%02d:%02d", *h, *mi, sec ? static_cast<int>(*sec) : 0);
                out += buf;
            }
        }
        return out;
    }

    // A position in WGS84 degrees (coordinate system 00001: X east, Y north)
    // as the GGA sentence the GPS boxes show.
    std::string gpsSentence() const {
        const auto it = header_.texts.find("XYID");
        if (it == header_.texts.end() || it->second.empty()) return {};
        const auto p = parameters(it->second.front());
        const auto code = p.size() >= 3 ? wholeNumber(p[0]) : std::nullopt;
        const auto x = p.size() >= 3 ? gefNumber(p[1]) : std::nullopt;
        const auto y = p.size() >= 3 ? gefNumber(p[2]) : std::nullopt;
        if (!code || !x || !y) return {};
        // 00001 is WGS84 in degrees; the national grids go through the
        // coordinate library.
        if (*code == 1) return gpsSentenceOf(*y, *x);
        const int epsg = *code == 31000 ? 28992 : *code == 32000 ? 31370 : 0;
        if (epsg == 0) return {};
        const auto wgs = gridToWgs84(epsg, *x, *y);
        return wgs ? gpsSentenceOf(wgs->latitude, wgs->longitude) : std::string();
    }

    // The measured columns, the penetration lengths and the times.
    void fillReadings(ImportedTest& t, std::vector<std::string>& messages) {
        for (const auto& d : columns_[static_cast<std::size_t>(depthColumn_ - 1)]) t.depth.push_back(*d);
        t.depthDecimals = depthDecimals_;
        for (int n = 1; n <= header_.columnCount; ++n) {
            const Column& col = header_.columns.at(n);
            auto& values = columns_[static_cast<std::size_t>(n - 1)];
            if (col.quantity == kTime) t.time = values;
            if (n == depthColumn_ || col.quantity == kTime || isDerived(col.quantity)) continue;
            const GefChannel* kind = channelOf(col.quantity);
            if (!kind) {
                messages.push_back("The GEF file's column " + std::to_string(n) + " (" + cp1252ToAscii(col.name) +
                                   ", quantity " + std::to_string(col.quantity) +
                                   ") has no channel type: it is left out.");
                continue;
            }
            t.columns.push_back({kind->type, std::string(kind->name), col.unit, kind->defaultUnit,
                                 "column " + std::to_string(n) + " (" + cp1252ToAscii(col.name) + ")",
                                 std::move(values)});
        }
    }

    std::string text_;
    const ChannelTypeTable& tables_;
    std::size_t pos_ = 0;
    int lineNumber_ = 0;
    Header header_;
    int depthColumn_ = 0;
    int depthDecimals_ = 0;  // the most any penetration length is written with
    std::vector<std::vector<std::optional<double>>> columns_;  // the data, column by column
    std::vector<std::optional<double>> voids_;                  // each column's void value
    std::vector<std::string_view> fields_;                      // the record being read
    std::vector<double> record_;                                // and its numbers
    int readings_ = 0;
    int recordsWithoutDepth_ = 0;
};

}  // namespace

LoadResult readGefText(std::string_view bytes, const ChannelTypeTable& tables, Sounding& out, GefExtras* extras) {
    GefExtras found;
    LoadResult result = readIntoFresh(out, [&](Sounding& fresh, std::vector<std::string>& messages) {
        return GefParser(bytes, tables).read(fresh, messages, found);
    });
    if (result.ok && extras) *extras = found;
    return result;
}

bool isGefFileName(std::string_view path) { return hasExtension(path, ".gef"); }

}  // namespace qm
