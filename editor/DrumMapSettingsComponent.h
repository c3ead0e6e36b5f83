#pragma once

#include "editor/DrumMachineEditor.h"
#include "gui/controls/ComponentRow.h"
#include "gui/controls/DefaultResourcesRadioButtons.h"
#include "gui/controls/DocumentFileChooser.h"
#include "gui/controls/PanelComponent.h"
#include "gui/widgets/TextButtonEx.h"

/** The "Drum map" page: loading and saving the drum map in force, and the map loaded
    at start-up. */
class DrumMachineEditor::DrumMapSettingsComponent : public juce::Component,
                                                    public juce::Button::Listener,
                                                    public RadioButtons::Listener,
                                                    public PathComponent::Listener
{
public:
    explicit DrumMapSettingsComponent (DrumMachine& plugin);
    ~DrumMapSettingsComponent() override;

    void buttonClicked (juce::Button* button) override;
    void radioButtonsChanged (RadioButtons* radioButtons) override;
    void pathChanged (PathComponent* path) override;
    void resized() override;

    /** Shows the start-up source and user file without telling the listeners. */
    void updateFromPlugin();

    TextButtonEx& getLoadButton() noexcept { return loadButton; }
    TextButtonEx& getSaveButton() noexcept { return saveButton; }
    DefaultResourcesRadioButtons& getDefaultMapChoice() noexcept { return defaultMapChoice; }
    PanelComponent& getCurrentMapPanel() noexcept { return currentMapPanel; }

    /** Loads and saves the map files; tests give it a scripted launcher. */
    DocumentFileChooser& getDocumentChooser() noexcept { return documents; }

private:
    DrumMachine& plugin;

    PanelComponent currentMapPanel{"Current drum map"};
    ComponentRow buttonRow{ComponentRow::row, ComponentRow::start, 6};
    TextButtonEx loadButton{"Load", 1};
    TextButtonEx saveButton{"Save", 1};
    DefaultResourcesRadioButtons defaultMapChoice{"Default drum map", {"Factory map", "User defined"}};
    DocumentFileChooser documents{*this};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DrumMapSettingsComponent)
};
