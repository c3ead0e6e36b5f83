#include "editor/OutputsSettingsComponent.h"

DrumMachineEditor::OutputsSettingsComponent::OutputsSettingsComponent (DrumMachine& pluginToUse)
    : plugin (pluginToUse)
{
}

DrumMachineEditor::OutputsSettingsComponent::~OutputsSettingsComponent() = default;
