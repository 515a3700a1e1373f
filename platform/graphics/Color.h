#pragma once

namespace graphics {

// An RGBA colour. Components are kept exactly as given, even above 1.0 or below 0: the
// platform saturates them only when drawing, and code compares the stored values.
class Color {
public:
    constexpr Color() = default;
    constexpr Color(float red, float green, float blue, float alpha)
        : red_(red), green_(green), blue_(blue), alpha_(alpha) {}
    static constexpr Color colorWithWhite(float white, float alpha) {
        return {white, white, white, alpha};
    }

    static constexpr Color clearColor() { return {0, 0, 0, 0}; }
    static constexpr Color blackColor() { return {0, 0, 0, 1}; }
    static constexpr Color whiteColor() { return {1, 1, 1, 1}; }
    static constexpr Color darkGrayColor() { return colorWithWhite(1.0f / 3, 1); }
    static constexpr Color grayColor() { return colorWithWhite(0.5f, 1); }
    static constexpr Color lightGrayColor() { return colorWithWhite(2.0f / 3, 1); }
    static constexpr Color redColor() { return {1, 0, 0, 1}; }
    static constexpr Color greenColor() { return {0, 1, 0, 1}; }
    static constexpr Color blueColor() { return {0, 0, 1, 1}; }
    static constexpr Color cyanColor() { return {0, 1, 1, 1}; }
    static constexpr Color yellowColor() { return {1, 1, 0, 1}; }
    static constexpr Color magentaColor() { return {1, 0, 1, 1}; }
    static constexpr Color orangeColor() { return {1, 0.5f, 0, 1}; }
    static constexpr Color purpleColor() { return {0.5f, 0, 0.5f, 1}; }
    static constexpr Color brownColor() { return {0.6f, 0.4f, 0.2f, 1}; }

    constexpr float red() const { return red_; }
    constexpr float green() const { return green_; }
    constexpr float blue() const { return blue_; }
    constexpr float alpha() const { return alpha_; }

    constexpr Color withAlpha(float alpha) const { return {red_, green_, blue_, alpha}; }
    // The colour as drawn: every component saturated into [0, 1].
    Color clamped() const;

    constexpr bool operator==(const Color&) const = default;

private:
    float red_ = 0;
    float green_ = 0;
    float blue_ = 0;
    float alpha_ = 0;
};

} // namespace graphics
