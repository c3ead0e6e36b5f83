#pragma once

#include "framework/EventNameMap.h"
#include "framework/MidiControl.h"
#include "framework/Parameter.h"
#include "framework/ParameterManager.h"
#include "framework/PluginEditorComponent.h"
#include "framework/PolledUpdater.h"
#include "framework/ProductInfo.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <memory>

/** The generic audio-processor base of the plug-in.

    It owns the parameter store, the MIDI-learn map, the event name map and the editor
    component; maps the host's parameter indices to parameters; reports panel changes to
    the host without echoing the host's own changes; turns the host's state and program
    chunks into documents that every layer extends; and keeps the user settings file.

    Start-up runs in three stages after construction, in this order: preInitialise,
    initialise, postInitialise. Layers above override the virtual hooks; a layer that
    owns objects the editor watches calls deleteEditorComponent first in its destructor.
*/
class BasePlugin : public juce::AudioProcessor,
                   public PolledUpdater,
                   public Parameter::Listener
{
public:
    /** Host indices are limited to the size of the host value arrays. */
    static constexpr int maxHostParameters = 128;

    /** While one lives, parameter changes made on this thread came from the host (a chunk,
        a program, a program change) and are not reported back to it. */
    class HostChangeScope
    {
    public:
        HostChangeScope() noexcept;
        ~HostChangeScope();

        JUCE_DECLARE_NON_COPYABLE (HostChangeScope)
    };

    /** Marks the audio callback on this thread: parameter changes made inside it are
        reported to the host by the message thread. */
    class AudioCallbackScope
    {
    public:
        AudioCallbackScope() noexcept;
        ~AudioCallbackScope();

        JUCE_DECLARE_NON_COPYABLE (AudioCallbackScope)
    };

    static bool isInsideAudioCallback() noexcept;

    /** Told on the message thread after the host took or restored a state chunk. */
    class StateListener
    {
    public:
        virtual ~StateListener() = default;
        virtual void stateLoaded() {}
        virtual void stateSaved (BasePlugin&) {}
    };

    BasePlugin();
    ~BasePlugin() override;

    //==============================================================================
    // Start-up stages

    /** Records the library's file and folder and names the MIDI-learn map. */
    void preInitialise();

    /** Listens to every parameter, reads the settings file, loads the user MIDI map when
        the settings ask for it, then calls afterInitialise. Layers extend it. */
    virtual void initialise();

    /** Creates the editor component once and lets every widget see the current values. */
    void postInitialise();

    //==============================================================================
    // Hooks for the layers above

    virtual std::unique_ptr<PluginEditorComponent> createEditorComponent();
    virtual juce::String getPluginName() const;

    /** The name, the interface and platform and the build date; products add their
        version and build number. */
    virtual ProductInfo getProductInfo() const;

    /** Two letters used in the plug-in's file extensions. */
    virtual juce::String getPluginPrefix() const;

    virtual bool isPluginStateXml (const juce::XmlElement& element) const;

    /** The base reads "ParametersState" and the MIDI-learn map; other children are the
        layers'. Called only for a document that passed isPluginStateXml. */
    virtual void loadPluginStateXml (const juce::XmlElement& element);

    /** "PluginState" with "ParametersState" then "MidiControlMap". Layers append their
        children; the preset layer inserts its own right after "ParametersState". */
    virtual std::unique_ptr<juce::XmlElement> createPluginStateXml();

    /** The program chunk's document; none in the base. False when the document is not one
        the layer takes, which then changes nothing. */
    virtual bool loadProgramStateXml (const juce::XmlElement& element);
    virtual std::unique_ptr<juce::XmlElement> createProgramStateXml();

    virtual bool isUserSettingsXml (const juce::XmlElement& element) const;

    /** Each layer checks isUserSettingsXml and reads its own children. */
    virtual void loadUserSettingsXml (const juce::XmlElement& element);

    /** The "UserSettings" root; layers append their children. */
    virtual std::unique_ptr<juce::XmlElement> createUserSettingsXml();

    /** At most maxHostParameters; the base shows all of them. */
    virtual int getNumHostParameters() const;

    /** Parameters 0 up to this count are written to "ParametersState". */
    virtual int getNumSavedParameters() const;

    virtual juce::String getParameterTextById (int uid);
    virtual void handleEvent (int uid);
    virtual bool isDebugEnabled() const;
    virtual void afterInitialise();

    //==============================================================================
    // juce::AudioProcessor

    const juce::String getName() const override;
    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    int getNumParameters() override;
    const juce::String getParameterName (int index) override;
    juce::String getParameterName (int index, int maximumStringLength) override;
    float getParameter (int index) override;
    const juce::String getParameterText (int index) override;
    juce::String getParameterText (int index, int maximumStringLength) override;
    void setParameter (int index, float value) override;
    bool isParameterAutomatable (int index) const override;

    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;
    void getCurrentProgramStateInformation (juce::MemoryBlock& destData) override;
    void setCurrentProgramStateInformation (const void* data, int sizeInBytes) override;

    /** Kept so that gestures reach the same listeners as value changes. */
    void addListener (juce::AudioProcessorListener* listener) override;
    void removeListener (juce::AudioProcessorListener* listener) override;

    //==============================================================================
    // Parameter::Listener: reports panel, MIDI and preset changes to the host; a change
    // made in the audio callback (a learned controller) is reported by the message thread.

    void parameterChanged (Parameter* parameter) override;
    void parameterChangeGestureBegin (Parameter* parameter) override;
    void parameterChangeGestureEnd (Parameter* parameter) override;

    //==============================================================================
    // PolledUpdater: state notifications and changes to report to the host

    void handleAsyncUpdate() override;

    //==============================================================================
    // Host parameter table

    /** Entry index is the parameter with that uid (or none), for every host index. */
    void fillHostParameterTable();

    /** Maps one host index; out-of-range indices are ignored. */
    void setHostParameter (int index, Parameter* parameter);
    Parameter* getHostParameter (int index) const;

    /** The host index of the uid, -1 when it has none. */
    int getHostIndex (int uid) const;

    //==============================================================================
    // State chunks, documents and settings

    /** The block "VC2!", the text's length (little-endian), the UTF-8 text on one line
        without an XML declaration, a terminating zero and one more zero byte. */
    static void writeStateChunk (const juce::XmlElement& element, juce::MemoryBlock& destData);

    /** The chunk's document, or null when the chunk is short, foreign, or its text is not
        valid UTF-8 or not XML. Never reads past sizeInBytes. */
    static std::unique_ptr<juce::XmlElement> readStateChunk (const void* data, int sizeInBytes);

    /** setStateInformation and setCurrentProgramStateInformation, telling whether the chunk was
        taken: false for a damaged or foreign chunk, which changes nothing. The VST adapter
        passes the answer on to the host. */
    bool restoreStateChunk (const void* data, int sizeInBytes);
    bool restoreProgramChunk (const void* data, int sizeInBytes);

    /** Tag and "application" both match (ignoring case); a missing attribute never does. */
    bool checkApplicationAttribute (const juce::XmlElement& element, const juce::String& tagName) const;

    /** A new element with that tag and the "application" attribute. */
    std::unique_ptr<juce::XmlElement> setApplicationAttribute (const juce::String& tagName) const;

    /** "on" in any letter case is true; anything else, or no attribute, false. */
    static bool isStateOn (const juce::XmlElement& element);
    static std::unique_ptr<juce::XmlElement> createStateElement (const juce::String& tagName, bool on);

    /** The file-chooser pattern for a file extension. */
    static juce::String makeWildcard (const juce::String& extension);

    /** "ParametersState" for uids 0 up to the count, values in the "%.9g" form. */
    std::unique_ptr<juce::XmlElement> createParametersStateXml (int numParameters) const;

    /** Applies each "param" found by exact name as a normalised value, with notification. */
    void loadParametersStateXml (const juce::XmlElement& element);

    /** "PluginDirectories" holding "RecentlyUsed" with the folder in "dir". */
    static std::unique_ptr<juce::XmlElement> createPluginDirectoriesXml (const juce::File& folder);

    /** The "RecentlyUsed" folder of a "PluginDirectories" element, or none when it is
        empty or names no existing folder. */
    static juce::File readPluginDirectoriesXml (const juce::XmlElement& element);

    /** getPluginName + ".ini" beside the library, unless another file was set. */
    juce::File getUserSettingsFile() const;

    /** Moves the settings file elsewhere (tests, and hosts with read-only plug-in folders). */
    void setUserSettingsFile (const juce::File& file);

    /** False when the file is missing or unparsable; the settings then stay as they were. */
    bool loadUserSettings();

    /** False when nothing was written; a read-only folder disturbs nothing else. */
    bool saveUserSettings();

    void addStateListener (StateListener* listener);
    void removeStateListener (StateListener* listener);

    //==============================================================================
    // Owned parts

    ParameterManager& getParameterManager() noexcept { return parameterManager; }
    MidiControl& getMidiControl() noexcept { return *midiControl; }
    EventNameMap& getEventNameMap() noexcept { return eventNameMap; }
    PluginEditorComponent* getEditorComponent() const noexcept { return editorComponent.get(); }

    const juce::File& getPluginFile() const noexcept { return pluginFile; }
    const juce::File& getPluginFolder() const noexcept { return pluginFolder; }

    /** Stops the editor's timer and deletes it. Layers whose objects the editor watches
        call this first in their destructors, so the editor never outlives them. */
    void deleteEditorComponent();

private:
    int getHostParameterCount() const;
    int findHostIndex (const Parameter* parameter) const noexcept;
    void reportPendingChanges();
    bool isHostIndex (int index) const;
    void notifyGesture (int index, bool begin);

    juce::File pluginFile, pluginFolder;
    juce::File userSettingsFile; // set only to move the settings file elsewhere

    ParameterManager parameterManager;

    // Written on the message thread at start-up, read by any thread without a lock.
    std::atomic<Parameter*> hostTable[maxHostParameters];

    juce::CriticalSection hostIndexLock;
    juce::HashMap<int, int> hostIndexMap;

    // Written by the host's setParameter, read by getParameter on any host thread.
    std::atomic<float> hostValues[maxHostParameters];

    // 1 while the host's own change of that index is applied: the change is not echoed.
    std::atomic<int> setByHost[maxHostParameters];

    // Host indices changed off the message thread, one bit each: reported by the message thread.
    static constexpr int numReportWords = (maxHostParameters + 63) / 64;
    std::atomic<juce::uint64> pendingReports[numReportWords];

    // Collects on the message thread what other threads handed over.
    struct UpdatePoller : public juce::Timer
    {
        void timerCallback() override { PolledUpdater::deliverPendingUpdates(); }
    };
    UpdatePoller updatePoller;

    std::unique_ptr<MidiControl> midiControl;
    EventNameMap eventNameMap;

    std::atomic<int> stateLoaded { 0 }, stateSaved { 0 }; // set on the host's thread, cleared on the message thread
    juce::Array<StateListener*> stateListeners;           // message thread only

    juce::CriticalSection processorListenersLock;
    juce::Array<juce::AudioProcessorListener*> processorListeners;

    std::unique_ptr<PluginEditorComponent> editorComponent;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BasePlugin)
};
