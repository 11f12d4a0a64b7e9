#pragma once
// The header text boxes: their objectNames, captions and the Sounding field
// each shows after a load and is saved from.

#include <array>
#include <string>

#include "model/Sounding.h"

namespace qm::ui {

struct HeaderBox {
    const char* objectName;
    const char* caption;
    std::string Sounding::*field;
};

// In the order of their lines in the sounding file.
inline const std::array<HeaderBox, 11>& headerBoxes() {
    static const std::array<HeaderBox, 11> boxes = {{
        {"txtCompanyName", "Company Name", &Sounding::companyName},
        {"txtOperator", "Operator", &Sounding::operatorName},
        {"txtConeNumber", "Cone Number", &Sounding::coneNumber},
        {"txtLocation", "Location", &Sounding::location},
        {"txtJobNumber", "Job Number", &Sounding::jobNumber},
        {"txtHoleNumber", "Hole Number", &Sounding::holeNumber},
        {"txtDateandTime", "Date and Time", &Sounding::dateAndTime},
        {"txtHeader", "Header", &Sounding::header},
        {"txtFootnote1", "Footnote 1", &Sounding::footnote1},
        {"txtFootnote2", "Footnote 2", &Sounding::footnote2},
        {"txtWaterTableDepth", "Water Table Depth", &Sounding::waterTableDepth},
    }};
    return boxes;
}

}  // namespace qm::ui
