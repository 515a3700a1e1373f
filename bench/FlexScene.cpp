#include "FlexScene.h"

#include "FlexMarkup.h"

#include "ads/render/FlexAd.h"
#include "ads/render/FlexAdContainerView.h"
#include "ads/request/FlexAdDelegate.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/ui/Window.h"
#include "json/JSONDeserializer.h"

#include <optional>
#include <string>

namespace {

// Virtual time stands still while the network works, so this bounds real time only.
constexpr foundation::Seconds kBound{20};
constexpr double kStartTime = 1258623660.0;
constexpr const char* kTiles[] = {"http://static.pennant.test/static/phone/ads/kessa-tile.png",
                                  "http://static.pennant.test/static/phone/ads/bakery-tile.png"};

foundation::Error failure(std::string message) {
    return foundation::Error{"flex_bench", 0, std::move(message)};
}

} // namespace

struct FlexScene::LoadWatcher : pennant::FlexAdDelegate {
    void flexAdDidFailLoadWithError(const std::shared_ptr<pennant::FlexAd>&,
                                    const foundation::Error& failure) override {
        error = failure;
    }
    void flexAdDidLoad(const std::shared_ptr<pennant::FlexAd>&) override { loaded = true; }

    bool loaded = false;
    std::optional<foundation::Error> error;
};

FlexScene::FlexScene() : network_("flex_bench"), watcher_(std::make_shared<LoadWatcher>()) {}

FlexScene::~FlexScene() = default;

foundation::Status FlexScene::show() {
    if (auto started = network_.start(); !started)
        return started;
    foundation::RunLoop::main().setClock(std::make_shared<foundation::VirtualClock>(kStartTime));
    if (auto loaded = load(); !loaded)
        return loaded;
    window_ = ui::Window::create(graphics::Rect(0, 0, 320, 480));
    window_->makeKeyAndVisible();
    container()->setCenter(graphics::Point{160, 456});
    window_->addSubview(container());
    graphics::RecordingContext first;
    container()->drawRect(first, container()->bounds());
    foundation::RunLoop::main().runFor(foundation::Seconds(kIntoAnimations));
    return foundation::success();
}

foundation::Status FlexScene::load() {
    const auto markup = json::JSONDeserializer().deserializeAsDictionary(
        FlexMarkup::largest({std::begin(kTiles), std::end(kTiles)}));
    if (!markup)
        return failure("the flex description is not JSON");
    flexAd_ = pennant::FlexAd::create(markup.value(), watcher_, {}, graphics::Rect(0, 0, 320, 48));
    const bool settled = foundation::RunLoop::main().runUntil(
        [this] { return watcher_->loaded || watcher_->error; }, kBound);
    if (watcher_->error)
        return *watcher_->error;
    return settled ? foundation::success() : failure("the flex ad did not load");
}

const std::shared_ptr<pennant::FlexAdContainerView>& FlexScene::container() const {
    return flexAd_->containerView();
}
