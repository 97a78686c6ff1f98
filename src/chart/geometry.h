// Pixel geometry shared by the chart's layout, labels, line and rasterizer.
#pragma once

namespace chart {

/// A point in the chart's client coordinates.
struct PointPx {
    int XPx = 0;
    int YPx = 0;
    bool operator==(const PointPx&) const = default;
};

/// A rectangle in client coordinates, right and bottom exclusive as in Win32:
/// it holds the pixel columns LeftPx .. RightPx - 1 and rows TopPx .. BottomPx - 1.
struct PxRect {
    int LeftPx = 0;
    int TopPx = 0;
    int RightPx = 0;
    int BottomPx = 0;

    int WidthPx() const { return RightPx - LeftPx; }
    int HeightPx() const { return BottomPx - TopPx; }
    bool operator==(const PxRect&) const = default;
};

}  // namespace chart
