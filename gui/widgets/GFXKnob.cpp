#include "gui/widgets/GFXKnob.h"

GFXKnob::GFXKnob (const juce::String& name)
    : juce::Slider (name)
{
    // Skin widgets leave the keyboard to the host (its shortcuts); Return must not click again.
    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
    setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
    setSliderStyle (juce::Slider::RotaryVerticalDrag);
    setRange (0.0, 1.0, 0.0);
    setValue (0.0, juce::dontSendNotification);
}

void GFXKnob::updateFromParameter (Parameter* changed)
{
    setValue (changed->getNormalisedValue(), juce::dontSendNotification);
}

void GFXKnob::loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context)
{
    BaseGFXController::loadFromXml (element, parameters, events, context);
    applyBoundsTo (*this);
    repaint();
}

void GFXKnob::valueChanged()
{
    if (auto* linked = getParameter())
    {
        linked->setNormalisedValue ((float) getValue(), true);
        sendValueChanged();
    }
}

void GFXKnob::startedDragging()
{
    sendGestureBegin();
}

void GFXKnob::stoppedDragging()
{
    sendGestureEnd();
}

int GFXKnob::getFrameToShow() const
{
    if (!isEnabled())
        return 0;

    const auto p = (float) ((getValue() - getMinimum()) / (getMaximum() - getMinimum()));
    return (int) std::floor ((float) (framesNum - 1) * p + 0.5f);
}

void GFXKnob::paint (juce::Graphics& g)
{
    if (hasImage())
        drawFrame (g, getFrameToShow());
    else
        paintWithoutImage (g, juce::String::formatted ("%f", getValue()), true);
}

void GFXKnob::paintWithoutImage (juce::Graphics& g, const juce::String& valueText, bool setFont)
{
    g.setColour (juce::Colour::greyLevel (0.7f));
    g.drawRect (getLocalBounds());

    juce::Slider::paint (g);

    g.setColour (juce::Colours::black);

    if (setFont)
        g.setFont (13.0f);

    const auto parameterText = getParameter() != nullptr ? getParameter()->getText() : juce::String();
    g.drawFittedText (valueText, getLocalBounds(), juce::Justification::centredTop, 2, 0.7f);
    g.drawFittedText (parameterText, getLocalBounds(), juce::Justification::centredBottom, 2, 0.7f);
}
