#pragma once
// The main window's layout as data, in design units (120 pixels per inch). The code
// that creates the window reads this table; nothing else holds a position or a text.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "layout/anchors.h"

namespace layout {

enum class ControlKind {
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

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

enum class CursorKind { Default, Hand };

struct FontDesc {
    int heightPx = 0;  // character height at 120 dpi; 0: the parent's font
    bool bold = false;
    std::optional<Rgb> colour;  // none: the system window-text colour
};

struct RangeDesc {
    int min = 0;
    int max = 0;
    int position = 0;
    int frequency = 1;  // a tick mark every `frequency` positions
    int lineSize = 1;
    int pageSize = 2;
};

struct ControlDesc {
    std::string_view name;
    std::string_view parent;  // "Form1" for the window's own children
    ControlKind kind;
    RectPx rect;
    Anchors anchors{};
    std::u16string_view text{};
    FontDesc font{};
    std::optional<Rgb> background{};  // none: the parent's background
    int tabOrder = -1;                // -1: not a tab stop
    CursorKind cursor = CursorKind::Default;
    SizeConstraints constraints{};
    bool checked = false;
    bool doubleBuffered = false;
    int borderWidthPx = 0;
    RangeDesc range{};
};

struct FormDesc {
    std::u16string_view caption;
    SizePx clientSize;
    std::u16string_view fontFace;  // every font of the window
    int fontHeightPx;
    CursorKind cursor;
};

// The window itself.
const FormDesc& MainFormDesc();

// Every control, parents before children; within one parent in stacking order
// (a later row lies above an earlier one).
std::span<const ControlDesc> MainFormControls();

// Timer intervals as designed, in milliseconds.
inline constexpr unsigned kTimer1DesignIntervalMs = 100;
inline constexpr unsigned kTimer2DesignIntervalMs = 300;

// The standard sliders' thumb length at 120 dpi.
inline constexpr int kTrackBarThumbLengthPx = 20;

}  // namespace layout
