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

/** chargeOpen, then renderLinked or renderUnlinked, with both gates at 0: the first open envelope and
    the closed one fall by fixed factors. A struct made and used within one call, so that the compiler
    keeps it in registers. */
struct PulsaretHiHats::ReleaseState
{
    using Pair = EngineMath::Pair;

    ReleaseState (const PulsaretHiHats& hats, const OpenHatPulseTrain& pulseTrain) noexcept
        : before (hats.shapers.state)
        , c (hats.shapers.constants)
        , k (hats.coefficients.smoothing)
        , rate (hats.coefficients.sampleRate)
        , velocity (hats.openVelocity)
        , floatRelease ((double) hats.coefficients.smoothingTimes00001Float)
        , chargeRate (k * 7e-05)
        , chargeKeeps (1.0 - chargeRate)
        , releasePerCharge (k * 0.001)
        , releaseOffset ((2e-05 - 0.0005) * k)
        , envelopesKeep (1.0 - Pair{hats.openEnvelope1Coefficient, hats.closedEnvelopeCoefficient})
        , openGain (hats.smoothedOpenLevel)
        , closedGain (hats.smoothedClosedLevel)
        , decay (hats.peakDecay + 1e-20)
        , s (before)
        , train (pulseTrain)
        , q (hats.charge)
        , r (hats.openRelease)
        , envelopes{hats.openEnvelope1, hats.closedEnvelope}
        , envelope2 (hats.openEnvelope2)
        , drive{hats.openDriveLevel, hats.closedDriveLevel}
        , peakLevel (hats.peak)
        , o{hats.openOutput, hats.closedOutput}
    {
    }

    /** Renders up to count samples until the pulse train's next event (a burst starts or ends), or the
        one sample of the event; returns how many. Linked, it stops where the hats fall silent. */
    template <bool linked>
    [[gnu::always_inline]] int renderStretch (const Pair* ratiosLessOne, double* openOut, double* closedOut, int count) noexcept
    {
        // Between the events the pulse stands still.
        int run = count;
        if (train.countdown >= 0)
            run = std::min (run, (int) train.countdown);
        if (train.burstCounter >= 0)
            run = std::min (run, (int) train.burstCounter);
        const bool event = run == 0;
        const double pulse = event ? train.step (rate, velocity) : train.pulseValue;
        const double charging = pulse * chargeRate;
        const int end = event ? 1 : run;

        int n = 0;
        while (n < end)
        {
            sounding = step<linked> (ratiosLessOne[n][0], charging, openOut[n], closedOut[n]);
            ++n;
            if (!sounding)
                break;
        }

        if (!event)
        {
            train.countdown -= n;
            train.burstCounter -= n;
        }
        return n;
    }

    template <bool linked>
    [[gnu::always_inline]] inline void storeInto (PulsaretHiHats& hats, OpenHatPulseTrain& pulseTrain, int rendered) const noexcept;

    bool sounding = true;

private:
    /** One sample; false when the linked hats fell silent (unlinked, the engine watches their peak). */
    template <bool linked>
    [[gnu::always_inline]] bool step (double ratio, double charging, double& openOut, double& closedOut) noexcept
    {
        if (q > 0.5 && floatRelease != r)
            r = q * releasePerCharge + releaseOffset;
        q = EngineMath::atMost (q * chargeKeeps + charging, 1.0);

        const Pair y = MetalShaperPair::step (s, c, Pair{ratio, ratio}, drive);
        o = (drive * s.clipped * 0.75 + y) * 0.4374;

        double openDrive = EngineMath::atLeast ((envelopes[0] * 0.25 + envelope2) - 0.05, 0.0);
        if (linked)
            openDrive = EngineMath::atLeast (drive[1] + openDrive, 0.0);

        envelopes *= envelopesKeep;
        envelope2 = envelope2 - (envelope2 - envelopes[0]) * r;
        drive = Pair{openDrive, EngineMath::atMost (envelopes[1], 1.0)};

        openOut = o[0] * openGain;
        if (!linked)
        {
            closedOut = o[1] * closedGain;
            return true;
        }

        closedOut = 0.0;
        peakLevel = EngineMath::atLeast (std::abs (o[0]), peakLevel) * decay;
        return !(peakLevel < 2e-05);
    }

    // What stays put through the run.
    const MetalShaperPair::State before;
    const MetalShaperPair::Constants c;
    const double k, rate, velocity, floatRelease;
    const double chargeRate, chargeKeeps, releasePerCharge, releaseOffset;
    const Pair envelopesKeep; // both envelopes fall towards their gates, now 0
    const double openGain, closedGain, decay;

    // What moves.
    MetalShaperPair::State s;
    OpenHatPulseTrain train;
    double q, r;
    Pair envelopes;
    double envelope2;
    Pair drive;
    double peakLevel;
    Pair o;
};

template <bool linked>
inline void PulsaretHiHats::ReleaseState::storeInto (PulsaretHiHats& hats, OpenHatPulseTrain& pulseTrain, int rendered) const noexcept
{
    hats.shapers.state = linked ? MetalShaperPair::firstLaneOf (s, before) : s;
    pulseTrain = train;
    hats.charge = q;
    hats.openRelease = r;
    hats.openEnvelope1 = envelopes[0];
    hats.closedEnvelope = envelopes[1];
    hats.openEnvelope2 = envelope2;
    hats.openDriveLevel = drive[0];
    hats.closedDriveLevel = drive[1];
    hats.peak = peakLevel;
    hats.openOutput = o[0];
    if (!linked)
        hats.closedOutput = o[1];
    hats.openGateCounter -= rendered;
    hats.closedGateCounter -= rendered;
    if (!sounding)
        hats.active = false;
}

template <bool linked>
int PulsaretHiHats::renderRelease (OpenHatPulseTrain& pulseTrain, const EngineMath::Pair* ratiosLessOne, double* openOut,
                                   double* closedOut, int count) noexcept
{
    ReleaseState state (*this, pulseTrain);
    int n = 0;
    while (n < count && state.sounding)
        n += state.renderStretch<linked> (ratiosLessOne + n, openOut + n, closedOut + n, count - n);

    state.storeInto<linked> (*this, pulseTrain, n);
    return n;
}
