#include "gui/widgets/SkinImages.h"

#include "framework/EmbeddedResources.h"

std::map<juce::String, juce::Image>& SkinImages::getAddedImages()
{
    static std::map<juce::String, juce::Image> images;
    return images;
}

juce::int64 SkinImages::getHashCode (const juce::String& logicalName)
{
    return ("skin:" + logicalName).hashCode64();
}

juce::Image SkinImages::load (const juce::String& logicalName)
{
    // Resource look-up ignores case, so every look-up here does too.
    const auto key = logicalName.toUpperCase();

    if (key.isEmpty())
        return {};

    auto& added = getAddedImages();
    auto found = added.find (key);

    if (found != added.end())
        return found->second;

    const auto hash = getHashCode (key);
    auto image = juce::ImageCache::getFromHashCode (hash);

    if (image.isValid())
        return image;

    if (!loadImageResource (logicalName, image) || !image.isValid())
        return {};

    juce::ImageCache::addImageToCache (image, hash);
    return image;
}

void SkinImages::add (const juce::String& logicalName, const juce::Image& image)
{
    auto& added = getAddedImages();
    const auto key = logicalName.toUpperCase();

    if (image.isValid())
        added[key] = image;
    else
        added.erase (key);
}
