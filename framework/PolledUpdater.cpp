#include "framework/PolledUpdater.h"

#include <juce_core/juce_core.h>

namespace
{
// Triggered objects, last first. Any thread pushes (lock-free); only a holder of the list
// lock takes from it, so no object is ever popped while another thread unlinks it.
std::atomic<PolledUpdater*> pushed{nullptr};

// Guards the collected objects not yet delivered and every unlinking. Never taken on
// the audio thread.
juce::CriticalSection& listLock()
{
    static juce::CriticalSection lock;
    return lock;
}

PolledUpdater* collected = nullptr; // under the list lock, in trigger order
bool delivering = false;            // under the list lock
} // namespace

PolledUpdater::~PolledUpdater()
{
    cancelPendingUpdate();
}

void PolledUpdater::triggerAsyncUpdate() noexcept
{
    // Only the trigger that raises the flag pushes, so an object is never on the list twice.
    if (pending.exchange (true))
        return;

    auto* head = pushed.load (std::memory_order_relaxed);

    do
        nextPending = head;
    while (!pushed.compare_exchange_weak (head, this, std::memory_order_acq_rel, std::memory_order_relaxed));
}

void PolledUpdater::unlinkFromPendingLists()
{
    // Called under the list lock with the pending flag raised.
    for (auto** link = &collected; *link != nullptr; link = &(*link)->nextPending)
    {
        if (*link == this)
        {
            *link = nextPending;
            nextPending = nullptr;
            pending.store (false);
            return;
        }
    }

    for (;;)
    {
        auto* head = pushed.load (std::memory_order_acquire);

        if (head == this)
        {
            // A push in between moves the head on: then search again below it.
            if (!pushed.compare_exchange_strong (head, nextPending, std::memory_order_acq_rel))
                continue;
        }
        else
        {
            auto* previous = head;

            while (previous != nullptr && previous->nextPending != this)
                previous = previous->nextPending;

            // Not on the list: a trigger on another thread is still pushing it, and its
            // update stays pending.
            if (previous == nullptr)
                return;

            previous->nextPending = nextPending;
        }

        nextPending = nullptr;
        pending.store (false);
        return;
    }
}

void PolledUpdater::cancelPendingUpdate()
{
    // Most objects (preset copies among them) are never triggered: no lock for them.
    if (!pending.load())
        return;

    const juce::ScopedLock sl (listLock());

    if (pending.load())
        unlinkFromPendingLists();
}

bool PolledUpdater::deliverPendingUpdates()
{
    const juce::ScopedLock sl (listLock());

    if (delivering)
        return false;

    auto* taken = pushed.exchange (nullptr, std::memory_order_acq_rel);

    if (taken == nullptr)
        return false;

    // Into trigger order.
    while (taken != nullptr)
    {
        auto* next = taken->nextPending;
        taken->nextPending = collected;
        collected = taken;
        taken = next;
    }

    delivering = true;

    // A listener may cancel or destroy an object still waiting here: it unlinks itself
    // from the collected list under the same lock.
    while (collected != nullptr)
    {
        auto* updater = collected;
        collected = updater->nextPending;
        updater->nextPending = nullptr;

        if (updater->pending.exchange (false))
            updater->handleAsyncUpdate();
    }

    delivering = false;
    return true;
}
