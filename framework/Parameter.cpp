#include "framework/Parameter.h"

Parameter::Parameter (int uidToUse, const juce::String& nameToUse)
    : uid (uidToUse)
    , name (nameToUse)
{
}

Parameter::~Parameter()
{
    cancelPendingUpdate();
}

template <typename Callback>
void Parameter::callListeners (juce::Array<Listener*>& list, Callback&& callback)
{
    // A listener may remove itself while being called, so the index is re-checked.
    for (int i = list.size(); --i >= 0;)
        if (i < list.size())
            callback (*list.getUnchecked (i));
}

void Parameter::handleAsyncUpdate()
{
    callListeners (asyncListeners, [this] (Listener& l)
                   { l.parameterChanged (this); });
}

void Parameter::addListener (Listener* listener)
{
    if (listener != nullptr)
        listeners.addIfNotAlreadyThere (listener);
}

void Parameter::removeListener (Listener* listener)
{
    listeners.removeFirstMatchingValue (listener);
}

void Parameter::addAsyncListener (Listener* listener)
{
    if (listener != nullptr)
        asyncListeners.addIfNotAlreadyThere (listener);
}

void Parameter::removeAsyncListener (Listener* listener)
{
    asyncListeners.removeFirstMatchingValue (listener);
}

void Parameter::callSynchronousListeners()
{
    callListeners (listeners, [this] (Listener& l)
                   { l.parameterChanged (this); });
}

void Parameter::triggerUpdate()
{
    callSynchronousListeners();
    triggerAsyncUpdate();
}

void Parameter::beginChangeGesture()
{
    callListeners (listeners, [this] (Listener& l)
                   { l.parameterChangeGestureBegin (this); });
}

void Parameter::endChangeGesture()
{
    callListeners (listeners, [this] (Listener& l)
                   { l.parameterChangeGestureEnd (this); });
}

void Parameter::valueChanged (bool notify)
{
    if (notify)
        triggerUpdate();
}
