#pragma once

#include "vst/VstInstance.h"

/** Answers the adapter's questions through the instance's own overrides. */
template <class Processor>
class VstInstanceFor : public VstInstance
{
public:
    explicit VstInstanceFor (std::unique_ptr<Processor> p)
        : processor (std::move (p))
    {
    }

    juce::AudioProcessor& getProcessor() override { return *processor; }

    int getNumInputChannels() override { return processor->getNumInputChannels(); }
    int getNumOutputChannels() override { return processor->getNumOutputChannels(); }
    juce::String getInputChannelName (int channel) override { return processor->getInputChannelName (channel); }
    juce::String getOutputChannelName (int channel) override { return processor->getOutputChannelName (channel); }
    bool isInputChannelStereoPair (int channel) override { return processor->isInputChannelStereoPair (channel); }
    bool isOutputChannelStereoPair (int channel) override { return processor->isOutputChannelStereoPair (channel); }

    int getNumParameters() override { return processor->getNumParameters(); }
    float getParameter (int index) override { return processor->getParameter (index); }
    void setParameter (int index, float value) override { processor->setParameter (index, value); }
    juce::String getParameterName (int index) override { return processor->getParameterName (index); }
    juce::String getParameterText (int index) override { return processor->getParameterText (index); }
    bool isParameterAutomatable (int index) override { return processor->isParameterAutomatable (index); }

    juce::String getMidiKeyName (int key) override { return processor->getMidiKeyName (key); }

private:
    std::unique_ptr<Processor> processor;
};
