#pragma once

#include "editor/DrumMachineEditor.h"

/** The "Sequencer" page: current and default sequencer modes and host play detection. */
class DrumMachineEditor::SequencerSettingsComponent : public juce::Component
{
public:
    explicit SequencerSettingsComponent (DrumMachine& plugin);
    ~SequencerSettingsComponent() override;

private:
    DrumMachine& plugin;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SequencerSettingsComponent)
};
