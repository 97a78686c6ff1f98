#include "core/output/point_text.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace output {

namespace {

// Chart values are whole numbers; anything else is written to the nearest one.
void AppendInteger(std::string& out, double value) {
    out += std::to_string(std::llround(value));
}

}  // namespace

std::string PointsText(std::span<const double> xValues, std::span<const double> yValues,
                       double xFirst, double xLast, char separator) {
    std::string out = "x";
    out += separator;
    out += "y\r\n";
    const std::size_t n = std::min(xValues.size(), yValues.size());
    const auto first =
        std::lower_bound(xValues.begin(), xValues.begin() + static_cast<std::ptrdiff_t>(n), xFirst);
    for (auto it = first; it != xValues.begin() + static_cast<std::ptrdiff_t>(n) && *it <= xLast;
         ++it) {
        const std::size_t i = static_cast<std::size_t>(it - xValues.begin());
        AppendInteger(out, xValues[i]);
        out += separator;
        AppendInteger(out, yValues[i]);
        out += "\r\n";
    }
    return out;
}

}  // namespace output
