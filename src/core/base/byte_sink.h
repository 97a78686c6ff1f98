// Where a writer's bytes go: a file, a buffer, a test's record.
#pragma once

#include <functional>
#include <string_view>

namespace base {

// Receives the output in order; each piece is valid only during the call.
using ByteSink = std::function<void(std::string_view bytes)>;

}  // namespace base
