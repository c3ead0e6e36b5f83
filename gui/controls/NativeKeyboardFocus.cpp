#include "gui/controls/NativeKeyboardFocus.h"

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

bool isViewable (Connection& c, Window window)
{
    XWindowAttributes attributes{};
    return c.x.getWindowAttributes (c.display, window, &attributes) != 0 && attributes.map_state == IsViewable;
}
} // namespace

NativeKeyboardFocus::Saved NativeKeyboardFocus::save()
{
    Connection c;

    if (c.display == nullptr)
        return {};

    Window focus = 0;
    int revertTo = 0;
    c.x.getInputFocus (c.display, &focus, &revertTo);
    return {(juce::uint64) focus, true};
}

bool NativeKeyboardFocus::isWithin (void* nativeWindow)
{
    const auto window = (Window) (juce::pointer_sized_uint) nativeWindow;
    Connection c;

    if (c.display == nullptr || window == 0)
        return false;

    Window focus = 0;
    int revertTo = 0;
    c.x.getInputFocus (c.display, &focus, &revertTo);

    // Walk up from the focused window: it may be a child that an embedding protocol focused.
    for (int depth = 0; focus != None && focus != PointerRoot && depth < 64; ++depth)
    {
        if (focus == window)
            return true;

        Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;

        if (c.x.queryTree (c.display, focus, &root, &parent, &children, &count) == 0)
            return false;

        if (children != nullptr)
            c.x.free (children);

        if (parent == root)
            return false;

        focus = parent;
    }

    return false;
}

bool NativeKeyboardFocus::restore (const Saved& saved)
{
    Connection c;

    if (!saved.valid || c.display == nullptr)
        return false;

    const auto window = (Window) saved.window;

    if (window != None && window != PointerRoot && !isViewable (c, window))
        return false;

    c.x.setInputFocus (c.display, window, RevertToParent, CurrentTime);
    return true;
}

#else

NativeKeyboardFocus::Saved NativeKeyboardFocus::save()
{
    return {};
}

bool NativeKeyboardFocus::isWithin (void*)
{
    return false;
}

bool NativeKeyboardFocus::restore (const Saved&)
{
    return false;
}

#endif
