#pragma once

#include "framework/PolledUpdater.h"

#include <juce_events/juce_events.h>

#include <atomic>

/** A sample-accurate step clock. Each step has a gate part and an off part, and an
    event happens at every change of part; processSample() is called once per output
    sample on the audio thread.

    Listeners hear of starts, stops and events later on the message thread: the audio
    thread only sets the pending flags and triggers one polled update. */
class Clock : private PolledUpdater
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;

        virtual void clockStateChanged (Clock& clock) = 0;
        virtual void clockTick (Clock& clock) = 0;
    };

    explicit Clock (const juce::String& name = {});
    ~Clock() override;

    /** Setters flag a recomputation of the next event when the value changes. A tempo,
        rate or step count that is not a positive finite number is ignored. A position that
        jumps by more than 0.005 step (a host's locate or loop) also takes the phase that a
        clock running through the new position would be in. */
    void setPosition (double beats);
    void setSampleRate (double rate);
    void setTempo (double bpm);
    void setStepsPerBeat (double steps);
    void setGate (double fraction);

    double getPosition() const noexcept { return position; }
    double getSampleRate() const noexcept { return sampleRate; }
    double getTempo() const noexcept { return tempo; }
    double getStepsPerBeat() const noexcept { return stepsPerBeat; }
    double getGate() const noexcept { return gate; }
    const juce::String& getName() const noexcept { return name; }

    void start();
    void stop();

    /** Running again from position 0 even when it was running, with one state
        notification. */
    void restart();

    /** Flags the next event for recomputation from the current position. */
    void markDirty() noexcept { dirty = true; }

    bool isRunning() const noexcept { return running; }
    int getPhase() const noexcept { return phase; }

    /** True when an event happened in the last processed sample. */
    bool hasTicked() const noexcept { return tick; }

    /** True when the last event left the "not started" phase. */
    bool hasRestarted() const noexcept { return restarted; }

    /** Advances one sample; true when an event happened in it. */
    bool processSample();

    virtual bool isInFirstPart() const noexcept;
    virtual bool isInSecondPart() const noexcept;

    /** True when the position is nearer the start of its step than the next step's
        start; a position exactly on a step start belongs to that step. */
    virtual bool isNearerStepStart() const noexcept;

    /** Message thread. Null and duplicates are ignored. */
    void addListener (Listener* listener);
    void removeListener (Listener* listener);

protected:
    /** Computes the phase of the next event and the samples until it. */
    virtual void computeNextEvent();

    /** The phase of the last event before the position, as if the clock had run there; a
        position on an event's moment (within rounding) is put on it, with the phase before it,
        so that the event comes at once. */
    virtual void takePhaseFromPosition() noexcept;

    /** Within this many beats of an event's moment a jumped-to position counts as on it. */
    static constexpr double onEventTolerance = 1.0e-9;

    /** Moves the position onto the moment when it lies within the tolerance of it. */
    bool snapTo (double moment) noexcept;

    static int samplesUntil (double beats, double samplesPerBeat) noexcept;

    double position = 0.0;
    double sampleRate = 44100.0;
    double tempo = 0.0;
    double stepsPerBeat = 4.0;
    double gate = 0.5;
    double beatsPerSample = 0.0;
    double samplesPerBeat = 0.0;
    int counter = 0;
    int phase = -1;
    int nextPhase = 0;
    bool running = false;
    bool dirty = true;
    bool restarted = false;
    bool tick = false;
    bool jumped = false; // the position moved by more than a rounding of the host's

private:
    void handleAsyncUpdate() override;
    void notifyStateChanged();

    juce::String name;

    // Set on the audio thread, taken with exchange on the message thread.
    std::atomic<int> stateChangedPending{0};
    std::atomic<int> tickPending{0};

    // Changed on the message thread only, while the audio thread never reads it.
    juce::Array<Listener*> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Clock)
};
