#pragma once

#include "drummachine/DrumMachineConstants.h"
#include "drummachine/StateOwner.h"

class ParameterManager;

/** Mirrors the drum machine's modes, selection and edited pattern into its internal
    parameters, which the panel shows. Publishing only shows: the drum machine's
    listener sees isPublishing() and leaves its members alone. Message thread. */
class StatePublisher : public DrumMachineConstants
{
public:
    StatePublisher (StateOwner& owner, ParameterManager& store);

    /** Adds the internal parameters, each at its start value. */
    void registerParameters();

    /** Sets an internal parameter with notification. */
    void publish (int uid, float value);
    void publishBool (int uid, bool value) { publish (uid, value ? 1.0f : 0.0f); }
    void publishText (int uid, const juce::String& text);
    bool isPublishing() const noexcept { return publishing; }

    void updateInternalSequencerState();
    void updateInternalSyncState();
    void updateHostModeState();
    void updateNoteOffState();
    void updateWriteModeState();
    void updateAutoFollowState();
    void updateLengthModeState();
    void updateRandomizerState();
    void updateTapModeState();
    void updatePatternNumber();
    void updatePatternNameState();
    void updateStepLengthStates();
    void updateTempoState();
    void updateScaleStates();
    void updatePatternDisplay();
    void updateStepBlinkingStates();

    /** Each step's value common to the selected tracks (1 accent, 0.5 normal, 0 other),
        all lit in length mode. */
    void publishSelectedStepStates();

    /** Whether the native player can start from the panel. */
    void publishNativeModeReady();

private:
    void publishStepLengthStates (int length, bool show);

    StateOwner& owner;
    ParameterManager& store;
    bool publishing = false;
};
