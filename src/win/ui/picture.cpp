#include "win/ui/picture.h"

#include <cstring>

#include "win/ui/buffered_paint.h"
#include "win/ui/fill.h"
#include "win/ui/gdiplus_include.h"
#include "win/ui/handles.h"
#include "win/ui/win32_error.h"

namespace ui {
namespace {

// GDI+ reads the picture from a stream over a copy of the resource bytes (a stream on
// global memory exists on every supported system, unlike the shell's memory stream).
std::unique_ptr<Gdiplus::Bitmap> LoadFromResource(int resourceId) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10));
    if (!info) throw Win32Error::FromLastError("Picture resource not found");
    HGLOBAL data = LoadResource(module, info);
    const void* bytes = data ? LockResource(data) : nullptr;
    const DWORD size = SizeofResource(module, info);
    if (!bytes || size == 0) throw Win32Error::FromLastError("Picture resource not found");
    UniqueGlobalMemory copy(GlobalAlloc(GMEM_MOVEABLE, size));
    void* target = copy ? GlobalLock(copy.Get()) : nullptr;
    if (!target) throw Win32Error::FromLastError("Out of memory");
    std::memcpy(target, bytes, size);
    GlobalUnlock(copy.Get());
    ComPtr<IStream> stream;
    if (const HRESULT hr = CreateStreamOnHGlobal(copy.Get(), TRUE, stream.Put()); FAILED(hr)) {
        throw Win32Error::FromHresult("Out of memory", hr);
    }
    copy.Release();  // the stream frees it
    std::unique_ptr<Gdiplus::Bitmap> image(Gdiplus::Bitmap::FromStream(stream.Get()));
    stream.Reset();
    if (!image) throw Win32Error::FromHresult("Picture cannot be read", E_OUTOFMEMORY);
    if (const Gdiplus::Status status = image->GetLastStatus(); status != Gdiplus::Ok) {
        // GDI+ keeps a Win32 code of its own only for a failure of the system.
        throw Win32Error("Picture cannot be read",
                         status == Gdiplus::Win32Error ? GetLastError() : ERROR_INVALID_DATA);
    }
    return image;
}

}  // namespace

Picture::Picture() = default;
Picture::~Picture() = default;

void Picture::CreateWindowFor(HWND parent, const RECT& rect) {
    CreateOwn(L"phasebox.Picture",
              {.Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, .Parent = parent, .Rect = rect});
}

void Picture::LoadPngResource(int resourceId) {
    image_ = LoadFromResource(resourceId);
    renderedValid_ = false;
    InvalidateRect(Handle(), nullptr, FALSE);
}

void Picture::Render(int width, int height) {
    if (!rendered_.Ensure(width, height)) return;
    HDC dc = rendered_.Dc();
    FillSolid(dc, RECT{0, 0, width, height}, BackgroundColour());
    if (image_) {
        Gdiplus::Graphics g(dc);
        g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHighQuality);
        g.DrawImage(image_.get(), Gdiplus::Rect(0, 0, width, height));
    }
    renderedValid_ = true;
}

LRESULT Picture::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            renderedValid_ = false;
            InvalidateRect(Handle(), nullptr, FALSE);
            break;
        case WM_PAINT: {
            // The stretched picture is kept until the size changes: a pulse step costs
            // one rendering, an uncovering only a copy.
            const base::SizePx size = ClientSizePx();
            if (!renderedValid_ || rendered_.WidthPx() != size.Width ||
                rendered_.HeightPx() != size.Height) {
                Render(size.Width, size.Height);
            }
            PaintFrom(Handle(), rendered_);
            return 0;
        }
        case WM_LBUTTONDOWN:
            pressed_ = true;
            SetCapture(Handle());
            return 0;
        case WM_LBUTTONUP: {
            const bool wasPressed = pressed_;
            pressed_ = false;
            if (GetCapture() == Handle()) ReleaseCapture();
            const POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            RECT client{};
            GetClientRect(Handle(), &client);
            if (wasPressed && PtInRect(&client, pt) && OnClick) OnClick(*this);
            return 0;
        }
        case WM_CAPTURECHANGED:
            pressed_ = false;
            return 0;
        case WM_LBUTTONDBLCLK:
            return 0;  // the second click of a double-click is no click
        default:
            break;
    }
    return Control::HandleMessage(msg, wp, lp);
}

}  // namespace ui
