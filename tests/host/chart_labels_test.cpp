// Axis labels: increment choice, values, texts, minor ticks, rectangles, hover.
#include "core/chart/labels.h"

#include "chart_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

using base::NumberSymbols;
using chart::Axis;
using chart::AxisLabels;
using chart::AxisOrientation;
using chart_test::FixedWidthMeasurer;

std::string Narrow(const std::u16string& text) {
    std::string narrow;
    for (const char16_t c : text) {
        narrow += c < 128 ? static_cast<char>(c) : '?';
    }
    return narrow;
}

std::vector<double> Countdown(double from, double step, double to) {
    std::vector<double> values;
    for (double v = from; v >= to; v -= step) {
        values.push_back(v);
    }
    return values;
}

TEST(ChartLabelFormat, HashCommaPatternWithAtMostThreeDecimals) {
    const NumberSymbols comma;
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {5, "5"},
        {255, "255"},
        {1000, "1,000"},
        {10000, "10,000"},
        {1234567.5, "1,234,567.5"},
        {-1234.25, "-1,234.25"},
        {0.5, "0.5"},
        {0.125, "0.125"},
        {1.0 / 3.0, "0.333"},
        {2.0 / 3.0, "0.667"},
        {1.2345, "1.235"},  // half up on the decimal digits; the double lies just below
        {255.0005, "255.001"},
        {999.9996, "1,000"},
        {999999.9999, "1,000,000"},
        {0.0004, "0"},
        {-0.0004, "0"},  // rounds to zero: no sign
        {0.0005, "0.001"},
        {-0.0005, "-0.001"},
        {1e-12, "0"},
        {5.000000000001, "5"},
        {1e20, "100,000,000,000,000,000,000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Narrow(chart::FormatLabel(c.value, comma)), c.text) << c.value;
    }
}

// Every digit of the integer part, grouped, however large the value: 15 significant
// digits, then zeros.
TEST(ChartLabelFormat, LargestDoublesAreWrittenInFull) {
    const NumberSymbols comma;
    const std::string max = Narrow(chart::FormatLabel(std::numeric_limits<double>::max(), comma));
    EXPECT_EQ(max.substr(0, 24), "179,769,313,486,232,000,");
    EXPECT_EQ(max.size(), 309u + 102u);  // 309 digits, a separator before each group but the first
    const std::string negative = Narrow(chart::FormatLabel(-1e300, comma));
    EXPECT_EQ(negative.substr(0, 6), "-1,000");
    EXPECT_EQ(negative.size(), 1u + 301u + 100u);
}

TEST(ChartLabelFormat, UsesTheLocalesSeparators) {
    const NumberSymbols german{u',', u'.'};
    EXPECT_EQ(chart::FormatLabel(10000.5, german), u"10.000,5");
    const NumberSymbols swiss{u'.', u'\u2019'};
    EXPECT_EQ(chart::FormatLabel(1234567, swiss), u"1\u2019234\u2019567");
    const NumberSymbols none{u',', u'\0'};
    EXPECT_EQ(chart::FormatLabel(-12345.75, none), u"-12345,75");
}

TEST(ChartLabelSize, HorizontalTakesTheWidestOfEndsAndHalvedMidpoint) {
    const FixedWidthMeasurer measurer;
    Axis axis;
    axis.DrawnMinimum = 0;
    axis.DrawnMaximum = 8;  // midpoint 4 -> 2 -> 1 -> 0.5: "0.5" is the widest
    EXPECT_EQ(chart::LabelSizePx(axis, measurer, {}), 18);
    axis.DrawnMaximum = 10000;  // "10,000"
    EXPECT_EQ(chart::LabelSizePx(axis, measurer, {}), 36);
    axis.DrawnMinimum = -3;
    axis.DrawnMaximum = 3;  // midpoint 0 is not halved
    EXPECT_EQ(chart::LabelSizePx(axis, measurer, {}), 12);
    axis.Orientation = AxisOrientation::Vertical;
    EXPECT_EQ(chart::LabelSizePx(axis, measurer, {}), 13);
}

TEST(ChartLabelRoom, LengthOverSizePlusTenPercent) {
    const struct {
        int sizePx;
        int lengthPx;
        int room;
    } cases[] = {
        {18, 1100, 55},  // 18 + round(1.8) = 20
        {25, 270, 10},   // 25 + round(2.5) = 27
        {35, 19, 0},     // 35 + round(3.5) = 39; round(0.487) = 0
        {20, 11, 0},     // 22; round(0.5) = 0
        {20, 33, 2},     // round(1.5) = 2
        {13, 447, 32},   // 13 + round(1.3) = 14; round(31.9)
        {0, 500, 1},    {18, 0, 1}, {18, -5, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(chart::RoomForLabels(c.sizePx, c.lengthPx), c.room)
            << c.sizePx << " px in " << c.lengthPx;
    }
}

struct IncrementCase {
    double minimum;
    double maximum;
    int room;
    std::optional<int> xAxisPointCount;
    double increment;
};

class ChartLabelIncrement : public ::testing::TestWithParam<IncrementCase> {};

TEST_P(ChartLabelIncrement, StepsUpTheOneTwoFiveSequence) {
    const IncrementCase c = GetParam();
    EXPECT_DOUBLE_EQ(chart::LabelIncrement(c.minimum, c.maximum, c.room, c.xAxisPointCount),
                     c.increment);
}

INSTANTIATE_TEST_SUITE_P(
    , ChartLabelIncrement,
    ::testing::Values(IncrementCase{0, 256, 55, 1000, 5},  // 4.571 gives 56 labels > 55; 5 gives 51
                      IncrementCase{0, 255, 28, std::nullopt, 10},  // 8.79 -> 10: round(25.5) = 26
                      IncrementCase{0, 10000, 30, 1000, 500}, IncrementCase{0, 30, 55, 1000, 1},
                      IncrementCase{0, 3, 55, 1000, 0.1},  // many points: fractions allowed
                      IncrementCase{0, 3, 55, 4, 1},       // few points: no step below 1
                      IncrementCase{0, 3, 55, std::nullopt, 0.1},
                      IncrementCase{0, 1.05, 55, 1, 0.02},  // range below 1.1: the rule is off
                      IncrementCase{64, 128, 40, 1000, 2},
                      IncrementCase{-10, 10, 4, std::nullopt, 5},
                      IncrementCase{0, 256, 1, 1000, 200},           // 128 -> 200 (k = 1)
                      IncrementCase{0, 256, 0, 1000, 1e-12},         // no room at all
                      IncrementCase{5, 5, 10, std::nullopt, 1e-12},  // empty range
                      IncrementCase{0, 1e-13, 10, std::nullopt, 1e-12},
                      IncrementCase{1e300, 1e300, 10, std::nullopt, 1e-12},
                      IncrementCase{-8e307, 8e307, 55, std::nullopt, 5e306},
                      IncrementCase{0, std::numeric_limits<double>::max(), 55, 1000, 5e306},
                      IncrementCase{-std::numeric_limits<double>::max(),
                                    std::numeric_limits<double>::max(), 55, std::nullopt,
                                    std::numeric_limits<double>::infinity()}));

// Room enough that the count never stops the labels.
constexpr int kAmpleCount = 1000;

TEST(ChartLabelValues, CountDownFromTheLargestMultipleNotAboveMaximum) {
    const auto values = [](double minimum, double maximum, double increment) {
        return chart::LabelValues(minimum, maximum, increment, kAmpleCount);
    };
    EXPECT_EQ(values(0, 256, 5), Countdown(255, 5, 0));
    EXPECT_EQ(values(0, 255, 10), Countdown(250, 10, 0));
    EXPECT_EQ(values(0, 10000, 500), Countdown(10000, 500, 0));
    EXPECT_EQ(values(-10, 10, 5), (std::vector<double>{10, 5, 0, -5, -10}));
    EXPECT_EQ(values(-9.5, 10, 5), (std::vector<double>{10, 5, 0, -5}));
    EXPECT_EQ(values(64.5, 128, 2).back(), 66);
    EXPECT_TRUE(values(10.5, 10.9, 1).empty());
}

TEST(ChartLabelValues, FractionalStepsEndExactlyAtTheMinimum) {
    const std::vector<double> values = chart::LabelValues(0, 3, 0.1, kAmpleCount);
    ASSERT_EQ(values.size(), 31u);
    EXPECT_DOUBLE_EQ(values.front(), 3.0);
    EXPECT_EQ(values.back(), 0.0);
    EXPECT_EQ(chart::FormatLabel(values[10], {}), u"2");
    EXPECT_EQ(chart::FormatLabel(values[27], {}), u"0.3");
}

// Room for n labels is room for n gaps: n + 1 labels, so that a range of exactly n
// increments keeps both ends (0..250 in steps of 10 with room 25).
TEST(ChartLabelValues, RoomBoundsTheCountFromTheTopDown) {
    EXPECT_EQ(chart::MaxLabelCount(0), 0);
    EXPECT_EQ(chart::MaxLabelCount(-3), 0);
    EXPECT_EQ(chart::MaxLabelCount(1), 2);
    EXPECT_EQ(chart::MaxLabelCount(25), 26);
    EXPECT_EQ(chart::LabelValues(0, 250, 10, chart::MaxLabelCount(25)), Countdown(250, 10, 0));
    EXPECT_EQ(chart::LabelValues(0, 250, 10, 25), Countdown(250, 10, 10));
    EXPECT_TRUE(chart::LabelValues(0, 250, 10, 0).empty());
}

// Ranges that would give a thousand labels without the room's bound: an increment of 1e-12
// on a wide range, an empty range, and values so large that subtracting the increment
// changes nothing.
TEST(ChartLabelValues, DegenerateIncrementsGiveFewDistinctValues) {
    const double kMax = std::numeric_limits<double>::max();
    const double kInf = std::numeric_limits<double>::infinity();
    const struct {
        double minimum, maximum, increment;
        int maxCount;
        std::size_t count;
        double top;
    } cases[] = {
        {0, 256, 1e-12, 56, 56, 256},                         // the cap
        {0, 256, 1e-12, 0, 0, 0},                             // no room: nothing
        {5, 5, 1e-12, 56, 1, 5},                              // empty range: one
        {1e300, 1e300, 1e-12, 56, 1, 1e300},                  // empty, far out
        {1e300, 1.0000001e300, 1e-12, 56, 1, 1.0000001e300},  // the step is lost
        {-1e300, -1e300, 1e-12, 56, 1, -1e300},
        {1e20, 1e20 + 65536, 1, 56, 1, 1e20 + 65536},
        {kMax, kMax, 1e-12, 56, 1, kMax},
        {-kMax, -kMax, 1e-12, 56, 1, -kMax},
        {-kMax, kMax, kInf, 56, 0, 0},  // an infinite width has no step
        {0, 256, std::nan(""), 56, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.minimum << ".." << c.maximum << " by " << c.increment);
        const std::vector<double> values =
            chart::LabelValues(c.minimum, c.maximum, c.increment, c.maxCount);
        ASSERT_EQ(values.size(), c.count);
        if (c.count == 0) continue;
        EXPECT_NEAR(values.front(), c.top, std::fabs(c.top) * 1e-15);
        for (std::size_t i = 1; i < values.size(); ++i) EXPECT_LT(values[i], values[i - 1]);
        for (const double v : values) EXPECT_TRUE(std::isfinite(v));
    }
}

TEST(ChartMinorTicks, ThreeBetweenNeighbouringLabelsOnly) {
    const std::vector<double> labels = {10, 5, 0};
    EXPECT_EQ(chart::MinorTickValues(labels),
              (std::vector<double>{6.25, 7.5, 8.75, 1.25, 2.5, 3.75}));
    EXPECT_TRUE(chart::MinorTickValues(std::vector<double>{7}).empty());
}

Axis LaidOutAxis(AxisOrientation orientation, double minimum, double maximum, int startPx,
                 int endPx) {
    Axis axis;
    axis.Orientation = orientation;
    axis.DrawnMinimum = minimum;
    axis.DrawnMaximum = maximum;
    axis.AxisStartPx = startPx;
    axis.AxisEndPx = endPx;
    return axis;
}

TEST(ChartAxisLabels, BottomAxis0To256WithRoomFor55) {
    const FixedWidthMeasurer measurer;
    // "256" and "0.5" are 18 px: room = round(1100 / 20) = 55.
    const Axis axis = LaidOutAxis(AxisOrientation::Horizontal, 0, 256, 40, 1140);
    const AxisLabels labels = chart::BuildAxisLabels(axis, 1000, measurer, {});
    EXPECT_EQ(labels.Increment, 5);
    ASSERT_EQ(labels.Labels.size(), 52u);
    EXPECT_EQ(labels.Labels.front().Text, u"255");
    EXPECT_EQ(labels.Labels.front().WidthPx, 18);
    EXPECT_EQ(labels.Labels.front().TickPx, 40 + 1096);  // 255 * 1100 / 256 = 1095.7
    EXPECT_EQ(labels.Labels.back().Text, u"0");
    EXPECT_EQ(labels.Labels.back().TickPx, 40);
    ASSERT_EQ(labels.MinorTickPx.size(), 51u * 3u);
    EXPECT_EQ(labels.MinorTickPx.back(), 40 + 16);  // 3.75 * 1100 / 256 = 16.1
}

TEST(ChartAxisLabels, LeftAxis0To255With28RowsOfLabels) {
    const FixedWidthMeasurer measurer;
    // Height 13 + round(1.3) = 14 per label: 392 px give room for 28.
    const Axis axis = LaidOutAxis(AxisOrientation::Vertical, 0, 255, 1, 393);
    const AxisLabels labels = chart::BuildAxisLabels(axis, 1, measurer, {});
    EXPECT_EQ(labels.Increment, 10);
    ASSERT_EQ(labels.Labels.size(), 26u);
    EXPECT_EQ(labels.Labels.front().Text, u"250");
    EXPECT_EQ(labels.Labels.front().TickPx, 393 - 384);  // 250 * 392 / 255 = 384.3
    EXPECT_EQ(labels.Labels.back().TickPx, 393);
}

TEST(ChartAxisLabels, BottomAxisTo10000WritesTheThousandsSeparator) {
    const FixedWidthMeasurer measurer;
    const Axis axis = LaidOutAxis(AxisOrientation::Horizontal, 0, 10000, 40, 1140);
    const AxisLabels labels = chart::BuildAxisLabels(axis, 10001, measurer, {});
    ASSERT_FALSE(labels.Labels.empty());
    EXPECT_EQ(labels.Labels.front().Value, 10000);
    EXPECT_EQ(labels.Labels.front().Text, u"10,000");
    EXPECT_EQ(labels.Labels.front().WidthPx, 36);
}

// Views that zooms, scrolls and a shrunk chart reach: few labels, every tick on the axis,
// minor ticks only between the labels drawn.
TEST(ChartAxisLabels, DegenerateViewsDrawWhatFitsOnTheAxis) {
    const FixedWidthMeasurer measurer;
    const struct {
        AxisOrientation orientation;
        double minimum, maximum;
        int startPx, endPx;
        int labels;  // -1: only the bounds are checked
        const char* what;
    } cases[] = {
        {AxisOrientation::Horizontal, 30, 30, 40, 1140, 1, "empty range"},
        {AxisOrientation::Vertical, 30, 30, 1, 393, 1, "empty range"},
        {AxisOrientation::Horizontal, 0, 256, 40, 45, 0, "no room for one label"},
        {AxisOrientation::Vertical, 0, 255, 1, 6, 0, "no room for one label"},
        {AxisOrientation::Horizontal, -1e-10, 1e-10, 40, 40, 1, "axis of no length"},
        {AxisOrientation::Horizontal, -1e-10, 1e-10, 40, 20, -1, "axis of negative length"},
        {AxisOrientation::Horizontal, 50 - 1e-10, 50 + 1e-10, 40, 1140, 41, "narrow zoom"},
        {AxisOrientation::Vertical, 1e300, 1e300, 1, 393, 1, "empty, far out"},
        {AxisOrientation::Horizontal, 1e300, 1e300, 40, 1140, 0, "text wider than the axis"},
        {AxisOrientation::Vertical, -1e300, -1e300 + 1e288, 1, 393, -1, "scrolled far down"},
        {AxisOrientation::Vertical, 1e300, 1e300 + 1e290, 1, 393, -1, "scrolled far up"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Axis axis = LaidOutAxis(c.orientation, c.minimum, c.maximum, c.startPx, c.endPx);
        const int room =
            chart::RoomForLabels(chart::LabelSizePx(axis, measurer, {}), axis.LengthPx());
        const AxisLabels labels = chart::BuildAxisLabels(axis, 1000, measurer, {});
        if (c.labels >= 0) {
            EXPECT_EQ(static_cast<int>(labels.Labels.size()), c.labels);
        }
        EXPECT_LE(static_cast<int>(labels.Labels.size()), chart::MaxLabelCount(room));
        for (const chart::AxisLabel& label : labels.Labels) {
            EXPECT_GE(label.TickPx, std::min(c.startPx, c.endPx)) << label.Value;
            EXPECT_LE(label.TickPx, std::max(c.startPx, c.endPx)) << label.Value;
        }
        const std::size_t gaps = labels.Labels.empty() ? 0 : labels.Labels.size() - 1;
        EXPECT_EQ(labels.MinorTickPx.size(), 3 * gaps);
    }
}

class ChartLabelHover : public ::testing::Test {
protected:
    static constexpr chart::RectPx kWide{1, 1, 999, 999};

    void SetUp() override {
        const FixedWidthMeasurer measurer;
        const Axis bottomAxis = LaidOutAxis(AxisOrientation::Horizontal, 0, 100, 50, 550);
        bottom = chart::BuildAxisLabels(bottomAxis, 1000, measurer, {});
        chart::PlaceLabelRects(bottom, AxisOrientation::Horizontal, 307, 13, kWide);
        const Axis leftAxis = LaidOutAxis(AxisOrientation::Vertical, 0, 255, 1, 300);
        left = chart::BuildAxisLabels(leftAxis, std::nullopt, measurer, {});
        chart::PlaceLabelRects(left, AxisOrientation::Vertical, 43, 13, kWide);
    }

    AxisLabels bottom;
    AxisLabels left;
};

TEST_F(ChartLabelHover, RectanglesSitAgainstTheTickEndsCentredOnTheTick) {
    ASSERT_EQ(bottom.Labels.back().Text, u"0");
    EXPECT_EQ(bottom.Labels.back().TextRect, (chart::RectPx{47, 307, 53, 320}));
    ASSERT_EQ(bottom.Labels.front().Text, u"100");
    EXPECT_EQ(bottom.Labels.front().TextRect, (chart::RectPx{541, 307, 559, 320}));
    ASSERT_EQ(left.Labels.back().Text, u"0");
    EXPECT_EQ(left.Labels.back().TextRect, (chart::RectPx{37, 294, 43, 307}));
}

// A label that would cross the bounds along its axis moves inwards, drawn whole; the others
// and the distance from the tick ends stay.
TEST(ChartLabelRects, LabelsCrossingTheBoundsMoveInsideAlongTheirAxis) {
    using chart::RectPx;
    const auto place = [](AxisOrientation orientation, int tickPx, int widthPx, RectPx bounds) {
        AxisLabels labels;
        labels.Labels.push_back(
            {.Value = 0, .Text = u"", .WidthPx = widthPx, .TickPx = tickPx, .TextRect = {}});
        chart::PlaceLabelRects(labels, orientation, 300, 13, bounds);
        return labels.Labels.front().TextRect;
    };
    const RectPx bounds{1, 1, 1176, 447};
    const struct {
        AxisOrientation orientation;
        int tickPx;
        int widthPx;
        RectPx expected;
    } cases[] = {
        // Bottom labels: the last one on the plot's last column, 1174, moves left.
        {AxisOrientation::Horizontal, 1174, 21, {1155, 300, 1176, 313}},
        {AxisOrientation::Horizontal, 1165, 21, {1155, 300, 1176, 313}},  // just inside
        {AxisOrientation::Horizontal, 1164, 21, {1154, 300, 1175, 313}},  // untouched
        {AxisOrientation::Horizontal, 3, 14, {1, 300, 15, 313}},          // moves right
        {AxisOrientation::Horizontal, 500, 2000, {1, 300, 2001, 313}},    // longer: at the start
        // Left labels: moved along the axis only, their right edge on the tick ends.
        {AxisOrientation::Vertical, 2, 21, {279, 1, 300, 14}},
        {AxisOrientation::Vertical, 446, 21, {279, 434, 300, 447}},
        {AxisOrientation::Vertical, 200, 21, {279, 194, 300, 207}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(place(c.orientation, c.tickPx, c.widthPx, bounds), c.expected)
            << "tick " << c.tickPx << ", width " << c.widthPx;
    }
}

// The end label moved inwards keeps its text; its neighbour's text gives way when the two
// would come closer than the separation, and only then.
TEST(ChartLabelRects, AMovedEndLabelCrowdsOutItsNeighboursText) {
    using chart::RectPx;
    const RectPx bounds{1, 1, 1176, 447};
    const auto place = [&](AxisOrientation orientation, std::vector<int> ticks) {
        AxisLabels labels;
        for (const int tick : ticks) {
            labels.Labels.push_back(
                {.Value = 0, .Text = u"", .WidthPx = 21, .TickPx = tick, .TextRect = {}});
        }
        chart::PlaceLabelRects(labels, orientation, 300, 13, bounds);
        std::vector<bool> shown;
        for (const chart::AxisLabel& label : labels.Labels) shown.push_back(label.TextShown);
        return shown;
    };
    using V = std::vector<bool>;
    const struct {
        const char* what;
        AxisOrientation orientation;
        std::vector<int> ticks;  // descending values: the first is the right or top end
        V shown;
    } cases[] = {
        {"right end moved onto its neighbour",
         AxisOrientation::Horizontal,
         {1174, 1160, 1100},
         {true, false, true}},
        {"moved, one pixel apart: closer than 10 % of 21",
         AxisOrientation::Horizontal,
         {1174, 1143, 1100},
         {true, false, true}},
        {"moved, two pixels apart",
         AxisOrientation::Horizontal,
         {1174, 1142, 1100},
         {true, true, true}},
        {"neither end moved", AxisOrientation::Horizontal, {1000, 990, 11}, {true, true, true}},
        {"left end moved onto its neighbour",
         AxisOrientation::Horizontal,
         {900, 20, 3},
         {true, false, true}},
        {"top end moved", AxisOrientation::Vertical, {2, 8, 400}, {true, false, true}},
        {"two labels, the end crowds the other",
         AxisOrientation::Horizontal,
         {1174, 1160},
         {true, false}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(place(c.orientation, c.ticks), c.shown) << c.what;
    }
}

TEST_F(ChartLabelHover, FindsTheLabelUnderThePointerEdgesIncluded) {
    const int zero = static_cast<int>(bottom.Labels.size()) - 1;
    const int hundred = 0;
    const struct {
        chart::PointPx pointer;
        int bottomIndex;
    } cases[] = {
        {{50, 312}, zero}, {{47, 307}, zero},     {{53, 320}, zero},
        {{46, 312}, -1},   {{54, 312}, -1},       {{50, 306}, -1},
        {{50, 321}, -1},   {{559, 320}, hundred}, {{550, 200}, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(chart::HoveredLabelIndex(bottom, c.pointer), c.bottomIndex)
            << c.pointer.XPx << "," << c.pointer.YPx;
    }
    const int leftZero = static_cast<int>(left.Labels.size()) - 1;
    EXPECT_EQ(chart::HoveredLabelIndex(left, {40, 300}), leftZero);
    EXPECT_EQ(chart::HoveredLabelIndex(left, {44, 300}), -1);
    EXPECT_EQ(chart::HoveredLabelIndex(AxisLabels{}, {40, 300}), -1);
}

}  // namespace
