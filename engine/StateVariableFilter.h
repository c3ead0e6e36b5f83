#pragma once

#include "engine/EngineMath.h"

#include <cmath>

/** Chamberlin state-variable filter step with the 1e-20 guard on every state. Value is double, or
    EngineMath::Pair for two filters stepped together in the lanes of a vector. */
template <typename Value>
class BasicStateVariableFilter
{
public:
    void reset() noexcept { lp = hp = bp = Value{}; }

    /** One step with frequency factor f and damping q; bp on the right is the previous value.
        Each state still gets its guard, added where it stays off the path from one bp to the next
        (9 steps of latency shorter) rather than after each sum: the states differ from guarding
        the sums by at most the rounding of their last bit, and by about 1e-20 where they are that
        small. */
    void process (Value x, Value f, Value q) noexcept
    {
        lp = bp * f + (lp + 1e-20);
        hp = ((x + 2e-20) - bp * q) - lp;
        bp = hp * f + (bp + 1e-20);
    }

    /** f = 2 sin(pi frequency / rate), kept below rate / 6 where the filter stays
        stable for any damping, should a very low rate push a pitch that high. */
    static double frequencyFactor (double frequency, double rate) noexcept
    {
        const double limit = rate * (1.0 / 6.0);
        return 2.0 * std::sin (3.141592653589793 * (frequency < limit ? frequency : limit) / rate);
    }

    /** The same for a frequency that moves every sample, with pi / rate and rate / 6 taken
        beforehand; the angle is then at most pi / 6. */
    static double movingFrequencyFactor (double frequency, double sixthOfRate, double piOverRate) noexcept
    {
        return 2.0 * EngineMath::sineOfSmallAngle (EngineMath::atMost (frequency, sixthOfRate) * piOverRate);
    }

    /** movingFrequencyFactor, lane by lane. */
    static EngineMath::Pair movingFrequencyFactor (EngineMath::Pair frequency, double sixthOfRate, double piOverRate) noexcept
    {
        return 2.0 * EngineMath::sineOfSmallAngle (EngineMath::minOf (frequency, EngineMath::Pair{sixthOfRate, sixthOfRate}) * piOverRate);
    }

    Value lp{}, hp{}, bp{};
};

using StateVariableFilter = BasicStateVariableFilter<double>;
using StateVariableFilterPair = BasicStateVariableFilter<EngineMath::Pair>;
