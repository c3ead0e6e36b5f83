#pragma once

#include "gui/widgets/BaseGFXController.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** A rotary control whose slider value is the normalised value of its linked parameter. */
class GFXKnob : public BaseGFXController, public juce::Slider
{
public:
    explicit GFXKnob (const juce::String& name);

    // Both listener kinds stay reachable on the concrete widget.
    using GUIController::addListener;
    using juce::Slider::addListener;

    void updateFromParameter (Parameter* parameter) override;
    void loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context) override;

    void valueChanged() override;
    void startedDragging() override;
    void stoppedDragging() override;
    void paint (juce::Graphics& g) override;

    /** The filmstrip frame for the current value and enablement. */
    int getFrameToShow() const;

protected:
    /** The fallback without image: outline, the slider's own look, value and parameter texts. */
    void paintWithoutImage (juce::Graphics& g, const juce::String& valueText, bool setFont);
};
