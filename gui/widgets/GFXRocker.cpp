#include "gui/widgets/GFXRocker.h"

#include "gui/widgets/SkinElement.h"

GFXRocker::GFXRocker (const juce::String& name)
    : juce::Component (name)
{
    // Skin widgets leave the keyboard to the host (its shortcuts); Return must not click again.
    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
}

void GFXRocker::setAction (const juce::String& actionType, int uid, const juce::String&)
{
    if (actionType == "onLessClick")
        lessUid = uid;
    else if (actionType == "onMoreClick")
        moreUid = uid;
    else if (actionType == "onLessClickWithCtrl")
        lessCtrlUid = uid;
    else if (actionType == "onMoreClickWithCtrl")
        moreCtrlUid = uid;
}

void GFXRocker::loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context)
{
    BaseGFXController::loadFromXml (element, parameters, events, context);

    if (SkinElement::hasTag (element, "Rocker"))
    {
        const auto typeText = SkinElement::getString (element, "type", "vertical");

        if (typeText == "vertical")
            type = vertical;
        else if (typeText == "horizontal")
            type = horizontal;
    }

    applyBoundsTo (*this);
    repaint();
}

void GFXRocker::mouseDown (const juce::MouseEvent& e)
{
    dragFlag = false;

    const bool more = type == vertical ? e.y < getHeight() / 2 : e.x > getWidth() / 2;
    const bool ctrl = e.mods.isCtrlDown();
    int uid;

    if (more)
    {
        frame = 2;
        uid = ctrl ? moreCtrlUid : moreUid;
    }
    else
    {
        frame = 0;
        uid = ctrl ? lessCtrlUid : lessUid;
    }

    if (uid != -1)
        sendEvent (uid);

    repaint();
}

void GFXRocker::mouseDrag (const juce::MouseEvent& e)
{
    dragFlag = !getLocalBounds().contains (e.getPosition());
    repaint();
}

void GFXRocker::mouseUp (const juce::MouseEvent&)
{
    dragFlag = false;
    frame = 1;
    repaint();
}

void GFXRocker::paint (juce::Graphics& g)
{
    const int shown = getFrameToShow();

    if (hasImage())
    {
        drawFrame (g, shown);
        return;
    }

    g.fillAll (juce::Colour::greyLevel (0.9f));

    auto area = getLocalBounds();
    // The more side is the upper half of a vertical rocker and the right half of a horizontal one.
    const auto moreHalf = type == vertical ? area.removeFromTop (getHeight() / 2) : area.removeFromRight (getWidth() / 2);
    const auto lessHalf = area;

    g.setColour (juce::Colour::greyLevel (shown == 2 ? 0.5f : 0.7f));
    g.fillRect (moreHalf.reduced (1));
    g.setColour (juce::Colour::greyLevel (shown == 0 ? 0.5f : 0.7f));
    g.fillRect (lessHalf.reduced (1));

    g.setColour (juce::Colours::black);
    g.drawRect (getLocalBounds());
}
