#include "core/output/render.h"

#include <array>
#include <charconv>
#include <string>

#include "core/dds/generator.h"

namespace output {

namespace {

constexpr std::size_t kChunkBytes = 1 << 16;

char* WriteDecimal(char* at, std::uint64_t value) {
    return std::to_chars(at, at + 20, value).ptr;
}

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

void RenderCsv(const RenderSource& source, std::int64_t samples, const ByteSink& sink) {
    dds::Generator generator(source.Wave, source.Increment);
    dds::Sample sample = generator.Output();
    // The longest row: 8 digits of step, 5 + 3 + 3 + 3 of the rest, 4 commas, CR LF.
    constexpr std::size_t kLongestRow = 64;
    std::string buffer(kChunkBytes + kLongestRow, '\0');
    std::size_t used = kCsvHeader.size();
    buffer.replace(0, used, kCsvHeader);
    for (std::int64_t step = 0; step < samples; ++step) {
        if (used > kChunkBytes) {
            sink(std::string_view(buffer.data(), used));
            used = 0;
        }
        char* at = buffer.data() + used;
        at = WriteDecimal(at, static_cast<std::uint64_t>(step));
        *at++ = ',';
        at = WriteDecimal(at, sample.Accumulator);
        *at++ = ',';
        at = WriteDecimal(at, sample.High());
        *at++ = ',';
        at = WriteDecimal(at, sample.Low());
        *at++ = ',';
        at = WriteDecimal(at, sample.Value);
        *at++ = '\r';
        *at++ = '\n';
        used = static_cast<std::size_t>(at - buffer.data());
        sample = generator.Step();
    }
    sink(std::string_view(buffer.data(), used));
}

std::vector<std::uint8_t> WavHeader(std::uint32_t sampleRateHz, std::uint32_t samples) {
    const std::uint32_t padded = samples + (samples & 1u);
    std::vector<std::uint8_t> h;
    h.reserve(44);
    for (char c : std::string_view("RIFF")) h.push_back(static_cast<std::uint8_t>(c));
    PutLe(h, 36 + padded, 4);
    for (char c : std::string_view("WAVEfmt ")) h.push_back(static_cast<std::uint8_t>(c));
    PutLe(h, 16, 4);            // size of the format chunk
    PutLe(h, 1, 2);             // PCM
    PutLe(h, 1, 2);             // mono
    PutLe(h, sampleRateHz, 4);  // samples per second
    PutLe(h, sampleRateHz, 4);  // bytes per second: one byte per sample
    PutLe(h, 1, 2);             // block alignment
    PutLe(h, 8, 2);             // bits per sample
    for (char c : std::string_view("data")) h.push_back(static_cast<std::uint8_t>(c));
    PutLe(h, samples, 4);
    return h;
}

std::uint64_t WavFileSize(int seconds, int clockHz) {
    const std::uint64_t samples =
        static_cast<std::uint64_t>(seconds) * static_cast<std::uint64_t>(clockHz);
    return 44 + samples + (samples & 1u);
}

void RenderWav(const RenderSource& source, int seconds, int clockHz, const ByteSink& sink) {
    dds::Generator generator(source.Wave, source.Increment);
    dds::Sample sample = generator.Output();
    const std::uint64_t samples =
        static_cast<std::uint64_t>(seconds) * static_cast<std::uint64_t>(clockHz);
    const std::vector<std::uint8_t> header =
        WavHeader(static_cast<std::uint32_t>(clockHz), static_cast<std::uint32_t>(samples));
    sink(std::string_view(reinterpret_cast<const char*>(header.data()), header.size()));
    std::string buffer(kChunkBytes, '\0');
    std::uint64_t left = samples;
    while (left > 0) {
        const std::size_t n = left < kChunkBytes ? static_cast<std::size_t>(left) : kChunkBytes;
        for (std::size_t i = 0; i < n; ++i) {
            buffer[i] = static_cast<char>(sample.Value);
            sample = generator.Step();
        }
        sink(std::string_view(buffer.data(), n));
        left -= n;
    }
    if (samples & 1u) sink(std::string_view("\0", 1));
}

}  // namespace output
