// Where the plot rectangle lies inside the chart and where the two visible
// axes and their labels go: the layout part of each redraw.
#pragma once

#include "core/chart/axis.h"
#include "core/chart/geometry.h"
#include "core/chart/labels.h"

namespace chart {

// The frame around the chart's client area (raised bevel, 1 pixel).
inline constexpr int kBevelPx = 1;
// Axis line (2) + gap (1) + tick length (4) between the plot and the labels.
inline constexpr int kAxisBandPx = 7;
// The axis line's part of kAxisBandPx: the two columns left of the plot, the two rows
// below it.
inline constexpr int kAxisLineWidthPx = 2;

// The plot rectangle inside a client area of the given size: the bevel
// removed, a left band of widest left label + one space + kAxisBandPx, a
// bottom band of the height of "W" + kAxisBandPx.
RectPx PlotRectFor(int clientWidthPx, int clientHeightPx, int widestLeftLabelPx, int spaceWidthPx,
                   int heightOfWPx);

// Copies `plot`'s edges into the axis's pixel ends: left to right for a horizontal axis,
// top to bottom for a vertical one. The far end is the plot's right or bottom edge line,
// just past its last column or row, so the axis is as long as the plot is wide or high:
// over a plot 1000 pixels wide from x = 50 the bottom axis drawn 0..256 puts 64 on
// x = 300 and 128 on x = 550, and its Maximum on x = 1050, outside the plot.
void SetAxisEnds(Axis& axis, RectPx plot);

// Where the tick marks end and the label texts begin.
int LabelEdgePx(AxisOrientation orientation, RectPx plot);

// Where labels may lie: the client area inside the frame.
RectPx LabelBoundsFor(int clientWidthPx, int clientHeightPx);

struct ChartLayout {
    RectPx PlotRectPx;
    RectPx LabelBoundsPx;  // see LabelBoundsFor
    Axis Bottom;           // as drawn: DrawnMinimum/Maximum and pixel ends set
    Axis Left;
    AxisLabels BottomLabels;
    AxisLabels LeftLabels;
};

// One redraw's layout: copies each axis's range into its drawn range, lays
// out the plot rectangle around the left labels' width (the left axis draws no
// labels when they would leave the plot no column) and chooses both axes'
// labels. The returned axes are horizontal (bottom) and vertical (left),
// whatever the given ones said; the view stores them back as the chart's axes.
ChartLayout LayoutChart(int clientWidthPx, int clientHeightPx, const Axis& bottom, const Axis& left,
                        int seriesCount, const TextMeasurer& measurer,
                        const NumberSymbols& symbols);

}  // namespace chart
