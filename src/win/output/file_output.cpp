#include "win/output/file_output.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <vector>

#include "core/base/quoted.h"
#include "core/output/file_names.h"
#include "win/ui/handles.h"
#include "win/ui/text.h"
#include "win/ui/win32_error.h"

namespace ui {

namespace {

// "Cannot write "PATH"", the path on one line whatever it holds.
std::string Action(const std::wstring& path) {
    return "Cannot write " + ToUtf8(ToWide(base::Quoted(ToU16(path))));
}

[[noreturn]] void Fail(const std::wstring& path, DWORD code) {
    throw Win32Error(Action(path), code);
}

// The full path in the extended form, so that the length limit of the old path form
// applies neither to the target nor to its temporary file; none when the path is no path.
std::optional<std::wstring> SystemPath(const std::wstring& path) {
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return std::nullopt;
    std::vector<wchar_t> full(needed);
    const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return std::nullopt;
    return ToWide(output::ExtendedPath(ToU16({full.data(), length})));
}

// The one owner of the temporary file: closed, and removed unless it was renamed; a file
// it could not create is somebody else's and is left alone.
class TemporaryFile {
public:
    TemporaryFile(const std::wstring& path, const FileCreator& create) : path_(path) {
        const FileCreation request{.Path = path_,
                                   .Access = GENERIC_WRITE,
                                   .Share = 0,
                                   .Disposition = CREATE_NEW,
                                   .FlagsAndAttributes = FILE_ATTRIBUTE_NORMAL};
        handle_.Reset(create ? create(request)
                             : CreateFileW(request.Path.c_str(), request.Access, request.Share,
                                           nullptr, request.Disposition, request.FlagsAndAttributes,
                                           nullptr));
        if (!handle_) error_ = GetLastError();
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        const bool created = static_cast<bool>(handle_) || closed_;
        handle_.Reset();
        if (created && !renamed_) DeleteFileW(path_.c_str());
    }

    bool Created() const noexcept { return static_cast<bool>(handle_); }
    DWORD Error() const noexcept { return error_; }
    HANDLE Get() const noexcept { return handle_.Get(); }
    const std::wstring& Path() const noexcept { return path_; }
    // Flushes the data to the disk and closes the file; the last error on failure.
    bool FlushAndClose() noexcept {
        const bool flushed = FlushFileBuffers(handle_.Get()) != FALSE;
        const DWORD flushError = GetLastError();
        const bool closed = CloseHandle(handle_.Release()) != FALSE;
        closed_ = true;
        if (!flushed) SetLastError(flushError);
        return flushed && closed;
    }
    void Renamed() noexcept { renamed_ = true; }

private:
    std::wstring path_;
    UniqueFile handle_;
    DWORD error_ = 0;
    bool closed_ = false;
    bool renamed_ = false;
};

}  // namespace

void WriteWholeFile(const std::wstring& path,
                    const std::function<void(const base::ByteSink&)>& produce,
                    const FileCreator& create) {
    if (const auto device = output::DeviceName(ToU16(path))) {
        throw std::invalid_argument(Action(path) + ": it " +
                                    ToUtf8(ToWide(output::DeviceNameProblem(*device))));
    }
    const std::optional<std::wstring> full = SystemPath(path);
    if (!full) Fail(path, GetLastError());
    const std::wstring& target = *full;
    // A name of its own in the target's folder for each attempt; one that exists already
    // belongs to somebody else.
    const std::uint32_t seed = GetCurrentProcessId() * 2654435761u ^ GetTickCount();
    std::optional<TemporaryFile> temp;
    for (std::uint32_t attempt = 0; attempt < 100; ++attempt) {
        temp.emplace(ToWide(output::TemporaryPathFor(ToU16(target), seed + attempt)), create);
        if (temp->Created()) break;
        if (temp->Error() != ERROR_FILE_EXISTS && temp->Error() != ERROR_ALREADY_EXISTS) {
            Fail(path, temp->Error());
        }
    }
    if (!temp->Created()) Fail(path, ERROR_FILE_EXISTS);
    produce([&](std::string_view bytes) {
        while (!bytes.empty()) {
            DWORD written = 0;
            const DWORD n = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
            if (!WriteFile(temp->Get(), bytes.data(), n, &written, nullptr) || written == 0) {
                Fail(path, GetLastError());
            }
            bytes.remove_prefix(written);
        }
    });
    if (!temp->FlushAndClose()) Fail(path, GetLastError());
    if (!MoveFileExW(temp->Path().c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        Fail(path, GetLastError());
    }
    temp->Renamed();
}

bool PathExists(const std::wstring& path) {
    const std::optional<std::wstring> full = SystemPath(path);
    return GetFileAttributesW(full ? full->c_str() : path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace ui
