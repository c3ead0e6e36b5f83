#include "SignalMeasure.h"

#include "engine/PulsaretSnareDrum.h"

#include <gtest/gtest.h>

namespace
{
struct SnareSettings
{
    double rate = 44100.0, level = 0.5, tune = 0.5, tone = 0.5, snappy = 1.0, velocity = 1.0;
    unsigned noiseSeed = 1;
};

std::vector<double> strike (const SnareSettings& s, double seconds = 1.0)
{
    PulsaretSnareDrum voice;
    voice.setLevel (s.level);
    voice.setTune (s.tune);
    voice.setTone (s.tone);
    voice.setSnappy (s.snappy);
    voice.setSampleRate (s.rate);
    return SignalMeasure::strikeWithNoise (voice, s.rate, s.velocity, s.noiseSeed * 2654435761u, seconds);
}
} // namespace

TEST (SnareDrum, TuneAndToneTerms)
{
    PulsaretSnareDrum voice;
    voice.setSampleRate (44100.0);
    const struct
    {
        double value, tune, tone;
    } rows[] = {{0.0, -52.75, 0.007}, {0.5, 0.0, 0.0}, {1.0, 70.32, -0.0007}};

    for (const auto& row : rows)
    {
        voice.setTune (row.value);
        voice.setTone (row.value);
        EXPECT_NEAR (voice.getTuneTerm(), row.tune, 0.01) << row.value;
        EXPECT_NEAR (voice.getToneTerm(), row.tone, 2e-5) << row.value;
    }
}

TEST (SnareDrum, BodyPitchFollowsTune)
{
    // Without the noise the body rings at 211 Hz plus the tune term once the sweep is over.
    const struct
    {
        double tune, hz;
    } rows[] = {{0.0, 158.25}, {0.5, 211.0}, {1.0, 281.32}};

    for (const auto& row : rows)
    {
        SnareSettings s;
        s.snappy = 0.0;
        s.tune = row.tune;
        const auto x = strike (s);
        EXPECT_NEAR (SignalMeasure::frequency (x, 4410, 8820, 44100.0, 100.0, 500.0), row.hz, row.hz * 0.04) << row.tune;
    }
}

TEST (SnareDrum, SnappyToneLevelAndVelocity)
{
    // Snappy 0 removes the noise entirely: different noise gives the same output.
    SnareSettings a;
    a.snappy = 0.0;
    SnareSettings b = a;
    b.noiseSeed = 7;
    EXPECT_EQ (strike (a), strike (b));
    a.snappy = 1.0;
    b.snappy = 1.0;
    EXPECT_NE (strike (a), strike (b));

    // Snappy adds energy in the noise band on top of the body.
    SnareSettings body;
    body.snappy = 0.0;
    const auto bodyOnly = strike (body);
    const auto full = strike (SnareSettings{});
    EXPECT_GT (SignalMeasure::rms (full, 0, 4410), 1.2 * SignalMeasure::rms (bodyOnly, 0, 4410));

    // Tone 1 gives the long noise tail (0.0001 K per sample), tone 0 the short one (0.0078 K).
    SnareSettings shortNoise;
    shortNoise.tone = 0.0;
    SnareSettings longNoise;
    longNoise.tone = 1.0;
    EXPECT_GT (SignalMeasure::rms (strike (longNoise), 8820, 22050), 3.0 * SignalMeasure::rms (strike (shortNoise), 8820, 22050));

    SnareSettings loud;
    loud.level = 1.0;
    EXPECT_NEAR (SignalMeasure::peak (strike (loud)) / SignalMeasure::peak (full), 2.0, 1e-6);
    SnareSettings silent;
    silent.velocity = 0.0;
    EXPECT_EQ (SignalMeasure::peak (strike (silent)), 0.0);
    EXPECT_GT (SignalMeasure::peak (full), 0.05);
    EXPECT_LT (SignalMeasure::peak (full), 1.5);
}
