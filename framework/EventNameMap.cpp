#include "framework/EventNameMap.h"
#include "framework/EmbeddedResources.h"
#include "framework/NumberText.h"
#include "framework/XmlAttributes.h"
#include "framework/XmlDocuments.h"

bool EventNameMap::add (int uid, const juce::String& name)
{
    if (uid == noEvent || byUid.count (uid) != 0 || byName.count (name) != 0)
        return false;

    byUid.emplace (uid, name);
    byName.emplace (name, uid);
    return true;
}

void EventNameMap::clear()
{
    byUid.clear();
    byName.clear();
}

juce::String EventNameMap::getName (int uid) const
{
    const auto it = byUid.find (uid);
    return it != byUid.end() ? it->second : juce::String();
}

int EventNameMap::getUid (const juce::String& name) const
{
    const auto it = byName.find (name);
    return it != byName.end() ? it->second : noEvent;
}

bool EventNameMap::contains (int uid) const
{
    return byUid.count (uid) != 0;
}

juce::String EventNameMap::getDisplayName (int uid) const
{
    const auto name = getName (uid);
    return name.substring (0, 1).toUpperCase() + name.substring (1).toLowerCase();
}

void EventNameMap::loadEventsXml (const juce::XmlElement& root)
{
    clear();

    if (!root.getTagName().equalsIgnoreCase ("EventsMap"))
        return;

    for (auto* e : root.getChildIterator())
        if (e->getTagName().equalsIgnoreCase ("event"))
            add (parseDecimalInteger (getAttributeIgnoringCase (*e, "uid", "0")), getAttributeIgnoringCase (*e, "name"));
}

void EventNameMap::loadEventsFromResource (const juce::String& logicalName)
{
    if (auto root = parseXmlText (loadXmlResource (logicalName)))
        loadEventsXml (*root);
}

void EventNameMap::addCommandEvents()
{
    add (optionsEvent, "Options");
    add (aboutEvent, "About");
    add (selectNextPresetEvent, "Select next preset");
    add (selectPreviousPresetEvent, "Select previous preset");
    add (browsePresetsEvent, "Browse presets");
    add (savePresetEvent, "Save Preset");
    add (savePresetAsEvent, "Save Preset As");
    add (copyCurrentPresetEvent, "Copy current preset");
    add (pasteCopiedPresetEvent, "Paste copied preset");
    add (storeCurrentPresetEvent, "Store current preset");
    add (toggleMidiLearnEvent, "Toggle Midi Learn");
}

void EventNameMap::addDebugEvents()
{
    for (int i = 0; i < numDebugEvents; ++i)
        add (firstDebugEvent + i, "Debug Event " + juce::String (i));
}
