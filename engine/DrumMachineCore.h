#pragma once

#include "engine/SampleRateCoefficients.h"
#include "generated/PulsaretIds.h"

#include <atomic>

/** The drum machine's sound-engine interface: parameters, triggers, sample rate and a
    per-sample render of one value per instrument. It implements the trigger output
    itself: a short band-limited pulse that starts when a chosen instrument is struck,
    for clocking external gear from an output channel.

    Triggers and rendering run on the audio thread. The trigger-output switch and
    instrument may be changed from the message thread (atomics), and updateTriggerOut
    only posts a request that the audio thread carries out before its next use. */
class DrumMachineCore
{
public:
    static constexpr int numInstruments = 7;

    DrumMachineCore() noexcept;
    virtual ~DrumMachineCore();

    virtual void prepareToPlay (double sampleRate, int maximumBlockSize);
    virtual void releaseResources();

    /** value: the parameter's normalised value. */
    virtual void setParameter (SoundParameter parameter, float value);

    /** The entry for parameter numbers from outside the engine: numbers of no sound parameter are ignored. */
    void setParameter (int parameterId, float value)
    {
        if (ParameterId::isSoundParameter (parameterId))
            setParameter (static_cast<SoundParameter> (parameterId), value);
    }

    /** Restarts the trigger-output pulse when the instrument is the trigger instrument. */
    virtual void triggerInstrument (int instrument, float velocity);

    virtual void setSampleRate (float rate);

    /** Writes numInstruments values; this engine has no voices, so they are 0. */
    virtual void renderSample (double* perInstrumentOut);

    void setTriggerOutEnabled (bool shouldBeEnabled) noexcept { triggerOutEnabled.store (shouldBeEnabled); }
    bool isTriggerOutEnabled() const noexcept { return triggerOutEnabled.load(); }
    /** 0..6 for a voice, 7 for the accent track. */
    void setTriggerOutInstrument (int instrument) noexcept { triggerOutInstrument.store (instrument); }
    int getTriggerOutInstrument() const noexcept { return triggerOutInstrument.load(); }

    /** Asks for the pulse generator to be reset (idle) before the audio thread next uses it. */
    void updateTriggerOut() noexcept;

    /** The next trigger-output sample; called once per sample while the trigger output is on. */
    double renderTriggerOut() noexcept;

    const SampleRateCoefficients& getCoefficients() const noexcept { return coefficients; }
    double getTriggerOutPeriod() const noexcept { return period; }
    double getTriggerOutHarmonics() const noexcept { return harmonics; }
    double getTriggerOutWidth() const noexcept { return width; }

protected:
    SampleRateCoefficients coefficients;

private:
    void resetTriggerOut() noexcept;
    void applyPendingTriggerOutUpdate() noexcept
    {
        if (triggerOutUpdatePending.load (std::memory_order_relaxed) && triggerOutUpdatePending.exchange (false))
            resetTriggerOut();
    }
    double kernel (double x) const noexcept;

    std::atomic<bool> triggerOutEnabled{false};       // written by the output settings, read on trigger
    std::atomic<int> triggerOutInstrument{0};         // likewise
    std::atomic<bool> triggerOutUpdatePending{false}; // request from any thread, served on the audio thread

    // Pulse generator: audio thread only.
    double period = 0.0;    // P, samples
    double harmonics = 0.0; // N, odd
    double width = 0.0;     // W, samples
    double clock = 0.0;     // idle while clock >= P / 2
    double lastKernelDifference = 0.0, integrator = 0.0, dcTracker = 0.0;
};
