#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

/** What the VST adapter asks of a plug-in instance beyond juce::AudioProcessor's audio interface: the host
    parameter table, fixed channel counts and names, MIDI key names, and whether a chunk was taken. The
    instance's own type answers, so these calls never go through JUCE's legacy virtuals on the base. */
class VstInstance
{
public:
    virtual ~VstInstance() = default;

    virtual juce::AudioProcessor& getProcessor() = 0;

    virtual int getNumInputChannels() = 0;
    virtual int getNumOutputChannels() = 0;
    virtual juce::String getInputChannelName (int channel) = 0;
    virtual juce::String getOutputChannelName (int channel) = 0;
    virtual bool isInputChannelStereoPair (int channel) = 0;
    virtual bool isOutputChannelStereoPair (int channel) = 0;

    virtual int getNumParameters() = 0;
    virtual float getParameter (int index) = 0;
    virtual void setParameter (int index, float value) = 0;
    virtual juce::String getParameterName (int index) = 0;
    virtual juce::String getParameterText (int index) = 0;
    virtual bool isParameterAutomatable (int index) = 0;

    virtual juce::String getMidiKeyName (int key) = 0;

    /** Restores the state chunk (or the program chunk); false when the instance refuses it, as JUCE's
        void setStateInformation cannot say so and a host must not take a refusal for success. */
    virtual bool setStateChunk (const void* data, int sizeInBytes, bool isProgram) = 0;
};

/** Made by the product: constructs one instance and runs its start-up stages.
    Called on the message thread; null when anything fails. */
std::unique_ptr<VstInstance> createVstInstance();
