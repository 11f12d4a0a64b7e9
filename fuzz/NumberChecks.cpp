// Number text from files, boxes and table files.
#include <cmath>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

#include "FuzzChecks.h"
#include "model/NumberText.h"
#include "model/ReadingsPage.h"
#include "model/SoundingReader.h"

namespace qm::fuzz {

namespace {

bool blank(char c) { return c == ' ' || c == '\t'; }
bool digit(char c) { return c >= '0' && c <= '9'; }

// A plain reading of the number grammar of files and boxes, written apart
// from the program's own: blanks around, a sign, digits with at most one
// separator (either of two), an exponent with digits; the value is the C
// library's conversion of the same text with a point, so any shortcut the
// program takes must give exactly what that gives.
std::optional<double> referenceNumber(std::string_view text, char sepA, char sepB) {
    std::size_t b = 0, e = text.size();
    while (b < e && blank(text[b])) ++b;
    while (e > b && blank(text[e - 1])) --e;
    std::string t(text.substr(b, e - b));
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    int digits = 0;
    bool separator = false;
    for (; i < t.size(); ++i) {
        if (digit(t[i])) {
            ++digits;
        } else if ((t[i] == sepA || t[i] == sepB) && !separator) {
            separator = true;
            t[i] = '.';
        } else {
            break;
        }
    }
    if (digits == 0) return std::nullopt;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        const std::size_t first = i;
        while (i < t.size() && digit(t[i])) ++i;
        if (i == first) return std::nullopt;
    }
    if (i != t.size()) return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::string shown(const std::optional<double>& v) { return v ? numberText(static_cast<float>(*v), '.') : "none"; }

void requireSame(const std::optional<double>& got, const std::optional<double>& want, const std::string& what) {
    const bool same = got.has_value() == want.has_value() && (!got || *got == *want);
    require(same, what + " gives " + shown(got) + ", the reference " + shown(want));
}

// The 10-channel sample and its page, one per decimal mode, made once: each
// input types into one of its cells, and the reading is put back afterwards.
ReadingsPage& pageUnderTest(int mode, Sounding*& sounding) {
    static std::unique_ptr<Sounding> soundings[2];
    static std::unique_ptr<ReadingsPage> pages[2];
    if (!pages[mode]) {
        soundings[mode] = std::make_unique<Sounding>();
        const LoadResult r = readSoundingFile(dataFolder() + "/samples/sample-10ch.cpt", shippedTables(), mode, *soundings[mode]);
        if (!r.ok) fail("the 10-channel sample does not load: " + r.error);
        pages[mode] = std::make_unique<ReadingsPage>(*soundings[mode], shippedTables(), mode);
        pages[mode]->startAfterLoad();
    }
    sounding = soundings[mode].get();
    return *pages[mode];
}

}  // namespace

void checkTextToNumber(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = asText(data, size);
    requireSame(localeTextToNumber(text, '.'), referenceNumber(text, '.', '.'), "the point conversion");
    requireSame(localeTextToNumber(text, ','), referenceNumber(text, ',', ','), "the comma conversion");
    const std::optional<double> either = textToNumberOf(text, 0);
    requireSame(either, referenceNumber(text, '.', ','), "the file conversion");
    for (int mode = 0; mode <= 1; ++mode) {
        std::string rewritten(text);
        requireSame(textToNumber(rewritten, mode), either, "the file conversion with its rewrite");
        require(rewritten.size() == text.size(), "the rewrite changed the text's length");
    }
    // The writers' quick road puts the number as the general one writes it,
    // for the patterns of the sounding files, or leaves it to the general one.
    if (!either) return;
    for (const char* pattern : {"####0.00000", "##0.00", "##0.000"}) {
        for (const double v : {*either, double(static_cast<float>(*either))}) {
            char line[kFieldRoom + 20];
            std::string general;
            appendFormatPattern(general, v, pattern, ',', 20);
            if (putPlainField(line + sizeof line, 20, v, parseNumericPattern(pattern), ','))
                require(std::string_view(line + kFieldRoom, 20) == general, "the quick field of " + general);
        }
    }
}

void checkCellEntry(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return;
    const int mode = (data[0] & 0x80) ? 1 : 0, column = 1 + (data[0] & 0x7f) % kMaxChannels, row = 1 + data[1] % kPageRows;
    Sounding* s = nullptr;
    ReadingsPage& page = pageUnderTest(mode, s);
    const std::string text(asText(data + 2, size - 2));
    const int reading = page.readingIndexOfRow(row);
    const float before = s->value(column, reading);
    const std::string shownBefore = page.cell(column, row).text;
    page.setCellText(column, row, text);
    std::vector<std::string> messages;
    const bool stored = page.commit(column, row, messages);
    // Stored exactly when the characters pass and the reference reads a
    // number a Single holds.
    const char sep = decimalSeparator(mode);
    const double wanted = (checkForValidEntry(text, mode) ? referenceNumber(text, sep, sep) : std::nullopt).value_or(HUGE_VAL);
    require(stored == (std::fabs(wanted) <= 3.4028234663852886e38),
            "the commit of \"" + text + "\" " + (stored ? "stored it" : "refused it"));
    if (stored && text == shownBefore)
        // The cell's own text, as the page wrote it: nothing was typed, so
        // the reading keeps its full value.
        require(messages.empty() && s->value(column, reading) == before, "a cell left as shown changed its reading");
    else if (stored)
        require(messages.empty() && s->value(column, reading) == static_cast<float>(wanted), "the stored value differs from the text");
    else
        require(messages == std::vector<std::string>{"Invalid Text Entry"} && s->value(column, reading) == before &&
                    page.cell(column, row).text == shownBefore,
                "a refusal without its message, or one that changed the reading or left its text");
    s->value(column, reading) = before;
    page.refreshDisplay();
}

void checkChannelTable(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return;
    const int t = 1 + data[0] % kMaxChannelTypes;
    static ChannelTypeTable table;
    table = ChannelTypeTable();
    const std::string problem = parseChannelTypeTable(asText(data + 1, size - 1), t, table);
    require(table.unitCount[t] >= 0 && table.unitCount[t] <= kMaxUnits, "unit count out of range");
    for (int other = 1; other <= kMaxChannelTypes; ++other)
        require(other == t || (!table.defined[other] && table.unitCount[other] == 0), "another type was changed");
    // Every unit kept must be usable: its factor a finite number the unit
    // boxes can divide by or refuse, its pattern one that formats.
    static const double samples[] = {0.0, 0.5, -1.25, 12345.678, -32768.0, 1e-7, 9.87654321e9};
    for (int u = 1; u <= table.unitCount[t]; ++u) {
        require(std::isfinite(table.factor(t, u)), "unit " + std::to_string(u) + " has a factor that is no number");
        for (const double v : samples) {
            const std::string text = formatPattern(v, table.format(t, u), '.');
            require(text.size() <= table.format(t, u).size() + 64, "a pattern made a text far longer than itself");
        }
    }
}

}  // namespace qm::fuzz
