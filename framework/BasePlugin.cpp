#include "framework/BasePlugin.h"

#include "framework/AudioProcessorEditorWrapper.h"
#include "framework/FloatParameter.h"
#include "framework/NumberText.h"
#include "framework/XmlAttributes.h"
#include "framework/XmlDocuments.h"

#include <algorithm>
#include <cstring>

namespace
{
constexpr juce::uint32 chunkMagic = 0x21324356; // "VC2!" read as a little-endian word
constexpr int chunkHeaderSize = 8;

constexpr int numDebugItems = 12;
constexpr int firstDebugParameter = 300000;

// How many host changes this thread is applying; their parameter changes are not echoed.
thread_local int hostChangeDepth = 0;

thread_local bool insideAudioCallback = false;
} // namespace

BasePlugin::AudioCallbackScope::AudioCallbackScope() noexcept
{
    insideAudioCallback = true;
}

BasePlugin::AudioCallbackScope::~AudioCallbackScope()
{
    insideAudioCallback = false;
}

bool BasePlugin::isInsideAudioCallback() noexcept
{
    return insideAudioCallback;
}

BasePlugin::HostChangeScope::HostChangeScope() noexcept
{
    ++hostChangeDepth;
}

BasePlugin::HostChangeScope::~HostChangeScope()
{
    --hostChangeDepth;
}

BasePlugin::BasePlugin()
{
    for (int i = 0; i < maxHostParameters; ++i)
    {
        hostTable[i].store (nullptr);
        hostValues[i].store (0.0f);
        setByHost[i].store (0);
    }

    for (auto& word : pendingReports)
        word.store (0);

    midiControl = std::make_unique<MidiControl> (parameterManager);

    parameterManager.loadParametersFromResource ("parameters.xml");

    eventNameMap.loadEventsFromResource ("events.xml");
    eventNameMap.addCommandEvents();
    updatePoller.startTimer (PolledUpdater::pollIntervalMs);
}

BasePlugin::~BasePlugin()
{
    updatePoller.stopTimer();
    deleteEditorComponent();
    cancelPendingUpdate();
    stateListeners.clear();

    // The parameters outlive this object's listener role only by the members below;
    // none of them calls back into the plug-in while being destroyed.
    midiControl.reset();
}

void BasePlugin::deleteEditorComponent()
{
    if (editorComponent != nullptr)
    {
        editorComponent->stopRefreshTimer();
        editorComponent.reset();
    }
}

//==============================================================================
void BasePlugin::preInitialise()
{
    // On Linux this finds the shared library itself (through dladdr), not the host.
    pluginFile = juce::File::getSpecialLocation (juce::File::currentExecutableFile);
    pluginFolder = pluginFile.getParentDirectory();
    midiControl->setName (getPluginName());

    if (isDebugEnabled())
    {
        for (int i = 0; i < numDebugItems; ++i)
            parameterManager.addParameter (std::make_unique<FloatParameter> (firstDebugParameter + i,
                                                                             "Debug Parameter " + juce::String (i),
                                                                             0.0f, 1.0f, 0.0f));

        eventNameMap.addDebugEvents();
    }
}

void BasePlugin::initialise()
{
    parameterManager.addListenerToAll (this);
    loadUserSettings();

    if (midiControl->getUseUserMap())
        midiControl->loadMapFile (midiControl->getUserMapFile());

    afterInitialise();
}

void BasePlugin::postInitialise()
{
    if (editorComponent == nullptr)
    {
        editorComponent = createEditorComponent();

        if (editorComponent != nullptr)
        {
            editorComponent->createDefaultControls();

            if (isDebugEnabled())
                editorComponent->createDebugPanel();

            editorComponent->sendLookAndFeelChange();
            editorComponent->startRefreshTimer (25);
        }
    }

    parameterManager.triggerAllUpdates();
}

//==============================================================================
std::unique_ptr<PluginEditorComponent> BasePlugin::createEditorComponent()
{
    // The framework knows no editor; products return theirs.
    return nullptr;
}

juce::String BasePlugin::getPluginName() const { return "BasePlugin"; }

ProductInfo BasePlugin::getProductInfo() const
{
    ProductInfo info;
    info.name = getPluginName();
    info.format = "VST";
    info.platform = sizeof (void*) == 8 ? "64bit" : "32bit";
    info.buildDate = PULSARET_BUILD_DATE;
    return info;
}
juce::String BasePlugin::getPluginPrefix() const { return "XX"; }
int BasePlugin::getNumHostParameters() const { return maxHostParameters; }
int BasePlugin::getNumSavedParameters() const { return getHostParameterCount(); }
juce::String BasePlugin::getParameterTextById (int uid) { return parameterManager.getText (uid); }
void BasePlugin::handleEvent (int) {}
bool BasePlugin::isDebugEnabled() const { return false; }
void BasePlugin::afterInitialise() {}

//==============================================================================
const juce::String BasePlugin::getName() const
{
    return getPluginName();
}

juce::AudioProcessorEditor* BasePlugin::createEditor()
{
    if (editorComponent == nullptr)
        return nullptr;

    return new AudioProcessorEditorWrapper (*this, *editorComponent);
}

bool BasePlugin::hasEditor() const
{
    return true;
}

int BasePlugin::getHostParameterCount() const
{
    return juce::jlimit (0, maxHostParameters, getNumHostParameters());
}

bool BasePlugin::isHostIndex (int index) const
{
    // Checked at both ends: the host's index is never trusted.
    return index >= 0 && index < getHostParameterCount();
}

int BasePlugin::getNumParameters()
{
    return getHostParameterCount();
}

const juce::String BasePlugin::getParameterName (int index)
{
    if (! isHostIndex (index))
        return {};

    if (auto* parameter = getHostParameter (index))
        return parameter->getName();

    return "Parameter " + juce::String (index + 1);
}

juce::String BasePlugin::getParameterName (int index, int maximumStringLength)
{
    return getParameterName (index).substring (0, maximumStringLength);
}

float BasePlugin::getParameter (int index)
{
    if (! isHostIndex (index))
        return 0.0f;

    if (auto* parameter = getHostParameter (index))
        return parameter->getNormalisedValue();

    return hostValues[index].load();
}

const juce::String BasePlugin::getParameterText (int index)
{
    if (! isHostIndex (index))
        return {};

    if (auto* parameter = getHostParameter (index))
        return getParameterTextById (parameter->getUid());

    return formatNineDecimals (hostValues[index].load());
}

juce::String BasePlugin::getParameterText (int index, int maximumStringLength)
{
    return getParameterText (index).substring (0, maximumStringLength);
}

void BasePlugin::setParameter (int index, float value)
{
    if (! isHostIndex (index))
        return;

    hostValues[index].store (value);

    if (auto* parameter = getHostParameter (index))
    {
        setByHost[index].store (1);
        parameter->setNormalisedValue (value, true);
        setByHost[index].store (0);
    }
}

bool BasePlugin::isParameterAutomatable (int index) const
{
    return isHostIndex (index);
}

int BasePlugin::getNumPrograms() { return 0; }
int BasePlugin::getCurrentProgram() { return 0; }
void BasePlugin::setCurrentProgram (int) {}
const juce::String BasePlugin::getProgramName (int) { return {}; }
void BasePlugin::changeProgramName (int, const juce::String&) {}

void BasePlugin::addListener (juce::AudioProcessorListener* listener)
{
    juce::AudioProcessor::addListener (listener);

    const juce::ScopedLock sl (processorListenersLock);
    processorListeners.addIfNotAlreadyThere (listener);
}

void BasePlugin::removeListener (juce::AudioProcessorListener* listener)
{
    {
        const juce::ScopedLock sl (processorListenersLock);
        processorListeners.removeFirstMatchingValue (listener);
    }

    juce::AudioProcessor::removeListener (listener);
}

//==============================================================================
void BasePlugin::fillHostParameterTable()
{
    const int count = getHostParameterCount();

    for (int i = 0; i < count; ++i)
        setHostParameter (i, parameterManager.getParameter (i));
}

void BasePlugin::setHostParameter (int index, Parameter* parameter)
{
    if (index < 0 || index >= maxHostParameters)
        return;

    Parameter* previous = hostTable[index].exchange (parameter);

    const juce::ScopedLock sl (hostIndexLock);

    if (previous != nullptr && hostIndexMap[previous->getUid()] == index)
        hostIndexMap.remove (previous->getUid());

    if (parameter != nullptr)
        hostIndexMap.set (parameter->getUid(), index);
}

Parameter* BasePlugin::getHostParameter (int index) const
{
    return index >= 0 && index < maxHostParameters ? hostTable[index].load() : nullptr;
}

int BasePlugin::findHostIndex (const Parameter* parameter) const noexcept
{
    // The audio thread asks too: a scan of the table instead of the locked index map.
    const int count = getHostParameterCount();

    for (int i = 0; i < count; ++i)
        if (hostTable[i].load (std::memory_order_relaxed) == parameter)
            return i;

    return -1;
}

int BasePlugin::getHostIndex (int uid) const
{
    const juce::ScopedLock sl (hostIndexLock);
    return hostIndexMap.contains (uid) ? hostIndexMap[uid] : -1;
}

void BasePlugin::parameterChanged (Parameter* parameter)
{
    if (parameter == nullptr)
        return;

    const int index = findHostIndex (parameter);

    // A change that came from the host is not echoed back to it.
    if (index < 0 || setByHost[index].load() != 0 || hostChangeDepth > 0)
        return;

    // Reporting calls into the host under the processor's listener lock, which the message
    // thread holds while it reports: the audio callback leaves it to the message thread.
    if (! insideAudioCallback)
    {
        sendParamChangeMessageToListeners (index, parameter->getNormalisedValue());
        return;
    }

    pendingReports[index / 64].fetch_or ((juce::uint64) 1 << (index % 64));
    triggerAsyncUpdate();
}

void BasePlugin::reportPendingChanges()
{
    for (int word = 0; word < numReportWords; ++word)
    {
        auto bits = pendingReports[word].exchange (0);

        for (int bit = 0; bits != 0; ++bit, bits >>= 1)
        {
            if ((bits & 1) == 0)
                continue;

            const int index = word * 64 + bit;

            if (auto* parameter = getHostParameter (index); parameter != nullptr && isHostIndex (index))
                sendParamChangeMessageToListeners (index, parameter->getNormalisedValue());
        }
    }
}

void BasePlugin::parameterChangeGestureBegin (Parameter* parameter)
{
    if (parameter != nullptr)
        notifyGesture (getHostIndex (parameter->getUid()), true);
}

void BasePlugin::parameterChangeGestureEnd (Parameter* parameter)
{
    if (parameter != nullptr)
        notifyGesture (getHostIndex (parameter->getUid()), false);
}

void BasePlugin::notifyGesture (int index, bool begin)
{
    if (! isHostIndex (index))
        return;

    // What AudioProcessor's own gesture calls do for plug-ins without
    // AudioProcessorParameter objects, without going through its retired interface.
    const juce::ScopedLock sl (processorListenersLock);

    for (int i = processorListeners.size(); --i >= 0;)
    {
        if (i >= processorListeners.size())
            continue;

        if (begin)
            processorListeners.getUnchecked (i)->audioProcessorParameterChangeGestureBegin (this, index);
        else
            processorListeners.getUnchecked (i)->audioProcessorParameterChangeGestureEnd (this, index);
    }
}

//==============================================================================
void BasePlugin::addStateListener (StateListener* listener)
{
    if (listener != nullptr)
        stateListeners.addIfNotAlreadyThere (listener);
}

void BasePlugin::removeStateListener (StateListener* listener)
{
    stateListeners.removeFirstMatchingValue (listener);
}

void BasePlugin::handleAsyncUpdate()
{
    reportPendingChanges();

    if (stateLoaded.exchange (0) != 0)
        for (int i = stateListeners.size(); --i >= 0;)
            if (i < stateListeners.size())
                stateListeners.getUnchecked (i)->stateLoaded();

    if (stateSaved.exchange (0) != 0)
        for (int i = stateListeners.size(); --i >= 0;)
            if (i < stateListeners.size())
                stateListeners.getUnchecked (i)->stateSaved (*this);
}

void BasePlugin::getStateInformation (juce::MemoryBlock& destData)
{
    auto document = createPluginStateXml();

    if (document == nullptr)
        return;

    writeStateChunk (*document, destData);
    stateSaved.store (1);
    triggerAsyncUpdate();
}

void BasePlugin::setStateInformation (const void* data, int sizeInBytes)
{
    restoreStateChunk (data, sizeInBytes);
}

bool BasePlugin::restoreStateChunk (const void* data, int sizeInBytes)
{
    auto document = readStateChunk (data, sizeInBytes);

    // Another application's or a damaged document changes nothing and tells no one.
    if (document == nullptr || ! isPluginStateXml (*document))
        return false;

    const HostChangeScope fromHost;
    loadPluginStateXml (*document);
    stateLoaded.store (1);
    triggerAsyncUpdate();
    return true;
}

void BasePlugin::getCurrentProgramStateInformation (juce::MemoryBlock& destData)
{
    if (auto document = createProgramStateXml())
        writeStateChunk (*document, destData);
}

void BasePlugin::setCurrentProgramStateInformation (const void* data, int sizeInBytes)
{
    restoreProgramChunk (data, sizeInBytes);
}

bool BasePlugin::restoreProgramChunk (const void* data, int sizeInBytes)
{
    auto document = readStateChunk (data, sizeInBytes);

    if (document == nullptr)
        return false;

    const HostChangeScope fromHost;
    return loadProgramStateXml (*document);
}

void BasePlugin::writeStateChunk (const juce::XmlElement& element, juce::MemoryBlock& destData)
{
    const auto text = element.toString (juce::XmlElement::TextFormat().singleLine().withoutHeader());
    const auto length = text.getNumBytesAsUTF8();

    destData.setSize (chunkHeaderSize + length + 2, true);
    auto* bytes = static_cast<juce::uint8*> (destData.getData());

    for (int i = 0; i < 4; ++i)
    {
        bytes[i] = (juce::uint8) (chunkMagic >> (8 * i));
        bytes[4 + i] = (juce::uint8) ((juce::uint32) length >> (8 * i));
    }

    std::memcpy (bytes + chunkHeaderSize, text.toRawUTF8(), length);
    // The terminator and the spare byte after it stay zero.
}

std::unique_ptr<juce::XmlElement> BasePlugin::readStateChunk (const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes <= chunkHeaderSize)
        return nullptr;

    const auto* bytes = static_cast<const char*> (data);

    if (juce::ByteOrder::littleEndianInt (bytes) != chunkMagic)
        return nullptr;

    const auto length = juce::ByteOrder::littleEndianInt (bytes + 4);

    if (length == 0 || (size_t) (sizeInBytes - chunkHeaderSize) > maxXmlDocumentBytes + 2)
        return nullptr;

    // A length larger than the data uses only the bytes present, and a zero byte ends the
    // text; the parser reads no further and refuses what is not UTF-8.
    const auto available = (size_t) (sizeInBytes - chunkHeaderSize);
    const auto numBytes = juce::jmin ((size_t) length, available);
    const auto* text = bytes + chunkHeaderSize;
    const auto textLength = (size_t) (std::find (text, text + numBytes, '\0') - text);

    if (textLength == 0)
        return nullptr;

    return parseXmlUtf8 (text, textLength);
}

//==============================================================================
bool BasePlugin::checkApplicationAttribute (const juce::XmlElement& element, const juce::String& tagName) const
{
    return element.getTagName().equalsIgnoreCase (tagName)
           && hasAttributeIgnoringCase (element, "application")
           && getAttributeIgnoringCase (element, "application").equalsIgnoreCase (getPluginName());
}

std::unique_ptr<juce::XmlElement> BasePlugin::setApplicationAttribute (const juce::String& tagName) const
{
    auto element = std::make_unique<juce::XmlElement> (tagName);
    element->setAttribute ("application", getPluginName());
    return element;
}

bool BasePlugin::isStateOn (const juce::XmlElement& element)
{
    return getAttributeIgnoringCase (element, "state").equalsIgnoreCase ("on");
}

std::unique_ptr<juce::XmlElement> BasePlugin::createStateElement (const juce::String& tagName, bool on)
{
    auto element = std::make_unique<juce::XmlElement> (tagName);
    element->setAttribute ("state", on ? "on" : "off");
    return element;
}

juce::String BasePlugin::makeWildcard (const juce::String& extension)
{
    return "*" + extension;
}

bool BasePlugin::isPluginStateXml (const juce::XmlElement& element) const
{
    return checkApplicationAttribute (element, "PluginState");
}

bool BasePlugin::isUserSettingsXml (const juce::XmlElement& element) const
{
    return checkApplicationAttribute (element, "UserSettings");
}

std::unique_ptr<juce::XmlElement> BasePlugin::createParametersStateXml (int numParameters) const
{
    auto state = std::make_unique<juce::XmlElement> ("ParametersState");

    for (int uid = 0; uid < numParameters; ++uid)
    {
        if (auto* parameter = parameterManager.getParameter (uid))
        {
            auto* param = state->createNewChildElement ("param");
            param->setAttribute ("name", parameter->getName());
            param->setAttribute ("value", formatGeneralNumber (parameter->getValue()));
        }
    }

    return state;
}

void BasePlugin::loadParametersStateXml (const juce::XmlElement& element)
{
    for (auto* param : element.getChildIterator())
    {
        if (! param->getTagName().equalsIgnoreCase ("param"))
            continue;

        // A value that is no number leaves the parameter as it is.
        if (auto* parameter = parameterManager.getParameter (getAttributeIgnoringCase (*param, "name")))
            if (const auto value = readNumberAttribute (*param, "value", 0.0))
                parameter->setNormalisedValue ((float) *value, true);
    }
}

std::unique_ptr<juce::XmlElement> BasePlugin::createPluginStateXml()
{
    auto state = setApplicationAttribute ("PluginState");
    state->addChildElement (createParametersStateXml (getNumSavedParameters()).release());
    state->addChildElement (midiControl->createMapXml().release());
    return state;
}

void BasePlugin::loadPluginStateXml (const juce::XmlElement& element)
{
    if (! isPluginStateXml (element))
        return;

    for (auto* child : element.getChildIterator())
    {
        if (child->getTagName().equalsIgnoreCase ("ParametersState"))
            loadParametersStateXml (*child);
        else if (midiControl->isMapXml (*child))
            midiControl->loadMapXml (*child);
    }
}

bool BasePlugin::loadProgramStateXml (const juce::XmlElement&)
{
    return false;
}

std::unique_ptr<juce::XmlElement> BasePlugin::createProgramStateXml()
{
    return nullptr;
}

void BasePlugin::loadUserSettingsXml (const juce::XmlElement&) {}

std::unique_ptr<juce::XmlElement> BasePlugin::createUserSettingsXml()
{
    return setApplicationAttribute ("UserSettings");
}

std::unique_ptr<juce::XmlElement> BasePlugin::createPluginDirectoriesXml (const juce::File& folder)
{
    auto directories = std::make_unique<juce::XmlElement> ("PluginDirectories");
    directories->createNewChildElement ("RecentlyUsed")->setAttribute ("dir", folder.getFullPathName());
    return directories;
}

juce::File BasePlugin::readPluginDirectoriesXml (const juce::XmlElement& element)
{
    juce::File folder;

    for (auto* child : element.getChildIterator())
    {
        if (! child->getTagName().equalsIgnoreCase ("RecentlyUsed"))
            continue;

        const auto path = getAttributeIgnoringCase (*child, "dir");

        // Only absolute paths name a folder; anything else would resolve against the
        // host's working directory.
        if (path.isNotEmpty() && juce::File::isAbsolutePath (path) && juce::File (path).isDirectory())
            folder = juce::File (path);
    }

    return folder;
}

//==============================================================================
juce::File BasePlugin::getUserSettingsFile() const
{
    if (userSettingsFile != juce::File())
        return userSettingsFile;

    if (pluginFolder == juce::File())
        return {};

    return pluginFolder.getChildFile (getPluginName() + ".ini");
}

void BasePlugin::setUserSettingsFile (const juce::File& file)
{
    userSettingsFile = file;
}

bool BasePlugin::loadUserSettings()
{
    auto document = parseXmlDocument (getUserSettingsFile());

    if (document == nullptr)
        return false;

    loadUserSettingsXml (*document);
    return true;
}

bool BasePlugin::saveUserSettings()
{
    const auto file = getUserSettingsFile();

    if (file == juce::File())
        return false;

    if (auto document = createUserSettingsXml())
        return writeXmlDocument (*document, file);

    return false;
}
