#include "layout/anchors.h"

#include <algorithm>

namespace layout {
namespace {

struct Span {
    int start;
    int length;
};

Span Follow(int start, int length, int growth, bool nearEdge, bool farEdge) {
    if (nearEdge && farEdge) return {start, length + growth};
    if (farEdge) return {start + growth, length};
    if (!nearEdge) return {start + growth / 2, length};
    return {start, length};
}

}  // namespace

RectPx AnchoredRect(const RectPx& reference, SizePx referenceParent, SizePx parent, Anchors anchors,
                    SizeConstraints constraints) {
    const Span h = Follow(reference.left, reference.width, parent.width - referenceParent.width,
                          anchors.left, anchors.right);
    Span v = Follow(reference.top, reference.height, parent.height - referenceParent.height,
                    anchors.top, anchors.bottom);
    if (constraints.maxHeightPx > 0) v.length = std::min(v.length, constraints.maxHeightPx);
    if (constraints.minHeightPx > 0) v.length = std::max(v.length, constraints.minHeightPx);
    return {h.start, v.start, std::max(0, h.length), std::max(0, v.length)};
}

}  // namespace layout
