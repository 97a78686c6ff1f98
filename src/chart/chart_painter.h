#pragma once
// What the chart window draws and how: the static layer (background, frame, axes, grid,
// labels) kept until its content changes, and the stepped line composed over a copy of it
// into the picture that goes to the screen.
#include <windows.h>

#include <cstdint>
#include <span>

#include "chart/geometry.h"
#include "chart/label_fonts.h"
#include "chart/labels.h"
#include "chart/plot_layout.h"
#include "chart/stairs_raster.h"
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

class ChartPainter {
public:
    // Brings the static layer up to date for a client area of `widthPx` x `heightPx`: it is
    // redrawn only when the plot, the labels, the hovered labels, the size or the fonts
    // differ from what it shows, and the picture then starts as a copy of it. False when
    // the pictures cannot be made: nothing is drawn then.
    bool UpdateStaticLayer(const ChartLayout& layout, HoveredLabels hovered, int widthPx,
                           int heightPx, const LabelFonts& fonts);

    // Forgets the static layer: the next update redraws it (fonts or colours changed).
    void InvalidateStaticLayer() noexcept { staticValid_ = false; }

    // The picture = the static layer with the stepped line through `vertices` on top,
    // clipped to `clipPx`, in the line colour blended by the rasterizer's coverage: as it
    // is on GdiPlus, on PlainGdi either fully (half covered or more) or not at all.
    void ComposeLine(std::span<const PointPx> vertices, RectPx clipPx, Surface surface);

    const ui::MemoryPicture& Picture() const noexcept { return picture_; }
    const ui::MemoryPicture& StaticLayer() const noexcept { return static_; }
    // How often the static layer has been drawn.
    int StaticRedrawCount() const noexcept { return staticRedraws_; }

private:
    void DrawStaticLayer(const ChartLayout& layout, HoveredLabels hovered, const LabelFonts& fonts);
    void RestoreFromStatic(RectPx area);

    ui::MemoryPicture static_;
    ui::MemoryPicture picture_;
    bool staticValid_ = false;
    // What the static layer shows.
    ChartLayout shownLayout_;
    HoveredLabels shownHovered_;
    int shownFonts_ = -1;
    int staticRedraws_ = 0;
    // The line the picture shows over the static layer; nothing outside its ClipPx.
    CoverageMask shownLine_;
};

}  // namespace chart
