#pragma once

#include "gui/widgets/BaseGFXController.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** A button that fires events and shows one of several states of its linked parameter
    (LEDs, mode and step buttons). It never writes the parameter: the event handler does. */
class GFXMultiStateButton : public BaseGFXController, public juce::Button, private juce::Timer
{
public:
    explicit GFXMultiStateButton (const juce::String& name);

    // Both listener kinds stay reachable on the concrete widget.
    using GUIController::addListener;
    using juce::Button::addListener;

    void setAction (const juce::String& type, int uid, const juce::String& tooltip) override;
    void updateFromParameter (Parameter* parameter) override;
    void loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context) override;
    void clicked (const juce::ModifierKeys& modifiers) override;
    void paintButton (juce::Graphics& g, bool isMouseOver, bool isButtonDown) override;
    void blinkStateChanged() override { repaint(); }
    void applyFrameSize() override { setSize (frameWidth, frameHeight); }
    void applyPosition() override { setTopLeftPosition (left, top); }

    /** Shows the opposite state (the sequencer's current step). */
    void setHighlighted (bool shouldBeHighlighted);
    bool isHighlighted() const noexcept { return highlighted; }

    void setStateIndex (int newState);
    int getStateIndex() const noexcept { return state; }
    int getStates() const noexcept { return states; }
    bool is3D() const noexcept { return style == 1; }

    /** Shows state 1 until the flash ends, then state 0 (a voice's trigger LED). */
    void flash (int milliseconds);

    /** The filmstrip frame for the state, press, blink phase and highlight. */
    int getFrameToShow (bool pressed) const noexcept;

    int getClickUid() const noexcept { return clickUid; }
    int getCtrlClickUid() const noexcept { return ctrlClickUid; }

private:
    void timerCallback() override;

    int style = 0;
    int state = 0;
    int states = 2;
    int clickUid = -1, ctrlClickUid = -1;
    bool highlighted = false;
};
