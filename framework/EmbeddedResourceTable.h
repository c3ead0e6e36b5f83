#pragma once

#include <juce_core/juce_core.h>
#include <juce_graphics/juce_graphics.h>

#include <cstddef>

/** One file of resources/, compiled into the library by the build. The table
    ends with an entry whose type is null. */
struct EmbeddedResource
{
    const char* type;     // upper-case text after the file name's last dot
    const char* name;     // upper-case text before it
    const char* fileName; // the file's own name, as in resources/
    const unsigned char* data;
    size_t size;
};

extern const EmbeddedResource embeddedResources[];

/** The entry of the table that a logical name such as "parameters.xml" stands for:
    split at the last dot into name and type, matched ignoring case. Null when there
    is none; a name without a dot is never found. */
const EmbeddedResource* findEmbeddedResource (const EmbeddedResource* table, const juce::String& logicalName);

/** What the look-up functions make of an entry (null: a missing resource). */
std::unique_ptr<juce::MemoryBlock> copyResourceData (const EmbeddedResource* resource);
juce::String getResourceText (const EmbeddedResource* resource);
bool decodeResourceImage (const EmbeddedResource* resource, juce::Image& image);
