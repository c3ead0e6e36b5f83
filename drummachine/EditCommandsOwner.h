#pragma once

class DrumMachineSeq;

/** What the panel's commands need of the instrument that owns them: the sequencer
    they edit, the modes they read and flip, the start and stop request they hand to
    the next block, and the displays that publish their results. Message thread only.

    The events of the panel (the numbers from 3000 that the instrument registers
    itself) are named here because the commands are what they mean. */
class EditCommandsOwner
{
public:
    // Events of the drum machine.
    enum Event
    {
        toggleInternalSequencerEvent = 3000,
        toggleInternalSyncEvent,
        toggleHostModeEvent,
        toggleNoteOffModeEvent,
        togglePatternWriteModeEvent,
        toggleAutoFollowModeEvent,
        toggleRandomizerEvent,
        toggleLengthModeEvent,
        toggleTapModeEvent,
        toggleFlamModeEvent,
        startStopEvent,
        startEvent,
        stopEvent,
        tapEvent,
        tapAccentedEvent,
        shiftLeftEvent,
        shiftRightEvent,
        shiftLeftAllTracksEvent,
        shiftRightAllTracksEvent,
        prevEvent,
        nextEvent,
        acceptEvent,
        undoEvent,
        copyTracksEvent,
        copyPatternEvent,
        pasteEvent,
        clearEvent,
        clearAllInstrumentsEvent,
        loadPatternsEvent,
        savePatternsEvent,
        pressStepEvent = 3030,
        pressStepWithCtrlEvent = 3046,
        selectScale6Event = 3062,
        selectScale3Event,
        selectScale8Event,
        selectScale4Event
    };

    enum class Mode
    {
        internalSequencer,
        internalSync,
        host,
        noteOff,
        patternWrite,
        autoFollow,
        randomizer,
        length,
        tap,
        flam
    };

    /** The owner's publishers the commands call after a change. */
    enum class Display
    {
        randomizer,
        tapMode,
        lengthMode,
        selection,
        steps,
        pattern,
        stepLengths,
        scales,
        flamMode
    };

    virtual ~EditCommandsOwner() = default;

    /** Null until the owner has made it; the commands then do nothing. */
    virtual DrumMachineSeq* getEditedSequencer() const = 0;

    virtual bool isModeOn (Mode mode) const = 0;

    /** The panel edits patterns: the internal sequencer plays, in pattern write or host mode. */
    bool isEditing() const { return isModeOn (Mode::internalSequencer) && (isModeOn (Mode::patternWrite) || isModeOn (Mode::host)); }

    /** Auto follow (or tapping) chooses the edited pattern itself. */
    bool isAutoFollowActive() const { return isEditing() && !isModeOn (Mode::length) && (isModeOn (Mode::autoFollow) || isModeOn (Mode::tap)); }

    /** Through the owner's setter of the mode, which publishes it (the commands use it
        for the internal sequencer, internal sync, host, note-off, pattern write and
        auto follow modes). */
    virtual void changeMode (Mode mode, bool on) = 0;

    /** Only the flag of the randomizer, length, tap or flam mode: the commands publish
        the change themselves, in their own order. */
    virtual void setModeFlag (Mode mode, bool on) = 0;

    /** Whether the native clock ran at the end of the last block. */
    virtual bool isNativeClockOn() const = 0;

    /** Carried out by the next block. */
    virtual void requestTransport (bool start) = 0;

    virtual void updateDisplay (Display display) = 0;

    virtual void publishClipboard (bool tracksFilled, bool patternFilled) = 0;
    virtual void publishTrackSelection (int track, bool shown) = 0;
    virtual void publishSelectedInstrument (int track) = 0;
};
