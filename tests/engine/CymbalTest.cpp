#include "SignalMeasure.h"

#include "DefaultCore.h"
#include "engine/MetalShaper.h"
#include "engine/PulsaretCore.h"
#include "engine/PulsaretCymbal.h"

#include <gtest/gtest.h>

namespace
{
std::vector<double> strikeCymbal (float tone, float decay, float level = 0.5f, float velocity = 1.0f, float rate = 44100.0f, double seconds = 3.0)
{
    auto core = DefaultCore::make (rate);
    core->setParameter (SoundParameter::cymbalTone, tone);
    core->setParameter (SoundParameter::cymbalDecay, decay);
    core->setParameter (SoundParameter::cymbalLevel, level);
    DefaultCore::settle (*core);
    core->triggerInstrument (4, velocity);
    return DefaultCore::renderSlot (*core, 4, (int) (rate * seconds));
}

/** Share of the signal's energy in its first difference: higher means brighter. */
double brightness (const std::vector<double>& x, size_t from, size_t to)
{
    double e = 0.0, d = 0.0;
    for (size_t i = from + 1; i < to; ++i)
    {
        e += x[i] * x[i];
        d += (x[i] - x[i - 1]) * (x[i] - x[i - 1]);
    }
    return d / e;
}
} // namespace

TEST (Cymbal, DiodeTermTakesItsLimitAtZero)
{
    EXPECT_EQ (MetalShaper::diodeRatio (0.0, 1e-20), 1.0);
    EXPECT_EQ (MetalShaper::diodeRatio (0.0, 0.0), 1.0);
    EXPECT_NEAR (MetalShaper::diodeRatio (1e-9, 1e-20), 1.0, 1e-9);
    EXPECT_NEAR (MetalShaper::diodeRatio (1.0, 0.0), 1.0 / (std::exp (1.0) - 1.0), 1e-15);
    EXPECT_NEAR (MetalShaper::diodeRatio (-2.0, 1e-20), -2.0 / (std::exp (-2.0) - 1.0), 1e-15);
    EXPECT_TRUE (std::isfinite (MetalShaper::diodeRatio (1000.0, 0.0)));
    EXPECT_TRUE (std::isfinite (MetalShaper::diodeRatio (-1000.0, 0.0)));

    // A silent metal input with no drive level used to give 0/0 * 0.
    MetalShaper shaper;
    shaper.highPass.setHighPass (1.3, 0.5);
    for (int i = 0; i < 100; ++i)
    {
        shaper.process<true> (1e-20, 0.0, 0.5, -0.002, 15.0, 4.0);
        ASSERT_TRUE (std::isfinite (shaper.clipped));
        shaper.process<false> (0.0, 0.0, 0.5, -0.002, 15.0, 4.0);
        ASSERT_TRUE (std::isfinite (shaper.clipped));
    }
}

TEST (Cymbal, DecayMapping)
{
    PulsaretCymbal cymbal;
    cymbal.setSampleRate (44100.0);
    cymbal.setDecay (0.0);
    EXPECT_NEAR (cymbal.getDecayFactor(), 8.0, 1e-8);
    const double fast = cymbal.getReleaseCoefficientA();
    cymbal.setDecay (1.0);
    EXPECT_EQ (cymbal.getDecayFactor(), 1.0);
    EXPECT_NEAR (fast / cymbal.getReleaseCoefficientA(), 8.0, 1e-8);
    EXPECT_NEAR (cymbal.getReleaseCoefficientA(), 0.001, 1e-15);

    const auto shortCymbal = SignalMeasure::decayLength (strikeCymbal (1.0f, 0.0f), 0.01);
    const auto longCymbal = SignalMeasure::decayLength (strikeCymbal (1.0f, 1.0f), 0.01);
    EXPECT_GT (longCymbal, 3 * shortCymbal);
    EXPECT_GT (longCymbal, 44100u / 2);
}

TEST (Cymbal, ToneBrightensLevelScalesVelocityZeroIsSilent)
{
    const auto dark = strikeCymbal (0.0f, 1.0f);
    const auto bright = strikeCymbal (1.0f, 1.0f);
    EXPECT_GT (brightness (bright, 0, 22050), 1.5 * brightness (dark, 0, 22050));
    EXPECT_GT (SignalMeasure::peak (dark), 0.02);

    const auto half = strikeCymbal (1.0f, 1.0f, 0.5f);
    const auto full = strikeCymbal (1.0f, 1.0f, 1.0f);
    EXPECT_NEAR (SignalMeasure::peak (full) / SignalMeasure::peak (half), 2.0, 1e-6);
    EXPECT_LT (SignalMeasure::peak (half), 3.0);
    EXPECT_EQ (SignalMeasure::peak (strikeCymbal (1.0f, 1.0f, 0.5f, 0.0f)), 0.0);

    // The cymbal's ring lasts alike at every rate.
    const auto at44 = SignalMeasure::decayLength (strikeCymbal (1.0f, 1.0f), 0.01);
    const auto at96 = SignalMeasure::decayLength (strikeCymbal (1.0f, 1.0f, 0.5f, 1.0f, 96000.0f), 0.01);
    EXPECT_NEAR ((double) at96 / 96000.0, (double) at44 / 44100.0, 0.35 * (double) at44 / 44100.0);
}
