#pragma once

#include "engine/Biquad.h"
#include "engine/EngineMath.h"

/** Two MetalShaper stages that always run together, one in each lane of a vector: the
    same arithmetic, each lane with its own constants and states. The clipper limits its
    input before the curve, which agrees with MetalShaper's limits to an ulp. */
class MetalShaperPair
{
public:
    using Pair = EngineMath::Pair;

    /** The lanes' high-pass coefficients and stage constants; the states are reset. */
    void prepare (const Biquad& first, const Biquad& second, Pair leakToUse, Pair diodeScaleToUse, Pair clipGainToUse, Pair guardToUse,
                  double rateGainToUse) noexcept
    {
        b0 = Pair{first.b0, second.b0};
        b1 = Pair{first.b1, second.b1};
        b2 = Pair{first.b2, second.b2};
        a1 = Pair{first.a1, second.a1};
        a2 = Pair{first.a2, second.a2};
        leak = leakToUse;
        diodeScale = diodeScaleToUse;
        clipGain = clipGainToUse;
        guard = guardToUse;
        rateGain = rateGainToUse;
        accumulator = x1 = x2 = y1 = y2 = highPassed = clipped = Pair{0.0, 0.0};
    }

    /** MetalShaper::processRatio in both lanes. */
    void process (Pair ratio, Pair level) noexcept
    {
        const Pair t = (ratio - 1.0) * level * diodeScale;
        const Pair sum = (level * level * level * 0.01 + 0.05) * level + leak * accumulator + t * 0.7 + guard;
        accumulator = EngineMath::maxOf (sum, sum * 0.1);

        const Pair x = rateGain * accumulator;
        const Pair y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2 + 1e-20;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        highPassed = y;

        const Pair z = EngineMath::minOf (EngineMath::maxOf (y * clipGain + 1e-20, Pair{-1.0, -1.0}), Pair{1.0, 1.0});
        clipped = (z - z * z * z * (1.0 / 3.0)) * 1.5;
    }

    Pair highPassed{}, clipped{};

private:
    Pair accumulator{}, x1{}, x2{}, y1{}, y2{};
    Pair b0{}, b1{}, b2{}, a1{}, a2{};
    Pair leak{}, diodeScale{}, clipGain{}, guard{};
    double rateGain = 0.0;
};
