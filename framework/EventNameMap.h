#pragma once

#include <juce_core/juce_core.h>

#include <map>

/** The two-way map between event uids and their unique names: skins name events,
    code handles their uids. Names compare exactly. The uid -1 means "no action". */
class EventNameMap
{
public:
    // The framework's own command events, added by the plug-in base after the description.
    enum CommandEvent
    {
        optionsEvent = 1000,
        aboutEvent = 1001,
        selectNextPresetEvent = 1002,
        selectPreviousPresetEvent = 1003,
        browsePresetsEvent = 1004,
        savePresetEvent = 1005,
        savePresetAsEvent = 1006,
        copyCurrentPresetEvent = 1007,
        pasteCopiedPresetEvent = 1008,
        storeCurrentPresetEvent = 1009,
        toggleMidiLearnEvent = 1010
    };

    static constexpr int noEvent = -1;
    static constexpr int firstDebugEvent = 10000;
    static constexpr int numDebugEvents = 12;

    /** False, changing nothing, when the uid or the name is already present. */
    bool add (int uid, const juce::String& name);
    void clear();

    /** Empty when the uid is not present. */
    juce::String getName (int uid) const;
    /** The uid registered under the name; noEvent when there is none. */
    int getUid (const juce::String& name) const;
    bool contains (int uid) const;
    int size() const noexcept { return (int) byUid.size(); }

    /** The name with its first character in upper case and the rest in lower case. */
    juce::String getDisplayName (int uid) const;

    /** Loads an "EventsMap" document, replacing what the map held. */
    void loadEventsXml (const juce::XmlElement& root);
    /** Loads an embedded event description such as "events.xml"; nothing on failure. */
    void loadEventsFromResource (const juce::String& logicalName);

    /** Adds the command events 1000 to 1010 in uid order. */
    void addCommandEvents();
    /** Adds "Debug Event 0" to "Debug Event 11" under uids 10000 to 10011. */
    void addDebugEvents();

    const std::map<int, juce::String>& getEventsByUid() const noexcept { return byUid; }

private:
    std::map<juce::String, int> byName;
    std::map<int, juce::String> byUid;
};
