// The chart's mouse without its window: where a press starts a drag, and the drag modes
// (idle, zooming with the left button, scrolling with the right one) with the rubber
// band's outline. The Win32 view forwards presses, moves and releases here, applies the
// returned effects and draws; the range changes themselves are ChartZoom's.
#pragma once

#include <optional>

#include "core/chart/axis.h"
#include "core/chart/geometry.h"
#include "core/chart/labels.h"
#include "core/chart/plot_layout.h"
#include "core/chart/zoom.h"

namespace chart {

// How far the press band of an axis reaches past the axis line into the plot.
inline constexpr int kPressBandIntoPlotPx = 3;

// The pixels of an axis whose press starts a drag, as a rectangle (right and bottom
// exclusive) after the painter's layout of the bands beside plot P:
//   bottom axis: line rows P.Bottom, P.Bottom+1; gap row P.Bottom+2; tick rows P.Bottom+3
//     to P.Bottom+6; label text from row P.Bottom+7 (LabelEdgePx) down.
//     Band: columns AxisStartPx..AxisEndPx, rows P.Bottom-3..P.Bottom+6.
//   left axis: line columns P.Left-2, P.Left-1; gap column P.Left-3; tick columns P.Left-7
//     to P.Left-4; label text up to column P.Left-8 (its rectangle ends at LabelEdgePx).
//     Band: rows AxisStartPx..AxisEndPx, columns P.Left-7..P.Left+2.
// So the band runs from the tick marks' far end to 3 pixels into the plot, and the
// labels' text lies outside it. An axis without labels has the axis line alone as band:
// rows P.Bottom..P.Bottom+1, or columns P.Left-2..P.Left-1.
RectPx AxisPressBand(const Axis& axis, const AxisLabels& labels, RectPx plot);

enum class PressTarget { None, BottomAxis, LeftAxis, Plot };

// What a press at `at` hits in the chart as last drawn, first match first: the bottom
// axis's band, the left axis's band, the plot rectangle (its right and bottom edge lines
// included: where the axes end). The title, legend, hidden axes and the series' line are
// no targets.
PressTarget HitTest(const ChartLayout& drawn, PointPx at);

enum class MouseButton { Left, Right, Middle };

enum class DragMode { Idle, Zooming, Scrolling };

// The zoom drag: the press point and the moving corner.
struct ZoomDrag {
    bool Active = false;
    int StartX = 0;
    int StartY = 0;
    int CurX = 0;
    int CurY = 0;
    bool operator==(const ZoomDrag&) const = default;
};

// The scroll drag: the pointer position at the previous scroll step.
struct PanDrag {
    bool Active = false;
    int LastX = 0;
    int LastY = 0;
    bool operator==(const PanDrag&) const = default;
};

// The rubber band: the unfilled rectangle with these two corners, drawn with an inverting
// pen so that drawing it twice restores the picture.
struct ZoomOutline {
    PointPx Start;
    PointPx Corner;
    bool operator==(const ZoomOutline&) const = default;
};

// What the view has to do after an input, in this order.
struct MouseEffects {
    bool TakeFocus = false;  // give the chart the keyboard focus
    std::optional<ZoomOutline> EraseOutline =
        std::nullopt;  // draw the outline once more at these corners
    std::optional<ZoomOutline> DrawOutline = std::nullopt;  // draw the outline at these corners
    bool Capture = false;                                   // capture the pointer
    bool ReleaseCapture = false;                            // release the pointer capture
    bool ArrowCursor = false;  // set the pointer shape to the platform's default arrow
    bool Repaint = false;      // ask for a repaint of the chart
    bool operator==(const MouseEffects&) const = default;
};

// The drag state. An outline whose corners coincide is never drawn, so none is erased
// either: right after a press, and whenever the pointer comes back to the press point.
// The capture is held exactly while a drag is active.
class ChartMouse {
public:
    // A press of `button` at `at`. The chart takes the focus unless it or its parent
    // panel has it (`focusOnChartOrParent`): the chart is a tab stop, and a chart that
    // gets a press can take the focus. During a drag any press is ignored; otherwise a
    // press on a target (HitTest on the chart as last drawn) starts a zoom with the left
    // button and a scroll with the right one, with the arrow cursor. The middle button
    // starts nothing.
    MouseEffects Press(MouseButton button, PointPx at, bool focusOnChartOrParent,
                       const ChartLayout& drawn);

    // A pointer move. Zooming: the outline moves to the new corner. Scrolling: one
    // ChartZoom::ScrollBy step and a repaint. A move to the position already held does
    // nothing.
    MouseEffects Move(PointPx at, ChartZoom& zoom, Axis& bottom, Axis& left);

    // A release of `button` at `at`. Only the left button ends a zoom: the outline goes,
    // and a rectangle wider and taller than kZoomMinimumPx zooms when dragged to the
    // right and undoes when dragged to the left, then repaints; a smaller one changes
    // nothing. Any button ends a scroll.
    MouseEffects Release(MouseButton button, PointPx at, ChartZoom& zoom, Axis& bottom, Axis& left);

    // The capture went elsewhere (another window took it, or a dialog opened): a drag
    // in progress ends without changing the view, its outline erased.
    MouseEffects CaptureLost();

    DragMode Mode() const noexcept;
    const PanDrag& PanState() const noexcept { return panDrag_; }
    // The outline a repaint draws on top of the finished picture; none when not zooming
    // or when its corners coincide.
    std::optional<ZoomOutline> OutlineShown() const;

private:
    ZoomDrag zoomDrag_;
    PanDrag panDrag_;
};

}  // namespace chart
