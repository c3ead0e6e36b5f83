#pragma once

#include "gui/controls/NativeWindows.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <optional>

/** Lifts a component out of the editor's panel into a top-level window of its own while
    it is in use: a name being edited, over its display; a file chooser, over the editor.

    A host keeps the keyboard focus on its own windows, and a window manager never focuses
    a window that it does not manage. So the window is a managed one, without decoration,
    and a dialog of the host's top-level window: the window manager keeps it above that
    window and lets it have the focus, which it asks for until the window system gives it.
    Focus that the host hands to the editor's own window meanwhile, while the pointer rests
    on the lifted window, is taken back: the musician went nowhere; and the keys typed into
    the editor's window until then are passed on to the lifted one.

    The client hears, always from the message loop, when the place the window came from
    goes away (the host closed the editor), on a click elsewhere in our windows, and when
    the focus went elsewhere for good. Lowering gives the focus back where it was before
    the window goes, so that the window manager has none of ours to hand on. Message
    thread only. */
class LiftedWindow : private juce::MouseListener, private juce::KeyListener, private juce::Timer
{
public:
    class Client
    {
    public:
        virtual ~Client() = default;

        /** The place went away or hid: the host closed the editor. The window is still up. */
        virtual void liftedPlaceGone() = 0;

        /** A click in our windows outside the lifted one, or the focus went elsewhere. */
        virtual void liftedFocusGone() {}
    };

    /** window: the component that goes onto the desktop. */
    LiftedWindow (juce::Component& window, Client& client);
    ~LiftedWindow() override;

    /** The component that takes the keys in the window; the window itself unless set. */
    void setFocusTarget (juce::Component* target) noexcept { focusTarget = target; }

    /** Notes where the window system's focus is, before the toolkit moves it on the way
        to lifting: lowering gives it back there. Lifting notes it itself when not noted. */
    void noteFocus();

    /** Lifts the window over an area of the place (in the place's coordinates), which it
        keeps following; without an area, centred over the place at its own size. */
    void lift (juce::Component& place, std::optional<juce::Rectangle<int>> areaInPlace);

    /** Takes the window off the desktop, the focus given back first. */
    void lower();

    /** Lowers a window lifted over an area of its place back into the place, at that area,
        shown or hidden; the keyboard focus given away first, so that the place does not pass
        it on to another of its controls. A window that is not on the desktop is only lowered. */
    void putBack (bool visible);

    bool isLifted() const noexcept { return lifted; }

    /** For the focus target's focusLost: true when the loss is only the host handing the
        focus to the editor's window while the pointer rests on ours; the focus is then
        asked back and the edit goes on. */
    bool keepsThroughFocusLoss();

    /** True while the window system's focus is in the window. */
    bool hasNativeFocus() const;

    /** Where an area of a component is on the screen now. The toolkit's own idea of an
        embedded window's screen place goes stale when the host's window moves; the
        window system's is current. */
    static juce::Rectangle<int> getScreenArea (juce::Component& place, juce::Rectangle<int> areaInPlace);

private:
    class PlaceWatch;

    void mouseDown (const juce::MouseEvent& e) override;
    bool keyPressed (const juce::KeyPress& key, juce::Component* origin) override;
    void timerCallback() override;
    juce::Component& keyTarget() const noexcept; // the focus target, or the window
    void askForFocus();
    void followPlace();
    bool isHostHandingFocusOn() const;
    void tellSoon (bool placeGone);

    juce::Component& window;
    Client& client;
    juce::Component* focusTarget = nullptr;
    juce::Component::SafePointer<juce::Component> place;
    std::optional<juce::Rectangle<int>> area;
    std::unique_ptr<PlaceWatch> placeWatch;
    juce::Component::SafePointer<juce::Component> keySource; // the editor's window, while lifted
    NativeWindows::SavedFocus focusBefore;
    bool focusNoted = false;
    juce::uint64 hostWindow = 0;
    void* placeWindow = nullptr; // the window the place was in, when lifted
    bool lifted = false;
    bool lookAndFeelLent = false; // the place's, set on the window while it is out of the tree
    bool hadFocus = false; // the window has had the window system's focus since it last asked
    int ticks = 0;
    std::shared_ptr<int> alive = std::make_shared<int> (0); // calls on their way see it expired

    JUCE_DECLARE_NON_COPYABLE (LiftedWindow)
};
