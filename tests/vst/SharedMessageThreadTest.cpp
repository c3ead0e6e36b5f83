#include "vst/SharedMessageThread.h"

#include <gtest/gtest.h>

// Xlib's macros after the test framework, whose names they would hide.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include <juce_gui_basics/juce_gui_basics.h>

#include "tests/WaitFor.h"

#include <X11/extensions/XTest.h>

#include <atomic>

// Runs only under with_xvfb.sh, in a process of its own: the thread becomes this process's JUCE message thread.
namespace
{
using testsupport::waitFor;

/** Runs a function on the message thread and waits for it. */
template <typename Function>
void onMessageThread (Function&& function)
{
    juce::WaitableEvent done;
    juce::MessageManager::callAsync ([&]
                                     {
        function();
        done.signal(); });
    done.wait (10000);
}

struct Target : public juce::Component
{
    void mouseDown (const juce::MouseEvent&) override { ++downs; }
    void mouseUp (const juce::MouseEvent&) override { ++ups; }

    std::atomic<int> downs{0}, ups{0};
};
} // namespace

TEST (SharedMessageThreadOnScreen, AClickReadOffTheConnectionByACallThatAskedTheServerStillArrives)
{
    if (std::getenv ("PULSARET_EDITOR_DISPLAY") == nullptr)
        GTEST_SKIP() << "needs the display that with_xvfb.sh provides";

    ASSERT_TRUE (SharedMessageThread::acquire());
    std::unique_ptr<Target> target;
    Display* display = nullptr;
    ::Window window = 0;

    // A window that no window manager grabs clicks on: they go straight to the toolkit.
    onMessageThread ([&]
                     {
        target = std::make_unique<Target>();
        target->setBounds (100, 100, 200, 200);
        target->addToDesktop (juce::ComponentPeer::windowIsTemporary);
        target->setVisible (true);
        display = juce::XWindowSystem::getInstance()->getDisplay();
        window = (::Window) (juce::pointer_sized_uint) target->getWindowHandle(); });
    ASSERT_NE (display, nullptr);
    ASSERT_TRUE (waitFor ([&]
                          {
                              int state = IsUnmapped;
                              onMessageThread ([&]
                                               {
                                  XWindowAttributes a{};
                                  state = XGetWindowAttributes (display, window, &a) != 0 ? a.map_state : IsUnmapped; });
                              return state == IsViewable; },
                          5000));

    // The click, then a question to the server in the same call: the click's events come before the
    // answer, so they are read into the queue while the call waits for it. Nothing else comes after.
    int queued = 0;
    onMessageThread ([&]
                     {
        XTestFakeMotionEvent (display, -1, 200, 200, CurrentTime);
        XTestFakeButtonEvent (display, 1, True, CurrentTime);
        XTestFakeButtonEvent (display, 1, False, CurrentTime);
        XSync (display, False);
        queued = XEventsQueued (display, QueuedAlready); });

    EXPECT_GT (queued, 0) << "the events were not waiting in the queue: the test proves nothing";
    EXPECT_TRUE (waitFor ([&]
                          { return target->ups.load() == 1; },
                          5000));
    EXPECT_EQ (target->downs.load(), 1);

    onMessageThread ([&]
                     { target.reset(); });
    SharedMessageThread::release();
}
