#include "drummachine/BlockRenderer.h"

#include <gtest/gtest.h>

namespace
{
/** Voice i gives (i + 1) / 8 at every sample, each sample's value scaled by its count from 1. */
class CountingCore : public DrumMachineCore
{
public:
    void renderSample (double* out) override
    {
        ++rendered;

        for (int i = 0; i < numInstruments; ++i)
            out[i] = (i + 1) / 8.0 * rendered;
    }

    int rendered = 0;
};

struct Rig
{
    Rig()
    {
        for (auto& output : outputs)
            output.store (1);
    }

    BlockRenderer::OutputNumbers outputs;
    std::atomic<int> triggerOutput{8};
    BlockRenderer renderer{outputs, triggerOutput};
    CountingCore core;
};

/** The outputs' first sample as eighths, channel by channel. */
std::vector<int> eighthsAtFirstSample (const juce::AudioBuffer<float>& buffer)
{
    std::vector<int> values;

    for (int c = 0; c < buffer.getNumChannels(); ++c)
        values.push_back ((int) (buffer.getSample (c, 0) * 8.0f));

    return values;
}
} // namespace

TEST (BlockRenderer, VoicesSumIntoTheirOutputsInMonoAndStereo)
{
    Rig rig;
    const int routing[] = {1, 3, 3, 8, 0, 9, 2}; // voice 5 beyond the outputs, voice 4 nowhere

    for (int i = 0; i < 7; ++i)
        rig.outputs[(size_t) i].store (routing[i]);

    juce::AudioBuffer<float> stereo (16, 4);
    stereo.clear();
    rig.renderer.beginBlock (stereo, 16, false, &rig.core);
    rig.renderer.takeSample();
    rig.renderer.renderPending();
    EXPECT_EQ (eighthsAtFirstSample (stereo), (std::vector<int>{1, 1, 7, 7, 5, 5, 0, 0, 0, 0, 0, 0, 0, 0, 4, 4}));

    // Mono: one channel an output; channels beyond those in use stay silent.
    juce::AudioBuffer<float> mono (9, 4);
    mono.clear();
    rig.renderer.beginBlock (mono, 8, true, &rig.core);
    rig.renderer.takeSample();
    rig.renderer.renderPending();
    EXPECT_EQ (eighthsAtFirstSample (mono), (std::vector<int>{2, 14, 10, 0, 0, 0, 0, 8, 0}));
}

TEST (BlockRenderer, SamplesAreRenderedOnceEachInOrderOnlyWhenAsked)
{
    Rig rig;
    juce::AudioBuffer<float> buffer (2, 5);
    buffer.setSample (0, 4, 99.0f); // whatever the host left is cleared

    rig.renderer.beginBlock (buffer, 2, false, &rig.core);
    rig.renderer.takeSample();
    rig.renderer.takeSample();
    EXPECT_EQ (rig.core.rendered, 0);
    rig.renderer.renderPending();
    rig.renderer.renderPending();
    rig.renderer.takeSample();
    rig.renderer.renderPending();
    EXPECT_EQ (rig.core.rendered, 3);
    EXPECT_EQ (rig.renderer.getSamplesRendered(), 3);

    // All seven voices on output 1: 28 eighths, times the sample's count.
    for (int n = 0; n < 5; ++n)
        EXPECT_EQ (buffer.getSample (1, n), n < 3 ? 3.5f * (float) (n + 1) : 0.0f) << n;

    // Without an engine the block is silent but its samples still count.
    rig.renderer.beginBlock (buffer, 2, false, nullptr);
    rig.renderer.takeSample();
    rig.renderer.renderPending();
    EXPECT_EQ (rig.renderer.getSamplesRendered(), 1);
    EXPECT_EQ (buffer.getMagnitude (0, 5), 0.0f);
}
