#pragma once
// Field-by-field comparison of two Soundings, floats bit for bit.

#include <string>

#include "model/Sounding.h"

namespace qm::test {

struct CompareOptions {
    bool versionLine = true;
    bool rawReadings = true;
    bool values = true;  // engineering values, drifts and page depths
};

// The first field in which the two differ, described; empty when they agree.
std::string soundingDifference(const Sounding& a, const Sounding& b, CompareOptions options = {});

}  // namespace qm::test
