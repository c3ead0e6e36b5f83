#include "editor/MidiControlComponent.h"

#include "framework/MidiControl.h"

MidiControlComponent::MidiControlComponent (MidiControl& mapToUse, const juce::String& extension, const juce::String& patterns)
    : map (mapToUse)
    , mapFileExtension (extension)
    , mapFilePatterns (patterns)
{
    defaultMapBox.getCheckBox().setText ("Default map");
    addAndMakeVisible (defaultMapBox);
}

MidiControlComponent::~MidiControlComponent() = default;

void MidiControlComponent::setMapFileTypes (const juce::String& extension, const juce::String& patterns)
{
    mapFileExtension = extension;
    mapFilePatterns = patterns;
}

void MidiControlComponent::resized()
{
    defaultMapBox.setBounds (defaultMapBox.getBounds().withWidth (getWidth()).withPosition (0, 0));
}
