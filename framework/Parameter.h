#pragma once

#include "framework/PolledUpdater.h"

#include <juce_events/juce_events.h>

#include <memory>

/** A value that the host, the panel, MIDI learn, presets or the saved state can see.

    Numeric values live in one atomic word, so any thread may read or set them without
    a lock. Setters compare before storing: an unchanged value notifies nobody. A change
    calls the synchronous listeners on the setting thread and coalesces into one
    asynchronous call on the message thread, handed over without posting a message. Listener lists are changed only on the
    message thread, at start-up and shut-down.
*/
class Parameter : public PolledUpdater
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void parameterChanged (Parameter* parameter) = 0;
        virtual void parameterChangeGestureBegin (Parameter*) {}
        virtual void parameterChangeGestureEnd (Parameter*) {}
    };

    Parameter (int uid, const juce::String& name);
    ~Parameter() override;

    void handleAsyncUpdate() override;

    /** A new parameter of the same class, uid, name, auto flag, range and value, with no listeners. */
    virtual std::unique_ptr<Parameter> clone() const = 0;

    virtual float getValue() const = 0;
    virtual float getNormalisedValue() const = 0;
    virtual int getIntValue() const = 0;
    virtual bool getBoolValue() const = 0;
    virtual juce::String getText() const = 0;

    virtual void setValue (float value, bool notify) = 0;
    virtual void setNormalisedValue (float value, bool notify) = 0;
    virtual void setIntValue (int value, bool notify) = 0;
    virtual void setBoolValue (bool value, bool notify) = 0;
    virtual void setText (const juce::String& text, bool notify) = 0;
    virtual void copyValueFrom (const Parameter& other, bool notify) = 0;

    int getUid() const noexcept { return uid; }
    const juce::String& getName() const noexcept { return name; }

    /** May be learned by MIDI learn (the description's "auto" attribute). */
    bool isAuto() const noexcept { return autoFlag; }
    void setAuto (bool shouldBeAuto) noexcept { autoFlag = shouldBeAuto; }

    bool getFirstFlag() const noexcept { return firstFlag; }
    void setFirstFlag (bool value) noexcept { firstFlag = value; }
    bool getSecondFlag() const noexcept { return secondFlag; }
    void setSecondFlag (bool value) noexcept { secondFlag = value; }

    /** Null and duplicates are ignored. */
    void addListener (Listener* listener);
    void removeListener (Listener* listener);
    void addAsyncListener (Listener* listener);
    void removeAsyncListener (Listener* listener);

    int getNumListeners() const noexcept { return listeners.size(); }
    int getNumAsyncListeners() const noexcept { return asyncListeners.size(); }

    /** Calls parameterChanged on every synchronous listener, last added first. */
    void callSynchronousListeners();

    /** Every listener hears the current value: synchronous ones now, asynchronous ones later. */
    void triggerUpdate();

    /** Relays a drag's start or end to the synchronous listeners, last added first. */
    void beginChangeGesture();
    void endChangeGesture();

protected:
    /** The tail of every setter once the new value is stored. */
    void valueChanged (bool notify);

    /** Copies the auto flag; the other flags are deliberately not cloned. */
    void copyAttributesTo (Parameter& target) const noexcept { target.autoFlag = autoFlag; }

private:
    template <typename Callback>
    static void callListeners (juce::Array<Listener*>& list, Callback&& callback);

    const int uid;
    const juce::String name;
    bool firstFlag = false, secondFlag = false, autoFlag = false;

    juce::Array<Listener*> listeners;      // message thread changes them at start-up only
    juce::Array<Listener*> asyncListeners; // called on the message thread only

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Parameter)
};
