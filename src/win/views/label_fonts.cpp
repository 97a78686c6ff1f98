#include "win/views/label_fonts.h"

#include "win/ui/win32_error.h"

namespace chart {
namespace {

// Labels are measured once per text; a long scroll meets new texts without end.
constexpr std::size_t kMaxRememberedWidths = 4096;

}  // namespace

LabelFonts::LabelFonts() : dc_(CreateCompatibleDC(nullptr)) {}

void LabelFonts::Create(int dpi) {
    LOGFONTW lf{};
    int points = 8;
    lstrcpynW(lf.lfFaceName, L"Arial", LF_FACESIZE);
    if (PRIMARYLANGID(GetSystemDefaultLangID()) == LANG_JAPANESE) {
        points = 9;
        LOGFONTW system{};
        if (GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof system, &system) != 0) {
            lstrcpynW(lf.lfFaceName, system.lfFaceName, LF_FACESIZE);
        }
    }
    lf.lfHeight = -MulDiv(points, dpi, 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    ui::UniqueFont regular(CreateFontIndirectW(&lf));
    lf.lfWeight = FW_BOLD;
    ui::UniqueFont bold(CreateFontIndirectW(&lf));
    if (!dc_ || !regular || !bold) throw ui::Win32Error::FromLastError("Cannot create a font");
    regular_ = std::move(regular);
    bold_ = std::move(bold);
    heightPx_ = -lf.lfHeight;
    widths_.clear();
    SIZE size{};
    {
        ui::SelectGuard font(dc_.Get(), regular_.Get());
        heightOfWPx_ = GetTextExtentPoint32W(dc_.Get(), L"W", 1, &size) ? size.cy : heightPx_;
    }
    ++generation_;
}

int LabelFonts::Measure(HFONT font, std::u16string_view text) const {
    if (!font) return 0;
    ui::SelectGuard selected(dc_.Get(), font);
    SIZE size{};
    if (!GetTextExtentPoint32W(dc_.Get(), reinterpret_cast<const wchar_t*>(text.data()),
                               static_cast<int>(text.size()), &size)) {
        return 0;
    }
    return size.cx;
}

int LabelFonts::WidthPx(std::u16string_view text) const {
    const std::u16string key(text);
    if (const auto found = widths_.find(key); found != widths_.end()) return found->second;
    if (widths_.size() >= kMaxRememberedWidths) widths_.clear();
    const int width = Measure(regular_.Get(), text);
    widths_.emplace(key, width);
    return width;
}

int LabelFonts::BoldWidthPx(std::u16string_view text) const {
    return Measure(bold_.Get(), text);
}

}  // namespace chart
