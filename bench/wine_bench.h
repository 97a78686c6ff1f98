// What the Wine benchmarks share: a clock, the process's CPU time, a timing of repeated
// calls (best and median), and a message pump that sleeps until a message comes, as the
// program's loop does, so that the CPU time measured is the program's and not the pumping's.
#pragma once

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// User and kernel time of this process so far.
inline double ProcessCpuMs() {
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ms = [](const FILETIME& t) {
        return static_cast<double>(static_cast<unsigned long long>(t.dwHighDateTime) << 32 |
                                   t.dwLowDateTime) /
               1e4;
    };
    return ms(kernel) + ms(user);
}

// Handles messages for `duration`.
inline void Pump(std::chrono::milliseconds duration) {
    const auto end = Clock::now() + duration;
    while (Clock::now() < end) {
        MSG msg{};
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        } else {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
            MsgWaitForMultipleObjects(
                0, nullptr, FALSE, static_cast<DWORD>(std::max<long long>(left, 0)), QS_ALLINPUT);
        }
    }
}

// The best and the median wall time of `runs` calls of `once`.
struct Figures {
    double bestMs;
    double medianMs;
};

inline Figures Time(int runs, const std::function<void()>& once) {
    std::vector<double> samples;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        once();
        samples.push_back(MsSince(start));
    }
    std::sort(samples.begin(), samples.end());
    return {samples.front(), samples[samples.size() / 2]};
}

}  // namespace bench
