#pragma once

#include "platform/foundation/Error.h"

#include <utility>
#include <variant>

namespace foundation {

// Either a value or the Error that prevented it; failures never travel as exceptions.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : state_(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    const Error& error() const { return std::get<1>(state_); }

    T valueOr(T fallback) const { return ok() ? value() : std::move(fallback); }

private:
    std::variant<T, Error> state_;
};

// Success without a value, or the Error that prevented it.
using Status = Result<std::monostate>;

inline Status success() { return std::monostate{}; }

} // namespace foundation
