#pragma once

#include "framework/PolledUpdater.h"

#include <juce_events/juce_events.h>

namespace juce
{
// JUCE's own dispatcher of one message; stopping the dispatch loop cannot be undone,
// so tests that pump more than once per process use this instead.
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce

/** Delivers every message already posted to the message thread and every update handed
    over to it (call it on the main thread). */
inline void pumpPendingMessages()
{
    do
    {
        while (juce::dispatchNextMessageOnSystemQueue (true))
        {
        }
    } while (PolledUpdater::deliverPendingUpdates());
}

/** Runs the message loop for a while, so that notifications on timers arrive, then delivers
    whatever is still pending: a loaded machine may spend the whole while elsewhere. */
inline void pumpMessagesFor (int milliseconds)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) milliseconds;

    while (juce::Time::getMillisecondCounter() < end)
        if (! juce::dispatchNextMessageOnSystemQueue (true) && ! PolledUpdater::deliverPendingUpdates())
            juce::Thread::sleep (1);

    pumpPendingMessages();
}
