#include "DefaultCore.h"
#include "SignalMeasure.h"

#include "engine/PulsaretBassDrum.h"
#include "engine/PulsaretCore.h"
#include "engine/PulsaretCymbal.h"
#include "engine/PulsaretHiHats.h"
#include "engine/PulsaretHiTom.h"
#include "engine/PulsaretLowTom.h"
#include "engine/PulsaretSnareDrum.h"

#include <gtest/gtest.h>

#include <limits>

#include <atomic>
#include <cmath>
#include <thread>
#include <utility>

namespace
{
constexpr int numSlots = DrumMachineCore::numInstruments;

std::vector<std::array<double, numSlots>> renderAll (PulsaretCore& core, int numSamples)
{
    std::vector<std::array<double, numSlots>> frames ((size_t) numSamples);
    for (auto& f : frames)
        core.renderSample (f.data());
    return frames;
}

double slotPeak (const std::vector<std::array<double, numSlots>>& frames, int slot)
{
    double p = 0.0;
    for (const auto& f : frames)
        p = std::max (p, std::abs (f[(size_t) slot]));
    return p;
}
} // namespace

TEST (PulsaretCore, OscillatorPhasesFollowTheSampleBySampleCountAtAnyRate)
{
    // The phases step a run at a time; they must equal the count that adds 1 a sample and
    // subtracts the period past it, rounding included. Among the rates: periods just under a
    // power of two (63.52 at 44.1 kHz, about 127 at 50262 Hz, 127.5 at 88514 Hz), where adding
    // 1 rounds.
    const float rates[] = {22050.0f, 44100.0f, 48000.0f, 50262.0f, 88514.0f, 96000.0f, 100921.0f, 192000.0f, 31337.5f, 176399.0f};
    for (const float rate : rates)
    {
        SCOPED_TRACE (rate);
        auto core = DefaultCore::make (rate);
        constexpr int blocks = 700;
        renderAll (*core, blocks * PulsaretCore::blockLength);
        for (int i = 0; i < 6; ++i)
        {
            const double period = core->getOscillatorPeriod (i);
            double phase = 0.0;
            for (int n = 0; n < blocks * PulsaretCore::blockLength; ++n)
                phase = (phase + 1.0) - (phase > period ? period : 0.0);
            EXPECT_EQ (core->getOscillatorPhase (i), phase) << "oscillator " << i;
        }
    }
}

TEST (PulsaretCore, OscillatorsFiltersAndNoiseAgainstHandComputedTables)
{
    struct Table
    {
        float rate;
        double periods[6];
        double thresholds[6];
        double highB0, highA1, highA2, lowB0, lowA1, lowA2, noise;
        int reload;
    };

    const Table tables[] = {
        {44100.0f, {111.4284, 48.7508, 31.7769, 85.394, 66.9602, 63.5236}, {53, 24, 17, 40, 33, 31}, 0.09593822881060167, -0.9555364698386535, 0.8081235423787966, 0.0884016858976112, -1.5945407295341436, 0.8231966282047777, 0.7520505664966127, 500},
        {48000.0f, {121.2826, 53.0621, 34.5871, 92.9458, 72.8819, 69.1414}, {58, 26, 18, 44, 36, 34}, 0.09117587998193055, -1.0843000531881133, 0.8176482400361388, 0.08231627017560741, -1.6404197262820501, 0.8353674596487852, 0.7696654124932398, 544},
    };

    for (const auto& t : tables)
    {
        SCOPED_TRACE (t.rate);
        auto core = DefaultCore::make (t.rate);
        for (int i = 0; i < 6; ++i)
        {
            EXPECT_NEAR (core->getOscillatorPeriod (i), t.periods[i], 1e-4);
            EXPECT_EQ (core->getOscillatorThreshold (i), t.thresholds[i]);
        }
        const auto& high = core->getMetalHighFilter();
        EXPECT_NEAR (high.b0, t.highB0, 1e-15);
        EXPECT_EQ (high.b1, 0.0);
        EXPECT_NEAR (high.b2, -t.highB0, 1e-15);
        EXPECT_NEAR (high.a1, t.highA1, 1e-15);
        EXPECT_NEAR (high.a2, t.highA2, 1e-15);
        const auto& low = core->getMetalLowFilter();
        EXPECT_NEAR (low.b0, t.lowB0, 1e-15);
        EXPECT_NEAR (low.a1, t.lowA1, 1e-15);
        EXPECT_NEAR (low.a2, t.lowA2, 1e-15);
        EXPECT_NEAR (core->getNoiseCoefficient(), t.noise, 1e-15);
        EXPECT_EQ (core->getOpenHatReloadLength(), t.reload);
    }
}

TEST (PulsaretCore, ParameterMappingsAndIgnoredIndices)
{
    auto core = DefaultCore::make();
    DefaultCore::settle (*core, 1);
    EXPECT_TRUE (core->areTomsLinked());
    EXPECT_TRUE (core->areHiHatsLinked());
    EXPECT_EQ (core->getMainVolumeTarget(), 2.0);

    core->setParameter (SoundParameter::tomsLinkMode, 0.49f);
    core->setParameter (SoundParameter::hiHatsLinkMode, 0.5f);
    core->setParameter (SoundParameter::mainVolume, 0.3f);
    core->setParameter (SoundParameter::openHiHatDecay, 1.0f);
    DefaultCore::settle (*core, 1);
    EXPECT_FALSE (core->areTomsLinked());
    EXPECT_TRUE (core->areHiHatsLinked());
    EXPECT_EQ (core->getMainVolumeTarget(), (double) (0.3f * 4.0f));
    EXPECT_EQ (core->getOpenHatReloadLength(), 1000);

    // Index 7, indices outside 0..24 and values that are not numbers change nothing that sounds.
    auto a = DefaultCore::make();
    auto b = DefaultCore::make();
    b->setParameter (7, 0.0f);
    b->setParameter (25, 1.0f);
    b->setParameter (-1, 1.0f);
    b->setParameter (3000, 1.0f);
    for (int i = 0; i < PulsaretCore::numSoundParameters; ++i)
        for (float v : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()})
            b->setParameter (i, v);
    for (auto* c : {a.get(), b.get()})
    {
        for (int i = 0; i < numSlots; ++i)
            c->triggerInstrument (i, 1.0f);
        c->triggerInstrument (-1, 1.0f);
        c->triggerInstrument (7, 1.0f);
        c->triggerInstrument (100, 1.0f);
    }
    EXPECT_EQ (renderAll (*a, 20000), renderAll (*b, 20000));
}

TEST (PulsaretCore, VelocityZeroAndUnknownInstrumentsStrikeNothing)
{
    auto core = DefaultCore::make();
    DefaultCore::settle (*core);
    for (int i = 0; i < numSlots; ++i)
        core->triggerInstrument (i, 0.0f);
    core->triggerInstrument (7, 1.0f);
    core->triggerInstrument (-3, 1.0f);
    const auto frames = renderAll (*core, 20000);
    for (int slot = 0; slot < numSlots; ++slot)
        EXPECT_LT (slotPeak (frames, slot), 1e-12) << slot;
}

TEST (PulsaretCore, LinkedTomsAndHatsShareTheLowerSlot)
{
    // Defaults: both links on. Hi tom and closed hat sound in slots 2 and 5; 3 and 6 stay 0.
    auto core = DefaultCore::make();
    DefaultCore::settle (*core);
    core->triggerInstrument (3, 1.0f);
    core->triggerInstrument (6, 1.0f);
    auto frames = renderAll (*core, 20000);
    EXPECT_GT (slotPeak (frames, 2), 0.05);
    EXPECT_GT (slotPeak (frames, 5), 0.05);
    for (const auto& f : frames)
    {
        ASSERT_EQ (f[3], 0.0);
        ASSERT_EQ (f[6], 0.0);
    }

    // Linked, "Low Tom Level" rules the hi tom too, and "Closed Hi Hat Level" does nothing.
    auto linked = DefaultCore::make();
    linked->setParameter (SoundParameter::lowTomLevel, 0.0f);
    linked->setParameter (SoundParameter::hiTomLevel, 1.0f);
    linked->setParameter (SoundParameter::closedHiHatLevel, 0.0f);
    DefaultCore::settle (*linked);
    linked->triggerInstrument (3, 1.0f);
    linked->triggerInstrument (6, 1.0f);
    frames = renderAll (*linked, 20000);
    EXPECT_LT (slotPeak (frames, 2), 1e-9);
    EXPECT_GT (slotPeak (frames, 5), 0.05);

    // Unlinked, each sounds in its own slot at its own level.
    auto unlinked = DefaultCore::make();
    unlinked->setParameter (SoundParameter::tomsLinkMode, 0.0f);
    unlinked->setParameter (SoundParameter::hiHatsLinkMode, 0.0f);
    unlinked->setParameter (SoundParameter::lowTomLevel, 0.0f);
    unlinked->setParameter (SoundParameter::hiTomLevel, 1.0f);
    DefaultCore::settle (*unlinked);
    unlinked->triggerInstrument (3, 1.0f);
    unlinked->triggerInstrument (6, 1.0f);
    frames = renderAll (*unlinked, 20000);
    EXPECT_LT (slotPeak (frames, 2), 1e-9);
    EXPECT_GT (slotPeak (frames, 3), 0.1);
    EXPECT_LT (slotPeak (frames, 5), 1e-9);
    EXPECT_GT (slotPeak (frames, 6), 0.05);

    // Linked toms sound as the sum of both voices.
    auto both = DefaultCore::make();
    DefaultCore::settle (*both);
    both->triggerInstrument (2, 1.0f);
    both->triggerInstrument (3, 1.0f);
    auto low = DefaultCore::make();
    DefaultCore::settle (*low);
    low->triggerInstrument (2, 1.0f);
    const auto sum = renderAll (*both, 5000);
    const auto lowOnly = renderAll (*low, 5000);
    double difference = 0.0;
    for (size_t i = 0; i < sum.size(); ++i)
        difference = std::max (difference, std::abs (sum[i][2] - lowOnly[i][2]));
    EXPECT_GT (difference, 0.05);
}

TEST (PulsaretCore, MainVolumeScalesEveryInstrument)
{
    auto loud = DefaultCore::make();
    auto quiet = DefaultCore::make();
    quiet->setParameter (SoundParameter::mainVolume, 0.25f);
    DefaultCore::settle (*loud, 60000);
    DefaultCore::settle (*quiet, 60000);
    EXPECT_NEAR (loud->getMainVolume(), 2.0, 1e-9);
    EXPECT_NEAR (quiet->getMainVolume(), 1.0, 1e-9);

    for (auto* c : {loud.get(), quiet.get()})
        for (int i = 0; i < numSlots; ++i)
            c->triggerInstrument (i, 1.0f);
    const auto a = renderAll (*loud, 10000);
    const auto b = renderAll (*quiet, 10000);
    for (int slot : {0, 1, 2, 4, 5})
        EXPECT_NEAR (slotPeak (a, slot) / slotPeak (b, slot), 2.0, 1e-6) << slot;

    auto silent = DefaultCore::make();
    silent->setParameter (SoundParameter::mainVolume, 0.0f);
    DefaultCore::settle (*silent, 100000);
    for (int i = 0; i < numSlots; ++i)
        silent->triggerInstrument (i, 1.0f);
    const auto s = renderAll (*silent, 10000);
    for (int slot = 0; slot < numSlots; ++slot)
        EXPECT_LT (slotPeak (s, slot), 1e-6);
}

TEST (PulsaretCore, RenderingIsDeterministicAcrossInstancesAndRateChanges)
{
    auto play = [] (PulsaretCore& core)
    {
        std::vector<std::array<double, numSlots>> frames;
        for (int bar = 0; bar < 8; ++bar)
        {
            for (int i = 0; i < numSlots; ++i)
                if ((bar + i) % 3 != 0)
                    core.triggerInstrument (i, bar % 2 == 0 ? 0.755f : 1.0665f);
            const auto part = renderAll (core, 3000);
            frames.insert (frames.end(), part.begin(), part.end());
        }
        return frames;
    };

    auto a = DefaultCore::make (48000.0f);
    auto b = DefaultCore::make (48000.0f);
    const auto first = play (*a);
    EXPECT_EQ (first, play (*b));

    // A rate change restarts noise and oscillators; the same rate again repeats the render
    // exactly once the levels are where they were.
    a->setSampleRate (96000.0f);
    a->setSampleRate (48000.0f);
    b->setSampleRate (96000.0f);
    b->setSampleRate (48000.0f);
    EXPECT_EQ (play (*a), play (*b));
}

TEST (PulsaretCore, RateChangeSilencesEveryVoice)
{
    auto core = DefaultCore::make();
    DefaultCore::settle (*core);
    for (int i = 0; i < numSlots; ++i)
        core->triggerInstrument (i, 1.0f);
    renderAll (*core, 100);
    core->setSampleRate (48000.0f);
    EXPECT_FALSE (core->getHiHats().isActive());
    EXPECT_FALSE (core->getHiTom().isActive());
    const auto frames = renderAll (*core, 30000);
    // Only the bass drum's DC blocker and the smoothers run out; nothing new sounds.
    for (int slot = 1; slot < numSlots; ++slot)
        EXPECT_LT (slotPeak (frames, slot), 1e-9) << slot;
}

TEST (PulsaretCore, RateChangeDuringTheHatGatesLeavesNoGateOpen)
{
    auto core = DefaultCore::make();
    DefaultCore::settle (*core);
    core->triggerInstrument (5, 1.0f);
    core->triggerInstrument (6, 1.0f);
    renderAll (*core, 10); // both gates still open
    core->setSampleRate (48000.0f);

    // A later closed hat must die away instead of reopening a stuck open gate.
    core->triggerInstrument (6, 1.0f);
    const auto frames = renderAll (*core, 48000 * 4);
    const std::vector<std::array<double, numSlots>> tail (frames.end() - 4800, frames.end());
    EXPECT_LT (slotPeak (tail, 5), 1e-4);
    EXPECT_FALSE (core->getHiHats().isActive());
}

TEST (PulsaretCore, OpenHatDecayLengthensTheOpenHat)
{
    auto lengthFor = [] (float decay)
    {
        auto core = DefaultCore::make();
        core->setParameter (SoundParameter::openHiHatDecay, decay);
        DefaultCore::settle (*core);
        core->triggerInstrument (5, 1.0f);
        return SignalMeasure::decayLength (DefaultCore::renderSlot (*core, 5, 44100 * 3), 0.01);
    };
    const auto shortest = lengthFor (0.0f);
    const auto middle = lengthFor (0.5f);
    const auto longest = lengthFor (1.0f);
    EXPECT_LT (shortest, middle);
    EXPECT_LT (middle, longest);
    EXPECT_GT (longest, 44100u / 4);
}

TEST (PulsaretCore, EveryParameterAtItsExtremesStaysFiniteAndBoundedAtEveryRate)
{
    for (float rate : {22050.0f, 44100.0f, 48000.0f, 96000.0f, 192000.0f})
    {
        for (int parameter = 0; parameter < PulsaretCore::numSoundParameters; ++parameter)
        {
            for (float value : {0.0f, 1.0f})
            {
                SCOPED_TRACE (testing::Message() << rate << " Hz, parameter " << parameter << " = " << value);
                auto core = DefaultCore::make (rate);
                core->setParameter (parameter, value);
                // Loudest case besides: main volume and levels at full.
                if (parameter != 24)
                    core->setParameter (SoundParameter::mainVolume, 1.0f);
                DefaultCore::settle (*core, (int) rate / 10);
                for (int i = 0; i < numSlots; ++i)
                    core->triggerInstrument (i, 1.378f);

                double peak = 0.0;
                bool finite = true;
                double out[numSlots];
                for (int n = 0; n < (int) rate / 2; ++n)
                {
                    if (n == (int) rate / 8)
                        for (int i = 0; i < numSlots; ++i)
                            core->triggerInstrument (i, 0.378f);
                    core->renderSample (out);
                    for (double s : out)
                    {
                        finite = finite && std::isfinite (s);
                        peak = std::max (peak, std::abs (s));
                    }
                }
                ASSERT_TRUE (finite);
                EXPECT_LT (peak, 8.0);
            }
        }
    }
}

TEST (PulsaretCore, AllParametersTogetherAndVeryLowRatesStayStable)
{
    for (float rate : {8000.0f, 11025.0f, 22050.0f, 192000.0f})
    {
        for (float value : {0.0f, 1.0f})
        {
            SCOPED_TRACE (testing::Message() << rate << " Hz, every parameter " << value);
            PulsaretCore core;
            for (int i = 0; i < PulsaretCore::numSoundParameters; ++i)
                core.setParameter (i, value);
            core.setParameter (SoundParameter::mainVolume, 1.0f);
            core.setSampleRate (rate);
            for (int i = 0; i < numSlots; ++i)
                core.triggerInstrument (i, 1.378f);
            const auto frames = renderAll (core, (int) rate * 2);
            for (int slot = 0; slot < numSlots; ++slot)
            {
                double p = 0.0;
                for (const auto& f : frames)
                {
                    ASSERT_TRUE (std::isfinite (f[(size_t) slot])) << slot;
                    p = std::max (p, std::abs (f[(size_t) slot]));
                }
                EXPECT_LT (p, 8.0) << slot;
            }
        }
    }
}

TEST (PulsaretCore, ParameterChangesFromAnotherThreadKeepTheRenderSound)
{
    auto core = DefaultCore::make();
    std::atomic<bool> stop{false};
    std::thread writer ([&]
                        {
                            // Unsigned: a fast writer passes 2^31 / 37 turns, where a signed product would go negative.
                            for (unsigned int n = 0; ! stop.load(); ++n)
                                core->setParameter ((int) (n % PulsaretCore::numSoundParameters), (float) ((n * 37u) % 101u) / 100.0f); });

    bool finite = true;
    double largest = 0.0;
    double out[numSlots];
    for (int n = 0; n < 200000; ++n)
    {
        if (n % 2205 == 0)
            for (int i = 0; i < numSlots; ++i)
                core->triggerInstrument (i, 1.0f);
        core->renderSample (out);
        for (double s : out)
        {
            finite = finite && std::isfinite (s);
            largest = std::max (largest, std::abs (s));
        }
    }
    stop.store (true);
    writer.join();
    EXPECT_TRUE (finite);
    EXPECT_LT (largest, 16.0);
}

TEST (PulsaretCore, EachParameterReachesItsVoice)
{
    auto core = DefaultCore::make();
    const std::pair<int, float> settings[] = {{9, 0.0f}, {11, 1.0f}, {12, 0.0f}, {14, 0.0f}, {15, 1.0f}, {16, 1.0f}, {17, 0.0f}, {19, 0.0f}, {21, 1.0f}};
    for (const auto& [index, value] : settings)
        core->setParameter (index, value);
    DefaultCore::settle (*core, 1);

    EXPECT_NEAR (core->getBassDrum().getAttackGainTarget(), 4.0, 1e-9);
    EXPECT_NEAR (core->getSnareDrum().getTuneTerm(), 70.32, 0.01);
    EXPECT_NEAR (core->getSnareDrum().getToneTerm(), 0.007, 1e-9);
    EXPECT_NEAR (core->getLowTom().getTuneMultiplier(), 0.75, 1e-6);
    EXPECT_NEAR (core->getLowTom().getDamping(), 0.01, 1e-9);
    EXPECT_NEAR (core->getHiTom().getTuneMultiplier(), 4.0 / 3.0, 1e-4);
    EXPECT_NEAR (core->getHiTom().getDamping(), 0.25, 1e-9);
    EXPECT_NEAR (core->getCymbal().getDecayFactor(), 8.0, 1e-8);
    EXPECT_NEAR (core->getHiHats().getClosedDecayCoefficient(), std::exp (-7.055233629887017 - 2.77258872223978) * 4.635632780977655, 1e-18);
}

TEST (PulsaretCore, FirstHitAfterARateChangeIsNotFadedIn)
{
    // A hit on the first sample after the host starts audio is as loud as one struck later. With
    // the default links, slots 3 and 6 stay silent (the hi tom and closed hat sound in 2 and 5).
    for (int slot : {0, 1, 2, 4, 5})
    {
        SCOPED_TRACE (slot);
        auto fresh = DefaultCore::make (48000.0f);
        fresh->triggerInstrument (slot, 1.0f);
        const auto first = DefaultCore::renderSlot (*fresh, slot, 2400);

        auto settled = DefaultCore::make (48000.0f);
        DefaultCore::settle (*settled);
        settled->triggerInstrument (slot, 1.0f);
        const auto later = DefaultCore::renderSlot (*settled, slot, 2400);

        EXPECT_NEAR (SignalMeasure::rms (first) / SignalMeasure::rms (later), 1.0, 0.05);
    }
}

TEST (PulsaretCore, LookingAtTheVoicesBetweenSamplesChangesNothingHeard)
{
    // The engine renders ahead and, when a voice is looked at or struck, brings it back to the
    // current sample. Looking at every voice after every sample makes it render sample by sample;
    // the two renders must agree to the bit, with strikes, link changes and parameter changes at
    // every place inside a block, and with quiet stretches between.
    struct Event
    {
        int sample, kind, index;
        float value;
    };
    std::vector<Event> events;
    uint32_t seed = 12345;
    const auto next = [&seed] (uint32_t range)
    {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % range;
    };
    for (int sample = 0; sample < 88200; sample += 1 + (int) next (sample < 60000 ? 700 : 8))
        events.push_back ({sample, (int) next (3), (int) next (25), (float) next (1000) / 900.0f});

    std::vector<double> heard[2];
    for (int lookEverySample = 0; lookEverySample < 2; ++lookEverySample)
    {
        auto core = DefaultCore::make (48000.0f);
        size_t e = 0;
        double out[numSlots];
        for (int n = 0; n < 96000; ++n)
        {
            for (; e < events.size() && events[e].sample == n; ++e)
            {
                const auto& ev = events[e];
                if (ev.kind == 0)
                    core->setParameter (ev.index, ev.index == 24 ? 0.5f : ev.value);
                else
                    core->triggerInstrument (ev.index % numSlots, ev.value);
            }
            core->renderSample (out);
            heard[lookEverySample].insert (heard[lookEverySample].end(), out, out + numSlots);

            if (lookEverySample == 1)
            {
                // Every getter brings its voice up to date.
                EXPECT_GE (core->getBassDrum().getPeak() + core->getSnareDrum().getPeak() + core->getLowTom().getPeak() + core->getHiTom().getPeak() + core->getCymbal().getPeak() + core->getHiHats().getCharge(),
                           0.0);
            }
        }
    }

    ASSERT_EQ (heard[0].size(), heard[1].size());
    size_t differing = 0;
    for (size_t i = 0; i < heard[0].size(); ++i)
        differing += heard[0][i] != heard[1][i] ? 1 : 0;
    EXPECT_EQ (differing, 0u);

    // The scenario sounds: every slot but the linked ones carries signal.
    for (int slot : {0, 1, 2, 4, 5})
    {
        double peak = 0.0;
        for (size_t i = (size_t) slot; i < heard[0].size(); i += numSlots)
            peak = std::max (peak, std::abs (heard[0][i]));
        EXPECT_GT (peak, 0.01) << "slot " << slot;
    }
}

TEST (PulsaretCore, SharedSignalsNobodyHeardSoundTheSameWhenAVoiceReturns)
{
    // The noise and metal filters rest while no voice reads them and catch up when one returns.
    // A snare and a cymbal struck after a long silence must sound as in a core where the toms
    // and the hi-hats kept those filters running all along, at the lowest and highest rates.
    for (const float rate : {22050.0f, 192000.0f})
    {
        std::vector<double> heard[2];
        for (int keepBusy = 0; keepBusy < 2; ++keepBusy)
        {
            auto core = DefaultCore::make (rate);
            core->setParameter (SoundParameter::tomsLinkMode, 0.0f); // toms and hats on their own slots
            core->setParameter (SoundParameter::hiHatsLinkMode, 0.0f);
            const int length = (int) rate * 6, strike = (int) rate * 5 + 7;
            const int busyEvery = (int) (rate * 0.02f);
            double out[numSlots];
            for (int n = 0; n < length; ++n)
            {
                if (keepBusy == 0 && n == strike)
                {
                    EXPECT_FALSE (core->getSnareDrum().isActive() || core->getCymbal().isActive()) << rate;
                }
                if (n == 0 || n == strike)
                {
                    core->triggerInstrument (1, 0.8f);
                    core->triggerInstrument (4, 0.8f);
                }
                if (keepBusy == 1 && n % busyEvery == 0)
                {
                    core->triggerInstrument (2, 1.0f);
                    core->triggerInstrument (6, 1.0f);
                }
                core->renderSample (out);
                if (n >= strike)
                {
                    heard[keepBusy].push_back (out[1]);
                    heard[keepBusy].push_back (out[4]);
                }
            }
        }

        ASSERT_EQ (heard[0].size(), heard[1].size());
        double worst = 0.0, loudest = 0.0;
        for (size_t i = 0; i < heard[0].size(); ++i)
        {
            worst = std::max (worst, std::abs (heard[0][i] - heard[1][i]));
            loudest = std::max (loudest, std::abs (heard[0][i]));
        }
        EXPECT_GT (loudest, 0.01) << rate;
        EXPECT_LT (worst, 1e-12) << rate;
    }
}
