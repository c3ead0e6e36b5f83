#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>

/** A small instrument for testing the VST boundary without the drum machine: a note-on strikes a
    decaying sine at its exact sample on output 1, upside down in mode 1; while the host's transport
    plays, a click marks every beat on output 3. Program change sets the mode, controller 7 sets "Level" as
    the panel would. Host MIDI passes through. */
class VstTestProcessor : public juce::AudioProcessor
{
public:
    static constexpr int numOutputs = 16;
    static constexpr int numParams = 3;

    VstTestProcessor();

    const juce::String getName() const override { return "Pulsaret Test"; }
    void prepareToPlay (double sampleRate, int blockSize) override;
    void releaseResources() override;
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return true; }
    bool producesMidi() const override { return true; }
    bool hasEditor() const override { return true; }
    juce::AudioProcessorEditor* createEditor() override;

    int getNumPrograms() override { return 0; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram (int) override {}
    const juce::String getProgramName (int) override { return {}; }
    void changeProgramName (int, const juce::String&) override {}

    void getStateInformation (juce::MemoryBlock& block) override;
    void setStateInformation (const void* data, int size) override;
    void getCurrentProgramStateInformation (juce::MemoryBlock& block) override;
    void setCurrentProgramStateInformation (const void* data, int size) override;

    // What the adapter asks through VstInstanceFor.
    int getNumInputChannels() const { return 0; }
    int getNumOutputChannels() const { return numOutputs; }
    const juce::String getInputChannelName (int) const override { return {}; }
    const juce::String getOutputChannelName (int channel) const override { return "PX" + juce::String (channel / 2 + 1); }
    bool isInputChannelStereoPair (int) const override { return false; }
    bool isOutputChannelStereoPair (int) const override { return true; }
    int getNumParameters() override { return numParams; }
    float getParameter (int index) override;
    void setParameter (int index, float value) override;
    const juce::String getParameterName (int index) override;
    const juce::String getParameterText (int index) override;
    bool isParameterAutomatable (int index) const override { return index >= 0 && index < numParams; }
    juce::String getMidiKeyName (int key) const;

    /** A panel change: sets the value and tells the host, as an editor would. */
    void setParameterFromPanel (int index, float value);

private:
    std::unique_ptr<juce::XmlElement> createStateXml (bool withMode) const;
    bool applyStateXml (const juce::XmlElement& xml, bool withMode);

    // Host and panel write, audio thread reads: atomics.
    std::atomic<float> params[numParams];
    std::atomic<int> mode{0};

    // Audio thread only.
    double rate = 44100.0;
    double phase = 0.0, frequency = 0.0, amplitude = 0.0, decayFactor = 0.0;
    int voiceMode = 0;
    double clickLevel = 0.0;
    double lastPpq = -1.0;
    bool wasPlaying = false;
};
