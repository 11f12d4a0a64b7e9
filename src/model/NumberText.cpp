#include "model/NumberText.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale.h>
#include <optional>

#include "model/DigitChunks.h"

namespace qm {

namespace {

// A positive number as its exact decimal digits: value = 0.d1d2d3... x 10^intDigits.
// `digits` has no leading or trailing zeros; it is empty for zero. Rounding
// is decided on these digits, so halves are recognised exactly on the stored
// binary value (0.125f is a true half, 1.005f lies below one).
struct DecimalDigits {
    std::string digits;
    int intDigits = 0;  // digits before the point; 0 or negative below 1

    // The digit that stands for 10^power.
    char digitAt(int power) const {
        const int index = intDigits - 1 - power;
        if (index < 0 || index >= static_cast<int>(digits.size())) return '0';
        return digits[static_cast<std::size_t>(index)];
    }

    // Keeps the first `keep` digits, rounding half away from zero: the kept
    // digits go up exactly when the first dropped digit is 5 or more, since a
    // 5 followed by nothing is a half and anything after it makes it more.
    void roundToDigits(int keep) {
        if (keep < 0) {
            digits.clear();
            return;
        }
        if (keep >= static_cast<int>(digits.size())) return;
        const bool up = digits[static_cast<std::size_t>(keep)] >= '5';
        digits.resize(static_cast<std::size_t>(keep));
        if (up) {
            std::size_t i = digits.size();
            while (i > 0 && digits[i - 1] == '9') {
                digits[i - 1] = '0';
                --i;
            }
            if (i == 0) {
                digits.insert(digits.begin(), '1');
                ++intDigits;
            } else {
                ++digits[i - 1];
            }
        }
        while (!digits.empty() && digits.back() == '0') digits.pop_back();
        if (digits.empty()) intDigits = 0;
    }

    void roundToDecimals(int decimals) { roundToDigits(intDigits + decimals); }
    void roundToSignificant(int significant) { roundToDigits(significant); }
    bool isZero() const { return digits.empty(); }
};

// Number of decimals the exact expansion of a finite positive double needs:
// a double is m x 2^e with m odd, and 2^-k has exactly k decimals.
int exactDecimals(double a) {
    int exponent = 0;
    const double fraction = std::frexp(a, &exponent);  // a = fraction x 2^exponent
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    const int lowestBit = exponent - 53 + std::countr_zero(mantissa);
    return lowestBit < 0 ? -lowestBit : 0;
}

// `a` must be finite and not negative.
DecimalDigits exactDigits(double a) {
    DecimalDigits d;
    if (a == 0.0) return d;
    // The largest double has 309 integer digits, the smallest 1074 decimals.
    std::array<char, 1500> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), a,
                                      std::chars_format::fixed, exactDecimals(a));
    if (result.ec != std::errc{}) return d;  // cannot happen with this buffer
    const std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);

    const std::size_t firstWhole = whole.find_first_not_of('0');
    if (firstWhole != std::string_view::npos) {
        d.digits.assign(whole.substr(firstWhole));
        d.intDigits = static_cast<int>(d.digits.size());
        d.digits.append(fraction);
    } else {
        const std::size_t firstFraction = fraction.find_first_not_of('0');
        if (firstFraction == std::string_view::npos) return d;
        d.digits.assign(fraction.substr(firstFraction));
        d.intDigits = -static_cast<int>(firstFraction);
    }
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    return d;
}

// Texts for values no pattern can show; they never come from a valid file,
// only from arithmetic that overflowed.
std::string nonFiniteText(double value) {
    if (std::isnan(value)) return "NaN";
    return value < 0 ? "-Inf" : "Inf";
}

// The digits of a magnitude rounded to 7 significant digits,
// in fixed form for decimal exponents -4 to 6, otherwise as 1.234568E+07.
std::string sevenDigitText(double magnitude, char sep, bool zeroBeforePoint) {
    DecimalDigits d = exactDigits(magnitude);
    d.roundToSignificant(7);
    if (d.isZero()) return "0";

    const int exponent = d.intDigits - 1;
    std::string out;
    if (exponent < -4 || exponent >= 7) {
        out += d.digits[0];
        if (d.digits.size() > 1) {
            out += sep;
            out.append(d.digits, 1);
        }
        out += 'E';
        out += exponent < 0 ? '-' : '+';
        const int size = exponent < 0 ? -exponent : exponent;
        if (size < 10) out += '0';
        out += numberText(size);
        return out;
    }
    if (d.intDigits > 0) {
        for (int power = d.intDigits - 1; power >= 0; --power) out += d.digitAt(power);
    } else if (zeroBeforePoint) {
        out += '0';
    }
    const int decimals = static_cast<int>(d.digits.size()) - d.intDigits;
    if (decimals > 0) {
        out += sep;
        for (int power = -1; power >= -decimals; --power) out += d.digitAt(power);
    }
    return out;
}

bool isPatternChar(char c) { return c == '#' || c == '0' || c == '.' || c == ','; }

}  // namespace

NumericPattern parseNumericPattern(std::string_view pattern) {
    NumericPattern p;
    p.text = pattern;
    std::size_t begin = 0;
    while (begin < pattern.size() && !isPatternChar(pattern[begin])) ++begin;
    std::size_t end = begin;
    while (end < pattern.size() && isPatternChar(pattern[end])) ++end;
    p.prefix = pattern.substr(0, begin);
    p.suffix = pattern.substr(end);

    int integerPlaces = 0;
    int firstZero = -1;  // a '0' forces every integer place to its right
    for (std::size_t i = begin; i < end; ++i) {
        const char c = pattern[i];
        // Commas stand for grouping, which this program never writes.
        if (c == ',') continue;
        if (c == '.') {
            // A second point is taken as a stray literal and ignored.
            p.hasPoint = true;
            continue;
        }
        p.hasPlaceholder = true;
        if (!p.hasPoint) {
            if (c == '0' && firstZero < 0) firstZero = integerPlaces;
            ++integerPlaces;
        } else {
            ++p.decimals;
            if (c == '0') p.fixedDecimals = p.decimals;
        }
    }
    p.minIntegerDigits = firstZero < 0 ? 0 : integerPlaces - firstZero;
    p.plain = p.hasPlaceholder && p.prefix.empty() && p.suffix.empty() && p.fixedDecimals == p.decimals &&
              p.decimals <= 9 && p.minIntegerDigits <= 30 && pattern.find('@') == std::string_view::npos;
    return p;
}

namespace {

// The magnitude `a` rounded half away from zero to `decimals` decimals. When
// a x 10^decimals is exact in a double (always so for a float and up to 5
// decimals) the rounding is decided on that product directly, which is what
// keeps saving a large sounding fast; otherwise on the exact digits.
DecimalDigits roundedDigits(double a, int decimals) {
    static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    if (decimals >= 0 && decimals <= 9 && a < 1e15) {
        const double p10 = kPowers[decimals];
        const double scaled = a * p10;
        if (std::fma(a, p10, -scaled) == 0.0 && scaled < 4e15) {
            double whole = std::floor(scaled);
            if (scaled - whole >= 0.5) whole += 1.0;
            DecimalDigits d;
            const auto n = static_cast<std::uint64_t>(whole);
            if (n == 0) return d;
            std::array<char, 24> buffer{};
            const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), n);
            d.digits.assign(buffer.data(), result.ptr);
            d.intDigits = static_cast<int>(d.digits.size()) - decimals;
            while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
            return d;
        }
    }
    DecimalDigits d = exactDigits(a);
    d.roundToDecimals(decimals);
    return d;
}


// The patterns of the files and the page ("##0.00", "####0.00000", ...):
// no literal text, every decimal always written. When the value times 10^d is
// exact in a double (a float with up to 5 decimals always is) the text is
// built straight from that whole number, rounding half away from zero;
// anything else returns nothing and takes the general road.
// Room for any text plainPatternDigits writes: a sign, 15 integer digits
// or the pattern's zeros, a separator and 9 decimals.
constexpr std::size_t kPlainTextRoom = 64;

// |value| x 10^decimals rounded half away from zero, for a plain pattern
// when that product is exact in a double below 4e15; false otherwise.
inline bool plainScaled(double value, const NumericPattern& p, std::uint64_t& n) {
    static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    if (!p.plain) return false;
    const double a = std::fabs(value);
    if (!(a < 1e15)) return false;
    const double scaled = a * kPowers[p.decimals];
    const bool exact = (p.decimals <= 5 && static_cast<double>(static_cast<float>(a)) == a) ||
                       std::fma(a, kPowers[p.decimals], -scaled) == 0.0;
    if (!exact || !(scaled < 4e15)) return false;
    // Below 2^53 the truncation is the floor, and the remainder is exact.
    n = static_cast<std::uint64_t>(scaled);
    if (scaled - static_cast<double>(n) >= 0.5) ++n;
    return true;
}

// The digits of n written backwards from `end`, two a step; returns where
// they start (at `end` itself for 0).
char* digitsBackward(std::uint64_t n, char* end) {
    // "00" to "99".
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    while (n >= 100) {
        const auto pair = static_cast<unsigned>(n % 100) * 2;
        n /= 100;
        end -= 2;
        end[0] = kPairs[pair];
        end[1] = kPairs[pair + 1];
    }
    if (n >= 10) {
        end -= 2;
        end[0] = kPairs[n * 2];
        end[1] = kPairs[n * 2 + 1];
    } else if (n > 0) {
        *--end = static_cast<char>('0' + n);
    }
    return end;
}

// Writes the text into `buffer` and returns its end, or nullptr when the
// value needs the general road.
char* plainPatternDigits(double value, const NumericPattern& p, char sep, char* buffer) {
    if (!quickRoads()) return nullptr;
    std::uint64_t n = 0;
    if (!plainScaled(value, p, n)) return nullptr;

    // The digits of n, written from the end of a scratch area; the last
    // `decimals` of them are the fraction.
    char digits[32];
    char* const digitsEnd = digits + sizeof digits;
    char* first = digitsBackward(n, digitsEnd);
    while (digitsEnd - first < p.decimals) *--first = '0';
    const char* const fraction = digitsEnd - p.decimals;
    const int integerDigits = static_cast<int>(fraction - first);

    char* out = buffer;
    // Every value below zero keeps its sign, also one whose digits round to
    // zeros (-0.004 gives -0.00); a negative zero is not below zero.
    if (value < 0) *out++ = '-';
    for (int pad = integerDigits; pad < p.minIntegerDigits; ++pad) *out++ = '0';
    out = std::copy(static_cast<const char*>(first), fraction, out);
    if (p.hasPoint && p.decimals > 0) {
        *out++ = sep;
        out = std::copy(fraction, static_cast<const char*>(digitsEnd), out);
    }
    return out;
}

std::optional<std::string> plainPatternText(double value, const NumericPattern& p, char sep) {
    char buffer[kPlainTextRoom];
    char* end = plainPatternDigits(value, p, sep, buffer);
    if (!end) return std::nullopt;
    return std::string(buffer, end);
}

// Writers format thousands of numbers with the same few patterns: the last
// patterns met are kept parsed, keyed by their text.
const NumericPattern& cachedNumericPattern(std::string_view pattern) {
    struct Entry {
        std::string text;
        NumericPattern parsed;
        bool used = false;
    };
    constexpr std::size_t kEntries = 8;
    thread_local std::array<Entry, kEntries> cache;
    thread_local std::size_t nextVictim = 0;
    for (Entry& e : cache)
        if (e.used && e.text == pattern) return e.parsed;
    Entry& e = cache[nextVictim];
    nextVictim = (nextVictim + 1) % kEntries;
    e.text.assign(pattern);
    e.parsed = parseNumericPattern(e.text);  // its views point into e.text
    e.used = true;
    return e.parsed;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int detectCommaDecimalMode() {
    // The C library's own conversion under the locale the program runs in.
    const auto convertsTo21 = [](const char* text, bool& wholeText) {
        char* end = nullptr;
        errno = 0;
        const float result = std::strtof(text, &end);
        wholeText = errno == 0 && end != text && *end == '\0';
        return result == 2.1f;
    };
    bool whole = false;
    const bool pointGives21 = convertsTo21("2.1", whole);
    if (whole) return pointGives21 ? 0 : 1;
    // "2.1" was not read as a whole number: the locale's separator is not the point.
    const bool commaGives21 = convertsTo21("2,1", whole);
    return commaGives21 ? 1 : 0;
}

namespace {

// from_chars reports a number below the smallest double as out of range,
// as it does one above the largest, and gives no value for either. A raw
// reading of 1E-400 is a zero, not "no number": the C library's conversion,
// in the "C" locale whatever the process's, gives the zero (or the tiny
// value) of an underflow and an infinity, refused by the caller, for an
// overflow.
double outOfRangeValue(const std::string& number) {
    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", nullptr);
    if (cLocale == nullptr) return std::numeric_limits<double>::infinity();
    return strtod_l(number.c_str(), nullptr, cLocale);
}

// The conversion behind both entry points: blanks around the text are
// ignored, and one decimal separator, `sepA` or `sepB`, may stand in it.
std::optional<double> parseNumber(std::string_view text, char sepA, char sepB) {
    if (double quick = 0.0; quickRoads() && chunks::readUsualField(text, sepA, sepB, quick)) return quick;
    // Fields are right-aligned in wide columns: skip blanks eight at a time.
    const char* p = text.data();
    const char* end = p + text.size();
    constexpr std::uint64_t kEightBlanks = 0x2020202020202020ull;
    while (end - p >= 8) {
        std::uint64_t chunk;
        std::memcpy(&chunk, p, 8);
        const std::uint64_t differs = chunk ^ kEightBlanks;
        if (differs == 0) {
            p += 8;
            continue;
        }
        // The lowest differing byte is the first character that is no
        // blank (bytes load lowest first on the little-endian machines this
        // runs on; elsewhere the loop below does the same work).
        if constexpr (std::endian::native == std::endian::little) p += std::countr_zero(differs) / 8;
        break;
    }
    while (p < end && isBlank(*p)) ++p;
    while (end > p && isBlank(end[-1])) --end;

    // The usual file number, [sign] digits [separator digits], read in one
    // pass as a whole number and its decimals.
    {
        const char* q = p;
        bool negative = false;
        if (q < end && (*q == '+' || *q == '-')) negative = *q++ == '-';
        std::uint64_t mantissa = 0;
        int digitCount = 0;
        int decimals = 0;
        for (; q < end; ++q) {
            const auto digit = static_cast<unsigned>(*q - '0');
            if (digit >= 10) break;
            mantissa = mantissa * 10 + digit;
            ++digitCount;
        }
        if (q < end && (*q == sepA || *q == sepB)) {
            for (++q; q < end; ++q) {
                const auto digit = static_cast<unsigned>(*q - '0');
                if (digit >= 10) break;
                mantissa = mantissa * 10 + digit;
                ++decimals;
            }
            digitCount += decimals;
        }
        if (q == end && digitCount > 0 && digitCount <= 18 && mantissa <= (1ull << 53) && decimals <= 22)
            return chunks::numberOfDigits(mantissa, decimals, negative);
    }
    text = std::string_view(p, static_cast<std::size_t>(end - p));

    // Anything else is checked by hand, so that exactly one separator is
    // accepted, and converted by from_chars.
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t separatorAt = std::string_view::npos;
    int digitCount = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            ++digitCount;
        } else if ((c == sepA || c == sepB) && separatorAt == std::string_view::npos) {
            separatorAt = i;
        } else {
            break;
        }
    }
    if (digitCount == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        bool exponentDigit = false;
        for (; i < text.size() && isDigit(text[i]); ++i) exponentDigit = true;
        if (!exponentDigit) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;

    // The rest goes to std::from_chars, which reads '.' whatever the process
    // locale is: a copy with the separator made a point, without a '+'.
    std::string number(text.substr(text[0] == '+' ? 1 : 0));
    if (separatorAt != std::string_view::npos) number[separatorAt - (text[0] == '+' ? 1 : 0)] = '.';
    double value = 0.0;
    const char* first = number.data();
    const char* last = first + number.size();
    const auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range && result.ptr == last)
        value = outOfRangeValue(number);
    else if (result.ec != std::errc{} || result.ptr != last)
        return std::nullopt;
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace

std::optional<double> localeTextToNumber(std::string_view text, char sep) { return parseNumber(text, sep, sep); }

// Swapping the first separator of the other kind and then reading with the
// expected one accepts exactly the texts with at most one separator of
// either kind, at the same place: so both are accepted here, no copy made.
std::optional<double> textToNumberOf(std::string_view text, int /*commaDecimalMode*/) {
    return parseNumber(text, '.', ',');
}

std::optional<double> textToNumber(std::string& text, int commaDecimalMode) {
    const char expected = decimalSeparator(commaDecimalMode);
    const char other = commaDecimalMode ? '.' : ',';
    // Only the first one: a text with two separators stays unreadable.
    const std::size_t at = text.find(other);
    if (at != std::string::npos) text[at] = expected;
    return localeTextToNumber(text, expected);
}

std::string formatPattern(double value, std::string_view pattern, char sep) {
    if (pattern.find('@') != std::string_view::npos)
        return formatPattern(numberText(static_cast<float>(value), sep), pattern);
    const NumericPattern& p = cachedNumericPattern(pattern);
    if (!p.hasPlaceholder) return generalNumberText(static_cast<float>(value), sep);
    if (!std::isfinite(value)) return nonFiniteText(value);

    if (auto quick = plainPatternText(value, p, sep)) return *quick;
    const DecimalDigits d = roundedDigits(std::fabs(value), p.decimals);

    std::string out(p.prefix);
    if (value < 0) out += '-';
    const int integerDigits = std::max(d.intDigits, p.minIntegerDigits);
    for (int power = integerDigits - 1; power >= 0; --power) out += d.digitAt(power);

    int decimals = p.decimals;
    while (decimals > p.fixedDecimals && d.digitAt(-decimals) == '0') --decimals;
    // The point goes with its decimals: "#.##" writes 3 as 3, not as "3.".
    if (p.hasPoint && decimals > 0) out += sep;
    for (int power = -1; power >= -decimals; --power) out += d.digitAt(power);
    out.append(p.suffix);
    return out;
}

std::string formatPattern(std::string_view text, std::string_view pattern) {
    std::string out;
    appendFormatPattern(out, text, pattern);
    return out;
}

void appendFormatPattern(std::string& out, std::string_view text, std::string_view pattern) {
    std::size_t width = 0;
    for (const char c : pattern)
        if (c == '@') ++width;
    appendRightAligned(out, text, width);
}

void appendFormatPattern(std::string& out, double value, std::string_view pattern, char sep, std::size_t width) {
    appendFormatPattern(out, value, cachedNumericPattern(pattern), sep, width);
}

void appendFormatPattern(std::string& out, double value, const NumericPattern& pattern, char sep, std::size_t width) {
    if (std::isfinite(value)) {
        char buffer[kPlainTextRoom];
        if (char* end = plainPatternDigits(value, pattern, sep, buffer)) {
            appendRightAligned(out, std::string_view(buffer, static_cast<std::size_t>(end - buffer)), width);
            return;
        }
    }
    appendRightAligned(out, formatPattern(value, pattern.text, sep), width);
}

// n / 10^decimals. Each divisor a constant, so that the compiler multiplies
// instead of dividing: a division would be the dearest step of a field.
inline std::uint64_t dividedByScale(std::uint64_t n, int decimals) {
    switch (decimals) {
        case 0: return n;
        case 1: return n / 10;
        case 2: return n / 100;
        case 3: return n / 1000;
        case 4: return n / 10000;
        case 5: return n / 100000;
        case 6: return n / 1000000;
        case 7: return n / 10000000;
        case 8: return n / 100000000;
        default: return n / 1000000000;
    }
}

bool putPlainField(char* fieldEnd, std::size_t width, double value, const NumericPattern& p, char sep) {
    static constexpr std::uint64_t kScale[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};
    std::uint64_t n = 0;
    if (!quickRoads() || width > kFieldRoom || p.minIntegerDigits > 12 || !plainScaled(value, p, n)) return false;
    const std::uint64_t whole = dividedByScale(n, p.decimals);
    // With at most 12 integer digits the text (a sign, the digits, a
    // separator and 9 decimals) stays within the room before the field end.
    if (whole >= 1000000000000ull) return false;
    // The digits go straight into the blanked room, backwards; a scratch
    // copy would stall on reading back what was just written.
    static constexpr char kBlankRoom[kFieldRoom + 1] = "                        ";
    std::memcpy(fieldEnd - kFieldRoom, kBlankRoom, kFieldRoom);
    char* first = fieldEnd;
    // The fraction's digits, with its leading zeros, two a step.
    auto fraction = static_cast<std::uint32_t>(n - whole * kScale[p.decimals]);
    for (int i = p.decimals; i >= 2; i -= 2, fraction /= 100) {
        first -= 2;
        first[0] = static_cast<char>('0' + fraction % 100 / 10);
        first[1] = static_cast<char>('0' + fraction % 10);
    }
    if (p.decimals % 2 != 0) *--first = static_cast<char>('0' + fraction);
    if (p.hasPoint && p.decimals > 0) *--first = sep;
    const char* const point = first;
    first = digitsBackward(whole, first);
    while (point - first < p.minIntegerDigits) *--first = '0';
    // The same sign rule as plainPatternDigits.
    if (value < 0) *--first = '-';
    return static_cast<std::size_t>(fieldEnd - first) <= width;
}

void appendRightAligned(std::string& out, std::string_view text, std::size_t width) {
    if (text.size() < width) out.append(width - text.size(), ' ');
    out.append(text);
}

std::string shortestNumberText(float value) {
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (ec != std::errc()) return nonFiniteText(value);
    return std::string(buffer, end);
}

std::string numberText(float value, char sep) {
    const double v = value;
    if (!std::isfinite(v)) return nonFiniteText(v);
    std::string out = v < 0 ? "-" : "";
    out += sevenDigitText(std::fabs(v), sep, true);
    return out;
}

std::string numberText(int value) {
    std::array<char, 16> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string plainNumberText(double value) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    std::string out = value < 0 ? "-" : " ";
    out += sevenDigitText(std::fabs(value), '.', false);
    return out;
}

std::string generalNumberText(float value, char sep) { return numberText(value, sep); }

bool checkForValidEntry(std::string_view text, int commaDecimalMode) {
    if (text.empty()) return false;
    const unsigned char sep = static_cast<unsigned char>(decimalSeparator(commaDecimalMode));
    bool valid = true;
    for (std::size_t p = 0; p < text.size(); ++p) {
        const auto code = static_cast<unsigned char>(text[p]);
        if (code > '9') valid = false;
        else if (code < '0' && code != sep && !(p == 0 && code == '-')) valid = false;
    }
    return valid;
}

void printLine(std::string& out, std::initializer_list<std::string_view> items, bool endLine) {
    for (const std::string_view item : items) out.append(item);
    if (endLine) out.append("\r\n");
}

}  // namespace qm
