#include "BannerScene.h"

#include "ads/banner/Controller.h"
#include "ads/banner/View.h"
#include "ads/render/OldSchoolSingleAdView.h"
#include "ads/request/Ad.h"
#include "app/AdViewController.h"
#include "app/InterfaceClasses.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/ApplicationDelegate.h"

#include <string>

namespace {

// Virtual time stands still while the network works, so this bounds real time only.
constexpr foundation::Seconds kBound{20};
constexpr double kStartTime = 1258623660.0;

foundation::Error failure(std::string message) {
    return foundation::Error{"banner_bench", 0, std::move(message)};
}

std::filesystem::path programDirectory() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path(".") : self.parent_path();
}

} // namespace

BannerScene::BannerScene() : network_("banner_bench") {}

BannerScene::~BannerScene() { ui::Application::shared().terminate(); }

foundation::Status BannerScene::launch() {
    if (auto started = network_.start(); !started)
        return started;
    foundation::RunLoop::main().setClock(std::make_shared<foundation::VirtualClock>(kStartTime));
    if (auto launched = launchApplication(); !launched)
        return launched;
    const bool shown =
        foundation::RunLoop::main().runUntil([this] { return shownAdView() != nullptr; }, kBound);
    return shown ? checkShownAd() : failure("the banner showed no ad");
}

foundation::Status BannerScene::launchApplication() {
    auto& bundle = foundation::Bundle::main();
    bundle.load((programDirectory() / "Kessa.app").string());
    kessa::registerInterfaceClasses();
    const auto path = bundle.pathForResource("MainWindow", "plist");
    if (!path)
        return failure("no Kessa.app beside the program");
    auto loaded = ui::InterfaceLoader::loadFile(*path);
    if (!loaded)
        return loaded.error();
    interface_ = std::move(loaded.value());
    auto controller =
        std::dynamic_pointer_cast<kessa::AdViewController>(interface_.objects["adViewController"]);
    auto delegate =
        std::dynamic_pointer_cast<ui::ApplicationDelegate>(interface_.objects["appDelegate"]);
    if (!controller || !delegate)
        return failure("the interface has no banner host or no application delegate");
    ui::Application::shared().setDelegate(delegate);
    ui::Application::shared().finishLaunching();
    banner_ = controller->pennantAd();
    return banner_ ? foundation::success() : failure("the banner host made no banner");
}

foundation::Status BannerScene::checkShownAd() const {
    const auto view = shownAdView();
    const auto& ad = view->ad();
    const bool complete =
        ad && ad->medium() == pennant::Ad::kTextBanner && ad->userImage() && ad->actionImage();
    return complete ? foundation::success()
                    : failure("the banner does not show a text ad with a tile and an icon");
}

foundation::Status BannerScene::startFlip() {
    const auto before = shownAdView();
    banner_->requestFreshAd();
    const bool swapped = foundation::RunLoop::main().runUntil(
        [&] { return shownAdView() != before && !banner_->controller()->loadingAd(); }, kBound);
    return swapped ? checkShownAd() : failure("the fresh ad did not flip in");
}

void BannerScene::advance(double seconds) {
    foundation::RunLoop::main().runFor(foundation::Seconds(seconds));
}

pennant::View& BannerScene::banner() const { return *banner_; }

std::shared_ptr<pennant::OldSchoolSingleAdView> BannerScene::shownAdView() const {
    return banner_ ? std::dynamic_pointer_cast<pennant::OldSchoolSingleAdView>(
                         banner_->viewWithTag(pennant::Controller::kCurrentAdTag))
                   : nullptr;
}
