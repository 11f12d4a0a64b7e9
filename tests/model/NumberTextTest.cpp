#include "model/NumberText.h"

#include <gtest/gtest.h>

#include <tuple>

#include <clocale>
#include <limits>
#include <optional>
#include <string>

namespace qm {
namespace {

// ---------------------------------------------------------------- reading

TEST(TextToNumber, PointModeSwapsTheFirstCommaAndWritesItBack) {
    std::string text = "   12,50000";
    EXPECT_EQ(textToNumber(text, 0), 12.5);
    EXPECT_EQ(text, "   12.50000");

    text = "-0.25";
    EXPECT_EQ(textToNumber(text, 0), -0.25);
    EXPECT_EQ(text, "-0.25");
}

TEST(TextToNumber, CommaModeSwapsTheFirstPoint) {
    std::string text = "4.75";
    EXPECT_EQ(textToNumber(text, 1), 4.75);
    EXPECT_EQ(text, "4,75");

    text = "  -0,5 ";
    EXPECT_EQ(textToNumber(text, 1), -0.5);
    EXPECT_EQ(text, "  -0,5 ");
}

TEST(TextToNumber, TextWithoutSeparatorIsUnchangedInBothModes) {
    for (int mode : {0, 1}) {
        std::string noData = "-32768";
        EXPECT_EQ(textToNumber(noData, mode), -32768.0);
        EXPECT_EQ(noData, "-32768");
        std::string big = "100000";
        EXPECT_EQ(textToNumber(big, mode), 100000.0);
        EXPECT_EQ(big, "100000");
    }
}

TEST(TextToNumber, OnlyTheFirstSeparatorIsSwapped) {
    std::string text = "1,2,3";
    EXPECT_EQ(textToNumber(text, 0), std::nullopt);
    EXPECT_EQ(text, "1.2,3");

    text = "1.2.3";
    EXPECT_EQ(textToNumber(text, 1), std::nullopt);
    EXPECT_EQ(text, "1,2.3");

    // A text that already holds both kinds keeps its expected one and still fails.
    text = "1.5,0";
    EXPECT_EQ(textToNumber(text, 0), std::nullopt);
    EXPECT_EQ(text, "1.5.0");
}

TEST(TextToNumber, EmptyAndNonNumericTextsFail) {
    for (int mode : {0, 1}) {
        for (const char* bad : {"", "   ", "abc", "12abc", "-", "1 2"}) {
            std::string text = bad;
            EXPECT_EQ(textToNumber(text, mode), std::nullopt) << '"' << bad << "\" mode " << mode;
        }
    }
}

TEST(LocaleTextToNumber, AcceptsSignsBlanksAndExponents) {
    EXPECT_EQ(localeTextToNumber("12.5", '.'), 12.5);
    EXPECT_EQ(localeTextToNumber(" \t+7\t ", '.'), 7.0);
    EXPECT_EQ(localeTextToNumber("-.5", '.'), -0.5);
    EXPECT_EQ(localeTextToNumber("5.", '.'), 5.0);
    EXPECT_EQ(localeTextToNumber("1E-05", '.'), 1e-5);
    EXPECT_EQ(localeTextToNumber("1,234568E+07", ','), 12345680.0);
    EXPECT_EQ(localeTextToNumber("2e3", '.'), 2000.0);
    EXPECT_EQ(localeTextToNumber("-0,25", ','), -0.25);
    // Below the smallest double is a zero, not "no number".
    EXPECT_EQ(localeTextToNumber("12e-9007199254740994", '.'), 0.0);
    EXPECT_EQ(localeTextToNumber("-1E-400", '.'), 0.0);
    EXPECT_EQ(localeTextToNumber("1000000000000000000000000000000e-500", '.'), 0.0);
    EXPECT_EQ(textToNumberOf("1,5E-400", 0), 0.0);
}

TEST(LocaleTextToNumber, RejectsEverythingElse) {
    for (const char* bad : {"", " ", "+", "-", ".", "+.", "1.2.3", "1,5", "1 .5", "- 1", "1e", "1e+",
                            "e5", "--1", "+-1", "0x10", "inf", "nan", "1.5x", "1e400", "1,2"}) {
        EXPECT_EQ(localeTextToNumber(bad, '.'), std::nullopt) << '"' << bad << '"';
    }
    EXPECT_EQ(localeTextToNumber("1.5", ','), std::nullopt);
    EXPECT_EQ(localeTextToNumber(",", ','), std::nullopt);
}

// RAII switch of the numeric locale; the previous one comes back afterwards.
class NumericLocale {
   public:
    explicit NumericLocale(const char* name) {
        if (const char* current = std::setlocale(LC_NUMERIC, nullptr)) previous_ = current;
        ok_ = std::setlocale(LC_NUMERIC, name) != nullptr;
    }
    ~NumericLocale() { std::setlocale(LC_NUMERIC, previous_.c_str()); }
    NumericLocale(const NumericLocale&) = delete;
    NumericLocale& operator=(const NumericLocale&) = delete;
    bool ok() const { return ok_; }

   private:
    std::string previous_ = "C";
    bool ok_ = false;
};

TEST(DetectCommaDecimalMode, PointLocaleGivesZero) {
    NumericLocale c("C");
    ASSERT_TRUE(c.ok());
    EXPECT_EQ(detectCommaDecimalMode(), 0);
}

TEST(DetectCommaDecimalMode, CommaLocaleGivesOneAndConversionsIgnoreTheLocale) {
    NumericLocale german("de_DE.UTF-8");
    if (!german.ok()) GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
    EXPECT_EQ(detectCommaDecimalMode(), 1);
    // Our own conversions take the separator as a parameter only.
    EXPECT_EQ(localeTextToNumber("2.5", '.'), 2.5);
    EXPECT_EQ(localeTextToNumber("2,5", ','), 2.5);
    EXPECT_EQ(formatPattern(1.25, "##0.000", '.'), "1.250");
    EXPECT_EQ(numberText(1.25f, '.'), "1.25");
    EXPECT_EQ(plainNumberText(1.25), " 1.25");
}

// ---------------------------------------------------------------- patterns

TEST(FormatPattern, DecimalsAndAtLeastTheForcedIntegerDigits) {
    EXPECT_EQ(formatPattern(0.5, "##0.00", '.'), "0.50");
    EXPECT_EQ(formatPattern(0.0, "##0.00", '.'), "0.00");
    EXPECT_EQ(formatPattern(-0.5, "##0.00", '.'), "-0.50");
    EXPECT_EQ(formatPattern(12345.678, "##0.00", '.'), "12345.68");
    EXPECT_EQ(formatPattern(2.0, "##0.000", '.'), "2.000");
    EXPECT_EQ(formatPattern(-32768.0, "##########0.000", '.'), "-32768.000");
    EXPECT_EQ(formatPattern(0.12345, "##0.0000", '.'), "0.1235");
    EXPECT_EQ(formatPattern(-1.5, "####0.00000", '.'), "-1.50000");
    EXPECT_EQ(formatPattern(98.76, "#####0.0", '.'), "98.8");
    EXPECT_EQ(formatPattern(7.0, "0", '.'), "7");
}

TEST(FormatPattern, NoDigitBeforeThePointWithoutAZero) {
    EXPECT_EQ(formatPattern(0.0, "#.00", '.'), ".00");
    EXPECT_EQ(formatPattern(0.5, "#.00", '.'), ".50");
    EXPECT_EQ(formatPattern(0.05f, "#.00", '.'), ".05");
    EXPECT_EQ(formatPattern(0.1f, "#.00", '.'), ".10");
    EXPECT_EQ(formatPattern(12.5, "#.00", '.'), "12.50");
    EXPECT_EQ(formatPattern(-0.5, "##.00", '.'), "-.50");
    EXPECT_EQ(formatPattern(0.999, "##.00", '.'), "1.00");
}

TEST(FormatPattern, ZeroFilledIntegerDigits) {
    EXPECT_EQ(formatPattern(123.5, "000000.000", '.'), "000123.500");
    EXPECT_EQ(formatPattern(0.0, "0000.0000", '.'), "0000.0000");
    EXPECT_EQ(formatPattern(4916.2345, "00000.0000", '.'), "04916.2345");
    EXPECT_EQ(formatPattern(123456.0, "0000.0000", '.'), "123456.0000");
    EXPECT_EQ(formatPattern(5.0, "0##", '.'), "005");
}

TEST(FormatPattern, HalvesRoundAwayFromZeroOnTheStoredValue) {
    EXPECT_EQ(formatPattern(0.125f, "##0.00", '.'), "0.13");
    EXPECT_EQ(formatPattern(-0.125f, "##0.00", '.'), "-0.13");
    EXPECT_EQ(formatPattern(0.375, "##0.00", '.'), "0.38");
    EXPECT_EQ(formatPattern(2.5, "0", '.'), "3");
    EXPECT_EQ(formatPattern(0.5, "0", '.'), "1");
    EXPECT_EQ(formatPattern(-2.5, "0", '.'), "-3");
    EXPECT_EQ(formatPattern(0.0625, "##0.000", '.'), "0.063");
    // Stored a hair below the half: 1.005f is 1.00499999523...
    EXPECT_EQ(formatPattern(1.005f, "##0.00", '.'), "1.00");
    EXPECT_EQ(formatPattern(0.015f, "##0.00", '.'), "0.01");
    // And a hair above: 0.025f is 0.02500000037...
    EXPECT_EQ(formatPattern(0.025f, "##0.00", '.'), "0.03");
    EXPECT_EQ(formatPattern(9.995, "##0.00", '.'), "9.99");  // the double is below 9.995
    EXPECT_EQ(formatPattern(99.9996, "##0.000", '.'), "100.000");
    EXPECT_EQ(formatPattern(0.00005, "#.0000", '.'), ".0001");
}

TEST(FormatPattern, ValuesBelowZeroKeepTheirSignWhenTheyRoundToZeros) {
    for (auto [value, pattern, text] : {std::tuple{-0.004, "##0.00", "-0.00"}, {-0.004, "#.00", "-.00"},
                                        {-0.004, "0", "-0"}, {-0.0004, "000000.000", "-000000.000"},
                                        {-0.0, "##0.00", "0.00"}, {-0.005, "##0.00", "-0.01"},
                                        {-0.0000001, "####0.00000", "-0.00000"}}) {
        EXPECT_EQ(formatPattern(value, pattern, '.'), text) << value << " " << pattern;
        std::string fixed;
        appendFormatPattern(fixed, value, pattern, '.', 12);
        EXPECT_EQ(fixed, formatPattern(formatPattern(value, pattern, '.'), "@@@@@@@@@@@@"));
    }
}

TEST(FormatPattern, OptionalDecimalsDropTrailingZeros) {
    EXPECT_EQ(formatPattern(1.5, "0.0#", '.'), "1.5");
    EXPECT_EQ(formatPattern(1.25, "0.0#", '.'), "1.25");
    EXPECT_EQ(formatPattern(3.0, "#.##", '.'), "3");
    EXPECT_EQ(formatPattern(3.10, "0.##", ','), "3,1");
    EXPECT_EQ(formatPattern(1234.0, "#,##0", '.'), "1234");
}

TEST(FormatPattern, CommaSeparatorReplacesThePoint) {
    EXPECT_EQ(formatPattern(1.25, "##0.000", ','), "1,250");
    EXPECT_EQ(formatPattern(0.05f, "#.00", ','), ",05");
    EXPECT_EQ(formatPattern(-32768.0, "####0.00000", ','), "-32768,00000");
}

TEST(FormatPattern, AtFieldsRightAlignAndNeverCut) {
    EXPECT_EQ(formatPattern(std::string_view("12.5"), "@@@@@@"), "  12.5");
    EXPECT_EQ(formatPattern(std::string_view("-32768"), "@@@@@@@@@@@@@@@@@@@@"),
              "              -32768");
    EXPECT_EQ(formatPattern(std::string_view("1234567890"), "@@@@@@"), "1234567890");
    EXPECT_EQ(formatPattern(std::string_view(""), "@@@"), "   ");
    // A number in an "@" field is first written by NumberText.
    EXPECT_EQ(formatPattern(12.5, "@@@@@@", ','), "  12,5");
    EXPECT_EQ(formatPattern(0.00001, "@@@@@@@@", '.'), "   1E-05");
}

TEST(FormatPattern, OddInputsDoNotBreakIt) {
    EXPECT_EQ(formatPattern(2.5, "", '.'), "2.5");
    EXPECT_EQ(formatPattern(1e300, "0", '.').size(), 301u);
    EXPECT_EQ(formatPattern(4.9e-324, "0.00", '.'), "0.00");
    EXPECT_EQ(formatPattern(std::numeric_limits<double>::infinity(), "##0.00", '.'), "Inf");
    EXPECT_EQ(formatPattern(3.0, "0.00 m", '.'), "3.00 m");
}

// ---------------------------------------------------------------- number text

TEST(NumberText, SevenSignificantDigitsTrimmed) {
    EXPECT_EQ(numberText(1.2345678f, '.'), "1.234568");
    EXPECT_EQ(numberText(1.45f, '.'), "1.45");
    EXPECT_EQ(numberText(0.1f, '.'), "0.1");
    EXPECT_EQ(numberText(0.5f, '.'), "0.5");
    EXPECT_EQ(numberText(-0.25f, '.'), "-0.25");
    EXPECT_EQ(numberText(100000.f, '.'), "100000");
    EXPECT_EQ(numberText(9999999.f, '.'), "9999999");
    EXPECT_EQ(numberText(-32768.f, '.'), "-32768");
    EXPECT_EQ(numberText(0.f, '.'), "0");
    EXPECT_EQ(numberText(-0.f, '.'), "0");
    EXPECT_EQ(numberText(7.5f, '.'), "7.5");
    EXPECT_EQ(numberText(1.25f, ','), "1,25");
    EXPECT_EQ(numberText(0.0001f, '.'), "0.0001");
}

TEST(NumberText, ExponentFormOutsideTheFixedRange) {
    EXPECT_EQ(numberText(0.00001f, '.'), "1E-05");
    EXPECT_EQ(numberText(0.000012345f, ','), "1,2345E-05");
    EXPECT_EQ(numberText(12345678.f, '.'), "1.234568E+07");
    EXPECT_EQ(numberText(10000000.f, '.'), "1E+07");
    EXPECT_EQ(numberText(-1.5e8f, '.'), "-1.5E+08");
    EXPECT_EQ(numberText(3.0e38f, '.'), "3E+38");
    EXPECT_EQ(numberText(1e-40f, '.'), "9.999946E-41");  // the nearest float below 1E-40
}

TEST(NumberText, IntegersAsDigits) {
    EXPECT_EQ(numberText(0), "0");
    EXPECT_EQ(numberText(-32768), "-32768");
    EXPECT_EQ(numberText(2147483647), "2147483647");
    EXPECT_EQ(generalNumberText(7.5f, ','), "7,5");
}

TEST(PlainNumberText, SignPositionPointAndNoLeadingZero) {
    EXPECT_EQ(plainNumberText(0.05), " .05");
    EXPECT_EQ(plainNumberText(12.5), " 12.5");
    EXPECT_EQ(plainNumberText(7), " 7");
    EXPECT_EQ(plainNumberText(-3), "-3");
    EXPECT_EQ(plainNumberText(-0.5), "-.5");
    EXPECT_EQ(plainNumberText(0), " 0");
    EXPECT_EQ(plainNumberText(1.25), " 1.25");
    // At most 7 significant digits, as for a Single.
    EXPECT_EQ(plainNumberText(68.123456789), " 68.12346");
    EXPECT_EQ(plainNumberText(static_cast<double>(0.1f)), " .1");
    EXPECT_EQ(plainNumberText(10000), " 10000");
    // Rounding to 7 digits can move a value into exponent form.
    EXPECT_EQ(plainNumberText(9999999.5), " 1E+07");
}

// ---------------------------------------------------------------- entry check

TEST(CheckForValidEntry, PointMode) {
    for (const char* ok : {"12.5", "-0.3", ".5", "007", "1.2.3", "-", ".", "-."})
        EXPECT_TRUE(checkForValidEntry(ok, 0)) << ok;
    for (const char* bad : {"", "1,5", "+1", "1e3", "5-", " 1", "1 ", "abc", "1/2", "\xb2"})
        EXPECT_FALSE(checkForValidEntry(bad, 0)) << bad;
}

TEST(CheckForValidEntry, CommaMode) {
    for (const char* ok : {"12,5", "-0,3", ",5", "-"}) EXPECT_TRUE(checkForValidEntry(ok, 1)) << ok;
    for (const char* bad : {"", "12.5", "+1", "1-", ":"}) EXPECT_FALSE(checkForValidEntry(bad, 1)) << bad;
}

// ---------------------------------------------------------------- lines

TEST(PrintLine, ItemsBackToBackThenCrLf) {
    std::string out;
    printLine(out, {"  1.00", "   12.50", "x"});
    printLine(out, {});
    printLine(out, {"a", "b"}, false);
    printLine(out, {"c"});
    EXPECT_EQ(out, "  1.00   12.50x\r\n\r\nabc\r\n");
}

}  // namespace
}  // namespace qm
