// The DAC output window's layout as data, in design units (120 pixels per inch), in the
// language of its texts. The window reads this table; nothing else holds its positions.
#pragma once

#include <array>
#include <span>

#include "core/base/rect.h"
#include "core/dac/texts.h"
#include "core/layout/control_desc.h"

namespace layout {

const FormDesc& DacFormDesc(dac::Language language);

// Every control, parents before children, in stacking order.
std::span<const ControlDesc> DacFormControls(dac::Language language);

// The smallest client area the window can be given, in design units.
inline constexpr base::SizePx kDacMinClientSize{680, 480};

// The clock rates the clock box offers; any other in range can be typed.
inline constexpr std::array<int, 11> kCommonClocksHz{8000,  11025, 16000, 22050,  32000, 44100,
                                                     48000, 88200, 96000, 176400, 192000};

}  // namespace layout
