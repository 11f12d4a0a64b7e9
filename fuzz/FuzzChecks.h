#pragma once
// The checks behind the fuzz targets. Each takes one input of arbitrary
// bytes, runs it through a reader or a conversion of the program, and checks
// more than "no crash": what the code promises about its result. A broken
// promise throws PropertyFailure, which the fuzzer reports as a crash and the
// regression test as a failure, naming what was broken.
//
// The same functions run in two places: under libFuzzer (fuzz/FuzzMain.cpp,
// built with clang) and in the ordinary test suite, which replays every kept
// input of fuzz/regressions/ and fuzz/seeds/ with any compiler.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"

namespace qm::fuzz {

struct PropertyFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A sounding file as File > Open reads it; an accepted file must save and
// load back to the same sounding, a refused one must leave it untouched.
void checkSoundingReader(const std::uint8_t* data, std::size_t size);
// The second file of a combine against an open sample sounding; an accepted
// file is appended and the result must still save and load back.
void checkSecondFileReader(const std::uint8_t* data, std::size_t size);
// One channel type table file; every unit it yields must format numbers.
void checkChannelTable(const std::uint8_t* data, std::size_t size);
// The number conversions of files and boxes, against a plain reference.
void checkTextToNumber(const std::uint8_t* data, std::size_t size);
// A text typed into a page cell and committed with Enter.
void checkCellEntry(const std::uint8_t* data, std::size_t size);
// A GPS sentence decoded, shown in the dialog and built again.
void checkGpsSentence(const std::uint8_t* data, std::size_t size);
// The dialog's lenient leading-number scan.
void checkLeadingNumber(const std::uint8_t* data, std::size_t size);
// A GEF-CPT file as File > Open reads it.
void checkGefReader(const std::uint8_t* data, std::size_t size);
// Each test of an AGS4 file as File > Open reads it.
void checkAgsReader(const std::uint8_t* data, std::size_t size);

// The checks by name, as the fuzz targets and the regression folders are
// called; nullptr for an unknown name.
using Check = void (*)(const std::uint8_t*, std::size_t);
Check checkNamed(const std::string& name);

// What the checks share: the shipped tables and the data folder of the
// source tree, and the failure helpers.
const ChannelTypeTable& shippedTables();
const std::string& dataFolder();
[[noreturn]] void fail(const std::string& what);
inline void require(bool holds, const std::string& what) {
    if (!holds) fail(what);
}
inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Counts, channel descriptions and the cursor of a loaded sounding are
// within what the arrays and the page hold.
void requireWithinCapacities(const Sounding& s, const std::string& where);

// Saves `s` (when its layout allows) and loads the bytes back: the file must
// be accepted, and hold the same readings, texts and channels, the values to
// within the rounding of the raw readings' five decimals.
void requireSaveLoadsBack(const Sounding& s, int commaDecimalMode, const std::string& where);

}  // namespace qm::fuzz
