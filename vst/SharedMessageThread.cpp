#include "vst/SharedMessageThread.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
// Guards the two below; taken only by acquire and release, on the host's threads.
juce::CriticalSection& usersLock()
{
    static juce::CriticalSection lock;
    return lock;
}

int users = 0;
SharedMessageThread* thread = nullptr;
} // namespace

SharedMessageThread::SharedMessageThread()
    : juce::Thread ("Pulsaret msgs") // Linux keeps 15 characters of a thread name, and none of a longer one
{
}

SharedMessageThread::~SharedMessageThread() = default;

void SharedMessageThread::run()
{
    juce::initialiseJuce_GUI();
    juce::MessageManager::getInstance()->setCurrentThreadAsMessageThread();
    ready.signal();
    juce::MessageManager::getInstance()->runDispatchLoop();
    juce::shutdownJuce_GUI();
}

bool SharedMessageThread::acquire()
{
    const juce::ScopedLock sl (usersLock());

    if (users == 0)
    {
        auto* started = new SharedMessageThread();

        if (!started->startThread())
        {
            delete started;
            return false;
        }

        started->ready.wait (-1);
        thread = started;
    }

    ++users;
    return true;
}

void SharedMessageThread::release()
{
    const juce::ScopedLock sl (usersLock());

    if (users == 0 || --users > 0)
        return;

    // Stopped from the message thread itself: called from here, the loop could end and JUCE shut down
    // while stopDispatchLoop still writes to the message manager.
    juce::MessageManager::callAsync ([]
                                     { juce::MessageManager::getInstance()->stopDispatchLoop(); });
    thread->waitForThreadToExit (-1);
    delete thread;
    thread = nullptr;
}

int SharedMessageThread::getNumUsers()
{
    const juce::ScopedLock sl (usersLock());
    return users;
}
