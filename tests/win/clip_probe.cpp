// A second process that reads what another program put on the clipboard, as a program that
// pastes does, or holds the clipboard open for a while.
//
// Usage: clip_probe PREFIX read
//          writes PREFIX.bmp (the CF_DIB data behind a bitmap file header), PREFIX.png
//          (the same picture), PREFIX.txt (CF_UNICODETEXT as UTF-8) and, when the
//          clipboard holds the registered format "PNG", its bytes as PREFIX.clip.png;
//          exit code 0, or 3 when the clipboard lacks CF_DIB or CF_UNICODETEXT, 4 when it
//          cannot be opened.
//        clip_probe MARKER hold:MS
//          opens the clipboard, creates the file MARKER, keeps the clipboard open for MS
//          milliseconds, then closes it; exit code 0, or 4 when it cannot be opened.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "core/output/png_encoder.h"

namespace {

bool WriteFileBytes(const std::wstring& path, const void* data, std::size_t size) {
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f) return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

bool OpenWithRetry() {
    for (int i = 0; i < 100; ++i) {
        if (OpenClipboard(nullptr)) return true;
        Sleep(20);
    }
    return false;
}

// The DIB's pixels, top row first, as 0x00RRGGBB; 32-bit BI_RGB only.
std::vector<std::uint32_t> TopDownPixels(const BITMAPINFOHEADER& h) {
    const int width = h.biWidth;
    const int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    const auto* bits = reinterpret_cast<const std::uint32_t*>(
        reinterpret_cast<const unsigned char*>(&h) + h.biSize);
    std::vector<std::uint32_t> out(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const int source = h.biHeight < 0 ? y : height - 1 - y;
        std::memcpy(&out[static_cast<std::size_t>(y) * width],
                    bits + static_cast<std::size_t>(source) * width,
                    static_cast<std::size_t>(width) * 4);
    }
    for (std::uint32_t& p : out) p &= 0xFFFFFFu;
    return out;
}

int Read(const std::wstring& prefix) {
    if (!OpenWithRetry()) return 4;
    int code = 0;
    HANDLE dib = GetClipboardData(CF_DIB);
    HANDLE text = GetClipboardData(CF_UNICODETEXT);
    if (!dib || !text) {
        code = 3;
    } else {
        const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
        const SIZE_T size = GlobalSize(dib);
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;  // "BM"
        file.bfSize = static_cast<DWORD>(sizeof file + size);
        file.bfOffBits = static_cast<DWORD>(sizeof file + header->biSize);
        std::vector<unsigned char> bmp(sizeof file + size);
        std::memcpy(bmp.data(), &file, sizeof file);
        std::memcpy(bmp.data() + sizeof file, header, size);
        if (!WriteFileBytes(prefix + L".bmp", bmp.data(), bmp.size())) code = 5;
        if (header->biBitCount == 32 && header->biCompression == BI_RGB) {
            const std::vector<std::uint8_t> png =
                output::EncodePng(TopDownPixels(*header), header->biWidth,
                                  header->biHeight < 0 ? -header->biHeight : header->biHeight);
            if (!WriteFileBytes(prefix + L".png", png.data(), png.size())) code = 5;
        }
        GlobalUnlock(dib);
        const auto* chars = static_cast<const wchar_t*>(GlobalLock(text));
        const int length = static_cast<int>(wcslen(chars));
        const int n = WideCharToMultiByte(CP_UTF8, 0, chars, length, nullptr, 0, nullptr, nullptr);
        std::string utf8(static_cast<std::size_t>(n), '\0');
        WideCharToMultiByte(CP_UTF8, 0, chars, length, utf8.data(), n, nullptr, nullptr);
        GlobalUnlock(text);
        if (!WriteFileBytes(prefix + L".txt", utf8.data(), utf8.size())) code = 5;
        if (HANDLE png = GetClipboardData(RegisterClipboardFormatW(L"PNG"))) {
            const void* bytes = GlobalLock(png);
            if (!WriteFileBytes(prefix + L".clip.png", bytes, GlobalSize(png))) code = 5;
            GlobalUnlock(png);
        }
    }
    CloseClipboard();
    return code;
}

int Hold(const std::wstring& marker, DWORD ms) {
    if (!OpenWithRetry()) return 4;
    WriteFileBytes(marker, "held", 4);
    Sleep(ms);
    CloseClipboard();
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fputs("usage: clip_probe PREFIX read | clip_probe MARKER hold:MS\n", stderr);
        return 2;
    }
    const std::wstring what = argv[2];
    if (what == L"read") return Read(argv[1]);
    if (what.rfind(L"hold:", 0) == 0) {
        return Hold(argv[1], static_cast<DWORD>(std::wcstoul(what.c_str() + 5, nullptr, 10)));
    }
    return 2;
}
