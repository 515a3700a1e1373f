#pragma once

namespace ui {

struct Acceleration;
class Accelerometer;
class AccelerometerDelegate;
class ActivityIndicatorView;
class Application;
class ApplicationDelegate;
class Button;
class ClassRegistry;
class Compositor;
class Control;
class DescriptionReader;
class DisplayLink;
class Device;
struct Event;
class ImageView;
class InterfaceLoader;
class InterfaceObject;
class Label;
class PageControl;
class Responder;
class Screen;
class ScrollView;
class ScrollViewDelegate;
class SegmentedControl;
class StatusBarWindow;
class Touch;
class View;
class ViewAnimation;
class ViewController;
class Window;
enum class ContentMode;
enum class ViewAnimationCurve : int;
enum class ViewAnimationTransition : int;
enum class ActivityIndicatorViewStyle;

} // namespace ui
