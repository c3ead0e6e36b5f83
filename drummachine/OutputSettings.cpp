#include "drummachine/OutputSettings.h"

#include "framework/BasePlugin.h"
#include "framework/NumberText.h"
#include "framework/XmlAttributes.h"

bool OutputSettings::isOutputSettingsXml (const juce::XmlElement& element)
{
    return element.getTagName().equalsIgnoreCase ("AudioOutputSettings");
}

void OutputSettings::addAssignations (juce::XmlElement& parent) const
{
    auto* assignations = parent.createNewChildElement ("OutAssignations");

    for (int i = 0; i < numInstruments; ++i)
        assignations->createNewChildElement (DrumVoiceNames::getShortName (i))->setAttribute ("out", outputs[(size_t) i]);
}

std::unique_ptr<juce::XmlElement> OutputSettings::createStateXml() const
{
    auto element = std::make_unique<juce::XmlElement> ("AudioOutputSettings");
    auto trigger = BasePlugin::createStateElement ("TriggerOut", triggerOutEnabled);
    trigger->setAttribute ("instrument", DrumVoiceNames::getShortName (triggerOutInstrument));

    if (triggerOutOutput > 0)
        trigger->setAttribute ("out", triggerOutOutput);

    element->addChildElement (trigger.release());
    addAssignations (*element);
    return element;
}

std::unique_ptr<juce::XmlElement> OutputSettings::createSettingsXml() const
{
    auto element = std::make_unique<juce::XmlElement> ("AudioOutputSettings");
    element->createNewChildElement ("OutCharacteristics")->setAttribute ("type", outputMode == monoOutputs ? "mono" : "stereo");
    addAssignations (*element);
    return element;
}

bool OutputSettings::readXml (const juce::XmlElement& element, int numOutputs)
{
    if (!isOutputSettingsXml (element))
        return false;

    for (auto* child : element.getChildIterator())
    {
        if (child->getTagName().equalsIgnoreCase ("TriggerOut"))
        {
            triggerOutRead = true;
            triggerOutEnabled = BasePlugin::isStateOn (*child);
            const int track = DrumVoiceNames::findShortName (getAttributeIgnoringCase (*child, "instrument"));

            if (track >= 0)
                triggerOutInstrument = track;

            const int out = readIntegerAttribute (*child, "out", 0).value_or (0);
            triggerOutOutput = out >= 1 && out <= numOutputs ? out : 0;
        }
        else if (child->getTagName().equalsIgnoreCase ("OutCharacteristics"))
        {
            const auto type = getAttributeIgnoringCase (*child, "type");

            if (type == "mono")
                outputMode = monoOutputs;
            else if (type == "stereo")
                outputMode = stereoOutputs;
        }
        else if (child->getTagName().equalsIgnoreCase ("OutAssignations"))
        {
            for (auto* assignation : child->getChildIterator())
            {
                const int instrument = DrumVoiceNames::findShortName (assignation->getTagName());

                if (instrument < 0 || instrument >= numInstruments)
                    continue;

                const int out = readIntegerAttribute (*assignation, "out", 0).value_or (0);

                if (out >= 1 && out <= numOutputs)
                    outputs[(size_t) instrument] = out;
            }
        }
    }

    return true;
}
