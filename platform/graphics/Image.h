#pragma once

#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace foundation {
class Data;
}

namespace graphics {

// One piece of a stretchable image: the source pixels and where they land.
struct ImageSlice {
    Rect source;
    Rect destination;

    bool operator==(const ImageSlice&) const = default;
};

// An immutable bitmap at one pixel per point. Pixels are premultiplied ARGB in native 32-bit
// words, row by row from the top, which is what the raster backend draws from directly.
class Image {
public:
    // Decoders refuse anything larger, so hostile headers cannot demand huge buffers.
    static constexpr int maxDimension = 4096;

    // PNG, JPEG or GIF (first frame). nullptr for anything else, or when damaged.
    static std::shared_ptr<Image> fromData(const foundation::Data& data);
    static std::shared_ptr<Image> fromFile(const std::string& path);
    // nullptr when the pixel count does not match or a dimension is out of range.
    static std::shared_ptr<Image> fromPixels(int width, int height,
                                             std::vector<std::uint32_t> premultipliedARGB);

    int pixelWidth() const { return width_; }
    int pixelHeight() const { return height_; }
    Size size() const { return {float(width_), float(height_)}; }
    const std::uint32_t* pixels() const { return pixels_->data(); }
    // The pixel at (x, y) with alpha divided out; clear outside the image.
    Color colorAt(int x, int y) const;

    // An empty Data when encoding fails.
    foundation::Data pngData() const;

    // The same pixels drawn as a nine-slice: columns [0, leftCapWidth) and the part right of
    // column leftCapWidth keep their size, that single column stretches; rows likewise. A cap
    // of 0 stretches that axis whole.
    std::shared_ptr<Image> stretchableImage(int leftCapWidth, int topCapHeight) const;
    int leftCapWidth() const { return leftCap_; }
    int topCapHeight() const { return topCap_; }
    bool isStretchable() const { return leftCap_ > 0 || topCap_ > 0; }
    // Where the pieces go when the image is drawn into destination.
    std::vector<ImageSlice> slicesForDrawing(const Rect& destination) const;

private:
    using Pixels = std::vector<std::uint32_t>;
    Image(int width, int height, std::shared_ptr<const Pixels> pixels, int leftCap, int topCap);

    int width_;
    int height_;
    std::shared_ptr<const Pixels> pixels_;
    int leftCap_;
    int topCap_;
};

} // namespace graphics
