#include "sim/WindowFrontEnd.h"

#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Device.h"
#include "platform/ui/DisplayLink.h"
#include "platform/ui/Screen.h"
#include "sim/SoundPlayer.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fmt/format.h>
#include <iterator>

namespace sim {

namespace {

bool environmentSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

foundation::Error windowError(const std::string& what) {
    return foundation::Error{"WindowFrontEndErrorDomain", -1, what + ": " + SDL_GetError()};
}

// A free name in the current folder, so a screenshot never replaces an earlier one.
std::string freeScreenshotName() {
    for (int number = 1;; ++number) {
        std::string name = fmt::format("kessa-{}.png", number);
        std::error_code error;
        if (!std::filesystem::exists(name, error))
            return name;
    }
}

// An input from the window, played as the same command of a scenario would be.
ScenarioCommand command(std::string name, std::vector<double> numbers, std::string text = {}) {
    ScenarioCommand made;
    made.name = std::move(name);
    made.numbers = std::move(numbers);
    made.text = std::move(text);
    return made;
}

} // namespace

bool WindowFrontEnd::displayAvailable() {
    return environmentSet("DISPLAY") || environmentSet("WAYLAND_DISPLAY") ||
           environmentSet("SDL_VIDEODRIVER");
}

std::string WindowFrontEnd::help() {
    return "window: click and drag to touch; arrows and space shake (with shift: gently); "
           "R rotates; S saves a screenshot here; Q or closing the window quits";
}

foundation::Result<std::unique_ptr<WindowFrontEnd>> WindowFrontEnd::open(Trace& trace,
                                                                         Options options) {
    // The simulator's own SIGINT and SIGTERM handlers remove the temporary home: keep them.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Frames are scaled in software already: no GL stack to load (and unload with leaks).
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        return windowError("cannot open a window");
    std::unique_ptr<WindowFrontEnd> frontEnd(new WindowFrontEnd(trace, options));
    const auto screen = ui::Screen::main().bounds().size;
    frontEnd->window_ =
        SDL_CreateWindow("Kessa", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                         int(screen.width) * options.scale, int(screen.height) * options.scale, 0);
    if (!frontEnd->window_)
        return windowError("cannot open a window");
    if (!options.mute) {
        auto player = SoundPlayer::open();
        if (player)
            frontEnd->sound_ = std::move(player.value());
        else
            fmt::print(stderr, "{}; the app stays silent\n", player.error().message);
    }
    frontEnd->poll_.start(foundation::Seconds(ui::DisplayLink::kFrameInterval), true,
                          [raw = frontEnd.get()] { raw->poll(); });
    return frontEnd;
}

WindowFrontEnd::WindowFrontEnd(Trace& trace, Options options)
    : options_(options), runner_(trace, ".") {}

WindowFrontEnd::~WindowFrontEnd() {
    poll_.stop();
    sound_.reset();
    if (window_)
        SDL_DestroyWindow(window_);
    SDL_Quit();
}

std::uint32_t WindowFrontEnd::windowID() const { return SDL_GetWindowID(window_); }

void WindowFrontEnd::poll() {
    SDL_Event event;
    while (SDL_PollEvent(&event))
        handle(event);
    present();
}

void WindowFrontEnd::handle(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        foundation::RunLoop::main().stop();
        break;
    case SDL_KEYDOWN:
        keyDown(event.key);
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button == SDL_BUTTON_LEFT) {
            touching_ = true;
            touch("down", event.button.x, event.button.y);
        }
        break;
    case SDL_MOUSEMOTION:
        if (touching_)
            touch("move", event.motion.x, event.motion.y);
        break;
    case SDL_MOUSEBUTTONUP:
        if (event.button.button == SDL_BUTTON_LEFT && touching_) {
            touching_ = false;
            touch("up", event.button.x, event.button.y);
        }
        break;
    case SDL_WINDOWEVENT:
        exposed_ = exposed_ || event.window.event == SDL_WINDOWEVENT_EXPOSED;
        break;
    }
}

void WindowFrontEnd::keyDown(const SDL_KeyboardEvent& key) {
    // A held key shakes once.
    if (key.repeat)
        return;
    const double g = (key.keysym.mod & KMOD_SHIFT) ? kGentleShake : kFirmShake;
    switch (key.keysym.sym) {
    case SDLK_LEFT:
        return shake(-g, 0, 0);
    case SDLK_RIGHT:
        return shake(g, 0, 0);
    case SDLK_UP:
        return shake(0, g, 0);
    case SDLK_DOWN:
        return shake(0, -g, 0);
    case SDLK_SPACE:
        return shake(0, 0, -g);
    case SDLK_r:
        return rotate();
    case SDLK_s:
        return screenshot();
    case SDLK_q:
        return foundation::RunLoop::main().stop();
    }
}

void WindowFrontEnd::touch(const char* phase, int x, int y) {
    const double scale = options_.scale;
    runner_.execute(command(phase, {x / scale, y / scale}));
}

void WindowFrontEnd::shake(double x, double y, double z) {
    runner_.execute(command("shake", {x, y, z}));
}

void WindowFrontEnd::rotate() {
    // A quarter turn at a time: portrait, landscape, upside down, the other landscape.
    static constexpr int kTurns[] = {1, 3, 2, 4};
    const auto at = std::ranges::find(kTurns, ui::Device::current().orientation());
    const auto index = at == std::end(kTurns) ? 0 : std::distance(std::begin(kTurns), at) + 1;
    runner_.execute(command("rotate", {double(kTurns[index % std::size(kTurns)])}));
}

void WindowFrontEnd::screenshot() {
    runner_.execute(command("screenshot", {}, freeScreenshotName()));
}

void WindowFrontEnd::present() {
    const auto& link = ui::DisplayLink::shared();
    const auto frame = link.lastFrame();
    if (!frame || (link.frameCount() == shownFrame_ && !exposed_))
        return;
    shownFrame_ = link.frameCount();
    exposed_ = false;
    const int width = frame->pixelWidth();
    const int height = frame->pixelHeight();
    SDL_Surface* source =
        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(frame->pixels()), width,
                                           height, 32, width * 4, SDL_PIXELFORMAT_ARGB8888);
    SDL_Surface* target = SDL_GetWindowSurface(window_);
    if (source && target) {
        // A copy: the screen is opaque, and blending would only cost time.
        SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
        SDL_Rect whole{0, 0, width * options_.scale, height * options_.scale};
        if (SDL_BlitScaled(source, nullptr, target, &whole) == 0 &&
            SDL_UpdateWindowSurface(window_) == 0)
            ++presentedFrames_;
    }
    SDL_FreeSurface(source);
}

} // namespace sim
