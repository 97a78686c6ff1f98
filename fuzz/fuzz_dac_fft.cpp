// The spectrum's real FFT against the plain definition X[k] = sum x[n] e^(-2 pi i k n / N)
// summed in long double, for every power-of-two length from 4 to 1024 and inputs of any
// shape (bytes like the tables', wide integers, steps and single impulses): every bin must
// agree to a billionth of the input's total magnitude.
#include <cmath>
#include <complex>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "core/dac/real_fft.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const std::size_t n = std::size_t{1} << data.ConsumeIntegralInRange(2, 10);
    const int shape = data.ConsumeIntegralInRange(0, 2);
    std::vector<double> x(n);
    for (double& v : x) {
        switch (shape) {
            case 0:
                v = data.ConsumeIntegral<std::uint8_t>();
                break;
            case 1:
                v = data.ConsumeIntegralInRange(-(1 << 24), 1 << 24) / 256.0;
                break;
            default:
                v = data.ConsumeBool() ? 255.0 : 0.0;
                break;
        }
    }
    dac::RealFft fft(n);
    std::vector<std::complex<double>> out(n / 2 + 1);
    fft.Transform(x, out);

    long double scale = 0;
    for (double v : x) scale += std::fabs(static_cast<long double>(v));
    const long double tolerance = 1e-9L * (scale + 1);
    std::vector<long double> cosine(n), sine(n);
    for (std::size_t m = 0; m < n; ++m) {
        const long double a = 2 * std::numbers::pi_v<long double> * static_cast<long double>(m) /
                              static_cast<long double>(n);
        cosine[m] = std::cos(a);
        sine[m] = std::sin(a);
    }
    for (std::size_t k = 0; k <= n / 2; ++k) {
        long double re = 0, im = 0;
        for (std::size_t i = 0; i < n; ++i) {
            re += x[i] * cosine[(k * i) % n];
            im -= x[i] * sine[(k * i) % n];
        }
        const long double error = std::hypot(out[k].real() - re, out[k].imag() - im);
        if (!(error <= tolerance)) {
            fuzz::Fail("RealFft of length " + std::to_string(n) + " bin " + std::to_string(k) +
                       " is off by " + std::to_string(static_cast<double>(error)));
        }
    }
    return 0;
}
