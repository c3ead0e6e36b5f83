#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

/** What the toolkit's controls and widgets ask of a look and feel beyond JUCE's own:
    the text font and the icon buttons. The toolkit's look and feel implements it; with
    another look and feel the controls keep their own defaults. */
struct ToolkitLookAndFeelMethods
{
    virtual ~ToolkitLookAndFeelMethods() = default;

    virtual juce::Font getDefaultFont() = 0;
    virtual int getStandardIconSize() = 0;

    /** A new image button showing the icon's normal and pressed images; null for an
        icon above 16. */
    virtual std::unique_ptr<juce::ImageButton> createImageButton (const juce::String& name, int icon) = 0;
    virtual void setImageButtonImages (juce::ImageButton& button, int icon, int size) = 0;
};
