#pragma once

#include "engine/SampleRateCoefficients.h"

#include <cmath>
#include <cstdint>

/** Base of the voices: activity, the peak follower that switches a silent voice
    off, the bass drum's step-hold waveshaper and output smoother, and the three
    render entry points (each voice overrides exactly one). The engine itself calls each
    voice's inline twin of its entry point, so that its loop has no calls in it.

    Every operation runs on the rendering thread; the engine hands parameter values
    over before calling in, so a voice never sees a half-written mapping. */
class PulsaretInstrument
{
public:
    /** How long a strike's drive pulse (the gate) lasts: 1.125 ms at every rate. */
    static constexpr double gateSeconds = 0.001125;
    /** The drive a full-velocity strike gives the snare drum, the toms and the cymbal. */
    static constexpr float strikeDrive = 2.645f;

    PulsaretInstrument() = default;
    virtual ~PulsaretInstrument() = default;

    virtual double render();
    virtual double renderWithInput (double input);
    virtual double renderWithTwoInputs (double input1, double input2);

    /** Starts the voice; overrides ignore a velocity of exactly 0. */
    virtual void trigger (double velocity);

    /** Refills the coefficients and silences the voice until its next trigger. */
    virtual void setSampleRate (double rate);

    bool isActive() const noexcept { return active; }
    double getPeak() const noexcept { return peak; }
    const SampleRateCoefficients& getCoefficients() const noexcept { return coefficients; }

protected:
    /** The engine's one-pole smoother: value -= (value - target) * coefficient + 1e-20. */
    static void smoothTowards (double& value, double target, double coefficient) noexcept
    {
        value = value - ((value - target) * coefficient + 1e-20);
    }

    /** True when smoothTowards would leave the value as it is: a settled smoother. */
    static bool staysPut (double value, double target, double coefficient) noexcept
    {
        return value - ((value - target) * coefficient + 1e-20) == value;
    }

    /** Tracks the output's peak (before the level) and stops the voice once it falls below 2e-05. */
    void followPeak (double output) noexcept { followPeak (output, peak, active, peakDecay); }

    /** followPeak on copies of the fields, for loops that keep them in registers. */
    static void followPeak (double output, double& peak, bool& active, double peakDecay) noexcept
    {
        const double a = std::abs (output);
        if (a > peak)
            peak = a;
        peak = (peakDecay + 1e-20) * peak;
        if (peak < 2e-05)
            active = false;
    }

    /** Holds a value for about 10 samples (at 44.1 kHz) when it enters the 0.25..0.35 band,
        once per direction of travel: the kink that gives the bass drum and toms their bite. */
    double stepHold (double value) noexcept;

    /** Counts a drive pulse down; true on the one sample where it runs out. It stops at -1
        rather than running on for ever. */
    static bool drivePulseEnds (int32_t& counter) noexcept
    {
        const int32_t c = counter;
        if (c >= 0)
            counter = c - 1;
        return c == 0;
    }

    double smoothOutput (double value) noexcept
    {
        smoothTowards (outputSmoother, value, outputSmoothing);
        return outputSmoother;
    }

    bool active = false;
    double outputSmoother = 0.0;
    double holdCounter = 0.0;
    bool holding = false, armedFalling = false, armedRising = false;
    double holdValue = 0.0;
    double outputSmoothing = 0.0; // K * 0.25
    double previousValue = 0.0, slope = 0.0;
    double peak = 0.0;
    double peakDecay = 0.0; // 1 - K * 0.0001
    SampleRateCoefficients coefficients;
};

inline double PulsaretInstrument::stepHold (double value) noexcept
{
    slope = value - previousValue;
    previousValue = value;

    if (value <= 0.25 || value >= 0.35)
    {
        holding = false;
    }
    else if (slope <= 0.0)
    {
        armedFalling = false;
        if (!holding && !armedRising)
        {
            holdValue = value;
            armedRising = true;
            holding = true;
            holdCounter = 10.0 * coefficients.rateRatio;
        }
    }
    else
    {
        armedRising = false;
        if (!holding && !armedFalling)
        {
            holdValue = value;
            armedFalling = true;
            holding = true;
            holdCounter = 10.0 * coefficients.rateRatio;
        }
    }

    if (!holding)
        return value;

    const double c = holdCounter;
    holdCounter = c - 1.0;
    if (c < 0.0)
        holding = false;
    return holdValue;
}
