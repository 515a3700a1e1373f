#pragma once

#include <memory>
#include <mutex>
#include <typeindex>
#include <utility>
#include <vector>

namespace foundation {

class RunLoop;

// Everything process-wide on the simulated phone: the main run loop and clock, and the shared
// objects made on first use (sandbox, user defaults, device profile, bundle, application, host
// map, the ad client's shared objects, ...). The simulator and each test create one and tear
// it down; shared objects die in the reverse order of their creation, the run loop last.
// Programs that never create one get a process-wide default.
class PlatformContext {
public:
    // The context in force: the one created most recently and still alive, else the default.
    static PlatformContext& current();

    // Becomes current; only one created context lives at a time.
    PlatformContext();
    ~PlatformContext();
    PlatformContext(const PlatformContext&) = delete;
    PlatformContext& operator=(const PlatformContext&) = delete;

    // Any thread.
    RunLoop& mainLoop() { return *mainLoop_; }

    // The context's one T, made by make() (returning a new T) on first use. Any thread.
    template <typename T, typename Make>
    T& object(Make make) {
        std::lock_guard lock(mutex_);
        if (void* found = find(typeid(T)))
            return *static_cast<T*>(found);
        std::shared_ptr<T> made(make());
        objects_.emplace_back(typeid(T), made);
        return *made;
    }

    template <typename T>
    T& object() {
        return object<T>([] { return new T(); });
    }

private:
    struct DefaultTag {};
    explicit PlatformContext(DefaultTag);

    void* find(std::type_index type) const;
    void tearDown();

    std::unique_ptr<RunLoop> mainLoop_;
    // Recursive: making one object may ask for another.
    std::recursive_mutex mutex_;
    std::vector<std::pair<std::type_index, std::shared_ptr<void>>> objects_;
};

} // namespace foundation
