#pragma once
// Number text in both directions. Every number the program reads from a file
// or a box, and every number it writes, goes through here; no other code
// formats or parses numbers. Each function takes the decimal separator (or
// the decimal mode it follows from) as a parameter, so the window, the batch
// tool and the tests always agree.

#include <atomic>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

// 0: the C library's locale reads "2.1" as 2.1 (point). 1: it does not (comma).
// Call after setlocale(LC_ALL, "").
int detectCommaDecimalMode();

inline char decimalSeparator(int commaDecimalMode) { return commaDecimalMode ? ',' : '.'; }

// The quick roads (the usual field read eight characters at a time, plain
// patterns written without the general digit rounding, whole rows put
// together at once) give exactly what the general roads give. The tests run
// their cases a second time with them off, so that a fault in either road
// shows.
inline std::atomic<bool> quickRoadsOn{true};
inline bool quickRoads() { return quickRoadsOn.load(std::memory_order_relaxed); }

// The locale-aware conversion of text to number: leading and trailing blanks
// are ignored, `sep` is the only decimal separator accepted, an optional sign
// and an exponent (1E-05) are allowed. Empty or non-numeric text gives nullopt.
std::optional<double> localeTextToNumber(std::string_view text, char sep);

// Reading numbers from files: swaps the first separator of the other kind
// into the one the locale expects, writes the changed text back into `text`,
// then converts it with localeTextToNumber.
std::optional<double> textToNumber(std::string& text, int commaDecimalMode);
// What textToNumber gives for the text, leaving the text as it is.
std::optional<double> textToNumberOf(std::string_view text, int commaDecimalMode);

// Numeric patterns ("##0.00", "#.00", "000000.000", "0", ...): half away from
// zero, `sep` for the pattern's decimal point. "@" patterns right-align
// NumberText of the value.
std::string formatPattern(double value, std::string_view pattern, char sep);
// "@" patterns applied to a text: right-aligned, never cut.
std::string formatPattern(std::string_view text, std::string_view pattern);
// The same, appended to `out` (the writers build whole files this way).
void appendFormatPattern(std::string& out, std::string_view text, std::string_view pattern);
// A numeric pattern taken apart: literal text around the digit placeholders,
// the minimum of integer digits, and the decimals with how many are always
// written (a '#' after the point drops a trailing zero, a '0' keeps it).
// Its views point into the pattern text, which must outlive it.
struct NumericPattern {
    std::string_view text;
    std::string_view prefix;
    std::string_view suffix;
    int minIntegerDigits = 0;
    int decimals = 0;
    int fixedDecimals = 0;
    bool hasPoint = false;
    bool hasPlaceholder = false;
    // Only the plain kind (no literal text, every decimal written, at most
    // 9 decimals) takes the quick road.
    bool plain = false;
};
NumericPattern parseNumericPattern(std::string_view pattern);

// formatPattern(value, pattern, sep) right-aligned in `width` characters,
// appended to `out` without a text of its own in between: the writers build
// whole files of numbers this way.
void appendFormatPattern(std::string& out, double value, std::string_view pattern, char sep, std::size_t width);
// The same with the pattern taken apart once, before a loop over readings.
void appendFormatPattern(std::string& out, double value, const NumericPattern& pattern, char sep, std::size_t width);
// The quick road of the writers: the same text right-aligned in the `width`
// characters before `fieldEnd`, for a plain pattern ("####0.00000": no
// literal text, every decimal written) when the text fits. It blanks all
// kFieldRoom characters before `fieldEnd`, so a line is put together from
// its last field to its first. False when the value needs the general road
// or its text is wider than `width`; the room is then left in no particular
// state.
constexpr std::size_t kFieldRoom = 24;
bool putPlainField(char* fieldEnd, std::size_t width, double value, const NumericPattern& pattern, char sep);
// The "@" pattern of `width` placeholders, appended to `out`.
void appendRightAligned(std::string& out, std::string_view text, std::size_t width);

// Single to text: 7 significant digits, trailing zeros and separator dropped,
// exponent form (1E-05, 1.234568E+07) below 1E-4 or from 1E7 on.
std::string numberText(float value, char sep);
std::string numberText(int value);
// A blank in place of the sign for values not below zero, "." whatever the
// locale, no 0 before the point: " .05", " 12.5", "-3".
std::string plainNumberText(double value);
// The pattern formatter called without a pattern: the same text as numberText.
std::string generalNumberText(float value, char sep);
// The shortest text with "." that reads back to exactly this float, never in
// exponent form ("0.00001", "100000"): the open-format exports write every
// value so that any reader gets the stored number back.
std::string shortestNumberText(float value);

// The character rule of the cell entry check; accepts 1.2.3, "-" or ".".
bool checkForValidEntry(std::string_view text, int commaDecimalMode);

// Appends the items back to back and, when endLine, CR LF.
void printLine(std::string& out, std::initializer_list<std::string_view> items, bool endLine = true);

}  // namespace qm
