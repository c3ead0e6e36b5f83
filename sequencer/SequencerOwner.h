#pragma once

#include <juce_core/juce_core.h>

/** What the sequencer needs of the instrument that owns it: the document name and
    file prefix, the velocity constants, and the one road by which a step strikes a
    voice. The sequencer knows no engine: the owner turns strikes into sound. */
class SequencerOwner
{
public:
    virtual ~SequencerOwner() = default;

    /** The "application" attribute of every pattern document. */
    virtual juce::String getPluginName() const = 0;

    /** The two letters that begin the pattern file extensions. */
    virtual juce::String getPluginPrefix() const = 0;

    virtual double getNormalVelocity() = 0;
    virtual double getStrongVelocityIncrement() = 0;
    virtual double getAccentVelocityIncrement() = 0;

    /** The "Accent Level" parameter, 0 to 1. */
    virtual double getAccentLevel() = 0;

    /** Strikes track 0-7 (7 the accent track) at the current sample. Audio thread. */
    virtual void triggerInstrument (int track, float velocity) = 0;

    /** Strikes a voice from a step: strong for a step value of 2 in its own track,
        accented when the accent track has the step. Audio thread. */
    virtual void triggerStep (int track, bool strong, bool accented) = 0;

    /** Tapped steps were written into the playing pattern. Audio thread. */
    virtual void updateStepDisplay() = 0;
};
