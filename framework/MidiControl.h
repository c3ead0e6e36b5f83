#pragma once

#include "framework/Parameter.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <atomic>
#include <memory>

class ParameterManager;

/** Maps MIDI continuous controllers to parameters: each controller number drives at
    most one parameter and each parameter is driven by at most one controller.

    Learning pairs a touched control with a moved controller, in either order. The map
    is shared by the audio thread (controller messages) and the message thread (learning,
    pages, loading); changes happen under the lock, while the audio thread reads the
    slots and the learn mode through atomics so that it never waits for the message thread.
*/
class MidiControl : public PolledUpdater
{
public:
    static constexpr int numControllers = 128;

    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void midiMapChanged (MidiControl&) {}
        virtual void midiLearnStateChanged (MidiControl&) {}
        virtual void midiControllerMoved (MidiControl&) {}
    };

    explicit MidiControl (ParameterManager& parameterStore);
    ~MidiControl() override;

    void handleAsyncUpdate() override;

    /** Null and duplicates are ignored; listeners are called last added first. */
    void addListener (Listener* listener);
    void removeListener (Listener* listener);

    /** Re-entrant, so learning may assign under it; held briefly by every change. */
    juce::CriticalSection& getLock() noexcept { return lock; }

    /** Clears both halves of a pair being learned and tells the listeners at once. */
    void setLearnMode (bool shouldLearn);
    bool isLearnMode() const noexcept { return learnMode.load(); }

    /** The halves of the pair being learned: null and -1 when not chosen. */
    Parameter* getLearnParameter() const;
    int getLearnController() const;

    void learnParameter (Parameter* parameter);
    void learnController (int controllerNumber);

    /** Puts the parameter on the controller, freeing its previous controller; null frees
        the controller. Controller numbers outside 0..127 are ignored. */
    void assign (int controllerNumber, Parameter* parameter, bool notify);
    void unassign (int controllerNumber);

    /** Frees every controller and notifies once. */
    void clearAll();

    /** The controller that drives the parameter, -1 when none. */
    int indexOf (const Parameter* parameter) const;

    /** The parameter on the controller, null when free or out of range. */
    Parameter* getParameterAt (int controllerNumber) const noexcept;
    int getNumAssigned() const;

    /** The parameter that the last controller message set. */
    Parameter* getLastMovedParameter() const noexcept { return lastMovedParameter.load(); }

    /** Audio thread: controller messages of any channel move their parameters. */
    void handleMidiMessage (const juce::MidiMessage& message);

    virtual bool isMapXml (const juce::XmlElement& element) const;
    virtual bool isCompatibleMapXml (const juce::XmlElement& element) const;

    /** Replaces the map with the document's assignments and switches learning off. A
        document that fails its check changes nothing and returns false. */
    virtual bool loadMapXml (const juce::XmlElement& element);

    std::unique_ptr<juce::XmlElement> createMapXml() const;

    bool loadMapFile (const juce::File& file);
    bool saveMapFile (const juce::File& file) const;

    void setName (const juce::String& newName);
    juce::String getName() const;

    /** The settings' choice of a user map file loaded at start-up. */
    void setUseUserMap (bool shouldUse);
    bool getUseUserMap() const;
    void setUserMapFile (const juce::File& file);
    juce::File getUserMapFile() const;

private:
    enum Notification
    {
        mapChanged,
        learnStateChanged,
        controllerMoved,
        numNotifications
    };

    void raise (Notification notification);
    void completePair();
    void setSlot (int controllerNumber, Parameter* parameter);
    void updateAssignedCount();

    static bool isController (int controllerNumber) noexcept { return controllerNumber >= 0 && controllerNumber < numControllers; }

    ParameterManager& parameters;
    juce::Array<Listener*> listeners; // message thread only

    // Written under the lock; the audio thread reads them without it.
    std::atomic<Parameter*> slots[numControllers];
    std::atomic<bool> learnMode { false };

    Parameter* learningParameter = nullptr; // under the lock
    int learningController = -1;            // under the lock
    juce::String name;                      // under the lock
    int assignedCount = 0;                  // under the lock
    bool useUserMap = false;                // under the lock
    juce::File userMapFile;                 // under the lock

    std::atomic<bool> pending[numNotifications]; // raised on any thread, cleared on the message thread
    std::atomic<Parameter*> lastMovedParameter { nullptr };

    juce::CriticalSection lock;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiControl)
};
