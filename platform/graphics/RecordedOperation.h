#pragma once

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Gradient.h"
#include "platform/graphics/LineBreakMode.h"
#include "platform/graphics/TextAlignment.h"

#include <optional>
#include <string>

namespace graphics {

// One call made on a RecordingContext. Only the fields that the kind uses are set.
struct RecordedOperation {
    enum class Kind {
        SaveGState,
        RestoreGState,
        SetFillColor,       // color
        SetStrokeColor,     // color
        SetLineWidth,       // value
        SetShouldAntialias, // flag
        SetAlpha,           // value
        ConcatCTM,          // transform
        FillRect,           // rect
        StrokeRect,         // rect
        BeginPath,
        MoveTo,         // point
        LineTo,         // point
        AddArc,         // point (centre), value (radius), startAngle, endAngle, flag (clockwise)
        AddArcToPoint,  // point, point2, value (radius)
        AddRoundedRect, // rect, value (radius)
        ClosePath,
        FillPath,
        StrokePath,
        ClipToPath,
        ClipToRect,             // rect
        DrawLinearGradient,     // gradient, point (start), point2 (end), gradientOptions
        DrawImage,              // rect, imageSize, leftCapWidth, topCapHeight
        DrawText,               // text, rect, font, color, alignment, lineBreakMode
        BeginTransparencyLayer, // rect (the area, when one is given)
        EndTransparencyLayer,
    };

    Kind kind;
    Rect rect;
    Point point;
    Point point2;
    float value = 0;
    float startAngle = 0;
    float endAngle = 0;
    bool flag = false;
    Color color;
    AffineTransform transform;
    Gradient gradient;
    GradientOptions gradientOptions;
    Size imageSize;
    int leftCapWidth = 0;
    int topCapHeight = 0;
    std::string text;
    std::optional<Font> font;
    TextAlignment alignment = TextAlignment::Left;
    LineBreakMode lineBreakMode = LineBreakMode::WordWrap;

    // One line naming the kind and its fields, for golden text comparisons.
    std::string describe() const;
};

} // namespace graphics
