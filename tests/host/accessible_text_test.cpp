// What assistive technology is told: the controls' names from the layout table and the
// chart's value.
#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <string>

#include "core/chart/value_text.h"
#include "core/layout/accessible_name.h"
#include "core/layout/form_layout.h"

namespace {

std::string Utf8(std::u16string_view s) {
    std::string out;
    for (char16_t c : s) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

const layout::ControlDesc& Row(std::string_view name) {
    for (const layout::ControlDesc& row : layout::MainWindowControls()) {
        if (row.Name == name) return row;
    }
    throw std::logic_error("no row " + std::string(name));
}

TEST(AccessibleNames, EveryControlWithoutACaptionIsNamedFromTheWindowsOwnTexts) {
    struct Case {
        const char* control;
        const char* name;
    };
    const Case cases[] = {
        {"incrementBox", "Приращение фазы"},  // incrementLabel's text without its trailing blank
        {"highByteDisplay", "HI bite"},
        {"lowByteDisplay", "LO bite"},
        {"speedSlider", "Step rate"},
        {"chartWidthSlider", "Chart width"},
        {"incrementSlider", "Phase increment"},
        {"waveformChart", "Waveform chart"},
        {"stepButton", ""},  // captioned controls keep their caption as their name
        {"accumulatorPanel", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8(layout::AccessibleNameOf(Row(c.control), layout::MainWindowControls())),
                  c.name)
            << c.control;
    }
}

TEST(AccessibleNames, ARowMustNameARealLabelAndNotBoth) {
    using namespace layout;
    const std::array rows{
        ControlDesc{.Name = "Label9",
                    .Parent = "P",
                    .Kind = ControlKind::Label,
                    .Rect = {},
                    .Text = u"\r\n Value:\u00A0 "},
        ControlDesc{.Name = "Box",
                    .Parent = "P",
                    .Kind = ControlKind::NumericEdit,
                    .Rect = {},
                    .Accessible = {.LabelledBy = "Label9"}},
        ControlDesc{.Name = "Lost",
                    .Parent = "P",
                    .Kind = ControlKind::NumericEdit,
                    .Rect = {},
                    .Accessible = {.LabelledBy = "Label8"}},
        ControlDesc{.Name = "NotALabel",
                    .Parent = "P",
                    .Kind = ControlKind::NumericEdit,
                    .Rect = {},
                    .Accessible = {.LabelledBy = "Box"}},
        ControlDesc{.Name = "Both",
                    .Parent = "P",
                    .Kind = ControlKind::NumericEdit,
                    .Rect = {},
                    .Accessible = {.LabelledBy = "Label9", .Name = u"x"}},
    };
    EXPECT_EQ(AccessibleNameOf(rows[1], rows), u"Value:") << "blanks and line breaks trimmed";
    EXPECT_THROW(AccessibleNameOf(rows[2], rows), std::logic_error);
    EXPECT_THROW(AccessibleNameOf(rows[3], rows), std::logic_error);
    EXPECT_THROW(AccessibleNameOf(rows[4], rows), std::logic_error);
}

chart::Axis AxisOf(double minimum, double maximum) {
    chart::Axis a;
    a.Minimum = minimum;
    a.Maximum = maximum;
    return a;
}

TEST(ChartValueText, VisibleRangesAndPointCount) {
    struct Case {
        double xMin, xMax, yMin, yMax;
        int points;
        char16_t decimal;
        const char* text;
    };
    const Case cases[] = {
        {0, 256, 0, 255, 1, u'.', "x 0 to 256, y 0 to 255, 1 point"},
        {0, 30, 0, 255, 0, u'.', "x 0 to 30, y 0 to 255, 0 points"},
        {0, 10000, 0, 255, 2, u'.', "x 0 to 10000, y 0 to 255, 2 points"},  // no grouping
        {12.5, 40.25, -3.125, 99.9996, 7, u',',
         "x 12,5 to 40,25, y -3,125 to 100, 7 points"},  // three decimals at most
        {-0.0001, 1e-9, 0.1, 0.12, 100, u'.', "x 0 to 0, y 0.1 to 0.12, 100 points"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8(chart::ChartValueText(AxisOf(c.xMin, c.xMax), AxisOf(c.yMin, c.yMax),
                                             c.points, c.decimal)),
                  c.text);
    }
}

}  // namespace
