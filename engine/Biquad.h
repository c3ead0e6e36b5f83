#pragma once

/** Audio-EQ-cookbook biquad in direct form I, with the engine's 1e-20 denormal guard. */
class Biquad
{
public:
    /** Band-pass with constant 0 dB peak gain; w is the centre in radians per sample. */
    void setBandPass (double w, double alpha) noexcept;

    /** Angle and alpha for a band-pass given in octaves, as alpha = sin(w) * sinh(bandwidthTerm * w / sin(w)). */
    void setBandPassBandwidth (double w, double bandwidthTerm) noexcept;

    /** High-pass; alpha = sin(w) / (2 Q) with the clamped angle. */
    void setHighPass (double w, double alphaPerSine) noexcept;

    /** Band-pass with alpha = sin(w) * alphaPerSine. */
    void setBandPassQ (double w, double alphaPerSine) noexcept;

    void reset() noexcept { x1 = x2 = y1 = y2 = 0.0; }

    double process (double x) noexcept
    {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2 + 1e-20;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }

    /** Keeps a centre frequency below Nyquist at low rates, where the angle would
        otherwise wrap past pi and make the filter unstable. */
    static double limitAngle (double w) noexcept;

    double b0 = 0.0, b1 = 0.0, b2 = 0.0, a1 = 0.0, a2 = 0.0;
    double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
};
