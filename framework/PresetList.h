#pragma once

#include "framework/PresetGroupEntry.h"
#include "framework/PresetSlot.h"

#include <juce_core/juce_core.h>

/** The preset slots in list order and the named groups that divide them.

    Slots are created once and only ever moved, so a PresetSlot pointer stays
    valid for the list's whole life; a slot is identified by its position.
    Every move checks its positions first, so the groups always partition the
    slots. The preset lock guards the slot array, the group lock the group
    array; each is held only for one look-up or list operation and the two are
    never held together. */
class PresetList
{
public:
    PresetList (int numSlots, int numValuesPerSlot);

    int getNumPresets() const;
    int getNumValuesPerSlot() const noexcept { return numValues; }

    /** Null when index is out of range. */
    PresetSlot* getSlot (int index) const;

    /** The position of slot, -1 when it is not in the list. */
    int indexOf (const PresetSlot* slot) const;

    juce::String getPresetName (int index) const;
    bool setPresetName (int index, const juce::String& name);

    int getNumGroups() const;
    juce::String getGroupName (int group) const;

    /** Group names, like preset names, are kept without control characters (cleanName). */
    void setGroupName (int group, const juce::String& name);
    int getGroupSize (int group) const;
    int getFirstPresetOfGroup (int group) const;
    int getLastPresetOfGroup (int group) const;
    int getGroupOfPreset (int index) const;
    int getPresetIndex (int group, int position) const;

    /** A new empty "New Group" before an existing group. */
    bool insertGroup (int group);

    /** Removes an empty group; a group that still holds presets stays, since
        removing it would leave its slots in no group. */
    bool removeGroup (int group);

    void appendGroup (const juce::String& name, int count);
    void clearGroups();

    /** Moves one slot; from must lie in fromGroup and to must be a position of
        toGroup once the counts have changed. */
    bool movePreset (int from, int to, int fromGroup, int toGroup);

    /** Moves the selected positions of fromGroup to the end of toGroup,
        keeping their order. */
    bool movePresetsToGroup (int toGroup, int fromGroup, const juce::SparseSet<int>& selection);

    /** Moves a group with its slots: after `to` when moving down, before it
        when moving up. */
    bool moveGroup (int from, int to);

    /** Every slot named "Preset " + its position, holding defaults' values;
        one group "Not used" holding them all. */
    void clear (const PresetSlot& defaults);

    /** Takes other's names, values and groups, slot by position; other must have
        as many slots. The slot objects themselves stay, so pointers held
        elsewhere remain valid. */
    void assignFrom (const PresetList& other);

    /** True when the group counts are non-negative and add up to the slot count. */
    bool groupsPartitionSlots() const;

private:
    int getFirstPresetOfGroupUnlocked (int group) const;

    const int numValues;
    juce::OwnedArray<PresetSlot> slots;
    juce::CriticalSection presetLock;
    juce::OwnedArray<PresetGroupEntry> groups;
    juce::CriticalSection groupLock;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetList)
};
