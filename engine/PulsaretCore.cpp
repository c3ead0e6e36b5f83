#include "engine/PulsaretCore.h"

#include "engine/PulsaretBassDrum.h"
#include "engine/PulsaretCymbal.h"
#include "engine/PulsaretHiHats.h"
#include "engine/PulsaretHiTom.h"
#include "engine/PulsaretLowTom.h"
#include "engine/PulsaretSnareDrum.h"

#include <juce_audio_basics/juce_audio_basics.h>

#if JUCE_USE_SSE_INTRINSICS
#include <xmmintrin.h>
#endif

#include <algorithm>
#include <cmath>

namespace
{
bool denormalsAreFlushed() noexcept
{
#if JUCE_USE_SSE_INTRINSICS
    constexpr unsigned int flushToZeroAndDenormalsAreZero = 0x8040;
    return (_mm_getcsr() & flushToZeroAndDenormalsAreZero) == flushToZeroAndDenormalsAreZero;
#else
    return juce::FloatVectorOperations::areDenormalsDisabled();
#endif
}

// Period per unit of rate (1 / frequency) and duty of the six metal oscillators:
// 395.77, 904.6, 1387.8, 516.43, 658.6 and 694.23 Hz.
constexpr double oscillatorPeriods[6] = {0.002526720064684034, 0.001105460977227504, 0.0007205649228995533,
                                         0.0019363708537459097, 0.0015183723048891587, 0.0014404448093571294};
constexpr double oscillatorDuties[6] = {0.483, 0.5, 0.535, 0.475, 0.5, 0.5};
} // namespace

PulsaretCore::PulsaretCore()
    : bassDrum (std::make_unique<PulsaretBassDrum>())
    , snareDrum (std::make_unique<PulsaretSnareDrum>())
    , lowTom (std::make_unique<PulsaretLowTom>())
    , hiTom (std::make_unique<PulsaretHiTom>())
    , cymbal (std::make_unique<PulsaretCymbal>())
    , hiHats (std::make_unique<PulsaretHiHats>())
{
    for (auto& value : pendingValues)
        value.store (0.0f);

    // Ready to render before the host names a rate.
    setSampleRate (44100.0f);
}

PulsaretCore::~PulsaretCore()
{
    bassDrum.reset();
    snareDrum.reset();
    lowTom.reset();
    hiTom.reset();
    cymbal.reset();
    hiHats.reset();
}

void PulsaretCore::setParameter (int index, float value)
{
    // "Accent Level" (7) shapes velocities in the drum machine, not the sound. A value that is not a number
    // would stay in the level smoothers until the next rate change.
    if (index < 0 || index >= numSoundParameters || index == 7 || !std::isfinite (value))
        return;

    pendingValues[(size_t) index].store (value, std::memory_order_relaxed);
    pendingMask.fetch_or (1u << index, std::memory_order_release);
}

void PulsaretCore::applyPendingParameters() noexcept
{
    if (pendingMask.load (std::memory_order_relaxed) == 0)
        return;

    uint32_t mask = pendingMask.exchange (0, std::memory_order_acquire);
    for (int index = 0; mask != 0; ++index, mask >>= 1)
        if ((mask & 1u) != 0)
            applyParameter (index, pendingValues[(size_t) index].load (std::memory_order_relaxed));
}

void PulsaretCore::applyParameter (int index, float value) noexcept
{
    const double v = value;

    switch (index)
    {
        case 0:
            bassDrum->setLevel (v);
            break;
        case 1:
            snareDrum->setLevel (v);
            break;
        case 2:
            lowTom->setLevel (v);
            break;
        case 3:
            hiTom->setLevel (v);
            break;
        case 4:
            cymbal->setLevel (v);
            break;
        case 5:
            hiHats->setOpenLevel (v);
            break;
        case 6:
            hiHats->setClosedLevel (v);
            break;
        case 8:
            bassDrum->setTune (v);
            break;
        case 9:
            bassDrum->setAttack (v);
            break;
        case 10:
            bassDrum->setDecay (v);
            break;
        case 11:
            snareDrum->setTune (v);
            break;
        case 12:
            snareDrum->setTone (v);
            break;
        case 13:
            snareDrum->setSnappy (v);
            break;
        case 14:
            lowTom->setTune (v);
            break;
        case 15:
            lowTom->setDecay (v);
            break;
        case 16:
            hiTom->setTune (v);
            break;
        case 17:
            hiTom->setDecay (v);
            break;
        case 18:
            cymbal->setTone (v);
            break;
        case 19:
            cymbal->setDecay (v);
            break;
        case 20:
            openHatDecay = v;
            reloadLength = (int32_t) std::max (0.0, v * coefficients.rateRatio * 1000.0);
            break;
        case 21:
            hiHats->setClosedDecay (v);
            break;
        case 22:
            tomsLinked = value >= 0.5f;
            break;
        case 23:
            hiHatsLinked = value >= 0.5f;
            break;
        case 24:
            mainVolumeTarget = (double) (value * 4.0f);
            break;
        default:
            break;
    }
}

void PulsaretCore::triggerInstrument (int instrument, float velocity)
{
    DrumMachineCore::triggerInstrument (instrument, velocity);

    const double v = velocity;
    switch (instrument)
    {
        case 0:
            bassDrum->trigger (v);
            break;
        case 1:
            snareDrum->trigger (v);
            break;
        case 2:
            lowTom->trigger (v);
            break;
        case 3:
            hiTom->trigger (v);
            break;
        case 4:
            cymbal->trigger (v);
            break;
        case 5:
            hiHats->triggerOpen (v);
            break;
        case 6:
            hiHats->triggerClosed (v);
            break;
        default:
            break;
    }
}

void PulsaretCore::setSampleRate (float rate)
{
    applyPendingParameters();

    DrumMachineCore::setSampleRate (rate);
    const double r = coefficients.sampleRate;

    bassDrum->setSampleRate (r);
    snareDrum->setSampleRate (r);
    lowTom->setSampleRate (r);
    hiTom->setSampleRate (r);
    cymbal->setSampleRate (r);
    hiHats->setSampleRate (r);

    // Like the voices' levels, the main volume starts where it is set: no fade-in after a restart.
    mainVolume = mainVolumeTarget;

    // The noise restarts from the same registers at every rate change, so renders repeat exactly.
    noiseCoefficient = std::exp (-2.0 * 3.141592653589793 * 2000.0 / r);
    noiseState = 0.0;
    noise = 0.0;
    noiseA = 0xEFCDAB89u;
    noiseB = 0x67452301u;

    for (size_t i = 0; i < oscillators.size(); ++i)
    {
        auto& o = oscillators[i];
        o.period = r * oscillatorPeriods[i];
        o.threshold = std::trunc (o.period * oscillatorDuties[i]);
        o.phase = 0.0;
        o.output = 0.5;
    }

    // 7117 Hz at Q 4 and 3553 Hz at Q 2.5.
    metalHighFilter.setBandPassQ (44717.429831197114 / r, 0.125);
    metalLowFilter.setBandPassQ (22324.15739640907 / r, 0.2);
    metalHighFilter.reset();
    metalLowFilter.reset();
    metalHigh = 0.0;
    metalLow = 0.0;

    reloadLength = (int32_t) std::max (0.0, openHatDecay * coefficients.rateRatio * 1000.0);
}

void PulsaretCore::renderSample (double* out)
{
    // Block loops normally flush denormals already; writing the control register for
    // every sample would cost a tenth of the whole render.
    if (denormalsAreFlushed())
    {
        renderVoices (out);
    }
    else
    {
        const juce::ScopedNoDenormals noDenormals;
        renderVoices (out);
    }
}

void PulsaretCore::renderVoices (double* out) noexcept
{
    applyPendingParameters();

    mainVolume = mainVolume - ((mainVolume - mainVolumeTarget) * coefficients.levelSmoothing + 1e-20);
    const double vol = mainVolume;

    // Pulse train charging the open hat: a burst of about 0.1 ms every reload length + 1 samples.
    const int32_t count = countdown;
    countdown = count - 1;
    if (count == 0)
    {
        burstCounter = (int32_t) (coefficients.sampleRate * 0.0001);
        countdown = reloadLength;
        pulseValue = ((1.0 - 0.3 * hiHats->getOpenVelocity()) + 0.3) * 90.0;
    }

    const int32_t burst = burstCounter;
    burstCounter = burst - 1;
    if (burst == 0)
        pulseValue = 0.0;

    hiHats->chargeOpen (pulseValue);

    // Noise: single-precision scaling of the previous register b, as the voices' character expects.
    const float w = (float) (int32_t) noiseB * noiseScale;
    noiseA = noiseA ^ noiseB;
    noiseB = noiseA + noiseB;
    noiseState = (1.0 - noiseCoefficient) * w + noiseCoefficient * noiseState + 1e-20;
    noise = noiseState * 1.5;

    for (auto& o : oscillators)
    {
        const double phase = o.phase;
        o.output = phase > o.threshold ? 0.5 : -0.5;
        o.phase = phase > o.period ? phase + 1.0 - o.period : phase + 1.0;
    }
    oscillatorSum = oscillators[5].output + oscillators[4].output + oscillators[3].output + oscillators[2].output + oscillators[1].output + oscillators[0].output;

    metalHigh = metalHighFilter.process (oscillatorSum);
    metalLow = metalLowFilter.process (oscillatorSum);

    out[0] = bassDrum->render() * vol;
    out[1] = snareDrum->renderWithInput (noise) * vol;

    if (tomsLinked)
    {
        // "Low Tom Level" rules both toms; the hi tom renders first.
        hiTom->followLevelOf (*lowTom);
        const double hi = hiTom->renderWithInput (noise);
        const double low = lowTom->renderWithInput (noise);
        out[2] = (hi + low) * vol;
        out[3] = 0.0;
    }
    else
    {
        hiTom->restoreLevelTarget();
        out[2] = lowTom->renderWithInput (noise) * vol;
        out[3] = hiTom->renderWithInput (noise) * vol;
    }

    out[4] = cymbal->renderWithTwoInputs (metalHigh, metalLow) * vol;

    if (hiHatsLinked)
    {
        out[5] = hiHats->renderWithInput (metalHigh) * vol;
        out[6] = 0.0;
    }
    else
    {
        out[5] = hiHats->renderOpen (metalHigh) * vol;
        out[6] = hiHats->renderClosed (metalHigh) * vol;
    }
}
