#include "gui/widgets/GFXPanel.h"

#include "gui/widgets/GFXAnimation.h"
#include "gui/widgets/GFXButton.h"
#include "gui/widgets/GFXDisplay.h"
#include "gui/widgets/GFXDisplayFloat.h"
#include "gui/widgets/GFXKnob.h"
#include "gui/widgets/GFXMultiStateButton.h"
#include "gui/widgets/GFXRocker.h"
#include "gui/widgets/GFXSwitch.h"
#include "gui/widgets/GFXToggleButton.h"
#include "gui/widgets/ModWheel.h"
#include "gui/widgets/MusicKeyboard.h"
#include "gui/widgets/NoteDisplay.h"
#include "gui/widgets/NumericDisplay.h"
#include "gui/widgets/ParameterModulator.h"
#include "gui/widgets/PatternNumberDisplay.h"
#include "gui/widgets/PitchBender.h"
#include "gui/widgets/SkinElement.h"

GFXPanel::GFXPanel (const juce::String& name)
    : juce::Component (name)
{
    // Skin widgets leave the keyboard to the host (its shortcuts); Return must not click again.
    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
    setInterceptsMouseClicks (false, true);
}

GFXPanel::~GFXPanel()
{
    {
        const juce::ScopedLock sl (lock);
        controllers.clear();
    }

    components.clear();
}

void GFXPanel::setVisibleFromParameter (Parameter* parameter)
{
    setVisible (parameter->getBoolValue());
}

void GFXPanel::setHiddenFromParameter (Parameter* parameter)
{
    setVisible (!parameter->getBoolValue());
}

int GFXPanel::getNumControllers() const
{
    const juce::ScopedLock sl (lock);
    return controllers.size();
}

GUIController* GFXPanel::getController (int index) const
{
    const juce::ScopedLock sl (lock);
    return controllers[index];
}

void GFXPanel::addListener (GUIController::Listener* listener)
{
    GUIController::addListener (listener);

    for (int i = 0; i < getNumControllers(); ++i)
        if (auto* controller = getController (i))
            controller->addListener (listener);
}

namespace
{
template <typename Widget>
std::unique_ptr<juce::Component> makeWidget (const juce::String& name, GUIController*& controller)
{
    auto widget = std::make_unique<Widget> (name);
    controller = widget.get();
    return widget;
}
} // namespace

std::unique_ptr<juce::Component> GFXPanel::createTopLevelWidget (const juce::XmlElement& element, GUIController*& controller)
{
    controller = nullptr;
    const auto name = SkinElement::getString (element, "name");

    if (SkinElement::hasTag (element, "Knob"))
        return makeWidget<GFXKnob> (name, controller);
    if (SkinElement::hasTag (element, "Switch"))
        return makeWidget<GFXSwitch> (name, controller);
    if (SkinElement::hasTag (element, "Animation"))
        return makeWidget<GFXAnimation> (name, controller);
    if (SkinElement::hasTag (element, "Button"))
        return makeWidget<GFXButton> (name, controller);
    if (SkinElement::hasTag (element, "ToggleButton"))
        return makeWidget<GFXToggleButton> (name, controller);
    if (SkinElement::hasTag (element, "MultiStateButton"))
        return makeWidget<GFXMultiStateButton> (name, controller);
    if (SkinElement::hasTag (element, "Display"))
        return makeWidget<GFXDisplay> (name, controller);
    if (SkinElement::hasTag (element, "DisplayFloat"))
        return makeWidget<GFXDisplayFloat> (name, controller);
    if (SkinElement::hasTag (element, "Rocker"))
        return makeWidget<GFXRocker> (name, controller);
    if (SkinElement::hasTag (element, "Panel"))
        return makeWidget<GFXPanel> (name, controller);
    if (SkinElement::hasTag (element, "NumericDisplay"))
        return makeWidget<NumericDisplay> (name, controller);
    if (SkinElement::hasTag (element, "PatternNumberDisplay"))
        return makeWidget<PatternNumberDisplay> (name, controller);

    return nullptr;
}

std::unique_ptr<juce::Component> GFXPanel::createWidget (const juce::XmlElement& element, GUIController*& controller)
{
    if (auto widget = createTopLevelWidget (element, controller))
        return widget;

    const auto name = SkinElement::getString (element, "name");

    if (SkinElement::hasTag (element, "NoteDisplay"))
        return makeWidget<NoteDisplay> (name, controller);
    if (SkinElement::hasTag (element, "MusicKeyboard"))
        return makeWidget<MusicKeyboard> (name, controller);
    if (SkinElement::hasTag (element, "PitchBender"))
        return makeWidget<PitchBender> (name, controller);
    if (SkinElement::hasTag (element, "ModWheel"))
        return makeWidget<ModWheel> (name, controller);
    if (SkinElement::hasTag (element, "ParameterModulator"))
        return makeWidget<ParameterModulator> (name, controller);

    return nullptr;
}

void GFXPanel::loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context)
{
    BaseGFXController::loadFromXml (element, parameters, events, context);

    if (auto* gfx = SkinElement::getChild (element, "gfx"))
    {
        const bool newTransparent = SkinElement::getBool (*gfx, "transparent", false);

        if (newTransparent != transparent)
        {
            transparent = newTransparent;
            repaint();
        }
    }

    if (auto* controls = SkinElement::getChild (element, "controls"))
    {
        const int ofsX = SkinElement::getInt (*controls, "ofsX", 0);
        const int ofsY = SkinElement::getInt (*controls, "ofsY", 0);

        for (auto* child : controls->getChildIterator())
        {
            GUIController* controller = nullptr;
            auto component = createWidget (*child, controller);

            if (component == nullptr)
                continue;

            {
                const juce::ScopedLock sl (lock);
                controllers.add (controller);
            }

            auto* added = components.add (component.release());
            controller->loadFromXml (*child, parameters, events, context);
            addAndMakeVisible (added);
        }

        for (auto* child : getChildren())
            child->setTopLeftPosition (child->getPosition().translated (ofsX, ofsY));
    }

    applyBoundsTo (*this);
    repaint();
}

void GFXPanel::paint (juce::Graphics& g)
{
    if (transparent)
        return;

    if (hasImage())
        drawFrame (g, 0);
    else
        g.fillAll (juce::Colour::greyLevel (0.9f));
}
