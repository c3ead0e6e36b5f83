#pragma once

#include "framework/Parameter.h"
#include "gui/widgets/BlinkingComponent.h"

#include <juce_core/juce_core.h>

class ParameterManager;
class EventNameMap;

/** What every skin widget shares: an optional link to one parameter, named actions
    that fire event uids, and the listeners (the editor) that hear it. Message thread only. */
class GUIController : public Parameter::Listener, public BlinkingComponent
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;

        /** The user starts or stops dragging a control. */
        virtual void controllerGestureBegin (GUIController*) {}
        virtual void controllerGestureEnd (GUIController*) {}

        /** The user changed the control's linked parameter. */
        virtual void controllerValueChanged (GUIController*) = 0;

        /** A button or rocker action fired. */
        virtual void controllerEvent (GUIController*, int uid) = 0;
    };

    GUIController() = default;
    ~GUIController() override;

    void parameterChanged (Parameter* parameter) override;
    void parameterChangeGestureBegin (Parameter*) override {}
    void parameterChangeGestureEnd (Parameter*) override {}

    /** Stores the uid (and tooltip) under the action types the widget knows. */
    virtual void setAction (const juce::String& type, int uid, const juce::String& tooltip);

    /** Shows the parameter's current value. */
    virtual void updateFromParameter (Parameter* parameter);

    /** Null and duplicates are ignored. */
    virtual void addListener (Listener* listener);

    /** Reads links and actions; context is handed to nested widgets unread. */
    virtual void loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context);

    void sendEvent (int uid);
    void sendValueChanged();

    Parameter* getParameter() const noexcept { return parameter; }
    int getNumListeners() const noexcept { return listeners.size(); }

protected:
    /** A drag's start and end reach the parameter's synchronous listeners (the host),
        then the widget's own; an unlinked widget reports nothing. */
    void sendGestureBegin();
    void sendGestureEnd();

private:
    template <typename Callback>
    void callListeners (Callback&& callback);

    void linkTo (Parameter* newParameter);

    juce::Array<Listener*> listeners;
    Parameter* parameter = nullptr;

    JUCE_DECLARE_NON_COPYABLE (GUIController)
};
