#include "TestPlugin.h"

#include <gtest/gtest.h>

namespace
{
struct StateRecorder : public BasePlugin::StateListener
{
    void stateLoaded() override { ++loaded; }
    void stateSaved (BasePlugin& plugin) override
    {
        ++saved;
        savedBy = &plugin;
    }

    int loaded = 0, saved = 0;
    BasePlugin* savedBy = nullptr;
};

juce::MemoryBlock chunkOf (BasePlugin& plugin)
{
    juce::MemoryBlock block;
    plugin.getStateInformation (block);
    return block;
}

juce::MemoryBlock chunkWithText (const juce::String& text)
{
    juce::MemoryBlock block;
    auto element = juce::parseXML (text);
    BasePlugin::writeStateChunk (*element, block);
    return block;
}

juce::MemoryBlock rawChunk (juce::uint32 magic, juce::uint32 length, const void* text, size_t numBytes)
{
    juce::MemoryOutputStream out;
    out.writeInt ((int) magic);
    out.writeInt ((int) length);
    out.write (text, numBytes);
    return out.getMemoryBlock();
}

void setSomeState (TestPlugin& plugin)
{
    auto& store = plugin.getParameterManager();
    store.setNormalisedValue (0, 0.1f);
    store.setNormalisedValue (8, 0.1234567f);
    store.setNormalisedValue (24, 1.0f);
    store.setNormalisedValue (46, 0.0f);
    plugin.getMidiControl().assign (74, store.getParameter (8), true);
    plugin.getMidiControl().assign (7, store.getParameter (24), true);
}
} // namespace

TEST (BasePluginState, ChunkHasTheBlockLayoutAndExactNumberTexts)
{
    TestPlugin plugin;
    plugin.preInitialise();
    setSomeState (plugin);

    const auto block = chunkOf (plugin);
    const auto* bytes = static_cast<const juce::uint8*> (block.getData());
    ASSERT_GT (block.getSize(), 10u);

    EXPECT_EQ (juce::String::fromUTF8 ((const char*) bytes, 4), "VC2!");
    const auto length = (size_t) juce::ByteOrder::littleEndianInt (bytes + 4);
    EXPECT_EQ (block.getSize(), length + 10);
    EXPECT_EQ (bytes[8 + length], 0);
    EXPECT_EQ (bytes[9 + length], 0);

    const auto text = juce::String::fromUTF8 ((const char*) bytes + 8, (int) length);
    EXPECT_TRUE (text.startsWith ("<PluginState application=\"TestPlugin\"><ParametersState>"));
    EXPECT_FALSE (text.containsAnyOf ("\r\n"));
    EXPECT_TRUE (text.contains ("<param name=\"Bass Drum Level\" value=\"0.100000001\"/>"));
    EXPECT_TRUE (text.contains ("<param name=\"Bass Drum Tune\" value=\"0.123456702\"/>"));
    EXPECT_TRUE (text.contains ("<param name=\"Main Volume\" value=\"1\"/>"));
    EXPECT_TRUE (text.contains ("<param name=\"Accent Rand Threshold\" value=\"0\"/></ParametersState>"));
    EXPECT_FALSE (text.contains ("Output Number")); // uid 47 is past the saved parameters
    EXPECT_TRUE (text.endsWith ("<MidiControlMap name=\"TestPlugin\"><assign CC=\"7\" param=\"Main Volume\"/>"
                                "<assign CC=\"74\" param=\"Bass Drum Tune\"/></MidiControlMap></PluginState>"));
}

TEST (BasePluginState, AFreshInstanceGivesBackTheSameChunk)
{
    TestPlugin first;
    first.preInitialise();
    setSomeState (first);
    first.getParameterManager().setNormalisedValue (13, 1.0f / 3.0f);
    const auto saved = chunkOf (first);

    TestPlugin second;
    second.preInitialise();
    second.setStateInformation (saved.getData(), (int) saved.getSize());

    EXPECT_EQ (chunkOf (second), saved);
    EXPECT_EQ (second.getParameterManager().getNormalisedValue (13), 1.0f / 3.0f);
    EXPECT_EQ (second.getParameterManager().getNormalisedValue (8), 0.1234567f);
    EXPECT_EQ (second.getMidiControl().getParameterAt (74), second.getParameterManager().getParameter (8));
}

TEST (BasePluginState, DamagedChunksAreRefusedAndChangeNothing)
{
    TestPlugin plugin;
    plugin.preInitialise();
    setSomeState (plugin);
    StateRecorder recorder;
    plugin.addStateListener (&recorder);

    const auto own = chunkOf (plugin);
    pumpMessages();
    recorder.saved = 0;

    // A document that would change a parameter and clear the map, were it accepted.
    TestPlugin other;
    other.preInitialise();
    other.getParameterManager().setNormalisedValue (0, 0.9f);
    const auto good = chunkOf (other);
    const auto goodText = juce::String::fromUTF8 ((const char*) good.getData() + 8, (int) good.getSize() - 10);
    const auto* goodBytes = static_cast<const char*> (good.getData());

    std::vector<juce::MemoryBlock> damaged;
    damaged.push_back ({});
    damaged.push_back (juce::MemoryBlock (goodBytes, 8));
    damaged.push_back (rawChunk (0x21324357, (juce::uint32) goodText.getNumBytesAsUTF8(), goodText.toRawUTF8(), goodText.getNumBytesAsUTF8()));
    damaged.push_back (rawChunk (0x21324356, 0, goodText.toRawUTF8(), goodText.getNumBytesAsUTF8()));
    damaged.push_back (juce::MemoryBlock (goodBytes, good.getSize() / 2)); // length past the data
    damaged.push_back (rawChunk (0x21324356, 1, "<", 1));
    damaged.push_back (rawChunk (0x21324356, 0xffffffff, "not xml at all", 14));
    damaged.push_back (chunkWithText ("<PluginState application='Another'><ParametersState><param name='Bass Drum Level' value='0.9'/></ParametersState></PluginState>"));
    damaged.push_back (chunkWithText ("<Preset application='TestPlugin'/>"));

    // Text cut inside a multi-byte character, and a stray lead byte after a whole document.
    const char cutCharacter[] = "<PluginState application='TestPlugin'><x name='\xc3'/></PluginState>";
    damaged.push_back (rawChunk (0x21324356, sizeof (cutCharacter) - 1, cutCharacter, sizeof (cutCharacter) - 1));
    juce::MemoryBlock strayLead (goodText.toRawUTF8(), goodText.getNumBytesAsUTF8());
    strayLead.append ("\xe2\x82", 2);
    damaged.push_back (rawChunk (0x21324356, (juce::uint32) strayLead.getSize(), strayLead.getData(), strayLead.getSize()));

    for (size_t i = 0; i < damaged.size(); ++i)
    {
        plugin.setStateInformation (damaged[i].getData(), (int) damaged[i].getSize());
        EXPECT_EQ (chunkOf (plugin), own) << "damaged chunk " << i;
    }

    plugin.setStateInformation (nullptr, 100);
    plugin.setStateInformation (goodBytes, -5);
    EXPECT_EQ (chunkOf (plugin), own);

    pumpMessages();
    EXPECT_EQ (recorder.loaded, 0);
    plugin.removeStateListener (&recorder);
}

TEST (BasePluginState, ALengthPastTheDataUsesTheBytesPresent)
{
    TestPlugin source;
    source.preInitialise();
    source.getParameterManager().setNormalisedValue (3, 0.25f);
    const auto good = chunkOf (source);

    // The whole document is there; only its length field claims more.
    auto overlong = good;
    static_cast<juce::uint8*> (overlong.getData())[5] += 1;

    TestPlugin plugin;
    plugin.setStateInformation (overlong.getData(), (int) overlong.getSize());
    EXPECT_EQ (plugin.getParameterManager().getNormalisedValue (3), 0.25f);
}

TEST (BasePluginState, ApplicationMatchesIgnoringCaseAndNotificationsCoalesce)
{
    TestPlugin plugin;
    StateRecorder recorder;
    plugin.addStateListener (&recorder);
    plugin.addStateListener (&recorder);
    plugin.addStateListener (nullptr);

    const auto upper = chunkWithText ("<PLUGINSTATE APPLICATION='TESTPLUGIN'><parametersstate>"
                                      "<PARAM NAME='Snare Drum Level' VALUE='0.75'/>"
                                      "<param name='snare drum level' value='0.1'/>" // names compare exactly
                                      "<param name='Unknown' value='0.2'/>"
                                      "</parametersstate></PLUGINSTATE>");
    plugin.setStateInformation (upper.getData(), (int) upper.getSize());
    plugin.setStateInformation (upper.getData(), (int) upper.getSize());
    EXPECT_EQ (plugin.getParameterManager().getNormalisedValue (1), 0.75f);

    juce::MemoryBlock block;
    plugin.getStateInformation (block);

    EXPECT_EQ (recorder.loaded, 0); // only on the message thread
    pumpMessages();
    EXPECT_EQ (recorder.loaded, 1);
    EXPECT_EQ (recorder.saved, 1);
    EXPECT_EQ (recorder.savedBy, &plugin);

    plugin.removeStateListener (&recorder);
}

TEST (BasePluginState, ProgramChunksCarryTheLayersProgramDocument)
{
    TestPlugin plugin;
    StateRecorder recorder;
    plugin.addStateListener (&recorder);

    juce::MemoryBlock none;
    plugin.getCurrentProgramStateInformation (none);
    EXPECT_EQ (none.getSize(), 0u);

    plugin.withProgram = true;
    juce::MemoryBlock program;
    plugin.getCurrentProgramStateInformation (program);
    const auto expected = juce::String ("<Preset application=\"TestPlugin\" name=\"Current\"/>");
    EXPECT_EQ (program.getSize(), (size_t) expected.length() + 10);
    EXPECT_EQ (juce::String::fromUTF8 ((const char*) program.getData() + 8, expected.length()), expected);

    plugin.setCurrentProgramStateInformation (program.getData(), (int) program.getSize());
    ASSERT_NE (plugin.programDocument, nullptr);
    EXPECT_EQ (plugin.programDocument->getStringAttribute ("name"), "Current");

    pumpMessages();
    EXPECT_EQ (recorder.loaded + recorder.saved, 0);
    plugin.removeStateListener (&recorder);
}

TEST (BasePluginState, DocumentConventions)
{
    TestPlugin plugin;

    auto element = plugin.setApplicationAttribute ("UserSettings");
    EXPECT_TRUE (plugin.isUserSettingsXml (*element));
    EXPECT_FALSE (plugin.isPluginStateXml (*element));
    EXPECT_FALSE (plugin.checkApplicationAttribute (*juce::parseXML ("<UserSettings/>"), "UserSettings"));
    EXPECT_FALSE (plugin.checkApplicationAttribute (*juce::parseXML ("<UserSettings application=''/>"), "UserSettings"));

    EXPECT_TRUE (BasePlugin::isStateOn (*BasePlugin::createStateElement ("IntSeq", true)));
    EXPECT_FALSE (BasePlugin::isStateOn (*BasePlugin::createStateElement ("IntSeq", false)));
    EXPECT_EQ (BasePlugin::createStateElement ("IntSeq", false)->toString (juce::XmlElement::TextFormat().singleLine().withoutHeader()),
               "<IntSeq state=\"off\"/>");
    EXPECT_TRUE (BasePlugin::isStateOn (*juce::parseXML ("<X STATE='On'/>")));
    EXPECT_FALSE (BasePlugin::isStateOn (*juce::parseXML ("<X state='yes'/>")));
    EXPECT_FALSE (BasePlugin::isStateOn (*juce::parseXML ("<X/>")));

    EXPECT_EQ (BasePlugin::makeWildcard (".PXccmap"), "*.PXccmap");
}
