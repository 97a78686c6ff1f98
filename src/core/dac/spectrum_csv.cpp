#include "core/dac/spectrum_csv.h"

#include <charconv>
#include <cstdint>
#include <string>

namespace dac {

namespace {

constexpr std::size_t kChunkBytes = 1 << 16;

// numerator / 65536 in decimals, exactly: the long division ends within 16 digits.
void AppendExactSixteenths(std::string& out, std::int64_t numerator) {
    out += std::to_string(numerator / kSpectrumSamples);
    std::int64_t rest = numerator % kSpectrumSamples;
    if (rest == 0) return;
    out += '.';
    while (rest != 0) {
        rest *= 10;
        out += static_cast<char>('0' + rest / kSpectrumSamples);
        rest %= kSpectrumSamples;
    }
}

void AppendLevel(std::string& out, double levelDb) {
    char text[32];
    const auto result =
        std::to_chars(text, text + sizeof text, levelDb, std::chars_format::fixed, 3);
    // A level that rounds to 0 from below reads as 0.000, not -0.000.
    const std::string_view written(text, static_cast<std::size_t>(result.ptr - text));
    out += written == "-0.000" ? std::string_view("0.000") : written;
}

}  // namespace

void WriteSpectrumCsv(const Spectrum& spectrum, int clockHz, const base::ByteSink& sink) {
    std::string buffer(kSpectrumCsvHeader);
    for (std::size_t k = 0; k < spectrum.LevelDb.size(); ++k) {
        const double level = spectrum.LevelDb[k];
        if (!(level > kNoComponentDb)) continue;
        if (buffer.size() > kChunkBytes) {
            sink(buffer);
            buffer.clear();
        }
        buffer += std::to_string(k);
        buffer += ',';
        AppendExactSixteenths(buffer, static_cast<std::int64_t>(k) * clockHz);
        buffer += ',';
        AppendLevel(buffer, level);
        buffer += "\r\n";
    }
    sink(buffer);
}

}  // namespace dac
