// The chart's points as text: the range, the order, the separators and the numbers.
#include "core/output/point_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(PointsText, WritesThePointsInTheRange) {
    const std::vector<double> xs{0, 1, 2, 3, 4, 5};
    const std::vector<double> ys{128, 131, 134, 137, 140, 255};
    const struct {
        double first;
        double last;
        char separator;
        std::string expected;
    } cases[] = {
        {0, 30, '\t', "x\ty\r\n0\t128\r\n1\t131\r\n2\t134\r\n3\t137\r\n4\t140\r\n5\t255\r\n"},
        {2, 3, '\t', "x\ty\r\n2\t134\r\n3\t137\r\n"},
        {1.5, 3.9, ',', "x,y\r\n2,134\r\n3,137\r\n"},
        {-10, 0, ',', "x,y\r\n0,128\r\n"},
        {6, 30, '\t', "x\ty\r\n"},
        {5, 5, ',', "x,y\r\n5,255\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(output::PointsText(xs, ys, c.first, c.last, c.separator), c.expected)
            << c.first << ".." << c.last;
    }
}

TEST(PointsText, NumbersArePlainIntegers) {
    const std::vector<double> xs{9999, 10000, 1234567};
    const std::vector<double> ys{0, 255, 127.6};
    EXPECT_EQ(output::PointsText(xs, ys, 0, 2e6, ','),
              "x,y\r\n9999,0\r\n10000,255\r\n1234567,128\r\n");
}

TEST(PointsText, EmptySeriesGivesTheHeader) {
    EXPECT_EQ(output::PointsText({}, {}, 0, 30, '\t'), "x\ty\r\n");
}

}  // namespace
