#pragma once

#include <juce_core/juce_core.h>

/** The MT19937 generator with the linear-congruential seeding
    x[i] = 69069 x[i-1] mod 2^32, which differs from std::mt19937's: the random tracks
    of a seed must be the same ones in every copy of the plug-in. */
class MersenneTwister
{
public:
    explicit MersenneTwister (juce::uint32 seed = 1234);

    /** Refills the state from seed; the next draw regenerates all 624 words. */
    void setSeed (juce::uint32 seed) noexcept;

    juce::uint32 next() noexcept;

    /** Uniform in 0..range-1 by rejection, so that no value is favoured. range > 0. */
    juce::uint32 nextBelow (juce::uint32 range) noexcept;

    static constexpr int stateSize = 624;

private:
    void regenerate() noexcept;

    juce::uint32 state[stateSize];
    int index = stateSize;
};
