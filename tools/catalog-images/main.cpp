// catalog-images DIR: draws every image of the ad server's catalogue into DIR/static/phone.
// Run it again after changing a drawing and commit the PNGs it writes.

#include "tools/common/CairoPaths.h"

#include <cairo.h>

#include <cmath>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace {

struct RGB {
    double r, g, b;
};

using Draw = std::function<void(cairo_t*)>;

bool writePNG(const std::string& path, int width, int height, const Draw& draw) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    draw(cr);
    cairo_destroy(cr);
    const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    if (!ok)
        std::cerr << "catalog-images: cannot write " << path << "\n";
    return ok;
}

void centredText(cairo_t* cr, const std::string& text, double cx, double cy, double size) {
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    cairo_move_to(cr, cx - extents.width / 2 - extents.x_bearing,
                  cy - extents.height / 2 - extents.y_bearing);
    cairo_show_text(cr, text.c_str());
}

// Browser toolbar arrows: white when enabled, grey when not.
Draw arrow(bool pointsLeft, bool enabled) {
    return [=](cairo_t* cr) {
        const double shade = enabled ? 1.0 : 0.5;
        cairo_set_source_rgba(cr, shade, shade, shade, enabled ? 1.0 : 0.6);
        const double tip = pointsLeft ? 6 : 24, back = pointsLeft ? 22 : 8;
        cairo_move_to(cr, tip, 15);
        cairo_line_to(cr, back, 5);
        cairo_line_to(cr, back, 25);
        cairo_close_path(cr);
        cairo_fill(cr);
    };
}

// Action icons: a coloured rounded square with a white glyph.
Draw actionIcon(RGB colour, std::function<void(cairo_t*)> glyph) {
    return [=](cairo_t* cr) {
        tools::CairoPaths::roundedRect(cr, 1, 1, 30, 30, 7);
        cairo_set_source_rgb(cr, colour.r, colour.g, colour.b);
        cairo_fill(cr);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_set_line_width(cr, 2.5);
        glyph(cr);
    };
}

void globe(cairo_t* cr) {
    cairo_arc(cr, 16, 16, 9, 0, 2 * M_PI);
    cairo_stroke(cr);
    cairo_move_to(cr, 7, 16);
    cairo_line_to(cr, 25, 16);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_scale(cr, 0.45, 1);
    cairo_arc(cr, 16 / 0.45, 16, 9, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_stroke(cr);
}

void handset(cairo_t* cr) {
    cairo_set_line_width(cr, 4);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_arc(cr, 16, 16, 8, M_PI * 0.75, M_PI * 1.75);
    cairo_stroke(cr);
}

void magnifier(cairo_t* cr) {
    cairo_arc(cr, 14, 14, 6.5, 0, 2 * M_PI);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 3.5);
    cairo_move_to(cr, 19, 19);
    cairo_line_to(cr, 25, 25);
    cairo_stroke(cr);
}

void play(cairo_t* cr) {
    cairo_move_to(cr, 12, 8);
    cairo_line_to(cr, 24, 16);
    cairo_line_to(cr, 12, 24);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void pin(cairo_t* cr) {
    cairo_arc(cr, 16, 13, 6, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_move_to(cr, 11, 15);
    cairo_line_to(cr, 16, 26);
    cairo_line_to(cr, 21, 15);
    cairo_fill(cr);
}

void grid(cairo_t* cr) {
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 2; ++column)
            cairo_rectangle(cr, 8 + column * 9, 8 + row * 9, 7, 7);
    cairo_fill(cr);
}

void person(cairo_t* cr) {
    cairo_arc(cr, 16, 11, 4.5, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_arc(cr, 16, 26, 9, M_PI, 2 * M_PI);
    cairo_fill(cr);
}

void note(cairo_t* cr) {
    cairo_arc(cr, 12, 22, 3.5, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_move_to(cr, 15, 22);
    cairo_line_to(cr, 15, 8);
    cairo_line_to(cr, 23, 11);
    cairo_stroke(cr);
}

Draw letterIcon(RGB colour, std::string letter) {
    return actionIcon(colour, [letter](cairo_t* cr) { centredText(cr, letter, 16, 16, 16); });
}

// Ad tiles: the ad's mark on its own colour, 38 points square.
Draw tile(RGB colour, std::string mark) {
    return [=](cairo_t* cr) {
        tools::CairoPaths::roundedRect(cr, 0, 0, 38, 38, 6);
        cairo_set_source_rgb(cr, colour.r, colour.g, colour.b);
        cairo_fill(cr);
        cairo_set_source_rgb(cr, 1, 1, 1);
        centredText(cr, mark, 19, 19, 20);
    };
}

void gardenBanner(cairo_t* cr) {
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, 48);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.55, 0.8, 0.95);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.2, 0.55, 0.25);
    cairo_set_source(cr, sky);
    cairo_paint(cr);
    cairo_pattern_destroy(sky);
    for (int i = 0; i < 6; ++i) {
        cairo_set_source_rgb(cr, 0.95, 0.3 + 0.1 * i, 0.3);
        cairo_arc(cr, 20 + i * 14, 34 - (i % 2) * 6, 5, 0, 2 * M_PI);
        cairo_fill(cr);
    }
    cairo_set_source_rgb(cr, 1, 1, 1);
    centredText(cr, "Green Thumb garden tools", 205, 24, 15);
}

// The pulsing logo of the flex ads: a gold star on a dark round badge.
void starBadge(cairo_t* cr) {
    cairo_arc(cr, 20, 20, 19, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0.1, 0.15, 0.3);
    cairo_fill(cr);
    for (int point = 0; point < 10; ++point) {
        const double angle = -M_PI / 2 + point * M_PI / 5;
        const double radius = point % 2 ? 6.5 : 15;
        cairo_line_to(cr, 20 + radius * std::cos(angle), 20 + radius * std::sin(angle));
    }
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, 1, 0.8, 0.2);
    cairo_fill(cr);
}

// Product pictures of the flex ads, 36 points square on a light ground.
Draw product(RGB ground, std::function<void(cairo_t*)> picture) {
    return [=](cairo_t* cr) {
        tools::CairoPaths::roundedRect(cr, 0, 0, 36, 36, 5);
        cairo_set_source_rgb(cr, ground.r, ground.g, ground.b);
        cairo_fill(cr);
        picture(cr);
    };
}

void cup(cairo_t* cr) {
    cairo_set_source_rgb(cr, 0.45, 0.25, 0.1);
    cairo_move_to(cr, 8, 12);
    cairo_line_to(cr, 24, 12);
    cairo_line_to(cr, 22, 28);
    cairo_line_to(cr, 10, 28);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_set_line_width(cr, 2.5);
    cairo_arc(cr, 25, 18, 4, -M_PI / 2, M_PI / 2);
    cairo_stroke(cr);
    cairo_set_source_rgba(cr, 0.45, 0.25, 0.1, 0.5);
    cairo_set_line_width(cr, 1.5);
    for (double x : {12.0, 16.0, 20.0}) {
        cairo_move_to(cr, x, 9);
        cairo_curve_to(cr, x - 2, 7, x + 2, 5, x, 3);
    }
    cairo_stroke(cr);
}

void cake(cairo_t* cr) {
    cairo_move_to(cr, 6, 28);
    cairo_line_to(cr, 30, 28);
    cairo_line_to(cr, 30, 16);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, 0.95, 0.85, 0.6);
    cairo_fill(cr);
    cairo_move_to(cr, 6, 28);
    cairo_line_to(cr, 30, 16);
    cairo_set_source_rgb(cr, 0.9, 0.35, 0.5);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    cairo_arc(cr, 27, 11, 3, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0.85, 0.1, 0.15);
    cairo_fill(cr);
}

void loaf(cairo_t* cr) {
    tools::CairoPaths::roundedRect(cr, 5, 12, 26, 15, 7);
    cairo_set_source_rgb(cr, 0.75, 0.5, 0.2);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0.95, 0.8, 0.55);
    cairo_set_line_width(cr, 2);
    for (double x : {11.0, 17.0, 23.0}) {
        cairo_move_to(cr, x, 15);
        cairo_line_to(cr, x + 3, 22);
    }
    cairo_stroke(cr);
}

// The video ad's clock face: a white dial with two hands, centred at (cx, cy).
void clockFace(cairo_t* cr, double cx, double cy, double radius) {
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0.97, 0.95, 0.9);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.2, 0.2, 0.25);
    cairo_set_line_width(cr, radius * 0.12);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, cx, cy);
    cairo_line_to(cr, cx, cy - radius * 0.7);
    cairo_move_to(cr, cx, cy);
    cairo_line_to(cr, cx + radius * 0.45, cy + radius * 0.2);
    cairo_stroke(cr);
}

void clockTile(cairo_t* cr) {
    tools::CairoPaths::roundedRect(cr, 0, 0, 38, 38, 6);
    cairo_set_source_rgb(cr, 0.5, 0.15, 0.45);
    cairo_fill(cr);
    clockFace(cr, 19, 19, 13);
}

// The splash before the clip and the end screen's background.
void clockSplash(cairo_t* cr) {
    cairo_pattern_t* ground = cairo_pattern_create_linear(0, 0, 0, 160);
    cairo_pattern_add_color_stop_rgb(ground, 0, 0.35, 0.1, 0.32);
    cairo_pattern_add_color_stop_rgb(ground, 1, 0.12, 0.04, 0.12);
    cairo_set_source(cr, ground);
    cairo_paint(cr);
    cairo_pattern_destroy(ground);
    clockFace(cr, 120, 62, 40);
    cairo_set_source_rgb(cr, 1, 1, 1);
    centredText(cr, "Tick Tock Clocks", 120, 132, 18);
}

// The video buttons' pressed glow, behind the icon.
void buttonHighlight(cairo_t* cr) {
    tools::CairoPaths::roundedRect(cr, 1, 1, 48, 48, 8);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
    cairo_fill(cr);
}

// Background of the video screen's skip and replay buttons: dark when up, lit when pressed.
Draw videoButton(int width, int height, bool pressed) {
    return [=](cairo_t* cr) {
        tools::CairoPaths::roundedRect(cr, 1, 1, width - 2, height - 2, 6);
        const double shade = pressed ? 0.55 : 0.2;
        cairo_set_source_rgba(cr, shade, shade, shade, 0.85);
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 0.85, 0.85, 0.85);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    };
}

// The replay button: a round arrow above the caption the screen writes in its lower third.
Draw replayButton(bool pressed) {
    return [=](cairo_t* cr) {
        videoButton(96, 72, pressed)(cr);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_set_line_width(cr, 4);
        cairo_arc(cr, 48, 26, 14, -M_PI * 0.35, M_PI * 1.45);
        cairo_stroke(cr);
        cairo_move_to(cr, 66, 13);
        cairo_line_to(cr, 62, 27);
        cairo_line_to(cr, 52, 17);
        cairo_close_path(cr);
        cairo_fill(cr);
    };
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: catalog-images CATALOG_DIR\n";
        return 2;
    }
    const std::string phone = std::string(argv[1]) + "/static/phone/";
    struct Image {
        std::string path;
        int width, height;
        Draw draw;
    };
    const std::vector<Image> images = {
        {"browser/back.png", 30, 30, arrow(true, true)},
        {"browser/back_disable.png", 30, 30, arrow(true, false)},
        {"browser/forward.png", 30, 30, arrow(false, true)},
        {"browser/forward_disable.png", 30, 30, arrow(false, false)},
        {"img/url.png", 32, 32, actionIcon({0.2, 0.45, 0.85}, globe)},
        {"img/call.png", 32, 32, actionIcon({0.2, 0.7, 0.3}, handset)},
        {"img/search.png", 32, 32, actionIcon({0.35, 0.35, 0.4}, magnifier)},
        {"img/video.png", 32, 32, actionIcon({0.85, 0.25, 0.2}, play)},
        {"img/movie.png", 32, 32, actionIcon({0.6, 0.2, 0.5}, play)},
        {"img/map.png", 32, 32, actionIcon({0.9, 0.55, 0.1}, pin)},
        {"img/app.png", 32, 32, actionIcon({0.3, 0.3, 0.75}, grid)},
        {"img/audio.png", 32, 32, actionIcon({0.1, 0.6, 0.65}, note)},
        {"img/contact.png", 32, 32, actionIcon({0.45, 0.5, 0.55}, person)},
        {"img/screen.png", 32, 32, letterIcon({0.25, 0.4, 0.6}, "W")},
        {"img/canvas.png", 32, 32, letterIcon({0.7, 0.45, 0.2}, "C")},
        {"ads/kessa-tile.png", 38, 38, tile({0.12, 0.2, 0.42}, "K")},
        {"ads/pizza-tile.png", 38, 38, tile({0.8, 0.2, 0.15}, "P")},
        {"ads/search-tile.png", 38, 38, tile({0.35, 0.35, 0.4}, "S")},
        {"ads/bakery-tile.png", 38, 38, tile({0.6, 0.4, 0.2}, "B")},
        {"ads/garden-banner.png", 320, 48, gardenBanner},
        {"ads/flex-star.png", 40, 40, starBadge},
        {"ads/flex-cup.png", 36, 36, product({0.98, 0.94, 0.86}, cup)},
        {"ads/flex-cake.png", 36, 36, product({0.98, 0.92, 0.94}, cake)},
        {"ads/flex-loaf.png", 36, 36, product({0.96, 0.93, 0.84}, loaf)},
        {"ads/clock-tile.png", 38, 38, clockTile},
        {"ads/clock-splash.png", 240, 160, clockSplash},
        {"ads/video-highlight.png", 50, 50, buttonHighlight},
        {"ads/video-skip-up.png", 50, 30, videoButton(50, 30, false)},
        {"ads/video-skip-down.png", 50, 30, videoButton(50, 30, true)},
        {"ads/video-replay-up.png", 96, 72, replayButton(false)},
        {"ads/video-replay-down.png", 96, 72, replayButton(true)},
    };
    bool ok = true;
    for (const auto& image : images)
        ok = writePNG(phone + image.path, image.width, image.height, image.draw) && ok;
    return ok ? 0 : 1;
}
