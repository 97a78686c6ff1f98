// Rules of the application shell that do not need a window: the title taken from
// the program's file name and the text of the error box.
#pragma once

#include <string>
#include <string_view>

namespace app {

// The part of `exePath` after its last path separator, cut at its first ".", with
// every character after the first in lower case ("C:\\x\\PHASEBOX.TEST.EXE" -> "Phasebox").
std::u16string ApplicationTitleFromPath(std::u16string_view exePath);

// The error box's text: a "." is appended when the message is not empty and its last
// character sorts after "." (a letter, a digit, "?"); "x." "x!" "x)" and "x " stay as they are.
std::u16string ErrorBoxText(std::u16string_view message);

}  // namespace app
