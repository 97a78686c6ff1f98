// version_probe.exe FILE: prints the version record of FILE as Windows reads it, one
// "Name=value" line each: the fixed file and product versions, then the strings of the first
// language the record lists. Exits with 1 when FILE has no version record, 2 on a wrong call.
#include <windows.h>

#include <string>
#include <vector>

namespace {

void WriteLine(const std::wstring& name, const std::wstring& value) {
    std::wstring line = name + L"=" + value + L"\n";
    int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(), size,
                        nullptr, nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()),
              &written, nullptr);
}

std::wstring Dotted(DWORD high, DWORD low) {
    return std::to_wstring(HIWORD(high)) + L"." + std::to_wstring(LOWORD(high)) + L"." +
           std::to_wstring(HIWORD(low)) + L"." + std::to_wstring(LOWORD(low));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        WriteLine(L"error", L"usage: version_probe FILE");
        return 2;
    }
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(argv[1], &ignored);
    std::vector<unsigned char> record(size);
    if (size == 0 || !GetFileVersionInfoW(argv[1], 0, size, record.data())) {
        WriteLine(L"error", L"no version record in " + std::wstring(argv[1]) + L" (error " +
                                std::to_wstring(GetLastError()) + L")");
        return 1;
    }

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) ||
        length < sizeof(VS_FIXEDFILEINFO) || fixed->dwSignature != VS_FFI_SIGNATURE) {
        WriteLine(L"error", L"the version record has no fixed part");
        return 1;
    }
    WriteLine(L"FixedFileVersion", Dotted(fixed->dwFileVersionMS, fixed->dwFileVersionLS));
    WriteLine(L"FixedProductVersion", Dotted(fixed->dwProductVersionMS, fixed->dwProductVersionLS));

    struct Translation {
        WORD Language;
        WORD CodePage;
    };
    Translation* translation = nullptr;
    if (!VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length) ||
        length < sizeof(Translation)) {
        WriteLine(L"error", L"the version record lists no language");
        return 1;
    }
    wchar_t block[32];
    wsprintfW(block, L"\\StringFileInfo\\%04x%04x\\", translation->Language, translation->CodePage);
    for (const wchar_t* name :
         {L"CompanyName", L"FileDescription", L"FileVersion", L"LegalCopyright",
          L"OriginalFilename", L"ProductName", L"ProductVersion"}) {
        wchar_t* value = nullptr;
        if (VerQueryValueW(record.data(), (std::wstring(block) + name).c_str(),
                           reinterpret_cast<void**>(&value), &length) &&
            length > 0) {
            WriteLine(name, value);
        }
    }
    return 0;
}
