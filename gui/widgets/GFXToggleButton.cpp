#include "gui/widgets/GFXToggleButton.h"

#include "gui/widgets/GFXToggleButtonDragGroup.h"
#include "gui/widgets/SkinElement.h"
#include "gui/widgets/SkinImages.h"

GFXToggleButton::GFXToggleButton (const juce::String& name)
    : juce::Button (name)
{
    // Skin widgets leave the keyboard to the host (its shortcuts); Return must not click again.
    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
    setClickingTogglesState (true);
}

GFXToggleButton::~GFXToggleButton()
{
    // Looked up again: the registry may already be gone at shut-down.
    if (dragGroup != nullptr)
        if (auto* registry = GFXToggleButtonDragGroup::getInstanceWithoutCreating())
            registry->removeButton (dragGroupName, this);
}

void GFXToggleButton::updateFromParameter (Parameter* changed)
{
    setToggleState (changed->getBoolValue(), juce::dontSendNotification);
}

void GFXToggleButton::loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context)
{
    GUIController::loadFromXml (element, parameters, events, context);
    readPosition (element);
    readSize (element);

    if (SkinElement::hasTag (element, "ToggleButton"))
    {
        const auto styleText = SkinElement::getString (element, "style", "2D");

        if (styleText == "2D")
            style = 0;
        else if (styleText == "3D")
            style = 1;

        if (auto* gfx = SkinElement::getChild (element, "gfx"))
        {
            auto loaded = SkinImages::load (SkinElement::getString (*gfx, "resource"));

            if (loaded.isValid())
                setImage (loaded, is3D() ? 4 : 2);
        }

        const auto clickEvent = SkinElement::getString (element, "clickEvent", "onRelease");

        if (clickEvent == "onRelease")
            setTriggeredOnMouseDown (false);
        else if (clickEvent == "onPress")
            setTriggeredOnMouseDown (true);

        const int radioGroup = SkinElement::getInt (element, "radioGroupId", 0);

        if (radioGroup != getRadioGroupId())
            setRadioGroupId (radioGroup);

        if (SkinElement::hasAttribute (element, "dragGroup"))
        {
            auto* registry = GFXToggleButtonDragGroup::getInstance();

            if (dragGroup != nullptr)
                registry->removeButton (dragGroupName, this);

            dragGroup = registry;
            dragGroupName = SkinElement::getString (element, "dragGroup");
            registry->addButton (dragGroupName, this);
        }
    }

    repaint();
}

void GFXToggleButton::mouseDown (const juce::MouseEvent& e)
{
    juce::Button::mouseDown (e);

    if (dragGroup != nullptr)
        GFXToggleButtonDragGroup::getInstance()->beginDrag (dragGroupName, e.getScreenX(), e.getScreenY(), this);
}

void GFXToggleButton::mouseDrag (const juce::MouseEvent& e)
{
    juce::Button::mouseDrag (e);

    if (dragGroup != nullptr)
        GFXToggleButtonDragGroup::getInstance()->dragTo (dragGroupName, e.getScreenX(), e.getScreenY());
}

void GFXToggleButton::clicked()
{
    const bool on = getToggleState();

    if (auto* linked = getParameter())
    {
        linked->setBoolValue (on, true);
        sendValueChanged();
    }

    if (dragGroup != nullptr)
        GFXToggleButtonDragGroup::getInstance()->setPaintState (dragGroupName, on);
}

int GFXToggleButton::getFrameToShow (bool pressed) const noexcept
{
    if (!isEnabled() || isInBlinkOnPhase() || !getToggleState())
        return 0;

    if (!is3D())
        return 1;

    return pressed ? 3 : 2;
}

void GFXToggleButton::paintButton (juce::Graphics& g, bool isMouseOver, bool isButtonDown)
{
    if (hasImage())
    {
        drawFrame (g, getFrameToShow (isMouseOver && isButtonDown));
        return;
    }

    g.setColour (juce::Colour::greyLevel (0.7f));
    g.drawRect (getLocalBounds());
    g.setColour (juce::Colours::black);

    const auto name = getParameter() != nullptr ? getParameter()->getName() : juce::String();
    g.drawFittedText (getToggleState() ? "On" : "Off", getLocalBounds(), juce::Justification::centredTop, 2, 0.7f);
    g.drawFittedText (name, getLocalBounds(), juce::Justification::centredBottom, 2, 0.7f);
}
