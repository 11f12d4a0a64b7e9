#include "ops/TrackLabels.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <sstream>

namespace qm {

namespace {

struct Spelling {
    const char* table;
    const char* written;
};

// Upper-case table names; UTF-8 spellings.
constexpr Spelling kSpellings[] = {
    {"KPA", "kPa"},         {"MPA", "MPa"},           {"PA", "Pa"},          {"BAR", "bar"},
    {"MBAR", "mbar"},       {"TSF", "tsf"},           {"PSI", "psi"},        {"KSF", "ksf"},
    {"KSC", "kg/cm\xC2\xB2"}, {"T/M2", "t/m\xC2\xB2"}, {"MH2O", "m H\xE2\x82\x82O"},
    {"FTH2O", "ft H\xE2\x82\x82O"}, {"DEG", "deg"},  {"DEGC", "\xC2\xB0" "C"}, {"DEGF", "\xC2\xB0" "F"},
    {"GON", "gon"},         {"RAD", "rad"},           {"M/S", "m/s"},        {"FT/S", "ft/s"},
    {"KN", "kN"},           {"KIP", "kip"},           {"LBF", "lbf"},        {"TONF", "tonf"},
    {"CPS", "cps"},         {"CPM", "cpm"},           {"MV", "mV"},          {"V", "V"},
    {"NT", "nT"},           {"UT", "\xC2\xB5T"},      {"GAMMA", "gamma"},    {"OHM-M", "\xCE\xA9\xC2\xB7m"},
    {"OHM-FT", "\xCE\xA9\xC2\xB7" "ft"}, {"MS/M", "mS/m"}, {"MS/CM", "mS/cm"}, {"US/CM", "\xC2\xB5S/cm"},
    {"S/M", "S/m"},         {"M3/M3", "m\xC2\xB3/m\xC2\xB3"}, {"RATIO", "ratio"}, {"%", "%"},
    {"%RE", "% RE"},        {"M", "m"},               {"FT", "ft"},          {"CM/S", "cm/s"},
};

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool vowel(char c) { return std::strchr("AEIOUYaeiouy", c) != nullptr && c != 0; }

std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

std::string joinWords(const std::vector<std::string>& w, std::size_t from, std::size_t to) {
    std::string out;
    for (std::size_t i = from; i < to; ++i) out += (i > from ? " " : "") + w[i];
    return out;
}

// One or two lines of `w` that fit, or nothing.
std::vector<std::string> fitted(const std::vector<std::string>& w, double width,
                                const std::function<double(const std::string&)>& measure) {
    const std::string whole = joinWords(w, 0, w.size());
    if (measure(whole) <= width) return {whole};
    std::vector<std::string> best;
    double bestWidest = 0.0;
    for (std::size_t cut = 1; cut < w.size(); ++cut) {
        const std::string first = joinWords(w, 0, cut), second = joinWords(w, cut, w.size());
        const double widest = std::max(measure(first), measure(second));
        if (widest <= width && (best.empty() || widest < bestWidest)) {
            best = {first, second};
            bestWidest = widest;
        }
    }
    return best;
}

}  // namespace

std::string unitSpelling(const std::string& tableName) {
    const std::string key = upper(tableName);
    for (const Spelling& s : kSpellings)
        if (key == s.table) return s.written;
    return tableName;
}

std::vector<std::string> titleLines(const std::string& title, double width,
                                    const std::function<double(const std::string&)>& measure) {
    std::vector<std::string> w = words(title);
    const std::vector<std::string> original = w;
    if (w.empty()) return {};
    for (;;) {
        std::vector<std::string> lines = fitted(w, width, measure);
        if (!lines.empty()) return lines;
        // The longest word that can still lose a letter gives one up.
        std::size_t longest = w.size();
        for (std::size_t i = 0; i < w.size(); ++i) {
            const bool shortened = w[i].back() == '.';
            const std::size_t letters = w[i].size() - (shortened ? 1 : 0);
            if (letters <= 1) continue;
            if (longest == w.size() || measure(w[i]) > measure(w[longest])) longest = i;
        }
        if (longest == w.size()) {
            // One letter a word and still too wide: as few lines as can be.
            const std::string whole = joinWords(w, 0, w.size());
            if (w.size() == 1) return {whole};
            const std::size_t half = (w.size() + 1) / 2;
            return {joinWords(w, 0, half), joinWords(w, half, w.size())};
        }
        std::string& word = w[longest];
        const std::string& whole = original[longest];
        const bool shortened = word.back() == '.';
        const std::size_t letters = word.size() - (shortened ? 1 : 0);
        // Cut before a vowel that follows a consonant (TEMP., RESIST.,
        // PRESS.), else just one letter shorter.
        std::size_t keep = letters - 1;
        for (std::size_t k = letters - 1; k >= 2; --k)
            if (vowel(whole[k]) && !vowel(whole[k - 1])) {
                keep = k;
                break;
            }
        word = whole.substr(0, keep) + ".";
    }
}

}  // namespace qm
