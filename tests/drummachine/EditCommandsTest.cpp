#include "FakeEditCommandsOwner.h"

#include <gtest/gtest.h>

namespace
{
using Owner = EditCommandsOwner;

struct Commands
{
    // Starts with the bass drum selected while editing in pattern write mode.
    explicit Commands (const juce::String& modes = "SW")
    {
        owner.setModes ("SW");
        commands.selectInstrument (0);
        owner.setModes (modes);
        owner.takeCalls();
    }

    PulsaretSeq& seq() { return *owner.sequencer; }

    juce::String track (int t)
    {
        juce::String text;

        for (int step = 0; step < 16; ++step)
            text << seq().getStep (t, step);

        return text;
    }

    FakeEditCommandsOwner owner;
    EditCommands commands{owner, owner.parameters, owner.callbackLock};
};
} // namespace

// Each event in the modes given (letters of FakeEditCommandsOwner::setModes): the calls it makes on the owner,
// in order, or none when its condition does not hold.
TEST (EditCommands, EachEventActsOnlyInItsModes)
{
    struct Row
    {
        const char* modes;
        int uid;
        const char* calls;
    };

    const Row rows[] = {
        {"", Owner::toggleInternalSequencerEvent, "mode:internalSequencer=1"},
        {"S", Owner::toggleInternalSequencerEvent, "mode:internalSequencer=0"},
        {"", Owner::toggleInternalSyncEvent, ""},
        {"SY", Owner::toggleInternalSyncEvent, "mode:internalSync=0"},
        {"S", Owner::toggleHostModeEvent, "mode:host=1"},
        {"S", Owner::toggleNoteOffModeEvent, "mode:noteOff=1"},
        {"S", Owner::togglePatternWriteModeEvent, "mode:patternWrite=1"},
        {"SH", Owner::togglePatternWriteModeEvent, ""},
        {"SW", Owner::toggleAutoFollowModeEvent, "mode:autoFollow=1"},
        {"SWT", Owner::toggleAutoFollowModeEvent, ""},
        {"S", Owner::toggleRandomizerEvent, ""},
        {"SW", Owner::toggleRandomizerEvent, "flag:randomizer=1 flag:length=0 show:lengthMode flag:tap=0 show:tapMode show:randomizer"},
        {"SW", Owner::toggleLengthModeEvent, "flag:length=1 show:randomizer flag:tap=0 show:tapMode show:lengthMode"},
        {"SWL", Owner::toggleLengthModeEvent, "flag:length=0 show:lengthMode"},
        {"SH", Owner::toggleTapModeEvent, "flag:tap=1 flag:length=0 show:lengthMode show:randomizer show:tapMode"},
        {"SW", Owner::toggleFlamModeEvent, "flag:flam=1 show:flamMode show:steps"},
        {"W", Owner::toggleFlamModeEvent, ""},
        {"S", Owner::startStopEvent, "start"},
        {"SC", Owner::startStopEvent, "stop"},
        {"SC", Owner::startEvent, "start"},
        {"S", Owner::stopEvent, "stop"},
        {"C", Owner::startStopEvent, ""},
        {"SW", Owner::shiftRightEvent, "show:steps"},
        {"SWR", Owner::shiftLeftAllTracksEvent, ""},
        {"S", Owner::shiftLeftEvent, ""},
        {"SW", Owner::nextEvent, "show:pattern"},
        {"SWA", Owner::prevEvent, ""},
        {"SWAL", Owner::prevEvent, "show:pattern"},
        {"SW", Owner::acceptEvent, ""},
        {"SW", Owner::undoEvent, ""},
        {"SW", Owner::copyPatternEvent, "clip:.P"},
        {"SWR", Owner::copyTracksEvent, ""},
        {"SW", Owner::pasteEvent, ""},
        {"SW", Owner::clearAllInstrumentsEvent, "show:steps"},
        {"SWL", Owner::clearAllInstrumentsEvent, ""},
        {"SWL", Owner::pressStepEvent + 2, "show:stepLengths show:steps"},
        {"WL", Owner::pressStepEvent + 2, ""},
        {"SW", Owner::selectScale8Event, "show:scales"},
        {"W", Owner::selectScale8Event, ""},
        {"", EventId::toggleBassDrumMute, ""},
        {"SW", EventId::firstSelect + 3, "show:steps"},
        {"S", EventId::firstSelect + 3, ""},
        {"SW", EventId::firstToggleSelection + 0, "show:selection show:steps"},
    };

    for (const auto& row : rows)
    {
        Commands c (row.modes);
        EXPECT_TRUE (c.commands.handleEvent (row.uid)) << row.uid;
        EXPECT_EQ (c.owner.takeCalls(), row.calls) << "event " << row.uid << " in modes " << row.modes;
    }

    // Numbers that are none of the panel's go back to the caller untouched.
    for (int uid : {-1, EventId::tapAccept, 2999, (int) Owner::loadPatternsEvent, (int) Owner::savePatternsEvent, (int) Owner::pressStepWithCtrlEvent,
                    Owner::pressStepWithCtrlEvent + 15, Owner::selectScale4Event + 1})
    {
        Commands c;
        EXPECT_FALSE (c.commands.handleEvent (uid)) << uid;
        EXPECT_EQ (c.owner.takeCalls(), "") << uid;
    }
}

// The four runs of mute and solo buttons on the seven voices' parameters: plain ones flip their voice, the
// exclusive ones give every other voice the pressed voice's old state and flip the pressed voice.
TEST (EditCommands, MuteAndSoloButtonsFlipTheVoicesParameters)
{
    struct Row
    {
        const char* before; // mutes then solos
        int uid;
        const char* after;
    };

    const Row rows[] = {
        {"0000000 0000000", EventId::toggleSnareDrumMute, "0100000 0000000"},
        {"0100000 0000000", EventId::toggleSnareDrumMute, "0000000 0000000"},
        {"0000000 0000000", EventId::inverseLowTomMute, "0010000 0000000"},
        {"0010000 0000000", EventId::inverseLowTomMute, "1101111 0000000"},
        {"0000000 0000000", EventId::toggleClosedHiHatSolo, "0000000 0000001"},
        {"0000000 0000000", EventId::inverseClosedHiHatSolo, "0000000 0000001"},
        {"0000000 0000001", EventId::inverseClosedHiHatSolo, "0000000 1111110"},
        {"1000000 0000000", EventId::inverseBassDrumSolo, "1000000 1000000"},
    };

    for (const auto& row : rows)
    {
        Commands c;
        auto& store = c.owner.parameters;
        const juce::String before (row.before);

        for (int i = 0; i < 7; ++i)
        {
            store.setBoolValue (ParameterId::firstMute + i, before[i] == '1');
            store.setBoolValue (ParameterId::firstSolo + i, before[8 + i] == '1');
        }

        ASSERT_TRUE (c.commands.handleEvent (row.uid));

        auto run = [&store] (int first)
        {
            juce::String text;

            for (int i = 0; i < 7; ++i)
                text << (store.getBoolValue (first + i) ? "1" : "0");

            return text;
        };

        EXPECT_EQ (run (ParameterId::firstMute) + " " + run (ParameterId::firstSolo), row.after)
            << "event " << row.uid << " from " << row.before;
    }
}

TEST (EditCommands, SelectionAndStepPresses)
{
    Commands c;
    auto& seq = c.seq();

    // Selecting shows the selection and both instrument numbers; the accent track is 7.
    c.commands.selectInstrument (7);
    EXPECT_EQ (c.owner.selectedInstrument, 7);
    EXPECT_TRUE (c.owner.shownSelection[7] && !c.owner.shownSelection[0]);
    c.owner.setModes ("SWT");
    c.commands.publishSelection();
    EXPECT_FALSE (c.owner.shownSelection[7]) << "hidden in tap mode";
    c.owner.setModes ("SW");
    c.commands.selectInstrument (99);
    EXPECT_EQ (c.owner.selectedInstrument, 7) << "clamped to the last track";

    // The only selected track stays selected; another joins it.
    c.commands.selectInstrument (5);
    c.commands.handleEvent (EventId::firstToggleSelection + 5);
    EXPECT_TRUE (c.commands.isTrackSelected (5));
    c.commands.handleEvent (EventId::firstToggleSelection + 1);
    EXPECT_TRUE (c.commands.isTrackSelected (1) && c.commands.isTrackSelected (5));
    EXPECT_FALSE (c.commands.isTrackSelected (8));

    // Two tracks that differ start again from a rest; then they go on together.
    seq.setStep (1, 3, 2);
    c.commands.handleEvent (Owner::pressStepEvent + 3);
    EXPECT_EQ (c.track (1), "0001000000000000");
    EXPECT_EQ (c.track (5), "0001000000000000");
    c.commands.pressStep (3);
    EXPECT_EQ (c.track (1), "0002000000000000");
    EXPECT_EQ (c.track (5), "0002000000000000");

    // One selected track cycles alone; a step beyond the length changes nothing and shows nothing.
    c.commands.selectInstrument (1);
    c.commands.pressStep (3);
    EXPECT_EQ (c.track (1), "0000000000000000");
    EXPECT_EQ (c.track (5), "0002000000000000");
    seq.setEditedPatternLength (4);
    c.owner.takeCalls();
    c.commands.pressStep (4);
    EXPECT_EQ (c.track (1), "0000000000000000");
    EXPECT_EQ (c.owner.takeCalls(), "");

    // Shifts move only the selected track; the scale events set 6, 3, 8 and 4 steps per beat.
    seq.setEditedPatternLength (16);
    seq.setStep (1, 0, 1);
    seq.setStep (2, 0, 1);
    c.commands.handleEvent (Owner::shiftRightEvent);
    EXPECT_EQ (c.track (1), "0100000000000000");
    EXPECT_EQ (c.track (2), "1000000000000000");
    c.commands.handleEvent (Owner::shiftLeftAllTracksEvent);
    EXPECT_EQ (c.track (2), "0000000000000001");

    const int scales[] = {6, 3, 8, 4};

    for (int i = 0; i < 4; ++i)
    {
        c.commands.handleEvent (Owner::selectScale6Event + i);
        EXPECT_EQ (seq.getEditedPatternScale(), scales[i]);
    }
}

TEST (EditCommands, ClipboardCopiesPastesAndClears)
{
    Commands c;
    auto& seq = c.seq();
    seq.setStep (0, 0, 2);
    seq.setStep (1, 5, 1);

    // One copied track goes into every selected track.
    c.commands.handleEvent (Owner::copyTracksEvent);
    EXPECT_EQ (c.owner.takeCalls(), "clip:T.");
    c.commands.selectInstrument (3);
    c.commands.handleEvent (EventId::firstToggleSelection + 4);
    c.commands.handleEvent (Owner::pasteEvent);
    EXPECT_EQ (c.track (3), "2000000000000000");
    EXPECT_EQ (c.track (4), "2000000000000000");
    EXPECT_EQ (c.track (1), "0000010000000000");

    // Several copied tracks go back onto themselves.
    c.commands.selectInstrument (0);
    c.commands.handleEvent (EventId::firstToggleSelection + 1);
    c.commands.copyTracks();
    seq.clearTrack (0);
    seq.clearTrack (1);
    c.commands.selectInstrument (6);
    c.commands.pasteTracks();
    EXPECT_EQ (c.track (0), "2000000000000000");
    EXPECT_EQ (c.track (1), "0000010000000000");
    EXPECT_EQ (c.track (6), "0000000000000000");

    // "Clear" with a filled clipboard only empties the clipboard; then it clears the selected tracks.
    c.commands.selectInstrument (0);
    c.owner.takeCalls();
    c.commands.handleEvent (Owner::clearEvent);
    EXPECT_EQ (c.owner.takeCalls(), "clip:..");
    EXPECT_EQ (c.track (0), "2000000000000000");
    c.commands.handleEvent (Owner::clearEvent);
    EXPECT_EQ (c.track (0), "0000000000000000");

    // A copied pattern replaces the edited one.
    c.commands.handleEvent (Owner::copyPatternEvent);
    seq.setEditedPatternIndex (5);
    c.commands.handleEvent (Owner::pasteEvent);
    EXPECT_EQ (c.track (1), "0000010000000000");
    EXPECT_TRUE (c.commands.isClipboardPatternFilled());
}

TEST (EditCommands, TapsFillTheTapBuffer)
{
    struct Row
    {
        const char* modes;
        int uid;
        const char* values; // tap value of each track, or "-" when nothing was tapped
    };

    // The bass drum and the hi tom selected.
    const Row rows[] = {
        {"", EventId::firstTap + 1, "01000000"},
        {"", EventId::firstTapAccented + 7, "00000002"},
        {"SWF", EventId::firstTap + 1, "00000000"},
        {"F", EventId::firstTapAccented + 1, "02000000"},
        {"SW", Owner::tapEvent, "10010000"},
        {"SW", Owner::tapAccentedEvent, "20020000"},
        {"SWF", Owner::tapAccentedEvent, "00000000"},
        {"SWR", Owner::tapEvent, "-"},
        {"S", Owner::tapEvent, "-"},
    };

    for (const auto& row : rows)
    {
        Commands c;
        c.commands.handleEvent (EventId::firstToggleSelection + 3);
        c.owner.setModes (row.modes);
        c.commands.handleEvent (row.uid);
        juce::String values;

        for (int t = 0; t < 8; ++t)
            values << c.seq().getTapValue (t);

        EXPECT_EQ (c.seq().hasTappedValues() ? values : "-", row.values) << "event " << row.uid << " in modes " << row.modes;
    }

    Commands c;
    c.commands.tapTrack (8, 1);
    EXPECT_FALSE (c.seq().hasTappedValues());
}

TEST (EditCommands, TrackButtonsChooseTheRandomTrackWhileARandomResultIsShown)
{
    Commands c;
    c.commands.handleEvent (EventId::firstToggleSelection + 2);
    c.commands.handleEvent (Owner::toggleRandomizerEvent);
    c.commands.handleEvent (Owner::nextEvent);
    ASSERT_TRUE (c.seq().isRandomizerActive());

    // A selected track becomes the random track; an unselected one changes nothing.
    c.owner.takeCalls();
    c.commands.handleEvent (EventId::firstSelect + 2);
    EXPECT_EQ (c.commands.getSelectedRandomTrack(), 2);
    EXPECT_EQ (c.owner.takeCalls(), "show:randomizer");
    c.commands.handleEvent (EventId::firstSelect + 5);
    EXPECT_EQ (c.commands.getSelectedRandomTrack(), 2);
    EXPECT_FALSE (c.commands.isTrackSelected (5));
    EXPECT_EQ (c.owner.takeCalls(), "");

    // Switching the randomizer off undoes the unaccepted result.
    c.commands.setRandomizer (false);
    EXPECT_FALSE (c.seq().isRandomizerActive());
    EXPECT_EQ (c.owner.takeCalls(), "flag:randomizer=0 show:randomizer");
}
