#pragma once

#include "gui/widgets/GFXAnimation.h"
#include "gui/widgets/GFXButton.h"
#include "gui/widgets/GFXDisplay.h"
#include "gui/widgets/GFXKnob.h"
#include "gui/widgets/GFXMultiStateButton.h"
#include "gui/widgets/GFXRocker.h"
#include "gui/widgets/GFXSwitch.h"
#include "gui/widgets/GFXToggleButton.h"
#include "gui/widgets/NumericDisplay.h"
#include "gui/widgets/PatternNumberDisplay.h"
#include "gui/widgets/SkinElement.h"

#include <memory>

/** One skin widget made from its tag, as an editor makes it: the component to place
    and the controller that reads the element. Used by the skin's test and its
    snapshot tool; the editor has its own builder. */
struct SkinWidget
{
    std::unique_ptr<juce::Component> component;
    GUIController* controller = nullptr;

    template <typename Widget>
    static SkinWidget make (const juce::String& name)
    {
        auto* widget = new Widget (name);
        return {std::unique_ptr<juce::Component> (widget), widget};
    }

    /** The widget for a skin tag the panel uses; empty for any other tag. */
    static SkinWidget create (const juce::String& tag, const juce::String& name)
    {
        if (SkinElement::namesMatch (tag, "Knob"))
            return make<GFXKnob> (name);
        if (SkinElement::namesMatch (tag, "Switch"))
            return make<GFXSwitch> (name);
        if (SkinElement::namesMatch (tag, "Animation"))
            return make<GFXAnimation> (name);
        if (SkinElement::namesMatch (tag, "Button"))
            return make<GFXButton> (name);
        if (SkinElement::namesMatch (tag, "ToggleButton"))
            return make<GFXToggleButton> (name);
        if (SkinElement::namesMatch (tag, "MultiStateButton"))
            return make<GFXMultiStateButton> (name);
        if (SkinElement::namesMatch (tag, "Rocker"))
            return make<GFXRocker> (name);
        if (SkinElement::namesMatch (tag, "Display"))
            return make<GFXDisplay> (name);
        if (SkinElement::namesMatch (tag, "NumericDisplay"))
            return make<NumericDisplay> (name);
        if (SkinElement::namesMatch (tag, "PatternNumberDisplay"))
            return make<PatternNumberDisplay> (name);
        return {};
    }
};
