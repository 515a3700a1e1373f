#include "platform/animation/Transition.h"

namespace animation {

std::shared_ptr<Transition> Transition::create(Type type, Subtype subtype) {
    return std::shared_ptr<Transition>(new Transition(type, subtype));
}

std::shared_ptr<Animation> Transition::copy() const {
    return std::shared_ptr<Transition>(new Transition(*this));
}

std::optional<double> Transition::progressAt(double sinceBegin) const {
    if (auto passTime = passTimeAt(sinceBegin))
        return *passTime / passDuration();
    return std::nullopt;
}

} // namespace animation
