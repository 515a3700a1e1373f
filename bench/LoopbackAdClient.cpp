#include "LoopbackAdClient.h"

#include "ResourceUsage.h"

#include "ads/request/Ad.h"
#include "ads/request/AdDelegate.h"
#include "ads/request/Delegate.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"

#include <chrono>
#include <string>

namespace {

constexpr foundation::Seconds kBound{20};
// The name the ad gives its parse worker.
constexpr const char* kParseThreadName = "pennant-ad-parse";

foundation::Error failure(std::string message) {
    return foundation::Error{"ad_bench", 0, std::move(message)};
}

} // namespace

// Asks for the catalogue's plain text ad with a URL action.
struct LoopbackAdClient::Host : pennant::Delegate {
    std::string publisherId() override { return "a1b2c3d4e5f6a7b"; }
    std::optional<bool> useTestAd() override { return true; }
    std::optional<std::string> testAdAction() override { return "url"; }
};

struct LoopbackAdClient::Owner : pennant::AdDelegate {
    graphics::Size adSize() override { return {320, 48}; }
    void adDidLoad(pennant::Ad&) override { loaded = true; }
    void adDidFailToLoad(pennant::Ad&) override { failed = true; }
    void clickDidSucceed(pennant::Ad&, const std::optional<foundation::Dictionary>&) override {}
    void clickDidFail(pennant::Ad&) override {}

    bool loaded = false;
    bool failed = false;
};

LoopbackAdClient::LoopbackAdClient()
    : network_("ad_bench"), host_(std::make_shared<Host>()), owner_(std::make_shared<Owner>()) {}

LoopbackAdClient::~LoopbackAdClient() = default;

foundation::Status LoopbackAdClient::start() {
    if (auto started = network_.start(); !started)
        return started;
    foundation::RunLoop::main().setClock(std::make_shared<foundation::RealClock>());
    return foundation::success();
}

foundation::Result<LoopbackAdClient::Sample> LoopbackAdClient::loadPlainAd() {
    *owner_ = Owner();
    auto ad = pennant::Ad::create(pennant::Ad::kBanner);
    ad->setDelegate(host_);
    ad->setAdDelegate(owner_);

    Sample sample;
    const auto wallStart = std::chrono::steady_clock::now();
    const double mainStart = resource_usage::threadCPUSeconds();
    const double processStart = resource_usage::processCPUSeconds();
    ad->request();
    const bool reported = foundation::RunLoop::main().runUntil(
        [this] { return owner_->loaded || owner_->failed; }, kBound);
    sample.processCPUSeconds = resource_usage::processCPUSeconds() - processStart;
    sample.mainCPUSeconds = resource_usage::threadCPUSeconds() - mainStart;
    sample.wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();

    // Each ad starts a parse worker of its own and joins it when the ad goes, so the one
    // alive now has worked for this ad only.
    const auto parse = resource_usage::namedThreadsCPUSeconds(kParseThreadName);
    parseTimeIsKnown_ = parseTimeIsKnown_ && parse.has_value();
    sample.parseCPUSeconds = parse.value_or(0);
    // The server's journal is the server's memory, not the client's: keep it from growing.
    network_.server().journal().clear();

    if (!reported)
        return failure("the ad neither loaded nor failed within " + std::to_string(kBound.count()) +
                       " s");
    if (!owner_->loaded)
        return failure("the ad failed to load");
    return sample;
}
