// Renders the engine at 44.1 kHz and prints its cost: real-time factor (audio seconds
// per CPU second), nanoseconds per sample and the share of one core it takes.

#include "engine/PulsaretCore.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <utility>
#include <vector>

namespace
{
constexpr double rate = 44100.0;
constexpr double seconds = 60.0;
constexpr double samplesPerSixteenth = rate * 60.0 / 120.0 / 4.0; // 120 BPM

// The defaults of the parameter description, uids 0 to 24.
constexpr float defaultValues[PulsaretCore::numSoundParameters] = {0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f,
                                                                   1.0f, 0.5f, 0.5f, 0.5f, 1.0f, 0.5f, 0.5f, 0.5f, 0.5f,
                                                                   1.0f, 1.0f, 0.5f, 0.5f, 1.0f, 1.0f, 0.5f};

// The drum machine's velocities for a strong step, without and with the accent at level 0.5.
constexpr float normalVelocity = 48.0f / 127.0f + 0.377f;
constexpr float accentedVelocity = normalVelocity + 0.623f * 0.5f;

double cpuSeconds()
{
    timespec t{};
    clock_gettime (CLOCK_THREAD_CPUTIME_ID, &t);
    return (double) t.tv_sec + (double) t.tv_nsec * 1e-9;
}

/** Renders the benchmark pattern, striking the listed instruments on every 16th note;
    returns the CPU seconds taken and the sum of squares of the output. */
std::pair<double, double> renderPattern (const std::vector<int>& instruments, bool linked, bool flushPerBlock)
{
    // As the drum machine's block processing does; without it the engine flushes per sample.
    std::optional<juce::ScopedNoDenormals> noDenormals;
    if (flushPerBlock)
        noDenormals.emplace();

    PulsaretCore core;
    for (int i = 0; i < PulsaretCore::numSoundParameters; ++i)
        core.setParameter (i, defaultValues[i]);
    core.setParameter (22, linked ? 1.0f : 0.0f);
    core.setParameter (23, linked ? 1.0f : 0.0f);
    core.setSampleRate ((float) rate);

    const long numSamples = (long) (rate * seconds);
    double out[DrumMachineCore::numInstruments]{};
    double sums[DrumMachineCore::numInstruments]{};
    long step = 0;
    double nextStep = 0.0;

    const double start = cpuSeconds();
    for (long n = 0; n < numSamples; ++n)
    {
        if ((double) n >= nextStep)
        {
            const float velocity = (step % 2) == 0 ? normalVelocity : accentedVelocity;
            for (int instrument : instruments)
                core.triggerInstrument (instrument, velocity);
            ++step;
            nextStep = (double) step * samplesPerSixteenth;
        }
        core.renderSample (out);
        for (int i = 0; i < DrumMachineCore::numInstruments; ++i)
            sums[i] += out[i] * out[i];
    }
    const double elapsed = cpuSeconds() - start;

    double checksum = 0.0;
    for (double s : sums)
        checksum += s;
    return {elapsed, checksum};
}

const char* onlyCases = nullptr; // a part of the case names to run, from the command line

/** Prints the fastest of three runs, which is the least disturbed by other work on the machine. */
void run (const char* name, const std::vector<int>& instruments, bool linked = true, bool flushPerBlock = true)
{
    if (onlyCases != nullptr && std::strstr (name, onlyCases) == nullptr)
        return;

    double best = 1e30, checksum = 0.0;
    for (int attempt = 0; attempt < 3; ++attempt)
    {
        const auto [elapsed, sum] = renderPattern (instruments, linked, flushPerBlock);
        best = std::min (best, elapsed);
        checksum = sum;
    }

    const double realTimeFactor = seconds / best;
    std::printf ("%-28s %6.0fx real time %7.1f ns/sample %6.3f %% of one core  (checksum %.6g)\n", name,
                 realTimeFactor, best * 1e9 / (rate * seconds), 100.0 / realTimeFactor, checksum);
}
} // namespace

int main (int argc, char** argv)
{
    if (argc > 1)
        onlyCases = argv[1];

    std::printf ("Pulsaret engine, %.0f s at %.0f Hz, every 16th note at 120 BPM, velocities %.3f / %.3f\n",
                 seconds, rate, (double) normalVelocity, (double) accentedVelocity);
    run ("all voices, links on", {0, 1, 2, 3, 4, 5, 6});
    run ("all voices, links off", {0, 1, 2, 3, 4, 5, 6}, false);
    run ("all voices, no block flush", {0, 1, 2, 3, 4, 5, 6}, true, false);

    const char* names[] = {"bass drum alone", "snare drum alone", "low tom alone", "hi tom alone",
                           "cymbal alone", "open hi-hat alone", "closed hi-hat alone"};
    for (int i = 0; i < DrumMachineCore::numInstruments; ++i)
        run (names[i], {i});

    run ("idle engine", {});
    return 0;
}
