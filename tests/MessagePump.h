#pragma once

#include <juce_events/juce_events.h>

namespace juce
{
// JUCE's own dispatcher of one message; stopping the dispatch loop cannot be undone,
// so tests that pump more than once per process use this instead.
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce

/** Delivers every message already posted to the message thread (call it on the main thread). */
inline void pumpPendingMessages()
{
    while (juce::dispatchNextMessageOnSystemQueue (true))
    {
    }
}
