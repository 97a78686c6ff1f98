#include "core/chart/chart_mouse.h"

#include <cstdlib>

namespace chart {

namespace {

// Wider than 16 pixels, in 64 bits: the corners may lie anywhere the capture reports.
bool BeyondZoomMinimum(int from, int to) {
    return std::llabs(static_cast<long long>(to) - from) > kZoomMinimumPx;
}

std::optional<ZoomOutline> OutlineOf(const ZoomDrag& drag) {
    if (drag.StartX == drag.CurX && drag.StartY == drag.CurY) return std::nullopt;
    return ZoomOutline{{drag.StartX, drag.StartY}, {drag.CurX, drag.CurY}};
}

}  // namespace

RectPx AxisPressBand(const Axis& axis, const AxisLabels& labels, RectPx plot) {
    const bool hasLabels = !labels.Labels.empty();
    if (axis.Orientation == AxisOrientation::Horizontal) {
        const int top = hasLabels ? plot.Bottom - kPressBandIntoPlotPx : plot.Bottom;
        const int bottom =
            hasLabels ? LabelEdgePx(axis.Orientation, plot) : plot.Bottom + kAxisLineWidthPx;
        return {axis.AxisStartPx, top, axis.AxisEndPx + 1, bottom};
    }
    const int left = hasLabels ? LabelEdgePx(axis.Orientation, plot) : plot.Left - kAxisLineWidthPx;
    const int right = hasLabels ? plot.Left + kPressBandIntoPlotPx : plot.Left;
    return {left, axis.AxisStartPx, right, axis.AxisEndPx + 1};
}

PressTarget HitTest(const ChartLayout& drawn, PointPx at) {
    if (AxisPressBand(drawn.Bottom, drawn.BottomLabels, drawn.PlotRectPx)
            .Contains(at.XPx, at.YPx)) {
        return PressTarget::BottomAxis;
    }
    if (AxisPressBand(drawn.Left, drawn.LeftLabels, drawn.PlotRectPx).Contains(at.XPx, at.YPx)) {
        return PressTarget::LeftAxis;
    }
    // Bounds inclusive: the plot's right and bottom edge lines, where the axes end
    // (SetAxisEnds), belong to it.
    if (drawn.PlotRectPx.ContainsInclusive(at.XPx, at.YPx)) return PressTarget::Plot;
    return PressTarget::None;
}

MouseEffects ChartMouse::Press(MouseButton button, PointPx at, bool focusOnChartOrParent,
                               const ChartLayout& drawn) {
    MouseEffects fx;
    fx.TakeFocus = !focusOnChartOrParent;
    if (zoomDrag_.Active || panDrag_.Active) return fx;
    if (button == MouseButton::Middle || HitTest(drawn, at) == PressTarget::None) return fx;
    if (button == MouseButton::Left) {
        zoomDrag_ = {
            .Active = true, .StartX = at.XPx, .StartY = at.YPx, .CurX = at.XPx, .CurY = at.YPx};
    } else {
        panDrag_ = {.Active = true, .LastX = at.XPx, .LastY = at.YPx};
    }
    fx.Capture = true;
    fx.ArrowCursor = true;
    return fx;
}

MouseEffects ChartMouse::Move(PointPx at, ChartZoom& zoom, Axis& bottom, Axis& left) {
    MouseEffects fx;
    if (zoomDrag_.Active) {
        if (at.XPx == zoomDrag_.CurX && at.YPx == zoomDrag_.CurY) return fx;
        fx.EraseOutline = OutlineOf(zoomDrag_);
        zoomDrag_.CurX = at.XPx;
        zoomDrag_.CurY = at.YPx;
        fx.DrawOutline = OutlineOf(zoomDrag_);
    } else if (panDrag_.Active) {
        if (!zoom.ScrollBy({panDrag_.LastX, panDrag_.LastY}, at, bottom, left)) return fx;
        panDrag_.LastX = at.XPx;
        panDrag_.LastY = at.YPx;
        fx.Repaint = true;
    }
    return fx;
}

MouseEffects ChartMouse::Release(MouseButton button, PointPx at, ChartZoom& zoom, Axis& bottom,
                                 Axis& left) {
    MouseEffects fx;
    if (zoomDrag_.Active && button == MouseButton::Left) {
        fx.EraseOutline = OutlineOf(zoomDrag_);
        zoomDrag_.Active = false;
        zoomDrag_.CurX = at.XPx;
        zoomDrag_.CurY = at.YPx;
        fx.ReleaseCapture = true;
        if (BeyondZoomMinimum(zoomDrag_.StartX, zoomDrag_.CurX) &&
            BeyondZoomMinimum(zoomDrag_.StartY, zoomDrag_.CurY)) {
            // Only x decides: a rectangle dragged to the left undoes, up or down.
            if (zoomDrag_.CurX > zoomDrag_.StartX) {
                zoom.ZoomInto({zoomDrag_.StartX, zoomDrag_.StartY}, at, bottom, left);
            } else {
                zoom.UndoZoom(bottom, left);
            }
            fx.Repaint = true;
        }
    }
    // Any button ends a scroll.
    if (panDrag_.Active) {
        panDrag_.Active = false;
        fx.ReleaseCapture = true;
    }
    return fx;
}

MouseEffects ChartMouse::CaptureLost() {
    MouseEffects fx;
    if (zoomDrag_.Active) {
        fx.EraseOutline = OutlineOf(zoomDrag_);
        zoomDrag_.Active = false;
    }
    panDrag_.Active = false;
    return fx;
}

DragMode ChartMouse::Mode() const noexcept {
    if (zoomDrag_.Active) return DragMode::Zooming;
    if (panDrag_.Active) return DragMode::Scrolling;
    return DragMode::Idle;
}

std::optional<ZoomOutline> ChartMouse::OutlineShown() const {
    if (!zoomDrag_.Active) return std::nullopt;
    return OutlineOf(zoomDrag_);
}

}  // namespace chart
