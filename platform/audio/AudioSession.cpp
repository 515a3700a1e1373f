#include "platform/audio/AudioSession.h"

#include "platform/foundation/DeviceProfile.h"
#include "platform/foundation/Singleton.h"

namespace audio {

AudioSession& AudioSession::shared() { return foundation::Singleton<AudioSession>::shared(); }

int AudioSession::initialize() {
    std::lock_guard lock(mutex_);
    if (initialized_)
        return kAlreadyInitialized;
    initialized_ = true;
    return kNoError;
}

AudioSession::RouteReading AudioSession::currentRoute() const {
    std::lock_guard lock(mutex_);
    if (!initialized_)
        return {kNotInitialized, {}};
    return {kNoError, foundation::DeviceProfile::current().audioRoute};
}

} // namespace audio
