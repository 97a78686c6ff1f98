#include "chart/chart_painter.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "chart/stairs_raster.h"
#include "ui/fill.h"
#include "ui/gdiplus_include.h"

namespace chart {

namespace {

// The bands beside the plot, from the plot's edge outwards: the axis line
// (kAxisLineWidthPx, which the press hit test shares), a gap, then the ticks, whose far end
// is where the labels begin.
constexpr int kTickGapPx = 1;
constexpr int kTickLengthPx = 4;
constexpr int kMinorTickLengthPx = 2;
static_assert(kAxisLineWidthPx + kTickGapPx + kTickLengthPx == kAxisBandPx);

constexpr COLORREF kFrameLight = RGB(255, 255, 255);
constexpr COLORREF kFrameShadow = RGB(160, 160, 160);
constexpr COLORREF kAxisColour = RGB(0, 0, 0);
constexpr COLORREF kTickColour = RGB(128, 128, 128);
constexpr COLORREF kGridColour = RGB(192, 192, 192);
constexpr COLORREF kLabelColour = RGB(0, 0, 0);

// Without anti-aliasing a pixel belongs to the line when the stroke covers half of it.
constexpr std::uint8_t kHalfCovered = 128;

struct Fill {
    RectPx Rect;
    COLORREF Colour;
};

// Every shape of the static layer but the texts, in drawing order: background, frame,
// then per axis (bottom, left) its line, ticks, grid lines and minor ticks.
std::vector<Fill> StaticShapes(const ChartLayout& layout, int widthPx, int heightPx) {
    const RectPx plot = layout.PlotRectPx;
    std::vector<Fill> fills;
    fills.reserve(8 + 2 * (layout.BottomLabels.Labels.size() + layout.LeftLabels.Labels.size()) +
                  layout.BottomLabels.MinorTickPx.size() + layout.LeftLabels.MinorTickPx.size());
    fills.push_back({RectPx{0, 0, widthPx, heightPx}, GetSysColor(COLOR_BTNFACE)});
    fills.push_back({RectPx{0, 0, widthPx - 1, 1}, kFrameLight});
    fills.push_back({RectPx{0, 0, 1, heightPx - 1}, kFrameLight});
    fills.push_back({RectPx{0, heightPx - 1, widthPx, heightPx}, kFrameShadow});
    fills.push_back({RectPx{widthPx - 1, 0, widthPx, heightPx}, kFrameShadow});

    // The bottom axis line runs on under the left one, closing the corner.
    const int lineEnd = plot.Bottom + kAxisLineWidthPx;
    const int tickStart = lineEnd + kTickGapPx;
    fills.push_back(
        {RectPx{plot.Left - kAxisLineWidthPx, plot.Bottom, plot.Right, lineEnd}, kAxisColour});
    for (const AxisLabel& label : layout.BottomLabels.Labels) {
        fills.push_back(
            {RectPx{label.TickPx, tickStart, label.TickPx + 1, tickStart + kTickLengthPx},
             kTickColour});
    }
    for (const AxisLabel& label : layout.BottomLabels.Labels) {
        fills.push_back(
            {RectPx{label.TickPx, plot.Top, label.TickPx + 1, plot.Bottom}, kGridColour});
    }
    for (const int x : layout.BottomLabels.MinorTickPx) {
        fills.push_back({RectPx{x, tickStart, x + 1, tickStart + kMinorTickLengthPx}, kTickColour});
    }

    const int lineStart = plot.Left - kAxisLineWidthPx;
    const int tickEnd = lineStart - kTickGapPx;
    fills.push_back({RectPx{lineStart, plot.Top, plot.Left, plot.Bottom}, kAxisColour});
    for (const AxisLabel& label : layout.LeftLabels.Labels) {
        fills.push_back({RectPx{tickEnd - kTickLengthPx, label.TickPx, tickEnd, label.TickPx + 1},
                         kTickColour});
    }
    for (const AxisLabel& label : layout.LeftLabels.Labels) {
        fills.push_back(
            {RectPx{plot.Left, label.TickPx, plot.Right, label.TickPx + 1}, kGridColour});
    }
    for (const int y : layout.LeftLabels.MinorTickPx) {
        fills.push_back({RectPx{tickEnd - kMinorTickLengthPx, y, tickEnd, y + 1}, kTickColour});
    }
    return fills;
}

void FillWithGdi(HDC dc, const std::vector<Fill>& fills) {
    for (const Fill& fill : fills) {
        const RECT rect{fill.Rect.Left, fill.Rect.Top, fill.Rect.Right, fill.Rect.Bottom};
        ui::FillSolid(dc, rect, fill.Colour);
    }
}

void PutText(HDC dc, int xPx, int yPx, const std::u16string& text) {
    ExtTextOutW(dc, xPx, yPx, 0, nullptr, reinterpret_cast<const wchar_t*>(text.c_str()),
                static_cast<UINT>(text.size()), nullptr);
}

// The labels of one axis; the hovered one in bold, placed by its bold width.
void DrawLabels(HDC dc, const AxisLabels& labels, AxisOrientation orientation, RectPx plot,
                int hovered, const LabelFonts& fonts) {
    {
        ui::SelectGuard font(dc, fonts.Regular());
        for (std::size_t i = 0; i < labels.Labels.size(); ++i) {
            if (static_cast<int>(i) == hovered) continue;
            const AxisLabel& label = labels.Labels[i];
            PutText(dc, label.TextRect.Left, label.TextRect.Top, label.Text);
        }
    }
    if (hovered < 0 || hovered >= static_cast<int>(labels.Labels.size())) return;
    AxisLabels bold;
    bold.Labels.push_back(labels.Labels[static_cast<std::size_t>(hovered)]);
    AxisLabel& label = bold.Labels.front();
    label.WidthPx = fonts.BoldWidthPx(label.Text);
    PlaceLabelRects(bold, orientation, LabelEdgePx(orientation, plot), fonts.HeightOfWPx());
    ui::SelectGuard font(dc, fonts.Bold());
    PutText(dc, label.TextRect.Left, label.TextRect.Top, label.Text);
}

bool SameLabels(const AxisLabels& a, const AxisLabels& b) {
    if (a.MinorTickPx != b.MinorTickPx || a.Labels.size() != b.Labels.size()) return false;
    for (std::size_t i = 0; i < a.Labels.size(); ++i) {
        const AxisLabel& x = a.Labels[i];
        const AxisLabel& y = b.Labels[i];
        if (x.TickPx != y.TickPx || !(x.TextRect == y.TextRect) || x.Text != y.Text) return false;
    }
    return true;
}

// Whether two layouts give the same static layer.
bool SameStaticContent(const ChartLayout& a, const ChartLayout& b) {
    return a.PlotRectPx == b.PlotRectPx && SameLabels(a.BottomLabels, b.BottomLabels) &&
           SameLabels(a.LeftLabels, b.LeftLabels);
}

constexpr std::uint32_t Pixel(COLORREF colour) {
    return static_cast<std::uint32_t>(GetRValue(colour)) << 16 |
           static_cast<std::uint32_t>(GetGValue(colour)) << 8 | GetBValue(colour);
}

// line * alpha + under * (1 - alpha) per channel, rounded to the nearest.
inline std::uint32_t Blend(std::uint32_t under, std::uint32_t line, std::uint32_t alpha) {
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t u = (under >> shift) & 0xFF;
        const std::uint32_t l = (line >> shift) & 0xFF;
        out |= ((l * alpha + u * (255 - alpha) + 127) / 255) << shift;
    }
    return out;
}

std::uint64_t EightAt(const std::uint8_t* alpha) {
    std::uint64_t eight = 0;
    std::memcpy(&eight, alpha, sizeof eight);
    return eight;
}

// One row of the line's area. Where the line covers nothing now and covered nothing before
// (`before`, null when unknown), the picture already shows the static layer and is left as
// it is: a line touches few pixels of a row, and memory traffic is what costs.
void ComposeRow(std::uint32_t* out, const std::uint32_t* under, const std::uint8_t* alpha,
                const std::uint8_t* before, int count) {
    constexpr std::uint32_t kLine = Pixel(kLineColour);
    int x = 0;
    while (x < count) {
        if (count - x >= 8) {
            const std::uint64_t eight = EightAt(alpha + x);
            if (eight == 0) {
                if (!before || EightAt(before + x) != 0) {
                    std::memcpy(out + x, under + x, 8 * sizeof *out);
                }
                x += 8;
                continue;
            }
            if (eight == ~std::uint64_t{0}) {
                std::fill_n(out + x, 8, kLine);
                x += 8;
                continue;
            }
        }
        const int end = std::min(x + 8, count);
        for (; x < end; ++x) {
            const std::uint32_t a = alpha[x];
            out[x] = a == 0 ? under[x] : a == 255 ? kLine : Blend(under[x], kLine, a);
        }
    }
}

}  // namespace

Surface ProbeSurface() noexcept {
    Gdiplus::GpSolidFill* brush = nullptr;
    if (Gdiplus::DllExports::GdipCreateSolidFill(0xFF000000, &brush) != Gdiplus::Ok || !brush) {
        return Surface::PlainGdi;
    }
    Gdiplus::DllExports::GdipDeleteBrush(brush);
    return Surface::GdiPlus;
}

bool ChartPainter::UpdateStaticLayer(const ChartLayout& layout, HoveredLabels hovered, int widthPx,
                                     int heightPx, const LabelFonts& fonts) {
    const bool sameSize = static_.WidthPx() == widthPx && static_.HeightPx() == heightPx &&
                          picture_.WidthPx() == widthPx && picture_.HeightPx() == heightPx;
    if (!static_.Ensure(widthPx, heightPx) || !picture_.Ensure(widthPx, heightPx)) {
        staticValid_ = false;
        return false;
    }
    if (staticValid_ && sameSize && shownHovered_ == hovered && shownFonts_ == fonts.Generation() &&
        SameStaticContent(shownLayout_, layout)) {
        return true;
    }
    DrawStaticLayer(layout, hovered, fonts);
    GdiFlush();
    std::memcpy(picture_.Row(0), static_.Row(0),
                static_cast<std::size_t>(widthPx) * static_cast<std::size_t>(heightPx) *
                    sizeof(std::uint32_t));
    shownLine_ = {};
    shownLayout_ = layout;
    shownHovered_ = hovered;
    shownFonts_ = fonts.Generation();
    staticValid_ = true;
    ++staticRedraws_;
    return true;
}

void ChartPainter::DrawStaticLayer(const ChartLayout& layout, HoveredLabels hovered,
                                   const LabelFonts& fonts) {
    HDC dc = static_.Dc();
    FillWithGdi(dc, StaticShapes(layout, static_.WidthPx(), static_.HeightPx()));
    // No label overlaps a shape, so the texts can follow all of them.
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kLabelColour);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    DrawLabels(dc, layout.BottomLabels, AxisOrientation::Horizontal, layout.PlotRectPx,
               hovered.Bottom, fonts);
    DrawLabels(dc, layout.LeftLabels, AxisOrientation::Vertical, layout.PlotRectPx, hovered.Left,
               fonts);
}

void ChartPainter::RestoreFromStatic(RectPx area) {
    for (int y = area.Top; y < area.Bottom; ++y) {
        std::memcpy(picture_.Row(y) + area.Left, static_.Row(y) + area.Left,
                    static_cast<std::size_t>(area.Width()) * sizeof(std::uint32_t));
    }
}

void ChartPainter::ComposeLine(std::span<const PointPx> vertices, RectPx clipPx, Surface surface) {
    if (!staticValid_) return;
    const RectPx clip = base::Intersection(clipPx, {0, 0, picture_.WidthPx(), picture_.HeightPx()});
    if (!(shownLine_.ClipPx == clip)) {
        RestoreFromStatic(shownLine_.ClipPx);
        shownLine_ = {};
    }
    if (vertices.size() < 2 || clip.Width() == 0) {
        RestoreFromStatic(shownLine_.ClipPx);
        shownLine_ = {};
        return;
    }
    CoverageMask mask = RasterizeStairs(vertices, clip);
    if (surface == Surface::PlainGdi) {
        for (std::uint8_t& alpha : mask.Alpha) alpha = alpha >= kHalfCovered ? 255 : 0;
    }
    const bool beforeKnown = shownLine_.Alpha.size() == mask.Alpha.size();
    const auto width = static_cast<std::size_t>(clip.Width());
    for (int y = clip.Top; y < clip.Bottom; ++y) {
        const std::size_t offset = static_cast<std::size_t>(y - clip.Top) * width;
        ComposeRow(picture_.Row(y) + clip.Left, static_.Row(y) + clip.Left,
                   mask.Alpha.data() + offset,
                   beforeKnown ? shownLine_.Alpha.data() + offset : nullptr, clip.Width());
    }
    shownLine_ = std::move(mask);
}

}  // namespace chart
