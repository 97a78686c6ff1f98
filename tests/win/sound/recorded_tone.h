// A recorded tone read back and measured: the WAV file the platform's sound system wrote
// while the program played, cut of the silence the platform pads in when its queue runs
// dry, and checked for a tone, a change of increment, the change's latency and clicks.
#pragma once

#include <cstdint>
#include <string>

namespace recorded {

struct ToneChange {
    int ClockHz = 48000;
    std::uint16_t FirstIncrement = 0;
    std::uint16_t SecondIncrement = 0;
    // The device's playing time, from its first block, when the increment changed: the
    // blocks it had finished playing then.
    double PlayedAtChangeS = 0;
};

// Reads `wavPath` and checks, with gtest's assertions, that it holds about half a second
// of the first tone and then the second, each M x clock / 65536 within 0.1 %; that the
// change was heard within 100 ms of the blocks played when it was made; and that no step
// between two samples across the change is larger than the second tone's own (no click).
// Prints what it measured.
void ExpectToneChange(const std::string& wavPath, const ToneChange& change);

}  // namespace recorded
