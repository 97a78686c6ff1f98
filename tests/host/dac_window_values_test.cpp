// What the DAC output window shows: the figures in both languages and the locale's
// digits, exact to the digits shown; levels; the spectrum's and the wheel's values; and
// the spectrum view's plan: axes, columns that keep every line, and the marks.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/dac/spectrum_plot.h"
#include "core/dac/window_values.h"
#include "core/dds/wave_tables.h"

namespace {

using dac::Language;

constexpr base::NumberSymbols kEnglishSymbols{u'.', u','};
constexpr base::NumberSymbols kRussianSymbols{u',', u'\u00A0'};
constexpr double kNone = -std::numeric_limits<double>::infinity();

std::string Narrow(const std::u16string& s) {
    std::string out;
    for (const char16_t c : s) out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

TEST(DacWindowValues, FiguresAreExactToTheDigitsShown) {
    struct Case {
        std::uint16_t increment;
        int clockHz;
        std::u16string_view output, resolution, samples, nyquist, above;
    };
    const Case cases[] = {
        {256, 48000, u"187.5 Hz", u"0.732422 Hz", u"256", u"24,000 Hz", u""},
        {1, 8000, u"0.122 Hz", u"0.12207 Hz", u"65,536", u"4,000 Hz", u""},
        {1000, 44100, u"672.913 Hz", u"0.672913 Hz", u"65.536", u"22,050 Hz", u""},
        // At the Nyquist frequency the tone is still where it is; one step above, mirrored.
        {32768, 48000, u"24,000 Hz", u"0.732422 Hz", u"2", u"24,000 Hz", u""},
        {40000, 48000, u"29,296.875 Hz", u"0.732422 Hz", u"1.638", u"24,000 Hz",
         u"Above the Nyquist frequency: heard at 18,703.125 Hz"},
        {65535, 192000, u"191,997.07 Hz", u"2.929688 Hz", u"1", u"96,000 Hz",
         u"Above the Nyquist frequency: heard at 2.93 Hz"},
    };
    for (const Case& c : cases) {
        const dac::FigureLines lines =
            dac::FigureLinesFor(c.increment, c.clockHz, Language::English, kEnglishSymbols);
        EXPECT_EQ(lines.Output, c.output) << c.increment << " at " << c.clockHz;
        EXPECT_EQ(lines.Resolution, c.resolution) << c.increment << " at " << c.clockHz;
        EXPECT_EQ(lines.SamplesPerPeriod, c.samples) << c.increment << " at " << c.clockHz;
        EXPECT_EQ(lines.Nyquist, c.nyquist) << c.increment << " at " << c.clockHz;
        EXPECT_EQ(lines.AboveNyquist, c.above) << c.increment << " at " << c.clockHz;
    }
    const dac::FigureLines ru =
        dac::FigureLinesFor(40000, 48000, Language::Russian, kRussianSymbols);
    EXPECT_EQ(ru.Output, u"29\u00A0296,875 Гц");
    EXPECT_EQ(ru.AboveNyquist, u"Выше частоты Найквиста: слышна на 18\u00A0703,125 Гц");
}

TEST(DacWindowValues, LevelsHaveOneDecimalAndNoMinusZero) {
    struct Case {
        double db;
        std::u16string_view expected;
    };
    const Case cases[] = {{-48.24, u"-48.2 dB"}, {-48.25, u"-48.2 dB"}, {2.0982, u"2.1 dB"},
                          {-0.04, u"0 dB"},      {0.0, u"0 dB"},        {kNone, u"-inf dB"}};
    for (const Case& c : cases) {
        EXPECT_EQ(dac::DecibelText(c.db, Language::English, kEnglishSymbols), c.expected) << c.db;
    }
    EXPECT_EQ(dac::DecibelText(-6.02, Language::Russian, kRussianSymbols), u"-6 дБ");
    EXPECT_EQ(dac::DecibelText(-6.12, Language::Russian, kRussianSymbols), u"-6,1 дБ");
}

TEST(DacWindowValues, TheWheelSaysTheAccumulatorAndTheTableAddress) {
    EXPECT_EQ(dac::WheelValueText(0x1234, Language::English),
              u"Accumulator 4660, table address 18");
    EXPECT_EQ(dac::WheelValueText(65535, Language::Russian),
              u"Аккумулятор 65535, адрес в таблице 255");
}

// The spectrum's value from a real spectrum: a sine read by an 8-bit table has its
// fundamental at full scale and a spur far below it, and the SFDR is their difference.
TEST(DacWindowValues, TheSpectrumSaysTheFundamentalAndTheSfdr) {
    const dac::Spectrum s = dac::ComputeSpectrum(dds::SinTable, 256);
    ASSERT_TRUE(s.FundamentalBin && s.SpurBin && s.SfdrDb);
    const std::u16string text =
        dac::SpectrumValueText(s, 48000, Language::English, kEnglishSymbols);
    const std::u16string fundamental =
        u"Fundamental 187.5 Hz, " +
        dac::DecibelText(s.LevelDb[256], Language::English, kEnglishSymbols) + u"; Spur ";
    EXPECT_EQ(text.substr(0, fundamental.size()), fundamental) << Narrow(text);
    const std::u16string sfdr =
        u"; SFDR " + dac::DecibelText(*s.SfdrDb, Language::English, kEnglishSymbols);
    ASSERT_GE(text.size(), sfdr.size());
    EXPECT_EQ(text.substr(text.size() - sfdr.size()), sfdr) << Narrow(text);
    EXPECT_GT(*s.SfdrDb, 20.0);

    dac::Spectrum pure;
    pure.LevelDb.assign(dac::kSpectrumBins, kNone);
    pure.LevelDb[100] = -3.0;
    pure.FundamentalBin = 100;
    EXPECT_EQ(dac::SpectrumValueText(pure, 65536, Language::English, kEnglishSymbols),
              u"Fundamental 100 Hz, -3 dB; no spur");
}

TEST(DacSpectrumPlot, AxesMapTheirEndsToThePlotsEdges) {
    const base::RectPx plot{50, 20, 750, 320};
    EXPECT_EQ(dac::BinX(plot, 0), 50);
    EXPECT_EQ(dac::BinX(plot, dac::kSpectrumBins - 1), 749);
    EXPECT_EQ(dac::BinX(plot, (dac::kSpectrumBins - 1) / 2.0), 400);  // 349.5 rounds up
    EXPECT_EQ(dac::LevelY(plot, dac::kPlotTopDb), 20);
    EXPECT_EQ(dac::LevelY(plot, dac::kPlotBottomDb), 319);
    EXPECT_EQ(dac::LevelY(plot, 100.0), 20);
    EXPECT_EQ(dac::LevelY(plot, -500.0), 319);
    EXPECT_EQ(dac::LevelY(plot, kNone), 319);

    struct Case {
        double rangeHz;
        int maxTicks, expected;
    };
    const Case cases[] = {{24000, 5, 5000},   {24000, 12, 2000},  {24000, 11, 5000}, {4000, 8, 500},
                          {96000, 10, 10000}, {96000, 1, 100000}, {4000, 0, 5000}};
    for (const Case& c : cases) {
        EXPECT_EQ(dac::FrequencyTickStepHz(c.rangeHz, c.maxTicks), c.expected)
            << c.rangeHz << " in " << c.maxTicks;
    }
}

// A spectrum made by hand: each column keeps its strongest line, lines that are no
// components leave their column empty, and the marks sit on their lines.
TEST(DacSpectrumPlot, ColumnsKeepTheStrongestLineAndMarksSitOnTheirLines) {
    dac::Spectrum s;
    s.LevelDb.assign(dac::kSpectrumBins, kNone);
    s.LevelDb[0] = -20.0;       // DC
    s.LevelDb[1000] = 0.0;      // the fundamental
    s.LevelDb[1001] = -60.0;    // beside it, in its column at this width
    s.LevelDb[2000] = -30.0;    // the second harmonic: the spur
    s.LevelDb[30000] = -70.0;   // a folded harmonic
    s.LevelDb[20000] = -190.0;  // below a component's level
    s.FundamentalBin = 1000;
    s.Harmonics = {{2, 2000, false}, {3, 1000, false}, {4, 30000, true}, {5, 5000, false}};
    s.SpurBin = 2000;
    s.SfdrDb = 30.0;

    const dac::SpectrumPlot p = dac::PlanSpectrum({.ClientPx = {800, 300}, .ClockHz = 48000}, &s);
    ASSERT_EQ(p.ColumnTopPx.size(), static_cast<std::size_t>(p.Plot.Width()));
    const auto column = [&](int bin) {
        return p.ColumnTopPx[static_cast<std::size_t>(dac::BinX(p.Plot, bin) - p.Plot.Left)];
    };
    EXPECT_EQ(column(1001), dac::LevelY(p.Plot, 0.0));
    EXPECT_EQ(column(0), dac::LevelY(p.Plot, -20.0));
    EXPECT_EQ(column(30000), dac::LevelY(p.Plot, -70.0));
    EXPECT_FALSE(column(20000).has_value());
    EXPECT_FALSE(column(10000).has_value());

    // The fundamental and the folded 4th; the 3rd lies on the fundamental and the 5th has
    // no line; the 2nd is the spur, which carries its order and the SFDR.
    ASSERT_EQ(p.Marks.size(), 3u);
    EXPECT_EQ(p.Marks[0].Kind, dac::MarkKind::Fundamental);
    EXPECT_EQ(p.Marks[0].XPx, dac::BinX(p.Plot, 1000));
    EXPECT_EQ(p.Marks[0].YPx, dac::LevelY(p.Plot, 0.0));
    EXPECT_EQ(p.Marks[1].Label, u"4'");
    EXPECT_EQ(p.Marks[1].YPx, dac::LevelY(p.Plot, -70.0));
    EXPECT_EQ(p.Marks[2].Kind, dac::MarkKind::Spur);
    EXPECT_EQ(p.Marks[2].XPx, dac::BinX(p.Plot, 2000));
    EXPECT_EQ(p.Marks[2].Label, u"2: Spur, SFDR 30 dB");

    // A spur that is no harmonic has no order; the harmonics keep their own marks.
    s.SpurBin = 30001;
    s.LevelDb[30001] = -20.0;
    s.SfdrDb = 20.0;
    const dac::SpectrumPlot q = dac::PlanSpectrum({.ClientPx = {800, 300}, .ClockHz = 48000}, &s);
    ASSERT_EQ(q.Marks.size(), 4u);
    EXPECT_EQ(q.Marks[1].Label, u"2");
    EXPECT_EQ(q.Marks[3].Label, u"Spur, SFDR 20 dB");

    // Ticks: 0 dB among the levels, 0 Hz at the left edge and none beyond clock / 2.
    bool zeroDb = false;
    for (const dac::PlotTick& t : p.LevelTicks) zeroDb |= t.Text == u"0";
    EXPECT_TRUE(zeroDb);
    ASSERT_FALSE(p.FrequencyTicks.empty());
    EXPECT_EQ(p.FrequencyTicks.front().Px, p.Plot.Left);
    EXPECT_EQ(p.FrequencyTicks.front().Text, u"0");
    EXPECT_LE(p.FrequencyTicks.back().Px, p.Plot.Right - 1);
    EXPECT_GE(p.FrequencyTicks.size(), 3u);
}

}  // namespace
