#include "tools/pennant/RequestCommand.h"

#include "ads/render/FlexAd.h"
#include "ads/render/FlexAdContainerView.h"
#include "ads/request/Ad.h"
#include "ads/request/AdDelegate.h"
#include "ads/request/Endpoints.h"
#include "ads/request/Opener.h"
#include "ads/request/URLDownload.h"
#include "adserver/AdServer.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/NumberParser.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/net/HTTPClient.h"
#include "platform/net/HTTPCompletion.h"
#include "platform/net/HostMap.h"
#include "tools/pennant/Console.h"
#include "tools/pennant/FetchCommand.h"
#include "tools/pennant/FileDelegate.h"
#include "tools/pennant/FlexTree.h"
#include "json/JSONDeserializer.h"
#include "json/JSONSerializer.h"

#include <cstdlib>
#include <filesystem>
#include <ostream>

namespace tool {

namespace {
// Every wait on the network ends by then; each download has its own shorter time-out.
constexpr foundation::Seconds kNetworkBound{30};

foundation::Error usageError(const std::string& message) {
    return foundation::Error{"PennantToolErrorDomain", Command::kUsageOrInputError, message};
}

// The ad's owner: builds flex ads as the banner would and counts what the ad reports.
struct Owner : pennant::AdDelegate {
    graphics::Size adSize() override { return {320, 48}; }
    std::shared_ptr<pennant::FlexAd> newFlexAd(const foundation::Value& markup,
                                               std::weak_ptr<pennant::FlexAdDelegate> delegate,
                                               std::weak_ptr<pennant::Delegate> host,
                                               const graphics::Rect& frame) override {
        return pennant::FlexAd::create(markup, std::move(delegate), std::move(host), frame);
    }
    void adDidLoad(pennant::Ad&) override { loaded = true; }
    void adDidFailToLoad(pennant::Ad&) override { failed = true; }
    void clickDidSucceed(pennant::Ad&,
                         const std::optional<foundation::Dictionary>& answer) override {
        clicked = true;
        response = answer;
    }
    void clickDidFail(pennant::Ad&) override { clickFailed = true; }

    bool loaded = false, failed = false, clicked = false, clickFailed = false;
    std::optional<foundation::Dictionary> response;
};

foundation::Value size(const std::shared_ptr<graphics::Image>& image) {
    const auto extent = image->size();
    return foundation::Value::Array{foundation::Value::integer((long long)extent.width),
                                    foundation::Value::integer((long long)extent.height)};
}

void setText(foundation::Dictionary& out, std::string key, const std::optional<std::string>& text) {
    if (text)
        out.set(std::move(key), *text);
}

foundation::Dictionary describeOpener(const pennant::Opener& opener) {
    foundation::Dictionary out;
    out.set("action", foundation::Value::integer(opener.action()));
    if (opener.url())
        out.set("url", opener.url()->absoluteString());
    setText(out, "title", opener.title());
    setText(out, "accountingURL", opener.accountingURL());
    setText(out, "thirdPartyTrackingURL", opener.thirdPartyTrackingURL());
    setText(out, "acquisitionURL", opener.acquisitionURL());
    out.set("allowedOrientations", foundation::Value::integer(opener.allowedOrientations()));
    return out;
}

// Text from the network that JSON cannot carry (not UTF-8) fails the run rather than the output.
int print(Console& console, const foundation::Dictionary& object, int status) {
    const auto text = json::JSONSerializer().serializeDictionary(object);
    if (!text) {
        console.err << "pennant: cannot print the ad: " << text.error().message << "\n";
        return Command::kFailure;
    }
    console.out << text.value() << "\n";
    return status;
}
} // namespace

// One run's surroundings: the sandbox home, the ad network and what the client sent it.
class RequestCommand::Session {
public:
    explicit Session(Console& console) : console_(console) {}
    ~Session() {
        if (server_) {
            server_->stop();
            for (auto host :
                 {pennant::Endpoints::kAdRequestHost, pennant::Endpoints::kStaticContentHostName})
                net::HostMap::shared().unmap(std::string(host));
        }
        if (temporaryHome_.empty())
            return;
        if (auto removed = foundation::FileManager::removeItem(temporaryHome_); !removed)
            console_.err << "pennant: cannot remove the temporary home: " << removed.error().message
                         << "\n";
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    bool prepare(const Options& options) {
        return prepareHome(options.home) && prepareNetwork(options.server);
    }
    // Remembers the query of the first ad request that went out.
    void watchRequestsTo(const std::string& endpoint) {
        requests_ = net::HTTPClient::shared().addCompletionObserver(
            [this, prefix = endpoint + "?"](const net::HTTPCompletion& completion) {
                if (!sentQuery_ && completion.url.starts_with(prefix))
                    sentQuery_ = completion.url.substr(prefix.size());
            });
    }
    std::optional<foundation::Dictionary> sentParameters() const {
        if (!sentQuery_)
            return std::nullopt;
        return pennant::URLDownload::dictionaryFromQueryString(*sentQuery_);
    }
    bool wait(const std::function<bool()>& done, std::string_view what) {
        if (foundation::RunLoop::main().runUntil(done, kNetworkBound))
            return true;
        console_.err << "pennant: no answer " << what << " within " << int(kNetworkBound.count())
                     << " seconds\n";
        return false;
    }

private:
    bool prepareHome(const std::optional<std::string>& home) {
        std::string path = home.value_or("");
        if (!home) {
            std::string pattern =
                (std::filesystem::temp_directory_path() / "pennant-request-XXXXXX").string();
            if (!::mkdtemp(pattern.data())) {
                console_.err << "pennant: cannot make a temporary home\n";
                return false;
            }
            temporaryHome_ = path = pattern;
        }
        FetchCommand::prepareDevice(path);
        return true;
    }
    bool prepareNetwork(std::optional<ServerAddress> server) {
        if (!server) {
            server_ = std::make_unique<adserver::AdServer>(adserver::AdServer::Options{});
            if (auto started = server_->start(); !started) {
                console_.err << "pennant: cannot start the ad server: " << started.error().message
                             << "\n";
                server_.reset();
                return false;
            }
            server = ServerAddress{"127.0.0.1", server_->port()};
        }
        for (auto host :
             {pennant::Endpoints::kAdRequestHost, pennant::Endpoints::kStaticContentHostName})
            net::HostMap::shared().map(std::string(host), server->address, server->port);
        foundation::RunLoop::main().setClock(std::make_shared<foundation::RealClock>());
        return true;
    }

    Console& console_;
    std::string temporaryHome_;
    std::unique_ptr<adserver::AdServer> server_;
    foundation::Subscription requests_;
    std::optional<std::string> sentQuery_;
};

int RequestCommand::run(std::span<const std::string> arguments, Console& console) const {
    int status = kSuccess;
    const auto options = parse(arguments, console, status);
    if (!options)
        return status;
    auto delegate = std::make_shared<FileDelegate>();
    if (options->delegateFile) {
        auto loaded = FileDelegate::load(*options->delegateFile);
        if (!loaded) {
            console.err << "pennant: " << loaded.error().message << "\n";
            return kUsageOrInputError;
        }
        delegate = loaded.value();
    }
    Session session(console);
    if (!session.prepare(*options))
        return kFailure;
    session.watchRequestsTo(pennant::Endpoints::adRequestEndpoint(delegate->adserverEndpoint()));

    auto owner = std::make_shared<Owner>();
    auto ad = pennant::Ad::create(options->format);
    ad->setDelegate(delegate);
    ad->setAdDelegate(owner);
    ad->request();
    if (!session.wait([&] { return owner->loaded || owner->failed; }, "to the ad request"))
        return kFailure;
    if (owner->failed) {
        return print(console,
                     {{"state", foundation::Value::integer(pennant::Ad::kFailed)},
                      {"failed", foundation::Value::boolean(true)}},
                     kFailure);
    }
    auto description = describe(*ad);
    if (const auto query = session.sentParameters())
        description.set("query", *query);
    int result = kSuccess;
    if (options->click) {
        ad->loadAccountingPixel();
        ad->clickWithData(options->clickData);
        // The pixels and the click's pings are fire-and-forget: they must still reach the
        // network before the run ends.
        if (!session.wait(
                [&] {
                    return (owner->clicked || owner->clickFailed) &&
                           pennant::Opener::activeDownloadCount() == 0;
                },
                "to the click"))
            return kFailure;
        foundation::Dictionary click;
        click.set("succeeded", foundation::Value::boolean(owner->clicked));
        if (owner->response)
            click.set("response", *owner->response);
        description.set("click", std::move(click));
        result = owner->clicked ? kSuccess : kFailure;
    }
    return print(console, description, result);
}

foundation::Dictionary RequestCommand::describe(const pennant::Ad& ad) {
    foundation::Dictionary out;
    out.set("state", foundation::Value::integer(ad.state()));
    out.set("medium", foundation::Value::integer(ad.medium()));
    out.set("action", foundation::Value::integer(ad.action()));
    setText(out, "text", ad.text());
    setText(out, "userString", ad.userString());
    setText(out, "actionImageName", ad.actionImageName());
    if (ad.userImage())
        out.set("userImage", size(ad.userImage()));
    if (ad.actionImage())
        out.set("actionImage", size(ad.actionImage()));
    setText(out, "jsonpUrl", ad.jsonpUrl());
    setText(out, "accountingPixelUrl", ad.accountingPixelUrl());
    setText(out, "trackingPixelUrl", ad.trackingPixelUrl());
    if (ad.opener())
        out.set("opener", describeOpener(*ad.opener()));
    if (ad.flexAd())
        out.set("flex", FlexTree::describe(*ad.flexAd()->containerView()));
    return out;
}

std::optional<RequestCommand::Options> RequestCommand::parse(std::span<const std::string> arguments,
                                                             Console& console, int& status) {
    Options options;
    bool clickDataGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            printUsage(console.out);
            status = kSuccess;
            return std::nullopt;
        }
        if (argument == "--click") {
            options.click = true;
            continue;
        }
        const bool known = argument == "--server" || argument == "--delegate" ||
                           argument == "--home" || argument == "--format" ||
                           argument == "--click-data";
        if (!known || i + 1 >= arguments.size()) {
            printUsage(console.err);
            status = kUsageOrInputError;
            return std::nullopt;
        }
        clickDataGiven = clickDataGiven || argument == "--click-data";
        if (auto accepted = parseValue(argument, arguments[++i], options); !accepted) {
            console.err << "pennant: " << accepted.error().message << "\n";
            status = kUsageOrInputError;
            return std::nullopt;
        }
    }
    if (clickDataGiven && !options.click) {
        console.err << "pennant: --click-data goes with --click\n";
        status = kUsageOrInputError;
        return std::nullopt;
    }
    return options;
}

foundation::Status RequestCommand::parseValue(const std::string& option, const std::string& value,
                                              Options& options) {
    if (option == "--delegate") {
        options.delegateFile = value;
    } else if (option == "--home") {
        options.home = value;
    } else if (option == "--format") {
        const auto format = foundation::NumberParser::integer(value, "--format", 0, 1);
        if (!format)
            return usageError(format.error().message);
        options.format = int(format.value());
    } else if (option == "--click-data") {
        const auto parsed = json::JSONDeserializer().deserializeAsDictionary(value);
        if (!parsed)
            return usageError("--click-data takes a JSON object, not '" + value + "'");
        options.clickData = parsed.value().asDictionary();
    } else {
        auto server = parseServer(value);
        if (!server)
            return server.error();
        options.server = server.value();
    }
    return foundation::success();
}

foundation::Result<RequestCommand::ServerAddress>
RequestCommand::parseServer(const std::string& value) {
    constexpr std::string_view kScheme = "http://";
    const auto colon = value.rfind(':');
    if (!value.starts_with(kScheme) || colon == std::string::npos || colon <= kScheme.size())
        return usageError("--server takes http://ADDRESS:PORT, not '" + value + "'");
    const auto port =
        foundation::NumberParser::port(std::string_view(value).substr(colon + 1), "--server port");
    if (!port)
        return usageError(port.error().message);
    return ServerAddress{value.substr(kScheme.size(), colon - kScheme.size()), port.value()};
}

void RequestCommand::printUsage(std::ostream& out) {
    out << "usage: pennant request [--server http://ADDRESS:PORT] [--delegate FILE.json]\n"
           "                       [--home DIR] [--format 0|1] [--click [--click-data JSON]]\n\n"
           "Runs one ad end to end, as an application showing it would, and prints one JSON\n"
           "object saying how the client read it: state, medium, action, text, userString,\n"
           "actionImageName, userImage and actionImage ([width,height]), jsonpUrl,\n"
           "accountingPixelUrl, trackingPixelUrl, opener, query (the parameters sent) and,\n"
           "for a flex ad, flex: the view tree it built, each view with its kind (class),\n"
           "frame [x,y,width,height] in its parent, subviews, and for flex elements uiTag\n"
           "and animation (kind, keyPath, duration of one pass, repeatCount, and a group's\n"
           "animations); a pages element adds pages (the count), its pages' elements sit\n"
           "side by side in its scroll view. Absent fields are left out. An ad that fails\n"
           "prints {\"state\":7,\"failed\":true}.\n\n"
           "  --server URL       the ad network's address; by default an ad server with the\n"
           "                     bundled catalogue starts on a free loopback port\n"
           "  --delegate FILE    the host's answers, a JSON object with any of: publisherId,\n"
           "                     useTestAd, testAdAction, keywords, searchString, postalCode,\n"
           "                     areaCode, gender (strings or true/false), dateOfBirth\n"
           "                     (\"YYYY-MM-DD\"), mayAskForLocation, location ([lat, lon]),\n"
           "                     adserverEndpoint, adBackgroundColor, primaryTextColor,\n"
           "                     secondaryTextColor ([r,g,b,a]), useGraySpinner; a missing key\n"
           "                     is a question the host does not answer (publisherId defaults\n"
           "                     to "
        << FileDelegate::kDefaultPublisherId
        << ")\n"
           "  --home DIR         sandbox home of the simulated device (default: a temporary\n"
           "                     one, removed at the end)\n"
           "  --format 0|1       0 banner (default), 1 full screen\n"
           "  --click            fire the display pixels and click once; adds\n"
           "                     \"click\":{\"succeeded\":...,\"response\":{...}}\n"
           "  --click-data JSON  the click's data, a JSON object\n\n"
           "Each wait on the network gives up after 30 seconds with a message.\n"
           "exit status: 0 loaded (and clicked), 1 failed, 2 usage error or bad delegate file.\n";
}

} // namespace tool
