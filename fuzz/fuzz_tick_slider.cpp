// The tick slider's model under random input over random ranges, widths and metrics:
// the position stays in range, every change is reported and only accepted requests are,
// the capture is held exactly from a press to its release, the effects name every state
// the view must apply, and the repaint of a moved thumb covers what it uncovered.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "core/base/rect.h"
#include "core/controls/tick_slider_geometry.h"
#include "fuzz_support.h"

namespace {

using base::RectPx;
using controls::SliderEffects;
using controls::SliderKey;
using controls::SliderMode;
using controls::TickSliderMetrics;
using controls::TickSliderModel;
using fuzz::Fail;
using fuzz::Require;

constexpr int kIntMin = std::numeric_limits<int>::min();
constexpr int kIntMax = std::numeric_limits<int>::max();

int AnyBound(FuzzedDataProvider& data) {
    switch (data.ConsumeIntegralInRange(0, 3)) {
        case 0:
            return data.ConsumeIntegral<int>();
        case 1:
            return data.ConsumeBool() ? kIntMin : kIntMax;
        default:
            return data.ConsumeIntegralInRange(-20000, 20000);
    }
}

TickSliderMetrics AnyMetrics(FuzzedDataProvider& data) {
    if (data.ConsumeBool()) {
        return TickSliderMetrics{}.ScaledBy(data.ConsumeIntegralInRange(48, 480), 120);
    }
    TickSliderMetrics m;
    for (int* v : {&m.BorderPx, &m.ThumbWidthPx, &m.ThumbHeightPx, &m.HalfWidthPx, &m.TrackOffsetPx,
                   &m.TrackWidthPx, &m.TickEndPx, &m.ThumbLiftPx}) {
        *v = data.ConsumeIntegralInRange(0, 60);
    }
    return m;
}

// Division rounding towards minus infinity.
long long FloorDiv(long long a, long long b) {
    const long long q = a / b;
    return q * b > a ? q - 1 : q;
}

long long Area(const RectPx& r) {
    return r.Empty() ? 0 : static_cast<long long>(r.Width()) * r.Height();
}

// The pieces of the old thumb that the new one leaves uncovered: disjoint, inside the
// old thumb, outside the new one, and with the overlap they make up the old thumb.
void CheckUncovered(const RectPx& before, const RectPx& after) {
    const base::RectPieces pieces = base::Difference(before, after);
    long long area = Area(base::Intersection(before, after));
    for (std::size_t i = 0; i < pieces.Count; ++i) {
        const RectPx& piece = pieces.Rects[i];
        Require(!piece.Empty(), "no empty piece");
        Require(before.Covers(piece), "a piece lies inside the old thumb");
        Require(base::Intersection(piece, after).Empty(), "a piece lies outside the new thumb");
        for (std::size_t j = 0; j < i; ++j) {
            Require(base::Intersection(piece, pieces.Rects[j]).Empty(), "pieces are disjoint");
        }
        area += Area(piece);
    }
    Require(area == Area(before), "pieces and overlap make up the old thumb");
}

void CheckGeometry(const TickSliderModel& model) {
    const controls::TickSliderLayout& layout = model.Layout();
    const RectPx thumb = model.ThumbRect();
    const int travel = layout.TravelSpanPx();
    const int border = layout.Metrics.BorderPx;
    const int lowest = border + std::min(travel, 0);
    const int highest = border + std::max(travel, 0);
    Require(thumb.Left >= lowest && thumb.Left <= highest, "the thumb travels within its span");
    Require(thumb.Width() == layout.Metrics.ThumbWidthPx, "the thumb's width");
    if (model.Position() == model.Min()) Require(thumb.Left == border, "at Min the thumb is left");
    if (model.Position() == model.Max() && model.Max() > model.Min()) {
        Require(thumb.Left == border + travel, "at Max the thumb is right");
    }

    // Tick marks, where their number is small enough to list.
    const int step = model.TickStep();
    if (step > 0 && (static_cast<long long>(model.Max()) - model.Min()) / step < 5000) {
        const std::vector<int> xs = layout.TickXs(step);
        const long long expected = FloorDiv(model.Max(), step) - FloorDiv(model.Min() - 1LL, step);
        Require(static_cast<long long>(xs.size()) == expected, "one tick per multiple");
        Require(std::is_sorted(xs.begin(), xs.end()) || travel < 0, "ticks in order");
        for (const int x : xs) {
            const int half = layout.Metrics.HalfWidthPx;
            Require(x >= lowest + half && x <= highest + half, "ticks under the thumb's travel");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const bool designed = data.ConsumeBool();
    const int min = designed ? 1 : AnyBound(data);
    const int max = designed ? 10000 : AnyBound(data);
    const int pageSize = designed ? 1 : AnyBound(data);
    const int tickStep = designed ? 256 : data.ConsumeIntegralInRange(-2, 100000);
    TickSliderModel model(min, max, designed ? 256 : AnyBound(data), pageSize, tickStep);
    model.SetWidthPx(designed ? 257 : data.ConsumeIntegralInRange(0, 5000));
    if (!designed) model.SetMetrics(AnyMetrics(data));

    fuzz::Trace("range %d..%d position %d page %d tick %d width %d travel %d\n", min, max,
                model.Position(), pageSize, tickStep, model.Layout().WidthPx,
                model.Layout().TravelSpanPx());
    Require(model.Min() == min && model.Max() == std::max(min, max), "the range as built");
    // The left button: a press comes only while it is up; after a lost capture its
    // release goes to another window.
    bool buttonDown = false;
    for (int event = 0; event < 64 && data.remaining_bytes() > 0; ++event) {
        const int before = model.Position();
        const RectPx thumbBefore = model.ThumbRect();
        const bool captureBefore = model.HoldsCapture();
        const bool hotBefore = model.UseHotThumb();
        const bool timerBefore = model.RepeatTimerRunning();
        const unsigned intervalBefore = model.RepeatIntervalMs();
        const RectPx track = model.TrackRect();
        // Pointer positions near the track and thumb mostly, anywhere in 16 bits else.
        const auto x = [&] {
            return data.ConsumeBool() ? data.ConsumeIntegralInRange(
                                            track.Left - 4, std::max(track.Left, track.Right) + 4)
                                      : static_cast<int>(data.ConsumeIntegral<std::int16_t>());
        };
        const auto y = [&] {
            return data.ConsumeBool() ? data.ConsumeIntegralInRange(
                                            track.Top - 14, std::max(track.Top, track.Bottom) + 14)
                                      : static_cast<int>(data.ConsumeIntegral<std::int16_t>());
        };

        // Inputs that end a press (release, lost capture) or only change the look never
        // request a position.
        enum class Input { Key, Press, Move, Release, Leave, StopRepeat, Timer };
        Input input = Input::Timer;
        switch (data.ConsumeIntegralInRange(0, 9)) {
            case 0:
            case 1:
                input = Input::Key;
                break;
            case 2:
            case 3:
                input = buttonDown ? Input::Release : Input::Press;
                break;
            case 4:
            case 5:
                input = Input::Move;
                break;
            case 6:
            case 7:
                input = data.ConsumeBool() ? Input::Release : Input::Leave;
                break;
            case 8:
                input = Input::StopRepeat;
                break;
            default:
                break;
        }
        SliderEffects fx;
        bool requests = false;
        switch (input) {
            case Input::Key: {
                const int key = data.ConsumeIntegralInRange(0, static_cast<int>(SliderKey::Other));
                fuzz::Trace("key %d ", key);
                fx = model.Key(static_cast<SliderKey>(key));
                requests = true;
                break;
            }
            case Input::Press: {
                const int px = x();
                const int py = y();
                fuzz::Trace("press %d,%d ", px, py);
                fx = model.LeftPress(px, py);
                buttonDown = true;
                requests = true;
                break;
            }
            case Input::Move: {
                const int px = x();
                const int py = y();
                fuzz::Trace("move %d,%d ", px, py);
                fx = model.MouseMove(px, py);
                requests = true;
                break;
            }
            case Input::Release:
                if (data.ConsumeBool()) {
                    fuzz::Trace("release ");
                    fx = model.LeftRelease();
                } else {
                    fuzz::Trace("capture lost ");
                    fx = model.CaptureLost();
                }
                buttonDown = false;
                break;
            case Input::Leave:
                fuzz::Trace("leave ");
                fx = model.MouseLeave();
                break;
            case Input::StopRepeat:
                fuzz::Trace("stop repeat ");
                fx = model.StopRepeat();
                break;
            case Input::Timer:
                fuzz::Trace("timer ");
                fx = model.RepeatTimerFired();
                requests = true;
                break;
        }

        const int after = model.Position();
        fuzz::Trace("-> position %d mode %d capture %d timer %d/%u changed %d\n", after,
                    static_cast<int>(model.Mode()), model.HoldsCapture(),
                    model.RepeatTimerRunning(), model.RepeatIntervalMs(), fx.Changed);
        Require(after >= model.Min() && after <= model.Max(), "the position stays within Min..Max");
        Require(after == before || fx.Changed, "every change of position is reported");
        if (fx.Changed) {
            Require(requests, "only inputs that request a position report a change");
            Require(after != before || after == model.Min() || after == model.Max(),
                    "a change reported without a move is a request clamped back to an end");
        }
        Require(fx.Capture == (captureBefore != model.HoldsCapture()),
                "Capture is reported exactly when the capture changes");
        Require(!model.HoldsCapture() || buttonDown,
                "the capture is held only while the button is");
        Require(captureBefore == model.HoldsCapture() || input == Input::Press ||
                    input == Input::Release,
                "the capture is taken by a press and given up by a release or when lost");
        Require(!model.HoldsCapture() || captureBefore || input == Input::Press,
                "only a press takes the capture");
        Require(model.Mode() == SliderMode::Idle || model.HoldsCapture(),
                "a press or a drag holds the capture");
        Require(!model.RepeatTimerRunning() || model.Mode() == SliderMode::TrackPress,
                "the repeat runs only during a track press");
        Require(!(timerBefore != model.RepeatTimerRunning() ||
                  intervalBefore != model.RepeatIntervalMs()) ||
                    fx.Timer,
                "every change of the repeat timer is reported");
        Require(hotBefore == model.UseHotThumb() || fx.ThumbLook,
                "every change of the thumb's look is reported");
        if (after != before) CheckUncovered(thumbBefore, model.ThumbRect());
        CheckGeometry(model);
    }
    return 0;
}
