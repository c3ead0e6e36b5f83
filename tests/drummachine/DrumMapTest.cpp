#include "PulsaretTestHost.h"
#include "drummachine/DrumVoiceNames.h"

#include <gtest/gtest.h>

namespace
{
std::unique_ptr<juce::XmlElement> mapXml (const juce::String& assigns, const juce::String& version = "1.1")
{
    return juce::parseXML ("<DrumMap application=\"Pulsaret\" ver=\"" + version + "\" name=\"Test\">" + assigns + "</DrumMap>");
}
} // namespace

TEST (DrumVoiceNames, NamesInVoiceOrder)
{
    EXPECT_EQ (DrumVoiceNames::getName (5), "Open Hi Hat");
    EXPECT_EQ (DrumVoiceNames::getShortName (7), "AC");
    EXPECT_EQ (DrumVoiceNames::getName (8), "");
    EXPECT_EQ (DrumVoiceNames::getShortName (-1), "");
    EXPECT_EQ (DrumVoiceNames::findShortName ("ch"), 6);
    EXPECT_EQ (DrumVoiceNames::findShortName ("XX"), -1);
}

TEST (DrumMapFiles, FactoryMapIsGeneralMidi)
{
    PulsaretTestHost host;
    const auto& map = host.plugin->getDrumMap();
    EXPECT_EQ (map.getName(), "General Midi");

    const std::map<int, int> expected{{35, 0}, {36, 0}, {38, 1}, {40, 1}, {41, 2}, {45, 2}, {43, 3}, {50, 3}, {49, 4}, {55, 4}, {57, 4}, {46, 5}, {42, 6}};

    for (int key = 0; key < 128; ++key)
        EXPECT_EQ (map.getInstrument (key), expected.count (key) ? expected.at (key) : -1) << key;

    EXPECT_EQ (host.plugin->getDrumMapFileExtension(), ".PXdrmap");
    EXPECT_EQ (host.plugin->getDrumMapFileFilter(), "*.PXdrmap");
}

TEST (DrumMapFiles, ReadingIgnoresWhatIsOutOfRange)
{
    PulsaretTestHost host;
    auto& plugin = *host.plugin;

    ASSERT_TRUE (plugin.readDrumMapXml (*mapXml (R"(<assign midiKey="128" instrument="BD"/><assign midiKey="-1" instrument="BD"/>)"
                                                 R"(<assign midiKey="60" instrument="AC"/><assign midiKey="61" instrument="XX"/>)"
                                                 R"(<assign midiKey="x1" instrument="BD"/><assign midiKey="" instrument="BD"/><assign midiKey="5x" instrument="BD"/>)"
                                                 R"(<assign instrument="SD"/><assign midiKey="62" instrument="oh"/><ASSIGN MIDIKEY="62" instrument="ch"/>)")));

    for (int key = 0; key < 128; ++key)
        EXPECT_EQ (plugin.getDrumMapEntry (key), key == 62 ? 6 : -1) << key;

    EXPECT_EQ (plugin.getInstrumentNameForKey (62), "Closed Hi Hat");
    EXPECT_EQ (plugin.getInstrumentNameForKey (61), "");

    // A version whose keys cannot be known is refused whole: the map in force stays.
    EXPECT_FALSE (plugin.readDrumMapXml (*mapXml (R"(<assign midiKey="30" instrument="BD"/>)", "2.0")));

    for (int key = 0; key < 128; ++key)
        EXPECT_EQ (plugin.getDrumMapEntry (key), key == 62 ? 6 : -1) << key;

    ASSERT_TRUE (plugin.readDrumMapXml (*mapXml (R"(<assign note="31" instrument="SD"/><assign midiKey="32" instrument="SD"/>)", "1.0")));
    EXPECT_EQ (plugin.getDrumMapEntry (31), 1);
    EXPECT_EQ (plugin.getDrumMapEntry (32), -1);

    // Another application's map changes nothing.
    EXPECT_FALSE (plugin.readDrumMapXml (*juce::parseXML (R"(<DrumMap application="Other" ver="1.1"><assign midiKey="40" instrument="BD"/></DrumMap>)")));
    EXPECT_EQ (plugin.getDrumMapEntry (31), 1);
    EXPECT_EQ (plugin.getDrumMapEntry (40), -1);
}

TEST (DrumMapFiles, SavedMapReadsBackTheSame)
{
    PulsaretTestHost host;
    auto& plugin = *host.plugin;
    ASSERT_TRUE (plugin.readDrumMapXml (*mapXml (R"(<assign midiKey="70" instrument="CH"/><assign midiKey="20" instrument="CH"/><assign midiKey="90" instrument="BD"/>)")));

    const auto xml = plugin.createDrumMapXml();
    EXPECT_EQ (xml->getStringAttribute ("ver"), "1.1");
    ASSERT_EQ (xml->getNumChildElements(), 3);
    EXPECT_EQ (xml->getChildElement (0)->getStringAttribute ("midiKey"), "90");
    EXPECT_EQ (xml->getChildElement (1)->getStringAttribute ("midiKey"), "20");
    EXPECT_EQ (xml->getChildElement (2)->getStringAttribute ("instrument"), "CH");

    const auto file = host.folder.getChildFile ("mine.PXdrmap");
    ASSERT_TRUE (plugin.saveDrumMapFile (file));
    const auto saved = plugin.getDrumMap();

    ASSERT_TRUE (plugin.loadFactoryDrumMap());
    EXPECT_NE (plugin.getDrumMap(), saved);
    ASSERT_TRUE (plugin.loadDrumMapFile (file));
    EXPECT_EQ (plugin.getDrumMap(), saved);

    file.replaceWithText ("not a document <<");
    EXPECT_FALSE (plugin.loadDrumMapFile (file));
    EXPECT_FALSE (plugin.loadDrumMapFile (host.folder.getChildFile ("missing.PXdrmap")));
    EXPECT_EQ (plugin.getDrumMap(), saved);
}

TEST (DrumMapFiles, UserMapIsLoadedAtStartUp)
{
    const auto folder = juce::File::createTempFile ("pulsaret-map");
    folder.createDirectory();
    const auto file = folder.getChildFile ("user.PXdrmap");
    file.replaceWithText (R"(<DrumMap application="Pulsaret" ver="1.1" name="User"><assign midiKey="10" instrument="SD"/></DrumMap>)");

    {
        PulsaretTestHost host ("<UserSettings application=\"Pulsaret\"><ResourcesSettings><DrumMap default=\"userDefinedDrumMap\" file=\"" + file.getFullPathName() + "\"/></ResourcesSettings></UserSettings>");
        EXPECT_EQ (host.plugin->getDrumMapSource(), DrumMachine::userDrumMap);
        EXPECT_EQ (host.plugin->getDrumMap().getName(), "User");
        EXPECT_EQ (host.plugin->getDrumMapEntry (10), 1);
        EXPECT_EQ (host.plugin->getDrumMapEntry (36), -1);
    }

    folder.deleteRecursively();
}

TEST (DrumMapFiles, HostKeyNamesFollowTheMode)
{
    PulsaretTestHost host;
    auto& plugin = *host.plugin;

    plugin.setInternalSequencer (false);
    EXPECT_EQ (plugin.getMidiKeyName (36), "Bass Drum");
    EXPECT_EQ (plugin.getMidiKeyName (37), "---");
    EXPECT_EQ (plugin.getMidiKeyName (-1), "");
    EXPECT_EQ (plugin.getMidiKeyName (128), "");
    EXPECT_EQ (plugin.getMidiKeyName (1 << 30), "");

    plugin.setInternalSequencer (true);
    EXPECT_EQ (plugin.getMidiKeyName (36), "");

    plugin.setHostMode (true);
    host.seq().setPatternName (0, "First");
    EXPECT_EQ (plugin.getMidiKeyName (11), "---");
    EXPECT_EQ (plugin.getMidiKeyName (12), "First");
    EXPECT_EQ (plugin.getMidiKeyName (108), "---");
}
