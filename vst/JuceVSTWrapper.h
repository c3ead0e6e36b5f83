#pragma once

#include "vst/AudioEffectX.h"
#include "vst/VstInstance.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>

/** The VST 2.4 effect around one plug-in instance: audio and MIDI, parameters, chunks, the host's transport
    as the instance's play head, and the editor inside the host's window. Deletes itself on the host's close
    call. Dispatcher calls that touch the GUI run with the shared message thread locked. */
class JuceVSTWrapper : public AudioEffectX, private juce::Timer, private juce::AudioProcessorListener, private juce::AudioPlayHead
{
public:
    static constexpr int32_t uniqueId = vst::fourChars ('Z', 'r', '4', 'k');
    static constexpr int32_t versionNumber = 0x10501;
    static const char* const vendorName;

    JuceVSTWrapper (vst::HostCallback host, std::unique_ptr<VstInstance> instance);
    ~JuceVSTWrapper() override;

    static int getNumActiveWrappers();

    intptr_t dispatcher (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override;

    void processReplacing (float** inputs, float** outputs, int32_t sampleFrames) override;
    int32_t processEvents (vst::VstEvents* events) override;

    void setParameter (int32_t index, float value) override;
    float getParameter (int32_t index) override;
    void getParameterName (int32_t index, char* text) override;
    void getParameterDisplay (int32_t index, char* text) override;
    bool canParameterBeAutomated (int32_t index) override;

    int32_t getChunk (void** data, bool isPreset) override;
    int32_t setChunk (void* data, int32_t byteSize, bool isPreset) override;

    void setSampleRate (float newRate) override;
    void setBlockSize (int32_t newSize) override;
    void resume() override;
    void suspend() override;

    int32_t canDo (char* text) override;
    bool getEffectName (char* text) override;
    bool getProductString (char* text) override;
    bool getVendorString (char* text) override;
    int32_t getVendorVersion() override { return versionNumber; }
    int32_t getPlugCategory() override { return vst::PlugCategory::synth; }
    bool getInputProperties (int32_t index, vst::VstPinProperties* properties) override;
    bool getOutputProperties (int32_t index, vst::VstPinProperties* properties) override;
    bool getMidiKeyName (int32_t channel, vst::MidiKeyName* keyName) override;

    /** Copies UTF-8 text into a host buffer, cut at a character boundary so the host never sees half a character. */
    static void copyUtf8 (char* dest, const juce::String& text, size_t maxBytes) noexcept;

private:
    class EditorCompWrapper;

    // juce::AudioProcessorListener
    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override;
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails& details) override;
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override;
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override;

    // juce::AudioPlayHead
    juce::Optional<PositionInfo> getPosition() const override;

    void timerCallback() override;

    bool getEditorRect (vst::ERect** rect);
    bool openEditor (void* parentWindow);
    void closeEditor();
    bool createEditorIfNeeded();
    void clearOutputs (float** outputs, int numFrames) noexcept;
    void processInParts (float** inputs, float** outputs, int numFrames);
    void moveLateEventsToLastSample (int numFrames);
    int attachChannels (float** inputs, float** outputs, int offset, int numFrames) noexcept;
    void processPart (juce::AudioBuffer<float>& buffer, int offset, int blockFrames, bool lastPart);
    void sendMidiToHost (const juce::MidiBuffer& midi, int offset, int numFrames);
    void pinProperties (int32_t index, bool isInput, vst::VstPinProperties& properties);

    std::unique_ptr<VstInstance> instance;
    juce::AudioProcessor* processor;
    int numInputs, numOutputs;

    // Audio thread only, sized in resume() while suspended.
    juce::MidiBuffer midiEvents;
    juce::MidiBuffer blockMidi;
    juce::HeapBlock<char> outgoingEventsMemory;
    juce::HeapBlock<vst::VstMidiEvent> outgoingMidi;
    juce::HeapBlock<float*> channels;
    juce::AudioBuffer<float> tempChannels;
    int maxBlockSize = 0;
    bool firstProcessCallback = true;

    // Written by the dispatcher, read by the audio thread.
    std::atomic<bool> isSuspended{true};

    // The host's answer to "sendVstTimeInfo", asked once before the first resume; until then and
    // after a refusal its transport is never asked for.
    std::atomic<bool> hostAsked{false}, hostSendsTimeInfo{false};
    bool isPrepared = false;

    // Message thread (or host thread with the message manager locked).
    std::unique_ptr<EditorCompWrapper> editorComp;
    vst::ERect editorRect{};
    juce::MemoryBlock chunkMemory;

    JUCE_DECLARE_NON_COPYABLE (JuceVSTWrapper)
};
