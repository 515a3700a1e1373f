#include "SoundRecipes.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace resources {

namespace {

constexpr double kTwoPi = 2 * M_PI;

// Exponential glide, so the pitch moves evenly in musical terms.
double glide(double from, double to, double progress) {
    return from * std::pow(to / from, progress);
}

// Short linear ramps at both ends keep the speaker from clicking.
double fades(double t, double duration, double fadeIn, double fadeOut) {
    return std::clamp(std::min(t / fadeIn, (duration - t) / fadeOut), 0.0, 1.0);
}

// Runs an oscillator whose frequency may change every sample; `wave` maps the accumulated
// phase and the current frequency to a sample in about [-1, 1].
std::vector<double> render(double duration, const std::function<double(double t)>& frequency,
                           const std::function<double(double phase, double hz)>& wave,
                           const std::function<double(double t)>& envelope) {
    const auto count = std::size_t(duration * kSoundSampleRate);
    std::vector<double> out(count);
    double phase = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const double t = double(i) / kSoundSampleRate;
        const double hz = frequency(t);
        out[i] = wave(phase, hz) * envelope(t);
        phase = std::fmod(phase + kTwoPi * hz / kSoundSampleRate, kTwoPi);
    }
    return out;
}

std::vector<std::int16_t> toPCM(const std::vector<double>& signal, double peak) {
    double loudest = 0;
    for (double v : signal)
        loudest = std::max(loudest, std::abs(v));
    const double scale = loudest > 0 ? peak * 32767 / loudest : 0;
    std::vector<std::int16_t> pcm(signal.size());
    std::transform(signal.begin(), signal.end(), pcm.begin(),
                   [scale](double v) { return std::int16_t(std::lround(v * scale)); });
    return pcm;
}

} // namespace

std::vector<std::int16_t> synthesizeWhoop() {
    constexpr double kDuration = 0.45;
    auto frequency = [](double t) {
        return glide(880, 220, t / kDuration) * (1 + 0.03 * std::sin(kTwoPi * 7 * t));
    };
    auto voice = [](double phase, double) {
        return std::sin(phase) + 0.35 * std::sin(2 * phase) + 0.15 * std::sin(3 * phase);
    };
    auto envelope = [](double t) {
        return fades(t, kDuration, 0.015, 0.08) * (1 - 0.4 * t / kDuration);
    };
    return toPCM(render(kDuration, frequency, voice, envelope), 0.7);
}

std::vector<std::int16_t> synthesizeZeee() {
    constexpr double kDuration = 0.5;
    auto frequency = [](double t) { return glide(220, 660, t / kDuration); };
    // Summing harmonics below Nyquist avoids the aliasing a naive ramp would have.
    auto sawtooth = [](double phase, double hz) {
        double sum = 0;
        for (int k = 1; k * hz < 0.45 * kSoundSampleRate; ++k)
            sum += std::sin(k * phase) / k;
        return sum;
    };
    auto envelope = [](double t) {
        return fades(t, kDuration, 0.01, 0.05) * (0.8 + 0.2 * std::sin(kTwoPi * 32 * t));
    };
    return toPCM(render(kDuration, frequency, sawtooth, envelope), 0.6);
}

} // namespace resources
