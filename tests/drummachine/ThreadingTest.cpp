#include "PulsaretTestHost.h"
#include "tests/MessagePump.h"

#include <gtest/gtest.h>

#include <thread>

namespace
{
constexpr int bassDrum = 0, snareDrum = 1;

juce::MemoryBlock stateOf (PulsaretTestHost& host)
{
    juce::MemoryBlock block;
    host.plugin->getStateInformation (block);
    return block;
}

/** Runs short blocks on a thread of their own while the message thread swaps, each
    with a note-on of the key at its start, and counts the blocks in which exactly one
    of the bass and snare drum was struck. */
struct AudioThread
{
    AudioThread (PulsaretTestHost& hostToUse, int keyToUse)
        : host (hostToUse)
        , key (keyToUse)
        , thread ([this]
                  { run(); })
    {
    }

    ~AudioThread() { stop(); }

    void stop()
    {
        done = true;

        if (thread.joinable())
            thread.join();
    }

    void run()
    {
        juce::MidiBuffer events;
        events.addEvent (PulsaretTestHost::noteOn (key), 0);

        while (!done.load())
        {
            host.process (64, events);
            const int struck = host.plugin->takeActivity (bassDrum) + host.plugin->takeActivity (snareDrum);
            ++(struck == 1 ? wholeBlocks : tornBlocks);
        }
    }

    int blocks() const { return wholeBlocks.load() + tornBlocks.load(); }

    PulsaretTestHost& host;
    const int key;
    std::atomic<bool> done{false};
    std::atomic<int> wholeBlocks{0}, tornBlocks{0};
    std::thread thread;
};
} // namespace

TEST (DrumMachineThreads, ProgramChangeAndLearnedControllersReachTheMessageThread)
{
    PulsaretTestHost host;
    auto& plugin = *host.plugin;
    plugin.getMidiControl().assign (21, plugin.getParameterManager().getParameter (2), false);
    pumpPendingMessages();

    host.run (512, {{10, juce::MidiMessage::programChange (1, 5)}, {20, juce::MidiMessage::controllerEvent (1, 21, 127)}});
    EXPECT_EQ (host.parameter (2).getNormalisedValue(), 1.0f); // at once
    EXPECT_EQ (plugin.getCurrentPreset(), 0);                  // later, on the message thread

    pumpPendingMessages();
    EXPECT_EQ (plugin.getCurrentPreset(), 5);
}

TEST (DrumMachineThreads, DrumMapsSwapWholeWhileBlocksRun)
{
    // Key 36 plays the bass drum in one map and the snare drum in the other: every block
    // strikes exactly one of them, never neither (a map seen half read).
    auto snareMap = juce::parseXML (R"(<DrumMap application="Pulsaret" ver="1.1" name="Other"><assign midiKey="36" instrument="SD"/></DrumMap>)");
    ASSERT_NE (snareMap, nullptr);

    PulsaretTestHost target;
    target.plugin->setInternalSequencer (false);
    pumpPendingMessages();

    AudioThread audio (target, 36);

    // Swapping until the blocks have run a while, however late their thread starts.
    for (int i = 0; i < 300 || (audio.blocks() < 200 && i < 1000000); ++i)
    {
        ASSERT_TRUE (target.plugin->loadFactoryDrumMap());
        ASSERT_TRUE (target.plugin->readDrumMapXml (*snareMap));
    }

    audio.stop();
    EXPECT_GT (audio.wholeBlocks.load(), 0);
    EXPECT_EQ (audio.tornBlocks.load(), 0);
    EXPECT_EQ (target.plugin->getDrumMapEntry (36), snareDrum);
}

TEST (DrumMachineThreads, StatesAndPatternsSwapWholeWhileBlocksRun)
{
    // Two states whose pattern 0 differs: every step of the bass drum in one, of the
    // snare drum in the other. Each block starts pattern 0 afresh, so its first step
    // strikes exactly one of them, whichever state is in force. Patterns 2 and 3 hold
    // the same two for pasting.
    PulsaretTestHost first, second;

    for (auto* host : {&first, &second})
    {
        host->plugin->setHostMode (true);

        for (int pattern : {0, 2, 3})
        {
            const bool snare = pattern == 2 || (pattern == 0 && host == &second);
            host->seq().setEditedPatternIndex (pattern);
            host->seq().clearPattern();

            for (int step = 0; step < 16; ++step)
                host->seq().setStep (snare ? snareDrum : bassDrum, step, 1);
        }
    }

    const auto stateA = stateOf (first);
    const auto stateB = stateOf (second);

    PulsaretTestHost target;
    target.plugin->setStateInformation (stateA.getData(), (int) stateA.getSize());
    pumpPendingMessages();

    AudioThread audio (target, 12);

    for (int i = 0; i < 60 || (audio.blocks() < 100 && i < 100000); ++i)
    {
        const auto& state = i % 2 == 0 ? stateB : stateA;
        target.plugin->setStateInformation (state.getData(), (int) state.getSize());
    }

    // Pasting a whole pattern over the playing one swaps it whole as well.
    const int blocksBeforePasting = audio.blocks();

    for (int i = 0; i < 61 || (audio.blocks() < blocksBeforePasting + 100 && i < 100001); ++i)
    {
        target.seq().setEditedPatternIndex (i % 2 == 0 ? 2 : 3);
        target.plugin->handleEvent (DrumMachine::copyPatternEvent);
        ASSERT_TRUE (target.plugin->isClipboardPatternFilled());
        target.seq().setEditedPatternIndex (0);
        target.plugin->handleEvent (DrumMachine::pasteEvent);
    }

    // The snare drum's pattern last.
    target.seq().setEditedPatternIndex (2);
    target.plugin->handleEvent (DrumMachine::copyPatternEvent);
    target.seq().setEditedPatternIndex (0);
    target.plugin->handleEvent (DrumMachine::pasteEvent);

    audio.stop();
    pumpPendingMessages();

    EXPECT_GT (audio.wholeBlocks.load(), 0);
    EXPECT_EQ (audio.tornBlocks.load(), 0);
    EXPECT_EQ (target.seq().getPattern (0)->getStep (snareDrum, 7), 1);
    EXPECT_EQ (target.seq().getPattern (0)->getStep (bassDrum, 7), 0);
}
