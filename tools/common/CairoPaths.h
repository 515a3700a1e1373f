#pragma once

#include <cairo.h>

namespace tools {

// Path shapes shared by the artwork generators, drawn straight on Cairo so the committed
// images they produce stay byte for byte the same.
class CairoPaths {
public:
    // A closed rounded rectangle as a new sub-path, corners of radius r.
    static void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
};

} // namespace tools
