#include "drummachine/DrumMap.h"

#include "drummachine/DrumVoiceNames.h"
#include "framework/NameText.h"
#include "framework/NumberText.h"
#include "framework/XmlAttributes.h"

void DrumMap::setName (const juce::String& newName)
{
    name = cleanName (newName);
}

void DrumMap::setInstrument (int key, int instrument) noexcept
{
    if (isKey (key) && instrument >= noInstrument && instrument < DrumVoiceNames::numInstruments)
        entries[(size_t) key] = instrument;
}

bool DrumMap::readXml (const juce::XmlElement& element)
{
    clear();

    const auto version = getAttributeIgnoringCase (element, "ver", "1.0");
    juce::String keyAttribute;

    if (version == "1.1")
    {
        setName (getAttributeIgnoringCase (element, "name"));
        keyAttribute = "midiKey";
    }
    else if (version == "1.0")
    {
        keyAttribute = "note";
    }
    else
    {
        return false;
    }

    for (auto* assign : element.getChildIterator())
    {
        if (!assign->getTagName().equalsIgnoreCase ("assign") || !hasAttributeIgnoringCase (*assign, keyAttribute))
            continue;

        const auto key = readIntegerText (getAttributeIgnoringCase (*assign, keyAttribute));
        const int instrument = DrumVoiceNames::findShortName (getAttributeIgnoringCase (*assign, "instrument"));

        // The accent track has no voice to play.
        if (key.has_value() && isKey (*key) && instrument >= 0 && instrument < DrumVoiceNames::numInstruments)
            entries[(size_t) *key] = instrument;
    }

    return true;
}

std::unique_ptr<juce::XmlElement> DrumMap::createXml (const juce::String& application) const
{
    auto element = std::make_unique<juce::XmlElement> ("DrumMap");
    element->setAttribute ("application", application);
    element->setAttribute ("ver", "1.1");
    element->setAttribute ("name", name);

    for (int instrument = 0; instrument < DrumVoiceNames::numInstruments; ++instrument)
    {
        for (int key = 0; key < numKeys; ++key)
        {
            if (entries[(size_t) key] != instrument)
                continue;

            auto* assign = element->createNewChildElement ("assign");
            assign->setAttribute ("midiKey", key);
            assign->setAttribute ("instrument", DrumVoiceNames::getShortName (instrument));
        }
    }

    return element;
}
