#pragma once

#include <juce_core/juce_core.h>
#include <juce_graphics/juce_graphics.h>

#include <memory>

/** The library's own documents and images, found by a logical file name such as
    "parameters.xml": split at the last dot into resource name and type, matched
    ignoring case. */

/** A copy of the resource's bytes, or null when it is missing or empty. */
std::unique_ptr<juce::MemoryBlock> getResourceData (const juce::String& logicalName);

/** The resource's bytes as UTF-8 text; empty when it is missing. */
juce::String loadXmlResource (const juce::String& logicalName);

/** Decodes the resource into image and returns true when the resource exists and is not empty
    (the image is null when the bytes are no image); false leaves image alone. */
bool loadImageResource (const juce::String& logicalName, juce::Image& image);
