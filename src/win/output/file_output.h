// Files the program writes are written completely or not at all: the bytes go to a
// temporary file beside the target, are flushed to the disk, and the file then takes the
// target's place.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "core/base/byte_sink.h"

namespace ui {

// What the writer asks the platform for when it creates the temporary file, and the call
// that does it: a seam for tests, which record the request or make the creation fail.
struct FileCreation {
    std::wstring Path;  // in the extended form (\\?\...) when the path is a full one
    DWORD Access = 0;
    DWORD Share = 0;
    DWORD Disposition = 0;
    DWORD FlagsAndAttributes = 0;
};
using FileCreator = std::function<HANDLE(const FileCreation&)>;

// Calls `produce` with a sink into a new temporary file in the target's folder, flushes
// it, then renames it to `path`, replacing a file there. A name the system reads as a
// device (COM1.wav, NUL.csv) is refused before anything is created. Paths of any length
// the file system takes are written. On any failure (the folder, the disk, the name, an
// exception from `produce`) the temporary file is removed, the target is left as it was,
// and the exception names the path and the reason: ui::Win32Error for a platform
// failure, std::invalid_argument for a device name. A file this call did not create is
// never removed.
void WriteWholeFile(const std::wstring& path,
                    const std::function<void(const base::ByteSink&)>& produce,
                    const FileCreator& create = {});

// Whether a file or folder of that name exists; a path of any length.
bool PathExists(const std::wstring& path);

}  // namespace ui
