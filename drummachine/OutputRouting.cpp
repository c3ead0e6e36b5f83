#include "drummachine/OutputRouting.h"

#include "engine/DrumMachineCore.h"
#include "framework/ParameterManager.h"

OutputRouting::OutputRouting (StateOwner& o, ParameterManager& s)
    : owner (o)
    , store (s)
{
    for (int i = 0; i < numInstruments; ++i)
    {
        muteFlags[(size_t) i].store (false);
        soloFlags[(size_t) i].store (false);
        audibleFlags[(size_t) i].store (true);
        outputNumbers[(size_t) i].store (1);
    }

    defaultOutputNumbers.fill (1);
}

bool OutputRouting::takeParameter (int uid, const Parameter& parameter)
{
    static_assert (ParameterId::muteCount == numInstruments && ParameterId::soloCount == numInstruments && ParameterId::outputNumberCount == numInstruments,
                   "one mute, solo and output number per voice");

    if (uid >= ParameterId::firstMute && uid < ParameterId::firstSolo + ParameterId::soloCount)
    {
        const bool mute = uid < ParameterId::firstSolo;
        auto& flags = mute ? muteFlags : soloFlags;
        flags[(size_t) (uid - (mute ? ParameterId::firstMute : ParameterId::firstSolo))] = parameter.getBoolValue();
        updateInstrumentEnables();
        return true;
    }

    if (uid >= ParameterId::firstOutputNumber && uid < ParameterId::firstOutputNumber + ParameterId::outputNumberCount)
    {
        outputNumbers[(size_t) (uid - firstOutputNumberUid)] = parameter.getIntValue();
        return true;
    }

    return false;
}

void OutputRouting::setOutputNumbers (const std::array<int, numInstruments>& outputs)
{
    for (int i = 0; i < numInstruments; ++i)
    {
        outputNumbers[(size_t) i] = outputs[(size_t) i];
        store.setIntValue (firstOutputNumberUid + i, outputs[(size_t) i]);
    }
}

void OutputRouting::resetOutputAssignments()
{
    setOutputNumbers ({1, 1, 1, 1, 1, 1, 1});
    triggerOutput = owner.getNumOutputs();
}

void OutputRouting::setTriggerOutput (int output)
{
    if (output >= 1 && output <= owner.getNumOutputs())
        triggerOutput = output;
}

void OutputRouting::applyDefaultOutputAssignments()
{
    setOutputNumbers (defaultOutputNumbers);
}

void OutputRouting::updateInstrumentEnables()
{
    bool anySolo = false;

    for (auto& solo : soloFlags)
        anySolo = anySolo || solo.load();

    for (int i = 0; i < numInstruments; ++i)
        audibleFlags[(size_t) i] = anySolo ? soloFlags[(size_t) i].load() : !muteFlags[(size_t) i].load();
}

bool OutputRouting::isInstrumentAudible (int instrument) const
{
    return juce::isPositiveAndBelow (instrument, numInstruments) && audibleFlags[(size_t) instrument].load();
}

int OutputRouting::getOutputNumber (int instrument) const
{
    return juce::isPositiveAndBelow (instrument, numInstruments) ? outputNumbers[(size_t) instrument].load() : 0;
}

int OutputRouting::getDefaultOutputNumber (int instrument) const
{
    return juce::isPositiveAndBelow (instrument, numInstruments) ? defaultOutputNumbers[(size_t) instrument] : 0;
}

void OutputRouting::setDefaultOutputNumber (int instrument, int output)
{
    if (juce::isPositiveAndBelow (instrument, numInstruments) && output >= 1 && output <= owner.getNumOutputs())
        defaultOutputNumbers[(size_t) instrument] = output;
}

OutputSettings OutputRouting::getSettingsInForce() const
{
    OutputSettings settings;

    for (int i = 0; i < numInstruments; ++i)
        settings.outputs[(size_t) i] = outputNumbers[(size_t) i].load();

    if (auto* core = owner.getCore())
    {
        settings.triggerOutEnabled = core->isTriggerOutEnabled();
        settings.triggerOutInstrument = core->getTriggerOutInstrument();
    }

    return settings;
}

bool OutputRouting::readStateXml (const juce::XmlElement& element)
{
    auto settings = getSettingsInForce();

    if (!settings.readXml (element, owner.getNumOutputs()))
        return false;

    auto* core = owner.getCore();

    if (core != nullptr && settings.triggerOutRead)
    {
        core->setTriggerOutEnabled (settings.triggerOutEnabled);
        core->updateTriggerOut();
        core->setTriggerOutInstrument (settings.triggerOutInstrument);
    }

    // Projects saved before the output was stored load with the last output, as then.
    triggerOutput = settings.triggerOutOutput > 0 ? settings.triggerOutOutput : owner.getNumOutputs();
    setOutputNumbers (settings.outputs);
    return true;
}

std::unique_ptr<juce::XmlElement> OutputRouting::createStateXml() const
{
    auto settings = getSettingsInForce();
    settings.triggerOutOutput = triggerOutput.load();
    return settings.createStateXml();
}

bool OutputRouting::readSettingsXml (const juce::XmlElement& element)
{
    OutputSettings settings;
    settings.outputs = defaultOutputNumbers;
    settings.outputMode = defaultOutputMode;

    if (!settings.readXml (element, owner.getNumOutputs()))
        return false;

    defaultOutputNumbers = settings.outputs;
    defaultOutputMode = settings.outputMode;
    return true;
}

std::unique_ptr<juce::XmlElement> OutputRouting::createSettingsXml() const
{
    OutputSettings settings;
    settings.outputs = defaultOutputNumbers;
    settings.outputMode = defaultOutputMode;
    return settings.createSettingsXml();
}
