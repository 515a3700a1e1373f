#pragma once

#include "platform/foundation/Subscribers.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace foundation {
class URL;
template <typename T>
class Singleton;
} // namespace foundation

namespace audio {

struct Sound;

// Short alert sounds: a file is checked and decoded when it is registered, and playing an id
// hands the decoded sound to the installed observers (the trace records it, a window front end
// queues the samples). Playing never blocks and nothing waits for the sound to end.
class SystemSounds {
public:
    using SoundID = std::uint32_t;
    using Observer = std::function<void(const std::shared_ptr<const Sound>& sound)>;

    // Registration statuses; anything but kNoError comes with the id 0, which plays nothing.
    static constexpr int kNoError = 0;
    static constexpr int kFileUnreadable = -1;
    static constexpr int kUnsupportedFormat = -2;
    static constexpr int kSoundTooLong = -3;

    // System sounds are short: longer or larger files are refused rather than decoded.
    static constexpr double kMaxDurationSeconds = 30.0;
    static constexpr std::size_t kMaxFileBytes = 8 * 1024 * 1024;

    struct Registration {
        int status = kNoError;
        SoundID id = 0;
    };

    static SystemSounds& shared();

    // Only WAV files from the local file system are accepted.
    Registration createSystemSoundID(const foundation::URL& fileURL);
    // Unknown ids (including 0) play nothing.
    void playSystemSound(SoundID id);
    // Observers are called on the playing thread and must only queue the sound. The observer
    // stays installed while the token lives.
    [[nodiscard]] foundation::Subscription addObserver(Observer observer);

private:
    friend class foundation::Singleton<SystemSounds>;
    SystemSounds() = default;

    std::mutex mutex_;
    std::map<SoundID, std::shared_ptr<const Sound>> sounds_;
    SoundID nextID_ = 1;
    foundation::Subscribers<std::shared_ptr<const Sound>> observers_;
};

} // namespace audio
