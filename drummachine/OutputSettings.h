#pragma once

#include "drummachine/DrumVoiceNames.h"

#include <juce_core/juce_core.h>

#include <array>
#include <memory>

/** The output routing as stored: an output number (1 to the number of outputs) per
    instrument, with either the trigger output's switch and instrument (the plug-in
    state's "AudioOutputSettings") or the output mode (the settings file's). Read into
    a copy of the values in force, so whatever a document lacks or gets wrong keeps its
    previous value. */
class OutputSettings
{
public:
    enum OutputMode
    {
        stereoOutputs = 0,
        monoOutputs = 1
    };

    static constexpr int numInstruments = DrumVoiceNames::numInstruments;

    std::array<int, numInstruments> outputs{1, 1, 1, 1, 1, 1, 1};
    bool triggerOutEnabled = false;
    int triggerOutInstrument = 0;
    int triggerOutOutput = 0; // 1 to the number of outputs; 0 when the document named none
    int outputMode = stereoOutputs;

    /** Set by readXml when the document held a "TriggerOut" element. */
    bool triggerOutRead = false;

    /** "TriggerOut" then "OutAssignations". */
    std::unique_ptr<juce::XmlElement> createStateXml() const;

    /** "OutCharacteristics" then "OutAssignations". */
    std::unique_ptr<juce::XmlElement> createSettingsXml() const;

    /** False, changing nothing, unless the tag is "AudioOutputSettings". An output
        number is taken only within 1..numOutputs. */
    bool readXml (const juce::XmlElement& element, int numOutputs);

    static bool isOutputSettingsXml (const juce::XmlElement& element);

private:
    void addAssignations (juce::XmlElement& parent) const;
};
