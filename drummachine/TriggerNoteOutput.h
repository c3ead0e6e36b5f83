#pragma once

#include "drummachine/DrumMap.h"
#include "drummachine/DrumVoiceNames.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>

/** The MIDI notes that mirror the voices struck in a block: a note-on on every key
    that the drum map gives the voice, ended by a note-off at the voice's next strike
    or when the notes are released. Remembers which voice sounds on each key, so that
    every note-on gets its note-off even when the drum map changes meanwhile.

    Audio thread. The buffer is sized by prepare; a block never allocates: an event
    beyond the room reserved is dropped. */
class TriggerNoteOutput
{
public:
    /** Room for the notes of a block: far more than seven voices struck on every step
        of a block ever send. */
    static constexpr int bytesReserved = 64 * 1024;

    TriggerNoteOutput();

    /** Reserves the room of a block and forgets the notes of the last one. */
    void prepare();

    /** Starts a block's notes at its first sample. Note-ons are sent only when
        sendNotes (the internal sequencer plays); note-offs always. */
    void beginBlock (bool sendNotes) noexcept;

    /** The notes that follow belong to the next sample of the block. */
    void advanceSample() noexcept { ++sampleCounter; }

    /** Ends the voice's notes, then sounds it on each of its keys (ascending). */
    void noteOn (int instrument, float velocity, const DrumMap& drumMap) noexcept;

    /** Ends the notes the voice sounds, whatever the drum map says now. */
    void noteOff (int instrument) noexcept;
    void releaseAll() noexcept;

    /** Adds the block's notes to the host's MIDI; when replace, they take the place of
        what the host sent. */
    void passTo (juce::MidiBuffer& midi, bool replace) const;

    /** The instrument whose note sounds on the key, or DrumMap::noInstrument. */
    int getSoundingInstrument (int key) const noexcept;

    const juce::MidiBuffer& getNotes() const noexcept { return notes; }

    /** Velocity 0 to 1 as a note-on's byte: never 0, which would be a note-off. */
    static int velocityByte (float velocity) noexcept;

private:
    void add (juce::uint8 status, int key, int velocity) noexcept;

    juce::MidiBuffer notes;
    int bytesUsed = 0, capacity = 0;
    int sampleCounter = 0;
    bool sending = false;

    std::array<int, DrumMap::numKeys> soundingKeys;
};
