#include "vst/SharedMessageThread.h"

// For the display connection's event queue (below).
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include <juce_gui_basics/juce_gui_basics.h>

#include <fcntl.h>
#include <pthread.h>
#include <system_error>
#include <unistd.h>

namespace juce
{
// One pass of JUCE's Linux message loop (waiting for the next event when none is pending): the loop body of
// MessageManager::runDispatchLoop, which offers no other way to stop than a posted message.
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);

// JUCE's hidden window on its display connection, whose events JUCE's loop passes over.
extern ::Window juce_messageWindowHandle;
} // namespace juce

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

// The stop byte only wakes the loop; the stop flag says what to do.
void drainPipe (int fd)
{
    char bytes[16];

    while (::read (fd, bytes, sizeof (bytes)) > 0)
    {
    }
}

/** JUCE's loop reads window events when the display connection's socket has data. A call that asks the
    server something outside that (a timer's focus check, say) reads the events that came before the answer
    into Xlib's queue, and there they wait until the server sends something more: a click would wait for the
    next mouse move. An event sent to JUCE's own hidden window brings the loop to them. */
void wakeForQueuedWindowEvents()
{
    auto* windows = juce::XWindowSystem::getInstanceWithoutCreating();
    auto* display = windows != nullptr ? windows->getDisplay() : nullptr;

    if (display == nullptr || juce::juce_messageWindowHandle == 0)
        return;

    auto* x = juce::X11Symbols::getInstance();
    juce::XWindowSystemUtilities::ScopedXLock lock;

    if (x->xEventsQueued (display, QueuedAlready) == 0)
        return;

    XEvent wake{};
    wake.xclient.type = ClientMessage;
    wake.xclient.window = juce::juce_messageWindowHandle;
    wake.xclient.format = 32;
    x->xSendEvent (display, juce::juce_messageWindowHandle, False, NoEventMask, &wake);
    x->xFlush (display);
}
} // namespace

SharedMessageThread::SharedMessageThread()
{
    if (::pipe2 (wakePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        wakePipe[0] = wakePipe[1] = -1;
}

SharedMessageThread::~SharedMessageThread()
{
    for (int fd : wakePipe)
        if (fd >= 0)
            ::close (fd);
}

void SharedMessageThread::run()
{
    // Linux keeps 15 characters of a thread name, and none of a longer one.
    ::pthread_setname_np (::pthread_self(), "Pulsaret msgs");
    juce::initialiseJuce_GUI();
    juce::MessageManager::getInstance()->setCurrentThreadAsMessageThread();
    juce::LinuxEventLoop::registerFdCallback (wakePipe[0], drainPipe);
    ready.signal();

    // JUCE's own loop would have to be stopped by a message posted into its queue, and the poster could
    // still be inside the queue when this thread deletes it below.
    while (!stopRequested.load())
    {
        try
        {
            juce::dispatchNextMessageOnSystemQueue (false);
            wakeForQueuedWindowEvents();
        }
        catch (...) // as in JUCE's loop: a throwing callback must not end the thread every instance needs
        {
        }
    }

    juce::LinuxEventLoop::unregisterFdCallback (wakePipe[0]);
    juce::shutdownJuce_GUI();
}

bool SharedMessageThread::acquire()
{
    const juce::ScopedLock sl (usersLock());

    if (users == 0)
    {
        auto* started = new SharedMessageThread();

        try
        {
            if (started->wakePipe[0] >= 0)
                started->worker = std::thread ([started]
                                               { started->run(); });
        }
        catch (const std::system_error&)
        {
        }

        if (!started->worker.joinable())
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

    // Nothing is posted to JUCE here: the flag ends the loop, the byte wakes it, and the message manager is
    // shut down by its own thread, which this one then waits for.
    thread->stopRequested.store (true);
    const char wake = 1;
    [[maybe_unused]] const auto written = ::write (thread->wakePipe[1], &wake, 1);
    thread->worker.join();
    delete thread;
    thread = nullptr;
}

int SharedMessageThread::getNumUsers()
{
    const juce::ScopedLock sl (usersLock());
    return users;
}
