#include "platform/graphics/Image.h"

#include "platform/foundation/Data.h"
#include "platform/foundation/FileManager.h"

#include <cairo.h>
#include <stb_image.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace graphics {
namespace {

// Image files larger than this are not images we would ever show.
constexpr std::size_t maxFileBytes = 64u << 20;

bool isGIF(std::string_view text) {
    return text.starts_with("GIF87a") || text.starts_with("GIF89a");
}

bool hasKnownSignature(const foundation::Data& data) {
    static constexpr unsigned char png[] = {0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a};
    static constexpr unsigned char jpeg[] = {0xff, 0xd8, 0xff};
    auto startsWith = [&](const unsigned char* prefix, std::size_t length) {
        return data.size() >= length && std::memcmp(data.bytes(), prefix, length) == 0;
    };
    std::string_view text = data.view();
    return startsWith(png, sizeof png) || startsWith(jpeg, sizeof jpeg) || isGIF(text);
}

// The GIF decoder fills a cut-off frame with blank pixels instead of failing, so a GIF must
// reach its trailer byte to count as whole.
bool isTruncatedGIF(const foundation::Data& data) {
    return isGIF(data.view()) && data.view().back() != 0x3b;
}

std::uint32_t premultipliedARGB(const unsigned char* rgba) {
    std::uint32_t alpha = rgba[3];
    auto channel = [alpha](unsigned char value) { return (value * alpha + 127) / 255; };
    return alpha << 24 | channel(rgba[0]) << 16 | channel(rgba[1]) << 8 | channel(rgba[2]);
}

cairo_status_t appendToData(void* closure, const unsigned char* bytes, unsigned int length) {
    static_cast<foundation::Data*>(closure)->append(bytes, length);
    return CAIRO_STATUS_SUCCESS;
}

struct AxisPiece {
    float sourceStart, sourceLength, destinationStart, destinationLength;
};

// One axis of a nine-slice: a fixed cap, the one stretching pixel after it, the fixed rest.
// When the destination is shorter than the two caps, the caps shrink in proportion.
std::vector<AxisPiece> axisPieces(int length, int cap, float start, float extent) {
    if (cap <= 0)
        return {{0, float(length), start, extent}};
    float first = float(std::min(cap, length - 1));
    float last = float(length) - first - 1;
    float stretch = extent - first - last;
    if (stretch < 0) {
        float shrink = extent / (first + last);
        return {{0, first, start, first * shrink},
                {first + 1, last, start + first * shrink, last * shrink}};
    }
    return {{0, first, start, first},
            {first, 1, start + first, stretch},
            {first + 1, last, start + first + stretch, last}};
}

} // namespace

Image::Image(int width, int height, std::shared_ptr<const Pixels> pixels, int leftCap, int topCap)
    : width_(width), height_(height), pixels_(std::move(pixels)), leftCap_(leftCap),
      topCap_(topCap) {}

std::shared_ptr<Image> Image::fromData(const foundation::Data& data) {
    if (!hasKnownSignature(data) || isTruncatedGIF(data) || data.size() > INT_MAX)
        return nullptr;
    int width = 0, height = 0, components = 0;
    int length = int(data.size());
    if (!stbi_info_from_memory(data.bytes(), length, &width, &height, &components) || width <= 0 ||
        height <= 0 || width > maxDimension || height > maxDimension)
        return nullptr;
    unsigned char* rgba =
        stbi_load_from_memory(data.bytes(), length, &width, &height, &components, 4);
    if (!rgba)
        return nullptr;
    Pixels pixels(std::size_t(width) * height);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = premultipliedARGB(rgba + 4 * i);
    stbi_image_free(rgba);
    return fromPixels(width, height, std::move(pixels));
}

std::shared_ptr<Image> Image::fromFile(const std::string& path) {
    auto bytes = foundation::FileManager::contentsAtPath(path, maxFileBytes);
    return bytes ? fromData(*bytes) : nullptr;
}

std::shared_ptr<Image> Image::fromPixels(int width, int height, Pixels premultipliedARGB) {
    if (width <= 0 || height <= 0 || width > maxDimension || height > maxDimension ||
        premultipliedARGB.size() != std::size_t(width) * height)
        return nullptr;
    auto pixels = std::make_shared<const Pixels>(std::move(premultipliedARGB));
    return std::shared_ptr<Image>(new Image(width, height, std::move(pixels), 0, 0));
}

Color Image::colorAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return Color::clearColor();
    std::uint32_t pixel = (*pixels_)[std::size_t(y) * width_ + x];
    float alpha = float(pixel >> 24);
    if (alpha == 0)
        return Color::clearColor();
    auto channel = [&](int shift) { return float((pixel >> shift) & 0xff) / alpha; };
    return {channel(16), channel(8), channel(0), alpha / 255};
}

foundation::Data Image::pngData() const {
    // Cairo only reads the pixels here; the cast is to fit its surface constructor.
    auto* bytes = reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(pixels()));
    cairo_surface_t* surface = cairo_image_surface_create_for_data(bytes, CAIRO_FORMAT_ARGB32,
                                                                   width_, height_, width_ * 4);
    foundation::Data png;
    if (cairo_surface_write_to_png_stream(surface, appendToData, &png) != CAIRO_STATUS_SUCCESS)
        png.clear();
    cairo_surface_destroy(surface);
    return png;
}

std::shared_ptr<Image> Image::stretchableImage(int leftCapWidth, int topCapHeight) const {
    return std::shared_ptr<Image>(
        new Image(width_, height_, pixels_, std::max(leftCapWidth, 0), std::max(topCapHeight, 0)));
}

std::vector<ImageSlice> Image::slicesForDrawing(const Rect& destination) const {
    Rect target = destination.standardized();
    std::vector<ImageSlice> slices;
    for (const AxisPiece& row : axisPieces(height_, topCap_, target.minY(), target.height())) {
        for (const AxisPiece& column :
             axisPieces(width_, leftCap_, target.minX(), target.width())) {
            if (row.sourceLength <= 0 || column.sourceLength <= 0 || row.destinationLength <= 0 ||
                column.destinationLength <= 0)
                continue;
            slices.push_back(
                {Rect(column.sourceStart, row.sourceStart, column.sourceLength, row.sourceLength),
                 Rect(column.destinationStart, row.destinationStart, column.destinationLength,
                      row.destinationLength)});
        }
    }
    return slices;
}

} // namespace graphics
