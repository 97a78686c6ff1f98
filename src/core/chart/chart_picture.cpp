#include "core/chart/chart_picture.h"

#include <algorithm>
#include <cstring>

namespace chart {

namespace {

// The bands beside the plot, from the plot's edge outwards: the axis line
// (kAxisLineWidthPx, which the press hit test shares), a gap, then the ticks, whose far end
// is where the labels begin.
constexpr int kTickGapPx = 1;
constexpr int kTickLengthPx = 4;
constexpr int kMinorTickLengthPx = 2;
static_assert(kAxisLineWidthPx + kTickGapPx + kTickLengthPx == kAxisBandPx);

constexpr base::Rgb kFrameLight{255, 255, 255};
constexpr base::Rgb kFrameShadow{160, 160, 160};
constexpr base::Rgb kAxisColour{0, 0, 0};
constexpr base::Rgb kTickColour{128, 128, 128};
constexpr base::Rgb kGridColour{192, 192, 192};

// Without anti-aliasing a pixel belongs to the line when the stroke covers half of it.
constexpr std::uint8_t kHalfCovered = 128;

bool SameLabels(const AxisLabels& a, const AxisLabels& b) {
    if (a.MinorTickPx != b.MinorTickPx || a.Labels.size() != b.Labels.size()) return false;
    for (std::size_t i = 0; i < a.Labels.size(); ++i) {
        const AxisLabel& x = a.Labels[i];
        const AxisLabel& y = b.Labels[i];
        if (x.TickPx != y.TickPx || !(x.TextRect == y.TextRect) || x.Text != y.Text ||
            x.TextShown != y.TextShown) {
            return false;
        }
    }
    return true;
}

std::uint64_t EightAt(const std::uint8_t* alpha) {
    std::uint64_t eight = 0;
    std::memcpy(&eight, alpha, sizeof eight);
    return eight;
}

RowSpan PlotRows(const ChartLayout& layout) {
    return {layout.PlotRectPx.Top, layout.PlotRectPx.Bottom};
}

// Whether two drawings of an axis put every value on the same pixel.
bool SameDrawnAxis(const Axis& a, const Axis& b) {
    return a.DrawnMinimum == b.DrawnMinimum && a.DrawnMaximum == b.DrawnMaximum &&
           a.AxisStartPx == b.AxisStartPx && a.AxisEndPx == b.AxisEndPx;
}

RectPx StripColumns(RectPx clip, std::size_t strip) {
    const int left = clip.Left + static_cast<int>(strip) * ChartPicture::kStripPx;
    return {left, clip.Top, std::min(left + ChartPicture::kStripPx, clip.Right), clip.Bottom};
}

}  // namespace

std::vector<Fill> StaticShapes(const ChartLayout& layout, int widthPx, int heightPx,
                               base::Rgb background) {
    const RectPx plot = layout.PlotRectPx;
    const RectPx inside = layout.LabelBoundsPx;
    std::vector<Fill> fills;
    fills.reserve(8 + 2 * (layout.BottomLabels.Labels.size() + layout.LeftLabels.Labels.size()) +
                  layout.BottomLabels.MinorTickPx.size() + layout.LeftLabels.MinorTickPx.size());
    // A mark is the part of its rectangle inside `within`, when any.
    const auto mark = [&fills](RectPx rect, RectPx within, base::Rgb colour) {
        rect = base::Intersection(rect, within);
        if (!rect.Empty()) fills.push_back({rect, colour});
    };
    fills.push_back({RectPx{0, 0, widthPx, heightPx}, background});
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
        mark({label.TickPx, tickStart, label.TickPx + 1, tickStart + kTickLengthPx}, inside,
             kTickColour);
    }
    for (const AxisLabel& label : layout.BottomLabels.Labels) {
        mark({label.TickPx, plot.Top, label.TickPx + 1, plot.Bottom}, plot, kGridColour);
    }
    for (const int x : layout.BottomLabels.MinorTickPx) {
        mark({x, tickStart, x + 1, tickStart + kMinorTickLengthPx}, inside, kTickColour);
    }

    const int lineStart = plot.Left - kAxisLineWidthPx;
    const int tickEnd = lineStart - kTickGapPx;
    fills.push_back({RectPx{lineStart, plot.Top, plot.Left, plot.Bottom}, kAxisColour});
    for (const AxisLabel& label : layout.LeftLabels.Labels) {
        mark({tickEnd - kTickLengthPx, label.TickPx, tickEnd, label.TickPx + 1}, inside,
             kTickColour);
    }
    for (const AxisLabel& label : layout.LeftLabels.Labels) {
        mark({plot.Left, label.TickPx, plot.Right, label.TickPx + 1}, plot, kGridColour);
    }
    for (const int y : layout.LeftLabels.MinorTickPx) {
        mark({tickEnd - kMinorTickLengthPx, y, tickEnd, y + 1}, inside, kTickColour);
    }
    return fills;
}

void FillShapes(PixelRows picture, std::span<const Fill> fills, RectPx area, RowSpan band,
                std::vector<std::uint32_t>& row) {
    area = base::Intersection(area, picture.Bounds());
    if (area.Empty()) return;
    const auto fill = [&picture](RectPx r, base::Rgb colour) {
        const std::uint32_t pixel = colour.Pixel();
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
                      fills[i].Colour.Pixel());
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

std::uint32_t Blend(std::uint32_t under, std::uint32_t line, std::uint32_t alpha) {
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t u = (under >> shift) & 0xFF;
        const std::uint32_t l = (line >> shift) & 0xFF;
        out |= ((l * alpha + u * (255 - alpha) + 127) / 255) << shift;
    }
    return out;
}

// A line covers few pixels of a row or whole runs of them, and memory traffic is what
// costs: eight untouched or eight fully covered pixels are taken at once.
void ComposeRow(std::uint32_t* row, const std::uint8_t* alpha, int count, Surface surface) {
    constexpr std::uint32_t kLine = kLineColour.Pixel();
    const bool aliased = surface == Surface::Aliased;
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
            if (aliased) {
                if (a >= kHalfCovered) row[x] = kLine;
            } else {
                row[x] = a == 255 ? kLine : Blend(row[x], kLine, a);
            }
        }
    }
}

bool SameStaticContent(const ChartLayout& a, const ChartLayout& b) {
    return a.PlotRectPx == b.PlotRectPx && a.LabelBoundsPx == b.LabelBoundsPx &&
           SameLabels(a.BottomLabels, b.BottomLabels) && SameLabels(a.LeftLabels, b.LeftLabels);
}

RectPx ChartPicture::Update(PixelRows picture, const PictureScene& scene, bool staticShown) {
    const ChartLayout& layout = scene.Layout;
    const LineScene& points = scene.Line;
    if (!staticShown) {
        shapes_ = StaticShapes(layout, picture.WidthPx, picture.HeightPx, scene.Background);
        shapeBand_ = PlotRows(layout);
        FillShapes(picture, shapes_, picture.Bounds(), shapeBand_, shapeRow_);
        shownLine_.Valid = false;
        ++staticLayers_;
    }

    const RectPx clip = base::Intersection(StairsClipRect(layout.PlotRectPx), picture.Bounds());
    const VisibleRange range =
        FindVisibleRange(points.XValues, layout.Bottom.DrawnMinimum, layout.Bottom.DrawnMaximum);
    const StairLine line(points.XValues, points.YValues, range, layout.Bottom, layout.Left);
    const int count = static_cast<int>(points.XValues.size());

    ShownLine& shown = shownLine_;
    bool appendedOnly = shown.Valid && shown.Generation == points.SeriesGeneration &&
                        shown.Count <= count && shown.LineSurface == points.LineSurface &&
                        shown.ClipPx == clip && SameDrawnAxis(shown.Bottom, layout.Bottom) &&
                        SameDrawnAxis(shown.Left, layout.Left);
    bool oldDrawn = false;
    if (appendedOnly) {
        const auto before = static_cast<std::size_t>(shown.Count);
        oldDrawn = StairLine(points.XValues.first(before), points.YValues.first(before),
                             shown.Range, layout.Bottom, layout.Left)
                       .Drawn();
        // Appends never move the first visible point of a line already drawn.
        appendedOnly = !oldDrawn || shown.Range.First == range.First;
    }

    RectPx changed;
    if (appendedOnly) {
        if (!(range == shown.Range)) {
            changed =
                DrawAppended(picture, line, clip, points.LineSurface, oldDrawn, shown.Range.Last);
        }
    } else {
        changed = DrawWholeLine(picture, line, clip, points.LineSurface, !shown.Valid);
        ++wholeLines_;
    }
    if (!staticShown) changed = picture.Bounds();
    shown.Valid = true;
    shown.Generation = points.SeriesGeneration;
    shown.Count = count;
    shown.Range = range;
    shown.LineSurface = points.LineSurface;
    shown.ClipPx = clip;
    shown.Bottom = layout.Bottom;
    shown.Left = layout.Left;
    return changed;
}

RectPx ChartPicture::DrawWholeLine(PixelRows picture, const StairLine& line, RectPx clip,
                                   Surface surface, bool pictureIsStatic) {
    RectPx changed;
    ShownLine& shown = shownLine_;
    if (!pictureIsStatic) {
        for (std::size_t k = 0; k < shown.StripRows.size(); ++k) {
            const RowSpan rows = shown.StripRows[k];
            if (rows.Empty()) continue;
            RectPx area = StripColumns(shown.ClipPx, k);
            area.Top = rows.Top;
            area.Bottom = rows.Bottom;
            RestoreStatic(picture, area);
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
        ComposePart(picture, vertices_, area, surface);
        shown.StripRows[k] = {area.Top, area.Bottom};
        changed = base::Bounds(changed, area);
    }
    return changed;
}

RectPx ChartPicture::DrawAppended(PixelRows picture, const StairLine& line, RectPx clip,
                                  Surface surface, bool oldDrawn, int oldLast) {
    const RectPx area = base::Intersection(line.AppendedArea(oldDrawn, oldLast, vertices_), clip);
    if (area.Empty()) return {};
    RestoreStatic(picture, area);
    line.PartReaching(area.Left, area.Right, vertices_);
    ComposePart(picture, vertices_, area, surface);
    ShownLine& shown = shownLine_;
    const auto first = static_cast<std::size_t>((area.Left - clip.Left) / kStripPx);
    const auto last = static_cast<std::size_t>((area.Right - 1 - clip.Left) / kStripPx);
    for (std::size_t k = first; k <= last && k < shown.StripRows.size(); ++k) {
        shown.StripRows[k] = Union(shown.StripRows[k], {area.Top, area.Bottom});
    }
    return area;
}

void ChartPicture::ComposePart(PixelRows picture, std::span<const PointPx> part, RectPx area,
                               Surface surface) {
    if (part.size() < 2) return;
    const CoverageMask& mask = rasterizer_.Rasterize(part, area);
    const auto width = static_cast<std::size_t>(area.Width());
    for (int y = area.Top; y < area.Bottom; ++y) {
        ComposeRow(picture.Row(y) + area.Left,
                   mask.Alpha.data() + static_cast<std::size_t>(y - area.Top) * width, area.Width(),
                   surface);
    }
}

void ChartPicture::RestoreStatic(PixelRows picture, RectPx area) {
    FillShapes(picture, shapes_, area, shapeBand_, shapeRow_);
}

}  // namespace chart
