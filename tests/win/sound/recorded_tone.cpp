#include "recorded_tone.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace recorded {
namespace {

struct Recording {
    int rateHz = 0;
    std::vector<double> samples;  // the first channel
};

std::uint32_t Le(const std::vector<unsigned char>& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b[at + static_cast<std::size_t>(i)];
    return v;
}

// A PCM (8, 16 or 32-bit integer) or 32-bit float WAV file. The data chunk is read to the
// end of the file: a recorder that is still open may not have written its length yet.
Recording ReadWav(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
    Recording r;
    if (b.size() < 44 || std::memcmp(b.data(), "RIFF", 4) != 0) {
        ADD_FAILURE() << path << " is no WAV file (" << b.size() << " bytes)";
        return r;
    }
    std::size_t at = 12;
    int format = 0, channels = 0, bits = 0;
    while (at + 8 <= b.size()) {
        const std::string id(reinterpret_cast<const char*>(&b[at]), 4);
        const std::uint32_t size = Le(b, at + 4, 4);
        if (id == "fmt ") {
            format = static_cast<int>(Le(b, at + 8, 2));
            channels = static_cast<int>(Le(b, at + 10, 2));
            r.rateHz = static_cast<int>(Le(b, at + 12, 4));
            bits = static_cast<int>(Le(b, at + 22, 2));
            if (format == 0xFFFE) format = static_cast<int>(Le(b, at + 32, 2));  // extensible
        } else if (id == "data") {
            at += 8;
            break;
        }
        at += 8 + size + (size & 1);
    }
    const int frameBytes = channels * bits / 8;
    if (frameBytes <= 0 || (format != 1 && format != 3)) {
        ADD_FAILURE() << "unexpected WAV format " << format << ", " << bits << " bits";
        return r;
    }
    for (; at + static_cast<std::size_t>(frameBytes) <= b.size(); at += frameBytes) {
        double v = 0;
        if (format == 3 && bits == 32) {
            const std::uint32_t word = Le(b, at, 4);
            float f;
            std::memcpy(&f, &word, 4);
            v = f;
        } else if (bits == 8) {
            v = b[at] - 128.0;
        } else if (bits == 16) {
            v = static_cast<std::int16_t>(Le(b, at, 2));
        } else if (bits == 32) {
            v = static_cast<std::int32_t>(Le(b, at, 4));
        }
        r.samples.push_back(v);
    }
    return r;
}

// The platform pads the device with silence when its queue runs dry (an underrun on a
// loaded machine); every block still plays, later. Cuts each run of at least 1 ms of one
// level, which the tone never holds, so that the analysis sees the device's own stream.
// Returns where the cut recording joins across a gap (the index of the first sample after
// it) and the seconds cut.
struct Gaps {
    std::vector<std::size_t> joins;
    double cutS = 0;
};

Gaps CutGaps(Recording& r) {
    Gaps gaps;
    const std::size_t shortest = static_cast<std::size_t>(r.rateHz) / 1000;
    std::vector<double> kept;
    kept.reserve(r.samples.size());
    std::size_t i = 0;
    while (i < r.samples.size()) {
        std::size_t end = i + 1;
        while (end < r.samples.size() && r.samples[end] == r.samples[i]) ++end;
        if (end - i >= shortest) {
            if (!kept.empty()) gaps.joins.push_back(kept.size());
            gaps.cutS += static_cast<double>(end - i) / r.rateHz;
        } else {
            kept.insert(kept.end(), r.samples.begin() + static_cast<std::ptrdiff_t>(i),
                        r.samples.begin() + static_cast<std::ptrdiff_t>(end));
        }
        i = end;
    }
    r.samples = std::move(kept);
    return gaps;
}

// One tone in the recording: the runs of at least 10 consecutive periods within 2 % of
// 1 / nominal Hz, measured between rising crossings of the middle level (interpolated
// between samples). `periods` and `lengthS` add up the runs; `startS` is where the first
// run starts and `endS` where the last one ends.
struct Tone {
    int periods = 0;
    double lengthS = 0;
    double startS = 0;
    double endS = 0;
    double Hz() const { return periods / lengthS; }
};

Tone Measure(const Recording& r, double nominalHz) {
    double low = 0, high = 0;
    for (double v : r.samples) {
        low = std::min(low, v);
        high = std::max(high, v);
    }
    const double middle = (low + high) / 2;
    std::vector<double> crossings;
    for (std::size_t i = 1; i < r.samples.size(); ++i) {
        const double a = r.samples[i - 1], b = r.samples[i];
        if (a < middle && b >= middle) {
            crossings.push_back((static_cast<double>(i - 1) + (middle - a) / (b - a)) / r.rateHz);
        }
    }
    Tone tone;
    int runPeriods = 0;
    double runStartS = 0;
    const auto endRun = [&](double endS) {
        if (runPeriods >= 10) {
            if (tone.periods == 0) tone.startS = runStartS;
            tone.periods += runPeriods;
            tone.lengthS += endS - runStartS;
            tone.endS = endS;
        }
        runPeriods = 0;
    };
    for (std::size_t i = 1; i < crossings.size(); ++i) {
        const double period = crossings[i] - crossings[i - 1];
        if (std::abs(period * nominalHz - 1) < 0.02) {
            if (runPeriods == 0) runStartS = crossings[i - 1];
            ++runPeriods;
        } else {
            endRun(crossings[i - 1]);
        }
    }
    if (!crossings.empty()) endRun(crossings.back());
    return tone;
}

}  // namespace

void ExpectToneChange(const std::string& wavPath, const ToneChange& change) {
    Recording r = ReadWav(wavPath);
    ASSERT_GT(r.rateHz, 0);
    const Gaps gaps = CutGaps(r);
    std::printf("silence cut from the recording: %zu gaps, %.1f ms\n", gaps.joins.size(),
                gaps.cutS * 1000);
    const double firstHz = change.FirstIncrement * static_cast<double>(change.ClockHz) / 65536;
    const double secondHz = change.SecondIncrement * static_cast<double>(change.ClockHz) / 65536;
    const Tone first = Measure(r, firstHz);
    const Tone second = Measure(r, secondHz);
    std::printf("recording: %zu samples at %d Hz; %d periods at %.4f Hz, then %d at %.4f Hz\n",
                r.samples.size(), r.rateHz, first.periods, first.Hz(), second.periods, second.Hz());
    // About half a second of each: a few hundred periods, far more than the 0.1 % needs.
    ASSERT_GE(first.periods, 150);
    ASSERT_GE(second.periods, 300);
    EXPECT_NEAR(first.Hz(), firstHz, firstHz * 0.001);
    EXPECT_NEAR(second.Hz(), secondHz, secondHz * 0.001);
    EXPECT_LT(first.endS, second.startS + 0.05) << "the change is heard after the first tone";
    // In the device's own time (the recording without its gaps): from the end of the blocks
    // the device had played when the setting changed to the first whole period of the new
    // tone. The queue holds 40 ms; the first new period starts within one more block and
    // one period.
    const double latencyS = second.startS - change.PlayedAtChangeS;
    std::printf("change heard %.1f ms after the blocks played when it was made\n", latencyS * 1000);
    EXPECT_GT(latencyS, 0.0);
    EXPECT_LT(latencyS, 0.1);

    // No click: the phase goes on across blocks and across the change, so no step between
    // two samples from the first tone to the end of the second is larger than the faster
    // tone's own steps. A join across a gap is the platform's, not a step of the stream.
    const auto largestStep = [&](double fromS, double toS) {
        double largest = 0;
        const auto from = static_cast<std::size_t>(fromS * r.rateHz) + 1;
        const auto to = std::min(r.samples.size(), static_cast<std::size_t>(toS * r.rateHz));
        for (std::size_t i = from; i < to; ++i) {
            if (std::find(gaps.joins.begin(), gaps.joins.end(), i) != gaps.joins.end()) continue;
            largest = std::max(largest, std::abs(r.samples[i] - r.samples[i - 1]));
        }
        return largest;
    };
    const double acrossChange = largestStep(first.startS, second.endS);
    const double withinSecond = largestStep(second.startS, second.endS);
    EXPECT_LE(acrossChange, withinSecond * 1.01) << "a step of " << acrossChange;
}

}  // namespace recorded
