#pragma once

#include <string>
#include <vector>

// The largest flex description a banner can carry: elements of every kind up to the flex ad's
// element bound, pages with a nested pages element, and on every element an animation group
// of basic and keyframe members over every accepted key path and value type, repeating long
// enough to run throughout a measurement. Written as the ad response would carry it.
class FlexMarkup {
public:
    // With no asset URLs the image elements name assets that are never fetched and are left
    // out, so nothing waits on the network. Without animations, only "a" and "ag" are gone.
    static std::string largest(const std::vector<std::string>& assetURLs = {},
                               bool animated = true);

private:
    FlexMarkup(int assets, bool animated) : assets_(assets), animated_(animated) {}

    std::string element(int index) const;
    std::string kindKeys(int index) const;
    std::string animationGroup(int index) const;
    static std::string member(int index, int slot);
    std::string pages(int index, bool nested) const;

    int assets_;
    bool animated_;
};
