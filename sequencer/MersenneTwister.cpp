#include "sequencer/MersenneTwister.h"

namespace
{
constexpr int shift = 397;
constexpr juce::uint32 matrixA = 0x9908b0dfu;
constexpr juce::uint32 upperMask = 0x80000000u;
constexpr juce::uint32 lowerMask = 0x7fffffffu;
} // namespace

MersenneTwister::MersenneTwister (juce::uint32 seed)
{
    setSeed (seed);
}

void MersenneTwister::setSeed (juce::uint32 seed) noexcept
{
    state[0] = seed;

    for (int i = 1; i < stateSize; ++i)
        state[i] = 69069u * state[i - 1];

    index = stateSize;
}

void MersenneTwister::regenerate() noexcept
{
    for (int i = 0; i < stateSize; ++i)
    {
        const auto y = (state[i] & upperMask) | (state[(i + 1) % stateSize] & lowerMask);
        state[i] = state[(i + shift) % stateSize] ^ (y >> 1) ^ ((y & 1u) != 0 ? matrixA : 0u);
    }

    index = 0;
}

juce::uint32 MersenneTwister::next() noexcept
{
    if (index >= stateSize)
        regenerate();

    auto y = state[index++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9d2c5680u;
    y ^= (y << 15) & 0xefc60000u;
    y ^= y >> 18;
    return y;
}

juce::uint32 MersenneTwister::nextBelow (juce::uint32 range) noexcept
{
    // Values at or above the last whole multiple of range are drawn again.
    const juce::uint32 limit = 0xffffffffu - (0xffffffffu % range);

    for (;;)
    {
        const auto value = next();

        if (value < limit)
            return value % range;
    }
}
