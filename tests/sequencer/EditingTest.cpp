#include "FakeSequencerOwner.h"
#include "sequencer/PulsaretSeq.h"

#include <gtest/gtest.h>

TEST (Editing, EditedPatternSelectionAndFields)
{
    FakeSequencerOwner owner;
    PulsaretSeq seq (owner);
    EXPECT_EQ (seq.getEditedPatternIndex(), 0);
    EXPECT_EQ (seq.selectPreviousEditedPattern(), 0);

    seq.setEditedPatternIndex (95);
    EXPECT_EQ (seq.selectNextEditedPattern(), 95);
    EXPECT_EQ (seq.selectPreviousEditedPattern(), 94);
    seq.setEditedPatternIndex (-4);
    EXPECT_EQ (seq.getEditedPatternIndex(), 0);

    seq.setEditedPatternName ("Groove");
    EXPECT_EQ (seq.getPatternName (0), "Groove");
    seq.setPatternName (3, "Fill");
    EXPECT_EQ (seq.getPatternName (3), "Fill");
    seq.setPatternName (96, "Nowhere");
    EXPECT_EQ (seq.getPatternName (96), "");

    seq.setEditedPatternLength (0);
    EXPECT_EQ (seq.getEditedPatternLength(), 1);
    seq.setEditedPatternLength (20);
    EXPECT_EQ (seq.getEditedPatternLength(), 16);
    seq.setEditedPatternLength (7);
    EXPECT_EQ (seq.getEditedPatternLength(), 7);

    seq.setEditedPatternShuffle (-0.1);
    EXPECT_EQ (seq.getEditedPatternShuffle(), 0.0);
    seq.setEditedPatternShuffle (std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ (seq.getEditedPatternShuffle(), 0.0);
    seq.setEditedPatternShuffle (1.5);
    EXPECT_EQ (seq.getEditedPatternShuffle(), 0.8);

    seq.setEditedPatternTempo (123.456);
    EXPECT_NEAR (seq.getEditedPatternTempo(), 123.5, 1e-9);

    seq.setEditedPatternScale (6);
    EXPECT_EQ (seq.getEditedPatternScale(), 6);
    seq.setEditedPatternScale (5);
    EXPECT_EQ (seq.getEditedPatternScale(), 4);

    seq.setEditedPatternFlam (0.1);
    EXPECT_EQ (seq.getEditedPatternFlam(), 0.5);
    EXPECT_EQ (seq.getNativePatternFlam(), 0.0);
}

TEST (Editing, StepsCycleClearAndShift)
{
    FakeSequencerOwner owner;
    PulsaretSeq seq (owner);

    seq.cycleStep (0, 3);
    EXPECT_EQ (seq.getStep (0, 3), 1);
    seq.cycleStep (0, 3);
    EXPECT_EQ (seq.getStep (0, 3), 2);
    seq.cycleStep (0, 3);
    EXPECT_EQ (seq.getStep (0, 3), 0);

    seq.cycleStep (7, 0);
    EXPECT_EQ (seq.getStep (7, 0), 2);
    seq.cycleStep (7, 0);
    EXPECT_EQ (seq.getStep (7, 0), 0);

    EXPECT_EQ (PulsaretSeq::getNextStepValue (0), 1);
    EXPECT_EQ (PulsaretSeq::getNextStepValue (1), 2);
    EXPECT_EQ (PulsaretSeq::getNextStepValue (2), 0);
    EXPECT_EQ (PulsaretSeq::getNextStepValue (7), 0);

    seq.setStep (8, 0, 1);
    seq.setStep (0, 16, 1);
    seq.setStep (0, -1, 1);
    EXPECT_EQ (seq.getStep (8, 0), 0);
    EXPECT_EQ (seq.getStep (0, 16), 0);

    seq.setEditedPatternLength (4);
    seq.setStep (2, 0, 1);
    seq.shiftTrackRight (2, 1);
    EXPECT_EQ (seq.getEditedPattern().getTrackString (2), ".o..");
    seq.shiftTrackLeft (2, 2);
    EXPECT_EQ (seq.getEditedPattern().getTrackString (2), "...o");

    for (int t = 0; t < 8; ++t)
        seq.setStep (t, 1, 1);

    seq.clearTrack (2);
    EXPECT_EQ (seq.getStep (2, 1), 0);
    EXPECT_EQ (seq.getStep (3, 1), 1);

    seq.setEditedPatternName ("Kept");
    seq.clearTrack (-1);
    for (int t = 0; t < 8; ++t)
        for (int s = 0; s < 16; ++s)
            ASSERT_EQ (seq.getStep (t, s), 0);
    EXPECT_EQ (seq.getEditedPatternName(), "Kept");
    EXPECT_EQ (seq.getEditedPatternLength(), 4);

    seq.setStep (5, 5, 2);
    seq.clearPattern();
    EXPECT_EQ (seq.getStep (5, 5), 0);
}

TEST (Editing, ClipboardCopiesTracksAndPatterns)
{
    FakeSequencerOwner owner;
    PulsaretSeq seq (owner);
    seq.setStep (0, 0, 1);
    seq.setStep (0, 8, 2);
    seq.copyTrack (0);
    seq.copyTrack (9);

    seq.setEditedPatternIndex (1);
    seq.pasteTrack (0, 7);
    EXPECT_EQ (seq.getStep (7, 0), 2);
    EXPECT_EQ (seq.getStep (7, 8), 2);
    seq.pasteTrack (0, 1);
    EXPECT_EQ (seq.getStep (1, 0), 1);
    seq.pasteTrack (0, 12);

    seq.pasteTrack (-1, 1);
    for (int s = 0; s < 16; ++s)
        EXPECT_EQ (seq.getStep (1, s), 0);

    // The pasted pattern keeps its own tempo.
    seq.setEditedPatternIndex (0);
    seq.setEditedPatternName ("Source");
    seq.setEditedPatternTempo (90.0);
    seq.copyPattern();
    seq.setEditedPatternIndex (2);
    seq.setEditedPatternTempo (140.0);
    seq.pastePattern();
    EXPECT_EQ (seq.getEditedPatternName(), "Source");
    EXPECT_EQ (seq.getEditedPatternTempo(), 140.0);
    EXPECT_EQ (seq.getStep (0, 8), 2);
}

TEST (Editing, EditedPatternFollowsThePlayers)
{
    FakeSequencerOwner owner;
    PulsaretSeq seq (owner);

    seq.startHostPattern (30);
    EXPECT_FALSE (seq.isEditingHostPattern());
    EXPECT_TRUE (seq.followHostPattern());
    EXPECT_EQ (seq.getEditedPatternIndex(), 30);
    EXPECT_FALSE (seq.followHostPattern());
    EXPECT_TRUE (seq.isEditingHostPattern());

    seq.setChainBank (4);
    seq.setChain (7, 9);
    EXPECT_TRUE (seq.editChainStart());
    EXPECT_EQ (seq.getEditedPatternIndex(), 55);
    EXPECT_FALSE (seq.editChainStart());

    seq.startNative();
    seq.setEditedPatternIndex (0);
    EXPECT_TRUE (seq.followNativePattern());
    EXPECT_TRUE (seq.isEditingNativePattern());
    EXPECT_EQ (seq.getEditedPatternIndex(), 55);

    seq.markNativePattern();
    EXPECT_FALSE (seq.nativePatternChanged());
    seq.setNativePatternIndex (56);
    EXPECT_TRUE (seq.nativePatternChanged());
}
