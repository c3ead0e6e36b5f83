#include "engine/PulsaretHiHats.h"

#include <algorithm>
#include <cmath>

namespace
{
// The closed hat's decay knob sets its release speed, on an exponential curve from fast (0) to slow (1).
constexpr double closedDecayCurveOffset = -7.055233629887017;
constexpr double closedDecayCurveSlope = -2.77258872223978;
constexpr double closedDecayCurveScale = 4.635632780977655;
// How fast the open hat's envelopes move while it is struck: the release and the first envelope's attack.
constexpr double openStrikeReleaseFactor = 0.03;
constexpr double openAttackFactor = 0.05;
// The closed hat strikes lighter than the open one, and its envelope rises at this speed.
constexpr double closedStrikeGate = 0.723;
constexpr double closedAttackFactor = 0.2;
// The shapers' drive is scaled to the rate, as if the metal ran at 192 kHz; both hats high-pass the metal at 8200 Hz.
constexpr double shaperRate = 192000.0;
constexpr double metalHighPassHz = 8200.0, metalHighPassQ = 0.5555555555555556;
} // namespace

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
    closedDecayCoefficient = std::exp (closedDecayCurveOffset + closedDecayCurveSlope * value) * closedDecayCurveScale;
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
    openGateCounter = coefficients.sampleRate * gateSeconds;
    openRelease = k * openStrikeReleaseFactor;
    openEnvelope1Coefficient = k * openAttackFactor;
}

void PulsaretHiHats::triggerClosed (double velocity)
{
    if (velocity == 0.0)
        return;

    active = true;
    peak = 1.0;
    closedVelocity = velocity;
    closedGate = closedStrikeGate;
    closedGateCounter = coefficients.sampleRate * gateSeconds;
    closedEnvelopeCoefficient = coefficients.smoothing * closedAttackFactor;
}

void PulsaretHiHats::setSampleRate (double rate)
{
    PulsaretInstrument::setSampleRate (rate);
    rateGain = shaperRate / rate;
    openShaper.highPass.setHighPass (2.0 * 3.141592653589793 * metalHighPassHz / rate, metalHighPassQ);
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
