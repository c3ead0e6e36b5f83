#include "drummachine/PulsaretPanelPlaceholder.h"

PulsaretPanelPlaceholder::PulsaretPanelPlaceholder (int width, int height)
{
    setOpaque (true);
    setSize (width, height);
}

void PulsaretPanelPlaceholder::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xff2b2b2b));
    g.setColour (juce::Colours::lightgrey);
    g.setFont (juce::Font (28.0f, juce::Font::bold));
    g.drawText ("Pulsaret", getLocalBounds(), juce::Justification::centred);
}
