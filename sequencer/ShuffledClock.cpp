#include "sequencer/ShuffledClock.h"

#include <cmath>

ShuffledClock::ShuffledClock (const juce::String& clockName)
    : Clock (clockName)
{
}

void ShuffledClock::setShuffle (double fraction)
{
    // Beyond 0.8 the second step would no longer fit before the end of its pair.
    if (std::isnan (fraction))
        return;

    fraction = juce::jlimit (0.0, 0.8, fraction);

    if (fraction != shuffle)
    {
        shuffle = fraction;
        dirty = true;
    }
}

bool ShuffledClock::isInFirstPart() const noexcept
{
    return phase == 0 || phase == 2;
}

bool ShuffledClock::isInSecondPart() const noexcept
{
    return phase == 1 || phase == 3;
}

bool ShuffledClock::isNearerStepStart() const noexcept
{
    const double step = 1.0 / stepsPerBeat;
    const double pair = 2.0 * step;
    const double start = std::floor (position / pair) * pair;
    const double end = start + pair;
    const double middle = (end - step) + step * shuffle;

    if (position >= middle)
        return position - middle < end - position;

    return position - start < middle - position;
}

void ShuffledClock::takePhaseFromPosition() noexcept
{
    const double step = 1.0 / stepsPerBeat;
    const double pair = 2.0 * step;

    // A pair starts here: the clock stood in the previous pair's second off part.
    if (snapTo (std::round (position / pair) * pair))
    {
        phase = 3;
        return;
    }

    const double s = std::floor (position / pair) * pair;
    const double m = (s + step) + step * shuffle;

    // The late step starts here.
    if (snapTo (m))
    {
        phase = 1;
        return;
    }

    if (position < m)
        phase = position <= s + (m - s) * gate ? 0 : 1;
    else
        phase = position <= m + (s + pair - m) * gate ? 2 : 3;
}

void ShuffledClock::computeNextEvent()
{
    const double spb = samplesPerBeat;
    const double step = 1.0 / stepsPerBeat;
    const double pair = 2.0 * step;
    const double p = position;

    if (p < 0.0)
    {
        phase = -1;
        counter = -1;
        nextPhase = 0;
        return;
    }

    if (phase == -1)
    {
        nextPhase = 0;
        counter = 0;
        return;
    }

    const double e = std::ceil (p / pair) * pair;
    const double s = e - pair;
    const double m = (e - step) + step * shuffle;
    const double g1 = (m - s) * gate;
    const double g1End = s + g1;
    const double g2End = m + (e - m) * gate;

    nextPhase = (phase + 1) % 4;

    // The same event for a phase in every region unless the region says otherwise.
    switch (phase)
    {
        case 0:
            if (p > m && p > g2End)
                counter = p <= e - 0.005 * step ? 0 : samplesUntil (e + g1 - p, spb);
            else if (p > g1End)
                counter = 0;
            else
                counter = samplesUntil (g1End - p, spb);
            break;

        case 1:
            counter = p > m ? 0 : samplesUntil (m - p, spb);
            break;

        case 2:
            counter = (p > m && p > g2End) ? 0 : samplesUntil (g2End - p, spb);
            break;

        default:
            if (p <= g1End && p <= s + 0.005 * step)
                counter = 0;
            else
                counter = samplesUntil (e - p, spb);
            break;
    }
}
