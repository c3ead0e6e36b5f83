#pragma once

#include <juce_core/juce_core.h>

/** The window system's own keyboard focus, below the toolkit's notion of it. A window
    lifted out of a host's window for a while takes the focus from the host; when it
    goes, the focus must go back where it was instead of falling to the root window.

    X11 only (elsewhere, or without a display, every call does nothing); the library is
    loaded at run time, so no link dependency is added. Message thread only. */
class NativeKeyboardFocus
{
public:
    /** What had the focus: a window id, or X11's "none" (0) and "pointer root" (1). */
    struct Saved
    {
        juce::uint64 window = 0;
        bool valid = false;
    };

    /** The focus as it is now; not valid when it cannot be read. */
    static Saved save();

    /** True when the focus is on the window or on one of its descendants. */
    static bool isWithin (void* nativeWindow);

    /** Puts the focus back as saved, unless the saved window has gone or is not viewable. */
    static bool restore (const Saved& saved);
};
