#include "drummachine/PlayerClocks.h"
#include "tests/sequencer/FakeSequencerOwner.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
constexpr double rate = 48000.0;
constexpr int samplesPerStep = 6000; // 120 beats per minute, four steps per beat

using Log = std::vector<juce::String>;

/** Patterns of a given timing; every call of a player is written to the log with the
    sample it came at. */
class LoggingSequencer : public DrumMachineSeq
{
public:
    LoggingSequencer (SequencerOwner& owner, Log& logToWrite, const int& sampleToStamp)
        : DrumMachineSeq (owner)
        , log (logToWrite)
        , sample (sampleToStamp)
    {
    }

    void startHostPattern (int index) override
    {
        hostPattern = index;
        note ("start host " + juce::String (index));
    }
    void startNative() override { note ("start native"); }
    void stopHost() override { note ("stop host"); }
    void stopNative() override { note ("stop native"); }
    void playHostStep (bool flam) override { note (flam ? "host flam" : "host step"); }
    void playNativeStep (bool flam) override { note (flam ? "native flam" : "native step"); }
    void advanceHostStep() override { note ("advance host"); }
    bool advanceNativeStep() override
    {
        note ("advance native");
        return false;
    }
    void writeStep (int track, int value, int player) override
    {
        note ("write " + juce::String (track) + "=" + juce::String (value) + (player == hostPlayer ? " host" : " native"));
    }

    int getHostPatternIndex() const override { return hostPattern; }
    double getHostPatternTempo() const override { return tempo; }
    double getHostPatternShuffle() const override { return shuffle; }
    double getHostPatternFlam() const override { return flam; }
    int getHostPatternScale() const override { return scale; }
    double getNativePatternTempo() const override { return tempo; }
    double getNativePatternShuffle() const override { return shuffle; }
    double getNativePatternFlam() const override { return flam; }
    int getNativePatternScale() const override { return scale; }

    double tempo = 120.0, shuffle = 0.0, flam = 0.25;
    int scale = 4;
    int hostPattern = 0;

private:
    void note (const juce::String& what) { log.push_back (juce::String (sample) + " " + what); }

    Log& log;
    const int& sample;
};

struct LoggingRenderer : public PendingRenderer
{
    LoggingRenderer (Log& logToWrite, const int& sampleToStamp)
        : log (logToWrite)
        , sample (sampleToStamp)
    {
    }

    // Only the first render of a sample is worth a line: more are harmless.
    void renderPending() noexcept override
    {
        if (lastSample != sample)
            log.push_back (juce::String (sample) + " render");

        lastSample = sample;
    }

    Log& log;
    const int& sample;
    int lastSample = -1;
};

struct Rig
{
    Rig() { clocks.setSampleRate (rate); }

    void run (int numSamples, bool play, bool hostMode)
    {
        for (int end = sample + numSamples; sample < end; ++sample)
            clocks.processSample (seq, renderer, play, hostMode);
    }

    juce::AudioPlayHead::PositionInfo hostAt (bool playing, double bpm, double ppq)
    {
        juce::AudioPlayHead::PositionInfo position;
        position.setIsPlaying (playing);
        position.setBpm (bpm);
        position.setPpqPosition (ppq);
        return position;
    }

    std::atomic<bool> internalSync{true};
    PlayerClocks clocks{internalSync};
    FakeSequencerOwner owner;
    Log log;
    int sample = 0;
    LoggingSequencer seq{owner, log, sample};
    LoggingRenderer renderer{log, sample};
};

void expectInStep (Clock& flamClock, ShuffledClock& mainClock, double tempo, double stepsPerBeat)
{
    EXPECT_EQ (mainClock.getTempo(), tempo);
    EXPECT_EQ (mainClock.getStepsPerBeat(), stepsPerBeat);
    EXPECT_EQ (flamClock.getTempo(), tempo) << "the flam clock keeps its main clock's tempo";
    EXPECT_EQ (flamClock.getStepsPerBeat(), stepsPerBeat);
}
} // namespace

TEST (PlayerClocks, StepsAndFlamsComeOnTheirSamplesEachAfterTheRender)
{
    // 130 beats per minute, four steps per beat: a step is 5538.46 samples, its flam a
    // quarter of it, and no event falls on a whole sample.
    Rig rig;
    rig.seq.tempo = 130.0;
    rig.clocks.playKey (rig.seq, 60, true, false, false);
    rig.log.clear();
    rig.run (11077, true, true);

    // The first edge plays the step the pattern started on.
    EXPECT_EQ (rig.log, (Log{"0 render", "0 host step", "1385 render", "1385 host flam",
                             "5539 render", "5539 advance host", "5539 host step", "6924 render", "6924 host flam"}));

    // Outside host mode the host pattern only advances; the chain, started by the
    // transport, plays once the block's start gave its flam clock the pattern's flam.
    rig.clocks.followHost (rig.seq, rig.hostAt (true, 130.0, 0.0), true, false);
    rig.clocks.followPatterns (rig.seq);
    rig.log.clear();
    rig.run (5538, true, false);
    EXPECT_EQ (rig.log, (Log{"11077 render", "11077 advance host", "11077 native step", "12462 render", "12462 native flam"}));

    // Stopped, the players only advance.
    rig.log.clear();
    rig.run (5539, false, false);
    EXPECT_EQ (rig.log, (Log{"16616 render", "16616 advance host", "16616 advance native", "18001 render"}));
}

TEST (PlayerClocks, FlamClocksFollowTheirMainClocksOnEveryRoad)
{
    Rig rig;
    auto& clocks = rig.clocks;
    rig.seq.tempo = 90.0;
    rig.seq.scale = 3;
    rig.seq.shuffle = 0.5;
    rig.seq.flam = 0.3;

    // A pattern key: the pattern's timing and flam, the flam clock silent until the step.
    clocks.playKey (rig.seq, 12, true, false, false);
    expectInStep (clocks.getHostFlamClock(), clocks.getHostClock(), 90.0, 3.0);
    EXPECT_EQ (clocks.getHostClock().getShuffle(), 0.5);
    EXPECT_EQ (clocks.getHostFlamClock().getGate(), 0.3);
    EXPECT_FALSE (clocks.getHostFlamClock().isRunning());

    // The lowest C starts the native chain only when watched for and not yet running.
    clocks.playKey (rig.seq, 0, true, false, false);
    EXPECT_FALSE (clocks.getNativeClock().isRunning());
    clocks.playKey (rig.seq, 0, true, false, true);
    EXPECT_TRUE (clocks.getNativeClock().isRunning());
    expectInStep (clocks.getNativeFlamClock(), clocks.getNativeClock(), 90.0, 3.0);

    // The patterns change while they play: the block's start takes them.
    rig.seq.tempo = 140.0;
    rig.seq.scale = 8;
    rig.seq.flam = 0.2;
    clocks.followPatterns (rig.seq);
    expectInStep (clocks.getHostFlamClock(), clocks.getHostClock(), 140.0, 8.0);
    expectInStep (clocks.getNativeFlamClock(), clocks.getNativeClock(), 140.0, 8.0);
    EXPECT_EQ (clocks.getNativeFlamClock().getGate(), 0.2);

    // Without internal sync the host's tempo rules; a tempo that is no tempo is ignored.
    rig.internalSync = false;
    clocks.followHost (rig.seq, rig.hostAt (true, 133.0, 0.0), false, false);
    expectInStep (clocks.getHostFlamClock(), clocks.getHostClock(), 133.0, 8.0);
    expectInStep (clocks.getNativeFlamClock(), clocks.getNativeClock(), 133.0, 8.0);

    for (const double bpm : {0.0, -60.0, std::nan ("")})
    {
        clocks.followHost (rig.seq, rig.hostAt (true, bpm, 0.0), false, false);
        EXPECT_EQ (clocks.getHostClock().getTempo(), 133.0) << bpm;
    }

    rig.seq.tempo = 70.0;
    clocks.playKey (rig.seq, 13, true, false, false);
    expectInStep (clocks.getHostFlamClock(), clocks.getHostClock(), 133.0, 8.0);
}

TEST (PlayerClocks, TheHostsTransportStartsAndStopsThePlayersAndMovesTheChain)
{
    Rig rig;
    auto& clocks = rig.clocks;
    auto& native = clocks.getNativeClock();
    rig.internalSync = false;

    // Started by the transport, the chain follows the host's position.
    EXPECT_EQ (clocks.followHost (rig.seq, rig.hostAt (true, 120.0, 2.0), true, false), PlayerClocks::transportStarted);
    EXPECT_TRUE (native.isRunning());
    EXPECT_EQ (native.getPosition(), 2.0);
    EXPECT_EQ (clocks.followHost (rig.seq, rig.hostAt (true, 120.0, 3.0), true, false), PlayerClocks::transportUnchanged);
    EXPECT_EQ (native.getPosition(), 3.0);

    clocks.playKey (rig.seq, 20, true, false, false);
    rig.log.clear();
    EXPECT_EQ (clocks.followHost (rig.seq, rig.hostAt (false, 120.0, 4.0), true, false), PlayerClocks::transportStopped);
    EXPECT_EQ (rig.log, (Log{"0 stop host", "0 stop native"}));
    EXPECT_EQ (native.getPosition(), 0.0) << "a stopped host's position is not followed";

    for (Clock* clock : {(Clock*) &clocks.getHostClock(), (Clock*) &native, &clocks.getHostFlamClock(), &clocks.getNativeFlamClock()})
        EXPECT_FALSE (clock->isRunning()) << clock->getName();

    // Watching for the lowest C, the position is followed only once the key started the chain.
    clocks.followHost (rig.seq, rig.hostAt (true, 120.0, 5.0), false, true);
    EXPECT_FALSE (native.isRunning());
    clocks.playKey (rig.seq, 0, true, false, true);
    clocks.followHost (rig.seq, rig.hostAt (true, 120.0, 6.0), false, true);
    EXPECT_EQ (native.getPosition(), 6.0);

    // With internal sync the chain keeps its own time.
    rig.internalSync = true;
    clocks.followHost (rig.seq, rig.hostAt (true, 150.0, 7.0), false, true);
    EXPECT_EQ (native.getPosition(), 6.0);
    EXPECT_EQ (native.getTempo(), 120.0);
}

TEST (PlayerClocks, HeldPatternKeysStopTheHostPatternInNoteOffModeWhenAllAreReleased)
{
    Rig rig;
    auto& clocks = rig.clocks;
    auto& host = clocks.getHostClock();

    clocks.playKey (rig.seq, 60, true, true, false);
    clocks.playKey (rig.seq, 60, true, true, false);
    clocks.playKey (rig.seq, 60, false, true, false);
    EXPECT_TRUE (host.isRunning()) << "one key of the pattern is still held";
    clocks.playKey (rig.seq, 60, false, true, false);
    EXPECT_FALSE (host.isRunning());

    // Another pattern's key holds only itself; a key released outside note-off mode stops nothing.
    clocks.playKey (rig.seq, 60, true, true, false);
    clocks.playKey (rig.seq, 60, true, true, false);
    clocks.playKey (rig.seq, 61, true, true, false);
    EXPECT_EQ (rig.seq.hostPattern, 49);
    clocks.playKey (rig.seq, 61, false, false, false);
    EXPECT_TRUE (host.isRunning());
    clocks.playKey (rig.seq, 61, true, true, false);
    clocks.playKey (rig.seq, 60, false, true, false);
    EXPECT_TRUE (host.isRunning()) << "the key of a pattern no longer playing";
    clocks.playKey (rig.seq, 61, false, true, false);
    EXPECT_FALSE (host.isRunning());

    // Keys outside 12 to 107 choose nothing; all notes off forgets the held keys.
    for (const int key : {11, 108, 127})
        clocks.playKey (rig.seq, key, true, true, false);

    EXPECT_FALSE (host.isRunning());
    clocks.playKey (rig.seq, 107, true, true, false);
    EXPECT_EQ (rig.seq.hostPattern, 95);
    clocks.allNotesOff (rig.seq);
    EXPECT_FALSE (host.isRunning());
    clocks.playKey (rig.seq, 107, true, true, false);
    clocks.playKey (rig.seq, 107, false, true, false);
    EXPECT_FALSE (host.isRunning()) << "the count started over";
}

TEST (PlayerClocks, TapsAreStruckAndWrittenByWhereTheClockStands)
{
    Rig rig;
    auto tap = [&rig] (int track, int value)
    {
        rig.seq.setTapValue (track, value);
        rig.seq.setTapped (true);
    };

    // Standing clock: struck at once, not written; an accent strikes strong.
    tap (1, 1);
    tap (3, 2);
    rig.clocks.placeTaps (rig.seq, rig.owner, false);
    EXPECT_EQ (rig.owner.strikes, (std::vector<FakeSequencerOwner::Strike>{{1, false, false, (float) (48.0 / 127.0)},
                                                                           {3, false, false, (float) (48.0 / 127.0 + 0.377)}}));
    EXPECT_EQ (rig.owner.displayUpdates, 1);
    EXPECT_FALSE (rig.seq.hasTappedValues());
    EXPECT_EQ (rig.seq.getTapValue (3), 0);

    // Running, in the first half of a step: written into it and struck.
    rig.clocks.playKey (rig.seq, 12, true, false, false);
    rig.run (samplesPerStep / 2 - 1, true, true);
    rig.log.clear();
    tap (2, 1);
    rig.clocks.placeTaps (rig.seq, rig.owner, true);
    EXPECT_EQ (rig.log, (Log{juce::String (samplesPerStep / 2 - 1) + " write 2=1 host"}));
    EXPECT_EQ (rig.owner.strikes.size(), 3u);

    // Nearer the next step: kept for it, nothing struck.
    rig.run (2, true, true);
    rig.log.clear();
    tap (4, 1);
    rig.clocks.placeTaps (rig.seq, rig.owner, true);
    EXPECT_TRUE (rig.log.empty());
    EXPECT_EQ (rig.owner.strikes.size(), 3u);
    EXPECT_TRUE (rig.seq.isTapPending());
    EXPECT_EQ (rig.seq.getTapValue (4), 1);
    EXPECT_FALSE (rig.seq.hasTappedValues());
}
