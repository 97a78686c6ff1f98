#include "core/chart/plot_layout.h"

#include <algorithm>

namespace chart {

RectPx PlotRectFor(int clientWidthPx, int clientHeightPx, int widestLeftLabelPx, int spaceWidthPx,
                   int heightOfWPx) {
    RectPx plot;
    plot.Left = kBevelPx + widestLeftLabelPx + spaceWidthPx + kAxisBandPx;
    plot.Top = kBevelPx;
    plot.Right = clientWidthPx - kBevelPx;
    plot.Bottom = clientHeightPx - kBevelPx - (heightOfWPx + kAxisBandPx);
    return plot;
}

void SetAxisEnds(Axis& axis, RectPx plot) {
    if (axis.Orientation == AxisOrientation::Horizontal) {
        axis.AxisStartPx = plot.Left;
        axis.AxisEndPx = plot.Right;
    } else {
        axis.AxisStartPx = plot.Top;
        axis.AxisEndPx = plot.Bottom;
    }
}

RectPx LabelBoundsFor(int clientWidthPx, int clientHeightPx) {
    return {kBevelPx, kBevelPx, clientWidthPx - kBevelPx, clientHeightPx - kBevelPx};
}

int LabelEdgePx(AxisOrientation orientation, RectPx plot) {
    return orientation == AxisOrientation::Horizontal ? plot.Bottom + kAxisBandPx
                                                      : plot.Left - kAxisBandPx;
}

ChartLayout LayoutChart(int clientWidthPx, int clientHeightPx, const Axis& bottom, const Axis& left,
                        int seriesCount, const TextMeasurer& measurer,
                        const NumberSymbols& symbols) {
    ChartLayout layout{.PlotRectPx = {},
                       .LabelBoundsPx = LabelBoundsFor(clientWidthPx, clientHeightPx),
                       .Bottom = bottom,
                       .Left = left,
                       .BottomLabels = {},
                       .LeftLabels = {}};
    layout.Bottom.Orientation = AxisOrientation::Horizontal;
    layout.Left.Orientation = AxisOrientation::Vertical;
    for (Axis* axis : {&layout.Bottom, &layout.Left}) {
        axis->DrawnMinimum = axis->Minimum;
        axis->DrawnMaximum = axis->Maximum;
    }
    const int heightOfWPx = measurer.HeightOfWPx();

    // The left labels depend only on the plot's height, which the bottom band
    // fixes; their widest text then fixes the plot's left edge.
    const RectPx heightOnly = PlotRectFor(clientWidthPx, clientHeightPx, 0, 0, heightOfWPx);
    SetAxisEnds(layout.Left, heightOnly);
    layout.LeftLabels = BuildAxisLabels(layout.Left, std::nullopt, measurer, symbols);
    int widestLeftPx = 0;
    for (const AxisLabel& label : layout.LeftLabels.Labels) {
        widestLeftPx = std::max(widestLeftPx, label.WidthPx);
    }

    const int spacePx = measurer.WidthPx(u" ");
    layout.PlotRectPx =
        PlotRectFor(clientWidthPx, clientHeightPx, widestLeftPx, spacePx, heightOfWPx);
    // Labels that leave the plot no column do not fit, so none is drawn: a value near 1e300
    // is written with every digit, and left labels wider than the chart would push the
    // whole plot out of it.
    if (layout.PlotRectPx.Width() < 1 && widestLeftPx > 0) {
        layout.LeftLabels = {
            .Increment = layout.LeftLabels.Increment, .Labels = {}, .MinorTickPx = {}};
        layout.PlotRectPx = PlotRectFor(clientWidthPx, clientHeightPx, 0, spacePx, heightOfWPx);
    }
    SetAxisEnds(layout.Bottom, layout.PlotRectPx);
    layout.BottomLabels = BuildAxisLabels(layout.Bottom, seriesCount, measurer, symbols);

    PlaceLabelRects(layout.LeftLabels, layout.Left.Orientation,
                    LabelEdgePx(layout.Left.Orientation, layout.PlotRectPx), heightOfWPx,
                    layout.LabelBoundsPx);
    PlaceLabelRects(layout.BottomLabels, layout.Bottom.Orientation,
                    LabelEdgePx(layout.Bottom.Orientation, layout.PlotRectPx), heightOfWPx,
                    layout.LabelBoundsPx);
    return layout;
}

}  // namespace chart
