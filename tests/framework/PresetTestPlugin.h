#pragma once

#include "framework/BasePluginOldStyle.h"

#include <juce_audio_processors/juce_audio_processors.h>

/** The preset layer with the product's name and prefix, and a settings file
    of the test's choosing (missing unless a test writes it). */
class PresetTestPlugin : public BasePluginOldStyle
{
public:
    explicit PresetTestPlugin (const juce::File& settingsFile = {}, bool withChangingSetting = true)
        : changingSetting (withChangingSetting)
    {
        setUserSettingsFile (settingsFile != juce::File() ? settingsFile
                                                          : juce::File::getSpecialLocation (juce::File::tempDirectory)
                                                                .getNonexistentChildFile ("PresetTestNoSettings", ".ini"));
    }

    void start()
    {
        preInitialise();
        initialise();
    }

    juce::String getPluginName() const override { return "Pulsaret"; }
    juce::String getPluginPrefix() const override { return "PX"; }
    int getNumHostParameters() const override { return 47; }
    bool hasPresetChangingSetting() const override { return changingSetting; }

    void prepareToPlay (double, int) override {}
    void releaseResources() override {}
    void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override {}
    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return true; }
    bool producesMidi() const override { return true; }

    float value (int uid) { return getParameterManager().getNormalisedValue (uid); }
    void setValue (int uid, float v) { getParameterManager().setNormalisedValue (uid, v); }

private:
    const bool changingSetting;
};
