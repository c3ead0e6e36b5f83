// Renders the engine at 44.1 kHz and prints its cost: real-time factor (audio seconds
// per CPU second), nanoseconds per sample and the share of one core it takes. Then the
// whole plug-in through the offline host: the same pattern played by MIDI, instance
// creation, and saving and restoring the state chunk.

#include "engine/PulsaretCore.h"
#include "tools/render/OfflineHost.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>
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
    core.setParameter (SoundParameter::tomsLinkMode, linked ? 1.0f : 0.0f);
    core.setParameter (SoundParameter::hiHatsLinkMode, linked ? 1.0f : 0.0f);
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

/** A private copy of the plug-in with its own settings beside it: MIDI plays the voices
    (internal sequencer off) on eight stereo outputs. */
class PluginCopy
{
public:
    PluginCopy()
    {
        folder = std::filesystem::temp_directory_path() / ("pulsaret-bench-" + std::to_string (::getpid()));
        std::filesystem::create_directories (folder);
        std::filesystem::copy_file (PULSARET_PLUGIN, getPath(), std::filesystem::copy_options::overwrite_existing);
        std::ofstream (folder / "Pulsaret.ini")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<UserSettings application=\"Pulsaret\">\n"
            << "  <AudioOutputSettings><OutCharacteristics type=\"stereo\"/></AudioOutputSettings>\n"
            << "  <InternalSequencer><IntSeq state=\"off\"/><IntSync state=\"off\"/><HostMode state=\"off\"/>"
            << "<NoteOff state=\"off\"/></InternalSequencer>\n</UserSettings>\n";
    }

    ~PluginCopy()
    {
        std::error_code ignored;
        std::filesystem::remove_all (folder, ignored);
    }

    std::string getPath() const { return (folder / "Pulsaret.so").string(); }

private:
    std::filesystem::path folder;
};

double wallSeconds()
{
    timespec t{};
    clock_gettime (CLOCK_MONOTONIC, &t);
    return (double) t.tv_sec + (double) t.tv_nsec * 1e-9;
}

/** The plug-in through the VST interface: every voice's drum key on every 16th note in
    512-sample blocks, 16 outputs; the fastest of three runs. */
void runPlugin (const PluginCopy& copy)
{
    constexpr int blockSize = 512;
    constexpr int keys[] = {36, 38, 41, 43, 49, 46, 42}; // the default drum map's keys for the seven voices
    const long numSamples = (long) (rate * seconds);

    double best = 1e30, checksum = 0.0;
    int outputs = 0;
    for (int attempt = 0; attempt < 3; ++attempt)
    {
        OfflineHost host;
        if (!host.load (copy.getPath()))
        {
            std::printf ("plug-in: %s\n", host.getError().c_str());
            return;
        }
        host.start (rate, blockSize);
        outputs = host.getEffect()->numOutputs;

        std::vector<std::vector<float>> out ((size_t) outputs, std::vector<float> ((size_t) blockSize));
        std::vector<OfflineHost::MidiEvent> events;
        long step = 0;
        double elapsed = 0.0, sum = 0.0;
        for (long done = 0; done < numSamples; done += blockSize)
        {
            events.clear();
            for (; (double) step * samplesPerSixteenth < (double) (done + blockSize); ++step)
                for (int key : keys)
                    events.push_back ({(int64_t) ((double) step * samplesPerSixteenth) - done, {0x90, (uint8_t) key, (uint8_t) (step % 2 == 0 ? 96 : 127)}});

            const double start = cpuSeconds();
            host.processBlock (blockSize, events, out, 0);
            elapsed += cpuSeconds() - start;

            for (const auto& channel : out)
                for (float x : channel)
                    sum += (double) x * (double) x;
        }
        best = std::min (best, elapsed);
        checksum = sum;
        host.stop();
    }

    const double realTimeFactor = seconds / best;
    std::printf ("%-28s %6.0fx real time %7.1f ns/sample %6.3f %% of one core  (%d outputs, %d-sample blocks, checksum %.6g)\n",
                 "plug-in, all voices by MIDI", realTimeFactor, best * 1e9 / (rate * seconds), 100.0 / realTimeFactor, outputs,
                 blockSize, checksum);
}

/** Instance creation and the state chunk's save and restore, each the median of several. The
    first instance loads the library and builds what a process shares (decoded skin images,
    typefaces); a second one beside it finds them ready. Both build the real editor. */
void runInstance (const PluginCopy& copy)
{
    constexpr int runs = 9;
    std::vector<double> first, second, save, restore;
    size_t chunkSize = 0;
    for (int i = 0; i < runs; ++i)
    {
        OfflineHost host, other;
        double start = wallSeconds();
        if (!host.load (copy.getPath()))
            return;
        host.start (rate, 512);
        first.push_back (wallSeconds() - start);

        start = wallSeconds();
        if (!other.load (copy.getPath()))
            return;
        other.start (rate, 512);
        second.push_back (wallSeconds() - start);
        other.stop();
        other.unload();

        start = wallSeconds();
        const auto chunk = host.getChunk();
        save.push_back (wallSeconds() - start);
        chunkSize = chunk.size();

        start = wallSeconds();
        host.setChunk (chunk);
        restore.push_back (wallSeconds() - start);
        host.stop();
    }

    const auto median = [] (std::vector<double> v)
    {
        std::sort (v.begin(), v.end());
        return v[v.size() / 2] * 1e3;
    };
    std::printf ("instance creation, no display  %8.2f ms first (load, open, resume; median of %d; target < 100 ms)\n", median (first), runs);
    std::printf ("                               %8.2f ms second beside it (target < 30 ms)\n", median (second));
    std::printf ("state chunk save               %8.2f ms (%zu bytes)\n", median (save), chunkSize);
    std::printf ("state chunk restore            %8.2f ms\n", median (restore));
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

    if (onlyCases == nullptr || std::strstr ("plug-in", onlyCases) != nullptr)
    {
        // Without a display: nothing may reach for an X server.
        unsetenv ("DISPLAY");
        const PluginCopy copy;
        runPlugin (copy);
        runInstance (copy);
    }
    return 0;
}
