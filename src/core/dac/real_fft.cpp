#include "core/dac/real_fft.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace dac {

namespace {

using Pair = RealFft::Pair;

inline Pair Times(Pair a, Pair b) noexcept {
    return {a.Re * b.Re - a.Im * b.Im, a.Re * b.Im + a.Im * b.Re};
}

}  // namespace

RealFft::RealFft(std::size_t size) : size_(size) {
    if (size < 4 || (size & (size - 1)) != 0 || size > (std::size_t{1} << 31)) {
        throw std::invalid_argument("RealFft: the size must be a power of two from 4");
    }
    const std::size_t half = size / 2;
    twiddles_.resize(half);
    // Each factor from its own angle, so no error accumulates along the table; the first
    // eighth of the circle is computed and the rest mirrored, which keeps every factor
    // as close to the true value as its neighbours.
    const std::size_t eighth = size / 8;
    for (std::size_t k = 0; k <= eighth && k < half; ++k) {
        const double angle =
            2.0 * std::numbers::pi * static_cast<double>(k) / static_cast<double>(size);
        const double c = std::cos(angle);
        const double s = std::sin(angle);
        // e^(-i a) for a = 2 pi k / size, and its images under a -> pi/2 - a, a -> pi/2 + a
        // and a -> pi - a.
        twiddles_[k] = {c, -s};
        if (size / 4 - k < half) twiddles_[size / 4 - k] = {s, -c};
        if (size / 4 + k < half) twiddles_[size / 4 + k] = {-s, -c};
        if (k != 0 && size / 2 - k < half) twiddles_[size / 2 - k] = {-c, -s};
    }
    reversed_.resize(half);
    int bits = 0;
    while ((std::size_t{1} << bits) < half) ++bits;
    for (std::size_t i = 0; i < half; ++i) {
        std::uint32_t r = 0;
        for (int b = 0; b < bits; ++b) {
            r |= static_cast<std::uint32_t>((i >> b) & 1u) << (bits - 1 - b);
        }
        reversed_[i] = r;
    }
    work_.resize(half);
}

void RealFft::Transform(std::span<const double> input, std::span<std::complex<double>> output) {
    if (input.size() != size_ || output.size() != size_ / 2 + 1) {
        throw std::invalid_argument("RealFft::Transform: wrong input or output length");
    }
    const std::size_t half = size_ / 2;
    // The even samples as real parts and the odd ones as imaginary parts of one complex
    // signal of half the length, in bit-reversed order for the in-place passes.
    Pair* z = work_.data();
    const Pair* w = twiddles_.data();
    for (std::size_t i = 0; i < half; ++i) {
        const std::size_t from = reversed_[i];
        z[i] = {input[2 * from], input[2 * from + 1]};
    }
    // Radix-2 passes; a pass of length `len` uses e^(-2 pi i j / len) = twiddles_[j x stride].
    for (std::size_t len = 2; len <= half; len *= 2) {
        const std::size_t step = len / 2;
        const std::size_t stride = size_ / len;
        for (std::size_t start = 0; start < half; start += len) {
            for (std::size_t j = 0; j < step; ++j) {
                Pair& a = z[start + j];
                Pair& b = z[start + j + step];
                const Pair t = Times(w[j * stride], b);
                b = {a.Re - t.Re, a.Im - t.Im};
                a = {a.Re + t.Re, a.Im + t.Im};
            }
        }
    }
    // Splitting Z into the transforms of the even (E) and odd (O) samples:
    // E[k] = (Z[k] + conj Z[-k]) / 2, O[k] = (Z[k] - conj Z[-k]) / 2i, X[k] = E + w^k O.
    output[0] = {z[0].Re + z[0].Im, 0.0};
    output[half] = {z[0].Re - z[0].Im, 0.0};
    for (std::size_t k = 1; k < half; ++k) {
        const Pair a = z[k];
        const Pair b = z[half - k];
        const Pair even = {(a.Re + b.Re) / 2, (a.Im - b.Im) / 2};
        const Pair odd = {(a.Im + b.Im) / 2, -(a.Re - b.Re) / 2};
        const Pair t = Times(w[k], odd);
        output[k] = {even.Re + t.Re, even.Im + t.Im};
    }
}

}  // namespace dac
