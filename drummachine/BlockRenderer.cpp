#include "drummachine/BlockRenderer.h"

BlockRenderer::BlockRenderer (const OutputNumbers& outputNumbersToRead, const std::atomic<int>& triggerOutputToRead) noexcept
    : outputNumbers (outputNumbersToRead)
    , triggerOutput (triggerOutputToRead)
{
}

void BlockRenderer::beginBlock (juce::AudioBuffer<float>& outputs, int channelsInUse, bool monoOutputs, DrumMachineCore* coreToRender) noexcept
{
    const int numSamples = outputs.getNumSamples();
    numChannels = juce::jmin (outputs.getNumChannels(), channelsInUse, (int) maxChannels);
    mono = monoOutputs;
    numOutputs = mono ? numChannels : numChannels / 2;
    core = coreToRender;

    for (int c = 0; c < outputs.getNumChannels(); ++c)
        juce::FloatVectorOperations::clear (outputs.getWritePointer (c), numSamples);

    for (int c = 0; c < numChannels; ++c)
        channels[c] = outputs.getWritePointer (c);

    samplesPending = 0;
    samplesRendered = 0;
}

void BlockRenderer::renderPending() noexcept
{
    while (samplesPending > 0)
    {
        renderSample();
        --samplesPending;
        ++samplesRendered;
    }
}

void BlockRenderer::addToOutput (int output, float sample) noexcept
{
    if (output < 0 || output >= numOutputs)
        return;

    if (mono)
    {
        channels[output][samplesRendered] += sample;
    }
    else
    {
        channels[2 * output][samplesRendered] += sample;
        channels[2 * output + 1][samplesRendered] += sample;
    }
}

void BlockRenderer::renderSample() noexcept
{
    if (core == nullptr)
        return;

    core->renderSample (instrumentSamples);

    for (int i = 0; i < DrumVoiceNames::numInstruments; ++i)
        addToOutput (outputNumbers[(size_t) i].load (std::memory_order_relaxed) - 1, (float) instrumentSamples[i]);

    if (core->isTriggerOutEnabled())
    {
        const auto pulse = (float) core->renderTriggerOut();
        addToOutput (triggerOutput.load (std::memory_order_relaxed) - 1, pulse);
    }
}
