#pragma once

#include "gui/widgets/GFXKnob.h"

/** A filmstrip wheel on the range 0..1 that springs back to the bottom when let go. */
class ModWheel : public GFXKnob
{
public:
    explicit ModWheel (const juce::String& name);

    void stoppedDragging() override;
};
