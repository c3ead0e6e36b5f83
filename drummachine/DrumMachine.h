#pragma once

#include "drummachine/DrumMap.h"
#include "drummachine/OutputSettings.h"
#include "engine/DrumMachineCore.h"
#include "framework/BasePluginOldStyle.h"
#include "framework/MidiEventQueue.h"
#include "generated/PulsaretIds.h"
#include "sequencer/DrumMachineSeq.h"
#include "sequencer/SequencerOwner.h"
#include "sequencer/ShuffledClock.h"

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
    under the callback lock. */
class DrumMachine : public BasePluginOldStyle,
                    public SequencerOwner
{
public:
    static constexpr int numInstruments = DrumVoiceNames::numInstruments;
    static constexpr int numTracks = DrumVoiceNames::numTracks;
    static constexpr int accentTrack = DrumVoiceNames::accentTrack;
    static constexpr int maxOutputChannels = 16;

    enum HostPlayDetection
    {
        byTransportChange = 0,
        byLowestCNoteOn = 1
    };

    enum DrumMapSource
    {
        factoryDrumMap = 0,
        userDrumMap = 1
    };

    enum GuiRequest
    {
        noRequest = 0,
        startRequest = 1,
        stopRequest = 2
    };

    // Internal state parameters.
    enum InternalParameter
    {
        internalSequencerStateUid = 3000,
        internalSyncStateUid = 3001,
        hostModeStateUid = 3002,
        noteOffStateUid = 3003,
        playStateUid = 3004,
        writeModeStateUid = 3005,
        writeModeActivityUid = 3006,
        autoFollowStateUid = 3007,
        randomizerStateUid = 3008,
        randomizerActiveAndFilledUid = 3009,
        randomizerActiveButNotFilledUid = 3010,
        lengthModeStateUid = 3011,
        tapModeStateUid = 3012,
        flamModeStateUid = 3013,
        nativeModeReadyStateUid = 3014,
        instrumentSelectionUid = 3015,
        instrumentSelectionAccentFirstUid = 3016,
        clipboardTracksStateUid = 3017,
        clipboardPatternStateUid = 3018,
        patternScale6StateUid = 3019,
        patternNumberUid = 3023,
        patternNameUid = 3024,
        patternNameEditionStateUid = 3025,
        patternTempoStateUid = 3026,
        patternTempoUid = 3027,
        patternShuffleUid = 3028,
        patternFlamUid = 3029,
        stepLengthStateUid = 3030,
        stepStateUid = 3046,
        stepBlinkingUid = 3078,
        lastInternalParameterUid = 3093
    };

    // Events of the drum machine.
    enum Event
    {
        toggleInternalSequencerEvent = 3000,
        toggleInternalSyncEvent,
        toggleHostModeEvent,
        toggleNoteOffModeEvent,
        togglePatternWriteModeEvent,
        toggleAutoFollowModeEvent,
        toggleRandomizerEvent,
        toggleLengthModeEvent,
        toggleTapModeEvent,
        toggleFlamModeEvent,
        startStopEvent,
        startEvent,
        stopEvent,
        tapEvent,
        tapAccentedEvent,
        shiftLeftEvent,
        shiftRightEvent,
        shiftLeftAllTracksEvent,
        shiftRightAllTracksEvent,
        prevEvent,
        nextEvent,
        acceptEvent,
        undoEvent,
        copyTracksEvent,
        copyPatternEvent,
        pasteEvent,
        clearEvent,
        clearAllInstrumentsEvent,
        loadPatternsEvent,
        savePatternsEvent,
        pressStepEvent = 3030,
        pressStepWithCtrlEvent = 3046,
        selectScale6Event = 3062,
        selectScale3Event,
        selectScale8Event,
        selectScale4Event
    };

    // Parameters of the description that the drum machine uses.
    static constexpr int accentLevelUid = ParameterId::accentLevel;
    static constexpr int firstMuteUid = ParameterId::firstMute;
    static constexpr int firstSoloUid = ParameterId::firstSolo;
    static constexpr int firstRandThresholdUid = ParameterId::firstRandThreshold;
    static constexpr int firstOutputNumberUid = ParameterId::firstOutputNumber;
    static constexpr int firstRandStateUid = ParameterId::firstRandState;
    static constexpr int firstSelectionUid = ParameterId::firstSelection;
    static constexpr int firstRandSelectionUid = ParameterId::firstRandSelection;

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
    void sendTriggerOutNoteOn (int instrument, float velocity);
    void sendTriggerOutNoteOff (int instrument);
    double getAccentLevel() override { return accentLevel.load(); }

    /** Read and cleared by the panel's refresh. */
    int takeActivity (int track);
    int takeMidiActivity() { return midiActivity.exchange (0); }

    //==============================================================================
    // Events and parameters (message thread)

    void handleEvent (int uid) override;
    void parameterChanged (Parameter* parameter) override;
    void handleAsyncUpdate() override;

    void selectInstrument (int track);
    void setRandomizer (bool on);
    void setTapMode (bool on);
    void pressStep (int step);
    void copyTracks();
    void pasteTracks();
    void clearClipboard();
    void tapSelected (int value);
    void tapTrack (int track, int value);

    //==============================================================================
    // Modes

    void setInternalSequencer (bool on);
    void setInternalSync (bool on);
    void setHostMode (bool on);
    void setNoteOffMode (bool on);
    void setPatternWriteMode (bool on);
    void setAutoFollow (bool on);
    void setHostPlayDetection (int detection);

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

    bool isEditing() const;
    bool isRandomizerActive() const { return isEditing() && randomizerMode.load(); }
    bool isRandomizerFilled() const;
    bool isLengthModeActive() const { return isEditing() && lengthMode.load(); }
    bool isTapModeActive() const { return isEditing() && tapMode.load(); }
    bool isFlamModeActive() const { return isEditing() && flamMode.load(); }
    bool isAutoFollowActive() const;

    bool getInternalSequencerDefault() const noexcept { return internalSequencerDefault; }
    bool getInternalSyncDefault() const noexcept { return internalSyncDefault; }
    bool getHostModeDefault() const noexcept { return hostModeDefault; }
    bool getNoteOffDefault() const noexcept { return noteOffDefault; }
    void setModeDefaults (bool internalSequencerOn, bool internalSyncOn, bool hostModeOn, bool noteOffOn);

    bool isTrackSelected (int track) const;
    int getSelectedRandomTrack() const noexcept { return selectedRandomTrack; }
    bool isClipboardTracksFilled() const noexcept { return clipboardTracksFilled; }
    bool isClipboardPatternFilled() const noexcept { return clipboardPatternFilled; }
    int getGuiRequest() const noexcept { return guiRequest.load(); }

    /** Whether the clocks ran at the end of the last block (published by it). */
    bool isNativeClockRunning() const noexcept { return nativeClockRunning.load(); }
    bool isHostClockRunning() const noexcept { return hostClockRunning.load(); }

    /** The step to light on the panel, -1 for none. */
    int getPlayingStep() const;

    //==============================================================================
    // Publishers of the internal parameters (message thread)

    virtual void updateInternalSequencerState();
    virtual void updateInternalSyncState();
    virtual void updateHostModeState();
    virtual void updateNoteOffState();
    virtual void updateWriteModeState();
    virtual void updateAutoFollowState();
    virtual void updateLengthModeState();

    /** Also called by the sequencer on the audio thread, which only asks for it:
        the message thread then publishes the step states. */
    void updateStepDisplay() final;

    /** Sets "Step 01 State" ... "Step 16 State"; products show their own states. */
    virtual void publishStepStates();
    virtual void updatePatternDisplay();
    virtual void updateStepBlinkingStates();
    virtual void displayHookA() {}
    virtual void displayHookB() {}

    void updateRandomizerState();
    void updateTapModeState();
    void updateSelectionStates();
    void updatePatternNumber();
    void updatePatternNameState();
    void updateStepLengthStates();
    void updateTempoState();
    void updateScaleStates();

    //==============================================================================
    // Drum map

    void clearDrumMap();
    int getDrumMapEntry (int key) const noexcept { return drumMap.getInstrument (key); }
    const DrumMap& getDrumMap() const noexcept { return drumMap; }
    juce::String getInstrumentNameForKey (int key) const;
    bool isDrumMapXml (const juce::XmlElement& element) const;

    /** False, changing nothing, unless the element is a drum map of this plug-in. */
    bool readDrumMapXml (const juce::XmlElement& element);
    std::unique_ptr<juce::XmlElement> createDrumMapXml() const;
    bool loadDrumMapFile (const juce::File& file);
    bool saveDrumMapFile (const juce::File& file) const;
    bool loadFactoryDrumMap();
    juce::String getDrumMapFileExtension() const;
    juce::String getDrumMapWildcard() const;
    juce::String getDrumMapFileFilter() const;
    void setUserDrumMapFile (const juce::String& path);
    juce::String getUserDrumMapFile() const { return drumMapUserFile; }
    int getDrumMapSource() const noexcept { return drumMapSource; }
    void setDrumMapSource (int source) noexcept { drumMapSource = source == userDrumMap ? userDrumMap : factoryDrumMap; }
    void readDrumMapStartupXml (const juce::XmlElement& element);
    std::unique_ptr<juce::XmlElement> createDrumMapStartupXml() const;

    //==============================================================================
    // Output routing

    void resetOutputAssignments();
    void resetDefaultOutputAssignments();
    void applyDefaultOutputAssignments();
    void updateInstrumentEnables();
    bool isInstrumentAudible (int instrument) const;
    int getOutputNumber (int instrument) const;
    int getDefaultOutputNumber (int instrument) const;
    void setDefaultOutputNumber (int instrument, int output);
    int getDefaultOutputMode() const noexcept { return defaultOutputMode; }
    void setDefaultOutputMode (int mode) noexcept { defaultOutputMode = mode == OutputSettings::monoOutputs ? mode : OutputSettings::stereoOutputs; }
    int getTriggerOutput() const noexcept { return triggerOutput.load(); }

    /** The output the trigger pulse is added to; ignored outside 1 to the number of outputs. */
    void setTriggerOutput (int output);
    bool readAudioOutputStateXml (const juce::XmlElement& element);
    std::unique_ptr<juce::XmlElement> createAudioOutputStateXml() const;
    bool readAudioOutputSettingsXml (const juce::XmlElement& element);
    std::unique_ptr<juce::XmlElement> createAudioOutputSettingsXml() const;

    //==============================================================================
    // Documents

    void loadPluginStateXml (const juce::XmlElement& element) override;
    std::unique_ptr<juce::XmlElement> createPluginStateXml() override;
    void loadUserSettingsXml (const juce::XmlElement& element) override;
    std::unique_ptr<juce::XmlElement> createUserSettingsXml() override;
    void loadResourcesSettingsXml (const juce::XmlElement& element) override;
    std::unique_ptr<juce::XmlElement> createResourcesSettingsXml() override;
    void readInternalSequencerStateXml (const juce::XmlElement& element);
    std::unique_ptr<juce::XmlElement> createInternalSequencerStateXml() const;
    void readInternalSequencerSettingsXml (const juce::XmlElement& element);
    std::unique_ptr<juce::XmlElement> createInternalSequencerSettingsXml() const;

    /** A pattern bank file into the patterns in force (parsed first, then swapped). */
    bool loadPatternBankFile (const juce::File& file);

    //==============================================================================
    // Owned parts

    DrumMachineCore* getCore() const noexcept { return core.get(); }
    DrumMachineSeq* getSequencer() const noexcept { return sequencer.get(); }
    ShuffledClock& getHostClock() noexcept { return hostClock; }
    ShuffledClock& getNativeClock() noexcept { return nativeClock; }
    Clock& getHostFlamClock() noexcept { return hostFlamClock; }
    Clock& getNativeFlamClock() noexcept { return nativeFlamClock; }

protected:
    /** Sets an internal parameter with notification; the listener then leaves the
        members alone (publishers never change members). */
    void publish (int uid, float value);
    void publishBool (int uid, bool value) { publish (uid, value ? 1.0f : 0.0f); }
    void publishText (int uid, const juce::String& text);

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
    void registerInternalParameters();
    void registerEvents();
    void publishNativeModeReady();
    void setTrackSelectionParameters();
    void publishStepLengthStates (int length, bool show);

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
    void clearOutputs (juce::AudioBuffer<float>& outputs) noexcept;
    void beginMidi (juce::MidiBuffer& midi, const BlockStart& block) noexcept;
    void setRunningClocksFromPatterns();
    void renderSamples (int numSamples, const BlockStart& block);
    void handleEventsAt (int sample, juce::MidiMessageMetadata& event);
    void advanceClocks (bool intSeq, bool host);
    void passMidiOn (juce::MidiBuffer& midi, const BlockStart& block);
    void askPanelToFollow (const BlockStart& block);

    // Audio thread
    void renderPending() noexcept;
    void renderSample() noexcept;
    void handleMidiBytes (const juce::uint8* data, int size);
    void startNativeClock();
    void setNativeClockFromPattern();
    void setHostClockFromPattern();
    void stopClock (Clock& clock) noexcept;
    void stopAllClocks() noexcept;
    void releaseTriggerNotes() noexcept;
    void addMidiOut (juce::uint8 status, int key, int velocity) noexcept;
    void processTaps();
    int getVelocityByte (float velocity) const noexcept;

    double sampleRate = 0.0;
    bool hostPlaying = false;         // audio thread
    bool nativeStartedByNote = false; // audio thread

    // Entries read by the audio thread; replaced whole under the callback lock.
    DrumMap drumMap;
    int drumMapSource = factoryDrumMap;
    juce::String drumMapUserFile;

    // Set by the parameter listener on any thread, read by the audio thread.
    std::array<std::atomic<bool>, numInstruments> muteFlags{}, soloFlags{}, audibleFlags{};
    std::array<std::atomic<int>, numInstruments> outputNumbers{};
    std::atomic<int> triggerOutput{8}; // set on the message thread, read by the audio thread
    std::atomic<float> accentLevel{0.0f};

    int defaultOutputMode = OutputSettings::stereoOutputs;
    int outputModeInForce = OutputSettings::stereoOutputs; // fixed in initialise
    std::array<int, numInstruments> defaultOutputNumbers{};

    // Set by the audio thread (exchange), read and cleared by the panel.
    std::array<std::atomic<int>, numTracks> activityFlags{};
    std::atomic<int> midiActivity{0};

    std::unique_ptr<DrumMachineCore> core;
    std::unique_ptr<DrumMachineSeq> sequencer;

    // Audio thread: the block being rendered.
    double instrumentSamples[numInstruments]{};
    float* channels[maxOutputChannels]{};
    int numChannelsInBlock = 0;
    int samplesPending = 0, samplesRendered = 0;

    MidiEventQueue midiQueue; // audio thread
    juce::MidiBuffer midiOut; // audio thread, sized in prepareToPlay
    int midiOutBytes = 0, midiOutCapacity = 0;
    int midiOutSampleCounter = 0;
    bool sendingTriggerNotes = false; // the internal sequencer was on when the block began

    // Audio thread: the instrument whose trigger note sounds on each key, -1 none.
    std::array<int, DrumMap::numKeys> soundingKeys;

    // Message thread asks, the audio thread sends the note-offs at its next block.
    std::atomic<bool> releaseNotesRequested{false};

    // Modes: set on the message thread, read by the audio thread.
    bool internalSequencerDefault = true, internalSyncDefault = true, hostModeDefault = false, noteOffDefault = false;
    std::atomic<bool> internalSequencer{false}, internalSync{false}, hostMode{false}, noteOffMode{false};
    std::atomic<int> hostPlayDetection{byTransportChange};
    std::atomic<bool> patternWriteMode{false}, autoFollow{false}, randomizerMode{false};
    std::atomic<bool> lengthMode{false}, tapMode{false}, flamMode{false};

    // Message thread only.
    int selectedRandomTrack = 0;
    std::array<bool, numTracks> trackSelection{};
    bool clipboardTracksFilled = false, clipboardPatternFilled = false;
    std::array<bool, numTracks> clipboardTrackMarks{};
    int clipboardTrackCount = 0;
    bool publishing = false;

    // The panel's start/stop request, taken by the next block; the request in force
    // belongs to the audio thread.
    std::atomic<int> guiRequest{noRequest};
    int guiRequestInForce = noRequest;

    ShuffledClock hostClock{"hostClock"}, nativeClock{"nativeClock"};
    Clock hostFlamClock{"hostFlamClock"}, nativeFlamClock{"nativeFlamClock"};

    int heldPatternKeys = 0; // audio thread

    // Published by the audio thread at the end of each block.
    std::atomic<bool> nativeClockRunning{false}, hostClockRunning{false};

    // Requests from the audio thread (or any thread) served by handleAsyncUpdate.
    std::atomic<int> deferredRequests{0};
    std::atomic<int> pendingProgram{-1};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DrumMachine)
};
