// The generator: the phase accumulator, the phase increment and the active waveform table,
// with their rules (the step and its sample, the reset, the choice of waveform, the
// increment from the increment box's value). Every view of the generator drives and reads
// this one type: the main window, the renderers, a view of the output as sound. A change
// that a view has to show beyond the accumulator's bytes comes back as an effect for the
// view to apply.
#pragma once

#include <cstdint>

#include "core/dds/accumulator.h"
#include "core/dds/settings.h"
#include "core/dds/wave_tables.h"

namespace dds {

// The output of one step, or of the accumulator as it stands: the accumulator, whose two
// bytes the window shows, and the sample, the active table's entry at the high byte.
struct Sample {
    std::uint16_t Accumulator = 0;
    std::uint8_t Value = 0;

    constexpr std::uint8_t High() const noexcept { return HighByte(Accumulator); }
    constexpr std::uint8_t Low() const noexcept { return LowByte(Accumulator); }
    bool operator==(const Sample&) const = default;
};

// What a reset or a choice of waveform asks of a view: show the accumulator's bytes, and,
// when ClearChart is set, empty the chart. Neither gives a sample: the chart's next point
// comes from the next step.
struct Change {
    std::uint16_t Accumulator = 0;
    bool ClearChart = false;
    bool operator==(const Change&) const = default;
};

class Generator {
public:
    // The designed start: the designed waveform and increment, the accumulator at 0. A
    // waveform that names none of the six is refused, here and below, as TableFor refuses it.
    Generator()
        : Generator(settings::kWave.Designed,
                    static_cast<std::uint16_t>(settings::kIncrement.Designed)) {}
    Generator(Waveform wave, std::uint16_t increment)
        : increment_(increment), wave_(wave), table_(&TableFor(wave)) {}

    std::uint16_t Accumulator() const noexcept { return accumulator_; }
    std::uint16_t Increment() const noexcept { return increment_; }
    Waveform Wave() const noexcept { return wave_; }
    // The active table: the stored table of Wave().
    const WaveformTable& Table() const noexcept { return *table_; }

    // The output stage: the accumulator as it stands and its sample.
    Sample Output() const noexcept { return {accumulator_, (*table_)[HighByte(accumulator_)]}; }

    // One step: the accumulator advances by the increment modulo 65536 (the carry out of
    // bit 15 is dropped); then the output stage.
    Sample Step() noexcept {
        accumulator_ = dds::Step(accumulator_, increment_);
        return Output();
    }

    // The accumulator to 0; the table and the chart stay.
    Change Reset() noexcept {
        accumulator_ = 0;
        return {accumulator_, false};
    }

    // Another active table, then a reset; the chart is emptied, so that the next step's
    // sample, the new table's entry at the increment's high byte, is its first point.
    Change ChooseWaveform(Waveform wave) {
        table_ = &TableFor(wave);
        wave_ = wave;
        Change change = Reset();
        change.ClearChart = true;
        return change;
    }

    // Another active table with the phase going on: the accumulator stays. For a view that
    // must not jump, as sound must not click; the window's choice is ChooseWaveform.
    void ContinueWithWaveform(Waveform wave) {
        table_ = &TableFor(wave);
        wave_ = wave;
    }

    // The increment for the increment box's value: rounded to the nearest integer, ties to
    // even, then its low 16 bits (IncrementFromValue). The accumulator stays; the next step
    // uses the new increment.
    void SetIncrementFromValue(long double value) noexcept {
        increment_ = IncrementFromValue(value);
    }
    void SetIncrement(std::uint16_t increment) noexcept { increment_ = increment; }

private:
    std::uint16_t accumulator_ = 0;
    std::uint16_t increment_ = 0;
    Waveform wave_;
    const WaveformTable* table_;  // one of the stored tables, never null
};

}  // namespace dds
