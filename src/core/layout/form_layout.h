// The main window's layout as data, in design units (120 pixels per inch). The code
// that creates the window reads this table; nothing else holds a position or a text.
#pragma once

#include <span>

#include "core/layout/control_desc.h"

namespace layout {

// The window itself.
const FormDesc& MainWindowDesc();

// Every control, parents before children; within one parent in stacking order
// (a later row lies above an earlier one).
std::span<const ControlDesc> MainWindowControls();

// Timer intervals as designed, in milliseconds.
inline constexpr unsigned kStepTimerDesignIntervalMs = 100;
inline constexpr unsigned kPulseTimerDesignIntervalMs = 300;

}  // namespace layout
