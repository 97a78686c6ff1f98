// The generator model driven by a sequence of actions (steps, resets, choices of waveform
// with a reset or at the same phase, increments typed as integers or as quarters) against
// the plain arithmetic: an integer accumulator taken modulo 65536, the stored table's entry at its
// high byte, and the increment's rounding done on whole quarters.
#include <cstdint>
#include <string>

#include "core/dds/generator.h"
#include "fuzz_support.h"

namespace {

constexpr dds::Waveform kWaves[] = {dds::Waveform::Sin,  dds::Waveform::Ecg, dds::Waveform::Saw,
                                    dds::Waveform::RSaw, dds::Waveform::Tri, dds::Waveform::Sqr};

// The stored tables as their rules give them (ECG and SIN are data: taken as stored).
int Entry(dds::Waveform wave, int index) {
    switch (wave) {
        case dds::Waveform::Saw:
            return index;
        case dds::Waveform::RSaw:
            return 255 - index;
        case dds::Waveform::Tri:
            return index < 128 ? 2 * index : 511 - 2 * index;
        case dds::Waveform::Sqr:
            return index < 128 ? 0 : 255;
        case dds::Waveform::Sin:
            return dds::SinTable[static_cast<std::size_t>(index)];
        case dds::Waveform::Ecg:
            return dds::EcgTable[static_cast<std::size_t>(index)];
    }
    fuzz::Fail("no such waveform");
}

// `quarters` / 4 rounded to the nearest integer, ties to even, then modulo 65536.
std::uint16_t RoundedQuarters(std::int64_t quarters) {
    std::int64_t whole = quarters >= 0 ? quarters / 4 : -((-quarters + 3) / 4);  // floor
    const std::int64_t rest = quarters - whole * 4;                              // 0 .. 3
    if (rest == 3 || (rest == 2 && whole % 2 != 0)) ++whole;
    return static_cast<std::uint16_t>(static_cast<std::uint64_t>(whole) & 0xFFFFu);
}

struct Plain {
    std::uint32_t accumulator = 0;
    std::uint32_t increment = 256;
    dds::Waveform wave = dds::Waveform::Sin;
};

void Expect(const dds::Sample& sample, const Plain& plain, const char* action) {
    const int high = static_cast<int>(plain.accumulator >> 8);
    if (sample.Accumulator != plain.accumulator || sample.High() != high ||
        sample.Low() != (plain.accumulator & 255u) || sample.Value != Entry(plain.wave, high)) {
        fuzz::Fail(std::string(action) + ": sample " + std::to_string(sample.Accumulator) + "/" +
                   std::to_string(sample.Value) + ", expected " +
                   std::to_string(plain.accumulator) + "/" +
                   std::to_string(Entry(plain.wave, high)));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    dds::Generator generator;
    Plain plain;
    Expect(generator.Output(), plain, "start");
    while (data.remaining_bytes() > 0) {
        switch (data.ConsumeIntegralInRange(0, 7)) {
            case 0: {  // a run of steps
                const int steps = data.ConsumeIntegralInRange(1, 300);
                for (int i = 0; i < steps; ++i) {
                    plain.accumulator = (plain.accumulator + plain.increment) % 65536u;
                    Expect(generator.Step(), plain, "step");
                }
                break;
            }
            case 1: {
                const dds::Change change = generator.Reset();
                plain.accumulator = 0;
                fuzz::Require(change == dds::Change{0, false}, "a reset clears no chart");
                break;
            }
            case 2: {
                plain.wave = kWaves[data.ConsumeIntegralInRange(0, 5)];
                const dds::Change change = generator.ChooseWaveform(plain.wave);
                plain.accumulator = 0;
                fuzz::Require(change == dds::Change{0, true}, "a choice resets and clears");
                break;
            }
            case 3: {  // a whole number, as the box may hold while it has the focus
                const std::int64_t value = data.ConsumeIntegral<std::int64_t>() >> 8;
                generator.SetIncrementFromValue(static_cast<long double>(value));
                plain.increment = static_cast<std::uint64_t>(value) & 0xFFFFu;
                break;
            }
            case 4: {  // a fraction in quarters, exact in a long double
                const std::int64_t quarters = data.ConsumeIntegral<std::int64_t>() >> 4;
                generator.SetIncrementFromValue(static_cast<long double>(quarters) / 4);
                plain.increment = RoundedQuarters(quarters);
                break;
            }
            case 5:  // another table at the same phase, as sound changes waveform
                plain.wave = kWaves[data.ConsumeIntegralInRange(0, 5)];
                generator.ContinueWithWaveform(plain.wave);
                Expect(generator.Output(), plain, "continue with a waveform");
                break;
            default:
                Expect(generator.Output(), plain, "output");
                break;
        }
        fuzz::Require(generator.Increment() == plain.increment, "the increment");
        fuzz::Require(generator.Accumulator() == plain.accumulator, "the accumulator");
        fuzz::Require(generator.Table() == dds::TableFor(plain.wave), "the active table");
    }
    return 0;
}
