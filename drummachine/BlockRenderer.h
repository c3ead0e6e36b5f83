#pragma once

#include "drummachine/DrumVoiceNames.h"
#include "drummachine/PendingRenderer.h"
#include "engine/DrumMachineCore.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>
#include <atomic>

/** Renders the engine into a block's outputs, lazily: samples are taken as the block
    is walked and rendered only when something is about to change what sounds, and at
    the end of the block, so that the engine runs exactly once per sample. Each voice
    is added into its output (in stereo mode into both channels of the output's pair),
    and the trigger pulse into the trigger output; nothing limits or scales the sum.

    Audio thread. The routing is read at every sample, as the message thread may change
    it at any time. */
class BlockRenderer final : public PendingRenderer
{
public:
    static constexpr int maxChannels = 16;
    using OutputNumbers = std::array<std::atomic<int>, DrumVoiceNames::numInstruments>;

    /** Outputs count from 1; a voice routed to 0 or beyond the block's outputs is silent. */
    BlockRenderer (const OutputNumbers& outputNumbers, const std::atomic<int>& triggerOutput) noexcept;

    /** Clears every channel of the block and writes from its first sample into the
        first channels in use. Without a core the outputs stay silent. */
    void beginBlock (juce::AudioBuffer<float>& outputs, int channelsInUse, bool monoOutputs, DrumMachineCore* core) noexcept;

    /** One more sample of the block to render. */
    void takeSample() noexcept { ++samplesPending; }

    void renderPending() noexcept override;

    int getSamplesRendered() const noexcept { return samplesRendered; }

private:
    void renderSample() noexcept;
    void addToOutput (int output, float sample) noexcept;

    const OutputNumbers& outputNumbers;
    const std::atomic<int>& triggerOutput;

    DrumMachineCore* core = nullptr;
    double instrumentSamples[DrumVoiceNames::numInstruments]{};
    float* channels[maxChannels]{};
    int numChannels = 0, numOutputs = 0;
    bool mono = false;
    int samplesPending = 0, samplesRendered = 0;
};
