#include "sim/Simulator.h"
#include "ads/request/URLDownload.h"
#include "app/InterfaceClasses.h"
#include "platform/addressbook/AddressBook.h"
#include "platform/foundation/DeviceProfile.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/URL.h"
#include "platform/graphics/Image.h"
#include "platform/net/HTTPClient.h"
#include "platform/ui/Application.h"
#include "platform/ui/Device.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/ScenarioRun.h"
#include "tests/support/ScratchDirectory.h"
#include "json/JSONDeserializer.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

std::string slurp(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::size_t occurrences(const std::string& text, const std::string& needle) {
    std::size_t count = 0;
    for (auto at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
        ++count;
    return count;
}

// A trace line without its time, and with every loopback port as PORT.
std::string withoutTimeAndPorts(std::string line) {
    if (line.starts_with("{\"t\":"))
        line.erase(1, line.find(','));
    const std::string loopback = "127.0.0.1:";
    for (auto at = line.find(loopback); at != std::string::npos; at = line.find(loopback, at + 1)) {
        const auto digits = at + loopback.size();
        line.replace(digits, line.find_first_not_of("0123456789", digits) - digits, "PORT");
    }
    return line;
}

sim::SimulatorOptions shortRun() {
    sim::SimulatorOptions options;
    options.bundle = (std::filesystem::path(PROJECT_SOURCE_DIR) / "app/Resources").string();
    options.duration = 1;
    return options;
}

// The simulator as a separate process whose standard output is `output`, with its temporary
// files under `temporaryFolder`.
pid_t startKessa(const std::vector<std::string>& arguments,
                 const std::filesystem::path& temporaryFolder, int output) {
    // Everything the child needs is built before fork: after it, only async-signal-safe calls.
    std::vector<std::string> environment{"TMPDIR=" + temporaryFolder.string()};
    for (char** variable = environ; *variable; ++variable)
        if (!std::string_view(*variable).starts_with("TMPDIR="))
            environment.emplace_back(*variable);
    std::vector<char*> envp, argv{const_cast<char*>(KESSA_PATH)};
    for (auto& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit noCore{0, 0}; // an ended run's core file is of no interest here
        ::setrlimit(RLIMIT_CORE, &noCore);
        ::dup2(output, STDOUT_FILENO);
        const int quiet = ::open("/dev/null", O_WRONLY);
        ::dup2(quiet, STDERR_FILENO);
        ::execve(KESSA_PATH, argv.data(), envp.data());
        ::_exit(127);
    }
    return child;
}

// The first line the child writes, or "" if none comes within `bound`.
std::string firstLine(int input, std::chrono::milliseconds bound) {
    std::string line;
    pollfd readable{input, POLLIN, 0};
    for (char c;
         ::poll(&readable, 1, int(bound.count())) == 1 && ::read(input, &c, 1) == 1 && c != '\n';)
        line += c;
    return line;
}

// The child's wait status once it ends; kills it first if it is still running after `bound`.
int waitForExit(pid_t child, std::chrono::milliseconds bound) {
    const int handle = int(::syscall(SYS_pidfd_open, child, 0));
    pollfd ended{handle, POLLIN, 0};
    if (handle < 0 || ::poll(&ended, 1, int(bound.count())) != 1)
        ::kill(child, SIGKILL);
    if (handle >= 0)
        ::close(handle);
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

} // namespace

// The whole headless run, as `make run` does it, on the bundled demo scenario.
TEST(SimulatorRun, DemoScenarioProducesTraceAndScreenshots) {
    const std::filesystem::path source = PROJECT_SOURCE_DIR;
    const auto out =
        std::filesystem::temp_directory_path() / ("sim-run-" + std::to_string(::getpid()));
    std::filesystem::remove_all(out);
    kessa::registerInterfaceClasses();
    sim::SimulatorOptions options;
    options.scenario = (source / "sim/scenarios/demo.scn").string();
    options.trace = (out / "trace.jsonl").string();
    options.screenshots = (out / "shots").string();
    options.bundle = (source / "app/Resources").string();
    std::filesystem::create_directories(out);
    EXPECT_EQ(sim::Simulator(options).run(), 0);

    const std::string trace = slurp(out / "trace.jsonl");
    EXPECT_EQ(occurrences(trace, "\"type\":\"screenshot\""), 19u);
    EXPECT_EQ(occurrences(trace, "\"type\":\"view-tree\""), 5u);
    EXPECT_EQ(occurrences(trace, "\"type\":\"sound\""), 7u);
    EXPECT_NE(trace.find("\"name\":\"countLabel\",\"frame\":[20,90,280,110],\"hidden\":false,"
                         "\"alpha\":1,\"text\":\"6\""),
              std::string::npos);
    EXPECT_NE(trace.find("\"text\":\"1\""), std::string::npos);
    EXPECT_NE(trace.find("\"type\":\"view-tree\",\"statusBar\":{\"hidden\":false,"
                         "\"orientation\":1,\"frame\":[0,0,320,20]},\"windows\":[{\"class\":"
                         "\"Window\",\"name\":\"window\""),
              std::string::npos);
    EXPECT_NE(trace.find("\"level\":0,\"key\":true,"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(out / "shots/05-after-reset.png"));
    // The banner: the first ad, three refreshes (the third after a flex ad) and two clicks; the
    // swipe through the flex ad's pages clicks nothing.
    EXPECT_EQ(occurrences(trace, "ad_source.php?"), 4u);
    EXPECT_EQ(
        occurrences(trace, "\"method\":\"POST\",\"url\":\"http:\\/\\/ads.pennant.test\\/click\\/"),
        2u);
    // The first click's landing page in the in-app browser, closed with Done; the next request
    // reports the visit.
    EXPECT_NE(
        trace.find("\"event\":\"shown\",\"level\":0,\"controller\":\"PennantBrowserController\""),
        std::string::npos);
    EXPECT_NE(
        trace.find("\"event\":\"finished\",\"url\":\"http:\\/\\/static.pennant.test\\/static\\/"
                   "phone\\/landing\\/kessa.html\",\"title\":\"Kessa Pro\""),
        std::string::npos);
    EXPECT_NE(trace.find("\"event\":\"hidden\""), std::string::npos);
    EXPECT_NE(trace.find("pub_data%5Bsc%5D=kessa-url"), std::string::npos);
    // The second click's call prompt, accepted: the acquisition ping, then the number.
    EXPECT_NE(trace.find("\"type\":\"alert\",\"event\":\"shown\",\"title\":\"Call 5550100?\""),
              std::string::npos);
    const auto ping = trace.find("pixel\\/track\\/pizza-call-accepted");
    EXPECT_NE(ping, std::string::npos);
    const auto call = trace.find("\"type\":\"open-url\",\"url\":\"tel:5550100\"");
    EXPECT_NE(call, std::string::npos);
    EXPECT_GT(call, ping);
    EXPECT_NE(trace.find("\"class\":\"OldSchoolSingleAdView\""), std::string::npos);
    EXPECT_NE(trace.find("\"text\":\"Hungry? Call Pronto Pizza\",\"tag\":1"), std::string::npos);
    EXPECT_NE(trace.find("\"class\":\"FlexAdContainerView\""), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(out / "shots/14-flex-second-page.png"));
    EXPECT_NE(trace.find("\"message\":\"ad network at http:\\/\\/127.0.0.1:"), std::string::npos)
        << "each run starts its own ad server unless told to use another";
    std::filesystem::remove_all(out);
}

// The search scenario: a suggestion request per key typed, then the picked suggestion sent as
// the click, whose results page (the ad server puts the click's query into it) replaces the
// search screen.
TEST(SimulatorRun, SearchScenarioSendsSuggestionsThenTheQueryAsTheClick) {
    testing_support::ScenarioRun search("search", "web-search");
    ASSERT_EQ(search.run(), 0);

    const std::string trace = search.trace();
    const std::string suggest =
        "\"url\":\"http:\\/\\/ads.pennant.test\\/search\\/suggest?src=banner&query=";
    const auto p = trace.find(suggest + "p\"");
    const auto pi = trace.find(suggest + "pi\"");
    const auto piz = trace.find(suggest + "piz\"");
    ASSERT_NE(p, std::string::npos);
    ASSERT_NE(pi, std::string::npos);
    ASSERT_NE(piz, std::string::npos);
    EXPECT_LT(p, pi);
    EXPECT_LT(pi, piz);
    const auto click = trace.find(
        "\"method\":\"POST\",\"url\":\"http:\\/\\/ads.pennant.test\\/click\\/web-search\"");
    ASSERT_NE(click, std::string::npos);
    EXPECT_GT(click, piz);
    EXPECT_EQ(occurrences(trace, "\\/click\\/"), 1u) << "opening the search screen clicks nothing";
    EXPECT_NE(trace.find("\"title\":\"Results for pizza near me\"", click), std::string::npos);
    EXPECT_NE(trace.find("\"controller\":\"PennantSearchViewController\""), std::string::npos);
    EXPECT_NE(trace.find("\"controller\":\"PennantBrowserController\"", click), std::string::npos);
    for (const char* shot :
         {"01-search-banner.png", "02-search-suggestions.png", "04-search-results.png"})
        EXPECT_TRUE(search.hasScreenshot(shot)) << shot;
}

// The canvas ad: the canvas page over the backdrop, its Call button asking first (the ping,
// then the number), its Close button sending the canvas back onto the banner.
TEST(SimulatorRun, CanvasScenarioCallsThroughThePageAndCloses) {
    testing_support::ScenarioRun canvas("canvas", "kessa-canvas");
    ASSERT_EQ(canvas.run(), 0);
    const std::string trace = canvas.trace();
    const auto shown =
        trace.find("\"event\":\"shown\",\"level\":0,\"controller\":\"PennantCanvasController\"");
    ASSERT_NE(shown, std::string::npos);
    const auto prompt = trace.find("\"title\":\"Call 5550123?\"", shown);
    const auto ping = trace.find("pixel\\/track\\/kessa-canvas-call", prompt);
    const auto call = trace.find("\"type\":\"open-url\",\"url\":\"tel:5550123\"", ping);
    ASSERT_NE(call, std::string::npos) << "prompt, then ping, then the number";
    EXPECT_NE(trace.find("\"event\":\"hidden\",\"level\":0", call), std::string::npos);
    EXPECT_NE(
        trace.find("\"method\":\"POST\",\"url\":\"http:\\/\\/ads.pennant.test\\/ad_source.php\""),
        std::string::npos)
        << "the canvas page's visit is recorded";
    for (const char* shot : {"01-canvas-opening.png", "02-canvas.png", "04-canvas-closing.png"})
        EXPECT_TRUE(canvas.hasScreenshot(shot)) << shot;
}

// The contact ad: accepted, the entry goes into the address book in the run's home, picture
// and all, and the acquisition ping goes out.
TEST(SimulatorRun, ContactScenarioAddsTheAdvertiserWithItsPicture) {
    testing_support::ScenarioRun contact("contact", "garden-contact");
    ASSERT_EQ(contact.run(), 0);
    const std::string trace = contact.trace();
    EXPECT_NE(trace.find("\"title\":\"Add Green Thumb to your Address Book?\""), std::string::npos);
    EXPECT_NE(trace.find("pixel\\/track\\/garden-contact-added"), std::string::npos);
    EXPECT_EQ(occurrences(trace, "\"type\":\"contact\",\"event\":\"added\""), 2u)
        << "once without its picture, once with it";
    ASSERT_TRUE(foundation::Sandbox::current().setHome(contact.home()));
    auto book = addressbook::AddressBook::create(addressbook::AddressBook::OpenMode::ExistingOnly);
    ASSERT_TRUE(book);
    const auto people = book.value()->allPeople();
    ASSERT_TRUE(people);
    ASSERT_EQ(people.value().size(), 1u);
    EXPECT_EQ(people.value()[0].organization, "Green Thumb");
    EXPECT_TRUE(people.value()[0].imageData);
}

// The video scenario: the clip plays to its end, is replayed and plays to its end again, and each
// start and the close reach the ad's analytics; the closing report says the movie ran to its end.
TEST(SimulatorRun, VideoScenarioTracesPlaybackAndReportsItToAnalytics) {
    testing_support::ScenarioRun video("video", "clock-video");
    ASSERT_EQ(video.run(), 0);

    std::vector<std::string> played;
    for (const auto& event : video.events("video")) {
        EXPECT_EQ(event["url"].stringValue(), "http://static.pennant.test/static/video/clock.mp4");
        played.push_back(fmt::format("{}@{:.1f}", event["event"].stringValue(),
                                     event["position"].doubleValue(-1)));
    }
    EXPECT_EQ(played, (std::vector<std::string>{"started@0.0", "finished@6.0", "replayed@0.0",
                                                "started@0.0", "finished@6.0"}));
    std::size_t analyticsPosts = 0;
    for (const auto& event : video.events("http"))
        if (event["method"].stringValue() == "POST" &&
            event["url"].stringValue() == "http://ads.pennant.test/ad_source.php")
            ++analyticsPosts;
    EXPECT_EQ(analyticsPosts, 3u);

    std::vector<std::string> visits;
    for (const auto& entry : video.requests())
        if (entry.method == "POST" && entry.path == "/ad_source.php") {
            const auto visit = pennant::URLDownload::dictionaryFromQueryString(entry.body);
            visits.push_back(visit.get("p").stringValue() + " " +
                             visit.get("startvisit").stringValue() + " " +
                             visit.get("event").stringValue());
        }
    EXPECT_EQ(visits, (std::vector<std::string>{"http://ads.pennant.test/video 1 ",
                                                "http://ads.pennant.test/video 1 ",
                                                "http://ads.pennant.test/done  completed"}));
    for (const char* shot : {"01-video-splash.png", "02-video-playing.png",
                             "03-video-end-screen.png", "05-video-closed.png"})
        EXPECT_TRUE(video.hasScreenshot(shot)) << shot;
}

// The shaker screen as the app first draws it, status bar included.
TEST(SimulatorRun, LaunchScreenMatchesGolden) {
    kessa::registerInterfaceClasses();
    const auto folder = testing_support::ScratchDirectory::create("launch-golden");
    auto options = shortRun();
    options.scenario = (folder / "launch.scn").string();
    std::ofstream(options.scenario) << "at 0.5 screenshot launch.png\n";
    options.screenshots = folder.string();
    options.duration.reset();
    ASSERT_EQ(sim::Simulator(options).run(), 0);
    const auto screen = graphics::Image::fromFile((folder / "launch.png").string());
    ASSERT_TRUE(screen);
    EXPECT_TRUE(testing_support::GoldenImage::committed().matches(*screen, "shaker-launch"));
    std::filesystem::remove_all(folder);
}

TEST(SimulatorRun, DeviceOptionsReachTheDeviceProfile) {
    kessa::registerInterfaceClasses();
    const auto& profile = foundation::DeviceProfile::current();
    EXPECT_EQ(sim::Simulator(shortRun()).run(), 0);
    EXPECT_EQ(profile.audioRoute, "Speaker");
    EXPECT_FALSE(profile.uniqueIdentifier.empty());

    auto options = shortRun();
    options.audioRoute = "";
    options.uniqueIdentifier = "";
    EXPECT_EQ(sim::Simulator(options).run(), 0);
    EXPECT_EQ(profile.audioRoute, "");
    EXPECT_EQ(profile.uniqueIdentifier, "");
}

// Besides the banner's own requests at launch, the run is given some of every outcome, half a
// second in.
TEST(SimulatorRun, EachRequestIsTracedWhenItEnds) {
    const auto folder = testing_support::ScratchDirectory::create("http-trace");
    kessa::registerInterfaceClasses();
    auto options = shortRun();
    options.trace = (folder / "trace.jsonl").string();
    auto& loop = foundation::RunLoop::main();
    const auto owner = std::make_shared<int>();
    std::vector<std::shared_ptr<net::HTTPTask>> tasks;
    loop.post([&] {
        loop.postAfter(foundation::Seconds(0.5), owner, [&] {
            auto& client = net::HTTPClient::shared();
            for (const char* url : {"http://static.pennant.test/static/phone/canvas.html",
                                    "http://ads.pennant.test/nope"})
                tasks.push_back(client.start({url, {}, {}, foundation::Seconds(10), {}}, {}));
            tasks.push_back(client.start({"http://127.0.0.1:1/c",
                                          {},
                                          foundation::Data::fromString("{}"),
                                          foundation::Seconds(10),
                                          {}},
                                         {}));
        });
    });
    EXPECT_EQ(sim::Simulator(options).run(), 0);

    const std::string trace = slurp(folder / "trace.jsonl");
    EXPECT_NE(
        trace.find(
            R"({"t":0,"type":"http","method":"GET","url":"http:\/\/ads.pennant.test\/ad_source.php?)"),
        std::string::npos)
        << trace;
    for (
        const char* line :
        {R"({"t":0.5,"type":"http","method":"GET","url":"http:\/\/static.pennant.test\/static\/phone\/canvas.html","status":200})",
         R"({"t":0.5,"type":"http","method":"GET","url":"http:\/\/ads.pennant.test\/nope","status":404})",
         R"({"t":0.5,"type":"http","method":"POST","url":"http:\/\/127.0.0.1:1\/c","error":-4})"})
        EXPECT_NE(trace.find(line), std::string::npos) << line << "\nnot in\n" << trace;
    std::filesystem::remove_all(folder);
}

TEST(SimulatorRun, BundleWhoseDelegateIsNotAnApplicationDelegateFailsToLaunch) {
    const auto bundle =
        std::filesystem::temp_directory_path() / ("bundle-" + std::to_string(::getpid()));
    std::filesystem::create_directories(bundle);
    std::ofstream(bundle / "Info.plist")
        << "<plist><dict><key>CFBundleIdentifier</key><string>t.t</string>"
           "<key>NSMainNibFile</key><string>Main</string></dict></plist>";
    std::ofstream(bundle / "Main.plist")
        << "<plist><dict><key>delegate</key><string>v</string><key>objects</key>"
           "<array><dict><key>name</key><string>v</string><key>class</key>"
           "<string>View</string></dict></array></dict></plist>";
    sim::SimulatorOptions options;
    options.bundle = bundle.string();
    EXPECT_EQ(sim::Simulator(options).run(), 1);
    std::filesystem::remove_all(bundle);
}

TEST(SimulatorRun, BadScenarioRunsNothing) {
    const auto file =
        std::filesystem::temp_directory_path() / ("bad-" + std::to_string(::getpid()) + ".scn");
    std::ofstream(file) << "at 1 shake 1 2 3\nat 2 jump\n";
    sim::SimulatorOptions options;
    options.scenario = file.string();
    options.bundle = "/nonexistent";
    EXPECT_EQ(sim::Simulator(options).run(), 2);
    std::filesystem::remove(file);
}

TEST(SimulatorRun, OutputThatCannotBeWrittenFailsTheRun) {
    kessa::registerInterfaceClasses();
    auto fullDisk = shortRun();
    fullDisk.trace = "/dev/full";
    EXPECT_EQ(sim::Simulator(fullDisk).run(), 1);

    const auto folder =
        std::filesystem::temp_directory_path() / ("unwritable-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    auto notAFolder = shortRun();
    notAFolder.screenshots = (folder / "file").string();
    std::ofstream(notAFolder.screenshots) << "x";
    EXPECT_EQ(sim::Simulator(notAFolder).run(), 1) << "screenshots cannot go into a regular file";

    // The folder is fine, but the one screenshot's name is taken by a folder of its own.
    auto blocked = shortRun();
    blocked.screenshots = (folder / "shots").string();
    std::filesystem::create_directories(folder / "shots/a.png");
    blocked.scenario = (folder / "shot.scn").string();
    std::ofstream(blocked.scenario) << "at 0.5 screenshot a.png\n";
    EXPECT_EQ(sim::Simulator(blocked).run(), 1);
    std::filesystem::remove_all(folder);
}

// A run ended by a signal still removes its temporary sandbox home, and still ends by that signal.
TEST(SimulatorRun, SignalsDoNotLeaveTheTemporaryHomeBehind) {
    using namespace std::chrono_literals;
    for (const int signal : {SIGTERM, SIGINT, SIGABRT}) {
        const auto temporary = testing_support::ScratchDirectory::create("signal-run");
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        const pid_t child = startKessa({"--clock", "real", "--duration", "30", "--trace", "-"},
                                       temporary, pipeFds[1]);
        ::close(pipeFds[1]);
        ASSERT_GT(child, 0);
        // The first trace line comes once the home is made and the run is under way.
        const std::string line = firstLine(pipeFds[0], 20s);
        EXPECT_FALSE(line.empty()) << "the run never started";
        EXPECT_FALSE(std::filesystem::is_empty(temporary)) << "the run made no home";
        ::kill(child, signal);
        const int status = waitForExit(child, 20s);
        ::close(pipeFds[0]);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal)
            << "signal " << signal << ", status " << status;
        EXPECT_TRUE(std::filesystem::is_empty(temporary)) << "signal " << signal;
        std::filesystem::remove_all(temporary);
    }
}

// A run cut short by --duration must not leave its remaining commands, or its URL handler,
// behind for whatever runs on the loop next.
TEST(SimulatorCleanup, NothingOfARunOutlivesIt) {
    const std::filesystem::path source = PROJECT_SOURCE_DIR;
    const auto scenario =
        std::filesystem::temp_directory_path() / ("late-" + std::to_string(::getpid()) + ".scn");
    std::ofstream(scenario) << "at 5 rotate 3\n";
    kessa::registerInterfaceClasses();
    {
        sim::SimulatorOptions options;
        options.scenario = scenario.string();
        options.bundle = (source / "app/Resources").string();
        options.duration = 1;
        EXPECT_EQ(sim::Simulator(options).run(), 0);
    }
    std::filesystem::remove(scenario);
    foundation::RunLoop::main().runFor(foundation::Seconds(10));
    EXPECT_EQ(ui::Device::current().orientation(), 1);
    EXPECT_FALSE(
        ui::Application::shared().openURL(*foundation::URL::create("http://ads.pennant.test/")));
}

// The whole path of a tap on the banner: the touches, in the banner's own space and timed from
// its first drawing, reach the ad network as the click's body.
TEST(SimulatorRun, ATapOnTheBannerPostsItsTouchesToTheClickURL) {
    const auto folder = testing_support::ScratchDirectory::create("banner-tap");
    testing_support::LoopbackServer network;
    kessa::registerInterfaceClasses();
    auto options = shortRun();
    options.duration.reset();
    options.adServer = sim::SimulatorOptions::Endpoint{"127.0.0.1", network.port()};
    options.scenario = (folder / "tap.scn").string();
    std::ofstream(options.scenario) << "at 5 down 100 450\nat 5.25 up 101 451\nat 7 quit\n";
    ASSERT_EQ(sim::Simulator(options).run(), 0);

    std::vector<std::string> clicks;
    for (const auto& entry : network.requests())
        if (entry.method == "POST" && entry.path.starts_with("/click/"))
            clicks.push_back(entry.body);
    ASSERT_EQ(clicks.size(), 1u);
    // {"interactions":["0,100,18,T0","1,101,19,T1"]}, in the banner's space
    const auto body = json::JSONDeserializer().deserializeAsDictionary(clicks[0]);
    ASSERT_TRUE(body.ok()) << clicks[0];
    const auto records = body.value()["interactions"].asArray();
    ASSERT_EQ(records.size(), 2u) << clicks[0];
    const std::string_view down = records[0].asString(), up = records[1].asString();
    ASSERT_TRUE(down.starts_with("0,100,18,") && up.starts_with("1,101,19,")) << clicks[0];
    const double pressed = std::stod(std::string(down.substr(9)));
    const double lifted = std::stod(std::string(up.substr(9)));
    EXPECT_EQ(down.size() - down.rfind('.'), 7u) << "six decimals: " << down;
    // The banner first draws in the frame after the ad arrives, within 1/60 s of launch.
    EXPECT_NEAR(pressed, 5.0, 1.0 / 60 + 1e-6);
    EXPECT_NEAR(lifted - pressed, 0.25, 1e-6);
    std::filesystem::remove_all(folder);
}

// The catalogue's third ad, swipeable pages, in the app's rotation: a tap on a label within
// the ad's first two seconds is only recorded, a swipe turns the page, and a tap on the second
// page clicks. The click's body holds the container's touches, each tagged label's touches in
// its own space and the pages' change of page, all timed from the ad's first drawing.
TEST(SimulatorRun, AFlexBannerPostsItsElementsTouchesAndPageChangesWithItsClick) {
    const auto folder = testing_support::ScratchDirectory::create("flex-tap");
    testing_support::LoopbackServer network;
    kessa::registerInterfaceClasses();
    auto options = shortRun();
    options.duration.reset();
    options.adServer = sim::SimulatorOptions::Endpoint{"127.0.0.1", network.port()};
    options.scenario = (folder / "flex.scn").string();
    std::ofstream(options.scenario) << "at 63 tap 150 445\n"
                                       "at 65 swipe 280 450 60 450 0.3\n"
                                       "at 68 tap 150 445\n"
                                       "at 70 quit\n";
    ASSERT_EQ(sim::Simulator(options).run(), 0);

    std::vector<std::string> clicks;
    for (const auto& entry : network.requests())
        if (entry.method == "POST" && entry.path.starts_with("/click/"))
            clicks.push_back(entry.path + " " + entry.body);
    ASSERT_EQ(clicks.size(), 1u);
    const std::string prefix = "/click/flex-pages ";
    ASSERT_TRUE(clicks[0].starts_with(prefix)) << clicks[0];
    const auto body =
        json::JSONDeserializer().deserializeAsDictionary(clicks[0].substr(prefix.size()));
    ASSERT_TRUE(body.ok()) << clicks[0];
    const auto& interactions = body.value()["interactions"];
    const auto records = [&](const std::string& tag) {
        std::vector<std::string> texts;
        for (const auto& record : interactions[tag]["touches"].asArray())
            texts.emplace_back(record.asString());
        return texts;
    };
    // Only the tap that clicked counts for the container; the labels record every touch.
    const auto container = records("container");
    ASSERT_EQ(container.size(), 2u) << clicks[0];
    EXPECT_TRUE(container[0].starts_with("0,150,13,6.") && container[1].starts_with("1,150,13,6."))
        << clicks[0];
    const auto coffee = records("coffee"), cakes = records("cakes");
    ASSERT_EQ(coffee.size(), 2u) << clicks[0];
    EXPECT_TRUE(coffee[0].starts_with("0,98,11,1.") && coffee[1].starts_with("1,98,11,1."))
        << clicks[0];
    ASSERT_EQ(cakes.size(), 2u) << clicks[0];
    EXPECT_TRUE(cakes[0].starts_with("0,98,11,6.")) << clicks[0];
    EXPECT_FALSE(interactions.asDictionary().contains("bread")) << "never touched";
    const auto pages = interactions["scroll"].asArray();
    ASSERT_EQ(pages.size(), 1u) << clicks[0];
    EXPECT_TRUE(pages[0].asString().starts_with("1,3.")) << clicks[0];
    std::filesystem::remove_all(folder);
}

// The demo played in a window gives the trace and the screenshots of the headless run. HTTP
// requests run side by side, so only their set is compared, not their order.
TEST(SimulatorRun, AWindowedRunTracesWhatAHeadlessRunTraces) {
    ::setenv("SDL_VIDEODRIVER", "offscreen", 1);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    kessa::registerInterfaceClasses();
    const auto folder = testing_support::ScratchDirectory::create("two-runs");
    struct Events {
        std::vector<std::string> inOrder, http;
    };
    auto run = [&](const std::string& name, bool window) {
        auto options = shortRun();
        options.scenario =
            (std::filesystem::path(PROJECT_SOURCE_DIR) / "sim/scenarios/demo.scn").string();
        options.duration = 10;
        options.trace = (folder / (name + ".jsonl")).string();
        options.screenshots = (folder / name).string();
        options.window = window;
        options.virtualClock = true;
        EXPECT_EQ(sim::Simulator(options).run(), 0) << name;
        Events events;
        std::istringstream lines(slurp(options.trace));
        for (std::string line; std::getline(lines, line);) {
            // Times aside; each run has an ad server port and a screenshot folder of its own.
            line = withoutTimeAndPorts(line);
            for (auto at = line.find(name); at != std::string::npos; at = line.find(name))
                line.replace(at, name.size(), "RUN");
            (line.starts_with("{\"type\":\"http\"") ? events.http : events.inOrder).push_back(line);
        }
        std::ranges::sort(events.http);
        return events;
    };
    const Events windowed = run("windowed-run", true);
    const Events headless = run("headless-run", false);
    EXPECT_EQ(windowed.inOrder, headless.inOrder);
    EXPECT_EQ(windowed.http, headless.http);
    EXPECT_EQ(std::ranges::count(windowed.inOrder, "{\"type\":\"sound\",\"name\":\"zeee\"}"), 4);
    for (const auto& shot : std::filesystem::directory_iterator(folder / "headless-run"))
        EXPECT_EQ(slurp(shot.path()), slurp(folder / "windowed-run" / shot.path().filename()))
            << shot.path().filename();
    std::filesystem::remove_all(folder);
}
