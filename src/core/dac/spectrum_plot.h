// The spectrum view's drawing plan: where the plot lies in the view, the level and
// frequency axes with their ticks, one column per pixel holding the strongest bin that
// falls into it (so no line is lost however many bins share a pixel), and the marks of the
// fundamental, the harmonics and the spur. The view draws what this says.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/base/number_symbols.h"
#include "core/base/rect.h"
#include "core/dac/spectrum.h"
#include "core/dac/texts.h"

namespace dac {

// The level axis: from a full-scale square's fundamental (+2.1 dB) down to where 8-bit
// tables' weakest lines lie.
inline constexpr double kPlotTopDb = 10.0;
inline constexpr double kPlotBottomDb = -140.0;
inline constexpr double kLevelTickStepDb = 20.0;

struct PlotTick {
    int Px = 0;  // x of a frequency tick, y of a level tick
    std::u16string Text;
};

enum class MarkKind { Fundamental, Harmonic, Spur };

struct PlotMark {
    MarkKind Kind = MarkKind::Fundamental;
    int Bin = 0;
    int XPx = 0;
    int YPx = 0;  // the line's top
    // "2", "3" for a harmonic ("2'" when folded back); the SFDR beside the spur, and its
    // order before it when the spur is a harmonic ("2: Spur, SFDR 6 dB").
    std::u16string Label;
};

struct SpectrumPlotInput {
    base::SizePx ClientPx;
    int TextHeightPx = 16;
    int LevelLabelWidthPx = 40;      // the widest level label ("-140")
    int FrequencyLabelWidthPx = 60;  // the widest frequency label ("192,000")
    int ClockHz = 48000;
    Language TextLanguage = Language::English;
    base::NumberSymbols Symbols{};
};

struct SpectrumPlot {
    base::RectPx Plot;  // the area inside the axes; bin 0 at Plot.Left, bin 32768 at the
                        // last column, 0 dB and the level ticks inside it
    std::vector<PlotTick> LevelTicks;
    std::vector<PlotTick> FrequencyTicks;
    // Per column of the plot, the y of the strongest level in it; none where no bin of the
    // column is a component (at or below kNoComponentDb) or all lie below the axis.
    std::vector<std::optional<int>> ColumnTopPx;
    std::vector<PlotMark> Marks;
};

// The x of `bin` (0 .. 32768) in `plot`.
int BinX(const base::RectPx& plot, double bin) noexcept;
// The y of `levelDb` in `plot`, kept inside it.
int LevelY(const base::RectPx& plot, double levelDb) noexcept;
// The step of the frequency ticks in Hz: 1, 2 or 5 times a power of ten, the smallest that
// leaves at most `maxTicks` intervals over `rangeHz`.
int FrequencyTickStepHz(double rangeHz, int maxTicks) noexcept;

// The plan for `spectrum` (null: the axes only).
SpectrumPlot PlanSpectrum(const SpectrumPlotInput& input, const Spectrum* spectrum);

}  // namespace dac
