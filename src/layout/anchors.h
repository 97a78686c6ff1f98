#pragma once
// How an anchored control follows its parent's client size.
#include "layout/scale.h"

namespace layout {

struct Anchors {
    bool left = true;
    bool top = true;
    bool right = false;
    bool bottom = false;
    friend constexpr bool operator==(const Anchors&, const Anchors&) = default;
};

struct SizePx {
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(const SizePx&, const SizePx&) = default;
};

struct SizeConstraints {
    int minHeightPx = 0;  // 0: none
    int maxHeightPx = 0;  // 0: none
};

// The rectangle of a control whose rectangle was `reference` while its parent's client
// area was `referenceParent`, now that the parent is `parent`. Anchored to both edges
// of a direction it stretches; to the far edge only it moves; computed from the
// reference each time, so resizing back and forth never drifts.
RectPx AnchoredRect(const RectPx& reference, SizePx referenceParent, SizePx parent, Anchors anchors,
                    SizeConstraints constraints = {});

}  // namespace layout
