#include "win/output/clipboard.h"

#include <cstring>

#include "win/ui/handles.h"

namespace ui {

namespace {

// GlobalLock / GlobalUnlock.
class Locked {
public:
    explicit Locked(HGLOBAL h) noexcept : handle_(h), data_(GlobalLock(h)) {}
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
    ~Locked() {
        if (data_) GlobalUnlock(handle_);
    }
    unsigned char* Data() const noexcept { return static_cast<unsigned char*>(data_); }

private:
    HGLOBAL handle_;
    void* data_;
};

// OpenClipboard / CloseClipboard.
class OpenedClipboard {
public:
    OpenedClipboard(HWND owner, int attempts, DWORD retryMs) noexcept {
        for (int i = 0; i < attempts && !opened_; ++i) {
            if (i > 0) Sleep(retryMs);
            opened_ = OpenClipboard(owner) != FALSE;
        }
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    ~OpenedClipboard() {
        if (opened_) CloseClipboard();
    }
    bool Opened() const noexcept { return opened_; }

private:
    bool opened_ = false;
};

// A bottom-up 32-bit DIB: the header, then the rows from the bottom one up, every pixel
// opaque.
bool FillDib(const UniqueGlobalMemory& block, const ClipboardPicture& picture) {
    const Locked locked(block.Get());
    if (!locked.Data()) return false;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = picture.WidthPx;
    header.biHeight = picture.HeightPx;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    const std::size_t rowBytes = static_cast<std::size_t>(picture.WidthPx) * 4;
    header.biSizeImage = static_cast<DWORD>(rowBytes * static_cast<std::size_t>(picture.HeightPx));
    std::memcpy(locked.Data(), &header, sizeof header);
    unsigned char* rows = locked.Data() + sizeof header;
    for (int y = 0; y < picture.HeightPx; ++y) {
        const std::uint32_t* source =
            picture.Pixels.data() + static_cast<std::size_t>(picture.HeightPx - 1 - y) *
                                        static_cast<std::size_t>(picture.WidthPx);
        auto* target =
            reinterpret_cast<std::uint32_t*>(rows + static_cast<std::size_t>(y) * rowBytes);
        for (int x = 0; x < picture.WidthPx; ++x) target[x] = source[x] | 0xFF000000u;
    }
    return true;
}

bool FillBytes(const UniqueGlobalMemory& block, std::span<const std::uint8_t> bytes) {
    const Locked locked(block.Get());
    if (!locked.Data()) return false;
    std::memcpy(locked.Data(), bytes.data(), bytes.size());
    return true;
}

bool FillText(const UniqueGlobalMemory& block, std::u16string_view text) {
    const Locked locked(block.Get());
    if (!locked.Data()) return false;
    std::memcpy(locked.Data(), text.data(), text.size() * sizeof(char16_t));
    std::memset(locked.Data() + text.size() * sizeof(char16_t), 0, sizeof(char16_t));
    return true;
}

}  // namespace

bool PutOnClipboard(HWND owner, const ClipboardPicture& picture, std::u16string_view text,
                    int attempts, DWORD retryMs) {
    const std::size_t pixelCount =
        static_cast<std::size_t>(picture.WidthPx) * static_cast<std::size_t>(picture.HeightPx);
    if (picture.WidthPx <= 0 || picture.HeightPx <= 0 || picture.Pixels.size() < pixelCount) {
        return false;
    }
    // Made before the clipboard is opened, so that it is held as briefly as possible.
    UniqueGlobalMemory dib(GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + pixelCount * 4));
    UniqueGlobalMemory unicode(GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t)));
    if (!dib.Get() || !unicode.Get() || !FillDib(dib, picture) || !FillText(unicode, text)) {
        return false;
    }
    // Programs that prefer a compressed picture read the registered format "PNG".
    const UINT pngFormat = picture.Png.empty() ? 0 : RegisterClipboardFormatW(L"PNG");
    UniqueGlobalMemory png(pngFormat ? GlobalAlloc(GMEM_MOVEABLE, picture.Png.size()) : nullptr);
    if (pngFormat && (!png || !FillBytes(png, picture.Png))) return false;
    const OpenedClipboard clipboard(owner, attempts, retryMs);
    if (!clipboard.Opened() || !EmptyClipboard()) return false;
    if (!SetClipboardData(CF_DIB, dib.Get())) return false;
    dib.Release();
    if (!SetClipboardData(CF_UNICODETEXT, unicode.Get())) return false;
    unicode.Release();
    if (png) {
        if (!SetClipboardData(pngFormat, png.Get())) return false;
        png.Release();
    }
    return true;
}

}  // namespace ui
