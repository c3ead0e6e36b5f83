#include "gui/widgets/GFXAnimation.h"

GFXAnimation::GFXAnimation (const juce::String& name)
    : juce::Component (name)
{
    // Skin widgets leave the keyboard to the host (its shortcuts); Return must not click again.
    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
}

void GFXAnimation::updateFromParameter (Parameter* changed)
{
    setFrameFromValue (changed->getNormalisedValue());
}

void GFXAnimation::setFrameFromValue (float value)
{
    setFrame ((int) std::floor ((float) (framesNum - 1) * juce::jlimit (0.0f, 1.0f, value) + 0.5f));
}

void GFXAnimation::setFrame (int newFrame)
{
    if (newFrame == frame)
        return;

    frame = newFrame;
    repaint();
}

void GFXAnimation::flash (int milliseconds)
{
    setFrame (1);
    startTimer (milliseconds);
}

void GFXAnimation::timerCallback()
{
    stopTimer();
    setFrame (0);
}

void GFXAnimation::loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context)
{
    BaseGFXController::loadFromXml (element, parameters, events, context);
    setFrame (0);
    repaint();
}

void GFXAnimation::paint (juce::Graphics& g)
{
    if (hasImage())
    {
        drawFrame (g, getFrameToShow());
        return;
    }

    const juce::Rectangle<int> box (juce::jmax (0, (getWidth() - 16) / 2), juce::jmax (0, (getHeight() - 16) / 2), 16, 16);
    g.setColour (juce::Colour::greyLevel (0.9f));
    g.fillRect (box);
    g.setColour (juce::Colours::black);
    g.drawRect (box);

    // A one-frame strip has no lit picture: its circle stays empty.
    const float diameter = framesNum > 1 ? juce::jmin (10.0f, 10.0f * (float) frame / (float) (framesNum - 1)) : 0.0f;

    if (diameter > 0.0f)
        g.fillEllipse (box.toFloat().withSizeKeepingCentre (diameter, diameter));
}
