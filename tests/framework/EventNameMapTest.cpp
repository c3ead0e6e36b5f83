#include "framework/EventNameMap.h"

#include <gtest/gtest.h>

TEST (EventNameMap, AddRefusesDuplicatesOfEitherSide)
{
    EventNameMap map;
    EXPECT_TRUE (map.add (5, "Five"));
    EXPECT_FALSE (map.add (5, "Another"));
    EXPECT_EQ (map.getName (5), "Five");
    EXPECT_FALSE (map.add (6, "Five"));
    EXPECT_EQ (map.getName (6), "");
    EXPECT_FALSE (map.add (-1, "No Action"));
    EXPECT_EQ (map.getUid ("No Action"), EventNameMap::noEvent);
    EXPECT_TRUE (map.add (7, "five")); // names are case-sensitive
    EXPECT_EQ (map.getUid ("Five"), 5);
    EXPECT_EQ (map.size(), 2);

    EXPECT_EQ (map.getDisplayName (99), "");
    map.add (8, "tOGGLE Something");
    EXPECT_EQ (map.getDisplayName (8), "Toggle something");

    map.clear();
    EXPECT_EQ (map.size(), 0);
    EXPECT_EQ (map.getName (5), "");
    EXPECT_EQ (map.getUid ("Five"), EventNameMap::noEvent);
}

TEST (EventNameMap, EmbeddedDescriptionAndCommandEvents)
{
    EventNameMap map;
    map.loadEventsFromResource ("events.xml");
    ASSERT_EQ (map.size(), 61);

    const juce::StringArray voices{"Bass Drum", "Snare Drum", "Low Tom", "Hi Tom", "Cymbal", "Open Hi Hat", "Closed Hi Hat"};
    auto withAccent = voices;
    withAccent.add ("Accent");

    juce::StringArray names;
    for (auto& v : voices)
        names.add ("Toggle " + v + " Mute");
    for (auto& v : voices)
        names.add ("Inverse " + v + " Mute");
    for (auto& v : voices)
        names.add ("Toggle " + v + " Solo");
    for (auto& v : voices)
        names.add ("Inverse " + v + " Solo");
    for (auto& v : withAccent)
        names.add ("Select " + v);
    for (auto& v : withAccent)
        names.add ("Toggle " + v + " Selection");
    for (auto& v : withAccent)
        names.add ("Tap " + v);
    for (auto& v : withAccent)
        names.add ("Tap " + v + " Accented");
    names.add ("Tap/Accept");

    for (int uid = 0; uid < 61; ++uid)
    {
        EXPECT_EQ (map.getName (uid), names[uid]) << uid;
        EXPECT_EQ (map.getUid (names[uid]), uid);
    }

    map.addCommandEvents();
    EXPECT_EQ (map.size(), 72);

    const char* commands[] = {"Options", "About", "Select next preset", "Select previous preset", "Browse presets", "Save Preset",
                              "Save Preset As", "Copy current preset", "Paste copied preset", "Store current preset", "Toggle Midi Learn"};

    for (int i = 0; i < 11; ++i)
        EXPECT_EQ (map.getName (1000 + i), commands[i]);

    EXPECT_EQ (map.getDisplayName (EventNameMap::toggleMidiLearnEvent), "Toggle midi learn");

    map.addDebugEvents();
    EXPECT_EQ (map.size(), 84);
    EXPECT_EQ (map.getName (10000), "Debug Event 0");
    EXPECT_EQ (map.getName (10011), "Debug Event 11");
}

TEST (EventNameMap, LoaderEdgeCases)
{
    EventNameMap map;
    map.add (500, "Stale");

    auto xml = juce::parseXML (R"(<eventsmap>
        <EVENT UID="3" NAME="Three"/>
        <event name="No Uid"/>
        <event name="Also No Uid"/>
        <event uid="4" name="Three"/>
        <event uid="3" name="Again"/>
        <other uid="9" name="Other"/>
        <event uid="-1" name="Nothing"/>
        <event uid="99999999999" name="Huge"/>
    </eventsmap>)");
    ASSERT_NE (xml, nullptr);
    map.loadEventsXml (*xml);

    EXPECT_EQ (map.getName (500), "");
    EXPECT_EQ (map.getName (3), "Three");
    EXPECT_EQ (map.getName (0), "No Uid");
    EXPECT_EQ (map.getUid ("Also No Uid"), EventNameMap::noEvent);
    EXPECT_FALSE (map.contains (4));
    EXPECT_FALSE (map.contains (9));
    EXPECT_EQ (map.getUid ("Nothing"), EventNameMap::noEvent);
    EXPECT_EQ (map.getUid ("Huge"), 2147483647);
    EXPECT_EQ (map.size(), 3);

    auto foreign = juce::parseXML (R"(<PluginParameters><event uid="1" name="A"/></PluginParameters>)");
    map.loadEventsXml (*foreign);
    EXPECT_EQ (map.size(), 0);

    map.add (1, "Kept");
    map.loadEventsFromResource ("missing.xml");
    EXPECT_EQ (map.getName (1), "Kept");
}
