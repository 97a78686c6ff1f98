// The six stored waveform tables of the DDS core and the choice among them.
//
// Each table holds one period of a waveform as 256 unsigned 8-bit samples;
// entry i is the sample for accumulator high byte i. The tables are read-only
// constants; the window copies the selected one into its active table.
#pragma once

#include <array>
#include <cstdint>

namespace dds {

// One stored waveform: entry i is the output for accumulator high byte i.
using WaveformTable = std::array<std::uint8_t, 256>;

// The six waveforms, in the order in which the tables are stored and in
// which the window tests its radio buttons.
enum class Waveform { Sin, Ecg, Saw, RSaw, Tri, Sqr };

// min(255, floor(128 + 128 sin(2 pi i / 256))): 128 at 0 and 128, 255 for
// entries 59 to 69 (entry 64 through the cap), 0 for entries 187 to 197.
extern const WaveformTable SinTable;
// A stylised electrocardiogram; its values follow no rule and are stored as
// designed. Extremes: 255 at entry 50, 0 at entry 60.
extern const WaveformTable EcgTable;
// i: rising from 0 to 255.
extern const WaveformTable SawTable;
// 255 - i: falling from 255 to 0.
extern const WaveformTable RSawTable;
// 2i for i < 128 (0 .. 254), 511 - 2i for i >= 128 (255 .. 1); not
// symmetric, and no entry is 256.
extern const WaveformTable TriTable;
// 0 for i < 128, 255 for i >= 128.
extern const WaveformTable SqrTable;

// The stored table of `waveform`. Throws std::out_of_range for a value that
// names none of the six (only reachable through a bad cast).
const WaveformTable& TableFor(Waveform waveform);

}  // namespace dds
