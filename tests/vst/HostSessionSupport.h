#pragma once

// A host session under Xvfb: the real plug-in library in our offline host, its editor in an X11
// window of ours, driven by the window system's own test input. Include after JUCE's headers:
// Xlib's macros hide some of JUCE's names.

#include "tests/WaitFor.h"
#include "tools/render/OfflineHost.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <thread>

namespace hostsession
{
/** A widget of the embedded skin: where it is on the panel and the filmstrip it draws from. */
struct SkinWidget
{
    juce::String tag;
    juce::Rectangle<int> bounds;
    juce::Image strip;
    int frames = 1;

    /** Frame k of the strip, as the widget paints it. */
    juce::Image frame (int k) const
    {
        const int h = bounds.getHeight();
        return strip.getClippedImage ({0, h * k, bounds.getWidth(), h});
    }
};

inline juce::File skinFolder()
{
    return juce::File (PULSARET_RESOURCES_DIR).getChildFile ("skin");
}

/** Every named widget of the skin, with its rectangle from its position and frame size. */
inline std::map<juce::String, SkinWidget> readSkin()
{
    std::map<juce::String, SkinWidget> widgets;
    auto root = juce::XmlDocument::parse (skinFolder().getChildFile ("skin.xml"));

    if (root == nullptr)
        return widgets;

    for (auto* e : root->getChildIterator())
    {
        const auto name = e->getStringAttribute ("name");

        if (name.isEmpty())
            continue;

        SkinWidget w;
        w.tag = e->getTagName();

        if (auto* gfx = e->getChildByName ("gfx"))
        {
            w.strip = juce::ImageFileFormat::loadFrom (skinFolder().getChildFile (gfx->getStringAttribute ("resource")));
            const bool threeD = e->getStringAttribute ("style") == "3D";

            if (w.tag == "MultiStateButton")
                w.frames = e->getIntAttribute ("states", 2) * (threeD ? 2 : 1);
            else if (w.tag == "ToggleButton")
                w.frames = threeD ? 4 : 2;
            else
                w.frames = juce::jmax (1, gfx->getIntAttribute ("framesNum", 1));
        }

        juce::Point<int> size;

        if (w.strip.isValid() && w.tag != "Display")
            size = {w.strip.getWidth(), w.strip.getHeight() / w.frames};
        else if (auto* s = e->getChildByName ("size"))
            size = {s->getIntAttribute ("width"), s->getIntAttribute ("height")};

        if (auto* pos = e->getChildByName ("pos"))
            w.bounds = {pos->getIntAttribute ("left"), pos->getIntAttribute ("top"), size.x, size.y};

        widgets[name] = w;
    }

    return widgets;
}

/** How far two pictures of the same size are apart: the mean absolute difference per channel. */
inline double distance (const juce::Image& a, const juce::Image& b)
{
    if (a.getWidth() != b.getWidth() || a.getHeight() != b.getHeight() || a.getWidth() == 0)
        return 1.0e9;

    double sum = 0.0;

    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
        {
            const auto p = a.getPixelAt (x, y), q = b.getPixelAt (x, y);
            sum += std::abs (p.getRed() - q.getRed()) + std::abs (p.getGreen() - q.getGreen()) + std::abs (p.getBlue() - q.getBlue());
        }

    return sum / (3.0 * a.getWidth() * a.getHeight());
}

/** The frame of a widget's strip nearest to what a picture shows over the widget (over the
    panel's background: the strips are drawn on it). */
inline int shownFrame (const SkinWidget& w, const juce::Image& window, const juce::Image& background)
{
    const auto shown = window.getClippedImage (w.bounds);
    int best = -1;
    double bestDistance = 1.0e9;

    for (int k = 0; k < w.frames; ++k)
    {
        juce::Image composed (juce::Image::RGB, w.bounds.getWidth(), w.bounds.getHeight(), false);
        {
            juce::Graphics g (composed);
            g.drawImageAt (background.getClippedImage (w.bounds), 0, 0);
            g.drawImageAt (w.frame (k), 0, 0);
        }

        if (const auto d = distance (shown, composed); d < bestDistance)
        {
            bestDistance = d;
            best = k;
        }
    }

    return best;
}

using testsupport::waitFor;

/** True when the window is the ancestor or one of its descendants. */
inline bool isWithin (Display* display, Window w, Window ancestor)
{
    for (int depth = 0; w != 0 && w != PointerRoot && depth < 64; ++depth)
    {
        if (w == ancestor)
            return true;

        Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;

        if (XQueryTree (display, w, &root, &parent, &children, &count) == 0)
            return false;

        if (children != nullptr)
            XFree (children);

        w = parent == root ? 0 : parent;
    }

    return false;
}

/** Our host's window on the X display, and the editor's window inside it, behaving as a host
    that musicians use: whenever its top-level window gets the focus, it hands the focus to the
    editor's window (the plug-in's child window); it grabs Escape on its top-level window and
    closes the editor on it. It gives no focus to any other window: one that the window manager
    does not manage (override-redirect) never gets it. Top-level windows of the plug-in's own may
    take it from the window manager. */
struct X11Session
{
    /** onEscapeToUse: what the host does when it takes an Escape, on its own thread. */
    X11Session (const char* displayName, std::function<void()> onEscapeToUse)
        : display (XOpenDisplay (displayName))
        , onEscape (std::move (onEscapeToUse))
    {
        if (display == nullptr)
            return;

        // A window asked about after it has gone must not end the test through Xlib's default handler.
        XSetErrorHandler ([] (Display*, XErrorEvent*)
                          { return 0; });

        const int screen = DefaultScreen (display);
        hostWindow = XCreateSimpleWindow (display, RootWindow (display, screen), 0, 0, 1000, 800, 0, BlackPixel (display, screen),
                                          WhitePixel (display, screen));
        XMapRaised (display, hostWindow);
        XSync (display, False);

        // The window manager maps it when it gets to it, and the editor inside shows only then. On a
        // loaded machine a window manager still starting up can miss the request: ask again now and then.
        for (int attempt = 0; attempt < 10 && !isViewable (hostWindow); ++attempt)
        {
            if (attempt > 0)
            {
                XMapRaised (display, hostWindow);
                XSync (display, False);
            }

            waitFor ([this]
                     { return isViewable (hostWindow); },
                     2000);
        }

        hostEvents = std::thread ([this, name = std::string (displayName)]
                                  { runHost (name.c_str()); });
        waitFor ([this]
                 { return hostReady.load(); });
    }

    ~X11Session()
    {
        if (display == nullptr)
            return;

        stopHost();
        XDestroyWindow (display, hostWindow);
        XCloseDisplay (display);
    }

    bool isViewable (Window w) const
    {
        XWindowAttributes a;
        return XGetWindowAttributes (display, w, &a) != 0 && a.map_state == IsViewable;
    }

    /** The first viewable child of the host's window (the editor), or 0. */
    Window editorWindow (int* width = nullptr, int* height = nullptr) const
    {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        Window found = 0;
        XSync (display, False);

        if (XQueryTree (display, hostWindow, &root, &parent, &children, &count) != 0)
        {
            for (unsigned int i = 0; i < count && found == 0; ++i)
            {
                XWindowAttributes a;

                if (XGetWindowAttributes (display, children[i], &a) != 0 && a.map_state == IsViewable)
                {
                    found = children[i];

                    if (width != nullptr)
                        *width = a.width;

                    if (height != nullptr)
                        *height = a.height;
                }
            }

            if (children != nullptr)
                XFree (children);
        }

        return found;
    }

    /** What the window shows now, as the window system has it. */
    juce::Image capture (Window w, int width, int height) const
    {
        return capture (w, {0, 0, width, height});
    }

    /** What an area of the window shows now, windows over it included. */
    juce::Image capture (Window w, juce::Rectangle<int> area) const
    {
        const int width = area.getWidth(), height = area.getHeight();
        juce::Image image (juce::Image::RGB, width, height, true);
        XImage* x = XGetImage (display, w, area.getX(), area.getY(), (unsigned) width, (unsigned) height, AllPlanes, ZPixmap);

        if (x == nullptr)
            return {};

        const auto channel = [] (unsigned long pixel, unsigned long mask)
        {
            int shift = 0;

            while (mask != 0 && (mask & 1) == 0)
            {
                mask >>= 1;
                ++shift;
            }

            return (juce::uint8) ((pixel >> shift) & 0xff);
        };

        for (int y = 0; y < height; ++y)
            for (int xx = 0; xx < width; ++xx)
            {
                const auto p = XGetPixel (x, xx, y);
                image.setPixelAt (xx, y, juce::Colour (channel (p, x->red_mask), channel (p, x->green_mask), channel (p, x->blue_mask)));
            }

        XDestroyImage (x);
        return image;
    }

    juce::Point<int> onScreen (Window w, juce::Point<int> p) const
    {
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates (display, w, DefaultRootWindow (display), p.x, p.y, &x, &y, &child);
        return {x, y};
    }

    void moveTo (juce::Point<int> screen) const
    {
        XTestFakeMotionEvent (display, DefaultScreen (display), screen.x, screen.y, CurrentTime);
        XSync (display, False);
        std::this_thread::sleep_for (std::chrono::milliseconds (15));
    }

    void button (bool down) const
    {
        XTestFakeButtonEvent (display, 1, down ? True : False, CurrentTime);
        XSync (display, False);
        std::this_thread::sleep_for (std::chrono::milliseconds (40));
    }

    /** A click at a point of a window, at a hand's pace. What it does, the caller waits for. */
    void click (Window w, juce::Point<int> p) const
    {
        moveTo (onScreen (w, p));
        button (true);
        button (false);
    }

    /** Two clicks at a point well within the toolkit's double-click time. */
    void doubleClick (Window w, juce::Point<int> p) const
    {
        moveTo (onScreen (w, p));

        for (int i = 0; i < 2; ++i)
        {
            XTestFakeButtonEvent (display, 1, True, CurrentTime);
            XTestFakeButtonEvent (display, 1, False, CurrentTime);
            XSync (display, False);
            std::this_thread::sleep_for (std::chrono::milliseconds (30));
        }
    }

    /** For failure messages: the focus, and every top-level window that is a dialog of the
        host's window, with its state. */
    std::string describeWindows() const
    {
        const auto state = [this] (Window w)
        {
            XWindowAttributes a{};

            if (w == 0 || w == PointerRoot || XGetWindowAttributes (display, w, &a) == 0)
                return std::string (" (none)");

            Window root = 0, parent = 0, *children = nullptr;
            unsigned int n = 0;

            if (XQueryTree (display, w, &root, &parent, &children, &n) != 0 && children != nullptr)
                XFree (children);

            return std::string (a.map_state == IsViewable ? " viewable" : a.map_state == IsUnviewable ? " unviewable" : " unmapped")
                   + (a.override_redirect ? " override-redirect" : "") + " in " + std::to_string (parent);
        };

        // The window a click would go to: the deepest one under the pointer.
        Window under = DefaultRootWindow (display), child = 0, root = 0;
        int rootX = 0, rootY = 0, winX = 0, winY = 0;
        unsigned int mask = 0;

        for (int depth = 0; depth < 16 && XQueryPointer (display, under, &root, &child, &rootX, &rootY, &winX, &winY, &mask) && child != 0; ++depth)
            under = child;

        std::string text = "focus " + std::to_string (focus()) + state (focus()) + "; host " + std::to_string (hostWindow) + ", editor "
                           + std::to_string (editorWindow()) + "; pointer at " + std::to_string (rootX) + "," + std::to_string (rootY) + " over "
                           + std::to_string (under) + state (under);
        Window parent = 0, *frames = nullptr;
        unsigned int count = 0;

        if (XQueryTree (display, DefaultRootWindow (display), &root, &parent, &frames, &count) == 0)
            return text;

        const auto describe = [&] (Window w)
        {
            Window dialogOf = 0;

            if (XGetTransientForHint (display, w, &dialogOf) != 0 && dialogOf == hostWindow)
            {
                XWindowAttributes a{};
                XGetWindowAttributes (display, w, &a);
                const auto at = onScreen (w, {});
                text += "; dialog " + std::to_string (w) + (a.map_state == IsViewable ? " viewable" : " unmapped") + " at "
                        + std::to_string (at.x) + "," + std::to_string (at.y) + " " + std::to_string (a.width) + "x" + std::to_string (a.height)
                        + (a.override_redirect ? " override-redirect" : "");
            }
        };

        // Managed windows sit in a frame of the window manager's: one level down.
        for (unsigned int i = 0; i < count; ++i)
        {
            describe (frames[i]);
            Window r = 0, p = 0, *children = nullptr;
            unsigned int n = 0;

            if (XQueryTree (display, frames[i], &r, &p, &children, &n) != 0)
            {
                for (unsigned int k = 0; k < n; ++k)
                    describe (children[k]);

                if (children != nullptr)
                    XFree (children);
            }
        }

        XFree (frames);
        return text;
    }

    /** Press, move in steps, release. */
    void drag (Window w, juce::Point<int> from, juce::Point<int> to, int steps) const
    {
        moveTo (onScreen (w, from));
        button (true);

        for (int i = 1; i <= steps; ++i)
            moveTo (onScreen (w, from + (to - from) * i / steps));

        button (false);
    }

    /** True when a click at a point of the window reaches the host's window: no other top-level
        window lies over it, nor the frame a window manager keeps a moment after its window went. */
    bool reachesHost (Window w, juce::Point<int> p) const
    {
        const auto screen = onScreen (w, p);
        int x = 0, y = 0;
        Window topmost = 0;
        const auto root = DefaultRootWindow (display);
        XTranslateCoordinates (display, root, root, screen.x, screen.y, &x, &y, &topmost);
        return topmost != 0 && isWithin (display, hostWindow, topmost);
    }

    /** Where the keyboard focus is now. */
    Window focus() const
    {
        Window focused = 0;
        int revert = 0;
        XGetInputFocus (display, &focused, &revert);
        return focused;
    }

    /** True while the focus is on a window that is neither the host's nor inside it. */
    bool focusIsElsewhere() const
    {
        const auto f = focus();
        return f != 0 && f != PointerRoot && !isWithin (display, f, hostWindow);
    }

    /** A key pressed and released, with Shift or Control held when asked. */
    void key (KeySym sym, unsigned int modifiers = 0) const
    {
        const auto press = [this] (KeySym s, bool down)
        {
            XTestFakeKeyEvent (display, XKeysymToKeycode (display, s), down ? True : False, CurrentTime);
        };

        if ((modifiers & ShiftMask) != 0)
            press (XK_Shift_L, true);

        press (sym, true);
        press (sym, false);

        if ((modifiers & ShiftMask) != 0)
            press (XK_Shift_L, false);

        XSync (display, False);
        std::this_thread::sleep_for (std::chrono::milliseconds (20));
    }

    /** Types text of the printable ASCII characters, whose key symbols are their codes. */
    void type (const juce::String& text) const
    {
        for (auto c : text)
        {
            const auto sym = (KeySym) c;
            const auto code = XKeysymToKeycode (display, sym);
            key (sym, XkbKeycodeToKeysym (display, code, 0, 0) != sym ? ShiftMask : 0);
        }
    }

    /** A click with Control held. */
    void controlClick (Window w, juce::Point<int> p) const
    {
        XTestFakeKeyEvent (display, XKeysymToKeycode (display, XK_Control_L), True, CurrentTime);
        click (w, p);
        XTestFakeKeyEvent (display, XKeysymToKeycode (display, XK_Control_L), False, CurrentTime);
        XSync (display, False);
    }

    /** Ends the host's own thread: nothing of it runs afterwards. */
    void stopHost()
    {
        keeping = false;

        if (hostEvents.joinable())
            hostEvents.join();
    }

    Display* display = nullptr;
    Window hostWindow = 0;
    std::atomic<int> focusHandedOn{0}; // times the host gave the focus to the editor's window
    std::atomic<int> escapesTaken{0};  // Escape presses that reached the host's grab

private:
    const std::function<void()> onEscape;

    void runHost (const char* displayName)
    {
        Display* own = XOpenDisplay (displayName);

        if (own == nullptr)
        {
            hostReady = true;
            return;
        }

        const auto escape = XKeysymToKeycode (own, XK_Escape);
        XSelectInput (own, hostWindow, FocusChangeMask);
        XGrabKey (own, escape, AnyModifier, hostWindow, True, GrabModeAsync, GrabModeAsync);
        XSync (own, False);
        hostReady = true;

        while (keeping)
        {
            while (XPending (own) > 0)
            {
                XEvent e;
                XNextEvent (own, &e);

                if (e.type == FocusIn && e.xfocus.window == hostWindow && e.xfocus.detail != NotifyPointer)
                {
                    if (const auto child = firstViewableChild (own, hostWindow); child != 0)
                    {
                        XSetInputFocus (own, child, RevertToParent, CurrentTime);
                        XSync (own, False);
                        ++focusHandedOn;
                    }
                }
                else if (e.type == KeyPress && e.xkey.keycode == escape)
                {
                    ++escapesTaken;

                    if (onEscape)
                        onEscape();
                }
            }

            std::this_thread::sleep_for (std::chrono::milliseconds (2));
        }

        XUngrabKey (own, escape, AnyModifier, hostWindow);
        XCloseDisplay (own);
    }

    static Window firstViewableChild (Display* d, Window parentWindow)
    {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        Window found = 0;

        if (XQueryTree (d, parentWindow, &root, &parent, &children, &count) != 0)
        {
            for (unsigned int i = 0; i < count && found == 0; ++i)
            {
                XWindowAttributes a;

                if (XGetWindowAttributes (d, children[i], &a) != 0 && a.map_state == IsViewable)
                    found = children[i];
            }

            if (children != nullptr)
                XFree (children);
        }

        return found;
    }

    std::atomic<bool> keeping{true};
    std::atomic<bool> hostReady{false};
    std::thread hostEvents;
};

/** Renders on its own thread in real time (one block per block's duration) with the transport
    playing, as a host's audio thread does, and keeps the longest process call. */
struct AudioThread
{
    AudioThread (OfflineHost& hostToUse, int blockSizeToUse)
        : host (hostToUse)
        , blockSize (blockSizeToUse)
    {
        transport.playing = {{0, std::numeric_limits<int64_t>::max()}};
        thread = std::thread ([this]
                              { run(); });
    }

    ~AudioThread()
    {
        running = false;
        thread.join();
    }

    void run()
    {
        const auto blockTime = std::chrono::duration<double> (blockSize / host.getSampleRate());
        auto next = std::chrono::steady_clock::now();

        while (running)
        {
            const auto start = std::chrono::steady_clock::now();
            host.render (blockSize, blockSize, {}, transport, position);
            const auto took = std::chrono::duration<double, std::milli> (std::chrono::steady_clock::now() - start).count();
            longestMs = std::max (longestMs.load(), took);
            position += blockSize;
            ++blocks;
            next += std::chrono::duration_cast<std::chrono::steady_clock::duration> (blockTime);
            std::this_thread::sleep_until (next);
        }
    }

    OfflineHost& host;
    const int blockSize;
    OfflineHost::Transport transport;
    std::atomic<int64_t> position{0};
    std::atomic<int> blocks{0};
    std::atomic<double> longestMs{0.0};
    std::atomic<bool> running{true};
    std::thread thread;
};
} // namespace hostsession
