#pragma once

namespace ui {

class ScrollView;

// What a scroll view tells about its scrolling. Every notification is optional.
class ScrollViewDelegate {
public:
    virtual ~ScrollViewDelegate() = default;

    // After every change of the content offset, by a drag, a deceleration or the program.
    virtual void scrollViewDidScroll(ScrollView&) {}
    virtual void scrollViewWillBeginDragging(ScrollView&) {}
    // The finger lifted; willDecelerate says whether the content moves on by itself.
    virtual void scrollViewDidEndDragging(ScrollView&, bool /*willDecelerate*/) {}
    virtual void scrollViewWillBeginDecelerating(ScrollView&) {}
    virtual void scrollViewDidEndDecelerating(ScrollView&) {}
    // An animated setContentOffset came to its end.
    virtual void scrollViewDidEndScrollingAnimation(ScrollView&) {}
};

} // namespace ui
