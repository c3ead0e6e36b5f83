#include "PulsaretTestHost.h"

#include <gtest/gtest.h>

namespace
{
// The native chain starts at pattern 0: a bass drum on its first step.
std::unique_ptr<PulsaretTestHost> makeNativeInstrument (bool internalSync)
{
    auto host = std::make_unique<PulsaretTestHost>();
    auto& seq = host->seq();
    seq.setEditedPatternIndex (0);
    seq.clearPattern();
    seq.setStep (0, 0, 1);
    seq.setStep (0, 8, 1);
    host->plugin->selectChain (0, 0);
    host->plugin->setInternalSync (internalSync);
    return host;
}

std::vector<juce::MidiMessage> sentIn (PulsaretTestHost& host, int numSamples, const juce::MidiBuffer& events = {})
{
    host.process (numSamples, events);
    std::vector<juce::MidiMessage> messages;

    for (const auto metadata : host.midi)
    {
        auto message = metadata.getMessage();
        message.setTimeStamp (metadata.samplePosition);
        messages.push_back (message);
    }

    return messages;
}
} // namespace

TEST (DrumMachineTransport, TransportStartAndStopStartAndStopTheSequencer)
{
    auto host = makeNativeInstrument (false);
    host->playHead.bpm = 150.0;

    EXPECT_TRUE (sentIn (*host, 512).empty());
    EXPECT_FALSE (host->plugin->getNativeClock().isRunning());

    host->playHead.playing = true;
    auto sent = sentIn (*host, 512);
    ASSERT_EQ (sent.size(), 2u);
    EXPECT_TRUE (sent[0].isNoteOn());
    EXPECT_EQ (sent[0].getTimeStamp(), 0.0);
    EXPECT_EQ (sent[0].getNoteNumber(), 35);
    EXPECT_TRUE (host->plugin->getNativeClock().isRunning());
    EXPECT_EQ (host->plugin->getNativeClock().getTempo(), 150.0);
    EXPECT_TRUE (host->plugin->isNativeClockRunning());

    // The panel's start and stop wait while the host plays, and are used up.
    host->plugin->handleEvent (DrumMachine::stopEvent);
    host->playHead.ppq = 512.0 * 150.0 / 60.0 / PulsaretTestHost::sampleRate;
    sentIn (*host, 512);
    EXPECT_TRUE (host->plugin->getNativeClock().isRunning());
    EXPECT_EQ (host->plugin->getGuiRequest(), 0);

    host->playHead.playing = false;
    sent = sentIn (*host, 512);
    ASSERT_EQ (sent.size(), 2u);
    EXPECT_TRUE (sent[0].isNoteOff());
    EXPECT_EQ (sent[0].getTimeStamp(), 0.0);
    EXPECT_FALSE (host->plugin->getNativeClock().isRunning());
    EXPECT_FALSE (host->plugin->getHostClock().isRunning());
    EXPECT_FALSE (host->seq().isNativePlaying());

    // A tempo of 0 or none at all never reaches the clocks.
    host->playHead.bpm = 0.0;
    sentIn (*host, 64);
    EXPECT_EQ (host->plugin->getNativeClock().getTempo(), 150.0);
    host->playHead.hasBpm = false;
    sentIn (*host, 64);
    EXPECT_EQ (host->plugin->getNativeClock().getTempo(), 150.0);
}

TEST (DrumMachineTransport, AfterReleasingResourcesTheNextStartStartsAgain)
{
    auto host = makeNativeInstrument (true);
    host->playHead.playing = true;
    ASSERT_EQ (sentIn (*host, 512).size(), 2u);

    host->plugin->releaseResources();
    EXPECT_FALSE (host->plugin->getNativeClock().isRunning());
    host->prepare();

    auto sent = sentIn (*host, 512);
    ASSERT_EQ (sent.size(), 4u); // the notes it ended, then the new start
    EXPECT_TRUE (sent[0].isNoteOff());
    EXPECT_TRUE (sent[1].isNoteOff());
    EXPECT_TRUE (sent[2].isNoteOn());
    EXPECT_EQ (sent[2].getTimeStamp(), 0.0);
    EXPECT_TRUE (host->plugin->getNativeClock().isRunning());
}

TEST (DrumMachineTransport, LowestCStartsTheSequencerOnItsSample)
{
    auto host = makeNativeInstrument (true);
    host->plugin->setHostPlayDetection (DrumMachine::byLowestCNoteOn);
    host->playHead.playing = true;

    EXPECT_TRUE (sentIn (*host, 512).empty()); // the transport alone starts nothing now

    juce::MidiBuffer events;
    events.addEvent (PulsaretTestHost::noteOn (0), 200);
    const auto sent = sentIn (*host, 512, events);
    ASSERT_EQ (sent.size(), 2u);
    EXPECT_EQ (sent[0].getTimeStamp(), 200.0);
    EXPECT_EQ (sent[1].getNoteNumber(), 36);

    // The transport's stop still stops it.
    host->playHead.playing = false;
    sentIn (*host, 512);
    EXPECT_FALSE (host->plugin->getNativeClock().isRunning());
}

TEST (DrumMachineTransport, PanelStartAndStopFollowTheClockAfterOtherStops)
{
    auto host = makeNativeInstrument (true);

    host->plugin->handleEvent (DrumMachine::startEvent);
    auto sent = sentIn (*host, 512);
    ASSERT_EQ (sent.size(), 2u);
    EXPECT_EQ (sent[0].getTimeStamp(), 0.0);
    EXPECT_TRUE (host->plugin->getNativeClock().isRunning());

    // Controller 123 stops it behind the panel's back; "Start" and "Start/Stop" still start it.
    juce::MidiBuffer allOff;
    allOff.addEvent (juce::MidiMessage::allNotesOff (1), 10);
    sentIn (*host, 512, allOff);
    EXPECT_FALSE (host->plugin->getNativeClock().isRunning());

    host->plugin->handleEvent (DrumMachine::startEvent);
    sentIn (*host, 512);
    EXPECT_TRUE (host->plugin->getNativeClock().isRunning());

    sentIn (*host, 512, allOff);
    host->plugin->handleEvent (DrumMachine::startStopEvent);
    sentIn (*host, 512);
    EXPECT_TRUE (host->plugin->getNativeClock().isRunning());

    host->plugin->handleEvent (DrumMachine::startStopEvent);
    sentIn (*host, 512);
    EXPECT_FALSE (host->plugin->getNativeClock().isRunning());

    // Started by the lowest C, "Start/Stop" stops it.
    host->plugin->setHostPlayDetection (DrumMachine::byLowestCNoteOn);
    juce::MidiBuffer lowestC;
    lowestC.addEvent (PulsaretTestHost::noteOn (0), 0);
    sentIn (*host, 512, lowestC);
    EXPECT_TRUE (host->plugin->getNativeClock().isRunning());
    host->plugin->handleEvent (DrumMachine::startStopEvent);
    EXPECT_EQ (host->plugin->getGuiRequest(), DrumMachine::stopRequest);
    sentIn (*host, 512);
    EXPECT_FALSE (host->plugin->getNativeClock().isRunning());

    // Requests need the internal sequencer.
    host->plugin->setInternalSequencer (false);
    host->plugin->handleEvent (DrumMachine::startEvent);
    EXPECT_EQ (host->plugin->getGuiRequest(), 0);
}

TEST (DrumMachineTransport, LowestCWithTheHostStoppedRunsOnAtTheHostTempo)
{
    auto host = makeNativeInstrument (false);
    host->plugin->setHostPlayDetection (DrumMachine::byLowestCNoteOn);
    host->playHead.bpm = 120.0;
    host->playHead.ppq = 3.0; // stands still while the host is stopped
    host->seq().setEditedPatternLength (16);
    host->seq().setEditedPatternScale (4);
    host->seq().setEditedPatternShuffle (0.0);

    constexpr int start = 100;
    host->run (50000, {{start, PulsaretTestHost::noteOn (0)}});

    // The bass drum on steps 0 and 8, two beats apart: 44100 samples at 120 beats per minute.
    std::vector<int> bassDrumNotes;

    for (const auto& m : host->sentMessages())
        if (m.isNoteOn() && m.getNoteNumber() == 36)
            bassDrumNotes.push_back ((int) m.getTimeStamp());

    ASSERT_EQ (bassDrumNotes.size(), 2u);
    EXPECT_EQ (bassDrumNotes[0], start);
    EXPECT_NEAR (bassDrumNotes[1], start + 44100, 1);
}

TEST (DrumMachineTransport, WithInternalSyncThePatternTempoRules)
{
    auto host = makeNativeInstrument (true);
    host->seq().setEditedPatternTempo (97.0);
    host->playHead.bpm = 150.0;
    host->playHead.playing = true;
    sentIn (*host, 512);
    ASSERT_TRUE (host->plugin->getNativeClock().isRunning());
    EXPECT_EQ (host->plugin->getNativeClock().getTempo(), 97.0);

    // Switched off, the host's tempo takes over from the next block.
    host->plugin->handleEvent (DrumMachine::toggleInternalSyncEvent);
    sentIn (*host, 512);
    EXPECT_EQ (host->plugin->getNativeClock().getTempo(), 150.0);
}
