#pragma once

#include <cstdint>

/** The engine's pulse train that charges the open hat: a burst of about 0.1 ms every
    reload length + 1 samples, its height set by the last open-hat velocity. */
struct OpenHatPulseTrain
{
    /** One sample; returns the pulse value. */
    double step (double sampleRate, double openVelocity) noexcept
    {
        const int32_t count = countdown;
        countdown = count - 1;
        if (count == 0)
        {
            burstCounter = (int32_t) (sampleRate * 0.0001);
            countdown = reloadLength;
            pulseValue = ((1.0 - 0.3 * openVelocity) + 0.3) * 90.0;
        }

        const int32_t burst = burstCounter;
        burstCounter = burst - 1;
        if (burst == 0)
            pulseValue = 0.0;
        return pulseValue;
    }

    int32_t burstCounter = 0;
    double pulseValue = 0.0;
    int32_t reloadLength = 0;
    int32_t countdown = 0;
};
