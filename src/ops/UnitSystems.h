#pragma once
// The five unit systems of the analog CPT data format and the unit each one
// selects for the tip (channel 1), sleeve (channel 2) and pore-pressure
// (channel 3) channels. Picking a system changes the channels' units at once,
// through the same unit change as the unit boxes of the readings page.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/ChannelTypeTable.h"
#include "model/Sounding.h"
#include "ops/OpResult.h"

namespace qm {

// The texts of the export panel (frmExportData).
constexpr std::string_view kExportPanelCaption = "EXPORT DATA";
constexpr std::string_view kExportPanelInstruction =
    "To export digital cone data to old *.cpd file format, select the desired units and press OK.";
constexpr std::string_view kExportPanelNote =
    "NOTE: The channel units will revert to the default units for the selected analog format.";
// The save dialog's filter for the analog file.
constexpr std::string_view kAnalogFileFilter = "Analog CPT data (*.cpd)|*.cpd";

enum class UnitSystem { English, MetricAbsKpa, MetricAbsBar, MetricWtKsc, MetricWtBar };

constexpr int kUnitSystemCount = 5;

struct UnitSystemRow {
    UnitSystem system;
    std::string_view optionName;  // objectName of its option button
    std::string_view caption;     // caption of the option button
    std::string_view label;       // the label beside it
    // UnitSystemName, as Windows-1252 bytes: the two kgf names end in 0xFD,
    // which the old analog readers show as a superscript two.
    std::string_view name;
    std::string_view tipUnit, sleeveUnit, poreUnit;  // channels 1, 2, 3
    std::string_view cliName;                         // --system value of the batch tool
};

// The rows in the order of the panel's option buttons.
const std::array<UnitSystemRow, kUnitSystemCount>& unitSystemRows();
const UnitSystemRow& unitSystemRow(UnitSystem system);
std::optional<UnitSystem> unitSystemFromCliName(std::string_view cliName);

// One selection the option click makes: unit `unitIndex` (1-based position
// in the channel's unit list) for channel `channel`.
struct UnitPick {
    int channel = 0;
    int unitIndex = 0;
};

// What an option click selects: channels 1 and 2 always, channel 3 only when
// it is a pore-pressure channel (type 3). The unit is found by its exact name,
// the last of duplicate entries winning; a channel whose list lacks the unit
// gets no pick and keeps its unit. The window selects each pick in the
// channel's unit box, whose handler runs the unit change.
std::vector<UnitPick> unitPicksFor(const Sounding& s, const ChannelTypeTable& table, UnitSystem system);

// The option click without a window: runs the unit change for every pick.
// A unit change that the table refuses (a factor of 0) leaves that channel
// as it was and adds its message; the others still change.
OpResult selectUnitSystem(Sounding& s, const ChannelTypeTable& table, UnitSystem system);

}  // namespace qm
