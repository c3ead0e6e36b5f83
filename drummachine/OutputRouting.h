#pragma once

#include "drummachine/DrumMachineConstants.h"
#include "drummachine/OutputSettings.h"
#include "drummachine/StateOwner.h"

#include <array>
#include <atomic>

class Parameter;
class ParameterManager;

/** Which output each instrument and the trigger pulse sound on, which instruments the
    mute and solo switches leave audible, and the routing a new instance starts with.
    The listener and the documents set it on the message thread; the audio thread reads
    the atomics. */
class OutputRouting : public DrumMachineConstants
{
public:
    static constexpr int numInstruments = DrumVoiceNames::numInstruments;
    using IntFlags = std::array<std::atomic<int>, numInstruments>;
    using BoolFlags = std::array<std::atomic<bool>, numInstruments>;

    OutputRouting (StateOwner& owner, ParameterManager& store);

    /** Takes a mute, solo or output number parameter; false for any other. */
    bool takeParameter (int uid, const Parameter& parameter);

    /** Every instrument on output 1, the trigger pulse on the last output. */
    void resetOutputAssignments();
    void resetDefaultOutputAssignments() { defaultOutputNumbers.fill (1); }
    void applyDefaultOutputAssignments();
    void updateInstrumentEnables();

    bool isInstrumentAudible (int instrument) const;
    int getOutputNumber (int instrument) const;
    int getDefaultOutputNumber (int instrument) const;
    void setDefaultOutputNumber (int instrument, int output);
    int getDefaultOutputMode() const noexcept { return defaultOutputMode; }
    void setDefaultOutputMode (int mode) noexcept { defaultOutputMode = mode == OutputSettings::monoOutputs ? mode : OutputSettings::stereoOutputs; }
    int getTriggerOutput() const noexcept { return triggerOutput.load(); }

    /** Ignored outside 1 to the number of outputs. */
    void setTriggerOutput (int output);

    /** The plug-in state's routing, with the engine's trigger-out switch and instrument. */
    bool readStateXml (const juce::XmlElement& element);
    std::unique_ptr<juce::XmlElement> createStateXml() const;

    /** The settings file's: the routing and output mode a new instance starts with. */
    bool readSettingsXml (const juce::XmlElement& element);
    std::unique_ptr<juce::XmlElement> createSettingsXml() const;

    // Read by the audio thread.
    const IntFlags& getOutputNumbers() const noexcept { return outputNumbers; }
    const BoolFlags& getAudibleFlags() const noexcept { return audibleFlags; }
    const std::atomic<int>& getTriggerOutputFlag() const noexcept { return triggerOutput; }

private:
    OutputSettings getSettingsInForce() const;
    void setOutputNumbers (const std::array<int, numInstruments>& outputs);

    StateOwner& owner;
    ParameterManager& store;

    BoolFlags muteFlags{}, soloFlags{}, audibleFlags{};
    IntFlags outputNumbers{};
    std::atomic<int> triggerOutput{8};

    int defaultOutputMode = OutputSettings::stereoOutputs;
    std::array<int, numInstruments> defaultOutputNumbers{};
};
