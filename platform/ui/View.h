#pragma once

#include "platform/animation/LayerDelegate.h"
#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/ui/Creatable.h"
#include "platform/ui/Responder.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace animation {
class Layer;
}

namespace graphics {
class Context;
}

namespace ui {

class ViewController;
class Window;
enum class ViewAnimationCurve : int;
enum class ViewAnimationTransition : int;

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

// A rectangle on screen that draws itself and handles touches. Its geometry and appearance
// live in its layer, as the platform keeps them: bounds (own coordinates), center (the
// layer's position, in the superview's coordinates) and a transform about the center; the
// frame is derived from them. The layer tree follows the view tree.
class View : public Responder, public animation::LayerDelegate {
    UI_CREATABLE(View)
    ~View() override;

    std::string className() const override { return "View"; }
    void configure(const foundation::Value& description) override;
    // What the view shows as text, for view-tree dumps; nullopt for views that show none.
    virtual std::optional<std::string> dumpText() const { return std::nullopt; }

    const std::shared_ptr<animation::Layer>& layer() const { return layer_; }

    // Geometry, read from and written to the layer; the layer checks the thread.
    graphics::Rect frame() const;
    void setFrame(const graphics::Rect& frame);
    const graphics::Rect& bounds() const;
    void setBounds(const graphics::Rect& bounds);
    graphics::Point center() const;
    void setCenter(graphics::Point center);
    graphics::AffineTransform transform() const;
    void setTransform(const graphics::AffineTransform& transform);

    // Appearance: alpha, hidden, background and clipping are the layer's too.
    float alpha() const;
    void setAlpha(float alpha);
    bool isHidden() const;
    virtual void setHidden(bool hidden);
    std::optional<graphics::Color> backgroundColor() const;
    void setBackgroundColor(std::optional<graphics::Color> color);
    bool clipsToBounds() const;
    void setClipsToBounds(bool clips);
    bool isOpaque() const { return opaque_; }
    void setOpaque(bool opaque);
    ContentMode contentMode() const { return contentMode_; }
    void setContentMode(ContentMode mode);
    bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
    void setUserInteractionEnabled(bool enabled);
    unsigned autoresizingMask() const { return autoresizingMask_; }
    void setAutoresizingMask(unsigned mask);
    bool autoresizesSubviews() const { return autoresizesSubviews_; }
    void setAutoresizesSubviews(bool autoresizes);

    int tag() const { return tag_; }
    void setTag(int tag);
    // This view or the first descendant (depth first) with the tag.
    std::shared_ptr<View> viewWithTag(int tag);

    // Hierarchy. Superviews own their subviews; a view knows its superview weakly.
    const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
    std::shared_ptr<View> superview() const { return superview_.lock(); }
    virtual std::shared_ptr<Window> window() const;
    void addSubview(const std::shared_ptr<View>& view);
    void insertSubview(const std::shared_ptr<View>& view, std::size_t index);
    void insertSubviewAbove(const std::shared_ptr<View>& view,
                            const std::shared_ptr<View>& sibling);
    void insertSubviewBelow(const std::shared_ptr<View>& view,
                            const std::shared_ptr<View>& sibling);
    void removeFromSuperview();
    void bringSubviewToFront(const std::shared_ptr<View>& view);
    void sendSubviewToBack(const std::shared_ptr<View>& view);
    bool isDescendantOfView(const View* view) const;

    // Drawing: the compositor fills the layer's background colour, then asks the view, as
    // the layer's delegate, to draw the content with drawRect.
    virtual void drawRect(graphics::Context& context, const graphics::Rect& rect);
    void drawLayer(animation::Layer& layer, graphics::Context& context) override;
    void setNeedsDisplay();
    bool needsDisplay() const;
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
    void setViewController(const std::shared_ptr<ViewController>& controller);
    std::shared_ptr<ViewController> viewController() const { return controller_.lock(); }

    // Animation blocks. Between begin and commit, changes to frame, bounds, center,
    // transform, alpha and background colour animate from the value they had (or, beginning
    // from the current state, the value shown) to the new one. Blocks nest; an inner block
    // starts with the outer one's settings. The handlers hear the block's start after its
    // delay and its stop once all its animations have stopped (finished unless one was cut
    // short).
    static void beginAnimations(std::string name, std::shared_ptr<void> context = nullptr);
    static void commitAnimations();
    static void setAnimationDuration(double seconds);
    static void setAnimationDelay(double seconds);
    static void setAnimationCurve(ViewAnimationCurve curve);
    static void setAnimationRepeatCount(float count);
    static void setAnimationRepeatAutoreverses(bool autoreverses);
    static void setAnimationBeginsFromCurrentState(bool fromCurrentState);
    static void setAnimationWillStartHandler(
        std::function<void(const std::string& name, const std::shared_ptr<void>& context)> handler);
    static void
    setAnimationDidStopHandler(std::function<void(const std::string& name, bool finished,
                                                  const std::shared_ptr<void>& context)>
                                   handler);
    // The view's whole content changes with the transition; with cache, the new content is
    // pictured once at the commit instead of drawn live.
    static void setAnimationTransition(ViewAnimationTransition transition,
                                       const std::shared_ptr<View>& view, bool cache);

    std::shared_ptr<View> sharedView() {
        return std::static_pointer_cast<View>(shared_from_this());
    }

protected:
    explicit View(const graphics::Rect& frame = {});
    void notifyMovedToWindow();

private:
    void resizeSubviews(graphics::Size oldSize);
    void autoresize(graphics::Size oldSuperSize, graphics::Size newSuperSize);
    void detach(const std::shared_ptr<View>& view);
    // Where a view goes next to sibling, once taken out of this view if it was in it.
    std::size_t indexAfterTakingOut(const std::shared_ptr<View>& view,
                                    const std::shared_ptr<View>& sibling, bool above);
    // Puts the subview's layer where the subview now is: just below the next subview's.
    void placeLayerOf(const View& subview);
    // Makes a change to the layer that animates inside an animation block.
    void animateChanges(std::initializer_list<const char*> keyPaths,
                        const std::function<void()>& change);

    std::shared_ptr<animation::Layer> layer_;
    bool opaque_ = true;
    bool userInteractionEnabled_ = true;
    bool autoresizesSubviews_ = true;
    unsigned autoresizingMask_ = AutoresizingNone;
    ContentMode contentMode_ = ContentMode::ScaleToFill;
    int tag_ = 0;
    std::vector<std::shared_ptr<View>> subviews_;
    std::weak_ptr<View> superview_;
    std::weak_ptr<ViewController> controller_;
};

} // namespace ui
