#pragma once

#include "gui/controls/ColumnBrowser.h"

class BasePluginOldStyle;
class OldStylePresetBrowserWindow;

/** The preset groups in the left column and the presets of the chosen group in
    the right one. Every row the columns hand back (renames, drops) is checked
    against the group's current size, so a list made stale by a state restore
    cannot touch a preset of another group. */
class OldStylePresetsBrowser : public ColumnBrowser
{
public:
    /** Both columns: a picture on each row, unselected and selected. */
    class CommonColumn : public ColumnBrowser::ListColumn
    {
    public:
        CommonColumn (OldStylePresetsBrowser& browser, BasePluginOldStyle& plugin);

        juce::Image getItemImage (int index, bool selected) override;

    protected:
        OldStylePresetsBrowser& presetsBrowser;
        BasePluginOldStyle& plugin;

    private:
        juce::Image rowImages[2];
    };

    class GroupListColumn : public CommonColumn
    {
    public:
        GroupListColumn (OldStylePresetsBrowser& browser, BasePluginOldStyle& plugin);

        bool hasParentColumn() override { return false; }
        bool isChildOf (Column*) override { return false; }
        bool isParentColumn (Column*) override { return false; }
        int getColumnWidth() override { return 241; }
        int getNumItems() override;
        juce::String getItemName (int index) override;
        bool hasChildItems (int index) override;
        Column* createChildColumn (int index) override;
        void itemSelected (int index) override;
        void backgroundClicked() override;
        void renameItem (int index, const juce::String& newName) override;
        bool acceptsDropOnColumn (Column*) override { return false; }
        bool acceptsDropOnto (Column* source, int index) override;
        bool acceptsDropBefore (Column* source, int index) override;
        bool acceptsDropAfter (Column* source, int index) override;
        void itemDroppedOnto (Column* source, int index) override;
        void itemDroppedBefore (Column* source, int index) override;
        void itemDroppedAfter (Column* source, int index) override;

    private:
        void moveGroupTo (Column* source, int index, bool after);
    };

    class PresetListColumn : public CommonColumn
    {
    public:
        PresetListColumn (OldStylePresetsBrowser& browser, BasePluginOldStyle& plugin, int group);

        int getGroup() const noexcept { return group; }

        bool hasParentColumn() override { return true; }
        bool isChildOf (Column* column) override;
        bool isParentColumn (Column* column) override { return isChildOf (column); }
        Column* createParentColumn() override;
        int getColumnWidth() override { return 350; }
        int getNumItems() override;
        juce::String getItemName (int index) override;
        void itemSelected (int index) override;
        void renameItem (int index, const juce::String& newName) override;
        bool acceptsDropOnColumn (Column* source) override;
        bool acceptsDropOnto (Column*, int) override { return false; }
        bool acceptsDropBefore (Column* source, int index) override;
        bool acceptsDropAfter (Column* source, int index) override;
        void itemDroppedOnColumn (Column* source) override;
        void itemDroppedBefore (Column* source, int index) override;
        void itemDroppedAfter (Column* source, int index) override;

    private:
        void movePresetTo (Column* source, int index, bool after);

        const int group;
    };

    OldStylePresetsBrowser (OldStylePresetBrowserWindow& window, BasePluginOldStyle& plugin);
    ~OldStylePresetsBrowser() override;

    /** Opens the group's preset column when it is not open, selects the position
        in it (-1 none) and the group in the group column. */
    void showPreset (int group, int position);

    /** Selects the current preset when the open preset column shows that group. */
    void selectCurrentPresetInColumn (int group);

    /** The selected group row, -1 when none. */
    int getSelectedGroup() const;

    GroupListColumn* getGroupColumn() const;
    PresetListColumn* getPresetColumn() const;

    void browserUpdated() override;

    /** The rows of the source column, when it is a preset column whose group and
        selection still lie within the group's current size. */
    static bool getPresetSelection (Column* source, BasePluginOldStyle& plugin, int& group, juce::SparseSet<int>& rows);

private:
    OldStylePresetBrowserWindow& window;
    BasePluginOldStyle& plugin;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OldStylePresetsBrowser)
};
