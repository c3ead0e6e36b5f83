#pragma once

#include "gui/widgets/GFXDisplay.h"

/** A text display showing a parameter's plain value ("%.9g"). */
class GFXDisplayFloat : public GFXDisplay
{
public:
    explicit GFXDisplayFloat (const juce::String& name)
        : GFXDisplay (name)
    {
    }

    void updateFromParameter (Parameter* parameter) override;
};
