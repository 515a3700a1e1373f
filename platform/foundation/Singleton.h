#pragma once

#include <memory>
#include <mutex>

namespace foundation {

// The process-wide singleton discipline: the one instance is created on first use under a
// lock on its class, and no second instance can be made. T befriends Singleton<T> and keeps
// its constructor private.
template <typename T>
class Singleton {
public:
    static T& shared() {
        std::lock_guard lock(classLock());
        if (!slot())
            slot().reset(new T());
        return *slot();
    }

    static bool exists() {
        std::lock_guard lock(classLock());
        return slot() != nullptr;
    }

    // Tests that give each case a fresh sandbox start the next case with a fresh instance.
    static void resetForTesting() {
        std::lock_guard lock(classLock());
        slot().reset();
    }

private:
    static std::mutex& classLock() {
        static std::mutex mutex;
        return mutex;
    }
    static std::unique_ptr<T>& slot() {
        static std::unique_ptr<T> instance;
        return instance;
    }
};

} // namespace foundation
