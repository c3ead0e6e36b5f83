#pragma once

#include <atomic>

/** The hand-over of juce::AsyncUpdater without its message: triggering only sets a flag and
    pushes the object onto a lock-free list, so the audio thread may trigger without
    allocating, locking or writing to the message thread's queue. The message thread collects
    the list from a timer (each plug-in instance runs one) or a test's message pump and calls
    handleAsyncUpdate once per object however often it was triggered.

    Objects are delivered in the order of their first trigger. An object triggered again
    from its own handleAsyncUpdate is delivered at the next collection. */
class PolledUpdater
{
public:
    PolledUpdater() = default;
    virtual ~PolledUpdater();

    /** Any thread; lock-free and free of allocation. */
    void triggerAsyncUpdate() noexcept;

    /** Message thread (or a thread that owns the object while it is destroyed). */
    void cancelPendingUpdate();

    bool isUpdatePending() const noexcept { return pending.load(); }

    virtual void handleAsyncUpdate() = 0;

    /** Message thread: delivers every update pending in the process; a call from inside a
        delivery does nothing. True when it delivered anything. */
    static bool deliverPendingUpdates();

    /** How often an instance's timer collects (milliseconds). */
    static constexpr int pollIntervalMs = 10;

private:
    void unlinkFromPendingLists();

    std::atomic<bool> pending{false};
    PolledUpdater* nextPending = nullptr; // written by the pusher before publishing, then under the list lock

    PolledUpdater (const PolledUpdater&) = delete;
    PolledUpdater& operator= (const PolledUpdater&) = delete;
};
