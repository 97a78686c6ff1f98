// The chart window: axes, grid, labels and the stepped line of its series, drawn into an
// off-screen picture that is redrawn only when out of date. Any number of repaint requests
// before a paint cost one redraw; a paint without a request only copies the picture.
// The mouse zooms (left drag, with a rubber band drawn straight onto the screen), scrolls
// (right drag) and scrolls vertically (wheel), as ChartMouse and ChartZoom decide.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/chart/axis.h"
#include "core/chart/chart_mouse.h"
#include "core/chart/labels.h"
#include "core/chart/plot_layout.h"
#include "core/chart/series.h"
#include "core/chart/zoom.h"
#include "win/output/save_dialog.h"
#include "win/ui/control.h"
#include "win/ui/mouse_leave.h"
#include "win/ui/value_events.h"
#include "win/views/chart_painter.h"

namespace chart {

// Counts of the chart's drawing work since its creation.
struct ChartDrawStats {
    int Redraws = 0;        // of the picture, whatever changed
    int StaticRedraws = 0;  // of the static layer (background, frame, axes, grid, labels)
    int WholeLines = 0;     // of the line whole, rather than where appended points changed it
    // Outline drawings onto the screen: two per rubber band move, one per paint that
    // copies anything during a zoom drag.
    int OutlineDraws = 0;
};

// What screen readers are told about the chart's keys.
inline constexpr std::u16string_view kChartKeysDescription =
    u"Ctrl+C or Ctrl+Insert copies the chart's picture and its visible points; "
    u"Ctrl+S saves them as a PNG picture or CSV numbers";

// The chart as shown at one moment: its picture and its visible points as text.
struct ChartSnapshot {
    int WidthPx = 0;
    int HeightPx = 0;
    std::vector<std::uint32_t> Pixels;  // top row first, 0x00RRGGBB
    std::string TabText;                // "x<TAB>y" and a line per visible point
    std::string CommaText;              // the same with commas
};

class ChartView : public ui::Control {
public:
    layout::ControlKind Kind() const noexcept override { return layout::ControlKind::Chart; }

    Axis BottomAxis;
    Axis LeftAxis;

    // The series drawn; it asks this chart to repaint on every change.
    void AddSeries(Series& series);
    // Marks the picture out of date and invalidates the window. Ignored while drawing.
    void RequestRepaint();
    // The same, and the static layer is drawn anew too, changed or not.
    void RequestFullRedraw();

    // Back to the view before the first zoom, scroll or wheel step ("1:1"), if one is
    // saved; repaints either way.
    void UndoZoom();

    void ScaleBy(int newDpi, int oldDpi) override;

    // Keys on the focused chart (chart_export.cpp); they change no view. Ctrl+C and
    // Ctrl+Insert put the chart on the clipboard, Ctrl+S saves it.
    //
    // The picture as drawn now (the rubber band is never in it) and the points whose x
    // lies in the visible bottom range.
    ChartSnapshot Snapshot();
    // The snapshot's picture (a device-independent bitmap of the client size) and its
    // tab-separated text, in one open and close of the clipboard. While another program
    // holds the clipboard this retries for a short while; then it sounds AlertSound and
    // returns false, changing nothing.
    bool CopyToClipboard();
    // The Save dialog, then the file: PNG or CSV, written whole or not at all. A failure
    // is reported in the error box and the program goes on.
    void SaveWithDialog();
    // Seams: the dialog's answer (the system's Save dialog unless replaced) and the sound of
    // a refused copy (the system's alert unless replaced).
    std::function<std::optional<ui::SaveChoice>(HWND owner)> ChooseSaveFile;
    std::function<void()> AlertSound;

    // A chart whose value states the visible ranges and the points held (chart_accessible.cpp).
    std::optional<ui::AccessibleFacts> Accessible() const override;
    std::u16string AccessibleValue() const;

    Surface DrawingSurface() const noexcept { return surface_; }
    // Normally chosen by probing GDI+ at creation.
    void SetDrawingSurface(Surface surface);

    // As last drawn: the plot rectangle, the axes with their drawn ranges and pixel ends,
    // and the labels.
    const ChartLayout& Layout() const noexcept { return layout_; }
    HoveredLabels Hovered() const noexcept { return hovered_; }
    const LabelFonts& Fonts() const noexcept { return fonts_; }
    // The picture the screen shows.
    const ui::MemoryPicture& Picture() const noexcept { return painter_.Picture(); }
    // What the chart has drawn since creation.
    ChartDrawStats Stats() const noexcept;
    // The drag in progress and the saved view.
    const ChartMouse& Mouse() const noexcept { return mouse_; }
    const ChartZoom& Zoom() const noexcept { return zoom_; }

protected:
    void CreateWindowFor(HWND parent, const RECT& rect) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // Brings the picture up to date; returns the part of it that changed.
    RectPx Redraw();
    void Paint();
    // The labels under `pointer` as laid out now; none without a pointer.
    HoveredLabels HoveredAt(std::optional<PointPx> pointer) const;
    // The pointer moved to `pointer`, or left the chart.
    void TrackHover(std::optional<PointPx> pointer);
    void SetHovered(HoveredLabels hovered);
    void Press(MouseButton button, LPARAM lp);
    void Release(MouseButton button, LPARAM lp);
    void MouseMoved(LPARAM lp);
    void Apply(const MouseEffects& fx);
    void DrawOutline(HDC dc, const ZoomOutline& outline);
    // Ctrl+C, Ctrl+Insert, Ctrl+S; true when `key` was one of them.
    bool HandleExportKey(WPARAM key);

    Series* series_ = nullptr;
    ChartPainter painter_;
    LabelFonts fonts_;
    NumberSymbols symbols_;
    Surface surface_ = Surface::AntiAliased;
    ChartLayout layout_;
    HoveredLabels hovered_;
    // Where the pointer was last seen over the chart while no drag was in progress; none
    // once it left.
    std::optional<PointPx> pointer_;
    ChartMouse mouse_;
    ChartZoom zoom_;
    bool pictureValid_ = false;
    bool paintRequested_ = false;  // a paint is asked for already: no need to ask again
    bool drawing_ = false;
    ui::MouseLeave mouseLeave_;
    int redraws_ = 0;
    int outlineDraws_ = 0;
    COLORREF bandBackground_ = 0;  // the background the current drag's outline is made for
    // Told of every repaint request; the value is read, and told if changed, a few times a
    // second at most.
    ui::ValueEvents valueEvents_{[this] { return AccessibleValue(); }};
};

}  // namespace chart
