// Move-only owners of platform handles, of memory the system allocates and of COM
// references, and a scope guard for selected GDI objects.
#pragma once

#include <windows.h>

#include <uxtheme.h>

#include <utility>

namespace ui {

// The value that stands for "no handle": Traits::None() where the platform has one of its
// own (INVALID_HANDLE_VALUE for files), else the zero value.
template <typename Traits>
typename Traits::Handle NoHandle() noexcept {
    if constexpr (requires { Traits::None(); }) {
        return Traits::None();
    } else {
        return typename Traits::Handle{};
    }
}

template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle h) noexcept : handle_(h) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Reset(); }

    Handle Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != NoHandle<Traits>(); }
    Handle Release() noexcept { return std::exchange(handle_, NoHandle<Traits>()); }
    void Reset() noexcept { Reset(NoHandle<Traits>()); }
    void Reset(Handle h) noexcept {
        if (handle_ != NoHandle<Traits>()) Traits::Close(handle_);
        handle_ = h;
    }

private:
    Handle handle_ = NoHandle<Traits>();
};

struct WindowTraits {
    using Handle = HWND;
    static void Close(HWND h) noexcept { DestroyWindow(h); }
};
template <typename T>
struct GdiObjectTraits {
    using Handle = T;
    static void Close(T h) noexcept { DeleteObject(h); }
};
struct MemoryDcTraits {
    using Handle = HDC;
    static void Close(HDC h) noexcept { DeleteDC(h); }
};
// A movable global memory block (GlobalAlloc); one handed to the clipboard is released,
// not freed.
struct GlobalMemoryTraits {
    using Handle = HGLOBAL;
    static void Close(HGLOBAL h) noexcept { GlobalFree(h); }
};
// LocalAlloc'ed memory the system hands over (FormatMessageW's buffer, CommandLineToArgvW's
// array).
template <typename T>
struct LocalMemoryTraits {
    using Handle = T*;
    static void Close(T* h) noexcept { LocalFree(h); }
};
// A file or device opened with CreateFileW; INVALID_HANDLE_VALUE is its "none".
struct FileTraits {
    using Handle = HANDLE;
    static HANDLE None() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { CloseHandle(h); }
};
struct IconTraits {
    using Handle = HICON;
    static void Close(HICON h) noexcept { DestroyIcon(h); }
};

struct ThemeTraits {
    using Handle = HTHEME;
    static void Close(HTHEME h) noexcept { CloseThemeData(h); }
};

using UniqueHwnd = UniqueHandle<WindowTraits>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniquePen = UniqueHandle<GdiObjectTraits<HPEN>>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;
using UniqueGlobalMemory = UniqueHandle<GlobalMemoryTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
template <typename T>
using UniqueLocal = UniqueHandle<LocalMemoryTraits<T>>;
using UniqueFile = UniqueHandle<FileTraits>;
using UniqueTheme = UniqueHandle<ThemeTraits>;

// One reference to a COM object, released when the owner goes. Taking a pointer adopts
// the reference that came with it (a creation or query result); copies are not made, so
// every AddRef the program needs is an explicit one.
template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    explicit ComPtr(T* adopted) noexcept : object_(adopted) {}
    ComPtr(ComPtr&& other) noexcept : object_(other.Detach()) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) Reset(other.Detach());
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { Reset(); }

    T* Get() const noexcept { return object_; }
    T* operator->() const noexcept { return object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }
    // Gives up the reference without releasing it.
    T* Detach() noexcept { return std::exchange(object_, nullptr); }
    void Reset(T* adopted = nullptr) noexcept {
        if (T* old = std::exchange(object_, adopted)) old->Release();
    }
    // For a call that returns a new reference through `void**`: the old one is released
    // first.
    void** PutVoid() noexcept {
        Reset();
        return reinterpret_cast<void**>(&object_);
    }
    T** Put() noexcept {
        Reset();
        return &object_;
    }

private:
    T* object_ = nullptr;
};

// A device context obtained with GetDC, released on the window it came from.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    HDC Get() const noexcept { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint / EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) noexcept : hwnd_(hwnd) { BeginPaint(hwnd_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { EndPaint(hwnd_, &ps_); }
    HDC Dc() const noexcept { return ps_.hdc; }
    const RECT& Area() const noexcept { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
};

// Restores the object that was selected into `dc` before.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(SelectObject(dc, object)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() {
        if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace ui
