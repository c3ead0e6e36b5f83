#pragma once

#include "engine/EngineMath.h"
#include "engine/MetalShaper.h"
#include "engine/MetalShaperPair.h"
#include "engine/OpenHatPulseTrain.h"
#include "engine/PulsaretInstrument.h"

#include <algorithm>

/** Open and closed hi-hat in one object: both shape the engine's metal-high signal.
    Linked, both sound in one signal (renderWithInput); unlinked, each in its own
    (renderUnlinked). The open hat's decay is charged by the engine's pulse train
    (chargeOpen); the closed hat chokes the open one when its gate ends. */
class PulsaretHiHats : public PulsaretInstrument
{
public:
    virtual void triggerOpen (double velocity);
    virtual void triggerClosed (double velocity);

    void setOpenLevel (double value) noexcept;
    void setClosedLevel (double value) noexcept;
    void setClosedDecay (double value) noexcept;

    double renderWithInput (double metalHigh) override;
    void setSampleRate (double rate) override;

    /** renderWithInput from the metal-high signal's diode quotient less 1
        (MetalShaper::ratioOf<true> - 1), inline for the engine. */
    double renderLinked (double ratioLessOne) noexcept;

    /** The unlinked hats from the same quotient less 1: {open, closed}. */
    EngineMath::Pair renderUnlinked (double ratioLessOne) noexcept;

    /** count samples of the pulse train charging the open hat (chargeOpen) and the hats
        (renderLinked, or renderUnlinked), from the quotients less 1 {metal high, metal low};
        linked, the closed output is 0. */
    void renderBlock (OpenHatPulseTrain& pulseTrain, bool linked, const EngineMath::Pair* ratiosLessOne, double* openOut,
                      double* closedOut, int count) noexcept;

    /** True when silent with the levels the engine's render moves settled: every next sample
        gives 0 (the pulse train still charges the open hat). */
    bool isQuiet (bool linked) const noexcept
    {
        const double k = coefficients.levelSmoothing;
        return !active && staysPut (smoothedOpenLevel, openLevelTarget, k) && (linked || staysPut (smoothedClosedLevel, closedLevelTarget, k));
    }

    /** One sample of the engine's pulse train: moves the charge level towards the
        pulse and lets a high charge shorten the open hat's release. */
    void chargeOpen (double pulse) noexcept;

    /** count samples of the pulse train charging the open hat while the hats are quiet. */
    void chargeWhileQuiet (OpenHatPulseTrain& pulseTrain, int count) noexcept;

    double getOpenVelocity() const noexcept { return openVelocity; }
    double getCharge() const noexcept { return charge; }
    double getOpenReleaseCoefficient() const noexcept { return openRelease; }
    double getClosedDecayCoefficient() const noexcept { return closedDecayCoefficient; }

private:
    struct ReleaseState;

    void openGateStep() noexcept;
    void closedGateStep() noexcept;
    void envelopeStep() noexcept;
    bool canRenderRelease (bool linked) const noexcept;
    template <bool linked>
    int renderRelease (OpenHatPulseTrain& pulseTrain, const EngineMath::Pair* ratiosLessOne, double* openOut, double* closedOut,
                       int count) noexcept;

    double openLevel = 0.0, closedLevel = 0.0;
    double openLevelTarget = 0.0, smoothedOpenLevel = 0.0;
    double closedLevelTarget = 0.0, smoothedClosedLevel = 0.0;
    double openVelocity = 0.0, openGateCounter = -1.0, openGate = 0.0;
    double charge = 0.0; // q, driven by the engine
    double closedDriveLevel = 0.0, closedVelocity = 0.0, closedGateCounter = -1.0, closedGate = 0.0;
    double closedEnvelope = 0.0, closedEnvelopeCoefficient = 0.0;
    double openEnvelope1 = 0.0, openEnvelope1Coefficient = 0.0;
    double openEnvelope2 = 0.0, openRelease = 0.0; // r
    double openDriveLevel = 0.0;
    double closedDecay = 0.0, closedDecayCoefficient = 0.0;
    double rateGain = 0.0;   // 192000 / rate
    MetalShaperPair shapers; // the open hat in lane 0, the closed one in lane 1 (still while linked)
    double openOutput = 0.0, closedOutput = 0.0;
};

inline void PulsaretHiHats::chargeOpen (double pulse) noexcept
{
    const double k = coefficients.smoothing;
    if (charge > 0.5 && (double) coefficients.smoothingTimes00001Float != openRelease)
        openRelease = ((charge - 0.5) * 0.001 + 2e-05) * k + 1e-20;

    charge = charge - ((charge - pulse) * k * 7e-05 + 1e-20);
    if (charge > 1.0)
        charge = 1.0;
}

inline void PulsaretHiHats::chargeWhileQuiet (OpenHatPulseTrain& pulseTrain, int count) noexcept
{
    // chargeOpen on locals, which stay in registers across the loop.
    OpenHatPulseTrain train = pulseTrain;
    const double k = coefficients.smoothing, rate = coefficients.sampleRate;
    const double floatRelease = (double) coefficients.smoothingTimes00001Float;
    const double fall = 1.0 - k * 7e-05;
    double q = charge, r = openRelease;
    while (count > 0)
    {
        // Between bursts the charge only falls by a fixed factor (the 1e-20 guards below
        // an ulp of it), and a release that follows it only needs its last value: a run
        // of such samples in closed form. A run that takes the charge through 0.5 is stepped.
        const int run = std::min (count, (int) train.countdown);
        if (train.pulseValue == 0.0 && run > 1 && q <= 1.0)
        {
            const double beforeLast = q * EngineMath::integerPower (fall, run - 1) - 1e-20 * (run - 1);
            const bool followed = q > 0.5 && floatRelease != r;
            if (!followed || beforeLast > 0.5)
            {
                if (followed)
                    r = ((beforeLast - 0.5) * 0.001 + 2e-05) * k + 1e-20;
                q = beforeLast - (beforeLast * k * 7e-05 + 1e-20);
                train.countdown -= run;
                train.burstCounter -= run;
                count -= run;
                continue;
            }
        }

        const double pulse = train.step (rate, openVelocity);
        if (q > 0.5 && floatRelease != r)
            r = ((q - 0.5) * 0.001 + 2e-05) * k + 1e-20;

        q = q - ((q - pulse) * k * 7e-05 + 1e-20);
        if (q > 1.0)
            q = 1.0;
        --count;
    }
    charge = q;
    openRelease = r;
    pulseTrain = train;
}

inline void PulsaretHiHats::openGateStep() noexcept
{
    const double c = openGateCounter;
    openGateCounter = c - 1.0;
    if (c > -1.0 && c < 1.0) // (int) c == 0
    {
        const double k = coefficients.smoothing;
        openGate = 0.0;
        openRelease = k * 2e-05;
        openEnvelope1Coefficient = k * 0.000625;
    }
}

inline void PulsaretHiHats::closedGateStep() noexcept
{
    const double c = closedGateCounter;
    closedGateCounter = c - 1.0;
    if (c > -1.0 && c < 1.0) // (int) c == 0
    {
        const double k = coefficients.smoothing;
        closedGate = 0.0;
        // The closed hat chokes the open one when its gate ends.
        openRelease = k * 0.0003;
        openEnvelope1Coefficient = k * 0.1;
        closedEnvelopeCoefficient = k * closedDecayCoefficient;
    }
}

inline void PulsaretHiHats::envelopeStep() noexcept
{
    smoothTowards (openEnvelope1, openGate * openVelocity, openEnvelope1Coefficient);
    smoothTowards (openEnvelope2, openEnvelope1, openRelease);
    smoothTowards (closedEnvelope, closedGate * closedVelocity, closedEnvelopeCoefficient);
    closedDriveLevel = std::min (closedEnvelope, 1.0);
}

inline double PulsaretHiHats::renderLinked (double ratioLessOne) noexcept
{
    smoothTowards (smoothedOpenLevel, openLevelTarget, coefficients.levelSmoothing);

    openOutput = 0.0;

    if (active)
    {
        openGateStep();
        closedGateStep();

        // The open hat's shaper alone: the closed lane is put back as it was.
        const double lo = openDriveLevel; // from the previous sample
        const auto before = shapers.state;
        const auto y = shapers.process (EngineMath::Pair{ratioLessOne, ratioLessOne}, EngineMath::Pair{lo, 0.0});
        shapers.state = MetalShaperPair::firstLaneOf (shapers.state, before);
        openOutput = (lo * shapers.state.clipped[0] * 0.25 * 3.0 + y[0]) * 0.4374;

        openDriveLevel = std::max (0.0, (openEnvelope1 * 0.25 + openEnvelope2) - 0.05);
        openDriveLevel = std::max (0.0, closedDriveLevel + openDriveLevel);

        envelopeStep();
    }

    followPeak (openOutput);
    return openOutput * smoothedOpenLevel;
}

inline EngineMath::Pair PulsaretHiHats::renderUnlinked (double ratioLessOne) noexcept
{
    smoothTowards (smoothedOpenLevel, openLevelTarget, coefficients.levelSmoothing);
    smoothTowards (smoothedClosedLevel, closedLevelTarget, coefficients.levelSmoothing);

    openOutput = 0.0;
    closedOutput = 0.0;

    if (active)
    {
        openGateStep();
        closedGateStep();

        const EngineMath::Pair drive = {openDriveLevel, closedDriveLevel};
        const auto y = shapers.process (EngineMath::Pair{ratioLessOne, ratioLessOne}, drive);
        const EngineMath::Pair o = (drive * shapers.state.clipped * 0.75 + y) * 0.4374;
        openOutput = o[0];
        closedOutput = o[1];

        openDriveLevel = std::max (0.0, (openEnvelope1 * 0.25 + openEnvelope2) - 0.05);

        envelopeStep();
    }

    return EngineMath::Pair{openOutput * smoothedOpenLevel, closedOutput * smoothedClosedLevel};
}
