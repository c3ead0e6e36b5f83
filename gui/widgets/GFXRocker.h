#pragma once

#include "gui/widgets/BaseGFXController.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** A two-sided button: pressing the more side (upper or right half) fires the more
    event, anything else the less event. Frames: 0 less pressed, 1 rest, 2 more pressed. */
class GFXRocker : public BaseGFXController, public juce::Component
{
public:
    enum Type
    {
        vertical = 0,
        horizontal = 1
    };

    explicit GFXRocker (const juce::String& name);

    void setAction (const juce::String& type, int uid, const juce::String& tooltip) override;
    void loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context) override;

    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    void paint (juce::Graphics& g) override;

    int getFrameToShow() const noexcept { return dragFlag ? 1 : frame; }
    int getType() const noexcept { return type; }

private:
    int type = vertical;
    int lessUid = -1, moreUid = -1, lessCtrlUid = -1, moreCtrlUid = -1;
    int frame = 1;

    // Set while a drag has left the rocker: it then shows its rest frame.
    bool dragFlag = false;
};
