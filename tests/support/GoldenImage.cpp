#include "tests/support/GoldenImage.h"

#include "platform/foundation/Data.h"
#include "platform/graphics/Image.h"

#include <cstdint>
#include <cstdlib>
#include <fmt/format.h>
#include <fstream>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace testing_support {

using graphics::Image;

namespace {

struct Difference {
    std::size_t count = 0;
    std::size_t first = 0; // index of the first differing pixel, row by row
};

bool sameSize(const Image& a, const Image& b) {
    return a.pixelWidth() == b.pixelWidth() && a.pixelHeight() == b.pixelHeight();
}

std::size_t pixelCount(const Image& image) {
    return std::size_t(image.pixelWidth()) * std::size_t(image.pixelHeight());
}

// Both images have the same size.
Difference compare(const Image& expected, const Image& actual) {
    Difference difference;
    for (std::size_t i = 0; i < pixelCount(expected); ++i)
        if (expected.pixels()[i] != actual.pixels()[i] && difference.count++ == 0)
            difference.first = i;
    return difference;
}

// Differing pixels in opaque red, the others as a light grey copy of the golden.
std::shared_ptr<Image> diffImage(const Image& expected, const Image& actual) {
    std::vector<std::uint32_t> pixels(pixelCount(expected));
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::uint32_t p = expected.pixels()[i];
        const std::uint32_t grey =
            0xc0 + (((p >> 16) & 0xff) + ((p >> 8) & 0xff) + (p & 0xff)) / 12;
        pixels[i] =
            p == actual.pixels()[i] ? 0xff000000u | grey << 16 | grey << 8 | grey : 0xffff0000u;
    }
    return Image::fromPixels(expected.pixelWidth(), expected.pixelHeight(), std::move(pixels));
}

std::string whatDiffers(const Image* expected, const Image& actual, const Difference& difference,
                        const std::filesystem::path& golden) {
    if (!expected)
        return fmt::format("no golden image at {} (make update-goldens writes it)",
                           golden.string());
    if (!sameSize(*expected, actual))
        return fmt::format("the golden is {}x{}, the image {}x{}", expected->pixelWidth(),
                           expected->pixelHeight(), actual.pixelWidth(), actual.pixelHeight());
    const auto width = std::size_t(actual.pixelWidth());
    return fmt::format(
        "{} pixel(s) differ from {}; the first at ({}, {}) is ARGB {:08x}, not {:08x}",
        difference.count, golden.string(), difference.first % width, difference.first / width,
        actual.pixels()[difference.first], expected->pixels()[difference.first]);
}

std::optional<std::string> writePNG(const Image& image, const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    const foundation::Data png = image.pngData();
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.bytes()), std::streamsize(png.size()));
    if (error || png.empty() || !out.flush())
        return error ? error.message() : std::string("cannot write the PNG");
    return std::nullopt;
}

} // namespace

GoldenImage GoldenImage::committed() {
    const char* update = std::getenv("UPDATE_GOLDENS");
    return GoldenImage(GOLDEN_DIRECTORY, GOLDEN_FAILURE_DIRECTORY,
                       update && std::string_view(update) == "1");
}

GoldenImage::GoldenImage(std::filesystem::path goldens, std::filesystem::path failures, bool update)
    : goldens_(std::move(goldens)), failures_(std::move(failures)), update_(update) {}

::testing::AssertionResult GoldenImage::matches(const Image& actual,
                                                const std::string& name) const {
    const auto golden = goldens_ / (name + ".png");
    const auto expected = Image::fromFile(golden.string());
    const bool same = expected && sameSize(*expected, actual);
    const Difference difference = same ? compare(*expected, actual) : Difference{};
    if (same && difference.count == 0) {
        std::filesystem::remove(failures_ / (name + ".actual.png"));
        std::filesystem::remove(failures_ / (name + ".diff.png"));
        return ::testing::AssertionSuccess();
    }
    if (update_)
        return rewrite(actual, golden);
    return ::testing::AssertionFailure()
           << name << ": " << whatDiffers(expected.get(), actual, difference, golden) << "; "
           << keepFailure(actual, same ? expected.get() : nullptr, name);
}

::testing::AssertionResult GoldenImage::rewrite(const Image& actual,
                                                const std::filesystem::path& golden) const {
    if (auto error = writePNG(actual, golden))
        return ::testing::AssertionFailure() << "cannot rewrite " << golden << ": " << *error;
    std::printf("rewrote %s\n", golden.c_str());
    return ::testing::AssertionSuccess();
}

std::string GoldenImage::keepFailure(const Image& actual, const Image* expected,
                                     const std::string& name) const {
    const auto actualPath = failures_ / (name + ".actual.png");
    const auto diff = expected ? diffImage(*expected, actual) : nullptr;
    const auto diffPath = failures_ / (name + ".diff.png");
    std::optional<std::string> error = writePNG(actual, actualPath);
    if (!error && diff)
        error = writePNG(*diff, diffPath);
    if (error)
        return "the actual image could not be kept: " + *error;
    return diff ? fmt::format("see {} and {}", actualPath.string(), diffPath.string())
                : "see " + actualPath.string();
}

} // namespace testing_support
