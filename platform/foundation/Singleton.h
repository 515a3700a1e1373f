#pragma once

#include "platform/foundation/PlatformContext.h"

namespace foundation {

// The process-wide singleton discipline: the one instance of the current platform context is
// created on first use, and no second instance can be made. T befriends Singleton<T> and
// keeps its constructor private.
template <typename T>
class Singleton {
public:
    static T& shared() {
        return PlatformContext::current().object<T>([] { return new T(); });
    }
};

} // namespace foundation
