#include "drummachine/DrumMachine.h"

#include "framework/BoolParameter.h"
#include "framework/EmbeddedResources.h"
#include "framework/FloatParameter.h"
#include "framework/IntParameter.h"
#include "framework/StringParameter.h"
#include "framework/XmlAttributes.h"
#include "framework/XmlDocuments.h"

#include <cmath>

namespace
{
// Room for the trigger notes of a block: far more than seven voices struck on every
// step of a block ever send.
constexpr int midiOutBytesReserved = 64 * 1024;
constexpr int bytesPerMidiOutEvent = (int) sizeof (juce::int32) + (int) sizeof (juce::uint16) + 3;

constexpr int numSteps = DrumMachineSeq::numSteps;

// Scales in the order of their states and events: 6, 3, 8, 4 steps per beat.
constexpr int scales[] = {6, 3, 8, 4};

const char* const eventNames[] = {"Toggle Internal Sequencer", "Toggle Internal Sync", "Toggle Host Mode",
                                  "Toggle Note Off Mode", "Toggle Pattern Write Mode", "Toggle Auto Follow Mode",
                                  "Toggle Randomizer", "Toggle Length Mode", "Toggle Tap Mode", "Toggle Flam Mode",
                                  "Start/Stop", "Start", "Stop", "Tap", "Tap Accented", "Shift Left", "Shift Right",
                                  "Shift Left All Tracks", "Shift Right All Tracks", "Prev", "Next", "Accept",
                                  "Undo", "Copy Tracks", "Copy Pattern", "Paste", "Clear", "Clear All Instruments",
                                  "Load Patterns", "Save Patterns"};

const char* const boolStateNames[] = {"Internal Sequencer State", "Internal Sync State", "Host Mode State",
                                      "Note Off State", "Play State", "Write Mode State", "Write Mode Activity",
                                      "Auto Follow State", "Randomizer State", "Randomizer Active And Filled",
                                      "Randomizer Active But Not Filled", "Length Mode State", "Tap Mode State",
                                      "Flam Mode State", "Native Mode Ready State"};

juce::String twoDigits (int n)
{
    return juce::String (n).paddedLeft ('0', 2);
}

juce::String percentText (float normalised)
{
    return juce::String ((int) std::lround ((double) normalised * 100.0)) + "%";
}

bool tagIs (const juce::XmlElement& element, const char* tag)
{
    return element.getTagName().equalsIgnoreCase (tag);
}
} // namespace

DrumMachine::DrumMachine()
{
    for (auto& flag : muteFlags)
        flag.store (false);

    for (auto& flag : soloFlags)
        flag.store (false);

    for (auto& flag : audibleFlags)
        flag.store (true);

    for (auto& output : outputNumbers)
        output.store (1);

    for (auto& flag : activityFlags)
        flag.store (0);

    defaultOutputNumbers.fill (1);
    soundingKeys.fill (DrumMap::noInstrument);
    clearDrumMap();
}

DrumMachine::~DrumMachine()
{
    // The editor watches the sequencer, the engine and the clocks deleted here.
    deleteEditorComponent();
    cancelPendingUpdate();
    sequencer.reset();
    core.reset();
}

//==============================================================================
juce::String DrumMachine::getPluginName() const
{
    return BasePluginOldStyle::getPluginName();
}
juce::String DrumMachine::getPluginPrefix() const
{
    return BasePluginOldStyle::getPluginPrefix();
}
std::unique_ptr<DrumMachineCore> DrumMachine::createCore()
{
    return nullptr;
}
std::unique_ptr<DrumMachineSeq> DrumMachine::createSequencer()
{
    return nullptr;
}
double DrumMachine::getNormalVelocity()
{
    return 0.0;
}
double DrumMachine::getStrongVelocityIncrement()
{
    return 0.0;
}
double DrumMachine::getAccentVelocityIncrement()
{
    return 0.0;
}
int DrumMachine::getNumExtraDrumMapWildcards() const
{
    return 0;
}
juce::String DrumMachine::getExtraDrumMapWildcard (int) const
{
    return {};
}

//==============================================================================
void DrumMachine::initialise()
{
    registerInternalParameters();
    registerEvents();

    core = createCore();

    if (core == nullptr)
        core = std::make_unique<DrumMachineCore>();

    sequencer = createSequencer();

    if (sequencer == nullptr)
        sequencer = std::make_unique<DrumMachineSeq> (*this);

    sequencer->setSwapLock (&getCallbackLock());

    resetOutputAssignments();
    resetDefaultOutputAssignments();

    selectInstrument (0);
    updatePatternNumber();

    // The settings file, the presets, and every listener hearing its start value.
    BasePluginOldStyle::initialise();

    // A preset value equal to the start value notified nobody: the engine takes them all.
    auto& store = getParameterManager();

    for (int uid = 0; uid < firstMuteUid; ++uid)
        if (auto* parameter = store.getParameter (uid))
            core->setParameter (uid, parameter->getNormalisedValue());

    accentLevel = store.getNormalisedValue (accentLevelUid);

    setInternalSequencer (internalSequencerDefault);
    internalSync = internalSyncDefault;
    updateInternalSyncState();
    setHostMode (hostModeDefault);
    noteOffMode = noteOffDefault;
    updateNoteOffState();

    outputModeInForce = defaultOutputMode;
    applyDefaultOutputAssignments();
    setPlayConfigDetails (0, getOutputChannelCount(), getSampleRate(), getBlockSize());

    if (drumMapSource == userDrumMap)
        loadDrumMapFile (juce::File::isAbsolutePath (drumMapUserFile) ? juce::File (drumMapUserFile) : juce::File());
    else
        loadFactoryDrumMap();

    sequencer->loadInitialPatterns();

    updatePatternDisplay();
    afterInitialise();
}

void DrumMachine::registerInternalParameters()
{
    auto& store = getParameterManager();

    for (int i = 0; i < (int) std::size (boolStateNames); ++i)
        store.addParameter (std::make_unique<BoolParameter> (internalSequencerStateUid + i, boolStateNames[i], BoolParameter::trueFalse));

    store.addParameter (std::make_unique<IntParameter> (instrumentSelectionUid, "Instrument Selection", 0, 7, 0));
    store.addParameter (std::make_unique<IntParameter> (instrumentSelectionAccentFirstUid, "Instrument Selection With Accent First", 0, 7, 0));
    store.addParameter (std::make_unique<BoolParameter> (clipboardTracksStateUid, "Clipboard Tracks State", BoolParameter::trueFalse));
    store.addParameter (std::make_unique<BoolParameter> (clipboardPatternStateUid, "Clipboard Pattern State", BoolParameter::trueFalse));

    for (int i = 0; i < 4; ++i)
        store.addParameter (std::make_unique<BoolParameter> (patternScale6StateUid + i,
                                                             "Pattern Scale " + juce::String (scales[i]) + " SPB State",
                                                             BoolParameter::trueFalse));

    store.addParameter (std::make_unique<IntParameter> (patternNumberUid, "Pattern Number", 0, 127, 0));
    store.addParameter (std::make_unique<StringParameter> (patternNameUid, "Pattern Name", juce::String()));
    store.addParameter (std::make_unique<BoolParameter> (patternNameEditionStateUid, "Pattern Name Edition State", BoolParameter::trueFalse));
    store.addParameter (std::make_unique<BoolParameter> (patternTempoStateUid, "Pattern Tempo State", BoolParameter::trueFalse));
    store.addParameter (std::make_unique<FloatParameter> (patternTempoUid, "Pattern Tempo", 30.0f, 300.0f, 120.0f));
    store.addParameter (std::make_unique<FloatParameter> (patternShuffleUid, "Pattern Shuffle", 0.0f, 0.8f, 0.0f));
    store.addParameter (std::make_unique<FloatParameter> (patternFlamUid, "Pattern Flam", 0.121f, 0.383f, 0.121f));

    for (int n = 1; n <= numSteps; ++n)
        store.addParameter (std::make_unique<BoolParameter> (stepLengthStateUid + n - 1, "Step " + twoDigits (n) + " Length State",
                                                             BoolParameter::trueFalse));

    for (int n = 1; n <= numSteps; ++n)
        store.addParameter (std::make_unique<FloatParameter> (stepStateUid + n - 1, "Step " + twoDigits (n) + " State", 0.0f, 1.0f, 0.0f));

    for (int n = 1; n <= numSteps; ++n)
        store.addParameter (std::make_unique<BoolParameter> (stepBlinkingUid + n - 1, "Step " + twoDigits (n) + " Blinking",
                                                             BoolParameter::trueFalse));
}

void DrumMachine::registerEvents()
{
    auto& events = getEventNameMap();

    for (int i = 0; i < (int) std::size (eventNames); ++i)
        events.add (toggleInternalSequencerEvent + i, eventNames[i]);

    for (int n = 1; n <= numSteps; ++n)
        events.add (pressStepEvent + n - 1, "Press Step " + twoDigits (n));

    for (int n = 1; n <= numSteps; ++n)
        events.add (pressStepWithCtrlEvent + n - 1, "Press Step " + twoDigits (n) + " With Ctrl");

    for (int i = 0; i < 4; ++i)
        events.add (selectScale6Event + i, "Select Scale " + juce::String (scales[i]) + " SPB");
}

//==============================================================================
int DrumMachine::getOutputChannelCount() const
{
    return getNumOutputs() * (isMonoOutputMode() ? 1 : 2);
}

const juce::String DrumMachine::getOutputChannelName (int channelIndex) const
{
    if (channelIndex < 0 || channelIndex >= getOutputChannelCount())
        return {};

    return getPluginPrefix() + juce::String (isMonoOutputMode() ? channelIndex + 1 : channelIndex / 2 + 1);
}

bool DrumMachine::isOutputChannelStereoPair (int) const
{
    return !isMonoOutputMode();
}

bool DrumMachine::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    int inputs = 0, outputs = 0;

    for (auto& set : layouts.inputBuses)
        inputs += set.size();

    for (auto& set : layouts.outputBuses)
        outputs += set.size();

    return inputs == 0 && (outputs == getNumOutputs() || outputs == getNumOutputs() * 2);
}

juce::String DrumMachine::getMidiKeyName (int key)
{
    // The host's number is not trusted.
    if (!DrumMap::isKey (key))
        return {};

    if (!internalSequencer.load())
    {
        const auto name = getInstrumentNameForKey (key);
        return name.isEmpty() ? juce::String ("---") : name;
    }

    if (!hostMode.load())
        return {};

    if (key < 12 || key > 107 || sequencer == nullptr)
        return "---";

    return sequencer->getPatternName (key - 12);
}

juce::String DrumMachine::getParameterTextById (int uid)
{
    auto& store = getParameterManager();
    const juce::ScopedReadLock sl (store.getLock());
    auto* parameter = store.getParameter (uid);

    if (parameter == nullptr)
        return {};

    if (uid >= 0 && uid <= 24)
        return juce::String (parameter->getNormalisedValue(), 3);

    if (uid >= firstMuteUid && uid < firstRandThresholdUid)
        return parameter->getBoolValue() ? "On" : "Off";

    if (uid >= firstRandThresholdUid && uid < firstOutputNumberUid)
        return percentText (parameter->getNormalisedValue());

    if (uid >= firstOutputNumberUid && uid < firstOutputNumberUid + numInstruments)
        return parameter->getText();

    if (uid == patternTempoUid)
        return juce::String (parameter->getValue(), 1);

    if (uid == patternShuffleUid || uid == patternFlamUid)
        return percentText (parameter->getNormalisedValue());

    return {};
}

//==============================================================================
void DrumMachine::prepareToPlay (double newSampleRate, int maximumBlockSize)
{
    if (core != nullptr)
    {
        core->prepareToPlay (newSampleRate, maximumBlockSize);
        core->setSampleRate ((float) newSampleRate);
    }

    sampleRate = newSampleRate;

    for (Clock* clock : {(Clock*) &hostClock, (Clock*) &nativeClock, &hostFlamClock, &nativeFlamClock})
        clock->setSampleRate (newSampleRate);

    // Room for the host's events and the trigger notes, so that blocks never allocate.
    // Events carried past the end of the last block belong to a stream that has ended.
    midiQueue.prepare (midiOutBytesReserved);
    midiQueue.clear();
    midiOut.ensureSize ((size_t) midiOutBytesReserved);
    midiOutCapacity = midiOutBytesReserved;
    midiOut.clear();
    midiOutBytes = 0;
}

void DrumMachine::releaseResources()
{
    if (core != nullptr)
        core->releaseResources();

    stopAllClocks();

    // The next transport start must be seen as one, and the trigger notes still sounding
    // downstream end with the next block.
    hostPlaying = false;
    nativeStartedByNote = false;
    releaseNotesRequested = true;
    nativeClockRunning = false;
    hostClockRunning = false;

    // No block follows to tell the panel that the sequencer stopped.
    deferredRequests.fetch_or (playStateRequest);
    triggerAsyncUpdate();
}

void DrumMachine::stopClock (Clock& clock) noexcept
{
    if (clock.isRunning())
        clock.stop();
}

void DrumMachine::stopAllClocks() noexcept
{
    stopClock (hostClock);
    stopClock (nativeClock);
    stopClock (hostFlamClock);
    stopClock (nativeFlamClock);
}

void DrumMachine::setNativeClockFromPattern()
{
    if (internalSync.load())
        nativeClock.setTempo (sequencer->getNativePatternTempo());

    nativeClock.setShuffle (sequencer->getNativePatternShuffle());
    nativeClock.setStepsPerBeat ((double) sequencer->getNativePatternScale());
}

void DrumMachine::setHostClockFromPattern()
{
    if (internalSync.load())
        hostClock.setTempo (sequencer->getHostPatternTempo());

    hostClock.setShuffle (sequencer->getHostPatternShuffle());
    hostClock.setStepsPerBeat ((double) sequencer->getHostPatternScale());
}

void DrumMachine::startNativeClock()
{
    sequencer->startNative();
    setNativeClockFromPattern();

    if (!nativeClock.isRunning())
        nativeClock.start();

    nativeFlamClock.setTempo (nativeClock.getTempo());
    nativeFlamClock.setStepsPerBeat (nativeClock.getStepsPerBeat());
}

void DrumMachine::processBlock (juce::AudioBuffer<float>& outputs, juce::MidiBuffer& midi)
{
    // Decaying voices and filters would otherwise crawl through denormals; the engine then
    // finds them flushed and leaves the control register alone.
    const juce::ScopedNoDenormals noDenormals;
    // Whatever the block asks of the panel or the host is deferred to the message thread.
    const AudioCallbackScope scope;

    if (sequencer == nullptr)
    {
        outputs.clear();
        return;
    }

    auto block = beginBlock();

    if (followHostTransport (block))
        block.releaseNotes = true;

    serveStartStopRequest (block);
    clearOutputs (outputs);
    beginMidi (midi, block);
    setRunningClocksFromPatterns();
    renderSamples (outputs.getNumSamples(), block);
    passMidiOn (midi, block);
    askPanelToFollow (block);
}

DrumMachine::BlockStart DrumMachine::beginBlock() noexcept
{
    sequencer->markNativePattern();
    BlockStart block;
    block.intSeq = internalSequencer.load();
    block.host = hostMode.load();
    block.detection = hostPlayDetection.load();
    block.nativeWasRunning = nativeClock.isRunning();
    block.hostPatternAtStart = sequencer->getHostPatternIndex();
    block.releaseNotes = releaseNotesRequested.exchange (false);
    return block;
}

bool DrumMachine::followHostTransport (const BlockStart& block)
{
    const int detection = block.detection;
    bool releaseNotes = false;

    if (auto* playHead = getPlayHead())
    {
        if (const auto position = playHead->getPosition())
        {
            const bool playing = position->getIsPlaying();

            if (playing != hostPlaying)
            {
                hostPlaying = playing;

                if (!playing)
                {
                    stopAllClocks();
                    sequencer->stopHost();
                    sequencer->stopNative();
                    nativeStartedByNote = false;
                    releaseNotes = true;
                }
                else if (detection == byTransportChange && !nativeClock.isRunning())
                {
                    startNativeClock();
                }

                guiRequestInForce = stopRequest;
            }

            if (!internalSync.load())
            {
                // A missing or non-positive tempo never reaches the clocks.
                if (const auto bpm = position->getBpm(); bpm.hasValue() && std::isfinite (*bpm) && *bpm > 0.0)
                {
                    hostClock.setTempo (*bpm);
                    nativeClock.setTempo (*bpm);
                }

                hostFlamClock.setTempo (hostClock.getTempo());
                hostFlamClock.setStepsPerBeat (hostClock.getStepsPerBeat());
                nativeFlamClock.setTempo (nativeClock.getTempo());
                nativeFlamClock.setStepsPerBeat (nativeClock.getStepsPerBeat());

                // A stopped host's position stands still: following it would hold a
                // sequencer started by the lowest C on its first step.
                if (playing && (detection == byTransportChange || (nativeStartedByNote && detection == byLowestCNoteOn)))
                    if (const auto ppq = position->getPpqPosition(); ppq.hasValue() && std::isfinite (*ppq))
                        nativeClock.setPosition (*ppq);
            }
        }
    }

    return releaseNotes;
}

void DrumMachine::serveStartStopRequest (const BlockStart& block)
{
    // The panel's start or stop, judged against what the clock really does.
    const int request = guiRequest.exchange (noRequest);

    if (request != noRequest && block.intSeq && !hostPlaying)
    {
        if (request == startRequest && !nativeClock.isRunning())
        {
            guiRequestInForce = startRequest;
            startNativeClock();
            stopClock (nativeFlamClock);
        }
        else if (request == stopRequest)
        {
            guiRequestInForce = stopRequest;
            stopClock (nativeClock);
            sequencer->stopNative();
            stopClock (nativeFlamClock);
        }
    }
}

void DrumMachine::clearOutputs (juce::AudioBuffer<float>& outputs) noexcept
{
    // Silent outputs, written from their starts.
    const int numSamples = outputs.getNumSamples();
    numChannelsInBlock = juce::jmin (outputs.getNumChannels(), getOutputChannelCount(), (int) maxOutputChannels);

    for (int c = 0; c < outputs.getNumChannels(); ++c)
        juce::FloatVectorOperations::clear (outputs.getWritePointer (c), numSamples);

    for (int c = 0; c < numChannelsInBlock; ++c)
        channels[c] = outputs.getWritePointer (c);
}

void DrumMachine::beginMidi (juce::MidiBuffer& midi, const BlockStart& block) noexcept
{
    // The block's events in, the trigger notes out.
    midiQueue.addEvents (midi);
    midiOut.clear();
    midiOutBytes = 0;
    midiOutSampleCounter = 0;
    samplesPending = 0;
    samplesRendered = 0;
    sendingTriggerNotes = block.intSeq;

    if (block.releaseNotes)
        releaseTriggerNotes();
}

void DrumMachine::setRunningClocksFromPatterns()
{
    if (hostClock.isRunning())
    {
        setHostClockFromPattern();
        hostFlamClock.setTempo (hostClock.getTempo());
        hostFlamClock.setStepsPerBeat (hostClock.getStepsPerBeat());
        hostFlamClock.setGate (sequencer->getHostPatternFlam());
    }

    if (nativeClock.isRunning())
    {
        setNativeClockFromPattern();
        nativeFlamClock.setTempo (nativeClock.getTempo());
        nativeFlamClock.setStepsPerBeat (nativeClock.getStepsPerBeat());
        nativeFlamClock.setGate (sequencer->getNativePatternFlam());
    }
}

void DrumMachine::renderSamples (int numSamples, const BlockStart& block)
{
    juce::MidiMessageMetadata event;

    for (int i = 0; i < numSamples; ++i)
    {
        handleEventsAt (i, event);
        advanceClocks (block.intSeq, block.host);
        ++midiOutSampleCounter;
        ++samplesPending;
    }

    // The rest of the block.
    renderPending();
    midiQueue.advance (numSamples);
}

void DrumMachine::handleEventsAt (int sample, juce::MidiMessageMetadata& event)
{
    bool firstEvent = true;

    while (midiQueue.getNextEvent (sample, event))
    {
        if (firstEvent)
        {
            midiActivity.store (1);
            renderPending();
            firstEvent = false;
        }

        handleMidiBytes (event.data, event.numBytes);
    }
}

void DrumMachine::advanceClocks (bool intSeq, bool host)
{
    if (sequencer->hasTappedValues())
        (host ? hostClock : nativeClock).markDirty();

    if (hostClock.processSample() && hostClock.isInFirstPart())
    {
        renderPending();

        if (!hostClock.hasRestarted())
            sequencer->advanceHostStep();

        if (intSeq && host)
            sequencer->playHostStep (false);

        hostFlamClock.restart();
    }

    if (nativeClock.processSample() && nativeClock.isInFirstPart())
    {
        renderPending();

        if (!nativeClock.hasRestarted())
            sequencer->advanceNativeStep();

        setNativeClockFromPattern();

        if (intSeq && !host)
            sequencer->playNativeStep (false);

        nativeFlamClock.setTempo (nativeClock.getTempo());
        nativeFlamClock.setStepsPerBeat (nativeClock.getStepsPerBeat());
        nativeFlamClock.restart();
    }

    if (hostFlamClock.processSample() && hostFlamClock.isInSecondPart())
    {
        renderPending();

        if (intSeq && host)
            sequencer->playHostStep (true);

        stopClock (hostFlamClock);
    }

    if (nativeFlamClock.processSample() && nativeFlamClock.isInSecondPart())
    {
        renderPending();

        if (intSeq && !host)
            sequencer->playNativeStep (true);

        stopClock (nativeFlamClock);
    }

    if (sequencer->hasTappedValues())
        processTaps();
}

void DrumMachine::passMidiOn (juce::MidiBuffer& midi, const BlockStart& block)
{
    // While the internal sequencer plays, its notes replace the host's MIDI; otherwise
    // the host's MIDI passes through, with the note-offs of any trigger note it ended.
    if (block.intSeq)
    {
        midi.clear();

        for (const auto metadata : midiOut)
            if (metadata.samplePosition >= 0)
                midi.addEvent (metadata.data, metadata.numBytes, metadata.samplePosition);
    }
    else if (!midiOut.isEmpty())
    {
        for (const auto metadata : midiOut)
            if (metadata.samplePosition >= 0)
                midi.addEvent (metadata.data, metadata.numBytes, metadata.samplePosition);
    }
}

void DrumMachine::askPanelToFollow (const BlockStart& block)
{
    // The panel follows on the message thread.
    int requests = 0;

    if (sequencer->nativePatternChanged() || sequencer->getHostPatternIndex() != block.hostPatternAtStart)
        requests |= patternFollowRequest;

    if (nativeClock.isRunning() && !block.nativeWasRunning)
        requests |= patternFollowRequest;

    if (nativeClock.isRunning() != block.nativeWasRunning)
        requests |= playStateRequest | stepDisplayRequest;

    nativeClockRunning = nativeClock.isRunning();
    hostClockRunning = hostClock.isRunning();

    if (requests != 0)
    {
        deferredRequests.fetch_or (requests);
        triggerAsyncUpdate();
    }
}

void DrumMachine::processTaps()
{
    renderPending();

    const bool host = hostMode.load();
    Clock& clock = host ? (Clock&) hostClock : (Clock&) nativeClock;
    const int player = host ? DrumMachineSeq::hostPlayer : DrumMachineSeq::nativePlayer;

    if (!clock.isRunning() || clock.isNearerStepStart())
    {
        const bool write = clock.isRunning();
        bool struck = false;

        for (int track = 0; track < numTracks; ++track)
        {
            const int value = sequencer->getTapValue (track);

            if (value == 0)
                continue;

            if (write)
                sequencer->writeStep (track, value, player);

            const double velocity = getNormalVelocity() + (value == DrumMachineSeq::getAccentStepValue() ? getStrongVelocityIncrement() : 0.0);
            triggerInstrument (track, (float) velocity);
            struck = true;
        }

        sequencer->clearTapBuffer();

        if (struck)
            updateStepDisplay();
    }
    else
    {
        sequencer->writeTappedValuesAtNextStep (player);
    }

    sequencer->setTapped (false);
}

void DrumMachine::renderPending() noexcept
{
    while (samplesPending > 0)
    {
        renderSample();
        --samplesPending;
        ++samplesRendered;
    }
}

void DrumMachine::renderSample() noexcept
{
    const int position = samplesRendered;

    if (core == nullptr)
        return;

    core->renderSample (instrumentSamples);

    const bool mono = isMonoOutputMode();
    const int numOutputsInBlock = mono ? numChannelsInBlock : numChannelsInBlock / 2;

    for (int i = 0; i < numInstruments; ++i)
    {
        const int o = outputNumbers[(size_t) i].load (std::memory_order_relaxed) - 1;

        if (o < 0 || o >= numOutputsInBlock)
            continue;

        const auto sample = (float) instrumentSamples[i];

        if (mono)
        {
            channels[o][position] += sample;
        }
        else
        {
            channels[2 * o][position] += sample;
            channels[2 * o + 1][position] += sample;
        }
    }

    if (core->isTriggerOutEnabled())
    {
        const auto pulse = (float) core->renderTriggerOut();
        const int o = triggerOutput.load (std::memory_order_relaxed) - 1;

        if (o >= 0 && o < numOutputsInBlock)
        {
            if (mono)
            {
                channels[o][position] += pulse;
            }
            else
            {
                channels[2 * o][position] += pulse;
                channels[2 * o + 1][position] += pulse;
            }
        }
    }
}

//==============================================================================
void DrumMachine::handleMidiBytes (const juce::uint8* data, int size)
{
    // Only channel messages play a role; system exclusive would need room on the heap.
    if (data == nullptr || size <= 0 || size > 3 || data[0] < 0x80 || data[0] >= 0xf0)
        return;

    handleMidiMessage (juce::MidiMessage (data, size));
}

void DrumMachine::handleMidiMessage (const juce::MidiMessage& message)
{
    if (sequencer == nullptr)
        return;

    if (message.isController())
    {
        if (message.getControllerNumber() == 123)
        {
            sequencer->stopHost();
            sequencer->stopNative();
            stopAllClocks();
            nativeStartedByNote = false;
            heldPatternKeys = 0;
            releaseTriggerNotes();
        }
        else
        {
            getMidiControl().handleMidiMessage (message);
        }

        return;
    }

    if (message.isProgramChange())
    {
        // Applying a preset sets texts and takes the preset lock: the message thread does it.
        if (message.getProgramChangeNumber() < getNumPresets())
        {
            pendingProgram = message.getProgramChangeNumber();
            deferredRequests.fetch_or (programChangeRequest);
            triggerAsyncUpdate();
        }

        return;
    }

    if (!message.isNoteOnOrOff())
        return;

    const int key = message.getNoteNumber();
    const bool noteOn = message.isNoteOn();

    if (noteOn && !internalSequencer.load())
    {
        const int instrument = drumMap.getInstrument (key);

        if (instrument >= 0)
            triggerInstrument (instrument, (float) message.getVelocity() / 127.0f);
    }

    if (key >= 12 && key <= 107)
    {
        const int pattern = key - 12;

        if (!noteOn)
        {
            if (pattern == sequencer->getHostPatternIndex() && heldPatternKeys > 0)
            {
                --heldPatternKeys;

                if (heldPatternKeys == 0 && noteOffMode.load())
                {
                    sequencer->stopHost();
                    stopClock (hostClock);
                    stopClock (hostFlamClock);
                }
            }
        }
        else
        {
            heldPatternKeys = pattern != sequencer->getHostPatternIndex() ? 1 : heldPatternKeys + 1;
            sequencer->startHostPattern (pattern);
            setHostClockFromPattern();
            hostClock.restart();
            hostFlamClock.setTempo (hostClock.getTempo());
            hostFlamClock.setStepsPerBeat (hostClock.getStepsPerBeat());
            stopClock (hostFlamClock);
            hostFlamClock.setGate (sequencer->getHostPatternFlam());
        }
    }

    if (key == 0 && noteOn && hostPlayDetection.load() == byLowestCNoteOn && !nativeClock.isRunning())
    {
        startNativeClock();
        nativeStartedByNote = true;
    }
}

void DrumMachine::triggerInstrument (int track, float velocity)
{
    if (track < 0)
        return;

    if (track >= accentTrack || audibleFlags[(size_t) track].load (std::memory_order_relaxed))
    {
        if (core != nullptr)
            core->triggerInstrument (track, velocity);

        activityFlags[(size_t) juce::jmin (track, accentTrack)].exchange (1);

        if (track < numInstruments)
            sendTriggerOutNoteOn (track, velocity);
    }
}

void DrumMachine::triggerStep (int track, bool strong, bool accented)
{
    double velocity = getNormalVelocity();
    velocity += accented ? getAccentVelocityIncrement() * (double) accentLevel.load() : 0.0;
    velocity += strong ? getStrongVelocityIncrement() : 0.0;
    triggerInstrument (track, (float) velocity);
}

int DrumMachine::getVelocityByte (float velocity) const noexcept
{
    // A velocity byte of 0 would be a note-off.
    return juce::jlimit (1, 127, (int) (velocity * 127.0f));
}

void DrumMachine::addMidiOut (juce::uint8 status, int key, int velocity) noexcept
{
    // The buffer was sized in prepareToPlay; an event beyond it is dropped, not allocated.
    if (midiOutBytes + bytesPerMidiOutEvent > midiOutCapacity)
        return;

    const juce::uint8 bytes[3] = {status, (juce::uint8) key, (juce::uint8) velocity};
    midiOut.addEvent (bytes, 3, midiOutSampleCounter);
    midiOutBytes += bytesPerMidiOutEvent;
}

void DrumMachine::sendTriggerOutNoteOn (int instrument, float velocity)
{
    // Notes reach the host only while the internal sequencer plays this block.
    if (instrument < 0 || instrument >= numInstruments || !sendingTriggerNotes)
        return;

    sendTriggerOutNoteOff (instrument);

    const int velocityByte = getVelocityByte (velocity);

    for (int key = 0; key < DrumMap::numKeys; ++key)
    {
        if (drumMap.getInstrument (key) == instrument)
        {
            // The map changed while another voice's note sounds on this key: end it
            // first, so that no note-on is left without its note-off.
            if (soundingKeys[(size_t) key] != DrumMap::noInstrument)
                addMidiOut (0x80, key, 0);

            addMidiOut (0x90, key, velocityByte);
            soundingKeys[(size_t) key] = instrument;
        }
    }
}

void DrumMachine::sendTriggerOutNoteOff (int instrument)
{
    // The keys that sounded, whatever the drum map says now.
    for (int key = 0; key < DrumMap::numKeys; ++key)
    {
        if (soundingKeys[(size_t) key] == instrument)
        {
            addMidiOut (0x80, key, 0);
            soundingKeys[(size_t) key] = DrumMap::noInstrument;
        }
    }
}

void DrumMachine::releaseTriggerNotes() noexcept
{
    for (int instrument = 0; instrument < numInstruments; ++instrument)
        sendTriggerOutNoteOff (instrument);
}

int DrumMachine::takeActivity (int track)
{
    return juce::isPositiveAndBelow (track, numTracks) ? activityFlags[(size_t) track].exchange (0) : 0;
}

//==============================================================================
bool DrumMachine::deferToMessageThread (int request)
{
    auto* messageManager = juce::MessageManager::getInstanceWithoutCreating();

    if (!isInsideAudioCallback() && messageManager != nullptr && messageManager->isThisTheMessageThread())
        return false;

    deferredRequests.fetch_or (request);
    triggerAsyncUpdate();
    return true;
}

void DrumMachine::handleAsyncUpdate()
{
    BasePluginOldStyle::handleAsyncUpdate();

    const int requests = deferredRequests.exchange (0);

    if ((requests & programChangeRequest) != 0)
    {
        const int program = pendingProgram.exchange (-1);

        // A program chosen by the host's MIDI: its values are not reported back to the host.
        if (program >= 0)
        {
            const HostChangeScope fromHost;
            changePreset (program);
        }
    }

    if ((requests & playStateRequest) != 0)
    {
        publishBool (playStateUid, nativeClockRunning.load());
        publishNativeModeReady();
    }

    if ((requests & patternFollowRequest) != 0)
        followPlayingPattern();

    if ((requests & (stepDisplayRequest | playStateRequest)) != 0)
        updateStepDisplay();

    if ((requests & hostDisplayRequest) != 0)
        refreshHostDisplay();
}

void DrumMachine::followPlayingPattern()
{
    if (sequencer == nullptr)
        return;

    bool changed = false;

    if (hostMode.load())
    {
        if (hostClockRunning.load() && !randomizerMode.load() && !lengthMode.load() && (autoFollow.load() || tapMode.load()))
            changed = sequencer->followHostPattern();
    }
    else if (nativeClockRunning.load() && (!patternWriteMode.load() || (!randomizerMode.load() && !lengthMode.load() && (autoFollow.load() || tapMode.load()))))
    {
        changed = sequencer->followNativePattern();
    }

    juce::ignoreUnused (changed);
    updatePatternDisplay();
}

void DrumMachine::refreshHostDisplay()
{
    // Hosts ask for the key names again.
    updateHostDisplay (juce::AudioProcessorListener::ChangeDetails().withProgramChanged (true));
}

//==============================================================================
bool DrumMachine::isEditing() const
{
    return internalSequencer.load() && (patternWriteMode.load() || hostMode.load());
}

bool DrumMachine::isRandomizerFilled() const
{
    return sequencer != nullptr && sequencer->isRandomizerActive();
}

bool DrumMachine::isAutoFollowActive() const
{
    return isEditing() && !lengthMode.load() && (autoFollow.load() || tapMode.load());
}

void DrumMachine::handleEvent (int uid)
{
    if (sequencer == nullptr)
        return;

    if (!editCommands.handleEvent (uid))
        BasePluginOldStyle::handleEvent (uid);
}

std::atomic<bool> DrumMachine::*DrumMachine::getModeFlag (Mode mode)
{
    static constexpr std::atomic<bool> DrumMachine::*flags[] = {
        &DrumMachine::internalSequencer, &DrumMachine::internalSync, &DrumMachine::hostMode, &DrumMachine::noteOffMode,
        &DrumMachine::patternWriteMode, &DrumMachine::autoFollow, &DrumMachine::randomizerMode,
        &DrumMachine::lengthMode, &DrumMachine::tapMode, &DrumMachine::flamMode};
    static_assert (std::size (flags) == (size_t) Mode::flam + 1, "one flag per mode, in order");
    return flags[(size_t) mode];
}

void DrumMachine::changeMode (Mode mode, bool on)
{
    // The modes before the randomizer, in order; the edit modes' flags are set by the commands.
    static constexpr void (DrumMachine::*setters[]) (bool) = {&DrumMachine::setInternalSequencer, &DrumMachine::setInternalSync,
                                                              &DrumMachine::setHostMode, &DrumMachine::setNoteOffMode,
                                                              &DrumMachine::setPatternWriteMode, &DrumMachine::setAutoFollow};
    static_assert (std::size (setters) == (size_t) Mode::randomizer, "one setter per sequencer mode, in order");

    if ((size_t) mode < std::size (setters))
        (this->*setters[(size_t) mode]) (on);
    else
        setModeFlag (mode, on);
}

void DrumMachine::updateDisplay (Display display)
{
    static constexpr void (DrumMachine::*updates[])() = {
        &DrumMachine::updateRandomizerState, &DrumMachine::updateTapModeState, &DrumMachine::updateLengthModeState,
        &DrumMachine::updateSelectionStates, &DrumMachine::updateStepDisplay, &DrumMachine::updatePatternDisplay,
        &DrumMachine::updateStepLengthStates, &DrumMachine::updateScaleStates};
    static_assert (std::size (updates) == (size_t) Display::flamMode, "one update per display, in order");

    if (display == Display::flamMode)
        publishBool (flamModeStateUid, isFlamModeActive());
    else
        (this->*updates[(size_t) display])();
}

void DrumMachine::publishClipboard (bool tracksFilled, bool patternFilled)
{
    publishBool (clipboardTracksStateUid, tracksFilled);
    publishBool (clipboardPatternStateUid, patternFilled);
}

void DrumMachine::publishSelectedInstrument (int track)
{
    publish (instrumentSelectionUid, (float) track);
    publish (instrumentSelectionAccentFirstUid, (float) (track < accentTrack ? track + 1 : 0));
}

//==============================================================================
void DrumMachine::parameterChanged (Parameter* parameter)
{
    if (parameter == nullptr)
        return;

    const int uid = parameter->getUid();
    const float normalised = parameter->getNormalisedValue();

    if (core != nullptr)
        core->setParameter (uid, normalised);

    if (uid >= firstMuteUid && uid < firstRandThresholdUid)
    {
        auto& flags = uid < firstSoloUid ? muteFlags : soloFlags;
        flags[(size_t) ((uid - firstMuteUid) % numInstruments)] = parameter->getBoolValue();
        updateInstrumentEnables();
    }
    else if (uid >= firstOutputNumberUid && uid < firstOutputNumberUid + numInstruments)
    {
        outputNumbers[(size_t) (uid - firstOutputNumberUid)] = parameter->getIntValue();
    }
    else if (uid >= firstRandThresholdUid && uid < firstOutputNumberUid)
    {
        if (sequencer != nullptr)
            sequencer->setRandomThreshold (uid - firstRandThresholdUid, normalised);

        updateStepDisplay();
    }
    else if (uid == accentLevelUid)
    {
        accentLevel = normalised;
    }
    else if (uid >= internalSequencerStateUid && uid <= lastInternalParameterUid)
    {
        // The panel's own changes; the drum machine's publishing is only shown.
        if (publishing || sequencer == nullptr || deferToMessageThread (0))
            return;

        if (uid == instrumentSelectionUid || uid == instrumentSelectionAccentFirstUid)
        {
            int track = parameter->getIntValue();

            if (uid == instrumentSelectionAccentFirstUid)
                track = track == 0 ? accentTrack : track - 1;

            if (isRandomizerActive() && isRandomizerFilled() && isTrackSelected (track))
            {
                editCommands.setSelectedRandomTrack (track);
                updateRandomizerState();
            }
            else
            {
                selectInstrument (track);
            }
        }
        else if (uid == patternNameUid && isEditing())
        {
            sequencer->setEditedPatternName (parameter->getText());
            updatePatternNameState();
            refreshHostDisplay();
        }
        else if (uid == patternTempoUid && isEditing() && internalSync.load())
        {
            sequencer->setEditedPatternTempo (parameter->getValue());
            updateTempoState();
        }
        else if (uid == patternShuffleUid && isEditing())
        {
            sequencer->setEditedPatternShuffle (parameter->getValue());
            publish (patternShuffleUid, (float) sequencer->getEditedPatternShuffle());
        }
        else if (uid == patternFlamUid && isEditing())
        {
            sequencer->setEditedPatternFlam (parameter->getValue());
            publish (patternFlamUid, (float) sequencer->getEditedPatternFlam());
        }

        return;
    }

    BasePluginOldStyle::parameterChanged (parameter);
}

//==============================================================================
void DrumMachine::setInternalSequencer (bool on)
{
    if (on != internalSequencer.load())
    {
        internalSequencer = on;

        // The audio thread ends the trigger notes still sounding with its next block.
        releaseNotesRequested = true;
    }

    updateInternalSequencerState();
}

void DrumMachine::setInternalSync (bool on)
{
    internalSync = on;
    updateInternalSyncState();
}

void DrumMachine::setHostMode (bool on)
{
    if (on != hostMode.load())
    {
        hostMode = on;

        if (isClipboardPatternFilled())
            clearClipboard();
    }

    updateHostModeState();
}

void DrumMachine::setNoteOffMode (bool on)
{
    noteOffMode = on;
    updateNoteOffState();
}

void DrumMachine::setPatternWriteMode (bool on)
{
    patternWriteMode = on;
    updateWriteModeState();
}

void DrumMachine::setAutoFollow (bool on)
{
    autoFollow = on;
    updateAutoFollowState();
}

void DrumMachine::setHostPlayDetection (int detection)
{
    hostPlayDetection = detection == byLowestCNoteOn ? byLowestCNoteOn : byTransportChange;
}

void DrumMachine::setModeDefaults (bool internalSequencerOn, bool internalSyncOn, bool hostModeOn, bool noteOffOn)
{
    internalSequencerDefault = internalSequencerOn;
    internalSyncDefault = internalSyncOn;
    hostModeDefault = hostModeOn;
    noteOffDefault = noteOffOn;
}

int DrumMachine::getPlayingStep() const
{
    if (sequencer == nullptr || !internalSequencer.load() || isLengthModeActive())
        return -1;

    if (hostMode.load())
        return hostClockRunning.load() && sequencer->getHostPatternIndex() == sequencer->getEditedPatternIndex()
                   ? sequencer->getHostStep()
                   : -1;

    if (nativeClockRunning.load() && (!patternWriteMode.load() || sequencer->getNativePatternIndex() == sequencer->getEditedPatternIndex()))
        return sequencer->getNativeStep();

    return -1;
}

//==============================================================================
void DrumMachine::publish (int uid, float value)
{
    auto& store = getParameterManager();
    const juce::ScopedReadLock sl (store.getLock());

    if (auto* parameter = store.getParameter (uid))
    {
        const juce::ScopedValueSetter<bool> svs (publishing, true);
        parameter->setValue (value, true);
    }
}

void DrumMachine::publishText (int uid, const juce::String& text)
{
    auto& store = getParameterManager();
    const juce::ScopedReadLock sl (store.getLock());

    if (auto* parameter = store.getParameter (uid))
    {
        const juce::ScopedValueSetter<bool> svs (publishing, true);
        parameter->setText (text, true);
    }
}

void DrumMachine::publishNativeModeReady()
{
    publishBool (nativeModeReadyStateUid, internalSequencer.load() && !patternWriteMode.load() && !hostMode.load() && !nativeClockRunning.load());
}

void DrumMachine::updateInternalSequencerState()
{
    publishBool (internalSequencerStateUid, internalSequencer.load());
    refreshHostDisplay();
    updateInternalSyncState();
    updateHostModeState();
    updateNoteOffState();
    updateWriteModeState();
    updateTempoState();
    updateScaleStates();
    updatePatternNumber();
    publishNativeModeReady();
    updateStepBlinkingStates();
}

void DrumMachine::updateInternalSyncState()
{
    publishBool (internalSyncStateUid, internalSequencer.load() && internalSync.load());
    updateTempoState();
}

void DrumMachine::updateHostModeState()
{
    publishBool (hostModeStateUid, internalSequencer.load() && hostMode.load());
    refreshHostDisplay();
    updateWriteModeState();
    updatePatternNameState();
    updatePatternNumber();
    publishNativeModeReady();
    updateTempoState();
    updateScaleStates();
}

void DrumMachine::updateNoteOffState()
{
    publishBool (noteOffStateUid, internalSequencer.load() && noteOffMode.load());
}

void DrumMachine::updateWriteModeState()
{
    const bool editing = isEditing();

    if (editing && sequencer != nullptr)
    {
        bool moved = false;

        if (hostMode.load())
            moved = sequencer->followHostPattern();
        else if (nativeClockRunning.load())
            moved = sequencer->followNativePattern();
        else
            moved = sequencer->editChainStart();

        if (moved)
            updatePatternDisplay();
    }

    updateAutoFollowState();
    updateRandomizerState();
    updateLengthModeState();
    updateTapModeState();
    publishBool (flamModeStateUid, editing && flamMode.load());
    setTrackSelectionParameters();
    updateStepLengthStates();
    updateStepDisplay();
    updatePatternNumber();
    updatePatternNameState();
    publishBool (patternNameEditionStateUid, editing);
    updateTempoState();
    publishNativeModeReady();
    updateStepBlinkingStates();
    publishBool (writeModeStateUid, editing);
    publishBool (writeModeActivityUid, internalSequencer.load() && !hostMode.load());
}

void DrumMachine::updateAutoFollowState()
{
    publishBool (autoFollowStateUid, isAutoFollowActive());
    publishBool (patternNameEditionStateUid, isEditing());
}

void DrumMachine::updateLengthModeState()
{
    publishBool (lengthModeStateUid, isLengthModeActive());
    updateStepDisplay();
    updateAutoFollowState();
}

void DrumMachine::updateRandomizerState()
{
    const bool active = isRandomizerActive();
    const bool filled = active && isRandomizerFilled();

    publishBool (randomizerStateUid, active);
    publishBool (randomizerActiveAndFilledUid, filled);
    publishBool (randomizerActiveButNotFilledUid, active && !filled);

    for (int t = 0; t < numTracks; ++t)
    {
        publishBool (firstRandStateUid + t, filled && sequencer->isTrackRandomized (t));
        publishBool (firstRandSelectionUid + t, filled && t == getSelectedRandomTrack());
    }

    updateStepDisplay();
}

void DrumMachine::updateTapModeState()
{
    publishBool (tapModeStateUid, isTapModeActive());
    updateStepDisplay();
    updateAutoFollowState();
    updateSelectionStates();
}

void DrumMachine::updateSelectionStates()
{
    setTrackSelectionParameters();
}

void DrumMachine::updatePatternNumber()
{
    int number = 0;

    if (sequencer != nullptr && internalSequencer.load())
    {
        if (hostMode.load())
            number = sequencer->getEditedPatternIndex() + 12;
        else if (patternWriteMode.load())
            number = sequencer->getEditedPatternIndex() + 1;
        else
            number = sequencer->getNativePatternIndex() + 1;
    }

    publish (patternNumberUid, (float) number);
}

void DrumMachine::updatePatternNameState()
{
    juce::String name;

    if (sequencer != nullptr && internalSequencer.load())
        name = isEditing() ? sequencer->getEditedPatternName() : sequencer->getNativePatternName();

    publishText (patternNameUid, name);
}

void DrumMachine::publishStepLengthStates (int length, bool show)
{
    for (int n = 1; n <= numSteps; ++n)
        publishBool (stepLengthStateUid + n - 1, show && n <= length);
}

void DrumMachine::updateStepLengthStates()
{
    if (sequencer == nullptr)
        return;

    publishStepLengthStates (isEditing() ? sequencer->getEditedPatternLength() : sequencer->getNativePatternLength(),
                             internalSequencer.load());
}

void DrumMachine::updateTempoState()
{
    float tempo = 0.0f;

    if (sequencer != nullptr && internalSequencer.load())
        tempo = (float) (isEditing() ? sequencer->getEditedPatternTempo() : sequencer->getNativePatternTempo());

    // Below the parameter's range when off, so the store keeps its lowest value.
    publish (patternTempoUid, tempo);
    publishBool (patternTempoStateUid, isEditing() && internalSync.load());
}

void DrumMachine::updateScaleStates()
{
    int scale = 0;

    if (sequencer != nullptr && internalSequencer.load())
        scale = isEditing() ? sequencer->getEditedPatternScale() : sequencer->getNativePatternScale();

    for (int i = 0; i < 4; ++i)
        publishBool (patternScale6StateUid + i, scale == scales[i]);
}

void DrumMachine::updateStepDisplay()
{
    if (deferToMessageThread (stepDisplayRequest))
        return;

    publishStepStates();
    displayHookA();
    displayHookB();
    updateStepBlinkingStates();
}

void DrumMachine::publishStepStates()
{
    for (int n = 0; n < numSteps; ++n)
    {
        float value = 0.0f;

        if (sequencer != nullptr && isEditing() && !isTapModeActive() && !isLengthModeActive())
        {
            int common = -1;

            for (int t = 0; t < numTracks; ++t)
            {
                if (!isTrackSelected (t))
                    continue;

                const int v = n < sequencer->getEditedPatternLength() ? sequencer->getStepValue (t, n) : 0;
                common = common < 0 ? v : (common == v ? common : 0);
            }

            value = common == DrumMachineSeq::getAccentStepValue() ? 1.0f : common == DrumMachineSeq::getNormalStepValue() ? 0.5f
                                                                                                                           : 0.0f;
        }
        else if (isLengthModeActive())
        {
            value = 1.0f;
        }

        publish (stepStateUid + n, value);
    }
}

void DrumMachine::updatePatternDisplay()
{
    if (sequencer == nullptr)
        return;

    updateStepDisplay();
    updateStepLengthStates();
    updatePatternNumber();
    updatePatternNameState();
    publish (patternFlamUid, (float) sequencer->getEditedPatternFlam());
    publish (patternShuffleUid, (float) sequencer->getEditedPatternShuffle());
    updateTempoState();
    updateScaleStates();
    publishNativeModeReady();
    updateStepBlinkingStates();
}

void DrumMachine::updateStepBlinkingStates()
{
    const bool length = isLengthModeActive();
    const bool editing = isEditing();

    for (int n = 0; n < numSteps; ++n)
        publishBool (stepBlinkingUid + n, length || (!editing && sequencer != nullptr && sequencer->isCurrentPatternButton (n)));
}

//==============================================================================
void DrumMachine::clearDrumMap()
{
    const juce::ScopedLock sl (getCallbackLock());
    drumMap.clear();
}

juce::String DrumMachine::getInstrumentNameForKey (int key) const
{
    const int instrument = drumMap.getInstrument (key);
    return instrument >= 0 ? DrumVoiceNames::getName (instrument) : juce::String();
}

bool DrumMachine::isDrumMapXml (const juce::XmlElement& element) const
{
    return checkApplicationAttribute (element, "DrumMap");
}

bool DrumMachine::readDrumMapXml (const juce::XmlElement& element)
{
    if (!isDrumMapXml (element))
        return false;

    DrumMap fresh;
    fresh.setName (drumMap.getName());
    fresh.readXml (element);

    const juce::ScopedLock sl (getCallbackLock());
    drumMap = fresh;
    return true;
}

std::unique_ptr<juce::XmlElement> DrumMachine::createDrumMapXml() const
{
    return drumMap.createXml (getPluginName());
}

bool DrumMachine::loadDrumMapFile (const juce::File& file)
{
    auto document = parseXmlDocument (file);

    if (document == nullptr || !readDrumMapXml (*document))
        return false;

    refreshHostDisplay();
    return true;
}

bool DrumMachine::saveDrumMapFile (const juce::File& file) const
{
    return writeXmlDocument (*createDrumMapXml(), file);
}

bool DrumMachine::loadFactoryDrumMap()
{
    auto document = parseXmlText (loadXmlResource ("default" + getDrumMapFileExtension()));
    return document != nullptr && readDrumMapXml (*document);
}

juce::String DrumMachine::getDrumMapFileExtension() const
{
    return "." + getPluginPrefix() + "drmap";
}

juce::String DrumMachine::getDrumMapWildcard() const
{
    return makeWildcard (getDrumMapFileExtension());
}

juce::String DrumMachine::getDrumMapFileFilter() const
{
    auto filter = getDrumMapWildcard();

    for (int i = 0; i < getNumExtraDrumMapWildcards(); ++i)
        filter << "; " << getExtraDrumMapWildcard (i);

    return filter;
}

void DrumMachine::setUserDrumMapFile (const juce::String& path)
{
    drumMapUserFile = path;
    drumMapSource = userDrumMap;
}

void DrumMachine::readDrumMapStartupXml (const juce::XmlElement& element)
{
    if (!tagIs (element, "DrumMap"))
        return;

    const auto source = getAttributeIgnoringCase (element, "default");

    if (source == "factoryMapping")
        drumMapSource = factoryDrumMap;
    else if (source == "userDefinedDrumMap")
        setUserDrumMapFile (getAttributeIgnoringCase (element, "file"));
}

std::unique_ptr<juce::XmlElement> DrumMachine::createDrumMapStartupXml() const
{
    auto element = std::make_unique<juce::XmlElement> ("DrumMap");
    element->setAttribute ("default", drumMapSource == userDrumMap ? "userDefinedDrumMap" : "factoryMapping");

    if (drumMapSource == userDrumMap)
        element->setAttribute ("file", drumMapUserFile);

    return element;
}

//==============================================================================
void DrumMachine::resetOutputAssignments()
{
    auto& store = getParameterManager();

    for (int i = 0; i < numInstruments; ++i)
    {
        outputNumbers[(size_t) i] = 1;
        store.setIntValue (firstOutputNumberUid + i, 1);
    }

    triggerOutput = getNumOutputs();
}

void DrumMachine::setTriggerOutput (int output)
{
    if (output >= 1 && output <= getNumOutputs())
        triggerOutput = output;
}

void DrumMachine::resetDefaultOutputAssignments()
{
    defaultOutputNumbers.fill (1);
}

void DrumMachine::applyDefaultOutputAssignments()
{
    auto& store = getParameterManager();

    for (int i = 0; i < numInstruments; ++i)
    {
        outputNumbers[(size_t) i] = defaultOutputNumbers[(size_t) i];
        store.setIntValue (firstOutputNumberUid + i, defaultOutputNumbers[(size_t) i]);
    }
}

void DrumMachine::updateInstrumentEnables()
{
    bool anySolo = false;

    for (auto& solo : soloFlags)
        anySolo = anySolo || solo.load();

    for (int i = 0; i < numInstruments; ++i)
        audibleFlags[(size_t) i] = anySolo ? soloFlags[(size_t) i].load() : !muteFlags[(size_t) i].load();
}

bool DrumMachine::isInstrumentAudible (int instrument) const
{
    return juce::isPositiveAndBelow (instrument, numInstruments) && audibleFlags[(size_t) instrument].load();
}

int DrumMachine::getOutputNumber (int instrument) const
{
    return juce::isPositiveAndBelow (instrument, numInstruments) ? outputNumbers[(size_t) instrument].load() : 0;
}

int DrumMachine::getDefaultOutputNumber (int instrument) const
{
    return juce::isPositiveAndBelow (instrument, numInstruments) ? defaultOutputNumbers[(size_t) instrument] : 0;
}

void DrumMachine::setDefaultOutputNumber (int instrument, int output)
{
    if (juce::isPositiveAndBelow (instrument, numInstruments) && output >= 1 && output <= getNumOutputs())
        defaultOutputNumbers[(size_t) instrument] = output;
}

bool DrumMachine::readAudioOutputStateXml (const juce::XmlElement& element)
{
    OutputSettings settings;

    for (int i = 0; i < numInstruments; ++i)
        settings.outputs[(size_t) i] = outputNumbers[(size_t) i].load();

    if (core != nullptr)
    {
        settings.triggerOutEnabled = core->isTriggerOutEnabled();
        settings.triggerOutInstrument = core->getTriggerOutInstrument();
    }

    if (!settings.readXml (element, getNumOutputs()))
        return false;

    if (core != nullptr && settings.triggerOutRead)
    {
        core->setTriggerOutEnabled (settings.triggerOutEnabled);
        core->updateTriggerOut();
        core->setTriggerOutInstrument (settings.triggerOutInstrument);
    }

    // Projects saved before the output was stored load with the last output, as then.
    triggerOutput = settings.triggerOutOutput > 0 ? settings.triggerOutOutput : getNumOutputs();

    auto& store = getParameterManager();

    for (int i = 0; i < numInstruments; ++i)
    {
        outputNumbers[(size_t) i] = settings.outputs[(size_t) i];
        store.setIntValue (firstOutputNumberUid + i, settings.outputs[(size_t) i]);
    }

    return true;
}

std::unique_ptr<juce::XmlElement> DrumMachine::createAudioOutputStateXml() const
{
    OutputSettings settings;

    for (int i = 0; i < numInstruments; ++i)
        settings.outputs[(size_t) i] = outputNumbers[(size_t) i].load();

    if (core != nullptr)
    {
        settings.triggerOutEnabled = core->isTriggerOutEnabled();
        settings.triggerOutInstrument = core->getTriggerOutInstrument();
    }

    settings.triggerOutOutput = triggerOutput.load();
    return settings.createStateXml();
}

bool DrumMachine::readAudioOutputSettingsXml (const juce::XmlElement& element)
{
    OutputSettings settings;
    settings.outputs = defaultOutputNumbers;
    settings.outputMode = defaultOutputMode;

    if (!settings.readXml (element, getNumOutputs()))
        return false;

    defaultOutputNumbers = settings.outputs;
    defaultOutputMode = settings.outputMode;
    return true;
}

std::unique_ptr<juce::XmlElement> DrumMachine::createAudioOutputSettingsXml() const
{
    OutputSettings settings;
    settings.outputs = defaultOutputNumbers;
    settings.outputMode = defaultOutputMode;
    return settings.createSettingsXml();
}

//==============================================================================
void DrumMachine::readInternalSequencerStateXml (const juce::XmlElement& element)
{
    for (auto* child : element.getChildIterator())
    {
        const bool on = getAttributeIgnoringCase (*child, "state") == "on";

        if (tagIs (*child, "IntSeq"))
        {
            setInternalSequencer (on);
        }
        else if (tagIs (*child, "IntSync"))
        {
            setInternalSync (on);
        }
        else if (tagIs (*child, "HostMode"))
        {
            setHostMode (on);
        }
        else if (tagIs (*child, "NoteOff"))
        {
            setNoteOffMode (on);
        }
        else if (tagIs (*child, "PattWriteMode"))
        {
            setPatternWriteMode (on);
        }
        else if (tagIs (*child, "AutoFollow"))
        {
            setAutoFollow (on);
        }
        else if (tagIs (*child, "DMSeqEditionState") && sequencer != nullptr)
        {
            sequencer->readEditionStateXml (*child);
        }
    }
}

std::unique_ptr<juce::XmlElement> DrumMachine::createInternalSequencerStateXml() const
{
    auto element = std::make_unique<juce::XmlElement> ("InternalSequencer");
    element->addChildElement (createStateElement ("IntSeq", internalSequencer.load()).release());
    element->addChildElement (createStateElement ("IntSync", internalSync.load()).release());
    element->addChildElement (createStateElement ("HostMode", hostMode.load()).release());
    element->addChildElement (createStateElement ("NoteOff", noteOffMode.load()).release());
    element->addChildElement (createStateElement ("PattWriteMode", isEditing()).release());
    element->addChildElement (createStateElement ("AutoFollow", isAutoFollowActive()).release());

    if (sequencer != nullptr)
        element->addChildElement (sequencer->createEditionStateXml().release());

    return element;
}

void DrumMachine::readInternalSequencerSettingsXml (const juce::XmlElement& element)
{
    if (!tagIs (element, "InternalSequencer"))
        return;

    for (auto* child : element.getChildIterator())
    {
        const bool on = getAttributeIgnoringCase (*child, "state") == "on";

        if (tagIs (*child, "IntSeq"))
            internalSequencerDefault = on;
        else if (tagIs (*child, "IntSync"))
            internalSyncDefault = on;
        else if (tagIs (*child, "HostMode"))
            hostModeDefault = on;
        else if (tagIs (*child, "NoteOff"))
            noteOffDefault = on;
        else if (tagIs (*child, "HostPlayDetection"))
        {
            const auto type = getAttributeIgnoringCase (*child, "type");

            if (type == "byTransportChange")
                setHostPlayDetection (byTransportChange);
            else if (type == "byLowestCNoteOn")
                setHostPlayDetection (byLowestCNoteOn);
        }
    }
}

std::unique_ptr<juce::XmlElement> DrumMachine::createInternalSequencerSettingsXml() const
{
    auto element = std::make_unique<juce::XmlElement> ("InternalSequencer");
    element->addChildElement (createStateElement ("IntSeq", internalSequencerDefault).release());
    element->addChildElement (createStateElement ("IntSync", internalSyncDefault).release());
    element->addChildElement (createStateElement ("HostMode", hostModeDefault).release());
    element->addChildElement (createStateElement ("NoteOff", noteOffDefault).release());
    element->createNewChildElement ("HostPlayDetection")
        ->setAttribute ("type", hostPlayDetection.load() == byTransportChange ? "byTransportChange" : "byLowestCNoteOn");
    return element;
}

void DrumMachine::loadPluginStateXml (const juce::XmlElement& element)
{
    BasePluginOldStyle::loadPluginStateXml (element);

    if (!isPluginStateXml (element))
        return;

    for (auto* child : element.getChildIterator())
    {
        if (OutputSettings::isOutputSettingsXml (*child))
            readAudioOutputStateXml (*child);
        else if (isDrumMapXml (*child))
            readDrumMapXml (*child);
        else if (tagIs (*child, "InternalSequencer"))
            readInternalSequencerStateXml (*child);
        else if (tagIs (*child, "PatternsState") && sequencer != nullptr)
            sequencer->readPatternsStateXml (*child);
    }

    refreshHostDisplay();
    updatePatternDisplay();
}

std::unique_ptr<juce::XmlElement> DrumMachine::createPluginStateXml()
{
    auto state = BasePluginOldStyle::createPluginStateXml();

    if (state == nullptr)
        return state;

    state->insertChildElement (createInternalSequencerStateXml().release(), 0);
    state->insertChildElement (createAudioOutputStateXml().release(), 1);

    if (sequencer != nullptr)
        state->insertChildElement (sequencer->createPatternsStateXml().release(), 2);

    state->addChildElement (createDrumMapXml().release());
    return state;
}

void DrumMachine::loadUserSettingsXml (const juce::XmlElement& element)
{
    BasePluginOldStyle::loadUserSettingsXml (element);

    if (!isUserSettingsXml (element))
        return;

    for (auto* child : element.getChildIterator())
    {
        if (OutputSettings::isOutputSettingsXml (*child))
            readAudioOutputSettingsXml (*child);
        else if (tagIs (*child, "InternalSequencer"))
            readInternalSequencerSettingsXml (*child);
    }
}

std::unique_ptr<juce::XmlElement> DrumMachine::createUserSettingsXml()
{
    auto settings = BasePluginOldStyle::createUserSettingsXml();

    if (settings == nullptr)
        return settings;

    settings->addChildElement (createAudioOutputSettingsXml().release());
    settings->addChildElement (createInternalSequencerSettingsXml().release());
    return settings;
}

void DrumMachine::loadResourcesSettingsXml (const juce::XmlElement& element)
{
    BasePluginOldStyle::loadResourcesSettingsXml (element);

    for (auto* child : element.getChildIterator())
    {
        if (tagIs (*child, "DMSeqRes"))
        {
            if (sequencer != nullptr)
                sequencer->readResourcesXml (*child);
        }
        else if (tagIs (*child, "DrumMap"))
        {
            readDrumMapStartupXml (*child);
        }
    }
}

std::unique_ptr<juce::XmlElement> DrumMachine::createResourcesSettingsXml()
{
    auto resources = BasePluginOldStyle::createResourcesSettingsXml();

    if (resources == nullptr)
        return resources;

    resources->addChildElement (createDrumMapStartupXml().release());

    if (sequencer != nullptr)
        resources->addChildElement (sequencer->createResourcesXml().release());

    return resources;
}

bool DrumMachine::loadPatternBankFile (const juce::File& file)
{
    if (sequencer == nullptr || !sequencer->loadPatternBankFile (file))
        return false;

    updatePatternDisplay();
    return true;
}
