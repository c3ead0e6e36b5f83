#pragma once

#include "engine/Biquad.h"
#include "engine/EngineMath.h"

#include <cmath>

/** The transistor-like stage the cymbal and hi-hats share: a diode term driven by an
    envelope level, a leaky accumulator, a high-pass biquad and a soft clipper. */
class MetalShaper
{
public:
    void reset() noexcept
    {
        accumulator = 0.0;
        highPass.reset();
    }

    /** Runs one sample; afterwards highPassed and clipped hold the stage's two outputs.
        guarded adds the 1e-20 terms to the diode's exponent and the accumulator. */
    template <bool guarded>
    void process (double x, double level, double leak, double diodeScale, double clipGain, double rateGain) noexcept
    {
        // A silent drive level zeroes the diode term whatever the exponential gives: skip it.
        double t = 0.0;
        if (level != 0.0)
        {
            const double u = x * 300.0;
            t = (diodeRatio (u, guarded ? 1e-20 : 0.0) - 1.0) * level * diodeScale;
        }

        // Selects rather than branches: the signal crosses these limits at random, and
        // mispredicted branches cost more than computing both sides. For a negative sum,
        // sum * 0.1 is the larger.
        const double sum = (level * level * level * 0.01 + 0.05) * level + leak * accumulator + t * 0.7 + (guarded ? 1e-20 : 0.0);
        accumulator = EngineMath::atLeast (sum, sum * 0.1);

        highPassed = highPass.process (rateGain * accumulator);

        const double z = highPassed * clipGain + 1e-20;
        const double curve = (z - z * z * z * (1.0 / 3.0)) * 1.5;
        clipped = EngineMath::selectIfLess (z, -1.0, -1.0, EngineMath::selectIfLess (1.0, z, 1.0, curve));
    }

    /** u / (e^u - 1), taking its limit 1 - u/2 near 0 where the quotient would be 0/0
        or lose every digit to cancellation. */
    static double diodeRatio (double u, double guard) noexcept
    {
        if (std::abs (u) < 1e-7)
            return 1.0 - 0.5 * u;
        return u / (EngineMath::exponential (u + guard) - 1.0);
    }

    double accumulator = 0.0;
    Biquad highPass;
    double highPassed = 0.0, clipped = 0.0;
};
