#include "editor/DrumMapSettingsComponent.h"

DrumMachineEditor::DrumMapSettingsComponent::DrumMapSettingsComponent (DrumMachine& pluginToUse)
    : plugin (pluginToUse)
{
    followDialogFolder (documents, plugin);

    for (auto* button : {&loadButton, &saveButton})
    {
        button->addListener (this);
        buttonRow.addAndMakeVisible (button);
    }

    currentMapPanel.setContent (&buttonRow);
    addAndMakeVisible (currentMapPanel);

    defaultMapChoice.addListener (this);
    defaultMapChoice.getPathComponent().addListener (this);
    defaultMapChoice.getPathComponent().setChooserWildcard (plugin.getDrumMapFileFilter());
    followDialogFolder (defaultMapChoice.getPathComponent(), plugin);
    addAndMakeVisible (defaultMapChoice);

    updateFromPlugin();
}

DrumMachineEditor::DrumMapSettingsComponent::~DrumMapSettingsComponent() = default;

void DrumMachineEditor::DrumMapSettingsComponent::updateFromPlugin()
{
    defaultMapChoice.setSelectedIndex (plugin.getDrumMapSource(), false);

    // Compared exactly: paths differing only in letter case name different files here.
    defaultMapChoice.getPathComponent().setPath (plugin.getUserDrumMapFile(), false);
}

void DrumMachineEditor::DrumMapSettingsComponent::buttonClicked (juce::Button* button)
{
    // The chooser answers later, and only while this page (which owns it) exists.
    if (button == &loadButton)
        documents.load ("Load drum map", plugin.getDrumMapFileFilter(), [this] (const juce::File& file)
                        { return plugin.loadDrumMapFile (file); });
    else if (button == &saveButton)
        documents.save ("Save drum map", plugin.getDrumMapFileExtension(), [this] (const juce::File& file)
                        { return plugin.saveDrumMapFile (file); });
}

void DrumMachineEditor::DrumMapSettingsComponent::radioButtonsChanged (RadioButtons* radioButtons)
{
    if (radioButtons == &defaultMapChoice && radioButtons->getSelectedIndex() >= 0)
        plugin.setDrumMapSource (radioButtons->getSelectedIndex());
}

void DrumMachineEditor::DrumMapSettingsComponent::pathChanged (PathComponent* path)
{
    if (path != &defaultMapChoice.getPathComponent())
        return;

    // A chosen file is the start-up map: the group shows so before it reports itself.
    plugin.setUserDrumMapFile (path->getPath());
    defaultMapChoice.setSelectedIndex (defaultMapChoice.getNumItems() - 1, false);
}

void DrumMachineEditor::DrumMapSettingsComponent::resized()
{
    currentMapPanel.setFixedWidth (getWidth());
    currentMapPanel.setTopLeftPosition (0, 0);
    placeStartUpGroup (defaultMapChoice, 0, currentMapPanel.getBottom() + 10, getWidth());
}
