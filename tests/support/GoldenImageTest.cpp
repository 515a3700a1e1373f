#include "tests/support/GoldenImage.h"
#include "platform/graphics/Image.h"
#include "tests/support/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <vector>

using graphics::Image;
using testing_support::GoldenImage;
namespace fs = std::filesystem;

namespace {

class GoldenImageTest : public ::testing::Test {
protected:
    void SetUp() override { folder = testing_support::ScratchDirectory::create("golden"); }
    void TearDown() override { fs::remove_all(folder); }
    GoldenImage golden(bool update = false) const {
        return GoldenImage(folder / "goldens", folder / "failures", update);
    }
    // 4 x 3, opaque blue, with the given pixels (row by row) set to an opaque green.
    static std::shared_ptr<Image> picture(const std::vector<std::size_t>& green = {}) {
        std::vector<std::uint32_t> pixels(12, 0xff0000ffu);
        for (auto index : green)
            pixels[index] = 0xff00ff00u;
        return Image::fromPixels(4, 3, std::move(pixels));
    }

    fs::path folder;
};

} // namespace

TEST_F(GoldenImageTest, MismatchNamesTheCountAndFirstPixelAndKeepsActualAndDiff) {
    ASSERT_TRUE(golden(true).matches(*picture(), "screen"));
    ASSERT_TRUE(fs::exists(folder / "goldens/screen.png"));

    const auto result = golden().matches(*picture({9, 6}), "screen");
    EXPECT_FALSE(result);
    EXPECT_NE(std::string(result.message()).find("2 pixel(s) differ"), std::string::npos)
        << result.message();
    EXPECT_NE(std::string(result.message()).find("first at (2, 1) is ARGB ff00ff00, not ff0000ff"),
              std::string::npos)
        << result.message();
    const auto actual = Image::fromFile((folder / "failures/screen.actual.png").string());
    ASSERT_TRUE(actual);
    EXPECT_EQ(actual->pixels()[6], 0xff00ff00u);
    const auto diff = Image::fromFile((folder / "failures/screen.diff.png").string());
    ASSERT_TRUE(diff);
    for (std::size_t i = 0; i < 12; ++i)
        EXPECT_EQ(diff->pixels()[i] == 0xffff0000u, i == 6 || i == 9) << "pixel " << i;

    EXPECT_TRUE(golden().matches(*picture(), "screen"));
    EXPECT_FALSE(fs::exists(folder / "failures/screen.actual.png")) << "stale failures go";
    EXPECT_FALSE(fs::exists(folder / "failures/screen.diff.png"));
}

TEST_F(GoldenImageTest, MissingOrResizedGoldenFailsUnlessUpdating) {
    const auto missing = golden().matches(*picture(), "new");
    EXPECT_FALSE(missing);
    EXPECT_NE(std::string(missing.message()).find("make update-goldens"), std::string::npos);
    EXPECT_TRUE(fs::exists(folder / "failures/new.actual.png"));

    ASSERT_TRUE(golden(true).matches(*picture(), "new"));
    const auto wider = Image::fromPixels(5, 3, std::vector<std::uint32_t>(15, 0xff0000ffu));
    const auto resized = golden().matches(*wider, "new");
    EXPECT_FALSE(resized);
    EXPECT_NE(std::string(resized.message()).find("the golden is 4x3, the image 5x3"),
              std::string::npos)
        << resized.message();
    EXPECT_TRUE(golden(true).matches(*wider, "new"));
    EXPECT_TRUE(golden().matches(*wider, "new"));
}
