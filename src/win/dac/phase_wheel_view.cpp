#include "win/dac/phase_wheel_view.h"

#include <oleacc.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/dac/phase_wheel.h"
#include "core/dac/window_values.h"
#include "win/ui/handles.h"
#include "win/ui/text.h"

namespace dacwin {
namespace {

POINT ToPoint(const dac::WheelPoint& p) {
    return {static_cast<LONG>(std::lround(p.XPx)), static_cast<LONG>(std::lround(p.YPx))};
}

void Line(HDC dc, const dac::WheelSegment& s) {
    const POINT from = ToPoint(s.From);
    const POINT to = ToPoint(s.To);
    MoveToEx(dc, from.x, from.y, nullptr);
    LineTo(dc, to.x, to.y);
}

void Fill(HDC dc, const RECT& r, int sysColour) {
    FillRect(dc, &r, GetSysColorBrush(sysColour));
}

}  // namespace

void PhaseWheelView::CreateWindowFor(HWND parent, const RECT& rect) {
    CreateOwn(L"phasebox.PhaseWheel",
              {.Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP,
               .Parent = parent,
               .Rect = rect});
}

void PhaseWheelView::SetState(std::uint16_t accumulator, std::uint16_t increment) {
    if (accumulator == accumulator_ && increment == increment_) return;
    accumulator_ = accumulator;
    increment_ = increment;
    valueEvents_.Changed(Handle());
    // Only the client area changes, and the paint redraws all of it.
    if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

std::u16string PhaseWheelView::AccessibleValue() const {
    return dac::WheelValueText(accumulator_, language_);
}

std::optional<ui::AccessibleFacts> PhaseWheelView::Accessible() const {
    return ui::AccessibleFacts{
        .Name = AccessibleName(), .Role = ROLE_SYSTEM_DIAGRAM, .Value = AccessibleValue()};
}

// The circle fills the width and the height left above two lines of text.
PhaseWheelView::Geometry PhaseWheelView::Measure(const RECT& client) const {
    Geometry g;
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    const int lineHeight = std::max(1, FontHeightPx()) * 5 / 4;
    const int margin = std::max(2, width / 40);
    const int wheelHeight = std::max(8, height - 2 * lineHeight - margin);
    const int diameter = std::max(8, std::min(width, wheelHeight) - 2 * margin);
    g.RadiusPx = diameter / 2.0;
    g.CentreX = client.left + width / 2.0;
    g.CentreY = client.top + margin + g.RadiusPx;
    g.TickPx = std::max(2.0, g.RadiusPx / 14.0);
    g.LineWidthPx = std::max(1, static_cast<int>(std::lround(g.RadiusPx / 60.0)));
    g.TextArea = {client.left, client.bottom - 2 * lineHeight, client.right, client.bottom};
    return g;
}

void PhaseWheelView::DrawStatic(const RECT& client) {
    ++staticDraws_;
    const HDC dc = static_.Dc();
    Fill(dc, client, COLOR_WINDOW);
    const Geometry g = Measure(client);
    const dac::PhaseWheel wheel = dac::PhaseWheelFor(
        {.Centre = {g.CentreX, g.CentreY}, .RadiusPx = g.RadiusPx, .TickLengthPx = g.TickPx});
    const ui::UniquePen circlePen(
        CreatePen(PS_SOLID, g.LineWidthPx, GetSysColor(COLOR_WINDOWTEXT)));
    const ui::UniquePen tickPen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_GRAYTEXT)));
    {
        const ui::SelectGuard pen(dc, circlePen.Get());
        const ui::SelectGuard brush(dc, GetStockObject(NULL_BRUSH));
        Ellipse(dc, static_cast<int>(std::lround(g.CentreX - g.RadiusPx)),
                static_cast<int>(std::lround(g.CentreY - g.RadiusPx)),
                static_cast<int>(std::lround(g.CentreX + g.RadiusPx)) + 1,
                static_cast<int>(std::lround(g.CentreY + g.RadiusPx)) + 1);
    }
    const ui::SelectGuard pen(dc, tickPen.Get());
    for (const dac::WheelSegment& tick : wheel.Ticks) Line(dc, tick);
    staticValid_ = true;
}

void PhaseWheelView::DrawFrame(const RECT& client) {
    ++frameDraws_;
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (!staticValid_ || static_.WidthPx() != width || static_.HeightPx() != height) {
        if (!static_.Ensure(width, height)) return;
        DrawStatic(client);
    }
    if (!frame_.Ensure(width, height)) return;
    const HDC dc = frame_.Dc();
    BitBlt(dc, 0, 0, width, height, static_.Dc(), 0, 0, SRCCOPY);

    const Geometry g = Measure(client);
    const dac::PhaseWheel wheel = dac::PhaseWheelFor({.Centre = {g.CentreX, g.CentreY},
                                                      .RadiusPx = g.RadiusPx,
                                                      .TickLengthPx = g.TickPx,
                                                      .Accumulator = accumulator_,
                                                      .Increment = increment_});
    const COLORREF accent = GetSysColor(COLOR_HIGHLIGHT);
    {
        const ui::UniquePen arcPen(
            CreatePen(PS_SOLID, 2 * g.LineWidthPx, GetSysColor(COLOR_WINDOWTEXT)));
        const ui::SelectGuard pen(dc, arcPen.Get());
        std::vector<POINT> points;
        points.reserve(wheel.LastStepPoints.size());
        for (const dac::WheelPoint& p : wheel.LastStepPoints) points.push_back(ToPoint(p));
        if (points.size() >= 2) Polyline(dc, points.data(), static_cast<int>(points.size()));
    }
    {
        const ui::UniquePen markPen(CreatePen(PS_SOLID, 2 * g.LineWidthPx + 1, accent));
        const ui::SelectGuard pen(dc, markPen.Get());
        Line(dc, wheel.CurrentTick);
    }
    {
        const ui::UniquePen pointerPen(CreatePen(PS_SOLID, 2 * g.LineWidthPx, accent));
        const ui::SelectGuard pen(dc, pointerPen.Get());
        Line(dc, wheel.Pointer);
    }
    // The value in two lines under the wheel: the accumulator, then the table address.
    const std::wstring text = ui::ToWide(AccessibleValue());
    const std::size_t comma = text.find(L", ");
    const std::wstring lines =
        comma == std::wstring::npos ? text : text.substr(0, comma) + L"\n" + text.substr(comma + 2);
    const ui::SelectGuard font(dc, Font());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT area = g.TextArea;
    DrawTextW(dc, lines.c_str(), static_cast<int>(lines.size()), &area,
              DT_CENTER | DT_NOPREFIX | DT_TOP);
    if (GetFocus() == Handle()) {
        RECT focus = client;
        InflateRect(&focus, -1, -1);
        DrawFocusRect(dc, &focus);
    }
    GdiFlush();
}

void PhaseWheelView::Paint() {
    RECT client{};
    GetClientRect(Handle(), &client);
    DrawFrame(client);
    ui::PaintScope paint(Handle());
    frame_.CopyTo(paint.Dc(), paint.Area());
}

LRESULT PhaseWheelView::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_SIZE:
        case WM_SYSCOLORCHANGE:
            staticValid_ = false;
            InvalidateRect(Handle(), nullptr, FALSE);
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(Handle(), nullptr, FALSE);
            break;
        case WM_LBUTTONDOWN:
            SetFocus(Handle());
            return 0;
        default:
            break;
    }
    return Control::HandleMessage(msg, wp, lp);
}

}  // namespace dacwin
