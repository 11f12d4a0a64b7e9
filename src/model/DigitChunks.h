#pragma once
// Eight characters at a time: the quick road of number text reads the usual
// file numbers as 64-bit chunks of eight characters (the first character in
// the lowest byte), without a branch per digit. Reading a sounding of
// 10000 x 10 numbers turns on this.

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace qm::chunks {

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHigh = 0x8080808080808080ull;
constexpr std::uint64_t kZeros = 0x3030303030303030ull;  // "00000000"
constexpr std::uint64_t kBlanks = 0x2020202020202020ull;

// The first character in the lowest byte, on any machine.
inline std::uint64_t load(const char* p) {
    std::uint64_t chunk = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&chunk, p, 8);
    } else {
        for (int i = 0; i < 8; ++i) chunk |= std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
    }
    return chunk;
}
// How many characters of the chunk come before the first that differs
// from the eight of `same`; 8 when none does.
inline int leadingRun(std::uint64_t chunk, std::uint64_t same) {
    const std::uint64_t differs = chunk ^ same;
    return differs ? std::countr_zero(differs) / 8 : 8;
}

// 0x80 in every byte of the chunk that equals `c`, and nowhere else.
inline std::uint64_t bytesEqual(std::uint64_t chunk, char c) {
    const std::uint64_t x = chunk ^ (kOnes * static_cast<unsigned char>(c));
    return ~(((x & ~kHigh) + ~kHigh) | x) & kHigh;
}

inline bool allDigits(std::uint64_t chunk) {
    return ((chunk & 0xF0F0F0F0F0F0F0F0ull) | (((chunk + 0x0606060606060606ull) & 0xF0F0F0F0F0F0F0F0ull) >> 4)) ==
           0x3333333333333333ull;
}

// The number that eight digits stand for.
inline std::uint32_t valueOf(std::uint64_t chunk) {
    chunk -= kZeros;
    chunk = chunk * 10 + (chunk >> 8);  // pairs of digits in every other byte
    chunk = ((chunk & 0x000000FF000000FFull) * 0x000F424000000064ull +
             ((chunk >> 16) & 0x000000FF000000FFull) * 0x0000271000000001ull) >> 32;
    return static_cast<std::uint32_t>(chunk);
}

// The `count` (0 to 8) characters before `end` as a number, when they are
// all digits; the 8 characters before `end` must be readable.
inline bool digitsBefore(const char* end, int count, std::uint32_t& value) {
    const std::uint64_t keep = count == 0 ? 0 : ~0ull << (8 * (8 - count));
    const std::uint64_t chunk = (load(end - 8) & keep) | (kZeros & ~keep);
    if (!allDigits(chunk)) return false;
    value = valueOf(chunk);
    return true;
}

// With at most 18 digits the mantissa cannot overflow; up to 2^53 with at
// most 22 decimals, mantissa and power of ten are both exact doubles, so one
// division gives the correctly rounded value, as from_chars would.
inline double numberOfDigits(std::uint64_t mantissa, int decimals, bool negative) {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                         1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const double magnitude = static_cast<double>(mantissa) / kPowers[decimals];
    return negative ? -magnitude : magnitude;
}

// The quick road for the field of a file as the writers leave it: blanks,
// an optional sign, up to 8 digits, and a separator with up to 7 decimals
// at the end. Read eight characters at a time, without a branch per digit.
// False, and nothing read, for anything else: the general road decides.
inline bool readUsualField(std::string_view text, char sepA, char sepB, double& value) {
    // Every load below lies within the 16 characters before the end.
    char padded[16];
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (text.size() < 16) {
        if (text.empty()) return false;
        std::memset(padded, ' ', sizeof padded);
        std::memcpy(padded + 16 - text.size(), begin, text.size());
        begin = padded;
        end = padded + 16;
    }
    if (end[-1] == ' ') return false;
    const char* p = begin;
    for (int run = 8; run == 8 && end - p >= 8; p += run) run = leadingRun(load(p), kBlanks);
    while (*p == ' ') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';

    // The last separator among the last 8 characters; any other one ends
    // up among the digits before it and fails their check.
    const std::uint64_t tail = load(end - 8);
    const std::uint64_t separators = bytesEqual(tail, sepA) | bytesEqual(tail, sepB);
    const char* separator = separators ? end - 8 + (63 - std::countl_zero(separators)) / 8 : end;
    const auto wholeCount = static_cast<int>(separator - p);
    const int decimals = separators ? static_cast<int>(end - separator) - 1 : 0;
    if (wholeCount < 0 || wholeCount > 8 || wholeCount + decimals == 0) return false;
    std::uint32_t whole = 0, fraction = 0;
    if (!digitsBefore(separator, wholeCount, whole) || !digitsBefore(end, decimals, fraction)) return false;
    static constexpr std::uint32_t kScale[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
    value = numberOfDigits(std::uint64_t{whole} * kScale[decimals] + fraction, decimals, negative);
    return true;
}

}  // namespace qm::chunks
