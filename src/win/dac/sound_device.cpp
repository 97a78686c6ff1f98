#include "win/dac/sound_device.h"

#include <windows.h>

#include <mmsystem.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "win/ui/handles.h"
#include "win/ui/text.h"
#include "win/ui/win32_error.h"

namespace dac {

namespace {

struct EventTraits {
    using Handle = HANDLE;
    static void Close(HANDLE h) noexcept { CloseHandle(h); }
};
using UniqueEvent = ui::UniqueHandle<EventTraits>;

// The stop phase waits at most this long for the queued blocks to play out; a device that
// stalls is reset after it.
constexpr DWORD kDrainLimitMs = 500;

std::u16string DeviceError(std::u16string_view action, MMRESULT code) {
    wchar_t text[MAXERRORLENGTH] = {};
    std::u16string message(action);
    if (waveOutGetErrorTextW(code, text, MAXERRORLENGTH) == MMSYSERR_NOERROR && text[0] != 0) {
        message += u": ";
        message += ui::ToU16(text);
    }
    message += u" (" + ui::ToU16(std::to_wstring(code)) + u")";
    return message;
}

// The device sets WHDR_DONE from its own thread.
bool Done(const WAVEHDR& header) {
    return (*static_cast<const volatile DWORD*>(&header.dwFlags) & WHDR_DONE) != 0;
}

}  // namespace

std::u16string SoundOutputProblem() {
    if (waveOutGetNumDevs() == 0) return u"No sound output device is available.";
    return {};
}

struct SoundDevice::Impl {
    Impl(const SharedToneSetting& shared, const SoundDeviceOptions& options);
    ~Impl() { Close(); }

    void Run() noexcept;
    void Stream();
    void Submit(std::size_t index, const ToneSetting& tone);
    void Fail(SoundState newState, std::u16string why);
    void Close() noexcept;

    const SharedToneSetting& setting;
    int blockMs;
    BlockProducer producer;
    std::vector<std::vector<std::int16_t>> buffers;
    std::vector<WAVEHDR> headers;
    HWAVEOUT wave = nullptr;
    UniqueEvent done;  // auto-reset; the device signals it for each finished block
    UniqueEvent stop;  // manual-reset; set once by Close
    std::size_t inFlight = 0;
    std::size_t oldest = 0;  // the first block still queued

    std::atomic<SoundState> state{SoundState::Stopped};
    std::atomic<std::uint64_t> played{0};
    std::atomic<std::uint64_t> underruns{0};
    mutable std::mutex problemMutex;
    std::u16string problem;
    std::thread thread;
};

SoundDevice::Impl::Impl(const SharedToneSetting& shared, const SoundDeviceOptions& options)
    : setting(shared),
      blockMs(std::max(1, options.BlockMs)),
      producer(ClampClockHz(options.ClockHz)) {
    const int clockHz = ClampClockHz(options.ClockHz);
    const auto samples = static_cast<std::size_t>(std::max(1, clockHz * blockMs / 1000));
    const auto count = static_cast<std::size_t>(std::max(2, options.QueuedBlocks));
    buffers.assign(count, std::vector<std::int16_t>(samples));
    headers.assign(count, WAVEHDR{});

    if (std::u16string why = SoundOutputProblem(); !why.empty()) {
        Fail(SoundState::NoDevice, std::move(why));
        return;
    }
    done.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    stop.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!done || !stop) {
        Fail(SoundState::NoDevice, u"The sound output cannot be started: no event for it.");
        return;
    }
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = static_cast<DWORD>(clockHz);
    format.wBitsPerSample = 16;
    format.nBlockAlign = 2;
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    const MMRESULT opened = waveOutOpen(&wave, WAVE_MAPPER, &format,
                                        reinterpret_cast<DWORD_PTR>(done.Get()), 0, CALLBACK_EVENT);
    if (opened != MMSYSERR_NOERROR) {
        wave = nullptr;
        Fail(SoundState::NoDevice,
             DeviceError(u"The sound output device cannot be opened", opened));
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        headers[i].lpData = reinterpret_cast<LPSTR>(buffers[i].data());
        headers[i].dwBufferLength = static_cast<DWORD>(samples * sizeof(std::int16_t));
        const MMRESULT prepared = waveOutPrepareHeader(wave, &headers[i], sizeof(WAVEHDR));
        if (prepared != MMSYSERR_NOERROR) {
            Close();
            Fail(SoundState::NoDevice,
                 DeviceError(u"The sound output device refuses its buffers", prepared));
            return;
        }
    }
    state = SoundState::Playing;
    thread = std::thread([this] { Run(); });
}

void SoundDevice::Impl::Fail(SoundState newState, std::u16string why) {
    {
        const std::lock_guard<std::mutex> lock(problemMutex);
        problem = std::move(why);
    }
    state = newState;
}

void SoundDevice::Impl::Submit(std::size_t index, const ToneSetting& tone) {
    producer.Fill(buffers[index], tone);
    const MMRESULT written = waveOutWrite(wave, &headers[index], sizeof(WAVEHDR));
    if (written != MMSYSERR_NOERROR) {
        throw ui::Win32Error(ui::ToUtf8(ui::ToWide(DeviceError(u"Cannot play sound", written))), 0);
    }
    ++inFlight;
}

void SoundDevice::Impl::Run() noexcept {
    // A block takes microseconds to make; ahead of the window's drawing, the thread keeps
    // the queue full however busy the window is.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    try {
        Stream();
    } catch (const std::exception&) {
        Fail(SoundState::Stopped, u"The sound output device stopped accepting sound.");
    }
}

void SoundDevice::Impl::Stream() {
    const std::size_t count = headers.size();
    for (std::size_t i = 0; i < count; ++i) Submit(i, setting.Load());
    bool stopping = false;
    bool fadeQueued = false;
    DWORD drainedMs = 0;
    const HANDLE waits[2] = {done.Get(), stop.Get()};
    while (true) {
        // Stopping, only the device's event is waited for: the stop event stays set.
        const DWORD woke =
            WaitForMultipleObjects(stopping ? 1 : 2, waits, FALSE, static_cast<DWORD>(blockMs * 4));
        if (woke == WAIT_FAILED) {
            throw ui::Win32Error::FromLastError("Cannot wait for the sound device");
        }
        if (woke == WAIT_OBJECT_0 + 1) stopping = true;
        if (woke == WAIT_TIMEOUT && stopping) {
            drainedMs += static_cast<DWORD>(blockMs * 4);
            if (drainedMs >= kDrainLimitMs) return;
        }
        std::size_t finished = 0;
        while (finished < inFlight && Done(headers[(oldest + finished) % count])) ++finished;
        if (finished == 0) continue;
        if (finished == inFlight && !stopping) ++underruns;
        played += finished;
        inFlight -= finished;
        for (std::size_t k = 0; k < finished; ++k) {
            const std::size_t index = oldest;
            oldest = (oldest + 1) % count;
            if (!stopping) {
                Submit(index, setting.Load());
            } else if (!fadeQueued) {
                // One last block that ramps the gain to 0: the sound ends without a click.
                ToneSetting silent = setting.Load();
                silent.VolumePercent = 0;
                Submit(index, silent);
                fadeQueued = true;
            }
        }
        if (stopping && fadeQueued && inFlight == 0) return;
    }
}

void SoundDevice::Impl::Close() noexcept {
    if (thread.joinable()) {
        SetEvent(stop.Get());
        thread.join();
    }
    if (wave != nullptr) {
        waveOutReset(wave);
        for (WAVEHDR& header : headers) {
            if (header.dwFlags & WHDR_PREPARED) {
                waveOutUnprepareHeader(wave, &header, sizeof(WAVEHDR));
            }
        }
        waveOutClose(wave);
        wave = nullptr;
    }
    if (state == SoundState::Playing) state = SoundState::Stopped;
}

SoundDevice::SoundDevice(const SharedToneSetting& setting, const SoundDeviceOptions& options)
    : impl_(std::make_unique<Impl>(setting, options)) {}

SoundDevice::~SoundDevice() = default;
SoundDevice::SoundDevice(SoundDevice&&) noexcept = default;
SoundDevice& SoundDevice::operator=(SoundDevice&&) noexcept = default;

SoundState SoundDevice::State() const noexcept {
    return impl_ ? impl_->state.load() : SoundState::Stopped;
}

std::u16string SoundDevice::Problem() const {
    if (!impl_) return {};
    const std::lock_guard<std::mutex> lock(impl_->problemMutex);
    return impl_->problem;
}

std::uint64_t SoundDevice::BlocksPlayed() const noexcept {
    return impl_ ? impl_->played.load() : 0;
}

std::uint64_t SoundDevice::Underruns() const noexcept {
    return impl_ ? impl_->underruns.load() : 0;
}

int SoundDevice::BlockSamples() const noexcept {
    return impl_ ? static_cast<int>(impl_->buffers.front().size()) : 0;
}

void SoundDevice::Stop() noexcept {
    if (impl_) impl_->Close();
}

}  // namespace dac
