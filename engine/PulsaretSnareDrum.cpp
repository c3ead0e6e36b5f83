#include "engine/PulsaretSnareDrum.h"

#include "engine/StateVariableFilter.h"

#include <cmath>

double PulsaretSnareDrum::toneTermFor (double value) noexcept
{
    return (std::pow (100.00000220003417, 1.0 - value) * 0.010101009876539765 - 0.01010100987653858) * 0.0077 - 0.0007;
}

double PulsaretSnareDrum::tuneTermFor (double value) noexcept
{
    return ((value * 0.666 + 1.667) * value * 52.75 + 1.4046547603530019e-14) - 52.75;
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

    const double d = velocity * (double) 2.645f;
    PulsaretInstrument::trigger (velocity);
    driveAmount = d;
    inverseDriveAmount = 1.0 / d;
    drive = d;
    noiseEnvelopeCoefficient = coefficients.smoothing * 0.02;
    driveCounter = (int32_t) (coefficients.sampleRate * 0.001125);
    noiseEnvelope = 0.0;
    pitchEnvelope = 0.0;
}

void PulsaretSnareDrum::setSampleRate (double rate)
{
    PulsaretInstrument::setSampleRate (rate);
    pitchEnvelopeCoefficient = coefficients.smoothing * 0.0028;
    drive = 0.0;
    driveCounter = 0;
    limitedExcitation = 0.0;
    lp = hp = bp = 0.0;
    q = 0.07;
    f = StateVariableFilter::frequencyFactor (204.0, rate);
    sixthOfRate = rate * (1.0 / 6.0);
    piOverRate = 3.141592653589793 / rate;
    highPass1.setCutoff (3000.0, rate);
    highPass2.setCutoff (3400.0, rate);
    highPass2.gain = highPass1.gain; // the second stage shares the first one's gain
    highPass1.reset();
    highPass2.reset();
    bandPass.setBandPassQ (25761.059759436303 / rate, 1.0);
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

template <bool levelMoves, bool struck>
void PulsaretSnareDrum::renderRunWith (const double* noise, double* out, int count) noexcept
{
    // The state in locals, which the compiler keeps in registers: the output may alias any field.
    const double k = coefficients.smoothing, levelSmoothing = coefficients.levelSmoothing;
    const double da = driveAmount, inverseDa = inverseDriveAmount, pitchCoefficient = pitchEnvelopeCoefficient;
    const double tune = tuneTerm, tone = toneTerm, snappyGain = snappyInUse, sixth = sixthOfRate, piOver = piOverRate;
    const double decay = peakDecay, gateRate = k * 0.2;
    double level = smoothedLevel;
    bool on = active;
    int32_t counter = driveCounter;
    double dr = drive, noiseCoefficient = noiseEnvelopeCoefficient, noiseEnv = noiseEnvelope, pitchEnv = pitchEnvelope;
    double gate = noiseGate, gated = gatedNoise, pk = peak;
    auto high1 = highPass1, high2 = highPass2;
    auto band = bandPass;
    double exc = excitation, limited = limitedExcitation, freq = f, low = lp, high = hp, mid = bp, tone1 = tonal, o = output;

    if (!struck)
    {
        // What the steps below would set on every sample.
        exc = da * high1.y * 2.2;
        noiseCoefficient = (tone + 0.0008) * k;
    }

    for (int n = 0; n < count; ++n)
    {
        if (levelMoves)
            smoothTowards (level, levelTarget, levelSmoothing);

        o = 0.0;

        if (on)
        {
            if (struck)
            {
                if (drivePulseEnds (counter))
                {
                    dr = 0.0;
                    noiseCoefficient = k * 0.0008;
                }

                exc = da * high1.process (dr) * 2.2;
            }

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

            // The noise's sign is random: a select, not a branch.
            gate = EngineMath::selectIfLess (noise[n], 0.0, 0.0, gate - (gate - 1.0) * gateRate);

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

            o = (-tone1 - 2.0 * yb * snappyGain) * 0.14896;

            if (struck && dr == 0.0)
                noiseCoefficient = (tone + 0.0008) * k;

            // At rest the drive is 0, and so are both targets.
            smoothTowards (pitchEnv, struck ? da * dr : 0.0, pitchCoefficient);
            smoothTowards (noiseEnv, struck ? dr : 0.0, noiseCoefficient);
        }

        followPeak (o, pk, on, decay);
        out[n] = o * level;
    }

    smoothedLevel = level;
    active = on;
    driveCounter = counter;
    drive = dr;
    noiseEnvelopeCoefficient = noiseCoefficient;
    noiseEnvelope = noiseEnv;
    pitchEnvelope = pitchEnv;
    noiseGate = gate;
    gatedNoise = gated;
    peak = pk;
    highPass1 = high1;
    highPass2 = high2;
    bandPass = band;
    excitation = exc;
    limitedExcitation = limited;
    f = freq;
    lp = low;
    hp = high;
    bp = mid;
    tonal = tone1;
    output = o;
}
