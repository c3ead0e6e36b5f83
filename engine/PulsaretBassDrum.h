#pragma once

#include "engine/OnePoleHighPass.h"
#include "engine/PulsaretInstrument.h"
#include "engine/StateVariableFilter.h"

/** Bass drum: a gate pulse rings two resonant filters (61.34 and 130 Hz at tune 0.5),
    mixed through a click low-pass, the step-hold kink and a DC blocker. */
class PulsaretBassDrum : public PulsaretInstrument
{
public:
    void setLevel (double value) noexcept;
    void setTune (double value) noexcept;
    void setAttack (double value) noexcept;
    void setDecay (double value) noexcept;

    double render() override;
    void trigger (double velocity) override;
    void setSampleRate (double rate) override;

    double getAttackGainTarget() const noexcept { return attackGainTarget; }
    double getClickCoefficient() const noexcept { return clickCoefficient; }

private:
    void updateTune() noexcept;
    void updateAttack() noexcept;

    double tune = 0.0, attack = 0.0, decay = 0.0, level = 0.0;
    double tuneTerm = 0.0, attackTerm = 0.0, decayTerm = 0.0;
    double levelTarget = 0.0, smoothedLevel = 0.0;
    double attackGainTarget = 0.0, attackGain = 0.0;
    double gateCounter = 0.0, gate = 0.0, drive = 0.0, smoothedGate = 0.0, gateSmoothing = 0.0;
    OnePoleHighPass dcBlocker;
    double click = 0.0, clickCoefficient = 0.0;
    StateVariableFilter svf1;
    double f1 = 0.0, q1 = 0.0, y1 = 0.0;
    StateVariableFilter svf2;
    double f2 = 0.0, q2 = 0.0, y2 = 0.0;
    double output = 0.0;
};
