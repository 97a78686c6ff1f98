#include "core/dds/wave_tables.h"

#include <stdexcept>

namespace dds {

namespace {

template <typename Rule>
constexpr WaveformTable BuildTable(Rule rule) {
    WaveformTable table{};
    for (int i = 0; i < 256; ++i) {
        table[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(rule(i));
    }
    return table;
}

}  // namespace

// ---------------------------------------------------------------------------
// SIN
//
// Written out because the standard library has no constexpr sine. Generated
// once from min(255, floor(128 + 128 sin(2 pi i / 256))), with sin taken as
// exactly 0, 1, 0, -1 at i = 0, 64, 128, 192; every other entry lies at least
// 0.016 away from an integer before the floor, so no rounding of the sine can
// change it. The host tests recompute the formula and compare every entry.
constexpr WaveformTable SinTable = {
    128, 131, 134, 137, 140, 143, 146, 149, 152, 156, 159, 162, 165, 168, 171, 174,  // 0-15
    176, 179, 182, 185, 188, 191, 193, 196, 199, 201, 204, 206, 209, 211, 213, 216,  // 16-31
    218, 220, 222, 224, 226, 228, 230, 232, 234, 236, 237, 239, 240, 242, 243, 245,  // 32-47
    246, 247, 248, 249, 250, 251, 252, 252, 253, 254, 254, 255, 255, 255, 255, 255,  // 48-63
    255, 255, 255, 255, 255, 255, 254, 254, 253, 252, 252, 251, 250, 249, 248, 247,  // 64-79
    246, 245, 243, 242, 240, 239, 237, 236, 234, 232, 230, 228, 226, 224, 222, 220,  // 80-95
    218, 216, 213, 211, 209, 206, 204, 201, 199, 196, 193, 191, 188, 185, 182, 179,  // 96-111
    176, 174, 171, 168, 165, 162, 159, 156, 152, 149, 146, 143, 140, 137, 134, 131,  // 112-127
    128, 124, 121, 118, 115, 112, 109, 106, 103, 99,  96,  93,  90,  87,  84,  81,   // 128-143
    79,  76,  73,  70,  67,  64,  62,  59,  56,  54,  51,  49,  46,  44,  42,  39,   // 144-159
    37,  35,  33,  31,  29,  27,  25,  23,  21,  19,  18,  16,  15,  13,  12,  10,   // 160-175
    9,   8,   7,   6,   5,   4,   3,   3,   2,   1,   1,   0,   0,   0,   0,   0,    // 176-191
    0,   0,   0,   0,   0,   0,   1,   1,   2,   3,   3,   4,   5,   6,   7,   8,    // 192-207
    9,   10,  12,  13,  15,  16,  18,  19,  21,  23,  25,  27,  29,  31,  33,  35,   // 208-223
    37,  39,  42,  44,  46,  49,  51,  54,  56,  59,  62,  64,  67,  70,  73,  76,   // 224-239
    79,  81,  84,  87,  90,  93,  96,  99,  103, 106, 109, 112, 115, 118, 121, 124,  // 240-255
};

// ---------------------------------------------------------------------------
// ECG, as designed.
constexpr WaveformTable EcgTable = {
    73,  74,  75,  75,  74,  73,  73,  73,  73,  72,  71,  69,  68,  67,  67,  67,   // 0-15
    68,  68,  67,  65,  62,  61,  59,  57,  56,  55,  55,  54,  54,  54,  55,  55,   // 16-31
    55,  55,  55,  55,  54,  53,  51,  50,  49,  49,  52,  61,  77,  101, 132, 169,  // 32-47
    207, 238, 255, 254, 234, 198, 154, 109, 68,  37,  17,  5,   0,   1,   6,   13,   // 48-63
    20,  28,  36,  45,  52,  57,  61,  64,  65,  66,  67,  68,  68,  69,  70,  71,   // 64-79
    71,  71,  71,  71,  71,  71,  71,  72,  72,  72,  73,  73,  74,  75,  75,  76,   // 80-95
    77,  78,  79,  80,  81,  82,  83,  84,  86,  88,  91,  93,  96,  98,  100, 102,  // 96-111
    104, 107, 109, 112, 115, 118, 121, 123, 125, 126, 127, 127, 127, 127, 127, 126,  // 112-127
    125, 124, 121, 119, 116, 113, 109, 105, 102, 98,  95,  92,  89,  87,  84,  81,   // 128-143
    79,  77,  76,  75,  74,  73,  72,  70,  69,  68,  67,  67,  67,  68,  68,  68,   // 144-159
    69,  69,  69,  69,  69,  69,  69,  70,  71,  72,  73,  73,  74,  74,  75,  75,   // 160-175
    75,  75,  75,  75,  74,  74,  73,  73,  73,  73,  72,  72,  72,  71,  71,  71,   // 176-191
    71,  71,  71,  71,  70,  70,  70,  69,  69,  69,  69,  69,  70,  70,  70,  69,   // 192-207
    68,  68,  67,  67,  67,  67,  66,  66,  66,  65,  65,  65,  65,  65,  65,  65,   // 208-223
    65,  64,  64,  63,  63,  64,  64,  65,  65,  65,  65,  65,  65,  65,  64,  64,   // 224-239
    64,  64,  64,  64,  64,  64,  65,  65,  65,  66,  67,  68,  69,  71,  72,  73,   // 240-255
};

// ---------------------------------------------------------------------------
// The rule-built tables.
constexpr WaveformTable SawTable = BuildTable([](int i) { return i; });
constexpr WaveformTable RSawTable = BuildTable([](int i) { return 255 - i; });
constexpr WaveformTable TriTable = BuildTable([](int i) { return i < 128 ? 2 * i : 511 - 2 * i; });
constexpr WaveformTable SqrTable = BuildTable([](int i) { return i < 128 ? 0 : 255; });

const WaveformTable& TableFor(Waveform waveform) {
    switch (waveform) {
        case Waveform::Sin:
            return SinTable;
        case Waveform::Ecg:
            return EcgTable;
        case Waveform::Saw:
            return SawTable;
        case Waveform::RSaw:
            return RSawTable;
        case Waveform::Tri:
            return TriTable;
        case Waveform::Sqr:
            return SqrTable;
    }
    throw std::out_of_range("dds::TableFor: no such waveform");
}

}  // namespace dds
