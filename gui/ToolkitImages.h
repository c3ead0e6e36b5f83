#pragma once

#include <juce_graphics/juce_graphics.h>

#include <array>

/** The toolkit's images as embedded in the library (PNG files drawn by
    ToolkitArtwork and kept in resources/toolkit). A missing resource gives a null
    image, which the controls treat as "no image". */
class ToolkitImages
{
public:
    static juce::Image checkBox (bool ticked);
    static juce::Image radioButton (bool ticked);

    /** Null for an icon outside 0 .. 16. */
    static juce::Image iconButton (int icon, bool large, bool pressed);

    /** Set 0 standard grey, 1 dark, 2 large grey; slices in the text button's order. */
    static std::array<juce::Image, 7> textButtonSlices (int set);

    static juce::Image titleIcon();

    /** Side 1 top, 2 bottom, 3 left, 4 right; null for any other side. */
    static juce::Image edgeStrip (int side);

private:
    static juce::Image load (const juce::String& name);
};
