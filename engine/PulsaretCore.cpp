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
#include <cstring>
#include <limits>

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
        case SoundParameter::tomsLinkMode:
            tomsLinked = value >= 0.5f;
            break;
        case SoundParameter::hiHatsLinkMode:
            hiHatsLinked = value >= 0.5f;
            break;
        case SoundParameter::mainVolume:
            mainVolumeTarget = (double) (value * mainVolumeMaximum);
            break;
        case SoundParameter::openHiHatDecay:
            openHatDecay = v;
            pulseTrain.reloadLength = (int32_t) std::max (0.0, v * coefficients.rateRatio * openHatPulseSpacing);
            break;
        default:
            applyVoiceParameter (parameter, v);
            break;
    }
}

void PulsaretCore::applyVoiceParameter (SoundParameter parameter, double v) noexcept
{
    switch (parameter)
    {
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
        case SoundParameter::closedHiHatDecay:
            hiHats->setClosedDecay (v);
            break;
        default:
            break; // the accent level is the drum machine's
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
    settledVolume = settledVolumeTarget = std::numeric_limits<double>::quiet_NaN();

    // The noise restarts from the same registers at every rate change, so renders repeat exactly.
    noiseCoefficient = std::exp (-2.0 * 3.141592653589793 * 2000.0 / r);
    noiseState = 0.0;
    noiseA = 0xEFCDAB89u;
    noiseB = 0x67452301u;

    for (size_t i = 0; i < SquareOscillators::count; ++i)
    {
        const double period = r * oscillatorPeriods[i];
        oscillators.period[i] = period;
        oscillators.threshold[i] = std::trunc (period * oscillatorDuties[i]);
        oscillators.phase[i] = 0.0;
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

    // A settled volume stays where it is until its target or the rate changes.
    if (mainVolume != settledVolume || mainVolumeTarget != settledVolumeTarget)
    {
        const double next = mainVolume - ((mainVolume - mainVolumeTarget) * coefficients.levelSmoothing + 1e-20);
        if (next == mainVolume)
        {
            settledVolume = mainVolume;
            settledVolumeTarget = mainVolumeTarget;
        }
        mainVolume = next;
    }
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
    auto& f = shared;
    f.blockStart = f.generated;
    f.generated += blockLength;
    f.noiseReady = f.metalReady = false;
    const auto at = (size_t) (f.blockStart & (SharedFilters::historyLength - 1));

    // An oscillator's output is +0.5 while high, else -0.5, so the six sum to the count of
    // those high less 3 (exact).
    std::array<int, blockLength + 1> changes{};
    countHighOscillators (changes);

    uint32_t a = noiseA, b = noiseB;
    int high = 0;
    for (size_t n = 0; n < (size_t) blockLength; ++n)
    {
        // Noise: single-precision scaling of the previous register b, as the voices' character expects.
        f.noiseInput[at + n] = (float) (int32_t) b * noiseScale;
        a = a ^ b;
        b = a + b;

        high += changes[n];
        f.metalInput[at + n] = (float) (high - 3);
    }
    noiseA = a;
    noiseB = b;

    position = 0;
    ahead.renderedUntil.fill (0);
    ahead.earliest = 0;
}

void PulsaretCore::countHighOscillators (std::array<int, blockLength + 1>& changes) noexcept
{
    // A sample at a time, a phase p is past the threshold T while p > T, and past the period P
    // it wraps: the next phase is (p + 1) - P, else p + 1. Between wraps, the phase k samples on
    // is p + k rounded once (adding 1 is exact below the period's next power of two, and past
    // it exact again after the one rounding), so a run's crossings follow from T - p and P - p,
    // both exact. Each run adds one to the count from its first sample past T to its wrap.
    for (size_t i = 0; i < SquareOscillators::count; ++i)
    {
        const double period = oscillators.period[i], threshold = oscillators.threshold[i];
        double p = oscillators.phase[i];
        int n = 0;
        while (n < blockLength)
        {
            const int rise = n + (p > threshold ? 0 : (int) (threshold - p) + 1);
            const int wrap = n + (p > period ? 0 : (int) (period - p) + 1);
            if (rise < blockLength)
                ++changes[(size_t) rise];
            if (wrap >= blockLength)
            {
                p += (double) (blockLength - n);
                break;
            }
            --changes[(size_t) wrap + 1];
            p = (p + (double) (wrap - n + 1)) - period;
            n = wrap + 1;
        }
        oscillators.phase[i] = p;
    }
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
            state = ((1.0 - c) * f.noiseInput[(size_t) (t & mask)] + 1e-20) + c * state;
    }

    // Two samples a step: the second from the state two back by c squared, so a pair of samples
    // waits on one product and one sum.
    const auto at = (size_t) (f.blockStart & mask);
    static_assert (blockLength % 2 == 0);
    const double cc = c * c;
    for (size_t n = 0; n < (size_t) blockLength; n += 2)
    {
        const double first = (1.0 - c) * f.noiseInput[at + n] + 1e-20;
        const double second = (1.0 - c) * f.noiseInput[at + n + 1] + 1e-20;
        noiseBlock[n] = (first + c * state) * 1.5;
        state = (second + c * first) + cc * state;
        noiseBlock[n + 1] = state * 1.5;
    }

    noiseState = state;
    f.noiseDoneUntil = f.blockStart + blockLength;
    f.noiseReady = true;
}

void PulsaretCore::prepareRatios() const noexcept
{
    auto& f = shared;
    if (f.metalReady)
        return;

    // Both band-passes (b1 is 0 and b2 is -b0), one in each lane. The previous output's term
    // comes last: a sample waits on one product and one sum.
    constexpr int64_t mask = SharedFilters::historyLength - 1;
    auto m = metalFilters;
    const auto step = [&m] (double sum) noexcept
    {
        const EngineMath::Pair y = ((m.b0 * (sum - m.x2) + 1e-20) - m.a2 * m.y2) - m.a1 * m.y1;
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

    // The recursion first, then the quotients, which depend on nothing but their sample.
    const auto at = (size_t) (f.blockStart & mask);
    for (size_t n = 0; n < (size_t) blockLength; ++n)
        ahead.ratios[n] = step (f.metalInput[at + n]);
    for (auto& r : ahead.ratios)
        r = MetalShaper::guardedRatiosOf (r) - 1.0;

    metalFilters = m;
    f.metalDoneUntil = f.blockStart + blockLength;
    f.metalReady = true;
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

void PulsaretCore::fillQuiet (int channel, int from, int to, double value) const noexcept
{
    // A channel that stayed quiet holds the same value over the whole block already.
    auto& a = ahead;
    const auto c = (size_t) channel;
    if (a.wholeBlockQuiet[c] && std::memcmp (&a.quietValue[c], &value, sizeof (value)) == 0)
        return;

    std::fill (a.out[c].begin() + from, a.out[c].begin() + to, value);
    a.wholeBlockQuiet[c] = from == 0 && to == blockLength;
    a.quietValue[c] = value;
}

unsigned int PulsaretCore::fillQuietUnits (unsigned int units, int from, int to) const noexcept
{
    unsigned int quiet = 0;

    if ((units & unitBit (bassDrumUnit)) != 0 && bassDrum->isQuiet())
    {
        fillQuiet (0, from, to, bassDrum->quietOutput());
        quiet |= unitBit (bassDrumUnit);
    }
    if ((units & unitBit (snareDrumUnit)) != 0 && snareDrum->isQuiet())
    {
        fillQuiet (1, from, to, 0.0);
        quiet |= unitBit (snareDrumUnit);
    }
    if ((units & unitBit (tomsUnit)) != 0 && PulsaretTom::pairIsQuiet (*lowTom, *hiTom, tomsLinked))
    {
        fillQuiet (2, from, to, 0.0);
        fillQuiet (3, from, to, 0.0);
        quiet |= unitBit (tomsUnit);
    }
    if ((units & unitBit (cymbalUnit)) != 0 && cymbal->isQuiet())
    {
        fillQuiet (4, from, to, 0.0);
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
    const auto begin = (size_t) from;

    // The hi-hats' pulse train runs on while they are quiet.
    if ((units & unitBit (hiHatsUnit)) != 0 && hiHats->isQuiet (hiHatsLinked))
    {
        fillQuiet (5, from, to, 0.0);
        fillQuiet (6, from, to, 0.0);
        hiHats->chargeWhileQuiet (pulseTrain, to - from);
        units &= ~unitBit (hiHatsUnit);
    }

    constexpr int firstChannel[numUnits + 1] = {0, 1, 2, 4, 5, numInstruments};
    for (int unit = 0; unit < numUnits; ++unit)
        if ((units & unitBit (unit)) != 0)
            for (int channel = firstChannel[unit]; channel < firstChannel[unit + 1]; ++channel)
                ahead.wholeBlockQuiet[(size_t) channel] = false;

    if ((units & (unitBit (snareDrumUnit) | unitBit (tomsUnit))) != 0)
        filterNoise();

    // A silent voice does not read its input.
    if (((units & unitBit (cymbalUnit)) != 0 && cymbal->isActive()) || ((units & unitBit (hiHatsUnit)) != 0 && hiHats->isActive()))
        prepareRatios();

    if ((units & unitBit (cymbalUnit)) != 0)
        cymbal->renderBlock (ahead.ratios.data() + from, o[4].data() + from, to - from);
    if ((units & unitBit (hiHatsUnit)) != 0)
        hiHats->renderBlock (pulseTrain, hiHatsLinked, ahead.ratios.data() + from, o[5].data() + from, o[6].data() + from, to - from);

    if ((units & unitBit (bassDrumUnit)) != 0)
        bassDrum->renderRun (&o[0][begin], to - from);
    if ((units & unitBit (snareDrumUnit)) != 0)
        snareDrum->renderRun (&noiseBlock[begin], &o[1][begin], to - from);
    if ((units & unitBit (tomsUnit)) != 0)
        PulsaretTom::renderPair (*lowTom, *hiTom, &noiseBlock[begin], &o[2][begin], &o[3][begin], to - from, tomsLinked);
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
