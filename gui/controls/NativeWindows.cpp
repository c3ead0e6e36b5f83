#include "gui/controls/NativeWindows.h"

#if JUCE_LINUX || JUCE_BSD

// After every JUCE header: Xlib's macros would clash with JUCE's names.
#include <X11/Xlib.h>
#include <dlfcn.h>

namespace
{
/** The few Xlib calls needed, on a connection of our own, opened for each use. */
class Xlib
{
public:
    static Xlib& get()
    {
        static Xlib instance;
        return instance;
    }

    bool isLoaded() const noexcept { return library != nullptr; }

    decltype (&XOpenDisplay) openDisplay = nullptr;
    decltype (&XCloseDisplay) closeDisplay = nullptr;
    decltype (&XGetInputFocus) getInputFocus = nullptr;
    decltype (&XSetInputFocus) setInputFocus = nullptr;
    decltype (&XGetWindowAttributes) getWindowAttributes = nullptr;
    decltype (&XQueryTree) queryTree = nullptr;
    decltype (&XFree) free = nullptr;
    decltype (&XSync) sync = nullptr;
    decltype (&XSetErrorHandler) setErrorHandler = nullptr;
    decltype (&XTranslateCoordinates) translateCoordinates = nullptr;
    decltype (&XInternAtom) internAtom = nullptr;
    decltype (&XGetWindowProperty) getWindowProperty = nullptr;
    decltype (&XSetTransientForHint) setTransientForHint = nullptr;

private:
    Xlib()
    {
        library = dlopen ("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);

        if (library == nullptr)
            return;

        bool ok = true;
        auto load = [this, &ok] (auto& function, const char* name)
        {
            function = reinterpret_cast<std::remove_reference_t<decltype (function)>> (dlsym (library, name));
            ok = ok && function != nullptr;
        };

        load (openDisplay, "XOpenDisplay");
        load (closeDisplay, "XCloseDisplay");
        load (getInputFocus, "XGetInputFocus");
        load (setInputFocus, "XSetInputFocus");
        load (getWindowAttributes, "XGetWindowAttributes");
        load (queryTree, "XQueryTree");
        load (free, "XFree");
        load (sync, "XSync");
        load (setErrorHandler, "XSetErrorHandler");
        load (translateCoordinates, "XTranslateCoordinates");
        load (internAtom, "XInternAtom");
        load (getWindowProperty, "XGetWindowProperty");
        load (setTransientForHint, "XSetTransientForHint");

        if (!ok)
        {
            dlclose (library);
            library = nullptr;
        }
    }

    // Kept loaded for the process: the toolkit holds the same library anyway.
    void* library = nullptr;
};

int ignoreErrors (Display*, XErrorEvent*)
{
    return 0;
}

/** A connection for one operation. A window that vanished meanwhile must not end the
    process through Xlib's default error handler, so errors are ignored while it lives. */
class Connection
{
public:
    Connection()
        : x (Xlib::get())
    {
        if (!x.isLoaded() || juce::SystemStats::getEnvironmentVariable ("DISPLAY", {}).isEmpty())
            return;

        display = x.openDisplay (nullptr);

        if (display != nullptr)
            previousHandler = x.setErrorHandler (ignoreErrors);
    }

    ~Connection()
    {
        if (display == nullptr)
            return;

        x.sync (display, False);
        x.setErrorHandler (previousHandler);
        x.closeDisplay (display);
    }

    Xlib& x;
    Display* display = nullptr;

private:
    XErrorHandler previousHandler = nullptr;
};

/** The window's parent, or None for a top-level window (or one that is gone). */
Window parentOf (Connection& c, Window window)
{
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;

    if (c.x.queryTree (c.display, window, &root, &parent, &children, &count) == 0)
        return None;

    if (children != nullptr)
        c.x.free (children);

    return parent == root ? None : parent;
}

bool isViewable (Connection& c, Window window)
{
    XWindowAttributes attributes{};
    return c.x.getWindowAttributes (c.display, window, &attributes) != 0 && attributes.map_state == IsViewable;
}

/** True when the window manager manages the window as a client (it carries WM_STATE). */
bool isClient (Connection& c, Window window, Atom wmState)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;

    if (wmState == None || c.x.getWindowProperty (c.display, window, wmState, 0, 2, False, AnyPropertyType, &type, &format, &count, &after, &data) != Success)
        return false;

    if (data != nullptr)
        c.x.free (data);

    return type != None;
}

enum class FocusPlace
{
    unknown,
    within,
    elsewhere
};

FocusPlace focusWithin (void* nativeWindow)
{
    const auto window = (Window) (juce::pointer_sized_uint) nativeWindow;
    Connection c;

    if (c.display == nullptr || window == 0)
        return FocusPlace::unknown;

    Window focus = 0;
    int revertTo = 0;
    c.x.getInputFocus (c.display, &focus, &revertTo);

    // Walk up from the focused window: it may be a child that an embedding protocol focused.
    for (int depth = 0; focus != None && focus != PointerRoot && depth < 64; ++depth)
    {
        if (focus == window)
            return FocusPlace::within;

        focus = parentOf (c, focus);
    }

    return FocusPlace::elsewhere;
}
} // namespace

NativeWindows::SavedFocus NativeWindows::saveFocus()
{
    Connection c;

    if (c.display == nullptr)
        return {};

    Window focus = 0;
    int revertTo = 0;
    c.x.getInputFocus (c.display, &focus, &revertTo);

    SavedFocus saved;
    saved.valid = true;
    saved.windows[saved.numWindows++] = (juce::uint64) focus;

    for (auto window = focus; window != None && window != PointerRoot && saved.numWindows < SavedFocus::maxWindows;)
    {
        window = parentOf (c, window);

        if (window == None)
            break;

        saved.windows[saved.numWindows++] = (juce::uint64) window;
    }

    return saved;
}

bool NativeWindows::isFocusWithin (void* nativeWindow)
{
    return focusWithin (nativeWindow) == FocusPlace::within;
}

bool NativeWindows::restoreFocus (const SavedFocus& saved)
{
    Connection c;

    if (!saved.valid || saved.numWindows <= 0 || c.display == nullptr)
        return false;

    for (int i = 0; i < saved.numWindows; ++i)
    {
        const auto window = (Window) saved.windows[i];

        if (window == None || window == PointerRoot || isViewable (c, window))
        {
            c.x.setInputFocus (c.display, window, RevertToParent, CurrentTime);
            return true;
        }
    }

    return false;
}

juce::uint64 NativeWindows::setDialogOf (void* topLevelWindow, void* embeddedWindow)
{
    const auto dialog = (Window) (juce::pointer_sized_uint) topLevelWindow;
    Connection c;

    if (c.display == nullptr || dialog == 0 || embeddedWindow == nullptr)
        return 0;

    // Up to the host's own top-level window: the outermost one the window manager manages as a
    // client (its frame around it is the window manager's), else the outermost below the root.
    const auto wmState = c.x.internAtom (c.display, "WM_STATE", True);
    Window client = None, outermost = None;

    auto w = (Window) (juce::pointer_sized_uint) embeddedWindow;

    for (int depth = 0; w != None && depth < 64; ++depth)
    {
        outermost = w;

        if (isClient (c, w, wmState))
            client = w;

        w = parentOf (c, w);
    }

    const auto host = client != None ? client : outermost;

    if (host == None)
        return 0;

    c.x.setTransientForHint (c.display, dialog, host);
    return (juce::uint64) host;
}

std::optional<juce::Point<int>> NativeWindows::getScreenPosition (void* nativeWindow)
{
    const auto window = (Window) (juce::pointer_sized_uint) nativeWindow;
    Connection c;

    if (c.display == nullptr || window == 0)
        return {};

    XWindowAttributes attributes{};

    // A window not yet mapped has no place on the screen the window manager agreed to.
    if (c.x.getWindowAttributes (c.display, window, &attributes) == 0 || attributes.map_state != IsViewable)
        return {};

    int x = 0, y = 0;
    Window child = 0;

    if (c.x.translateCoordinates (c.display, window, attributes.root, 0, 0, &x, &y, &child) == 0)
        return {};

    return juce::Point<int> (x, y);
}

#else

NativeWindows::SavedFocus NativeWindows::saveFocus()
{
    return {};
}

bool NativeWindows::isFocusWithin (void*)
{
    return false;
}

bool NativeWindows::restoreFocus (const SavedFocus&)
{
    return false;
}

juce::uint64 NativeWindows::setDialogOf (void*, void*)
{
    return 0;
}

std::optional<juce::Point<int>> NativeWindows::getScreenPosition (void*)
{
    return {};
}

#endif
