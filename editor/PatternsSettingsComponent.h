#pragma once

#include "editor/DrumMachineEditor.h"

/** The "Patterns" page: the pattern bank loaded at start-up. */
class DrumMachineEditor::PatternsSettingsComponent : public juce::Component
{
public:
    explicit PatternsSettingsComponent (DrumMachine& plugin);
    ~PatternsSettingsComponent() override;

private:
    DrumMachine& plugin;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PatternsSettingsComponent)
};
