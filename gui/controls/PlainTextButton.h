#pragma once

#include "gui/controls/FacedTextButton.h"

/** The windows' own text button (message boxes, path fields): a juce::Button that
    fires its button listeners only. Like the skin's buttons it leaves the keyboard to
    the host, so Return never clicks it again. */
class PlainTextButton : public FacedTextButton<juce::Button>
{
public:
    PlainTextButton (const juce::String& text, int style)
        : FacedTextButton (text, style)
    {
        setWantsKeyboardFocus (false);
        setMouseClickGrabsKeyboardFocus (false);
    }
};
