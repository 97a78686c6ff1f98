// The chart leaves the window: Ctrl+C and Ctrl+Insert put its picture and visible points
// on the clipboard, Ctrl+S saves either to a file. None of them changes the view.
#include <string>

#include "core/output/point_text.h"
#include "win/output/view_export.h"
#include "win/ui/application.h"
#include "win/ui/rect_conversion.h"
#include "win/views/chart_view.h"

namespace chart {

namespace {

constexpr std::wstring_view kDefaultFileName = L"phasebox-chart";

// The texts are ASCII digits, letters and separators.
std::u16string Widened(const std::string& text) {
    return {text.begin(), text.end()};
}

}  // namespace

ChartSnapshot ChartView::Snapshot() {
    // A picture out of date is brought up to date as a paint would do it, and the screen
    // with it: the copy is what the user sees. A valid picture is what the screen shows.
    if (!pictureValid_) {
        const RECT changed = ui::ToRect(Redraw());
        if (Handle() && !IsRectEmpty(&changed)) {
            InvalidateRect(Handle(), &changed, FALSE);
            UpdateWindow(Handle());
        }
    }
    ChartSnapshot shot;
    const ui::MemoryPicture& picture = painter_.Picture();
    shot.WidthPx = picture.WidthPx();
    shot.HeightPx = picture.HeightPx();
    shot.Pixels.reserve(static_cast<std::size_t>(shot.WidthPx) *
                        static_cast<std::size_t>(shot.HeightPx));
    GdiFlush();
    for (int y = 0; y < shot.HeightPx; ++y) {
        const std::uint32_t* row = picture.Row(y);
        shot.Pixels.insert(shot.Pixels.end(), row, row + shot.WidthPx);
    }
    const std::span<const double> xs = series_ ? series_->XValues() : std::span<const double>{};
    const std::span<const double> ys = series_ ? series_->YValues() : std::span<const double>{};
    const double first = layout_.Bottom.DrawnMinimum;
    const double last = layout_.Bottom.DrawnMaximum;
    shot.TabText = output::PointsText(xs, ys, first, last, '\t');
    shot.CommaText = output::PointsText(xs, ys, first, last, ',');
    return shot;
}

bool ChartView::CopyToClipboard() {
    const ChartSnapshot shot = Snapshot();
    return ui::CopyViewToClipboard(Handle(), {shot.WidthPx, shot.HeightPx, shot.Pixels},
                                   Widened(shot.TabText), AlertSound);
}

void ChartView::SaveWithDialog() {
    // What the chart showed when the key was pressed; the generator goes on meanwhile.
    const auto shot = Snapshot();
    ui::SaveView(Handle(), ChooseSaveFile, kDefaultFileName,
                 {shot.WidthPx, shot.HeightPx, shot.Pixels}, shot.CommaText);
}

bool ChartView::HandleExportKey(WPARAM key) {
    return ui::RunExportKey(
        key, [this] { CopyToClipboard(); }, [this] { SaveWithDialog(); });
}

}  // namespace chart
