#include "editor/DrumMapSettingsComponent.h"

DrumMachineEditor::DrumMapSettingsComponent::DrumMapSettingsComponent (DrumMachine& pluginToUse)
    : plugin (pluginToUse)
{
}

DrumMachineEditor::DrumMapSettingsComponent::~DrumMapSettingsComponent() = default;
