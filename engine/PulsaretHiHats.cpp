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
// Both hats' shapers: how fast the accumulator leaks (times K), the diode's depth and the clip gain.
constexpr double shaperLeak = 0.5, shaperDiodeScale = -0.002, shaperClipGain = 15.0;
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
    Biquad highPass;
    highPass.setHighPass (2.0 * 3.141592653589793 * metalHighPassHz / rate, metalHighPassQ);
    using Pair = EngineMath::Pair;
    const double leak = 1.0 - coefficients.smoothing * shaperLeak;
    shapers.prepare (highPass, highPass, Pair{leak, leak}, Pair{shaperDiodeScale, shaperDiodeScale}, Pair{shaperClipGain, shaperClipGain},
                     rateGain);
    // Silent until the next hit anyway: start the level where it is set, so the first hit after the host
    // (re)starts audio is not faded in.
    smoothedOpenLevel = openLevelTarget;
    smoothedClosedLevel = closedLevelTarget;
    // A gate whose counter is parked would otherwise stay open for ever.
    openGateCounter = -1.0;
    closedGateCounter = -1.0;
    openGate = 0.0;
    closedGate = 0.0;
}

double PulsaretHiHats::renderWithInput (double metalHigh)
{
    return renderLinked (MetalShaper::ratioOf<true> (metalHigh) - 1.0);
}

void PulsaretHiHats::renderBlock (OpenHatPulseTrain& pulseTrain, bool linked, const EngineMath::Pair* ratiosLessOne, double* openOut,
                                  double* closedOut, int count) noexcept
{
    const double rate = coefficients.sampleRate;
    for (int n = 0; n < count;)
    {
        if (canRenderRelease (linked))
        {
            n += linked ? renderRelease<true> (pulseTrain, ratiosLessOne + n, openOut + n, closedOut + n, count - n)
                        : renderRelease<false> (pulseTrain, ratiosLessOne + n, openOut + n, closedOut + n, count - n);
            continue;
        }

        chargeOpen (pulseTrain.step (rate, openVelocity));
        if (linked)
        {
            openOut[n] = renderLinked (ratiosLessOne[n][0]);
            closedOut[n] = 0.0;
        }
        else
        {
            const auto o = renderUnlinked (ratiosLessOne[n][0]);
            openOut[n] = o[0];
            closedOut[n] = o[1];
        }
        ++n;
    }
}

bool PulsaretHiHats::canRenderRelease (bool linked) const noexcept
{
    // Sounding after both gates have ended (their counters never come back), levels settled.
    const double k = coefficients.levelSmoothing;
    return active && openGateCounter <= -1.0 && closedGateCounter <= -1.0 && staysPut (smoothedOpenLevel, openLevelTarget, k) && (linked || staysPut (smoothedClosedLevel, closedLevelTarget, k));
}

template <bool linked>
int PulsaretHiHats::renderRelease (OpenHatPulseTrain& pulseTrain, const EngineMath::Pair* ratiosLessOne, double* openOut,
                                   double* closedOut, int count) noexcept
{
    // chargeOpen, then renderLinked or renderUnlinked, with both gates at 0: the first open
    // envelope and the closed one fall by fixed factors. Held in locals, which stay in registers.
    using Pair = EngineMath::Pair;
    const auto before = shapers.state;
    auto s = before;
    const auto c = shapers.constants;
    OpenHatPulseTrain train = pulseTrain;

    const double k = coefficients.smoothing, rate = coefficients.sampleRate, velocity = openVelocity;
    const double floatRelease = (double) coefficients.smoothingTimes00001Float;
    const double chargeRate = k * 7e-05, chargeKeeps = 1.0 - chargeRate;
    const double releasePerCharge = k * 0.001, releaseOffset = (2e-05 - 0.0005) * k;
    double q = charge, r = openRelease;

    Pair envelopes = {openEnvelope1, closedEnvelope}; // both fall towards their gates, now 0
    const Pair envelopesKeep = 1.0 - Pair{openEnvelope1Coefficient, closedEnvelopeCoefficient};
    double envelope2 = openEnvelope2;
    Pair drive = {openDriveLevel, closedDriveLevel};

    const double openGain = smoothedOpenLevel, closedGain = smoothedClosedLevel, decay = peakDecay + 1e-20;
    double peakLevel = peak;
    Pair o = {openOutput, closedOutput};

    int n = 0;
    bool sounding = true;
    while (n < count && sounding)
    {
        // Between the pulse train's events (a burst starts or ends) its pulse stands still.
        int run = count - n;
        if (train.countdown >= 0)
            run = std::min (run, (int) train.countdown);
        if (train.burstCounter >= 0)
            run = std::min (run, (int) train.burstCounter);
        const bool event = run == 0;
        const double pulse = event ? train.step (rate, velocity) : train.pulseValue;
        const double charging = pulse * chargeRate;
        const int start = n, end = n + (event ? 1 : run);

        while (n < end)
        {
            if (q > 0.5 && floatRelease != r)
                r = q * releasePerCharge + releaseOffset;
            q = EngineMath::atMost (q * chargeKeeps + charging, 1.0);

            const double ratio = ratiosLessOne[n][0];
            const Pair y = MetalShaperPair::step (s, c, Pair{ratio, ratio}, drive);
            o = (drive * s.clipped * 0.75 + y) * 0.4374;

            double openDrive = EngineMath::atLeast ((envelopes[0] * 0.25 + envelope2) - 0.05, 0.0);
            if (linked)
                openDrive = EngineMath::atLeast (drive[1] + openDrive, 0.0);

            envelopes *= envelopesKeep;
            envelope2 = envelope2 - (envelope2 - envelopes[0]) * r;
            drive = Pair{openDrive, EngineMath::atMost (envelopes[1], 1.0)};

            if (linked)
            {
                openOut[n] = o[0] * openGain;
                closedOut[n++] = 0.0;
                peakLevel = EngineMath::atLeast (std::abs (o[0]), peakLevel) * decay;
                if (peakLevel < 2e-05)
                {
                    active = false;
                    sounding = false;
                    break;
                }
            }
            else
            {
                openOut[n] = o[0] * openGain;
                closedOut[n++] = o[1] * closedGain;
            }
        }

        if (!event)
        {
            train.countdown -= n - start;
            train.burstCounter -= n - start;
        }
    }

    shapers.state = linked ? MetalShaperPair::firstLaneOf (s, before) : s;
    pulseTrain = train;
    charge = q;
    openRelease = r;
    openEnvelope1 = envelopes[0];
    closedEnvelope = envelopes[1];
    openEnvelope2 = envelope2;
    openDriveLevel = drive[0];
    closedDriveLevel = drive[1];
    peak = peakLevel;
    openOutput = o[0];
    if (!linked)
        closedOutput = o[1];
    openGateCounter -= n;
    closedGateCounter -= n;
    return n;
}
