#pragma once

#include "platform/foundation/Assertions.h"
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

    // Reading the side that is not there is a programming error, not an exception.
    T& value() & { return *checked<0>(*this); }
    const T& value() const& { return *checked<0>(*this); }
    T&& value() && { return std::move(*checked<0>(*this)); }
    const Error& error() const { return *checked<1>(*this); }

    T valueOr(T fallback) const { return ok() ? value() : std::move(fallback); }

private:
    template <std::size_t side, typename Self>
    static auto* checked(Self& self) {
        auto* held = std::get_if<side>(&self.state_);
        VERIFY(held);
        return held;
    }

    std::variant<T, Error> state_;
};

// Success without a value, or the Error that prevented it.
using Status = Result<std::monostate>;

inline Status success() { return std::monostate{}; }

} // namespace foundation
