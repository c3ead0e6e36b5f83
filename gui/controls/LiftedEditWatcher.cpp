#include "gui/controls/LiftedEditWatcher.h"

#include "gui/controls/NativeWindows.h"

LiftedEditWatcher::LiftedEditWatcher (juce::Component& liftedToUse, Client& clientToUse, juce::Component& place, bool shouldWatchFocus)
    : juce::ComponentMovementWatcher (&place)
    , lifted (liftedToUse)
    , client (clientToUse)
    , watchFocus (shouldWatchFocus)
{
    juce::Desktop::getInstance().addGlobalMouseListener (this);
    startTimer (200);
}

LiftedEditWatcher::~LiftedEditWatcher()
{
    juce::Desktop::getInstance().removeGlobalMouseListener (this);
}

juce::Rectangle<int> LiftedEditWatcher::getScreenArea (juce::Component& place, juce::Rectangle<int> areaInPlace)
{
    if (auto* peer = place.getPeer())
        if (auto origin = NativeWindows::getScreenPosition (peer->getNativeHandle()))
            return peer->getComponent().getLocalArea (&place, areaInPlace) + juce::Desktop::getInstance().getDisplays().physicalToLogical (*origin);

    return place.localAreaToGlobal (areaInPlace);
}

void LiftedEditWatcher::componentMovedOrResized (bool, bool)
{
    client.followPlace();
}

void LiftedEditWatcher::componentPeerChanged()
{
    // The host closed the window the edit came from: the lifted one must not stay behind.
    client.endSoon();
}

void LiftedEditWatcher::componentVisibilityChanged()
{
    if (auto* place = getComponent(); place == nullptr || !place->isShowing())
        client.endSoon();
}

void LiftedEditWatcher::mouseDown (const juce::MouseEvent& e)
{
    // A click elsewhere in our own windows need not move the window system's focus.
    if (e.eventComponent != &lifted && !lifted.isParentOf (e.eventComponent))
        client.endSoon();
}

void LiftedEditWatcher::timerCallback()
{
    // The toolkit misses the loss when the focus leaves before it has read that the
    // window got it (a host taking the focus straight back); the window would stay.
    if (watchFocus && lifted.isOnDesktop() && NativeWindows::isFocusElsewhere (lifted.getWindowHandle()))
    {
        stopTimer();
        client.endSoon();
        return;
    }

    // Nothing tells an embedded window that the host's window moved.
    client.followPlace();
}
