#include "PulsaretTestHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace
{
juce::MemoryBlock stateOf (PulsaretTestHost& host)
{
    juce::MemoryBlock block;
    host.plugin->getStateInformation (block);
    return block;
}

juce::MemoryBlock chunkOf (const juce::String& xml)
{
    juce::MemoryBlock block;
    BasePlugin::writeStateChunk (*juce::parseXML (xml), block);
    return block;
}

// Changes every part of the state away from its start-up value.
void changeEverything (PulsaretTestHost& host)
{
    auto& plugin = *host.plugin;
    plugin.selectChain (9, 2);
    plugin.handleEvent (DrumMachine::pressStepEvent + 15); // the fourth bank button
    plugin.selectChain (4, 6);

    auto& seq = host.seq();
    seq.setEditedPatternIndex (41);
    seq.setStep (3, 5, 2);
    seq.setEditedPatternName ("Saved groove");
    seq.setEditedPatternTempo (97.5);

    plugin.setHostMode (true);
    plugin.setNoteOffMode (true);
    plugin.setInternalSync (false);

    host.parameter (ParameterId::lowTomOutputNumber).setValue (5.0f, true);
    host.parameter (ParameterId::bassDrumLevel).setNormalisedValue (0.25f, true);
    host.parameter (ParameterId::lowTomMute).setBoolValue (true, true);
    plugin.getCore()->setTriggerOutEnabled (true);
    plugin.getCore()->setTriggerOutInstrument (DrumMachine::accentTrack);

    plugin.setPresetName (3, "Renamed");
    plugin.getMidiControl().assign (21, plugin.getParameterManager().getParameter (5), false);

    auto map = juce::parseXML (R"(<DrumMap application="Pulsaret" ver="1.1" name="Mine"><assign midiKey="60" instrument="CY"/></DrumMap>)");
    ASSERT_TRUE (plugin.readDrumMapXml (*map));
}
} // namespace

TEST (DrumMachineState, WholeStateRoundTripsByteForByteIntoAFreshInstance)
{
    PulsaretTestHost original;
    changeEverything (original);
    const auto saved = stateOf (original);

    const auto text = saved.toString();
    const auto document = BasePlugin::readStateChunk (saved.getData(), (int) saved.getSize());
    ASSERT_NE (document, nullptr);

    const juce::StringArray order{"PXState", "InternalSequencer", "AudioOutputSettings", "PatternsState",
                                  "ParametersState", "PresetsState", "MidiControlMap", "DrumMap"};
    ASSERT_EQ (document->getNumChildElements(), order.size());

    for (int i = 0; i < order.size(); ++i)
        EXPECT_EQ (document->getChildElement (i)->getTagName(), order[i]);

    auto* chain = document->getChildElement (0)->getChildByName ("ChainPatterns");
    ASSERT_NE (chain, nullptr);
    EXPECT_EQ (chain->getStringAttribute ("first"), "4");
    EXPECT_EQ (chain->getStringAttribute ("last"), "6");
    EXPECT_EQ (chain->getStringAttribute ("bank"), "3");

    PulsaretTestHost restored;
    restored.plugin->setStateInformation (saved.getData(), (int) saved.getSize());
    const auto again = stateOf (restored);
    EXPECT_EQ (again.toString(), text);
    EXPECT_TRUE (again == saved);

    auto& plugin = *restored.plugin;
    EXPECT_TRUE (plugin.isHostModeOn());
    EXPECT_TRUE (plugin.isPatternWriteModeOn()); // saved as the editing state
    EXPECT_TRUE (plugin.isNoteOffModeOn());
    EXPECT_FALSE (plugin.isInternalSyncOn());
    EXPECT_EQ (plugin.getOutputNumber (2), 5);
    EXPECT_EQ (plugin.getDrumMapEntry (60), 4);
    EXPECT_EQ (plugin.getDrumMapEntry (36), -1);
    EXPECT_EQ (plugin.getDrumMap().getName(), "Mine");
    EXPECT_TRUE (plugin.getCore()->isTriggerOutEnabled());
    EXPECT_EQ (plugin.getCore()->getTriggerOutInstrument(), 7);
    EXPECT_EQ (plugin.getPresetName (3), "Renamed");
    EXPECT_EQ (plugin.getCurrentBank(), 3);
    EXPECT_EQ (restored.seq().getPatternName (41), "Saved groove");
    EXPECT_EQ (restored.seq().getPattern (41)->getStep (3, 5), 2);
    EXPECT_FALSE (plugin.isInstrumentAudible (2));
}

TEST (DrumMachineState, ChildrenInAnotherOrderRestoreTheSameState)
{
    PulsaretTestHost original;
    changeEverything (original);
    const auto saved = stateOf (original);

    auto document = BasePlugin::readStateChunk (saved.getData(), (int) saved.getSize());
    ASSERT_NE (document, nullptr);
    juce::XmlElement reversed (document->getTagName());
    reversed.setAttribute ("application", "Pulsaret");

    for (int i = document->getNumChildElements(); --i >= 0;)
        reversed.addChildElement (new juce::XmlElement (*document->getChildElement (i)));

    juce::MemoryBlock chunk;
    BasePlugin::writeStateChunk (reversed, chunk);

    PulsaretTestHost restored;
    restored.plugin->setStateInformation (chunk.getData(), (int) chunk.getSize());
    EXPECT_EQ (stateOf (restored).toString(), saved.toString());
}

TEST (DrumMachineState, DamagedStateChangesNothing)
{
    PulsaretTestHost original;
    changeEverything (original);
    const auto saved = stateOf (original);

    PulsaretTestHost target;
    const auto before = stateOf (target);

    auto expectUnchanged = [&] (const void* data, int size, const char* what)
    {
        target.plugin->setStateInformation (data, size);
        EXPECT_TRUE (stateOf (target) == before) << what;
    };

    expectUnchanged (saved.getData(), (int) saved.getSize() / 2, "cut in half");
    expectUnchanged (saved.getData(), 6, "header only");
    expectUnchanged (nullptr, 0, "nothing");

    juce::MemoryBlock damaged (saved);
    static_cast<char*> (damaged.getData())[0] = 'X';
    expectUnchanged (damaged.getData(), (int) damaged.getSize(), "foreign magic");

    juce::MemoryBlock broken (saved);
    static_cast<char*> (broken.getData())[40] = '<';
    expectUnchanged (broken.getData(), (int) broken.getSize(), "broken XML");

    auto document = BasePlugin::readStateChunk (saved.getData(), (int) saved.getSize());
    document->setAttribute ("application", "Other");
    juce::MemoryBlock foreign;
    BasePlugin::writeStateChunk (*document, foreign);
    expectUnchanged (foreign.getData(), (int) foreign.getSize(), "another application");

    // A chain out of range picks no pattern.
    const auto badChain = chunkOf (R"(<PluginState application="Pulsaret"><PXState><ChainPatterns first="3" last="40" bank="2"/></PXState></PluginState>)");
    expectUnchanged (badChain.getData(), (int) badChain.getSize(), "chain out of range");
    const auto badBank = chunkOf (R"(<PluginState application="Pulsaret"><PXState><ChainPatterns first="3" last="4" bank="-1"/></PXState></PluginState>)");
    expectUnchanged (badBank.getData(), (int) badBank.getSize(), "bank out of range");
}

TEST (DrumMachineState, ChainAndOutputsReadAsStored)
{
    PulsaretTestHost host;
    const auto chunk = chunkOf (R"(<PluginState application="Pulsaret"><PXState><chainpatterns FIRST="9" last="2" bank="3"/></PXState>)"
                                R"(<AudioOutputSettings><TriggerOut state="on" instrument="XX"/><OutAssignations><BD out="9"/><SD out="0"/><LT out="4"/></OutAssignations></AudioOutputSettings>)"
                                R"(<InternalSequencer><IntSeq state="on"/><HostMode state="off"/><PattWriteMode state="off"/></InternalSequencer></PluginState>)");
    host.plugin->getCore()->setTriggerOutInstrument (2);
    host.plugin->setStateInformation (chunk.getData(), (int) chunk.getSize());

    EXPECT_EQ (host.seq().getChainFirst(), 2);
    EXPECT_EQ (host.seq().getChainLast(), 9);
    EXPECT_EQ (host.seq().getChainBank(), 3);
    EXPECT_EQ (host.seq().getNativePatternIndex(), 38);
    EXPECT_EQ (host.seq().getEditedPatternIndex(), 38);

    EXPECT_EQ (host.plugin->getOutputNumber (0), 1);
    EXPECT_EQ (host.plugin->getOutputNumber (1), 1);
    EXPECT_EQ (host.plugin->getOutputNumber (2), 4);
    EXPECT_TRUE (host.plugin->getCore()->isTriggerOutEnabled());
    EXPECT_EQ (host.plugin->getCore()->getTriggerOutInstrument(), 2);
}

namespace
{
// Pattern 0, chained alone: the track's voice on every step, nothing else, 16 steps at 120 BPM, on the
// instrument's own clock. Then, as on the panel: write mode, Random, that track, density 0.2, Next.
void startRandomPreview (PulsaretTestHost& host, int track)
{
    auto& plugin = *host.plugin;
    auto& seq = host.seq();
    seq.seedGenerator (7);
    seq.setEditedPatternIndex (0);
    seq.clearPattern();
    seq.setEditedPatternLength (16);
    seq.setEditedPatternScale (4);
    seq.setEditedPatternShuffle (0.0);
    seq.setEditedPatternTempo (120.0);

    for (int s = 0; s < 16; ++s)
        seq.setStep (track, s, 1);

    plugin.selectChain (0, 0);
    plugin.setInternalSync (true);
    plugin.handleEvent (DrumMachine::togglePatternWriteModeEvent);
    plugin.selectInstrument (track);
    plugin.handleEvent (DrumMachine::toggleRandomizerEvent);
    host.parameter (ParameterId::firstRandThreshold + track).setValue (0.2f, true);
    plugin.handleEvent (DrumMachine::nextEvent);
}

// A voice's notes out on one key of the default map over the 16 steps of one cycle, from a transport
// start to its stop.
int strikesInOneCycle (PulsaretTestHost& host, int key)
{
    constexpr int samplesPerStep = 5512; // a sixteenth at 120 BPM and 44.1 kHz, rounded down
    host.playHead.playing = true;
    host.run (16 * samplesPerStep - samplesPerStep / 2);
    host.playHead.playing = false;
    const auto messages = host.sentMessages();
    host.run (PulsaretTestHost::blockSize);

    return (int) std::count_if (messages.begin(), messages.end(), [key] (const juce::MidiMessage& m)
                                { return m.isNoteOn() && m.getNoteNumber() == key; });
}

juce::String trackAsShown (DrumMachineSeq& seq, int track)
{
    juce::String text;

    for (int s = 0; s < 16; ++s)
        text << juce::String::charToString (".oO"[juce::jlimit (0, 2, seq.getStepValue (track, s))]);

    return text;
}
} // namespace

TEST (DrumMachineState, SavedDuringARandomPreviewRestoresWhatPlayed)
{
    using Save = std::function<void (PulsaretTestHost & from, PulsaretTestHost & to)>;
    const struct
    {
        const char* route;
        Save save;
    } routes[] = {
        {"state", [] (PulsaretTestHost& from, PulsaretTestHost& to)
         {
             const auto saved = stateOf (from);
             to.plugin->setStateInformation (saved.getData(), (int) saved.getSize());
         }},
        {"pattern file", [] (PulsaretTestHost& from, PulsaretTestHost& to)
         {
             const auto file = from.folder.getChildFile ("preview.PXptr");
             ASSERT_TRUE (from.seq().savePatternFile (0, file));
             ASSERT_TRUE (to.seq().loadPatternFile (0, file));
         }},
        {"bank file", [] (PulsaretTestHost& from, PulsaretTestHost& to)
         {
             const auto file = from.folder.getChildFile ("preview.PXptrb");
             ASSERT_TRUE (from.seq().savePatternBankFile (file));
             ASSERT_TRUE (to.seq().loadPatternBankFile (file));
         }},
    };

    // The bass drum, and the closed hi-hat: the last voice's track, not only the first, is written as it plays.
    const struct
    {
        int track, key;
    } voices[] = {{0, 36}, {6, 42}};

    for (const auto& [route, save] : routes)
    {
        for (const auto& [track, key] : voices)
        {
            SCOPED_TRACE (juce::String (route) + ", track " + juce::String (track));
            PulsaretTestHost original;
            startRandomPreview (original, track);
            auto& seq = original.seq();
            ASSERT_TRUE (seq.isRandomizerActive());

            const auto shown = trackAsShown (seq, track);
            EXPECT_EQ (shown.removeCharacters (".").length(), 4) << shown;
            const int previewStrikes = strikesInOneCycle (original, key);
            EXPECT_EQ (previewStrikes, 4);

            PulsaretTestHost restored;
            restored.plugin->selectChain (0, 0);
            restored.plugin->setInternalSync (true);
            save (original, restored);

            const auto& pattern = *restored.seq().getPattern (0);

            for (int t = 0; t < DrumMachine::numTracks; ++t)
                for (int s = 0; s < 16; ++s)
                    EXPECT_EQ (pattern.getStep (t, s), seq.getStepValue (t, s)) << "track " << t << " step " << s;

            EXPECT_EQ (strikesInOneCycle (restored, key), previewStrikes);

            // The preview goes on unchanged: every generated step is still there for the knob and Undo.
            EXPECT_TRUE (seq.isRandomizerActive());
            EXPECT_EQ (trackAsShown (seq, track), shown);

            for (int s = 0; s < 16; ++s)
                EXPECT_NE (seq.getStep (track, s), 0) << "step " << s;

            EXPECT_EQ (strikesInOneCycle (original, key), previewStrikes);
        }
    }
}
