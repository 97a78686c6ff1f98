// How a window and its controls are described as data, in design units (pixels at 120
// per inch): what the component layer creates a control from. Tables of such rows are
// the program's own (form_layout.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/base/rect.h"
#include "core/base/rgb.h"
#include "core/layout/anchors.h"

namespace layout {

// The kinds of control a row can describe; each control class names its own, and a row
// bound to a control of another kind is refused.
enum class ControlKind {
    Form,  // the window itself, described by a FormDesc
    Panel,
    Label,
    PushButton,
    CheckBox,
    RadioButton,
    TrackBar,    // the platform's standard slider
    StaticText,  // text with a single border
    Picture,
    NumericEdit,
    TickSlider,
    Chart,
};

enum class CursorKind { Default, Hand };

struct FontDesc {
    int HeightPx = 0;  // character height at 120 dpi; 0: the parent's font
    bool Bold = false;
    std::optional<base::Rgb> Colour;  // none: the system window-text colour
};

struct RangeDesc {
    int Min = 0;
    int Max = 0;
    int Position = 0;
    int Frequency = 1;  // a tick mark every `Frequency` positions
    int LineSize = 1;
    int PageSize = 2;
};

// What assistive technology calls a control that has no caption of its own: the text of
// the label row named `LabelledBy`, or `Name` (a short English name of the program's own
// where the window has no label for the control).
struct AccessibleNameDesc {
    std::string_view LabelledBy{};
    std::u16string_view Name{};
};

struct ControlDesc {
    std::string_view Name;
    std::string_view Parent;  // the window's own name for its direct children
    ControlKind Kind;
    base::RectPx Rect;  // relative to the parent's client area
    layout::Anchors Anchors{};
    std::u16string_view Text{};
    FontDesc Font{};
    std::optional<base::Rgb> Background{};  // none: the parent's background
    int TabOrder = -1;                      // -1: not a tab stop
    CursorKind Cursor = CursorKind::Default;
    SizeConstraints Constraints{};
    bool Checked = false;
    bool DoubleBuffered = false;
    RangeDesc Range{};
    AccessibleNameDesc Accessible{};
};

struct FormDesc {
    std::string_view Name;
    std::u16string_view Caption;
    base::SizePx ClientSize;
    std::u16string_view FontFace;  // every font of the window
    int FontHeightPx;
    CursorKind Cursor;  // over the window's own background
};

// A rectangle as the design gives it: left, top, width, height.
constexpr base::RectPx DesignRect(int left, int top, int width, int height) {
    return base::RectPx::FromSize(left, top, width, height);
}

}  // namespace layout
