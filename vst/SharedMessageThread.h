#pragma once

#include <juce_events/juce_events.h>

#include <atomic>
#include <thread>

/** The JUCE message thread that every instance in this library shares. Linux hosts run no message loop
    for their plug-ins, so timers, asynchronous updates and the editor live on a thread of our own. The first
    user starts it, the last one stops it and shuts JUCE down, so nothing of ours runs when the host
    unloads the library. */
class SharedMessageThread
{
public:
    /** Starts the thread when this is the first user. False when it could not be started. */
    static bool acquire();

    /** Stops the thread when this was the last user. Never call it with the message manager locked. */
    static void release();

    static int getNumUsers();

private:
    SharedMessageThread();
    ~SharedMessageThread();

    void run();

    // Joined, not merely waited for: when release returns, no code of this library runs on it any more, so
    // the host may unload the library at once.
    std::thread worker;
    juce::WaitableEvent ready;

    // The stop request: the flag, and a pipe whose one byte wakes the loop from its wait. Both belong to
    // this object, not to JUCE's message queue, which the stopping thread deletes as it shuts down.
    std::atomic<bool> stopRequested{false};
    int wakePipe[2] = {-1, -1};
};
