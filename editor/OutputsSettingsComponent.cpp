#include "editor/OutputsSettingsComponent.h"

#include "drummachine/DrumVoiceNames.h"
#include "engine/DrumMachineCore.h"
#include "gui/EmbeddedFonts.h"

namespace
{
constexpr int labelHeight = 18;
constexpr int outputBoxWidth = 33;
constexpr int sourceBoxWidth = 100;
constexpr int triggerLabelWidth = 45;
} // namespace

DrumMachineEditor::OutputsSettingsComponent::OutputsSettingsComponent (DrumMachine& pluginToUse)
    : plugin (pluginToUse)
{
    const auto font = EmbeddedFonts::tahoma (13.0f);
    int nameWidth = 0;

    for (int voice = 0; voice < DrumVoiceNames::numInstruments; ++voice)
        nameWidth = juce::jmax (nameWidth, juce::roundToInt (font.getStringWidthFloat (DrumVoiceNames::getName (voice))) + 8);

    for (int voice = 0; voice < DrumVoiceNames::numInstruments; ++voice)
    {
        auto* row = assignmentRows.add (new ComponentRow (ComponentRow::row, ComponentRow::centre, 4));
        addLabel (*row, DrumVoiceNames::getName (voice), nameWidth);
        auto* box = outputBoxes.add (new ComboBoxEx());
        fillOutputMenu (*box);
        box->setSize (outputBoxWidth, labelHeight);
        box->addListener (this);
        row->addAndMakeVisible (box);
        assignmentsColumn.addAndMakeVisible (row);
    }

    setFromCurrentButton.addListener (this);
    assignmentsColumn.addAndMakeVisible (setFromCurrentButton);
    assignmentsPanel.setContent (&assignmentsColumn);
    addAndMakeVisible (assignmentsPanel);

    typeChoice.addListener (this);
    addAndMakeVisible (typeChoice);
    typeNote.setText ("Outputs type is affected when plug-in is inserted.", juce::dontSendNotification);
    typeNote.setFont (font);
    typeNote.setBorderSize ({});
    addAndMakeVisible (typeNote);

    addLabel (sourceRow, "Source: ", triggerLabelWidth);
    sourceBox.getMenu().addItem (noTriggerSource, " - None - ");

    for (int track = 0; track < DrumVoiceNames::numTracks; ++track)
        sourceBox.getMenu().addItem (track, DrumVoiceNames::getName (track));

    sourceBox.setSize (sourceBoxWidth, labelHeight);
    sourceBox.addListener (this);
    sourceRow.addAndMakeVisible (sourceBox);

    addLabel (outputRow, "Output: ", triggerLabelWidth);
    fillOutputMenu (triggerOutputBox);
    triggerOutputBox.setSize (outputBoxWidth, labelHeight);
    triggerOutputBox.addListener (this);
    outputRow.addAndMakeVisible (triggerOutputBox);

    triggerColumn.addAndMakeVisible (sourceRow);
    triggerColumn.addAndMakeVisible (outputRow);
    triggerPanel.setContent (&triggerColumn);
    addAndMakeVisible (triggerPanel);

    updateFromPlugin();
    plugin.addStateListener (this);
}

DrumMachineEditor::OutputsSettingsComponent::~OutputsSettingsComponent()
{
    plugin.removeStateListener (this);
}

juce::Label& DrumMachineEditor::OutputsSettingsComponent::addLabel (ComponentRow& row, const juce::String& text, int width)
{
    auto* label = labels.add (new juce::Label ({}, text));
    label->setFont (EmbeddedFonts::tahoma (13.0f));
    label->setBorderSize ({});
    label->setSize (width, labelHeight);
    row.addAndMakeVisible (label);
    return *label;
}

void DrumMachineEditor::OutputsSettingsComponent::fillOutputMenu (ComboBoxEx& box)
{
    for (int output = 1; output <= plugin.getNumOutputs(); ++output)
        box.getMenu().addItem (output, juce::String (output));
}

void DrumMachineEditor::OutputsSettingsComponent::show (ComboBoxEx& box, int id)
{
    if (box.getSelectedId() == id)
        return;

    box.setSelectedId (id);
    box.updateText();
}

void DrumMachineEditor::OutputsSettingsComponent::updateFromPlugin()
{
    typeChoice.setSelectedIndex (plugin.getDefaultOutputMode(), false);

    for (int voice = 0; voice < outputBoxes.size(); ++voice)
        show (*outputBoxes[voice], plugin.getDefaultOutputNumber (voice));

    if (auto* core = plugin.getCore())
        show (sourceBox, core->isTriggerOutEnabled() ? core->getTriggerOutInstrument() : noTriggerSource);

    show (triggerOutputBox, plugin.getTriggerOutput());
}

void DrumMachineEditor::OutputsSettingsComponent::stateLoaded()
{
    updateFromPlugin();
}

void DrumMachineEditor::OutputsSettingsComponent::radioButtonsChanged (RadioButtons* radioButtons)
{
    if (radioButtons == &typeChoice)
        plugin.setDefaultOutputMode (typeChoice.getSelectedIndex());
}

void DrumMachineEditor::OutputsSettingsComponent::comboBoxExChanged (ComboBoxEx* comboBox)
{
    const int id = comboBox->getSelectedId();

    if (comboBox == &sourceBox)
    {
        if (auto* core = plugin.getCore())
        {
            // Other ids only switch the pulse; the last source voice is kept.
            if (juce::isPositiveAndBelow (id, DrumVoiceNames::numTracks))
                core->setTriggerOutInstrument (id);

            core->setTriggerOutEnabled (id != noTriggerSource);
            core->updateTriggerOut();
        }
    }
    else if (comboBox == &triggerOutputBox)
    {
        plugin.setTriggerOutput (id);
    }
    else
    {
        const int voice = outputBoxes.indexOf (comboBox);

        if (voice >= 0)
            plugin.setDefaultOutputNumber (voice, id);
    }
}

void DrumMachineEditor::OutputsSettingsComponent::buttonClicked (juce::Button* button)
{
    if (button != &setFromCurrentButton)
        return;

    for (int voice = 0; voice < outputBoxes.size(); ++voice)
        plugin.setDefaultOutputNumber (voice, plugin.getOutputNumber (voice));

    updateFromPlugin();
}

void DrumMachineEditor::OutputsSettingsComponent::resized()
{
    const int w = getWidth();
    const int half = w / 2 - 3;

    assignmentsPanel.setFixedWidth (w);
    assignmentsPanel.setTopLeftPosition (0, 0);

    typeChoice.setBounds (0, assignmentsPanel.getBottom() + 10, half, typeChoice.getHeight());
    typeNote.setBounds (0, typeChoice.getBottom() + 4, half, 15);

    triggerPanel.setFixedWidth (half);
    triggerPanel.setTopLeftPosition (w / 2 + 3, typeChoice.getY());
}
