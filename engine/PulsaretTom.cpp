#include "engine/PulsaretTom.h"

#include <cmath>

#include <emmintrin.h>

namespace
{
// The tune knob multiplies the pitch from 0.75 (0) to 1.33 (1), on an exponential curve.
constexpr double tuneCurveBase = 1.7774222400038204;
constexpr double tuneCurveScale = 0.7503001200463707;
constexpr double tuneCurveOffset = 0.0003001200472511946;
// The decay knob sets the resonance's damping, from 0.25 (0, short) to 0.01 (1, long).
constexpr double dampingCurveBase = 24.99999999995606;
constexpr double dampingCurveScale = 0.010000000000017375;
constexpr double dampingCurveOffset = 1.5827973089844548e-14;
// ... and how fast the noise's envelope falls, longer with the decay.
constexpr double noiseFallCurveSlope = -3.3928985789910066;
constexpr double noiseFallCurveScale = 0.0014693877550699854;
constexpr double noiseFallCurveFloor = 3.0612244943244945e-05;
constexpr double noiseFallShare = 0.5;
// How fast the noise swells during the strike.
constexpr double noiseAttackFactor = 0.2;
// The resonance's pitch at rest, and the strike's click high-pass.
constexpr double restingPitchHz = 204.0;
constexpr double strikeHighPassHz = 3000.0;
// The noise: a quarter-octave band at 230 Hz; the bandwidth term is ln(2) / 2 * 0.25.
constexpr double noiseBandHz = 230.0;
constexpr double noiseBandwidthTerm = 0.08664339756999316;
} // namespace

PulsaretTom::PulsaretTom (double sweepDecayToUse, double baseFrequencyToUse, double sweepDepthToUse, double outputGainToUse) noexcept
    : sweepDecay (sweepDecayToUse)
    , baseFrequency (baseFrequencyToUse)
    , sweepDepth (sweepDepthToUse)
    , outputGain (outputGainToUse)
{
}

void PulsaretTom::setLevel (double value) noexcept
{
    level = value;
    levelTarget = value;
}

void PulsaretTom::setTune (double value) noexcept
{
    tune = value;
    tuneMultiplier = std::pow (tuneCurveBase, value) * tuneCurveScale - tuneCurveOffset;
}

void PulsaretTom::setDecay (double value) noexcept
{
    decay = value;
    damping = std::pow (dampingCurveBase, 1.0 - value) * dampingCurveScale - dampingCurveOffset;
    decayCoefficient = (std::exp (noiseFallCurveSlope * value) * noiseFallCurveScale + noiseFallCurveFloor) * noiseFallShare;
}

void PulsaretTom::trigger (double velocity)
{
    if (velocity == 0.0)
        return;

    const double d = velocity * (double) strikeDrive;
    PulsaretInstrument::trigger (velocity);
    pitchEnvelope = 1.0;
    driveAmount = d;
    drive = d;
    noiseDrive = d;
    driveCounter = (int32_t) (coefficients.sampleRate * gateSeconds);
    noiseEnvelopeCoefficient = coefficients.rateRatio * noiseAttackFactor;
}

void PulsaretTom::setSampleRate (double rate)
{
    PulsaretInstrument::setSampleRate (rate);
    drive = 0.0;
    driveCounter = 0;
    pitchEnvelopeCoefficient = coefficients.smoothing * sweepDecay;
    f = StateVariableFilter::frequencyFactor (restingPitchHz, rate);
    sixthOfRate = rate * (1.0 / 6.0);
    piOverRate = 3.141592653589793 / rate;
    setDecay (decay);
    svf.reset();
    highPass.setCutoff (strikeHighPassHz, rate);
    highPass.reset();
    noiseBandPass.setBandPassBandwidth (2.0 * 3.141592653589793 * noiseBandHz / rate, noiseBandwidthTerm);
    noiseBandPass.reset();
    noiseEnvelope = 0.0;
    // Silent until the next hit anyway: start the level where it is set, so the first hit after the host
    // (re)starts audio is not faded in.
    smoothedLevel = levelTarget;
    noiseEnvelopeCoefficient = coefficients.smoothing * decayCoefficient;
}

double PulsaretTom::renderWithInput (double noise)
{
    return renderOne (noise);
}

namespace
{
using Pair = EngineMath::Pair;

// Masks are kept as vectors of doubles and combined with the processor's bit operations: written with
// the compiler's vector comparisons, GCC moves every lane through integer registers.
struct Mask
{
    __m128d bits;
};

Mask operator& (Mask a, Mask b) noexcept
{
    return {_mm_and_pd (a.bits, b.bits)};
}
Mask operator| (Mask a, Mask b) noexcept
{
    return {_mm_or_pd (a.bits, b.bits)};
}
Mask andNot (Mask a, Mask notB) noexcept
{
    return {_mm_andnot_pd (notB.bits, a.bits)};
}
Mask lessOrEqual (Pair a, Pair b) noexcept
{
    return {_mm_cmple_pd ((__m128d) a, (__m128d) b)};
}
Mask less (Pair a, Pair b) noexcept
{
    return {_mm_cmplt_pd ((__m128d) a, (__m128d) b)};
}
Mask equal (Pair a, Pair b) noexcept
{
    return {_mm_cmpeq_pd ((__m128d) a, (__m128d) b)};
}
// The negations hold for NaN too, as a branch's else does.
Mask notLessOrEqual (Pair a, Pair b) noexcept
{
    return {_mm_cmpnle_pd ((__m128d) a, (__m128d) b)};
}
Pair select (Mask condition, Pair ifTrue, Pair ifFalse) noexcept
{
    return (Pair) _mm_or_pd (_mm_and_pd (condition.bits, (__m128d) ifTrue), _mm_andnot_pd (condition.bits, (__m128d) ifFalse));
}
Pair onlyWhere (Mask condition, Pair value) noexcept
{
    return (Pair) _mm_and_pd (condition.bits, (__m128d) value);
}
Pair exceptWhere (Mask condition, Pair value) noexcept
{
    return (Pair) _mm_andnot_pd (condition.bits, (__m128d) value);
}
Pair both (double value) noexcept
{
    return Pair{value, value};
}
Mask flag (bool a, bool b) noexcept
{
    return {_mm_castsi128_pd (_mm_set_epi64x (b ? -1 : 0, a ? -1 : 0))};
}
bool isSet (Mask m, int index) noexcept
{
    return ((_mm_movemask_pd (m.bits) >> index) & 1) != 0;
}
} // namespace

/** The two toms in the two lanes of vectors, the low tom in lane 0: what stays put through a run and
    what moves. Made and used within one call, so the compiler keeps the fields in registers. */
struct PulsaretTom::PairLanes
{
    PairLanes (const PulsaretTom& low, const PulsaretTom& hi, bool linkedToUse) noexcept
        : linked (linkedToUse)
        , ringing (flag (low.active, hi.active))
    {
        loadSettings (low, hi);
        loadState (low, hi);
    }

    /** Once the strikes' pulses are over, their high-passes have come to rest and the levels have
        settled, the strike's steps change nothing: the counters stay below 0, the drives at 0, the
        high-passes on their fixed points and the noise coefficients where drive 0 sets them. */
    bool strikesAreOver (const PulsaretTom& low, const PulsaretTom& hi) const noexcept
    {
        const auto pulseIsOver = [] (const PulsaretTom& t)
        {
            const auto& h = t.highPass;
            return !t.active || (t.driveCounter < 0 && t.drive == 0.0 && t.noiseDrive == 0.0 && h.previous == 0.0 && (0.0 - 0.0) * h.gain + h.pole * h.y + 1e-20 == h.y);
        };
        return pulseIsOver (low) && pulseIsOver (hi) && staysPut (smoothedLevel[0], levelTarget[0], levelSmoothing) && staysPut (smoothedLevel[1], levelTarget[1], levelSmoothing);
    }

    /** What the strike's steps would set on every sample once they change nothing. */
    void settle() noexcept
    {
        noiseEnvelopeCoefficient = settledNoiseCoefficient;
        excitation = highPassY * 6.5;
    }

    /** Steps both lanes until count samples are written or a ringing tom falls silent; returns the
        samples written. Steady leaves the strike's steps out (see strikesAreOver). */
    template <bool steady>
    [[gnu::always_inline]] int run (const double* noise, double* lowOut, double* hiOut, int count) noexcept
    {
        int n = 0;
        while (n < count)
        {
            const bool fellSilent = step<steady> (noise[n], lowOut[n], hiOut[n]);
            ++n;
            if (fellSilent)
                break;
        }
        return n;
    }

    // Inline, as every other member: a call would take the fields out of the registers.
    [[gnu::always_inline]] inline void storeInto (PulsaretTom& tom, int lane) const noexcept;

private:
    [[gnu::always_inline]] inline void loadSettings (const PulsaretTom& low, const PulsaretTom& hi) noexcept;
    [[gnu::always_inline]] inline void loadState (const PulsaretTom& low, const PulsaretTom& hi) noexcept;

    /** renderOne's sample in both lanes, in renderOne's order; true when a ringing tom fell silent. */
    template <bool steady>
    [[gnu::always_inline]] bool step (double noise, double& lowOut, double& hiOut) noexcept
    {
        if constexpr (!steady)
            strike();

        resonate();
        const Pair yb = bandPass (noise);

        Pair out = (noiseEnvelope * yb * 0.15 + filter.bp) * outputGain;
        // Steady, the noise drive is 0.
        const Pair noiseTarget = steady ? Pair{} : noiseDrive;
        noiseEnvelope = noiseEnvelope - ((noiseEnvelope - noiseTarget) * noiseEnvelopeCoefficient + 1e-20);
        pitchEnvelope = pitchEnvelope - (pitchEnvelope * pitchEnvelopeCoefficient + 1e-20);

        out = stepHold (out);
        outputSmoother = outputSmoother - ((outputSmoother - out) * outputSmoothing + 1e-20);
        output = onlyWhere (ringing, outputSmoother * 0.2);

        // followPeak, lane by lane.
        peak = EngineMath::maxOf ((Pair) _mm_andnot_pd (_mm_set1_pd (-0.0), (__m128d) output), peak);
        peak = peakDecay * peak;

        const Pair heard = output * smoothedLevel;
        lowOut = linked ? heard[1] + heard[0] : heard[0];
        hiOut = linked ? 0.0 : heard[1];

        ended = less (peak, both (2e-05)) & ringing;
        return _mm_movemask_pd (ended.bits) != 0;
    }

    /** The level's smoothing, the strike's pulse (drivePulseEnds) and its high-pass, lane by lane. */
    [[gnu::always_inline]] void strike() noexcept
    {
        smoothedLevel = smoothedLevel - ((smoothedLevel - levelTarget) * levelSmoothing + 1e-20);

        const Mask pulseEnds = equal (driveCounter, both (0.0));
        driveCounter = driveCounter - onlyWhere (lessOrEqual (both (0.0), driveCounter), both (1.0));
        drive = exceptWhere (pulseEnds, drive);
        noiseDrive = exceptWhere (pulseEnds, noiseDrive);
        noiseEnvelopeCoefficient = select (equal (drive, both (0.0)), settledNoiseCoefficient, noiseEnvelopeCoefficient);

        highPassY = (drive - highPassPrevious) * highPassGain + highPassPole * highPassY + 1e-20;
        highPassPrevious = drive;
        excitation = highPassY * 6.5;
    }

    /** The swept resonant filter and its fold. */
    [[gnu::always_inline]] void resonate() noexcept
    {
        f = StateVariableFilter::movingFrequencyFactor (baseFrequency + pitchEnvelope * sweepDepth, sixthOfRate, piOverRate);
        filter.process (excitation, f, damping);
        // As renderOne: the fold only where it can bite.
        Pair& bp = filter.bp;
        if (_mm_movemask_pd (less (bp, both (-1.0)).bits) != 0)
            bp = EngineMath::maxOf (bp, (bp + 1.0) * 0.4 - 1.0);
    }

    /** The noise's band-pass, whose b1 is 0. */
    [[gnu::always_inline]] Pair bandPass (double x) noexcept
    {
        const Pair yb = b0 * x + b2 * x2 - a1 * y1 - a2 * y2 + 1e-20;
        x2 = x1;
        x1 = both (x);
        y2 = y1;
        y1 = yb;
        return yb;
    }

    /** stepHold, lane by lane; mostly both are outside the band and not holding. */
    [[gnu::always_inline]] Pair stepHold (Pair out) noexcept
    {
        slope = out - previousValue;
        previousValue = out;
        const Mask inBand = notLessOrEqual (out, both (0.25)) & notLessOrEqual (both (0.35), out);
        if (_mm_movemask_pd ((inBand | holding).bits) == 0)
            return out;

        const Mask fallingInBand = inBand & lessOrEqual (slope, both (0.0));
        const Mask risingInBand = inBand & notLessOrEqual (slope, both (0.0));
        const Mask startFalling = andNot (fallingInBand, holding | armedRising);
        const Mask startRising = andNot (risingInBand, holding | armedFalling);
        const Mask start = startFalling | startRising;
        armedFalling = andNot (armedFalling, fallingInBand) | startRising;
        armedRising = andNot (armedRising, risingInBand) | startFalling;
        holdValue = select (start, out, holdValue);
        holdCounter = select (start, holdLength, holdCounter);
        holding = (holding | start) & inBand;
        out = select (holding, holdValue, out);
        const Mask counting = holding;
        holding = andNot (holding, less (holdCounter, both (0.0)));
        holdCounter = holdCounter - onlyWhere (counting, both (1.0));
        return out;
    }

    // What stays put through the run.
    bool linked;
    Mask ringing;
    double levelSmoothing = 0.0, smoothing = 0.0, sixthOfRate = 0.0, piOverRate = 0.0;
    Pair levelTarget{}, baseFrequency{}, sweepDepth{}, outputGain{}, damping{}, settledNoiseCoefficient{};
    Pair pitchEnvelopeCoefficient{}, outputSmoothing{}, peakDecay{}, holdLength{};
    Pair highPassGain{}, highPassPole{}, b0{}, b2{}, a1{}, a2{};

    // What moves.
    Pair smoothedLevel{}, driveCounter{}, drive{}, noiseDrive{}, noiseEnvelope{}, noiseEnvelopeCoefficient{};
    Pair pitchEnvelope{}, highPassY{}, highPassPrevious{};
    StateVariableFilterPair filter;
    Pair x1{}, x2{}, y1{}, y2{};
    Pair outputSmoother{}, holdCounter{}, holdValue{}, previousValue{}, slope{};
    Mask holding{}, armedFalling{}, armedRising{};
    Pair peak{}, excitation{}, f{}, output{};
    Mask ended{};
};

inline void PulsaretTom::PairLanes::loadSettings (const PulsaretTom& low, const PulsaretTom& hi) noexcept
{
    const auto pair = [&low, &hi] (auto member)
    { return Pair{low.*member, hi.*member}; };
    const auto pairOf = [&low, &hi] (auto part, auto member)
    { return Pair{(low.*part).*member, (hi.*part).*member}; };

    levelSmoothing = low.coefficients.levelSmoothing;
    smoothing = low.coefficients.smoothing;
    sixthOfRate = low.sixthOfRate;
    piOverRate = low.piOverRate;
    levelTarget = pair (&PulsaretTom::levelTarget);
    baseFrequency = Pair{low.baseFrequency * low.tuneMultiplier, hi.baseFrequency * hi.tuneMultiplier};
    sweepDepth = pair (&PulsaretTom::sweepDepth);
    outputGain = pair (&PulsaretTom::outputGain);
    damping = pair (&PulsaretTom::damping);
    settledNoiseCoefficient = Pair{low.decayCoefficient, hi.decayCoefficient} * smoothing;
    pitchEnvelopeCoefficient = pair (&PulsaretTom::pitchEnvelopeCoefficient);
    outputSmoothing = pair (&PulsaretTom::outputSmoothing);
    peakDecay = pair (&PulsaretTom::peakDecay) + 1e-20;
    holdLength = Pair{low.coefficients.rateRatio, hi.coefficients.rateRatio} * 10.0;
    highPassGain = pairOf (&PulsaretTom::highPass, &OnePoleHighPass::gain);
    highPassPole = pairOf (&PulsaretTom::highPass, &OnePoleHighPass::pole);
    b0 = pairOf (&PulsaretTom::noiseBandPass, &Biquad::b0);
    b2 = pairOf (&PulsaretTom::noiseBandPass, &Biquad::b2);
    a1 = pairOf (&PulsaretTom::noiseBandPass, &Biquad::a1);
    a2 = pairOf (&PulsaretTom::noiseBandPass, &Biquad::a2);
}

inline void PulsaretTom::PairLanes::loadState (const PulsaretTom& low, const PulsaretTom& hi) noexcept
{
    const auto pair = [&low, &hi] (auto member)
    { return Pair{low.*member, hi.*member}; };
    const auto pairOf = [&low, &hi] (auto part, auto member)
    { return Pair{(low.*part).*member, (hi.*part).*member}; };

    smoothedLevel = pair (&PulsaretTom::smoothedLevel);
    driveCounter = Pair{(double) low.driveCounter, (double) hi.driveCounter};
    drive = pair (&PulsaretTom::drive);
    noiseDrive = pair (&PulsaretTom::noiseDrive);
    noiseEnvelope = pair (&PulsaretTom::noiseEnvelope);
    noiseEnvelopeCoefficient = pair (&PulsaretTom::noiseEnvelopeCoefficient);
    pitchEnvelope = pair (&PulsaretTom::pitchEnvelope);
    highPassY = pairOf (&PulsaretTom::highPass, &OnePoleHighPass::y);
    highPassPrevious = pairOf (&PulsaretTom::highPass, &OnePoleHighPass::previous);
    filter.lp = pairOf (&PulsaretTom::svf, &StateVariableFilter::lp);
    filter.hp = pairOf (&PulsaretTom::svf, &StateVariableFilter::hp);
    filter.bp = pairOf (&PulsaretTom::svf, &StateVariableFilter::bp);
    x1 = pairOf (&PulsaretTom::noiseBandPass, &Biquad::x1);
    x2 = pairOf (&PulsaretTom::noiseBandPass, &Biquad::x2);
    y1 = pairOf (&PulsaretTom::noiseBandPass, &Biquad::y1);
    y2 = pairOf (&PulsaretTom::noiseBandPass, &Biquad::y2);
    outputSmoother = pair (&PulsaretTom::outputSmoother);
    holdCounter = pair (&PulsaretTom::holdCounter);
    holdValue = pair (&PulsaretTom::holdValue);
    previousValue = pair (&PulsaretTom::previousValue);
    slope = pair (&PulsaretTom::slope);
    holding = flag (low.holding, hi.holding);
    armedFalling = flag (low.armedFalling, hi.armedFalling);
    armedRising = flag (low.armedRising, hi.armedRising);
    peak = pair (&PulsaretTom::peak);
}

inline void PulsaretTom::PairLanes::storeInto (PulsaretTom& t, int lane) const noexcept
{
    // A silent tom's lane ran along unheard: only its level and peak moved, and nothing else of it is kept.
    t.smoothedLevel = smoothedLevel[lane];
    t.peak = peak[lane];
    t.output = output[lane];
    if (!isSet (ringing, lane))
        return;

    t.driveCounter = (int32_t) driveCounter[lane];
    t.drive = drive[lane];
    t.noiseDrive = noiseDrive[lane];
    t.noiseEnvelope = noiseEnvelope[lane];
    t.noiseEnvelopeCoefficient = noiseEnvelopeCoefficient[lane];
    t.pitchEnvelope = pitchEnvelope[lane];
    t.highPass.y = highPassY[lane];
    t.highPass.previous = highPassPrevious[lane];
    t.excitation = excitation[lane];
    t.f = f[lane];
    t.svf.lp = filter.lp[lane];
    t.svf.hp = filter.hp[lane];
    t.svf.bp = filter.bp[lane];
    t.noiseBandPass.x1 = x1[lane];
    t.noiseBandPass.x2 = x2[lane];
    t.noiseBandPass.y1 = y1[lane];
    t.noiseBandPass.y2 = y2[lane];
    t.outputSmoother = outputSmoother[lane];
    t.holdCounter = holdCounter[lane];
    t.holdValue = holdValue[lane];
    t.previousValue = previousValue[lane];
    t.slope = slope[lane];
    t.holding = isSet (holding, lane);
    t.armedFalling = isSet (armedFalling, lane);
    t.armedRising = isSet (armedRising, lane);
    t.active = !isSet (ended, lane);
}

void PulsaretTom::renderPair (PulsaretTom& low, PulsaretTom& hi, const double* noise, double* lowOut, double* hiOut, int count, bool linked) noexcept
{
    int n = 0;

    // While either rings, both step together in the lanes.
    if ((low.active || hi.active) && count > 0)
    {
        if (linked)
            hi.followLevelOf (low);
        else
            hi.restoreLevelTarget();

        PairLanes lanes (low, hi, linked);
        if (lanes.strikesAreOver (low, hi))
        {
            lanes.settle();
            n = lanes.run<true> (noise, lowOut, hiOut, count);
        }
        else
        {
            n = lanes.run<false> (noise, lowOut, hiOut, count);
        }
        lanes.storeInto (low, 0);
        lanes.storeInto (hi, 1);
    }

    // Both silent, or one fell silent above: each on its own.
    for (; n < count; ++n)
    {
        if (linked)
        {
            // "Low Tom Level" rules both toms; the hi tom renders first.
            hi.followLevelOf (low);
            const double h = hi.renderOne (noise[n]);
            lowOut[n] = h + low.renderOne (noise[n]);
            hiOut[n] = 0.0;
        }
        else
        {
            hi.restoreLevelTarget();
            lowOut[n] = low.renderOne (noise[n]);
            hiOut[n] = hi.renderOne (noise[n]);
        }
    }
}
