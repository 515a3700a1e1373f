#pragma once

#include <mutex>
#include <string>

namespace foundation {
template <typename T>
class Singleton;
} // namespace foundation

namespace audio {

// The process's audio session: initialized once, then asked where sound currently goes. The
// route is the device profile's: a name such as "Speaker", "Headphone" or "Headset", empty when
// there is none.
class AudioSession {
public:
    static constexpr int kNoError = 0;
    static constexpr int kAlreadyInitialized = 1;
    static constexpr int kNotInitialized = 2;

    struct RouteReading {
        int status = kNoError;
        std::string route;
    };

    static AudioSession& shared();

    // kNoError the first time, kAlreadyInitialized afterwards.
    int initialize();
    // The route is readable only once the session is initialized.
    RouteReading currentRoute() const;

private:
    friend class foundation::Singleton<AudioSession>;
    AudioSession() = default;

    mutable std::mutex mutex_;
    bool initialized_ = false;
};

} // namespace audio
