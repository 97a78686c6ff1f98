// The chart's point store: indices, ascending x, the after-add event and the
// repaint requests, storage growth and release, and the auto-clear rule.
#include "core/chart/auto_clear.h"
#include "core/chart/series.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

namespace {

using chart::AutoClearDue;
using chart::Series;

// Records every event in order, as "add <index> <count> <x> <y>" and "repaint".
class ChartSeriesEvents : public ::testing::Test {
protected:
    void SetUp() override {
        series.OnAfterAdd = [this](Series& sender, int valueIndex) {
            const auto x = sender.XValues()[static_cast<std::size_t>(valueIndex)];
            const auto y = sender.YValues()[static_cast<std::size_t>(valueIndex)];
            log.push_back("add " + std::to_string(valueIndex) + " " +
                          std::to_string(sender.Count()) + " " + std::to_string(x) + " " +
                          std::to_string(y));
            if (clearInHandler) {
                sender.Clear();
            }
        };
        series.OnRepaintRequest = [this] { log.push_back("repaint"); };
    }

    Series series;
    std::vector<std::string> log;
    bool clearInHandler = false;
};

TEST_F(ChartSeriesEvents, AfterAddSeesTheStoredPointThenRepaintIsAsked) {
    EXPECT_EQ(series.AddY(17.0), 0);
    EXPECT_EQ(series.AddY(200.0), 1);
    const std::vector<std::string> expected = {
        "add 0 1 0.000000 17.000000",
        "repaint",
        "add 1 2 1.000000 200.000000",
        "repaint",
    };
    EXPECT_EQ(log, expected);
}

TEST_F(ChartSeriesEvents, HandlerThatClearsLeavesAnEmptySeriesAndIndexRestarts) {
    series.AddY(5.0);
    series.AddY(6.0);
    clearInHandler = true;
    EXPECT_EQ(series.AddY(7.0), 2);  // the index of the point that was stored
    EXPECT_EQ(series.Count(), 0);
    EXPECT_EQ(series.Capacity(), 0);
    // Clear's own request, then AddY's request after the handler returned.
    const std::vector<std::string> tail(log.end() - 3, log.end());
    const std::vector<std::string> expected = {"add 2 3 2.000000 7.000000", "repaint", "repaint"};
    EXPECT_EQ(tail, expected);

    clearInHandler = false;
    log.clear();
    EXPECT_EQ(series.AddY(8.0), 0);
    EXPECT_EQ(series.XValues()[0], 0.0);
    EXPECT_EQ(series.YValues()[0], 8.0);
}

TEST_F(ChartSeriesEvents, ClearOnAnEmptySeriesOnlyRepaints) {
    series.Clear();
    EXPECT_EQ(log, std::vector<std::string>{"repaint"});
    EXPECT_EQ(series.AddY(1.0), 0);
}

TEST(ChartSeries, AddYStoresRunningIndexAsX) {
    Series series;
    const std::vector<double> ys = {128.0, 0.0, 255.0, 255.0, 3.5};
    for (std::size_t i = 0; i < ys.size(); ++i) {
        EXPECT_EQ(series.AddY(ys[i]), static_cast<int>(i));
    }
    ASSERT_EQ(series.Count(), 5);
    EXPECT_EQ(std::vector<double>(series.XValues().begin(), series.XValues().end()),
              (std::vector<double>{0, 1, 2, 3, 4}));
    EXPECT_EQ(std::vector<double>(series.YValues().begin(), series.YValues().end()), ys);
}

TEST(ChartSeries, StorageGrowsBy1000AndClearReleasesIt) {
    Series series;
    EXPECT_EQ(series.Capacity(), 0);
    series.AddY(1.0);
    EXPECT_EQ(series.Capacity(), 1000);
    for (int i = 1; i < 1000; ++i) {
        series.AddY(1.0);
    }
    EXPECT_EQ(series.Capacity(), 1000);
    series.AddY(1.0);
    EXPECT_EQ(series.Capacity(), 2000);
    series.Clear();
    EXPECT_EQ(series.Count(), 0);
    EXPECT_EQ(series.Capacity(), 0);
    EXPECT_TRUE(series.XValues().empty());
    EXPECT_TRUE(series.YValues().empty());
}

// A redraw that finds the generation unchanged draws only what the appended points add.
TEST(ChartSeries, GenerationChangesWhenStoredPointsGoNotOnAppends) {
    Series series;
    const unsigned start = series.Generation();
    series.AddY(1.0);
    series.AddY(2.0);
    series.AddY(2.0);
    EXPECT_EQ(series.Generation(), start);
    series.Clear();
    EXPECT_NE(series.Generation(), start);
    const unsigned cleared = series.Generation();
    series.Clear();
    EXPECT_NE(series.Generation(), cleared) << "a clear of an empty series counts too";
}

struct AutoClearCase {
    double maximum;
    int firstClearingIndex;
};

class ChartAutoClear : public ::testing::TestWithParam<AutoClearCase> {};

TEST_P(ChartAutoClear, ClearsAtTheFirstIndexAboveMaximum) {
    const AutoClearCase c = GetParam();
    EXPECT_FALSE(AutoClearDue(c.maximum, c.firstClearingIndex - 1));
    EXPECT_TRUE(AutoClearDue(c.maximum, c.firstClearingIndex));
}

INSTANTIATE_TEST_SUITE_P(, ChartAutoClear,
                         ::testing::Values(AutoClearCase{256.0, 257}, AutoClearCase{256.5, 257},
                                           AutoClearCase{255.9, 256}, AutoClearCase{30.0, 31},
                                           AutoClearCase{-0.5, 0}));

// The window's handler wired to a series: with Maximum 256 the 258th sample
// empties the series and the next one is x = 0 again.
TEST(ChartAutoClearSeries, RestartsAfterTheSampleBeyondMaximum) {
    Series series;
    const double maximum = 256.0;
    series.OnAfterAdd = [maximum](Series& sender, int valueIndex) {
        if (AutoClearDue(maximum, valueIndex)) {
            sender.Clear();
        }
    };
    for (int i = 0; i <= 256; ++i) {
        series.AddY(100.0);
    }
    EXPECT_EQ(series.Count(), 257);
    EXPECT_EQ(series.AddY(100.0), 257);
    EXPECT_EQ(series.Count(), 0);
    EXPECT_EQ(series.AddY(100.0), 0);
}

}  // namespace
