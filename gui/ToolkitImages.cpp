#include "gui/ToolkitImages.h"
#include "framework/EmbeddedResources.h"
#include "gui/ToolkitArtwork.h"

juce::Image ToolkitImages::load (const juce::String& name)
{
    juce::Image image;

    if (name.isEmpty() || !loadImageResource (name, image))
        return {};

    return image;
}

juce::Image ToolkitImages::checkBox (bool ticked)
{
    return load (ToolkitArtwork::checkBoxName (ticked));
}

juce::Image ToolkitImages::radioButton (bool ticked)
{
    return load (ToolkitArtwork::radioButtonName (ticked));
}

juce::Image ToolkitImages::iconButton (int icon, bool large, bool pressed)
{
    if (icon < 0 || icon >= ToolkitArtwork::numIcons)
        return {};

    return load (ToolkitArtwork::iconButtonName (icon, large, pressed));
}

std::array<juce::Image, 7> ToolkitImages::textButtonSlices (int set)
{
    std::array<juce::Image, 7> slices;

    if (set >= 0 && set < 3)
        for (int i = 0; i < 7; ++i)
            slices[(size_t) i] = load (ToolkitArtwork::textButtonSliceName (set, i));

    return slices;
}

juce::Image ToolkitImages::titleIcon()
{
    return load (ToolkitArtwork::titleIconName());
}

juce::Image ToolkitImages::edgeStrip (int side)
{
    return load (ToolkitArtwork::edgeStripName (side));
}
