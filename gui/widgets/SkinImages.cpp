#include "gui/widgets/SkinImages.h"

#include "framework/EmbeddedResources.h"

juce::int64 SkinImages::getHashCode (const juce::String& logicalName)
{
    // Resource look-up ignores case, so the cache must too.
    return ("skin:" + logicalName.toUpperCase()).hashCode64();
}

juce::Image SkinImages::load (const juce::String& logicalName)
{
    if (logicalName.isEmpty())
        return {};

    const auto hash = getHashCode (logicalName);
    auto image = juce::ImageCache::getFromHashCode (hash);

    if (image.isValid())
        return image;

    if (! loadImageResource (logicalName, image) || ! image.isValid())
        return {};

    juce::ImageCache::addImageToCache (image, hash);
    return image;
}

void SkinImages::add (const juce::String& logicalName, const juce::Image& image)
{
    juce::ImageCache::addImageToCache (image, getHashCode (logicalName));
}
