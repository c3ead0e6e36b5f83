#pragma once

#include "tests/MessagePump.h"
#include "framework/BasePlugin.h"

#include <juce_events/juce_events.h>

/** The smallest concrete plug-in on the base: 47 host parameters mapped to uids 0 to 46
    as a product maps them, one setting of its own, and a record of the hooks called. */
class TestPlugin : public BasePlugin
{
public:
    juce::String getPluginName() const override { return "TestPlugin"; }
    int getNumHostParameters() const override { return hostParameters; }

    void initialise() override
    {
        fillHostParameterTable();
        BasePlugin::initialise();
    }

    void afterInitialise() override { ++afterInitialiseCalls; }

    void loadUserSettingsXml (const juce::XmlElement& element) override
    {
        BasePlugin::loadUserSettingsXml (element);

        if (! isUserSettingsXml (element))
            return;

        if (auto* child = element.getChildByName ("Colour"))
            colour = child->getStringAttribute ("name", colour);

        if (auto* directories = element.getChildByName ("PluginDirectories"))
            if (auto folder = readPluginDirectoriesXml (*directories); folder != juce::File())
                recentFolder = folder;
    }

    std::unique_ptr<juce::XmlElement> createUserSettingsXml() override
    {
        auto settings = BasePlugin::createUserSettingsXml();
        settings->addChildElement (createPluginDirectoriesXml (recentFolder).release());
        settings->createNewChildElement ("Colour")->setAttribute ("name", colour);
        return settings;
    }

    bool loadProgramStateXml (const juce::XmlElement& element) override
    {
        programDocument = std::make_unique<juce::XmlElement> (element);
        return true;
    }

    std::unique_ptr<juce::XmlElement> createProgramStateXml() override
    {
        if (! withProgram)
            return nullptr;

        auto preset = setApplicationAttribute ("Preset");
        preset->setAttribute ("name", "Current");
        return preset;
    }

    void prepareToPlay (double, int) override {}
    void releaseResources() override {}
    void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override {}
    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return true; }
    bool producesMidi() const override { return false; }

    int hostParameters = 47;
    int afterInitialiseCalls = 0;
    bool withProgram = false;
    juce::String colour { "grey" };
    juce::File recentFolder { juce::File::getSpecialLocation (juce::File::userHomeDirectory) };
    std::unique_ptr<juce::XmlElement> programDocument;
};

/** Runs the message loop for a while, so that asynchronous notifications arrive. */
inline void pumpMessages (int milliseconds = 50)
{
    pumpMessagesFor (milliseconds);
}
