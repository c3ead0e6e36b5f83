#include "gui/ToolkitImages.h"
#include "framework/EmbeddedResources.h"

juce::Image ToolkitImages::load (const juce::String& name)
{
    juce::Image image;

    if (name.isEmpty() || !loadImageResource (name, image))
        return {};

    return image;
}

juce::Image ToolkitImages::checkBox (bool ticked)
{
    return load (checkBoxName (ticked));
}

juce::Image ToolkitImages::radioButton (bool ticked)
{
    return load (radioButtonName (ticked));
}

juce::Image ToolkitImages::iconButton (int icon, bool large, bool pressed)
{
    if (icon < 0 || icon >= numIcons)
        return {};

    return load (iconButtonName (icon, large, pressed));
}

std::array<juce::Image, ToolkitImages::numTextButtonSlices> ToolkitImages::textButtonSlices (int set)
{
    std::array<juce::Image, numTextButtonSlices> slices;

    if (set >= 0 && set < numTextButtonSets)
        for (int i = 0; i < numTextButtonSlices; ++i)
            slices[(size_t) i] = load (textButtonSliceName (set, i));

    return slices;
}

juce::Image ToolkitImages::titleIcon()
{
    return load (titleIconName());
}

juce::Image ToolkitImages::presetRowIcon (bool selected)
{
    return load (presetRowIconName (selected));
}

juce::Image ToolkitImages::edgeStrip (int side)
{
    return load (edgeStripName (side));
}

//==============================================================================
juce::String ToolkitImages::checkBoxName (bool ticked)
{
    return ticked ? "tkCheckBoxOn.png" : "tkCheckBoxOff.png";
}

juce::String ToolkitImages::radioButtonName (bool ticked)
{
    return ticked ? "tkRadioOn.png" : "tkRadioOff.png";
}

juce::String ToolkitImages::iconButtonName (int icon, bool large, bool pressed)
{
    return "tkIcon" + juce::String (icon).paddedLeft ('0', 2) + (large ? "L" : "S") + (pressed ? "P" : "N") + ".png";
}

juce::String ToolkitImages::textButtonSliceName (int set, int slice)
{
    return "tkTextButton" + juce::String (set) + "_" + juce::String (slice) + ".png";
}

juce::String ToolkitImages::titleIconName()
{
    return "tkTitleIcon.png";
}

juce::String ToolkitImages::presetRowIconName (bool selected)
{
    return selected ? "tkPresetRowOn.png" : "tkPresetRowOff.png";
}

juce::String ToolkitImages::edgeStripName (int side)
{
    const char* names[] = {"Top", "Bottom", "Left", "Right"};
    return side >= 1 && side <= 4 ? juce::String ("tkEdge") + names[side - 1] + ".png" : juce::String();
}
