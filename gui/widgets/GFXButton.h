#pragma once

#include "gui/widgets/BaseGFXController.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** A push button that fires its "onClick" event, or "onClickWithCtrl" with Ctrl held. */
class GFXButton : public BaseGFXController, public juce::Button, private juce::Timer
{
public:
    explicit GFXButton (const juce::String& name);

    // Both listener kinds stay reachable on the concrete widget.
    using GUIController::addListener;
    using juce::Button::addListener;

    void setAction (const juce::String& type, int uid, const juce::String& tooltip) override;
    void loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context) override;

    void mouseEnter (const juce::MouseEvent& e) override;
    void modifierKeysChanged (const juce::ModifierKeys& modifiers) override;
    void clicked (const juce::ModifierKeys& modifiers) override;
    void paintButton (juce::Graphics& g, bool isMouseOver, bool isButtonDown) override;
    void buttonStateChanged() override;

    /** While held, the click repeats after 1000 ms, then every 100 ms. */
    void setAutoRepeat (bool shouldRepeat);
    bool isAutoRepeating() const noexcept { return autoRepeat; }

    /** The wait until the next repeat: 1000 ms after the press, then 100; 0 while none runs. */
    int getRepeatInterval() const noexcept { return isTimerRunning() ? getTimerInterval() : 0; }

    int getClickUid() const noexcept { return clickUid; }
    int getCtrlClickUid() const noexcept { return ctrlClickUid; }

protected:
    /** "clickEvent" and "autorepeat" of a Button element. */
    void readClickEvent (const juce::XmlElement& element);
    void readAutoRepeat (const juce::XmlElement& element);

    /** The event uid a click fires: the Ctrl action with Ctrl held, never the plain one instead. */
    int getUidForClick (const juce::ModifierKeys& modifiers) const noexcept;

    void paintWithoutImage (juce::Graphics& g, bool isButtonDown);

private:
    void updateTooltip (const juce::ModifierKeys& modifiers);

    // The repeat follows the button's own pressed state rather than polling the
    // pointer, which knows nothing of a press that did not come from it.
    void timerCallback() override;

    bool autoRepeat = false;

    int clickUid = -1, ctrlClickUid = -1;
    juce::String tooltip, ctrlTooltip;
};
