#include "tools/pennant/BrowseCommand.h"

#include "ads/request/Endpoints.h"
#include "ads/request/URLDownload.h"
#include "adserver/AdServer.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/net/HostMap.h"
#include "platform/web/WebContext.h"
#include "platform/web/WebView.h"
#include "platform/web/WebViewDelegate.h"
#include "tools/pennant/Console.h"
#include "tools/pennant/FetchCommand.h"
#include "tools/pennant/RequestCommand.h"

#include <memory>
#include <optional>
#include <ostream>

namespace tool {

namespace {

constexpr foundation::Seconds kLoadBound{30};

struct Options {
    std::optional<RequestCommand::ServerAddress> server;
    std::string url;
    std::optional<std::string> screenshot;
};

void printUsage(std::ostream& out) {
    out << "usage: pennant browse [--server http://ADDRESS:PORT] URL [--screenshot FILE.png]\n"
           "  --server URL       where the .test hosts lead; by default an ad server with the\n"
           "                     bundled catalogue, started for the run\n"
           "  --screenshot FILE  the page as the view shows it, as PNG\n";
}

std::optional<Options> parse(std::span<const std::string> arguments, Console& console) {
    Options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool takesValue = argument == "--server" || argument == "--screenshot";
        if (takesValue && i + 1 == arguments.size()) {
            console.err << "pennant: " << argument << " needs a value\n";
            return std::nullopt;
        }
        if (argument == "--server") {
            auto server = RequestCommand::parseServer(arguments[++i]);
            if (!server) {
                console.err << "pennant: " << server.error().message << "\n";
                return std::nullopt;
            }
            options.server = server.value();
        } else if (argument == "--screenshot") {
            options.screenshot = arguments[++i];
        } else if (options.url.empty() && !argument.starts_with("--")) {
            options.url = argument;
        } else {
            console.err << "pennant: unexpected argument '" << argument << "'\n";
            return std::nullopt;
        }
    }
    if (options.url.empty())
        return std::nullopt;
    return options;
}

// One line per load event, as the trace names them.
struct Printer : web::WebViewDelegate {
    explicit Printer(Console& console) : console(console) {}
    void didStartLoad(web::WebView& view) override {
        console.out << "started " << view.request()->url << "\n";
    }
    void didFinishLoad(web::WebView& view) override {
        console.out << "finished " << view.request()->url << "\n";
        done = true;
    }
    void didFailLoad(web::WebView& view, const foundation::Error& error) override {
        console.out << "failed " << view.request()->url << " " << error.code << "\n";
        failed = done = true;
    }

    Console& console;
    bool done = false, failed = false;
};

} // namespace

int BrowseCommand::run(std::span<const std::string> arguments, Console& console) const {
    const auto options = parse(arguments, console);
    if (!options) {
        printUsage(console.err);
        return kUsageOrInputError;
    }
    std::unique_ptr<adserver::AdServer> server;
    auto address = options->server;
    if (!address) {
        server = std::make_unique<adserver::AdServer>(adserver::AdServer::Options{});
        if (auto started = server->start(); !started) {
            console.err << "pennant: cannot start the ad server: " << started.error().message
                        << "\n";
            return kFailure;
        }
        address = RequestCommand::ServerAddress{"127.0.0.1", server->port()};
    }
    for (auto host :
         {pennant::Endpoints::kAdRequestHost, pennant::Endpoints::kStaticContentHostName})
        net::HostMap::shared().map(std::string(host), address->address, address->port);
    foundation::RunLoop::main().setClock(std::make_shared<foundation::RealClock>());
    FetchCommand::prepareDevice("");
    web::WebContext::shared().setUserAgent(pennant::URLDownload::userAgent());

    auto view = web::WebView::create(graphics::Rect(0, 0, 320, 480));
    auto printer = std::make_shared<Printer>(console);
    view->setDelegate(printer);
    view->loadRequest({options->url});
    if (!foundation::RunLoop::main().runUntil([&] { return printer->done; }, kLoadBound)) {
        console.err << "pennant: the page did not load (is there a display? try xvfb-run -a)\n";
        return kFailure;
    }
    console.out << "title " << view->stringByEvaluatingJavaScriptFromString("document.title")
                << "\n";
    if (options->screenshot && view->takeSnapshot()) {
        const auto written = foundation::FileManager::writeAtomically(*options->screenshot,
                                                                      view->snapshot()->pngData());
        if (!written) {
            console.err << "pennant: " << written.error().message << "\n";
            return kFailure;
        }
    }
    return printer->failed ? kFailure : kSuccess;
}

} // namespace tool
