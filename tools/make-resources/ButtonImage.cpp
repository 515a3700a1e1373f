#include "ButtonImage.h"

#include "tools/common/CairoPaths.h"

#include <cairo.h>

#include <cmath>
#include <memory>

namespace resources {

namespace {

constexpr int kWidth = 30;
constexpr int kHeight = 44;
constexpr double kRadius = 10;

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using Cairo = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;

void fillBody(cairo_t* cr) {
    cairo_pattern_t* body = cairo_pattern_create_linear(0, 0, 0, kHeight);
    cairo_pattern_add_color_stop_rgb(body, 0.0, 0.96, 0.36, 0.33);
    cairo_pattern_add_color_stop_rgb(body, 0.5, 0.82, 0.08, 0.06);
    cairo_pattern_add_color_stop_rgb(body, 0.51, 0.70, 0.02, 0.02);
    cairo_pattern_add_color_stop_rgb(body, 1.0, 0.84, 0.12, 0.08);
    tools::CairoPaths::roundedRect(cr, 0.5, 0.5, kWidth - 1, kHeight - 1, kRadius);
    cairo_set_source(cr, body);
    cairo_fill(cr);
    cairo_pattern_destroy(body);
}

// The gloss is a paler band over the upper half that fades as it goes down.
void addGloss(cairo_t* cr) {
    cairo_pattern_t* gloss = cairo_pattern_create_linear(0, 1, 0, kHeight / 2.0);
    cairo_pattern_add_color_stop_rgba(gloss, 0.0, 1, 1, 1, 0.55);
    cairo_pattern_add_color_stop_rgba(gloss, 1.0, 1, 1, 1, 0.12);
    tools::CairoPaths::roundedRect(cr, 1.5, 1.5, kWidth - 3, kHeight / 2.0 - 1, kRadius - 1);
    cairo_set_source(cr, gloss);
    cairo_fill(cr);
    cairo_pattern_destroy(gloss);
}

void strokeBorder(cairo_t* cr) {
    tools::CairoPaths::roundedRect(cr, 0.5, 0.5, kWidth - 1, kHeight - 1, kRadius);
    cairo_set_source_rgb(cr, 0.40, 0.0, 0.0);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

} // namespace

bool writeButtonImage(const std::string& path) {
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight),
                    &cairo_surface_destroy);
    Cairo cr(cairo_create(surface.get()), &cairo_destroy);
    fillBody(cr.get());
    addGloss(cr.get());
    strokeBorder(cr.get());
    cairo_surface_flush(surface.get());
    return cairo_surface_write_to_png(surface.get(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

} // namespace resources
