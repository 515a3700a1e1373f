#pragma once

#include "platform/foundation/Data.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Value.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace graphics {
class Image;
}

namespace ui {
class View;
}

namespace pennant {

class Delegate;
class FlexAdContainerView;
class FlexAdDelegate;
class URLDownload;

// A rich banner described as data: it downloads the images the description names, waits for
// all of them, builds one view per element into a container and tells its delegate the ad
// is ready (or that it failed).
class FlexAd : public std::enable_shared_from_this<FlexAd> {
public:
    static constexpr const char* kErrorDomain = "kPennantFlexAdErrorDomain";
    // Bounds no real banner reaches, so a hostile description cannot exhaust the process.
    static constexpr std::size_t kMaxAssets = 64;
    static constexpr std::size_t kMaxElements = 256;
    static constexpr int kMaxDepth = 16;

    // Loading starts here; the delegate may hear the outcome before this returns.
    static std::shared_ptr<FlexAd> create(const foundation::Value& dictionary,
                                          std::weak_ptr<FlexAdDelegate> delegate,
                                          std::weak_ptr<Delegate> pennantDelegate,
                                          const graphics::Rect& frame);
    ~FlexAd();
    FlexAd(const FlexAd&) = delete;
    FlexAd& operator=(const FlexAd&) = delete;

    const std::shared_ptr<FlexAdContainerView>& containerView() const { return containerView_; }
    graphics::Color primaryTextColor() const;
    graphics::Color secondaryTextColor() const;
    graphics::Color adBackgroundColor() const;

    // The views of an element array (the top level, or one page of a pages element).
    std::vector<std::shared_ptr<ui::View>> viewsFromArray(const foundation::Value& elements);

private:
    FlexAd(std::weak_ptr<FlexAdDelegate> delegate, std::weak_ptr<Delegate> pennantDelegate,
           const graphics::Rect& frame, foundation::Value dictionary);

    void build();
    void startDownloads(const foundation::Dictionary& assets);
    void downloadDidSucceed(URLDownload& download);
    void downloadDidFail(URLDownload& download);
    void finishLoading();
    void cancelDownloads();
    void fail(const foundation::Error& error);
    std::shared_ptr<ui::View> viewFromDictionary(const foundation::Value& element);
    // The view of one element kind, with its own keys read; none leaves the element out.
    std::shared_ptr<ui::View> elementView(const std::string& kind, const foundation::Value& element,
                                          const graphics::Rect& frame);
    std::shared_ptr<ui::View> labelFromDictionary(const foundation::Value& element,
                                                  const graphics::Rect& frame);
    std::shared_ptr<ui::View> imageViewFromDictionary(const foundation::Value& element,
                                                      const graphics::Rect& frame);
    // The asset decoded as an image; none when it is missing or not an image.
    std::shared_ptr<graphics::Image> imageNamed(const std::string& name);
    std::shared_ptr<ui::View> gradientViewFromDictionary(const foundation::Value& element,
                                                         const graphics::Rect& frame);
    std::shared_ptr<ui::View> plainViewFromDictionary(const foundation::Value& element,
                                                      const graphics::Rect& frame);
    std::shared_ptr<ui::View> pagesViewFromDictionary(const foundation::Value& element,
                                                      const graphics::Rect& frame);

    std::map<std::string, foundation::Data> assets_;
    std::map<std::string, std::shared_ptr<graphics::Image>> images_;
    std::weak_ptr<FlexAdDelegate> delegate_;
    std::weak_ptr<Delegate> pennantDelegate_;
    std::shared_ptr<FlexAdContainerView> containerView_;
    foundation::Value decodedMarkup_;
    std::set<std::shared_ptr<URLDownload>> downloads_;
    // Asset names by URL: names sharing a URL share one download.
    std::map<std::string, std::vector<std::string>> namesByURL_;
    std::size_t elementsBuilt_ = 0;
    int depth_ = 0;
};

} // namespace pennant
