#include "core/layout/anchors.h"

#include <algorithm>

namespace layout {
namespace {

struct Span {
    int Start;
    int Length;
};

Span Follow(int start, int length, int growth, bool nearEdge, bool farEdge) {
    if (nearEdge && farEdge) return {start, length + growth};
    if (farEdge) return {start + growth, length};
    if (!nearEdge) return {start + growth / 2, length};
    return {start, length};
}

}  // namespace

base::RectPx AnchoredRect(const base::RectPx& reference, base::SizePx referenceParent,
                          base::SizePx parent, Anchors anchors, SizeConstraints constraints) {
    const Span h = Follow(reference.Left, reference.Width(), parent.Width - referenceParent.Width,
                          anchors.Left, anchors.Right);
    Span v = Follow(reference.Top, reference.Height(), parent.Height - referenceParent.Height,
                    anchors.Top, anchors.Bottom);
    if (constraints.MaxHeightPx > 0) v.Length = std::min(v.Length, constraints.MaxHeightPx);
    if (constraints.MinHeightPx > 0) v.Length = std::max(v.Length, constraints.MinHeightPx);
    return base::RectPx::FromSize(h.Start, v.Start, std::max(0, h.Length), std::max(0, v.Length));
}

}  // namespace layout
