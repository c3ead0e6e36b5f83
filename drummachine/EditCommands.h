#pragma once

#include "drummachine/DrumVoiceNames.h"
#include "drummachine/EditCommandsOwner.h"

#include <juce_core/juce_core.h>

#include <array>

class ParameterManager;

/** The panel's commands: the track selection, the clipboard, step presses, shifts,
    random edits and taps, and the table that routes each event of the panel to its
    handler. Edits of the sequencer's patterns happen here; the owner publishes what
    changed. Message thread only: the tap buffer and the start/stop request are the
    only values handed to the audio thread, and a whole pasted pattern is swapped
    under the callback lock. */
class EditCommands
{
public:
    static constexpr int numInstruments = DrumVoiceNames::numInstruments;
    static constexpr int numTracks = DrumVoiceNames::numTracks;
    static constexpr int accentTrack = DrumVoiceNames::accentTrack;

    /** The store holds the mute and solo parameters the voices' buttons flip. */
    EditCommands (EditCommandsOwner& owner, ParameterManager& parameters, const juce::CriticalSection& callbackLock);

    /** False, changing nothing, for a number that is none of the panel's. */
    bool handleEvent (int uid);

    void selectInstrument (int track);
    void setRandomizer (bool on);
    void setTapMode (bool on);
    void pressStep (int step);
    void copyTracks();
    void pasteTracks();
    void clearClipboard();
    void tapSelected (int value);
    void tapTrack (int track, int value);

    /** The selection parameters, shown only while editing outside tap mode. */
    void publishSelection();

    bool isTrackSelected (int track) const;
    int getSelectedRandomTrack() const noexcept { return selectedRandomTrack; }
    void setSelectedRandomTrack (int track) noexcept { selectedRandomTrack = track; }
    bool isClipboardTracksFilled() const noexcept { return clipboardTracksFilled; }
    bool isClipboardPatternFilled() const noexcept { return clipboardPatternFilled; }

private:
    using Mode = EditCommandsOwner::Mode;
    using Display = EditCommandsOwner::Display;
    using Handler = void (EditCommands::*) (int uid);

    struct Route
    {
        int first, last;
        Handler handler;
    };

    static const Route routes[];

    bool on (Mode mode) const { return owner.isModeOn (mode); }
    bool isEditing() const { return owner.isEditing(); }
    bool isRandomizerFilled() const;
    bool isRandomizerActiveAndFilled() const { return isEditing() && on (Mode::randomizer) && isRandomizerFilled(); }
    bool isAutoFollowActive() const { return owner.isAutoFollowActive(); }
    int countSelected() const;

    static int getFirstVoiceSwitchUid (int uid);
    static int getVoiceOfSwitchEvent (int uid);
    void flipVoiceSwitch (int uid);
    void flipVoiceSwitchAlone (int uid);
    bool chooseRandomTrack (int track);
    void selectTrackFromPanel (int uid);
    void toggleSelectionFromPanel (int uid);
    void tapTrackFromPanel (int uid);
    void toggleInternalSequencer (int uid);
    void toggleSequencerMode (int uid);
    void togglePatternWriteMode (int uid);
    void toggleAutoFollow (int uid);
    void toggleRandomizer (int uid);
    void toggleLengthMode (int uid);
    void toggleTapMode (int uid);
    void toggleFlamMode (int uid);
    void requestStartOrStop (int uid);
    void tapSelectedFromPanel (int uid);
    void shiftTracks (int uid);
    void previousOrNext (int uid);
    void acceptRandomization (int uid);
    void undoOrClearClipboard (int uid);
    void copyTracksFromPanel (int uid);
    void copyPattern (int uid);
    void paste (int uid);
    void clearTracksOrClipboard (int uid);
    void clearAllInstruments (int uid);
    void pressStepFromPanel (int uid);
    void selectScale (int uid);

    EditCommandsOwner& owner;
    ParameterManager& parameters;
    const juce::CriticalSection& callbackLock;

    int selectedRandomTrack = 0;
    std::array<bool, numTracks> trackSelection{};
    bool clipboardTracksFilled = false, clipboardPatternFilled = false;
    std::array<bool, numTracks> clipboardTrackMarks{};
    int clipboardTrackCount = 0;

    JUCE_DECLARE_NON_COPYABLE (EditCommands)
};
