#pragma once

#include "generated/PulsaretIds.h"

/** The numbers the drum machine and its collaborators share: the internal parameters
    it publishes its state in (which the description files do not hold), the
    parameters of the description it reads, and the choices stored in its settings. The drum machine derives from it, so the names read
    as members of the drum machine too. */
struct DrumMachineConstants
{
    enum HostPlayDetection
    {
        byTransportChange = 0,
        byLowestCNoteOn = 1
    };

    enum DrumMapSource
    {
        factoryDrumMap = 0,
        userDrumMap = 1
    };

    // Internal state parameters.
    enum InternalParameter
    {
        internalSequencerStateUid = 3000,
        internalSyncStateUid = 3001,
        hostModeStateUid = 3002,
        noteOffStateUid = 3003,
        playStateUid = 3004,
        writeModeStateUid = 3005,
        writeModeActivityUid = 3006,
        autoFollowStateUid = 3007,
        randomizerStateUid = 3008,
        randomizerActiveAndFilledUid = 3009,
        randomizerActiveButNotFilledUid = 3010,
        lengthModeStateUid = 3011,
        tapModeStateUid = 3012,
        flamModeStateUid = 3013,
        nativeModeReadyStateUid = 3014,
        instrumentSelectionUid = 3015,
        instrumentSelectionAccentFirstUid = 3016,
        clipboardTracksStateUid = 3017,
        clipboardPatternStateUid = 3018,
        patternScale6StateUid = 3019,
        patternNumberUid = 3023,
        patternNameUid = 3024,
        patternNameEditionStateUid = 3025,
        patternTempoStateUid = 3026,
        patternTempoUid = 3027,
        patternShuffleUid = 3028,
        patternFlamUid = 3029,
        stepLengthStateUid = 3030,
        stepStateUid = 3046,
        stepBlinkingUid = 3078,
        lastInternalParameterUid = 3093
    };

    // Parameters of the description that the drum machine uses.
    static constexpr int accentLevelUid = ParameterId::accentLevel;
    static constexpr int firstMuteUid = ParameterId::firstMute;
    static constexpr int firstSoloUid = ParameterId::firstSolo;
    static constexpr int firstRandThresholdUid = ParameterId::firstRandThreshold;
    static constexpr int firstOutputNumberUid = ParameterId::firstOutputNumber;
    static constexpr int firstRandStateUid = ParameterId::firstRandState;
    static constexpr int firstSelectionUid = ParameterId::firstSelection;
    static constexpr int firstRandSelectionUid = ParameterId::firstRandSelection;

    // The host's 96 patterns answer to these keys.
    static constexpr int firstHostPatternKey = 12;
    static constexpr int lastHostPatternKey = 107;

    // Scales in the order of their states and events: 6, 3, 8, 4 steps per beat.
    static constexpr int numScales = 4;
    static constexpr int scales[numScales] = {6, 3, 8, 4};
};
