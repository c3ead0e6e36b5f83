#include "framework/BasePluginOldStyle.h"

#include "framework/EmbeddedResources.h"
#include "framework/IntParameter.h"
#include "framework/NameText.h"
#include "framework/StringParameter.h"
#include "framework/XmlAttributes.h"
#include "framework/XmlDocuments.h"

#include <cmath>

namespace
{
bool tagNameMatches (const juce::XmlElement& element, const char* tagName)
{
    return element.getTagName().equalsIgnoreCase (tagName);
}

bool isAbsolutePath (const juce::String& path)
{
    return path.isNotEmpty() && juce::File::isAbsolutePath (path);
}

const char* const presetsSourceNames[] = {"factoryPresets", "clearPresets", "userDefinedPresets"};
} // namespace

BasePluginOldStyle::BasePluginOldStyle()
    : presets (numPresetSlots, numPresetableParameters)
{
    auto& store = getParameterManager();

    store.addParameter (std::make_unique<IntParameter> (currentPresetNumberUid, "Current Preset Number", 0, numPresetSlots - 1, 0));
    store.addParameter (std::make_unique<StringParameter> (currentPresetNameUid, "Current Preset Name", juce::String()));
    currentPresetNumber = dynamic_cast<IntParameter*> (store.getParameter (currentPresetNumberUid));
    currentPresetName = dynamic_cast<StringParameter*> (store.getParameter (currentPresetNameUid));

    defaultPreset = std::make_unique<PresetSlot> ("Preset", numPresetableParameters, -1);
    clipboardPreset = std::make_unique<PresetSlot> ("Preset", numPresetableParameters, -1);

    for (int uid = 0; uid < numPresetableParameters; ++uid)
        if (auto* parameter = store.getParameter (uid))
            defaultPreset->setValue (uid, parameter->getNormalisedValue());

    setCurrentIndex (0);
}

BasePluginOldStyle::~BasePluginOldStyle()
{
    // The editor and its preset browser watch the lists deleted below.
    deleteEditorComponent();
}

//==============================================================================
void BasePluginOldStyle::initialise()
{
    fillHostParameterTable();
    dialogFolder = juce::File::getSpecialLocation (juce::File::userHomeDirectory);

    // Listeners, the settings file, the user MIDI map and afterInitialise.
    BasePlugin::initialise();

    loadDefaultPresetResource ("default" + getPresetFileExtension());
    loadStartUpPresets();

    if (getPresetSlot (getCurrentPreset()) != nullptr)
        applyPreset();

    // A value set to itself notifies nobody, so the not presetable parameters
    // are announced explicitly for every listener to pick up its start value.
    auto& store = getParameterManager();

    for (int uid = numPresetableParameters; uid < numPresetableParameters + numNotPresetableParameters; ++uid)
        if (auto* parameter = store.getParameter (uid))
            parameter->triggerUpdate();
}

void BasePluginOldStyle::loadStartUpPresets()
{
    if (defaultPresetsSource == clearedPresets)
    {
        clearPresets();
        return;
    }

    if (defaultPresetsSource == userDefinedPresets && isAbsolutePath (userPresetsFile))
    {
        const juce::File file (userPresetsFile);

        if (file.existsAsFile() && loadBankFile (file))
            return;
    }

    // The source and path stay as they are, so the user's choice survives in
    // the settings file even while the file is missing or damaged.
    if (!loadDefaultBankResource ("default" + getBankFileExtension()))
        clearPresets();
}

//==============================================================================
void BasePluginOldStyle::loadResourcesSettingsXml (const juce::XmlElement& element)
{
    for (auto* child : element.getChildIterator())
    {
        if (tagNameMatches (*child, "Presets"))
        {
            const auto source = getAttributeIgnoringCase (*child, "default");

            if (source.equalsIgnoreCase (presetsSourceNames[factoryPresets]))
            {
                defaultPresetsSource = factoryPresets;
            }
            else if (source.equalsIgnoreCase (presetsSourceNames[clearedPresets]))
            {
                defaultPresetsSource = clearedPresets;
            }
            else if (source.equalsIgnoreCase (presetsSourceNames[userDefinedPresets]))
            {
                defaultPresetsSource = userDefinedPresets;
                userPresetsFile = getAttributeIgnoringCase (*child, "file");
            }
        }
        else if (tagNameMatches (*child, "MidiCCMap"))
        {
            // Compared exactly: older settings files rely on the exact words.
            const auto mapping = getAttributeIgnoringCase (*child, "default");
            auto& midiControl = getMidiControl();

            if (mapping == "noMapping")
            {
                midiControl.setUseUserMap (false);
            }
            else if (mapping == "userDefinedMidiCCMap")
            {
                const auto path = getAttributeIgnoringCase (*child, "file");
                midiControl.setUseUserMap (true);
                midiControl.setUserMapFile (isAbsolutePath (path) ? juce::File (path) : juce::File());
            }
        }
    }
}

std::unique_ptr<juce::XmlElement> BasePluginOldStyle::createResourcesSettingsXml()
{
    auto resources = std::make_unique<juce::XmlElement> ("ResourcesSettings");

    auto* presetsSource = resources->createNewChildElement ("Presets");
    presetsSource->setAttribute ("default", presetsSourceNames[juce::jlimit (0, 2, defaultPresetsSource)]);

    if (defaultPresetsSource == userDefinedPresets)
        presetsSource->setAttribute ("file", userPresetsFile);

    auto* map = resources->createNewChildElement ("MidiCCMap");
    auto& midiControl = getMidiControl();

    if (midiControl.getUseUserMap())
    {
        map->setAttribute ("default", "userDefinedMidiCCMap");
        map->setAttribute ("file", midiControl.getUserMapFile().getFullPathName());
    }
    else
    {
        map->setAttribute ("default", "noMapping");
    }

    return resources;
}

bool BasePluginOldStyle::hasPresetStoringSetting() const
{
    return true;
}
bool BasePluginOldStyle::hasPresetChangingSetting() const
{
    return true;
}

int BasePluginOldStyle::getNumAlternativePresetExtensions() const
{
    return 0;
}
juce::String BasePluginOldStyle::getAlternativePresetExtension (int) const
{
    return {};
}
int BasePluginOldStyle::getNumAlternativeBankExtensions() const
{
    return 0;
}
juce::String BasePluginOldStyle::getAlternativeBankExtension (int) const
{
    return {};
}
int BasePluginOldStyle::getNumAlternativeMidiMapExtensions() const
{
    return 0;
}
juce::String BasePluginOldStyle::getAlternativeMidiMapExtension (int) const
{
    return {};
}

bool BasePluginOldStyle::isNotPresetableParamsXml (const juce::XmlElement& element) const
{
    return tagNameMatches (element, "NotPresetableParams") || tagNameMatches (element, "NotPresetParams");
}

void BasePluginOldStyle::loadNotPresetableParamsXml (const juce::XmlElement& element)
{
    if (!isNotPresetableParamsXml (element))
        return;

    auto& store = getParameterManager();

    for (auto* child : element.getChildIterator())
    {
        if (!tagNameMatches (*child, "param"))
            continue;

        if (auto* parameter = store.getParameter (getAttributeIgnoringCase (*child, "name")))
            if (const auto value = readNumberAttribute (*child, "value", 0.0))
                parameter->setNormalisedValue ((float) *value, true);
    }
}

std::unique_ptr<juce::XmlElement> BasePluginOldStyle::createNotPresetableParamsXml()
{
    auto element = std::make_unique<juce::XmlElement> ("NotPresetableParams");
    auto& store = getParameterManager();

    for (int uid = numPresetableParameters; uid < numPresetableParameters + numNotPresetableParameters; ++uid)
    {
        if (auto* parameter = store.getParameter (uid))
        {
            auto* param = element->createNewChildElement ("param");
            param->setAttribute ("name", parameter->getName());
            param->setAttribute ("value", PresetSlot::formatValue (parameter->getValue()));
        }
    }

    return element;
}

bool BasePluginOldStyle::isPresetXml (const juce::XmlElement& element) const
{
    return checkApplicationAttribute (element, "Preset");
}

bool BasePluginOldStyle::loadPresetXmlIntoSlot (const juce::XmlElement& element, int index)
{
    auto* slot = getPresetSlot (index);
    return slot != nullptr && readPresetXml (element, *slot);
}

bool BasePluginOldStyle::readPresetXml (const juce::XmlElement& element, PresetSlot& slot)
{
    if (!isPresetXml (element))
        return false;

    slot.setName (hasAttributeIgnoringCase (element, "name") ? getAttributeIgnoringCase (element, "name")
                                                             : juce::String ("unnamed"));
    auto& store = getParameterManager();

    for (auto* child : element.getChildIterator())
    {
        if (!tagNameMatches (*child, "param"))
            continue;

        auto* parameter = store.getParameter (getAttributeIgnoringCase (*child, "name"));

        if (parameter == nullptr)
            continue;

        // Compared unsigned, so that a negative uid is refused like one past the end.
        const int uid = parameter->getUid();

        if ((unsigned) uid >= (unsigned) slot.getNumValues())
            continue;

        // A damaged number must not reach the sound parameters.
        const auto value = readNumberAttribute (*child, "value", 0.0);

        if (!value.has_value())
            continue;

        slot.setValue (uid, (float) juce::jlimit (0.0, 1.0, *value));
    }

    return true;
}

std::unique_ptr<juce::XmlElement> BasePluginOldStyle::createPresetXmlForSlot (int index)
{
    auto* slot = getPresetSlot (index);
    return slot != nullptr ? createPresetXml (*slot) : nullptr;
}

std::unique_ptr<juce::XmlElement> BasePluginOldStyle::createPresetXml (const PresetSlot& slot)
{
    auto preset = setApplicationAttribute ("Preset");
    preset->setAttribute ("name", slot.getName());
    auto& store = getParameterManager();

    for (int uid = 0; uid < slot.getNumValues(); ++uid)
    {
        const auto name = store.getParameterName (uid);

        if (name.isEmpty())
            continue;

        auto* param = preset->createNewChildElement ("param");
        param->setAttribute ("name", name);
        param->setAttribute ("value", PresetSlot::formatValue (slot.getValue (uid)));
    }

    return preset;
}

bool BasePluginOldStyle::isPresetGroupXml (const juce::XmlElement& element) const
{
    return tagNameMatches (element, "PresetGroup");
}

bool BasePluginOldStyle::isPresetBankXml (const juce::XmlElement& element) const
{
    return tagNameMatches (element, "PresetBank");
}

bool BasePluginOldStyle::readPresetBankXml (const juce::XmlElement& element)
{
    if (!isPresetBankXml (element))
        return false;

    PresetList bank (numPresetSlots, numPresetableParameters);
    bank.clear (*defaultPreset);
    bank.clearGroups();

    int next = 0;

    for (auto* group : element.getChildIterator())
    {
        if (!isPresetGroupXml (*group))
            continue;

        const auto groupName = hasAttributeIgnoringCase (*group, "name")
                                   ? getAttributeIgnoringCase (*group, "name")
                                   : "group " + juce::String (bank.getNumGroups() + 1);
        int count = 0;

        for (auto* preset : group->getChildIterator())
        {
            if (next >= numPresetSlots)
                break;

            if (readPresetXml (*preset, *bank.getSlot (next)))
            {
                ++next;
                ++count;
            }
        }

        bank.appendGroup (groupName, count);
    }

    // Another application's bank, or a damaged one, leaves the presets alone.
    if (next == 0)
        return false;

    if (next < numPresetSlots)
        bank.appendGroup ("Not used", numPresetSlots - next);

    bankName = hasAttributeIgnoringCase (element, "name") ? cleanName (getAttributeIgnoringCase (element, "name"))
                                                          : juce::String ("Preset Bank");
    presets.assignFrom (bank);
    return true;
}

std::unique_ptr<juce::XmlElement> BasePluginOldStyle::createPresetBankXml()
{
    auto bank = std::make_unique<juce::XmlElement> ("PresetBank");
    bank->setAttribute ("name", bankName);

    for (int g = 0; g < getNumGroups(); ++g)
    {
        auto* group = bank->createNewChildElement ("PresetGroup");
        group->setAttribute ("name", getGroupName (g));

        const int first = getFirstPresetOfGroup (g);

        for (int i = first; i < first + getGroupSize (g); ++i)
            if (auto preset = createPresetXmlForSlot (i))
                group->addChildElement (preset.release());
    }

    return bank;
}

//==============================================================================
std::unique_ptr<juce::XmlElement> BasePluginOldStyle::createPresetsStateXml()
{
    auto state = std::make_unique<juce::XmlElement> ("PresetsState");
    state->setAttribute ("currentPreset", getCurrentPreset());
    state->addChildElement (createPresetBankXml().release());
    return state;
}

void BasePluginOldStyle::loadPresetsStateXml (const juce::XmlElement& element)
{
    for (auto* child : element.getChildIterator())
        if (isPresetBankXml (*child))
            readPresetBankXml (*child);

    // Selected, not applied: the sound parameters came from "ParametersState". A damaged
    // number selects nothing rather than the first preset.
    if (const auto index = readIntegerAttribute (element, "currentPreset", 0))
        selectPreset (*index, true);
}

void BasePluginOldStyle::loadPluginStateXml (const juce::XmlElement& element)
{
    BasePlugin::loadPluginStateXml (element);

    if (!isPluginStateXml (element))
        return;

    for (auto* child : element.getChildIterator())
        if (tagNameMatches (*child, "PresetsState"))
            loadPresetsStateXml (*child);
}

std::unique_ptr<juce::XmlElement> BasePluginOldStyle::createPluginStateXml()
{
    auto state = BasePlugin::createPluginStateXml();

    if (state == nullptr)
        return state;

    int position = 0;

    for (int i = 0; i < state->getNumChildElements(); ++i)
        if (tagNameMatches (*state->getChildElement (i), "ParametersState"))
            position = i + 1;

    state->insertChildElement (createPresetsStateXml().release(), position);
    return state;
}

bool BasePluginOldStyle::loadProgramStateXml (const juce::XmlElement& element)
{
    // A chunk that is no preset of ours must not re-apply the slot over unsaved edits.
    if (! loadPresetXmlIntoSlot (element, getCurrentPreset()))
        return false;

    applyPreset();
    return true;
}

std::unique_ptr<juce::XmlElement> BasePluginOldStyle::createProgramStateXml()
{
    // A host saves this as its preset: it must hold the sound that plays, unstored edits included.
    return createCurrentSettingsXml();
}

void BasePluginOldStyle::loadUserSettingsXml (const juce::XmlElement& element)
{
    BasePlugin::loadUserSettingsXml (element);

    if (!isUserSettingsXml (element))
        return;

    for (auto* child : element.getChildIterator())
    {
        if (tagNameMatches (*child, "PluginDirectories"))
        {
            const auto folder = readPluginDirectoriesXml (*child);

            if (folder != juce::File())
                setDialogFolder (folder);
        }
        else if (tagNameMatches (*child, "ResourcesSettings"))
        {
            loadResourcesSettingsXml (*child);
        }
        else if (tagNameMatches (*child, "PresetSettings"))
        {
            if (hasPresetStoringSetting())
            {
                const auto storing = getAttributeIgnoringCase (*child, "storing");

                if (storing.equalsIgnoreCase ("onDemand"))
                {
                    setStoringMode (onDemandStoring);
                }
                else if (storing.equalsIgnoreCase ("automatic"))
                {
                    setStoringMode (automaticStoring);
                    storePreset (getCurrentPreset());
                }
            }

            if (hasPresetChangingSetting())
            {
                const auto changing = getAttributeIgnoringCase (*child, "changing");

                if (changing.equalsIgnoreCase ("normal"))
                    setChangingMode (normalChanging);
                else if (changing.equalsIgnoreCase ("silent"))
                    setChangingMode (silentChanging);
            }
        }
    }
}

std::unique_ptr<juce::XmlElement> BasePluginOldStyle::createUserSettingsXml()
{
    auto settings = BasePlugin::createUserSettingsXml();

    if (settings == nullptr)
        return settings;

    settings->addChildElement (createPluginDirectoriesXml (dialogFolder).release());
    settings->addChildElement (createResourcesSettingsXml().release());

    auto* presetSettings = settings->createNewChildElement ("PresetSettings");

    if (hasPresetStoringSetting())
        presetSettings->setAttribute ("storing", getStoringMode() == automaticStoring ? "automatic" : "onDemand");

    if (hasPresetChangingSetting())
        presetSettings->setAttribute ("changing", getChangingMode() == silentChanging ? "silent" : "normal");

    return settings;
}

int BasePluginOldStyle::getNumSavedParameters() const
{
    return numSavedParameters;
}

void BasePluginOldStyle::handleEvent (int uid)
{
    BasePlugin::handleEvent (uid);

    switch (uid)
    {
        case 1002:
            selectNextPreset();
            break;
        case 1003:
            selectPreviousPreset();
            break;
        case 1007:
            copyCurrentPreset();
            break;
        case 1008:
            pasteCopiedPreset();
            break;
        case 1009:
            storePreset (getCurrentPreset());
            break;
        default:
            break;
    }
}

void BasePluginOldStyle::parameterChanged (Parameter* parameter)
{
    if (parameter == nullptr)
        return;

    const int uid = parameter->getUid();

    if (uid == currentPresetNameUid)
    {
        setPresetName (getCurrentPreset(), parameter->getText());
        return;
    }

    if (storingMode.load() == automaticStoring && uid >= 0 && uid < numPresetableParameters)
        if (auto* slot = currentSlot.load())
            slot->setValue (uid, parameter->getNormalisedValue());

    BasePlugin::parameterChanged (parameter);
}

//==============================================================================
int BasePluginOldStyle::getNumPresets() const
{
    return presets.getNumPresets();
}

void BasePluginOldStyle::setCurrentIndex (int index)
{
    currentPreset.store (index);
    currentSlot.store (presets.getSlot (index));
}

void BasePluginOldStyle::selectPreset (int index, bool notify)
{
    auto* slot = getPresetSlot (index);

    if (slot == nullptr)
        return;

    setCurrentIndex (index);

    if (currentPresetNumber != nullptr)
        currentPresetNumber->setIntValue (index, notify);

    if (currentPresetName != nullptr)
        currentPresetName->setText (slot->getName(), notify);
}

void BasePluginOldStyle::applyPreset()
{
    const int index = getCurrentPreset();
    auto* slot = getPresetSlot (index);

    if (slot == nullptr)
        return;

    auto& store = getParameterManager();

    for (int uid = 0; uid < numPresetableParameters; ++uid)
        if (auto* parameter = store.getParameter (uid))
            parameter->setNormalisedValue (slot->getValue (uid), true);

    if (currentPresetNumber != nullptr)
        currentPresetNumber->setIntValue (index, true);

    if (currentPresetName != nullptr)
        currentPresetName->setText (slot->getName(), true);

    for (int i = presetListeners.size(); --i >= 0;)
        presetListeners.getUnchecked (i)->presetApplied();
}

void BasePluginOldStyle::changePreset (int index)
{
    if (getPresetSlot (index) == nullptr)
        return;

    setCurrentIndex (index);

    if (getChangingMode() == silentChanging && deferredChangeHandler != nullptr)
        deferredChangeHandler->handlePresetChange();
    else
        applyPreset();
}

void BasePluginOldStyle::selectNextPreset()
{
    const int next = getCurrentPreset() + 1;

    if (next < getNumPresets())
        changePreset (next);
}

void BasePluginOldStyle::selectPreviousPreset()
{
    const int previous = getCurrentPreset() - 1;

    if (previous >= 0)
        changePreset (previous);
}

juce::String BasePluginOldStyle::getPresetName (int index) const
{
    return presets.getPresetName (index);
}

void BasePluginOldStyle::setPresetName (int index, const juce::String& name)
{
    if (presets.setPresetName (index, name) && index == getCurrentPreset() && currentPresetName != nullptr)
        currentPresetName->setText (name, true);
}

PresetSlot* BasePluginOldStyle::getPresetSlot (int index) const
{
    return presets.getSlot (index);
}

void BasePluginOldStyle::storePreset (int index)
{
    auto* slot = getPresetSlot (index);

    if (slot == nullptr)
        return;

    copyParameterValuesInto (*slot);
}

void BasePluginOldStyle::copyParameterValuesInto (PresetSlot& slot)
{
    auto& store = getParameterManager();

    for (int uid = 0; uid < slot.getNumValues(); ++uid)
        slot.setValue (uid, store.getNormalisedValue (uid));
}

int BasePluginOldStyle::getNumGroups() const
{
    return presets.getNumGroups();
}
juce::String BasePluginOldStyle::getGroupName (int group) const
{
    return presets.getGroupName (group);
}
void BasePluginOldStyle::setGroupName (int group, const juce::String& name)
{
    presets.setGroupName (group, name);
}
int BasePluginOldStyle::getGroupSize (int group) const
{
    return presets.getGroupSize (group);
}
int BasePluginOldStyle::getFirstPresetOfGroup (int group) const
{
    return presets.getFirstPresetOfGroup (group);
}
int BasePluginOldStyle::getLastPresetOfGroup (int group) const
{
    return presets.getLastPresetOfGroup (group);
}
int BasePluginOldStyle::getGroupOfPreset (int index) const
{
    return presets.getGroupOfPreset (index);
}
int BasePluginOldStyle::getPresetIndex (int group, int position) const
{
    return presets.getPresetIndex (group, position);
}

juce::String BasePluginOldStyle::getPresetNameInGroup (int group, int position) const
{
    const int first = getFirstPresetOfGroup (group);
    return first < 0 ? juce::String() : getPresetName (first + position);
}

void BasePluginOldStyle::insertGroup (int group)
{
    presets.insertGroup (group);
}
void BasePluginOldStyle::removeGroup (int group)
{
    presets.removeGroup (group);
}

void BasePluginOldStyle::movePreset (int from, int to, int fromGroup, int toGroup)
{
    auto* current = currentSlot.load();

    if (presets.movePreset (from, to, fromGroup, toGroup))
        selectPreset (presets.indexOf (current), false);
}

void BasePluginOldStyle::movePresetsToGroup (int toGroup, int fromGroup, const juce::SparseSet<int>& selection)
{
    auto* current = currentSlot.load();

    if (presets.movePresetsToGroup (toGroup, fromGroup, selection))
        selectPreset (presets.indexOf (current), false);
}

void BasePluginOldStyle::moveGroup (int from, int to)
{
    auto* current = currentSlot.load();

    if (presets.moveGroup (from, to))
        selectPreset (presets.indexOf (current), false);
}

void BasePluginOldStyle::copyCurrentPreset()
{
    clipboardPreset->setName (getPresetName (getCurrentPreset()) + "_copy");
    copyParameterValuesInto (*clipboardPreset);
    clipboardFilled = true;
}

void BasePluginOldStyle::pasteCopiedPreset()
{
    if (!clipboardFilled)
        return;

    auto& store = getParameterManager();

    for (int uid = 0; uid < clipboardPreset->getNumValues(); ++uid)
        store.setNormalisedValue (uid, clipboardPreset->getValue (uid));

    const int index = getCurrentPreset();
    setPresetName (index, clipboardPreset->getName());
    storePreset (index);

    if (getPresetSlot (index) != nullptr)
        applyPreset();
}

void BasePluginOldStyle::clearPresets()
{
    presets.clear (*defaultPreset);
}

void BasePluginOldStyle::setDialogFolder (const juce::File& folder)
{
    if (folder.isDirectory())
        dialogFolder = folder;
}

void BasePluginOldStyle::setDialogFolderFromFile (const juce::File& file)
{
    setDialogFolder (file.getParentDirectory());
}

void BasePluginOldStyle::addPresetListener (PresetListener* listener)
{
    if (listener != nullptr)
        presetListeners.addIfNotAlreadyThere (listener);
}

void BasePluginOldStyle::removePresetListener (PresetListener* listener)
{
    presetListeners.removeFirstMatchingValue (listener);
}

//==============================================================================
bool BasePluginOldStyle::loadPresetFile (const juce::File& file, int index)
{
    if (getPresetSlot (index) == nullptr)
        return false;

    auto document = parseXmlDocument (file);

    if (document == nullptr || !loadPresetXmlIntoSlot (*document, index))
        return false;

    if (index == getCurrentPreset())
        applyPreset();

    return true;
}

bool BasePluginOldStyle::savePresetFile (const juce::File& file, int index)
{
    auto document = createPresetXmlForSlot (index);
    return document != nullptr && writeXmlDocument (*document, file);
}

std::unique_ptr<juce::XmlElement> BasePluginOldStyle::createCurrentSettingsXml()
{
    PresetSlot current (getPresetName (getCurrentPreset()), numPresetableParameters, -1);
    copyParameterValuesInto (current);
    return createPresetXml (current);
}

bool BasePluginOldStyle::saveCurrentSettingsFile (const juce::File& file)
{
    auto document = createCurrentSettingsXml();
    return document != nullptr && writeXmlDocument (*document, file);
}

bool BasePluginOldStyle::loadBankFile (const juce::File& file)
{
    auto document = parseXmlDocument (file);
    const bool loaded = document != nullptr && readPresetBankXml (*document);

    if (!loaded)
        return false;

    if (getPresetSlot (getCurrentPreset()) != nullptr)
        applyPreset();

    setDialogFolderFromFile (file);
    return true;
}

bool BasePluginOldStyle::saveBankFile (const juce::File& file)
{
    auto document = createPresetBankXml();
    // Only a file written counts: a failure leaves the dialog folder where it was.
    if (!writeXmlDocument (*document, file))
        return false;

    setDialogFolderFromFile (file);
    return true;
}

bool BasePluginOldStyle::loadDefaultPresetResource (const juce::String& logicalName)
{
    auto document = parseXmlText (loadXmlResource (logicalName));
    return document != nullptr && readPresetXml (*document, *defaultPreset);
}

bool BasePluginOldStyle::loadDefaultBankResource (const juce::String& logicalName)
{
    auto document = parseXmlText (loadXmlResource (logicalName));

    if (document == nullptr || !readPresetBankXml (*document))
        return false;

    if (getPresetSlot (getCurrentPreset()) != nullptr)
        applyPreset();

    return true;
}

juce::String BasePluginOldStyle::makePatterns (const juce::String& extension, int numAlternatives,
                                               const std::function<juce::String (int)>& alternative) const
{
    auto patterns = "*" + extension;

    for (int i = 0; i < numAlternatives; ++i)
        patterns << "; *" << alternative (i);

    return patterns;
}

juce::String BasePluginOldStyle::getPresetFileExtension() const
{
    return "." + getPluginPrefix() + "prs";
}
juce::String BasePluginOldStyle::getPresetFileWildcard() const
{
    return makeWildcard (getPresetFileExtension());
}

juce::String BasePluginOldStyle::getPresetFilePatterns() const
{
    return makePatterns (getPresetFileExtension(), getNumAlternativePresetExtensions(),
                         [this] (int i)
                         { return getAlternativePresetExtension (i); });
}

juce::String BasePluginOldStyle::getBankFileExtension() const
{
    return "." + getPluginPrefix() + "prsb";
}
juce::String BasePluginOldStyle::getBankFileWildcard() const
{
    return makeWildcard (getBankFileExtension());
}

juce::String BasePluginOldStyle::getBankFilePatterns() const
{
    return makePatterns (getBankFileExtension(), getNumAlternativeBankExtensions(),
                         [this] (int i)
                         { return getAlternativeBankExtension (i); });
}

juce::String BasePluginOldStyle::getMidiMapFileExtension() const
{
    return "." + getPluginPrefix() + "ccmap";
}

juce::String BasePluginOldStyle::getMidiMapFilePatterns() const
{
    return makePatterns (getMidiMapFileExtension(), getNumAlternativeMidiMapExtensions(),
                         [this] (int i)
                         { return getAlternativeMidiMapExtension (i); });
}

//==============================================================================
void BasePluginOldStyle::setDefaultPresetsSource (int source)
{
    if (source >= factoryPresets && source <= userDefinedPresets)
        defaultPresetsSource = source;
}

void BasePluginOldStyle::setStoringMode (int mode)
{
    if (mode == automaticStoring || mode == onDemandStoring)
        storingMode.store (mode);
}

void BasePluginOldStyle::setChangingMode (int mode)
{
    if (mode == normalChanging || mode == silentChanging)
        changingMode.store (mode);
}
