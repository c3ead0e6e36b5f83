#include "PulsaretTestHost.h"

#include <gtest/gtest.h>

namespace
{
constexpr int snareKey = 38;
constexpr int snare = 1;

juce::MemoryBlock stateOf (Pulsaret& plugin)
{
    juce::MemoryBlock chunk;
    plugin.getStateInformation (chunk);
    return chunk;
}
} // namespace

TEST (DrumMachineTriggerOutput, ChosenOutputCarriesThePulseAndSurvivesTheState)
{
    PulsaretTestHost host;
    auto& plugin = *host.plugin;
    plugin.getCore()->setTriggerOutEnabled (true);
    plugin.getCore()->updateTriggerOut();
    plugin.getCore()->setTriggerOutInstrument (snare);
    plugin.setTriggerOutput (3);
    plugin.setTriggerOutput (0); // outside 1 to 8: ignored
    plugin.setTriggerOutput (9);
    EXPECT_EQ (plugin.getTriggerOutput(), 3);

    // The snare itself sounds on output 1, its pulse on output 3, nothing on 8.
    EXPECT_EQ (host.outputsSoundingAfter (snareKey), (std::vector<int>{1, 3}));

    const auto saved = stateOf (plugin);
    const auto document = BasePlugin::readStateChunk (saved.getData(), (int) saved.getSize());
    ASSERT_NE (document, nullptr);
    auto* trigger = document->getChildByName ("AudioOutputSettings")->getChildByName ("TriggerOut");
    ASSERT_NE (trigger, nullptr);
    EXPECT_EQ (trigger->getStringAttribute ("out"), "3");
    EXPECT_EQ (trigger->getStringAttribute ("instrument"), "SD");

    PulsaretTestHost restored;
    restored.plugin->setStateInformation (saved.getData(), (int) saved.getSize());
    EXPECT_EQ (restored.plugin->getTriggerOutput(), 3);
    EXPECT_EQ (restored.plugin->getCore()->getTriggerOutInstrument(), snare);
    EXPECT_EQ (restored.outputsSoundingAfter (snareKey), (std::vector<int>{1, 3}));

    // An older project without the output, or one naming an output that does not
    // exist, uses the last output.
    for (const auto* out : {"", R"( out="9")", R"( out="0")", R"( out="x")"})
    {
        auto older = juce::String (R"(<PluginState application="Pulsaret"><AudioOutputSettings><TriggerOut state="on" instrument="SD")") + out + "/></AudioOutputSettings></PluginState>";
        juce::MemoryBlock chunk;
        BasePlugin::writeStateChunk (*juce::parseXML (older), chunk);
        restored.plugin->setStateInformation (chunk.getData(), (int) chunk.getSize());
        EXPECT_EQ (restored.plugin->getTriggerOutput(), 8) << out;
    }

    EXPECT_EQ (restored.outputsSoundingAfter (snareKey), (std::vector<int>{1, 8}));
}
