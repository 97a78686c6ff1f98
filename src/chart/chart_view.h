#pragma once
// The chart window: axes, grid, labels and the stepped line of its series, drawn into an
// off-screen picture that is redrawn only when out of date.
#include "chart/axis.h"
#include "chart/series.h"
#include "ui/control.h"

namespace chart {

class ChartView : public ui::Control {
public:
    Axis BottomAxis;
    Axis LeftAxis;

    // The series drawn; it asks this chart to repaint on every change.
    void AddSeries(Series& series);
    // Marks the picture out of date and invalidates the window.
    void RequestRepaint();

protected:
    void CreateWindowFor(HWND parent, const RECT& rect) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Redraw(HDC dc, int width, int height);

    Series* series_ = nullptr;
    ui::OffscreenBitmap picture_;
    bool pictureValid_ = false;
};

}  // namespace chart
