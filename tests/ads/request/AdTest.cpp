#include "ads/request/Ad.h"
#include "ads/request/AdDelegate.h"
#include "ads/request/AnalyticsData.h"
#include "ads/request/AppData.h"
#include "ads/request/Delegate.h"
#include "ads/request/Localizer.h"
#include "ads/request/LocationManager.h"
#include "ads/request/Opener.h"
#include "ads/request/URLDownload.h"
#include "platform/audio/AudioSession.h"
#include "platform/foundation/DeviceProfile.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/URL.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/graphics/Image.h"
#include "platform/net/HostMap.h"
#include "platform/ui/Application.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/Device.h"
#include "platform/ui/InterfaceObject.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/SandboxHome.h"
#include "tests/support/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

using foundation::Data;
using foundation::Dictionary;
using foundation::RunLoop;
using foundation::Seconds;
using foundation::Value;
using pennant::Ad;
using testing_support::LoopbackServer;

namespace {

constexpr Seconds kBound{20};

struct HostDelegate : pennant::Delegate {
    std::string publisherId() override { return "a1b2c3d4e5f6a7b"; }
    std::optional<bool> mayAskForLocation() override { return mayAsk; }
    std::optional<std::optional<location::Location>> location() override { return where; }
    std::optional<bool> useTestAd() override { return testAd; }
    std::optional<std::string> testAdAction() override { return testAction; }
    std::optional<std::string> postalCode() override { return postal; }
    std::optional<std::string> areaCode() override { return area; }
    std::optional<foundation::Date> dateOfBirth() override { return birth; }
    std::optional<std::string> gender() override { return sex; }
    std::optional<std::string> keywords() override { return words; }
    std::optional<std::string> searchString() override { return search; }
    std::optional<std::string> adserverEndpoint() override { return endpoint; }
    std::optional<graphics::Color> adBackgroundColor() override { return background; }
    std::optional<graphics::Color> primaryTextColor() override { return textColor; }
    std::optional<bool> useGraySpinner() override { return graySpinner; }

    std::optional<bool> mayAsk, testAd, graySpinner;
    std::optional<graphics::Color> background, textColor;
    std::optional<std::optional<location::Location>> where;
    std::optional<std::string> testAction, postal, area, sex, words, search, endpoint;
    std::optional<foundation::Date> birth;
};

struct Owner : pennant::AdDelegate {
    graphics::Size adSize() override { return {320, 48}; }
    void adDidLoad(Ad&) override { ++loads; }
    void adDidFailToLoad(Ad&) override { ++failures; }
    void clickDidSucceed(Ad&, const std::optional<Dictionary>& answer) override {
        ++clickSuccesses;
        response = answer;
    }
    void clickDidFail(Ad&) override { ++clickFailures; }

    int reports() const { return loads + failures; }
    int loads = 0, failures = 0, clickSuccesses = 0, clickFailures = 0;
    std::optional<Dictionary> response;
};

class AdTest : public testing_support::SandboxHome {
protected:
    std::shared_ptr<Ad> makeAd(int format = Ad::kBanner) {
        auto ad = Ad::create(format);
        ad->setDelegate(host);
        ad->setAdDelegate(owner);
        return ad;
    }
    // Requests the ad the catalogue has for the test action and waits for its one report.
    std::shared_ptr<Ad> load(const std::string& action, int format = Ad::kBanner) {
        host->testAd = true;
        host->testAction = action;
        auto ad = makeAd(format);
        ad->request();
        EXPECT_TRUE(RunLoop::main().runUntil([&] { return owner->reports() > 0; }, kBound));
        return ad;
    }
    // Lets late callbacks arrive, so "exactly once" means once.
    void settle() {
        RunLoop::main().runUntil([] { return false; }, Seconds(0.3));
    }
    bool waitForRequests(const std::string& pathPrefix, std::size_t count) {
        return RunLoop::main().runUntil([&] { return requestsTo(pathPrefix).size() >= count; },
                                        kBound);
    }
    std::vector<adserver::Journal::Entry> requestsTo(const std::string& pathPrefix) {
        auto all = server.requests();
        std::erase_if(all, [&](const auto& entry) { return !entry.path.starts_with(pathPrefix); });
        return all;
    }
    Dictionary lastAdRequestParameters() {
        const auto requests = requestsTo("/ad_source.php");
        EXPECT_FALSE(requests.empty());
        return pennant::URLDownload::dictionaryFromQueryString(
            requests.empty() ? std::string() : requests.back().query);
    }
    int logged(const std::string& line) const {
        return static_cast<int>(std::ranges::count(lines, line));
    }

    void writeShortClick(const Dictionary& record) { writeShortClickBytes(plist(record)); }
    void writeShortClickBytes(const Data& bytes) {
        ASSERT_TRUE(foundation::FileManager::writeAtomically(Ad::shortClickFilePath(), bytes).ok());
    }
    static Data plist(const Value& value) {
        return foundation::PropertyList::writeXML(value).value();
    }
    static bool shortClickFileExists() {
        return foundation::FileManager::fileExists(Ad::shortClickFilePath());
    }

    LoopbackServer server;
    std::shared_ptr<HostDelegate> host = std::make_shared<HostDelegate>();
    std::shared_ptr<Owner> owner = std::make_shared<Owner>();
    std::vector<std::string> lines;
    foundation::Subscription sink =
        foundation::Log::addSink([this](const std::string& line) { lines.push_back(line); });
};

std::set<std::string> keysOf(const Dictionary& dictionary) {
    const auto keys = dictionary.keys();
    return {keys.begin(), keys.end()};
}

std::uint32_t crc32(std::string_view bytes) {
    std::uint32_t crc = 0xffffffffu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::string bigEndian(std::uint32_t value) {
    return {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
}

std::string chunk(std::string_view type, std::string_view data) {
    const std::string typed = std::string(type) + std::string(data);
    return bigEndian(std::uint32_t(data.size())) + typed + bigEndian(crc32(typed));
}

// A well-formed grey PNG one pixel high, its pixels in one stored deflate block, so its
// width alone decides whether the decoder takes it.
std::string greyPNG(std::uint32_t width) {
    const std::string row = std::string(1, '\0') + std::string(width, '\x80');
    std::uint32_t a = 1, b = 0;
    for (unsigned char byte : row) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    const auto length = std::uint16_t(row.size());
    const std::string deflate = std::string("\x78\x01\x01", 3) + char(length & 0xff) +
                                char(length >> 8) + char(~length & 0xff) +
                                char((~length >> 8) & 0xff) + row + bigEndian((b << 16) | a);
    const std::string header =
        bigEndian(width) + bigEndian(1) + std::string("\x08\x00\x00\x00\x00", 5);
    return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", deflate) +
           chunk("IEND", "");
}

// An ad network of its own that answers every ad request with the one response given and
// serves the static files given (paths below "static/"); images and icons named by path still
// come from the shared static-content host.
class CatalogServer {
public:
    explicit CatalogServer(const std::string& response,
                           const std::map<std::string, std::string>& staticFiles = {})
        : directory_(testing_support::ScratchDirectory::create("pennant-catalog")),
          server_(options(directory_)) {
        for (const auto& [name, bytes] : staticFiles) {
            const auto file = directory_ / "static" / name;
            std::filesystem::create_directories(file.parent_path());
            std::ofstream(file, std::ios::binary) << bytes;
        }
        std::ofstream(directory_ / "ads.json")
            << R"({"ads": [{"id": "only", "response": )" << response << "}]}";
        EXPECT_TRUE(server_.start().ok()) << response;
        net::HostMap::shared().map(kHost, "127.0.0.1", server_.port());
    }
    ~CatalogServer() {
        server_.stop();
        std::filesystem::remove_all(directory_);
    }
    static constexpr const char* kHost = "catalog.pennant.test";
    static constexpr const char* kEndpoint = "http://catalog.pennant.test/ad_source.php";

private:
    static adserver::AdServer::Options options(const std::filesystem::path& directory) {
        adserver::AdServer::Options options;
        options.catalogDirectory = directory.string();
        options.adHost = kHost;
        return options;
    }
    std::filesystem::path directory_;
    adserver::AdServer server_;
};

// Stands for a class of another ad library linked into the host.
class ForeignClass : public ui::InterfaceObject {
public:
    explicit ForeignClass(std::string name) : name_(std::move(name)) {}
    std::string className() const override { return name_; }

private:
    std::string name_;
};

// Makes a class name known to the process-wide registry for one scope. The registry cannot
// forget a name, so at the end of the scope the name's factory makes nothing, as for a name
// never registered, and no later test sees the class.
class ScopedClassRegistration {
public:
    explicit ScopedClassRegistration(std::string name) : name_(std::move(name)) {
        ui::ClassRegistry::shared().registerClass(
            name_, [name = name_] { return std::make_shared<ForeignClass>(name); });
    }
    ~ScopedClassRegistration() {
        ui::ClassRegistry::shared().registerClass(
            name_, [] { return std::shared_ptr<ui::InterfaceObject>(); });
    }
    ScopedClassRegistration(const ScopedClassRegistration&) = delete;
    ScopedClassRegistration& operator=(const ScopedClassRegistration&) = delete;

private:
    std::string name_;
};

} // namespace

// Parameters ---------------------------------------------------------------------------------

TEST_F(AdTest, WithoutOptionalAnswersOnlyTheAlwaysPresentKeysAndWhatTheDeviceSupplies) {
    auto ad = makeAd();
    ad->request();
    ASSERT_TRUE(waitForRequests("/ad_source.php", 1));
    const auto parameters = lastAdRequestParameters();
    std::set<std::string> expected = {"s", "f", "v", "ex", "client_sdk", "ad_type", "audio", "so"};
    const auto& app = pennant::AppData::sharedAppData();
    for (const auto& [key, given] :
         {std::pair{"isu", !ui::Device::current().uniqueIdentifier().empty()},
          {"pub_data[display_name]", app.bundleDisplayName().has_value()},
          {"pub_data[name]", app.bundleName().has_value()},
          {"pub_data[identifier]", app.bundleIdentifier().has_value()},
          {"l", pennant::Localizer::sharedLocalizer().preferredLanguage().has_value()}})
        if (given)
            expected.insert(key);
    EXPECT_EQ(keysOf(parameters), expected);
    EXPECT_EQ(parameters.get("s"), Value("a1b2c3d4e5f6a7b"));
    EXPECT_EQ(parameters.get("f"), Value("jsonp"));
    EXPECT_EQ(parameters.get("v"), Value("20091119-iSDK-5096df531ccfaf53"));
    EXPECT_EQ(parameters.get("ex"), Value("1"));
    EXPECT_EQ(parameters.get("client_sdk"), Value("1"));
    EXPECT_EQ(parameters.get("ad_type"), Value("bar"));
    EXPECT_EQ(parameters.get("audio"), Value("0"));
    EXPECT_EQ(parameters.get("so"), Value("p"));
    EXPECT_EQ(parameters.get("l"), Value("en"));
}

TEST_F(AdTest, AudioRouteAndOrientationAreReadAtEachRequest) {
    auto ad = makeAd();
    const std::vector<std::pair<std::string, std::string>> routes = {
        {"Speaker", "0"}, {"Headphone", "1"}, {"Headset", "1"}, {"", "2"}, {"LineOut", "4"}};
    for (const auto& [route, code] : routes) {
        foundation::DeviceProfile::current().audioRoute = route;
        EXPECT_EQ(ad->buildParams().get("audio"), Value(code)) << route;
    }
    for (const auto& [orientation, code] : {std::pair{1, "p"}, {2, "p"}, {3, "l"}, {4, "l"}}) {
        ui::Application::shared().setStatusBarOrientation(orientation);
        EXPECT_EQ(ad->buildParams().get("so"), Value(code)) << orientation;
    }
}

TEST_F(AdTest, TestModeAsksForTheTestActionUnlessTheAppCameFromTheStore) {
    host->testAd = true;
    host->testAction = "call";
    auto parameters = makeAd()->buildParams();
    EXPECT_EQ(parameters.get("m"), Value("test"));
    EXPECT_EQ(parameters.get("test_action"), Value("call"));
    EXPECT_EQ(logged(Ad::kTestAdRefusedMessage), 0);

    host->testAction.reset();
    parameters = makeAd()->buildParams();
    EXPECT_EQ(parameters.get("m"), Value("test"));
    EXPECT_FALSE(parameters.contains("test_action"));
}

TEST_F(AdTest, TestModeWithStoreMetadataSendsNoTestKeysAndLogsOncePerRequest) {
    ASSERT_TRUE(foundation::FileManager::writeAtomically(
                    path("iTunesMetadata.plist"), plist(Dictionary{{"itemId", Value::integer(1)}}))
                    .ok());
    host->testAd = true;
    host->testAction = "call";
    auto ad = makeAd();
    ad->request();
    ASSERT_TRUE(waitForRequests("/ad_source.php", 1));
    const auto parameters = lastAdRequestParameters();
    EXPECT_FALSE(parameters.contains("m"));
    EXPECT_FALSE(parameters.contains("test_action"));
    EXPECT_EQ(logged(Ad::kTestAdRefusedMessage), 1);
}

TEST_F(AdTest, LocationComesFromTheHostWhenItAnswersEvenWithNothing) {
    ASSERT_TRUE(
        foundation::FileManager::createDirectory(path("Library/Caches/pennant/location_cache"))
            .ok());
    ASSERT_TRUE(foundation::FileManager::writeAtomically(
                    pennant::LocationManager::sharedManager().cachePath(),
                    Data::fromString("45.504800,-73.577200"))
                    .ok());
    auto ad = makeAd();
    EXPECT_FALSE(ad->buildParams().contains("d[coord]")) << "only when the host allows it";

    host->mayAsk = true;
    const auto fromDevice = ad->buildParams();
    EXPECT_EQ(fromDevice.get("d[coord]"), Value("45.504800,-73.577200"));
    EXPECT_EQ(fromDevice.get("d[coord_timestamp]"), Value(fmt::format("{:f}", kStart)));

    const location::Location pier({45.5, -73.55}, 10, foundation::Date(kStart));
    host->where = pier;
    const auto fromHost = ad->buildParams();
    EXPECT_EQ(fromHost.get("d[coord]"), Value(pennant::LocationManager::stringForLocation(pier)));
    EXPECT_FALSE(fromHost.contains("d[coord_timestamp]"));

    host->where = std::optional<location::Location>();
    EXPECT_FALSE(ad->buildParams().contains("d[coord]"));
}

TEST_F(AdTest, DemographicsKeywordsAndSearchAreSentAsGiven) {
    host->postal = "H2X 1Y4";
    host->area = "514";
    host->sex = "f";
    host->words = "shaker toys";
    host->search = "pizza";
    // 5 March 1980, midday UTC.
    host->birth = foundation::Date(321105600);
    const auto parameters = makeAd()->buildParams();
    EXPECT_EQ(parameters.get("d[pc]"), Value("H2X 1Y4"));
    EXPECT_EQ(parameters.get("d[ac]"), Value("514"));
    EXPECT_EQ(parameters.get("d[gender]"), Value("f"));
    EXPECT_EQ(parameters.get("d[dob]"), Value("19800305"));
    EXPECT_EQ(parameters.get("k"), Value("shaker toys"));
    EXPECT_EQ(parameters.get("search"), Value("pizza"));
}

TEST_F(AdTest, FullScreenRequestsNameTheirTypeAndEventAndTheHostMayMoveTheEndpoint) {
    host->endpoint = "http://static.pennant.test/ad_source.php";
    auto ad = makeAd(Ad::kFullScreen);
    ad->request();
    ASSERT_TRUE(waitForRequests("/ad_source.php", 1));
    const auto parameters = lastAdRequestParameters();
    EXPECT_EQ(parameters.get("ad_type"), Value("full_screen"));
    EXPECT_EQ(parameters.get("event"), Value("4"));
    const auto requests = requestsTo("/ad_source.php");
    const auto host = std::ranges::find_if(
        requests.back().headers, [](const auto& header) { return header.first == "Host"; });
    ASSERT_NE(host, requests.back().headers.end());
    EXPECT_TRUE(host->second.starts_with("static.pennant.test")) << host->second;
}

TEST_F(AdTest, OtherAdLibrariesInTheProcessAreAnnouncedByTheirClassNames) {
    std::size_t sent = 0;
    const auto announced = [&] {
        auto ad = makeAd();
        ad->request();
        EXPECT_TRUE(waitForRequests("/ad_source.php", ++sent));
        std::set<std::string> keys;
        for (const auto& key : keysOf(lastAdRequestParameters()))
            if (key == "pub_data[ar]" || key == "pub_data[tj]")
                keys.insert(key);
        return keys;
    };
    using Keys = std::set<std::string>;
    EXPECT_EQ(announced(), Keys{});
    {
        ScopedClassRegistration roller("RollerAdView");
        EXPECT_EQ(announced(), Keys{"pub_data[ar]"});
        ScopedClassRegistration connect("TJConnectSession");
        EXPECT_EQ(announced(), (Keys{"pub_data[ar]", "pub_data[tj]"}));
        EXPECT_EQ(lastAdRequestParameters().get("pub_data[ar]"), Value("1"));
        EXPECT_EQ(lastAdRequestParameters().get("pub_data[tj]"), Value("1"));
    }
    EXPECT_EQ(announced(), Keys{});
}

// Short-click record -------------------------------------------------------------------------

TEST_F(AdTest, TheLastClickRidesAlongOnceWithItsAgeAndEngagement) {
    auto ad = makeAd();
    writeShortClick(
        Dictionary{{"t", "kessa-url"}, {"c", Value::number(foundation::absoluteTimeNow())}});
    clock->advanceBy(12.5);
    ad->setEngagementInterval(3.25);
    EXPECT_EQ(ad->buildParamsWithLastClickInfo(true).get("pub_data[sc]"),
              Value("kessa-url,12.50,3.25"));
    EXPECT_FALSE(shortClickFileExists());
    EXPECT_FALSE(ad->buildParamsWithLastClickInfo(true).contains("pub_data[sc]"));

    writeShortClick(
        Dictionary{{"t", "kessa-url"}, {"c", Value::number(foundation::absoluteTimeNow() - 12.5)}});
    EXPECT_FALSE(ad->buildParams().contains("pub_data[sc]")) << "only with last-click info";
    EXPECT_EQ(ad->buildParamsWithLastClickInfo(true).get("pub_data[sc]"), Value("kessa-url,12.50"));

    writeShortClick(
        Dictionary{{"t", "kessa-url"}, {"c", Value::number(foundation::absoluteTimeNow() + 1)}});
    EXPECT_FALSE(ad->buildParamsWithLastClickInfo(true).contains("pub_data[sc]"));
    EXPECT_FALSE(shortClickFileExists());

    ad->setEngagementInterval(3.25);
    EXPECT_FALSE(shortClickFileExists()) << "engagement alone makes no record";
}

TEST_F(AdTest, AnUnusableClickRecordAddsNothingAndIsDeleted) {
    const double now = foundation::absoluteTimeNow();
    const std::vector<Data> records = {
        plist(Dictionary{{"t", "kessa-url"}, {"c", Value(std::to_string(now - 5))}}),
        plist(Dictionary{{"t", Value::integer(42)}, {"c", Value::number(now - 5)}}),
        plist(Value(Value::Array{Value("kessa-url"), Value::number(now - 5)})),
        Data::fromString("not a property list"),
        Data::fromString(std::string(8192, ' ')),
    };
    auto ad = makeAd();
    for (const auto& record : records) {
        writeShortClickBytes(record);
        EXPECT_FALSE(ad->buildParamsWithLastClickInfo(true).contains("pub_data[sc]"))
            << record.view();
        EXPECT_FALSE(shortClickFileExists()) << record.view();
    }
}

// Loading ------------------------------------------------------------------------------------

TEST_F(AdTest, APlainAdLoadsItsIconsRequestImageAndActionIconThenReportsOnce) {
    auto ad = load("url");
    settle();
    EXPECT_EQ(owner->loads, 1);
    EXPECT_EQ(owner->failures, 0);
    EXPECT_EQ(ad->state(), Ad::kLoaded);
    EXPECT_TRUE(ad->readyForDisplay());
    EXPECT_EQ(ad->text(), "Shake harder: Kessa Pro is here");
    EXPECT_EQ(ad->action(), pennant::Opener::kURL);
    EXPECT_EQ(ad->actionImageName(), "url");
    EXPECT_EQ(ad->userString(), "Kessa Pro");
    EXPECT_EQ(ad->medium(), Ad::kTextBanner);
    ASSERT_TRUE(ad->userImage());
    EXPECT_EQ(ad->userImage()->pixelWidth(), 38);
    ASSERT_TRUE(ad->actionImage());
    EXPECT_EQ(ad->opener()->action(), pennant::Opener::kURL);
    EXPECT_EQ(ad->opener()->title(), "Kessa Pro");
    EXPECT_FALSE(ad->openerIsSet());
    EXPECT_EQ(requestsTo("/static/phone/browser/").size(), 4u);
    EXPECT_EQ(requestsTo("/static/phone/ads/kessa-tile.png").size(), 1u);
    EXPECT_EQ(requestsTo("/static/phone/img/url.png").size(), 1u);

    ad->request();
    settle();
    EXPECT_EQ(requestsTo("/ad_source.php").size(), 1u) << "an ad requests once";

    // The icons are cached now: the next ad asks the network for the ad at once.
    owner->loads = 0;
    auto next = load("url");
    EXPECT_EQ(owner->loads, 1);
    EXPECT_EQ(requestsTo("/static/phone/browser/").size(), 4u);
}

TEST_F(AdTest, EveryFailureReachesTheOwnerExactlyOnce) {
    const std::vector<std::string> faults = {
        R"({"path": "/static/phone/browser/back.png", "status": 404, "count": 0})",
        R"({"path": "/ad_source.php", "status": 500, "count": 0})",
        R"({"path": "/ad_source.php", "status": 204, "count": 0})",
        R"({"path": "/static/phone/ads/*", "status": 404, "count": 0})",
        R"({"path": "/static/phone/img/url.png", "status": 404, "count": 0})",
    };
    for (const auto& fault : faults) {
        // A download cancelled by the last failure may still reach the server: each rule
        // stays for its whole round, and only for it.
        server.server().faults().clear();
        server.addFault(fault);
        *owner = Owner();
        auto ad = load("url");
        settle();
        EXPECT_EQ(owner->failures, 1) << fault;
        EXPECT_EQ(owner->loads, 0) << fault;
        EXPECT_EQ(ad->state(), Ad::kFailed) << fault;
    }
}

TEST_F(AdTest, WrongTypesInTheResponseTakeTheirDefaults) {
    auto ad = load("app");
    settle();
    EXPECT_EQ(owner->loads, 1);
    EXPECT_EQ(ad->text(), "Get the Kessa app");
    EXPECT_FALSE(ad->userString());
    EXPECT_EQ(ad->actionImageName(), "app");
    EXPECT_FALSE(ad->searchPlaceholder());
    EXPECT_FALSE(ad->searchHelpURL());
    EXPECT_FALSE(ad->suggestionUrl());
    EXPECT_EQ(ad->medium(), Ad::kTextBanner);
    EXPECT_FALSE(ad->accountingPixelUrl());
    EXPECT_FALSE(ad->trackingPixelUrl());
    EXPECT_FALSE(ad->openerIsSet());

    ad->click();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return owner->clickSuccesses > 0; }, kBound));
    ASSERT_TRUE(owner->response);
    EXPECT_EQ(owner->response->get("redirect_url"), Value::integer(5));
}

// Rich ads are built by the owner; one that cannot build them fails them, once, with one line.
TEST_F(AdTest, AnOwnerThatCannotBuildRichAdsFailsThemAfterTheirOpenerIsBuilt) {
    auto ad = load("canvas");
    settle();
    EXPECT_EQ(owner->failures, 1);
    EXPECT_EQ(logged(Ad::kRichAdsUnsupportedMessage), 1);
    ASSERT_TRUE(ad->openerIsSet());
    EXPECT_EQ(ad->opener()->action(), pennant::Opener::kCanvas);
    EXPECT_EQ(ad->opener()->accountingURL(), "http://ads.pennant.test/pixel/cpm/kessa-canvas");
    EXPECT_EQ(ad->opener()->thirdPartyTrackingURL(),
              "http://ads.pennant.test/pixel/track/kessa-canvas");
    EXPECT_EQ(ad->opener()->analytics()->analyticsSiteID(), "kessa-canvas");
}

TEST_F(AdTest, AnImageBeyondThePlatformBoundFailsTheAd) {
    host->endpoint = CatalogServer::kEndpoint;
    for (const int width : {graphics::Image::maxDimension, graphics::Image::maxDimension + 1}) {
        CatalogServer network(
            R"({"6": "url", "banner": "http://catalog.pennant.test/static/phone/ads/wide.png"})",
            {{"phone/ads/wide.png", greyPNG(std::uint32_t(width))}});
        *owner = Owner();
        auto ad = makeAd();
        ad->request();
        ASSERT_TRUE(RunLoop::main().runUntil([&] { return owner->reports() > 0; }, kBound));
        settle();
        const bool fits = width <= graphics::Image::maxDimension;
        EXPECT_EQ(owner->loads, fits ? 1 : 0) << width;
        EXPECT_EQ(owner->failures, fits ? 0 : 1) << width;
        EXPECT_EQ(ad->medium(), Ad::kImageBanner);
        EXPECT_EQ(ad->userImage() ? ad->userImage()->pixelWidth() : 0, fits ? width : 0);
    }
}

TEST_F(AdTest, APlainResponseLoadsOnlyWithWhatItsBannerNeeds) {
    constexpr int kFails = -1;
    const std::vector<std::pair<std::string, int>> cases = {
        {R"({"text": "Tile", "6": "url", "204": "/static/phone/ads/kessa-tile.png"})",
         Ad::kTextBanner},
        {R"({"6": "url", "banner": "http://static.pennant.test/static/phone/ads/garden-banner.png"})",
         Ad::kImageBanner},
        {R"({"6": "url", "204": "/static/phone/ads/kessa-tile.png"})", kFails},
        {R"({"text": "Tile", "204": "/static/phone/ads/kessa-tile.png"})", kFails},
        {R"({"text": "Tile", "6": "url", "204": "/static/phone/ads/kessa-tile.png",
             "jsonp_url": null})",
         kFails},
        {R"({"text": "Tile", "6": "url"})", kFails},
        {R"({"o": {"a": "url", "u": "http://static.pennant.test/"}, "text": "Tile",
             "6": "url", "204": "/static/phone/ads/kessa-tile.png"})",
         kFails},
        {R"({"6": "search", "18": "search", "20": "1",
             "204": "/static/phone/ads/search-tile.png"})",
         Ad::kSearchAd},
        {R"({"text": "Tile", "6": "url", "20": null, "204": "/static/phone/ads/kessa-tile.png"})",
         Ad::kSearchAd},
    };
    host->endpoint = CatalogServer::kEndpoint;
    for (const auto& [response, medium] : cases) {
        CatalogServer network(response);
        *owner = Owner();
        auto ad = makeAd();
        ad->request();
        ASSERT_TRUE(RunLoop::main().runUntil([&] { return owner->reports() > 0; }, kBound));
        settle();
        EXPECT_EQ(owner->loads, medium == kFails ? 0 : 1) << response;
        EXPECT_EQ(owner->failures, medium == kFails ? 1 : 0) << response;
        if (medium != kFails) {
            EXPECT_EQ(ad->medium(), medium) << response;
        }
    }
    EXPECT_TRUE(requestsTo("/static/phone/img/search.png").empty()) << "a search ad has no icon";
}

TEST_F(AdTest, AFullScreenResponseMustOpenAPageOrAMovie) {
    struct Case {
        std::string response;
        int medium; // -1: the ad fails
        float storedTimeout;
    };
    // Only a positive time-out replaces the stored one, even from a response that fails.
    const std::vector<Case> cases = {
        {R"({"a": "movie", "u": "http://static.pennant.test/m.mp4", "timeout": -1})",
         Ad::kFullScreenMovie, 5.0f},
        {R"({"a": "url", "u": "http://static.pennant.test/", "timeout": 9})", -1, 9.0f},
    };
    host->endpoint = CatalogServer::kEndpoint;
    for (const auto& [response, medium, storedTimeout] : cases) {
        CatalogServer network(response);
        *owner = Owner();
        auto ad = makeAd(Ad::kFullScreen);
        ad->request();
        ASSERT_TRUE(RunLoop::main().runUntil([&] { return owner->reports() > 0; }, kBound));
        settle();
        EXPECT_EQ(owner->loads, medium < 0 ? 0 : 1) << response;
        EXPECT_EQ(owner->failures, medium < 0 ? 1 : 0) << response;
        if (medium >= 0) {
            EXPECT_EQ(ad->medium(), medium) << response;
        }
        EXPECT_EQ(foundation::UserDefaults::standard().floatForKey(Ad::kTimeoutDefaultsKey),
                  storedTimeout)
            << response;
    }
}

TEST_F(AdTest, TheViewsColoursAndSpinnerComeFromTheHostOrTheirDefaults) {
    auto ad = makeAd();
    EXPECT_EQ(ad->backgroundColor(), graphics::Color(0.443f, 0.514f, 0.631f, 1.0f));
    EXPECT_EQ(ad->textColor(), graphics::Color(1, 1, 1, 1));
    EXPECT_EQ(ad->spinnerStyle(), 1);
    host->graySpinner = false;
    EXPECT_EQ(ad->spinnerStyle(), 1);

    host->background = graphics::Color(0.1f, 0.2f, 0.3f, 0.5f);
    host->textColor = graphics::Color(0, 0, 0, 1);
    host->graySpinner = true;
    EXPECT_EQ(ad->backgroundColor(), graphics::Color(0.1f, 0.2f, 0.3f, 0.5f));
    EXPECT_EQ(ad->textColor(), graphics::Color(0, 0, 0, 1));
    EXPECT_EQ(ad->spinnerStyle(), 2);
}

// Display pixels -----------------------------------------------------------------------------

TEST_F(AdTest, DisplayPixelsFireOnce) {
    auto ad = load("url");
    ad->loadAccountingPixel();
    ad->loadAccountingPixel();
    ASSERT_TRUE(waitForRequests("/pixel/", 2));
    settle();
    EXPECT_EQ(requestsTo("/pixel/cpm/kessa-url").size(), 1u);
    EXPECT_EQ(requestsTo("/pixel/track/kessa-url").size(), 1u);
}

TEST_F(AdTest, ATrackingPixelWithSpacesIsEscapedOnlyWhereAURLMustBe) {
    auto ad = load("map");
    ASSERT_EQ(owner->loads, 1);
    EXPECT_EQ(ad->trackingPixelUrl(), "http://ads.pennant.test/pixel/track/"
                                      "pier-map?note=two%20words&q=%22pier%22&ok=a%20b");
    ad->loadAccountingPixel();
    ASSERT_TRUE(waitForRequests("/pixel/track/pier-map", 1));
    EXPECT_EQ(requestsTo("/pixel/track/pier-map").front().query,
              "note=two%20words&q=%22pier%22&ok=a%20b");
}

// Clicks -------------------------------------------------------------------------------------

TEST_F(AdTest, TheFirstClickPostsItsDataAndLaterClicksReReportTheAnswer) {
    auto ad = load("url");
    const Dictionary touches{{"interactions", Value(Value::Array{Value("0,10,20,0.500000")})}};
    ad->clickWithData(touches);
    EXPECT_EQ(ad->state(), Ad::kClicking);
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return owner->clickSuccesses > 0; }, kBound));
    EXPECT_EQ(ad->state(), Ad::kLoaded);
    auto clicks = requestsTo("/click/kessa-url");
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].method, "POST");
    EXPECT_EQ(clicks[0].body, R"({"interactions":["0,10,20,0.500000"]})");
    ASSERT_TRUE(owner->response);
    EXPECT_EQ(owner->response->get("redirect_url"),
              Value("http://static.pennant.test/static/phone/landing/kessa.html"));

    // The click is remembered for the next request.
    clock->advanceBy(2);
    EXPECT_EQ(makeAd()->buildParamsWithLastClickInfo(true).get("pub_data[sc]"),
              Value("kessa-url,2.00"));

    owner->response.reset();
    ad->click();
    settle();
    EXPECT_EQ(owner->clickSuccesses, 2);
    EXPECT_EQ(owner->response->get("redirect_url"),
              Value("http://static.pennant.test/static/phone/landing/kessa.html"));
    EXPECT_EQ(requestsTo("/click/").size(), 1u);
}

TEST_F(AdTest, AFirstClickTheNetworkNeverAnsweredIsNoClick) {
    // A failed click request, then one answered with nothing.
    for (const auto* fault :
         {R"({"path": "/click/*", "status": 500})", R"({"path": "/click/*", "status": 204})"}) {
        *owner = Owner();
        auto ad = load("url");
        server.addFault(fault);
        const auto clicksBefore = requestsTo("/click/kessa-url").size();
        ad->click();
        ASSERT_TRUE(RunLoop::main().runUntil([&] { return owner->clickFailures > 0; }, kBound));
        EXPECT_EQ(ad->state(), Ad::kLoaded) << fault;
        EXPECT_FALSE(ad->clicked()) << fault;
        EXPECT_FALSE(shortClickFileExists()) << fault;

        ad->click();
        ASSERT_TRUE(RunLoop::main().runUntil([&] { return owner->clickSuccesses > 0; }, kBound));
        EXPECT_EQ(requestsTo("/click/kessa-url").size(), clicksBefore + 2) << fault;
        EXPECT_EQ(owner->clickFailures, 1) << fault;
        EXPECT_TRUE(shortClickFileExists()) << fault;
    }
}

TEST_F(AdTest, AnAdWithItsOwnOpenerOpensItAtEveryClickWithoutAskingTheNetwork) {
    auto ad = load("fullscreen", Ad::kFullScreen);
    ASSERT_EQ(owner->loads, 1);
    ad->clickWithData(Dictionary{{"interactions", Value(Value::Array{})}});
    EXPECT_EQ(owner->clickSuccesses, 1);
    EXPECT_FALSE(owner->response);
    EXPECT_EQ(ad->state(), Ad::kLoaded);
    EXPECT_TRUE(ad->clicked());
    ad->click();
    EXPECT_EQ(owner->clickSuccesses, 2);
    EXPECT_EQ(ad->state(), Ad::kLoaded);

    // The opener's pings go out with its first opening; its display pixel is no click ping.
    ASSERT_TRUE(waitForRequests("/pixel/track/kessa-fullscreen", 1));
    settle();
    EXPECT_EQ(requestsTo("/pixel/track/").size(), 1u);
    EXPECT_TRUE(requestsTo("/pixel/cpm/").empty());
    EXPECT_TRUE(requestsTo("/click/").empty());
}

// Full screen --------------------------------------------------------------------------------

TEST_F(AdTest, AFullScreenAdTakesItsOpenerPixelsAndTimeOutFromTheResponse) {
    auto& defaults = foundation::UserDefaults::standard();
    auto ad = load("fullscreen", Ad::kFullScreen);
    settle();
    EXPECT_EQ(owner->loads, 1);
    EXPECT_EQ(owner->failures, 0);
    EXPECT_EQ(ad->medium(), Ad::kFullScreenPage);
    EXPECT_TRUE(ad->openerIsSet());
    EXPECT_EQ(ad->accountingPixelUrl(), "http://ads.pennant.test/pixel/cpm/kessa-fullscreen");
    EXPECT_EQ(ad->trackingPixelUrl(), "http://ads.pennant.test/pixel/track/kessa-fullscreen");
    EXPECT_EQ(ad->timeoutInterval(), 7.0);
    EXPECT_EQ(defaults.floatForKey(Ad::kTimeoutDefaultsKey), 7.0f);

    // The time-out the last response set does not fire on a loaded ad.
    RunLoop::main().runFor(Seconds(10));
    EXPECT_EQ(owner->failures, 0);
    EXPECT_FALSE(ad->hasTimedOut());
}

TEST_F(AdTest, AFullScreenAdThatTakesTooLongTimesOutOnce) {
    auto& defaults = foundation::UserDefaults::standard();
    EXPECT_EQ(defaults.floatForKey(Ad::kTimeoutDefaultsKey), 0.0f);
    makeAd(Ad::kFullScreen)->initTimeoutInterval();
    EXPECT_EQ(defaults.floatForKey(Ad::kTimeoutDefaultsKey), 5.0f);

    defaults.setFloat(Ad::kTimeoutDefaultsKey, 0.5f);
    // The answer is held far longer than the test runs, so the time-out always comes first,
    // however slowly the test itself runs.
    server.addFault(R"({"path": "/ad_source.php", "delay": 60})");
    host->testAd = true;
    host->testAction = "fullscreen";
    auto ad = makeAd(Ad::kFullScreen);
    ad->request();
    // While the ad request is out, the virtual clock only moves when the test moves it.
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return ad->state() == Ad::kRequestSent; }, kBound));
    EXPECT_EQ(ad->timeoutInterval(), 0.5);
    clock->advanceBy(0.6);
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return owner->reports() > 0; }, kBound));
    EXPECT_TRUE(ad->hasTimedOut());
    EXPECT_EQ(ad->state(), Ad::kFailed);
    settle();
    EXPECT_EQ(owner->failures, 1);
    EXPECT_EQ(owner->loads, 0);
}
