#pragma once

namespace ui {

struct Acceleration;
class Accelerometer;
class AccelerometerDelegate;
class ActionSheet;
class ActionSheetDelegate;
class ActivityIndicatorView;
class AlertStack;
class AlertView;
class AlertViewDelegate;
class Application;
class ApplicationDelegate;
class BarButtonItem;
class Button;
class ButtonBar;
class ClassRegistry;
class Compositor;
class Control;
class DescriptionReader;
class Device;
class DisplayLink;
struct Event;
class Gloss;
class ImageView;
struct IndexPath;
class InterfaceLoader;
class InterfaceObject;
class KeyInput;
class Keyboard;
class KeyboardView;
class Label;
class ModalView;
class NavigationBar;
class NavigationItem;
class PageControl;
class Responder;
class Screen;
class ScrollView;
class ScrollViewDelegate;
class SearchBar;
class SearchBarDelegate;
class SegmentedControl;
class StatusBarWindow;
class TableView;
class TableViewCell;
class TableViewDataSource;
class TableViewDelegate;
class Toolbar;
class Touch;
class View;
class ViewAnimation;
class ViewController;
class Window;
enum class ContentMode;
enum class KeyboardKey;
enum class ViewAnimationCurve : int;
enum class ViewAnimationTransition : int;
enum class ActivityIndicatorViewStyle;
enum class BarButtonItemStyle : int;
enum class BarButtonSystemItem : int;

} // namespace ui
