#include "platform/graphics/Image.h"
#include "platform/foundation/Data.h"
#include "tests/support/SandboxHome.h"

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

using foundation::Data;
using namespace graphics;
using testing_support::SandboxHome;

namespace {

// RGBA bytes: a red left half and a blue right half, opaque.
std::vector<std::uint8_t> halvesRGBA(int width, int height) {
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            bool left = x < width / 2;
            rgba.insert(rgba.end(),
                        {std::uint8_t(left ? 255 : 0), 0, std::uint8_t(left ? 0 : 255), 255});
        }
    return rgba;
}

void appendBytes(void* context, void* bytes, int size) {
    static_cast<Data*>(context)->append(bytes, std::size_t(size));
}

Data encodePNG(int width, int height) {
    Data png;
    stbi_write_png_to_func(appendBytes, &png, width, height, 4, halvesRGBA(width, height).data(),
                           width * 4);
    return png;
}

Data encodeJPEG(int width, int height) {
    Data jpeg;
    stbi_write_jpg_to_func(appendBytes, &jpeg, width, height, 4, halvesRGBA(width, height).data(),
                           95);
    return jpeg;
}

// A GIF whose LZW stream restarts before every pixel, so every code stays 3 bits wide.
Data encodeGIF(int width, int height, const std::vector<std::uint8_t>& indices) {
    Data gif = Data::fromString("GIF89a");
    auto put = [&](std::initializer_list<int> bytes) {
        for (int byte : bytes) {
            std::uint8_t b = std::uint8_t(byte);
            gif.append(&b, 1);
        }
    };
    auto u16 = [&](int v) { put({v & 0xff, v >> 8}); };
    u16(width);
    u16(height);
    put({0x81, 0, 0});                                     // four-colour global table
    put({255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255}); // red, green, blue, white
    put({0x2c});
    u16(0);
    u16(0);
    u16(width);
    u16(height);
    put({0, 2}); // no local table; LZW minimum code size 2 (clear 4, end 5)
    std::vector<std::uint8_t> packed;
    unsigned bits = 0, count = 0;
    auto emit = [&](unsigned code) {
        bits |= code << count;
        for (count += 3; count >= 8; count -= 8, bits >>= 8)
            packed.push_back(std::uint8_t(bits & 0xff));
    };
    for (std::uint8_t index : indices) {
        emit(4);
        emit(index);
    }
    emit(5);
    if (count > 0)
        packed.push_back(std::uint8_t(bits));
    for (std::size_t at = 0; at < packed.size(); at += 255) {
        std::size_t length = std::min<std::size_t>(255, packed.size() - at);
        put({int(length)});
        gif.append(packed.data() + at, length);
    }
    put({0, 0x3b});
    return gif;
}

void expectColor(const Color& actual, const Color& expected, float tolerance = 0.02f) {
    EXPECT_NEAR(actual.red(), expected.red(), tolerance);
    EXPECT_NEAR(actual.green(), expected.green(), tolerance);
    EXPECT_NEAR(actual.blue(), expected.blue(), tolerance);
    EXPECT_NEAR(actual.alpha(), expected.alpha(), tolerance);
}

Data truncated(const Data& data, std::size_t keep) { return Data(data.bytes(), keep); }

} // namespace

TEST(ImageDecoding, DecodesPNGJPEGAndGIFUpright) {
    auto png = Image::fromData(encodePNG(8, 4));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->size(), (Size{8, 4}));
    expectColor(png->colorAt(0, 0), Color::redColor());
    expectColor(png->colorAt(7, 3), Color::blueColor());

    auto jpeg = Image::fromData(encodeJPEG(16, 8));
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->size(), (Size{16, 8}));
    expectColor(jpeg->colorAt(1, 1), Color::redColor(), 0.1f);
    expectColor(jpeg->colorAt(14, 6), Color::blueColor(), 0.1f);

    auto gif = Image::fromData(encodeGIF(2, 2, {0, 1, 2, 3}));
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->size(), (Size{2, 2}));
    expectColor(gif->colorAt(0, 0), Color::redColor());
    expectColor(gif->colorAt(1, 0), Color::greenColor());
    expectColor(gif->colorAt(0, 1), Color::blueColor());
    expectColor(gif->colorAt(1, 1), Color::whiteColor());
}

TEST(ImageDecoding, DamagedOrForeignInputGivesNull) {
    Data png = encodePNG(64, 64);
    Data jpeg = encodeJPEG(64, 64);
    Data gif = encodeGIF(2, 2, {0, 1, 2, 3});
    EXPECT_FALSE(Image::fromData(Data()));
    EXPECT_FALSE(Image::fromData(Data::fromString("<html>not an image</html>")));
    EXPECT_FALSE(Image::fromData(truncated(png, png.size() / 2)));
    EXPECT_FALSE(Image::fromData(truncated(png, 20)));
    EXPECT_FALSE(Image::fromData(truncated(jpeg, 100)));
    EXPECT_FALSE(Image::fromData(truncated(jpeg, jpeg.size() / 2)));
    EXPECT_FALSE(Image::fromData(truncated(gif, gif.size() - 4)));
    EXPECT_FALSE(Image::fromData(truncated(gif, 20)));
    // A signature followed by noise.
    Data noise = truncated(png, 8);
    for (int i = 0; i < 200; ++i) {
        std::uint8_t byte = std::uint8_t(i * 37 + 11);
        noise.append(&byte, 1);
    }
    EXPECT_FALSE(Image::fromData(noise));
    // Formats the decoder knows but the phone's image loader is not asked for here.
    Data bmp = Data::fromString("BM");
    bmp.append(png.bytes() + 2, png.size() - 2);
    EXPECT_FALSE(Image::fromData(bmp));
}

TEST(ImageDecoding, RefusesHeadersThatClaimHugeDimensions) {
    // PNG: the IHDR width sits at bytes 16..19, big-endian.
    std::vector<std::uint8_t> png = encodePNG(4, 4).vector();
    png[16] = 0, png[17] = 0x01, png[18] = 0x86, png[19] = 0xa0; // 100000
    EXPECT_FALSE(Image::fromData(Data(png)));
    // GIF: a 5000 × 2 image descriptor and screen.
    std::vector<std::uint8_t> gif = encodeGIF(2, 2, {0, 1, 2, 3}).vector();
    gif[6] = 0x88, gif[7] = 0x13;
    gif[26] = 0x88, gif[27] = 0x13;
    EXPECT_FALSE(Image::fromData(Data(gif)));
    EXPECT_TRUE(Image::fromData(encodePNG(Image::maxDimension, 1)));
}

TEST(ImageDecoding, LoadsFilesAndMissingFilesGiveNull) {
    auto path = std::filesystem::temp_directory_path() / "graphics_tests_image.png";
    Data png = encodePNG(6, 2);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.bytes()), std::streamsize(png.size()));
    auto image = Image::fromFile(path.string());
    std::filesystem::remove(path);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), (Size{6, 2}));
    EXPECT_FALSE(Image::fromFile(path.string()));
}

using ImageFiles = SandboxHome;

TEST_F(ImageFiles, AFIFOOrFolderIsNoImageAndReadingDoesNotWait) {
    makeFIFO("Documents/pipe.png");
    EXPECT_FALSE(Image::fromFile(path("Documents/pipe.png")));
    EXPECT_FALSE(Image::fromFile(path("Documents")));
}

TEST(ImageEncoding, PNGRoundTripKeepsPixelsIncludingTranslucentOnes) {
    std::vector<std::uint32_t> pixels = {0xffff0000, 0x80400000, 0x00000000, 0xff00ff00};
    auto image = Image::fromPixels(2, 2, pixels);
    ASSERT_TRUE(image);
    auto decoded = Image::fromData(image->pngData());
    ASSERT_TRUE(decoded);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            expectColor(decoded->colorAt(x, y), image->colorAt(x, y), 0.01f);
    expectColor(image->colorAt(1, 0), Color(0.5f, 0, 0, 0.5f));
    EXPECT_FALSE(Image::fromPixels(3, 2, pixels));
}

TEST(StretchableImage, CapsKeepTheirSizeAndOneColumnStretches) {
    auto image = Image::fromPixels(25, 10, std::vector<std::uint32_t>(250, 0xff000000));
    auto button = image->stretchableImage(12, 0);
    EXPECT_TRUE(button->isStretchable());
    EXPECT_FALSE(image->isStretchable());
    EXPECT_EQ(button->size(), image->size());
    EXPECT_EQ(button->slicesForDrawing(Rect(5, 0, 100, 30)),
              (std::vector<ImageSlice>{{Rect(0, 0, 12, 10), Rect(5, 0, 12, 30)},
                                       {Rect(12, 0, 1, 10), Rect(17, 0, 76, 30)},
                                       {Rect(13, 0, 12, 10), Rect(93, 0, 12, 30)}}));
    // Both axes: nine pieces, the corners unscaled.
    auto panel = image->stretchableImage(4, 3);
    auto slices = panel->slicesForDrawing(Rect(0, 0, 60, 40));
    ASSERT_EQ(slices.size(), 9u);
    EXPECT_EQ(slices[8], (ImageSlice{Rect(5, 4, 20, 6), Rect(40, 34, 20, 6)}));
    // Narrower than both caps: the caps share the width in proportion, nothing stretches.
    EXPECT_EQ(button->slicesForDrawing(Rect(0, 0, 12, 10)),
              (std::vector<ImageSlice>{{Rect(0, 0, 12, 10), Rect(0, 0, 6, 10)},
                                       {Rect(13, 0, 12, 10), Rect(6, 0, 6, 10)}}));
}
