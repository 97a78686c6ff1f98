#include "win/views/tick_slider.h"

#include <oleacc.h>
#include <vssym32.h>
#include <windowsx.h>

#include <optional>
#include <stdexcept>
#include <string>

#include "core/base/number_format.h"
#include "resource_ids.h"
#include "win/ui/buffered_paint.h"
#include "win/ui/fill.h"
#include "win/ui/rect_conversion.h"

namespace controls {
namespace {

std::optional<SliderKey> KeyOf(WPARAM vk) noexcept {
    switch (vk) {
        case VK_LEFT:
            return SliderKey::Left;
        case VK_DOWN:
            return SliderKey::Down;
        case VK_SUBTRACT:
            return SliderKey::Subtract;
        case VK_RIGHT:
            return SliderKey::Right;
        case VK_UP:
            return SliderKey::Up;
        case VK_ADD:
            return SliderKey::Add;
        case VK_PRIOR:
            return SliderKey::PageUp;
        case VK_NEXT:
            return SliderKey::PageDown;
        case VK_HOME:
            return SliderKey::Home;
        case VK_END:
            return SliderKey::End;
        default:
            return std::nullopt;
    }
}

}  // namespace

TickSlider::TickSlider() : model_(0, 10, 0, 1, 1) {
    repeatTimer_.SetEnabled(false);
    repeatTimer_.SetOnTimer([this](ui::Timer&) { RepeatTick(); });
}

void TickSlider::CreateWindowFor(HWND parent, const RECT& rect) {
    const layout::RangeDesc& r = Design().Range;
    model_ = TickSliderModel(r.Min, r.Max, r.Position, r.PageSize, r.Frequency);
    model_.SetWidthPx(rect.right - rect.left);
    CreateOwn(L"phasebox.TickSlider",
              {.Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP,
               .Parent = parent,
               .Rect = rect});
    ReopenTheme();
}

RECT TickSlider::ThumbRect() const {
    return ui::ToRect(model_.ThumbRect());
}

void TickSlider::SetPosition(int position) {
    const base::RectPx before = model_.ThumbRect();
    SliderEffects fx;
    fx.Changed = model_.RequestPosition(position);
    Apply(fx, before);
}

void TickSlider::ScaleBy(int newDpi, int oldDpi) {
    model_.SetMetrics(model_.Layout().Metrics.ScaledBy(newDpi, oldDpi));
    updateBackground_ = true;
    Control::ScaleBy(newDpi, oldDpi);
    InvalidateRect(Handle(), nullptr, FALSE);
}

void TickSlider::ReopenTheme() {
    theme_.Reset();
    if (!IsAppThemed() || !IsThemeActive()) return;
    ui::UniqueTheme theme(OpenThemeData(Handle(), L"TRACKBAR"));
    if (theme && IsThemePartDefined(theme.Get(), TKP_THUMBTOP, 0)) theme_ = std::move(theme);
}

// Capture and timer first, so that a failing change handler leaves them consistent; the
// thumb is redrawn before the handler runs.
void TickSlider::Apply(const SliderEffects& fx, const base::RectPx& thumbBefore) {
    if (fx.Capture) {
        if (model_.HoldsCapture()) {
            SetCapture(Handle());
        } else if (GetCapture() == Handle()) {
            ReleaseCapture();
        }
    }
    if (fx.Timer) ApplyTimer();
    if (fx.Changed || fx.ThumbLook) RedrawThumb(thumbBefore);
    if (fx.Changed) ui::NotifyValueChanged(Handle());
    if (fx.Changed && OnChange) OnChange(*this);
}

void TickSlider::ApplyTimer() {
    if (!model_.RepeatTimerRunning()) {
        repeatTimer_.SetEnabled(false);
        return;
    }
    try {
        repeatTimer_.Restart(model_.RepeatIntervalMs());
    } catch (...) {
        StopRepeating();
        throw;
    }
}

void TickSlider::StopRepeating() noexcept {
    model_.StopRepeat();
    repeatTimer_.SetEnabled(false);
}

// A failing change handler stops the repeat, so that the error is reported once.
void TickSlider::RepeatTick() {
    try {
        Apply(model_.RepeatTimerFired(), model_.ThumbRect());
    } catch (const std::exception&) {
        StopRepeating();
        throw;
    }
}

std::optional<ui::AccessibleFacts> TickSlider::Accessible() const {
    return ui::AccessibleFacts{.Name = AccessibleName(),
                               .Role = ROLE_SYSTEM_SLIDER,
                               .Value = base::IntegerText(Position())};
}

TickSlider::Colours TickSlider::CurrentColours() const {
    return {BackgroundColour(), GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_BTNSHADOW),
            GetSysColor(COLOR_BTNHIGHLIGHT)};
}

bool TickSlider::BackgroundCurrent() const {
    const base::SizePx size = ClientSizePx();
    return !updateBackground_ && background_.WidthPx() == size.Width &&
           background_.HeightPx() == size.Height && backgroundColours_ == CurrentColours();
}

bool TickSlider::EnsureBackground() {
    if (BackgroundCurrent()) return true;
    const base::SizePx size = ClientSizePx();
    if (!background_.Ensure(size)) return false;
    DrawBackground(background_.Dc(), size.Width, size.Height);
    backgroundColours_ = CurrentColours();
    updateBackground_ = false;
    return true;
}

void TickSlider::DrawBackground(HDC dc, int width, int height) {
    const Colours colours = CurrentColours();
    ui::FillSolid(dc, base::RectPx{0, 0, width, height}, colours.Background);
    const base::RectPx t = model_.TrackRect();
    ui::FillSolid(dc, t, colours.Track);
    // A one-pixel sunken frame: shadow left and top, highlight right and bottom, the
    // highlight taking the corners it shares with the shadow.
    ui::FillSolid(dc, base::RectPx{t.Left, t.Top, t.Right - 1, t.Top + 1}, colours.Shadow);
    ui::FillSolid(dc, base::RectPx{t.Left, t.Top, t.Left + 1, t.Bottom - 1}, colours.Shadow);
    ui::FillSolid(dc, base::RectPx{t.Left, t.Bottom - 1, t.Right, t.Bottom}, colours.Highlight);
    ui::FillSolid(dc, base::RectPx{t.Right - 1, t.Top, t.Right, t.Bottom}, colours.Highlight);
    const TickSliderLayout& layout = model_.Layout();
    for (int x : layout.TickXs(model_.TickStep())) {
        ui::FillSolid(dc, base::RectPx{x, layout.TickTopPx(), x + 1, layout.TickBottomPx()},
                      colours.Shadow);
    }
}

void TickSlider::DrawThumb(HDC dc, const RECT& r) {
    if (theme_) {
        const int state = model_.UseHotThumb() ? TUTS_HOT : TUTS_NORMAL;
        DrawThemeBackground(theme_.Get(), dc, TKP_THUMBTOP, state, &r, nullptr);
        return;
    }
    const int hw = model_.Layout().Metrics.HalfWidthPx;
    const POINT pentagon[5] = {{r.left, r.top + hw},
                               {r.left + hw, r.top},
                               {r.right, r.top + hw},
                               {r.right, r.bottom},
                               {r.left, r.bottom}};
    ui::SelectGuard pen(dc, GetStockObject(NULL_PEN));
    ui::SelectGuard brush(dc, GetStockObject(DC_BRUSH));
    SetDCBrushColor(dc, GetSysColor(COLOR_HIGHLIGHT));
    Polygon(dc, pentagon, 5);
}

bool TickSlider::FocusCuesShown() const {
    return (SendMessageW(Handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
}

// Only the thumb changes: the uncovered part of the old thumb comes back from the cache
// and the new thumb is composed off screen, so the control never flickers. A stale cache,
// or a thumb reaching the focus rectangle's edge, takes a full repaint instead.
void TickSlider::RedrawThumb(const base::RectPx& thumbBefore) {
    const base::RectPx after = model_.ThumbRect();
    const base::SizePx size = ClientSizePx();
    const base::RectPx inner{1, 1, size.Width - 1, size.Height - 1};
    auto inside = [&inner](const base::RectPx& r) { return inner.Covers(r); };
    if (!IsWindowVisible(Handle()) || !BackgroundCurrent() || !inside(thumbBefore) ||
        !inside(after)) {
        InvalidateRect(Handle(), nullptr, FALSE);
        return;
    }
    ui::WindowDc dc(Handle());
    HDC cache = background_.Dc();
    for (const base::RectPx& p : base::Difference(thumbBefore, after)) {
        BitBlt(dc.Get(), p.Left, p.Top, p.Right - p.Left, p.Bottom - p.Top, cache, p.Left, p.Top,
               SRCCOPY);
    }
    const int width = after.Width();
    const int height = after.Height();
    if (!thumbPicture_.Ensure(width, height)) return;
    HDC picture = thumbPicture_.Dc();
    BitBlt(picture, 0, 0, width, height, cache, after.Left, after.Top, SRCCOPY);
    DrawThumb(picture, {0, 0, width, height});
    BitBlt(dc.Get(), after.Left, after.Top, width, height, picture, 0, 0, SRCCOPY);
}

// The whole control from the cached background, the focus rectangle and the thumb.
void TickSlider::Draw(HDC dc, const RECT& client) {
    if (!EnsureBackground()) return;
    background_.CopyTo(dc, client);
    if (GetFocus() == Handle() && FocusCuesShown()) {
        // The dotted pattern inverts with the text and background colours of the DC.
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &client);
    }
    DrawThumb(dc, ThumbRect());
}

LRESULT TickSlider::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const base::RectPx before = model_.ThumbRect();
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            ui::PaintBuffered(Handle(), &frame_,
                              [this](HDC dc, const RECT& client) { Draw(dc, client); });
            return 0;
        case WM_PRINTCLIENT: {
            RECT client{};
            GetClientRect(Handle(), &client);
            ui::DrawBuffered(reinterpret_cast<HDC>(wp), client, client, frame_,
                             [this](HDC dc, const RECT& area) { Draw(dc, area); });
            return 0;
        }
        case WM_SIZE:
            model_.SetWidthPx(LOWORD(lp));
            updateBackground_ = true;
            InvalidateRect(Handle(), nullptr, FALSE);
            break;
        case WM_ENABLE:
        case WM_SYSCOLORCHANGE:
            updateBackground_ = true;
            InvalidateRect(Handle(), nullptr, FALSE);
            break;
        case WM_THEMECHANGED:
            ReopenTheme();
            updateBackground_ = true;
            InvalidateRect(Handle(), nullptr, FALSE);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(Handle(), nullptr, FALSE);
            break;
        case WM_UPDATEUISTATE: {
            const LRESULT result = DefaultHandling(msg, wp, lp);
            InvalidateRect(Handle(), nullptr, FALSE);
            return result;
        }
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_KEYDOWN:
            if (const std::optional<SliderKey> key = KeyOf(wp)) {
                Apply(model_.Key(*key), before);
                return 0;
            }
            break;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wp) == Handle() && LOWORD(lp) == HTCLIENT) {
                POINT pt{};
                GetCursorPos(&pt);
                ScreenToClient(Handle(), &pt);
                HCURSOR cursor = nullptr;
                if (before.Contains(pt.x, pt.y)) {
                    cursor = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_THUMB));
                }
                SetCursor(cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW));
                return TRUE;
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (GetFocus() != Handle()) SetFocus(Handle());
            Apply(model_.LeftPress(GET_X_LPARAM(lp), GET_Y_LPARAM(lp)), before);
            return 0;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
        case WM_XBUTTONDOWN:
        case WM_XBUTTONDBLCLK:
            if (GetFocus() != Handle()) SetFocus(Handle());
            break;
        case WM_MOUSEMOVE:
            mouseLeave_.Moved(Handle());
            Apply(model_.MouseMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp)), before);
            return 0;
        case WM_MOUSELEAVE:
            mouseLeave_.Left();
            Apply(model_.MouseLeave(), before);
            return 0;
        case WM_LBUTTONUP:
            Apply(model_.LeftRelease(), before);
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lp) != Handle()) Apply(model_.CaptureLost(), before);
            return 0;
        case WM_MOUSEWHEEL:
        case WM_MOUSEHWHEEL:
            return 0;
        default:
            break;
    }
    return Control::HandleMessage(msg, wp, lp);
}

}  // namespace controls
