#pragma once

#include <juce_graphics/juce_graphics.h>

#include <map>

/** Skin images by logical file name, decoded once and shared through juce::ImageCache
    (dozens of widgets use the same filmstrip). Message thread only. */
class SkinImages
{
public:
    /** The decoded image, or an invalid one when the resource is missing or no image. */
    static juce::Image load (const juce::String& logicalName);

    /** Makes an image known under a logical name ahead of the embedded ones (images
        built in code, tests); an invalid image removes it again. */
    static void add (const juce::String& logicalName, const juce::Image& image);

private:
    static std::map<juce::String, juce::Image>& getAddedImages();
    static juce::int64 getHashCode (const juce::String& logicalName);
};
