// The discrete Fourier transform of a real signal whose length is a power of two, in
// O(N log N): X[k] = sum over n of x[n] e^(-2 pi i k n / N), for k = 0 .. N / 2 (the rest
// mirror these). The transform owns its twiddle factors and work space, so that a caller
// who keeps one transforms again without allocating.
#pragma once

#include <complex>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace dac {

class RealFft {
public:
    // `size`: a power of two, at least 4; anything else throws std::invalid_argument.
    explicit RealFft(std::size_t size);

    std::size_t Size() const noexcept { return size_; }

    // `input` holds Size() samples, `output` receives Size() / 2 + 1 bins; other lengths
    // throw std::invalid_argument.
    void Transform(std::span<const double> input, std::span<std::complex<double>> output);

    // A complex number as two doubles: the passes multiply them written out, because
    // std::complex's product checks for infinities and NaNs on every call.
    struct Pair {
        double Re;
        double Im;
    };

private:
    std::size_t size_;
    // e^(-2 pi i k / size_) for k < size_ / 2.
    std::vector<Pair> twiddles_;
    // The bit-reversed order of the half-length complex transform.
    std::vector<std::uint32_t> reversed_;
    std::vector<Pair> work_;
};

}  // namespace dac
