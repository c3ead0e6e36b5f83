#include "gui/widgets/ParameterModulationMatrix.h"

#include <algorithm>
#include <cmath>

namespace
{
bool isIndexed (const ParameterModulationMatrix::ModulationRow& row) noexcept
{
    return row.target >= 0 && row.source >= 0 && row.source < ParameterModulationMatrix::numSources;
}

template <typename Value>
void addIfNotAlreadyThere (std::vector<Value>& items, Value value)
{
    if (std::find (items.begin(), items.end(), value) == items.end())
        items.push_back (value);
}
} // namespace

ParameterModulationMatrix::ParameterModulationMatrix()
{
    for (auto& value : keyValues)
        value.store (0.0f);
}

ParameterModulationMatrix::~ParameterModulationMatrix() = default;

void ParameterModulationMatrix::addListener (Listener* listener)
{
    if (listener != nullptr)
        listeners.add (listener);
}

void ParameterModulationMatrix::removeListener (Listener* listener)
{
    listeners.remove (listener);
}

void ParameterModulationMatrix::sendMatrixChanged()
{
    listeners.call ([this] (Listener& l)
                    { l.matrixChanged (this); });
}

void ParameterModulationMatrix::addRow (const ModulationRow& row)
{
    auto record = std::make_unique<Record>();
    record->source = row.source;
    record->target = row.target;
    record->amount = row.amount;

    {
        const juce::ScopedLock sl (rowsLock);
        rows.push_back (std::move (record));
    }

    rebuildIndex();
    listeners.call ([this] (Listener& l)
                    { l.rowAdded (this); });
}

void ParameterModulationMatrix::removeRow (int index)
{
    std::unique_ptr<Record> removed;

    {
        const juce::ScopedLock sl (rowsLock);

        if (index < 0 || index >= (int) rows.size())
            return;

        removed = std::move (rows[(size_t) index]);
        rows.erase (rows.begin() + index);

        if (rows.size() < rows.capacity() / 2)
            rows.shrink_to_fit();
    }

    // Freed only once the index no longer leads readers to it.
    rebuildIndex();
    removed.reset();
    listeners.call ([this] (Listener& l)
                    { l.rowRemoved (this); });
}

void ParameterModulationMatrix::setRow (int index, const ModulationRow& row)
{
    bool moved = false;

    {
        const juce::ScopedLock sl (rowsLock);

        if (index < 0 || index >= (int) rows.size())
            return;

        auto& record = *rows[(size_t) index];

        if (record.get() == row)
            return;

        moved = record.source != row.source || record.target != row.target;
        record.source = row.source;
        record.target = row.target;
        record.amount = row.amount;
    }

    if (moved)
        rebuildIndex();

    listeners.call ([this] (Listener& l)
                    { l.rowChanged (this); });
}

void ParameterModulationMatrix::moveRow (int from, int to)
{
    const juce::ScopedLock sl (rowsLock);
    const int size = (int) rows.size();

    if (from < 0 || from >= size || to < 0 || to >= size || from == to)
        return;

    auto record = std::move (rows[(size_t) from]);
    rows.erase (rows.begin() + from);
    rows.insert (rows.begin() + to, std::move (record));
}

int ParameterModulationMatrix::getNumRows() const
{
    const juce::ScopedLock sl (rowsLock);
    return (int) rows.size();
}

ParameterModulationMatrix::ModulationRow ParameterModulationMatrix::getRow (int index) const
{
    const juce::ScopedLock sl (rowsLock);

    if (index < 0 || index >= (int) rows.size())
        return {};

    return rows[(size_t) index]->get();
}

void ParameterModulationMatrix::rebuildIndex()
{
    std::array<std::vector<const Record*>, numSources> newRowsOfSource;
    std::array<std::vector<int>, numSources> newTargetsOfSource;

    struct NewIndex
    {
        std::vector<int> targets;
        std::unordered_map<int, std::unique_ptr<LockedArray<const Record*>>> rowsByTarget;
    } newPair, newOther;

    {
        const juce::ScopedLock sl (rowsLock);

        for (auto& record : rows)
        {
            const auto row = record->get();

            if (!isIndexed (row))
                continue;

            newRowsOfSource[(size_t) row.source].push_back (record.get());
            addIfNotAlreadyThere (newTargetsOfSource[(size_t) row.source], row.target);

            auto& group = getGroupOf (row.source) == SourceGroup::sourcesThreeAndFour ? newPair : newOther;
            addIfNotAlreadyThere (group.targets, row.target);
            auto& list = group.rowsByTarget[row.target];

            if (list == nullptr)
                list = std::make_unique<LockedArray<const Record*>>();

            list->items.push_back (record.get());
        }
    }

    // Swapped in under each lock; the old contents are freed after the locks are left.
    for (size_t s = 0; s < (size_t) numSources; ++s)
    {
        {
            const juce::ScopedLock sl (rowsOfSource[s].lock);
            std::swap (rowsOfSource[s].items, newRowsOfSource[s]);
        }
        {
            const juce::ScopedLock sl (targetsOfSource[s].lock);
            std::swap (targetsOfSource[s].items, newTargetsOfSource[s]);
        }
    }

    auto swapIn = [] (TargetIndex& index, NewIndex& fresh)
    {
        {
            const juce::ScopedLock sl (index.targets.lock);
            std::swap (index.targets.items, fresh.targets);
        }
        {
            const juce::ScopedLock sl (index.mapLock);
            std::swap (index.rowsByTarget, fresh.rowsByTarget);
        }
    };

    swapIn (pairIndex, newPair);
    swapIn (otherIndex, newOther);
}

int ParameterModulationMatrix::getNumRowsOfSource (int source) const
{
    if (source < 0 || source >= numSources)
        return 0;

    auto& list = rowsOfSource[(size_t) source];
    const juce::ScopedLock sl (list.lock);
    return (int) list.items.size();
}

ParameterModulationMatrix::ModulationRow ParameterModulationMatrix::getRowOfSource (int source, int index) const
{
    if (source < 0 || source >= numSources)
        return {};

    auto& list = rowsOfSource[(size_t) source];
    const juce::ScopedLock sl (list.lock);

    if (index < 0 || index >= (int) list.items.size())
        return {};

    return list.items[(size_t) index]->get();
}

int ParameterModulationMatrix::getNumTargetsOfSource (int source) const
{
    if (source < 0 || source >= numSources)
        return 0;

    auto& list = targetsOfSource[(size_t) source];
    const juce::ScopedLock sl (list.lock);
    return (int) list.items.size();
}

int ParameterModulationMatrix::getTargetOfSource (int source, int index) const
{
    if (source < 0 || source >= numSources)
        return -1;

    auto& list = targetsOfSource[(size_t) source];
    const juce::ScopedLock sl (list.lock);

    if (index < 0 || index >= (int) list.items.size())
        return -1;

    return list.items[(size_t) index];
}

ParameterModulationMatrix::SourceGroup ParameterModulationMatrix::getGroupOf (int source) noexcept
{
    return source == 3 || source == 4 ? SourceGroup::sourcesThreeAndFour : SourceGroup::otherSources;
}

ParameterModulationMatrix::TargetIndex& ParameterModulationMatrix::indexOf (SourceGroup group) noexcept
{
    return group == SourceGroup::sourcesThreeAndFour ? pairIndex : otherIndex;
}

const ParameterModulationMatrix::TargetIndex& ParameterModulationMatrix::indexOf (SourceGroup group) const noexcept
{
    return group == SourceGroup::sourcesThreeAndFour ? pairIndex : otherIndex;
}

int ParameterModulationMatrix::getNumTargetsOfGroup (SourceGroup group) const
{
    auto& list = indexOf (group).targets;
    const juce::ScopedLock sl (list.lock);
    return (int) list.items.size();
}

int ParameterModulationMatrix::getTargetOfGroup (SourceGroup group, int index) const
{
    auto& list = indexOf (group).targets;
    const juce::ScopedLock sl (list.lock);

    if (index < 0 || index >= (int) list.items.size())
        return -1;

    return list.items[(size_t) index];
}

int ParameterModulationMatrix::getNumRowsOfTarget (SourceGroup group, int target) const
{
    auto& index = indexOf (group);
    const juce::ScopedLock sl (index.mapLock);
    auto found = index.rowsByTarget.find (target);

    if (found == index.rowsByTarget.end())
        return 0;

    const juce::ScopedLock listLock (found->second->lock);
    return (int) found->second->items.size();
}

ParameterModulationMatrix::ModulationRow ParameterModulationMatrix::getRowOfTarget (SourceGroup group, int target, int rowIndex) const
{
    auto& index = indexOf (group);
    const juce::ScopedLock sl (index.mapLock);
    auto found = index.rowsByTarget.find (target);

    if (found == index.rowsByTarget.end())
        return {};

    auto& list = *found->second;
    const juce::ScopedLock listLock (list.lock);

    if (rowIndex < 0 || rowIndex >= (int) list.items.size())
        return {};

    return list.items[(size_t) rowIndex]->get();
}

void ParameterModulationMatrix::setKeyValue (int note, float value)
{
    if (note < 0 || note >= numKeys)
        return;

    keyValues[(size_t) note] = std::isnan (value) ? 0.0f : juce::jlimit (0.0f, 1.0f, value);
    listeners.call ([this, note] (Listener& l)
                    { l.keyValueChanged (this, note); });
}

float ParameterModulationMatrix::getKeyValue (int note) const noexcept
{
    if (note < 0 || note >= numKeys)
        return 0.0f;

    return keyValues[(size_t) note].load();
}
