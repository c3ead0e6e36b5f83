#pragma once

/** One-pole high-pass y = (x - previous) * gain + pole * y, with the 1e-20 guard. */
class OnePoleHighPass
{
public:
    /** Pole exp(-2 pi f / rate), gain (pole + 1) / 2. */
    void setCutoff (double frequency, double rate) noexcept;

    void reset() noexcept { y = previous = 0.0; }

    double process (double x) noexcept
    {
        y = (x - previous) * gain + pole * y + 1e-20;
        previous = x;
        return y;
    }

    double y = 0.0, previous = 0.0, pole = 0.0, gain = 0.0;
};
