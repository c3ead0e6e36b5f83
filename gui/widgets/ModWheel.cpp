#include "gui/widgets/ModWheel.h"

ModWheel::ModWheel (const juce::String& name)
    : GFXKnob (name)
{
    setValue (0.0, juce::dontSendNotification);
}

void ModWheel::stoppedDragging()
{
    GFXKnob::stoppedDragging();
    setValue (0.0, juce::sendNotificationAsync);
}
