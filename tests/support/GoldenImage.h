#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace graphics {
class Image;
}

namespace testing_support {

// Compares a rendered image with a committed PNG, pixel for pixel. On a mismatch the actual
// image and a diff (differing pixels red, the rest a faint grey copy) are written to the
// failure folder. In update mode a golden that differs, or is missing, is rewritten instead
// and the comparison passes.
class GoldenImage {
public:
    // The goldens under tests/goldens, failures under the build tree's golden-failures; update
    // mode when the environment has UPDATE_GOLDENS=1, as `make update-goldens` runs the tests.
    static GoldenImage committed();
    GoldenImage(std::filesystem::path goldens, std::filesystem::path failures, bool update);

    // Compares with <goldens>/<name>.png.
    ::testing::AssertionResult matches(const graphics::Image& actual,
                                       const std::string& name) const;

private:
    ::testing::AssertionResult rewrite(const graphics::Image& actual,
                                       const std::filesystem::path& golden) const;
    // Writes the actual image, and the diff when there is a golden of the same size.
    std::string keepFailure(const graphics::Image& actual, const graphics::Image* expected,
                            const std::string& name) const;

    std::filesystem::path goldens_;
    std::filesystem::path failures_;
    bool update_;
};

} // namespace testing_support
