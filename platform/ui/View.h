#pragma once

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/ui/Responder.h"

#include <memory>
#include <optional>
#include <vector>

namespace graphics {
class Context;
}

namespace ui {

class ViewController;
class Window;

enum AutoresizingMask : unsigned {
    AutoresizingNone = 0,
    AutoresizingFlexibleLeftMargin = 1 << 0,
    AutoresizingFlexibleWidth = 1 << 1,
    AutoresizingFlexibleRightMargin = 1 << 2,
    AutoresizingFlexibleTopMargin = 1 << 3,
    AutoresizingFlexibleHeight = 1 << 4,
    AutoresizingFlexibleBottomMargin = 1 << 5,
};

enum class ContentMode {
    ScaleToFill,
    ScaleAspectFit,
    ScaleAspectFill,
    Redraw,
    Center,
    Top,
    Bottom,
    Left,
    Right,
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight
};

// A rectangle on screen that draws itself and handles touches. Geometry is kept as the
// platform keeps it: bounds (own coordinates), center (in the superview's) and a transform
// about the center; the frame is derived from them.
class View : public Responder {
public:
    static std::shared_ptr<View> create(const graphics::Rect& frame = {});
    explicit View(const graphics::Rect& frame = {});

    std::string className() const override { return "View"; }
    void configure(const foundation::Value& description) override;

    // Geometry.
    graphics::Rect frame() const;
    void setFrame(const graphics::Rect& frame);
    const graphics::Rect& bounds() const { return bounds_; }
    void setBounds(const graphics::Rect& bounds);
    graphics::Point center() const { return center_; }
    void setCenter(graphics::Point center) { center_ = center; }
    const graphics::AffineTransform& transform() const { return transform_; }
    void setTransform(const graphics::AffineTransform& transform) { transform_ = transform; }

    // Appearance.
    float alpha() const { return alpha_; }
    void setAlpha(float alpha) { alpha_ = alpha; }
    bool isHidden() const { return hidden_; }
    virtual void setHidden(bool hidden) { hidden_ = hidden; }
    bool isOpaque() const { return opaque_; }
    void setOpaque(bool opaque) { opaque_ = opaque; }
    std::optional<graphics::Color> backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(std::optional<graphics::Color> color) { backgroundColor_ = color; }
    bool clipsToBounds() const { return clipsToBounds_; }
    void setClipsToBounds(bool clips) { clipsToBounds_ = clips; }
    ContentMode contentMode() const { return contentMode_; }
    void setContentMode(ContentMode mode) { contentMode_ = mode; }
    bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
    void setUserInteractionEnabled(bool enabled) { userInteractionEnabled_ = enabled; }
    unsigned autoresizingMask() const { return autoresizingMask_; }
    void setAutoresizingMask(unsigned mask) { autoresizingMask_ = mask; }
    bool autoresizesSubviews() const { return autoresizesSubviews_; }
    void setAutoresizesSubviews(bool autoresizes) { autoresizesSubviews_ = autoresizes; }

    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    // This view or the first descendant (depth first) with the tag.
    std::shared_ptr<View> viewWithTag(int tag);

    // Hierarchy. Superviews own their subviews; a view knows its superview weakly.
    const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
    std::shared_ptr<View> superview() const { return superview_.lock(); }
    virtual std::shared_ptr<Window> window() const;
    void addSubview(const std::shared_ptr<View>& view);
    void insertSubview(const std::shared_ptr<View>& view, std::size_t index);
    void insertSubviewAbove(const std::shared_ptr<View>& view, const std::shared_ptr<View>& sibling);
    void insertSubviewBelow(const std::shared_ptr<View>& view, const std::shared_ptr<View>& sibling);
    void removeFromSuperview();
    void bringSubviewToFront(const std::shared_ptr<View>& view);
    void sendSubviewToBack(const std::shared_ptr<View>& view);
    bool isDescendantOfView(const View* view) const;

    // Drawing: the compositor fills the background colour, then calls drawRect.
    virtual void drawRect(graphics::Context& context, const graphics::Rect& rect);
    void setNeedsDisplay() { needsDisplay_ = true; }
    bool needsDisplay() const { return needsDisplay_; }
    void clearNeedsDisplay() { needsDisplay_ = false; }
    virtual void layoutSubviews() {}
    virtual void didMoveToSuperview() {}
    virtual void didMoveToWindow() {}

    // Coordinates. A null view means the screen (window coordinates of the root).
    graphics::Point convertPointToView(graphics::Point point, const View* view) const;
    graphics::Point convertPointFromView(graphics::Point point, const View* view) const;
    graphics::Rect convertRectToView(const graphics::Rect& rect, const View* view) const;
    graphics::Rect convertRectFromView(const graphics::Rect& rect, const View* view) const;
    // From this view's bounds to its superview's bounds coordinates, and back.
    graphics::Point convertPointToSuperview(graphics::Point point) const;
    graphics::Point convertPointFromSuperview(graphics::Point point) const;

    // Touches.
    virtual bool pointInside(graphics::Point point) const;
    // The deepest visible, interactive descendant containing the point (own coordinates).
    virtual std::shared_ptr<View> hitTest(graphics::Point point);

    // The responder chain: a controller's view passes on to its controller, others to the
    // superview.
    std::shared_ptr<Responder> nextResponder() const override;
    void setViewController(const std::shared_ptr<ViewController>& controller) { controller_ = controller; }
    std::shared_ptr<ViewController> viewController() const { return controller_.lock(); }

    std::shared_ptr<View> sharedView() { return std::static_pointer_cast<View>(shared_from_this()); }

protected:
    void notifyMovedToWindow();

private:
    void resizeSubviews(graphics::Size oldSize);
    void autoresize(graphics::Size oldSuperSize, graphics::Size newSuperSize);
    void detach(const std::shared_ptr<View>& view);
    // Where a view goes next to sibling, once taken out of this view if it was in it.
    std::size_t indexAfterTakingOut(const std::shared_ptr<View>& view,
                                    const std::shared_ptr<View>& sibling, bool above);

    graphics::Rect bounds_;
    graphics::Point center_;
    graphics::AffineTransform transform_;
    float alpha_ = 1;
    bool hidden_ = false;
    bool opaque_ = true;
    bool clipsToBounds_ = false;
    bool userInteractionEnabled_ = true;
    bool autoresizesSubviews_ = true;
    bool needsDisplay_ = true;
    unsigned autoresizingMask_ = AutoresizingNone;
    ContentMode contentMode_ = ContentMode::ScaleToFill;
    std::optional<graphics::Color> backgroundColor_;
    int tag_ = 0;
    std::vector<std::shared_ptr<View>> subviews_;
    std::weak_ptr<View> superview_;
    std::weak_ptr<ViewController> controller_;
};

} // namespace ui
