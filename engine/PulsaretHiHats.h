#pragma once

#include "engine/MetalShaper.h"
#include "engine/PulsaretInstrument.h"

/** Open and closed hi-hat in one object: both shape the engine's metal-high signal.
    Linked, both sound in one signal (renderWithInput); unlinked, the engine calls
    renderOpen and then renderClosed. The open hat's decay is charged by the engine's
    pulse train (chargeOpen); the closed hat chokes the open one when its gate ends. */
class PulsaretHiHats : public PulsaretInstrument
{
public:
    virtual void triggerOpen (double velocity);
    virtual void triggerClosed (double velocity);

    void setOpenLevel (double value) noexcept;
    void setClosedLevel (double value) noexcept;
    void setClosedDecay (double value) noexcept;

    double renderWithInput (double metalHigh) override;
    double renderOpen (double metalHigh) noexcept;
    double renderClosed (double metalHigh) noexcept;
    void setSampleRate (double rate) override;

    /** One sample of the engine's pulse train: moves the charge level towards the
        pulse and lets a high charge shorten the open hat's release. */
    void chargeOpen (double pulse) noexcept;

    double getOpenVelocity() const noexcept { return openVelocity; }
    double getCharge() const noexcept { return charge; }
    double getOpenReleaseCoefficient() const noexcept { return openRelease; }
    double getClosedDecayCoefficient() const noexcept { return closedDecayCoefficient; }

private:
    void openGateStep() noexcept;
    void closedGateStep() noexcept;
    void envelopeStep() noexcept;

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
    double rateGain = 0.0; // 192000 / rate
    MetalShaper openShaper, closedShaper;
    double openOutput = 0.0, closedOutput = 0.0;
};
