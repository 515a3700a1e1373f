#include "platform/foundation/PlatformContext.h"

#include "platform/foundation/Assertions.h"
#include "platform/foundation/RunLoop.h"

#include <atomic>

namespace foundation {

namespace {
std::atomic<PlatformContext*> installed{nullptr};
} // namespace

PlatformContext& PlatformContext::current() {
    if (PlatformContext* context = installed.load())
        return *context;
    static PlatformContext fallback{DefaultTag{}};
    return fallback;
}

PlatformContext::PlatformContext(DefaultTag) : mainLoop_(std::make_unique<RunLoop>()) {}

PlatformContext::PlatformContext() : PlatformContext(DefaultTag{}) {
    PlatformContext* none = nullptr;
    VERIFY(installed.compare_exchange_strong(none, this));
}

PlatformContext::~PlatformContext() {
    tearDown();
    if (installed.load() == this)
        installed.store(nullptr);
}

void* PlatformContext::find(std::type_index type) const {
    for (const auto& [storedType, object] : objects_)
        if (storedType == type)
            return object.get();
    return nullptr;
}

// One at a time and outside the lock: a worker being joined by a dying object may still ask
// the context for another object.
void PlatformContext::tearDown() {
    for (;;) {
        std::shared_ptr<void> last;
        {
            std::lock_guard lock(mutex_);
            if (objects_.empty())
                return;
            last = std::move(objects_.back().second);
            objects_.pop_back();
        }
        last.reset();
    }
}

} // namespace foundation
