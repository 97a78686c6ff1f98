// Files the program writes are written completely or not at all: the bytes go to a
// temporary file beside the target, which then takes the target's place.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "core/output/render.h"

namespace ui {

// Calls `produce` with a sink into a temporary file in the target's folder, then renames
// that file to `path`, replacing a file there. On any failure (the folder, the disk, the
// name, an exception from `produce`) the temporary file is removed, the target is left as
// it was, and the exception (ui::Win32Error for a platform failure) names the path and the
// reason.
void WriteWholeFile(const std::wstring& path,
                    const std::function<void(const output::ByteSink&)>& produce);

}  // namespace ui
