#include "engine/PulsaretSnareDrum.h"

#include "engine/StateVariableFilter.h"

#include <cmath>

namespace
{
// The tone knob sets how fast the snares' noise dies away, on an exponential curve from fast (0) to slow (1).
constexpr double toneCurveBase = 100.00000220003417;
constexpr double toneCurveScale = 0.010101009876539765;
constexpr double toneCurveOffset = 0.01010100987653858;
constexpr double toneReleaseRange = 0.0077;
constexpr double toneReleaseFloor = 0.0007;
// The tune knob moves the drum's pitch, in Hz, on a gentle parabola through 0 at the middle.
constexpr double tuneCurveSquare = 0.666;
constexpr double tuneCurveLinear = 1.667;
constexpr double tuneSpanHz = 52.75;
constexpr double tuneCurveResidue = 1.4046547603530019e-14;
// How fast the snares' noise swells during the strike, and how fast the pitch sweep falls.
constexpr double noiseAttackFactor = 0.02;
constexpr double pitchSweepFallFactor = 0.0028;
// The drum's resonance: its damping and its pitch at rest.
constexpr double drumDamping = 0.07;
constexpr double restingPitchHz = 204.0;
// The strike's click and the snares' noise are high-passed, and the noise band-passed around 4100 Hz
// (2 pi 4100, divided by the rate), at a Q of 1.
constexpr double strikeHighPassHz = 3000.0;
constexpr double noiseHighPassHz = 3400.0;
constexpr double noiseBandRadiansPerSecond = 25761.059759436303;
constexpr double noiseBandQ = 1.0;
} // namespace

double PulsaretSnareDrum::toneTermFor (double value) noexcept
{
    return (std::pow (toneCurveBase, 1.0 - value) * toneCurveScale - toneCurveOffset) * toneReleaseRange - toneReleaseFloor;
}

double PulsaretSnareDrum::tuneTermFor (double value) noexcept
{
    return ((value * tuneCurveSquare + tuneCurveLinear) * value * tuneSpanHz + tuneCurveResidue) - tuneSpanHz;
}

void PulsaretSnareDrum::setLevel (double value) noexcept
{
    level = value;
    levelTarget = value;
}

void PulsaretSnareDrum::setTune (double value) noexcept
{
    tune = value;
    tuneTerm = tuneTermFor (value);
}

void PulsaretSnareDrum::setTone (double value) noexcept
{
    tone = value;
    toneTerm = toneTermFor (value);
}

void PulsaretSnareDrum::setSnappy (double value) noexcept
{
    snappy = value;
    snappyInUse = value;
}

void PulsaretSnareDrum::trigger (double velocity)
{
    if (velocity == 0.0)
        return;

    const double d = velocity * (double) strikeDrive;
    PulsaretInstrument::trigger (velocity);
    driveAmount = d;
    inverseDriveAmount = 1.0 / d;
    drive = d;
    noiseEnvelopeCoefficient = coefficients.smoothing * noiseAttackFactor;
    driveCounter = (int32_t) (coefficients.sampleRate * gateSeconds);
    noiseEnvelope = 0.0;
    pitchEnvelope = 0.0;
}

void PulsaretSnareDrum::setSampleRate (double rate)
{
    PulsaretInstrument::setSampleRate (rate);
    pitchEnvelopeCoefficient = coefficients.smoothing * pitchSweepFallFactor;
    drive = 0.0;
    driveCounter = 0;
    limitedExcitation = 0.0;
    lp = hp = bp = 0.0;
    q = drumDamping;
    f = StateVariableFilter::frequencyFactor (restingPitchHz, rate);
    sixthOfRate = rate * (1.0 / 6.0);
    piOverRate = 3.141592653589793 / rate;
    highPass1.setCutoff (strikeHighPassHz, rate);
    highPass2.setCutoff (noiseHighPassHz, rate);
    highPass2.gain = highPass1.gain; // the second stage shares the first one's gain
    highPass1.reset();
    highPass2.reset();
    bandPass.setBandPassQ (noiseBandRadiansPerSecond / rate, noiseBandQ);
    bandPass.reset();
    toneTerm = toneTermFor (tone);
    tuneTerm = tuneTermFor (tune);
    snappyInUse = snappy;
    levelTarget = level;
    // Silent until the next hit anyway: start the level where it is set, so the first hit after the host
    // (re)starts audio is not faded in.
    smoothedLevel = levelTarget;
}

double PulsaretSnareDrum::renderWithInput (double noise)
{
    double out;
    renderRun (&noise, &out, 1);
    return out;
}

void PulsaretSnareDrum::renderRun (const double* noise, double* out, int count) noexcept
{
    // Nothing changes the target within a run, so a settled level stays settled through it. After the
    // strike's pulse, once the excitation's high-pass has come to rest, the pulse and the high-pass leave
    // every value where it is too.
    const auto& h = highPass1;
    const bool resting = active && driveCounter < 0 && drive == 0.0 && h.previous == 0.0 && (0.0 - 0.0) * h.gain + h.pole * h.y + 1e-20 == h.y;
    if (staysPut (smoothedLevel, levelTarget, coefficients.levelSmoothing))
    {
        if (resting)
            renderRunWith<false, false> (noise, out, count);
        else
            renderRunWith<false, true> (noise, out, count);
    }
    else
    {
        renderRunWith<true, true> (noise, out, count);
    }
}

/** The drum's state through a run, in a struct made and used within one call so that the compiler keeps
    it in registers: the output may alias any field of the drum. */
struct PulsaretSnareDrum::RunState
{
    explicit RunState (const PulsaretSnareDrum& drum) noexcept
        : k (drum.coefficients.smoothing)
        , levelSmoothing (drum.coefficients.levelSmoothing)
        , levelTarget (drum.levelTarget)
        , da (drum.driveAmount)
        , inverseDa (drum.inverseDriveAmount)
        , pitchCoefficient (drum.pitchEnvelopeCoefficient)
        , tune (drum.tuneTerm)
        , tone (drum.toneTerm)
        , snappyGain (drum.snappyInUse)
        , sixth (drum.sixthOfRate)
        , piOver (drum.piOverRate)
        , decay (drum.peakDecay)
        , gateRate (drum.coefficients.smoothing * 0.2)
        , level (drum.smoothedLevel)
        , on (drum.active)
        , counter (drum.driveCounter)
        , dr (drum.drive)
        , noiseCoefficient (drum.noiseEnvelopeCoefficient)
        , noiseEnv (drum.noiseEnvelope)
        , pitchEnv (drum.pitchEnvelope)
        , gate (drum.noiseGate)
        , gated (drum.gatedNoise)
        , pk (drum.peak)
        , high1 (drum.highPass1)
        , high2 (drum.highPass2)
        , band (drum.bandPass)
        , exc (drum.excitation)
        , limited (drum.limitedExcitation)
        , freq (drum.f)
        , low (drum.lp)
        , high (drum.hp)
        , mid (drum.bp)
        , tone1 (drum.tonal)
        , o (drum.output)
    {
    }

    /** What the strike's steps would set on every sample once its pulse is over and its high-pass rests. */
    void settle() noexcept
    {
        exc = da * high1.y * 2.2;
        noiseCoefficient = (tone + 0.0008) * k;
    }

    /** One sample; without levelMoves the level has settled, without struck the strike's steps are left out. */
    template <bool levelMoves, bool struck>
    [[gnu::always_inline]] double step (double noise) noexcept
    {
        if (levelMoves)
            smoothTowards (level, levelTarget, levelSmoothing);

        o = 0.0;

        if (on)
        {
            if (struck)
                strike();

            resonate();
            const double yb = snap (noise);
            o = (-tone1 - 2.0 * yb * snappyGain) * 0.14896;

            if (struck && dr == 0.0)
                noiseCoefficient = (tone + 0.0008) * k;

            // At rest the drive is 0, and so are both targets.
            smoothTowards (pitchEnv, struck ? da * dr : 0.0, pitchCoefficient);
            smoothTowards (noiseEnv, struck ? dr : 0.0, noiseCoefficient);
        }

        followPeak (o, pk, on, decay);
        return o * level;
    }

    [[gnu::always_inline]] inline void storeInto (PulsaretSnareDrum& drum) const noexcept;

private:
    /** The strike's pulse and the excitation it gives through the first high-pass. */
    [[gnu::always_inline]] void strike() noexcept
    {
        if (drivePulseEnds (counter))
        {
            dr = 0.0;
            noiseCoefficient = k * 0.0008;
        }

        exc = da * high1.process (dr) * 2.2;
    }

    /** The body: a state-variable filter swept down from the strike, its band-pass folded below -1. */
    [[gnu::always_inline]] void resonate() noexcept
    {
        limited = EngineMath::atLeast (exc - 0.07 * mid, -1.0);

        freq = StateVariableFilter::movingFrequencyFactor (pitchEnv * 462.0 + tune + 211.0, sixth, piOver);

        // The guards off the recursion's path, as in StateVariableFilter.
        low = freq * mid + (low + 1e-20);
        high = limited - (low - 2e-20);
        mid = high * freq + (mid + 1e-20);
        // Below -1 the folded value is the larger, so the fold is a maximum; from -1 up it is not above
        // the value. A branch keeps the fold off the recursion's path while it does not bite.
        if (mid < -1.0)
            mid = EngineMath::atLeast (mid, (mid + 1.0) * 0.5 - 1.0);

        tone1 = mid * inverseDa;
    }

    /** The snappy noise: the noise's sign gates a smoothed step, the envelope chops it, two filters shape it. */
    [[gnu::always_inline]] double snap (double noise) noexcept
    {
        // The noise's sign is random: a select, not a branch.
        gate = EngineMath::selectIfLess (noise, 0.0, 0.0, gate - (gate - 1.0) * gateRate);

        gated = noiseEnv <= 0.0001 ? 0.0 : (noiseEnv - 0.0001) * gate;

        // The filters' own past outputs come last, so a sample waits on one product and one
        // sum of each; the band-pass's b1 is 0 and its b2 is -b0.
        const double yh = ((gated - high2.previous) * high2.gain + 1e-20) + high2.pole * high2.y;
        high2.previous = gated;
        high2.y = yh;
        const double yb = ((band.b0 * (yh - band.x2) + 1e-20) - band.a2 * band.y2) - band.a1 * band.y1;
        band.x2 = band.x1;
        band.x1 = yh;
        band.y2 = band.y1;
        band.y1 = yb;
        return yb;
    }

    // What stays put through the run.
    const double k, levelSmoothing, levelTarget;
    const double da, inverseDa, pitchCoefficient;
    const double tune, tone, snappyGain, sixth, piOver;
    const double decay, gateRate;

    // What moves.
    double level;
    bool on;
    int32_t counter;
    double dr, noiseCoefficient, noiseEnv, pitchEnv;
    double gate, gated, pk;
    OnePoleHighPass high1, high2;
    Biquad band;
    double exc, limited, freq, low, high, mid, tone1, o;
};

inline void PulsaretSnareDrum::RunState::storeInto (PulsaretSnareDrum& drum) const noexcept
{
    drum.smoothedLevel = level;
    drum.active = on;
    drum.driveCounter = counter;
    drum.drive = dr;
    drum.noiseEnvelopeCoefficient = noiseCoefficient;
    drum.noiseEnvelope = noiseEnv;
    drum.pitchEnvelope = pitchEnv;
    drum.noiseGate = gate;
    drum.gatedNoise = gated;
    drum.peak = pk;
    drum.highPass1 = high1;
    drum.highPass2 = high2;
    drum.bandPass = band;
    drum.excitation = exc;
    drum.limitedExcitation = limited;
    drum.f = freq;
    drum.lp = low;
    drum.hp = high;
    drum.bp = mid;
    drum.tonal = tone1;
    drum.output = o;
}

template <bool levelMoves, bool struck>
void PulsaretSnareDrum::renderRunWith (const double* noise, double* out, int count) noexcept
{
    RunState state (*this);
    if (!struck)
        state.settle();

    for (int n = 0; n < count; ++n)
        out[n] = state.step<levelMoves, struck> (noise[n]);

    state.storeInto (*this);
}
