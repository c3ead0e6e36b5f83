#include "engine/PulsaretCore.h"

#include "engine/MetalShaper.h"
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

// The open hat's decay spaces the pulses that keep charging it: up to this many samples apart at 44.1 kHz.
constexpr double openHatPulseSpacing = 1000.0;
// The main volume's gain at the top of its knob (+12 dB).
constexpr float mainVolumeMaximum = 4.0f;
} // namespace

PulsaretCore::PulsaretCore()
    : bassDrum (std::make_unique<PulsaretBassDrum>())
    , snareDrum (std::make_unique<PulsaretSnareDrum>())
    , lowTom (std::make_unique<PulsaretLowTom>())
    , hiTom (std::make_unique<PulsaretHiTom>())
    , cymbal (std::make_unique<PulsaretCymbal>())
    , hiHats (std::make_unique<PulsaretHiHats>())
    , bassDrumCopy (std::make_unique<PulsaretBassDrum>())
    , snareDrumCopy (std::make_unique<PulsaretSnareDrum>())
    , lowTomCopy (std::make_unique<PulsaretLowTom>())
    , hiTomCopy (std::make_unique<PulsaretHiTom>())
    , cymbalCopy (std::make_unique<PulsaretCymbal>())
    , hiHatsCopy (std::make_unique<PulsaretHiHats>())
{
    ahead.renderedUntil.fill (blockLength);

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

void PulsaretCore::setParameter (SoundParameter parameter, float value)
{
    // The accent level shapes velocities in the drum machine, not the sound. A value that is not a number
    // would stay in the level smoothers until the next rate change.
    const auto index = static_cast<int> (parameter);
    if (!ParameterId::isSoundParameter (index) || parameter == SoundParameter::accentLevel || !std::isfinite (value))
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
        {
            const auto parameter = static_cast<SoundParameter> (index);
            const int unit = unitOfParameter (parameter);
            if (unit >= 0)
                settle (unit);
            applyParameter (parameter, pendingValues[(size_t) index].load (std::memory_order_relaxed));
        }
}

int PulsaretCore::unitOfParameter (SoundParameter parameter) noexcept
{
    switch (parameter)
    {
        case SoundParameter::bassDrumLevel:
        case SoundParameter::bassDrumTune:
        case SoundParameter::bassDrumAttack:
        case SoundParameter::bassDrumDecay:
            return bassDrumUnit;
        case SoundParameter::snareDrumLevel:
        case SoundParameter::snareDrumTune:
        case SoundParameter::snareDrumTone:
        case SoundParameter::snareDrumSnappy:
            return snareDrumUnit;
        case SoundParameter::lowTomLevel:
        case SoundParameter::hiTomLevel:
        case SoundParameter::lowTomTune:
        case SoundParameter::lowTomDecay:
        case SoundParameter::hiTomTune:
        case SoundParameter::hiTomDecay:
        case SoundParameter::tomsLinkMode:
            return tomsUnit;
        case SoundParameter::cymbalLevel:
        case SoundParameter::cymbalTone:
        case SoundParameter::cymbalDecay:
            return cymbalUnit;
        case SoundParameter::openHiHatLevel:
        case SoundParameter::closedHiHatLevel:
        case SoundParameter::openHiHatDecay:
        case SoundParameter::closedHiHatDecay:
        case SoundParameter::hiHatsLinkMode:
            return hiHatsUnit;
        default:
            return -1; // the main volume is applied per sample
    }
}

void PulsaretCore::applyParameter (SoundParameter parameter, float value) noexcept
{
    const double v = value;

    switch (parameter)
    {
        case SoundParameter::bassDrumLevel:
            bassDrum->setLevel (v);
            break;
        case SoundParameter::snareDrumLevel:
            snareDrum->setLevel (v);
            break;
        case SoundParameter::lowTomLevel:
            lowTom->setLevel (v);
            break;
        case SoundParameter::hiTomLevel:
            hiTom->setLevel (v);
            break;
        case SoundParameter::cymbalLevel:
            cymbal->setLevel (v);
            break;
        case SoundParameter::openHiHatLevel:
            hiHats->setOpenLevel (v);
            break;
        case SoundParameter::closedHiHatLevel:
            hiHats->setClosedLevel (v);
            break;
        case SoundParameter::bassDrumTune:
            bassDrum->setTune (v);
            break;
        case SoundParameter::bassDrumAttack:
            bassDrum->setAttack (v);
            break;
        case SoundParameter::bassDrumDecay:
            bassDrum->setDecay (v);
            break;
        case SoundParameter::snareDrumTune:
            snareDrum->setTune (v);
            break;
        case SoundParameter::snareDrumTone:
            snareDrum->setTone (v);
            break;
        case SoundParameter::snareDrumSnappy:
            snareDrum->setSnappy (v);
            break;
        case SoundParameter::lowTomTune:
            lowTom->setTune (v);
            break;
        case SoundParameter::lowTomDecay:
            lowTom->setDecay (v);
            break;
        case SoundParameter::hiTomTune:
            hiTom->setTune (v);
            break;
        case SoundParameter::hiTomDecay:
            hiTom->setDecay (v);
            break;
        case SoundParameter::cymbalTone:
            cymbal->setTone (v);
            break;
        case SoundParameter::cymbalDecay:
            cymbal->setDecay (v);
            break;
        case SoundParameter::openHiHatDecay:
            openHatDecay = v;
            pulseTrain.reloadLength = (int32_t) std::max (0.0, v * coefficients.rateRatio * openHatPulseSpacing);
            break;
        case SoundParameter::closedHiHatDecay:
            hiHats->setClosedDecay (v);
            break;
        case SoundParameter::tomsLinkMode:
            tomsLinked = value >= 0.5f;
            break;
        case SoundParameter::hiHatsLinkMode:
            hiHatsLinked = value >= 0.5f;
            break;
        case SoundParameter::mainVolume:
            mainVolumeTarget = (double) (value * mainVolumeMaximum);
            break;
        default:
            break;
    }
}

void PulsaretCore::triggerInstrument (int instrument, float velocity)
{
    DrumMachineCore::triggerInstrument (instrument, velocity);

    constexpr int units[] = {bassDrumUnit, snareDrumUnit, tomsUnit, tomsUnit, cymbalUnit, hiHatsUnit, hiHatsUnit};
    if (instrument >= 0 && instrument < numInstruments && velocity != 0.0f)
        settle (units[instrument]);

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
    settleAll();

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
    noiseA = 0xEFCDAB89u;
    noiseB = 0x67452301u;

    for (size_t i = 0; i < SquareOscillators::count; ++i)
    {
        const double period = r * oscillatorPeriods[i];
        oscillators.period[i / 2][i % 2] = period;
        oscillators.threshold[i / 2][i % 2] = std::trunc (period * oscillatorDuties[i]);
        oscillators.phase[i / 2][i % 2] = 0.0;
    }

    // 7117 Hz at Q 4 and 3553 Hz at Q 2.5.
    metalHighFilter.setBandPassQ (44717.429831197114 / r, 0.125);
    metalLowFilter.setBandPassQ (22324.15739640907 / r, 0.2);
    metalHighFilter.reset();
    metalLowFilter.reset();
    const auto& h = metalHighFilter;
    const auto& l = metalLowFilter;
    auto& m = metalFilters;
    m.b0 = EngineMath::Pair{h.b0, l.b0};
    m.b2 = EngineMath::Pair{h.b2, l.b2};
    m.a1 = EngineMath::Pair{h.a1, l.a1};
    m.a2 = EngineMath::Pair{h.a2, l.a2};
    m.y1 = m.y2 = EngineMath::Pair{0.0, 0.0};
    m.x1 = m.x2 = 0.0;

    pulseTrain.reloadLength = (int32_t) std::max (0.0, openHatDecay * coefficients.rateRatio * openHatPulseSpacing);

    // Warm-ups after which a filter started from rest is within e^-45 of one that ran on:
    // 45 time constants of the slowest pole.
    auto& f = shared;
    f.blockStart = f.generated = f.noiseDoneUntil = f.metalDoneUntil = 0;
    f.noiseReady = f.metalReady = false;
    constexpr int longest = SharedFilters::historyLength - blockLength;
    const auto warmUp = [] (double decayPerSample)
    { return (int) std::min ((double) longest, std::ceil (45.0 / decayPerSample)); };
    f.noiseWarmUp = warmUp (-std::log (noiseCoefficient));
    f.metalWarmUp = warmUp (-0.5 * std::log (std::max (h.a2, l.a2)));

    // The next sample starts a new block from the signals just reset.
    position = blockLength;
    ahead.renderedUntil.fill (blockLength);
    ahead.earliest = blockLength;
}

void PulsaretCore::renderSample (double* out)
{
    // Denormals are flushed where the signals are computed, once a block (see renderUnits).
    renderVoices (out);
}

void PulsaretCore::renderVoices (double* out) noexcept
{
    if (pendingMask.load (std::memory_order_relaxed) != 0)
        applyPendingParameters();

    if (position == blockLength)
        startBlock();

    if (ahead.earliest <= position)
    {
        unsigned int units = 0;
        for (int unit = 0; unit < numUnits; ++unit)
            if (ahead.renderedUntil[(size_t) unit] <= position)
                units |= unitBit (unit);
        renderAhead (units);
    }

    mainVolume = mainVolume - ((mainVolume - mainVolumeTarget) * coefficients.levelSmoothing + 1e-20);
    const double vol = mainVolume;
    const auto p = (size_t) position++;
    const auto& o = ahead.out;

    out[0] = o[0][p] * vol;
    out[1] = o[1][p] * vol;
    out[2] = o[2][p] * vol;
    out[3] = tomsLinked ? 0.0 : o[3][p] * vol;
    out[4] = o[4][p] * vol;
    out[5] = o[5][p] * vol;
    out[6] = hiHatsLinked ? 0.0 : o[6][p] * vol;
}

void PulsaretCore::startBlock() noexcept
{
    // Block loops normally flush denormals already; the control register is only written when not.
    // No second look after writing it: where the flags cannot be set, that would never end.
    if (denormalsAreFlushed())
    {
        generateBlock();
    }
    else
    {
        const juce::ScopedNoDenormals noDenormals;
        generateBlock();
    }
}

void PulsaretCore::generateBlock() noexcept
{

    // The generators run on whoever listens; their outputs wait in the history for the filters.
    auto osc = oscillators;
    uint32_t a = noiseA, b = noiseB;
    auto& f = shared;
    f.blockStart = f.generated;
    f.generated += blockLength;
    f.noiseReady = f.metalReady = false;
    const auto at = (size_t) (f.blockStart & (SharedFilters::historyLength - 1));

    for (size_t n = 0; n < (size_t) blockLength; ++n)
    {
        // Noise: single-precision scaling of the previous register b, as the voices' character expects.
        f.noiseInput[at + n] = (float) (int32_t) b * noiseScale;
        a = a ^ b;
        b = a + b;

        // An output is +0.5 once the phase passes the threshold, else -0.5, so the six sum to
        // the count of those past it less 3 (exact). A phase past the period wraps (subtracting
        // 0 otherwise changes nothing). The choices are masks: all ones where true.
        using Mask = long long __attribute__ ((vector_size (16)));
        const Mask one = (Mask) EngineMath::Pair{1.0, 1.0};
        EngineMath::Pair count = {0.0, 0.0};
        for (size_t i = 0; i < SquareOscillators::count / 2; ++i)
        {
            const EngineMath::Pair phase = osc.phase[i];
            count += (EngineMath::Pair) ((phase > osc.threshold[i]) & one);
            osc.phase[i] = (phase + 1.0) - (EngineMath::Pair) ((phase > osc.period[i]) & (Mask) osc.period[i]);
        }
        f.metalInput[at + n] = (float) ((count[0] + count[1]) - 3.0);
    }

    oscillators.phase = osc.phase;
    noiseA = a;
    noiseB = b;

    position = 0;
    ahead.renderedUntil.fill (0);
    ahead.earliest = 0;
    ahead.ratiosReady = false;
    ahead.unguardedRatiosReady = false;
}

void PulsaretCore::filterNoise() const noexcept
{
    auto& f = shared;
    if (f.noiseReady)
        return;

    constexpr int64_t mask = SharedFilters::historyLength - 1;
    const double c = noiseCoefficient;
    double state = noiseState;
    if (f.noiseDoneUntil != f.blockStart)
    {
        state = 0.0;
        for (int64_t t = std::max<int64_t> (0, f.blockStart - f.noiseWarmUp); t < f.blockStart; ++t)
            state = (1.0 - c) * f.noiseInput[(size_t) (t & mask)] + c * state + 1e-20;
    }

    const auto at = (size_t) (f.blockStart & mask);
    for (size_t n = 0; n < (size_t) blockLength; ++n)
    {
        state = (1.0 - c) * f.noiseInput[at + n] + c * state + 1e-20;
        noiseBlock[n] = state * 1.5;
    }

    noiseState = state;
    f.noiseDoneUntil = f.blockStart + blockLength;
    f.noiseReady = true;
}

void PulsaretCore::filterMetal() const noexcept
{
    auto& f = shared;
    if (f.metalReady)
        return;

    // Both band-passes as in Biquad::process (their b1 is 0), one in each lane.
    constexpr int64_t mask = SharedFilters::historyLength - 1;
    auto m = metalFilters;
    const auto step = [&m] (double sum) noexcept
    {
        const EngineMath::Pair y = m.b0 * sum + m.b2 * m.x2 - m.a1 * m.y1 - m.a2 * m.y2 + 1e-20;
        m.y2 = m.y1;
        m.y1 = y;
        m.x2 = m.x1;
        m.x1 = sum;
        return y;
    };

    if (f.metalDoneUntil != f.blockStart)
    {
        m.y1 = m.y2 = EngineMath::Pair{0.0, 0.0};
        m.x1 = m.x2 = 0.0;
        for (int64_t t = std::max<int64_t> (0, f.blockStart - f.metalWarmUp); t < f.blockStart; ++t)
            step (f.metalInput[(size_t) (t & mask)]);
    }

    const auto at = (size_t) (f.blockStart & mask);
    for (size_t n = 0; n < (size_t) blockLength; ++n)
    {
        const EngineMath::Pair y = step (f.metalInput[at + n]);
        metalHighBlock[n] = y[0];
        metalLowBlock[n] = y[1];
    }

    metalFilters = m;
    f.metalDoneUntil = f.blockStart + blockLength;
    f.metalReady = true;
}

void PulsaretCore::prepareRatios (bool unguarded) const noexcept
{
    filterMetal();
    if (!ahead.ratiosReady)
    {
        for (size_t n = 0; n < (size_t) blockLength; ++n)
        {
            const auto ratios = MetalShaper::guardedRatiosOf (EngineMath::Pair{metalHighBlock[n], metalLowBlock[n]});
            ahead.guardedHighRatios[n] = ratios[0];
            ahead.lowRatios[n] = ratios[1];
        }
        ahead.ratiosReady = true;
    }

    if (unguarded && !ahead.unguardedRatiosReady)
    {
        for (size_t n = 0; n < (size_t) blockLength; ++n)
            ahead.unguardedHighRatios[n] = MetalShaper::ratioOf<false> (metalHighBlock[n]);
        ahead.unguardedRatiosReady = true;
    }
}

void PulsaretCore::renderAhead (unsigned int units) noexcept
{
    // A quiet unit's samples are all alike and its state stands still until something
    // happens to it: no copy, nothing to run.
    const unsigned int quiet = fillQuietUnits (units, position, blockLength);
    for (size_t unit = 0; unit < numUnits; ++unit)
    {
        if ((units & unitBit ((int) unit)) != 0)
        {
            ahead.quiet[unit] = (quiet & unitBit ((int) unit)) != 0;
            ahead.copiedAt[unit] = position;
            ahead.renderedUntil[unit] = blockLength;
        }
    }
    units &= ~quiet;
    ahead.earliest = *std::min_element (ahead.renderedUntil.begin(), ahead.renderedUntil.end());

    if ((units & unitBit (bassDrumUnit)) != 0)
        *bassDrumCopy = *bassDrum;
    if ((units & unitBit (snareDrumUnit)) != 0)
        *snareDrumCopy = *snareDrum;
    if ((units & unitBit (tomsUnit)) != 0)
    {
        *lowTomCopy = *lowTom;
        *hiTomCopy = *hiTom;
    }
    if ((units & unitBit (cymbalUnit)) != 0)
        *cymbalCopy = *cymbal;
    if ((units & unitBit (hiHatsUnit)) != 0)
    {
        *hiHatsCopy = *hiHats;
        pulseTrainCopy = pulseTrain;
    }

    renderUnits (units, position, blockLength);
}

unsigned int PulsaretCore::fillQuietUnits (unsigned int units, int from, int to) const noexcept
{
    auto& o = ahead.out;
    unsigned int quiet = 0;

    if ((units & unitBit (bassDrumUnit)) != 0 && bassDrum->isQuiet())
    {
        std::fill (o[0].begin() + from, o[0].begin() + to, bassDrum->quietOutput());
        quiet |= unitBit (bassDrumUnit);
    }
    if ((units & unitBit (snareDrumUnit)) != 0 && snareDrum->isQuiet())
    {
        std::fill (o[1].begin() + from, o[1].begin() + to, 0.0);
        quiet |= unitBit (snareDrumUnit);
    }
    if ((units & unitBit (tomsUnit)) != 0 && PulsaretTom::pairIsQuiet (*lowTom, *hiTom, tomsLinked))
    {
        std::fill (o[2].begin() + from, o[2].begin() + to, 0.0);
        std::fill (o[3].begin() + from, o[3].begin() + to, 0.0);
        quiet |= unitBit (tomsUnit);
    }
    if ((units & unitBit (cymbalUnit)) != 0 && cymbal->isQuiet())
    {
        std::fill (o[4].begin() + from, o[4].begin() + to, 0.0);
        quiet |= unitBit (cymbalUnit);
    }
    return quiet;
}

void PulsaretCore::renderUnits (unsigned int units, int from, int to) const noexcept
{
    // As startBlock.
    if (denormalsAreFlushed())
    {
        renderFlushed (units, from, to);
    }
    else
    {
        const juce::ScopedNoDenormals noDenormals;
        renderFlushed (units, from, to);
    }
}

void PulsaretCore::renderFlushed (unsigned int units, int from, int to) const noexcept
{

    auto& o = ahead.out;
    const auto begin = (size_t) from, end = (size_t) to;

    // The hi-hats' pulse train runs on while they are quiet.
    if ((units & unitBit (hiHatsUnit)) != 0 && hiHats->isQuiet (hiHatsLinked))
    {
        std::fill (o[5].begin() + from, o[5].begin() + to, 0.0);
        std::fill (o[6].begin() + from, o[6].begin() + to, 0.0);
        hiHats->chargeWhileQuiet (pulseTrain, to - from);
        units &= ~unitBit (hiHatsUnit);
    }

    if ((units & (unitBit (snareDrumUnit) | unitBit (tomsUnit))) != 0)
        filterNoise();

    // A silent voice does not read its input.
    if ((units & unitBit (cymbalUnit)) != 0 && cymbal->isActive())
        prepareRatios (false);
    if ((units & unitBit (hiHatsUnit)) != 0 && hiHats->isActive())
        prepareRatios (!hiHatsLinked);

    // The units side by side, so that their recursions overlap in the processor.
    const double rate = coefficients.sampleRate;
    for (size_t n = begin; n < end; ++n)
    {
        if ((units & unitBit (bassDrumUnit)) != 0)
            o[0][n] = bassDrum->renderOne();

        if ((units & unitBit (snareDrumUnit)) != 0)
            o[1][n] = snareDrum->renderOne (noiseBlock[n]);

        if ((units & unitBit (tomsUnit)) != 0)
        {
            if (tomsLinked)
            {
                // "Low Tom Level" rules both toms; the hi tom renders first.
                hiTom->followLevelOf (*lowTom);
                const double hi = hiTom->renderOne (noiseBlock[n]);
                o[2][n] = hi + lowTom->renderOne (noiseBlock[n]);
                o[3][n] = 0.0;
            }
            else
            {
                hiTom->restoreLevelTarget();
                o[2][n] = lowTom->renderOne (noiseBlock[n]);
                o[3][n] = hiTom->renderOne (noiseBlock[n]);
            }
        }

        if ((units & unitBit (cymbalUnit)) != 0)
            o[4][n] = cymbal->renderRatios (ahead.guardedHighRatios[n], ahead.lowRatios[n]);

        if ((units & unitBit (hiHatsUnit)) != 0)
        {
            hiHats->chargeOpen (pulseTrain.step (rate, hiHats->getOpenVelocity()));

            if (hiHatsLinked)
            {
                o[5][n] = hiHats->renderLinked (ahead.guardedHighRatios[n]);
                o[6][n] = 0.0;
            }
            else
            {
                o[5][n] = hiHats->renderOpenRatio (ahead.unguardedHighRatios[n]);
                o[6][n] = hiHats->renderClosedRatio (ahead.guardedHighRatios[n]);
            }
        }
    }
}

void PulsaretCore::settle (int unit) const noexcept
{
    const auto u = (size_t) unit;
    if (ahead.renderedUntil[u] <= position)
        return;

    ahead.earliest = position;
    if (ahead.quiet[u])
    {
        ahead.renderedUntil[u] = position;
        return;
    }

    switch (unit)
    {
        case bassDrumUnit:
            *bassDrum = *bassDrumCopy;
            break;
        case snareDrumUnit:
            *snareDrum = *snareDrumCopy;
            break;
        case tomsUnit:
            *lowTom = *lowTomCopy;
            *hiTom = *hiTomCopy;
            break;
        case cymbalUnit:
            *cymbal = *cymbalCopy;
            break;
        default:
            *hiHats = *hiHatsCopy;
            pulseTrain = pulseTrainCopy;
            break;
    }

    renderUnits (unitBit (unit), ahead.copiedAt[u], position);
    ahead.renderedUntil[u] = position;
}

void PulsaretCore::settleAll() const noexcept
{
    for (int unit = 0; unit < numUnits; ++unit)
        settle (unit);
}

const PulsaretBassDrum& PulsaretCore::getBassDrum() const noexcept
{
    settle (bassDrumUnit);
    return *bassDrum;
}

const PulsaretSnareDrum& PulsaretCore::getSnareDrum() const noexcept
{
    settle (snareDrumUnit);
    return *snareDrum;
}

const PulsaretLowTom& PulsaretCore::getLowTom() const noexcept
{
    settle (tomsUnit);
    return *lowTom;
}

const PulsaretHiTom& PulsaretCore::getHiTom() const noexcept
{
    settle (tomsUnit);
    return *hiTom;
}

const PulsaretCymbal& PulsaretCore::getCymbal() const noexcept
{
    settle (cymbalUnit);
    return *cymbal;
}

const PulsaretHiHats& PulsaretCore::getHiHats() const noexcept
{
    settle (hiHatsUnit);
    return *hiHats;
}
