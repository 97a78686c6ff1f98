#include "core/chart/labels.h"

#include "core/base/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace chart {

namespace {

constexpr double kSmallestIncrement = 1e-12;
constexpr int kLabelsSeparationPercent = 10;

// The space kept between two labels of `sizePx`: 10 % of it, rounded half to even.
int SeparationPx(int sizePx) {
    return static_cast<int>(base::RoundHalfEven(sizePx * kLabelsSeparationPercent / 100.0));
}
constexpr int kMinorTicksPerGap = 3;

// |value| * 1000 rounded half up on its 15 significant decimal digits, as a
// digit string of at least four digits (so the last three are the decimals).
std::string ThousandthsDigits(double magnitude) {
    char buffer[40];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14);
    // buffer holds "d.dddddddddddddde[+-]xx".
    std::string significant(1, buffer[0]);
    significant.append(buffer + 2, buffer + 16);
    const int exponent = std::atoi(std::string(buffer + 17, result.ptr).c_str());

    const int integerDigits = exponent + 4;  // digits of magnitude * 1000 before the point
    std::string digits;
    if (integerDigits <= 0) {
        digits.assign(1, integerDigits == 0 && significant[0] >= '5' ? '1' : '0');
    } else if (integerDigits >= static_cast<int>(significant.size())) {
        digits = significant + std::string(integerDigits - significant.size(), '0');
    } else {
        digits = significant.substr(0, static_cast<std::size_t>(integerDigits));
        if (significant[static_cast<std::size_t>(integerDigits)] >= '5') {
            auto it = digits.rbegin();
            for (; it != digits.rend() && *it == '9'; ++it) {
                *it = '0';
            }
            if (it == digits.rend()) {
                digits.insert(digits.begin(), '1');
            } else {
                ++*it;
            }
        }
    }
    if (digits.size() < 4) {
        digits.insert(0, 4 - digits.size(), '0');
    }
    return digits;
}

// The next step of 1, 2, 5, 10, 20, 50, ... (and the same below 1) that is
// strictly greater than `increment`.
double NextIncrementStep(double increment) {
    const double decade = std::pow(10.0, std::floor(std::log10(increment)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0, 20.0}) {
        if (factor * decade > increment) {
            return factor * decade;
        }
    }
    return 50.0 * decade;
}

}  // namespace

std::u16string FormatLabel(double value, const NumberSymbols& symbols) {
    if (std::isnan(value)) {
        return u"NAN";
    }
    if (std::isinf(value)) {
        return value < 0 ? u"-INF" : u"INF";
    }
    const std::string digits = ThousandthsDigits(std::fabs(value));
    const std::size_t point = digits.size() - 3;
    return base::DecimalText(
        {.Negative = value < 0, .Whole = digits.substr(0, point), .Fraction = digits.substr(point)},
        {.Symbols = symbols, .Negative = base::NegativeForm::Minus});
}

int LabelSizePx(const Axis& axis, const TextMeasurer& measurer, const NumberSymbols& symbols) {
    if (axis.Orientation == AxisOrientation::Vertical) {
        return measurer.HeightOfWPx();
    }
    // The midpoint is halved while it is a whole number, so that its text
    // shows as many decimals as the range's labels may need.
    double probe = (axis.DrawnMinimum + axis.DrawnMaximum) / 2.0;
    while (std::isfinite(probe) && probe != 0.0 && probe == std::trunc(probe)) {
        probe /= 2.0;
    }
    int widestPx = 0;
    for (const double value : {axis.DrawnMinimum, axis.DrawnMaximum, probe}) {
        widestPx = std::max(widestPx, measurer.WidthPx(FormatLabel(value, symbols)));
    }
    return widestPx;
}

int RoomForLabels(int labelSizePx, int axisLengthPx) {
    if (labelSizePx <= 0 || axisLengthPx <= 0) {
        return 1;
    }
    const double separatedPx = labelSizePx + SeparationPx(labelSizePx);
    return static_cast<int>(base::RoundHalfEven(axisLengthPx / separatedPx));
}

double LabelIncrement(double drawnMinimum, double drawnMaximum, int room,
                      std::optional<int> xAxisPointCount) {
    if (room < 1) {
        return kSmallestIncrement;
    }
    const double range = drawnMaximum - drawnMinimum;
    double increment = std::fabs(range) / (room + 1);
    if (xAxisPointCount && range >= 1.1 && *xAxisPointCount <= room) {
        increment = std::max(increment, 1.0);
    }
    // An empty or non-finite range has no step to search for.
    while (increment > 0.0 && std::isfinite(increment) &&
           base::RoundHalfEven(range / increment) > room) {
        increment = NextIncrementStep(increment);
        if (increment > range) {
            break;
        }
    }
    return increment <= kSmallestIncrement ? kSmallestIncrement : increment;
}

int MaxLabelCount(int room) {
    return room < 1 ? 0 : room + 1;
}

// The room bounds the count, a value that the subtraction leaves unchanged ends the labels,
// and an empty range has one: an increment of 1e-12 (no room, or an empty or very narrow
// range) would otherwise give up to a thousand labels, most of them copies of one value on
// one pixel, with three minor ticks between each two.
std::vector<double> LabelValues(double drawnMinimum, double drawnMaximum, double increment,
                                int maxCount) {
    const double lowest = drawnMinimum < 0.0
                              ? drawnMinimum
                              : (drawnMinimum - kSmallestIncrement) / (1.0 + kSmallestIncrement);
    // From 2^53 on every double is whole, so the largest multiple is the top itself; the
    // product would only add rounding or overflow to infinity.
    const double quotient = drawnMaximum / increment;
    const double first =
        std::fabs(quotient) < 0x1p53 ? std::trunc(quotient) * increment : drawnMaximum;
    const int count = drawnMaximum == drawnMinimum ? std::min(maxCount, 1) : maxCount;
    std::vector<double> values;
    // Each value from the first one, not by repeated subtraction, so that
    // rounding errors do not pile up along the axis.
    for (int i = 0; i < count; ++i) {
        const double value = first - i * increment;
        if (!(value >= lowest) || (!values.empty() && !(value < values.back()))) {
            break;
        }
        values.push_back(value);
    }
    return values;
}

std::vector<double> MinorTickValues(std::span<const double> labelValues) {
    std::vector<double> values;
    for (std::size_t i = 1; i < labelValues.size(); ++i) {
        const double upper = labelValues[i - 1];
        const double lower = labelValues[i];
        for (int k = 1; k <= kMinorTicksPerGap; ++k) {
            values.push_back(lower + (upper - lower) * k / (kMinorTicksPerGap + 1));
        }
    }
    return values;
}

AxisLabels BuildAxisLabels(const Axis& axis, std::optional<int> xAxisPointCount,
                           const TextMeasurer& measurer, const NumberSymbols& symbols) {
    const int room = RoomForLabels(LabelSizePx(axis, measurer, symbols), axis.LengthPx());
    AxisLabels labels;
    labels.Increment = LabelIncrement(
        axis.DrawnMinimum, axis.DrawnMaximum, room,
        axis.Orientation == AxisOrientation::Horizontal ? xAxisPointCount : std::nullopt);
    // A label whose tick falls beyond the axis's ends has no place on it: that happens
    // only when the range is narrower than the tolerance below its Minimum.
    const int firstPx = std::min(axis.AxisStartPx, axis.AxisEndPx);
    const int lastPx = std::max(axis.AxisStartPx, axis.AxisEndPx);
    std::vector<double> drawn;
    for (const double value :
         LabelValues(axis.DrawnMinimum, axis.DrawnMaximum, labels.Increment, MaxLabelCount(room))) {
        const int tickPx = axis.ValueToPx(value);
        if (tickPx < firstPx || tickPx > lastPx) continue;
        AxisLabel label;
        label.Value = value;
        label.Text = FormatLabel(value, symbols);
        label.WidthPx = measurer.WidthPx(label.Text);
        label.TickPx = tickPx;
        labels.Labels.push_back(std::move(label));
        drawn.push_back(value);
    }
    for (const double value : MinorTickValues(drawn)) {
        labels.MinorTickPx.push_back(axis.ValueToPx(value));
    }
    return labels;
}

namespace {

// `start` moved so that [start, start + length) lies inside [low, high), or starts at low
// when it is longer.
int Inside(int start, int length, int low, int high) {
    return std::max(std::min(start, high - length), low);
}

// Whether two label rectangles come closer along the axis than the labels' separation.
bool Crowded(const RectPx& a, const RectPx& b, AxisOrientation orientation) {
    const bool horizontal = orientation == AxisOrientation::Horizontal;
    const int gap = horizontal ? std::max(a.Left, b.Left) - std::min(a.Right, b.Right)
                               : std::max(a.Top, b.Top) - std::min(a.Bottom, b.Bottom);
    const int size = horizontal ? std::max(a.Width(), b.Width()) : std::max(a.Height(), b.Height());
    return gap < std::max(1, SeparationPx(size));
}

}  // namespace

void PlaceLabelRects(AxisLabels& labels, AxisOrientation orientation, int labelEdgePx,
                     int heightOfWPx, RectPx boundsPx) {
    std::vector<bool> moved(labels.Labels.size(), false);
    for (std::size_t i = 0; i < labels.Labels.size(); ++i) {
        AxisLabel& label = labels.Labels[i];
        label.TextShown = true;
        RectPx& rect = label.TextRect;
        if (orientation == AxisOrientation::Horizontal) {
            const int centred = label.TickPx - label.WidthPx / 2;
            rect.Left = Inside(centred, label.WidthPx, boundsPx.Left, boundsPx.Right);
            moved[i] = rect.Left != centred;
            rect.Right = rect.Left + label.WidthPx;
            rect.Top = labelEdgePx;
            rect.Bottom = labelEdgePx + heightOfWPx;
        } else {
            rect.Right = labelEdgePx;
            rect.Left = labelEdgePx - label.WidthPx;
            const int centred = label.TickPx - heightOfWPx / 2;
            rect.Top = Inside(centred, heightOfWPx, boundsPx.Top, boundsPx.Bottom);
            moved[i] = rect.Top != centred;
            rect.Bottom = rect.Top + heightOfWPx;
        }
    }
    const std::size_t count = labels.Labels.size();
    if (count < 2) return;
    // Only the labels at the ends can have been moved by the bounds.
    for (const auto& [end, neighbour] :
         {std::pair{std::size_t{0}, std::size_t{1}}, std::pair{count - 1, count - 2}}) {
        if (moved[end] &&
            Crowded(labels.Labels[end].TextRect, labels.Labels[neighbour].TextRect, orientation)) {
            labels.Labels[neighbour].TextShown = false;
        }
    }
}

int HoveredLabelIndex(const AxisLabels& labels, PointPx pointer) {
    for (std::size_t i = 0; i < labels.Labels.size(); ++i) {
        if (!labels.Labels[i].TextShown) continue;
        const RectPx& rect = labels.Labels[i].TextRect;
        if (rect.ContainsInclusive(pointer.XPx, pointer.YPx)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace chart
