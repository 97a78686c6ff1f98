#include "core/layout/dac_window_layout.h"

namespace layout {
namespace {

using enum ControlKind;

constexpr std::string_view kFormName = "DacForm";
constexpr Anchors kTopRight{false, true, true, false};
constexpr Anchors kAllSides{true, true, true, true};
constexpr FontDesc kBoldFont{15, true, {}};  // the window's font, bold
constexpr int kCaptionLeftPx = 12;
constexpr int kValueLeftPx = 200;
constexpr int kFigureTopPx = 84;
constexpr int kFigureStepPx = 26;

constexpr int FigureTop(int row) {
    return kFigureTopPx + row * kFigureStepPx;
}

constexpr std::array<ControlDesc, 20> MakeRows(const dac::WindowTexts& t) {
    return {{
        // The tone: clock, listening and volume.
        {.Name = "clockLabel",
         .Parent = kFormName,
         .Kind = Label,
         .Rect = DesignRect(kCaptionLeftPx, 16, 125, 18),
         .Text = t.ClockLabel},
        {.Name = "clockBox",
         .Parent = kFormName,
         .Kind = ComboBox,
         .Rect = DesignRect(150, 12, 120, 240),
         .TabOrder = 0,
         .Accessible = {.Name = t.ClockName}},
        {.Name = "clockUnitLabel",
         .Parent = kFormName,
         .Kind = Label,
         .Rect = DesignRect(276, 16, 20, 18),
         .Text = t.Hz},
        {.Name = "listenBox",
         .Parent = kFormName,
         .Kind = CheckBox,
         .Rect = DesignRect(330, 12, 110, 26),
         .Text = t.Listen,
         .TabOrder = 1},
        {.Name = "volumeLabel",
         .Parent = kFormName,
         .Kind = Label,
         .Rect = DesignRect(450, 16, 80, 18),
         .Text = t.VolumeLabel},
        {.Name = "volumeSlider",
         .Parent = kFormName,
         .Kind = TrackBar,
         .Rect = DesignRect(540, 8, 200, 36),
         .TabOrder = 2,
         .Range = {.Min = 0, .Max = 100, .Position = 25, .Frequency = 10, .PageSize = 10},
         .Accessible = {.Name = t.VolumeName}},
        // Why a typed clock is refused.
        {.Name = "clockError",
         .Parent = kFormName,
         .Kind = Label,
         .Rect = DesignRect(kCaptionLeftPx, 50, 0, 18)},

        // The figures.
        {.Name = "outputCaption",
         .Parent = kFormName,
         .Kind = Label,
         .Rect = DesignRect(kCaptionLeftPx, FigureTop(0), 150, 18),
         .Text = t.OutputLabel},
        {.Name = "outputValue",
         .Parent = kFormName,
         .Kind = Label,
         .Rect = DesignRect(kValueLeftPx, FigureTop(0), 0, 18),
         .Font = kBoldFont},
        {.Name = "resolutionCaption",
         .Parent = kFormName,
         .Kind = Label,
         .Rect = DesignRect(kCaptionLeftPx, FigureTop(1), 150, 18),
         .Text = t.ResolutionLabel},
        {.Name = "resolutionValue",
         .Parent = kFormName,
         .Kind = Label,
         .Rect = DesignRect(kValueLeftPx, FigureTop(1), 0, 18)},
        {.Name = "samplesCaption",
         .Parent = kFormName,
         .Kind = Label,
         .Rect = DesignRect(kCaptionLeftPx, FigureTop(2), 150, 18),
         .Text = t.SamplesLabel},
        {.Name = "samplesValue",
         .Parent = kFormName,
         .Kind = Label,
         .Rect = DesignRect(kValueLeftPx, FigureTop(2), 0, 18)},
        {.Name = "nyquistCaption",
         .Parent = kFormName,
         .Kind = Label,
         .Rect = DesignRect(kCaptionLeftPx, FigureTop(3), 150, 18),
         .Text = t.NyquistLabel},
        {.Name = "nyquistValue",
         .Parent = kFormName,
         .Kind = Label,
         .Rect = DesignRect(kValueLeftPx, FigureTop(3), 0, 18)},
        // Above the Nyquist frequency: where the tone is heard.
        {.Name = "aboveNyquistNote",
         .Parent = kFormName,
         .Kind = Label,
         .Rect = DesignRect(kCaptionLeftPx, FigureTop(4) + 8, 0, 18),
         .Font = kBoldFont},
        // Why there is no sound.
        {.Name = "soundStatus",
         .Parent = kFormName,
         .Kind = Label,
         .Rect = DesignRect(kCaptionLeftPx, FigureTop(5) + 8, 0, 18)},

        // The views: the wheel keeps its size at the right, the spectrum takes the rest.
        {.Name = "phaseWheel",
         .Parent = kFormName,
         .Kind = PhaseWheel,
         .Rect = DesignRect(558, 76, 230, 230),
         .Anchors = kTopRight,
         .TabOrder = 3,
         .Accessible = {.Name = t.WheelName}},
        {.Name = "spectrum",
         .Parent = kFormName,
         .Kind = Spectrum,
         .Rect = DesignRect(kCaptionLeftPx, 316, 776, 272),
         .Anchors = kAllSides,
         .TabOrder = 4,
         .Accessible = {.Name = t.SpectrumName}},
        {.Name = "spectrumCaption",
         .Parent = kFormName,
         .Kind = Label,
         .Rect = DesignRect(kCaptionLeftPx, 294, 100, 18),
         .Text = t.SpectrumName,
         .Font = kBoldFont},
    }};
}

}  // namespace

const FormDesc& DacFormDesc(dac::Language language) {
    static const FormDesc english{.Name = kFormName,
                                  .Caption = dac::TextsIn(dac::Language::English).Title,
                                  .ClientSize = {800, 600},
                                  .FontFace = u"Tahoma",
                                  .FontHeightPx = 15,
                                  .Cursor = CursorKind::Default};
    static const FormDesc russian{.Name = kFormName,
                                  .Caption = dac::TextsIn(dac::Language::Russian).Title,
                                  .ClientSize = {800, 600},
                                  .FontFace = u"Tahoma",
                                  .FontHeightPx = 15,
                                  .Cursor = CursorKind::Default};
    return language == dac::Language::Russian ? russian : english;
}

std::span<const ControlDesc> DacFormControls(dac::Language language) {
    static const std::array english = MakeRows(dac::TextsIn(dac::Language::English));
    static const std::array russian = MakeRows(dac::TextsIn(dac::Language::Russian));
    return language == dac::Language::Russian ? std::span<const ControlDesc>(russian)
                                              : std::span<const ControlDesc>(english);
}

}  // namespace layout
