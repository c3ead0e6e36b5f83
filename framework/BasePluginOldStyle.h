#pragma once

#include "framework/BasePlugin.h"
#include "framework/PresetChangeHandler.h"
#include "framework/PresetList.h"
#include "framework/PresetListener.h"
#include "framework/PresetSlot.h"
#include "generated/PulsaretIds.h"

#include <atomic>
#include <memory>

class IntParameter;
class StringParameter;

/** The plug-in base with presets: 128 slots of the presetable parameters in
    named groups, the current preset published through the parameters
    "Current Preset Number" and "Current Preset Name", copy and paste, storing
    on demand or automatically, preset and bank files, and the presets loaded
    at start-up.

    Indexes are list positions. Slots and groups are read and changed on the
    message thread; in automatic storing mode the current slot is also written
    from whichever thread sets a presetable parameter, which is why that path
    takes no lock (see PresetSlot). */
class BasePluginOldStyle : public BasePlugin
{
public:
    static constexpr int numPresetSlots = 128;
    static constexpr int currentPresetNumberUid = 110000;
    static constexpr int currentPresetNameUid = 110001;

    enum DefaultPresetsSource
    {
        factoryPresets = 0,
        clearedPresets = 1,
        userDefinedPresets = 2
    };

    enum StoringMode
    {
        automaticStoring = 0,
        onDemandStoring = 1
    };

    enum ChangingMode
    {
        normalChanging = 0,
        silentChanging = 1
    };

    BasePluginOldStyle();
    ~BasePluginOldStyle() override;

    /** Host table, dialog folder, the base's start-up (listeners, settings,
        MIDI map, afterInitialise), then the empty preset and the start-up bank,
        applied. */
    void initialise() override;

    //==============================================================================
    // Hooks for products

    virtual void loadResourcesSettingsXml (const juce::XmlElement& element);
    virtual std::unique_ptr<juce::XmlElement> createResourcesSettingsXml();
    virtual bool hasPresetStoringSetting() const;
    virtual bool hasPresetChangingSetting() const;

    virtual int getNumAlternativePresetExtensions() const;
    virtual juce::String getAlternativePresetExtension (int index) const;
    virtual int getNumAlternativeBankExtensions() const;
    virtual juce::String getAlternativeBankExtension (int index) const;

    virtual bool isNotPresetableParamsXml (const juce::XmlElement& element) const;
    virtual void loadNotPresetableParamsXml (const juce::XmlElement& element);
    virtual std::unique_ptr<juce::XmlElement> createNotPresetableParamsXml();

    /** Tag "Preset" and this plug-in's "application". */
    virtual bool isPresetXml (const juce::XmlElement& element) const;

    /** False, changing nothing, when the index is out of range or the element
        is no preset of this plug-in. */
    virtual bool loadPresetXmlIntoSlot (const juce::XmlElement& element, int index);

    /** False, changing nothing, when the element is no preset of this plug-in.
        Values it does not mention keep what the slot held. */
    virtual bool readPresetXml (const juce::XmlElement& element, PresetSlot& slot);

    /** Null when the index is out of range. */
    virtual std::unique_ptr<juce::XmlElement> createPresetXmlForSlot (int index);
    virtual std::unique_ptr<juce::XmlElement> createPresetXml (const PresetSlot& slot);

    virtual bool isPresetGroupXml (const juce::XmlElement& element) const;
    virtual bool isPresetBankXml (const juce::XmlElement& element) const;

    /** Replaces every slot, group and the bank name. The bank is read into a
        separate list first: a document that is no bank, or holds no preset of
        this plug-in, changes nothing and returns false. */
    virtual bool readPresetBankXml (const juce::XmlElement& element);
    virtual std::unique_ptr<juce::XmlElement> createPresetBankXml();

    virtual int getNumAlternativeMidiMapExtensions() const;
    virtual juce::String getAlternativeMidiMapExtension (int index) const;

    //==============================================================================
    // BasePlugin

    void loadPluginStateXml (const juce::XmlElement& element) override;
    std::unique_ptr<juce::XmlElement> createPluginStateXml() override;
    bool loadProgramStateXml (const juce::XmlElement& element) override;
    std::unique_ptr<juce::XmlElement> createProgramStateXml() override;
    void loadUserSettingsXml (const juce::XmlElement& element) override;
    std::unique_ptr<juce::XmlElement> createUserSettingsXml() override;

    /** The parameters before the output numbers go into the state document. */
    int getNumSavedParameters() const override;

    /** Next, previous, copy, paste and store. */
    void handleEvent (int uid) override;

    /** Renames the current preset from "Current Preset Name"; stores presetable
        values into the current slot in automatic mode; then tells the host. */
    void parameterChanged (Parameter* parameter) override;

    //==============================================================================
    // Preset list and current preset

    int getNumPresets() const;
    int getCurrentPreset() const noexcept { return currentPreset.load(); }

    /** Moves the current index and shows it; the sound parameters stay. */
    void selectPreset (int index, bool notify);

    /** Sets the presetable parameters to the current slot, then shows it. */
    void applyPreset();

    /** The change step of next, previous and the browser: the current index is
        set, then the preset is applied or, in silent changing mode with a
        handler installed, handed to the handler. Out of range: nothing. */
    void changePreset (int index);

    void selectNextPreset();
    void selectPreviousPreset();

    juce::String getPresetName (int index) const;
    void setPresetName (int index, const juce::String& name);
    PresetSlot* getPresetSlot (int index) const;
    void storePreset (int index);

    int getNumGroups() const;
    juce::String getGroupName (int group) const;
    void setGroupName (int group, const juce::String& name);
    int getGroupSize (int group) const;
    int getFirstPresetOfGroup (int group) const;
    int getLastPresetOfGroup (int group) const;
    int getGroupOfPreset (int index) const;
    int getPresetIndex (int group, int position) const;
    juce::String getPresetNameInGroup (int group, int position) const;
    void insertGroup (int group);

    /** Only an empty group is removed, so the groups keep covering every slot. */
    void removeGroup (int group);

    /** Moves keep the current preset's slot current at its new position. */
    void movePreset (int from, int to, int fromGroup, int toGroup);
    void movePresetsToGroup (int toGroup, int fromGroup, const juce::SparseSet<int>& selection);
    void moveGroup (int from, int to);

    void copyCurrentPreset();
    void pasteCopiedPreset();
    bool isClipboardFilled() const noexcept { return clipboardFilled; }

    /** Every slot "Preset " + its index with the empty preset's values, in one
        group "Not used". */
    void clearPresets();

    const juce::String& getBankName() const noexcept { return bankName; }
    const PresetSlot& getDefaultPreset() const noexcept { return *defaultPreset; }
    const PresetSlot& getClipboardPreset() const noexcept { return *clipboardPreset; }

    juce::File getDialogFolder() const { return dialogFolder; }

    /** Ignored unless the folder exists. */
    void setDialogFolder (const juce::File& folder);

    void setDeferredChangeHandler (PresetChangeHandler* handler) noexcept { deferredChangeHandler = handler; }
    void addPresetListener (PresetListener* listener);
    void removePresetListener (PresetListener* listener);

    int getNumPresetableParameters() const noexcept { return numPresetableParameters; }
    int getNumNotPresetableParameters() const noexcept { return numNotPresetableParameters; }

    //==============================================================================
    // Files

    /** Reads a preset file into the slot, applying it when it is the current
        one. A file that is no preset of this plug-in changes nothing. */
    bool loadPresetFile (const juce::File& file, int index);
    bool savePresetFile (const juce::File& file, int index);

    /** A "Preset" element of the values that play now, under the current
        preset's name: unstored edits are in it; the slot keeps what was stored.
        Preset Save's file and the program chunk both carry it. */
    std::unique_ptr<juce::XmlElement> createCurrentSettingsXml();

    /** Writes createCurrentSettingsXml to the file. */
    bool saveCurrentSettingsFile (const juce::File& file);

    /** Reads a bank file and applies the current preset. The file's folder
        becomes the dialog folder either way. */
    bool loadBankFile (const juce::File& file);
    bool saveBankFile (const juce::File& file);

    /** The embedded empty preset into the default preset. */
    bool loadDefaultPresetResource (const juce::String& logicalName);

    /** The embedded bank, then the current preset applied. */
    bool loadDefaultBankResource (const juce::String& logicalName);

    juce::String getPresetFileExtension() const;
    juce::String getPresetFileWildcard() const;
    juce::String getPresetFilePatterns() const;
    juce::String getBankFileExtension() const;
    juce::String getBankFileWildcard() const;
    juce::String getBankFilePatterns() const;
    juce::String getMidiMapFileExtension() const;
    juce::String getMidiMapFilePatterns() const;

    //==============================================================================
    // Settings (they reach the settings file when the plug-in writes it)

    void setDefaultPresetsSource (int source);
    int getDefaultPresetsSource() const noexcept { return defaultPresetsSource; }
    void setUserPresetsFile (const juce::String& path) { userPresetsFile = path; }
    juce::String getUserPresetsFile() const { return userPresetsFile; }
    void setStoringMode (int mode);
    int getStoringMode() const noexcept { return storingMode.load(); }
    void setChangingMode (int mode);
    int getChangingMode() const noexcept { return changingMode.load(); }

protected:
    /** "PresetsState": the current index and the whole bank. */
    std::unique_ptr<juce::XmlElement> createPresetsStateXml();
    void loadPresetsStateXml (const juce::XmlElement& element);

private:
    void setCurrentIndex (int index);
    void copyParameterValuesInto (PresetSlot& slot);
    void loadStartUpPresets();
    void setDialogFolderFromFile (const juce::File& file);
    juce::String makePatterns (const juce::String& extension, int numAlternatives,
                               const std::function<juce::String (int)>& alternative) const;

    juce::File dialogFolder;
    int defaultPresetsSource = factoryPresets;
    juce::String userPresetsFile;
    std::atomic<int> storingMode{onDemandStoring}; // read by parameterChanged on any thread
    std::atomic<int> changingMode{normalChanging};
    std::atomic<int> currentPreset{0};

    // Presets hold the parameters before the main volume; the state also holds the rest up to the
    // output numbers, which belong to the settings.
    const int numSavedParameters = ParameterId::firstOutputNumber;
    const int numPresetableParameters = ParameterId::mainVolume;
    const int numNotPresetableParameters = ParameterId::firstOutputNumber - ParameterId::mainVolume;

    juce::String bankName{"Preset Bank"};
    PresetList presets;

    // The slot at the current position. Slots are never deleted while the plug-in
    // lives, so automatic storing on any thread writes through this pointer
    // without looking the slot up under the preset lock.
    std::atomic<PresetSlot*> currentSlot{nullptr};

    IntParameter* currentPresetNumber = nullptr; // owned by the parameter store
    StringParameter* currentPresetName = nullptr;

    std::unique_ptr<PresetSlot> defaultPreset, clipboardPreset;
    bool clipboardFilled = false;

    PresetChangeHandler* deferredChangeHandler = nullptr;
    juce::Array<PresetListener*> presetListeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BasePluginOldStyle)
};
