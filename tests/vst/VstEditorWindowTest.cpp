#include "vst/host/OfflineHost.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <thread>

// Runs only under with_xvfb.sh, which provides a display with a window manager and names the plug-in.
namespace
{
struct MappedChild
{
    Window window = 0;
    int width = 0, height = 0;
};

MappedChild findMappedChild (Display* display, Window parent)
{
    Window root = 0, parentOfParent = 0, *children = nullptr;
    unsigned int count = 0;
    MappedChild found;

    if (XQueryTree (display, parent, &root, &parentOfParent, &children, &count) != 0)
    {
        for (unsigned int i = 0; i < count && found.window == 0; ++i)
        {
            XWindowAttributes attributes;

            if (XGetWindowAttributes (display, children[i], &attributes) != 0 && attributes.map_state == IsViewable)
                found = {children[i], attributes.width, attributes.height};
        }

        if (children != nullptr)
            XFree (children);
    }

    return found;
}

MappedChild waitForMappedChild (Display* display, Window parent, bool wantMapped)
{
    for (int i = 0; i < 100; ++i)
    {
        XSync (display, False);
        const auto child = findMappedChild (display, parent);

        if ((child.window != 0) == wantMapped)
            return child;

        std::this_thread::sleep_for (std::chrono::milliseconds (50));
    }

    return findMappedChild (display, parent);
}
} // namespace

TEST (VstEditorWindow, EditorOpensInsideTheHostWindow)
{
    const char* displayName = std::getenv ("PULSARET_EDITOR_DISPLAY");
    const char* plugin = std::getenv ("PULSARET_EDITOR_PLUGIN");

    if (displayName == nullptr || plugin == nullptr)
        GTEST_SKIP() << "needs the display that with_xvfb.sh provides";

    Display* display = XOpenDisplay (displayName);
    ASSERT_NE (display, nullptr);
    const int screen = DefaultScreen (display);
    const Window hostWindow = XCreateSimpleWindow (display, RootWindow (display, screen), 0, 0, 1000, 800, 0,
                                                   BlackPixel (display, screen), WhitePixel (display, screen));
    XMapWindow (display, hostWindow);
    XSync (display, False);

    // The window manager maps it when it gets to it, which takes a while on a loaded machine;
    // the editor inside is viewable only then.
    for (int i = 0; i < 200; ++i)
    {
        XWindowAttributes attributes;

        if (XGetWindowAttributes (display, hostWindow, &attributes) != 0 && attributes.map_state == IsViewable)
            break;

        std::this_thread::sleep_for (std::chrono::milliseconds (50));
    }
    EXPECT_EQ (findMappedChild (display, hostWindow).window, 0u);

    OfflineHost host;
    ASSERT_TRUE (host.load (plugin)) << host.getError();
    host.start (48000.0, 512);

    vst::ERect* rect = nullptr;
    ASSERT_EQ (host.dispatch (vst::EffectOpcode::editGetRect, 0, 0, &rect), 1);
    ASSERT_NE (rect, nullptr);
    const int width = rect->right - rect->left, height = rect->bottom - rect->top;
    EXPECT_GT (width, 0);
    EXPECT_GT (height, 0);

    for (int round = 0; round < 2; ++round)
    {
        ASSERT_EQ (host.dispatch (vst::EffectOpcode::editOpen, 0, 0, reinterpret_cast<void*> ((uintptr_t) hostWindow)), 1);
        const auto child = waitForMappedChild (display, hostWindow, true);
        EXPECT_NE (child.window, 0u) << "the editor is a mapped child of the host's window";
        EXPECT_EQ (child.width, width);
        EXPECT_EQ (child.height, height);

        host.dispatch (vst::EffectOpcode::editIdle);
        host.dispatch (vst::EffectOpcode::editClose);
        EXPECT_EQ (waitForMappedChild (display, hostWindow, false).window, 0u) << "closing takes the editor out";
    }

    // The instance plays on after its editor closed: a note, and the transport (which starts
    // an instrument's own sequencer).
    OfflineHost::Transport transport;
    transport.playing = {{0, 4800}};
    const auto out = host.render (4800, 512, {{0, {0x90, 36, 127}}}, transport);
    double level = 0.0;

    for (const auto& ch : out)
        for (float s : ch)
            level = std::max (level, (double) std::abs (s));

    EXPECT_GT (level, 0.01);

    host.unload();
    XDestroyWindow (display, hostWindow);
    XCloseDisplay (display);
}
