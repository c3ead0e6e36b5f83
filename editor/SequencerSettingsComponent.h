#pragma once

#include "editor/DrumMachineEditor.h"
#include "gui/controls/CheckBox.h"
#include "gui/controls/ComponentRow.h"
#include "gui/controls/PanelComponent.h"
#include "gui/controls/RadioButtons.h"

#include <array>

/** The "Sequencer" page: current and default sequencer modes and host play detection.
    The current boxes follow the mode states, however they were changed. */
class DrumMachineEditor::SequencerSettingsComponent : public juce::Component,
                                                      public CheckBox::Listener,
                                                      public RadioButtons::Listener,
                                                      public Parameter::Listener
{
public:
    /** The boxes of each panel, in their order. */
    enum Mode
    {
        internalSequencerBox = 0,
        internalClockBox,
        hostModeBox,
        noteOffModeBox,
        numModes
    };

    explicit SequencerSettingsComponent (DrumMachine& plugin);
    ~SequencerSettingsComponent() override;

    void checkBoxChanged (CheckBox* checkBox) override;
    void radioButtonsChanged (RadioButtons* radioButtons) override;
    void parameterChanged (Parameter* parameter) override;
    void resized() override;

    /** Enables and sets the boxes that depend on the sequencer switches. */
    void updateEnablement();

    CheckBox& getCurrentBox (int mode) noexcept { return current[(size_t) mode]; }
    CheckBox& getDefaultBox (int mode) noexcept { return defaults[(size_t) mode]; }
    RadioButtons& getDetectionChoice() noexcept { return detectionChoice; }

private:
    DrumMachine& plugin;

    std::array<CheckBox, numModes> current, defaults;
    ComponentRow currentColumn{ComponentRow::column, ComponentRow::start, 6};
    ComponentRow defaultColumn{ComponentRow::column, ComponentRow::start, 6};
    PanelComponent currentPanel{"Current settings"};
    PanelComponent defaultPanel{"Default settings"};
    RadioButtons detectionChoice{"Host play detection", {"By transport change", "By lowest C note"}};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SequencerSettingsComponent)
};
