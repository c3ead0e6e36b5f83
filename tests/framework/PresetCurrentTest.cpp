#include "PresetTestPlugin.h"

#include "framework/IntParameter.h"

#include <gtest/gtest.h>

#include <random>

namespace
{
struct CountingListener : public Parameter::Listener
{
    void parameterChanged (Parameter*) override { ++calls; }
    int calls = 0;
};

struct Handler : public PresetChangeHandler
{
    void handlePresetChange() override { ++calls; }
    int calls = 0;
};

struct Applied : public PresetListener
{
    void presetApplied() override { ++calls; }
    int calls = 0;
};
} // namespace

TEST (PresetCurrent, StartUpWithoutSettingsSelectsTheFactoryBank)
{
    PresetTestPlugin plugin;
    EXPECT_EQ (plugin.getNumPresets(), 128);
    EXPECT_EQ (plugin.getPresetName (0), "Preset");
    EXPECT_EQ (plugin.getNumGroups(), 0);

    plugin.start();

    EXPECT_EQ (plugin.getCurrentPreset(), 0);
    EXPECT_EQ (plugin.getPresetName (0), "Warm Welcome");
    EXPECT_EQ (plugin.getPresetName (16), "Open Ballad");
    EXPECT_EQ (plugin.getPresetName (17), "Preset 17");
    EXPECT_EQ (plugin.getBankName(), "Pulsaret Factory Presets");
    ASSERT_EQ (plugin.getNumGroups(), 2);
    EXPECT_EQ (plugin.getGroupName (0), "Factory Kits");
    EXPECT_EQ (plugin.getGroupSize (0), 17);
    EXPECT_EQ (plugin.getGroupName (1), "Not used");
    EXPECT_EQ (plugin.getGroupSize (1), 111);

    auto& store = plugin.getParameterManager();
    EXPECT_EQ (store.getIntValue (BasePluginOldStyle::currentPresetNumberUid), 0);
    EXPECT_EQ (store.getText (BasePluginOldStyle::currentPresetNameUid), "Warm Welcome");

    // The kit is applied to the 24 presetable parameters.
    for (int uid = 0; uid < 24; ++uid)
        EXPECT_EQ (plugin.value (uid), plugin.getPresetSlot (0)->getValue (uid)) << uid;

    EXPECT_FLOAT_EQ (plugin.value (0), 0.8f);

    // The empty preset came from the embedded one; unused slots hold its values.
    // Its values are the defaults of the parameter description.
    PresetTestPlugin fresh;
    EXPECT_EQ (plugin.getDefaultPreset().getName(), "empty");
    EXPECT_EQ (fresh.getDefaultPreset().getName(), "Preset");
    for (int uid = 0; uid < 24; ++uid)
    {
        EXPECT_EQ (plugin.getPresetSlot (17)->getValue (uid), plugin.getDefaultPreset().getValue (uid));
        EXPECT_EQ (plugin.getDefaultPreset().getValue (uid), fresh.getDefaultPreset().getValue (uid)) << uid;
    }
    EXPECT_EQ (plugin.getDefaultPreset().getValue (9), 1.0f);
    EXPECT_EQ (plugin.getDefaultPreset().getValue (10), 0.5f);

    EXPECT_EQ (plugin.getDialogFolder(), juce::File::getSpecialLocation (juce::File::userHomeDirectory));
    EXPECT_EQ (plugin.getStoringMode(), BasePluginOldStyle::onDemandStoring);
    EXPECT_EQ (plugin.getChangingMode(), BasePluginOldStyle::normalChanging);
}

TEST (PresetCurrent, EveryFactoryKitIsDistinctAndNamed)
{
    PresetTestPlugin plugin;
    plugin.start();

    const juce::StringArray names{"Warm Welcome", "Native Kit", "Short Triplets", "Lazy Kit", "Action Melody",
                                  "Jazzy Brushes", "Mind Twist", "Two Beats Only", "HipHope", "Tribal",
                                  "Cuttin' Edge", "Shakey Rhumba", "Ughlympic", "Modular function", "TeXnow",
                                  "Sticker", "Open Ballad"};

    for (int i = 0; i < names.size(); ++i)
    {
        EXPECT_EQ (plugin.getPresetName (i), names[i]);

        for (int j = 0; j < i; ++j)
        {
            int differences = 0;
            for (int uid = 0; uid < 24; ++uid)
                differences += plugin.getPresetSlot (i)->getValue (uid) != plugin.getPresetSlot (j)->getValue (uid) ? 1 : 0;
            EXPECT_GE (differences, 6) << names[i] << " / " << names[j];
        }

        // Every voice can be heard.
        for (int uid = 0; uid < 7; ++uid)
            EXPECT_GT (plugin.getPresetSlot (i)->getValue (uid), 0.1f) << names[i];
    }
}

TEST (PresetCurrent, NextPreviousSelectAndApply)
{
    PresetTestPlugin plugin;
    plugin.start();
    auto& store = plugin.getParameterManager();
    Applied applied;
    plugin.addPresetListener (&applied);

    plugin.selectPreviousPreset();
    EXPECT_EQ (plugin.getCurrentPreset(), 0);
    EXPECT_EQ (applied.calls, 0);

    plugin.handleEvent (1002);
    EXPECT_EQ (plugin.getCurrentPreset(), 1);
    EXPECT_EQ (store.getText (BasePluginOldStyle::currentPresetNameUid), "Native Kit");
    EXPECT_EQ (store.getIntValue (BasePluginOldStyle::currentPresetNumberUid), 1);
    EXPECT_EQ (plugin.value (13), plugin.getPresetSlot (1)->getValue (13));
    EXPECT_EQ (applied.calls, 1);

    plugin.handleEvent (1003);
    EXPECT_EQ (plugin.getCurrentPreset(), 0);
    EXPECT_EQ (plugin.value (0), plugin.getPresetSlot (0)->getValue (0));

    // Select moves the index only.
    const float level = plugin.value (0);
    plugin.selectPreset (5, true);
    EXPECT_EQ (plugin.getCurrentPreset(), 5);
    EXPECT_EQ (store.getText (BasePluginOldStyle::currentPresetNameUid), "Jazzy Brushes");
    EXPECT_EQ (plugin.value (0), level);
    plugin.selectPreset (128, true);
    plugin.selectPreset (-1, true);
    EXPECT_EQ (plugin.getCurrentPreset(), 5);

    plugin.selectPreset (127, false);
    plugin.selectNextPreset();
    EXPECT_EQ (plugin.getCurrentPreset(), 127);

    // Silent changing hands the change to the handler instead of applying it.
    Handler handler;
    plugin.setChangingMode (BasePluginOldStyle::silentChanging);
    plugin.selectPreviousPreset();
    EXPECT_EQ (plugin.getCurrentPreset(), 126); // without a handler it is applied
    EXPECT_EQ (store.getText (BasePluginOldStyle::currentPresetNameUid), "Preset 126");
    plugin.setDeferredChangeHandler (&handler);
    const int appliedBefore = applied.calls;
    plugin.selectPreviousPreset();
    EXPECT_EQ (plugin.getCurrentPreset(), 125);
    EXPECT_EQ (handler.calls, 1);
    EXPECT_EQ (applied.calls, appliedBefore);
    EXPECT_EQ (store.getText (BasePluginOldStyle::currentPresetNameUid), "Preset 126");
    plugin.setDeferredChangeHandler (nullptr);
    plugin.removePresetListener (&applied);
}

TEST (PresetCurrent, CopyPasteStoreAndRename)
{
    PresetTestPlugin plugin;
    plugin.start();
    auto& store = plugin.getParameterManager();

    // Paste before any copy does nothing.
    plugin.selectPreset (20, false);
    plugin.handleEvent (1008);
    EXPECT_EQ (plugin.getPresetName (20), "Preset 20");

    plugin.selectPreset (2, false);
    plugin.setValue (0, 0.125f); // an unsaved edit: copy takes the parameters, not the slot
    plugin.handleEvent (1007);
    EXPECT_TRUE (plugin.isClipboardFilled());
    EXPECT_EQ (plugin.getClipboardPreset().getName(), "Short Triplets_copy");
    EXPECT_EQ (plugin.getClipboardPreset().getValue (0), 0.125f);

    plugin.changePreset (20);
    EXPECT_NE (plugin.value (0), 0.125f);
    plugin.handleEvent (1008);
    EXPECT_EQ (plugin.getPresetName (20), "Short Triplets_copy");
    EXPECT_EQ (plugin.getPresetSlot (20)->getValue (0), 0.125f);
    EXPECT_EQ (plugin.value (0), 0.125f);
    EXPECT_EQ (store.getText (BasePluginOldStyle::currentPresetNameUid), "Short Triplets_copy");

    // On demand: edits stay out of the slot until stored.
    plugin.setValue (3, 0.875f);
    EXPECT_NE (plugin.getPresetSlot (20)->getValue (3), 0.875f);
    plugin.handleEvent (1009);
    EXPECT_EQ (plugin.getPresetSlot (20)->getValue (3), 0.875f);

    // The name parameter renames the current preset, and renaming shows it.
    store.setText (BasePluginOldStyle::currentPresetNameUid, "Renamed");
    EXPECT_EQ (plugin.getPresetName (20), "Renamed");
    plugin.setPresetName (20, "Again");
    EXPECT_EQ (store.getText (BasePluginOldStyle::currentPresetNameUid), "Again");
    plugin.setPresetName (21, "Other");
    EXPECT_EQ (store.getText (BasePluginOldStyle::currentPresetNameUid), "Again");
    plugin.setPresetName (128, "Nowhere");
    EXPECT_EQ (plugin.getPresetName (128), "");
}

TEST (PresetCurrent, AutomaticStoringWritesOnlyPresetableValues)
{
    PresetTestPlugin plugin;
    plugin.start();
    plugin.setStoringMode (BasePluginOldStyle::automaticStoring);
    plugin.selectPreset (4, false);

    plugin.setValue (3, 0.3125f);
    EXPECT_EQ (plugin.getPresetSlot (4)->getValue (3), 0.3125f);

    PresetSlot before ("before", 24, -1);
    before.copyValuesFrom (*plugin.getPresetSlot (4));
    plugin.setValue (30, 1.0f);
    plugin.setValue (24, 0.9f);
    for (int uid = 0; uid < 24; ++uid)
        EXPECT_EQ (plugin.getPresetSlot (4)->getValue (uid), before.getValue (uid));

    // The current slot keeps receiving edits after it moved.
    plugin.movePreset (4, 0, 0, 0);
    EXPECT_EQ (plugin.getCurrentPreset(), 0);
    plugin.setValue (3, 0.6875f);
    EXPECT_EQ (plugin.getPresetSlot (0)->getValue (3), 0.6875f);
    EXPECT_EQ (plugin.getPresetName (0), "Action Melody");

    // Automation from another thread writes the current slot without locks.
    std::thread host ([&]
                      {
        for (int i = 0; i < 2000; ++i)
            plugin.getParameterManager().getParameter (5)->setNormalisedValue ((float) (i % 100) / 100.0f, true); });
    for (int i = 0; i < 200; ++i)
        plugin.movePreset (i % 2 == 0 ? 0 : 1, i % 2 == 0 ? 1 : 0, 0, 0);
    host.join();
    EXPECT_EQ (plugin.getPresetSlot (plugin.getCurrentPreset())->getValue (5), plugin.value (5));
    EXPECT_EQ (plugin.getPresetName (plugin.getCurrentPreset()), "Action Melody");
}

TEST (PresetCurrent, MovesKeepTheCurrentPresetAndTheGroups)
{
    PresetTestPlugin plugin;
    plugin.start();
    auto& store = plugin.getParameterManager();
    CountingListener listener;
    store.addListener (BasePluginOldStyle::currentPresetNumberUid, &listener);

    plugin.selectPreset (3, false);
    plugin.movePreset (3, 16, 0, 0);
    EXPECT_EQ (plugin.getCurrentPreset(), 16);
    EXPECT_EQ (store.getIntValue (BasePluginOldStyle::currentPresetNumberUid), 16);
    EXPECT_EQ (listener.calls, 0); // selected without notification
    EXPECT_EQ (plugin.getPresetName (16), "Lazy Kit");

    plugin.insertGroup (1);
    EXPECT_EQ (plugin.getGroupName (1), "New Group");
    plugin.movePreset (16, 16, 0, 1); // the same position: refused
    EXPECT_EQ (plugin.getGroupSize (1), 0);
    juce::SparseSet<int> last;
    last.addRange ({16, 17});
    plugin.movePresetsToGroup (1, 0, last); // the last kit into the new group
    EXPECT_EQ (plugin.getGroupSize (0), 16);
    EXPECT_EQ (plugin.getGroupSize (1), 1);
    EXPECT_EQ (plugin.getCurrentPreset(), 16);
    plugin.removeGroup (1); // still holds a preset
    EXPECT_EQ (plugin.getNumGroups(), 3);

    plugin.moveGroup (1, 0);
    EXPECT_EQ (plugin.getGroupName (0), "New Group");
    EXPECT_EQ (plugin.getCurrentPreset(), 0);
    EXPECT_EQ (plugin.getPresetNameInGroup (0, 0), "Lazy Kit");
    EXPECT_EQ (plugin.getPresetNameInGroup (5, 0), "");

    juce::SparseSet<int> selection;
    selection.addRange ({0, 1});
    plugin.movePresetsToGroup (2, 0, selection);
    EXPECT_EQ (plugin.getGroupSize (0), 0);
    EXPECT_EQ (plugin.getCurrentPreset(), 127);
    EXPECT_EQ (plugin.getPresetName (127), "Lazy Kit");
    plugin.removeGroup (0);
    EXPECT_EQ (plugin.getNumGroups(), 2);

    // Random moves, good and bad: the current slot stays current wherever it goes.
    std::mt19937 rng (7);
    auto pick = [&rng] (int lo, int hi)
    { return std::uniform_int_distribution<int> (lo, hi) (rng); };
    plugin.insertGroup (0);
    plugin.insertGroup (1);

    for (int step = 0; step < 3000; ++step)
    {
        auto* expected = plugin.getPresetSlot (plugin.getCurrentPreset());
        const int groups = plugin.getNumGroups();

        switch (pick (0, 4))
        {
            case 0:
            {
                const int fromGroup = pick (-1, groups);
                const int toGroup = pick (-1, groups);
                const int from = pick (0, 1) == 0 ? plugin.getPresetIndex (fromGroup, pick (0, 20)) : pick (-1, 128);
                const int to = pick (0, 1) == 0 ? plugin.getFirstPresetOfGroup (toGroup) + pick (-1, 20) : pick (-1, 128);
                plugin.movePreset (from, to, fromGroup, toGroup);
                break;
            }
            case 1:
            {
                juce::SparseSet<int> rows;
                rows.addRange ({pick (-1, 10), pick (0, 12)});
                plugin.movePresetsToGroup (pick (-1, groups), pick (-1, groups), rows);
                break;
            }
            case 2:
                plugin.moveGroup (pick (-1, groups), pick (-1, groups));
                break;
            case 3:
            {
                const int index = pick (-1, 128);
                plugin.changePreset (index);
                if (index >= 0 && index < 128)
                    expected = plugin.getPresetSlot (index);
                break;
            }
            default:
                plugin.insertGroup (pick (-1, groups));
                plugin.removeGroup (pick (-1, groups));
                break;
        }

        int total = 0;
        for (int g = 0; g < plugin.getNumGroups(); ++g)
        {
            ASSERT_GE (plugin.getGroupSize (g), 0);
            total += plugin.getGroupSize (g);
        }
        ASSERT_EQ (total, 128) << step;

        auto* now = plugin.getPresetSlot (plugin.getCurrentPreset());
        ASSERT_EQ (store.getIntValue (BasePluginOldStyle::currentPresetNumberUid), plugin.getCurrentPreset());
        ASSERT_EQ (store.getText (BasePluginOldStyle::currentPresetNameUid), now->getName());

        ASSERT_EQ (now, expected) << step;
        ASSERT_NE (plugin.getGroupOfPreset (plugin.getCurrentPreset()), -1);
    }

    store.getParameter (BasePluginOldStyle::currentPresetNumberUid)->removeListener (&listener);
}
