#include "core/layout/focus_order.h"

namespace layout {

std::optional<std::size_t> NextTabStop(std::size_t count, std::optional<std::size_t> from,
                                       bool forward,
                                       const std::function<bool(std::size_t)>& canTakeFocus) {
    const std::size_t n = count;
    if (n == 0) return std::nullopt;
    if (from && *from >= n) from.reset();
    // Without a place to start from, the first step lands on the first (or the last) stop.
    const std::size_t start = from ? *from : forward ? n - 1 : 0;
    const std::size_t steps = from ? n - 1 : n;
    for (std::size_t k = 1; k <= steps; ++k) {
        const std::size_t i = forward ? (start + k) % n : (start + n - k % n) % n;
        if (canTakeFocus(i)) return i;
    }
    return std::nullopt;
}

std::size_t NextInGroup(std::size_t count, std::size_t at, bool forward) {
    if (count == 0) return at;
    return forward ? (at + 1) % count : (at + count - 1) % count;
}

}  // namespace layout
