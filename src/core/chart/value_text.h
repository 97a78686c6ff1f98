// The chart's value as assistive technology reads it: the visible ranges of both axes
// and the number of points the series holds, e.g. "x 0 to 256, y 0 to 255, 1 point".
#pragma once

#include <string>

#include "core/chart/axis.h"

namespace chart {

// Whole numbers are written without decimals, others with at most three (trailing zeros
// dropped) and the locale's `decimal` separator; no grouping, so that a screen reader
// reads each number as one.
std::u16string ChartValueText(const Axis& bottom, const Axis& left, int points, char16_t decimal);

}  // namespace chart
