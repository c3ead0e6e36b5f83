#pragma once

#include "engine/PulsaretCore.h"

#include <array>
#include <memory>
#include <vector>

/** A core with the parameter description's default values, at a given rate. */
struct DefaultCore
{
    static constexpr std::array<float, PulsaretCore::numSoundParameters> values{0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f,
                                                                                0.5f, 0.5f, 1.0f, 0.5f, 0.5f, 0.5f, 1.0f,
                                                                                0.5f, 0.5f, 0.5f, 0.5f, 1.0f, 1.0f, 0.5f,
                                                                                0.5f, 1.0f, 1.0f, 0.5f};

    static std::unique_ptr<PulsaretCore> make (float rate = 44100.0f)
    {
        auto core = std::make_unique<PulsaretCore>();
        for (int i = 0; i < PulsaretCore::numSoundParameters; ++i)
            core->setParameter (i, values[(size_t) i]);
        core->setSampleRate (rate);
        return core;
    }

    /** Renders until the smoothed levels and main volume have settled. */
    static void settle (PulsaretCore& core, int numSamples = 30000)
    {
        double out[DrumMachineCore::numInstruments];
        for (int i = 0; i < numSamples; ++i)
            core.renderSample (out);
    }

    /** Renders one instrument slot. */
    static std::vector<double> renderSlot (PulsaretCore& core, int slot, int numSamples)
    {
        std::vector<double> x ((size_t) numSamples);
        double out[DrumMachineCore::numInstruments];
        for (auto& s : x)
        {
            core.renderSample (out);
            s = out[slot];
        }
        return x;
    }
};
