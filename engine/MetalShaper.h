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
        processRatio<guarded> (ratioOf<guarded> (x), level, leak, diodeScale, clipGain, rateGain);
    }

    /** The diode's quotient for metal input x. It depends on the input alone, so the engine
        takes it for a block of samples at once, apart from the recursions that use it. */
    template <bool guarded>
    static double ratioOf (double x) noexcept
    {
        return diodeRatio (x * 300.0, guarded ? 1e-20 : 0.0);
    }

    /** ratioOf<true> for two inputs at once. Near 0, where the quotient's lane may hold 0/0,
        the limit is selected instead. */
    static EngineMath::Pair guardedRatiosOf (EngineMath::Pair x) noexcept
    {
        const EngineMath::Pair u = x * 300.0;
        const EngineMath::Pair quotient = u / (EngineMath::exponential (u + 1e-20) - 1.0);
        return (u < 1e-7 && u > -1e-7) ? 1.0 - 0.5 * u : quotient;
    }

    /** process, given the diode's quotient for the sample's input. */
    template <bool guarded>
    void processRatio (double ratio, double level, double leak, double diodeScale, double clipGain, double rateGain) noexcept
    {
        const double t = (ratio - 1.0) * level * diodeScale;

        // Selects rather than branches: the signal crosses these limits at random, and
        // mispredicted branches cost more than computing both sides. For a negative sum,
        // sum * 0.1 is the larger.
        const double sum = (level * level * level * 0.01 + 0.05) * level + leak * accumulator + t * 0.7 + (guarded ? 1e-20 : 0.0);
        accumulator = EngineMath::atLeast (sum, sum * 0.1);

        highPassed = highPass.process (rateGain * accumulator);

        // The curve of the input limited to +-1: past the limits it gives +-1 to an ulp.
        const double z = EngineMath::atMost (EngineMath::atLeast (highPassed * clipGain + 1e-20, -1.0), 1.0);
        clipped = (z - z * z * z * (1.0 / 3.0)) * 1.5;
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
