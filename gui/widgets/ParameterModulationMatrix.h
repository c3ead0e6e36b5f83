#pragma once

#include <juce_core/juce_core.h>

#include <array>
#include <atomic>
#include <memory>
#include <unordered_map>
#include <vector>

/** A routing of modulation sources (0 to 8) to target parameter uids with an amount of
    -1..+1 each, indexed by source and by target, plus one value (0..1) per MIDI note.

    Every array has its own lock, taken for each single access, so the audio thread can
    read while the message thread edits; readers get copies of rows, never pointers. The
    index is rebuilt on the editing thread and swapped in; listeners are called on the
    editing thread, outside the locks. */
class ParameterModulationMatrix
{
public:
    struct ModulationRow
    {
        int source = -1;
        int target = -1; // a parameter uid; negative means none
        float amount = 0.0f;

        bool operator== (const ModulationRow& other) const noexcept
        {
            return source == other.source && target == other.target && amount == other.amount;
        }
    };

    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void rowAdded (ParameterModulationMatrix*) {}
        virtual void rowRemoved (ParameterModulationMatrix*) {}
        virtual void rowChanged (ParameterModulationMatrix*) {}
        virtual void keyValueChanged (ParameterModulationMatrix*, int note) { juce::ignoreUnused (note); }

        /** The whole content was replaced. */
        virtual void matrixChanged (ParameterModulationMatrix*) {}
    };

    /** Sources 3 and 4 share one index by target; all other sources share another. */
    enum class SourceGroup
    {
        sourcesThreeAndFour,
        otherSources
    };

    static constexpr int numSources = 9;
    static constexpr int numKeys = 128;

    ParameterModulationMatrix();
    ~ParameterModulationMatrix();

    void addRow (const ModulationRow& row);
    void removeRow (int index);
    void setRow (int index, const ModulationRow& row);

    /** Reorders the rows only: the index and the listeners are left alone. */
    void moveRow (int from, int to);

    int getNumRows() const;
    ModulationRow getRow (int index) const;

    int getNumRowsOfSource (int source) const;
    ModulationRow getRowOfSource (int source, int index) const;
    int getNumTargetsOfSource (int source) const;
    int getTargetOfSource (int source, int index) const;

    static SourceGroup getGroupOf (int source) noexcept;
    int getNumTargetsOfGroup (SourceGroup group) const;
    int getTargetOfGroup (SourceGroup group, int index) const;
    int getNumRowsOfTarget (SourceGroup group, int target) const;
    ModulationRow getRowOfTarget (SourceGroup group, int target, int index) const;

    void setKeyValue (int note, float value);
    float getKeyValue (int note) const noexcept;

    void addListener (Listener* listener);
    void removeListener (Listener* listener);

    /** Tells the listeners that the whole content was replaced. */
    void sendMatrixChanged();

private:
    /** A row's stored values; the index points at these, so an amount change needs no rebuild. */
    struct Record
    {
        std::atomic<int> source{-1}, target{-1};
        std::atomic<float> amount{0.0f};

        ModulationRow get() const noexcept { return {source.load(), target.load(), amount.load()}; }
    };

    template <typename Value>
    struct LockedArray
    {
        juce::CriticalSection lock;
        std::vector<Value> items;
    };

    struct TargetIndex
    {
        LockedArray<int> targets;
        juce::CriticalSection mapLock;
        std::unordered_map<int, std::unique_ptr<LockedArray<const Record*>>> rowsByTarget; // under mapLock
    };

    void rebuildIndex();
    TargetIndex& indexOf (SourceGroup group) noexcept;
    const TargetIndex& indexOf (SourceGroup group) const noexcept;

    juce::CriticalSection rowsLock;
    std::vector<std::unique_ptr<Record>> rows; // under rowsLock

    std::array<LockedArray<const Record*>, numSources> rowsOfSource;
    std::array<LockedArray<int>, numSources> targetsOfSource;
    TargetIndex pairIndex, otherIndex;

    std::array<std::atomic<float>, numKeys> keyValues;

    juce::ListenerList<Listener> listeners; // the editing thread; last added hears first

    JUCE_DECLARE_NON_COPYABLE (ParameterModulationMatrix)
};
