#pragma once

#include "sequencer/Clock.h"

/** A step clock that works on pairs of steps and delays the second step of each pair
    by a fraction of a step. Phases: 0 and 1 are the first step's gate and off part,
    2 and 3 the second step's. With shuffle 0 the events fall on the plain grid. */
class ShuffledClock : public Clock
{
public:
    explicit ShuffledClock (const juce::String& name = {});

    /** Limited to 0..0.8; a value that is not a number is ignored. */
    void setShuffle (double fraction);
    double getShuffle() const noexcept { return shuffle; }

    bool isInFirstPart() const noexcept override;
    bool isInSecondPart() const noexcept override;
    bool isNearerStepStart() const noexcept override;

protected:
    void computeNextEvent() override;
    void takePhaseFromPosition() noexcept override;

private:
    double shuffle = 0.0;
};
