#include "gui/widgets/GFXSwitch.h"

#include "gui/widgets/SkinElement.h"

GFXSwitch::GFXSwitch (const juce::String& name)
    : GFXKnob (name)
{
    setRange (0.0, 1.0, 0.005);
    setValue (0.0, juce::dontSendNotification);
    applyMode();
}

void GFXSwitch::applyMode()
{
    static constexpr juce::Slider::SliderStyle styles[] = {juce::Slider::LinearVertical,
                                                           juce::Slider::LinearHorizontal,
                                                           juce::Slider::RotaryVerticalDrag};
    setSliderStyle (styles[mode]);
}

void GFXSwitch::loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context)
{
    GFXKnob::loadFromXml (element, parameters, events, context);

    const auto style = SkinElement::getString (element, "style");
    int newMode = -1;

    if (style.equalsIgnoreCase ("Rotary"))
        newMode = rotary;
    else if (style.equalsIgnoreCase ("Horizontal"))
        newMode = horizontal;
    else if (style.equalsIgnoreCase ("Vertical"))
        newMode = vertical;

    if (newMode >= 0)
    {
        mode = newMode;
        applyMode();
        repaint();
    }
}

int GFXSwitch::getFrameToShow() const
{
    if (!isEnabled())
        return 0;

    return (int) std::floor (getValue() * (framesNum - 1) + 0.5);
}

void GFXSwitch::paint (juce::Graphics& g)
{
    if (hasImage())
        drawFrame (g, getFrameToShow());
    else
        paintWithoutImage (g, juce::String::formatted ("%.9g", getValue()), false);
}
