#pragma once

namespace audio {

class AudioSession;
struct Sound;
class SystemSounds;

} // namespace audio
