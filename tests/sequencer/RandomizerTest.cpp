#include "FakeSequencerOwner.h"
#include "sequencer/PulsaretSeq.h"

#include <gtest/gtest.h>

namespace
{
DrumMachineSeq::TrackFlags flagsFor (std::initializer_list<int> tracks)
{
    DrumMachineSeq::TrackFlags flags{};
    for (auto t : tracks)
        flags[(size_t) t] = true;
    return flags;
}

juce::String fullTrack (const PatternData& p, int track)
{
    juce::String text;
    for (int s = 0; s < 16; ++s)
        text << (p.steps[track][s] == 1 ? "o" : p.steps[track][s] == 2 ? "O"
                                                                       : ".");
    return text;
}
} // namespace

// From a generator seeded with 1234 the first seed drawn is 620828; its bass drum and
// accent tracks and their orders come from the reference generator.
TEST (Randomizer, FixedSeedGivesTheReferenceTracks)
{
    FakeSequencerOwner owner;
    PulsaretSeq seq (owner);
    seq.seedGenerator (1234);
    seq.storeUndoCopy (seq.getEditedPattern());

    for (int t = 0; t < 8; ++t)
        seq.setRandomThreshold (t, 1.0f);

    seq.nextRandomSeed (flagsFor ({0, 7}), false);
    EXPECT_EQ (seq.getCurrentRandomSeed(), 620828u);
    EXPECT_TRUE (seq.isRandomizerActive());
    EXPECT_TRUE (seq.isTrackRandomized (0));
    EXPECT_FALSE (seq.isTrackRandomized (1));

    const auto& p = seq.getEditedPattern();
    EXPECT_EQ (fullTrack (p, 0), "oOooooOOOOOoOOoo");
    EXPECT_EQ (fullTrack (p, 7), "OOOOOOOOOOOOOOOO");
    EXPECT_EQ (fullTrack (p, 1), "................");

    const int order0[16] = {10, 1, 4, 3, 0, 6, 13, 12, 5, 15, 2, 11, 9, 7, 14, 8};
    const int order7[16] = {7, 8, 14, 1, 3, 2, 10, 0, 15, 11, 9, 6, 5, 12, 13, 4};

    for (int j = 0; j < 16; ++j)
    {
        EXPECT_EQ (seq.getRandomRank (0, j), order0[j] * 0.0625f);
        EXPECT_EQ (seq.getRandomRank (7, j), order7[j] * 0.0625f);
    }

    EXPECT_EQ (seq.getRandomRank (1, 0), -1.0f);
}

TEST (Randomizer, SameSeedSameResultAndPrevGoesBack)
{
    FakeSequencerOwner owner;
    PulsaretSeq seq (owner);
    seq.seedGenerator (42);
    seq.storeUndoCopy (seq.getEditedPattern());
    const auto flags = flagsFor ({1, 4});

    for (int t = 0; t < 8; ++t)
        seq.setRandomThreshold (t, 1.0f);

    // Prev with an empty history does nothing.
    seq.previousRandomSeed (flags, false);
    EXPECT_FALSE (seq.isRandomizerActive());

    seq.nextRandomSeed (flags, false);
    const auto firstSeed = seq.getCurrentRandomSeed();
    const auto first = seq.getEditedPattern();
    float firstRanks[16];
    for (int j = 0; j < 16; ++j)
        firstRanks[j] = seq.getRandomRank (1, j);

    seq.nextRandomSeed (flags, false);
    EXPECT_NE (seq.getCurrentRandomSeed(), firstSeed);
    EXPECT_EQ (seq.getRandomSeedHistorySize(), 1u);

    seq.previousRandomSeed (flags, false);
    EXPECT_EQ (seq.getCurrentRandomSeed(), firstSeed);
    EXPECT_EQ (seq.getEditedPattern(), first);
    for (int j = 0; j < 16; ++j)
        EXPECT_EQ (seq.getRandomRank (1, j), firstRanks[j]);
    EXPECT_EQ (seq.getRandomSeedHistorySize(), 0u);
}

TEST (Randomizer, ThresholdHidesStepsAndAcceptClearsThem)
{
    FakeSequencerOwner owner;
    PulsaretSeq seq (owner);
    seq.seedGenerator (7);
    seq.storeUndoCopy (seq.getEditedPattern());

    seq.setRandomThreshold (2, 0.5f);
    seq.nextRandomSeed (flagsFor ({2}), false);

    int shown = 0;
    for (int j = 0; j < 16; ++j)
    {
        const bool visible = seq.getRandomRank (2, j) < 0.5f;
        EXPECT_EQ (seq.getStepValue (2, j) != 0, visible) << j;
        EXPECT_NE (seq.getEditedPattern().getStep (2, j), 0);
        shown += visible ? 1 : 0;
    }
    EXPECT_EQ (shown, 8);

    // Playback hides the same steps.
    seq.startNative();
    int struck = 0;
    for (int j = 0; j < 16; ++j)
    {
        owner.strikes.clear();
        seq.playNativeStep (false);
        struck += (int) owner.strikes.size();
        seq.advanceNativeStep();
    }
    EXPECT_EQ (struck, 8);

    seq.acceptRandomization();
    EXPECT_FALSE (seq.isRandomizerActive());
    int kept = 0;
    for (int j = 0; j < 16; ++j)
        kept += seq.getEditedPattern().getStep (2, j) != 0 ? 1 : 0;
    EXPECT_EQ (kept, 8);

    // Threshold 0 hides everything; Accept then empties the track.
    seq.setRandomThreshold (2, 0.0f);
    seq.nextRandomSeed (flagsFor ({2}), false);
    for (int j = 0; j < 16; ++j)
        EXPECT_EQ (seq.getStepValue (2, j), 0);
    seq.acceptRandomization();
    for (int j = 0; j < 16; ++j)
        EXPECT_EQ (seq.getEditedPattern().getStep (2, j), 0);
}

TEST (Randomizer, UndoRestoresTheTracksAndRanksOnlyKeepsSteps)
{
    FakeSequencerOwner owner;
    PulsaretSeq seq (owner);
    seq.seedGenerator (99);
    auto& p = seq.getEditedPattern();
    p.setStep (0, 0, 1);
    p.setStep (0, 4, 2);
    p.setStep (5, 2, 1);
    const auto before = p;
    seq.storeUndoCopy (p);

    seq.setRandomThreshold (0, 1.0f);
    seq.nextRandomSeed (flagsFor ({0, 5}), false);
    EXPECT_NE (p, before);
    seq.undoRandomization();
    EXPECT_EQ (p, before);
    EXPECT_FALSE (seq.isRandomizerActive());
    EXPECT_FALSE (seq.isTrackRandomized (0));

    // Ranks only: the steps stay, the threshold thins them.
    seq.setRandomThreshold (0, 0.0f);
    seq.nextRandomSeed (flagsFor ({0}), true);
    EXPECT_EQ (p, before);
    EXPECT_EQ (seq.getStepValue (0, 0), 0);
    seq.acceptRandomization();
    EXPECT_EQ (p.getStep (0, 0), 0);
    EXPECT_EQ (p.getStep (0, 4), 0);
    EXPECT_EQ (p.getStep (5, 2), 1);

    // No track flagged: still a result, and Accept changes nothing.
    const auto now = p;
    seq.nextRandomSeed (flagsFor ({}), false);
    EXPECT_TRUE (seq.isRandomizerActive());
    seq.acceptRandomization();
    EXPECT_EQ (p, now);
}
