#include "vst/JuceVSTWrapper.h"

#include "vst/SharedMessageThread.h"

#include <cstring>

namespace
{
constexpr int maxOutgoingEvents = 1024;
constexpr int midiBufferBytes = 32768;
constexpr int largestBlockSize = 1 << 16; // temporary channels are never sized beyond this; larger blocks are split

juce::CriticalSection& activeWrappersLock()
{
    static juce::CriticalSection lock;
    return lock;
}

juce::Array<JuceVSTWrapper*>& activeWrappers()
{
    static juce::Array<JuceVSTWrapper*> wrappers;
    return wrappers;
}

bool isEditorOpcode (int32_t opcode)
{
    using namespace vst::EffectOpcode;
    return opcode == editGetRect || opcode == editOpen || opcode == editClose || opcode == editIdle;
}
} // namespace

const char* const JuceVSTWrapper::vendorName = "Pulsaret Audio";

//==============================================================================
/** The host-side holder of the instance's editor while the host's window is open. */
class JuceVSTWrapper::EditorCompWrapper : public juce::Component
{
public:
    explicit EditorCompWrapper (juce::AudioProcessorEditor* ed)
        : editor (ed)
    {
        setOpaque (true);
        addAndMakeVisible (editor.get());
        setSize (editor->getWidth(), editor->getHeight());
    }

    ~EditorCompWrapper() override
    {
        removeFromDesktop();
        editor.reset();
    }

    void childBoundsChanged (juce::Component* child) override
    {
        if (child == editor.get())
            setSize (child->getWidth(), child->getHeight());
    }

    void paint (juce::Graphics& g) override { g.fillAll (juce::Colours::black); }

    juce::AudioProcessorEditor* getEditor() const noexcept { return editor.get(); }

    int reportedWidth = 0, reportedHeight = 0;

private:
    std::unique_ptr<juce::AudioProcessorEditor> editor;
};

//==============================================================================
JuceVSTWrapper::JuceVSTWrapper (vst::HostCallback host, std::unique_ptr<VstInstance> inst)
    : AudioEffectX (host, 0, inst->getNumParameters())
    , instance (std::move (inst))
    , processor (&instance->getProcessor())
    , numInputs (juce::jmax (0, instance->getNumInputChannels()))
    , numOutputs (juce::jmax (0, instance->getNumOutputChannels()))
{
    setUniqueID (uniqueId);
    setVersion (versionNumber);
    cEffect.numPrograms = juce::jmax (0, processor->getNumPrograms());
    numPrograms = cEffect.numPrograms;
    setNumInputs (numInputs);
    setNumOutputs (numOutputs);
    setInitialDelay (processor->getLatencySamples());
    setFlag (vst::EffectFlags::noSoundInStop, false);
    setFlag (vst::EffectFlags::hasEditor, true);
    setFlag (vst::EffectFlags::canReplacing, true);
    setFlag (vst::EffectFlags::isSynth, true);
    setFlag (vst::EffectFlags::programChunks, true);

    const auto eventsBytes = sizeof (vst::VstEvents) + sizeof (vst::VstEvent*) * (size_t) maxOutgoingEvents;
    outgoingEventsMemory.calloc (eventsBytes);
    outgoingMidi.calloc ((size_t) maxOutgoingEvents);
    channels.calloc ((size_t) juce::jmax (1, numInputs, numOutputs));
    midiEvents.ensureSize (midiBufferBytes);
    blockMidi.ensureSize (midiBufferBytes);

    processor->setPlayConfigDetails (numInputs, numOutputs, sampleRate, blockSize);
    processor->setPlayHead (this);
    processor->addListener (this);

    const juce::ScopedLock sl (activeWrappersLock());
    activeWrappers().add (this);
}

JuceVSTWrapper::~JuceVSTWrapper()
{
    {
        const juce::ScopedLock sl (activeWrappersLock());
        activeWrappers().removeFirstMatchingValue (this);
    }

    stopTimer();
    closeEditor();

    {
        const juce::ScopedLock sl (processor->getCallbackLock());
        isSuspended = true;
    }

    if (isPrepared)
        processor->releaseResources();

    processor->removeListener (this);
    processor->setPlayHead (nullptr);
    instance.reset();
}

int JuceVSTWrapper::getNumActiveWrappers()
{
    const juce::ScopedLock sl (activeWrappersLock());
    return activeWrappers().size();
}

//==============================================================================
intptr_t JuceVSTWrapper::dispatcher (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    namespace op = vst::EffectOpcode;

    if (opcode == op::close)
    {
        // The effect record lives in this object: after this the host must not touch it. The message
        // thread is released only with the lock given back, as the last release stops that thread.
        {
            const juce::MessageManagerLock mml;
            delete this;
        }

        SharedMessageThread::release();
        return 0;
    }

    if (opcode == op::editIdle)
        return 0; // the shared message thread dispatches on its own

    if (isEditorOpcode (opcode))
    {
        const juce::MessageManagerLock mml;

        switch (opcode)
        {
            case op::editGetRect:
                return getEditorRect (static_cast<vst::ERect**> (ptr)) ? 1 : 0;
            case op::editOpen:
                return openEditor (ptr) ? 1 : 0;
            case op::editClose:
                closeEditor();
                return 0;
            default:
                return 0;
        }
    }

    if (opcode == op::getChunk || opcode == op::setChunk || opcode == op::getMidiKeyName)
    {
        // Restoring a state notifies parameter listeners and the editor; key names read pattern names
        // that the panel edits.
        const juce::MessageManagerLock mml;
        return AudioEffectX::dispatcher (opcode, index, value, ptr, opt);
    }

    return AudioEffectX::dispatcher (opcode, index, value, ptr, opt);
}

//==============================================================================
void JuceVSTWrapper::processReplacing (float** inputs, float** outputs, int32_t sampleFrames)
{
    if (sampleFrames <= 0 || outputs == nullptr)
    {
        // Events handed over for a block with no samples have nowhere to play.
        const juce::ScopedLock sl (processor->getCallbackLock());
        midiEvents.clear();
        return;
    }

    if (firstProcessCallback)
    {
        firstProcessCallback = false;
        processor->setNonRealtime (getCurrentProcessLevel() == vst::ProcessLevel::offline);
    }

    const juce::ScopedLock sl (processor->getCallbackLock());

    if (isSuspended.load() || maxBlockSize <= 0)
        clearOutputs (outputs, sampleFrames);
    else
        processInParts (inputs, outputs, sampleFrames);

    midiEvents.clear();
}

void JuceVSTWrapper::clearOutputs (float** outputs, int numFrames) noexcept
{
    for (int ch = 0; ch < numOutputs; ++ch)
        if (outputs[ch] != nullptr)
            juce::FloatVectorOperations::clear (outputs[ch], numFrames);
}

void JuceVSTWrapper::processInParts (float** inputs, float** outputs, int numFrames)
{
    moveLateEventsToLastSample (numFrames);

    for (int done = 0; done < numFrames;)
    {
        const int partFrames = juce::jmin (numFrames - done, maxBlockSize);
        const int numChannels = attachChannels (inputs, outputs, done, partFrames);
        juce::AudioBuffer<float> buffer (channels.get(), numChannels, partFrames);
        processPart (buffer, done, numFrames, done + partFrames >= numFrames);
        done += partFrames;
    }
}

void JuceVSTWrapper::moveLateEventsToLastSample (int numFrames)
{
    if (midiEvents.isEmpty() || midiEvents.getLastEventTime() < numFrames)
        return;

    // An event the host placed past the block's end plays on its last sample, not blocks later.
    blockMidi.clear();

    for (const auto meta : midiEvents)
        blockMidi.addEvent (meta.data, meta.numBytes, juce::jmin (meta.samplePosition, numFrames - 1));

    midiEvents.swapWith (blockMidi);
}

int JuceVSTWrapper::attachChannels (float** inputs, float** outputs, int offset, int numFrames) noexcept
{
    // The processor works in place: inputs are copied into the outputs, and channels the host left out
    // get scratch memory.
    const int numChannels = juce::jmax (numInputs, numOutputs);

    for (int ch = 0; ch < numChannels; ++ch)
    {
        float* out = ch < numOutputs && outputs[ch] != nullptr ? outputs[ch] + offset : tempChannels.getWritePointer (ch);
        const float* in = ch < numInputs && inputs != nullptr && inputs[ch] != nullptr ? inputs[ch] + offset : nullptr;

        if (in != nullptr && in != out)
            juce::FloatVectorOperations::copy (out, in, numFrames);
        else if (in == nullptr && ch < numInputs)
            juce::FloatVectorOperations::clear (out, numFrames);

        channels[ch] = out;
    }

    return numChannels;
}

void JuceVSTWrapper::processPart (juce::AudioBuffer<float>& buffer, int offset, int blockFrames, bool lastPart)
{
    if (offset == 0 && lastPart)
    {
        processor->processBlock (buffer, midiEvents);
        sendMidiToHost (midiEvents, 0, blockFrames);
        return;
    }

    // A block larger than the instance was prepared for goes in parts; the events move with them.
    blockMidi.clear();
    blockMidi.addEvents (midiEvents, offset, lastPart ? std::numeric_limits<int>::max() - offset : buffer.getNumSamples(), -offset);
    processor->processBlock (buffer, blockMidi);
    sendMidiToHost (blockMidi, offset, blockFrames);
}

void JuceVSTWrapper::sendMidiToHost (const juce::MidiBuffer& midi, int offset, int numFrames)
{
    auto* list = reinterpret_cast<vst::VstEvents*> (outgoingEventsMemory.get());
    int count = 0;

    auto flush = [&]
    {
        if (count == 0)
            return;

        list->numEvents = count;
        list->reserved = 0;
        sendVstEventsToHost (list);
        count = 0;
    };

    for (const auto meta : midi)
    {
        if (meta.numBytes <= 0 || meta.numBytes > 3)
            continue; // system exclusive and longer messages have no place in a MIDI event record

        auto& e = outgoingMidi[count];
        std::memset (&e, 0, sizeof (e));
        e.type = vst::EventType::midi;
        e.byteSize = (int32_t) sizeof (vst::VstMidiEvent);
        e.deltaFrames = juce::jlimit (0, juce::jmax (0, numFrames - 1), meta.samplePosition + offset);
        std::memcpy (e.midiData, meta.data, (size_t) meta.numBytes);
        list->events[count] = reinterpret_cast<vst::VstEvent*> (&e);

        if (++count == maxOutgoingEvents)
            flush();
    }

    flush();
}

int32_t JuceVSTWrapper::processEvents (vst::VstEvents* events)
{
    if (events == nullptr || events->numEvents <= 0)
        return 0;

    for (int32_t i = 0; i < events->numEvents; ++i)
    {
        const auto* e = events->events[i];

        // Only MIDI events have the MIDI layout; SysEx and the rest are other records.
        if (e == nullptr || e->type != vst::EventType::midi)
            continue;

        const auto* midi = reinterpret_cast<const vst::VstMidiEvent*> (e);
        const auto status = (uint8_t) midi->midiData[0];

        if (status < 0x80 || status == 0xf0 || status == 0xf7)
            continue;

        const int length = juce::jmin (3, juce::MidiMessage::getMessageLengthFromFirstByte (status));

        // The buffer was sized in advance; a flood of events beyond it is dropped rather than allocated
        // for on the audio thread.
        if (midiEvents.data.size() + (int) (sizeof (int32_t) + sizeof (uint16_t)) + length > midiBufferBytes)
            break;

        midiEvents.addEvent (midi->midiData, length, juce::jmax (0, (int) midi->deltaFrames));
    }

    return 1;
}

//==============================================================================
void JuceVSTWrapper::setParameter (int32_t index, float value)
{
    if (index < 0 || index >= numParams || !std::isfinite (value))
        return;

    instance->setParameter (index, juce::jlimit (0.0f, 1.0f, value));
}

float JuceVSTWrapper::getParameter (int32_t index)
{
    if (index < 0 || index >= numParams)
        return 0.0f;

    return instance->getParameter (index);
}

void JuceVSTWrapper::getParameterName (int32_t index, char* text)
{
    copyUtf8 (text, index >= 0 && index < numParams ? instance->getParameterName (index) : juce::String(), vst::StringLength::paramText);
}

void JuceVSTWrapper::getParameterDisplay (int32_t index, char* text)
{
    copyUtf8 (text, index >= 0 && index < numParams ? instance->getParameterText (index) : juce::String(), vst::StringLength::paramText);
}

bool JuceVSTWrapper::canParameterBeAutomated (int32_t index)
{
    return index >= 0 && index < numParams && instance->isParameterAutomatable (index);
}

//==============================================================================
int32_t JuceVSTWrapper::getChunk (void** data, bool isPreset)
{
    chunkMemory.reset();

    if (isPreset)
        processor->getCurrentProgramStateInformation (chunkMemory);
    else
        processor->getStateInformation (chunkMemory);

    if (chunkMemory.getSize() == 0 || chunkMemory.getSize() > (size_t) std::numeric_limits<int32_t>::max())
    {
        *data = nullptr;
        return 0;
    }

    *data = chunkMemory.getData();
    return (int32_t) chunkMemory.getSize();
}

int32_t JuceVSTWrapper::setChunk (void* data, int32_t byteSize, bool isPreset)
{
    if (data == nullptr || byteSize <= 0)
        return 0;

    // 0 for a chunk the instance refused, so a host can tell its user instead of playing the defaults.
    return instance->setStateChunk (data, (int) byteSize, isPreset) ? 1 : 0;
}

//==============================================================================
void JuceVSTWrapper::setSampleRate (float newRate)
{
    if (std::isfinite (newRate) && newRate >= 1000.0f && newRate <= 1.0e6f)
        AudioEffectX::setSampleRate (newRate);
}

void JuceVSTWrapper::setBlockSize (int32_t newSize)
{
    if (newSize > 0)
        AudioEffectX::setBlockSize (newSize);
}

void JuceVSTWrapper::resume()
{
    const double rate = sampleRate;
    const int size = juce::jlimit (1, largestBlockSize, (int) blockSize);

    {
        const juce::ScopedLock sl (processor->getCallbackLock());
        isSuspended = true;
        maxBlockSize = size;
        tempChannels.setSize (juce::jmax (1, numInputs, numOutputs), size);
        midiEvents.clear();
        firstProcessCallback = true;
    }

    if (!hostAsked.exchange (true))
    {
        // Hosts that cannot say ("don't know", 0) are still asked for their time; only a refusal stops it.
        hostSendsTimeInfo = canHostDo ("sendVstTimeInfo") >= 0;
    }

    processor->setRateAndBufferSizeDetails (rate, size);
    processor->prepareToPlay (rate, size);
    isPrepared = true;
    isSuspended = false;

    wantEvents();
}

void JuceVSTWrapper::suspend()
{
    {
        const juce::ScopedLock sl (processor->getCallbackLock());
        isSuspended = true;
        midiEvents.clear();
    }

    if (isPrepared)
        processor->releaseResources();

    isPrepared = false;
}

//==============================================================================
int32_t JuceVSTWrapper::canDo (char* text)
{
    static const char* const yes[] = {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstMidiEvents",
                                      "sendVstEvents", "sendVstMidiEvent", "sendVstMidiEvents",
                                      "receiveVstTimeInfo", "conformsToWindowRules"};

    for (auto* s : yes)
        if (std::strcmp (text, s) == 0)
            return 1;

    return std::strcmp (text, "openCloseAnyThread") == 0 ? -1 : 0;
}

bool JuceVSTWrapper::getEffectName (char* text)
{
    copyUtf8 (text, processor->getName(), vst::StringLength::effectName);
    return true;
}

bool JuceVSTWrapper::getProductString (char* text)
{
    copyUtf8 (text, processor->getName(), vst::StringLength::product);
    return true;
}

bool JuceVSTWrapper::getVendorString (char* text)
{
    copyUtf8 (text, vendorName, vst::StringLength::vendor);
    return true;
}

void JuceVSTWrapper::pinProperties (int32_t index, bool isInput, vst::VstPinProperties& properties)
{
    std::memset (&properties, 0, sizeof (properties));
    const auto name = isInput ? instance->getInputChannelName (index) : instance->getOutputChannelName (index);
    const bool stereo = isInput ? instance->isInputChannelStereoPair (index) : instance->isOutputChannelStereoPair (index);
    copyUtf8 (properties.label, name, sizeof (properties.label));
    copyUtf8 (properties.shortLabel, name, sizeof (properties.shortLabel));
    properties.flags = vst::PinFlags::isActive | (stereo ? vst::PinFlags::isStereo : 0);
    properties.arrangementType = stereo ? 1 : 0;
}

bool JuceVSTWrapper::getInputProperties (int32_t index, vst::VstPinProperties* properties)
{
    if (index < 0 || index >= numInputs)
        return false;

    pinProperties (index, true, *properties);
    return true;
}

bool JuceVSTWrapper::getOutputProperties (int32_t index, vst::VstPinProperties* properties)
{
    if (index < 0 || index >= numOutputs)
        return false;

    pinProperties (index, false, *properties);
    return true;
}

bool JuceVSTWrapper::getMidiKeyName (int32_t, vst::MidiKeyName* keyName)
{
    const int key = keyName->thisKeyNumber;
    copyUtf8 (keyName->keyName, key >= 0 && key < 128 && instance != nullptr ? instance->getMidiKeyName (key) : juce::String(),
              sizeof (keyName->keyName));
    return true;
}

void JuceVSTWrapper::copyUtf8 (char* dest, const juce::String& text, size_t maxBytes) noexcept
{
    if (dest == nullptr || maxBytes == 0)
        return;

    const char* utf8 = text.toRawUTF8();
    size_t n = std::strlen (utf8);

    if (n >= maxBytes)
    {
        n = maxBytes - 1;

        while (n > 0 && ((uint8_t) utf8[n] & 0xc0) == 0x80)
            --n; // utf8[n] continues a character: drop the whole character
    }

    std::memcpy (dest, utf8, n);
    dest[n] = 0;
}

//==============================================================================
void JuceVSTWrapper::audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value)
{
    if (index >= 0 && index < numParams)
        callHost (vst::HostOpcode::automate, index, 0, nullptr, value);
}

void JuceVSTWrapper::audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails& details)
{
    if (details.latencyChanged)
    {
        setInitialDelay (processor->getLatencySamples());
        ioChanged();
    }

    updateDisplay();
}

void JuceVSTWrapper::audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index)
{
    if (index >= 0 && index < numParams)
        beginEdit (index);
}

void JuceVSTWrapper::audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index)
{
    if (index >= 0 && index < numParams)
        endEdit (index);
}

juce::Optional<juce::AudioPlayHead::PositionInfo> JuceVSTWrapper::getPosition() const
{
    using namespace vst::TimeInfoFlags;

    // Without the host's time info the instance runs on its own clocks.
    if (!hostSendsTimeInfo.load())
        return {};

    // Some hosts only fill in what is asked for.
    const int32_t request = ppqPosValid | tempoValid | barsValid | timeSigValid | cyclePosValid;
    const auto* ti = const_cast<JuceVSTWrapper*> (this)->getTimeInfo (request);

    if (ti == nullptr)
        return {};

    PositionInfo info;
    const auto valid = [ti] (int32_t flag)
    { return (ti->flags & flag) != 0; };

    if (valid (tempoValid) && std::isfinite (ti->tempo) && ti->tempo > 0.0)
        info.setBpm (ti->tempo);

    if (valid (timeSigValid) && ti->timeSigNumerator > 0 && ti->timeSigDenominator > 0)
        info.setTimeSignature (TimeSignature{ti->timeSigNumerator, ti->timeSigDenominator});

    if (std::isfinite (ti->samplePos))
    {
        info.setTimeInSamples ((int64_t) ti->samplePos);

        if (ti->sampleRate > 0.0)
            info.setTimeInSeconds (ti->samplePos / ti->sampleRate);
    }

    if (valid (ppqPosValid) && std::isfinite (ti->ppqPos))
        info.setPpqPosition (ti->ppqPos);

    if (valid (barsValid) && std::isfinite (ti->barStartPos))
        info.setPpqPositionOfLastBarStart (ti->barStartPos);

    if (valid (cyclePosValid) && std::isfinite (ti->cycleStartPos) && std::isfinite (ti->cycleEndPos))
        info.setLoopPoints (LoopPoints{ti->cycleStartPos, ti->cycleEndPos});

    info.setIsPlaying (valid (transportPlaying));
    info.setIsRecording (valid (transportRecording));
    info.setIsLooping (valid (transportCycleActive));
    return info;
}

//==============================================================================
bool JuceVSTWrapper::createEditorIfNeeded()
{
    if (editorComp != nullptr)
        return true;

    if (!processor->hasEditor())
        return false;

    auto* ed = processor->createEditorIfNeeded();

    if (ed == nullptr)
        return false;

    editorComp = std::make_unique<EditorCompWrapper> (ed);
    return true;
}

bool JuceVSTWrapper::getEditorRect (vst::ERect** rect)
{
    if (rect == nullptr || !createEditorIfNeeded())
        return false;

    editorRect.top = 0;
    editorRect.left = 0;
    editorRect.bottom = (int16_t) juce::jlimit (0, 32767, editorComp->getHeight());
    editorRect.right = (int16_t) juce::jlimit (0, 32767, editorComp->getWidth());
    *rect = &editorRect;
    return true;
}

bool JuceVSTWrapper::openEditor (void* parentWindow)
{
    // Without an X display there is nothing to open into; the instance itself works on.
    if (parentWindow == nullptr || juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() == nullptr)
        return false;

    if (!createEditorIfNeeded())
        return false;

    editorComp->setVisible (false);
    editorComp->addToDesktop (0, parentWindow);

    if (editorComp->getPeer() == nullptr)
    {
        closeEditor();
        return false;
    }

    editorComp->setTopLeftPosition (0, 0);
    editorComp->setVisible (true);
    editorComp->reportedWidth = editorComp->getWidth();
    editorComp->reportedHeight = editorComp->getHeight();
    startTimer (250);
    return true;
}

void JuceVSTWrapper::closeEditor()
{
    stopTimer();

    if (editorComp != nullptr)
    {
        // The host-side wrapper goes; the instance keeps its editor component for its whole life.
        editorComp.reset();
    }
}

void JuceVSTWrapper::timerCallback()
{
    // A resize asked for from here, not from inside the editor's own layout calls.
    if (editorComp == nullptr)
        return;

    const int w = editorComp->getWidth(), h = editorComp->getHeight();

    if (w != editorComp->reportedWidth || h != editorComp->reportedHeight)
    {
        editorComp->reportedWidth = w;
        editorComp->reportedHeight = h;

        if (canHostDo ("sizeWindow") > 0)
            sizeWindow (w, h);
    }
}
