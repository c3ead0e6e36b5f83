#include "gui/widgets/GFXButton.h"

#include "gui/controls/TextButtonFace.h"
#include "gui/widgets/SkinElement.h"

GFXButton::GFXButton (const juce::String& name)
    : juce::Button (name)
{
    // Skin widgets leave the keyboard to the host (its shortcuts); Return must not click again.
    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
    const int width = name.isEmpty() ? 18 : juce::Font (12.0f).getStringWidth (name) + 8;
    setSize (width, 18);
}

void GFXButton::setAction (const juce::String& type, int uid, const juce::String& text)
{
    if (type == "onClick")
    {
        clickUid = uid;
        tooltip = text;
    }
    else if (type == "onClickWithCtrl")
    {
        ctrlClickUid = uid;
        ctrlTooltip = text;
    }
}

void GFXButton::readClickEvent (const juce::XmlElement& element)
{
    const auto clickEvent = SkinElement::getString (element, "clickEvent", "onRelease");

    if (clickEvent == "onRelease")
        setTriggeredOnMouseDown (false);
    else if (clickEvent == "onPress")
        setTriggeredOnMouseDown (true);
}

void GFXButton::readAutoRepeat (const juce::XmlElement& element)
{
    const auto repeatText = SkinElement::getString (element, "autorepeat", "no");

    if (repeatText == "yes")
        setAutoRepeat (true);
    else if (repeatText == "no")
        setAutoRepeat (false);
}

void GFXButton::setAutoRepeat (bool shouldRepeat)
{
    autoRepeat = shouldRepeat;

    if (!autoRepeat)
        stopTimer();
}

void GFXButton::buttonStateChanged()
{
    if (!autoRepeat || !isDown())
        stopTimer();
    else if (!isTimerRunning())
        startTimer (1000);
}

void GFXButton::timerCallback()
{
    if (!autoRepeat || !isDown())
    {
        stopTimer();
        return;
    }

    startTimer (100);
    internalClickCallback (juce::ModifierKeys::currentModifiers);
}

void GFXButton::loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context)
{
    BaseGFXController::loadFromXml (element, parameters, events, context);

    if (SkinElement::hasTag (element, "Button"))
    {
        readClickEvent (element);
        readAutoRepeat (element);
    }

    applyBoundsTo (*this);
    repaint();
}

void GFXButton::updateTooltip (const juce::ModifierKeys& modifiers)
{
    setTooltip (modifiers.isCtrlDown() && ctrlClickUid != -1 ? ctrlTooltip : tooltip);
}

void GFXButton::mouseEnter (const juce::MouseEvent& e)
{
    juce::Button::mouseEnter (e);
    updateTooltip (e.mods);
}

void GFXButton::modifierKeysChanged (const juce::ModifierKeys& modifiers)
{
    juce::Button::modifierKeysChanged (modifiers);
    updateTooltip (modifiers);
}

int GFXButton::getUidForClick (const juce::ModifierKeys& modifiers) const noexcept
{
    return modifiers.isCtrlDown() ? ctrlClickUid : clickUid;
}

void GFXButton::clicked (const juce::ModifierKeys& modifiers)
{
    const int uid = getUidForClick (modifiers);

    if (uid != -1)
        sendEvent (uid);
}

void GFXButton::paintButton (juce::Graphics& g, bool, bool isButtonDown)
{
    if (hasImage())
        drawFrame (g, isButtonDown ? 1 : 0);
    else
        paintWithoutImage (g, isButtonDown);
}

void GFXButton::paintWithoutImage (juce::Graphics& g, bool isButtonDown)
{
    TextButtonFace::paintPlain (g, *this, isButtonDown);
}
