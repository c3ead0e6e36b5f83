#pragma once

#include "engine/Biquad.h"
#include "engine/EngineMath.h"

/** Two MetalShaper stages that always run together, one in each lane of a vector: the
    same arithmetic to a few ulps, each lane with its own constants and states.

    The accumulator is kept multiplied by the rate gain and the high-pass's b0 (a high-pass
    has b1 = -2 b0 and b2 = b0), so a sample needs no product for either; the clipper limits
    its input before the curve, which agrees with MetalShaper's limits to an ulp. The engine
    renders with denormals flushed, so the 1e-20 guards are left out. Voices step the
    state in their own loops, holding it in registers. */
class MetalShaperPair
{
public:
    using Pair = EngineMath::Pair;

    struct State
    {
        Pair input{}, previousInput{}; // the accumulator and the one before, times rate gain and b0
        Pair y1{}, y2{};               // the high-pass's outputs
        Pair clipped{};                // the clipper's last output
    };

    struct Constants
    {
        Pair leak{}, a1{}, a2{}, clipGain{};
        Pair quarticGain{}, linearGain{}, diodeGain{}; // the drive terms, times rate gain and b0

        // Numbers as vectors: the compiler reads them from here rather than building them a sample.
        Pair tenth{0.1, 0.1}, one{1.0, 1.0}, minusOne{-1.0, -1.0}, half{0.5, 0.5}, threeHalves{1.5, 1.5};
    };

    /** The lanes' high-pass coefficients and stage constants; the state is reset. */
    void prepare (const Biquad& first, const Biquad& second, Pair leak, Pair diodeScale, Pair clipGain, double rateGain) noexcept
    {
        const Pair gain = Pair{first.b0, second.b0} * rateGain;
        constants.leak = leak;
        constants.a1 = Pair{first.a1, second.a1};
        constants.a2 = Pair{first.a2, second.a2};
        constants.clipGain = clipGain;
        constants.quarticGain = gain * 0.01;
        constants.linearGain = gain * 0.05;
        constants.diodeGain = gain * diodeScale * 0.7;
        state = State{};
    }

    /** One sample from the diode quotients less 1 (MetalShaper::ratioOf - 1) and the drive
        levels; returns the high-passed signal and leaves the clipped one in state.clipped. */
    static Pair step (State& s, const Constants& c, Pair ratioLessOne, Pair drive) noexcept
    {
        // The accumulator's own term comes last: it alone waits for the previous sample.
        const Pair sum = (((drive * drive) * (drive * drive)) * c.quarticGain + drive * c.linearGain + ratioLessOne * drive * c.diodeGain) + c.leak * s.input;
        const Pair input = EngineMath::maxOf (sum, sum * c.tenth);
        const Pair y = (((input - s.input) - s.input) + s.previousInput) - c.a2 * s.y2 - c.a1 * s.y1;
        s.previousInput = s.input;
        s.input = input;
        s.y2 = s.y1;
        s.y1 = y;

        const Pair z = EngineMath::minOf (EngineMath::maxOf (y * c.clipGain, c.minusOne), c.one);
        s.clipped = z * (c.threeHalves - c.half * (z * z));
        return y;
    }

    /** The state with its first lane from a and its second from b. */
    static State firstLaneOf (const State& a, const State& b) noexcept
    {
        const auto merge = [] (Pair x, Pair y)
        { return Pair{x[0], y[1]}; };
        return State{merge (a.input, b.input), merge (a.previousInput, b.previousInput), merge (a.y1, b.y1), merge (a.y2, b.y2),
                     merge (a.clipped, b.clipped)};
    }

    /** step on the pair's own state. */
    Pair process (Pair ratioLessOne, Pair drive) noexcept { return step (state, constants, ratioLessOne, drive); }

    State state;
    Constants constants;
};
