#include "SignalMeasure.h"

#include "engine/PulsaretBassDrum.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
struct BassDrumSettings
{
    double rate = 44100.0, level = 0.5, tune = 0.5, attack = 1.0, decay = 0.5, velocity = 1.0;
};

std::vector<double> strike (const BassDrumSettings& s, double seconds = 1.0)
{
    PulsaretBassDrum voice;
    voice.setLevel (s.level);
    voice.setTune (s.tune);
    voice.setAttack (s.attack);
    voice.setDecay (s.decay);
    voice.setSampleRate (s.rate);
    // Let the level and attack gain reach their targets first.
    SignalMeasure::render ((int) s.rate, [&]
                           { return voice.render(); });
    voice.trigger (s.velocity);
    return SignalMeasure::render ((int) (s.rate * seconds), [&]
                                  { return voice.render(); });
}
} // namespace

TEST (BassDrum, PitchFollowsTuneAtEveryRate)
{
    // The body rings at 61.34 Hz times (tune + 0.5).
    for (double rate : {22050.0, 44100.0, 48000.0, 96000.0, 192000.0})
    {
        SCOPED_TRACE (rate);
        BassDrumSettings s;
        s.rate = rate;
        const auto x = strike (s);
        EXPECT_NEAR (SignalMeasure::frequency (x, (size_t) (rate * 0.05), (size_t) (rate * 0.4), rate, 20.0, 400.0), 61.34, 2.0);
    }

    BassDrumSettings low;
    low.tune = 0.0;
    EXPECT_NEAR (SignalMeasure::frequency (strike (low), 4000, 20000, 44100.0, 15.0, 400.0), 30.67, 1.5);
    BassDrumSettings high;
    high.tune = 1.0;
    EXPECT_NEAR (SignalMeasure::frequency (strike (high), 2000, 12000, 44100.0, 20.0, 400.0), 92.01, 3.0);
}

TEST (BassDrum, LevelAttackAndVelocity)
{
    BassDrumSettings s;
    const double reference = SignalMeasure::peak (strike (s));
    EXPECT_GT (reference, 0.05);
    EXPECT_LT (reference, 1.0);

    s.level = 1.0;
    EXPECT_NEAR (SignalMeasure::peak (strike (s)) / reference, 2.0, 1e-6);
    s.level = 0.0;
    EXPECT_LT (SignalMeasure::peak (strike (s)), 1e-9);

    // Attack 0: gain 4 behind a 20 Hz click filter; attack 1: gain 1, 1600 Hz.
    PulsaretBassDrum voice;
    voice.setSampleRate (44100.0);
    voice.setAttack (0.0);
    EXPECT_NEAR (voice.getAttackGainTarget(), 4.0, 1e-9);
    EXPECT_NEAR (voice.getClickCoefficient(), std::exp (-2.0 * M_PI * 20.0 / 44100.0), 1e-12);
    voice.setAttack (1.0);
    EXPECT_NEAR (voice.getAttackGainTarget(), 1.0, 1e-12);
    EXPECT_NEAR (voice.getClickCoefficient(), std::exp (-2.0 * M_PI * 1600.0 / 44100.0), 1e-12);

    BassDrumSettings soft;
    soft.attack = 0.0;
    const auto dull = strike (soft);
    const auto sharp = strike (BassDrumSettings{});
    // The 1600 Hz click makes the attack's first milliseconds much steeper.
    auto steepest = [] (const std::vector<double>& x)
    {
        double m = 0.0;
        for (size_t i = 1; i < 200; ++i)
            m = std::max (m, std::abs (x[i] - x[i - 1]));
        return m;
    };
    EXPECT_GT (steepest (sharp), 2.0 * steepest (dull) / 4.0);
    EXPECT_TRUE (SignalMeasure::allFinite (dull));

    // Velocity scales the drive; 0 strikes nothing.
    BassDrumSettings quiet;
    quiet.velocity = 0.5;
    EXPECT_LT (SignalMeasure::peak (strike (quiet)), reference);
    quiet.velocity = 0.0;
    EXPECT_LT (SignalMeasure::peak (strike (quiet)), 1e-12);
}

TEST (BassDrum, DecayLengthensTheTail)
{
    BassDrumSettings s;
    s.decay = 0.0;
    const auto shortTail = SignalMeasure::decayLength (strike (s), 0.01);
    s.decay = 1.0;
    const auto longTail = SignalMeasure::decayLength (strike (s, 3.0), 0.01);
    s.decay = 0.5;
    const auto middle = SignalMeasure::decayLength (strike (s), 0.01);
    EXPECT_LT (shortTail, middle);
    EXPECT_LT (middle, longTail);
    // Default decay: the body dies to -40 dB within a quarter of a second.
    EXPECT_GT (middle, 44100u / 20);
    EXPECT_LT (middle, 44100u / 4);
}

TEST (BassDrum, SwitchesItselfOffAfterTheSoundDies)
{
    PulsaretBassDrum voice;
    voice.setLevel (0.5);
    voice.setTune (0.5);
    voice.setAttack (1.0);
    voice.setDecay (0.5);
    voice.setSampleRate (44100.0);
    EXPECT_FALSE (voice.isActive());
    voice.trigger (1.0);
    EXPECT_TRUE (voice.isActive());
    int n = 0;
    while (voice.isActive() && n < 1000000)
    {
        voice.render();
        ++n;
    }
    // The follower keeps a voice alive at least (1 - 0.0001)^n > 2e-05, about 108,000 samples.
    EXPECT_GT (n, 108000);
    EXPECT_LT (n, 200000);

    voice.trigger (1.0);
    voice.setSampleRate (48000.0);
    EXPECT_FALSE (voice.isActive());
}
