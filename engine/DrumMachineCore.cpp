#include "engine/DrumMachineCore.h"

#include <cmath>
#include <cstdint>

DrumMachineCore::DrumMachineCore() noexcept
{
    resetTriggerOut();
}

DrumMachineCore::~DrumMachineCore() = default;

void DrumMachineCore::prepareToPlay (double, int)
{
}

void DrumMachineCore::releaseResources()
{
}

void DrumMachineCore::setParameter (SoundParameter, float)
{
}

void DrumMachineCore::triggerInstrument (int instrument, float)
{
    applyPendingTriggerOutUpdate();

    // Starting before 0 keeps the kernel's arguments off multiples of P (no 0/0).
    if (triggerOutEnabled.load() && instrument == triggerOutInstrument.load())
        clock = -60.1;
}

void DrumMachineCore::setSampleRate (float rate)
{
    coefficients.setSampleRate ((double) rate);
    triggerOutUpdatePending.store (false);
    resetTriggerOut();
}

void DrumMachineCore::renderSample (double* perInstrumentOut)
{
    for (int i = 0; i < numInstruments; ++i)
        perInstrumentOut[i] = 0.0;
}

void DrumMachineCore::updateTriggerOut() noexcept
{
    triggerOutUpdatePending.store (true);
}

void DrumMachineCore::resetTriggerOut() noexcept
{
    const double rate = coefficients.sampleRate;
    period = rate * 0.9090909090909091;
    harmonics = (double) ((float) ((int32_t) (period * 0.5) * 2) + 1.0f);
    width = (double) (int32_t) (period * 0.982);
    clock = period;
    lastKernelDifference = 0.0;
    integrator = 0.0;
    dcTracker = 0.0;
}

double DrumMachineCore::kernel (double x) const noexcept
{
    constexpr double pi = 3.141592653589793;
    const double denominator = harmonics * std::sin (pi * x / period);
    // At a multiple of P the kernel's limit is 1 (N is odd).
    if (denominator == 0.0)
        return 1.0;
    return std::sin (pi * harmonics * x / period) / denominator;
}

double DrumMachineCore::renderTriggerOut() noexcept
{
    applyPendingTriggerOutUpdate();

    if (clock < period * 0.5)
    {
        const double t = clock + 1.0;
        const double u = clock + width;
        lastKernelDifference = kernel (t) - kernel (u);
        clock = t;
        integrator = (lastKernelDifference + integrator) * 0.997;
    }

    dcTracker = dcTracker - (coefficients.smoothing * 0.001 * (dcTracker - integrator) + 1e-20);
    return (integrator - dcTracker) * 0.25;
}
