// The standard error of a program without a console of its own.
#pragma once

#include <string_view>

namespace ui {

// Writes `line` and a line end to the standard error: the handle the process was started
// with (a pipe, a file or a console), or else the console of the process that started it.
// False when the process has neither.
bool WriteErrorLine(std::u16string_view line);

}  // namespace ui
