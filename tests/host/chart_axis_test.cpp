// Axis range checks and the conversions between values and pixels.
#include "core/chart/axis.h"

#include "chart_test_support.h"
#include "core/base/rounding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace {

using chart::Axis;
using chart::AxisOrientation;
using chart::AxisRangeError;
using chart_test::DrawnAxis;

struct ValueToPxCase {
    AxisOrientation orientation;
    double drawnMinimum;
    double drawnMaximum;
    int startPx;
    int endPx;
    double value;
    int expectedPx;
};

class ChartAxisValueToPx : public ::testing::TestWithParam<ValueToPxCase> {};

TEST_P(ChartAxisValueToPx, RoundsHalfToEven) {
    const ValueToPxCase c = GetParam();
    const Axis axis = DrawnAxis(c.orientation, c.drawnMinimum, c.drawnMaximum, c.startPx, c.endPx);
    EXPECT_EQ(axis.ValueToPx(c.value), c.expectedPx);
}

constexpr auto kH = AxisOrientation::Horizontal;
constexpr auto kV = AxisOrientation::Vertical;

INSTANTIATE_TEST_SUITE_P(
    , ChartAxisValueToPx,
    ::testing::Values(
        // 2.5 px per unit from x = 0: ties at 1 (2.5) and 3 (7.5).
        ValueToPxCase{kH, 0, 4, 0, 10, 0, 0}, ValueToPxCase{kH, 0, 4, 0, 10, 1, 2},
        ValueToPxCase{kH, 0, 4, 0, 10, 3, 8}, ValueToPxCase{kH, 0, 4, 0, 10, 4, 10},
        ValueToPxCase{kH, 0, 4, 0, 10, 0.2, 0}, ValueToPxCase{kH, 0, 4, 0, 10, 0.6, 2},
        ValueToPxCase{kH, 0, 4, 50, 60, -2, 45}, ValueToPxCase{kH, 0, 4, 50, 60, 8, 70},
        ValueToPxCase{kH, 0, 4, 50, 60, -1, 48}, ValueToPxCase{kH, 0, 4, 50, 60, -3, 42},
        ValueToPxCase{kH, 0, 4, 50, 60, -0.2, 50}, ValueToPxCase{kH, 0, 4, 50, 60, -0.6, 48},
        ValueToPxCase{kH, 0, 4, 50, 60, -0.3, 49}, ValueToPxCase{kH, 0, 4, 50, 60, 5, 62},
        // Vertical: values grow upwards from the bottom end.
        ValueToPxCase{kV, 0, 4, 10, 20, 0, 20}, ValueToPxCase{kV, 0, 4, 10, 20, 4, 10},
        ValueToPxCase{kV, 0, 4, 10, 20, 1, 18}, ValueToPxCase{kV, 0, 4, 10, 20, 3, 12},
        ValueToPxCase{kV, 0, 4, 10, 20, -1, 22}, ValueToPxCase{kV, 0, 4, 10, 20, 7, 2},
        ValueToPxCase{kV, 0, 255, 1, 448, 255, 1}, ValueToPxCase{kV, 0, 255, 1, 448, 0, 448},
        // An empty drawn range puts everything in the middle, itself rounded.
        ValueToPxCase{kH, 5, 5, 0, 5, 123, 2}, ValueToPxCase{kH, 5, 5, 0, 7, -1, 4},
        ValueToPxCase{kV, 5, 5, 10, 20, 5, 15},
        // Values far off the plot stay within the pixel limit.
        ValueToPxCase{kH, 0, 1, 0, 1000, 1e300, chart::kPxLimit},
        ValueToPxCase{kH, 0, 1, 0, 1000, -1e300, -chart::kPxLimit},
        ValueToPxCase{kV, 0, 1, 0, 1000, 1e300, -chart::kPxLimit},
        ValueToPxCase{kH, 0, 1, 0, 1000, std::nan(""), 0},
        // Ranges near the largest doubles: the ends stay on the axis although the offset
        // times the length overflows, and an infinite width maps nothing off it.
        ValueToPxCase{kH, -8e307, 8e307, 0, 1000, 8e307, 1000},
        ValueToPxCase{kH, -8e307, 8e307, 0, 1000, 0, 500},
        ValueToPxCase{kV, -8e307, 8e307, 0, 1000, 8e307, 0},
        ValueToPxCase{kH, 1e300, 1e300 + 1e290, 0, 1000, 1e300 + 1e290, 1000},
        ValueToPxCase{kH, -1e300, -1e300 + 1e290, 0, 1000, -1e300, 0},
        ValueToPxCase{kH, -std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
                      0, 1000, 0, 0},
        ValueToPxCase{kH, std::numeric_limits<double>::max(), std::numeric_limits<double>::max(), 0,
                      1000, 0, 500}));

// The inline conversion is the formula start + RoundHalfEven(offset), held
// within the pixel limit, also at exact ties and far off the plot.
TEST(ChartAxisValueToPxFormula, MatchesRoundHalfEvenOnRandomScales) {
    std::mt19937 random(4711);
    std::uniform_int_distribution<int> lengthPx(1, 3000);
    std::uniform_int_distribution<int> rangeSteps(1, 4096);
    std::uniform_real_distribution<double> value(-1e5, 1e5);
    for (int scale = 0; scale < 200; ++scale) {
        const int startPx = lengthPx(random) - 1500;
        const int endPx = startPx + lengthPx(random);
        // Ranges in steps of 1/8 and values in steps of 1/64 make exact ties common.
        const double minimum = std::round(value(random)) / 8.0;
        const double maximum = minimum + rangeSteps(random) / 8.0;
        for (const AxisOrientation orientation : {kH, kV}) {
            const Axis axis = DrawnAxis(orientation, minimum, maximum, startPx, endPx);
            for (int i = 0; i < 200; ++i) {
                const double v =
                    i % 2 == 0 ? std::round(value(random) * 64.0) / 64.0 : value(random) * 1e4;
                const double offset =
                    base::RoundHalfEven((v - minimum) * (endPx - startPx) / (maximum - minimum));
                const double px = orientation == kH ? startPx + offset : endPx - offset;
                const double held =
                    std::min(std::max(px, double{-chart::kPxLimit}), double{chart::kPxLimit});
                ASSERT_EQ(axis.ValueToPx(v), static_cast<int>(held))
                    << v << " on " << minimum << ".." << maximum << " over " << startPx << ".."
                    << endPx;
            }
        }
    }
}

TEST(ChartAxisPxToValue, UsesTheLastDrawingsScaleUnrounded) {
    // Bottom axis drawn at 0..256 over 1000 px from x = 50, left axis at
    // 0..255 over 255 px from y = 10.
    const Axis bottom = DrawnAxis(kH, 0, 256, 50, 1050);
    const Axis left = DrawnAxis(kV, 0, 255, 10, 265);
    EXPECT_DOUBLE_EQ(bottom.PxToValue(300), 64.0);
    EXPECT_DOUBLE_EQ(bottom.PxToValue(550), 128.0);
    EXPECT_DOUBLE_EQ(bottom.PxToValue(51), 0.256);
    EXPECT_DOUBLE_EQ(left.PxToValue(60), 205.0);
    EXPECT_DOUBLE_EQ(left.PxToValue(160), 105.0);
    EXPECT_DOUBLE_EQ(left.PxToValue(0), 265.0);
}

// Any int converts, also where the pixel's distance from the axis start leaves int.
TEST(ChartAxisPxToValue, ExtremePixelsConvertWithoutOverflow) {
    const Axis bottom = DrawnAxis(kH, 0, 1000, 50, 1050);
    EXPECT_EQ(bottom.PxToValue(std::numeric_limits<int>::min()), -2147483648.0 - 50);
    const Axis left = DrawnAxis(kV, 0, 1000, -10, 990);
    EXPECT_EQ(left.PxToValue(std::numeric_limits<int>::max()), 1000 - (2147483647.0 + 10));
}

TEST(ChartAxisPxToValue, AxisShorterThanOnePixelGivesZero) {
    EXPECT_EQ(DrawnAxis(kH, 10, 20, 100, 100).PxToValue(300), 0.0);
    EXPECT_EQ(DrawnAxis(kV, 10, 20, 100, 90).PxToValue(95), 0.0);
}

TEST(ChartAxisPxToValue, InvertsValueToPxOnWholePixels) {
    const Axis bottom = DrawnAxis(kH, -3, 997, 20, 1020);
    const Axis left = DrawnAxis(kV, 0, 255, 1, 256);
    for (int px = 20; px <= 1020; px += 7) {
        EXPECT_EQ(bottom.ValueToPx(bottom.PxToValue(px)), px);
    }
    for (int px = 1; px <= 256; ++px) {
        EXPECT_EQ(left.ValueToPx(left.PxToValue(px)), px);
    }
}

// A range as wide as the largest double: the conversions' intermediate products
// overflow, the pixels and values themselves do not.
TEST(ChartAxisPxToValue, RangesNearTheLargestDoubleConvertBothWays) {
    constexpr double kLargest = std::numeric_limits<double>::max();
    const Axis left = DrawnAxis(kV, -kLargest, 0, 30, 520);
    EXPECT_EQ(left.PxToValue(520), -kLargest);
    EXPECT_EQ(left.PxToValue(30), 0.0);
    EXPECT_EQ(left.ValueToPx(0.0), 30);
    EXPECT_EQ(left.ValueToPx(-kLargest), 520);
    const Axis bottom = DrawnAxis(kH, -kLargest / 2, kLargest / 2, 0, 1000);
    EXPECT_EQ(bottom.PxToValue(1000), kLargest / 2);
    EXPECT_EQ(bottom.ValueToPx(kLargest / 2), 1000);
    EXPECT_EQ(bottom.ValueToPx(0.0), 500);
    for (int px = 0; px <= 1000; px += 100) {
        EXPECT_EQ(bottom.ValueToPx(bottom.PxToValue(px)), px);
    }
    EXPECT_EQ(bottom.ValueToPx(kLargest), chart::kPxLimit) << "beyond the range: held";
}

TEST(ChartAxisSetMaximum, RefusesAValueBelowMinimumAndKeepsMaximum) {
    Axis axis;
    axis.Minimum = 50;
    axis.Maximum = 100;
    EXPECT_FALSE(axis.AcceptsMaximum(30));
    EXPECT_FALSE(axis.AcceptsMaximum(49.999));
    EXPECT_TRUE(axis.AcceptsMaximum(50));
    EXPECT_TRUE(axis.AcceptsMaximum(10000));
    try {
        axis.SetMaximum(30);
        FAIL() << "no error";
    } catch (const AxisRangeError& error) {
        EXPECT_EQ(std::string(error.what()), "Axis Maximum Value must be >= Minimum");
    }
    EXPECT_EQ(axis.Maximum, 100);
    EXPECT_EQ(axis.Minimum, 50);
    EXPECT_THROW(axis.SetMaximum(49.999), std::runtime_error);
    EXPECT_EQ(axis.Maximum, 100);
}

TEST(ChartAxisSetMaximum, ReportsWhetherTheValueChanged) {
    Axis axis;
    axis.Minimum = 50;
    axis.Maximum = 100;
    axis.Automatic = axis.AutomaticMinimum = axis.AutomaticMaximum = true;
    EXPECT_FALSE(axis.SetMaximum(100));
    EXPECT_TRUE(axis.SetMaximum(50));  // equal to Minimum is allowed
    EXPECT_EQ(axis.Maximum, 50);
    EXPECT_TRUE(axis.SetMaximum(10000));
    EXPECT_EQ(axis.Maximum, 10000);
    EXPECT_EQ(axis.Minimum, 50);
    EXPECT_TRUE(axis.Automatic && axis.AutomaticMinimum && axis.AutomaticMaximum);
}

}  // namespace
