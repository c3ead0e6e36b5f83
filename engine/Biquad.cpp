#include "engine/Biquad.h"

#include <cmath>

namespace
{
// 0.45 of the rate: the highest centre any voice asks for at 22050 Hz is 9200 Hz (0.417).
constexpr double maximumAngle = 3.141592653589793 * 0.9;
} // namespace

double Biquad::limitAngle (double w) noexcept
{
    return w < maximumAngle ? w : maximumAngle;
}

void Biquad::setBandPass (double w, double alpha) noexcept
{
    const double norm = 1.0 + alpha;
    b0 = alpha / norm;
    b1 = 0.0;
    b2 = -alpha / norm;
    a1 = -2.0 * std::cos (w) / norm;
    a2 = (1.0 - alpha) / norm;
}

void Biquad::setBandPassQ (double w, double alphaPerSine) noexcept
{
    w = limitAngle (w);
    setBandPass (w, std::sin (w) * alphaPerSine);
}

void Biquad::setBandPassBandwidth (double w, double bandwidthTerm) noexcept
{
    w = limitAngle (w);
    const double s = std::sin (w);
    setBandPass (w, s * std::sinh (bandwidthTerm * w / s));
}

void Biquad::setHighPass (double w, double alphaPerSine) noexcept
{
    w = limitAngle (w);
    const double alpha = std::sin (w) * alphaPerSine;
    const double c = std::cos (w);
    const double norm = 1.0 + alpha;
    b0 = (1.0 + c) * 0.5 / norm;
    b1 = -(1.0 + c) / norm;
    b2 = b0;
    a1 = -2.0 * c / norm;
    a2 = (1.0 - alpha) / norm;
}
