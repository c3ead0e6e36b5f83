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

void PulsaretHiHats::chargeOpen (double pulse) noexcept
{
    const double k = coefficients.smoothing;
    if (charge > 0.5 && (double) coefficients.smoothingTimes00001Float != openRelease)
        openRelease = ((charge - 0.5) * 0.001 + 2e-05) * k + 1e-20;

    charge = charge - ((charge - pulse) * k * 7e-05 + 1e-20);
    if (charge > 1.0)
        charge = 1.0;
}

void PulsaretHiHats::openGateStep() noexcept
{
    const double c = openGateCounter;
    openGateCounter = c - 1.0;
    if (c > -1.0 && c < 1.0) // (int) c == 0
    {
        const double k = coefficients.smoothing;
        openGate = 0.0;
        openRelease = k * 2e-05;
        openEnvelope1Coefficient = k * 0.000625;
    }
}

void PulsaretHiHats::closedGateStep() noexcept
{
    const double c = closedGateCounter;
    closedGateCounter = c - 1.0;
    if (c > -1.0 && c < 1.0) // (int) c == 0
    {
        const double k = coefficients.smoothing;
        closedGate = 0.0;
        // The closed hat chokes the open one when its gate ends.
        openRelease = k * 0.0003;
        openEnvelope1Coefficient = k * 0.1;
        closedEnvelopeCoefficient = k * closedDecayCoefficient;
    }
}

void PulsaretHiHats::envelopeStep() noexcept
{
    smoothTowards (openEnvelope1, openGate * openVelocity, openEnvelope1Coefficient);
    smoothTowards (openEnvelope2, openEnvelope1, openRelease);
    smoothTowards (closedEnvelope, closedGate * closedVelocity, closedEnvelopeCoefficient);
    closedDriveLevel = std::min (closedEnvelope, 1.0);
}

double PulsaretHiHats::renderWithInput (double metalHigh)
{
    const double k = coefficients.smoothing;
    smoothTowards (smoothedOpenLevel, openLevelTarget, coefficients.levelSmoothing);

    openOutput = 0.0;

    if (active)
    {
        openGateStep();
        closedGateStep();

        const double lo = openDriveLevel; // from the previous sample
        openShaper.process<true> (metalHigh, lo, 1.0 - k * 0.5, -0.002, 15.0, rateGain);
        openOutput = (lo * openShaper.clipped * 0.25 * 3.0 + openShaper.highPassed) * 0.4374;

        openDriveLevel = std::max (0.0, (openEnvelope1 * 0.25 + openEnvelope2) - 0.05);
        openDriveLevel = std::max (0.0, closedDriveLevel + openDriveLevel);

        envelopeStep();
    }

    followPeak (openOutput);
    return openOutput * smoothedOpenLevel;
}

double PulsaretHiHats::renderOpen (double metalHigh) noexcept
{
    smoothTowards (smoothedOpenLevel, openLevelTarget, coefficients.levelSmoothing);

    openOutput = 0.0;

    if (active)
    {
        openGateStep();

        const double lo = openDriveLevel;
        openShaper.process<false> (metalHigh, lo, 1.0 - coefficients.smoothing * 0.5, -0.002, 15.0, rateGain);
        openOutput = (lo * openShaper.clipped * 0.25 * 3.0 + openShaper.highPassed) * 0.4374;

        openDriveLevel = std::max (0.0, (openEnvelope1 * 0.25 + openEnvelope2) - 0.05);
    }

    return openOutput * smoothedOpenLevel;
}

double PulsaretHiHats::renderClosed (double metalHigh) noexcept
{
    smoothTowards (smoothedClosedLevel, closedLevelTarget, coefficients.levelSmoothing);

    closedOutput = 0.0;

    if (active)
    {
        closedGateStep();

        const double lc = closedDriveLevel;
        closedShaper.process<true> (metalHigh, lc, 1.0 - coefficients.smoothing * 0.5, -0.002, 15.0, rateGain);
        closedOutput = (lc * closedShaper.clipped * 0.25 * 3.0 + closedShaper.highPassed) * 0.4374;

        envelopeStep();
    }

    return closedOutput * smoothedClosedLevel;
}
