#pragma once

#include "gui/widgets/BaseGFXController.h"

#include <juce_gui_basics/juce_gui_basics.h>

class GFXToggleButtonDragGroup;

/** An on/off button that writes its linked bool parameter; buttons of one drag group
    can be painted on or off by dragging across them. */
class GFXToggleButton : public BaseGFXController, public juce::Button
{
public:
    explicit GFXToggleButton (const juce::String& name);

    // Both listener kinds stay reachable on the concrete widget.
    using GUIController::addListener;
    using juce::Button::addListener;
    ~GFXToggleButton() override;

    void updateFromParameter (Parameter* parameter) override;
    void loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context) override;

    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void clicked() override;
    void paintButton (juce::Graphics& g, bool isMouseOver, bool isButtonDown) override;
    void blinkStateChanged() override { repaint(); }
    void applyFrameSize() override { setSize (frameWidth, frameHeight); }
    void applyPosition() override { setTopLeftPosition (left, top); }

    int getFrameToShow (bool pressed) const noexcept;
    bool is3D() const noexcept { return style == 1; }
    const juce::String& getDragGroupName() const noexcept { return dragGroupName; }

private:
    int style = 0;
    GFXToggleButtonDragGroup* dragGroup = nullptr;
    juce::String dragGroupName;
};
