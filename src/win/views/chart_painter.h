// What the chart window draws: the pixels of ChartPicture in a bitmap of the platform, with
// the label texts drawn in the platform's fonts beside the plot whenever the static layer
// is drawn anew.
#pragma once

#include <windows.h>

#include "core/chart/chart_picture.h"
#include "core/chart/labels.h"
#include "core/chart/plot_layout.h"
#include "win/ui/memory_picture.h"
#include "win/views/label_fonts.h"

namespace chart {

// AntiAliased when GDI+ can create a solid brush; Aliased when it cannot (status 18, GDI+
// not initialised, or any other failure).
Surface ProbeSurface() noexcept;

// The label of each axis drawn in bold: an index into that axis's labels, -1 for none.
struct HoveredLabels {
    int Bottom = -1;
    int Left = -1;
    bool operator==(const HoveredLabels&) const = default;
};

// What the picture shows: the chart as laid out at its size, the hovered labels, the fonts
// and the line.
struct ChartScene {
    const ChartLayout& Layout;
    HoveredLabels Hovered;
    int WidthPx = 0;
    int HeightPx = 0;
    const LabelFonts& Fonts;
    LineScene Line;
};

// Draws the chart's picture: the static layer (background, frame, axes, grid, labels),
// kept until its content changes, with the stepped line composed over it (ChartPicture).
class ChartPainter {
public:
    // Brings the picture up to date with `scene`; returns the part of it that changed,
    // empty when nothing did. When the picture cannot be made nothing is drawn and the
    // whole client area is returned.
    RectPx Update(const ChartScene& scene);

    // The next update redraws everything, the static layer included (fonts or colours
    // changed).
    void InvalidateStaticLayer() noexcept { staticValid_ = false; }

    const ui::MemoryPicture& Picture() const noexcept { return picture_; }
    // How often the static layer has been drawn, and how often the line was drawn whole
    // rather than where appended points changed it.
    int StaticRedrawCount() const noexcept { return pixels_.StaticLayerCount(); }
    int WholeLineCount() const noexcept { return pixels_.WholeLineCount(); }

private:
    bool StaticLayerShows(const ChartScene& scene) const;
    void DrawLabelTexts(const ChartScene& scene);

    ui::MemoryPicture picture_;
    ChartPicture pixels_;
    bool staticValid_ = false;
    // What the static layer shows.
    ChartLayout shownLayout_;
    HoveredLabels shownHovered_;
    int shownFonts_ = -1;
};

}  // namespace chart
