#pragma once

#include <juce_graphics/juce_graphics.h>

#include <array>
#include <utility>
#include <vector>

/** Draws the toolkit's own button, box, icon and edge images in one flat grey
    style. The tool GenerateArtwork writes them as PNG files into resources/toolkit,
    from where the library embeds them (see ToolkitImages). */
class ToolkitArtwork
{
public:
    static constexpr int numIcons = 17;
    static constexpr int boxSize = 15;
    static constexpr int standardIconSize = 27;
    static constexpr int largeIconSize = 43;

    /** Check box (square) and radio button (round) images, boxSize square. */
    static juce::Image checkBox (bool ticked);
    static juce::Image radioButton (bool ticked);

    /** An image-button face: icon 0 is the close cross; 1 .. 16 are plus, minus,
        left, right, up, down, folder, disk, copy, paste, cross-out, play, stop,
        reload, star and info. Null for an icon outside 0 .. 16. */
    static juce::Image iconButton (int icon, bool large, bool pressed);

    /** The seven slices of a text button (normal left, middle, right, pressed left,
        middle, right, overlay). Set 0 is the standard grey, 1 the dark one,
        2 the large grey. */
    static std::array<juce::Image, 7> textButtonSlices (int set);

    /** The 24 x 24 title-bar icon of a framed window. */
    static juce::Image titleIcon();

    /** A window edge strip: side 1 top and 2 bottom (40 x 10), 3 left and
        4 right (10 x 40). Null for any other side. */
    static juce::Image edgeStrip (int side);

    /** Resource file names of the images above. */
    static juce::String checkBoxName (bool ticked);
    static juce::String radioButtonName (bool ticked);
    static juce::String iconButtonName (int icon, bool large, bool pressed);
    static juce::String textButtonSliceName (int set, int slice);
    static juce::String titleIconName();
    static juce::String edgeStripName (int side);

    /** The file size in bytes that the check and radio box PNG files keep (the
        generator pads them with a comment chunk); 0 for every other image. */
    static int fixedFileSize (const juce::String& name);

    /** Every image with its resource file name, as the generator writes them. */
    static std::vector<std::pair<juce::String, juce::Image>> renderAll();

private:
    static void drawGlyph (juce::Graphics& g, int icon, juce::Rectangle<float> box);
};
