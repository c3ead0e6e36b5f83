#include "gui/controls/LiftedWindow.h"

namespace
{
constexpr int tickMs = 20;
constexpr int ticksPerRaise = 10;   // asks the window manager again every 200 ms
constexpr int ticksPerFollow = 10;  // nothing tells an embedded window that the host's window moved
constexpr int ticksOfAsking = 500;  // a window manager that has not given the focus in 10 s never will
} // namespace

//==============================================================================
class LiftedWindow::PlaceWatch : public juce::ComponentMovementWatcher
{
public:
    PlaceWatch (LiftedWindow& ownerToUse, juce::Component& place)
        : juce::ComponentMovementWatcher (&place)
        , owner (ownerToUse)
    {
    }

    using juce::ComponentMovementWatcher::componentMovedOrResized;
    using juce::ComponentMovementWatcher::componentVisibilityChanged;

    void componentMovedOrResized (bool, bool) override { owner.followPlace(); }

    // The host closed the window the place was in: the lifted one must not stay behind.
    void componentPeerChanged() override { owner.tellSoon (true); }

    void componentVisibilityChanged() override
    {
        if (auto* c = getComponent(); c == nullptr || !c->isShowing())
            owner.tellSoon (true);
    }

private:
    LiftedWindow& owner;
};

//==============================================================================
LiftedWindow::LiftedWindow (juce::Component& windowToUse, Client& clientToUse)
    : window (windowToUse)
    , client (clientToUse)
{
}

LiftedWindow::~LiftedWindow()
{
    lower();
}

void LiftedWindow::noteFocus()
{
    focusBefore = NativeWindows::saveFocus();
    focusNoted = true;
}

juce::Rectangle<int> LiftedWindow::getScreenArea (juce::Component& c, juce::Rectangle<int> areaInPlace)
{
    if (auto* peer = c.getPeer())
        if (auto origin = NativeWindows::getScreenPosition (peer->getNativeHandle()))
            return peer->getComponent().getLocalArea (&c, areaInPlace) + juce::Desktop::getInstance().getDisplays().physicalToLogical (*origin);

    return c.localAreaToGlobal (areaInPlace);
}

void LiftedWindow::lift (juce::Component& placeToUse, std::optional<juce::Rectangle<int>> areaInPlace)
{
    if (!focusNoted)
        noteFocus();

    focusNoted = false;
    place = &placeToUse;
    area = areaInPlace;
    lifted = true;
    hadFocus = false;
    ticks = 0;

    auto& lookAndFeel = placeToUse.getLookAndFeel();

    // Hidden until the window manager has been told whose dialog it is: it reads that once, when
    // the window is first mapped.
    if (!window.isOnDesktop())
    {
        window.setVisible (false);
        window.addToDesktop (juce::ComponentPeer::windowHasDropShadow); // a normal window, not a combo list
    }

    // Out of the editor's tree it would fall back to the toolkit's stock look: it keeps the panel's.
    if (&window.getLookAndFeel() != &lookAndFeel)
    {
        window.setLookAndFeel (&lookAndFeel);
        lookAndFeelLent = true;
    }

    placeWindow = nullptr;
    hostWindow = 0;

    if (auto* peer = placeToUse.getPeer())
    {
        placeWindow = peer->getNativeHandle();
        hostWindow = NativeWindows::setDialogOf (window.getWindowHandle(), placeWindow);
    }

    const auto over = getScreenArea (placeToUse, area.value_or (placeToUse.getLocalBounds()));
    window.setBounds (area.has_value() ? over : window.getBounds().withCentre (over.getCentre()));
    window.setVisible (true);

    placeWatch = std::make_unique<PlaceWatch> (*this, placeToUse);
    juce::Desktop::getInstance().addGlobalMouseListener (this);

    if (auto* top = placeToUse.getTopLevelComponent(); top != &window && keySource == nullptr)
    {
        keySource = top;
        top->addKeyListener (this);
    }

    askForFocus();
    startTimer (tickMs);
}

void LiftedWindow::lower()
{
    stopTimer();
    placeWatch.reset();
    juce::Desktop::getInstance().removeGlobalMouseListener (this);
    alive = std::make_shared<int> (0);

    if (auto* top = keySource.getComponent())
        top->removeKeyListener (this);

    keySource = nullptr;

    if (!lifted)
        return;

    lifted = false;

    // Given back before the window goes: destroying the focused window would leave the window
    // manager to pick a window for it, which it may do after the next lifted window took it.
    if (window.isOnDesktop())
    {
        // On the way to lifting, the toolkit may have put the focus on the panel's window.
        const bool focusParkedOnPlace = placeWindow != nullptr && focusBefore.getWindow() != (juce::uint64) (juce::pointer_sized_uint) placeWindow
                                        && NativeWindows::isFocusWithin (placeWindow);

        if (hasNativeFocus() || focusParkedOnPlace)
            NativeWindows::restoreFocus (focusBefore);

        window.removeFromDesktop();
    }

    if (lookAndFeelLent)
    {
        lookAndFeelLent = false;
        window.setLookAndFeel (nullptr);
    }
}

void LiftedWindow::putBack (bool visible)
{
    if (!window.isOnDesktop())
    {
        lower();
        return;
    }

    if (window.hasKeyboardFocus (true))
        window.giveAwayKeyboardFocus();

    // Taken off the desktop even when the place is gone: no window stays behind.
    lower();

    if (auto* parent = place.getComponent(); parent != nullptr && area.has_value())
    {
        if (visible)
            parent->addAndMakeVisible (window);
        else
            parent->addChildComponent (window);

        window.setBounds (*area);
    }
}

juce::Component& LiftedWindow::keyTarget() const noexcept
{
    return focusTarget != nullptr ? *focusTarget : window;
}

bool LiftedWindow::hasNativeFocus() const
{
    return window.isOnDesktop() && NativeWindows::isFocusWithin (window.getWindowHandle());
}

bool LiftedWindow::isHostHandingFocusOn() const
{
    return hostWindow != 0 && NativeWindows::isFocusWithin ((void*) (juce::pointer_sized_uint) hostWindow)
           && window.getScreenBounds().contains (juce::Desktop::getMousePosition());
}

bool LiftedWindow::keepsThroughFocusLoss()
{
    if (!lifted || !window.isOnDesktop() || hasNativeFocus() || !isHostHandingFocusOn())
        return false;

    hadFocus = false;
    ticks = 0;
    return true;
}

void LiftedWindow::askForFocus()
{
    if (!window.isShowing())
        return;

    if (ticks % ticksPerRaise == 0 && !hasNativeFocus())
        window.toFront (true);

    // The toolkit may still count the target as focused from before the window lost the
    // window system's focus: the window asks for that focus itself.
    if (auto* peer = window.getPeer())
        peer->grabFocus();

    keyTarget().grabKeyboardFocus();

    // From here on, the focus anywhere else means someone took it.
    if (hasNativeFocus())
        hadFocus = true;
}

void LiftedWindow::followPlace()
{
    if (lifted && area.has_value() && place != nullptr && place->isShowing() && window.isOnDesktop())
        if (const auto bounds = getScreenArea (*place, *area); bounds != window.getBounds())
            window.setBounds (bounds);
}

void LiftedWindow::timerCallback()
{
    ++ticks;

    if (ticks % ticksPerFollow == 0)
        followPlace();

    if (hasNativeFocus())
    {
        // Given by the window manager rather than asked for: the keys go to the target too.
        if (!hadFocus)
            keyTarget().grabKeyboardFocus();

        hadFocus = true;
        return;
    }

    if (hadFocus)
    {
        // The toolkit misses the loss when the focus leaves before it has read that the window
        // got it; and the host may hand the focus on without a word.
        hadFocus = false;

        if (isHostHandingFocusOn())
        {
            ticks = 0;
        }
        else
        {
            ticks = ticksOfAsking; // gone for good: asked for no more
            tellSoon (false);
            return;
        }
    }

    if (ticks < ticksOfAsking)
        askForFocus();
}

void LiftedWindow::mouseDown (const juce::MouseEvent& e)
{
    // A click elsewhere in our own windows need not move the window system's focus.
    if (e.eventComponent != &window && !window.isParentOf (e.eventComponent))
        tellSoon (false);
}

bool LiftedWindow::keyPressed (const juce::KeyPress& key, juce::Component* origin)
{
    // Only keys that no control of the editor wanted reach here.
    if (!lifted || origin == nullptr || origin == &window || window.isParentOf (origin))
        return false;

    return keyTarget().keyPressed (key);
}

void LiftedWindow::tellSoon (bool placeGone)
{
    juce::MessageManager::callAsync ([this, placeGone, token = std::weak_ptr<int> (alive)]
                                     {
        // Nothing of this object is touched after the call: the client may delete it.
        if (token.expired() || !lifted)
            return;

        if (placeGone)
            client.liftedPlaceGone();
        else
            client.liftedFocusGone(); });
}
