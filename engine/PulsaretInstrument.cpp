#include "engine/PulsaretInstrument.h"

namespace
{
constexpr double outputSmoothingFactor = 0.25; // the output smoother's speed: rounds off the waveshaper's corners
constexpr double peakDecayFactor = 0.0001;     // how fast the peak follower falls: when a quiet voice switches off
} // namespace

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
    outputSmoothing = coefficients.smoothing * outputSmoothingFactor;
    active = false;
    peakDecay = 1.0 - coefficients.smoothing * peakDecayFactor;
}
