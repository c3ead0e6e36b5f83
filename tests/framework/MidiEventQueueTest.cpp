#include "framework/MidiEventQueue.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
struct Handled
{
    int block, sample, note;
    bool operator== (const Handled& o) const { return block == o.block && sample == o.sample && note == o.note; }
};

std::ostream& operator<< (std::ostream& os, const Handled& h)
{
    return os << "{" << h.block << ", " << h.sample << ", " << h.note << "}";
}

void addNote (juce::MidiBuffer& buffer, int note, int time)
{
    buffer.addEvent (juce::MidiMessage::noteOn (1, note, (juce::uint8) 100), time);
}

// Reads the queue the way block processing does: every sample, every event due there.
void readBlock (MidiEventQueue& queue, int block, int numSamples, std::vector<Handled>& handled, int firstSample = 0)
{
    juce::MidiMessageMetadata event;

    for (int p = firstSample; p < numSamples; ++p)
        while (queue.getNextEvent (p, event))
            handled.push_back ({block, p, juce::MidiMessage (event.data, event.numBytes).getNoteNumber()});

    queue.advance (numSamples);
}
} // namespace

TEST (MidiEventQueue, EventsAreHandledAtTheirSampleAndCarriedAcrossBlocks)
{
    MidiEventQueue queue;
    queue.prepare (4096);
    std::vector<Handled> handled;

    juce::MidiBuffer first;
    addNote (first, 36, 0);
    addNote (first, 38, 100);
    addNote (first, 40, 100);
    addNote (first, 42, 700);
    addNote (first, 44, -3);
    addNote (first, 46, 1100);
    queue.addEvents (first);
    readBlock (queue, 0, 512, handled);

    juce::MidiBuffer second;
    addNote (second, 48, 188);
    addNote (second, 50, 5);
    queue.addEvents (second);
    EXPECT_EQ (queue.getPendingTime(), -1);
    readBlock (queue, 1, 512, handled);

    queue.addEvents ({});
    readBlock (queue, 2, 512, handled);
    queue.addEvents ({});
    readBlock (queue, 3, 512, handled);

    const std::vector<Handled> expected{
        {0, 0, 36},
        {0, 100, 38},
        {0, 100, 40}, // same sample, buffer order
        {1, 5, 50},
        {1, 188, 42}, // 700 in a block of 512: sample 188 of the next
        {1, 188, 48}, // carried events come before new ones at the same time
        {2, 76, 46},  // 1100 - 1024
    };
    EXPECT_EQ (handled, expected);
    EXPECT_FALSE (queue.hasMoreEvents());
}

TEST (MidiEventQueue, PendingEventWaitsForItsSample)
{
    MidiEventQueue queue;
    juce::MidiBuffer buffer;
    addNote (buffer, 60, 10);
    queue.addEvents (buffer);

    juce::MidiMessageMetadata event;
    EXPECT_FALSE (queue.getNextEvent (0, event));
    EXPECT_EQ (queue.getPendingTime(), 10);
    EXPECT_TRUE (queue.hasMoreEvents());
    EXPECT_FALSE (queue.getNextEvent (9, event));
    ASSERT_TRUE (queue.getNextEvent (10, event));
    EXPECT_EQ (event.samplePosition, 10);
    EXPECT_FALSE (queue.getNextEvent (10, event));
    EXPECT_FALSE (queue.hasMoreEvents());
}

TEST (MidiEventQueue, AnEventBehindTheReadPositionDoesNotBlockLaterOnes)
{
    MidiEventQueue queue;
    std::vector<Handled> handled;

    juce::MidiBuffer buffer;
    addNote (buffer, 36, 3);
    addNote (buffer, 38, 50);
    queue.addEvents (buffer);

    // Reading starts after the first event's time: it is handed out late, not lost,
    // and the later event still arrives at its own sample.
    readBlock (queue, 0, 64, handled, 10);

    const std::vector<Handled> expected{{0, 10, 36}, {0, 50, 38}};
    EXPECT_EQ (handled, expected);
}
