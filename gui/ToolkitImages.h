#pragma once

#include <juce_graphics/juce_graphics.h>

#include <array>

/** The toolkit's own images, embedded in the library as PNG files (drawn by the
    artwork generator in tools/artwork and committed in resources/toolkit). A
    missing resource gives a null image, which the controls treat as "no image". */
class ToolkitImages
{
public:
    /** Icons 0 .. 16: the close cross, then copy, minus, paste, delete an
        assignment (a bin), next (down), previous (up), folder, disk, add a group,
        remove a group, cross-out, clear all, stop, reload, open and save. */
    static constexpr int numIcons = 17;
    static constexpr int numTextButtonSets = 3;
    static constexpr int numTextButtonSlices = 7;

    static juce::Image checkBox (bool ticked);
    static juce::Image radioButton (bool ticked);

    /** Null for an icon outside 0 .. 16. */
    static juce::Image iconButton (int icon, bool large, bool pressed);

    /** Set 0 standard grey, 1 dark, 2 large grey; slices in the text button's order. */
    static std::array<juce::Image, numTextButtonSlices> textButtonSlices (int set);

    static juce::Image titleIcon();

    /** The picture of a preset browser row, unselected or selected. */
    static juce::Image presetRowIcon (bool selected);

    /** Side 1 top, 2 bottom, 3 left, 4 right; null for any other side. */
    static juce::Image edgeStrip (int side);

    //==============================================================================
    /** Resource file names of the images above. */
    static juce::String checkBoxName (bool ticked);
    static juce::String radioButtonName (bool ticked);
    static juce::String iconButtonName (int icon, bool large, bool pressed);
    static juce::String textButtonSliceName (int set, int slice);
    static juce::String titleIconName();
    static juce::String presetRowIconName (bool selected);
    static juce::String edgeStripName (int side);

private:
    static juce::Image load (const juce::String& name);
};
