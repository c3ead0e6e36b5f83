#pragma once

#include "gui/controls/FacedTextButton.h"
#include "gui/widgets/GFXButton.h"

/** A skin button with a text label, built in code, drawn from seven images of the look
    and feel (see TextButtonFace). Its width follows the text; its left edge stays put.
    Clicks, actions and listeners are those of GFXButton. */
class TextButtonEx : public FacedTextButton<GFXButton>
{
public:
    using FacedTextButton::FacedTextButton;
};
