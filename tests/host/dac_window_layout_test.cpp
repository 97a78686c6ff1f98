// The DAC output window's layout table: the same places in both languages, rows that
// name existing parents before their children, tab stops in one unbroken order, names for
// every control without a caption, and room for the views at the smallest size.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "core/layout/accessible_name.h"
#include "core/layout/anchors.h"
#include "core/layout/dac_window_layout.h"

namespace {

using dac::Language;

const layout::ControlDesc& Row(Language language, std::string_view name) {
    for (const layout::ControlDesc& row : layout::DacFormControls(language)) {
        if (row.Name == name) return row;
    }
    throw std::logic_error("no row " + std::string(name));
}

TEST(DacWindowLayout, BothLanguagesPlaceTheSameControlsAlike) {
    const auto en = layout::DacFormControls(Language::English);
    const auto ru = layout::DacFormControls(Language::Russian);
    ASSERT_EQ(en.size(), ru.size());
    for (std::size_t i = 0; i < en.size(); ++i) {
        EXPECT_EQ(en[i].Name, ru[i].Name);
        EXPECT_EQ(en[i].Rect, ru[i].Rect) << en[i].Name;
        EXPECT_EQ(en[i].TabOrder, ru[i].TabOrder) << en[i].Name;
        EXPECT_EQ(en[i].Text.empty(), ru[i].Text.empty()) << en[i].Name;
    }
    EXPECT_EQ(layout::DacFormDesc(Language::English).Caption, u"DAC output");
    EXPECT_EQ(layout::DacFormDesc(Language::Russian).Caption, u"Выход ЦАП");
}

TEST(DacWindowLayout, TabStopsFormOneOrderAndEveryStopHasAName) {
    std::set<int> orders;
    std::set<std::string_view> names;
    const auto rows = layout::DacFormControls(Language::English);
    for (const layout::ControlDesc& row : rows) {
        EXPECT_TRUE(names.insert(row.Name).second) << row.Name;
        EXPECT_EQ(row.Parent, layout::DacFormDesc(Language::English).Name) << row.Name;
        if (row.TabOrder < 0) continue;
        EXPECT_TRUE(orders.insert(row.TabOrder).second) << row.Name;
        // A stop without a caption of its own is named for screen readers.
        if (row.Text.empty()) {
            EXPECT_FALSE(layout::AccessibleNameOf(row, rows).empty()) << row.Name;
        }
    }
    ASSERT_FALSE(orders.empty());
    EXPECT_EQ(*orders.begin(), 0);
    EXPECT_EQ(*orders.rbegin(), static_cast<int>(orders.size()) - 1);
}

// At the smallest client size the spectrum keeps a usable area and the wheel, which moves
// with the right edge, stays clear of the figures and of the tone's controls.
TEST(DacWindowLayout, TheSmallestSizeLeavesRoomForTheViews) {
    const layout::FormDesc& form = layout::DacFormDesc(Language::English);
    const base::SizePx smallest = layout::kDacMinClientSize;
    const auto placed = [&](std::string_view name) {
        const layout::ControlDesc& row = Row(Language::English, name);
        return layout::AnchoredRect(row.Rect, form.ClientSize, smallest, row.Anchors);
    };
    const base::RectPx spectrum = placed("spectrum");
    const base::RectPx wheel = placed("phaseWheel");
    EXPECT_GE(spectrum.Width(), 400);
    EXPECT_GE(spectrum.Height(), 120);
    EXPECT_LE(spectrum.Right, smallest.Width);
    EXPECT_LE(wheel.Right, smallest.Width);
    EXPECT_LE(wheel.Bottom, spectrum.Top);
    EXPECT_GE(wheel.Top, placed("volumeSlider").Bottom);
    // The figures' values and the note above the Nyquist frequency start left of it with
    // room for their longest texts (about 330 design units at this font).
    EXPECT_GE(wheel.Left - Row(Language::English, "aboveNyquistNote").Rect.Left, 330);
    EXPECT_GE(wheel.Left - Row(Language::English, "outputValue").Rect.Left, 160);
}

TEST(DacWindowLayout, OffersTheCommonClocksInRangeAndTheDesignedOne) {
    const auto& clocks = layout::kCommonClocksHz;
    EXPECT_TRUE(std::is_sorted(clocks.begin(), clocks.end()));
    EXPECT_EQ(clocks.front(), 8000);
    EXPECT_EQ(clocks.back(), 192000);
    EXPECT_NE(std::find(clocks.begin(), clocks.end(), 48000), clocks.end());
}

}  // namespace
