#include "editor/OldStylePresetsBrowser.h"

#include "editor/OldStylePresetBrowserWindow.h"
#include "framework/BasePluginOldStyle.h"
#include "gui/ToolkitImages.h"

namespace
{
/** The one selected row of a list column, -1 unless exactly one is selected. */
int singleSelectedRow (ColumnBrowser::Column* column)
{
    auto* list = dynamic_cast<ColumnBrowser::ListColumn*> (column);

    if (list == nullptr || list->getList().getNumSelectedRows() != 1)
        return -1;

    return list->getList().getSelectedRow();
}
} // namespace

//==============================================================================
OldStylePresetsBrowser::CommonColumn::CommonColumn (OldStylePresetsBrowser& b, BasePluginOldStyle& p)
    : ListColumn (b)
    , presetsBrowser (b)
    , plugin (p)
{
    rowImages[0] = ToolkitImages::presetRowIcon (false);
    rowImages[1] = ToolkitImages::presetRowIcon (true);
}

juce::Image OldStylePresetsBrowser::CommonColumn::getItemImage (int, bool selected)
{
    return rowImages[selected ? 1 : 0];
}

//==============================================================================
OldStylePresetsBrowser::GroupListColumn::GroupListColumn (OldStylePresetsBrowser& b, BasePluginOldStyle& p)
    : CommonColumn (b, p)
{
}

int OldStylePresetsBrowser::GroupListColumn::getNumItems()
{
    return plugin.getNumGroups();
}

juce::String OldStylePresetsBrowser::GroupListColumn::getItemName (int index)
{
    return plugin.getGroupName (index);
}

bool OldStylePresetsBrowser::GroupListColumn::hasChildItems (int index)
{
    return plugin.getGroupSize (index) > 0;
}

ColumnBrowser::Column* OldStylePresetsBrowser::GroupListColumn::createChildColumn (int index)
{
    return new PresetListColumn (presetsBrowser, plugin, index);
}

void OldStylePresetsBrowser::GroupListColumn::itemSelected (int index)
{
    presetsBrowser.selectCurrentPresetInColumn (index);
    presetsBrowser.browserUpdated();
}

void OldStylePresetsBrowser::GroupListColumn::backgroundClicked()
{
    presetsBrowser.browserUpdated();
}

void OldStylePresetsBrowser::GroupListColumn::renameItem (int index, const juce::String& newName)
{
    if (juce::isPositiveAndBelow (index, plugin.getNumGroups()))
        plugin.setGroupName (index, newName);
}

bool OldStylePresetsBrowser::GroupListColumn::acceptsDropOnto (Column* source, int)
{
    return dynamic_cast<PresetListColumn*> (source) != nullptr;
}

bool OldStylePresetsBrowser::GroupListColumn::acceptsDropBefore (Column* source, int)
{
    return dynamic_cast<GroupListColumn*> (source) != nullptr;
}

bool OldStylePresetsBrowser::GroupListColumn::acceptsDropAfter (Column* source, int index)
{
    return acceptsDropBefore (source, index);
}

void OldStylePresetsBrowser::GroupListColumn::itemDroppedOnto (Column* source, int index)
{
    int fromGroup = -1;
    juce::SparseSet<int> rows;

    if (!juce::isPositiveAndBelow (index, plugin.getNumGroups()) || !getPresetSelection (source, plugin, fromGroup, rows))
        return;

    plugin.movePresetsToGroup (index, fromGroup, rows);
    presetsBrowser.refresh();
    presetsBrowser.selectCurrentPresetInColumn (presetsBrowser.getSelectedGroup());
}

void OldStylePresetsBrowser::GroupListColumn::itemDroppedBefore (Column* source, int index)
{
    moveGroupTo (source, index, false);
}

void OldStylePresetsBrowser::GroupListColumn::itemDroppedAfter (Column* source, int index)
{
    moveGroupTo (source, index, true);
}

void OldStylePresetsBrowser::GroupListColumn::moveGroupTo (Column* source, int index, bool after)
{
    const int from = singleSelectedRow (source);
    const int numGroups = plugin.getNumGroups();

    if (source != this || !juce::isPositiveAndBelow (from, numGroups) || !juce::isPositiveAndBelow (index, numGroups))
        return;

    int to = index;

    if (!after && index > from)
        --to;
    else if (after && index < from)
        ++to;

    plugin.moveGroup (from, to);
    presetsBrowser.refresh();
    selectItem (to);
}

//==============================================================================
OldStylePresetsBrowser::PresetListColumn::PresetListColumn (OldStylePresetsBrowser& b, BasePluginOldStyle& p, int g)
    : CommonColumn (b, p)
    , group (g)
{
    // Several presets can move to another group at once.
    getList().setMultipleSelectionEnabled (true);
}

bool OldStylePresetsBrowser::PresetListColumn::isChildOf (Column* column)
{
    auto* groups = dynamic_cast<GroupListColumn*> (column);
    return groups != nullptr && &groups->getBrowser() == &getBrowser();
}

ColumnBrowser::Column* OldStylePresetsBrowser::PresetListColumn::createParentColumn()
{
    return new GroupListColumn (presetsBrowser, plugin);
}

int OldStylePresetsBrowser::PresetListColumn::getNumItems()
{
    return juce::isPositiveAndBelow (group, plugin.getNumGroups()) ? plugin.getGroupSize (group) : 0;
}

juce::String OldStylePresetsBrowser::PresetListColumn::getItemName (int index)
{
    return plugin.getPresetNameInGroup (group, index);
}

void OldStylePresetsBrowser::PresetListColumn::itemSelected (int index)
{
    const int preset = plugin.getPresetIndex (group, index);

    if (preset >= 0 && preset != plugin.getCurrentPreset())
        plugin.changePreset (preset);

    presetsBrowser.browserUpdated();
}

void OldStylePresetsBrowser::PresetListColumn::renameItem (int index, const juce::String& newName)
{
    const int preset = plugin.getPresetIndex (group, index);

    if (preset >= 0)
        plugin.setPresetName (preset, newName);
}

bool OldStylePresetsBrowser::PresetListColumn::acceptsDropOnColumn (Column* source)
{
    return dynamic_cast<PresetListColumn*> (source) != nullptr;
}

bool OldStylePresetsBrowser::PresetListColumn::acceptsDropBefore (Column* source, int)
{
    return dynamic_cast<PresetListColumn*> (source) != nullptr && singleSelectedRow (source) >= 0;
}

bool OldStylePresetsBrowser::PresetListColumn::acceptsDropAfter (Column* source, int index)
{
    return acceptsDropBefore (source, index);
}

void OldStylePresetsBrowser::PresetListColumn::itemDroppedOnColumn (Column* source)
{
    int fromGroup = -1;
    juce::SparseSet<int> rows;

    if (!juce::isPositiveAndBelow (group, plugin.getNumGroups()) || !getPresetSelection (source, plugin, fromGroup, rows))
        return;

    plugin.movePresetsToGroup (group, fromGroup, rows);
    presetsBrowser.refresh();
    presetsBrowser.selectCurrentPresetInColumn (group);
}

void OldStylePresetsBrowser::PresetListColumn::itemDroppedBefore (Column* source, int index)
{
    movePresetTo (source, index, false);
}

void OldStylePresetsBrowser::PresetListColumn::itemDroppedAfter (Column* source, int index)
{
    movePresetTo (source, index, true);
}

void OldStylePresetsBrowser::PresetListColumn::movePresetTo (Column* source, int index, bool after)
{
    int fromGroup = -1;
    juce::SparseSet<int> rows;

    if (!getPresetSelection (source, plugin, fromGroup, rows) || rows.size() != 1)
        return;

    const int from = plugin.getPresetIndex (fromGroup, rows[0]);
    const int target = plugin.getPresetIndex (group, index);

    if (from < 0 || target < 0)
        return;

    const bool sameGroup = fromGroup == group;
    int to = target;
    int row = index;

    if (!after && target > from)
    {
        --to;
        row -= sameGroup ? 1 : 0;
    }
    else if (after)
    {
        to += target < from ? 1 : 0;
        row += target >= from && sameGroup ? 0 : 1;
    }

    plugin.movePreset (from, to, fromGroup, group);
    presetsBrowser.refresh();
    selectItem (row);
}

//==============================================================================
OldStylePresetsBrowser::OldStylePresetsBrowser (OldStylePresetBrowserWindow& w, BasePluginOldStyle& p)
    : window (w)
    , plugin (p)
{
    openColumn (new GroupListColumn (*this, plugin));
}

OldStylePresetsBrowser::~OldStylePresetsBrowser() = default;

bool OldStylePresetsBrowser::getPresetSelection (Column* source, BasePluginOldStyle& plugin, int& group,
                                                 juce::SparseSet<int>& rows)
{
    auto* presets = dynamic_cast<PresetListColumn*> (source);

    if (presets == nullptr || !juce::isPositiveAndBelow (presets->getGroup(), plugin.getNumGroups()))
        return false;

    group = presets->getGroup();
    rows = presets->getList().getSelectedRows();
    const int size = plugin.getGroupSize (group);

    // A list that has not been refreshed since the groups changed may hold rows
    // beyond the group: such a selection names presets of another group.
    return !rows.isEmpty() && rows[0] >= 0 && rows[rows.size() - 1] < size;
}

OldStylePresetsBrowser::GroupListColumn* OldStylePresetsBrowser::getGroupColumn() const
{
    return dynamic_cast<GroupListColumn*> (getColumn (0));
}

OldStylePresetsBrowser::PresetListColumn* OldStylePresetsBrowser::getPresetColumn() const
{
    return dynamic_cast<PresetListColumn*> (getColumn (1));
}

int OldStylePresetsBrowser::getSelectedGroup() const
{
    auto* groups = getGroupColumn();
    return groups != nullptr ? groups->getList().getSelectedRow() : -1;
}

void OldStylePresetsBrowser::selectCurrentPresetInColumn (int group)
{
    auto* presets = getPresetColumn();

    if (presets == nullptr || presets->getGroup() != group)
        return;

    const int current = plugin.getCurrentPreset();

    if (plugin.getGroupOfPreset (current) == group)
        presets->selectItem (current - plugin.getFirstPresetOfGroup (group));
}

void OldStylePresetsBrowser::showPreset (int group, int position)
{
    if (getGroupColumn() == nullptr)
        openColumn (new GroupListColumn (*this, plugin));

    // Choosing the group row opens its preset column when the row changes.
    if (auto* groups = getGroupColumn(); groups != nullptr && group >= 0 && groups->getList().getSelectedRow() != group)
        groups->selectItem (group);

    auto* presets = getPresetColumn();

    if (presets == nullptr || presets->getGroup() != group)
    {
        if (group < 0)
            return;

        openColumn (new PresetListColumn (*this, plugin, group));
        presets = getPresetColumn();
    }

    if (presets == nullptr)
        return;

    if (position < 0)
        presets->getList().deselectAllRows();
    else if (!presets->getList().isRowSelected (position) || presets->getList().getNumSelectedRows() != 1)
        presets->selectItem (position);
}

void OldStylePresetsBrowser::browserUpdated()
{
    window.updateButtons();
}
