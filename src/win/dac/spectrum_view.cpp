#include "win/dac/spectrum_view.h"

#include <oleacc.h>

#include <algorithm>
#include <exception>

#include "core/dac/spectrum_csv.h"
#include "core/dac/window_values.h"
#include "win/output/view_export.h"
#include "win/ui/error_report.h"
#include "win/ui/handles.h"
#include "win/ui/locale.h"
#include "win/ui/text.h"

namespace dacwin {
namespace {

constexpr std::wstring_view kDefaultFileName = L"phasebox-spectrum";

int TextWidthPx(HDC dc, std::u16string_view text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.data()),
                          static_cast<int>(text.size()), &size);
    return size.cx;
}

void Text(HDC dc, int x, int y, std::u16string_view text, UINT align) {
    SetTextAlign(dc, align);
    TextOutW(dc, x, y, reinterpret_cast<const wchar_t*>(text.data()),
             static_cast<int>(text.size()));
}

}  // namespace

void SpectrumView::CreateWindowFor(HWND parent, const RECT& rect) {
    symbols_ = ui::UserNumberSymbols();
    CreateOwn(L"phasebox.Spectrum", {.Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP,
                                     .Parent = parent,
                                     .Rect = rect});
}

void SpectrumView::SetLanguage(dac::Language language) {
    if (language == language_) return;
    language_ = language;
    Changed();
}

void SpectrumView::SetTone(dds::Waveform waveform, std::uint16_t increment) {
    if (spectrumValid_ && waveform == waveform_ && increment == increment_) return;
    waveform_ = waveform;
    increment_ = increment;
    spectrumValid_ = false;
    Changed();
}

void SpectrumView::SetClock(int clockHz) {
    if (clockHz == clockHz_) return;
    clockHz_ = clockHz;
    Changed();
}

void SpectrumView::Changed() {
    pictureValid_ = false;
    valueEvents_.Changed(Handle());
    if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

const dac::Spectrum& SpectrumView::CurrentSpectrum() const {
    if (!spectrumValid_) {
        spectrum_ = analyzer_.Compute(dds::TableFor(waveform_), increment_);
        spectrumValid_ = true;
        ++computations_;
    }
    return spectrum_;
}

std::u16string SpectrumView::AccessibleValue() const {
    return dac::SpectrumValueText(CurrentSpectrum(), clockHz_, language_, symbols_);
}

std::optional<ui::AccessibleFacts> SpectrumView::Accessible() const {
    return ui::AccessibleFacts{.Name = AccessibleName(),
                               .Role = ROLE_SYSTEM_CHART,
                               .Value = AccessibleValue(),
                               .Description = std::u16string(dac::TextsIn(language_).SpectrumKeys)};
}

void SpectrumView::ScaleBy(int newDpi, int oldDpi) {
    Control::ScaleBy(newDpi, oldDpi);
    pictureValid_ = false;
}

void SpectrumView::Redraw(const RECT& client) {
    ++redraws_;
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (!picture_.Ensure(width, height)) return;
    const HDC dc = picture_.Dc();
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    const ui::SelectGuard font(dc, Font());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const dac::Spectrum& spectrum = CurrentSpectrum();
    const dac::SpectrumPlot plot = dac::PlanSpectrum(
        {.ClientPx = {width, height},
         .TextHeightPx = static_cast<int>(metrics.tmHeight),
         .LevelLabelWidthPx = TextWidthPx(dc, u"-140"),
         .FrequencyLabelWidthPx = TextWidthPx(dc, dac::HertzDigits(96000, symbols_)),
         .ClockHz = clockHz_,
         .TextLanguage = language_,
         .Symbols = symbols_},
        &spectrum);
    const base::RectPx& area = plot.Plot;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));

    // Grid and axes' labels.
    const ui::UniquePen gridPen(CreatePen(PS_DOT, 1, GetSysColor(COLOR_GRAYTEXT)));
    {
        const ui::SelectGuard pen(dc, gridPen.Get());
        SetBkMode(dc, TRANSPARENT);
        for (const dac::PlotTick& tick : plot.LevelTicks) {
            MoveToEx(dc, area.Left, tick.Px, nullptr);
            LineTo(dc, area.Right, tick.Px);
            Text(dc, area.Left - metrics.tmAveCharWidth, tick.Px - metrics.tmHeight / 2, tick.Text,
                 TA_RIGHT | TA_TOP);
        }
        for (const dac::PlotTick& tick : plot.FrequencyTicks) {
            MoveToEx(dc, tick.Px, area.Top, nullptr);
            LineTo(dc, tick.Px, area.Bottom);
            Text(dc, tick.Px, area.Bottom + 2, tick.Text, TA_CENTER | TA_TOP);
        }
    }
    // The lines, one column each, from the bottom up to the column's strongest level.
    {
        const ui::UniquePen linePen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_HIGHLIGHT)));
        const ui::SelectGuard pen(dc, linePen.Get());
        for (std::size_t c = 0; c < plot.ColumnTopPx.size(); ++c) {
            if (!plot.ColumnTopPx[c]) continue;
            const int x = area.Left + static_cast<int>(c);
            MoveToEx(dc, x, area.Bottom - 1, nullptr);
            LineTo(dc, x, *plot.ColumnTopPx[c] - 1);
        }
    }
    // The frame over the lines.
    {
        const ui::UniquePen framePen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT)));
        const ui::SelectGuard pen(dc, framePen.Get());
        const ui::SelectGuard brush(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, area.Left - 1, area.Top - 1, area.Right + 1, area.Bottom + 1);
    }
    // Marks: a small triangle over each line and its label above it, kept inside the view.
    const ui::UniquePen markPen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT)));
    const ui::SelectGuard pen(dc, markPen.Get());
    const int size = std::max(3, static_cast<int>(metrics.tmHeight) / 4);
    // A label that would cover one drawn before it goes up a line at a time, while there is
    // room above.
    std::vector<RECT> labels;
    for (const dac::PlotMark& mark : plot.Marks) {
        const int top = mark.YPx - 2;
        const POINT triangle[] = {
            {mark.XPx, top}, {mark.XPx - size, top - 2 * size}, {mark.XPx + size, top - 2 * size}};
        const ui::SelectGuard brush(
            dc, GetSysColorBrush(mark.Kind == dac::MarkKind::Harmonic ? COLOR_WINDOW
                                                                      : COLOR_WINDOWTEXT));
        Polygon(dc, triangle, 3);
        const int textWidth = TextWidthPx(dc, mark.Label);
        const int lineHeight = static_cast<int>(metrics.tmHeight);
        const int left = std::clamp(mark.XPx + size + 2, 0, std::max(0, width - textWidth));
        RECT box{left, std::max(0, top - 2 * size - lineHeight), left + textWidth, 0};
        box.bottom = box.top + lineHeight;
        const auto covers = [&box](const RECT& other) {
            RECT common{};
            return IntersectRect(&common, &box, &other) != FALSE;
        };
        while (box.top >= lineHeight && std::any_of(labels.begin(), labels.end(), covers)) {
            OffsetRect(&box, 0, -lineHeight);
        }
        labels.push_back(box);
        Text(dc, box.left, box.top, mark.Label, TA_LEFT | TA_TOP);
    }
    if (GetFocus() == Handle()) {
        RECT focus = client;
        InflateRect(&focus, -1, -1);
        DrawFocusRect(dc, &focus);
    }
    GdiFlush();
    pictureValid_ = true;
}

void SpectrumView::Paint() {
    RECT client{};
    GetClientRect(Handle(), &client);
    if (!pictureValid_ || picture_.WidthPx() != client.right ||
        picture_.HeightPx() != client.bottom) {
        Redraw(client);
    }
    ui::PaintScope paint(Handle());
    picture_.CopyTo(paint.Dc(), paint.Area());
}

SpectrumSnapshot SpectrumView::Snapshot() {
    RECT client{};
    GetClientRect(Handle(), &client);
    if (!pictureValid_ || picture_.WidthPx() != client.right ||
        picture_.HeightPx() != client.bottom) {
        Redraw(client);
        InvalidateRect(Handle(), nullptr, FALSE);
        UpdateWindow(Handle());
    }
    SpectrumSnapshot shot;
    shot.WidthPx = picture_.WidthPx();
    shot.HeightPx = picture_.HeightPx();
    GdiFlush();
    for (int y = 0; y < shot.HeightPx; ++y) {
        const std::uint32_t* row = picture_.Row(y);
        shot.Pixels.insert(shot.Pixels.end(), row, row + shot.WidthPx);
    }
    dac::WriteSpectrumCsv(CurrentSpectrum(), clockHz_,
                          [&shot](std::string_view bytes) { shot.CsvText += bytes; });
    return shot;
}

bool SpectrumView::CopyToClipboard() {
    const SpectrumSnapshot shot = Snapshot();
    // The CSV's fields hold no commas of their own: tabs in their place give columns.
    std::u16string text(shot.CsvText.begin(), shot.CsvText.end());
    std::replace(text.begin(), text.end(), u',', u'\t');
    return ui::CopyViewToClipboard(Handle(), {shot.WidthPx, shot.HeightPx, shot.Pixels}, text,
                                   AlertSound);
}

void SpectrumView::SaveWithDialog() {
    const auto shot = Snapshot();
    ui::SaveView(Handle(), ChooseSaveFile, kDefaultFileName,
                 {shot.WidthPx, shot.HeightPx, shot.Pixels}, shot.CsvText);
}

bool SpectrumView::HandleExportKey(WPARAM key) {
    return ui::RunExportKey(
        key, [this] { CopyToClipboard(); }, [this] { SaveWithDialog(); });
}

LRESULT SpectrumView::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_SIZE:
        case WM_SYSCOLORCHANGE:
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            pictureValid_ = false;
            InvalidateRect(Handle(), nullptr, FALSE);
            break;
        case WM_SETTINGCHANGE:
            symbols_ = ui::UserNumberSymbols();
            Changed();
            break;
        case WM_KEYDOWN:
            if (HandleExportKey(wp)) return 0;
            break;
        case WM_LBUTTONDOWN:
            SetFocus(Handle());
            return 0;
        default:
            break;
    }
    return Control::HandleMessage(msg, wp, lp);
}

}  // namespace dacwin
