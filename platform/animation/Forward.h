#pragma once

namespace animation {

class Animation;
class AnimationDelegate;
class AnimationGroup;
class AnimationValue;
class BasicAnimation;
class KeyPath;
class KeyframeAnimation;
class Layer;
class LayerActivity;
class LayerDelegate;
struct LayerValues;
class MediaTimingFunction;
class PropertyAnimation;
class Transaction;
class Transition;

} // namespace animation
