#include "win/ui/accessible_object.h"

#include <oleacc.h>

#include <atomic>
#include <new>
#include <utility>

#include "win/ui/text.h"

namespace ui {
namespace {

// The values the platform's oleacc.h gives these identifiers. The MinGW import libraries
// define them in two libraries at once (uuid and oleacc), so naming theirs can make the
// link fail; the interface of IAccessible itself is taken with __uuidof.
constexpr GUID kClsidAccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID kIidAccPropServices = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kPropIdAccName = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

std::atomic<int> g_liveObjects{0};  // a count for tests, not a registry of objects

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT ToBstr(const std::u16string& text, BSTR* out) {
    *out = SysAllocStringLen(Wide(text), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

// The COM object. Reference counted; the server holds one reference while the control
// lives, clients and marshalled packets hold theirs. After Disconnect it keeps no link
// to the control and answers every call with RPC_E_DISCONNECTED.
class AccessibleObject final : public IAccessible {
public:
    AccessibleObject(ComPtr<IAccessible> base, AccessibleServer::Describer describe)
        : base_(std::move(base)), describe_(std::move(describe)) {
        ++g_liveObjects;
    }
    AccessibleObject(const AccessibleObject&) = delete;
    AccessibleObject& operator=(const AccessibleObject&) = delete;

    void Disconnect() noexcept {
        describe_ = nullptr;
        base_.Reset();
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) ||
            iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    // IDispatch: clients of IAccessible call its methods directly; no type information.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible: the stated facts for the object itself, the platform's for the rest.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Stated(child, name, &AccessibleFacts::Name, &IAccessible::get_accName);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return Stated(child, value, &AccessibleFacts::Value, &IAccessible::get_accValue);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role) return E_INVALIDARG;
        VariantInit(role);
        if (!base_) return RPC_E_DISCONNECTED;
        if (IsSelf(child)) {
            try {
                if (const std::optional<long> r = describe_().Role) {
                    role->vt = VT_I4;
                    role->lVal = *r;
                    return S_OK;
                }
            } catch (...) {
                return E_OUTOFMEMORY;
            }
        }
        return base_->get_accRole(child, role);
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return Forward(&IAccessible::get_accParent, parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        return Forward(&IAccessible::get_accChildCount, count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        return Forward(&IAccessible::get_accChild, child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
        return Stated(child, out, &AccessibleFacts::Description, &IAccessible::get_accDescription);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
        return Forward(&IAccessible::get_accState, child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override {
        return Forward(&IAccessible::get_accHelp, child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return Forward(&IAccessible::get_accHelpTopic, file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
        return Forward(&IAccessible::get_accKeyboardShortcut, child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
        return Forward(&IAccessible::get_accFocus, out);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
        return Forward(&IAccessible::get_accSelection, out);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
        return Forward(&IAccessible::get_accDefaultAction, child, out);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return Forward(&IAccessible::accSelect, flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        return Forward(&IAccessible::accLocation, left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return Forward(&IAccessible::accNavigate, direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* out) override {
        return Forward(&IAccessible::accHitTest, x, y, out);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return Forward(&IAccessible::accDoDefaultAction, child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return Forward(&IAccessible::put_accName, child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return Forward(&IAccessible::put_accValue, child, value);
    }

private:
    ~AccessibleObject() {
        Disconnect();
        --g_liveObjects;
    }

    template <typename... Params, typename... Args>
    HRESULT Forward(HRESULT (STDMETHODCALLTYPE IAccessible::*method)(Params...),
                    Args... args) noexcept {
        if (!base_) return RPC_E_DISCONNECTED;
        return (base_.Get()->*method)(args...);
    }

    // A text fact for the object itself when the control states it, else the platform's.
    HRESULT Stated(const VARIANT& child, BSTR* out,
                   std::optional<std::u16string> AccessibleFacts::*fact,
                   HRESULT (STDMETHODCALLTYPE IAccessible::*platform)(VARIANT, BSTR*)) noexcept {
        if (!out) return E_INVALIDARG;
        *out = nullptr;
        if (!base_) return RPC_E_DISCONNECTED;
        if (IsSelf(child)) {
            try {
                if (const std::optional<std::u16string> text = describe_().*fact) {
                    return ToBstr(*text, out);
                }
            } catch (...) {
                return E_OUTOFMEMORY;
            }
        }
        return (base_.Get()->*platform)(child, out);
    }

    std::atomic<ULONG> refs_{1};
    ComPtr<IAccessible> base_;
    AccessibleServer::Describer describe_;
};

AccessibleServer::AccessibleServer() = default;

AccessibleServer::~AccessibleServer() {
    Disconnect();
}

std::optional<LRESULT> AccessibleServer::Answer(HWND hwnd, WPARAM wp, Describer describe) {
    if (!object_) {
        ComPtr<IAccessible> base;
        if (FAILED(CreateStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                             base.PutVoid())) ||
            !base) {
            return std::nullopt;
        }
        object_.Reset(new (std::nothrow) AccessibleObject(std::move(base), std::move(describe)));
        if (!object_) return std::nullopt;
    }
    // The result carries its own reference to the object until the client takes it.
    const LRESULT result = LresultFromObject(__uuidof(IAccessible), wp, object_.Get());
    if (result < 0) return std::nullopt;
    return result;
}

void AccessibleServer::Disconnect() noexcept {
    if (!object_) return;
    object_->Disconnect();
    // Proxies in other processes stop reaching the object, and the stubs that held
    // references for them let go.
    CoDisconnectObject(object_.Get(), 0);
    object_.Reset();
}

int LiveAccessibleObjects() noexcept {
    return g_liveObjects;
}

namespace {

// The platform's annotation service, or null where there is none.
ComPtr<IAccPropServices> PropServices() {
    ComPtr<IAccPropServices> services;
    if (FAILED(CoCreateInstance(kClsidAccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                kIidAccPropServices, services.PutVoid()))) {
        return {};
    }
    return services;
}

}  // namespace

bool AnnotateName(HWND hwnd, std::u16string_view name) {
    const ComPtr<IAccPropServices> services = PropServices();
    if (!services) return false;
    const std::u16string text(name);
    return services->SetHwndPropStr(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                    kPropIdAccName, Wide(text)) == S_OK;
}

void ClearAnnotatedName(HWND hwnd) noexcept {
    const ComPtr<IAccPropServices> services = PropServices();
    if (!services) return;
    MSAAPROPID props[] = {kPropIdAccName};
    services->ClearHwndProps(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, props, 1);
}

void NotifyValueChanged(HWND hwnd) noexcept {
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace ui
