#pragma once

#include "editor/BasePluginEditorOldStyle.h"
#include "gui/controls/DefaultResourcesRadioButtons.h"
#include "gui/controls/PathComponent.h"
#include "gui/controls/RadioButtons.h"

/** The "Presets" page: how presets are stored and changed, and the presets loaded at
    start-up. Every choice goes straight into the plug-in. */
class BasePluginEditorOldStyle::PresetsSettingsComponent : public juce::Component,
                                                           public RadioButtons::Listener,
                                                           public PathComponent::Listener
{
public:
    PresetsSettingsComponent (BasePluginOldStyle& plugin, const juce::String& bankFilePatterns);
    ~PresetsSettingsComponent() override;

    void radioButtonsChanged (RadioButtons* radioButtons) override;
    void pathChanged (PathComponent* path) override;
    void updateFromPlugin();
    void resized() override;

    RadioButtons& getStoringChoice() noexcept { return storingChoice; }
    RadioButtons& getChangingChoice() noexcept { return changingChoice; }
    DefaultResourcesRadioButtons& getDefaultPresetsChoice() noexcept { return defaultPresetsChoice; }

private:
    RadioButtons storingChoice{"Preset storing", {"Automatic", "On demand"}};
    RadioButtons changingChoice{"Changing type", {"Normal", "Silent"}};
    DefaultResourcesRadioButtons defaultPresetsChoice{"Default presets", {"Factory presets", "Clear presets", "User defined"}};
    BasePluginOldStyle& plugin;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetsSettingsComponent)
};
