#include "editor/PatternsSettingsComponent.h"

DrumMachineEditor::PatternsSettingsComponent::PatternsSettingsComponent (DrumMachine& pluginToUse)
    : plugin (pluginToUse)
{
}

DrumMachineEditor::PatternsSettingsComponent::~PatternsSettingsComponent() = default;
