// Rules for the names of the files the program writes: names the system takes for a device
// instead of a file, the temporary name a file is written under before it takes its place,
// and the extended form that lifts the length limit of a path.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace output {

// The device that the last component of `path` names, as the path spells it ("com1" for
// "C:\\x\\com1.wav ."), or none for an ordinary file name. The system reads CON, PRN, AUX,
// NUL, COM0 to COM9 and LPT0 to LPT9 (also with a superscript 1, 2 or 3 for the digit),
// CONIN$ and CONOUT$ as devices in any case, with any extension, and with trailing dots or
// spaces; writing to such a name sends the bytes to the device.
std::optional<std::u16string> DeviceName(std::u16string_view path);

// Why a device name is refused, for the messages of the Save path and of --render:
// "names the device \"COM1\", not a file (...)".
std::u16string DeviceNameProblem(std::u16string_view device);

// The temporary file's path for `target`: in the target's folder, named
// "~phasebox-XXXXXXXX.tmp" after the 32 bits of `id` in hex, so that it is as short as
// the folder allows whatever the target's name is.
std::u16string TemporaryPathFor(std::u16string_view target, std::uint32_t id);

// `fullPath` (a full path: "C:\\..." or "\\\\server\\share\\...") in the extended form
// "\\\\?\\C:\\..." or "\\\\?\\UNC\\server\\share\\...", which the system takes up to 32767
// characters long without reading it again; a path already in that form, or one that is
// not a full path, is returned as it is.
std::u16string ExtendedPath(std::u16string_view fullPath);

}  // namespace output
