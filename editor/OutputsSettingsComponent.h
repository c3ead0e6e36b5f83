#pragma once

#include "editor/DrumMachineEditor.h"
#include "gui/controls/ComboBoxEx.h"
#include "gui/controls/ComponentRow.h"
#include "gui/controls/PanelComponent.h"
#include "gui/controls/RadioButtons.h"
#include "gui/widgets/TextButtonEx.h"

/** The "Outputs" page: default output assignments and type, and the trigger output.
    Every change goes straight into the plug-in; a restored state is shown again. */
class DrumMachineEditor::OutputsSettingsComponent : public juce::Component,
                                                    public RadioButtons::Listener,
                                                    public ComboBoxEx::Listener,
                                                    public juce::Button::Listener,
                                                    public BasePlugin::StateListener
{
public:
    static constexpr int noTriggerSource = 65535;

    explicit OutputsSettingsComponent (DrumMachine& plugin);
    ~OutputsSettingsComponent() override;

    void radioButtonsChanged (RadioButtons* radioButtons) override;
    void comboBoxExChanged (ComboBoxEx* comboBox) override;
    void buttonClicked (juce::Button* button) override;
    void stateLoaded() override;
    void resized() override;

    /** Sets every control from the plug-in without telling the listeners. */
    void updateFromPlugin();

    ComboBoxEx& getDefaultOutputBox (int instrument) noexcept { return *outputBoxes[instrument]; }
    TextButtonEx& getSetFromCurrentButton() noexcept { return setFromCurrentButton; }
    RadioButtons& getTypeChoice() noexcept { return typeChoice; }
    ComboBoxEx& getTriggerSourceBox() noexcept { return sourceBox; }
    ComboBoxEx& getTriggerOutputBox() noexcept { return triggerOutputBox; }
    PanelComponent& getAssignmentsPanel() noexcept { return assignmentsPanel; }
    PanelComponent& getTriggerPanel() noexcept { return triggerPanel; }

private:
    void fillOutputMenu (ComboBoxEx& box);
    juce::Label& addLabel (ComponentRow& row, const juce::String& text, int width);
    static void show (ComboBoxEx& box, int id);

    DrumMachine& plugin;

    PanelComponent assignmentsPanel{"Default outputs assigns"};
    ComponentRow assignmentsColumn{ComponentRow::column, ComponentRow::start, 4};
    juce::OwnedArray<ComponentRow> assignmentRows;
    juce::OwnedArray<juce::Label> labels;
    juce::OwnedArray<ComboBoxEx> outputBoxes;
    TextButtonEx setFromCurrentButton{"Set from current assignations", 1};

    RadioButtons typeChoice{"Default outputs type", {"Stereo", "Mono"}};
    juce::Label typeNote;

    PanelComponent triggerPanel{"Trigger output"};
    ComponentRow triggerColumn{ComponentRow::column, ComponentRow::start, 4};
    ComponentRow sourceRow{ComponentRow::row, ComponentRow::centre, 4}, outputRow{ComponentRow::row, ComponentRow::centre, 4};
    ComboBoxEx sourceBox, triggerOutputBox;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OutputsSettingsComponent)
};
