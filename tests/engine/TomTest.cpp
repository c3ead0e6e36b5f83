#include "SignalMeasure.h"

#include "engine/PulsaretHiTom.h"
#include "engine/PulsaretLowTom.h"

#include <gtest/gtest.h>

namespace
{
struct TomSettings
{
    double rate = 44100.0, level = 0.5, tune = 0.5, decay = 0.5, velocity = 1.0;
};

template <typename Tom>
std::vector<double> strike (const TomSettings& s, double seconds = 1.0)
{
    Tom voice;
    voice.setLevel (s.level);
    voice.setTune (s.tune);
    voice.setDecay (s.decay);
    voice.setSampleRate (s.rate);
    voice.setLevel (s.level); // a rate change resets the smoothed level
    return SignalMeasure::strikeWithNoise (voice, s.rate, s.velocity, 12345u, seconds);
}
} // namespace

TEST (Tom, MappingsAtTheirEnds)
{
    PulsaretLowTom tom;
    tom.setSampleRate (44100.0);
    const struct
    {
        double value, multiplier, damping;
    } rows[] = {{0.0, 0.75, 0.25}, {0.5, 1.0, 0.05}, {1.0, 4.0 / 3.0, 0.01}};
    for (const auto& row : rows)
    {
        tom.setTune (row.value);
        tom.setDecay (row.value);
        EXPECT_NEAR (tom.getTuneMultiplier(), row.multiplier, 1e-4) << row.value;
        EXPECT_NEAR (tom.getDamping(), row.damping, 1e-6) << row.value;
    }
    tom.setDecay (0.0);
    const double fastest = tom.getDecayCoefficient();
    tom.setDecay (1.0);
    EXPECT_LT (tom.getDecayCoefficient(), fastest);
}

TEST (Tom, PitchSweepsDownToTheBaseFrequency)
{
    // Low tom: 175 Hz at the strike, falling towards 132; hi tom: 214 towards 199.
    for (double rate : {44100.0, 96000.0})
    {
        SCOPED_TRACE (rate);
        TomSettings s;
        s.rate = rate;
        s.decay = 1.0;
        const auto low = strike<PulsaretLowTom> (s, 1.5);
        const double lowStart = SignalMeasure::frequency (low, 0, (size_t) (rate * 0.03), rate, 80.0, 400.0);
        const double lowEnd = SignalMeasure::frequency (low, (size_t) (rate * 0.5), (size_t) (rate * 0.8), rate, 80.0, 400.0);
        EXPECT_GT (lowStart, 158.0);
        EXPECT_LT (lowStart, 178.0);
        EXPECT_NEAR (lowEnd, 132.0, 3.0);

        const auto hi = strike<PulsaretHiTom> (s, 1.5);
        EXPECT_NEAR (SignalMeasure::frequency (hi, (size_t) (rate * 0.5), (size_t) (rate * 0.8), rate, 80.0, 400.0), 199.0, 5.0);
        EXPECT_GT (SignalMeasure::frequency (hi, 0, (size_t) (rate * 0.03), rate, 80.0, 400.0), 205.0);
    }

    TomSettings low;
    low.decay = 1.0;
    low.tune = 0.0;
    EXPECT_NEAR (SignalMeasure::frequency (strike<PulsaretLowTom> (low, 1.5), 22050, 35280, 44100.0, 50.0, 400.0), 99.0, 3.0);
    low.tune = 1.0;
    EXPECT_NEAR (SignalMeasure::frequency (strike<PulsaretLowTom> (low, 1.5), 22050, 35280, 44100.0, 50.0, 400.0), 176.0, 5.0);
}

TEST (Tom, DecayLevelAndVelocity)
{
    TomSettings s;
    s.decay = 0.0;
    const auto shortTail = SignalMeasure::decayLength (strike<PulsaretLowTom> (s), 0.01);
    s.decay = 1.0;
    const auto longTail = SignalMeasure::decayLength (strike<PulsaretLowTom> (s, 3.0), 0.01);
    EXPECT_LT (3 * shortTail, longTail);

    TomSettings half;
    const double reference = SignalMeasure::peak (strike<PulsaretHiTom> (half));
    EXPECT_GT (reference, 0.05);
    EXPECT_LT (reference, 1.0);
    TomSettings full;
    full.level = 1.0;
    EXPECT_NEAR (SignalMeasure::peak (strike<PulsaretHiTom> (full)) / reference, 2.0, 1e-6);
    TomSettings silent;
    silent.velocity = 0.0;
    EXPECT_EQ (SignalMeasure::peak (strike<PulsaretHiTom> (silent)), 0.0);
}

TEST (Tom, BothTogetherSoundAsEachOnItsOwn)
{
    // The hi tom outlives the low one, which falls silent in the middle of a run and is struck again: the
    // runs side by side, the silent end and the single tom in between all give the very same samples.
    for (double rate : {22050.0, 44100.0, 192000.0})
        for (bool linked : {false, true})
        {
            SCOPED_TRACE (testing::Message() << rate << " Hz, linked " << linked);
            PulsaretLowTom lows[2];
            PulsaretHiTom his[2];
            for (PulsaretTom* tom : {(PulsaretTom*) &lows[0], (PulsaretTom*) &lows[1], (PulsaretTom*) &his[0], (PulsaretTom*) &his[1]})
                tom->setSampleRate (rate);
            for (auto& tom : lows)
            {
                tom.setTune (0.8);
                tom.setDecay (0.0);
                tom.setLevel (0.7);
            }
            for (auto& tom : his)
            {
                tom.setTune (0.1);
                tom.setDecay (0.9);
                tom.setLevel (0.3);
            }

            uint32_t noiseState = 12345u;
            const auto length = (size_t) (rate * 4.0) / 32 * 32;
            std::vector<double> together (2 * length), alone (2 * length), noise (32); // runs as the engine's blocks
            bool lowEndedWhileHiRang = false;
            for (size_t start = 0; start < length; start += noise.size())
            {
                for (auto& n : noise)
                    n = (double) (int32_t) (noiseState = noiseState * 1664525u + 1013904223u) * 4.6566128730773926e-10;
                const auto runAt = [rate] (double seconds)
                { return (size_t) (rate * seconds) / 32 * 32; };
                if (start == 0 || start == runAt (3.4))
                    for (auto& tom : lows)
                        tom.trigger (0.9);
                if (start == runAt (1.0))
                    for (auto& tom : his)
                        tom.trigger (0.6);

                PulsaretTom::renderPair (lows[0], his[0], noise.data(), &together[start], &together[length + start], (int) noise.size(), linked);
                for (size_t n = 0; n < noise.size(); ++n)
                {
                    if (linked)
                    {
                        his[1].followLevelOf (lows[1]);
                        const double hi = his[1].renderOne (noise[n]);
                        alone[start + n] = hi + lows[1].renderOne (noise[n]);
                        alone[length + start + n] = 0.0;
                    }
                    else
                    {
                        his[1].restoreLevelTarget();
                        alone[start + n] = lows[1].renderOne (noise[n]);
                        alone[length + start + n] = his[1].renderOne (noise[n]);
                    }
                }
                lowEndedWhileHiRang = lowEndedWhileHiRang || (!lows[1].isActive() && his[1].isActive());
            }

            EXPECT_TRUE (lowEndedWhileHiRang);
            EXPECT_TRUE (together == alone);
            EXPECT_EQ (lows[0].getPeak(), lows[1].getPeak());
            EXPECT_EQ (his[0].getPeak(), his[1].getPeak());
        }
}
