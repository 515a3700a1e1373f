#include "platform/graphics/CairoContext.h"

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/FontSystem.h"
#include "platform/graphics/Gradient.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/TextBlock.h"
#include "platform/graphics/TextLayoutCache.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace graphics {
namespace {

// The parts of the drawing state that cairo does not keep for us.
struct State {
    Color fill = Color::blackColor();
    Color stroke = Color::blackColor();
    float alpha = 1;
};

struct Layer {
    std::size_t stateDepth;
    float alpha;
};

int pixelsFor(float extent) {
    return std::isfinite(extent) ? std::max(0, int(std::ceil(extent))) : 0;
}

// Cairo needs a mutable pointer, but an image used as a source is only read.
cairo_surface_t* surfaceFor(const Image& image) {
    auto* bytes = reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(image.pixels()));
    return cairo_image_surface_create_for_data(bytes, CAIRO_FORMAT_ARGB32, image.pixelWidth(),
                                               image.pixelHeight(), image.pixelWidth() * 4);
}

} // namespace

struct CairoContext::Impl {
    explicit Impl(cairo_surface_t* target) : surface(target), cr(cairo_create(target)) {
        cairo_set_line_width(cr, 1);
    }
    ~Impl() {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }

    void setSource(const Color& color) {
        Color c = color.clamped();
        cairo_set_source_rgba(cr, c.red(), c.green(), c.blue(), c.alpha() * state.alpha);
    }

    // Runs fn on an empty path and puts the caller's path back afterwards, because only the
    // path operations themselves may change the current path.
    template <typename Fn>
    void preservingPath(Fn fn) {
        cairo_path_t* saved = cairo_has_current_point(cr) ? cairo_copy_path(cr) : nullptr;
        cairo_new_path(cr);
        fn();
        cairo_new_path(cr);
        if (saved) {
            cairo_append_path(cr, saved);
            cairo_path_destroy(saved);
        }
    }

    void rectangle(const Rect& rect) {
        cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    }

    void paintSlice(cairo_surface_t* image, const ImageSlice& slice, bool snapToPixels);
    // Without an area, the group covers the whole clip.
    void beginGroup(const Rect* area);
    void clipToPixelsCovering(const Rect& area);
    void fillGradientBand(const Gradient& gradient, double length, GradientOptions options);

    cairo_surface_t* surface;
    cairo_t* cr;
    State state;
    std::vector<State> saved;
    std::vector<Layer> layers;
};

CairoContext::CairoContext(Size size)
    : impl_(std::make_unique<Impl>(cairo_image_surface_create(
          CAIRO_FORMAT_ARGB32, pixelsFor(size.width), pixelsFor(size.height)))) {}

CairoContext::CairoContext(std::uint32_t* pixels, int width, int height, int strideBytes)
    : impl_(std::make_unique<Impl>(
          cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels),
                                              CAIRO_FORMAT_ARGB32, width, height, strideBytes))) {}

CairoContext::~CairoContext() = default;

int CairoContext::pixelWidth() const { return cairo_image_surface_get_width(impl_->surface); }

int CairoContext::pixelHeight() const { return cairo_image_surface_get_height(impl_->surface); }

std::shared_ptr<Image> CairoContext::makeImage() const {
    cairo_surface_flush(impl_->surface);
    int width = pixelWidth();
    int height = pixelHeight();
    int stride = cairo_image_surface_get_stride(impl_->surface);
    const unsigned char* data = cairo_image_surface_get_data(impl_->surface);
    if (!data || width <= 0 || height <= 0)
        return nullptr;
    std::vector<std::uint32_t> pixels(std::size_t(width) * height);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<const std::uint32_t*>(data + std::size_t(y) * stride);
        std::copy(row, row + width, pixels.begin() + std::size_t(y) * width);
    }
    return Image::fromPixels(width, height, std::move(pixels));
}

void CairoContext::saveGState() {
    cairo_save(impl_->cr);
    impl_->saved.push_back(impl_->state);
}

void CairoContext::restoreGState() {
    // An unbalanced restore must not unwind a transparency layer's own save.
    std::size_t floor = impl_->layers.empty() ? 0 : impl_->layers.back().stateDepth;
    if (impl_->saved.size() <= floor)
        return;
    cairo_restore(impl_->cr);
    impl_->state = impl_->saved.back();
    impl_->saved.pop_back();
}

void CairoContext::setFillColor(const Color& color) { impl_->state.fill = color; }

void CairoContext::setStrokeColor(const Color& color) { impl_->state.stroke = color; }

void CairoContext::setLineWidth(float width) { cairo_set_line_width(impl_->cr, width); }

void CairoContext::setShouldAntialias(bool antialias) {
    cairo_set_antialias(impl_->cr, antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

void CairoContext::setAlpha(float alpha) { impl_->state.alpha = std::clamp(alpha, 0.0f, 1.0f); }

void CairoContext::concatCTM(const AffineTransform& t) {
    cairo_matrix_t matrix;
    cairo_matrix_init(&matrix, t.a, t.b, t.c, t.d, t.tx, t.ty);
    cairo_transform(impl_->cr, &matrix);
}

void CairoContext::fillRect(const Rect& rect) {
    impl_->preservingPath([&] {
        impl_->rectangle(rect);
        impl_->setSource(impl_->state.fill);
        cairo_fill(impl_->cr);
    });
}

void CairoContext::strokeRect(const Rect& rect) {
    impl_->preservingPath([&] {
        impl_->rectangle(rect);
        impl_->setSource(impl_->state.stroke);
        cairo_stroke(impl_->cr);
    });
}

void CairoContext::beginPath() { cairo_new_path(impl_->cr); }

void CairoContext::moveTo(Point p) { cairo_move_to(impl_->cr, p.x, p.y); }

void CairoContext::lineTo(Point p) {
    // Without a current point the platform starts the path here instead of failing.
    if (cairo_has_current_point(impl_->cr))
        cairo_line_to(impl_->cr, p.x, p.y);
    else
        cairo_move_to(impl_->cr, p.x, p.y);
}

void CairoContext::addArc(Point center, float radius, float startAngle, float endAngle,
                          bool clockwise) {
    if (clockwise)
        cairo_arc_negative(impl_->cr, center.x, center.y, radius, startAngle, endAngle);
    else
        cairo_arc(impl_->cr, center.x, center.y, radius, startAngle, endAngle);
}

void CairoContext::addArcToPoint(Point p1, Point p2, float radius) {
    cairo_t* cr = impl_->cr;
    if (!cairo_has_current_point(cr)) {
        cairo_move_to(cr, p1.x, p1.y);
        return;
    }
    double x0, y0;
    cairo_get_current_point(cr, &x0, &y0);
    double ax = x0 - p1.x, ay = y0 - p1.y, bx = p2.x - p1.x, by = p2.y - p1.y;
    double la = std::hypot(ax, ay), lb = std::hypot(bx, by);
    double cross = ax * by - ay * bx;
    if (radius <= 0 || la == 0 || lb == 0 || std::fabs(cross) <= 1e-9 * la * lb) {
        cairo_line_to(cr, p1.x, p1.y);
        return;
    }
    ax /= la, ay /= la, bx /= lb, by /= lb;
    double halfAngle = std::acos(std::clamp(ax * bx + ay * by, -1.0, 1.0)) / 2;
    double toTangent = radius / std::tan(halfAngle);
    double bisectorX = ax + bx, bisectorY = ay + by;
    double bisectorLength = std::hypot(bisectorX, bisectorY);
    double toCenter = radius / std::sin(halfAngle);
    double cx = p1.x + bisectorX / bisectorLength * toCenter;
    double cy = p1.y + bisectorY / bisectorLength * toCenter;
    double t1x = p1.x + ax * toTangent, t1y = p1.y + ay * toTangent;
    double t2x = p1.x + bx * toTangent, t2y = p1.y + by * toTangent;
    double from = std::atan2(t1y - cy, t1x - cx);
    double to = std::atan2(t2y - cy, t2x - cx);
    cairo_line_to(cr, t1x, t1y);
    // Turning clockwise on screen at p1 (cross < 0 here) sweeps with increasing angle.
    if (cross < 0)
        cairo_arc(cr, cx, cy, radius, from, to);
    else
        cairo_arc_negative(cr, cx, cy, radius, from, to);
}

void CairoContext::closePath() { cairo_close_path(impl_->cr); }

void CairoContext::fillPath() {
    impl_->setSource(impl_->state.fill);
    cairo_fill(impl_->cr);
}

void CairoContext::strokePath() {
    impl_->setSource(impl_->state.stroke);
    cairo_stroke(impl_->cr);
}

void CairoContext::clipToPath() { cairo_clip(impl_->cr); }

void CairoContext::clipToRect(const Rect& rect) {
    impl_->preservingPath([&] {
        impl_->rectangle(rect);
        cairo_clip(impl_->cr);
    });
}

void CairoContext::drawLinearGradient(const Gradient& gradient, Point start, Point end,
                                      GradientOptions options) {
    double length = std::hypot(end.x - start.x, end.y - start.y);
    if (gradient.colors.empty() || length == 0)
        return;
    impl_->preservingPath([&] {
        cairo_save(impl_->cr);
        // Work along the gradient's axis: x runs from start (0) to end (length).
        cairo_translate(impl_->cr, start.x, start.y);
        cairo_rotate(impl_->cr, std::atan2(end.y - start.y, end.x - start.x));
        impl_->fillGradientBand(gradient, length, options);
        cairo_restore(impl_->cr);
    });
}

void CairoContext::Impl::fillGradientBand(const Gradient& gradient, double length,
                                          GradientOptions options) {
    double left, top, right, bottom;
    cairo_clip_extents(cr, &left, &top, &right, &bottom);
    if (!options.drawsBeforeStart)
        left = std::max(left, 0.0);
    if (!options.drawsAfterEnd)
        right = std::min(right, length);
    if (right <= left || bottom <= top)
        return;
    cairo_pattern_t* pattern = cairo_pattern_create_linear(0, 0, length, 0);
    std::size_t count = gradient.colors.size();
    bool spread = gradient.locations.size() != count;
    for (std::size_t i = 0; i < count; ++i) {
        double location =
            spread ? (count == 1 ? 0.0 : double(i) / double(count - 1)) : gradient.locations[i];
        Color c = gradient.colors[i].clamped();
        cairo_pattern_add_color_stop_rgba(pattern, location, c.red(), c.green(), c.blue(),
                                          c.alpha() * state.alpha);
    }
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_rectangle(cr, left, top, right - left, bottom - top);
    cairo_set_source(cr, pattern);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
}

void CairoContext::drawImage(const Image& image, const Rect& rect) {
    cairo_surface_t* source = surfaceFor(image);
    std::vector<ImageSlice> slices = image.slicesForDrawing(rect);
    impl_->preservingPath([&] {
        cairo_save(impl_->cr);
        // Slices meet on whole pixels so their shared edges leave no seam; the outer clip
        // still gives the whole image smooth edges.
        impl_->rectangle(rect);
        cairo_clip(impl_->cr);
        for (const ImageSlice& slice : slices)
            impl_->paintSlice(source, slice, slices.size() > 1);
        cairo_restore(impl_->cr);
    });
    cairo_surface_destroy(source);
}

void CairoContext::Impl::paintSlice(cairo_surface_t* image, const ImageSlice& slice,
                                    bool snapToPixels) {
    // A sub-surface with padded edges keeps filtering from pulling in neighbouring slices.
    cairo_surface_t* part =
        cairo_surface_create_for_rectangle(image, slice.source.origin.x, slice.source.origin.y,
                                           slice.source.size.width, slice.source.size.height);
    cairo_save(cr);
    if (snapToPixels)
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    rectangle(slice.destination);
    cairo_clip(cr);
    cairo_translate(cr, slice.destination.origin.x, slice.destination.origin.y);
    cairo_scale(cr, slice.destination.size.width / slice.source.size.width,
                slice.destination.size.height / slice.source.size.height);
    cairo_set_source_surface(cr, part, 0, 0);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint_with_alpha(cr, state.alpha);
    cairo_restore(cr);
    cairo_surface_destroy(part);
}

void CairoContext::drawText(std::string_view text, const Rect& rect, const Font& font,
                            const Color& color, TextAlignment alignment, LineBreakMode mode) {
    Rect frame = rect.standardized();
    impl_->preservingPath([&] {
        TextLayoutCache::Key key{std::string(text), font, frame.size, mode, alignment};
        FontSystem::shared().withDrawingLayout(impl_->cr, std::move(key),
                                               [&](const TextBlock& block) {
                                                   impl_->setSource(color);
                                                   block.draw(impl_->cr, frame.origin);
                                               });
    });
}

void CairoContext::beginTransparencyLayer() { impl_->beginGroup(nullptr); }

void CairoContext::beginTransparencyLayer(const Rect& area) { impl_->beginGroup(&area); }

void CairoContext::Impl::beginGroup(const Rect* area) {
    layers.push_back({saved.size() + 1, state.alpha});
    cairo_save(cr);
    saved.push_back(state);
    state.alpha = 1;
    // Cairo sizes a group by the clip, so a bounded group is cleared and composited only
    // there; the clip goes with the state saved for the group.
    if (area)
        clipToPixelsCovering(*area);
    cairo_push_group(cr);
}

// A clip on whole device pixels covers no pixel in part, so what is drawn inside it is unchanged.
void CairoContext::Impl::clipToPixelsCovering(const Rect& area) {
    const Rect r = area.standardized();
    double xs[4] = {r.minX(), r.maxX(), r.minX(), r.maxX()};
    double ys[4] = {r.minY(), r.minY(), r.maxY(), r.maxY()};
    for (int i = 0; i < 4; ++i)
        cairo_user_to_device(cr, &xs[i], &ys[i]);
    // Cairo's fixed-point coordinates overflow far beyond any surface; stay well inside them.
    constexpr double limit = 1 << 20;
    const auto bounded = [&](double value) { return std::clamp(value, -limit, limit); };
    const double left = bounded(std::floor(*std::min_element(xs, xs + 4)));
    const double right = bounded(std::ceil(*std::max_element(xs, xs + 4)));
    const double top = bounded(std::floor(*std::min_element(ys, ys + 4)));
    const double bottom = bounded(std::ceil(*std::max_element(ys, ys + 4)));
    if (!(left <= right && top <= bottom))
        return;
    preservingPath([&] {
        cairo_matrix_t matrix;
        cairo_get_matrix(cr, &matrix);
        cairo_identity_matrix(cr);
        cairo_rectangle(cr, left, top, right - left, bottom - top);
        cairo_set_matrix(cr, &matrix);
        cairo_clip(cr);
    });
}

void CairoContext::endTransparencyLayer() {
    if (impl_->layers.empty())
        return;
    // Unwind any saves left open inside the layer before compositing it.
    while (impl_->saved.size() > impl_->layers.back().stateDepth) {
        cairo_restore(impl_->cr);
        impl_->saved.pop_back();
    }
    float alpha = impl_->layers.back().alpha;
    impl_->layers.pop_back();
    cairo_pop_group_to_source(impl_->cr);
    cairo_paint_with_alpha(impl_->cr, alpha);
    impl_->state = impl_->saved.back();
    impl_->saved.pop_back();
    cairo_restore(impl_->cr);
}

} // namespace graphics
