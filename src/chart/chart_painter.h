#pragma once
// What the chart window draws and how: the static layer (background, frame, axes, grid,
// labels) kept until its content changes, and the stepped line composed over a copy of it
// into the picture that goes to the screen, where the line changed.
#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

#include "chart/geometry.h"
#include "chart/label_fonts.h"
#include "chart/labels.h"
#include "chart/plot_layout.h"
#include "chart/stair_line.h"
#include "chart/stairs_raster.h"
#include "chart/visible_range.h"
#include "ui/memory_picture.h"

namespace chart {

// How the chart draws its line, chosen once when it is created. Everything else is drawn
// with plain GDI on both: it is made of whole pixels, which GDI+ in high quality would draw
// alike, only much slower.
enum class Surface {
    // Anti-aliased: each pixel shaded by how much of it the 3-pixel stroke covers, pixel
    // centres on whole coordinates, as GDI+ draws such a line in high-quality smoothing on
    // that grid (a Wine test compares the two).
    GdiPlus,
    PlainGdi,  // GDI+ is not usable: without anti-aliasing
};

// GdiPlus when GDI+ can create a solid brush; PlainGdi when it cannot (status 18, GDI+
// not initialised, or any other failure).
Surface ProbeSurface() noexcept;

inline constexpr COLORREF kLineColour = RGB(68, 102, 163);

// The label of each axis drawn in bold: an index into that axis's labels, -1 for none.
struct HoveredLabels {
    int Bottom = -1;
    int Left = -1;
    bool operator==(const HoveredLabels&) const = default;
};

// What the picture shows: the chart as laid out, the hovered labels, the fonts, the
// drawing surface and the series' points.
struct ChartScene {
    const ChartLayout& Layout;
    HoveredLabels Hovered;
    int WidthPx = 0;
    int HeightPx = 0;
    const LabelFonts& Fonts;
    Surface LineSurface = Surface::GdiPlus;
    std::span<const double> XValues;
    std::span<const double> YValues;
    unsigned SeriesGeneration = 0;
};

// One rectangle of the static layer in one colour.
struct Fill {
    RectPx Rect;
    COLORREF Colour;
};

// Draws the chart's picture: the static layer (background, frame, axes, grid, labels),
// kept until its content changes, with the stepped line composed over it. Inside the
// line's clip the static layer is made of whole-pixel shapes alone, so where the line goes
// away the shapes are drawn there again: no second picture is kept.
//
// An update after which only points were appended (the same static layer, surface and
// series generation, more points) redraws only the columns and rows that the new part of
// the line touches. Every other update redraws the line in strips of kStripPx columns,
// each with the rows its part of the line reaches. Both give every pixel the static
// layer blended with the whole line's coverage, as a redraw from nothing does: the part of
// the line that reaches some columns has the whole line's coverage there
// (StairLine::PartReaching), and appended points change nothing outside their area
// (StairLine::AppendedArea).
class ChartPainter {
public:
    // Columns of a strip of the line in a full redraw: narrow enough for the rows of its
    // part of the line to be few, wide enough for its set-up to cost little.
    static constexpr int kStripPx = 64;

    // Brings the picture up to date with `scene`; returns the part of it that changed,
    // empty when nothing did. When the pictures cannot be made nothing is drawn and the
    // whole client area is returned.
    RectPx Update(const ChartScene& scene);

    // The next update redraws everything, the static layer included (fonts or colours
    // changed).
    void InvalidateStaticLayer() noexcept { staticValid_ = false; }

    const ui::MemoryPicture& Picture() const noexcept { return picture_; }
    // How often the static layer has been drawn, and how often the line was drawn whole
    // rather than where appended points changed it.
    int StaticRedrawCount() const noexcept { return staticRedraws_; }
    int WholeLineCount() const noexcept { return wholeLines_; }

private:
    // The line the picture shows over the static layer.
    struct ShownLine {
        bool Valid = false;
        unsigned Generation = 0;
        int Count = 0;
        VisibleRange Range;
        Surface LineSurface = Surface::GdiPlus;
        RectPx ClipPx;
        Axis Bottom;  // as drawn
        Axis Left;
        std::vector<RowSpan> StripRows;  // per strip of ClipPx, the rows the line may touch
    };

    bool StaticLayerShows(const ChartScene& scene) const;
    void DrawStaticLayer(const ChartScene& scene);
    // The line in strips over `clip`, after the line shown is taken away (unless the
    // picture shows the bare static layer); returns the pixels that changed.
    RectPx DrawWholeLine(const StairLine& line, RectPx clip, Surface surface, bool pictureIsStatic);
    // The pixels that the points after `oldLast` change (see StairLine::AppendedArea).
    RectPx DrawAppended(const StairLine& line, RectPx clip, Surface surface, bool oldDrawn,
                        int oldLast);
    // Composes the coverage of `part` in `area`, where the picture shows the static layer.
    void ComposePart(std::span<const PointPx> part, RectPx area, Surface surface);
    // The static layer again in `area`, inside the line's clip.
    void RestoreStatic(RectPx area);
    RectPx StripColumns(RectPx clip, std::size_t strip) const;

    ui::MemoryPicture picture_;
    bool staticValid_ = false;
    // The static layer's shapes, in drawing order, and a row for drawing them.
    std::vector<Fill> shapes_;
    std::vector<std::uint32_t> shapeRow_;
    // What the static layer shows.
    ChartLayout shownLayout_;
    HoveredLabels shownHovered_;
    int shownFonts_ = -1;
    int staticRedraws_ = 0;
    int wholeLines_ = 0;
    ShownLine shownLine_;
    // Working memory kept from one update to the next.
    StairsRasterizer rasterizer_;
    std::vector<PointPx> vertices_;
};

}  // namespace chart
