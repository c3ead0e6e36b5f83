#pragma once

#include <juce_graphics/juce_graphics.h>

#include <array>
#include <utility>
#include <vector>

/** Draws the toolkit's own button, box, icon and edge images in one flat grey
    style, for the generator that writes them into resources/toolkit. */
class ToolkitArtwork
{
public:
    static constexpr int boxSize = 15;
    static constexpr int standardIconSize = 27;
    static constexpr int largeIconSize = 43;
    static constexpr int rowIconSize = 14;

    /** Check box (square) and radio button (round) images, boxSize square. */
    static juce::Image checkBox (bool ticked);
    static juce::Image radioButton (bool ticked);

    /** An image-button face for an icon of ToolkitImages; null outside 0 .. 16. */
    static juce::Image iconButton (int icon, bool large, bool pressed);

    /** The seven slices of a text button (normal left, middle, right, pressed left,
        middle, right, overlay). Set 0 is the standard grey, 1 the dark one,
        2 the large grey. */
    static std::array<juce::Image, 7> textButtonSlices (int set);

    /** The picture at the left of a preset row, rowIconSize square. */
    static juce::Image presetRowIcon (bool selected);

    /** The 24 x 24 title-bar icon of a framed window. */
    static juce::Image titleIcon();

    /** A window edge strip: side 1 top and 2 bottom (40 x 10), 3 left and
        4 right (10 x 40). Null for any other side. */
    static juce::Image edgeStrip (int side);

    /** The file size in bytes that the check and radio box and preset row PNG files keep (the
        generator pads them with a comment chunk); 0 for every other image. */
    static int fixedFileSize (const juce::String& name);

    /** Every image with its resource file name. */
    static std::vector<std::pair<juce::String, juce::Image>> renderAll();

private:
    static void drawGlyph (juce::Graphics& g, int icon, juce::Rectangle<float> box);
};
