#include "editor/SequencerSettingsComponent.h"

namespace
{
const char* const modeTexts[] = {"Use internal sequencer", "Use internal clock", "Host Mode", "Note Off Mode"};
} // namespace

DrumMachineEditor::SequencerSettingsComponent::SequencerSettingsComponent (DrumMachine& pluginToUse)
    : plugin (pluginToUse)
{
    for (int mode = 0; mode < numModes; ++mode)
    {
        for (auto* box : {&current[(size_t) mode], &defaults[(size_t) mode]})
        {
            box->setText (modeTexts[mode]);
            box->addListener (this);
        }

        currentColumn.addAndMakeVisible (current[(size_t) mode]);
        defaultColumn.addAndMakeVisible (defaults[(size_t) mode]);
    }

    currentPanel.setContent (&currentColumn);
    defaultPanel.setContent (&defaultColumn);
    addAndMakeVisible (currentPanel);
    addAndMakeVisible (defaultPanel);

    detectionChoice.addListener (this);
    addAndMakeVisible (detectionChoice);
    detectionChoice.setSelectedIndex (plugin.getHostPlayDetection(), false);

    // The current boxes get their states from the notification each state sends.
    auto& store = plugin.getParameterManager();

    for (int uid = DrumMachine::internalSequencerStateUid; uid <= DrumMachine::noteOffStateUid; ++uid)
        store.addAsyncListener (uid, this);

    updateEnablement();
}

DrumMachineEditor::SequencerSettingsComponent::~SequencerSettingsComponent()
{
    auto& store = plugin.getParameterManager();

    for (int uid = DrumMachine::internalSequencerStateUid; uid <= DrumMachine::noteOffStateUid; ++uid)
        store.removeAsyncListener (uid, this);
}

void DrumMachineEditor::SequencerSettingsComponent::checkBoxChanged (CheckBox* checkBox)
{
    const bool on = checkBox->getToggleState();
    const bool sequencerOn = plugin.isInternalSequencerOn();
    const bool defaultSequencerOn = plugin.getInternalSequencerDefault();

    if (checkBox == &current[internalSequencerBox])
    {
        plugin.setInternalSequencer (on);
        updateEnablement();
    }
    else if (checkBox == &current[internalClockBox])
    {
        if (sequencerOn)
            plugin.setInternalSync (on);
    }
    else if (checkBox == &current[hostModeBox])
    {
        if (sequencerOn)
            plugin.setHostMode (on);
    }
    else if (checkBox == &current[noteOffModeBox])
    {
        if (sequencerOn)
            plugin.setNoteOffMode (on);
    }
    else if (checkBox == &defaults[internalSequencerBox])
    {
        plugin.setModeDefaults (on, plugin.getInternalSyncDefault(), plugin.getHostModeDefault(), plugin.getNoteOffDefault());
        updateEnablement();
    }
    else if (defaultSequencerOn)
    {
        plugin.setModeDefaults (true,
                                checkBox == &defaults[internalClockBox] ? on : plugin.getInternalSyncDefault(),
                                checkBox == &defaults[hostModeBox] ? on : plugin.getHostModeDefault(),
                                checkBox == &defaults[noteOffModeBox] ? on : plugin.getNoteOffDefault());
    }
}

void DrumMachineEditor::SequencerSettingsComponent::radioButtonsChanged (RadioButtons* radioButtons)
{
    if (radioButtons == &detectionChoice)
        plugin.setHostPlayDetection (detectionChoice.getSelectedIndex());
}

void DrumMachineEditor::SequencerSettingsComponent::parameterChanged (Parameter* parameter)
{
    if (parameter == nullptr)
        return;

    const int mode = parameter->getUid() - DrumMachine::internalSequencerStateUid;

    if (!juce::isPositiveAndBelow (mode, (int) numModes))
        return;

    current[(size_t) mode].setToggleState (parameter->getBoolValue());

    if (mode == internalSequencerBox)
        updateEnablement();
}

void DrumMachineEditor::SequencerSettingsComponent::updateEnablement()
{
    const bool sequencerOn = plugin.isInternalSequencerOn();
    const bool defaultOn = plugin.getInternalSequencerDefault();
    const bool defaultStates[] = {true, plugin.getInternalSyncDefault(), plugin.getHostModeDefault(), plugin.getNoteOffDefault()};

    for (int mode = internalClockBox; mode < numModes; ++mode)
    {
        current[(size_t) mode].setEnabled (sequencerOn);
        defaults[(size_t) mode].setEnabled (defaultOn);
    }

    for (int mode = 0; mode < numModes; ++mode)
        defaults[(size_t) mode].setToggleState (defaultOn && defaultStates[mode]);
}

void DrumMachineEditor::SequencerSettingsComponent::resized()
{
    const int half = getWidth() / 2 - 3;

    for (auto* panel : {&currentPanel, &defaultPanel})
        panel->setFixedWidth (half);

    currentPanel.setTopLeftPosition (0, 0);
    defaultPanel.setTopLeftPosition (getWidth() - half, 0);
    detectionChoice.setBounds (0, currentPanel.getBottom() + 10, getWidth(), detectionChoice.getHeight());
}
