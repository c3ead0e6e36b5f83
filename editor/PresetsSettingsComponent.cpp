#include "editor/PresetsSettingsComponent.h"

#include "framework/BasePluginOldStyle.h"

BasePluginEditorOldStyle::PresetsSettingsComponent::PresetsSettingsComponent (BasePluginOldStyle& pluginToUse,
                                                                              const juce::String& bankFilePatterns)
    : plugin (pluginToUse)
{
    storingChoice.addListener (this);
    addAndMakeVisible (storingChoice);

    changingChoice.addListener (this);
    addChildComponent (changingChoice);
    changingChoice.setVisible (plugin.hasPresetChangingSetting());

    defaultPresetsChoice.addListener (this);
    defaultPresetsChoice.getPathComponent().addListener (this);
    defaultPresetsChoice.getPathComponent().setChooserWildcard (bankFilePatterns);
    followDialogFolder (defaultPresetsChoice.getPathComponent(), plugin);
    addAndMakeVisible (defaultPresetsChoice);

    updateFromPlugin();
}

BasePluginEditorOldStyle::PresetsSettingsComponent::~PresetsSettingsComponent() = default;

void BasePluginEditorOldStyle::PresetsSettingsComponent::radioButtonsChanged (RadioButtons* radioButtons)
{
    const int index = radioButtons->getSelectedIndex();

    if (radioButtons == &storingChoice)
    {
        plugin.setStoringMode (index);

        if (index == 0)
            plugin.storePreset (plugin.getCurrentPreset());
    }
    else if (radioButtons == &changingChoice)
    {
        plugin.setChangingMode (index);
    }
    else if (radioButtons == &defaultPresetsChoice)
    {
        plugin.setDefaultPresetsSource (index);
    }
}

void BasePluginEditorOldStyle::PresetsSettingsComponent::pathChanged (PathComponent* path)
{
    if (path == &defaultPresetsChoice.getPathComponent())
        plugin.setUserPresetsFile (path->getPath());
}

void BasePluginEditorOldStyle::PresetsSettingsComponent::updateFromPlugin()
{
    storingChoice.setSelectedIndex (plugin.getStoringMode(), false);
    changingChoice.setSelectedIndex (plugin.getChangingMode(), false);
    defaultPresetsChoice.setSelectedIndex (plugin.getDefaultPresetsSource(), false);
    defaultPresetsChoice.getPathComponent().setPath (plugin.getUserPresetsFile(), false);
}

void BasePluginEditorOldStyle::PresetsSettingsComponent::resized()
{
    const int w = getWidth();

    if (changingChoice.isVisible())
    {
        const int half = w / 2 - 3;
        storingChoice.setBounds (0, 0, half, storingChoice.getHeight());
        changingChoice.setBounds (w - half, 0, half, changingChoice.getHeight());
    }
    else
    {
        storingChoice.setBounds (0, 0, w, storingChoice.getHeight());
    }

    placeStartUpGroup (defaultPresetsChoice, 0, storingChoice.getBottom() + 10, w);
}
