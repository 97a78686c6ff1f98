#include "win/ui/control.h"

#include <stdexcept>
#include <string>

#include "core/base/scoped_value.h"
#include "core/layout/scale.h"
#include "win/ui/rect_conversion.h"
#include "win/ui/text.h"
#include "win/ui/win32_error.h"

namespace ui {

COLORREF ToColorRef(const base::Rgb& c) noexcept {
    return RGB(c.R, c.G, c.B);
}

Control* ControlFromHandle(HWND hwnd) noexcept {
    return dynamic_cast<Control*>(Window::FromHandle(hwnd));
}

void Control::Create(Control& parent, const layout::ControlDesc& desc) {
    if (desc.Kind != Kind()) {
        throw std::logic_error("The layout describes " + std::string(desc.Name) +
                               " as another kind of control");
    }
    desc_ = &desc;
    parent_ = &parent;
    constraints_ = desc.Constraints;
    ownFontHeightPx_ = desc.Font.HeightPx;
    bold_ = desc.Font.Bold;
    fontFace_ = parent.fontFace_;
    CreateWindowFor(parent.Handle(), ToRect(desc.Rect));
    // A later row of the table lies above an earlier one.
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    parent.AddChild(*this);
    anchorReference_ = desc.Rect;
    anchorParent_ = parent.ClientSizePx();
    RebuildFont();
}

void Control::CreateStandardControl(const wchar_t* className, DWORD style, HWND parent,
                                    const RECT& rect) {
    const std::wstring text = ToWide(Design().Text);
    CreateStandard(className, {.Text = text.c_str(),
                               .Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style,
                               .Parent = parent,
                               .Rect = rect});
}

base::RectPx Control::BoundsPx() const {
    RECT r{};
    GetWindowRect(Handle(), &r);
    if (HWND parent = GetParent(Handle())) {
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    }
    return FromRect(r);
}

void Control::SetBoundsPx(const base::RectPx& r) {
    SetWindowPos(Handle(), nullptr, r.Left, r.Top, r.Width(), r.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Control::ResizeTo(const base::RectPx& r) {
    if (r != BoundsPx()) SetBoundsPx(r);
    anchorReference_ = r;
    if (parent_) anchorParent_ = parent_->ClientSizePx();
}

base::SizePx Control::ClientSizePx() const {
    RECT r{};
    GetClientRect(Handle(), &r);
    return {r.right - r.left, r.bottom - r.top};
}

void Control::ScaleBy(int newDpi, int oldDpi) {
    // Anchoring would move the children by their old references while they are scaled.
    base::ScopedValue<bool> scaling(scaling_, true);
    if (parent_) SetBoundsPx(layout::ScaleRect(BoundsPx(), newDpi, oldDpi));
    if (constraints_.MinHeightPx > 0) {
        constraints_.MinHeightPx = layout::ScaleValue(constraints_.MinHeightPx, newDpi, oldDpi);
    }
    if (constraints_.MaxHeightPx > 0) {
        constraints_.MaxHeightPx = layout::ScaleValue(constraints_.MaxHeightPx, newDpi, oldDpi);
    }
    if (ownFontHeightPx_ > 0) {
        ownFontHeightPx_ = layout::ScaleValue(ownFontHeightPx_, newDpi, oldDpi);
    }
    RebuildFont();
    for (Control* child : children_) child->ScaleBy(newDpi, oldDpi);
}

void Control::RememberAnchors() {
    const base::SizePx client = ClientSizePx();
    for (Control* child : children_) {
        child->anchorReference_ = child->BoundsPx();
        child->anchorParent_ = client;
        child->RememberAnchors();
    }
}

void Control::ArrangeChildren() {
    if (scaling_) return;
    const base::SizePx client = ClientSizePx();
    for (Control* child : children_) {
        if (!child->desc_) continue;
        const base::RectPx target =
            layout::AnchoredRect(child->anchorReference_, child->anchorParent_, client,
                                 child->desc_->Anchors, child->constraints_);
        if (target != child->BoundsPx()) child->SetBoundsPx(target);
    }
}

int Control::FontHeightPx() const noexcept {
    if (ownFontHeightPx_ > 0 || !parent_) return ownFontHeightPx_;
    return parent_->FontHeightPx();
}

HFONT Control::Font() const noexcept {
    if (font_ || !parent_) return font_.Get();
    return parent_->Font();
}

void Control::SetOwnFont(std::u16string_view face, int heightPx, bool bold) {
    fontFace_ = face;
    ownFontHeightPx_ = heightPx;
    bold_ = bold;
    RebuildFont();
}

void Control::RebuildFont() {
    if (ownFontHeightPx_ > 0) {
        LOGFONTW lf{};
        lf.lfHeight = -ownFontHeightPx_;  // character height, without internal leading
        lf.lfWeight = bold_ ? FW_BOLD : FW_NORMAL;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = DEFAULT_QUALITY;
        const std::wstring face = ToWide(fontFace_);
        lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
        UniqueFont fresh(CreateFontIndirectW(&lf));
        if (!fresh) throw Win32Error::FromLastError("Cannot create a font");
        font_ = std::move(fresh);
    }
    if (Handle()) FontChanged();
}

void Control::FontChanged() {
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()), TRUE);
}

COLORREF Control::TextColour() const noexcept {
    if (desc_ && desc_->Font.Colour) return ToColorRef(*desc_->Font.Colour);
    return GetSysColor(COLOR_WINDOWTEXT);
}

COLORREF Control::BackgroundColour() const noexcept {
    if (desc_ && desc_->Background) return ToColorRef(*desc_->Background);
    if (parent_) return parent_->BackgroundColour();
    return GetSysColor(COLOR_BTNFACE);
}

HBRUSH Control::BackgroundBrush() const noexcept {
    if (!background_) background_.Reset(CreateSolidBrush(BackgroundColour()));
    return background_.Get();
}

bool Control::Enabled() const noexcept {
    return IsWindowEnabled(Handle()) != FALSE;
}

void Control::SetEnabled(bool enabled) {
    if (Enabled() != enabled) EnableWindow(Handle(), enabled ? TRUE : FALSE);
}

bool Control::IsTabStop() const noexcept {
    return TabOrder() >= 0 && (GetWindowLongW(Handle(), GWL_STYLE) & WS_TABSTOP) != 0;
}

std::optional<LRESULT> Control::HandleReflected(UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            HDC dc = reinterpret_cast<HDC>(wp);
            SetTextColor(dc, TextColour());
            SetBkColor(dc, BackgroundColour());
            return reinterpret_cast<LRESULT>(BackgroundBrush());
        }
        default:
            return std::nullopt;
    }
}

LRESULT Control::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SETCURSOR:
            if (desc_ && desc_->Cursor == layout::CursorKind::Hand &&
                reinterpret_cast<HWND>(wp) == Handle() && LOWORD(lp) == HTCLIENT) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        case WM_SIZE:
            if (!children_.empty()) ArrangeChildren();
            break;
        case WM_SYSCOLORCHANGE:
            // A background of a system colour is made again at the next use.
            background_.Reset();
            InvalidateRect(Handle(), nullptr, TRUE);
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            if (parent_) {
                parent_->DescendantFocusChanged(
                    Handle(), msg == WM_SETFOCUS ? FocusChange::Gained : FocusChange::Lost,
                    reinterpret_cast<HWND>(wp));
            }
            break;
        case WM_GETOBJECT:
            // 64-bit clients may pass the object id zero-extended: compared as a DWORD.
            if (static_cast<DWORD>(lp) == static_cast<DWORD>(OBJID_CLIENT) && Accessible()) {
                const auto describe = [this] { return Accessible().value_or(AccessibleFacts{}); };
                if (const std::optional<LRESULT> answer =
                        accessible_.Answer(Handle(), wp, describe)) {
                    return *answer;
                }
            }
            break;
        case WM_NCDESTROY:
            accessible_.Disconnect();
            if (nameAnnotated_) ClearAnnotatedName(Handle());
            nameAnnotated_ = false;
            break;
        case WM_SHOWWINDOW:
        case WM_ENABLE:
            // The platform moves the focus away from the window itself when it is hidden
            // or disabled, but leaves it on a child of a hidden or disabled container.
            if (!wp && (msg == WM_ENABLE || lp == 0) && parent_) {
                HWND focus = GetFocus();
                if (focus && (focus == Handle() || IsChild(Handle(), focus))) {
                    parent_->DescendantFocusChanged(focus, FocusChange::Withdrawn, nullptr);
                }
            }
            break;
        default:
            break;
    }
    return Window::HandleMessage(msg, wp, lp);
}

void Control::SetAccessibleName(std::u16string name) {
    accessibleName_ = std::move(name);
    if (nameAnnotated_) ClearAnnotatedName(Handle());
    nameAnnotated_ =
        IsStandardControl() && !accessibleName_.empty() && AnnotateName(Handle(), accessibleName_);
}

std::optional<AccessibleFacts> Control::Accessible() const {
    if (accessibleName_.empty() || nameAnnotated_) return std::nullopt;
    return AccessibleFacts{.Name = accessibleName_};
}

void Control::DescendantFocusChanged(HWND hwnd, FocusChange change, HWND other) {
    if (parent_) parent_->DescendantFocusChanged(hwnd, change, other);
}

}  // namespace ui
