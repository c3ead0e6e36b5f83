#pragma once

#include <juce_graphics/juce_graphics.h>

#include <optional>

/** What the window system itself knows, below the toolkit's notion of it: the keyboard
    focus and where a window is on the screen. A window lifted out of a host's window for
    a while takes the focus from the host; when it goes, the focus must go back where it
    was instead of falling to the root window. And the toolkit learns where an embedded
    window is only when that window itself moves, not when the host's window does.

    X11 only (elsewhere, or without a display, every call does nothing); the library is
    loaded at run time, so no link dependency is added. Message thread only. */
class NativeWindows
{
public:
    /** What had the focus: a window id, or X11's "none" (0) and "pointer root" (1),
        followed by its ancestors below the root, nearest first. */
    struct SavedFocus
    {
        static constexpr int maxWindows = 16;

        juce::uint64 windows[maxWindows] = {};
        int numWindows = 0;
        bool valid = false;

        juce::uint64 getWindow() const noexcept { return numWindows > 0 ? windows[0] : 0; }
    };

    /** The focus as it is now; not valid when it cannot be read. */
    static SavedFocus saveFocus();

    /** True when the focus is on the window or on one of its descendants. */
    static bool isFocusWithin (void* nativeWindow);

    /** Puts the focus back as saved; when that window has gone or is hidden (the host closed
        the plug-in's window meanwhile), on its nearest ancestor still viewable. */
    static bool restoreFocus (const SavedFocus& saved);

    /** Declares a top-level window of ours a dialog of the host's window around the embedded
        window, so that the window manager keeps it above that window and focuses it as the
        host's own dialogs. Call it before the window is first shown. Returns the host's
        window, or 0 when there is none. */
    static juce::uint64 setDialogOf (void* topLevelWindow, void* embeddedWindow);

    /** The window's origin on the screen in physical pixels, when it can be read and the
        window is viewable. */
    static std::optional<juce::Point<int>> getScreenPosition (void* nativeWindow);
};
