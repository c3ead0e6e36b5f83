#include "framework/ParameterManager.h"
#include "framework/BoolParameter.h"
#include "framework/EmbeddedResources.h"
#include "framework/EnumParameter.h"
#include "framework/FloatParameter.h"
#include "framework/IntParameter.h"
#include "framework/NoteNames.h"
#include "framework/NoteParameter.h"
#include "framework/NumberText.h"
#include "framework/StringParameter.h"
#include "framework/XmlAttributes.h"
#include "framework/XmlDocuments.h"

int ParameterManager::UidHash::generateHash (int uid, int upperLimit) const noexcept
{
    // Through unsigned, so the most negative int has a magnitude too.
    const auto magnitude = uid < 0 ? 0u - (juce::uint32) uid : (juce::uint32) uid;
    return (int) (magnitude % (juce::uint32) upperLimit);
}

int ParameterManager::NameHash::generateHash (const juce::String& name, int upperLimit) const noexcept
{
    juce::uint32 h = 0;

    for (auto p = name.getCharPointer(); !p.isEmpty();)
        h = 31u * h + (juce::uint32) p.getAndAdvance();

    return (int) (h % (juce::uint32) upperLimit);
}

ParameterManager::ParameterManager()
{
    // Flat lookups for thousands of parameters.
    byUid.remapTable (10000);
    byName.remapTable (10000);
}

ParameterManager::~ParameterManager()
{
    clear();
}

void ParameterManager::loadParametersFromResource (const juce::String& logicalName)
{
    const auto text = loadXmlResource (logicalName);

    if (auto root = parseXmlText (text))
        loadParameters (*root);
    else
        clear();
}

namespace
{
std::unique_ptr<Parameter> createParameter (const juce::XmlElement& e, int uid, const juce::String& name)
{
    const auto valueText = getAttributeIgnoringCase (e, "value");
    const auto type = getAttributeIgnoringCase (e, "type", "float");

    if (type == "float")
    {
        const auto minimum = (float) parseDecimalNumber (getAttributeIgnoringCase (e, "min", "0"));
        const auto maximum = (float) parseDecimalNumber (getAttributeIgnoringCase (e, "max", "1"));
        return std::make_unique<FloatParameter> (uid, name, minimum, maximum, (float) parseDecimalNumber (valueText));
    }

    if (type == "int")
    {
        const auto minimum = parseDecimalInteger (getAttributeIgnoringCase (e, "min", "0"));
        const auto maximum = parseDecimalInteger (getAttributeIgnoringCase (e, "max", "1"));
        return std::make_unique<IntParameter> (uid, name, minimum, maximum, parseDecimalInteger (valueText));
    }

    if (type == "string")
        return std::make_unique<StringParameter> (uid, name, valueText);

    if (type == "bool" || type == "state")
    {
        auto p = std::make_unique<BoolParameter> (uid, name, type == "bool" ? BoolParameter::trueFalse : BoolParameter::onOff);
        p->setText (valueText, true);
        return p;
    }

    if (type == "enum")
        return std::make_unique<EnumParameter> (uid, name, getAttributeIgnoringCase (e, "enum"), valueText);

    if (type == "note")
    {
        auto p = std::make_unique<NoteParameter> (uid, name);
        p->setIntValue (juce::jlimit (0, 127, getNoteNumber (valueText)), true);
        return p;
    }

    return nullptr;
}
} // namespace

void ParameterManager::loadParameters (const juce::XmlElement& root)
{
    clear();

    if (!root.getTagName().equalsIgnoreCase ("PluginParameters"))
        return;

    for (auto* e : root.getChildIterator())
    {
        if (!e->getTagName().equalsIgnoreCase ("param"))
            continue;

        const int uid = parseDecimalInteger (getAttributeIgnoringCase (*e, "index", "-1"));
        const auto name = getAttributeIgnoringCase (*e, "name");

        if (uid == -1 || name.isEmpty())
            continue;

        if (auto parameter = createParameter (*e, uid, name))
        {
            parameter->setAuto (getBoolAttributeIgnoringCase (*e, "auto", false));
            addParameter (std::move (parameter));
        }
    }
}

void ParameterManager::clear()
{
    const juce::ScopedWriteLock sl (lock);
    byUid.clear();
    byName.clear();
    parameters.clear (true);
}

bool ParameterManager::addParameter (Parameter* parameter)
{
    if (parameter == nullptr)
        return false;

    const juce::ScopedWriteLock sl (lock);

    // Already ours: deleting it would leave a dangling entry in the store.
    if (parameters.contains (parameter))
        return false;

    if (byUid.contains (parameter->getUid()) || byName.contains (parameter->getName()))
    {
        delete parameter;
        return false;
    }

    parameters.add (parameter);
    byUid.set (parameter->getUid(), parameter);
    byName.set (parameter->getName(), parameter);
    return true;
}

bool ParameterManager::addParameter (std::unique_ptr<Parameter> parameter)
{
    return addParameter (parameter.release());
}

Parameter* ParameterManager::getParameter (int uid) const
{
    const juce::ScopedReadLock sl (lock);
    return byUid[uid];
}

Parameter* ParameterManager::getParameter (const juce::String& name) const
{
    const juce::ScopedReadLock sl (lock);
    return byName[name];
}

juce::String ParameterManager::getParameterName (int uid) const
{
    const juce::ScopedReadLock sl (lock);
    auto* p = byUid[uid];
    return p != nullptr ? p->getName() : juce::String();
}

int ParameterManager::getNumParameters() const
{
    const juce::ScopedReadLock sl (lock);
    return parameters.size();
}

Parameter* ParameterManager::getParameterAt (int index) const
{
    const juce::ScopedReadLock sl (lock);
    return parameters[index];
}

float ParameterManager::getValue (int uid) const
{
    const juce::ScopedReadLock sl (lock);
    auto* p = byUid[uid];
    return p != nullptr ? p->getValue() : 0.0f;
}

float ParameterManager::getNormalisedValue (int uid) const
{
    const juce::ScopedReadLock sl (lock);
    auto* p = byUid[uid];
    return p != nullptr ? p->getNormalisedValue() : 0.0f;
}

int ParameterManager::getIntValue (int uid) const
{
    const juce::ScopedReadLock sl (lock);
    auto* p = byUid[uid];
    return p != nullptr ? p->getIntValue() : 0;
}

bool ParameterManager::getBoolValue (int uid) const
{
    const juce::ScopedReadLock sl (lock);
    auto* p = byUid[uid];
    return p != nullptr && p->getBoolValue();
}

juce::String ParameterManager::getText (int uid) const
{
    const juce::ScopedReadLock sl (lock);
    auto* p = byUid[uid];
    return p != nullptr ? p->getText() : juce::String();
}

void ParameterManager::setValue (int uid, float value)
{
    const juce::ScopedReadLock sl (lock);
    if (auto* p = byUid[uid])
        p->setValue (value, true);
}

void ParameterManager::setNormalisedValue (int uid, float value)
{
    const juce::ScopedReadLock sl (lock);
    if (auto* p = byUid[uid])
        p->setNormalisedValue (value, true);
}

void ParameterManager::setIntValue (int uid, int value)
{
    const juce::ScopedReadLock sl (lock);
    if (auto* p = byUid[uid])
        p->setIntValue (value, true);
}

void ParameterManager::setBoolValue (int uid, bool value)
{
    const juce::ScopedReadLock sl (lock);
    if (auto* p = byUid[uid])
        p->setBoolValue (value, true);
}

void ParameterManager::setText (int uid, const juce::String& text)
{
    const juce::ScopedReadLock sl (lock);
    if (auto* p = byUid[uid])
        p->setText (text, true);
}

template <typename Function>
void ParameterManager::forEachParameter (Function&& function)
{
    const juce::ScopedReadLock sl (lock);

    for (auto* p : parameters)
        function (*p);
}

void ParameterManager::addListenerToAll (Parameter::Listener* listener)
{
    forEachParameter ([listener] (Parameter& p)
                      { p.addListener (listener); });
}

void ParameterManager::addAsyncListenerToAll (Parameter::Listener* listener)
{
    forEachParameter ([listener] (Parameter& p)
                      { p.addAsyncListener (listener); });
}

void ParameterManager::removeAsyncListenerFromAll (Parameter::Listener* listener)
{
    forEachParameter ([listener] (Parameter& p)
                      { p.removeAsyncListener (listener); });
}

void ParameterManager::addListener (int uid, Parameter::Listener* listener)
{
    const juce::ScopedReadLock sl (lock);
    if (auto* p = byUid[uid])
        p->addListener (listener);
}

void ParameterManager::addAsyncListener (int uid, Parameter::Listener* listener)
{
    const juce::ScopedReadLock sl (lock);
    if (auto* p = byUid[uid])
        p->addAsyncListener (listener);
}

void ParameterManager::removeAsyncListener (int uid, Parameter::Listener* listener)
{
    const juce::ScopedReadLock sl (lock);
    if (auto* p = byUid[uid])
        p->removeAsyncListener (listener);
}

void ParameterManager::triggerAllUpdates()
{
    forEachParameter ([] (Parameter& p)
                      { p.triggerUpdate(); });
}
