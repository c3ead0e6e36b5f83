#include "engine/PulsaretTom.h"

#include <cmath>
#include <type_traits>

#include <emmintrin.h>

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
    tuneMultiplier = std::pow (1.7774222400038204, value) * 0.7503001200463707 - 0.0003001200472511946;
}

void PulsaretTom::setDecay (double value) noexcept
{
    decay = value;
    damping = std::pow (24.99999999995606, 1.0 - value) * 0.010000000000017375 - 1.5827973089844548e-14;
    decayCoefficient = (std::exp (-3.3928985789910066 * value) * 0.0014693877550699854 + 3.0612244943244945e-05) * 0.5;
}

void PulsaretTom::trigger (double velocity)
{
    if (velocity == 0.0)
        return;

    const double d = velocity * (double) 2.645f;
    PulsaretInstrument::trigger (velocity);
    pitchEnvelope = 1.0;
    driveAmount = d;
    drive = d;
    noiseDrive = d;
    driveCounter = (int32_t) (coefficients.sampleRate * 0.001125);
    noiseEnvelopeCoefficient = coefficients.rateRatio * 0.2;
}

void PulsaretTom::setSampleRate (double rate)
{
    PulsaretInstrument::setSampleRate (rate);
    drive = 0.0;
    driveCounter = 0;
    pitchEnvelopeCoefficient = coefficients.smoothing * sweepDecay;
    f = StateVariableFilter::frequencyFactor (204.0, rate);
    sixthOfRate = rate * (1.0 / 6.0);
    piOverRate = 3.141592653589793 / rate;
    setDecay (decay);
    svf.reset();
    highPass.setCutoff (3000.0, rate);
    highPass.reset();
    // A quarter-octave band at 230 Hz: the bandwidth term is ln(2) / 2 * 0.25.
    noiseBandPass.setBandPassBandwidth (2.0 * 3.141592653589793 * 230.0 / rate, 0.08664339756999316);
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

void PulsaretTom::renderPair (PulsaretTom& low, PulsaretTom& hi, const double* noise, double* lowOut, double* hiOut, int count, bool linked) noexcept
{
    int n = 0;

    // A silent tom's lane runs along unheard: its output is 0, only its level and peak move, and
    // nothing else of it is kept.
    if ((low.active || hi.active) && count > 0)
    {
        const Mask ringing = flag (low.active, hi.active);

        if (linked)
            hi.followLevelOf (low);
        else
            hi.restoreLevelTarget();

        const auto pair = [&low, &hi] (auto member)
        { return Pair{low.*member, hi.*member}; };
        const auto pairOf = [&low, &hi] (auto part, auto member)
        { return Pair{(low.*part).*member, (hi.*part).*member}; };

        // What stays put through the run.
        const double levelSmoothing = low.coefficients.levelSmoothing;
        const double smoothing = low.coefficients.smoothing;
        const double sixthOfRate = low.sixthOfRate, piOverRate = low.piOverRate;
        const Pair levelTarget = pair (&PulsaretTom::levelTarget);
        const Pair baseFrequency = Pair{low.baseFrequency * low.tuneMultiplier, hi.baseFrequency * hi.tuneMultiplier};
        const Pair sweepDepth = pair (&PulsaretTom::sweepDepth);
        const Pair outputGain = pair (&PulsaretTom::outputGain);
        const Pair damping = pair (&PulsaretTom::damping);
        const Pair settledNoiseCoefficient = Pair{low.decayCoefficient, hi.decayCoefficient} * smoothing;
        const Pair pitchEnvelopeCoefficient = pair (&PulsaretTom::pitchEnvelopeCoefficient);
        const Pair outputSmoothing = pair (&PulsaretTom::outputSmoothing);
        const Pair peakDecay = pair (&PulsaretTom::peakDecay) + 1e-20;
        const Pair holdLength = Pair{low.coefficients.rateRatio, hi.coefficients.rateRatio} * 10.0;
        const Pair highPassGain = pairOf (&PulsaretTom::highPass, &OnePoleHighPass::gain);
        const Pair highPassPole = pairOf (&PulsaretTom::highPass, &OnePoleHighPass::pole);
        const Pair b0 = pairOf (&PulsaretTom::noiseBandPass, &Biquad::b0);
        const Pair b2 = pairOf (&PulsaretTom::noiseBandPass, &Biquad::b2);
        const Pair a1 = pairOf (&PulsaretTom::noiseBandPass, &Biquad::a1);
        const Pair a2 = pairOf (&PulsaretTom::noiseBandPass, &Biquad::a2);

        // What moves.
        Pair smoothedLevel = pair (&PulsaretTom::smoothedLevel);
        Pair driveCounter = Pair{(double) low.driveCounter, (double) hi.driveCounter};
        Pair drive = pair (&PulsaretTom::drive), noiseDrive = pair (&PulsaretTom::noiseDrive);
        Pair noiseEnvelope = pair (&PulsaretTom::noiseEnvelope);
        Pair noiseEnvelopeCoefficient = pair (&PulsaretTom::noiseEnvelopeCoefficient);
        Pair pitchEnvelope = pair (&PulsaretTom::pitchEnvelope);
        Pair highPassY = pairOf (&PulsaretTom::highPass, &OnePoleHighPass::y);
        Pair highPassPrevious = pairOf (&PulsaretTom::highPass, &OnePoleHighPass::previous);
        StateVariableFilterPair filter;
        filter.lp = pairOf (&PulsaretTom::svf, &StateVariableFilter::lp);
        filter.hp = pairOf (&PulsaretTom::svf, &StateVariableFilter::hp);
        filter.bp = pairOf (&PulsaretTom::svf, &StateVariableFilter::bp);
        Pair& bp = filter.bp;
        Pair x1 = pairOf (&PulsaretTom::noiseBandPass, &Biquad::x1);
        Pair x2 = pairOf (&PulsaretTom::noiseBandPass, &Biquad::x2);
        Pair y1 = pairOf (&PulsaretTom::noiseBandPass, &Biquad::y1);
        Pair y2 = pairOf (&PulsaretTom::noiseBandPass, &Biquad::y2);
        Pair outputSmoother = pair (&PulsaretTom::outputSmoother);
        Pair holdCounter = pair (&PulsaretTom::holdCounter);
        Pair holdValue = pair (&PulsaretTom::holdValue);
        Pair previousValue = pair (&PulsaretTom::previousValue);
        Pair slope = pair (&PulsaretTom::slope);
        Mask holding = flag (low.holding, hi.holding);
        Mask armedFalling = flag (low.armedFalling, hi.armedFalling);
        Mask armedRising = flag (low.armedRising, hi.armedRising);
        Pair peak = pair (&PulsaretTom::peak);
        Pair excitation{}, f{}, output{};
        Mask ended{};

        const auto runWhileBothRing = [&] (auto steady) noexcept
        {
            while (n < count)
            {
                if constexpr (!decltype (steady)::value)
                {
                    smoothedLevel = smoothedLevel - ((smoothedLevel - levelTarget) * levelSmoothing + 1e-20);

                    // drivePulseEnds, lane by lane.
                    const Mask pulseEnds = equal (driveCounter, both (0.0));
                    driveCounter = driveCounter - onlyWhere (lessOrEqual (both (0.0), driveCounter), both (1.0));
                    drive = exceptWhere (pulseEnds, drive);
                    noiseDrive = exceptWhere (pulseEnds, noiseDrive);
                    noiseEnvelopeCoefficient = select (equal (drive, both (0.0)), settledNoiseCoefficient, noiseEnvelopeCoefficient);
                }

                if constexpr (!decltype (steady)::value)
                {
                    highPassY = (drive - highPassPrevious) * highPassGain + highPassPole * highPassY + 1e-20;
                    highPassPrevious = drive;
                    excitation = highPassY * 6.5;
                }

                f = StateVariableFilter::movingFrequencyFactor (baseFrequency + pitchEnvelope * sweepDepth, sixthOfRate, piOverRate);
                filter.process (excitation, f, damping);
                // As renderOne: the fold only where it can bite.
                if (_mm_movemask_pd (less (bp, both (-1.0)).bits) != 0)
                    bp = EngineMath::maxOf (bp, (bp + 1.0) * 0.4 - 1.0);

                const double x = noise[n];
                // The band-pass's b1 is 0.
                const Pair yb = b0 * x + b2 * x2 - a1 * y1 - a2 * y2 + 1e-20;
                x2 = x1;
                x1 = both (x);
                y2 = y1;
                y1 = yb;

                Pair out = (noiseEnvelope * yb * 0.15 + bp) * outputGain;
                // Steady, the noise drive is 0.
                const Pair noiseTarget = decltype (steady)::value ? Pair{} : noiseDrive;
                noiseEnvelope = noiseEnvelope - ((noiseEnvelope - noiseTarget) * noiseEnvelopeCoefficient + 1e-20);
                pitchEnvelope = pitchEnvelope - (pitchEnvelope * pitchEnvelopeCoefficient + 1e-20);

                // stepHold, lane by lane; mostly both are outside the band and not holding.
                slope = out - previousValue;
                previousValue = out;
                const Mask inBand = notLessOrEqual (out, both (0.25)) & notLessOrEqual (both (0.35), out);
                if (_mm_movemask_pd ((inBand | holding).bits) != 0)
                {
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
                }

                outputSmoother = outputSmoother - ((outputSmoother - out) * outputSmoothing + 1e-20);
                output = onlyWhere (ringing, outputSmoother * 0.2);

                // followPeak, lane by lane.
                peak = EngineMath::maxOf ((Pair) _mm_andnot_pd (_mm_set1_pd (-0.0), (__m128d) output), peak);
                peak = peakDecay * peak;

                const Pair heard = output * smoothedLevel;
                if (linked)
                {
                    lowOut[n] = heard[1] + heard[0];
                    hiOut[n] = 0.0;
                }
                else
                {
                    lowOut[n] = heard[0];
                    hiOut[n] = heard[1];
                }

                ++n;
                ended = less (peak, both (2e-05)) & ringing;
                if (_mm_movemask_pd (ended.bits) != 0)
                    break;
            }
        };

        // Once the strikes' pulses are over, their high-passes have come to rest and the levels have
        // settled, those steps change nothing: the counters stay below 0, the drives at 0, the high-passes
        // on their fixed points and the noise coefficients where drive 0 sets them.
        const auto pulseIsOver = [] (const PulsaretTom& t)
        {
            const auto& h = t.highPass;
            return !t.active || (t.driveCounter < 0 && t.drive == 0.0 && t.noiseDrive == 0.0 && h.previous == 0.0 && (0.0 - 0.0) * h.gain + h.pole * h.y + 1e-20 == h.y);
        };
        const bool steady = pulseIsOver (low) && pulseIsOver (hi) && staysPut (smoothedLevel[0], levelTarget[0], levelSmoothing) && staysPut (smoothedLevel[1], levelTarget[1], levelSmoothing);
        if (steady)
        {
            noiseEnvelopeCoefficient = settledNoiseCoefficient;
            excitation = highPassY * 6.5;
            runWhileBothRing (std::true_type{});
        }
        else
        {
            runWhileBothRing (std::false_type{});
        }

        PulsaretTom* const toms[] = {&low, &hi};
        for (size_t index = 0; index < 2; ++index)
        {
            auto& t = *toms[index];
            const auto lane = index;
            t.smoothedLevel = smoothedLevel[lane];
            t.peak = peak[lane];
            t.output = output[lane];
            if (!isSet (ringing, (int) index))
                continue;
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
            t.holding = isSet (holding, (int) index);
            t.armedFalling = isSet (armedFalling, (int) index);
            t.armedRising = isSet (armedRising, (int) index);
            t.active = !isSet (ended, (int) index);
        }
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
