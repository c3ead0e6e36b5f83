#pragma once

#include "drummachine/DrumMap.h"
#include "drummachine/OutputRouting.h"
#include "drummachine/StateOwner.h"

/** The drum machine's parts of its documents: the plug-in state (modes, routing,
    patterns, drum map), the settings file (mode defaults, routing, host play
    detection), the resources settings (the drum map to start with) and the drum map
    files. Each reader takes only what it recognises; a drum map is read whole into a
    fresh map, then swapped in under the callback lock. Message thread. */
class DrumMachineDocuments : public DrumMachineConstants
{
public:
    DrumMachineDocuments (StateOwner& owner, OutputRouting& routing, DrumMap& drumMap, const juce::CriticalSection& callbackLock);

    /** The children of a checked "PluginState", "UserSettings" or resources element. */
    void readPluginState (const juce::XmlElement& element);
    void addToPluginState (juce::XmlElement& state) const;
    void readUserSettings (const juce::XmlElement& element);
    void addToUserSettings (juce::XmlElement& settings) const;
    void readResourcesSettings (const juce::XmlElement& element);
    void addToResourcesSettings (juce::XmlElement& resources) const;

    void readInternalSequencerStateXml (const juce::XmlElement& element);
    std::unique_ptr<juce::XmlElement> createInternalSequencerStateXml() const;
    void readInternalSequencerSettingsXml (const juce::XmlElement& element);
    std::unique_ptr<juce::XmlElement> createInternalSequencerSettingsXml() const;

    //==============================================================================
    void clearDrumMap();
    juce::String getInstrumentNameForKey (int key) const;
    bool isDrumMapXml (const juce::XmlElement& element) const;

    /** False, changing nothing, unless the element is a drum map of this plug-in. */
    bool readDrumMapXml (const juce::XmlElement& element);
    std::unique_ptr<juce::XmlElement> createDrumMapXml() const;
    bool loadDrumMapFile (const juce::File& file);
    bool saveDrumMapFile (const juce::File& file) const;
    bool loadFactoryDrumMap();
    juce::String getDrumMapFileExtension() const;
    juce::String getDrumMapWildcard() const;
    juce::String getDrumMapFileFilter() const;

    void setUserDrumMapFile (const juce::String& path);
    juce::String getUserDrumMapFile() const { return drumMapUserFile; }
    int getDrumMapSource() const noexcept { return drumMapSource; }
    void setDrumMapSource (int source) noexcept { drumMapSource = source == userDrumMap ? userDrumMap : factoryDrumMap; }
    void readDrumMapStartupXml (const juce::XmlElement& element);
    std::unique_ptr<juce::XmlElement> createDrumMapStartupXml() const;

private:
    StateOwner& owner;
    OutputRouting& routing;
    DrumMap& drumMap;
    const juce::CriticalSection& callbackLock;

    int drumMapSource = factoryDrumMap;
    juce::String drumMapUserFile;
};
