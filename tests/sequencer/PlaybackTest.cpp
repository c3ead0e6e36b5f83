#include "FakeSequencerOwner.h"
#include "sequencer/PulsaretSeq.h"

#include <gtest/gtest.h>

namespace
{
std::vector<int> playChain (PulsaretSeq& seq, int numSteps)
{
    std::vector<int> patterns;
    seq.startNative();

    for (int i = 0; i < numSteps; ++i)
    {
        patterns.push_back (seq.getNativePatternIndex());
        seq.advanceNativeStep();
    }

    return patterns;
}
} // namespace

TEST (Playback, ChainsPlayTheirPatternsInOrderAndWrap)
{
    FakeSequencerOwner owner;
    PulsaretSeq seq (owner);

    for (int i = 0; i < 96; ++i)
        seq.getPattern (i)->length = 2;

    seq.setChainBank (2);
    seq.setChain (5, 3);
    EXPECT_EQ (seq.getChainFirst(), 3);
    EXPECT_EQ (seq.getChainLast(), 5);

    EXPECT_EQ (playChain (seq, 8), (std::vector<int>{27, 27, 28, 28, 29, 29, 27, 27}));
    EXPECT_TRUE (seq.isNativePlaying());

    // A chain of one repeats its pattern; a 3-step pattern gives 3 steps.
    seq.getPattern (40)->length = 3;
    seq.setChainBank (3);
    seq.setChain (4, 4);
    EXPECT_EQ (playChain (seq, 7), (std::vector<int>{40, 40, 40, 40, 40, 40, 40}));

    // A native pattern moved outside the chain goes back to the chain's first at the wrap.
    seq.setChainBank (0);
    seq.setChain (0, 2);
    seq.startNative();
    seq.setNativePatternIndex (50);
    EXPECT_FALSE (seq.advanceNativeStep());
    EXPECT_TRUE (seq.advanceNativeStep());
    EXPECT_EQ (seq.getNativePatternIndex(), 0);

    // Out-of-range chain values are limited.
    seq.setChainBank (9);
    seq.setChain (-3, 40);
    EXPECT_EQ (seq.getChainBank(), 7);
    EXPECT_EQ (seq.getChainFirst(), 0);
    EXPECT_EQ (seq.getChainLast(), 11);

    seq.stopNative();
    EXPECT_FALSE (seq.isNativePlaying());
}

TEST (Playback, CurrentPatternButtons)
{
    FakeSequencerOwner owner;
    PulsaretSeq seq (owner);
    seq.setChainBank (1);
    seq.setChain (2, 4);

    EXPECT_TRUE (seq.isCurrentPatternButton (2));
    EXPECT_FALSE (seq.isCurrentPatternButton (3));

    seq.startNative();
    EXPECT_TRUE (seq.isCurrentPatternButton (2));
    seq.setNativePatternIndex (15);
    EXPECT_TRUE (seq.isCurrentPatternButton (3));

    // Just before the chain: the button of the next pattern.
    seq.setNativePatternIndex (13);
    EXPECT_TRUE (seq.isCurrentPatternButton (2));

    // Elsewhere: the chain's first.
    seq.setNativePatternIndex (70);
    EXPECT_TRUE (seq.isCurrentPatternButton (2));
    EXPECT_FALSE (seq.isCurrentPatternButton (70 % 12));
}

TEST (Playback, HostPlayerKeepsItsPatternAndWrapsAtTheLength)
{
    FakeSequencerOwner owner;
    PulsaretSeq seq (owner);
    seq.getPattern (48)->length = 3;

    seq.startHostPattern (48);
    EXPECT_TRUE (seq.isHostPlaying());
    EXPECT_EQ (seq.getHostPatternIndex(), 48);

    std::vector<int> steps;
    for (int i = 0; i < 7; ++i)
    {
        steps.push_back (seq.getHostStep());
        seq.advanceHostStep();
    }

    EXPECT_EQ (steps, (std::vector<int>{0, 1, 2, 0, 1, 2, 0}));
    EXPECT_EQ (seq.getHostPatternIndex(), 48);

    // An index beyond the patterns switches the player on and keeps pattern and step.
    seq.advanceHostStep();
    seq.stopHost();
    EXPECT_FALSE (seq.isHostPlaying());
    seq.startHostPattern (100);
    EXPECT_TRUE (seq.isHostPlaying());
    EXPECT_EQ (seq.getHostPatternIndex(), 48);
    EXPECT_EQ (seq.getHostStep(), 2);
    seq.startHostPattern (-1);
    EXPECT_EQ (seq.getHostPatternIndex(), 48);
}

TEST (Playback, ShortenedPatternNeverRunsPastItsLength)
{
    FakeSequencerOwner owner;
    PulsaretSeq seq (owner);
    seq.startNative();
    seq.startHostPattern (0);

    for (int i = 0; i < 12; ++i)
    {
        seq.advanceNativeStep();
        seq.advanceHostStep();
    }

    EXPECT_EQ (seq.getNativeStep(), 12);
    seq.getPattern (0)->length = 4;
    EXPECT_TRUE (seq.advanceNativeStep());
    seq.advanceHostStep();
    EXPECT_EQ (seq.getNativeStep(), 0);
    EXPECT_EQ (seq.getHostStep(), 0);

    // A length that a stray edit pushed out of range still wraps within 16 steps.
    seq.getPattern (0)->length = 99;
    for (int i = 0; i < 40; ++i)
    {
        seq.advanceHostStep();
        ASSERT_LT (seq.getHostStep(), 16);
    }
}

TEST (Playback, StepsStrikeVoicesWithStrengthAndAccent)
{
    FakeSequencerOwner owner;
    owner.accentLevel = 1.0;
    PulsaretSeq seq (owner);
    auto& p = *seq.getPattern (0);
    p.setStep (0, 0, 1);
    p.setStep (1, 0, 2);
    p.setStep (6, 0, 1);
    p.setStep (7, 0, 2);
    p.setStep (7, 1, 2);
    p.setStep (3, 2, 2);

    using S = FakeSequencerOwner::Strike;
    const float accentVelocity = (float) (48.0 / 127.0 + 0.377 + 0.623 * 1.0);

    seq.startNative();
    seq.playNativeStep (false);
    EXPECT_EQ (owner.strikes, (std::vector<S>{{7, false, false, accentVelocity}, {0, false, true, 0.0f}, {1, true, true, 0.0f}, {6, false, true, 0.0f}}));

    // An accent step with no voice strikes only the accent; the flam part only the accent.
    owner.strikes.clear();
    seq.playNativeStep (true);
    EXPECT_EQ (owner.strikes, (std::vector<S>{{7, false, false, accentVelocity}}));

    owner.strikes.clear();
    seq.advanceNativeStep();
    seq.playNativeStep (false);
    EXPECT_EQ (owner.strikes, (std::vector<S>{{7, false, false, accentVelocity}}));

    owner.strikes.clear();
    seq.advanceNativeStep();
    seq.playNativeStep (false);
    EXPECT_EQ (owner.strikes, (std::vector<S>{{3, true, false, 0.0f}}));

    owner.strikes.clear();
    seq.advanceNativeStep();
    seq.playNativeStep (false);
    EXPECT_TRUE (owner.strikes.empty());
}

TEST (Playback, TappedValuesAreWrittenAtTheNextStepOfTheirPlayer)
{
    FakeSequencerOwner owner;
    PulsaretSeq seq (owner);
    seq.startNative();
    seq.startHostPattern (5);

    seq.setTapValue (1, 2);
    seq.setTapValue (7, 1);
    seq.setTapValue (9, 1);
    seq.setTapped (true);
    EXPECT_TRUE (seq.hasTappedValues());
    seq.writeTappedValuesAtNextStep (DrumMachineSeq::nativePlayer);
    seq.setTapped (false);

    // The host player does not take the native player's taps.
    seq.playHostStep (false);
    EXPECT_TRUE (seq.isTapPending());
    EXPECT_EQ (seq.getPattern (5)->getStep (1, 0), 0);

    seq.advanceNativeStep();
    seq.playNativeStep (false);
    EXPECT_FALSE (seq.isTapPending());
    EXPECT_EQ (seq.getPattern (0)->getStep (1, 1), 2);
    EXPECT_EQ (seq.getPattern (0)->getStep (7, 1), 2);
    EXPECT_EQ (owner.displayUpdates, 1);
    EXPECT_EQ (seq.getTapValue (1), 0);
    // The written steps sound at once.
    EXPECT_EQ (owner.strikes.size(), 2u);

    // writeStep: into the playing step of the given player, other players ignored.
    seq.writeStep (2, 1, DrumMachineSeq::hostPlayer);
    seq.writeStep (3, 1, DrumMachineSeq::nativePlayer);
    seq.writeStep (4, 1, 2);
    seq.writeStep (8, 1, DrumMachineSeq::nativePlayer);
    EXPECT_EQ (seq.getPattern (5)->getStep (2, 0), 1);
    EXPECT_EQ (seq.getPattern (0)->getStep (3, 1), 1);
    EXPECT_EQ (seq.getPattern (0)->getStep (4, 1), 0);
    EXPECT_EQ (seq.getPattern (5)->getStep (4, 0), 0);
}

TEST (Playback, PlainSequencerHasNothingToPlay)
{
    FakeSequencerOwner owner;
    DrumMachineSeq seq (owner);
    EXPECT_EQ (seq.getNumPatterns(), 0);
    EXPECT_EQ (seq.getPattern (0), nullptr);
    seq.startNative();
    seq.playNativeStep (false);
    EXPECT_FALSE (seq.advanceNativeStep());
    EXPECT_EQ (seq.createPatternXml (0), nullptr);
    EXPECT_TRUE (owner.strikes.empty());
}
