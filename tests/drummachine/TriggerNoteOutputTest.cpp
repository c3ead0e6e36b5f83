#include "drummachine/TriggerNoteOutput.h"

#include <gtest/gtest.h>

namespace
{
constexpr int bassDrum = 0, snare = 1, closedHat = 6;

/** "time on/off key velocity" for each note of the buffer. */
std::vector<juce::String> notesOf (const juce::MidiBuffer& buffer)
{
    std::vector<juce::String> notes;

    for (const auto metadata : buffer)
    {
        const auto m = metadata.getMessage();
        EXPECT_EQ (m.getChannel(), 1);
        notes.push_back (juce::String (metadata.samplePosition) + (m.isNoteOn() ? " on " : " off ") + juce::String (m.getNoteNumber()) + " " + juce::String (m.getVelocity()));
    }

    return notes;
}

using Notes = std::vector<juce::String>;
} // namespace

TEST (TriggerNoteOutput, VelocityBytesAreTruncatedAndNeverZero)
{
    const std::pair<float, int> table[] = {{(float) (48.0 / 127.0), 48}, {(float) (48.0 / 127.0 + 0.377), 95}, {(float) (48.0 / 127.0 + 0.377 + 0.623), 127}, {1.0f, 127}, {0.5f, 63}, {0.0f, 1}, {-1.0f, 1}};

    for (const auto& [velocity, byte] : table)
        EXPECT_EQ (TriggerNoteOutput::velocityByte (velocity), byte) << velocity;
}

TEST (TriggerNoteOutput, EachStrikeEndsTheVoicesNotesAndSoundsItOnAllItsKeys)
{
    DrumMap map;
    map.setInstrument (36, bassDrum);
    map.setInstrument (35, bassDrum);
    map.setInstrument (38, snare);

    TriggerNoteOutput out;
    out.prepare();
    out.beginBlock (true);
    out.noteOn (bassDrum, 0.5f, map);
    out.advanceSample();
    out.advanceSample();
    out.noteOn (bassDrum, 1.0f, map);
    out.noteOn (closedHat, 1.0f, map); // no key: nothing to send
    out.advanceSample();

    // The snare's key moves to the bass drum while the snare sounds: its note ends first.
    out.noteOn (snare, 0.5f, map);
    map.setInstrument (38, bassDrum);
    out.noteOn (bassDrum, 0.5f, map);
    EXPECT_EQ (notesOf (out.getNotes()), (Notes{"0 on 35 63", "0 on 36 63", "2 off 35 0", "2 off 36 0", "2 on 35 127", "2 on 36 127",
                                                "3 on 38 63", "3 off 35 0", "3 off 36 0", "3 on 35 63", "3 on 36 63",
                                                "3 off 38 0", "3 on 38 63"}));
    EXPECT_EQ (out.getSoundingInstrument (38), bassDrum);
    EXPECT_EQ (out.getSoundingInstrument (37), DrumMap::noInstrument);

    // The next block: its notes from sample 0; releasing ends what sounds, the map aside.
    map.clear();
    out.beginBlock (false);
    out.noteOn (snare, 1.0f, map);
    out.noteOff (-1); // an instrument that is none ends nothing
    out.noteOff (7);
    EXPECT_TRUE (out.getNotes().isEmpty());
    out.releaseAll();
    EXPECT_EQ (notesOf (out.getNotes()), (Notes{"0 off 35 0", "0 off 36 0", "0 off 38 0"}));
    out.releaseAll();
    EXPECT_EQ (out.getNotes().getNumEvents(), 3);

    // Notes on while not sending: none.
    map.setInstrument (40, snare);
    out.noteOn (snare, 1.0f, map);
    EXPECT_EQ (out.getNotes().getNumEvents(), 3);
}

TEST (TriggerNoteOutput, NotesReplaceOrJoinTheHostsMidiAndStopAtTheRoomReserved)
{
    DrumMap map;
    map.setInstrument (38, snare);
    TriggerNoteOutput out;
    out.prepare();
    out.beginBlock (true);
    out.advanceSample();
    out.noteOn (snare, 1.0f, map);

    juce::MidiBuffer host;
    host.addEvent (juce::MidiMessage::controllerEvent (1, 7, 100), 0);
    auto joined = host;
    out.passTo (joined, false);
    EXPECT_EQ (joined.getNumEvents(), 2);
    out.passTo (host, true);
    EXPECT_EQ (notesOf (host), (Notes{"1 on 38 127"}));

    // Every note takes 9 bytes of room: the ones beyond it are dropped, not allocated.
    out.beginBlock (true);
    const int fit = TriggerNoteOutput::bytesReserved / 9;

    for (int i = 0; i < fit + 10; ++i)
        out.noteOn (snare, 1.0f, map);

    EXPECT_EQ (out.getNotes().getNumEvents(), fit);
}
