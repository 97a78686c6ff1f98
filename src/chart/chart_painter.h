#pragma once
// What the chart window draws and how: the label fonts and their measuring, the static
// layer (background, frame, axes, grid, labels) kept until its content changes, and the
// stepped line composed over a copy of it into the picture that goes to the screen.
#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "chart/geometry.h"
#include "chart/labels.h"
#include "chart/plot_layout.h"
#include "chart/stairs_raster.h"
#include "ui/handles.h"

namespace chart {

// How the chart draws its line, chosen once when it is created. Everything else is drawn
// with plain GDI on both: it is made of whole pixels, which GDI+ in high quality would draw
// alike, only much slower.
enum class Surface {
    GdiPlus,   // anti-aliased, as GDI+ with smoothing and pixel offset in high quality draws it
    PlainGdi,  // GDI+ is not usable: without anti-aliasing
};

// GdiPlus when GDI+ can create a solid brush; PlainGdi when it cannot (status 18, GDI+
// not initialised, or any other failure).
Surface ProbeSurface() noexcept;

inline constexpr COLORREF kLineColour = RGB(68, 102, 163);

// A 32-bit top-down device-independent picture with its own memory DC. GDI draws through
// Dc(); the line is written into the pixels directly. Pixels are 0x00RRGGBB.
class DibPicture {
public:
    DibPicture() = default;
    DibPicture(const DibPicture&) = delete;
    DibPicture& operator=(const DibPicture&) = delete;
    ~DibPicture();

    // Makes the picture `widthPx` x `heightPx` (at least 1 x 1), keeping it when it already
    // has that size. False when the platform refuses; the old picture then stays.
    bool Ensure(int widthPx, int heightPx);

    HDC Dc() const noexcept { return dc_.Get(); }
    int WidthPx() const noexcept { return widthPx_; }
    int HeightPx() const noexcept { return heightPx_; }
    std::uint32_t* Row(int yPx) noexcept {
        return bits_ + static_cast<std::size_t>(yPx) * widthPx_;
    }
    const std::uint32_t* Row(int yPx) const noexcept {
        return bits_ + static_cast<std::size_t>(yPx) * widthPx_;
    }
    // The colour at a pixel inside the picture. GDI drawing must be flushed (GdiFlush).
    COLORREF PixelAt(int xPx, int yPx) const noexcept;

private:
    ui::UniqueMemoryDc dc_;
    ui::UniqueBitmap bitmap_;
    HGDIOBJ original_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    int widthPx_ = 0;
    int heightPx_ = 0;
};

// The labels' font: Arial 8 pt at the window's density (9 pt and the system's interface
// face on a system whose primary language is Japanese), regular and bold. Measures with
// the regular font, as the labels are laid out; widths are remembered per text.
class LabelFonts final : public TextMeasurer {
public:
    LabelFonts();
    // Makes the fonts for `dpi` pixels per inch; throws when the platform refuses.
    void Create(int dpi);

    HFONT Regular() const noexcept { return regular_.Get(); }
    HFONT Bold() const noexcept { return bold_.Get(); }
    int HeightPx() const noexcept { return heightPx_; }
    // Changes with every Create, so that pictures drawn with older fonts are known as such.
    int Generation() const noexcept { return generation_; }

    int WidthPx(std::u16string_view text) const override;
    int HeightOfWPx() const override { return heightOfWPx_; }
    int BoldWidthPx(std::u16string_view text) const;

private:
    int Measure(HFONT font, std::u16string_view text) const;

    ui::UniqueMemoryDc dc_;
    ui::UniqueFont regular_;
    ui::UniqueFont bold_;
    int heightPx_ = 0;
    int heightOfWPx_ = 0;
    int generation_ = 0;
    mutable std::unordered_map<std::u16string, int> widths_;
};

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

    const DibPicture& Picture() const noexcept { return picture_; }
    const DibPicture& StaticLayer() const noexcept { return static_; }
    // How often the static layer has been drawn.
    int StaticRedrawCount() const noexcept { return staticRedraws_; }

private:
    void DrawStaticLayer(const ChartLayout& layout, HoveredLabels hovered, const LabelFonts& fonts);
    void RestoreFromStatic(RectPx area);

    DibPicture static_;
    DibPicture picture_;
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
