#include "drummachine/DrumMachine.h"

#include <cmath>

namespace
{
constexpr int numSteps = DrumMachineSeq::numSteps;

const char* const eventNames[] = {"Toggle Internal Sequencer", "Toggle Internal Sync", "Toggle Host Mode",
                                  "Toggle Note Off Mode", "Toggle Pattern Write Mode", "Toggle Auto Follow Mode",
                                  "Toggle Randomizer", "Toggle Length Mode", "Toggle Tap Mode", "Toggle Flam Mode",
                                  "Start/Stop", "Start", "Stop", "Tap", "Tap Accented", "Shift Left", "Shift Right",
                                  "Shift Left All Tracks", "Shift Right All Tracks", "Prev", "Next", "Accept",
                                  "Undo", "Copy Tracks", "Copy Pattern", "Paste", "Clear", "Clear All Instruments",
                                  "Load Patterns", "Save Patterns"};

juce::String twoDigits (int n)
{
    return juce::String (n).paddedLeft ('0', 2);
}

juce::String percentText (float normalised)
{
    return juce::String ((int) std::lround ((double) normalised * 100.0)) + "%";
}
} // namespace

DrumMachine::DrumMachine()
{
    for (auto& flag : activityFlags)
        flag.store (0);

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
    publisher.registerParameters();
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

    for (int uid = 0; uid < ParameterId::soundParameterCount; ++uid)
        if (auto* parameter = store.getParameter (uid))
            core->setParameter (static_cast<SoundParameter> (uid), parameter->getNormalisedValue());

    accentLevel = store.getNormalisedValue (accentLevelUid);

    setInternalSequencer (internalSequencerDefault);
    internalSync = internalSyncDefault;
    updateInternalSyncState();
    setHostMode (hostModeDefault);
    noteOffMode = noteOffDefault;
    updateNoteOffState();

    outputModeInForce = getDefaultOutputMode();
    applyDefaultOutputAssignments();
    setPlayConfigDetails (0, getOutputChannelCount(), getSampleRate(), getBlockSize());

    if (getDrumMapSource() == userDrumMap)
        loadDrumMapFile (juce::File::isAbsolutePath (getUserDrumMapFile()) ? juce::File (getUserDrumMapFile()) : juce::File());
    else
        loadFactoryDrumMap();

    sequencer->loadInitialPatterns();

    updatePatternDisplay();
    afterInitialise();
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

    for (int i = 0; i < numScales; ++i)
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

    if (key < firstHostPatternKey || key > lastHostPatternKey || sequencer == nullptr)
        return "---";

    return sequencer->getPatternName (key - firstHostPatternKey);
}

juce::String DrumMachine::getParameterTextById (int uid)
{
    auto& store = getParameterManager();
    const juce::ScopedReadLock sl (store.getLock());
    auto* parameter = store.getParameter (uid);

    if (parameter == nullptr)
        return {};

    if (ParameterId::isSoundParameter (uid))
        return juce::String (parameter->getNormalisedValue(), 3);

    if (uid >= ParameterId::firstMute && uid < ParameterId::firstSolo + ParameterId::soloCount)
        return parameter->getBoolValue() ? "On" : "Off";

    if (uid >= ParameterId::firstRandThreshold && uid < ParameterId::firstRandThreshold + ParameterId::randThresholdCount)
        return percentText (parameter->getNormalisedValue());

    if (uid >= ParameterId::firstOutputNumber && uid < ParameterId::firstOutputNumber + ParameterId::outputNumberCount)
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
    clocks.setSampleRate (newSampleRate);

    // Room for the host's events and the trigger notes, so that blocks never allocate.
    // Events carried past the end of the last block belong to a stream that has ended.
    midiQueue.prepare (TriggerNoteOutput::bytesReserved);
    midiQueue.clear();
    triggerNotes.prepare();
}

void DrumMachine::releaseResources()
{
    if (core != nullptr)
        core->releaseResources();

    // The next transport start must be seen as one, and the trigger notes still sounding
    // downstream end with the next block.
    clocks.release();
    releaseNotesRequested = true;
    nativeClockRunning = false;
    hostClockRunning = false;

    // No block follows to tell the panel that the sequencer stopped.
    deferredRequests.fetch_or (playStateRequest);
    triggerAsyncUpdate();
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
    renderer.beginBlock (outputs, getOutputChannelCount(), isMonoOutputMode(), core.get());
    beginMidi (midi, block);
    clocks.followPatterns (*sequencer);
    renderSamples (outputs.getNumSamples(), block);
    triggerNotes.passTo (midi, block.intSeq);
    askPanelToFollow (block);
}

DrumMachine::BlockStart DrumMachine::beginBlock() noexcept
{
    sequencer->markNativePattern();
    BlockStart block;
    block.intSeq = internalSequencer.load();
    block.host = hostMode.load();
    block.detection = hostPlayDetection.load();
    block.nativeWasRunning = clocks.getNativeClock().isRunning();
    block.hostPatternAtStart = sequencer->getHostPatternIndex();
    block.releaseNotes = releaseNotesRequested.exchange (false);
    return block;
}

bool DrumMachine::followHostTransport (const BlockStart& block)
{
    auto* playHead = getPlayHead();
    const auto position = playHead != nullptr ? playHead->getPosition() : juce::Optional<juce::AudioPlayHead::PositionInfo>();

    if (!position.hasValue())
        return false;

    const auto change = clocks.followHost (*sequencer, *position, block.detection == byTransportChange, block.detection == byLowestCNoteOn);
    return change == PlayerClocks::transportStopped;
}

void DrumMachine::serveStartStopRequest (const BlockStart& block)
{
    // The panel's start or stop, judged against what the clock really does.
    const int request = guiRequest.exchange (noRequest);

    if ((request == startRequest || request == stopRequest) && block.intSeq && !clocks.isHostPlaying())
        clocks.servePanel (*sequencer, request == startRequest);
}

void DrumMachine::beginMidi (juce::MidiBuffer& midi, const BlockStart& block) noexcept
{
    // The block's events in, the trigger notes out.
    midiQueue.addEvents (midi);
    triggerNotes.beginBlock (block.intSeq);

    if (block.releaseNotes)
        triggerNotes.releaseAll();
}

void DrumMachine::renderSamples (int numSamples, const BlockStart& block)
{
    juce::MidiMessageMetadata event;

    for (int i = 0; i < numSamples; ++i)
    {
        // Each event, step or tap is heard from its own sample.
        for (bool first = true; midiQueue.getNextEvent (i, event); first = false)
        {
            if (first)
            {
                midiActivity.store (1);
                renderer.renderPending();
            }

            handleMidiBytes (event.data, event.numBytes);
        }

        clocks.processSample (*sequencer, renderer, block.intSeq, block.host);

        if (sequencer->hasTappedValues())
        {
            renderer.renderPending();
            clocks.placeTaps (*sequencer, *this, hostMode.load());
        }

        triggerNotes.advanceSample();
        renderer.takeSample();
    }

    // The rest of the block.
    renderer.renderPending();
    midiQueue.advance (numSamples);
}

void DrumMachine::askPanelToFollow (const BlockStart& block)
{
    // The panel follows on the message thread.
    const bool nativeRunning = clocks.getNativeClock().isRunning();
    int requests = 0;

    if (sequencer->nativePatternChanged() || sequencer->getHostPatternIndex() != block.hostPatternAtStart || (nativeRunning && !block.nativeWasRunning))
        requests |= patternFollowRequest;

    if (nativeRunning != block.nativeWasRunning)
        requests |= playStateRequest | stepDisplayRequest;

    nativeClockRunning = nativeRunning;
    hostClockRunning = clocks.getHostClock().isRunning();

    if (requests != 0)
    {
        deferredRequests.fetch_or (requests);
        triggerAsyncUpdate();
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
    constexpr int allNotesOffController = 123;

    if (sequencer == nullptr)
        return;

    if (message.isController() && message.getControllerNumber() == allNotesOffController)
    {
        clocks.allNotesOff (*sequencer);
        triggerNotes.releaseAll();
    }
    else if (message.isController())
    {
        getMidiControl().handleMidiMessage (message);
    }
    else if (message.isProgramChange() && message.getProgramChangeNumber() < getNumPresets())
    {
        // Applying a preset sets texts and takes the preset lock: the message thread does it.
        pendingProgram = message.getProgramChangeNumber();
        deferredRequests.fetch_or (programChangeRequest);
        triggerAsyncUpdate();
    }
    else if (message.isNoteOnOrOff())
    {
        const int key = message.getNoteNumber();
        const bool noteOn = message.isNoteOn();

        if (noteOn && !internalSequencer.load())
            if (const int instrument = drumMap.getInstrument (key); instrument >= 0)
                triggerInstrument (instrument, (float) message.getVelocity() / 127.0f);

        clocks.playKey (*sequencer, key, noteOn, noteOffMode.load(), hostPlayDetection.load() == byLowestCNoteOn);
    }
}

void DrumMachine::triggerInstrument (int track, float velocity)
{
    if (track < 0)
        return;

    if (track >= accentTrack || routing.getAudibleFlags()[(size_t) track].load (std::memory_order_relaxed))
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
bool DrumMachine::isRandomizerFilled() const
{
    return sequencer != nullptr && sequencer->isRandomizerActive();
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

    if (uid >= internalSequencerStateUid && uid <= lastInternalParameterUid)
    {
        // The panel's own changes; the drum machine's publishing is only shown.
        if (!publisher.isPublishing() && sequencer != nullptr && !deferToMessageThread (0))
            takePanelParameter (uid, *parameter);

        return;
    }

    if (uid == accentLevelUid)
    {
        accentLevel = normalised;
    }
    else if (uid >= ParameterId::firstRandThreshold && uid < ParameterId::firstRandThreshold + ParameterId::randThresholdCount)
    {
        if (sequencer != nullptr)
            sequencer->setRandomThreshold (uid - firstRandThresholdUid, normalised);

        updateStepDisplay();
    }
    else
    {
        routing.takeParameter (uid, *parameter);
    }

    BasePluginOldStyle::parameterChanged (parameter);
}

void DrumMachine::takePanelParameter (int uid, Parameter& parameter)
{
    if (uid == instrumentSelectionUid || uid == instrumentSelectionAccentFirstUid)
    {
        int track = parameter.getIntValue();

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
        sequencer->setEditedPatternName (parameter.getText());
        updatePatternNameState();
        refreshHostDisplay();
    }
    else if (uid == patternTempoUid && isEditing() && internalSync.load())
    {
        sequencer->setEditedPatternTempo (parameter.getValue());
        updateTempoState();
    }
    else if (uid == patternShuffleUid && isEditing())
    {
        sequencer->setEditedPatternShuffle (parameter.getValue());
        publish (patternShuffleUid, (float) sequencer->getEditedPatternShuffle());
    }
    else if (uid == patternFlamUid && isEditing())
    {
        sequencer->setEditedPatternFlam (parameter.getValue());
        publish (patternFlamUid, (float) sequencer->getEditedPatternFlam());
    }
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

void DrumMachine::updateStepDisplay()
{
    if (deferToMessageThread (stepDisplayRequest))
        return;

    publishStepStates();
    displayHookA();
    displayHookB();
    updateStepBlinkingStates();
}

//==============================================================================
void DrumMachine::loadPluginStateXml (const juce::XmlElement& element)
{
    BasePluginOldStyle::loadPluginStateXml (element);

    if (!isPluginStateXml (element))
        return;

    documents.readPluginState (element);
    refreshHostDisplay();
    updatePatternDisplay();
}

std::unique_ptr<juce::XmlElement> DrumMachine::createPluginStateXml()
{
    auto state = BasePluginOldStyle::createPluginStateXml();

    if (state != nullptr)
        documents.addToPluginState (*state);

    return state;
}

void DrumMachine::loadUserSettingsXml (const juce::XmlElement& element)
{
    BasePluginOldStyle::loadUserSettingsXml (element);

    if (isUserSettingsXml (element))
        documents.readUserSettings (element);
}

std::unique_ptr<juce::XmlElement> DrumMachine::createUserSettingsXml()
{
    auto settings = BasePluginOldStyle::createUserSettingsXml();

    if (settings != nullptr)
        documents.addToUserSettings (*settings);

    return settings;
}

void DrumMachine::loadResourcesSettingsXml (const juce::XmlElement& element)
{
    BasePluginOldStyle::loadResourcesSettingsXml (element);
    documents.readResourcesSettings (element);
}

std::unique_ptr<juce::XmlElement> DrumMachine::createResourcesSettingsXml()
{
    auto resources = BasePluginOldStyle::createResourcesSettingsXml();

    if (resources != nullptr)
        documents.addToResourcesSettings (*resources);

    return resources;
}

bool DrumMachine::loadPatternBankFile (const juce::File& file)
{
    if (sequencer == nullptr || !sequencer->loadPatternBankFile (file))
        return false;

    updatePatternDisplay();
    return true;
}
