// What the fuzz targets share: the failure report, the regional symbol sets the text
// rules are checked under, and doubles chosen from a palette of awkward values.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "core/base/number_symbols.h"

namespace fuzz {

// Reports a broken property and aborts, so that libFuzzer keeps the input as a crash.
[[noreturn]] inline void Fail(const std::string& what) {
    std::fprintf(stderr, "property broken: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

inline void Require(bool holds, const char* what) {
    if (!holds) Fail(what);
}

// Set PHASEBOX_FUZZ_TRACE=1 to have a target describe the input it replays.
inline bool Tracing() {
    static const bool tracing = std::getenv("PHASEBOX_FUZZ_TRACE") != nullptr;
    return tracing;
}

__attribute__((format(printf, 1, 2))) inline void Trace(const char* format, ...) {
    if (!Tracing()) return;
    std::va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
}

// A double as the shortest text that reads back to it.
inline std::string Show(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// English, German, French-like (no-break space groups) and a locale without grouping.
inline constexpr std::array<base::NumberSymbols, 4> kSymbolSets = {{
    {u'.', u','},
    {u',', u'.'},
    {u',', u'\u00A0'},
    {u'.', u'\0'},
}};

inline base::NumberSymbols PickSymbols(FuzzedDataProvider& data) {
    return kSymbolSets[data.ConsumeIntegralInRange<std::size_t>(0, kSymbolSets.size() - 1)];
}

// A double that is often one of the values where ranges and roundings break, otherwise
// any bit pattern or a small integer or fraction.
inline double AwkwardDouble(FuzzedDataProvider& data) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    constexpr std::array<double, 20> kPalette = {
        0.0,
        -0.0,
        1.0,
        -1.0,
        0.5,
        255.0,
        256.0,
        1e-12,
        1e-300,
        -1e-300,
        1e300,
        -1e300,
        kInf,
        -kInf,
        std::numeric_limits<double>::quiet_NaN(),
        std::numeric_limits<double>::denorm_min(),
        std::numeric_limits<double>::min(),
        std::numeric_limits<double>::max(),
        std::numeric_limits<double>::lowest(),
        std::numeric_limits<double>::epsilon(),
    };
    switch (data.ConsumeIntegralInRange(0, 3)) {
        case 0:
            return kPalette[data.ConsumeIntegralInRange<std::size_t>(0, kPalette.size() - 1)];
        case 1:
            return data.ConsumeFloatingPoint<double>();
        case 2:
            return data.ConsumeIntegralInRange(-100000, 100000);
        default:
            return data.ConsumeIntegralInRange(-100000, 100000) / 64.0;
    }
}

// A finite double, as awkward as AwkwardDouble otherwise.
inline double AwkwardFinite(FuzzedDataProvider& data) {
    const double value = AwkwardDouble(data);
    return value - value == 0.0 ? value : 0.0;
}

}  // namespace fuzz
