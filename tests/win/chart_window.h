// What the chart window's tests share: copies of the pixels the screen and the pictures
// hold, their comparison, and the real main window with the chart's helpers (the paint let
// through, samples by "+", real pointer input at a point of the chart).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/chart/stairs_raster.h"
#include "core/chart/visible_range.h"
#include "stair_vertices.h"
#include "win/ui/handles.h"
#include "win/views/chart_painter.h"
#include "win_fixture.h"

namespace wintest {

using chart::PointPx;
using chart::RectPx;

inline constexpr COLORREF kLine = RGB(68, 102, 163);
inline constexpr COLORREF kBlack = RGB(0, 0, 0);

// A copy of pixels in the chart's client coordinates.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> colours;

    COLORREF At(int x, int y) const { return colours[static_cast<std::size_t>(y * width + x)]; }
    COLORREF At(PointPx p) const { return At(p.XPx, p.YPx); }
};

// What the screen shows of `hwnd`'s client area.
inline Pixels Screen(HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    Pixels pixels{client.right, client.bottom, {}};
    ui::WindowDc screen(hwnd);
    ui::UniqueMemoryDc memory(CreateCompatibleDC(screen.Get()));
    BITMAPINFO info{};
    info.bmiHeader = {
        sizeof(BITMAPINFOHEADER), pixels.width, -pixels.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    ui::UniqueBitmap bitmap(
        CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) {
        ADD_FAILURE() << "no picture to copy the screen into";
        return pixels;
    }
    {
        ui::SelectGuard selected(memory.Get(), bitmap.Get());
        EXPECT_TRUE(
            BitBlt(memory.Get(), 0, 0, pixels.width, pixels.height, screen.Get(), 0, 0, SRCCOPY));
        GdiFlush();
    }
    const auto* raw = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < pixels.width * pixels.height; ++i) {
        const std::uint32_t p = raw[i];
        pixels.colours.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
    return pixels;
}

inline Pixels Copy(const ui::MemoryPicture& picture) {
    Pixels pixels{picture.WidthPx(), picture.HeightPx(), {}};
    for (int y = 0; y < pixels.height; ++y) {
        for (int x = 0; x < pixels.width; ++x) pixels.colours.push_back(picture.PixelAt(x, y));
    }
    return pixels;
}

// Pixels that differ within `area` between two pictures of the same size; the first few
// are reported.
inline int Differences(const Pixels& actual, const Pixels& expected, RectPx area) {
    EXPECT_EQ(actual.width, expected.width);
    EXPECT_EQ(actual.height, expected.height);
    if (actual.colours.size() != expected.colours.size()) return -1;
    int differences = 0;
    for (int y = area.Top; y < area.Bottom; ++y) {
        for (int x = area.Left; x < area.Right; ++x) {
            if (actual.At(x, y) != expected.At(x, y) && ++differences <= 5) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << "): " << std::hex << actual.At(x, y)
                              << " instead of " << expected.At(x, y);
            }
        }
    }
    return differences;
}

inline int Differences(const Pixels& actual, const Pixels& expected) {
    return Differences(actual, expected, {0, 0, expected.width, expected.height});
}

inline int CountColour(const Pixels& pixels, COLORREF colour) {
    int count = 0;
    for (const COLORREF c : pixels.colours) count += c == colour;
    return count;
}

// Chebyshev distance from a pixel to an axis-parallel segment.
inline int DistanceTo(PointPx p, PointPx a, PointPx b) {
    const int dx = std::max({std::min(a.XPx, b.XPx) - p.XPx, 0, p.XPx - std::max(a.XPx, b.XPx)});
    const int dy = std::max({std::min(a.YPx, b.YPx) - p.YPx, 0, p.YPx - std::max(a.YPx, b.YPx)});
    return std::max(dx, dy);
}

class ChartWindow : public testing::Test {
protected:
    // The density the window is laid out for.
    virtual int Dpi() const { return 120; }

    void SetUp() override {
        form = wintest::ShowForm(wintest::At(Dpi()));
        ASSERT_EQ(form->CurrentDpi(), Dpi());
        view = &form->waveformChart;
        PaintNow();
    }
    // The pointer leaves no hovered label behind for the next window.
    void TearDown() override { SetCursorPos(0, 0); }

    // Lets the loop deliver the pending paint.
    void PaintNow() {
        ASSERT_TRUE(
            wintest::PumpUntil([this] { return !GetUpdateRect(view->Handle(), nullptr, FALSE); }));
        wintest::Pump();
    }
    void Plus(int times = 1) {
        for (int i = 0; i < times; ++i) SendMessageW(form->stepButton.Handle(), BM_CLICK, 0, 0);
    }
    RectPx Plot() const { return view->Layout().PlotRectPx; }

    // The part of the chart that the window shows: as laid out, the chart reaches past the
    // window's left and bottom edges.
    RectPx Visible() const {
        RECT client{};
        GetClientRect(form->Handle(), &client);
        MapWindowPoints(form->Handle(), view->Handle(), reinterpret_cast<POINT*>(&client), 2);
        const base::SizePx size = view->ClientSizePx();
        return {std::max<int>(client.left, 0), std::max<int>(client.top, 0),
                std::min<int>(client.right, size.Width), std::min<int>(client.bottom, size.Height)};
    }
    // Whether the screen shows what `expected` holds, where the chart can be seen.
    void ExpectScreenShows(const Pixels& expected) {
        const RectPx visible = Visible();
        ASSERT_GT(visible.Width(), expected.width / 2);
        EXPECT_EQ(Differences(Screen(view->Handle()), expected, visible), 0);
    }

    // The chart as last laid out, drawn from nothing by a painter of its own with the
    // series' points, or with none: the static layer alone.
    Pixels FullRedraw(bool withLine = true) const {
        chart::ChartPainter fresh;
        const base::SizePx size = view->ClientSizePx();
        const chart::Series& series = form->outputLine;
        fresh.Update({.Layout = view->Layout(),
                      .Hovered = view->Hovered(),
                      .WidthPx = size.Width,
                      .HeightPx = size.Height,
                      .Fonts = view->Fonts(),
                      .Line = {.LineSurface = view->DrawingSurface(),
                               .XValues = withLine ? series.XValues() : std::span<const double>{},
                               .YValues = withLine ? series.YValues() : std::span<const double>{},
                               .SeriesGeneration = series.Generation()}});
        GdiFlush();
        return Copy(fresh.Picture());
    }
    Pixels StaticLayer() const { return FullRedraw(false); }

    // The stepped line's vertices over the axes as last drawn, every point given.
    std::vector<PointPx> ModelVertices() const {
        const chart::ChartLayout& layout = view->Layout();
        const auto xs = form->outputLine.XValues();
        const auto range =
            chart::FindVisibleRange(xs, layout.Bottom.DrawnMinimum, layout.Bottom.DrawnMaximum);
        return chart_test::StairVertices(xs, form->outputLine.YValues(), range, layout.Bottom,
                                         layout.Left);
    }

    // Real pointer input at a point of the chart's client area: a move there, with
    // `flags` (button presses and releases) added.
    INPUT PointerAt(PointPx p, DWORD flags = 0) const {
        POINT pt{p.XPx, p.YPx};
        ClientToScreen(view->Handle(), &pt);
        // The platform maps 0..65535 onto the screen's width, rounding down: the smallest
        // coordinate that lands on the pixel.
        const auto normalised = [](LONG px, int screenPx) {
            return static_cast<LONG>((static_cast<long long>(px) * 65536 + screenPx - 1) /
                                     screenPx);
        };
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dx = normalised(pt.x, GetSystemMetrics(SM_CXSCREEN));
        in.mi.dy = normalised(pt.y, GetSystemMetrics(SM_CYSCREEN));
        in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
        return in;
    }
    void MoveMouseTo(PointPx p) { wintest::SendInputAndWait({PointerAt(p)}); }

    // The pointer position in the chart's client coordinates.
    PointPx Pointer() const {
        POINT pt{};
        GetCursorPos(&pt);
        ScreenToClient(view->Handle(), &pt);
        return {pt.x, pt.y};
    }

    std::unique_ptr<MainWindow> form;
    chart::ChartView* view = nullptr;
};

}  // namespace wintest
