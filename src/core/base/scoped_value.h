// A value set for the length of a scope: the variable gets `value` on entry and its earlier
// value back on exit, also when the scope is left by an exception, so that a flag such as
// "scaling now" or "drawing now" can never stay set after a failure. Scopes nest: each
// puts back what it found.
#pragma once

#include <utility>

namespace base {

template <typename T>
class [[nodiscard]] ScopedValue {
public:
    ScopedValue(T& variable, T value) : variable_(variable), before_(std::move(variable)) {
        variable_ = std::move(value);
    }
    ~ScopedValue() { variable_ = std::move(before_); }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

private:
    T& variable_;
    T before_;
};

}  // namespace base
