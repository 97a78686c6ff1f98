#include "picture_replay.h"

#include <sstream>

namespace chart_test {

namespace {

std::string Describe(const char* what, int x, int y, std::uint32_t actual, std::uint32_t expected) {
    std::ostringstream text;
    text << what << " at (" << x << ", " << y << "): " << std::hex << actual << " instead of "
         << expected;
    return text.str();
}

}  // namespace

PictureReplay::PictureReplay(int widthPx, int heightPx) : widthPx_(widthPx), heightPx_(heightPx) {
    bottom_.Maximum = 256;
    left_.Orientation = chart::AxisOrientation::Vertical;
    left_.Maximum = 255;
}

void PictureReplay::SetBottomRange(double minimum, double maximum) {
    bottom_.Minimum = minimum;
    bottom_.Maximum = maximum;
}

void PictureReplay::SetLeftRange(double minimum, double maximum) {
    left_.Minimum = minimum;
    left_.Maximum = maximum;
}

void PictureReplay::Resize(int widthPx, int heightPx) {
    widthPx_ = widthPx;
    heightPx_ = heightPx;
}

chart::PictureScene PictureReplay::Scene() const {
    return {.Layout = layout_,
            .Background = kBackground,
            .Line = {.LineSurface = surface_,
                     .XValues = series_.XValues(),
                     .YValues = series_.YValues(),
                     .SeriesGeneration = series_.Generation()}};
}

// The window keeps its static layer while the size and the layout's static content stay.
std::string PictureReplay::RedrawAndCheck() {
    layout_ = chart::LayoutChart(widthPx_, heightPx_, bottom_, left_, series_.Count(), measurer_,
                                 base::NumberSymbols{});
    const bool sameSize = picture_.WidthPx() == widthPx_ && picture_.HeightPx() == heightPx_;
    const bool staticShown = drawn_ && sameSize && chart::SameStaticContent(shownLayout_, layout_);
    if (!sameSize) picture_ = chart::PixelImage(widthPx_, heightPx_);
    const chart::PixelImage before = picture_;
    const chart::RectPx changed = kept_.Update(picture_.Rows(), Scene(), staticShown);
    drawn_ = true;
    shownLayout_ = layout_;

    chart::PixelImage fresh(widthPx_, heightPx_);
    chart::ChartPicture fromNothing;
    fromNothing.Update(fresh.Rows(), Scene(), false);
    for (int y = 0; y < heightPx_; ++y) {
        for (int x = 0; x < widthPx_; ++x) {
            if (picture_.At(x, y) != fresh.At(x, y)) {
                return Describe("the kept picture differs from one drawn from nothing", x, y,
                                picture_.At(x, y), fresh.At(x, y));
            }
            if (sameSize && !changed.Contains(x, y) && picture_.At(x, y) != before.At(x, y)) {
                return Describe("a pixel outside the reported area changed", x, y,
                                picture_.At(x, y), before.At(x, y));
            }
        }
    }
    return {};
}

}  // namespace chart_test
