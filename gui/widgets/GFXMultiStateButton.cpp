#include "gui/widgets/GFXMultiStateButton.h"

#include "gui/widgets/SkinElement.h"
#include "gui/widgets/SkinImages.h"

GFXMultiStateButton::GFXMultiStateButton (const juce::String& name)
    : juce::Button (name)
{
    // Skin widgets leave the keyboard to the host (its shortcuts); Return must not click again.
    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
}

void GFXMultiStateButton::setAction (const juce::String& type, int uid, const juce::String&)
{
    if (type == "onClick")
        clickUid = uid;
    else if (type == "onClickWithCtrl")
        ctrlClickUid = uid;
}

void GFXMultiStateButton::updateFromParameter (Parameter* changed)
{
    const float value = juce::jlimit (0.0f, 1.0f, changed->getNormalisedValue());
    setStateIndex ((int) std::floor ((float) (states - 1) * value + 0.5f));
}

void GFXMultiStateButton::setStateIndex (int newState)
{
    if (newState == state)
        return;

    state = newState;
    repaint();
}

void GFXMultiStateButton::setHighlighted (bool shouldBeHighlighted)
{
    if (shouldBeHighlighted == highlighted)
        return;

    highlighted = shouldBeHighlighted;
    repaint();
}

void GFXMultiStateButton::flash (int milliseconds)
{
    setStateIndex (1);
    startTimer (milliseconds);
}

void GFXMultiStateButton::timerCallback()
{
    stopTimer();
    setStateIndex (0);
}

void GFXMultiStateButton::loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context)
{
    GUIController::loadFromXml (element, parameters, events, context);
    readPosition (element);
    readSize (element);

    if (SkinElement::hasTag (element, "MultiStateButton"))
    {
        const auto styleText = SkinElement::getString (element, "style", "2D");

        if (styleText == "2D")
            style = 0;
        else if (styleText == "3D")
            style = 1;

        const int newStates = SkinElement::getInt (element, "states", 2);

        // A "3D" strip holds two frames a state: a count beyond any strip keeps the old one.
        if (newStates >= 2 && newStates <= maxFrames / 2)
            states = newStates;

        if (auto* gfx = SkinElement::getChild (element, "gfx"))
        {
            auto loaded = SkinImages::load (SkinElement::getString (*gfx, "resource"));

            if (loaded.isValid())
                setImage (loaded, is3D() ? 2 * states : states);
        }

        const auto clickEvent = SkinElement::getString (element, "clickEvent", "onRelease");

        if (clickEvent == "onRelease")
            setTriggeredOnMouseDown (false);
        else if (clickEvent == "onPress")
            setTriggeredOnMouseDown (true);

        const int radioGroup = SkinElement::getInt (element, "radioGroupId", 0);

        if (radioGroup != getRadioGroupId())
            setRadioGroupId (radioGroup);
    }

    repaint();
}

void GFXMultiStateButton::clicked (const juce::ModifierKeys& modifiers)
{
    const int uid = modifiers.isCtrlDown() ? ctrlClickUid : clickUid;

    if (uid != -1)
        sendEvent (uid);
}

int GFXMultiStateButton::getFrameToShow (bool pressed) const noexcept
{
    const int down = pressed ? 1 : 0;

    if (highlighted)
    {
        const int opposite = state == 0 ? states - 1 : 0;
        return is3D() ? 2 * opposite + down : opposite;
    }

    if (isInBlinkOnPhase())
        return is3D() ? down : 0;

    return is3D() ? 2 * state + down : state;
}

void GFXMultiStateButton::paintButton (juce::Graphics& g, bool isMouseOver, bool isButtonDown)
{
    const bool pressed = isMouseOver && isButtonDown;

    if (hasImage())
    {
        drawFrame (g, getFrameToShow (pressed));
        return;
    }

    const juce::Rectangle<int> box (juce::jmax (0, (getWidth() - 16) / 2), juce::jmax (0, (getHeight() - 16) / 2), 16, 16);
    g.setColour (juce::Colour::greyLevel (pressed ? 0.4f : 0.9f));
    g.fillRect (box);
    g.setColour (juce::Colours::black);
    g.drawRect (box);

    const float diameter = (float) state / (float) (states - 1) * 10.0f + 2.0f;
    g.fillEllipse (box.toFloat().withSizeKeepingCentre (diameter, diameter));
}
