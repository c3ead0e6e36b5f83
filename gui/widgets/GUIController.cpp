#include "gui/widgets/GUIController.h"

#include "framework/EventNameMap.h"
#include "framework/ParameterManager.h"
#include "gui/widgets/SkinElement.h"

GUIController::~GUIController()
{
    if (parameter != nullptr)
        parameter->removeAsyncListener (this);
}

void GUIController::parameterChanged (Parameter* changed)
{
    updateFromParameter (changed);
}

void GUIController::setAction (const juce::String&, int, const juce::String&)
{
}

void GUIController::updateFromParameter (Parameter*)
{
}

void GUIController::addListener (Listener* listener)
{
    if (listener != nullptr)
        listeners.addIfNotAlreadyThere (listener);
}

template <typename Callback>
void GUIController::callListeners (Callback&& callback)
{
    // Last added first; a callback may remove entries, so re-check the bound each time.
    for (int i = listeners.size() - 1; i >= 0; i = juce::jmin (i, listeners.size()) - 1)
        callback (*listeners.getUnchecked (i));
}

void GUIController::sendEvent (int uid)
{
    callListeners ([this, uid] (Listener& l)
                   { l.controllerEvent (this, uid); });
}

void GUIController::sendValueChanged()
{
    callListeners ([this] (Listener& l)
                   { l.controllerValueChanged (this); });
}

void GUIController::sendGestureBegin()
{
    if (parameter == nullptr)
        return;

    parameter->beginChangeGesture();
    callListeners ([this] (Listener& l)
                   { l.controllerGestureBegin (this); });
}

void GUIController::sendGestureEnd()
{
    if (parameter == nullptr)
        return;

    parameter->endChangeGesture();
    callListeners ([this] (Listener& l)
                   { l.controllerGestureEnd (this); });
}

void GUIController::linkTo (Parameter* newParameter)
{
    if (parameter != nullptr)
        parameter->removeAsyncListener (this);

    parameter = newParameter;
    parameter->addAsyncListener (this);
}

void GUIController::loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void*)
{
    if (auto* links = SkinElement::getChild (element, "links"))
    {
        for (auto* link : links->getChildIterator())
        {
            if (!SkinElement::hasTag (*link, "link"))
                continue;

            const auto as = SkinElement::getString (*link, "as");
            auto* found = parameters.getParameter (SkinElement::getString (*link, "param"));

            if (found != nullptr && as == "connectedTo")
                linkTo (found);
        }
    }

    if (auto* actions = SkinElement::getChild (element, "actions"))
    {
        for (auto* action : actions->getChildIterator())
        {
            if (!SkinElement::hasTag (*action, "action"))
                continue;

            const auto type = SkinElement::getString (*action, "type");
            const int uid = events.getUid (SkinElement::getString (*action, "event"));

            if (type.isNotEmpty() && uid != -1)
                setAction (type, uid, events.getDisplayName (uid));
        }
    }
}
