#include "engine/PulsaretInstrument.h"

double PulsaretInstrument::render()
{
    return 0.0;
}

double PulsaretInstrument::renderWithInput (double)
{
    return 0.0;
}

double PulsaretInstrument::renderWithTwoInputs (double, double)
{
    return 0.0;
}

void PulsaretInstrument::trigger (double)
{
    active = true;
    peak = 1.0;
}

void PulsaretInstrument::setSampleRate (double rate)
{
    coefficients.setSampleRate (rate);
    outputSmoothing = coefficients.smoothing * 0.25;
    active = false;
    peakDecay = 1.0 - coefficients.smoothing * 0.0001;
}

double PulsaretInstrument::stepHold (double value) noexcept
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
