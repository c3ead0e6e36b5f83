#include "engine/PulsaretHiHats.h"

#include <algorithm>
#include <cmath>

void PulsaretHiHats::setOpenLevel (double value) noexcept
{
    openLevel = value;
    openLevelTarget = value;
}

void PulsaretHiHats::setClosedLevel (double value) noexcept
{
    closedLevel = value;
    closedLevelTarget = value;
}

void PulsaretHiHats::setClosedDecay (double value) noexcept
{
    closedDecay = value;
    // K is applied once, when the closed gate ends, so the decay time does not change with the rate.
    closedDecayCoefficient = std::exp (-7.055233629887017 - 2.77258872223978 * value) * 4.635632780977655;
}

void PulsaretHiHats::triggerOpen (double velocity)
{
    if (velocity == 0.0)
        return;

    const double k = coefficients.smoothing;
    active = true;
    peak = 1.0;
    charge = 0.0;
    openVelocity = velocity;
    openGate = 1.0;
    openGateCounter = coefficients.sampleRate * 0.001125;
    openRelease = k * 0.03;
    openEnvelope1Coefficient = k * 0.05;
}

void PulsaretHiHats::triggerClosed (double velocity)
{
    if (velocity == 0.0)
        return;

    active = true;
    peak = 1.0;
    closedVelocity = velocity;
    closedGate = 0.723;
    closedGateCounter = coefficients.sampleRate * 0.001125;
    closedEnvelopeCoefficient = coefficients.smoothing * 0.2;
}

void PulsaretHiHats::setSampleRate (double rate)
{
    PulsaretInstrument::setSampleRate (rate);
    rateGain = 192000.0 / rate;
    openShaper.highPass.setHighPass (2.0 * 3.141592653589793 * 8200.0 / rate, 0.5555555555555556);
    closedShaper.highPass = openShaper.highPass;
    // Silent until the next hit anyway: start the level where it is set, so the first hit after the host
    // (re)starts audio is not faded in.
    smoothedOpenLevel = openLevelTarget;
    smoothedClosedLevel = closedLevelTarget;
    openShaper.reset();
    closedShaper.reset();
    // A gate whose counter is parked would otherwise stay open for ever.
    openGateCounter = -1.0;
    closedGateCounter = -1.0;
    openGate = 0.0;
    closedGate = 0.0;
}

double PulsaretHiHats::renderWithInput (double metalHigh)
{
    return renderLinked (MetalShaper::ratioOf<true> (metalHigh));
}

double PulsaretHiHats::renderOpen (double metalHigh) noexcept
{
    return renderOpenRatio (MetalShaper::ratioOf<false> (metalHigh));
}

double PulsaretHiHats::renderClosed (double metalHigh) noexcept
{
    return renderClosedRatio (MetalShaper::ratioOf<true> (metalHigh));
}
