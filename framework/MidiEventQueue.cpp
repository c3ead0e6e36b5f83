#include "framework/MidiEventQueue.h"

MidiEventQueue::MidiEventQueue()
    : reader (buffers[0].cbegin())
{
    reset();
}

void MidiEventQueue::prepare (int numBytes)
{
    for (auto& b : buffers)
        b.ensureSize ((size_t) juce::jmax (0, numBytes));
}

void MidiEventQueue::clear()
{
    for (auto& b : buffers)
        b.clear();

    current = 0;
    reset();
}

void MidiEventQueue::reset()
{
    reader = buffers[current].cbegin();
    pendingTime = -1;
    pending = false;
    hasMore = reader != buffers[current].cend();
}

void MidiEventQueue::addEvents (const juce::MidiBuffer& buffer)
{
    auto& target = buffers[current];

    for (const auto event : buffer)
        if (event.samplePosition >= 0)
            target.addEvent (event.data, event.numBytes, event.samplePosition);

    reset();
}

void MidiEventQueue::advance (int numSamples)
{
    auto& spare = buffers[1 - current];
    spare.clear();

    for (const auto event : buffers[current])
        if (event.samplePosition >= numSamples)
            spare.addEvent (event.data, event.numBytes, event.samplePosition - numSamples);

    buffers[current].clear();
    current = 1 - current;
    reset();
}

bool MidiEventQueue::getNextEvent (int samplePosition, juce::MidiMessageMetadata& event)
{
    while (hasMore || pending)
    {
        if (!pending)
        {
            if (reader == buffers[current].cend())
            {
                hasMore = false;
                return false;
            }

            pendingEvent = *reader;
            ++reader;
            pendingTime = pendingEvent.samplePosition;
            hasMore = reader != buffers[current].cend();
        }

        if (pendingTime > samplePosition)
        {
            pending = true;
            return false;
        }

        pending = false;
        event = pendingEvent;
        return true;
    }

    return false;
}
