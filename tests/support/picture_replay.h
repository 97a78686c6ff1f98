// The chart's pixels driven as the window drives them, step by step: points appended, the
// series cleared, the axes' ranges, the surface and the size changed, and after each step
// the kept picture brought up to date where it changed. What a redraw leaves is compared
// with a picture drawn from nothing, and what it changed with the area it reported.
#pragma once

#include <cstdint>
#include <string>

#include "chart_test_support.h"
#include "core/chart/chart_picture.h"
#include "core/chart/pixel_image.h"
#include "core/chart/plot_layout.h"
#include "core/chart/series.h"

namespace chart_test {

class PictureReplay {
public:
    PictureReplay(int widthPx, int heightPx);

    void Append(double y) { series_.AddY(y); }
    void Clear() { series_.Clear(); }
    void SetBottomRange(double minimum, double maximum);
    void SetLeftRange(double minimum, double maximum);
    void SetSurface(chart::Surface surface) { surface_ = surface; }
    void Resize(int widthPx, int heightPx);

    // Lays the chart out and brings the kept picture up to date. Returns an empty string
    // when every pixel equals the one of a picture drawn from nothing and every pixel that
    // changed lies in the area the update reported; otherwise what differs, and where.
    std::string RedrawAndCheck();

    const chart::Series& Points() const noexcept { return series_; }
    const chart::ChartLayout& Layout() const noexcept { return layout_; }
    const chart::ChartPicture& Kept() const noexcept { return kept_; }
    const chart::PixelImage& Picture() const noexcept { return picture_; }

private:
    chart::PictureScene Scene() const;

    static constexpr base::Rgb kBackground{240, 240, 240};

    chart::Series series_;
    chart::Axis bottom_;
    chart::Axis left_;
    chart::Surface surface_ = chart::Surface::AntiAliased;
    int widthPx_;
    int heightPx_;
    FixedWidthMeasurer measurer_;
    chart::ChartLayout layout_;
    bool drawn_ = false;
    chart::ChartLayout shownLayout_;
    chart::PixelImage picture_;
    chart::ChartPicture kept_;
};

}  // namespace chart_test
