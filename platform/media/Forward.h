#pragma once

namespace media {

class AudioSink;
class MovieBackgroundView;
class MovieControlsBar;
class MovieDecoder;
class MoviePlayerController;
struct VideoFrame;
enum class MovieControlMode : int;
enum class MovieFinishReason : int;
enum class MovieScalingMode : int;

} // namespace media
