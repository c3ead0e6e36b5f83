#include "PulsaretTestHost.h"

#include <gtest/gtest.h>

#include <map>

namespace
{
// Pattern 0: bass drum on step 0, a strong snare on step 1, the closed hat with the
// accent on step 2; 120 beats per minute, four steps per beat, no shuffle.
void writeTestPattern (PulsaretTestHost& host, int index = 0)
{
    auto& seq = host.seq();
    seq.setEditedPatternIndex (index);
    seq.clearPattern();
    seq.setEditedPatternLength (16);
    seq.setEditedPatternTempo (120.0);
    seq.setEditedPatternScale (4);
    seq.setEditedPatternShuffle (0.0);
    seq.setStep (0, 0, 1);
    seq.setStep (1, 1, 2);
    seq.setStep (6, 2, 1);
    seq.setStep (7, 2, 2);
}

/** The samples, counted from the clock's start, of its first n step starts. */
std::vector<int> stepStarts (int n)
{
    ShuffledClock clock;
    clock.setSampleRate (PulsaretTestHost::sampleRate);
    clock.setTempo (120.0);
    clock.setStepsPerBeat (4.0);
    clock.setShuffle (0.0);
    clock.start();

    std::vector<int> starts;

    for (int i = 0; (int) starts.size() < n; ++i)
        if (clock.processSample() && clock.isInFirstPart())
            starts.push_back (i);

    return starts;
}

struct Note
{
    int time;
    bool on;
    int key;
    int velocity;
};

std::vector<Note> notesOf (const PulsaretTestHost& host)
{
    std::vector<Note> notes;

    for (const auto& m : host.sentMessages())
    {
        EXPECT_EQ (m.getChannel(), 1);
        EXPECT_TRUE (m.isNoteOnOrOff());
        notes.push_back ({(int) m.getTimeStamp(), m.isNoteOn(), m.getNoteNumber(), m.isNoteOn() ? (int) m.getVelocity() : 0});
    }

    return notes;
}

std::unique_ptr<PulsaretTestHost> makeHostMode()
{
    auto host = std::make_unique<PulsaretTestHost>();
    host->plugin->setHostMode (true);
    writeTestPattern (*host);
    host->parameter (ParameterId::accentLevel).setNormalisedValue (0.5f, true);
    return host;
}
} // namespace

TEST (DrumMachineHostMode, KeyTwelveStartsPatternZeroOnItsSampleWithTriggerNotes)
{
    auto host = makeHostMode();
    constexpr int start = 300;
    const auto steps = stepStarts (3);
    ASSERT_EQ (steps[0], 0);

    host->run (steps[2] + start + 100, {{start, PulsaretTestHost::noteOn (12)}});

    // The bass drum sounds on output 1 from the key's sample.
    EXPECT_LT (host->rendered.getMagnitude (0, 0, start), 1.0e-9f);
    EXPECT_GE (host->firstSound (0), start);
    EXPECT_LT (host->firstSound (0), start + 4);

    const auto notes = notesOf (*host);
    ASSERT_EQ (notes.size(), 5u);

    // Step 0: every key of the bass drum, velocity 48.
    EXPECT_EQ (notes[0].time, start);
    EXPECT_EQ (notes[0].key, 35);
    EXPECT_EQ (notes[0].velocity, 48);
    EXPECT_EQ (notes[1].time, start);
    EXPECT_EQ (notes[1].key, 36);
    EXPECT_EQ (notes[1].velocity, 48);

    // Step 1 on the clock's sample: the strong snare, 95.
    for (int i : {2, 3})
    {
        EXPECT_EQ (notes[(size_t) i].time, start + steps[1]);
        EXPECT_TRUE (notes[(size_t) i].on);
        EXPECT_EQ (notes[(size_t) i].velocity, 95);
    }

    EXPECT_EQ (notes[2].key, 38);
    EXPECT_EQ (notes[3].key, 40);

    // Step 2: the accented hat at 48/127 + 0.623 x 0.5.
    EXPECT_EQ (notes[4].time, start + steps[2]);
    EXPECT_EQ (notes[4].key, 42);
    EXPECT_EQ (notes[4].velocity, (int) ((float) (48.0 / 127.0 + 0.623 * 0.5) * 127.0f));
    EXPECT_EQ (notes[4].velocity, 87);

    EXPECT_EQ (host->plugin->takeActivity (7), 1); // the accent lit its light
}

TEST (DrumMachineHostMode, AStrongAccentedStepAtFullAccentSendsVelocity127)
{
    auto host = makeHostMode();
    host->seq().setStep (0, 0, 2);
    host->seq().setStep (7, 0, 2);
    host->parameter (ParameterId::accentLevel).setNormalisedValue (1.0f, true);
    host->run (1000, {{0, PulsaretTestHost::noteOn (12)}});

    const auto notes = notesOf (*host);
    ASSERT_EQ (notes.size(), 2u);
    EXPECT_EQ (notes[0].velocity, 127);
}

TEST (DrumMachineHostMode, ControllerOneTwoThreeStopsAndEndsTheTriggerNotes)
{
    auto host = makeHostMode();
    const auto steps = stepStarts (2);
    const int stopAt = steps[1] + 500;

    host->run (stopAt + 30000, {{0, PulsaretTestHost::noteOn (12)},
                                {stopAt, juce::MidiMessage::controllerEvent (5, 123, 0)}});

    const auto notes = notesOf (*host);
    ASSERT_EQ (notes.size(), 8u);

    // Every key still sounding gets its note-off at the controller's sample, nothing after.
    std::vector<int> offKeys;

    for (size_t i = 4; i < notes.size(); ++i)
    {
        EXPECT_FALSE (notes[i].on);
        EXPECT_EQ (notes[i].time, stopAt);
        offKeys.push_back (notes[i].key);
    }

    EXPECT_EQ (offKeys, (std::vector<int>{35, 36, 38, 40}));
    EXPECT_FALSE (host->plugin->getHostClock().isRunning());
    EXPECT_FALSE (host->seq().isHostPlaying());
}

TEST (DrumMachineHostMode, NoteOffModeStopsWhenTheLastHeldKeyIsReleased)
{
    auto host = makeHostMode();
    writeTestPattern (*host, 48);
    host->plugin->setNoteOffMode (true);

    host->run (2000, {{0, PulsaretTestHost::noteOn (60)}, {10, PulsaretTestHost::noteOn (60)}, {100, PulsaretTestHost::noteOff (60)}});
    EXPECT_TRUE (host->plugin->getHostClock().isRunning());
    EXPECT_EQ (host->seq().getHostPatternIndex(), 48);

    // A stray note-off never takes the count below zero.
    host->run (2000, {{0, PulsaretTestHost::noteOff (60)}, {10, PulsaretTestHost::noteOff (60)}});
    EXPECT_FALSE (host->plugin->getHostClock().isRunning());

    host->run (2000, {{0, PulsaretTestHost::noteOn (60)}});
    EXPECT_TRUE (host->plugin->getHostClock().isRunning());
    host->run (2000, {{0, PulsaretTestHost::noteOff (60)}});
    EXPECT_FALSE (host->plugin->getHostClock().isRunning());

    // Another key takes over with a count of one.
    host->run (2000, {{0, PulsaretTestHost::noteOn (60)}, {5, PulsaretTestHost::noteOn (60)}, {50, PulsaretTestHost::noteOn (61)}});
    EXPECT_EQ (host->seq().getHostPatternIndex(), 49);
    host->run (100, {{0, PulsaretTestHost::noteOff (61)}});
    EXPECT_FALSE (host->plugin->getHostClock().isRunning());
}

TEST (DrumMachineHostMode, WithTheSequencerOnMappedNotesStrikeNothing)
{
    auto host = makeHostMode();
    host->plugin->setHostMode (false);
    host->run (4096, {{0, PulsaretTestHost::noteOn (36)}});
    EXPECT_TRUE (host->firstSound (0) < 0);
    EXPECT_TRUE (host->sentMessages().empty());

    // Pattern keys still start their host pattern.
    host->run (100, {{0, PulsaretTestHost::noteOn (20)}});
    EXPECT_EQ (host->seq().getHostPatternIndex(), 8);
    EXPECT_TRUE (host->plugin->getHostClock().isRunning());
}

TEST (DrumMachineHostMode, SwitchingTheSequencerOffEndsItsNotes)
{
    auto host = makeHostMode();
    host->run (1000, {{0, PulsaretTestHost::noteOn (12)}});
    ASSERT_EQ (notesOf (*host).size(), 2u);

    host->plugin->setInternalSequencer (false);
    host->run (1000, {{7, PulsaretTestHost::noteOn (70)}});
    const auto notes = notesOf (*host);

    // The host's own note passes through, with the note-offs at the block's start.
    ASSERT_EQ (notes.size(), 3u);
    EXPECT_FALSE (notes[0].on);
    EXPECT_EQ (notes[0].time, 0);
    EXPECT_FALSE (notes[1].on);
    EXPECT_TRUE (notes[2].on);
    EXPECT_EQ (notes[2].key, 70);
}

TEST (DrumMachineHostMode, SoloDecidesWhichStepsSoundButTheAccentAlwaysLights)
{
    auto host = makeHostMode();
    host->parameter (ParameterId::snareDrumSolo).setBoolValue (true, true);
    const auto steps = stepStarts (3);

    host->run (steps[2] + 100, {{0, PulsaretTestHost::noteOn (12)}});

    const auto notes = notesOf (*host);
    ASSERT_EQ (notes.size(), 2u);
    EXPECT_EQ (notes[0].key, 38);
    EXPECT_EQ (notes[1].key, 40);
    EXPECT_EQ (notes[0].time, steps[1]);
    EXPECT_LT (host->rendered.getMagnitude (0, 0, steps[1]), 1.0e-9f); // no bass drum on step 0

    EXPECT_EQ (host->plugin->takeActivity (0), 0);
    EXPECT_EQ (host->plugin->takeActivity (1), 1);
    EXPECT_EQ (host->plugin->takeActivity (6), 0);
    EXPECT_EQ (host->plugin->takeActivity (7), 1);
}

TEST (DrumMachineHostMode, TriggerNotesStayPairedWhenTheDrumMapChanges)
{
    auto host = makeHostMode();
    const auto steps = stepStarts (3);
    std::vector<Note> notes;

    host->run (steps[1] - 10, {{0, PulsaretTestHost::noteOn (12)}});
    notes = notesOf (*host);

    // Key 36 now plays the snare drum while the bass drum's note still sounds on it.
    auto map = juce::parseXML (R"(<DrumMap application="Pulsaret" ver="1.1" name="Moved"><assign midiKey="35" instrument="BD"/>)"
                               R"(<assign midiKey="36" instrument="SD"/><assign midiKey="38" instrument="SD"/></DrumMap>)");
    ASSERT_TRUE (host->plugin->readDrumMapXml (*map));

    host->run (steps[2] + 100, {{steps[2] + 50 - (steps[1] - 10), juce::MidiMessage::allNotesOff (1)}});

    for (const auto& note : notesOf (*host))
        notes.push_back (note);

    // On every key each note-on is ended before the next, and nothing sounds at the end.
    std::map<int, bool> sounding;

    for (const auto& note : notes)
    {
        EXPECT_NE (sounding[note.key], note.on) << "key " << note.key << " at " << note.time;
        sounding[note.key] = note.on;
    }

    for (const auto& [key, on] : sounding)
        EXPECT_FALSE (on) << key;

    EXPECT_TRUE (sounding.count (36) && sounding.count (38));
}
