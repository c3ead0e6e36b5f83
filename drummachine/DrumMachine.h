#pragma once

#include "drummachine/BlockRenderer.h"
#include "drummachine/DrumMachineConstants.h"
#include "drummachine/DrumMachineDocuments.h"
#include "drummachine/DrumMap.h"
#include "drummachine/EditCommands.h"
#include "drummachine/OutputRouting.h"
#include "drummachine/OutputSettings.h"
#include "drummachine/PlayerClocks.h"
#include "drummachine/StateOwner.h"
#include "drummachine/StatePublisher.h"
#include "drummachine/TriggerNoteOutput.h"
#include "engine/DrumMachineCore.h"
#include "framework/BasePluginOldStyle.h"
#include "framework/MidiEventQueue.h"
#include "generated/PulsaretIds.h"
#include "sequencer/DrumMachineSeq.h"
#include "sequencer/SequencerOwner.h"

#include <array>
#include <atomic>
#include <memory>

/** The instrument layer: joins the sound engine, the sequencer and its four step
    clocks to the host's audio blocks, MIDI and transport; keeps the drum map, the
    output routing and the sequencer modes; publishes its state to the panel through
    the internal parameters 3000 to 3093 and takes the panel's commands as events.

    Threads: block processing runs on the audio thread under the callback lock and
    never allocates, locks out the message thread or calls into it; it hands its
    results over with atomics and one polled update, after which the message thread
    publishes them. Everything else runs on the message thread. Documents and
    files are parsed completely before the drum map or patterns in force are swapped,
    under the callback lock.

    Its collaborators: the StatePublisher mirrors the modes into the internal
    parameters, OutputRouting keeps where each instrument sounds, and
    DrumMachineDocuments reads and writes its documents. They reach the drum machine
    as their StateOwner, which the mode queries and setters below answer; its own
    operations of the same names forward to them. */
class DrumMachine : public BasePluginOldStyle,
                    public SequencerOwner,
                    public StateOwner,
                    public DrumMachineConstants,
                    public EditCommandsOwner
{
public:
    static constexpr int numInstruments = DrumVoiceNames::numInstruments;
    static constexpr int numTracks = DrumVoiceNames::numTracks;
    static constexpr int accentTrack = DrumVoiceNames::accentTrack;
    static constexpr int maxOutputChannels = BlockRenderer::maxChannels;

    enum GuiRequest
    {
        noRequest = 0,
        startRequest = 1,
        stopRequest = 2
    };

    DrumMachine();
    ~DrumMachine() override;

    //==============================================================================
    // Start-up

    /** Registers the internal parameters and events, creates the engine and the
        sequencer, reads the settings, applies the mode defaults and the output mode,
        loads the drum map, the patterns and the presets. */
    void initialise() override;

    //==============================================================================
    // Product constants and factories

    juce::String getPluginName() const override;
    juce::String getPluginPrefix() const override;

    /** Presets always change at once here: no "changing" setting is read, written or offered. */
    bool hasPresetChangingSetting() const override { return false; }
    virtual int getNumOutputs() const = 0;
    virtual std::unique_ptr<DrumMachineCore> createCore();
    virtual std::unique_ptr<DrumMachineSeq> createSequencer();
    double getNormalVelocity() override;
    double getStrongVelocityIncrement() override;
    double getAccentVelocityIncrement() override;
    virtual int getNumExtraDrumMapWildcards() const;
    virtual juce::String getExtraDrumMapWildcard (int index) const;

    //==============================================================================
    // Channels, fixed once initialise has chosen the output mode

    int getOutputChannelCount() const;
    int getInputChannelCount() const { return 0; }
    const juce::String getOutputChannelName (int channelIndex) const override;
    bool isOutputChannelStereoPair (int index) const override;
    bool isMonoOutputMode() const noexcept { return outputModeInForce == OutputSettings::monoOutputs; }

    /** The host's key names: voice names, pattern names or nothing, by mode. */
    juce::String getMidiKeyName (int key);

    juce::String getParameterTextById (int uid) override;

    //==============================================================================
    // juce::AudioProcessor

    void prepareToPlay (double sampleRate, int maximumBlockSize) override;
    void releaseResources() override;
    void processBlock (juce::AudioBuffer<float>& outputs, juce::MidiBuffer& midi) override;
    using juce::AudioProcessor::processBlock;
    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;
    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return true; }
    bool producesMidi() const override { return true; }

    //==============================================================================
    // MIDI and strikes (audio thread)

    void handleMidiMessage (const juce::MidiMessage& message);
    void triggerInstrument (int track, float velocity) override;
    void triggerStep (int track, bool strong, bool accented) override;
    void sendTriggerOutNoteOn (int instrument, float velocity) { triggerNotes.noteOn (instrument, velocity, drumMap); }
    void sendTriggerOutNoteOff (int instrument) { triggerNotes.noteOff (instrument); }
    double getAccentLevel() override { return accentLevel.load(); }

    /** Read and cleared by the panel's refresh. */
    int takeActivity (int track) { return juce::isPositiveAndBelow (track, numTracks) ? activityFlags[(size_t) track].exchange (0) : 0; }
    int takeMidiActivity() { return midiActivity.exchange (0); }

    //==============================================================================
    // Events and parameters (message thread)

    void handleEvent (int uid) override;
    void parameterChanged (Parameter* parameter) override;
    void handleAsyncUpdate() override;

    void selectInstrument (int track) { editCommands.selectInstrument (track); }
    void setRandomizer (bool on) { editCommands.setRandomizer (on); }
    void setTapMode (bool on) { editCommands.setTapMode (on); }
    void pressStep (int step) { editCommands.pressStep (step); }
    void copyTracks() { editCommands.copyTracks(); }
    void pasteTracks() { editCommands.pasteTracks(); }
    void clearClipboard() { editCommands.clearClipboard(); }
    void tapSelected (int value) { editCommands.tapSelected (value); }
    void tapTrack (int track, int value) { editCommands.tapTrack (track, value); }

    //==============================================================================
    // Modes

    void setInternalSequencer (bool on);
    void setInternalSync (bool on)
    {
        internalSync = on;
        updateInternalSyncState();
    }
    void setHostMode (bool on);
    void setNoteOffMode (bool on)
    {
        noteOffMode = on;
        updateNoteOffState();
    }
    void setPatternWriteMode (bool on)
    {
        patternWriteMode = on;
        updateWriteModeState();
    }
    void setAutoFollow (bool on)
    {
        autoFollow = on;
        updateAutoFollowState();
    }
    void setHostPlayDetection (int detection) { hostPlayDetection = detection == byLowestCNoteOn ? byLowestCNoteOn : byTransportChange; }

    bool isInternalSequencerOn() const noexcept { return internalSequencer.load(); }
    bool isInternalSyncOn() const noexcept { return internalSync.load(); }
    bool isHostModeOn() const noexcept { return hostMode.load(); }
    bool isNoteOffModeOn() const noexcept { return noteOffMode.load(); }
    bool isPatternWriteModeOn() const noexcept { return patternWriteMode.load(); }
    bool isAutoFollowOn() const noexcept { return autoFollow.load(); }
    bool isRandomizerModeOn() const noexcept { return randomizerMode.load(); }
    bool isLengthModeOn() const noexcept { return lengthMode.load(); }
    bool isTapModeOn() const noexcept { return tapMode.load(); }
    bool isFlamModeOn() const noexcept { return flamMode.load(); }
    int getHostPlayDetection() const noexcept { return hostPlayDetection.load(); }

    bool isEditing() const override { return EditCommandsOwner::isEditing(); }
    bool isRandomizerActive() const { return isEditing() && randomizerMode.load(); }
    bool isRandomizerFilled() const;
    bool isLengthModeActive() const { return isEditing() && lengthMode.load(); }
    bool isTapModeActive() const { return isEditing() && tapMode.load(); }
    bool isFlamModeActive() const { return isEditing() && flamMode.load(); }
    bool isAutoFollowActive() const override { return EditCommandsOwner::isAutoFollowActive(); }

    bool getInternalSequencerDefault() const noexcept { return internalSequencerDefault; }
    bool getInternalSyncDefault() const noexcept { return internalSyncDefault; }
    bool getHostModeDefault() const noexcept { return hostModeDefault; }
    bool getNoteOffDefault() const noexcept { return noteOffDefault; }
    void setModeDefaults (bool internalSequencerOn, bool internalSyncOn, bool hostModeOn, bool noteOffOn)
    {
        internalSequencerDefault = internalSequencerOn;
        internalSyncDefault = internalSyncOn;
        hostModeDefault = hostModeOn;
        noteOffDefault = noteOffOn;
    }

    bool isTrackSelected (int track) const { return editCommands.isTrackSelected (track); }
    int getSelectedRandomTrack() const noexcept { return editCommands.getSelectedRandomTrack(); }
    bool isClipboardTracksFilled() const noexcept { return editCommands.isClipboardTracksFilled(); }
    bool isClipboardPatternFilled() const noexcept { return editCommands.isClipboardPatternFilled(); }
    int getGuiRequest() const noexcept { return guiRequest.load(); }

    /** Whether the clocks ran at the end of the last block (published by it). */
    bool isNativeClockRunning() const noexcept { return nativeClockRunning.load(); }
    bool isHostClockRunning() const noexcept { return hostClockRunning.load(); }

    /** The step to light on the panel, -1 for none. */
    int getPlayingStep() const;

    //==============================================================================
    // Publishers of the internal parameters (message thread)

    void updateInternalSequencerState() { publisher.updateInternalSequencerState(); }
    void updateInternalSyncState() { publisher.updateInternalSyncState(); }
    void updateHostModeState() { publisher.updateHostModeState(); }
    void updateNoteOffState() { publisher.updateNoteOffState(); }
    void updateWriteModeState() { publisher.updateWriteModeState(); }
    void updateAutoFollowState() { publisher.updateAutoFollowState(); }
    void updateLengthModeState() { publisher.updateLengthModeState(); }

    /** Also called by the sequencer on the audio thread, which only asks for it:
        the message thread then publishes the step states. */
    void updateStepDisplay() final;

    /** Sets "Step 01 State" ... "Step 16 State"; products show their own states. */
    virtual void publishStepStates() { publisher.publishSelectedStepStates(); }
    virtual void displayHookA() {}
    virtual void displayHookB() {}

    void updatePatternDisplay() { publisher.updatePatternDisplay(); }
    void updateStepBlinkingStates() { publisher.updateStepBlinkingStates(); }
    void updateRandomizerState() { publisher.updateRandomizerState(); }
    void updateTapModeState() { publisher.updateTapModeState(); }
    void updateSelectionStates() { setTrackSelectionParameters(); }
    void updatePatternNumber() { publisher.updatePatternNumber(); }
    void updatePatternNameState() { publisher.updatePatternNameState(); }
    void updateStepLengthStates() { publisher.updateStepLengthStates(); }
    void updateTempoState() { publisher.updateTempoState(); }
    void updateScaleStates() { publisher.updateScaleStates(); }

    //==============================================================================
    // Drum map

    void clearDrumMap() { documents.clearDrumMap(); }
    int getDrumMapEntry (int key) const noexcept { return drumMap.getInstrument (key); }
    const DrumMap& getDrumMap() const noexcept { return drumMap; }
    juce::String getInstrumentNameForKey (int key) const { return documents.getInstrumentNameForKey (key); }
    bool isDrumMapXml (const juce::XmlElement& element) const { return documents.isDrumMapXml (element); }

    /** False, changing nothing, unless the element is a drum map of this plug-in. */
    bool readDrumMapXml (const juce::XmlElement& element) { return documents.readDrumMapXml (element); }
    std::unique_ptr<juce::XmlElement> createDrumMapXml() const { return documents.createDrumMapXml(); }
    bool loadDrumMapFile (const juce::File& file) { return documents.loadDrumMapFile (file); }
    bool saveDrumMapFile (const juce::File& file) const { return documents.saveDrumMapFile (file); }
    bool loadFactoryDrumMap() { return documents.loadFactoryDrumMap(); }
    juce::String getDrumMapFileExtension() const { return documents.getDrumMapFileExtension(); }
    juce::String getDrumMapWildcard() const { return documents.getDrumMapWildcard(); }
    juce::String getDrumMapFileFilter() const { return documents.getDrumMapFileFilter(); }
    void setUserDrumMapFile (const juce::String& path) { documents.setUserDrumMapFile (path); }
    juce::String getUserDrumMapFile() const { return documents.getUserDrumMapFile(); }
    int getDrumMapSource() const noexcept { return documents.getDrumMapSource(); }
    void setDrumMapSource (int source) noexcept { documents.setDrumMapSource (source); }
    void readDrumMapStartupXml (const juce::XmlElement& element) { documents.readDrumMapStartupXml (element); }
    std::unique_ptr<juce::XmlElement> createDrumMapStartupXml() const { return documents.createDrumMapStartupXml(); }

    //==============================================================================
    // Output routing

    void resetOutputAssignments() { routing.resetOutputAssignments(); }
    void resetDefaultOutputAssignments() { routing.resetDefaultOutputAssignments(); }
    void applyDefaultOutputAssignments() { routing.applyDefaultOutputAssignments(); }
    void updateInstrumentEnables() { routing.updateInstrumentEnables(); }
    bool isInstrumentAudible (int instrument) const { return routing.isInstrumentAudible (instrument); }
    int getOutputNumber (int instrument) const { return routing.getOutputNumber (instrument); }
    int getDefaultOutputNumber (int instrument) const { return routing.getDefaultOutputNumber (instrument); }
    void setDefaultOutputNumber (int instrument, int output) { routing.setDefaultOutputNumber (instrument, output); }
    int getDefaultOutputMode() const noexcept { return routing.getDefaultOutputMode(); }
    void setDefaultOutputMode (int mode) noexcept { routing.setDefaultOutputMode (mode); }
    int getTriggerOutput() const noexcept { return routing.getTriggerOutput(); }

    /** The output the trigger pulse is added to; ignored outside 1 to the number of outputs. */
    void setTriggerOutput (int output) { routing.setTriggerOutput (output); }
    bool readAudioOutputStateXml (const juce::XmlElement& element) { return routing.readStateXml (element); }
    std::unique_ptr<juce::XmlElement> createAudioOutputStateXml() const { return routing.createStateXml(); }
    bool readAudioOutputSettingsXml (const juce::XmlElement& element) { return routing.readSettingsXml (element); }
    std::unique_ptr<juce::XmlElement> createAudioOutputSettingsXml() const { return routing.createSettingsXml(); }

    //==============================================================================
    // Documents

    void loadPluginStateXml (const juce::XmlElement& element) override;
    std::unique_ptr<juce::XmlElement> createPluginStateXml() override;
    void loadUserSettingsXml (const juce::XmlElement& element) override;
    std::unique_ptr<juce::XmlElement> createUserSettingsXml() override;
    void loadResourcesSettingsXml (const juce::XmlElement& element) override;
    std::unique_ptr<juce::XmlElement> createResourcesSettingsXml() override;
    void readInternalSequencerStateXml (const juce::XmlElement& element) { documents.readInternalSequencerStateXml (element); }
    std::unique_ptr<juce::XmlElement> createInternalSequencerStateXml() const { return documents.createInternalSequencerStateXml(); }
    void readInternalSequencerSettingsXml (const juce::XmlElement& element) { documents.readInternalSequencerSettingsXml (element); }
    std::unique_ptr<juce::XmlElement> createInternalSequencerSettingsXml() const { return documents.createInternalSequencerSettingsXml(); }

    /** A pattern bank file into the patterns in force (parsed first, then swapped). */
    bool loadPatternBankFile (const juce::File& file);

    //==============================================================================
    // Owned parts

    DrumMachineCore* getCore() const noexcept { return core.get(); }
    DrumMachineSeq* getSequencer() const noexcept { return sequencer.get(); }
    ShuffledClock& getHostClock() noexcept { return clocks.getHostClock(); }
    ShuffledClock& getNativeClock() noexcept { return clocks.getNativeClock(); }
    Clock& getHostFlamClock() noexcept { return clocks.getHostFlamClock(); }
    Clock& getNativeFlamClock() noexcept { return clocks.getNativeFlamClock(); }

protected:
    /** Sets an internal parameter with notification; the listener then leaves the
        members alone (publishers never change members). */
    void publish (int uid, float value) { publisher.publish (uid, value); }
    void publishBool (int uid, bool value) { publisher.publishBool (uid, value); }
    void publishText (int uid, const juce::String& text) { publisher.publishText (uid, text); }

    /** True when called from block processing or off the message thread: the request
        is then recorded for the message thread and the caller returns. */
    bool deferToMessageThread (int request);

    enum DeferredRequest
    {
        stepDisplayRequest = 1,
        patternFollowRequest = 2,
        playStateRequest = 4,
        programChangeRequest = 8,
        hostDisplayRequest = 16
    };

    void refreshHostDisplay();
    void followPlayingPattern();

private:
    void registerEvents();
    void publishNativeModeReady() { publisher.publishNativeModeReady(); }
    void setTrackSelectionParameters() override { editCommands.publishSelection(); }
    void takePanelParameter (int uid, Parameter& parameter);

    // What the panel's commands reach.
    DrumMachineSeq* getEditedSequencer() const override { return sequencer.get(); }
    bool isModeOn (Mode mode) const override { return (this->*getModeFlag (mode)).load(); }
    void changeMode (Mode mode, bool on) override;
    void setModeFlag (Mode mode, bool on) override { this->*getModeFlag (mode) = on; }
    bool isNativeClockOn() const override { return nativeClockRunning.load(); }
    void requestTransport (bool start) override { guiRequest = start ? startRequest : stopRequest; }
    void updateDisplay (Display display) override;
    void publishClipboard (bool tracksFilled, bool patternFilled) override;
    void publishTrackSelection (int track, bool shown) override { publishBool (firstSelectionUid + track, shown); }
    void publishSelectedInstrument (int track) override;
    static std::atomic<bool> DrumMachine::*getModeFlag (Mode mode);

    // Audio thread: the steps of a block, in order.
    struct BlockStart
    {
        bool intSeq = false, host = false;
        int detection = 0;
        bool nativeWasRunning = false;
        int hostPatternAtStart = -1;
        bool releaseNotes = false;
    };
    BlockStart beginBlock() noexcept;
    bool followHostTransport (const BlockStart& block);
    void serveStartStopRequest (const BlockStart& block);
    void beginMidi (juce::MidiBuffer& midi, const BlockStart& block) noexcept;
    void renderSamples (int numSamples, const BlockStart& block);
    void askPanelToFollow (const BlockStart& block);

    // Audio thread
    void handleMidiBytes (const juce::uint8* data, int size);

    double sampleRate = 0.0;

    // Entries read by the audio thread; replaced whole under the callback lock.
    DrumMap drumMap;

    // The routing, set by the parameter listener and the documents on the message
    // thread; the audio thread reads it under the names below.
    OutputRouting routing{*this, getParameterManager()};
    std::atomic<float> accentLevel{0.0f};

    int outputModeInForce = OutputSettings::stereoOutputs; // fixed in initialise

    StatePublisher publisher{*this, getParameterManager()};
    DrumMachineDocuments documents{*this, routing, drumMap, getCallbackLock()};

    // Set by the audio thread (exchange), read and cleared by the panel.
    std::array<std::atomic<int>, numTracks> activityFlags{};
    std::atomic<int> midiActivity{0};

    std::unique_ptr<DrumMachineCore> core;
    std::unique_ptr<DrumMachineSeq> sequencer;

    // Audio thread: the block being rendered, and its notes out (sized in prepareToPlay).
    BlockRenderer renderer{routing.getOutputNumbers(), routing.getTriggerOutputFlag()};
    MidiEventQueue midiQueue;
    TriggerNoteOutput triggerNotes;

    // Message thread asks, the audio thread sends the note-offs at its next block.
    std::atomic<bool> releaseNotesRequested{false};

    // Modes: set on the message thread, read by the audio thread.
    bool internalSequencerDefault = true, internalSyncDefault = true, hostModeDefault = false, noteOffDefault = false;
    std::atomic<bool> internalSequencer{false}, internalSync{false}, hostMode{false}, noteOffMode{false};
    std::atomic<int> hostPlayDetection{byTransportChange};
    std::atomic<bool> patternWriteMode{false}, autoFollow{false}, randomizerMode{false};
    std::atomic<bool> lengthMode{false}, tapMode{false}, flamMode{false};

    // Message thread only.
    EditCommands editCommands{*this, getParameterManager(), getCallbackLock()};

    // The panel's start/stop request, taken by the next block.
    std::atomic<int> guiRequest{noRequest};

    PlayerClocks clocks{internalSync}; // audio thread; the panel listens to its clocks

    // Published by the audio thread at the end of each block.
    std::atomic<bool> nativeClockRunning{false}, hostClockRunning{false};

    // Requests from the audio thread (or any thread) served by handleAsyncUpdate.
    std::atomic<int> deferredRequests{0};
    std::atomic<int> pendingProgram{-1};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DrumMachine)
};
