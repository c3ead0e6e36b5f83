#include "editor/DrumMachineEditor.h"

#include "drummachine/DrumVoiceNames.h"
#include "editor/DrumMapSettingsComponent.h"
#include "editor/OptionsWindow.h"
#include "editor/OutputsSettingsComponent.h"
#include "editor/PatternsSettingsComponent.h"
#include "editor/SequencerSettingsComponent.h"
#include "gui/widgets/GFXAnimation.h"
#include "gui/widgets/GFXButton.h"
#include "gui/widgets/GFXDisplay.h"
#include "gui/widgets/GFXKnob.h"
#include "gui/widgets/GFXMultiStateButton.h"
#include "gui/widgets/NumericDisplay.h"
#include "gui/widgets/PatternNumberDisplay.h"

namespace
{
constexpr int nativeModeReadyBlinkMs = 200;

constexpr int firstStepBlinkingUid = DrumMachine::stepBlinkingUid;

/** The skin's name of a track: the long voice name without spaces. */
juce::String getTrackName (int track)
{
    return DrumVoiceNames::getName (track).removeCharacters (" ");
}
} // namespace

DrumMachineEditor::DrumMachineEditor (DrumMachine& pluginToUse)
    : BasePluginEditorOldStyle (pluginToUse)
    , drumMachine (pluginToUse)
{
    lookUpWidgets();

    outputsPage = std::make_unique<OutputsSettingsComponent> (drumMachine);
    sequencerPage = std::make_unique<SequencerSettingsComponent> (drumMachine);
    patternsPage = std::make_unique<PatternsSettingsComponent> (drumMachine);
    drumMapPage = std::make_unique<DrumMapSettingsComponent> (drumMachine);
    followDialogFolder (patternFiles, drumMachine);

    if (auto* options = getOptionsWindow())
    {
        options->addTab ("Outputs", outputsPage.get(), 0);
        options->addTab ("Sequencer", sequencerPage.get(), 1);
        options->addTab ("Patterns", patternsPage.get(), 3);
        options->addTab ("Drum map", drumMapPage.get(), 4);
    }

    drumMachine.getHostClock().addListener (this);
    drumMachine.getNativeClock().addListener (this);

    loadMenu.addItem (singlePattern, "Load pattern");
    loadMenu.addItem (patternBank, "Load pattern bank");
    saveMenu.addItem (singlePattern, "Save pattern");
    saveMenu.addItem (patternBank, "Save pattern bank");

    for (auto* menu : {&loadMenu, &saveMenu})
    {
        menu->addListener (this);
        addChildComponent (menu->getComponent());
    }

    if (patternNameDisplay != nullptr)
        patternNameDisplay->addListener (static_cast<GFXDisplayListener*> (this));
}

DrumMachineEditor::~DrumMachineEditor()
{
    drumMachine.getHostClock().removeListener (this);
    drumMachine.getNativeClock().removeListener (this);

    if (patternNameDisplay != nullptr)
        patternNameDisplay->removeListener (static_cast<GFXDisplayListener*> (this));

    outputsPage.reset();
    sequencerPage.reset();
    patternsPage.reset();
    drumMapPage.reset();
}

void DrumMachineEditor::lookUpWidgets()
{
    patternNumberDisplay = findControlAs<PatternNumberDisplay> ("PatternNumberDisplay");
    patternNameDisplay = findControlAs<GFXDisplay> ("PatternNameDisplay");
    tempoDisplay = findControlAs<NumericDisplay> ("TempoDisplay");
    tempoKnob = findControlAs<GFXKnob> ("TempoKnob");
    shuffleKnob = findControlAs<GFXKnob> ("ShuffleKnob");
    randomizerButton = findControlAs<GFXMultiStateButton> ("PattRandModeButton");
    lengthButton = findControlAs<GFXMultiStateButton> ("PattLengthButton");
    previousButton = findControlAs<GFXButton> ("PattPrevButton");
    nextButton = findControlAs<GFXButton> ("PattNextButton");

    for (int track = 0; track < numTracks; ++track)
    {
        const auto name = getTrackName (track);
        const auto t = (size_t) track;
        activityLights[t] = findControlAs<GFXMultiStateButton> (name + "ActivityLed");
        levelKnobs[t] = findControlAs<GFXKnob> (name + "LevelKnob");
        randomThresholdKnobs[t] = findControlAs<GFXKnob> (name + "RandThresholdKnob");
        levelModeLights[t] = findControlAs<GFXAnimation> (name + "LevelModeLed");
        selectButtons[t] = findControlAs<GFXMultiStateButton> (name + "SelectButton");
    }

    for (int step = 0; step < numSteps; ++step)
        stepButtons[(size_t) step] = findControlAs<GFXMultiStateButton> ("Step" + juce::String (step + 1).paddedLeft ('0', 2) + "Button");
}

//==============================================================================
void DrumMachineEditor::setBlinking (BlinkingComponent* widget, bool on)
{
    if (widget == nullptr)
        return;

    if (on && !widget->isBlinking())
        widget->startBlinking();
    else if (!on)
        widget->stopBlinking();
}

void DrumMachineEditor::parameterChanged (Parameter* parameter)
{
    if (parameter == nullptr)
        return;

    const int uid = parameter->getUid();
    const bool value = parameter->getBoolValue();
    auto* status = getStatusBar();

    switch (uid)
    {
        case DrumMachine::internalSequencerStateUid:
            if (patternNumberDisplay != nullptr)
                patternNumberDisplay->setEnabled (value);
            if (patternNameDisplay != nullptr)
                patternNameDisplay->setEnabled (value);
            return;

        case DrumMachine::internalSyncStateUid:
            if (tempoDisplay != nullptr)
                tempoDisplay->setEnabled (value);
            return;

        case DrumMachine::hostModeStateUid:
            if (patternNumberDisplay != nullptr)
                patternNumberDisplay->setDisplayMode (value ? PatternNumberDisplay::noteMode : PatternNumberDisplay::bankAndSlotMode);
            return;

        case DrumMachine::writeModeStateUid:
            if (shuffleKnob != nullptr)
                shuffleKnob->setEnabled (value);
            return;

        case DrumMachine::randomizerStateUid:
            setBlinking (randomizerButton, value);
            if (!value)
                status->clearMessage (hintPriority);
            return;

        case DrumMachine::randomizerActiveAndFilledUid:
            if (value)
                status->setMessage ("Tune the amount of randomised tracks with Level knobs. You may random once again with "
                                    "Prev/Next or Accept/Undo the result.",
                                    hintPriority);
            return;

        case DrumMachine::randomizerActiveButNotFilledUid:
            if (value)
                status->setMessage ("Choose tracks to be randomised. Then you can random a sequence using Prev/Next buttons.",
                                    hintPriority);
            return;

        case DrumMachine::lengthModeStateUid:
            setBlinking (lengthButton, value);
            if (value)
                status->setMessage ("Set pattern length using step buttons.", hintPriority, statusTimeoutMs);
            return;

        case DrumMachine::nativeModeReadyStateUid:
            if (patternNameDisplay != nullptr && value)
                patternNameDisplay->setBlinkInterval (nativeModeReadyBlinkMs);
            setBlinking (patternNameDisplay, value);
            return;

        case DrumMachine::clipboardTracksStateUid:
            if (value)
                status->setMessage ("Tracks have been copied to clipboard.", hintPriority, statusTimeoutMs);
            return;

        case DrumMachine::clipboardPatternStateUid:
            if (value)
                status->setMessage ("Pattern has been copied to clipboard.", hintPriority, statusTimeoutMs);
            return;

        case DrumMachine::patternNameEditionStateUid:
            if (patternNameDisplay != nullptr)
                patternNameDisplay->setEditingAllowed (value);
            return;

        case DrumMachine::patternTempoStateUid:
            if (tempoDisplay != nullptr)
                tempoDisplay->setControlEnabled (value);
            if (tempoKnob != nullptr)
                tempoKnob->setEnabled (value);
            return;

        default:
            break;
    }

    if (uid >= ParameterId::firstRandState && uid < ParameterId::firstRandState + ParameterId::randStateCount)
        setTrackRandomMode (uid - ParameterId::firstRandState, value);
    else if (uid >= ParameterId::firstRandSelection && uid < ParameterId::firstRandSelection + ParameterId::randSelectionCount)
        setBlinking (selectButtons[(size_t) (uid - ParameterId::firstRandSelection)], value);
    else if (uid >= firstStepBlinkingUid && uid < firstStepBlinkingUid + numSteps)
        setBlinking (stepButtons[(size_t) (uid - firstStepBlinkingUid)], value);
}

void DrumMachineEditor::setTrackRandomMode (int track, bool on)
{
    if (!juce::isPositiveAndBelow (track, numTracks))
        return;

    const auto t = (size_t) track;

    if (levelKnobs[t] != nullptr)
        levelKnobs[t]->setVisible (!on);

    if (randomThresholdKnobs[t] != nullptr)
        randomThresholdKnobs[t]->setVisible (on);

    setBlinking (levelModeLights[t], on);
}

//==============================================================================
void DrumMachineEditor::controllerEvent (GUIController* controller, int uid)
{
    switch (uid)
    {
        case DrumMachine::loadPatternsEvent:
            if (drumMachine.isInternalSequencerOn() && previousButton != nullptr)
                loadMenu.getComponent()->showAt (1, {-30, 0}, previousButton);
            return;

        case DrumMachine::savePatternsEvent:
            if (drumMachine.isInternalSequencerOn() && nextButton != nullptr)
                saveMenu.getComponent()->showAt (1, {-30, 0}, nextButton);
            return;

        case EventNameMap::browsePresetsEvent:
        default:
            BasePluginEditorOldStyle::controllerEvent (controller, uid);
            return;
    }
}

void DrumMachineEditor::displayTextChanged (GFXDisplay* display)
{
    if (display != nullptr && display == patternNameDisplay)
    {
        if (auto* sequencer = drumMachine.getSequencer())
            sequencer->setEditedPatternName (display->getText());

        drumMachine.updatePatternNameState();
        drumMachine.updateHostDisplay (juce::AudioProcessorListener::ChangeDetails().withProgramChanged (true));
        return;
    }

    BasePluginEditorOldStyle::displayTextChanged (display);
}

//==============================================================================
void DrumMachineEditor::clockStateChanged (Clock&)
{
    const bool ready = drumMachine.isInternalSequencerOn() && !drumMachine.isPatternWriteModeOn() && !drumMachine.isHostModeOn() && !drumMachine.isNativeClockRunning();

    drumMachine.getParameterManager().setBoolValue (DrumMachine::nativeModeReadyStateUid, ready);
    drumMachine.updateStepBlinkingStates();
    showCurrentStep (readPlayingStep());
}

void DrumMachineEditor::clockTick (Clock&)
{
    showCurrentStep (readPlayingStep());
}

void DrumMachineEditor::showCurrentStep (int step)
{
    for (int i = 0; i < numSteps; ++i)
        if (auto* button = stepButtons[(size_t) i])
            button->setHighlighted (i == step);
}

//==============================================================================
bool DrumMachineEditor::takeMidiActivity()
{
    return drumMachine.takeMidiActivity() != 0;
}

bool DrumMachineEditor::takeTrackActivity (int track)
{
    return drumMachine.takeActivity (track) != 0;
}

int DrumMachineEditor::readPlayingStep()
{
    return drumMachine.getPlayingStep();
}

void DrumMachineEditor::refresh()
{
    BasePluginEditorOldStyle::refresh();

    for (int track = 0; track < numTracks; ++track)
        if (auto* light = activityLights[(size_t) track])
            if (takeTrackActivity (track))
                light->flash (flashMs);

    // The chase light follows the published step even when no clock message came;
    // unchanged buttons are not repainted.
    showCurrentStep (readPlayingStep());
}

//==============================================================================
void DrumMachineEditor::popupMenuItemSelected (PopupMenuEx* menu, int id, bool)
{
    auto* sequencer = drumMachine.getSequencer();

    if (sequencer == nullptr || (id != singlePattern && id != patternBank))
        return;

    const bool single = id == singlePattern;

    // The chooser answers later, and only while this editor (which owns it) exists.
    auto read = [this, id] (const juce::File& file)
    { return readPatternFile (id, file); };
    auto write = [this, id] (const juce::File& file)
    { return writePatternFile (id, file); };

    if (menu == &loadMenu)
        patternFiles.load (single ? "Load single pattern" : "Load pattern bank",
                           single ? sequencer->getPatternFileFilter() : sequencer->getPatternBankFileFilter(), read);
    else if (menu == &saveMenu)
        patternFiles.save (single ? "Save current pattern" : "Save pattern bank",
                           single ? sequencer->getPatternFileExtension() : sequencer->getPatternBankFileExtension(), write);
}

bool DrumMachineEditor::readPatternFile (int kind, const juce::File& file)
{
    if (kind == patternBank)
        return drumMachine.loadPatternBankFile (file);

    auto* sequencer = drumMachine.getSequencer();

    if (sequencer == nullptr || !sequencer->loadPatternFile (sequencer->getEditedPatternIndex(), file))
        return false;

    drumMachine.updatePatternDisplay();
    return true;
}

bool DrumMachineEditor::writePatternFile (int kind, const juce::File& file)
{
    // The sequencer writes a temporary file and moves it into place.
    auto* sequencer = drumMachine.getSequencer();

    return sequencer != nullptr && (kind == singlePattern ? sequencer->savePatternFile (sequencer->getEditedPatternIndex(), file)
                                                          : sequencer->savePatternBankFile (file));
}
