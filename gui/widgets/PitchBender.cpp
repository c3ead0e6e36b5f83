#include "gui/widgets/PitchBender.h"

PitchBender::PitchBender (const juce::String& name)
    : GFXKnob (name)
{
    setRange (-1.0, 1.0, 0.0);
    setValue (0.0, juce::dontSendNotification);
}

void PitchBender::updateFromParameter (Parameter* changed)
{
    setValue (getMinimum() + (double) changed->getNormalisedValue() * (getMaximum() - getMinimum()), juce::dontSendNotification);
}

void PitchBender::valueChanged()
{
    // Handing the raw value over as a normalised one would lose everything below the centre.
    if (auto* linked = getParameter())
    {
        linked->setNormalisedValue ((float) valueToProportionOfLength (getValue()), true);
        sendValueChanged();
    }
}

void PitchBender::stoppedDragging()
{
    GFXKnob::stoppedDragging();
    setValue (0.0, juce::sendNotificationAsync);
}
