// The order in which the keyboard focus moves: Tab and Shift+Tab through a window's tab
// stops, the arrow keys within a group of controls. Indices into a list already in tab
// order; whether each entry can take the focus now is the caller's to say.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>

namespace layout {

// The stop of `count` that Tab (`forward`) or Shift+Tab reaches from the stop `from`: the
// next one after it (before it, backwards) for which `canTakeFocus` holds, wrapping
// around, never `from` itself. Without `from` (the focus is on no stop) the search starts
// at the first stop (the last, backwards) and may land on any stop. None when no other
// stop can take it. `canTakeFocus` is asked in search order, up to the stop found.
std::optional<std::size_t> NextTabStop(std::size_t count, std::optional<std::size_t> from,
                                       bool forward,
                                       const std::function<bool(std::size_t)>& canTakeFocus);

// The neighbour of `at` in a group of `count` controls, wrapping around; `at` when it is
// the only one.
std::size_t NextInGroup(std::size_t count, std::size_t at, bool forward);

}  // namespace layout
