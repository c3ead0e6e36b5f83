#include "DefaultCore.h"

#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

// Every voice struck alone, compared with renders stored from the engine as it was checked against its
// formulas, so that a changed constant anywhere in a voice shows. The softer strike runs with the toms and
// hats unlinked, the harder one linked, so both render paths are held. To store new references (only after a
// deliberate change of sound): PULSARET_WRITE_VOICE_REFERENCES=1 build/tests/engine_tests --gtest_filter=VoiceReferences.*
namespace
{
const juce::File referenceFile (PULSARET_SOURCE_DIR "/tests/engine/VoiceReferences.bin");

constexpr double rates[] = {44100.0, 96000.0};
constexpr float velocities[] = {0.55f, 1.0f};
constexpr int denseSamples = 256, sparseSamples = 768, samplesPerCase = denseSamples + sparseSamples;
constexpr double tolerance = 1.0e-5;

// The first samples one by one (attack, clicks, sweeps), then the rest of one second at an even stride.
std::vector<float> strike (double rate, int instrument, float velocity, bool linked)
{
    auto core = DefaultCore::make ((float) rate);
    core->setParameter (SoundParameter::tomsLinkMode, linked ? 1.0f : 0.0f);
    core->setParameter (SoundParameter::hiHatsLinkMode, linked ? 1.0f : 0.0f);
    DefaultCore::settle (*core);
    core->triggerInstrument (instrument, velocity);

    const int stride = ((int) rate - denseSamples) / sparseSamples;
    std::vector<float> kept;
    double out[DrumMachineCore::numInstruments];

    for (int i = 0; (int) kept.size() < samplesPerCase; ++i)
    {
        core->renderSample (out);
        double sum = 0.0;

        for (double o : out)
            sum += o;

        if (i < denseSamples || (i - denseSamples) % stride == 0)
            kept.push_back ((float) sum);
    }

    return kept;
}
} // namespace

TEST (VoiceReferences, EveryVoiceAtTwoVelocitiesAndTwoRatesMatchesItsStoredRender)
{
    std::vector<float> rendered;

    for (double rate : rates)
        for (int instrument = 0; instrument < DrumMachineCore::numInstruments; ++instrument)
            for (float velocity : velocities)
            {
                const auto kept = strike (rate, instrument, velocity, velocity == 1.0f);
                rendered.insert (rendered.end(), kept.begin(), kept.end());
            }

    if (std::getenv ("PULSARET_WRITE_VOICE_REFERENCES") != nullptr)
    {
        ASSERT_TRUE (referenceFile.replaceWithData (rendered.data(), rendered.size() * sizeof (float)));
        GTEST_SKIP() << "references written to " << referenceFile.getFullPathName();
    }

    juce::MemoryBlock stored;
    ASSERT_TRUE (referenceFile.loadFileAsData (stored));
    ASSERT_EQ (stored.getSize(), rendered.size() * sizeof (float));
    std::vector<float> reference (rendered.size());
    std::memcpy (reference.data(), stored.getData(), stored.getSize());

    size_t c = 0;

    for (double rate : rates)
        for (int instrument = 0; instrument < DrumMachineCore::numInstruments; ++instrument)
            for (float velocity : velocities)
            {
                double worst = 0.0, loudest = 0.0;
                int at = 0;

                for (int i = 0; i < samplesPerCase; ++i, ++c)
                {
                    const double difference = std::abs ((double) rendered[c] - (double) reference[c]);
                    loudest = std::max (loudest, (double) std::abs (reference[c]));

                    if (difference > worst)
                    {
                        worst = difference;
                        at = i;
                    }
                }

                EXPECT_LE (worst, tolerance) << "instrument " << instrument << " at " << rate << " Hz, velocity " << velocity
                                             << ": kept sample " << at;
                EXPECT_GT (loudest, 0.01) << "instrument " << instrument << " sounds";
            }
}
