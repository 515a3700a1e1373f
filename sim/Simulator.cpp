#include "sim/Simulator.h"

#include "ads/request/Endpoints.h"
#include "ads/request/URLDownload.h"
#include "ads/video/VideoViewController.h"
#include "adserver/AdServer.h"
#include "platform/addressbook/AddressBook.h"
#include "platform/audio/Sound.h"
#include "platform/audio/SystemSounds.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/DeviceProfile.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/URL.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/location/LocationService.h"
#include "platform/net/HTTPClient.h"
#include "platform/net/HostMap.h"
#include "platform/ui/Application.h"
#include "platform/ui/ApplicationDelegate.h"
#include "platform/web/WebContext.h"
#include "sim/ContactTrace.h"
#include "sim/HTTPTrace.h"
#include "sim/TemporaryHome.h"
#include "sim/VideoTrace.h"
#include "sim/WebTrace.h"
#include "sim/WindowFrontEnd.h"
#include "sim/WindowTrace.h"
#include "sim/XServer.h"

#include <cstdlib>
#include <filesystem>
#include <fmt/format.h>
#include <unistd.h>

namespace sim {

namespace {
// Virtual runs start at the same moment every time, so traces and screenshots repeat exactly.
constexpr double kVirtualStartTime = 1258623660.0; // 2009-11-19 09:41 UTC

std::string executableDirectory() {
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : path.parent_path().string();
}

// Screenshots are written late in a run: a folder that cannot take them is refused up front.
bool screenshotFolderUsable(const std::string& path) {
    if (foundation::FileManager::createDirectory(path) && ::access(path.c_str(), W_OK | X_OK) == 0)
        return true;
    fmt::print(stderr, "cannot write screenshots to {}: not a writable folder\n", path);
    return false;
}

// Output that could not be written fails the run even though the simulation itself completed.
int outputStatus(Trace& trace) {
    int status = 0;
    if (auto closed = trace.close(); !closed) {
        fmt::print(stderr, "{}\n", closed.error().message);
        status = 1;
    }
    if (const auto failed = trace.count("screenshot-failed")) {
        fmt::print(stderr, "{} screenshot(s) could not be written\n", failed);
        status = 1;
    }
    return status;
}

} // namespace

Simulator::Simulator(SimulatorOptions options)
    : options_(std::move(options)),
      runner_(trace_, options_.screenshots.empty() ? "." : options_.screenshots) {}

Simulator::~Simulator() {
    // A run may end before the app is done (a quit command, a short --duration); the URL
    // handler must not outlive this object, which it reaches into.
    ui::Application::shared().setOpenURLHandler(nullptr);
}

int Simulator::run() {
    if (options_.window && !WindowFrontEnd::displayAvailable()) {
        fmt::print(stderr,
                   "--window needs a display: neither DISPLAY nor WAYLAND_DISPLAY is set\n");
        return 2;
    }
    if (!options_.scenario.empty()) {
        auto loaded = Scenario::load(options_.scenario);
        if (!loaded) {
            fmt::print(stderr, "{}: {}\n", options_.scenario, loaded.error().message);
            return 2;
        }
        scenario_ = std::move(loaded.value());
    }
    if (!prepare() || !openWindow() || !launch())
        return 1;
    auto& loop = foundation::RunLoop::main();
    const double start = loop.now();
    runner_.schedule(scenario_, start);
    // A window stays open until the person quits, unless told how long to run.
    if (options_.duration || !options_.window) {
        const double end = options_.duration.value_or(scenario_.endTime());
        endOfRun_.start(foundation::Seconds(end), false, [&loop] { loop.stop(); });
    }
    loop.run();
    window_.reset();
    ui::Application::shared().terminate();
    printSummary();
    return outputStatus(trace_);
}

bool Simulator::prepare() {
    const bool virtualClock = options_.virtualClock.value_or(!options_.window);
    foundation::RunLoop::main().setClock(
        virtualClock ? std::shared_ptr<foundation::Clock>(
                           std::make_shared<foundation::VirtualClock>(kVirtualStartTime))
                     : std::make_shared<foundation::RealClock>());
    if (!prepareHome() ||
        (!options_.screenshots.empty() && !screenshotFolderUsable(options_.screenshots)))
        return false;
    configureDevice();
    if (!loadBundle())
        return false;
    if (!trace_.open(options_.trace, foundation::RunLoop::main().now())) {
        fmt::print(stderr, "cannot write the trace to {}\n", options_.trace);
        return false;
    }
    observePlatform();
    // Pages show the client's user agent, the one its downloads send.
    web::WebContext::shared().setUserAgent(pennant::URLDownload::userAgent());
    xServer_ = XServer::startIfNeeded();
    return connectAdNetwork();
}

bool Simulator::connectAdNetwork() {
    std::string address = "127.0.0.1";
    int port = 0;
    if (!options_.adServer) {
        adserver::AdServer::Options serverOptions;
        serverOptions.firstAd = options_.firstAd;
        adServer_ = std::make_unique<adserver::AdServer>(serverOptions);
        if (auto started = adServer_->start(); !started) {
            fmt::print(stderr, "cannot start the ad server: {}\n", started.error().message);
            return false;
        }
        port = adServer_->port();
    } else {
        address = options_.adServer->address;
        port = options_.adServer->port;
    }
    // The client's fixed host names reach whichever server this run uses.
    for (const auto host :
         {pennant::Endpoints::kAdRequestHost, pennant::Endpoints::kStaticContentHostName})
        net::HostMap::shared().map(std::string(host), address, port);
    foundation::log("ad network at http://{}:{}", address, port);
    return true;
}

bool Simulator::prepareHome() {
    home_ = options_.home;
    if (home_.empty()) {
        temporaryHome_ = TemporaryHome::create(options_.keepHome);
        if (!temporaryHome_) {
            fmt::print(stderr, "cannot create a temporary sandbox home\n");
            return false;
        }
        home_ = temporaryHome_->path();
    }
    if (!foundation::Sandbox::current().setHome(home_)) {
        fmt::print(stderr, "cannot use {} as the sandbox home\n", home_);
        return false;
    }
    return true;
}

void Simulator::configureDevice() {
    auto& profile = foundation::DeviceProfile::current();
    profile.language = options_.language;
    profile.locale = options_.locale;
    profile.systemVersion = options_.systemVersion;
    profile.orientation = options_.orientation;
    if (options_.audioRoute)
        profile.audioRoute = *options_.audioRoute;
    if (options_.uniqueIdentifier)
        profile.uniqueIdentifier = *options_.uniqueIdentifier;
    ::setenv("TZ", profile.timeZone.c_str(), 1);
    ::tzset();
    ui::Application::shared().setStatusBarOrientation(profile.orientation);
    location::LocationService::shared().setDefaultFix({profile.latitude, profile.longitude},
                                                      profile.horizontalAccuracy);
}

bool Simulator::loadBundle() {
    const std::string path =
        options_.bundle.empty() ? executableDirectory() + "/Kessa.app" : options_.bundle;
    auto& bundle = foundation::Bundle::main();
    bundle.load(path);
    const std::string identifier = bundle.infoDictionary()["CFBundleIdentifier"].stringValue();
    if (identifier.empty()) {
        fmt::print(stderr,
                   "{} is not an application bundle (no Info.plist with CFBundleIdentifier)\n",
                   path);
        return false;
    }
    const auto& profile = foundation::DeviceProfile::current();
    foundation::UserDefaults::standard().load(
        foundation::Sandbox::current().pathFor(foundation::Sandbox::Directory::Preferences) + "/" +
            identifier + ".plist",
        foundation::Dictionary{{"AppleLanguages", foundation::Value(foundation::Value::Array{
                                                      foundation::Value(profile.language)})},
                               {"AppleLocale", profile.locale}});
    return true;
}

void Simulator::observePlatform() {
    logSink_ = foundation::Log::addSink([this](const std::string& message) {
        trace_.record("log", {{"message", message}});
    });
    soundObserver_ = audio::SystemSounds::shared().addObserver(
        [this](const std::shared_ptr<const audio::Sound>& sound) {
            trace_.record("sound", {{"name", sound->name}});
        });
    httpObserver_ = net::HTTPClient::shared().addCompletionObserver(
        [this](const net::HTTPCompletion& completion) {
            trace_.record("http", HTTPTrace::fields(completion));
        });
    windowObserver_ = ui::Application::shared().observeWindowVisibility(
        [this](const ui::Window& window) { trace_.record("window", WindowTrace::fields(window)); });
    contactObserver_ =
        addressbook::AddressBook::observeChanges([this](const addressbook::Change& change) {
            trace_.record("contact", ContactTrace::fields(change));
        });
    videoObserver_ =
        pennant::VideoViewController::observeEvents([this](const pennant::VideoEvent& event) {
            trace_.record("video", VideoTrace::fields(event));
        });
    webObserver_ = web::WebContext::shared().addLoadObserver(
        [this](const web::LoadEvent& event) { trace_.record("web", WebTrace::fields(event)); });
    alertTrace_.emplace(trace_);
    ui::Application::shared().setOpenURLHandler([this](const foundation::URL& url) {
        trace_.record("open-url", {{"url", url.absoluteString()}});
        return true;
    });
}

bool Simulator::openWindow() {
    if (!options_.window)
        return true;
    auto opened = WindowFrontEnd::open(trace_, {options_.scale, options_.mute});
    if (!opened) {
        fmt::print(stderr, "{}\n", opened.error().message);
        return false;
    }
    window_ = std::move(opened.value());
    fmt::print(stderr, "{}\n", WindowFrontEnd::help());
    return true;
}

bool Simulator::launch() {
    const auto& bundle = foundation::Bundle::main();
    const std::string nib = bundle.infoDictionary()["NSMainNibFile"].stringValue();
    auto path = bundle.pathForResource(nib, "plist");
    if (!path) {
        fmt::print(stderr, "the bundle has no interface description '{}'\n", nib);
        return false;
    }
    auto loaded = ui::InterfaceLoader::loadFile(*path);
    if (!loaded) {
        fmt::print(stderr, "{}\n", loaded.error().message);
        return false;
    }
    interface_ = std::move(loaded.value());
    auto named = interface_.objects.find(interface_.delegateName);
    auto delegate = named == interface_.objects.end()
                        ? nullptr
                        : std::dynamic_pointer_cast<ui::ApplicationDelegate>(named->second);
    if (!delegate) {
        fmt::print(stderr, "{}: \"delegate\" must name an application delegate object\n", *path);
        return false;
    }
    auto& application = ui::Application::shared();
    application.setDelegate(delegate);
    application.finishLaunching();
    return true;
}

void Simulator::printSummary() const {
    fmt::print(stderr,
               "simulated {:.1f} s: {} sound(s) played, {} screenshot(s), {} trace event(s){}\n",
               trace_.elapsed(), trace_.count("sound"), trace_.count("screenshot"),
               trace_.count("log") + trace_.count("sound") + trace_.count("screenshot") +
                   trace_.count("view-tree") + trace_.count("open-url") + trace_.count("http") +
                   trace_.count("alert") + trace_.count("action-sheet") + trace_.count("contact") +
                   trace_.count("video"),
               temporaryHome_ && options_.keepHome ? "; sandbox kept at " + home_ : "");
}

} // namespace sim
