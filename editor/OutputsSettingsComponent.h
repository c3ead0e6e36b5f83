#pragma once

#include "editor/DrumMachineEditor.h"

/** The "Outputs" page: default output assignments and type, and the trigger output. */
class DrumMachineEditor::OutputsSettingsComponent : public juce::Component
{
public:
    explicit OutputsSettingsComponent (DrumMachine& plugin);
    ~OutputsSettingsComponent() override;

private:
    DrumMachine& plugin;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OutputsSettingsComponent)
};
