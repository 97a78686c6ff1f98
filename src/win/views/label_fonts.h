// The chart's label fonts and the measuring of label texts with them.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <unordered_map>

#include "core/chart/labels.h"
#include "win/ui/handles.h"

namespace chart {

// The labels' font: Arial 8 pt at the window's density (9 pt and the system's interface
// face on a system whose primary language is Japanese), regular and bold. Measures with
// the regular font, as the labels are laid out; widths are remembered per text.
class LabelFonts final : public TextMeasurer {
public:
    LabelFonts();
    // Makes the fonts for `dpi` pixels per inch; throws when the platform refuses.
    void Create(int dpi);

    HFONT Regular() const noexcept { return regular_.Get(); }
    HFONT Bold() const noexcept { return bold_.Get(); }
    int HeightPx() const noexcept { return heightPx_; }
    // Changes with every Create, so that pictures drawn with older fonts are known as such.
    int Generation() const noexcept { return generation_; }

    int WidthPx(std::u16string_view text) const override;
    int HeightOfWPx() const override { return heightOfWPx_; }
    int BoldWidthPx(std::u16string_view text) const;

private:
    int Measure(HFONT font, std::u16string_view text) const;

    ui::UniqueMemoryDc dc_;
    ui::UniqueFont regular_;
    ui::UniqueFont bold_;
    int heightPx_ = 0;
    int heightOfWPx_ = 0;
    int generation_ = 0;
    mutable std::unordered_map<std::u16string, int> widths_;
};

}  // namespace chart
