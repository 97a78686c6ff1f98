// A control placed by the layout table: its rectangle relative to its parent, anchors,
// size constraints, font and colours. Panels and the window are controls with children.
#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

#include "core/base/rect.h"
#include "core/layout/anchors.h"
#include "core/layout/control_desc.h"
#include "win/ui/accessible_object.h"
#include "win/ui/handles.h"
#include "win/ui/window.h"

namespace ui {

COLORREF ToColorRef(const base::Rgb& c) noexcept;

class Control;
// The control object of `hwnd`, or null for a window that is none.
Control* ControlFromHandle(HWND hwnd) noexcept;

class Control : public Window {
public:
    // The kind of row this control is created from.
    virtual layout::ControlKind Kind() const noexcept = 0;

    // Creates the window under `parent` with the designed values of `desc`; no event fires.
    // A row of another kind than this control's is refused (std::logic_error).
    void Create(Control& parent, const layout::ControlDesc& desc);

    const layout::ControlDesc& Design() const noexcept { return *desc_; }
    virtual std::string_view Name() const noexcept {
        return desc_ ? desc_->Name : std::string_view{};
    }
    Control* Parent() const noexcept { return parent_; }
    const std::vector<Control*>& Children() const noexcept { return children_; }

    // Rectangle in the parent's client coordinates, in device pixels.
    base::RectPx BoundsPx() const;
    // The rectangle as anchoring places it; a later resize of the parent places it anew
    // from the reference that RememberAnchors or ResizeTo set.
    void SetBoundsPx(const base::RectPx& r);
    // A rectangle that code chooses for the control (a label sized to its text, the
    // arrow's pulse), which anchoring then keeps as its reference.
    void ResizeTo(const base::RectPx& r);
    base::SizePx ClientSizePx() const;

    // Scales rectangle, constraints and own font by newDpi / oldDpi (edges rounded, halves
    // away from zero), then does the same for every child.
    virtual void ScaleBy(int newDpi, int oldDpi);
    // Makes the current rectangles of this control's children the reference for anchoring.
    void RememberAnchors();
    // Applies the children's anchors for the current client size.
    void ArrangeChildren();

    int FontHeightPx() const noexcept;
    HFONT Font() const noexcept;
    COLORREF TextColour() const noexcept;
    COLORREF BackgroundColour() const noexcept;
    HBRUSH BackgroundBrush() const noexcept;

    bool Enabled() const noexcept;
    void SetEnabled(bool enabled);

    // Whether Tab stops here now (a radio button only while checked).
    virtual bool IsTabStop() const noexcept;
    int TabOrder() const noexcept { return desc_ ? desc_->TabOrder : -1; }

    // What the control wants from its window's keyboard handling besides Tab.
    struct KeyboardNeeds {
        bool ArrowsMoveInGroup = false;  // the arrow keys move among its parent's controls
        bool EnterClicks = false;        // Enter clicks it (BM_CLICK)
    };
    virtual KeyboardNeeds Keyboard() const noexcept { return {}; }
    // The arrow keys moved the focus here within its group.
    virtual void ArrivedByArrow() {}

    // What happened to the keyboard focus at `hwnd`, a window at any depth below this
    // one. Passed up to the parent; the window keeps track of it.
    enum class FocusChange {
        Gained,     // `other` lost it (the wParam of WM_SETFOCUS)
        Lost,       // `other` gains it (the wParam of WM_KILLFOCUS)
        Withdrawn,  // `hwnd` has it and is inside a control being hidden or disabled
    };

    std::optional<LRESULT> HandleReflected(UINT msg, WPARAM wp, LPARAM lp) override;

    // What assistive technology calls this control when it has no caption of its own
    // (empty: the platform's name, its caption). A standard control is named through the
    // platform's annotation where there is one; elsewhere it answers for itself.
    const std::u16string& AccessibleName() const noexcept { return accessibleName_; }
    void SetAccessibleName(std::u16string name);

    // The facts this control states to assistive technology beyond the platform's object
    // for its window; none: the platform's object as it is. Read at every query.
    virtual std::optional<AccessibleFacts> Accessible() const;

protected:
    Control() = default;
    // Makes the window itself; `rect` is in the parent's client coordinates.
    virtual void CreateWindowFor(HWND parent, const RECT& rect) = 0;
    // A standard control of `className` (BUTTON, STATIC, ...) showing the designed text,
    // visible and clipped by its siblings; `style` adds the kind's own bits.
    void CreateStandardControl(const wchar_t* className, DWORD style, HWND parent,
                               const RECT& rect);
    // After creation and after every font change.
    virtual void FontChanged();
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void AddChild(Control& child) { children_.push_back(&child); }
    virtual void DescendantFocusChanged(HWND hwnd, FocusChange change, HWND other);

    // For the window itself, which has no parent and no table row.
    void SetOwnFont(std::u16string_view face, int heightPx, bool bold);
    const layout::ControlDesc* desc_ = nullptr;

private:
    void RebuildFont();

    Control* parent_ = nullptr;
    std::vector<Control*> children_;
    base::RectPx anchorReference_{};
    base::SizePx anchorParent_{};
    layout::SizeConstraints constraints_{};
    std::u16string_view fontFace_ = u"Tahoma";
    int ownFontHeightPx_ = 0;  // 0: the parent's font
    bool bold_ = false;
    UniqueFont font_;
    mutable UniqueBrush background_;
    std::u16string accessibleName_;
    bool nameAnnotated_ = false;
    AccessibleServer accessible_;

protected:
    bool scaling_ = false;
};

}  // namespace ui
