#pragma once

#include <juce_core/juce_core.h>

#include <atomic>
#include <memory>

/** One preset: a name and the normalised values of the presetable parameters,
    indexed by parameter uid.

    Values are atomics because automatic storing writes the current slot from
    whichever thread sets a parameter (host automation may arrive on the audio
    thread) while the message thread reads or rewrites the same slot. The name
    is only touched off the audio thread and is guarded by a spin lock, so a
    reader never sees it half rewritten. */
class PresetSlot
{
public:
    PresetSlot (const juce::String& name, int numValues, int index);

    juce::String getName() const;

    /** Kept without control characters (cleanName), whatever brought it. */
    void setName (const juce::String& newName);

    int getNumValues() const noexcept { return numValues; }
    int getIndex() const noexcept { return index; }

    /** 0 for a uid outside the slot's values. */
    float getValue (int uid) const noexcept;

    /** Ignored for a uid outside the slot's values. Lock-free. */
    void setValue (int uid, float value) noexcept;

    /** Name and every value of other, position by position. */
    void copyFrom (const PresetSlot& other);

    /** Values only, for each position this slot holds (0 where other has none). */
    void copyValuesFrom (const PresetSlot& other) noexcept;

    /** The text a value is stored as in preset documents: the value times 1000000
        in single precision, rounded half to even, scaled back in double precision
        and written with at most six decimals and no trailing zeros ("0.776", "1"). */
    static juce::String formatValue (float value);

private:
    mutable juce::SpinLock nameLock;
    juce::String name; // guarded by nameLock
    const int numValues;
    const int index;
    std::unique_ptr<std::atomic<float>[]> values; // any thread, lock-free

    JUCE_DECLARE_NON_COPYABLE (PresetSlot)
};
