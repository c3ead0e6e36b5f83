#include "framework/EmbeddedResources.h"
#include "framework/EmbeddedResourceTable.h"

namespace
{
const EmbeddedResource* findResource (const juce::String& logicalName)
{
    const int dot = logicalName.lastIndexOfChar ('.');

    // Without a dot the name is empty, which no resource has.
    const auto name = dot >= 0 ? logicalName.substring (0, dot) : juce::String();
    const auto type = dot >= 0 ? logicalName.substring (dot + 1) : logicalName;

    if (name.isEmpty())
        return nullptr;

    for (auto* r = embeddedResources; r->type != nullptr; ++r)
        if (type.equalsIgnoreCase (r->type) && name.equalsIgnoreCase (r->name))
            return r;

    return nullptr;
}
} // namespace

std::unique_ptr<juce::MemoryBlock> getResourceData (const juce::String& logicalName)
{
    auto* r = findResource (logicalName);

    if (r == nullptr || r->size == 0)
        return nullptr;

    return std::make_unique<juce::MemoryBlock> (r->data, r->size);
}

juce::String loadXmlResource (const juce::String& logicalName)
{
    auto* r = findResource (logicalName);

    if (r == nullptr || r->size == 0)
        return {};

    return juce::String::fromUTF8 (reinterpret_cast<const char*> (r->data), (int) r->size);
}

bool loadImageResource (const juce::String& logicalName, juce::Image& image)
{
    auto* r = findResource (logicalName);

    if (r == nullptr)
        return false;

    image = r->size > 0 ? juce::ImageFileFormat::loadFrom (r->data, r->size) : juce::Image();
    return true;
}
