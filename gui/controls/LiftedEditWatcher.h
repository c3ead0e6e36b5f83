#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Watches an edit lifted out of its panel into a temporary desktop window: keeps it over
    the place it came from, and asks its owner to end it when that place goes away or
    hides (the host closed the plug-in's window), on a click elsewhere in our windows, or
    when the window system's focus has gone elsewhere. Message thread only. */
class LiftedEditWatcher : public juce::ComponentMovementWatcher, public juce::MouseListener, private juce::Timer
{
public:
    class Client
    {
    public:
        virtual ~Client() = default;

        /** Moves the lifted window over its place again. */
        virtual void followPlace() = 0;

        /** Ends the edit from the message loop: the watcher is still in use when this returns. */
        virtual void endSoon() = 0;
    };

    /** watchFocus: the lifted window holds the window system's focus now. */
    LiftedEditWatcher (juce::Component& lifted, Client& client, juce::Component& place, bool watchFocus);
    ~LiftedEditWatcher() override;

    /** Where an area of the place is on the screen now. The toolkit's own idea of an embedded
        window's screen place goes stale when the host's window moves; the window system's is
        current. */
    static juce::Rectangle<int> getScreenArea (juce::Component& place, juce::Rectangle<int> areaInPlace);

    using juce::ComponentMovementWatcher::componentMovedOrResized;
    using juce::ComponentMovementWatcher::componentVisibilityChanged;
    void componentMovedOrResized (bool wasMoved, bool wasResized) override;
    void componentPeerChanged() override;
    void componentVisibilityChanged() override;

    /** Clicks anywhere in the process's windows. */
    void mouseDown (const juce::MouseEvent& e) override;

private:
    void timerCallback() override;

    juce::Component& lifted;
    Client& client;
    const bool watchFocus;

    JUCE_DECLARE_NON_COPYABLE (LiftedEditWatcher)
};
