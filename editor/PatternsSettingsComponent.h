#pragma once

#include "editor/DrumMachineEditor.h"
#include "gui/controls/DefaultResourcesRadioButtons.h"

/** The "Patterns" page: the pattern bank loaded at start-up, one group per pattern set
    the sequencer keeps. */
class DrumMachineEditor::PatternsSettingsComponent : public juce::Component,
                                                     public RadioButtons::Listener,
                                                     public PathComponent::Listener
{
public:
    explicit PatternsSettingsComponent (DrumMachine& plugin);
    ~PatternsSettingsComponent() override;

    void radioButtonsChanged (RadioButtons* radioButtons) override;
    void pathChanged (PathComponent* path) override;
    void resized() override;

    /** Shows each set's start-up source and user file without telling the listeners. */
    void updateFromPlugin();

    int getNumGroups() const noexcept { return groups.size(); }
    DefaultResourcesRadioButtons& getGroup (int index) noexcept { return *groups[index]; }

private:
    DrumMachine& plugin;
    juce::OwnedArray<DefaultResourcesRadioButtons> groups;
    juce::Array<int> kinds; // the pattern set of each group

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PatternsSettingsComponent)
};
