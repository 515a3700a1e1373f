#pragma once

#include "platform/foundation/Result.h"
#include "platform/foundation/Timer.h"
#include "sim/ScenarioRunner.h"

#include <cstdint>
#include <memory>
#include <string>

// SDL's own types, named here only so the header needs none of SDL's.
struct SDL_Window;
struct SDL_KeyboardEvent;
union SDL_Event;

namespace sim {

class SoundPlayer;
class Trace;

// The phone's screen in a desktop window: shows each frame the display link draws, turns the
// mouse into touches and keys into shakes, rotations, screenshots and quitting, and plays the
// app's sounds. Inputs go through a scenario runner of its own, so the trace records them as it
// records a script's. Events are read on the main run loop, a turn every 1/60 s of its clock.
class WindowFrontEnd {
public:
    // Past the firm threshold (2 g), and between the gentle (1 g) and the firm one.
    static constexpr double kFirmShake = 2.5;
    static constexpr double kGentleShake = 1.5;

    struct Options {
        int scale = 2;
        bool mute = false;
    };

    // Whether there is a display to open a window on, or an SDL video driver chosen by name.
    static bool displayAvailable();
    // The keys, in one line.
    static std::string help();
    static foundation::Result<std::unique_ptr<WindowFrontEnd>> open(Trace& trace, Options options);
    ~WindowFrontEnd();
    WindowFrontEnd(const WindowFrontEnd&) = delete;
    WindowFrontEnd& operator=(const WindowFrontEnd&) = delete;

    std::uint32_t windowID() const;
    // The frames shown so far.
    int presentedFrames() const { return presentedFrames_; }

private:
    WindowFrontEnd(Trace& trace, Options options);
    void poll();
    void handle(const SDL_Event& event);
    void keyDown(const SDL_KeyboardEvent& key);
    void touch(const char* phase, int x, int y);
    void shake(double x, double y, double z);
    void rotate();
    void screenshot();
    void present();

    Options options_;
    ScenarioRunner runner_;
    SDL_Window* window_ = nullptr;
    std::unique_ptr<SoundPlayer> sound_;
    foundation::Timer poll_;
    int shownFrame_ = -1;
    int presentedFrames_ = 0;
    bool exposed_ = false;
    bool touching_ = false;
};

} // namespace sim
