#include "framework/EmbeddedResources.h"
#include "framework/EmbeddedResourceTable.h"

const EmbeddedResource* findEmbeddedResource (const EmbeddedResource* table, const juce::String& logicalName)
{
    const int dot = logicalName.lastIndexOfChar ('.');

    // Without a dot the name is empty, which no resource has.
    const auto name = dot >= 0 ? logicalName.substring (0, dot) : juce::String();
    const auto type = dot >= 0 ? logicalName.substring (dot + 1) : logicalName;

    if (name.isEmpty())
        return nullptr;

    for (auto* r = table; r->type != nullptr; ++r)
        if (type.equalsIgnoreCase (r->type) && name.equalsIgnoreCase (r->name))
            return r;

    return nullptr;
}

std::unique_ptr<juce::MemoryBlock> copyResourceData (const EmbeddedResource* r)
{
    if (r == nullptr || r->size == 0)
        return nullptr;

    return std::make_unique<juce::MemoryBlock> (r->data, r->size);
}

juce::String getResourceText (const EmbeddedResource* r)
{
    if (r == nullptr || r->size == 0)
        return {};

    return juce::String::fromUTF8 (reinterpret_cast<const char*> (r->data), (int) r->size);
}

bool decodeResourceImage (const EmbeddedResource* r, juce::Image& image)
{
    // An empty resource fails like a missing one and leaves the image alone.
    if (r == nullptr || r->size == 0)
        return false;

    image = juce::ImageFileFormat::loadFrom (r->data, r->size);
    return true;
}

std::unique_ptr<juce::MemoryBlock> getResourceData (const juce::String& logicalName)
{
    return copyResourceData (findEmbeddedResource (embeddedResources, logicalName));
}

juce::String loadXmlResource (const juce::String& logicalName)
{
    return getResourceText (findEmbeddedResource (embeddedResources, logicalName));
}

bool loadImageResource (const juce::String& logicalName, juce::Image& image)
{
    return decodeResourceImage (findEmbeddedResource (embeddedResources, logicalName), image);
}
