#include "PulsaretTestHost.h"

#include <gtest/gtest.h>

#include <random>

// With internal sync off the native sequencer follows the host's position. Wherever the host moves it
// (locate, loop, pre-roll), the steps from there on must fall on the samples of a run that had been
// playing through that position all along.
namespace
{
constexpr int blockSize = PulsaretTestHost::blockSize;
constexpr double sampleRate = PulsaretTestHost::sampleRate;
constexpr int bassDrumKey = 36;

// From sample `from` on, the host plays at `bpm`, at beat `ppq` on sample `origin` (read at block starts).
struct Segment
{
    int from, origin;
    double ppq, bpm;
};

double ppqAt (const Segment& s, int sample)
{
    return s.ppq + (double) (sample - s.origin) * s.bpm / 60.0 / sampleRate;
}

// The samples of every bass drum trigger note in [from, to): a pattern with the bass drum on each step.
std::vector<int> hits (const std::vector<Segment>& timeline, int from, int to, double shuffle)
{
    PulsaretTestHost host;
    auto& seq = host.seq();
    seq.setEditedPatternIndex (0);
    seq.clearPattern();

    for (int step = 0; step < 16; ++step)
        seq.setStep (0, step, 1);

    seq.setEditedPatternShuffle (shuffle);
    host.plugin->selectChain (0, 0);
    host.plugin->setInternalSync (false);
    host.playHead.playing = true;

    std::vector<int> samples;

    for (int start = 0; start < to; start += blockSize)
    {
        const Segment* segment = &timeline.front();

        for (const auto& s : timeline)
            if (s.from <= start)
                segment = &s;

        host.playHead.bpm = segment->bpm;
        host.playHead.ppq = ppqAt (*segment, start);
        host.process (blockSize);

        for (const auto metadata : host.midi)
        {
            const auto message = metadata.getMessage();
            const int sample = start + metadata.samplePosition;

            if (message.isNoteOn() && message.getNoteNumber() == bassDrumKey && sample >= from)
                samples.push_back (sample);
        }
    }

    return samples;
}

// The run with the jump against one that followed the position after the jump from its first sample.
void expectStepsAsIfPlayedThrough (const Segment& before, const Segment& after, double shuffle, const std::string& name)
{
    const int to = after.from + (int) (3.0 * 60.0 / after.bpm * sampleRate);
    const auto jumped = hits ({before, after}, after.from, to, shuffle);
    const auto reference = hits ({{0, after.origin, after.ppq, after.bpm}}, after.from, to, shuffle);
    EXPECT_GE (reference.size(), 4u) << name;
    EXPECT_EQ (jumped, reference) << name;
}
} // namespace

TEST (DrumMachineHostPosition, StepsAfterAJumpFallWhereAnUninterruptedRunPutsThem)
{
    // The jump comes with the block at sample 20 * 512 = 10240, where the host was at beat 0.464.
    constexpr int at = 20 * blockSize;

    const struct
    {
        const char* name;
        double ppq, bpm, shuffle;
    } cases[] = {
        {"forward 1.3 beats, onto a step", 0.464 + 1.3, 120.0, 0.0},
        {"forward onto the step at 3.75", 3.75, 120.0, 0.0},
        {"forward into a gate", 2.6, 120.0, 0.0},
        {"back to the start (a loop)", 0.0, 120.0, 0.0},
        {"back into an off part", 0.2, 120.0, 0.0},
        {"pre-roll", -0.7, 120.0, 0.0},
        {"tempo change at the jump", 5.1, 97.3, 0.0},
        {"shuffled, onto a late step", 1.25 + 0.25 * 0.5, 120.0, 0.5},
        {"shuffled, into a first step", 2.05, 133.0, 0.5},
        {"shuffled, just before a pair", 3.49, 120.0, 0.5},
    };

    for (const auto& c : cases)
        expectStepsAsIfPlayedThrough ({0, 0, 0.0, 120.0}, {at, at, c.ppq, c.bpm}, c.shuffle, c.name);

    // Random locates and loops, backwards and forwards, at random tempi.
    std::mt19937 random (14);
    std::uniform_real_distribution<double> position (-1.0, 12.0), tempo (70.0, 180.0);
    std::uniform_int_distribution<int> block (4, 40);

    for (int n = 0; n < 16; ++n)
    {
        const int at = block (random) * blockSize;
        const Segment before{0, 0, position (random) + 1.0, 120.0};
        const Segment after{at, at, position (random), tempo (random)};
        expectStepsAsIfPlayedThrough (before, after, n % 2 == 0 ? 0.0 : 0.3, "random jump " + std::to_string (n));
    }
}
