#pragma once

// Include after JUCE's headers: Xlib's KeyPress macro hides JUCE's class.
#include "tests/MessagePump.h"

#include <X11/Xlib.h>

#include <string>
#include <vector>

// Runs for real only under tests/with_xvfb.sh, which provides a display with a window manager.
namespace
{
struct X11Host
{
    explicit X11Host (const char* displayName)
        : display (XOpenDisplay (displayName))
    {
        if (display == nullptr)
            return;

        // A window asked about after it has gone must not end the test through Xlib's default handler.
        XSetErrorHandler ([] (Display*, XErrorEvent*)
                          { return 0; });

        const int screen = DefaultScreen (display);
        window = XCreateSimpleWindow (display, RootWindow (display, screen), 50, 50, 500, 300, 0, BlackPixel (display, screen),
                                      WhitePixel (display, screen));
        XMapRaised (display, window);
        XSync (display, False);
    }

    ~X11Host()
    {
        if (display == nullptr)
            return;

        XDestroyWindow (display, window);
        XCloseDisplay (display);
    }

    Window focus() const
    {
        Window focused = 0;
        int revert = 0;
        XGetInputFocus (display, &focused, &revert);
        return focused;
    }

    bool isViewable (Window w) const
    {
        XWindowAttributes attributes{};
        return XGetWindowAttributes (display, w, &attributes) != 0 && attributes.map_state == IsViewable;
    }

    /** True while the window exists (a window manager may have put it into a frame of its own). */
    bool exists (Window w) const
    {
        XWindowAttributes attributes{};
        return XGetWindowAttributes (display, w, &attributes) != 0;
    }

    /** Where the window system has the window's origin on the screen. */
    juce::Point<int> rootPosition (Window w) const
    {
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates (display, w, DefaultRootWindow (display), 0, 0, &x, &y, &child);
        return {x, y};
    }

    Display* display = nullptr;
    Window window = 0;
};

template <typename Condition>
bool waitFor (Condition&& condition)
{
    for (int i = 0; i < 1000 && !condition(); ++i) // up to 10 s: a loaded machine maps windows late
    {
        pumpPendingMessages();
        juce::Thread::sleep (10);
    }

    pumpPendingMessages();
    return condition();
}

/** Lets the toolkit handle what the window system sent it meanwhile. */
void settle()
{
    for (int i = 0; i < 10; ++i)
    {
        pumpPendingMessages();
        juce::Thread::sleep (10);
    }
}

} // namespace
