#include "editor/SequencerSettingsComponent.h"

DrumMachineEditor::SequencerSettingsComponent::SequencerSettingsComponent (DrumMachine& pluginToUse)
    : plugin (pluginToUse)
{
}

DrumMachineEditor::SequencerSettingsComponent::~SequencerSettingsComponent() = default;
