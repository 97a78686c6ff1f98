#include "layout/form_layout.h"

#include <array>

namespace layout {
namespace {

constexpr Anchors kLeftTopRight{true, true, true, false};
constexpr Anchors kAllSides{true, true, true, true};
constexpr Rgb kGreen{0, 128, 0};
constexpr FontDesc kLabelFont{20, true, {}};
constexpr FontDesc kRadioFont{17, true, {}};

using enum ControlKind;

constexpr std::array kControls{
    // The window's children.
    ControlDesc{.name = "Panel2", .parent = "Form1", .kind = Panel, .rect = {-6, 216, 1183, 501},
                .anchors = kAllSides, .tabOrder = 0, .constraints = {.minHeightPx = 50}},
    ControlDesc{.name = "Panel3", .parent = "Form1", .kind = Panel, .rect = {8, 4, 1185, 212},
                .anchors = kLeftTopRight, .tabOrder = 1, .doubleBuffered = true},

    // Lower panel: chart tools and the chart.
    ControlDesc{.name = "Chart1", .parent = "Panel2", .kind = Chart, .rect = {0, 52, 1177, 448},
                .anchors = kAllSides, .tabOrder = 0},
    ControlDesc{.name = "btnZoom", .parent = "Panel2", .kind = PushButton, .rect = {8, 6, 39, 22},
                .text = u"1:1", .font = {13, true, {}}, .tabOrder = 1,
                .constraints = {.maxHeightPx = 39}},
    ControlDesc{.name = "btnClearChart", .parent = "Panel2", .kind = PushButton,
                .rect = {53, 6, 59, 24}, .text = u"Clear", .tabOrder = 2,
                .constraints = {.maxHeightPx = 39}},
    ControlDesc{.name = "cbAutoClear", .parent = "Panel2", .kind = CheckBox,
                .rect = {118, 6, 97, 24}, .text = u"Auto Clear", .tabOrder = 3,
                .constraints = {.maxHeightPx = 39}, .checked = true},
    ControlDesc{.name = "TrackBar2", .parent = "Panel2", .kind = TrackBar, .rect = {221, 6, 956, 40},
                .anchors = kLeftTopRight, .tabOrder = 4,
                .range = {.min = 30, .max = 10000, .position = 256, .frequency = 1}},

    // Upper panel.
    ControlDesc{.name = "Label5", .parent = "Panel3", .kind = Label, .rect = {514, 67, 133, 120},
                .text = u"ТАБЛИЦА\r\nВОЛНОВОЙ\r\nФОРМЫ\r\n(256 Байт)\r\n------------->",
                .font = kLabelFont},
    ControlDesc{.name = "Label6", .parent = "Panel3", .kind = Label, .rect = {803, 43, 167, 120},
                .text = u"Вывод волны \r\nна график или\r\nЦАП\r\n--------------->>\r\nкликни стрелку",
                .font = kLabelFont},
    ControlDesc{.name = "Image1", .parent = "Panel3", .kind = Picture, .rect = {984, 48, 168, 163},
                .cursor = CursorKind::Hand},
    ControlDesc{.name = "TrackBar1", .parent = "Panel3", .kind = TrackBar, .rect = {0, 5, 1169, 35},
                .anchors = kLeftTopRight, .tabOrder = 0,
                .range = {.min = 1, .max = 500, .position = 500, .frequency = 10}},
    ControlDesc{.name = "Panel1", .parent = "Panel3", .kind = Panel, .rect = {14, 28, 481, 180},
                .background = Rgb{255, 255, 200}, .tabOrder = 1, .borderWidthPx = 1},
    ControlDesc{.name = "Panel4", .parent = "Panel3", .kind = Panel, .rect = {654, 26, 136, 180},
                .background = Rgb{189, 255, 189}, .tabOrder = 2},

    // Accumulator panel.
    ControlDesc{.name = "Label1", .parent = "Panel1", .kind = Label, .rect = {7, 7, 171, 28},
                .text = u"АККУМ. ФАЗЫ", .font = {23, true, {}}},
    ControlDesc{.name = "Label2", .parent = "Panel1", .kind = Label, .rect = {236, 107, 205, 24},
                .text = u"Приращение фазы ", .font = kLabelFont},
    ControlDesc{.name = "Label3", .parent = "Panel1", .kind = Label, .rect = {5, 41, 70, 24},
                .text = u"HI bite", .font = kLabelFont},
    ControlDesc{.name = "Label4", .parent = "Panel1", .kind = Label, .rect = {108, 41, 71, 24},
                .text = u"LO bite", .font = kLabelFont},
    ControlDesc{.name = "stHi", .parent = "Panel1", .kind = StaticText, .rect = {5, 68, 97, 52},
                .text = u"000", .font = {40, true, kGreen}, .background = Rgb{166, 202, 240},
                .tabOrder = 0},
    ControlDesc{.name = "stLow", .parent = "Panel1", .kind = StaticText, .rect = {103, 68, 97, 52},
                .text = u"000", .font = {40, true, kGreen}, .background = Rgb{166, 202, 240},
                .tabOrder = 1},
    ControlDesc{.name = "Button1", .parent = "Panel1", .kind = PushButton, .rect = {236, 49, 73, 52},
                .text = u"+", .font = {43, true, {}}, .tabOrder = 2, .cursor = CursorKind::Hand},
    ControlDesc{.name = "edAdder", .parent = "Panel1", .kind = NumericEdit,
                .rect = {344, 49, 121, 52}, .text = u"256", .font = {30, true, {}}, .tabOrder = 3,
                .range = {.min = 1, .max = 65535, .position = 256}},
    ControlDesc{.name = "Button2", .parent = "Panel1", .kind = PushButton, .rect = {5, 126, 195, 25},
                .text = u"Reset Accum", .font = {17, true, {}}, .tabOrder = 4},
    ControlDesc{.name = "cbAuto", .parent = "Panel1", .kind = CheckBox, .rect = {236, 9, 204, 35},
                .text = u"START DDS!", .font = {23, true, kGreen}, .background = Rgb{255, 0, 255},
                .tabOrder = 5, .cursor = CursorKind::Hand},
    ControlDesc{.name = "RzTrackBar1", .parent = "Panel1", .kind = TickSlider,
                .rect = {216, 137, 257, 35}, .tabOrder = 6,
                .range = {.min = 1, .max = 10000, .position = 256, .frequency = 256,
                          .pageSize = 1}},

    // Waveform selector: one group of radio buttons.
    ControlDesc{.name = "rbSin", .parent = "Panel4", .kind = RadioButton, .rect = {26, 18, 57, 17},
                .text = u"SIN", .font = kRadioFont, .tabOrder = 0, .checked = true},
    ControlDesc{.name = "rbSaw", .parent = "Panel4", .kind = RadioButton, .rect = {26, 43, 57, 17},
                .text = u"SAW", .font = kRadioFont, .tabOrder = 1},
    ControlDesc{.name = "rbRSaw", .parent = "Panel4", .kind = RadioButton, .rect = {26, 68, 105, 17},
                .text = u"RSAW", .font = kRadioFont, .tabOrder = 2},
    ControlDesc{.name = "rbTri", .parent = "Panel4", .kind = RadioButton, .rect = {26, 93, 105, 17},
                .text = u"TRI", .font = kRadioFont, .tabOrder = 3},
    ControlDesc{.name = "rbSqr", .parent = "Panel4", .kind = RadioButton, .rect = {26, 118, 105, 17},
                .text = u"SQR", .font = kRadioFont, .tabOrder = 4},
    ControlDesc{.name = "rbEcg", .parent = "Panel4", .kind = RadioButton, .rect = {26, 143, 57, 17},
                .text = u"ECG", .font = kRadioFont, .tabOrder = 5},
};

constexpr FormDesc kForm{
    .caption = u"Velkamo DDS simulator",
    .clientSize = {1177, 714},
    .fontFace = u"Tahoma",
    .fontHeightPx = 13,
    .cursor = CursorKind::Hand,
};

}  // namespace

const FormDesc& MainFormDesc() { return kForm; }

std::span<const ControlDesc> MainFormControls() { return kControls; }

}  // namespace layout
