#include "SignalMeasure.h"

#include "DefaultCore.h"
#include "engine/PulsaretHiHats.h"

#include <gtest/gtest.h>

namespace
{
struct HatRun
{
    float rate = 44100.0f;
    bool linked = true;
    float closedDecay = 0.5f;
    float openDecay = 0.5f;
    int closedAfter = -1; // samples after the open hat, or -1 for none
    bool open = true;
    double seconds = 2.0;
};

std::vector<double> play (const HatRun& run, int slot)
{
    auto core = DefaultCore::make (run.rate);
    core->setParameter (SoundParameter::hiHatsLinkMode, run.linked ? 1.0f : 0.0f);
    core->setParameter (SoundParameter::closedHiHatDecay, run.closedDecay);
    core->setParameter (SoundParameter::openHiHatDecay, run.openDecay);
    DefaultCore::settle (*core);
    std::vector<double> x;
    double out[DrumMachineCore::numInstruments];
    const int total = (int) (run.rate * run.seconds);
    for (int n = 0; n < total; ++n)
    {
        if (n == 0 && run.open)
            core->triggerInstrument (5, 1.0f);
        if (n == run.closedAfter)
            core->triggerInstrument (6, 1.0f);
        core->renderSample (out);
        x.push_back (out[slot]);
    }
    return x;
}
} // namespace

TEST (HiHats, ClosedIsShortOpenIsLongAndTheClosedChokesTheOpen)
{
    HatRun open;
    const auto openLength = SignalMeasure::decayLength (play (open, 5), 0.01);

    HatRun closed;
    closed.open = false;
    closed.closedAfter = 0;
    const auto closedLength = SignalMeasure::decayLength (play (closed, 5), 0.01);
    EXPECT_GT (openLength, 3 * closedLength);
    EXPECT_GT (closedLength, 441u);

    HatRun choked;
    choked.closedAfter = 2205;
    const auto chokedSignal = play (choked, 5);
    EXPECT_LT (SignalMeasure::rms (chokedSignal, 2205 + 8820, 2205 + 17640),
               0.3 * SignalMeasure::rms (play (open, 5), 2205 + 8820, 2205 + 17640));
}

TEST (HiHats, ClosedDecayAndItsRateIndependence)
{
    HatRun shortest;
    shortest.open = false;
    shortest.closedAfter = 0;
    shortest.closedDecay = 0.0f;
    HatRun longest = shortest;
    longest.closedDecay = 1.0f;
    const auto a = SignalMeasure::decayLength (play (shortest, 5), 0.01);
    const auto b = SignalMeasure::decayLength (play (longest, 5), 0.01);
    EXPECT_LT (a, b);

    // K is applied once: the coefficient itself does not depend on the rate...
    PulsaretHiHats hats;
    hats.setSampleRate (96000.0);
    hats.setClosedDecay (0.5);
    const double at96 = hats.getClosedDecayCoefficient();
    hats.setSampleRate (44100.0);
    hats.setClosedDecay (0.5);
    EXPECT_EQ (hats.getClosedDecayCoefficient(), at96);
    EXPECT_NEAR (at96, std::exp (-7.055233629887017 - 2.77258872223978 * 0.5) * 4.635632780977655, 1e-18);

    // ...and the closed hat lasts about as long in seconds at 44.1 and 96 kHz.
    HatRun fast = longest;
    fast.rate = 96000.0f;
    const double seconds44 = (double) b / 44100.0;
    const double seconds96 = (double) SignalMeasure::decayLength (play (fast, 5), 0.01) / 96000.0;
    EXPECT_NEAR (seconds96, seconds44, 0.3 * seconds44);
}

TEST (HiHats, UnlinkedHatsUseTheirOwnSlotsAndLevels)
{
    HatRun run;
    run.linked = false;
    run.closedAfter = 4410;
    const auto open = play (run, 5);
    const auto closed = play (run, 6);
    EXPECT_GT (SignalMeasure::peak (open, 0, 4410), 0.05);
    EXPECT_LT (SignalMeasure::peak (closed, 0, 4410), 1e-12);
    EXPECT_GT (SignalMeasure::peak (closed, 4410, 8820), 0.05);
    EXPECT_TRUE (SignalMeasure::allFinite (open));
    EXPECT_TRUE (SignalMeasure::allFinite (closed));
}

TEST (HiHats, ChargeFollowsThePulseAndIsLimited)
{
    PulsaretHiHats hats;
    hats.setSampleRate (44100.0);
    hats.triggerOpen (1.0);
    EXPECT_EQ (hats.getCharge(), 0.0);
    EXPECT_NEAR (hats.getOpenReleaseCoefficient(), 0.03, 1e-15);
    for (int i = 0; i < 100000; ++i)
        hats.chargeOpen (90.0);
    EXPECT_EQ (hats.getCharge(), 1.0);
    // A full charge sets r = (0.5 * 0.001 + 2e-05) * K.
    EXPECT_NEAR (hats.getOpenReleaseCoefficient(), 0.00052, 1e-12);
    hats.triggerOpen (0.0);
    EXPECT_EQ (hats.getCharge(), 1.0);
}
