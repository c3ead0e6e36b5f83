#include "engine/DrumMachineCore.h"
#include "engine/PulsaretCore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
std::vector<double> renderPulse (DrumMachineCore& core, int numSamples)
{
    std::vector<double> x ((size_t) numSamples);
    for (auto& s : x)
        s = core.renderTriggerOut();
    return x;
}

size_t indexOfMaximum (const std::vector<double>& x, size_t from, size_t to)
{
    size_t best = from;
    for (size_t i = from; i < to; ++i)
        if (x[i] > x[best])
            best = i;
    return best;
}

size_t indexOfMinimum (const std::vector<double>& x, size_t from, size_t to)
{
    size_t best = from;
    for (size_t i = from; i < to; ++i)
        if (x[i] < x[best])
            best = i;
    return best;
}
} // namespace

TEST (TriggerOut, GeneratorConstantsAtCommonRates)
{
    DrumMachineCore core;
    EXPECT_NEAR (core.getTriggerOutPeriod(), 40090.90909090909, 1e-8);
    EXPECT_EQ (core.getTriggerOutHarmonics(), 40091.0);
    EXPECT_EQ (core.getTriggerOutWidth(), 39369.0);

    core.setSampleRate (48000.0f);
    EXPECT_NEAR (core.getTriggerOutPeriod(), 43636.36363636363, 1e-8);
    EXPECT_EQ (core.getTriggerOutHarmonics(), 43637.0);
    EXPECT_EQ (core.getTriggerOutWidth(), 42850.0);
}

TEST (TriggerOut, PulseFollowsOnlyTheChosenInstrument)
{
    PulsaretCore core;
    core.setSampleRate (44100.0f);

    // Off: no trigger starts it.
    core.setTriggerOutInstrument (1);
    core.triggerInstrument (1, 1.0f);
    auto x = renderPulse (core, 4000);
    for (double s : x)
        ASSERT_LT (std::abs (s), 1e-15); // only the 1e-20 denormal guard

    core.setTriggerOutEnabled (true);
    core.triggerInstrument (0, 1.0f);
    x = renderPulse (core, 4000);
    for (double s : x)
        ASSERT_LT (std::abs (s), 1e-15); // only the 1e-20 denormal guard

    // The chosen one: a positive edge about 60 samples after the strike, the negative
    // edge P - W (722 samples, 16.4 ms) later, both band-limited.
    core.triggerInstrument (1, 0.0f); // the velocity does not matter
    x = renderPulse (core, 44100);
    const auto rise = indexOfMaximum (x, 0, 400);
    const auto fall = indexOfMinimum (x, 400, 2000);
    EXPECT_NEAR ((double) rise, 61.0, 3.0);
    EXPECT_NEAR ((double) (fall - rise), 722.0, 4.0);
    EXPECT_GT (x[rise], 0.2);
    EXPECT_LT (x[fall], -0.2);
    for (double s : x)
        ASSERT_TRUE (std::isfinite (s));
    // Between the edges the leaky integrator holds the level positive.
    EXPECT_GT (x[rise + 350], 0.1 * x[rise]);

    // The accent track can be the trigger instrument as well.
    core.setTriggerOutInstrument (7);
    core.triggerInstrument (7, 1.0f);
    x = renderPulse (core, 400);
    EXPECT_GT (x[indexOfMaximum (x, 0, 400)], 0.2);
}

TEST (TriggerOut, RestartsGoesIdleAndResetsOnRequest)
{
    DrumMachineCore core;
    core.setTriggerOutEnabled (true);
    core.setTriggerOutInstrument (2);

    core.triggerInstrument (2, 1.0f);
    const auto first = renderPulse (core, 300);
    core.triggerInstrument (2, 1.0f);
    const auto second = renderPulse (core, 300);
    // A restart begins again from -60.1; the leftover integrator only offsets it.
    EXPECT_NEAR ((double) indexOfMaximum (second, 0, 300), (double) indexOfMaximum (first, 0, 300), 2.0);

    // Idle after P/2 samples: the output decays towards 0 and stays finite.
    auto tail = renderPulse (core, 44100 * 6);
    EXPECT_LT (std::abs (tail.back()), 1e-3);

    core.triggerInstrument (2, 1.0f);
    renderPulse (core, 100);
    core.updateTriggerOut();
    tail = renderPulse (core, 10);
    for (double s : tail)
        EXPECT_LT (std::abs (s), 1e-15);

    double out[DrumMachineCore::numInstruments] = {1, 1, 1, 1, 1, 1, 1};
    core.renderSample (out);
    for (double s : out)
        EXPECT_EQ (s, 0.0);
}
