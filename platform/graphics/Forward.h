#pragma once

namespace graphics {

struct Point;
struct Size;
struct Rect;
struct EdgeInsets;
struct AffineTransform;
struct Transform3D;
struct Gradient;
struct GradientOptions;
struct ImageSlice;
struct RecordedOperation;
class Color;
class Image;
class Font;
class Context;
class CairoContext;
class RecordingContext;
enum class TextAlignment : int;
enum class LineBreakMode : int;

} // namespace graphics
