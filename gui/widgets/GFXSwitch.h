#pragma once

#include "gui/widgets/GFXKnob.h"

/** A stepped control (steps of 0.005): vertical, horizontal or rotary. It shares the
    knob's link, notification and gesture behaviour. */
class GFXSwitch : public GFXKnob
{
public:
    enum Mode
    {
        vertical = 0,
        horizontal = 1,
        rotary = 2
    };

    explicit GFXSwitch (const juce::String& name);

    void loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context) override;
    void paint (juce::Graphics& g) override;

    int getFrameToShow() const;
    int getMode() const noexcept { return mode; }

private:
    void applyMode();

    int mode = rotary;
};
