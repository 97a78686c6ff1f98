// What a control tells assistive technology about itself. A control that states facts
// answers WM_GETOBJECT (OBJID_CLIENT) with an IAccessible of its own: the platform's
// standard object for its window (place, state, parent, navigation, hit testing), with
// the name, role and value the control states put in front of it. A standard control
// named through the platform's annotation keeps the platform's object as it is.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "win/ui/handles.h"

namespace ui {

// The facts a control states; those left empty are the platform object's.
struct AccessibleFacts {
    std::optional<std::u16string> Name{};
    std::optional<long> Role{};  // ROLE_SYSTEM_*
    std::optional<std::u16string> Value{};
    std::optional<std::u16string> Description{};  // what the control does, its keys
};

class AccessibleObject;

// Owned by one control: makes the object on the first request and cuts it off from the
// control when the window goes, so that a client that still holds it gets errors, never
// a call into a destroyed control. Move-free: the object refers to its describer only.
class AccessibleServer {
public:
    using Describer = std::function<AccessibleFacts()>;

    AccessibleServer();
    ~AccessibleServer();
    AccessibleServer(const AccessibleServer&) = delete;
    AccessibleServer& operator=(const AccessibleServer&) = delete;

    // The answer to WM_GETOBJECT with `wp` for the client area of `hwnd`
    // (LresultFromObject); none when no object can be made, and the platform answers.
    // `describe` is kept with the object made by the first call and asked at every query.
    std::optional<LRESULT> Answer(HWND hwnd, WPARAM wp, Describer describe);
    // The window is gone: the object answers RPC_E_DISCONNECTED from now on, its remote
    // clients are disconnected and this owner lets go of it.
    void Disconnect() noexcept;

private:
    ComPtr<AccessibleObject> object_;
};

// Objects of this kind alive in the process now; a test's check for leaks.
int LiveAccessibleObjects() noexcept;

// Names a standard control for the platform's own object through the annotation service
// (IAccPropServices::SetHwndPropStr). False where the platform has no such service or
// refuses; the control then answers for itself.
bool AnnotateName(HWND hwnd, std::u16string_view name);
// Removes what AnnotateName stored, when the window goes.
void ClearAnnotatedName(HWND hwnd) noexcept;

// Tells assistive technology that the value of `hwnd`'s client object changed.
void NotifyValueChanged(HWND hwnd) noexcept;

}  // namespace ui
