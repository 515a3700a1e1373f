#pragma once

namespace ui {

struct Acceleration;
class Accelerometer;
class AccelerometerDelegate;
class Application;
class ApplicationDelegate;
class Button;
class ClassRegistry;
class Compositor;
class Control;
class DescriptionReader;
class Device;
struct Event;
class ImageView;
class InterfaceLoader;
class InterfaceObject;
class Label;
class Responder;
class Screen;
class SegmentedControl;
class StatusBarWindow;
class Touch;
class View;
class ViewController;
class Window;
enum class ContentMode;

} // namespace ui
