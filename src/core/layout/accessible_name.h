// The names assistive technology gives the controls of a layout table.
#pragma once

#include <span>
#include <string>

#include "core/layout/control_desc.h"

namespace layout {

// The name of the control of `row`: the text of the label it names, without the blanks
// around it, or its own accessible name; empty when it has neither. A label that is no
// row of `rows` is refused (std::logic_error), as is a row that gives both.
std::u16string AccessibleNameOf(const ControlDesc& row, std::span<const ControlDesc> rows);

}  // namespace layout
