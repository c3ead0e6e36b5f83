#include "sequencer/Clock.h"
#include "sequencer/ShuffledClock.h"
#include "tests/MessagePump.h"

#include <gtest/gtest.h>

namespace
{
struct Event
{
    juce::int64 sample;
    int phase;

    bool operator== (const Event& other) const { return sample == other.sample && phase == other.phase; }
};

std::ostream& operator<< (std::ostream& out, const Event& e)
{
    return out << "{" << e.sample << ", " << e.phase << "}";
}

/** Runs the clock in blocks of blockSize samples, calling betweenBlocks at each
    block boundary, and records every event until maxEvents. */
template <typename BetweenBlocks>
std::vector<Event> run (Clock& clock, juce::int64 numSamples, int blockSize, BetweenBlocks&& betweenBlocks, size_t maxEvents = 100000)
{
    std::vector<Event> events;

    for (juce::int64 i = 0; i < numSamples && events.size() < maxEvents; ++i)
    {
        if (i % blockSize == 0)
            betweenBlocks (i);

        if (clock.processSample())
            events.push_back ({i, clock.getPhase()});
    }

    return events;
}

std::vector<Event> run (Clock& clock, juce::int64 numSamples, int blockSize = 512)
{
    return run (clock, numSamples, blockSize, [] (juce::int64) {});
}

// ceil (a / b) for positive integers.
juce::int64 ceilDiv (juce::int64 a, juce::int64 b)
{
    return (a + b - 1) / b;
}

/** The event at exact position a / b samples falls on its first sample at or after it.
    The position is summed sample by sample in doubles, so when a / b is a whole sample
    the event may fall on it or on the one after. */
::testing::AssertionResult fallsOn (const Event& actual, juce::int64 a, juce::int64 b, int phase)
{
    const auto first = ceilDiv (a, b);
    const bool tie = a % b == 0;

    if (actual.phase == phase && (actual.sample == first || (tie && actual.sample == first + 1)))
        return ::testing::AssertionSuccess();

    return ::testing::AssertionFailure() << actual << " instead of {" << first << (tie ? " or +1" : "") << ", " << phase << "}";
}

struct CountingListener : public Clock::Listener
{
    void clockStateChanged (Clock&) override { ++states; }
    void clockTick (Clock&) override { ++ticks; }
    int states = 0;
    int ticks = 0;
};
} // namespace

// Grid cases with integer tempo: a step is rate * 60 / (tempo * scale) samples, so the
// exact event positions are rationals and their first samples are computed in integers.
TEST (Clock, PlainClockStepsFallOnTheFirstSampleAtOrAfterTheirPosition)
{
    struct Case
    {
        int tempo;
        int rate;
        int scale;
        int gateHalves; // gate in halves of a step: 1 is 0.5
    };

    const Case cases[] = {
        {120, 44100, 4, 1},
        {90, 48000, 3, 1},
        {137, 96000, 6, 1},
        {300, 44100, 8, 1},
        {31, 22050, 4, 1},
        {174, 88200, 4, 1},
    };

    for (auto& c : cases)
    {
        Clock clock;
        clock.setSampleRate (c.rate);
        clock.setTempo (c.tempo);
        clock.setStepsPerBeat (c.scale);
        clock.start();

        // One step is num / den samples.
        const juce::int64 num = (juce::int64) c.rate * 60;
        const juce::int64 den = (juce::int64) c.tempo * c.scale;
        const int numSteps = 200;
        const auto events = run (clock, ceilDiv (num * numSteps, den), 441);

        ASSERT_GE (events.size(), (size_t) (2 * numSteps - 1)) << c.tempo;

        for (int k = 0; k < numSteps && 2 * k + 1 < (int) events.size(); ++k)
        {
            ASSERT_TRUE (fallsOn (events[(size_t) (2 * k)], num * k, den, 0)) << "tempo " << c.tempo << " step " << k;
            ASSERT_TRUE (fallsOn (events[(size_t) (2 * k + 1)], num * (2 * k + 1), 2 * den, 1)) << "tempo " << c.tempo << " step " << k;
        }
    }
}

TEST (Clock, FourHundredEightyStepsAt120BpmTake2646000Samples)
{
    for (auto blockSize : {64, 512, 1000, 4096})
    {
        Clock clock ("nativeClock");
        clock.setTempo (120.0);
        clock.start();

        std::vector<juce::int64> starts;
        run (clock, 2646001, blockSize, [] (juce::int64) {});
        clock.stop();
        clock.start();

        for (juce::int64 i = 0; i <= 2646000; ++i)
            if (clock.processSample() && clock.isInFirstPart())
                starts.push_back (i);

        ASSERT_EQ (starts.size(), 481u);
        EXPECT_EQ (starts[1], 5513);
        EXPECT_EQ (starts[2], 11025);
        EXPECT_EQ (starts[480], 2646000);

        for (size_t k = 1; k < starts.size(); ++k)
        {
            const auto gap = starts[k] - starts[k - 1];
            ASSERT_TRUE (gap == 5512 || gap == 5513) << k;
        }
    }
}

TEST (Clock, ShuffledClockDelaysTheSecondStepOfEachPair)
{
    struct Case
    {
        int tempo;
        int rate;
        int scale;
        int shufflePercent;
    };

    // Shuffle values that are exact in binary, so exact positions are rationals.
    const Case cases[] = {
        {120, 44100, 4, 0},
        {120, 44100, 4, 50},
        {95, 48000, 4, 25},
        {140, 44100, 3, 75},
        {170, 96000, 6, 50},
        {60, 32000, 8, 25},
    };

    for (auto& c : cases)
    {
        ShuffledClock clock;
        clock.setSampleRate (c.rate);
        clock.setTempo (c.tempo);
        clock.setStepsPerBeat (c.scale);
        clock.setShuffle (c.shufflePercent / 100.0);
        clock.start();

        // Positions in steps times 400 (shuffle in percent, gate a half): a pair starts
        // at 800 j; the second step at 400 + 4 sh; the first gate ends at (400 + 4 sh) / 2,
        // the second at the middle of the second step.
        const juce::int64 num = (juce::int64) c.rate * 60;
        const juce::int64 den = (juce::int64) c.tempo * c.scale * 400;
        const juce::int64 sh = c.shufflePercent;
        const int numPairs = 60;
        const auto events = run (clock, ceilDiv (num * 800 * numPairs, den), 300);

        ASSERT_GE (events.size(), (size_t) (4 * numPairs - 1));

        for (int j = 0; j < numPairs - 1; ++j)
        {
            const juce::int64 base = 800 * j;
            const juce::int64 middle = base + 400 + 4 * sh;
            const juce::int64 expected[4] = {base, base + (400 + 4 * sh) / 2, middle, middle + (base + 800 - middle) / 2};

            for (int e = 0; e < 4; ++e)
                ASSERT_TRUE (fallsOn (events[(size_t) (4 * j + e)], num * expected[e], den, e)) << "tempo " << c.tempo << " pair " << j;
        }
    }
}

TEST (Clock, ShuffledClockWithoutShuffleMatchesThePlainClock)
{
    Clock plain;
    ShuffledClock shuffled;

    for (Clock* c : {&plain, static_cast<Clock*> (&shuffled)})
    {
        c->setSampleRate (48000);
        c->setTempo (133.3);
        c->setStepsPerBeat (6);
        c->start();
    }

    const auto a = run (plain, 500000);
    const auto b = run (shuffled, 500000);
    ASSERT_EQ (a.size(), b.size());

    for (size_t i = 0; i < a.size(); ++i)
    {
        ASSERT_EQ (a[i].sample, b[i].sample) << i;
        ASSERT_EQ (a[i].phase, b[i].phase % 2) << i;
    }
}

// A tempo change at a block boundary recomputes the next event from the position
// reached: at 120 BPM, 44.1 kHz, sample 10000 is beat 10000/22050; at 97 BPM a beat is
// 2646000/97 samples, so the boundary k/4 falls (22050 k - 40000) 30/97 samples later.
TEST (Clock, TempoChangesTakeEffectFromThePositionReached)
{
    for (bool shuffled : {false, true})
    {
        std::unique_ptr<Clock> clock;

        if (shuffled)
            clock = std::make_unique<ShuffledClock>();
        else
            clock = std::make_unique<Clock>();

        clock->setTempo (120.0);
        clock->start();

        const auto events = run (*clock, 100000, 1000, [&] (juce::int64 i)
                                 {
            if (i == 10000)
                clock->setTempo (97.0); });

        std::vector<juce::int64> starts;
        for (auto& e : events)
            if (e.phase % 2 == 0)
                starts.push_back (e.sample);

        ASSERT_GE (starts.size(), 8u);
        EXPECT_EQ (starts[0], 0);
        EXPECT_EQ (starts[1], 5513);

        for (int k = 2; k < 8; ++k)
            EXPECT_EQ (starts[(size_t) k], 10000 + ceilDiv ((22050 * k - 40000) * 30, 97)) << k;
    }
}

TEST (Clock, InvalidTempoRateAndScaleAreIgnored)
{
    Clock clock;
    clock.start();

    // Without a tempo the clock waits.
    EXPECT_TRUE (run (clock, 1000).empty());

    clock.setTempo (120.0);
    clock.setTempo (0.0);
    clock.setTempo (-10.0);
    clock.setTempo (std::numeric_limits<double>::infinity());
    clock.setTempo (std::numeric_limits<double>::quiet_NaN());
    clock.setSampleRate (0.0);
    clock.setSampleRate (std::numeric_limits<double>::quiet_NaN());
    clock.setStepsPerBeat (0.0);
    clock.setPosition (std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ (clock.getTempo(), 120.0);
    EXPECT_EQ (clock.getSampleRate(), 44100.0);
    EXPECT_EQ (clock.getStepsPerBeat(), 4.0);

    const auto events = run (clock, 6000);
    ASSERT_EQ (events.size(), 3u);
    EXPECT_EQ (events[2], (Event{5513, 0}));
}

TEST (Clock, PositionJustBeforeABoundaryCountsTheNextStepAsStarted)
{
    Clock clock;
    clock.setTempo (120.0);
    clock.start();

    EXPECT_TRUE (clock.processSample());
    EXPECT_EQ (clock.getPhase(), 0);

    // The step at beat 0.25 starts on the last of these samples.
    const auto first = run (clock, 5513);
    ASSERT_EQ (first.size(), 2u);
    EXPECT_EQ (first[1], (Event{5512, 0}));

    // The host puts it 0.003 step before that boundary, a rounding away from where the clock is:
    // the step already started, and sounds no second time.
    clock.setPosition (0.25 - 0.003 * 0.25);
    const auto events = run (clock, 6000);
    ASSERT_FALSE (events.empty());
    EXPECT_EQ (events[0].phase, 1);
    // The next gate end at beat 0.375 is 0.12575 beat (2772.8 samples) away.
    EXPECT_EQ (events[0].sample, 2773);

    // From step 0, 100 samples in, the same positions are jumps: the step starts on its boundary, as
    // for a clock that ran there, however near it the position lands.
    const auto jumpFromStepZero = [] (double position)
    {
        Clock other;
        other.setTempo (120.0);
        other.start();
        run (other, 100);
        other.setPosition (position);
        return run (other, 6000);
    };

    const auto later = jumpFromStepZero (0.25 - 0.01 * 0.25);
    ASSERT_GE (later.size(), 2u);
    EXPECT_EQ (later[0], (Event{56, 0}));
    EXPECT_EQ (later[1], (Event{2812, 1})); // its gate end at beat 0.375

    const auto nearer = jumpFromStepZero (0.25 - 0.003 * 0.25);
    ASSERT_FALSE (nearer.empty());
    EXPECT_EQ (nearer[0], (Event{17, 0}));
}

TEST (Clock, NegativePositionWaitsForZero)
{
    Clock clock;
    clock.setTempo (120.0);
    clock.start();
    clock.setPosition (-100.0 / 22050.0);

    const auto events = run (clock, 200);
    ASSERT_FALSE (events.empty());
    EXPECT_EQ (events[0].phase, 0);
    EXPECT_NEAR ((double) events[0].sample, 100.0, 1.0);
    EXPECT_TRUE (clock.hasRestarted());
}

TEST (Clock, NearerStepStart)
{
    Clock clock;
    clock.setTempo (120.0);

    struct Case
    {
        double position;
        bool nearer;
    };

    const Case plain[] = {{0.0, true}, {0.25, true}, {0.3, true}, {0.37, true}, {0.38, false}, {0.49, false}};

    for (auto& c : plain)
    {
        clock.setPosition (c.position);
        EXPECT_EQ (clock.isNearerStepStart(), c.nearer) << c.position;
    }

    // Pair of 0.5 beat, second step starting at 0.25 + 0.125 = 0.375 with shuffle 0.5.
    ShuffledClock shuffled;
    shuffled.setShuffle (0.5);
    const Case pairs[] = {{0.0, true}, {0.18, true}, {0.19, false}, {0.375, true}, {0.43, true}, {0.44, false}, {0.5, true}};

    for (auto& c : pairs)
    {
        shuffled.setPosition (c.position);
        EXPECT_EQ (shuffled.isNearerStepStart(), c.nearer) << c.position;
    }
}

TEST (Clock, ListenersHearStatesAndTicksOnTheMessageThread)
{
    ShuffledClock clock ("hostClock");
    EXPECT_EQ (clock.getName(), "hostClock");
    CountingListener a, b;
    clock.addListener (&a);
    clock.addListener (&a);
    clock.addListener (nullptr);
    clock.addListener (&b);
    clock.setTempo (120.0);

    clock.start();
    clock.start();
    EXPECT_EQ (a.states, 0);
    pumpPendingMessages();
    EXPECT_EQ (a.states, 1);
    EXPECT_EQ (b.states, 1);
    EXPECT_EQ (a.ticks, 0);

    // Many events between two updates make one tick.
    EXPECT_GT (run (clock, 50000).size(), 10u);
    pumpPendingMessages();
    EXPECT_EQ (a.ticks, 1);
    EXPECT_EQ (a.states, 1);

    clock.stop();
    clock.stop();
    pumpPendingMessages();
    EXPECT_EQ (a.states, 2);
    EXPECT_FALSE (clock.isRunning());
    EXPECT_EQ (clock.getPosition(), 0.0);
    EXPECT_EQ (clock.getPhase(), -1);

    clock.removeListener (&b);
    clock.restart();
    pumpPendingMessages();
    EXPECT_EQ (a.states, 3);
    EXPECT_EQ (b.states, 2);
}
