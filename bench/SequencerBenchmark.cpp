// Runs the sequencer's per-sample work of block processing (two shuffled step clocks,
// two flam clocks, the native chain playing the factory bank) over an hour of audio at
// 44.1 kHz and prints its cost in nanoseconds per sample and as a real-time factor.

#include "sequencer/PulsaretSeq.h"
#include "sequencer/ShuffledClock.h"

#include <cstdio>
#include <ctime>

namespace
{
constexpr double rate = 44100.0;
constexpr double seconds = 3600.0;

double cpuSeconds()
{
    timespec t{};
    clock_gettime (CLOCK_THREAD_CPUTIME_ID, &t);
    return (double) t.tv_sec + (double) t.tv_nsec * 1e-9;
}

/** Counts strikes instead of sounding them. */
struct CountingOwner : public SequencerOwner
{
    juce::String getPluginName() const override { return "Pulsaret"; }
    juce::String getPluginPrefix() const override { return "PX"; }
    double getNormalVelocity() override { return 48.0 / 127.0; }
    double getStrongVelocityIncrement() override { return 0.377; }
    double getAccentVelocityIncrement() override { return 0.623; }
    double getAccentLevel() override { return 0.5; }
    void triggerInstrument (int, float) override { ++strikes; }
    void triggerStep (int, bool, bool) override { ++strikes; }
    void updateStepDisplay() override {}

    long strikes = 0;
};
} // namespace

int main()
{
    juce::ScopedJuceInitialiser_GUI juce;
    CountingOwner owner;
    PulsaretSeq seq (owner);
    seq.loadInitialPatterns();
    seq.setChain (0, 11);

    ShuffledClock hostClock ("hostClock"), nativeClock ("nativeClock");
    Clock hostFlam, nativeFlam;

    for (Clock* c : {(Clock*) &hostClock, (Clock*) &nativeClock, &hostFlam, &nativeFlam})
        c->setSampleRate (rate);

    seq.startNative();
    nativeClock.setTempo (seq.getNativePatternTempo());
    nativeClock.setShuffle (seq.getNativePatternShuffle());
    nativeClock.setStepsPerBeat (seq.getNativePatternScale());
    nativeClock.start();

    const long numSamples = (long) (rate * seconds);
    long steps = 0;
    bool first = true;
    const double start = cpuSeconds();

    for (long n = 0; n < numSamples; ++n)
    {
        hostClock.processSample();

        if (nativeClock.processSample() && nativeClock.isInFirstPart())
        {
            if (!first)
                seq.advanceNativeStep();

            first = false;
            nativeClock.setTempo (seq.getNativePatternTempo());
            nativeClock.setShuffle (seq.getNativePatternShuffle());
            nativeClock.setStepsPerBeat (seq.getNativePatternScale());
            seq.playNativeStep (false);
            nativeFlam.setTempo (nativeClock.getTempo());
            nativeFlam.setStepsPerBeat (nativeClock.getStepsPerBeat());
            nativeFlam.restart();
            ++steps;
        }

        hostFlam.processSample();

        if (nativeFlam.processSample() && nativeFlam.isInSecondPart())
        {
            seq.playNativeStep (true);
            nativeFlam.stop();
        }
    }

    const double cpu = cpuSeconds() - start;
    std::printf ("sequencer: %.0f s of audio, %ld steps, %ld strikes\n", seconds, steps, owner.strikes);
    std::printf ("  %.2f ns per sample, real-time factor %.0f\n", cpu * 1e9 / (double) numSamples, seconds / cpu);
    return 0;
}
