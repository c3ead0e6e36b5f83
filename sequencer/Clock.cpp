#include "sequencer/Clock.h"

#include <cmath>
#include <limits>

namespace
{
bool isPositiveFinite (double x) noexcept
{
    return std::isfinite (x) && x > 0.0;
}
} // namespace

Clock::Clock (const juce::String& clockName)
    : name (clockName)
{
}

Clock::~Clock()
{
    cancelPendingUpdate();
}

void Clock::setPosition (double beats)
{
    if (std::isfinite (beats) && beats != position)
    {
        // Smaller moves are the host's rounding against the clock's own count; the phase
        // then stays, and the rules near step boundaries keep a step from sounding twice.
        if (phase != -1 && std::abs (beats - position) > 0.005 / stepsPerBeat)
            jumped = true;

        position = beats;
        dirty = true;
    }
}

void Clock::setSampleRate (double rate)
{
    if (isPositiveFinite (rate) && rate != sampleRate)
    {
        sampleRate = rate;
        dirty = true;
    }
}

void Clock::setTempo (double bpm)
{
    if (isPositiveFinite (bpm) && bpm != tempo)
    {
        tempo = bpm;
        dirty = true;
    }
}

void Clock::setStepsPerBeat (double steps)
{
    if (isPositiveFinite (steps) && steps != stepsPerBeat)
    {
        stepsPerBeat = steps;
        dirty = true;
    }
}

void Clock::setGate (double fraction)
{
    if (!std::isfinite (fraction))
        return;

    fraction = juce::jlimit (0.0, 1.0, fraction);

    if (fraction != gate)
    {
        gate = fraction;
        dirty = true;
    }
}

void Clock::start()
{
    if (running)
        return;

    dirty = true;
    position = 0.0;
    phase = -1;
    running = true;
    notifyStateChanged();
}

void Clock::stop()
{
    if (!running)
        return;

    dirty = true;
    position = 0.0;
    phase = -1;
    running = false;
    notifyStateChanged();
}

void Clock::restart()
{
    dirty = true;
    position = 0.0;
    phase = -1;
    running = true;
    notifyStateChanged();
}

void Clock::notifyStateChanged()
{
    stateChangedPending.store (1);
    triggerAsyncUpdate();
}

int Clock::samplesUntil (double beats, double spb) noexcept
{
    // Rounded up: an event falls on the first sample at or after its exact position.
    // Held below INT_MAX so that an absurd host tempo cannot overflow the counter.
    return (int) juce::jmin (std::ceil (beats * spb), (double) std::numeric_limits<int>::max() - 1.0);
}

bool Clock::processSample()
{
    // Without a tempo there is no step length: the clock waits rather than divide by 0.
    if (!running || tempo <= 0.0)
        return false;

    if (dirty)
    {
        dirty = false;
        samplesPerBeat = sampleRate * 60.0 / tempo;
        beatsPerSample = 1.0 / samplesPerBeat;

        if (jumped && phase != -1 && position >= 0.0)
            takePhaseFromPosition();

        jumped = false;
        computeNextEvent();
    }

    tick = false;
    bool result = false;

    if (counter == 0 && (phase == -1 || phase != nextPhase))
    {
        restarted = (phase == -1);
        phase = nextPhase;
        tickPending.store (1);
        tick = true;
        triggerAsyncUpdate();
        result = true;
    }

    --counter;
    position += beatsPerSample;

    if (counter < 0)
        dirty = true;

    return result;
}

void Clock::computeNextEvent()
{
    const double spb = samplesPerBeat;
    const double step = 1.0 / stepsPerBeat;
    const double p = position;
    const double e = std::ceil (p / step) * step;
    const double g = step * gate;
    const double gateEnd = (e - step) + g;

    if (p < 0.0)
    {
        phase = -1;
        counter = -1;
        nextPhase = 0;
    }
    else if (p > gateEnd)
    {
        if (phase == -1)
        {
            nextPhase = 0;
            counter = 0;
        }
        else if (phase == 0)
        {
            // Less than half a percent of a step before the boundary counts as the new
            // step already started.
            nextPhase = 1;
            counter = p <= e - 0.005 * step ? 0 : samplesUntil (e + g - p, spb);
        }
        else
        {
            nextPhase = 0;
            counter = samplesUntil (e - p, spb);
        }
    }
    else
    {
        if (phase == -1)
        {
            nextPhase = 0;
            counter = 0;
        }
        else if (phase == 0)
        {
            nextPhase = 1;
            counter = samplesUntil (gateEnd - p, spb);
        }
        else
        {
            nextPhase = 0;
            counter = p <= (e - step) + 0.005 * step ? 0 : samplesUntil (e - p, spb);
        }
    }
}

bool Clock::snapTo (double moment) noexcept
{
    if (std::abs (position - moment) > onEventTolerance)
        return false;

    position = moment;
    return true;
}

void Clock::takePhaseFromPosition() noexcept
{
    const double step = 1.0 / stepsPerBeat;

    // A step starts here: the clock stood in the previous step's off part.
    if (snapTo (std::round (position / step) * step))
    {
        phase = 1;
        return;
    }

    const double start = std::floor (position / step) * step;
    phase = position <= start + step * gate ? 0 : 1;
}

bool Clock::isInFirstPart() const noexcept
{
    return phase == 0;
}

bool Clock::isInSecondPart() const noexcept
{
    return phase == 1;
}

bool Clock::isNearerStepStart() const noexcept
{
    const double step = 1.0 / stepsPerBeat;
    const double start = std::floor (position * stepsPerBeat) / stepsPerBeat;
    const double end = start + step;
    return position - start < end - position;
}

void Clock::addListener (Listener* listener)
{
    if (listener != nullptr)
        listeners.addIfNotAlreadyThere (listener);
}

void Clock::removeListener (Listener* listener)
{
    listeners.removeFirstMatchingValue (listener);
}

void Clock::handleAsyncUpdate()
{
    if (stateChangedPending.exchange (0) == 1)
        for (int i = listeners.size(); --i >= 0;)
            if (i < listeners.size())
                listeners.getUnchecked (i)->clockStateChanged (*this);

    if (tickPending.exchange (0) == 1)
        for (int i = listeners.size(); --i >= 0;)
            if (i < listeners.size())
                listeners.getUnchecked (i)->clockTick (*this);
}
