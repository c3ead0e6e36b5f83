#include "PulsaretTestHost.h"

#include "framework/XmlDocuments.h"

#include <gtest/gtest.h>

TEST (DrumMachineStartup, FreshInstanceWithoutSettings)
{
    PulsaretTestHost host;
    auto& plugin = *host.plugin;

    EXPECT_TRUE (plugin.isInternalSequencerOn());
    EXPECT_TRUE (plugin.isInternalSyncOn());
    EXPECT_FALSE (plugin.isHostModeOn());
    EXPECT_FALSE (plugin.isNoteOffModeOn());
    EXPECT_EQ (plugin.getHostPlayDetection(), DrumMachine::byTransportChange);
    EXPECT_EQ (plugin.getTriggerOutput(), 8);

    for (int i = 0; i < 7; ++i)
    {
        EXPECT_EQ (plugin.getOutputNumber (i), 1);
        EXPECT_EQ (host.parameter (47 + i).getIntValue(), 1);
    }

    EXPECT_EQ (plugin.getOutputChannelCount(), 16);
    EXPECT_EQ (plugin.getTotalNumOutputChannels(), 16);
    EXPECT_EQ (plugin.getTotalNumInputChannels(), 0);
    EXPECT_EQ (plugin.getOutputChannelName (0), "PX1");
    EXPECT_EQ (plugin.getOutputChannelName (1), "PX1");
    EXPECT_EQ (plugin.getOutputChannelName (14), "PX8");
    EXPECT_EQ (plugin.getOutputChannelName (15), "PX8");
    EXPECT_TRUE (plugin.isOutputChannelStereoPair (3));
    EXPECT_EQ (plugin.getNumParameters(), 47);

    // Hosts may lay the outputs out as eight or sixteen channels, never with inputs.
    auto layout = [] (int inputs, int outputs)
    {
        juce::AudioProcessor::BusesLayout buses;

        if (inputs > 0)
            buses.inputBuses.add (juce::AudioChannelSet::discreteChannels (inputs));

        buses.outputBuses.add (juce::AudioChannelSet::discreteChannels (outputs));
        return buses;
    };

    EXPECT_TRUE (plugin.isBusesLayoutSupported (layout (0, 16)));
    EXPECT_TRUE (plugin.isBusesLayoutSupported (layout (0, 8)));
    EXPECT_FALSE (plugin.isBusesLayoutSupported (layout (2, 16)));
    EXPECT_FALSE (plugin.isBusesLayoutSupported (layout (0, 2)));
    EXPECT_EQ (plugin.getName(), "Pulsaret");

    // Internal state, published.
    EXPECT_TRUE (host.parameter (DrumMachine::internalSequencerStateUid).getBoolValue());
    EXPECT_TRUE (host.parameter (DrumMachine::nativeModeReadyStateUid).getBoolValue());
    EXPECT_EQ (host.parameter (DrumMachine::patternNumberUid).getIntValue(), 1);
    EXPECT_EQ (host.parameter (DrumMachine::stepStateUid + 0).getValue(), 1.0f);  // the chain's pattern button
    EXPECT_EQ (host.parameter (DrumMachine::stepStateUid + 12).getValue(), 0.5f); // bank 0
}

TEST (DrumMachineStartup, MonoSettingsGiveEightNamedChannels)
{
    PulsaretTestHost host (R"(<UserSettings application="Pulsaret"><AudioOutputSettings><OutCharacteristics type="mono"/></AudioOutputSettings>)"
                           R"(<InternalSequencer><IntSeq state="off"/><HostMode state="on"/><NoteOff state="on"/>)"
                           R"(<HostPlayDetection type="byLowestCNoteOn"/></InternalSequencer></UserSettings>)");
    auto& plugin = *host.plugin;

    EXPECT_EQ (plugin.getOutputChannelCount(), 8);
    EXPECT_EQ (plugin.getTotalNumOutputChannels(), 8);
    EXPECT_EQ (plugin.getOutputChannelName (7), "PX8");
    EXPECT_FALSE (plugin.isOutputChannelStereoPair (7));
    EXPECT_FALSE (plugin.isInternalSequencerOn());
    EXPECT_TRUE (plugin.isHostModeOn());
    EXPECT_TRUE (plugin.isNoteOffModeOn());
    EXPECT_EQ (plugin.getHostPlayDetection(), DrumMachine::byLowestCNoteOn);

    // With the sequencer off, the mode states all read false.
    for (int uid : {3001, 3002, 3003, 3005, 3025})
        EXPECT_FALSE (host.parameter (uid).getBoolValue()) << uid;
}

TEST (DrumMachineStartup, SettingsFileRoundTripAndExactDetectionNames)
{
    juce::String written;

    {
        PulsaretTestHost host;
        host.plugin->setModeDefaults (false, true, true, false);
        host.plugin->setHostPlayDetection (DrumMachine::byLowestCNoteOn);
        host.plugin->setDefaultOutputMode (OutputSettings::monoOutputs);
        host.plugin->setDefaultOutputNumber (3, 6);
        host.plugin->setUserDrumMapFile ("/nowhere/map.PXdrmap");
        ASSERT_TRUE (host.plugin->saveUserSettings());
        written = host.settingsFile.loadFileAsString();
    }

    auto settings = juce::parseXML (written);
    ASSERT_NE (settings, nullptr);
    auto* sequencer = settings->getChildByName ("InternalSequencer");
    ASSERT_NE (sequencer, nullptr);
    EXPECT_EQ (sequencer->getChildElement (0)->getTagName(), "IntSeq");
    EXPECT_EQ (sequencer->getChildElement (0)->getStringAttribute ("state"), "off");
    EXPECT_EQ (sequencer->getChildByName ("HostPlayDetection")->getStringAttribute ("type"), "byLowestCNoteOn");
    auto* drumMap = settings->getChildByName ("ResourcesSettings")->getChildByName ("DrumMap");
    ASSERT_NE (drumMap, nullptr);
    EXPECT_EQ (drumMap->getStringAttribute ("default"), "userDefinedDrumMap");

    PulsaretTestHost again (written.replace ("byLowestCNoteOn", "BYTRANSPORTCHANGE"));
    EXPECT_EQ (again.plugin->getHostPlayDetection(), DrumMachine::byTransportChange); // left at its start value
    EXPECT_FALSE (again.plugin->isInternalSequencerOn());
    EXPECT_TRUE (again.plugin->isHostModeOn());
    EXPECT_EQ (again.plugin->getOutputChannelCount(), 8);
    EXPECT_EQ (again.plugin->getOutputNumber (3), 6);
    EXPECT_EQ (again.plugin->getDrumMapSource(), DrumMachine::userDrumMap);

    PulsaretTestHost third (written);
    EXPECT_EQ (third.plugin->getHostPlayDetection(), DrumMachine::byLowestCNoteOn);

    // The drum machine has no preset changing setting: it is neither written nor read.
    auto* presetSettings = settings->getChildByName ("PresetSettings");
    ASSERT_NE (presetSettings, nullptr);
    EXPECT_EQ (presetSettings->getStringAttribute ("storing"), "onDemand");
    EXPECT_FALSE (presetSettings->hasAttribute ("changing"));
    PulsaretTestHost silent (written.replace ("<PresetSettings", "<PresetSettings changing=\"silent\""));
    EXPECT_EQ (silent.plugin->getChangingMode(), BasePluginOldStyle::normalChanging);
    EXPECT_EQ (silent.plugin->getHostPlayDetection(), DrumMachine::byLowestCNoteOn) << "the rest is read";
}

TEST (DrumMachineStartup, DeepOrHugeSettingsFilesAreIgnoredWhole)
{
    // Each would switch the internal sequencer off if any of it were read.
    const juce::String start = R"(<UserSettings application="Pulsaret"><InternalSequencer><IntSeq state="off"/></InternalSequencer>)";
    for (const auto& text : {start + juce::String::repeatedString ("<a>", 30000), start + "</UserSettings>" + juce::String::repeatedString ("\n", (int) maxXmlDocumentBytes),
                             start + "</UserSet"})
    {
        PulsaretTestHost host (text);
        EXPECT_TRUE (host.plugin->isInternalSequencerOn());
    }

    PulsaretTestHost whole (start + "</UserSettings>");
    EXPECT_FALSE (whole.plugin->isInternalSequencerOn());
}
