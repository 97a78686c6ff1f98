// The chart's pixels redrawn step by step against a redraw from nothing: the input is a
// sequence of appends (single or in bursts, levels from 0..255 or anywhere), clears,
// ranges of either axis (small, huge, empty, reversed by nothing: as the view sets them),
// surface and size changes, each followed by a redraw. After every redraw the kept picture
// equals a picture drawn from nothing, and no pixel outside the reported area changed.
#include <cstdint>
#include <string>
#include <utility>

#include "core/chart/chart_picture.h"
#include "fuzz_support.h"
#include "picture_replay.h"

namespace {

double Level(FuzzedDataProvider& data) {
    return data.ConsumeIntegralInRange(0, 7) == 0 ? fuzz::AwkwardFinite(data)
                                                  : data.ConsumeIntegralInRange(-5, 260);
}

// Minimum and maximum as a zoom or scroll leaves them: mostly near the data, sometimes any
// finite pair in order.
void Range(FuzzedDataProvider& data, double& minimum, double& maximum) {
    if (data.ConsumeBool()) {
        minimum = data.ConsumeIntegralInRange(-300, 300) / 4.0;
        maximum = minimum + data.ConsumeIntegralInRange(0, 2000) / 4.0;
        return;
    }
    minimum = fuzz::AwkwardFinite(data);
    maximum = fuzz::AwkwardFinite(data);
    if (maximum < minimum) std::swap(minimum, maximum);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    chart_test::PictureReplay replay(data.ConsumeIntegralInRange(1, 260),
                                     data.ConsumeIntegralInRange(1, 160));
    for (int step = 0; step < 64 && data.remaining_bytes() > 0; ++step) {
        double minimum = 0;
        double maximum = 0;
        const int choice = data.ConsumeIntegralInRange(0, 9);
        switch (choice) {
            case 0:
            case 1:
            case 2:
                replay.Append(Level(data));
                fuzz::Trace("append\n");
                break;
            case 3:
                for (int n = data.ConsumeIntegralInRange(1, 100); n > 0; --n) {
                    replay.Append(data.ConsumeIntegralInRange(0, 255));
                }
                fuzz::Trace("burst to %d points\n", replay.Points().Count());
                break;
            case 4:
                replay.Clear();
                fuzz::Trace("clear\n");
                break;
            case 5:
            case 6: {
                const bool bottom = choice == 5;
                Range(data, minimum, maximum);
                if (bottom) {
                    replay.SetBottomRange(minimum, maximum);
                } else {
                    replay.SetLeftRange(minimum, maximum);
                }
                fuzz::Trace("%s %s..%s\n", bottom ? "bottom" : "left", fuzz::Show(minimum).c_str(),
                            fuzz::Show(maximum).c_str());
                break;
            }
            case 7:
                replay.SetSurface(data.ConsumeBool() ? chart::Surface::Aliased
                                                     : chart::Surface::AntiAliased);
                fuzz::Trace("surface\n");
                break;
            case 8:
                replay.Resize(data.ConsumeIntegralInRange(1, 260),
                              data.ConsumeIntegralInRange(1, 160));
                fuzz::Trace("size\n");
                break;
            default:
                fuzz::Trace("redraw without a change\n");
                break;
        }
        const std::string fault = replay.RedrawAndCheck();
        if (!fault.empty()) fuzz::Fail(fault + " after step " + std::to_string(step));
    }
    return 0;
}
