#pragma once

#include "gui/controls/DefaultResourceCheckBox.h"

#include <juce_gui_basics/juce_gui_basics.h>

class MidiControl;

/** The "Midi Control" page of the options window: the MIDI-learn map, its files and
    the start-up map. */
class MidiControlComponent : public juce::Component
{
public:
    MidiControlComponent (MidiControl& map, const juce::String& mapFileExtension, const juce::String& chooserPatterns);
    ~MidiControlComponent() override;

    void setMapFileTypes (const juce::String& extension, const juce::String& patterns);
    const juce::String& getMapFileExtension() const noexcept { return mapFileExtension; }
    const juce::String& getMapFilePatterns() const noexcept { return mapFilePatterns; }

    /** The "Default map" box, whose changes the editor announces. */
    DefaultResourceCheckBox& getDefaultMapCheckBox() noexcept { return defaultMapBox; }

    void resized() override;

private:
    MidiControl& map;
    juce::String mapFileExtension, mapFilePatterns;
    DefaultResourceCheckBox defaultMapBox;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiControlComponent)
};
