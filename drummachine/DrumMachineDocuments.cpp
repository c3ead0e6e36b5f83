#include "drummachine/DrumMachineDocuments.h"

#include "framework/BasePlugin.h"
#include "framework/EmbeddedResources.h"
#include "framework/XmlAttributes.h"
#include "framework/XmlDocuments.h"
#include "sequencer/DrumMachineSeq.h"

namespace
{
bool tagIs (const juce::XmlElement& element, const char* tag)
{
    return element.getTagName().equalsIgnoreCase (tag);
}

bool isOn (const juce::XmlElement& element)
{
    return getAttributeIgnoringCase (element, "state") == "on";
}
} // namespace

DrumMachineDocuments::DrumMachineDocuments (StateOwner& o, OutputRouting& r, DrumMap& map, const juce::CriticalSection& lock)
    : owner (o)
    , routing (r)
    , drumMap (map)
    , callbackLock (lock)
{
}

//==============================================================================
void DrumMachineDocuments::readPluginState (const juce::XmlElement& element)
{
    auto* sequencer = owner.getSequencer();

    for (auto* child : element.getChildIterator())
    {
        if (OutputSettings::isOutputSettingsXml (*child))
            routing.readStateXml (*child);
        else if (isDrumMapXml (*child))
            readDrumMapXml (*child);
        else if (tagIs (*child, "InternalSequencer"))
            readInternalSequencerStateXml (*child);
        else if (tagIs (*child, "PatternsState") && sequencer != nullptr)
            sequencer->readPatternsStateXml (*child);
    }
}

void DrumMachineDocuments::addToPluginState (juce::XmlElement& state) const
{
    state.insertChildElement (createInternalSequencerStateXml().release(), 0);
    state.insertChildElement (routing.createStateXml().release(), 1);

    if (auto* sequencer = owner.getSequencer())
        state.insertChildElement (sequencer->createPatternsStateXml().release(), 2);

    state.addChildElement (createDrumMapXml().release());
}

void DrumMachineDocuments::readUserSettings (const juce::XmlElement& element)
{
    for (auto* child : element.getChildIterator())
    {
        if (OutputSettings::isOutputSettingsXml (*child))
            routing.readSettingsXml (*child);
        else if (tagIs (*child, "InternalSequencer"))
            readInternalSequencerSettingsXml (*child);
    }
}

void DrumMachineDocuments::addToUserSettings (juce::XmlElement& settings) const
{
    settings.addChildElement (routing.createSettingsXml().release());
    settings.addChildElement (createInternalSequencerSettingsXml().release());
}

void DrumMachineDocuments::readResourcesSettings (const juce::XmlElement& element)
{
    for (auto* child : element.getChildIterator())
    {
        if (tagIs (*child, "DMSeqRes"))
        {
            if (auto* sequencer = owner.getSequencer())
                sequencer->readResourcesXml (*child);
        }
        else if (tagIs (*child, "DrumMap"))
        {
            readDrumMapStartupXml (*child);
        }
    }
}

void DrumMachineDocuments::addToResourcesSettings (juce::XmlElement& resources) const
{
    resources.addChildElement (createDrumMapStartupXml().release());

    if (auto* sequencer = owner.getSequencer())
        resources.addChildElement (sequencer->createResourcesXml().release());
}

//==============================================================================
void DrumMachineDocuments::readInternalSequencerStateXml (const juce::XmlElement& element)
{
    // Applied in the document's order, as each switch publishes what follows from it.
    for (auto* child : element.getChildIterator())
    {
        if (tagIs (*child, "IntSeq"))
            owner.setInternalSequencer (isOn (*child));
        else if (tagIs (*child, "IntSync"))
            owner.setInternalSync (isOn (*child));
        else if (tagIs (*child, "HostMode"))
            owner.setHostMode (isOn (*child));
        else if (tagIs (*child, "NoteOff"))
            owner.setNoteOffMode (isOn (*child));
        else if (tagIs (*child, "PattWriteMode"))
            owner.setPatternWriteMode (isOn (*child));
        else if (tagIs (*child, "AutoFollow"))
            owner.setAutoFollow (isOn (*child));
        else if (tagIs (*child, "DMSeqEditionState") && owner.getSequencer() != nullptr)
            owner.getSequencer()->readEditionStateXml (*child);
    }
}

std::unique_ptr<juce::XmlElement> DrumMachineDocuments::createInternalSequencerStateXml() const
{
    auto element = std::make_unique<juce::XmlElement> ("InternalSequencer");
    element->addChildElement (BasePlugin::createStateElement ("IntSeq", owner.isInternalSequencerOn()).release());
    element->addChildElement (BasePlugin::createStateElement ("IntSync", owner.isInternalSyncOn()).release());
    element->addChildElement (BasePlugin::createStateElement ("HostMode", owner.isHostModeOn()).release());
    element->addChildElement (BasePlugin::createStateElement ("NoteOff", owner.isNoteOffModeOn()).release());
    element->addChildElement (BasePlugin::createStateElement ("PattWriteMode", owner.isEditing()).release());
    element->addChildElement (BasePlugin::createStateElement ("AutoFollow", owner.isAutoFollowActive()).release());

    if (auto* sequencer = owner.getSequencer())
        element->addChildElement (sequencer->createEditionStateXml().release());

    return element;
}

void DrumMachineDocuments::readInternalSequencerSettingsXml (const juce::XmlElement& element)
{
    if (!tagIs (element, "InternalSequencer"))
        return;

    bool intSeq = owner.getInternalSequencerDefault(), intSync = owner.getInternalSyncDefault();
    bool host = owner.getHostModeDefault(), noteOff = owner.getNoteOffDefault();

    for (auto* child : element.getChildIterator())
    {
        if (tagIs (*child, "IntSeq"))
            intSeq = isOn (*child);
        else if (tagIs (*child, "IntSync"))
            intSync = isOn (*child);
        else if (tagIs (*child, "HostMode"))
            host = isOn (*child);
        else if (tagIs (*child, "NoteOff"))
            noteOff = isOn (*child);
        else if (tagIs (*child, "HostPlayDetection"))
        {
            const auto type = getAttributeIgnoringCase (*child, "type");

            if (type == "byTransportChange")
                owner.setHostPlayDetection (byTransportChange);
            else if (type == "byLowestCNoteOn")
                owner.setHostPlayDetection (byLowestCNoteOn);
        }
    }

    owner.setModeDefaults (intSeq, intSync, host, noteOff);
}

std::unique_ptr<juce::XmlElement> DrumMachineDocuments::createInternalSequencerSettingsXml() const
{
    auto element = std::make_unique<juce::XmlElement> ("InternalSequencer");
    element->addChildElement (BasePlugin::createStateElement ("IntSeq", owner.getInternalSequencerDefault()).release());
    element->addChildElement (BasePlugin::createStateElement ("IntSync", owner.getInternalSyncDefault()).release());
    element->addChildElement (BasePlugin::createStateElement ("HostMode", owner.getHostModeDefault()).release());
    element->addChildElement (BasePlugin::createStateElement ("NoteOff", owner.getNoteOffDefault()).release());
    element->createNewChildElement ("HostPlayDetection")
        ->setAttribute ("type", owner.getHostPlayDetection() == byTransportChange ? "byTransportChange" : "byLowestCNoteOn");
    return element;
}

//==============================================================================
void DrumMachineDocuments::clearDrumMap()
{
    const juce::ScopedLock sl (callbackLock);
    drumMap.clear();
}

juce::String DrumMachineDocuments::getInstrumentNameForKey (int key) const
{
    const int instrument = drumMap.getInstrument (key);
    return instrument >= 0 ? DrumVoiceNames::getName (instrument) : juce::String();
}

bool DrumMachineDocuments::isDrumMapXml (const juce::XmlElement& element) const
{
    return tagIs (element, "DrumMap") && hasAttributeIgnoringCase (element, "application") && getAttributeIgnoringCase (element, "application").equalsIgnoreCase (owner.getPluginName());
}

bool DrumMachineDocuments::readDrumMapXml (const juce::XmlElement& element)
{
    if (!isDrumMapXml (element))
        return false;

    DrumMap fresh;
    fresh.setName (drumMap.getName());

    if (!fresh.readXml (element))
        return false;

    const juce::ScopedLock sl (callbackLock);
    drumMap = fresh;
    return true;
}

std::unique_ptr<juce::XmlElement> DrumMachineDocuments::createDrumMapXml() const
{
    return drumMap.createXml (owner.getPluginName());
}

bool DrumMachineDocuments::loadDrumMapFile (const juce::File& file)
{
    auto document = parseXmlDocument (file);

    if (document == nullptr || !readDrumMapXml (*document))
        return false;

    owner.refreshHostDisplay();
    return true;
}

bool DrumMachineDocuments::saveDrumMapFile (const juce::File& file) const
{
    return writeXmlDocument (*createDrumMapXml(), file);
}

bool DrumMachineDocuments::loadFactoryDrumMap()
{
    auto document = parseXmlText (loadXmlResource ("default" + getDrumMapFileExtension()));
    return document != nullptr && readDrumMapXml (*document);
}

juce::String DrumMachineDocuments::getDrumMapFileExtension() const
{
    return "." + owner.getPluginPrefix() + "drmap";
}

juce::String DrumMachineDocuments::getDrumMapWildcard() const
{
    return BasePlugin::makeWildcard (getDrumMapFileExtension());
}

juce::String DrumMachineDocuments::getDrumMapFileFilter() const
{
    auto filter = getDrumMapWildcard();

    for (int i = 0; i < owner.getNumExtraDrumMapWildcards(); ++i)
        filter << "; " << owner.getExtraDrumMapWildcard (i);

    return filter;
}

void DrumMachineDocuments::setUserDrumMapFile (const juce::String& path)
{
    drumMapUserFile = path;
    drumMapSource = userDrumMap;
}

void DrumMachineDocuments::readDrumMapStartupXml (const juce::XmlElement& element)
{
    if (!tagIs (element, "DrumMap"))
        return;

    const auto source = getAttributeIgnoringCase (element, "default");

    if (source == "factoryMapping")
        drumMapSource = factoryDrumMap;
    else if (source == "userDefinedDrumMap")
        setUserDrumMapFile (getAttributeIgnoringCase (element, "file"));
}

std::unique_ptr<juce::XmlElement> DrumMachineDocuments::createDrumMapStartupXml() const
{
    auto element = std::make_unique<juce::XmlElement> ("DrumMap");
    element->setAttribute ("default", drumMapSource == userDrumMap ? "userDefinedDrumMap" : "factoryMapping");

    if (drumMapSource == userDrumMap)
        element->setAttribute ("file", drumMapUserFile);

    return element;
}
