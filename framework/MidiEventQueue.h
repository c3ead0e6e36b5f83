#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

/** Hands out a block's MIDI events in time order as the sample position reaches them,
    and carries events beyond the block's end into the next block. Audio thread only. */
class MidiEventQueue
{
public:
    MidiEventQueue();

    /** Reserves room for this many bytes of events, so adding does not allocate. */
    void prepare (int numBytes);

    /** Forgets every event, those carried over from the last block included. */
    void clear();

    /** Adds the buffer's events after any carried over; negative times are dropped. */
    void addEvents (const juce::MidiBuffer& buffer);

    /** Ends a block: events at numSamples or later move into the next block, earlier by numSamples. */
    void advance (int numSamples);

    /** The next event due at samplePosition, if any; call again until it returns false,
        since several events may share a sample. An event due earlier that was not read
        in time is handed out now rather than holding back every later one. */
    bool getNextEvent (int samplePosition, juce::MidiMessageMetadata& event);

    /** The sample position of an event already read but not yet due, or -1. */
    int getPendingTime() const noexcept { return pending ? pendingTime : -1; }
    bool hasMoreEvents() const noexcept { return hasMore || pending; }

private:
    void reset();

    juce::MidiBuffer buffers[2];
    int current = 0;
    juce::MidiBufferIterator reader;
    bool hasMore = false, pending = false;
    int pendingTime = -1;
    juce::MidiMessageMetadata pendingEvent;
};
