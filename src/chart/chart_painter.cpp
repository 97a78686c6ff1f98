#include "chart/chart_painter.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "chart/stairs_raster.h"
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

constexpr std::uint32_t Pixel(COLORREF colour) {
    return static_cast<std::uint32_t>(GetRValue(colour)) << 16 |
           static_cast<std::uint32_t>(GetGValue(colour)) << 8 | GetBValue(colour);
}

// The shapes, in order, inside `area`, written straight into the picture's rows as GDI
// fills them in a 32-bit bitmap (0x00RRGGBB): through GDI a line one pixel wide and a
// screen high costs a call per row. Any GDI drawing of the picture must be flushed before.
//
// The rows of `band` (the plot's) look alike under the first shapes, up to the first one
// that covers some of the band's rows and not others: those shapes are drawn once into a
// row that is then copied into every row of the band, so that each row is written while it
// is in the cache and not once per grid line that crosses it.
void FillShapes(ui::MemoryPicture& picture, std::span<const Fill> fills, RectPx area, RowSpan band,
                std::vector<std::uint32_t>& row) {
    area = base::Intersection(area, picture.Bounds());
    if (area.Empty()) return;
    const auto fill = [&picture](RectPx r, COLORREF colour) {
        const std::uint32_t pixel = Pixel(colour);
        for (int y = r.Top; y < r.Bottom; ++y) {
            std::fill_n(picture.Row(y) + r.Left, r.Width(), pixel);
        }
    };
    const RectPx inBand = base::Intersection(area, {area.Left, band.Top, area.Right, band.Bottom});
    std::size_t alike = 0;
    if (!inBand.Empty()) {
        for (; alike < fills.size(); ++alike) {
            const RectPx r = base::Intersection(fills[alike].Rect, inBand);
            if (!r.Empty() && (r.Top != inBand.Top || r.Bottom != inBand.Bottom)) break;
        }
        row.resize(static_cast<std::size_t>(inBand.Width()));
        for (std::size_t i = 0; i < alike; ++i) {
            const RectPx r = base::Intersection(fills[i].Rect, inBand);
            std::fill(row.begin() + (r.Left - inBand.Left), row.begin() + (r.Right - inBand.Left),
                      Pixel(fills[i].Colour));
        }
        for (int y = inBand.Top; y < inBand.Bottom; ++y) {
            std::memcpy(picture.Row(y) + inBand.Left, row.data(),
                        row.size() * sizeof(std::uint32_t));
        }
        for (std::size_t i = 0; i < alike; ++i) {
            const RectPx r = base::Intersection(fills[i].Rect, area);
            fill(base::Intersection(r, {r.Left, r.Top, r.Right, inBand.Top}), fills[i].Colour);
            fill(base::Intersection(r, {r.Left, inBand.Bottom, r.Right, r.Bottom}),
                 fills[i].Colour);
        }
    }
    for (std::size_t i = alike; i < fills.size(); ++i) {
        fill(base::Intersection(fills[i].Rect, area), fills[i].Colour);
    }
}

void PutText(HDC dc, int xPx, int yPx, const std::u16string& text) {
    ExtTextOutW(dc, xPx, yPx, 0, nullptr, reinterpret_cast<const wchar_t*>(text.c_str()),
                static_cast<UINT>(text.size()), nullptr);
}

// The labels of one axis; the hovered one in bold, placed by its bold width.
void DrawLabels(HDC dc, const AxisLabels& labels, AxisOrientation orientation,
                const ChartLayout& layout, int hovered, const LabelFonts& fonts) {
    {
        ui::SelectGuard font(dc, fonts.Regular());
        for (std::size_t i = 0; i < labels.Labels.size(); ++i) {
            const AxisLabel& label = labels.Labels[i];
            if (static_cast<int>(i) == hovered || !label.TextShown) continue;
            PutText(dc, label.TextRect.Left, label.TextRect.Top, label.Text);
        }
    }
    if (hovered < 0 || hovered >= static_cast<int>(labels.Labels.size())) return;
    AxisLabels bold;
    bold.Labels.push_back(labels.Labels[static_cast<std::size_t>(hovered)]);
    AxisLabel& label = bold.Labels.front();
    label.WidthPx = fonts.BoldWidthPx(label.Text);
    PlaceLabelRects(bold, orientation, LabelEdgePx(orientation, layout.PlotRectPx),
                    fonts.HeightOfWPx(), layout.LabelBoundsPx);
    ui::SelectGuard font(dc, fonts.Bold());
    PutText(dc, label.TextRect.Left, label.TextRect.Top, label.Text);
}

bool SameLabels(const AxisLabels& a, const AxisLabels& b) {
    if (a.MinorTickPx != b.MinorTickPx || a.Labels.size() != b.Labels.size()) return false;
    for (std::size_t i = 0; i < a.Labels.size(); ++i) {
        const AxisLabel& x = a.Labels[i];
        const AxisLabel& y = b.Labels[i];
        if (x.TickPx != y.TickPx || !(x.TextRect == y.TextRect) || x.Text != y.Text ||
            x.TextShown != y.TextShown)
            return false;
    }
    return true;
}

// Whether two layouts give the same static layer.
bool SameStaticContent(const ChartLayout& a, const ChartLayout& b) {
    return a.PlotRectPx == b.PlotRectPx && a.LabelBoundsPx == b.LabelBoundsPx &&
           SameLabels(a.BottomLabels, b.BottomLabels) && SameLabels(a.LeftLabels, b.LeftLabels);
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

// One row of a part of the line over the static layer that the row shows: a pixel that
// the line does not cover is left as it is. A line covers few pixels of a row or whole
// runs of them, and memory traffic is what costs. Without anti-aliasing (`plain`) a pixel
// is the line's when the stroke covers half of it.
void ComposeRow(std::uint32_t* row, const std::uint8_t* alpha, int count, bool plain) {
    constexpr std::uint32_t kLine = Pixel(kLineColour);
    int x = 0;
    while (x < count) {
        if (count - x >= 8) {
            const std::uint64_t eight = EightAt(alpha + x);
            if (eight == 0) {
                x += 8;
                continue;
            }
            if (eight == ~std::uint64_t{0}) {
                std::fill_n(row + x, 8, kLine);
                x += 8;
                continue;
            }
        }
        const int end = std::min(x + 8, count);
        for (; x < end; ++x) {
            const std::uint32_t a = alpha[x];
            if (a == 0) continue;
            if (plain) {
                if (a >= kHalfCovered) row[x] = kLine;
            } else {
                row[x] = a == 255 ? kLine : Blend(row[x], kLine, a);
            }
        }
    }
}

RowSpan PlotRows(const ChartLayout& layout) {
    return {layout.PlotRectPx.Top, layout.PlotRectPx.Bottom};
}

// Whether two drawings of an axis put every value on the same pixel.
bool SameDrawnAxis(const Axis& a, const Axis& b) {
    return a.DrawnMinimum == b.DrawnMinimum && a.DrawnMaximum == b.DrawnMaximum &&
           a.AxisStartPx == b.AxisStartPx && a.AxisEndPx == b.AxisEndPx;
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

RectPx ChartPainter::Update(const ChartScene& scene) {
    const bool sameSize =
        picture_.WidthPx() == scene.WidthPx && picture_.HeightPx() == scene.HeightPx;
    if (!picture_.Ensure(scene.WidthPx, scene.HeightPx)) {
        staticValid_ = false;
        shownLine_.Valid = false;
        return {0, 0, scene.WidthPx, scene.HeightPx};
    }
    const bool staticShown = staticValid_ && sameSize && StaticLayerShows(scene);
    if (!staticShown) {
        DrawStaticLayer(scene);
        shownLine_.Valid = false;
    }

    const ChartLayout& layout = scene.Layout;
    const RectPx clip = base::Intersection(StairsClipRect(layout.PlotRectPx), picture_.Bounds());
    const VisibleRange range =
        FindVisibleRange(scene.XValues, layout.Bottom.DrawnMinimum, layout.Bottom.DrawnMaximum);
    const StairLine line(scene.XValues, scene.YValues, range, layout.Bottom, layout.Left);
    const int count = static_cast<int>(scene.XValues.size());

    ShownLine& shown = shownLine_;
    bool appendedOnly = shown.Valid && shown.Generation == scene.SeriesGeneration &&
                        shown.Count <= count && shown.LineSurface == scene.LineSurface &&
                        shown.ClipPx == clip && SameDrawnAxis(shown.Bottom, layout.Bottom) &&
                        SameDrawnAxis(shown.Left, layout.Left);
    bool oldDrawn = false;
    if (appendedOnly) {
        const auto before = static_cast<std::size_t>(shown.Count);
        oldDrawn = StairLine(scene.XValues.first(before), scene.YValues.first(before), shown.Range,
                             layout.Bottom, layout.Left)
                       .Drawn();
        // Appends never move the first visible point of a line already drawn.
        appendedOnly = !oldDrawn || shown.Range.First == range.First;
    }

    RectPx changed;
    if (appendedOnly) {
        if (!(range == shown.Range)) {
            changed = DrawAppended(line, clip, scene.LineSurface, oldDrawn, shown.Range.Last);
        }
    } else {
        changed = DrawWholeLine(line, clip, scene.LineSurface, !shown.Valid);
        ++wholeLines_;
    }
    if (!staticShown) changed = picture_.Bounds();
    shown.Valid = true;
    shown.Generation = scene.SeriesGeneration;
    shown.Count = count;
    shown.Range = range;
    shown.LineSurface = scene.LineSurface;
    shown.ClipPx = clip;
    shown.Bottom = layout.Bottom;
    shown.Left = layout.Left;
    return changed;
}

bool ChartPainter::StaticLayerShows(const ChartScene& scene) const {
    return shownHovered_ == scene.Hovered && shownFonts_ == scene.Fonts.Generation() &&
           SameStaticContent(shownLayout_, scene.Layout);
}

// The texts stay out of the line's clip, so that the static layer there is made of the
// shapes alone and RestoreStatic can draw it again from them.
void ChartPainter::DrawStaticLayer(const ChartScene& scene) {
    const ChartLayout& layout = scene.Layout;
    HDC dc = picture_.Dc();
    shapes_ = StaticShapes(layout, picture_.WidthPx(), picture_.HeightPx());
    GdiFlush();
    FillShapes(picture_, shapes_, picture_.Bounds(), PlotRows(layout), shapeRow_);
    const RectPx clip = StairsClipRect(layout.PlotRectPx);
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, clip.Left, clip.Top, clip.Right, clip.Bottom);
    // No label overlaps a shape, so the texts can follow all of them.
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kLabelColour);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    DrawLabels(dc, layout.BottomLabels, AxisOrientation::Horizontal, layout, scene.Hovered.Bottom,
               scene.Fonts);
    DrawLabels(dc, layout.LeftLabels, AxisOrientation::Vertical, layout, scene.Hovered.Left,
               scene.Fonts);
    if (saved != 0) RestoreDC(dc, saved);
    GdiFlush();
    shownLayout_ = layout;
    shownHovered_ = scene.Hovered;
    shownFonts_ = scene.Fonts.Generation();
    staticValid_ = true;
    ++staticRedraws_;
}

RectPx ChartPainter::StripColumns(RectPx clip, std::size_t strip) const {
    const int left = clip.Left + static_cast<int>(strip) * kStripPx;
    return {left, clip.Top, std::min(left + kStripPx, clip.Right), clip.Bottom};
}

RectPx ChartPainter::DrawWholeLine(const StairLine& line, RectPx clip, Surface surface,
                                   bool pictureIsStatic) {
    RectPx changed;
    ShownLine& shown = shownLine_;
    if (!pictureIsStatic) {
        for (std::size_t k = 0; k < shown.StripRows.size(); ++k) {
            const RowSpan rows = shown.StripRows[k];
            if (rows.Empty()) continue;
            RectPx area = StripColumns(shown.ClipPx, k);
            area.Top = rows.Top;
            area.Bottom = rows.Bottom;
            RestoreStatic(area);
            changed = base::Bounds(changed, area);
        }
    }
    const auto strips = static_cast<std::size_t>((clip.Width() + kStripPx - 1) / kStripPx);
    shown.StripRows.assign(strips, {});
    for (std::size_t k = 0; k < strips; ++k) {
        const RectPx columns = StripColumns(clip, k);
        const RowSpan rows = line.PartReaching(columns.Left, columns.Right, vertices_);
        const RectPx area =
            base::Intersection({columns.Left, rows.Top, columns.Right, rows.Bottom}, clip);
        if (area.Empty()) continue;
        ComposePart(vertices_, area, surface);
        shown.StripRows[k] = {area.Top, area.Bottom};
        changed = base::Bounds(changed, area);
    }
    return changed;
}

RectPx ChartPainter::DrawAppended(const StairLine& line, RectPx clip, Surface surface,
                                  bool oldDrawn, int oldLast) {
    const RectPx area = base::Intersection(line.AppendedArea(oldDrawn, oldLast, vertices_), clip);
    if (area.Empty()) return {};
    RestoreStatic(area);
    line.PartReaching(area.Left, area.Right, vertices_);
    ComposePart(vertices_, area, surface);
    ShownLine& shown = shownLine_;
    const auto first = static_cast<std::size_t>((area.Left - clip.Left) / kStripPx);
    const auto last = static_cast<std::size_t>((area.Right - 1 - clip.Left) / kStripPx);
    for (std::size_t k = first; k <= last && k < shown.StripRows.size(); ++k) {
        shown.StripRows[k] = Union(shown.StripRows[k], {area.Top, area.Bottom});
    }
    return area;
}

void ChartPainter::ComposePart(std::span<const PointPx> part, RectPx area, Surface surface) {
    if (part.size() < 2) return;
    const CoverageMask& mask = rasterizer_.Rasterize(part, area);
    const auto width = static_cast<std::size_t>(area.Width());
    for (int y = area.Top; y < area.Bottom; ++y) {
        ComposeRow(picture_.Row(y) + area.Left,
                   mask.Alpha.data() + static_cast<std::size_t>(y - area.Top) * width, area.Width(),
                   surface == Surface::PlainGdi);
    }
}

void ChartPainter::RestoreStatic(RectPx area) {
    FillShapes(picture_, shapes_, area, PlotRows(shownLayout_), shapeRow_);
}

}  // namespace chart
