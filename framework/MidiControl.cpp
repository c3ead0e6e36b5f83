#include "framework/MidiControl.h"

#include "framework/ParameterManager.h"
#include "framework/NumberText.h"
#include "framework/XmlAttributes.h"
#include "framework/XmlDocuments.h"

MidiControl::MidiControl (ParameterManager& parameterStore)
    : parameters (parameterStore)
{
    for (auto& slot : slots)
        slot.store (nullptr);

    for (auto& flag : pending)
        flag.store (false);
}

MidiControl::~MidiControl()
{
    cancelPendingUpdate();
}

void MidiControl::addListener (Listener* listener)
{
    if (listener != nullptr)
        listeners.addIfNotAlreadyThere (listener);
}

void MidiControl::removeListener (Listener* listener)
{
    listeners.removeFirstMatchingValue (listener);
}

void MidiControl::handleAsyncUpdate()
{
    bool raised[numNotifications];

    // Taken before the calls, so that a change made by a listener comes round again.
    for (int i = 0; i < numNotifications; ++i)
        raised[i] = pending[i].exchange (false);

    const auto callListeners = [this] (void (Listener::*callback) (MidiControl&))
    {
        for (int i = listeners.size(); --i >= 0;)
            if (i < listeners.size())
                (listeners.getUnchecked (i)->*callback) (*this);
    };

    if (raised[mapChanged])
        callListeners (&Listener::midiMapChanged);

    if (raised[learnStateChanged])
        callListeners (&Listener::midiLearnStateChanged);

    if (raised[controllerMoved])
        callListeners (&Listener::midiControllerMoved);
}

void MidiControl::raise (Notification notification)
{
    pending[notification].store (true);
    triggerAsyncUpdate();
}

void MidiControl::setLearnMode (bool shouldLearn)
{
    const juce::ScopedLock sl (lock);

    if (learnMode.load() == shouldLearn)
        return;

    learnMode.store (shouldLearn);
    learningParameter = nullptr;
    learningController = -1;

    for (int i = listeners.size(); --i >= 0;)
        if (i < listeners.size())
            listeners.getUnchecked (i)->midiLearnStateChanged (*this);
}

Parameter* MidiControl::getLearnParameter() const
{
    const juce::ScopedLock sl (lock);
    return learningParameter;
}

int MidiControl::getLearnController() const
{
    const juce::ScopedLock sl (lock);
    return learningController;
}

void MidiControl::learnParameter (Parameter* parameter)
{
    const juce::ScopedLock sl (lock);

    if (parameter == learningParameter)
        return;

    if (learningController == -1 || learningParameter != nullptr)
        learningController = indexOf (parameter);

    learningParameter = parameter;
    completePair();
}

void MidiControl::learnController (int controllerNumber)
{
    if (! isController (controllerNumber))
        return;

    const juce::ScopedLock sl (lock);

    if (controllerNumber == learningController)
        return;

    if (learningParameter == nullptr || learningController != -1)
        learningParameter = slots[controllerNumber].load();

    learningController = controllerNumber;
    completePair();
}

void MidiControl::completePair()
{
    // A controller that already drives a parameter is never taken over by learning.
    if (learningController != -1 && learningParameter != nullptr
        && slots[learningController].load() == nullptr)
        assign (learningController, learningParameter, true);

    raise (learnStateChanged);
}

void MidiControl::setSlot (int controllerNumber, Parameter* parameter)
{
    slots[controllerNumber].store (parameter);
}

void MidiControl::updateAssignedCount()
{
    assignedCount = 0;

    for (auto& slot : slots)
        if (slot.load() != nullptr)
            ++assignedCount;
}

void MidiControl::assign (int controllerNumber, Parameter* parameter, bool notify)
{
    if (! isController (controllerNumber))
        return;

    const juce::ScopedLock sl (lock);

    if (slots[controllerNumber].load() == parameter)
        return;

    if (parameter != nullptr)
    {
        const int previous = indexOf (parameter);

        if (previous >= 0)
            setSlot (previous, nullptr);
    }

    setSlot (controllerNumber, parameter);
    updateAssignedCount();

    if (notify)
        raise (mapChanged);
}

void MidiControl::unassign (int controllerNumber)
{
    if (! isController (controllerNumber))
        return;

    const juce::ScopedLock sl (lock);

    if (slots[controllerNumber].load() == nullptr)
        return;

    setSlot (controllerNumber, nullptr);
    updateAssignedCount();
    raise (mapChanged);

    if (learnMode.load())
    {
        learningParameter = nullptr;
        learningController = -1;
        raise (learnStateChanged);
    }
}

void MidiControl::clearAll()
{
    const juce::ScopedLock sl (lock);

    for (int i = 0; i < numControllers; ++i)
        setSlot (i, nullptr);

    assignedCount = 0;
    raise (mapChanged);
}

int MidiControl::indexOf (const Parameter* parameter) const
{
    if (parameter == nullptr)
        return -1;

    const juce::ScopedLock sl (lock);

    for (int i = 0; i < numControllers; ++i)
        if (slots[i].load() == parameter)
            return i;

    return -1;
}

Parameter* MidiControl::getParameterAt (int controllerNumber) const noexcept
{
    return isController (controllerNumber) ? slots[controllerNumber].load() : nullptr;
}

int MidiControl::getNumAssigned() const
{
    const juce::ScopedLock sl (lock);
    return assignedCount;
}

void MidiControl::handleMidiMessage (const juce::MidiMessage& message)
{
    if (! message.isController())
        return;

    // A malformed message may carry a data byte above 127.
    const int controllerNumber = message.getControllerNumber();

    if (! isController (controllerNumber))
        return;

    if (learnMode.load())
    {
        // Learning is a gesture on the panel; a message that finds the map busy is
        // skipped rather than making the audio thread wait for the message thread.
        const juce::ScopedTryLock sl (lock);

        if (sl.isLocked())
            learnController (controllerNumber);
    }

    if (auto* parameter = slots[controllerNumber].load())
    {
        const int value = juce::jlimit (0, 127, message.getControllerValue());
        parameter->setNormalisedValue ((float) value * (1.0f / 127.0f), true);
        lastMovedParameter.store (parameter);
        raise (controllerMoved);
    }
}

bool MidiControl::isMapXml (const juce::XmlElement& element) const
{
    // "MidiCCMap" is the tag of older map files.
    return element.getTagName().equalsIgnoreCase ("MidiControlMap") || element.getTagName().equalsIgnoreCase ("MidiCCMap");
}

bool MidiControl::isCompatibleMapXml (const juce::XmlElement& element) const
{
    if (! isMapXml (element))
        return false;

    const auto ownName = getName();

    if (ownName.isEmpty())
        return true;

    return getAttributeIgnoringCase (element, "name").equalsIgnoreCase (ownName)
           || getAttributeIgnoringCase (element, "application").equalsIgnoreCase (ownName);
}

bool MidiControl::loadMapXml (const juce::XmlElement& element)
{
    if (! isCompatibleMapXml (element))
        return false;

    Parameter* newSlots[numControllers] = {};

    for (auto* child : element.getChildIterator())
    {
        if (! child->getTagName().equalsIgnoreCase ("assign"))
            continue;

        auto* parameter = parameters.getParameter (getAttributeIgnoringCase (*child, "param"));

        if (parameter == nullptr || ! parameter->isAuto())
            continue;

        // "x1" or "" is no controller at all, not controller 0.
        const auto controller = readIntegerAttribute (*child, "CC", 0);

        if (! controller.has_value() || ! isController (*controller))
            continue;

        const int controllerNumber = *controller;

        for (auto& slot : newSlots)
            if (slot == parameter)
                slot = nullptr;

        newSlots[controllerNumber] = parameter;
    }

    {
        const juce::ScopedLock sl (lock);

        // Learning stops with the new map; listeners hear it on the message thread,
        // as a host may restore its state from another thread.
        if (learnMode.exchange (false))
            raise (learnStateChanged);

        learningParameter = nullptr;
        learningController = -1;

        for (int i = 0; i < numControllers; ++i)
            setSlot (i, newSlots[i]);

        updateAssignedCount();
    }

    raise (mapChanged);
    return true;
}

std::unique_ptr<juce::XmlElement> MidiControl::createMapXml() const
{
    const juce::ScopedLock sl (lock);

    auto map = std::make_unique<juce::XmlElement> ("MidiControlMap");
    map->setAttribute ("name", name);

    for (int i = 0; i < numControllers; ++i)
    {
        if (auto* parameter = slots[i].load())
        {
            auto* assignment = map->createNewChildElement ("assign");
            assignment->setAttribute ("CC", i);
            assignment->setAttribute ("param", parameter->getName());
        }
    }

    return map;
}

bool MidiControl::loadMapFile (const juce::File& file)
{
    if (auto document = parseXmlDocument (file))
        return loadMapXml (*document);

    return false;
}

bool MidiControl::saveMapFile (const juce::File& file) const
{
    return writeXmlDocument (*createMapXml(), file);
}

void MidiControl::setName (const juce::String& newName)
{
    const juce::ScopedLock sl (lock);
    name = newName;
}

juce::String MidiControl::getName() const
{
    const juce::ScopedLock sl (lock);
    return name;
}

void MidiControl::setUseUserMap (bool shouldUse)
{
    const juce::ScopedLock sl (lock);
    useUserMap = shouldUse;
}

bool MidiControl::getUseUserMap() const
{
    const juce::ScopedLock sl (lock);
    return useUserMap;
}

void MidiControl::setUserMapFile (const juce::File& file)
{
    const juce::ScopedLock sl (lock);
    userMapFile = file;
}

juce::File MidiControl::getUserMapFile() const
{
    const juce::ScopedLock sl (lock);
    return userMapFile;
}
