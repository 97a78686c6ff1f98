#include "win/output/view_export.h"

#include <exception>
#include <vector>

#include "core/output/png_encoder.h"
#include "win/output/clipboard.h"
#include "win/output/file_output.h"
#include "win/ui/error_report.h"

namespace ui {

namespace {

std::string_view Bytes(const std::vector<std::uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

bool CopyViewToClipboard(HWND owner, const ViewPicture& picture, std::u16string_view text,
                         const std::function<void()>& alert) {
    const std::vector<std::uint8_t> png =
        output::EncodePng(picture.Pixels, picture.WidthPx, picture.HeightPx);
    const bool copied =
        PutOnClipboard(owner, {picture.WidthPx, picture.HeightPx, picture.Pixels, png}, text);
    if (!copied) {
        if (alert) {
            alert();
        } else {
            MessageBeep(MB_OK);
        }
    }
    return copied;
}

void SaveView(HWND owner, const SaveChooser& choose, std::wstring_view defaultName,
              const ViewPicture& picture, std::string_view csv) {
    const std::optional<SaveChoice> choice =
        choose ? choose(owner) : ShowSaveDialog(owner, defaultName);
    if (!choice) return;
    try {
        WriteWholeFile(choice->Path, [&](const base::ByteSink& sink) {
            if (choice->Format == SaveFormat::Csv) {
                sink(csv);
            } else {
                sink(Bytes(output::EncodePng(picture.Pixels, picture.WidthPx, picture.HeightPx)));
            }
        });
    } catch (...) {
        ReportException(std::current_exception());
    }
}

bool RunExportKey(WPARAM key, const std::function<void()>& copy,
                  const std::function<void()>& save) {
    if ((GetKeyState(VK_CONTROL) & 0x8000) == 0) return false;
    if (key == 'C' || key == VK_INSERT) {
        copy();
        return true;
    }
    if (key == 'S') {
        save();
        return true;
    }
    return false;
}

}  // namespace ui
