#include "core/dac/spectrum_plot.h"

#include <algorithm>
#include <cmath>

#include "core/dac/texts.h"
#include "core/dac/window_values.h"

namespace dac {
namespace {

constexpr double kLastBin = kSpectrumBins - 1;

std::u16string LevelTickText(double levelDb) {
    const long long whole = std::llround(levelDb);
    return base::IntegerText(whole);
}

}  // namespace

int BinX(const base::RectPx& plot, double bin) noexcept {
    const int span = std::max(0, plot.Width() - 1);
    return plot.Left + static_cast<int>(std::lround(bin * span / kLastBin));
}

int LevelY(const base::RectPx& plot, double levelDb) noexcept {
    const double clamped = std::clamp(levelDb, kPlotBottomDb, kPlotTopDb);
    const int span = std::max(0, plot.Height() - 1);
    return plot.Top + static_cast<int>(std::lround((kPlotTopDb - clamped) * span /
                                                   (kPlotTopDb - kPlotBottomDb)));
}

int FrequencyTickStepHz(double rangeHz, int maxTicks) noexcept {
    maxTicks = std::max(1, maxTicks);
    for (long long power = 1; power <= 100'000'000; power *= 10) {
        for (const int factor : {1, 2, 5}) {
            const long long step = factor * power;
            if (rangeHz / static_cast<double>(step) <= maxTicks) return static_cast<int>(step);
        }
    }
    return 1'000'000'000;
}

SpectrumPlot PlanSpectrum(const SpectrumPlotInput& in, const Spectrum* spectrum) {
    SpectrumPlot p;
    const int gap = std::max(2, in.TextHeightPx / 2);
    // Level labels at the left, frequency labels below, half a label's room at the right
    // for the last frequency label, two lines' room at the top for the labels of marks
    // near 0 dB.
    p.Plot = {
        in.LevelLabelWidthPx + 2 * gap, 2 * in.TextHeightPx + gap,
        std::max(in.LevelLabelWidthPx + 2 * gap + 1,
                 in.ClientPx.Width - in.FrequencyLabelWidthPx / 2 - gap),
        std::max(2 * in.TextHeightPx + gap + 1, in.ClientPx.Height - in.TextHeightPx - 2 * gap)};

    for (double db = kPlotTopDb - std::fmod(kPlotTopDb, kLevelTickStepDb); db >= kPlotBottomDb;
         db -= kLevelTickStepDb) {
        p.LevelTicks.push_back({LevelY(p.Plot, db), LevelTickText(db)});
    }
    const double nyquistHz = in.ClockHz / 2.0;
    const int maxTicks = std::max(1, p.Plot.Width() / std::max(1, 2 * in.FrequencyLabelWidthPx));
    const int stepHz = FrequencyTickStepHz(nyquistHz, maxTicks);
    for (long long hz = 0; hz <= nyquistHz; hz += stepHz) {
        const double bin = static_cast<double>(hz) * kSpectrumSamples / in.ClockHz;
        p.FrequencyTicks.push_back(
            {BinX(p.Plot, bin), HertzDigits(static_cast<int>(hz), in.Symbols)});
    }

    if (!spectrum || spectrum->LevelDb.size() != static_cast<std::size_t>(kSpectrumBins)) return p;

    // Every bin goes to the column its x rounds to; a column keeps its strongest level.
    const int columns = p.Plot.Width();
    std::vector<double> strongest(static_cast<std::size_t>(columns), kNoComponentDb);
    for (int k = 0; k < kSpectrumBins; ++k) {
        const double level = spectrum->LevelDb[static_cast<std::size_t>(k)];
        if (!(level > kNoComponentDb)) continue;
        const std::size_t column = static_cast<std::size_t>(BinX(p.Plot, k) - p.Plot.Left);
        strongest[column] = std::max(strongest[column], level);
    }
    p.ColumnTopPx.resize(static_cast<std::size_t>(columns));
    for (std::size_t c = 0; c < strongest.size(); ++c) {
        if (strongest[c] > kNoComponentDb && strongest[c] >= kPlotBottomDb) {
            p.ColumnTopPx[c] = LevelY(p.Plot, strongest[c]);
        }
    }

    const auto level = [&](int bin) { return spectrum->LevelDb[static_cast<std::size_t>(bin)]; };
    const auto visible = [&](int bin) { return level(bin) > kNoComponentDb; };
    if (spectrum->FundamentalBin && visible(*spectrum->FundamentalBin)) {
        const int bin = *spectrum->FundamentalBin;
        p.Marks.push_back({MarkKind::Fundamental, bin, BinX(p.Plot, bin),
                           LevelY(p.Plot, level(bin)),
                           std::u16string(TextsIn(in.TextLanguage).Fundamental)});
    }
    // The spur's label starts with its order when it is a harmonic.
    std::u16string spurOrder;
    for (const Harmonic& h : spectrum->Harmonics) {
        // A harmonic that falls on DC or onto the fundamental is no line of its own.
        const bool onFundamental = spectrum->FundamentalBin && h.Bin == *spectrum->FundamentalBin;
        if (h.Bin == 0 || onFundamental || !visible(h.Bin)) continue;
        if (spectrum->SpurBin && h.Bin == *spectrum->SpurBin) {
            if (spurOrder.empty()) {
                spurOrder = base::IntegerText(h.Order) + (h.Folded ? u"': " : u": ");
            }
            continue;
        }
        std::u16string label = base::IntegerText(h.Order);
        if (h.Folded) label += u'\'';
        p.Marks.push_back(
            {MarkKind::Harmonic, h.Bin, BinX(p.Plot, h.Bin), LevelY(p.Plot, level(h.Bin)), label});
    }
    if (spectrum->SpurBin) {
        const int bin = *spectrum->SpurBin;
        std::u16string label = spurOrder + std::u16string(TextsIn(in.TextLanguage).Spur);
        if (spectrum->SfdrDb) {
            label += u", ";
            label += TextsIn(in.TextLanguage).Sfdr;
            label += u' ';
            label += DecibelText(*spectrum->SfdrDb, in.TextLanguage, in.Symbols);
        }
        p.Marks.push_back(
            {MarkKind::Spur, bin, BinX(p.Plot, bin), LevelY(p.Plot, level(bin)), label});
    }
    return p;
}

}  // namespace dac
