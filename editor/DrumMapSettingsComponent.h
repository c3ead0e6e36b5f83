#pragma once

#include "editor/DrumMachineEditor.h"

/** The "Drum map" page: loading and saving the drum map, and the start-up map. */
class DrumMachineEditor::DrumMapSettingsComponent : public juce::Component
{
public:
    explicit DrumMapSettingsComponent (DrumMachine& plugin);
    ~DrumMapSettingsComponent() override;

private:
    DrumMachine& plugin;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DrumMapSettingsComponent)
};
