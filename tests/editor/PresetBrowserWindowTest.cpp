#include "EditorWindowsTestSupport.h"
#include "editor/OldStylePresetBrowserWindow.h"
#include "framework/BasePluginOldStyle.h"

using namespace editor_test;

namespace
{
struct BrowserFixture : public WindowFixture
{
    BrowserFixture()
    {
        // Groups "Kits" (3 presets), "Empty" (none), "Not used" (the other 125).
        plugin().clearPresets();
        plugin().insertGroup (0);
        plugin().insertGroup (0);
        plugin().setGroupName (0, "Kits");
        plugin().setGroupName (1, "Empty");
        juce::SparseSet<int> firstThree;
        firstThree.addRange ({0, 3});
        plugin().movePresetsToGroup (0, 2, firstThree);

        window = std::make_unique<OldStylePresetBrowserWindow> (plugin());
        dialogs = &script (window->getDocumentChooser());
        editor.addChildComponent (*window);
        window->show();
        window->getBrowser().refresh();
        pumpMessages (20);
    }

    ~BrowserFixture() { window.reset(); }

    OldStylePresetsBrowser::GroupListColumn& groups() { return *window->getBrowser().getGroupColumn(); }
    OldStylePresetsBrowser::PresetListColumn* presets() { return window->getBrowser().getPresetColumn(); }
    juce::ImageButton& button (const char* name) { return *window->getImageButton (name); }

    juce::String presetNames (int group)
    {
        juce::StringArray names;

        for (int i = 0; i < plugin().getGroupSize (group); ++i)
            names.add (plugin().getPresetNameInGroup (group, i));

        return names.joinIntoString (", ");
    }

    /** A drop as a drag ends on the target; the source column lives until the drag ends. */
    void drop (ColumnBrowser::ListColumn& target, const juce::DragAndDropTarget::SourceDetails& details, int expectedMode)
    {
        window->getBrowser().dragOperationStarted (details);
        target.itemDragMove (details);
        EXPECT_EQ (target.getDropMode(), expectedMode);
        target.itemDropped (details);
        window->getBrowser().dragOperationEnded (details);
    }

    juce::DragAndDropTarget::SourceDetails dragFrom (ColumnBrowser::ListColumn& source, ColumnBrowser::ListColumn& target,
                                                     int row, int offset)
    {
        const auto where = target.getList().getPosition() + juce::Point<int> (20, row * 20 + offset);
        return {"ListColumn", &source.getList(), where};
    }

    std::unique_ptr<OldStylePresetBrowserWindow> window;
    ScriptedLauncher* dialogs = nullptr;
};
} // namespace

TEST (PresetBrowserWindow, LayoutButtonsAndGroups)
{
    BrowserFixture f;
    auto& window = *f.window;
    EXPECT_EQ (window.getBounds().getWidth(), 639);
    EXPECT_EQ (window.getBounds().getHeight(), 350);
    EXPECT_EQ (window.getTitle(), "Preset Browser");

    const char* names[] = {"Add Group", "Rem Group", "Copy", "Paste", "Up", "Down"};
    const char* tips[] = {"Add group", "Remove empty group", "Copy current preset", "Paste copied preset",
                          "Select previous preset", "Select next preset"};
    for (int i = 0; i < 6; ++i)
    {
        auto& b = f.button (names[i]);
        EXPECT_EQ (b.getTooltip(), tips[i]);
        EXPECT_EQ (b.getParentComponent(), &window.getButtonRow());
        EXPECT_EQ (b.getY(), i * (27 + 2)); // a column in this order
    }

    EXPECT_EQ (window.getPresetLoadButton().getTooltip(), "Load preset");
    EXPECT_EQ (window.getBankSaveButton().getTooltip(), "Save current preset bank");

    // The file row at the bottom right, as far from the window's edges as the buttons
    // are from its left edge; the columns fill the rest, as far from the file row as
    // from the buttons.
    const auto content = window.getContentArea();
    const auto fileRow = window.getFileRow().getBounds();
    const int margin = window.getButtonRow().getX();
    EXPECT_EQ (fileRow.getBottomRight(), content.getBottomRight());
    EXPECT_EQ (window.getWidth() - fileRow.getRight(), margin);
    EXPECT_EQ (window.getHeight() - fileRow.getBottom(), margin);
    EXPECT_EQ (window.getBrowser().getX(), content.getX() + 27 + 5);
    EXPECT_EQ (fileRow.getY() - window.getBrowser().getBottom(), 5);
    EXPECT_EQ (window.getBrowser().getRight(), content.getRight());

    // It opened on the current preset: group "Kits", row 0.
    EXPECT_EQ (window.getBrowser().getSelectedGroup(), 0);
    ASSERT_NE (f.presets(), nullptr);
    EXPECT_EQ (f.presets()->getList().getSelectedRow(), 0);
    EXPECT_TRUE (f.button ("Add Group").isEnabled());
    EXPECT_FALSE (f.button ("Rem Group").isEnabled()); // "Kits" holds three

    f.groups().getList().deselectAllRows();
    EXPECT_FALSE (f.button ("Add Group").isEnabled());
    EXPECT_FALSE (f.button ("Rem Group").isEnabled());

    f.groups().selectItem (1);
    EXPECT_TRUE (f.button ("Rem Group").isEnabled());
    click (f.button ("Rem Group"));
    EXPECT_EQ (f.plugin().getNumGroups(), 2);
    EXPECT_EQ (f.plugin().getGroupName (1), "Not used");

    f.groups().selectItem (0);
    click (f.button ("Add Group"));
    EXPECT_EQ (f.plugin().getNumGroups(), 3);
    EXPECT_EQ (f.plugin().getGroupName (0), "New Group");
    EXPECT_EQ (f.plugin().getGroupName (1), "Kits");
    EXPECT_EQ (f.groups().getList().getNumRows(), 3);

    // Hidden, it still follows the current preset and its name.
    window.hide();
    f.plugin().changePreset (40); // row 37 of "Not used"
    f.plugin().setPresetName (40, "Followed");
    pumpMessages (20);
    EXPECT_EQ (window.getBrowser().getSelectedGroup(), 2);
    ASSERT_NE (f.presets(), nullptr);
    EXPECT_EQ (f.presets()->getList().getSelectedRow(), 37);
    ASSERT_NE (f.presets()->getItemComponent (37), nullptr);
    EXPECT_EQ (f.presets()->getItemComponent (37)->getLabel().getText(), "Followed");
}

TEST (PresetBrowserWindow, SteppingSelectingAndDrops)
{
    BrowserFixture f;
    auto& plugin = f.plugin();

    // "Up" on preset 0 does nothing; "Down" steps and the list follows.
    click (f.button ("Up"));
    EXPECT_EQ (plugin.getCurrentPreset(), 0);
    click (f.button ("Down"));
    EXPECT_EQ (plugin.getCurrentPreset(), 1);
    pumpMessages (20);
    EXPECT_EQ (f.presets()->getList().getSelectedRow(), 1);

    plugin.changePreset (127);
    pumpMessages (20);
    click (f.button ("Down"));
    EXPECT_EQ (plugin.getCurrentPreset(), 127);
    EXPECT_EQ (f.window->getBrowser().getSelectedGroup(), 2); // shown while it follows
    EXPECT_EQ (f.presets()->getList().getSelectedRow(), 124);

    // Choosing the current preset again does not apply it again.
    plugin.setStoringMode (BasePluginOldStyle::onDemandStoring);
    auto& level = *plugin.getParameterManager().getParameter (0);
    level.setNormalisedValue (0.123f, true);
    f.presets()->getList().deselectAllRows();
    f.presets()->selectItem (124);
    EXPECT_FLOAT_EQ (level.getNormalisedValue(), 0.123f);

    // Two presets of "Not used" dropped onto "Kits" join it at its end, in order.
    f.groups().selectItem (2);
    auto* source = f.presets();
    source->getList().selectRow (4);
    source->getList().selectRow (2, false, false);
    f.drop (f.groups(), f.dragFrom (*source, f.groups(), 0, 10), ColumnBrowser::ListColumn::dropOntoItem);
    EXPECT_EQ (f.presetNames (0), "Preset 0, Preset 1, Preset 2, Preset 5, Preset 7");

    // One preset dropped on its own column below the last row stays in its group.
    f.groups().selectItem (0);
    auto* kits = f.presets();
    kits->getList().selectRow (1);
    f.drop (*kits, f.dragFrom (*kits, *kits, 10, 5), ColumnBrowser::ListColumn::dropOnColumn);
    EXPECT_EQ (f.presetNames (0), "Preset 0, Preset 1, Preset 2, Preset 5, Preset 7");

    // Row 1 dropped after row 3 of the same group moves it there and keeps it selected.
    kits = f.presets();
    kits->getList().selectRow (1);
    f.drop (*kits, f.dragFrom (*kits, *kits, 3, 18), ColumnBrowser::ListColumn::dropAfterItem);
    EXPECT_EQ (f.presetNames (0), "Preset 0, Preset 2, Preset 5, Preset 1, Preset 7");
    EXPECT_EQ (f.presets()->getList().getSelectedRow(), 3);
}

TEST (PresetBrowserWindow, StaleListsChangeNothing)
{
    BrowserFixture f;
    auto& plugin = f.plugin();
    f.groups().selectItem (2);
    auto* stale = f.presets();
    stale->getList().selectRow (100);

    // A state restore leaves "Not used" with 5 presets; the lists are not refreshed yet.
    plugin.clearPresets();
    plugin.insertGroup (0);
    juce::SparseSet<int> most;
    most.addRange ({0, 123});
    plugin.movePresetsToGroup (0, 1, most);
    plugin.insertGroup (0);
    ASSERT_EQ (plugin.getGroupSize (2), 5);
    juce::MemoryBlock before;
    plugin.getStateInformation (before);

    const auto ontoFirst = f.dragFrom (*stale, f.groups(), 0, 10);
    auto& browser = f.window->getBrowser();
    browser.dragOperationStarted (ontoFirst);
    f.groups().itemDragMove (ontoFirst);
    f.groups().itemDropped (ontoFirst);
    stale->renameItem (100, "Renamed");
    stale->itemDroppedBefore (stale, 1);
    stale->itemDroppedOnColumn (stale);
    browser.dragOperationEnded (ontoFirst);

    juce::MemoryBlock after;
    plugin.getStateInformation (after);
    EXPECT_TRUE (before == after);
}

TEST (PresetBrowserWindow, PresetAndBankFiles)
{
    BrowserFixture f;
    auto& plugin = f.plugin();
    auto& dialogs = *f.dialogs;
    plugin.setPresetName (0, "Mine");
    plugin.setDialogFolder (f.folder);

    // Names get the extension appended, never swapped for another.
    dialogs.answers = {f.folder.getChildFile ("Kit"), f.folder.getChildFile ("Kit v1.5"), f.folder.getChildFile ("Bank.pxPRSB")};
    click (f.window->getPresetSaveButton());
    click (f.window->getPresetSaveButton());
    click (f.window->getBankSaveButton());
    EXPECT_EQ (dialogs.titles, juce::StringArray ({"Save current settings as preset", "Save current settings as preset", "Save preset bank"}));
    EXPECT_EQ (dialogs.wildcards[0], "*.PXprs");
    EXPECT_EQ (dialogs.initialFiles[0], f.folder);
    EXPECT_TRUE (f.folder.getChildFile ("Kit.PXprs").existsAsFile());
    EXPECT_TRUE (f.folder.getChildFile ("Kit v1.5.PXprs").existsAsFile());
    EXPECT_TRUE (f.folder.getChildFile ("Bank.pxPRSB").existsAsFile());
    EXPECT_EQ (f.window->getDocumentChooser().getQuestion(), nullptr);
    EXPECT_EQ (f.window->getDocumentChooser().getNotice(), nullptr);

    // An existing target asks first: "No" keeps it byte for byte, "Yes" replaces it.
    const auto kit = f.folder.getChildFile ("Kit.PXprs");
    kit.replaceWithText ("keep me");
    dialogs.answers = {kit.getSiblingFile ("Kit")};
    click (f.window->getPresetSaveButton());
    auto* question = f.window->getDocumentChooser().getQuestion();
    ASSERT_NE (question, nullptr);
    EXPECT_EQ (question->getMessage(), "\"Kit.PXprs\" already exists. Do you want to replace it?");
    EXPECT_TRUE (question->isShown());
    click (*question->getButton (1));
    EXPECT_EQ (kit.loadFileAsString(), "keep me");
    click (f.window->getPresetSaveButton()); // cancelled: no answer left
    EXPECT_EQ (kit.loadFileAsString(), "keep me");
    dialogs.answers = {kit};
    click (f.window->getPresetSaveButton());
    click (*f.window->getDocumentChooser().getQuestion()->getButton (0));
    EXPECT_TRUE (kit.loadFileAsString().contains ("Mine"));

    // What was written loads back into a fresh instance the same.
    PulsaretTestHost fresh;
    ASSERT_TRUE (fresh.plugin->loadPresetFile (kit, 5));
    EXPECT_EQ (fresh.plugin->getPresetName (5), "Mine");
    ASSERT_TRUE (fresh.plugin->loadBankFile (f.folder.getChildFile ("Bank.pxPRSB")));
    EXPECT_EQ (fresh.plugin->getGroupName (0), "Kits");
    EXPECT_EQ (fresh.plugin->getGroupSize (1), 0);

    // A damaged file changes nothing and says so.
    const auto damaged = f.folder.getChildFile ("Damaged.PXprs");
    damaged.replaceWithText ("<Preset application=\"Pulsaret\"><param");
    juce::MemoryBlock before, after;
    plugin.getStateInformation (before);
    dialogs.answers = {damaged, damaged};
    click (f.window->getPresetLoadButton());
    auto* notice = f.window->getDocumentChooser().getNotice();
    ASSERT_NE (notice, nullptr);
    EXPECT_EQ (notice->getTitle(), "Load single preset");
    EXPECT_EQ (notice->getMessage(), "\"Damaged.PXprs\" could not be loaded.");
    EXPECT_EQ (notice->getNumButtons(), 1);
    click (f.window->getBankLoadButton());
    EXPECT_EQ (f.window->getDocumentChooser().getNotice()->getTitle(), "Load preset bank");
    plugin.getStateInformation (after);
    EXPECT_TRUE (before == after);
}

TEST (PresetBrowserWindow, Snapshot)
{
    BrowserFixture f;
    f.groups().selectItem (2);
    auto* presets = f.presets();
    presets->selectItem (3);
    // The selected preset dragged above row 6 of its own column: a line marks the place.
    presets->itemDragMove (f.dragFrom (*presets, *presets, 6, 2));
    EXPECT_EQ (presets->getDropMode(), ColumnBrowser::ListColumn::dropBeforeItem);
    EXPECT_EQ (presets->getDropRow(), 6);
    snapshot (f.editor, "preset-browser.png");
    presets->itemDragExit (f.dragFrom (*presets, *presets, 6, 2));
}

TEST (PresetBrowserWindow, PresetSaveWritesTheSoundThatPlays)
{
    WindowFixture f; // the factory bank
    auto& plugin = f.plugin();
    auto& store = plugin.getParameterManager();
    OldStylePresetBrowserWindow window (plugin);
    auto& dialogs = script (window.getDocumentChooser());
    f.editor.addChildComponent (window);
    window.show();
    window.getBrowser().refresh();
    pumpMessages (20);

    // "Lazy Kit" chosen in the browser, two tunes turned and not stored.
    window.getBrowser().getGroupColumn()->selectItem (0);
    window.getBrowser().getPresetColumn()->selectItem (3);
    ASSERT_EQ (store.getText (BasePluginOldStyle::currentPresetNameUid), "Lazy Kit");
    ASSERT_EQ (store.getText (ParameterId::bassDrumTune), store.getText (ParameterId::snareDrumTune));
    const float stored = store.getNormalisedValue (ParameterId::bassDrumTune);
    EXPECT_FLOAT_EQ (stored, 0.4f);
    store.setNormalisedValue (ParameterId::bassDrumTune, 0.56f);
    store.setNormalisedValue (ParameterId::snareDrumTune, 0.2f);

    const auto preset = f.folder.getChildFile ("Lazy.PXprs"), bank = f.folder.getChildFile ("Factory.PXprsb");
    dialogs.answers = {preset.withFileExtension (""), bank};
    click (window.getPresetSaveButton());
    click (window.getBankSaveButton());

    // The preset file, loaded into a fresh instance, plays as the edited kit did.
    PulsaretTestHost fresh;
    auto& freshStore = fresh.plugin->getParameterManager();
    ASSERT_TRUE (fresh.plugin->loadPresetFile (preset, fresh.plugin->getCurrentPreset()));
    EXPECT_EQ (freshStore.getText (BasePluginOldStyle::currentPresetNameUid), "Lazy Kit");
    for (int uid = 0; uid < plugin.getNumPresetableParameters(); ++uid)
        EXPECT_NEAR (freshStore.getNormalisedValue (uid), store.getNormalisedValue (uid), 1.0e-6f) << store.getParameterName (uid);

    // Saving stored nothing, and the bank still holds the slots as stored.
    EXPECT_EQ (plugin.getPresetSlot (3)->getValue (ParameterId::snareDrumTune), stored);
    ASSERT_TRUE (fresh.plugin->loadBankFile (bank));
    EXPECT_EQ (fresh.plugin->getPresetName (3), "Lazy Kit");
    EXPECT_EQ (fresh.plugin->getPresetSlot (3)->getValue (ParameterId::bassDrumTune), stored);
    EXPECT_EQ (fresh.plugin->getPresetSlot (3)->getValue (ParameterId::snareDrumTune), stored);
}
