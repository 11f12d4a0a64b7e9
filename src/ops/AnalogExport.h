#pragma once
// The analog CPT data file (.cpd): two header lines, then one fixed-width
// line per reading with the depth and up to five channel columns, numbers
// in the patterns of the chosen unit system. The channel values are written
// in the units they stand in; choosing the unit system (UnitSystems.h) is
// what puts them into that system's units.

#include <array>
#include <cstdint>
#include <string>

#include "model/Sounding.h"
#include "ops/OpResult.h"
#include "ops/UnitSystems.h"

namespace qm {

// The header texts as the main window's boxes hold them; edits made there
// reach the file.
struct AnalogHeaderTexts {
    std::string dateAndTime;       // txtDateandTime
    std::string operatorName;      // txtOperator
    std::string location;          // txtLocation
    std::string coneNumber;        // txtConeNumber
    std::string jobNumber;         // txtJobNumber
    std::string waterTableDepth;   // txtWaterTableDepth
};

// The texts the boxes hold right after a load (the batch tool has no boxes).
AnalogHeaderTexts headerTextsOf(const Sounding& s);

struct AnalogExportRequest {
    UnitSystem system = UnitSystem::English;
    // The chosen file's name without its folder, as the save dialog gives it.
    std::string fileTitle;
    AnalogHeaderTexts texts;
    bool depthInFeet = false;  // the readings page's depth unit
    char sep = '.';            // the system's decimal separator
};

constexpr int kMaxAnalogColumns = 5;

// The columns that line 2's codes describe. Column numbers advance after
// every code but the temperature code, so resultantColumn and
// temperatureColumn follow that count; columnChannel[k] is the channel that
// wrote the k-th code.
struct AnalogColumns {
    std::string codes;  // three characters per coded channel
    int16_t columnCount = 0;
    int16_t resultantColumn = 0;
    int16_t temperatureColumn = 0;
    int temperatureChannel = 0;  // the type-10 channel, 0 when there is none
    std::array<int, kMaxAnalogColumns + 1> columnChannel{};
};

AnalogColumns analogColumnsOf(const Sounding& s);

// The whole file as bytes into `bytes`. Fails, writing nothing into `bytes`,
// when the water table text is neither empty nor a number.
OpResult analogFileText(const Sounding& s, const AnalogExportRequest& request, std::string& bytes);

// OK of the export panel once a file is chosen: builds the file and writes
// it through a temporary file renamed into place. An existing file is
// replaced; on any failure it stays as it was and the message says why.
// No message on success.
OpResult exportAnalogFile(const Sounding& s, const std::string& path, const AnalogExportRequest& request);

}  // namespace qm
