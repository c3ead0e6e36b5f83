#include "gui/controls/PseudoModalComponent.h"

PseudoModalComponent::CoveringWindow::CoveringWindow (PseudoModalComponent& o)
    : owner (o)
{
}

PseudoModalComponent::CoveringWindow::~CoveringWindow()
{
    if (watchedParent != nullptr)
        watchedParent->removeComponentListener (this);
}

void PseudoModalComponent::CoveringWindow::parentHierarchyChanged()
{
    auto* parent = getParentComponent();

    if (parent != watchedParent.getComponent())
    {
        if (watchedParent != nullptr)
            watchedParent->removeComponentListener (this);

        watchedParent = parent;

        if (parent != nullptr)
            parent->addComponentListener (this);
    }

    if (parent != nullptr)
        setBounds (parent->getLocalBounds());
}

void PseudoModalComponent::CoveringWindow::componentMovedOrResized (juce::Component& component, bool, bool wasResized)
{
    if (wasResized && &component == getParentComponent())
        setBounds (component.getLocalBounds());
}

void PseudoModalComponent::CoveringWindow::resized()
{
    owner.positionChanged();
}

void PseudoModalComponent::CoveringWindow::paint (juce::Graphics& g)
{
    if (owner.dimsBackground())
        g.fillAll (juce::Colours::black.withAlpha (0.33f));
}

//==============================================================================
PseudoModalComponent::PseudoModalComponent()
    : coveringWindow (*this)
{
    coveringWindow.setVisible (false);
}

PseudoModalComponent::~PseudoModalComponent()
{
    // The covering window is a member: take it (and us) out of the editor first.
    if (auto* parent = coveringWindow.getParentComponent())
        parent->removeChildComponent (&coveringWindow);

    if (auto* parent = getParentComponent())
        parent->removeChildComponent (this);
}

bool PseudoModalComponent::dimsBackground()
{
    return false;
}

void PseudoModalComponent::positionChanged()
{
    if (placement == 0)
        centreWithSize (getWidth(), getHeight());
    else
        setBounds (position.x, position.y, getWidth(), getHeight());
}

void PseudoModalComponent::shownStateChanged()
{
}

bool PseudoModalComponent::isAttached() const
{
    return getParentComponent() == &coveringWindow && coveringWindow.getParentComponent() != nullptr;
}

bool PseudoModalComponent::isShown() const
{
    return isAttached() ? coveringWindow.isVisible() : isVisible();
}

void PseudoModalComponent::attachIfNeeded()
{
    if (isAttached())
        return;

    juce::Component* desktop = nullptr;

    for (auto* c = static_cast<juce::Component*> (this); c != nullptr; c = c->getParentComponent())
    {
        if (dynamic_cast<Desktop*> (c) != nullptr)
        {
            desktop = c;
            break;
        }
    }

    if (desktop == nullptr)
        return;

    setVisible (true);
    coveringWindow.addChildComponent (this, -1);
    desktop->addChildComponent (&coveringWindow, -1);
    coveringWindow.setVisible (false);
    coveringWindow.toBack();
}

void PseudoModalComponent::showStored (int newPlacement, juce::Point<int> newPosition)
{
    attachIfNeeded();

    if (!isAttached())
    {
        setVisible (true);
        return;
    }

    if (coveringWindow.isVisible())
        return;

    placement = newPlacement;
    position = newPosition;
    coveringWindow.setVisible (true);
    coveringWindow.toFront (false);
    shownStateChanged();
    positionChanged();
}

void PseudoModalComponent::show()
{
    showStored (0, {});
}

void PseudoModalComponent::showAt (int newPlacement, juce::Point<int> newPosition, juce::Component* relativeTo)
{
    // The stored position is in the covering window's frame, so the point is converted
    // into that frame (for a component filling the cover, the same as its own).
    attachIfNeeded();
    const auto converted = relativeTo != nullptr ? coveringWindow.getLocalPoint (relativeTo, newPosition) : newPosition;
    showStored (newPlacement, converted);
}

void PseudoModalComponent::hide()
{
    if (isAttached())
    {
        if (coveringWindow.isVisible())
        {
            coveringWindow.setVisible (false);
            coveringWindow.toBack();
            shownStateChanged();
        }
    }
    else
    {
        setVisible (false);
    }
}

void PseudoModalComponent::parentHierarchyChanged()
{
    auto* parent = getParentComponent();

    if (parent != nullptr && parent != &coveringWindow)
        if (auto* coverParent = coveringWindow.getParentComponent())
            coverParent->removeChildComponent (&coveringWindow);
}
