// The chart's points as text that spreadsheets read in any locale: a header "x" and "y",
// then one line per point whose x lies in a range, in order, each number a plain decimal
// integer (no grouping, no decimal separator). Lines end in CR LF.
#pragma once

#include <span>
#include <string>

namespace output {

// `separator` is '\t' for the clipboard and ',' for a CSV file. Points with x in
// [xFirst, xLast] are written; x values are ascending.
std::string PointsText(std::span<const double> xValues, std::span<const double> yValues,
                       double xFirst, double xLast, char separator);

}  // namespace output
