#include "sim/WindowFrontEnd.h"

#include "platform/audio/Sound.h"
#include "platform/audio/SystemSounds.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Compositor.h"
#include "platform/ui/Device.h"
#include "platform/ui/Label.h"
#include "sim/Trace.h"
#include "tests/support/KessaLaunch.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

using foundation::RunLoop;
using foundation::Seconds;

// SDL's drivers that need neither a display nor a sound card.
void useHeadlessDrivers() {
    ::setenv("SDL_VIDEODRIVER", "offscreen", 1);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
}

// What the desktop sends the window, in window pixels.
void pushMouse(Uint32 type, int x, int y) {
    SDL_Event event{};
    event.type = type;
    if (type == SDL_MOUSEMOTION) {
        event.motion.x = x;
        event.motion.y = y;
        event.motion.state = SDL_BUTTON_LMASK;
    } else {
        event.button.button = SDL_BUTTON_LEFT;
        event.button.x = x;
        event.button.y = y;
    }
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

void pushKey(SDL_Keycode key, Uint16 modifiers = KMOD_NONE, Uint8 repeat = 0) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = key;
    event.key.keysym.mod = modifiers;
    event.key.repeat = repeat;
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

void pushQuit() {
    SDL_Event event{};
    event.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

// SDL names the threads it starts; a sanitizer's helper thread must not count.
std::size_t sdlThreadCount() {
    std::size_t count = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::string name;
        std::getline(std::ifstream(task.path() / "comm"), name);
        count += name.starts_with("SDL");
    }
    return count;
}

// Kessa launched with its screen in a window at twice its size.
class WindowFrontEndTest : public testing_support::KessaLaunch {
protected:
    static constexpr int kScale = 2;

    void SetUp() override {
        useHeadlessDrivers();
        KessaLaunch::SetUp();
        ASSERT_TRUE(trace.open("", RunLoop::main().now()));
        auto opened = sim::WindowFrontEnd::open(trace, {kScale, false});
        ASSERT_TRUE(opened) << opened.error().message;
        window = std::move(opened.value());
        label = object<ui::Label>("countLabel");
    }
    void TearDown() override {
        window.reset();
        KessaLaunch::TearDown();
    }

    // A tap at a point of the screen, as a click on the window.
    static void click(int x, int y) {
        pushMouse(SDL_MOUSEBUTTONDOWN, x * kScale, y * kScale);
        pushMouse(SDL_MOUSEBUTTONUP, x * kScale, y * kScale);
    }
    // Some turns of the window's event reading.
    static void settle(double seconds = 0.1) { RunLoop::main().runFor(Seconds(seconds)); }

    sim::Trace trace;
    std::unique_ptr<sim::WindowFrontEnd> window;
    std::shared_ptr<ui::Label> label;
};

} // namespace

TEST_F(WindowFrontEndTest, OpensAWindowOfTheScreenAtItsScale) {
    int width = 0, height = 0;
    SDL_GetWindowSize(SDL_GetWindowFromID(window->windowID()), &width, &height);
    EXPECT_EQ(width, 320 * kScale);
    EXPECT_EQ(height, 480 * kScale);
}

TEST_F(WindowFrontEndTest, AClickOnTheResetButtonResetsTheCounter) {
    pushKey(SDLK_RIGHT);
    settle();
    ASSERT_EQ(label->text(), "1");
    // A press that wanders off the button before it lifts is no tap on it.
    pushMouse(SDL_MOUSEBUTTONDOWN, 160 * kScale, 242 * kScale);
    pushMouse(SDL_MOUSEMOTION, 160 * kScale, 400 * kScale);
    pushMouse(SDL_MOUSEBUTTONUP, 160 * kScale, 400 * kScale);
    settle();
    EXPECT_EQ(label->text(), "1");
    click(160, 242);
    settle();
    EXPECT_EQ(label->text(), "0");
}

TEST_F(WindowFrontEndTest, KeysShakeFirmlyOrWithShiftGently) {
    std::vector<std::string> sounds;
    auto observer = audio::SystemSounds::shared().addObserver(
        [&sounds](const std::shared_ptr<const audio::Sound>& sound) {
            sounds.push_back(sound->name);
        });
    pushKey(SDLK_RIGHT);
    pushKey(SDLK_UP, KMOD_LSHIFT); // below the firm threshold
    pushKey(SDLK_SPACE);
    pushKey(SDLK_SPACE, KMOD_NONE, 1); // the key held down: still one shake
    settle();
    EXPECT_EQ(label->text(), "2");
    click(253, 342); // "Gentle"
    pushKey(SDLK_LEFT, KMOD_RSHIFT);
    pushKey(SDLK_DOWN, KMOD_LSHIFT);
    settle();
    EXPECT_EQ(label->text(), "4");
    // Arrows left and right shake on x, up and down on y, space on z.
    EXPECT_EQ(sounds, (std::vector<std::string>{"zeee", "mywhy", "zeee", "mywhy"}));
}

TEST_F(WindowFrontEndTest, RKeyTurnsTheDeviceAQuarterAtATime) {
    for (int expected : {3, 2, 4, 1}) {
        pushKey(SDLK_r);
        settle();
        EXPECT_EQ(ui::Device::current().orientation(), expected);
    }
}

TEST_F(WindowFrontEndTest, SKeySavesAScreenshotInTheCurrentFolderBesideEarlierOnes) {
    const auto folder = std::filesystem::current_path();
    const auto scratch =
        std::filesystem::temp_directory_path() / ("window-shots-" + std::to_string(::getpid()));
    std::filesystem::remove_all(scratch);
    std::filesystem::create_directories(scratch);
    std::filesystem::current_path(scratch);
    pushKey(SDLK_s);
    settle();
    pushKey(SDLK_s);
    settle();
    std::filesystem::current_path(folder);
    EXPECT_TRUE(std::filesystem::exists(scratch / "kessa-1.png"));
    EXPECT_TRUE(std::filesystem::exists(scratch / "kessa-2.png"));
    EXPECT_EQ(trace.count("screenshot"), 2u);
    std::filesystem::remove_all(scratch);
}

// What the window shows is the screen a headless screenshot takes at the same moment, each
// point as a square of scale by scale pixels.
TEST_F(WindowFrontEndTest, TheWindowShowsTheScreenAsAHeadlessScreenshotDoes) {
    pushKey(SDLK_RIGHT);
    settle(1);
    ASSERT_GT(window->presentedFrames(), 0);
    SDL_Surface* shown = SDL_ConvertSurfaceFormat(
        SDL_GetWindowSurface(SDL_GetWindowFromID(window->windowID())), SDL_PIXELFORMAT_ARGB8888, 0);
    ASSERT_TRUE(shown) << SDL_GetError();
    const auto screen = ui::Compositor::renderScreen();
    int differing = 0;
    for (int y = 0; y < shown->h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            static_cast<const std::uint8_t*>(shown->pixels) + y * shown->pitch);
        for (int x = 0; x < shown->w; ++x)
            differing +=
                row[x] != screen->pixels()[(y / kScale) * screen->pixelWidth() + x / kScale];
    }
    SDL_FreeSurface(shown);
    EXPECT_EQ(differing, 0);
}

// Quitting with Q or by closing the window ends the loop; the window's timer and SDL's
// threads (the sound output's) go with the window.
TEST(WindowFrontEndLifetime, QuittingLeavesNoThreadOrTimerBehind) {
    useHeadlessDrivers();
    auto& loop = RunLoop::main();
    loop.setClock(std::make_shared<foundation::VirtualClock>(1000));
    for (const bool mute : {false, true}) {
        sim::Trace trace;
        ASSERT_TRUE(trace.open("", loop.now()));
        auto opened = sim::WindowFrontEnd::open(trace, {1, mute});
        ASSERT_TRUE(opened) << opened.error().message;
        auto window = std::move(opened.value());
        EXPECT_TRUE(loop.hasPendingTimers());
        // The sound's thread names itself once it runs.
        if (!mute) {
            EXPECT_TRUE(loop.runUntil([] { return sdlThreadCount() > 0; }, Seconds(10)));
        }
        EXPECT_EQ(sdlThreadCount() > 0, !mute) << "sound plays on a thread of its own";
        mute ? pushQuit() : pushKey(SDLK_q);
        bool stoppedByQuitting = true;
        foundation::Timer bound;
        bound.start(Seconds(10), false, [&] {
            stoppedByQuitting = false;
            loop.stop();
        });
        loop.run();
        EXPECT_TRUE(stoppedByQuitting);
        bound.stop();
        window.reset();
        EXPECT_FALSE(loop.hasPendingTimers());
        EXPECT_EQ(SDL_WasInit(0), 0u) << "SDL is shut down whole";
        EXPECT_EQ(sdlThreadCount(), 0u);
    }
}
