#include "platform/ui/ViewAnimation.h"

#include "platform/animation/BasicAnimation.h"
#include "platform/animation/KeyPath.h"
#include "platform/animation/Layer.h"
#include "platform/animation/Transaction.h"
#include "platform/animation/Transition.h"
#include "platform/foundation/Assertions.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Singleton.h"
#include "platform/ui/Compositor.h"
#include "platform/ui/View.h"

namespace ui {

using animation::MediaTimingFunction;

ViewAnimation& ViewAnimation::shared() { return foundation::Singleton<ViewAnimation>::shared(); }

namespace {

MediaTimingFunction timingFor(ViewAnimationCurve curve) {
    using Name = MediaTimingFunction::Name;
    switch (curve) {
    case ViewAnimationCurve::EaseIn:
        return MediaTimingFunction::functionWithName(Name::EaseIn);
    case ViewAnimationCurve::EaseOut:
        return MediaTimingFunction::functionWithName(Name::EaseOut);
    case ViewAnimationCurve::Linear:
        return MediaTimingFunction::functionWithName(Name::Linear);
    case ViewAnimationCurve::EaseInOut:
        break;
    }
    return MediaTimingFunction::functionWithName(Name::EaseInEaseOut);
}

// The block's timing on a new animation: it starts after the delay, showing its first value
// while it waits.
void applyTiming(animation::Animation& animation, const ViewAnimation::Block& block) {
    animation.setDuration(block.duration);
    animation.setTimingFunction(timingFor(block.curve));
    animation.setRepeatCount(block.repeatCount);
    animation.setAutoreverses(block.autoreverses);
    if (block.delay > 0) {
        animation.setBeginTime(foundation::RunLoop::main().now() + block.delay);
        animation.setFillMode(animation::FillMode::Backwards);
    }
}

} // namespace

void ViewAnimation::begin(std::string name, std::shared_ptr<void> context) {
    foundation::assertIsMainThread();
    auto block = std::make_shared<Block>();
    if (auto outer = current()) {
        block->duration = outer->duration;
        block->delay = outer->delay;
        block->curve = outer->curve;
        block->repeatCount = outer->repeatCount;
        block->autoreverses = outer->autoreverses;
        block->beginsFromCurrentState = outer->beginsFromCurrentState;
    }
    block->name = std::move(name);
    block->context = std::move(context);
    open_.push_back(std::move(block));
    animation::Transaction::begin();
}

void ViewAnimation::commit() {
    foundation::assertIsMainThread();
    if (open_.empty())
        return;
    auto block = std::move(open_.back());
    open_.pop_back();
    addTransition(*block);
    if (block->willStart)
        foundation::RunLoop::main().postAfter(foundation::Seconds(block->delay), block, [block] {
            block->willStart(block->name, block->context);
        });
    animation::Transaction::setCompletion([block](bool finished) {
        if (block->didStop)
            block->didStop(block->name, finished, block->context);
    });
    animation::Transaction::commit();
}

void ViewAnimation::setTransition(ViewAnimationTransition transition,
                                  const std::shared_ptr<View>& view, bool cache) {
    auto block = current();
    if (!block || !view)
        return;
    block->transition = transition;
    block->transitionView = view;
    block->transitionCached = cache;
    // The picture of how the view looks before the block changes it.
    block->pictureBefore = Compositor::renderLayerImage(*view->layer());
}

void ViewAnimation::addTransition(const Block& block) {
    auto view = block.transitionView.lock();
    if (!view || block.transition == ViewAnimationTransition::None)
        return;
    using animation::Transition;
    auto transition = Transition::create(block.transition == ViewAnimationTransition::FlipFromLeft
                                             ? Transition::Type::FlipFromLeft
                                             : Transition::Type::FlipFromRight);
    applyTiming(*transition, block);
    transition->setOldContents(block.pictureBefore);
    if (block.transitionCached)
        transition->setNewContents(Compositor::renderLayerImage(*view->layer()));
    view->layer()->addAnimation(transition, "transition");
}

void ViewAnimation::animate(animation::Layer& layer, std::initializer_list<const char*> keyPaths,
                            const std::function<void()>& change) {
    const Block* block = current();
    if (!block) {
        change();
        return;
    }
    const animation::LayerValues before =
        block->beginsFromCurrentState ? layer.presentationAt(foundation::RunLoop::main().now())
                                      : layer.modelValues();
    change();
    for (const char* keyPath : keyPaths) {
        auto from = animation::KeyPath::get(before, keyPath);
        auto to = animation::KeyPath::get(layer.modelValues(), keyPath);
        if (!from || !to || *from == *to)
            continue;
        auto basic = animation::BasicAnimation::animationWithKeyPath(keyPath);
        basic->setFromValue(from);
        basic->setToValue(to);
        applyTiming(*basic, *block);
        layer.addAnimation(basic, keyPath);
    }
}

} // namespace ui
