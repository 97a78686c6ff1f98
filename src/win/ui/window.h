// Base of every object that owns a window. The object is found from its handle through a
// window property; its messages arrive as HandleMessage calls. No exception leaves a
// window procedure: the trampoline reports it through the application and returns.
#pragma once

#include <windows.h>

#include <optional>

#include "win/ui/handles.h"

namespace ui {

struct WindowArgs {
    const wchar_t* Text = L"";
    DWORD Style = 0;
    DWORD ExStyle = 0;
    HWND Parent = nullptr;
    RECT Rect{0, 0, 0, 0};  // left, top, right, bottom in the parent's client coordinates
    HCURSOR ClassCursor = nullptr;
    HBRUSH ClassBackground = nullptr;
    UINT ClassStyle = CS_DBLCLKS;
};

class Window {
public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const noexcept { return hwnd_.Get(); }
    static Window* FromHandle(HWND hwnd) noexcept;

    // A notification that a child control sent to its parent (WM_COMMAND, WM_NOTIFY,
    // WM_HSCROLL, WM_VSCROLL, WM_CTLCOLOR*), handed back to the child's object.
    virtual std::optional<LRESULT> HandleReflected(UINT msg, WPARAM wp, LPARAM lp);

protected:
    Window() = default;

    // A window of the program's own class `className` (registered on first use).
    void CreateOwn(const wchar_t* className, const WindowArgs& args);
    // A standard control of `className` (BUTTON, STATIC, EDIT, ...), subclassed.
    void CreateStandard(const wchar_t* className, const WindowArgs& args);

    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    // What the window does without this object: DefWindowProc, or the standard control.
    LRESULT DefaultHandling(UINT msg, WPARAM wp, LPARAM lp);
    // Whether the window is a standard control of the platform's (made by CreateStandard).
    bool IsStandardControl() const noexcept { return standard_; }
    // Destroys the window and, with it, every child window at once.
    void DestroyHandle() noexcept;

private:
    static LRESULT CALLBACK OwnProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                         DWORD_PTR ref) noexcept;
    LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp) noexcept;
    std::optional<LRESULT> Reflect(UINT msg, WPARAM wp, LPARAM lp);
    void Attach(HWND hwnd) noexcept;
    void Detach() noexcept;

    UniqueHwnd hwnd_;
    bool standard_ = false;
};

}  // namespace ui
