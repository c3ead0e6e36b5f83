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
