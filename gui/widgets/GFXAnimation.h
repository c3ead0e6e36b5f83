#pragma once

#include "gui/widgets/BaseGFXController.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** A passive picture whose frame follows its linked parameter's normalised value
    (LEDs and indicators); its own timer ends a flash. */
class GFXAnimation : public BaseGFXController, public juce::Component, private juce::Timer
{
public:
    explicit GFXAnimation (const juce::String& name);

    void updateFromParameter (Parameter* parameter) override;
    void loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context) override;
    void paint (juce::Graphics& g) override;
    void blinkStateChanged() override { repaint(); }
    void applyFrameSize() override { setSize (frameWidth, frameHeight); }
    void applyPosition() override { setTopLeftPosition (left, top); }

    /** frame = floor ((framesNum - 1) * clamp (value, 0, 1) + 0.5). */
    void setFrameFromValue (float value);

    /** Repaints only on a change. */
    void setFrame (int newFrame);
    int getFrame() const noexcept { return frame; }

    /** Frame 1 until the time is up, then frame 0; a new flash restarts the time. */
    void flash (int milliseconds);

    /** The filmstrip frame painted: the rest frame in the blink on-phase. */
    int getFrameToShow() const noexcept { return isInBlinkOnPhase() ? 0 : frame; }

private:
    void timerCallback() override;

    int frame = 0;
};
