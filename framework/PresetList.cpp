#include "framework/PresetList.h"
#include "framework/NameText.h"

PresetList::PresetList (int numSlots, int numValuesPerSlot)
    : numValues (numValuesPerSlot)
{
    const juce::ScopedLock lock (presetLock);

    for (int i = 0; i < numSlots; ++i)
        slots.add (new PresetSlot ("Preset", numValues, i));
}

int PresetList::getNumPresets() const
{
    const juce::ScopedLock lock (presetLock);
    return slots.size();
}

PresetSlot* PresetList::getSlot (int index) const
{
    const juce::ScopedLock lock (presetLock);
    return (unsigned) index < (unsigned) slots.size() ? slots.getUnchecked (index) : nullptr;
}

int PresetList::indexOf (const PresetSlot* slot) const
{
    const juce::ScopedLock lock (presetLock);
    return slots.indexOf (slot);
}

juce::String PresetList::getPresetName (int index) const
{
    auto* slot = getSlot (index);
    return slot != nullptr ? slot->getName() : juce::String();
}

bool PresetList::setPresetName (int index, const juce::String& name)
{
    auto* slot = getSlot (index);

    if (slot == nullptr)
        return false;

    slot->setName (name);
    return true;
}

int PresetList::getNumGroups() const
{
    const juce::ScopedLock lock (groupLock);
    return groups.size();
}

juce::String PresetList::getGroupName (int group) const
{
    const juce::ScopedLock lock (groupLock);
    auto* entry = groups[group];
    return entry != nullptr ? entry->name : juce::String();
}

void PresetList::setGroupName (int group, const juce::String& name)
{
    const juce::ScopedLock lock (groupLock);

    if (auto* entry = groups[group])
        entry->name = cleanName (name);
}

int PresetList::getGroupSize (int group) const
{
    const juce::ScopedLock lock (groupLock);
    auto* entry = groups[group];
    return entry != nullptr ? entry->count : 0;
}

int PresetList::getFirstPresetOfGroupUnlocked (int group) const
{
    if ((unsigned) group >= (unsigned) groups.size())
        return -1;

    int first = 0;

    for (int g = 0; g < group; ++g)
        first += groups.getUnchecked (g)->count;

    return first;
}

int PresetList::getFirstPresetOfGroup (int group) const
{
    const juce::ScopedLock lock (groupLock);
    return getFirstPresetOfGroupUnlocked (group);
}

int PresetList::getLastPresetOfGroup (int group) const
{
    const juce::ScopedLock lock (groupLock);
    const int first = getFirstPresetOfGroupUnlocked (group);
    return first < 0 ? -1 : first + groups.getUnchecked (group)->count - 1;
}

int PresetList::getGroupOfPreset (int index) const
{
    const juce::ScopedLock lock (groupLock);
    int first = 0;

    for (int g = 0; g < groups.size(); ++g)
    {
        const int count = groups.getUnchecked (g)->count;

        if (index >= first && index < first + count)
            return g;

        first += count;
    }

    return -1;
}

int PresetList::getPresetIndex (int group, int position) const
{
    int first, count;

    {
        const juce::ScopedLock lock (groupLock);
        first = getFirstPresetOfGroupUnlocked (group);

        if (first < 0)
            return -1;

        count = groups.getUnchecked (group)->count;
    }

    if (position < 0 || position >= count || first + position >= getNumPresets())
        return -1;

    return first + position;
}

bool PresetList::insertGroup (int group)
{
    const juce::ScopedLock lock (groupLock);

    if ((unsigned) group >= (unsigned) groups.size())
        return false;

    groups.insert (group, new PresetGroupEntry ("New Group", 0));
    return true;
}

bool PresetList::removeGroup (int group)
{
    const juce::ScopedLock lock (groupLock);

    if ((unsigned) group >= (unsigned) groups.size() || groups.getUnchecked (group)->count != 0)
        return false;

    groups.remove (group);
    return true;
}

void PresetList::appendGroup (const juce::String& name, int count)
{
    const juce::ScopedLock lock (groupLock);
    groups.add (new PresetGroupEntry (cleanName (name), count));
}

void PresetList::clearGroups()
{
    const juce::ScopedLock lock (groupLock);
    groups.clear();
}

bool PresetList::movePreset (int from, int to, int fromGroup, int toGroup)
{
    const int numSlots = getNumPresets();

    if ((unsigned) from >= (unsigned) numSlots || (unsigned) to >= (unsigned) numSlots || from == to)
        return false;

    {
        const juce::ScopedLock lock (groupLock);
        const int numGroups = groups.size();

        if ((unsigned) fromGroup >= (unsigned) numGroups || (unsigned) toGroup >= (unsigned) numGroups)
            return false;

        const int fromFirst = getFirstPresetOfGroupUnlocked (fromGroup);

        if (from < fromFirst || from >= fromFirst + groups.getUnchecked (fromGroup)->count)
            return false;

        // Where toGroup lies once the slot has left fromGroup and joined it.
        int toFirst = getFirstPresetOfGroupUnlocked (toGroup);
        int toCount = groups.getUnchecked (toGroup)->count;

        if (fromGroup != toGroup)
        {
            toFirst -= fromGroup < toGroup ? 1 : 0;
            ++toCount;
        }

        if (to < toFirst || to >= toFirst + toCount)
            return false;

        if (fromGroup != toGroup)
        {
            --groups.getUnchecked (fromGroup)->count;
            ++groups.getUnchecked (toGroup)->count;
        }
    }

    const juce::ScopedLock lock (presetLock);
    slots.move (from, to);
    return true;
}

bool PresetList::movePresetsToGroup (int toGroup, int fromGroup, const juce::SparseSet<int>& selection)
{
    if (selection.isEmpty() || fromGroup == toGroup)
        return false;

    int end, base;
    const int n = selection.size();

    {
        const juce::ScopedLock lock (groupLock);
        const int numGroups = groups.size();

        if ((unsigned) fromGroup >= (unsigned) numGroups || (unsigned) toGroup >= (unsigned) numGroups)
            return false;

        const int fromCount = groups.getUnchecked (fromGroup)->count;

        if (selection[0] < 0 || selection[n - 1] >= fromCount)
            return false;

        end = getFirstPresetOfGroupUnlocked (toGroup) + groups.getUnchecked (toGroup)->count;
        base = getFirstPresetOfGroupUnlocked (fromGroup);
    }

    {
        const juce::ScopedLock lock (presetLock);

        if (fromGroup < toGroup)
        {
            // Last first, so the positions still to move do not shift.
            for (int i = n; --i >= 0;)
                slots.move (base + selection[i], --end);
        }
        else
        {
            for (int i = 0; i < n; ++i)
                slots.move (base + selection[i], end++);
        }
    }

    const juce::ScopedLock lock (groupLock);
    groups.getUnchecked (fromGroup)->count -= n;
    groups.getUnchecked (toGroup)->count += n;
    return true;
}

bool PresetList::moveGroup (int from, int to)
{
    int first, size, target;

    {
        const juce::ScopedLock lock (groupLock);
        const int numGroups = groups.size();

        if ((unsigned) from >= (unsigned) numGroups || (unsigned) to >= (unsigned) numGroups || from == to)
            return false;

        first = getFirstPresetOfGroupUnlocked (from);
        size = groups.getUnchecked (from)->count;
        target = getFirstPresetOfGroupUnlocked (to);

        if (from < to)
            target += groups.getUnchecked (to)->count - size;
    }

    {
        const juce::ScopedLock lock (presetLock);
        juce::Array<PresetSlot*> taken;

        for (int i = 0; i < size; ++i)
            taken.add (slots.removeAndReturn (first));

        for (int i = 0; i < size; ++i)
            slots.insert (target + i, taken.getUnchecked (i));
    }

    const juce::ScopedLock lock (groupLock);
    groups.move (from, to);
    return true;
}

void PresetList::clear (const PresetSlot& defaults)
{
    const int numSlots = getNumPresets();

    for (int i = 0; i < numSlots; ++i)
    {
        if (auto* slot = getSlot (i))
        {
            slot->setName ("Preset " + juce::String (i));
            slot->copyValuesFrom (defaults);
        }
    }

    const juce::ScopedLock lock (groupLock);
    groups.clear();
    groups.add (new PresetGroupEntry ("Not used", numSlots));
}

void PresetList::assignFrom (const PresetList& other)
{
    if (&other == this)
        return;

    const int numSlots = getNumPresets();
    jassert (other.getNumPresets() == numSlots);

    for (int i = 0; i < numSlots; ++i)
        if (auto* source = other.getSlot (i))
            if (auto* slot = getSlot (i))
                slot->copyFrom (*source);

    juce::OwnedArray<PresetGroupEntry> copied;

    for (int g = 0; g < other.getNumGroups(); ++g)
        copied.add (new PresetGroupEntry (other.getGroupName (g), other.getGroupSize (g)));

    const juce::ScopedLock lock (groupLock);
    groups.swapWith (copied);
}

bool PresetList::groupsPartitionSlots() const
{
    const int numSlots = getNumPresets();
    const juce::ScopedLock lock (groupLock);
    int total = 0;

    for (auto* g : groups)
    {
        if (g->count < 0)
            return false;

        total += g->count;
    }

    return total == numSlots;
}
