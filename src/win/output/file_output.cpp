#include "win/output/file_output.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "win/ui/text.h"
#include "win/ui/win32_error.h"

namespace ui {

namespace {

// The one owner of the temporary file: closed, and removed unless it was renamed.
class TemporaryFile {
public:
    explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {
        handle_ = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY, nullptr);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        Close();
        if (!renamed_) DeleteFileW(path_.c_str());
    }

    bool Opened() const noexcept { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const noexcept { return handle_; }
    const std::wstring& Path() const noexcept { return path_; }
    bool Close() noexcept {
        if (handle_ == INVALID_HANDLE_VALUE) return true;
        const bool closed = CloseHandle(handle_) != FALSE;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }
    void Renamed() noexcept { renamed_ = true; }

private:
    std::wstring path_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    bool renamed_ = false;
};

[[noreturn]] void Fail(const std::wstring& path, DWORD code) {
    throw Win32Error("Cannot write \"" + ToUtf8(path) + "\"", code);
}

// A name of its own in the target's folder for each attempt.
std::wstring TemporaryNameFor(const std::wstring& path, unsigned attempt) {
    return path + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(attempt) +
           L".tmp";
}

}  // namespace

void WriteWholeFile(const std::wstring& path,
                    const std::function<void(const output::ByteSink&)>& produce) {
    std::optional<TemporaryFile> file;
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        file.emplace(TemporaryNameFor(path, attempt));
        if (file->Opened() || GetLastError() != ERROR_FILE_EXISTS) break;
    }
    TemporaryFile& temp = *file;
    if (!temp.Opened()) Fail(path, GetLastError());
    produce([&](std::string_view bytes) {
        while (!bytes.empty()) {
            DWORD written = 0;
            const DWORD n = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
            if (!WriteFile(temp.Get(), bytes.data(), n, &written, nullptr) || written == 0) {
                Fail(path, GetLastError());
            }
            bytes.remove_prefix(written);
        }
    });
    if (!temp.Close()) Fail(path, GetLastError());
    if (!MoveFileExW(temp.Path().c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        Fail(path, GetLastError());
    }
    temp.Renamed();
}

}  // namespace ui
