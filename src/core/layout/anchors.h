// How an anchored control follows its parent's client size.
#pragma once

#include "core/base/rect.h"

namespace layout {

struct Anchors {
    bool Left = true;
    bool Top = true;
    bool Right = false;
    bool Bottom = false;
    friend constexpr bool operator==(const Anchors&, const Anchors&) = default;
};

struct SizeConstraints {
    int MinHeightPx = 0;  // 0: none
    int MaxHeightPx = 0;  // 0: none
};

// The rectangle of a control whose rectangle was `reference` while its parent's client
// area was `referenceParent`, now that the parent is `parent`. Anchored to both edges
// of a direction it stretches; to the far edge only it moves; computed from the
// reference each time, so resizing back and forth never drifts.
base::RectPx AnchoredRect(const base::RectPx& reference, base::SizePx referenceParent,
                          base::SizePx parent, Anchors anchors, SizeConstraints constraints = {});

}  // namespace layout
