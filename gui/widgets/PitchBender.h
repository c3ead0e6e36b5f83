#pragma once

#include "gui/widgets/GFXKnob.h"

/** A filmstrip wheel on the range -1..+1 that springs back to the centre when let go.
    Its linked parameter takes the wheel's position within that range as its normalised
    value, so a -1..+1 parameter follows the wheel exactly, below the centre too. */
class PitchBender : public GFXKnob
{
public:
    explicit PitchBender (const juce::String& name);

    void updateFromParameter (Parameter* parameter) override;
    void valueChanged() override;
    void stoppedDragging() override;
};
