#include "platform/audio/AudioSession.h"

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
    return {kNoError, route_};
}

void AudioSession::setRoute(std::string route) {
    std::lock_guard lock(mutex_);
    route_ = std::move(route);
}

} // namespace audio
