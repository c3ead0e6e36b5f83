#include "drummachine/StatePublisher.h"

#include "framework/BoolParameter.h"
#include "framework/FloatParameter.h"
#include "framework/IntParameter.h"
#include "framework/ParameterManager.h"
#include "framework/StringParameter.h"
#include "sequencer/DrumMachineSeq.h"

namespace
{
constexpr int numSteps = DrumMachineSeq::numSteps;
constexpr int numTracks = DrumMachineSeq::numTracks;

const char* const boolStateNames[] = {"Internal Sequencer State", "Internal Sync State", "Host Mode State",
                                      "Note Off State", "Play State", "Write Mode State", "Write Mode Activity",
                                      "Auto Follow State", "Randomizer State", "Randomizer Active And Filled",
                                      "Randomizer Active But Not Filled", "Length Mode State", "Tap Mode State",
                                      "Flam Mode State", "Native Mode Ready State"};

juce::String twoDigits (int n)
{
    return juce::String (n).paddedLeft ('0', 2);
}
} // namespace

StatePublisher::StatePublisher (StateOwner& o, ParameterManager& s)
    : owner (o)
    , store (s)
{
}

void StatePublisher::registerParameters()
{
    for (int i = 0; i < (int) std::size (boolStateNames); ++i)
        store.addParameter (std::make_unique<BoolParameter> (internalSequencerStateUid + i, boolStateNames[i], BoolParameter::trueFalse));

    store.addParameter (std::make_unique<IntParameter> (instrumentSelectionUid, "Instrument Selection", 0, 7, 0));
    store.addParameter (std::make_unique<IntParameter> (instrumentSelectionAccentFirstUid, "Instrument Selection With Accent First", 0, 7, 0));
    store.addParameter (std::make_unique<BoolParameter> (clipboardTracksStateUid, "Clipboard Tracks State", BoolParameter::trueFalse));
    store.addParameter (std::make_unique<BoolParameter> (clipboardPatternStateUid, "Clipboard Pattern State", BoolParameter::trueFalse));

    for (int i = 0; i < numScales; ++i)
        store.addParameter (std::make_unique<BoolParameter> (patternScale6StateUid + i,
                                                             "Pattern Scale " + juce::String (scales[i]) + " SPB State",
                                                             BoolParameter::trueFalse));

    store.addParameter (std::make_unique<IntParameter> (patternNumberUid, "Pattern Number", 0, 127, 0));
    store.addParameter (std::make_unique<StringParameter> (patternNameUid, "Pattern Name", juce::String()));
    store.addParameter (std::make_unique<BoolParameter> (patternNameEditionStateUid, "Pattern Name Edition State", BoolParameter::trueFalse));
    store.addParameter (std::make_unique<BoolParameter> (patternTempoStateUid, "Pattern Tempo State", BoolParameter::trueFalse));
    store.addParameter (std::make_unique<FloatParameter> (patternTempoUid, "Pattern Tempo", 30.0f, 300.0f, 120.0f));
    store.addParameter (std::make_unique<FloatParameter> (patternShuffleUid, "Pattern Shuffle", 0.0f, 0.8f, 0.0f));
    store.addParameter (std::make_unique<FloatParameter> (patternFlamUid, "Pattern Flam", 0.121f, 0.383f, 0.121f));

    for (int n = 1; n <= numSteps; ++n)
        store.addParameter (std::make_unique<BoolParameter> (stepLengthStateUid + n - 1, "Step " + twoDigits (n) + " Length State",
                                                             BoolParameter::trueFalse));

    for (int n = 1; n <= numSteps; ++n)
        store.addParameter (std::make_unique<FloatParameter> (stepStateUid + n - 1, "Step " + twoDigits (n) + " State", 0.0f, 1.0f, 0.0f));

    for (int n = 1; n <= numSteps; ++n)
        store.addParameter (std::make_unique<BoolParameter> (stepBlinkingUid + n - 1, "Step " + twoDigits (n) + " Blinking",
                                                             BoolParameter::trueFalse));
}

//==============================================================================
void StatePublisher::publish (int uid, float value)
{
    const juce::ScopedReadLock sl (store.getLock());

    if (auto* parameter = store.getParameter (uid))
    {
        const juce::ScopedValueSetter<bool> svs (publishing, true);
        parameter->setValue (value, true);
    }
}

void StatePublisher::publishText (int uid, const juce::String& text)
{
    const juce::ScopedReadLock sl (store.getLock());

    if (auto* parameter = store.getParameter (uid))
    {
        const juce::ScopedValueSetter<bool> svs (publishing, true);
        parameter->setText (text, true);
    }
}

void StatePublisher::publishNativeModeReady()
{
    publishBool (nativeModeReadyStateUid, owner.isInternalSequencerOn() && !owner.isPatternWriteModeOn() && !owner.isHostModeOn() && !owner.isNativeClockRunning());
}

void StatePublisher::updateInternalSequencerState()
{
    publishBool (internalSequencerStateUid, owner.isInternalSequencerOn());
    owner.refreshHostDisplay();
    updateInternalSyncState();
    updateHostModeState();
    updateNoteOffState();
    updateWriteModeState();
    updateTempoState();
    updateScaleStates();
    updatePatternNumber();
    publishNativeModeReady();
    updateStepBlinkingStates();
}

void StatePublisher::updateInternalSyncState()
{
    publishBool (internalSyncStateUid, owner.isInternalSequencerOn() && owner.isInternalSyncOn());
    updateTempoState();
}

void StatePublisher::updateHostModeState()
{
    publishBool (hostModeStateUid, owner.isInternalSequencerOn() && owner.isHostModeOn());
    owner.refreshHostDisplay();
    updateWriteModeState();
    updatePatternNameState();
    updatePatternNumber();
    publishNativeModeReady();
    updateTempoState();
    updateScaleStates();
}

void StatePublisher::updateNoteOffState()
{
    publishBool (noteOffStateUid, owner.isInternalSequencerOn() && owner.isNoteOffModeOn());
}

void StatePublisher::updateWriteModeState()
{
    const bool editing = owner.isEditing();
    auto* sequencer = owner.getSequencer();

    if (editing && sequencer != nullptr)
    {
        bool moved = false;

        if (owner.isHostModeOn())
            moved = sequencer->followHostPattern();
        else if (owner.isNativeClockRunning())
            moved = sequencer->followNativePattern();
        else
            moved = sequencer->editChainStart();

        if (moved)
            updatePatternDisplay();
    }

    updateAutoFollowState();
    updateRandomizerState();
    updateLengthModeState();
    updateTapModeState();
    publishBool (flamModeStateUid, owner.isFlamModeActive());
    owner.setTrackSelectionParameters();
    updateStepLengthStates();
    owner.updateStepDisplay();
    updatePatternNumber();
    updatePatternNameState();
    publishBool (patternNameEditionStateUid, editing);
    updateTempoState();
    publishNativeModeReady();
    updateStepBlinkingStates();
    publishBool (writeModeStateUid, editing);
    publishBool (writeModeActivityUid, owner.isInternalSequencerOn() && !owner.isHostModeOn());
}

void StatePublisher::updateAutoFollowState()
{
    publishBool (autoFollowStateUid, owner.isAutoFollowActive());
    publishBool (patternNameEditionStateUid, owner.isEditing());
}

void StatePublisher::updateLengthModeState()
{
    publishBool (lengthModeStateUid, owner.isLengthModeActive());
    owner.updateStepDisplay();
    updateAutoFollowState();
}

void StatePublisher::updateRandomizerState()
{
    const bool active = owner.isRandomizerActive();
    const bool filled = active && owner.isRandomizerFilled();

    publishBool (randomizerStateUid, active);
    publishBool (randomizerActiveAndFilledUid, filled);
    publishBool (randomizerActiveButNotFilledUid, active && !filled);

    for (int t = 0; t < numTracks; ++t)
    {
        publishBool (firstRandStateUid + t, filled && owner.getSequencer()->isTrackRandomized (t));
        publishBool (firstRandSelectionUid + t, filled && t == owner.getSelectedRandomTrack());
    }

    owner.updateStepDisplay();
}

void StatePublisher::updateTapModeState()
{
    publishBool (tapModeStateUid, owner.isTapModeActive());
    owner.updateStepDisplay();
    updateAutoFollowState();
    owner.setTrackSelectionParameters();
}

void StatePublisher::updatePatternNumber()
{
    int number = 0;
    auto* sequencer = owner.getSequencer();

    // The host's patterns show the key they answer to; the native ones count from 1.
    if (sequencer != nullptr && owner.isInternalSequencerOn())
    {
        if (owner.isHostModeOn())
            number = sequencer->getEditedPatternIndex() + firstHostPatternKey;
        else if (owner.isPatternWriteModeOn())
            number = sequencer->getEditedPatternIndex() + 1;
        else
            number = sequencer->getNativePatternIndex() + 1;
    }

    publish (patternNumberUid, (float) number);
}

void StatePublisher::updatePatternNameState()
{
    juce::String name;
    auto* sequencer = owner.getSequencer();

    if (sequencer != nullptr && owner.isInternalSequencerOn())
        name = owner.isEditing() ? sequencer->getEditedPatternName() : sequencer->getNativePatternName();

    publishText (patternNameUid, name);
}

void StatePublisher::publishStepLengthStates (int length, bool show)
{
    for (int n = 1; n <= numSteps; ++n)
        publishBool (stepLengthStateUid + n - 1, show && n <= length);
}

void StatePublisher::updateStepLengthStates()
{
    auto* sequencer = owner.getSequencer();

    if (sequencer == nullptr)
        return;

    publishStepLengthStates (owner.isEditing() ? sequencer->getEditedPatternLength() : sequencer->getNativePatternLength(),
                             owner.isInternalSequencerOn());
}

void StatePublisher::updateTempoState()
{
    float tempo = 0.0f;
    auto* sequencer = owner.getSequencer();

    if (sequencer != nullptr && owner.isInternalSequencerOn())
        tempo = (float) (owner.isEditing() ? sequencer->getEditedPatternTempo() : sequencer->getNativePatternTempo());

    // Below the parameter's range when off, so the store keeps its lowest value.
    publish (patternTempoUid, tempo);
    publishBool (patternTempoStateUid, owner.isEditing() && owner.isInternalSyncOn());
}

void StatePublisher::updateScaleStates()
{
    int scale = 0;
    auto* sequencer = owner.getSequencer();

    if (sequencer != nullptr && owner.isInternalSequencerOn())
        scale = owner.isEditing() ? sequencer->getEditedPatternScale() : sequencer->getNativePatternScale();

    for (int i = 0; i < numScales; ++i)
        publishBool (patternScale6StateUid + i, scale == scales[i]);
}

void StatePublisher::publishSelectedStepStates()
{
    auto* sequencer = owner.getSequencer();

    for (int n = 0; n < numSteps; ++n)
    {
        float value = 0.0f;

        if (sequencer != nullptr && owner.isEditing() && !owner.isTapModeActive() && !owner.isLengthModeActive())
        {
            int common = -1;

            for (int t = 0; t < numTracks; ++t)
            {
                if (!owner.isTrackSelected (t))
                    continue;

                const int v = n < sequencer->getEditedPatternLength() ? sequencer->getStepValue (t, n) : 0;
                common = common < 0 ? v : (common == v ? common : 0);
            }

            value = common == DrumMachineSeq::getAccentStepValue() ? 1.0f : common == DrumMachineSeq::getNormalStepValue() ? 0.5f
                                                                                                                           : 0.0f;
        }
        else if (owner.isLengthModeActive())
        {
            value = 1.0f;
        }

        publish (stepStateUid + n, value);
    }
}

void StatePublisher::updatePatternDisplay()
{
    auto* sequencer = owner.getSequencer();

    if (sequencer == nullptr)
        return;

    owner.updateStepDisplay();
    updateStepLengthStates();
    updatePatternNumber();
    updatePatternNameState();
    publish (patternFlamUid, (float) sequencer->getEditedPatternFlam());
    publish (patternShuffleUid, (float) sequencer->getEditedPatternShuffle());
    updateTempoState();
    updateScaleStates();
    publishNativeModeReady();
    updateStepBlinkingStates();
}

void StatePublisher::updateStepBlinkingStates()
{
    const bool length = owner.isLengthModeActive();
    const bool editing = owner.isEditing();
    auto* sequencer = owner.getSequencer();

    for (int n = 0; n < numSteps; ++n)
        publishBool (stepBlinkingUid + n, length || (!editing && sequencer != nullptr && sequencer->isCurrentPatternButton (n)));
}
