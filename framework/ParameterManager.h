#pragma once

#include "framework/Parameter.h"

#include <juce_core/juce_core.h>

/** Owns every parameter of a plug-in instance and finds it by uid or by name from any
    thread. Lookups and setters take the read lock; adding and clearing take the write
    lock and happen on the message thread at start-up. */
class ParameterManager
{
public:
    ParameterManager();
    virtual ~ParameterManager();

    /** Fills the store from an embedded "PluginParameters" description such as
        "parameters.xml"; a missing or unparsable resource leaves the store empty. */
    void loadParametersFromResource (const juce::String& logicalName);
    void loadParameters (const juce::XmlElement& root);

    void clear();

    /** Takes ownership. A parameter whose uid or name is present is deleted and false
        returned; passing one that is already registered returns false and leaves it alone. */
    bool addParameter (Parameter* parameter);
    bool addParameter (std::unique_ptr<Parameter> parameter);

    Parameter* getParameter (int uid) const;
    Parameter* getParameter (const juce::String& name) const;
    juce::String getParameterName (int uid) const;

    int getNumParameters() const;
    /** In order of registration; null when out of range. */
    Parameter* getParameterAt (int index) const;

    float getValue (int uid) const;
    float getNormalisedValue (int uid) const;
    int getIntValue (int uid) const;
    bool getBoolValue (int uid) const;
    juce::String getText (int uid) const;

    void setValue (int uid, float value);
    void setNormalisedValue (int uid, float value);
    void setIntValue (int uid, int value);
    void setBoolValue (int uid, bool value);
    void setText (int uid, const juce::String& text);

    void addListenerToAll (Parameter::Listener* listener);
    void addAsyncListenerToAll (Parameter::Listener* listener);
    void removeAsyncListenerFromAll (Parameter::Listener* listener);

    void addListener (int uid, Parameter::Listener* listener);
    void addAsyncListener (int uid, Parameter::Listener* listener);
    void removeAsyncListener (int uid, Parameter::Listener* listener);

    /** Every listener of every parameter hears the current values. */
    void triggerAllUpdates();

    /** Held for reading while a looked-up parameter is used outside the store. */
    const juce::ReadWriteLock& getLock() const noexcept { return lock; }

    struct UidHash
    {
        int generateHash (int uid, int upperLimit) const noexcept;
    };

    struct NameHash
    {
        int generateHash (const juce::String& name, int upperLimit) const noexcept;
    };

private:
    template <typename Function>
    void forEachParameter (Function&& function);

    juce::OwnedArray<Parameter> parameters;
    juce::HashMap<int, Parameter*, UidHash> byUid;
    juce::HashMap<juce::String, Parameter*, NameHash> byName;
    juce::ReadWriteLock lock;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ParameterManager)
};
