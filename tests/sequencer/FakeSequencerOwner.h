#pragma once

#include "sequencer/SequencerOwner.h"

#include <vector>

/** Records every strike the sequencer makes. */
class FakeSequencerOwner : public SequencerOwner
{
public:
    struct Strike
    {
        int track;
        bool strong;
        bool accented;
        float velocity;

        bool operator== (const Strike& o) const
        {
            return track == o.track && strong == o.strong && accented == o.accented && velocity == o.velocity;
        }
    };

    juce::String getPluginName() const override { return "Pulsaret"; }
    juce::String getPluginPrefix() const override { return "PX"; }
    double getNormalVelocity() override { return 48.0 / 127.0; }
    double getStrongVelocityIncrement() override { return 0.377; }
    double getAccentVelocityIncrement() override { return 0.623; }
    double getAccentLevel() override { return accentLevel; }

    void triggerInstrument (int track, float velocity) override { strikes.push_back ({track, false, false, velocity}); }
    void triggerStep (int track, bool strong, bool accented) override { strikes.push_back ({track, strong, accented, 0.0f}); }
    void updateStepDisplay() override { ++displayUpdates; }

    double accentLevel = 0.5;
    std::vector<Strike> strikes;
    int displayUpdates = 0;
};
