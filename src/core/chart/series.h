// The point store of the chart's one line: each y value with its running index as x
// (so x ascends), and the two events through which the window and the view follow it.
#pragma once

#include <functional>
#include <span>
#include <vector>

namespace chart {

class Series {
public:
    // Raised by AddY once the point is stored in both arrays, before any
    // repaint is asked for. The handler may call Clear() (auto clear); an
    // exception from it leaves AddY at once, the point stored, no repaint asked.
    std::function<void(Series&, int valueIndex)> OnAfterAdd;

    // Asked after every add (once OnAfterAdd has returned) and by Clear().
    std::function<void()> OnRepaintRequest;

    // Appends y with x = Count() before the call; returns the point's index, which is that
    // same count. Constant time apart from storage growth.
    int AddY(double y);

    // Empties both arrays and releases their storage, then asks for a repaint.
    void Clear();

    // Makes room for `count` points at once, without changing the contents: a caller that
    // fills a long history in one go need not grow the arrays 1000 entries at a time.
    void Reserve(int count);

    int Count() const { return static_cast<int>(xValues_.size()); }
    // Entries the arrays hold before they must grow; grows by 1000 when full.
    int Capacity() const { return static_cast<int>(xValues_.capacity()); }

    std::span<const double> XValues() const { return xValues_; }
    std::span<const double> YValues() const { return yValues_; }

    // Changes whenever the stored points go (a clear); an append keeps it. Points 0 .. n - 1 seen
    // under one generation are the same points for as long as it lasts.
    unsigned Generation() const { return generation_; }

private:
    static constexpr int kGrowthEntries = 1000;

    void GrowIfFull();

    std::vector<double> xValues_;
    std::vector<double> yValues_;
    unsigned generation_ = 0;
};

}  // namespace chart
