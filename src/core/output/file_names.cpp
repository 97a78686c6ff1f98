#include "core/output/file_names.h"

#include <array>

#include "core/base/quoted.h"
#include "core/base/text_case.h"

namespace output {

namespace {

bool IsSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

std::u16string_view LastComponent(std::u16string_view path) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsSeparator(path[i])) start = i + 1;
    }
    std::u16string_view name = path.substr(start);
    // A drive-relative name: "C:NUL".
    if (start == 0 && name.size() >= 2 && name[1] == u':') name.remove_prefix(2);
    return name;
}

std::u16string_view TrimEnd(std::u16string_view text, std::u16string_view characters) {
    while (!text.empty() && characters.find(text.back()) != std::u16string_view::npos) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsDeviceDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || c == u'\u00B9' || c == u'\u00B2' || c == u'\u00B3';
}

}  // namespace

std::optional<std::u16string> DeviceName(std::u16string_view path) {
    std::u16string_view name = TrimEnd(LastComponent(path), u". ");
    // The device is the part before the first dot (its extension does not matter) or a
    // colon ("NUL:"), without the spaces before it.
    name = TrimEnd(name.substr(0, name.find_first_of(u".:")), u" ");
    constexpr std::array<std::u16string_view, 6> kPlain{u"con", u"prn",    u"aux",
                                                        u"nul", u"conin$", u"conout$"};
    for (const std::u16string_view device : kPlain) {
        if (base::EqualsNoCase(name, device)) return std::u16string(name);
    }
    if (name.size() == 4 && IsDeviceDigit(name[3]) &&
        (base::EqualsNoCase(name.substr(0, 3), u"com") ||
         base::EqualsNoCase(name.substr(0, 3), u"lpt"))) {
        return std::u16string(name);
    }
    return std::nullopt;
}

std::u16string DeviceNameProblem(std::u16string_view device) {
    return u"names the device " + base::Quoted(device) +
           u", not a file (CON, PRN, AUX, NUL, COM0 to COM9 and LPT0 to LPT9 are devices "
           u"with any extension)";
}

std::u16string TemporaryPathFor(std::u16string_view target, std::uint32_t id) {
    std::size_t folderEnd = 0;
    for (std::size_t i = 0; i < target.size(); ++i) {
        if (IsSeparator(target[i]) || (i == 1 && target[i] == u':')) folderEnd = i + 1;
    }
    std::u16string path(target.substr(0, folderEnd));
    path += u"~phasebox-";
    constexpr std::u16string_view kHex = u"0123456789abcdef";
    for (int shift = 28; shift >= 0; shift -= 4) path += kHex[(id >> shift) & 0xFu];
    path += u".tmp";
    return path;
}

std::u16string ExtendedPath(std::u16string_view fullPath) {
    if (fullPath.starts_with(u"\\\\?\\")) return std::u16string(fullPath);
    if (fullPath.size() >= 3 && fullPath[1] == u':' && IsSeparator(fullPath[2])) {
        return u"\\\\?\\" + std::u16string(fullPath);
    }
    if (fullPath.size() >= 3 && IsSeparator(fullPath[0]) && IsSeparator(fullPath[1]) &&
        fullPath[2] != u'.' && fullPath[2] != u'?') {
        return u"\\\\?\\UNC\\" + std::u16string(fullPath.substr(2));
    }
    return std::u16string(fullPath);
}

}  // namespace output
