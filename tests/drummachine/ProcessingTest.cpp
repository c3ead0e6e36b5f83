#include "PulsaretTestHost.h"

#include <gtest/gtest.h>

namespace
{
constexpr int bassDrumKey = 36, snareKey = 38, lowTomKey = 45, hiTomKey = 50;

std::unique_ptr<PulsaretTestHost> makeLiveInstrument (const juce::String& settings = {})
{
    auto host = std::make_unique<PulsaretTestHost> (settings);
    host->plugin->setInternalSequencer (false);
    return host;
}

bool channelIsSilent (const PulsaretTestHost& host, int channel)
{
    return host.firstSound (channel) < 0;
}

// The voices' filters carry a trace of 1e-20 against denormals, far below any sound.
constexpr float trace = 1.0e-9f;
} // namespace

TEST (DrumMachineProcessing, NoteSoundsOnOutputOneFromItsOwnSample)
{
    // Both instances render the same number of samples before the note, so the engine's
    // smoothing is in the same state when it comes; only the note's position differs.
    constexpr int warmUp = 3000, offset = 700, length = 4000;

    auto reference = makeLiveInstrument();
    reference->run (warmUp + offset);
    reference->run (length, {{0, PulsaretTestHost::noteOn (bassDrumKey)}});

    auto host = makeLiveInstrument();
    host->run (warmUp);
    host->run (length, {{offset, PulsaretTestHost::noteOn (bassDrumKey)}});

    ASSERT_EQ (host->rendered.getNumChannels(), 16);
    const int onset = reference->firstSound (0);
    ASSERT_GE (onset, 0);
    EXPECT_LT (onset, 4);
    EXPECT_GT (reference->peak (0), 0.05f);

    for (int ch : {0, 1})
    {
        EXPECT_LT (host->rendered.getMagnitude (ch, 0, offset), trace);

        for (int i = 0; i < length - offset; ++i)
            ASSERT_EQ (host->rendered.getSample (ch, offset + i), reference->rendered.getSample (ch, i)) << "sample " << i;
    }

    for (int ch = 2; ch < 16; ++ch)
        EXPECT_TRUE (channelIsSilent (*host, ch)) << ch;

    EXPECT_EQ (host->plugin->takeActivity (0), 1);
    EXPECT_EQ (host->plugin->takeActivity (0), 0);
    EXPECT_EQ (host->plugin->takeMidiActivity(), 1);
}

TEST (DrumMachineProcessing, EachVoiceLandsOnItsOutputInStereoAndMono)
{
    auto stereo = makeLiveInstrument();
    stereo->parameter (ParameterId::snareDrumOutputNumber).setValue (3.0f, true);
    stereo->parameter (ParameterId::bassDrumOutputNumber).setValue (8.0f, true);
    stereo->run (2048, {{10, PulsaretTestHost::noteOn (snareKey)}, {20, PulsaretTestHost::noteOn (bassDrumKey)}});

    EXPECT_EQ (stereo->firstSound (4), stereo->firstSound (5));
    EXPECT_GE (stereo->firstSound (4), 10);
    EXPECT_GE (stereo->firstSound (14), 20);
    EXPECT_LT (stereo->rendered.getMagnitude (14, 0, 20), trace);

    for (int ch : {0, 1, 2, 3, 6, 7, 8, 9, 10, 11, 12, 13})
        EXPECT_TRUE (channelIsSilent (*stereo, ch)) << ch;

    // Mono: eight channels; the settings file sends the bass drum to output 8 by default.
    auto mono = makeLiveInstrument (R"(<UserSettings application="Pulsaret"><AudioOutputSettings>)"
                                    R"(<OutCharacteristics type="mono"/><OutAssignations><BD out="8"/><SD out="9"/>)"
                                    R"(</OutAssignations></AudioOutputSettings></UserSettings>)");
    EXPECT_EQ (mono->plugin->getOutputChannelCount(), 8);
    EXPECT_EQ (mono->plugin->getOutputNumber (0), 8);
    EXPECT_EQ (mono->parameter (ParameterId::bassDrumOutputNumber).getIntValue(), 8);
    EXPECT_EQ (mono->plugin->getOutputNumber (1), 1); // 9 is no output
    mono->run (1024, {{5, PulsaretTestHost::noteOn (bassDrumKey)}, {9, PulsaretTestHost::noteOn (snareKey)}});

    EXPECT_GE (mono->firstSound (7), 5);
    EXPECT_GE (mono->firstSound (0), 9);

    for (int ch = 1; ch < 7; ++ch)
        EXPECT_TRUE (channelIsSilent (*mono, ch)) << ch;
}

TEST (DrumMachineProcessing, MuteAndSoloDecideWhatSounds)
{
    auto host = makeLiveInstrument();
    host->parameter (ParameterId::bassDrumOutputNumber).setValue (1.0f, true);
    host->parameter (ParameterId::snareDrumOutputNumber).setValue (2.0f, true);

    host->parameter (ParameterId::bassDrumMute).setBoolValue (true, true);
    host->run (1024, {{0, PulsaretTestHost::noteOn (bassDrumKey)}, {0, PulsaretTestHost::noteOn (snareKey)}});
    EXPECT_TRUE (channelIsSilent (*host, 0));
    EXPECT_FALSE (channelIsSilent (*host, 2));
    EXPECT_EQ (host->plugin->takeActivity (0), 0);
    EXPECT_EQ (host->plugin->takeActivity (1), 1);

    // A solo rules over every mute, its own included.
    host->parameter (ParameterId::bassDrumMute).setBoolValue (false, true);
    host->parameter (ParameterId::snareDrumMute).setBoolValue (true, true);
    host->parameter (ParameterId::snareDrumSolo).setBoolValue (true, true);
    EXPECT_FALSE (host->plugin->isInstrumentAudible (0));
    EXPECT_TRUE (host->plugin->isInstrumentAudible (1));
    host->run (4096, {{0, PulsaretTestHost::noteOn (bassDrumKey)}, {0, PulsaretTestHost::noteOn (snareKey)}});
    EXPECT_TRUE (channelIsSilent (*host, 0));
    EXPECT_FALSE (channelIsSilent (*host, 2));

    // Events toggle the same parameters.
    host->plugin->handleEvent (EventId::toggleSnareDrumSolo);
    EXPECT_FALSE (host->parameter (ParameterId::snareDrumSolo).getBoolValue());

    // Exclusive mute: an unmuted voice is muted and every other one unmuted...
    host->plugin->handleEvent (EventId::inverseBassDrumMute);
    EXPECT_TRUE (host->parameter (ParameterId::bassDrumMute).getBoolValue());

    for (int i = 1; i < 7; ++i)
        EXPECT_FALSE (host->parameter (ParameterId::firstMute + i).getBoolValue()) << i;

    // ...and a muted one is the only one left sounding.
    host->plugin->handleEvent (EventId::inverseBassDrumMute);
    EXPECT_FALSE (host->parameter (ParameterId::bassDrumMute).getBoolValue());

    for (int i = 1; i < 7; ++i)
        EXPECT_TRUE (host->parameter (ParameterId::firstMute + i).getBoolValue()) << i;

    EXPECT_TRUE (host->plugin->isInstrumentAudible (0));
    EXPECT_FALSE (host->plugin->isInstrumentAudible (6));

    host->plugin->handleEvent (EventId::toggleBassDrumMute);
    EXPECT_TRUE (host->parameter (ParameterId::bassDrumMute).getBoolValue());
}

TEST (DrumMachineProcessing, LinkedTomsSoundInTheLowTomSlot)
{
    auto host = makeLiveInstrument();
    host->parameter (ParameterId::lowTomOutputNumber).setValue (2.0f, true);
    host->parameter (ParameterId::hiTomOutputNumber).setValue (3.0f, true);
    ASSERT_EQ (host->parameter (ParameterId::tomsLinkMode).getNormalisedValue(), 1.0f);

    host->run (4096, {{0, PulsaretTestHost::noteOn (hiTomKey)}});
    EXPECT_FALSE (channelIsSilent (*host, 2));
    EXPECT_TRUE (channelIsSilent (*host, 4));

    host->parameter (ParameterId::tomsLinkMode).setNormalisedValue (0.0f, true);
    host->run (8192); // the linked tom dies away
    host->run (4096, {{0, PulsaretTestHost::noteOn (hiTomKey)}});
    EXPECT_FALSE (channelIsSilent (*host, 4));

    auto unlinked = makeLiveInstrument();
    unlinked->parameter (ParameterId::tomsLinkMode).setNormalisedValue (0.0f, true);
    unlinked->parameter (ParameterId::lowTomOutputNumber).setValue (2.0f, true);
    unlinked->parameter (ParameterId::hiTomOutputNumber).setValue (3.0f, true);
    unlinked->run (4096, {{0, PulsaretTestHost::noteOn (lowTomKey)}});
    EXPECT_FALSE (channelIsSilent (*unlinked, 2));
    EXPECT_TRUE (channelIsSilent (*unlinked, 4));
}

TEST (DrumMachineProcessing, WithoutTheSequencerHostMidiPassesThroughAndNoNotesAreSent)
{
    auto host = makeLiveInstrument();
    const auto controller = juce::MidiMessage::controllerEvent (3, 7, 100);
    host->run (1024, {{10, PulsaretTestHost::noteOn (bassDrumKey, 90)}, {20, controller}});

    const auto sent = host->sentMessages();
    ASSERT_EQ (sent.size(), 2u);
    EXPECT_EQ (sent[0].getTimeStamp(), 10.0);
    EXPECT_TRUE (sent[0].isNoteOn());
    EXPECT_EQ (sent[0].getVelocity(), 90);
    EXPECT_EQ (sent[1].getTimeStamp(), 20.0);
    EXPECT_TRUE (sent[1].isController());
    EXPECT_EQ (sent[1].getChannel(), 3);
}

TEST (DrumMachineProcessing, TriggerOutputAddsAPulseToTheLastOutput)
{
    auto host = makeLiveInstrument();
    auto* core = host->plugin->getCore();
    core->setTriggerOutEnabled (true);
    core->setTriggerOutInstrument (1);
    core->updateTriggerOut();
    EXPECT_EQ (host->plugin->getTriggerOutput(), 8);

    host->parameter (ParameterId::snareDrumMute).setBoolValue (true, true); // a muted voice triggers nothing, pulse included
    host->run (2048, {{100, PulsaretTestHost::noteOn (snareKey)}});
    EXPECT_TRUE (channelIsSilent (*host, 14));

    host->parameter (ParameterId::snareDrumMute).setBoolValue (false, true);
    host->run (2048, {{100, PulsaretTestHost::noteOn (snareKey)}});
    EXPECT_GT (host->peak (14), 0.1f);
    EXPECT_LT (host->rendered.getMagnitude (14, 0, 100), trace);
    EXPECT_EQ (host->firstSound (14), host->firstSound (15));
}

TEST (DrumMachineProcessing, BlocksWithoutSamplesOrPlayHeadStillWork)
{
    auto host = makeLiveInstrument();
    host->playHead.hasPosition = false;
    host->process (0);
    host->plugin->setPlayHead (nullptr);
    host->run (600, {{512, PulsaretTestHost::noteOn (bassDrumKey)}});
    EXPECT_GE (host->firstSound (0), 512);
}

TEST (DrumMachineProcessing, ANoteCarriedPastTheBlockEndIsForgottenWhenPreparedAgain)
{
    for (const bool prepareAgain : {false, true})
    {
        auto host = makeLiveInstrument();
        juce::MidiBuffer late;
        late.addEvent (PulsaretTestHost::noteOn (bassDrumKey), PulsaretTestHost::blockSize + 20);
        host->process (PulsaretTestHost::blockSize, late);

        if (prepareAgain)
        {
            host->plugin->releaseResources();
            host->prepare();
        }

        host->run (PulsaretTestHost::blockSize);
        EXPECT_EQ (host->firstSound (0) >= 0, !prepareAgain) << "prepared again: " << prepareAgain;
    }
}
