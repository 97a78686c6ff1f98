// The chart's picture as pixels: the static layer's shapes (background, frame, axes, ticks,
// grid) filled into rows of 32-bit pixels, and the stepped line composed over them where
// it changed. The label texts are the one part drawn elsewhere (by the platform's fonts),
// outside the line's clip, where nothing here writes after the shapes.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/chart/geometry.h"
#include "core/chart/pixel_image.h"
#include "core/chart/plot_layout.h"
#include "core/chart/stair_line.h"
#include "core/chart/stairs_raster.h"
#include "core/chart/visible_range.h"

namespace chart {

// How the chart draws its line, chosen once when it is created. Everything else is made
// of whole pixels and looks the same either way.
enum class Surface {
    // Each pixel shaded by how much of it the 3-pixel stroke covers, pixel centres on whole
    // coordinates, as a 2-D library draws such a line in high-quality smoothing on that
    // grid (a Wine test compares the two).
    AntiAliased,
    // A pixel is the line's colour where the stroke covers half of it or more, else left.
    Aliased,
};

inline constexpr base::Rgb kLineColour{68, 102, 163};

// One rectangle of the static layer in one colour.
struct Fill {
    RectPx Rect;
    base::Rgb Colour;
};

// Every shape of the static layer but the texts, in drawing order: background, frame,
// then per axis (bottom, left) its line, ticks, grid lines and minor ticks. Ticks stay
// inside the frame and grid lines inside the plot. An axis's far end lies on the plot's
// edge line: a label there on the bottom axis would have its tick on the frame and has
// none; one there on the left axis would have its grid line on the bottom axis line and
// has only its tick.
std::vector<Fill> StaticShapes(const ChartLayout& layout, int widthPx, int heightPx,
                               base::Rgb background);

// The shapes, in order, inside `area` of `picture`. The rows of `band` (the plot's) look
// alike under the first shapes, up to the first one that covers some of the band's rows
// and not others: those shapes are drawn once into `row`, which is then copied into every
// row of the band, so that each row is written while it is in the cache and not once per
// grid line that crosses it.
void FillShapes(PixelRows picture, std::span<const Fill> fills, RectPx area, RowSpan band,
                std::vector<std::uint32_t>& row);

// line * alpha + under * (1 - alpha) per channel of 0x00RRGGBB pixels, rounded to the
// nearest.
std::uint32_t Blend(std::uint32_t under, std::uint32_t line, std::uint32_t alpha);

// One row of the line's coverage over the pixels that the row shows: a pixel that the line
// does not cover is left as it is.
void ComposeRow(std::uint32_t* row, const std::uint8_t* alpha, int count, Surface surface);

// Whether two layouts give the same static layer.
bool SameStaticContent(const ChartLayout& a, const ChartLayout& b);

// The line to draw: how, the series' points, and the series' generation under which they
// stay the same points (Series::Generation).
struct LineScene {
    Surface LineSurface = Surface::AntiAliased;
    std::span<const double> XValues;
    std::span<const double> YValues;
    unsigned SeriesGeneration = 0;
};

// What the pixels show: the chart as laid out, its background colour and the line.
struct PictureScene {
    const ChartLayout& Layout;
    base::Rgb Background;
    LineScene Line;
};

// Keeps a picture's pixels up to date. Inside the line's clip the static layer is made of
// whole-pixel shapes alone, so where the line goes away the shapes are drawn there again:
// no second picture is kept.
//
// An update after which only points were appended (the same static layer, surface and
// series generation, more points) redraws only the columns and rows that the new part of
// the line touches. Every other update redraws the line in strips of kStripPx columns,
// each with the rows its part of the line reaches. Both give every pixel the static
// layer blended with the whole line's coverage, as a redraw from nothing does: the part of
// the line that reaches some columns has the whole line's coverage there
// (StairLine::PartReaching), and appended points change nothing outside their area
// (StairLine::AppendedArea).
class ChartPicture {
public:
    // Columns of a strip of the line in a full redraw: narrow enough for the rows of its
    // part of the line to be few, wide enough for its set-up to cost little.
    static constexpr int kStripPx = 64;

    // Brings `picture` up to date with `scene`; returns the part of it that changed, empty
    // when nothing did. With `staticShown` the picture holds what the last update left
    // there (texts outside the line's clip aside) and the static layer is the scene's;
    // otherwise the shapes are filled anew over the whole picture.
    RectPx Update(PixelRows picture, const PictureScene& scene, bool staticShown);

    // How often the shapes were filled over the whole picture, and how often the line was
    // drawn whole rather than where appended points changed it.
    int StaticLayerCount() const noexcept { return staticLayers_; }
    int WholeLineCount() const noexcept { return wholeLines_; }

private:
    // The line the picture shows over the static layer.
    struct ShownLine {
        bool Valid = false;
        unsigned Generation = 0;
        int Count = 0;
        VisibleRange Range;
        Surface LineSurface = Surface::AntiAliased;
        RectPx ClipPx;
        Axis Bottom;  // as drawn
        Axis Left;
        std::vector<RowSpan> StripRows;  // per strip of ClipPx, the rows the line may touch
    };

    // The line in strips over `clip`, after the line shown is taken away (unless the
    // picture shows the bare static layer); returns the pixels that changed.
    RectPx DrawWholeLine(PixelRows picture, const StairLine& line, RectPx clip, Surface surface,
                         bool pictureIsStatic);
    // The pixels that the points after `oldLast` change (see StairLine::AppendedArea).
    RectPx DrawAppended(PixelRows picture, const StairLine& line, RectPx clip, Surface surface,
                        bool oldDrawn, int oldLast);
    // Composes the coverage of `part` in `area`, where the picture shows the static layer.
    void ComposePart(PixelRows picture, std::span<const PointPx> part, RectPx area,
                     Surface surface);
    // The static layer again in `area`, inside the line's clip.
    void RestoreStatic(PixelRows picture, RectPx area);

    // The static layer's shapes, in drawing order, the rows that look alike under the
    // first of them, and a row for drawing them.
    std::vector<Fill> shapes_;
    RowSpan shapeBand_;
    std::vector<std::uint32_t> shapeRow_;
    ShownLine shownLine_;
    int staticLayers_ = 0;
    int wholeLines_ = 0;
    // Working memory kept from one update to the next.
    StairsRasterizer rasterizer_;
    std::vector<PointPx> vertices_;
};

}  // namespace chart
