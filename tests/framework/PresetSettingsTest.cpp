#include "PresetTestPlugin.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

namespace
{
juce::String settingsText (const juce::String& children)
{
    return "<UserSettings application=\"Pulsaret\">" + children + "</UserSettings>";
}
} // namespace

TEST (PresetSettings, WrittenChildrenAndTheirOrder)
{
    TempFolder temp;
    PresetTestPlugin plugin (temp.file ("Pulsaret.ini"));
    plugin.start();

    auto settings = plugin.createUserSettingsXml();
    ASSERT_NE (settings, nullptr);
    ASSERT_EQ (settings->getNumChildElements(), 3);
    EXPECT_EQ (settings->getChildElement (0)->getTagName(), "PluginDirectories");
    EXPECT_EQ (settings->getChildElement (0)->getChildElement (0)->getStringAttribute ("dir"),
               juce::File::getSpecialLocation (juce::File::userHomeDirectory).getFullPathName());

    auto* resources = settings->getChildElement (1);
    EXPECT_EQ (resources->getTagName(), "ResourcesSettings");
    ASSERT_EQ (resources->getNumChildElements(), 2);
    EXPECT_EQ (resources->getChildElement (0)->getTagName(), "Presets");
    EXPECT_EQ (resources->getChildElement (0)->getStringAttribute ("default"), "factoryPresets");
    EXPECT_FALSE (resources->getChildElement (0)->hasAttribute ("file"));
    EXPECT_EQ (resources->getChildElement (1)->getTagName(), "MidiCCMap");
    EXPECT_EQ (resources->getChildElement (1)->getStringAttribute ("default"), "noMapping");
    EXPECT_EQ (resources->getChildElement (1)->getNumAttributes(), 1);

    auto* presetSettings = settings->getChildElement (2);
    EXPECT_EQ (presetSettings->getTagName(), "PresetSettings");
    EXPECT_EQ (presetSettings->getStringAttribute ("storing"), "onDemand");
    EXPECT_EQ (presetSettings->getStringAttribute ("changing"), "normal");

    plugin.setStoringMode (BasePluginOldStyle::automaticStoring);
    plugin.setChangingMode (BasePluginOldStyle::silentChanging);
    plugin.setDefaultPresetsSource (BasePluginOldStyle::clearedPresets);
    plugin.setDefaultPresetsSource (7); // ignored
    plugin.getMidiControl().setUseUserMap (true);
    plugin.getMidiControl().setUserMapFile (temp.file ("map.PXccmap"));
    settings = plugin.createUserSettingsXml();
    resources = settings->getChildElement (1);
    EXPECT_EQ (resources->getChildElement (0)->getStringAttribute ("default"), "clearPresets");
    EXPECT_EQ (resources->getChildElement (1)->getStringAttribute ("default"), "userDefinedMidiCCMap");
    EXPECT_EQ (resources->getChildElement (1)->getStringAttribute ("file"), temp.file ("map.PXccmap").getFullPathName());
    EXPECT_EQ (settings->getChildElement (2)->getStringAttribute ("storing"), "automatic");
    EXPECT_EQ (settings->getChildElement (2)->getStringAttribute ("changing"), "silent");

    // A product without the changing setting writes storing alone.
    PresetTestPlugin product (temp.file ("Other.ini"), false);
    settings = product.createUserSettingsXml();
    EXPECT_TRUE (settings->getChildElement (2)->hasAttribute ("storing"));
    EXPECT_FALSE (settings->getChildElement (2)->hasAttribute ("changing"));
}

TEST (PresetSettings, ReadingRules)
{
    TempFolder temp;
    PresetTestPlugin plugin (temp.file ("Pulsaret.ini"));
    plugin.start();
    plugin.selectPreset (3, false);
    plugin.setValue (2, 0.1875f);

    // Storing compares ignoring case and stores the current values at once.
    auto xml = juce::parseXML (settingsText ("<presetsettings STORING=\"AUTOMATIC\" changing=\"Silent\"/>"
                                             "<ResourcesSettings><MidiCCMap default=\"NoMapping\"/></ResourcesSettings>"));
    plugin.getMidiControl().setUseUserMap (true);
    plugin.loadUserSettingsXml (*xml);
    EXPECT_EQ (plugin.getStoringMode(), BasePluginOldStyle::automaticStoring);
    EXPECT_EQ (plugin.getChangingMode(), BasePluginOldStyle::silentChanging);
    EXPECT_EQ (plugin.getPresetSlot (3)->getValue (2), 0.1875f);
    EXPECT_TRUE (plugin.getMidiControl().getUseUserMap()); // that comparison is exact

    xml = juce::parseXML (settingsText ("<PresetSettings storing=\"sometimes\" changing=\"loud\"/>"
                                        "<ResourcesSettings><Presets default=\"nonsense\" file=\"/x\"/>"
                                        "<MidiCCMap default=\"noMapping\"/></ResourcesSettings>"
                                        "<PluginDirectories><RecentlyUsed dir=\"/no/such/folder\"/></PluginDirectories>"));
    plugin.loadUserSettingsXml (*xml);
    EXPECT_EQ (plugin.getStoringMode(), BasePluginOldStyle::automaticStoring);
    EXPECT_EQ (plugin.getChangingMode(), BasePluginOldStyle::silentChanging);
    EXPECT_EQ (plugin.getDefaultPresetsSource(), BasePluginOldStyle::factoryPresets);
    EXPECT_FALSE (plugin.getMidiControl().getUseUserMap());
    EXPECT_EQ (plugin.getDialogFolder(), juce::File::getSpecialLocation (juce::File::userHomeDirectory));

    xml = juce::parseXML (settingsText ("<PluginDirectories><RecentlyUsed dir=\"" + temp.folder.getFullPathName() + "\"/></PluginDirectories>"
                                                                                                                    "<ResourcesSettings><Presets default=\"USERDEFINEDPRESETS\"/>"
                                                                                                                    "<MidiCCMap default=\"userDefinedMidiCCMap\" file=\"" +
                                        temp.file ("m.PXccmap").getFullPathName() + "\"/>"
                                                                                    "</ResourcesSettings><PresetSettings storing=\"ondemand\" changing=\"NORMAL\"/>"));
    plugin.loadUserSettingsXml (*xml);
    EXPECT_EQ (plugin.getDialogFolder(), temp.folder);
    EXPECT_EQ (plugin.getDefaultPresetsSource(), BasePluginOldStyle::userDefinedPresets);
    EXPECT_EQ (plugin.getUserPresetsFile(), "");
    EXPECT_TRUE (plugin.getMidiControl().getUseUserMap());
    EXPECT_EQ (plugin.getMidiControl().getUserMapFile(), temp.file ("m.PXccmap"));
    EXPECT_EQ (plugin.getStoringMode(), BasePluginOldStyle::onDemandStoring);
    EXPECT_EQ (plugin.getChangingMode(), BasePluginOldStyle::normalChanging);

    // Another application's settings are ignored.
    xml = juce::parseXML ("<UserSettings application=\"Other\"><PresetSettings storing=\"automatic\"/></UserSettings>");
    plugin.loadUserSettingsXml (*xml);
    EXPECT_EQ (plugin.getStoringMode(), BasePluginOldStyle::onDemandStoring);

    // A product without the changing setting ignores it.
    PresetTestPlugin product (temp.file ("Other.ini"), false);
    product.loadUserSettingsXml (*juce::parseXML (settingsText ("<PresetSettings changing=\"silent\"/>")));
    EXPECT_EQ (product.getChangingMode(), BasePluginOldStyle::normalChanging);
}

TEST (PresetSettings, StartUpSources)
{
    TempFolder temp;
    const auto settingsFile = temp.file ("Pulsaret.ini");

    // Cleared presets.
    settingsFile.replaceWithText (settingsText ("<ResourcesSettings><Presets default=\"clearPresets\"/></ResourcesSettings>"));
    {
        PresetTestPlugin plugin (settingsFile);
        plugin.start();
        ASSERT_EQ (plugin.getNumGroups(), 1);
        EXPECT_EQ (plugin.getGroupName (0), "Not used");
        EXPECT_EQ (plugin.getGroupSize (0), 128);
        EXPECT_EQ (plugin.getPresetName (5), "Preset 5");
        EXPECT_EQ (plugin.getBankName(), "Preset Bank");
        EXPECT_EQ (plugin.getParameterManager().getText (BasePluginOldStyle::currentPresetNameUid), "Preset 0");
        for (int uid = 0; uid < 24; ++uid)
            EXPECT_EQ (plugin.value (uid), plugin.getDefaultPreset().getValue (uid));
    }

    // A user bank that exists: loaded, and its folder becomes the dialog folder.
    const auto bankFolder = temp.file ("banks");
    bankFolder.createDirectory();
    const auto userBank = bankFolder.getChildFile ("mine.PXprsb");
    userBank.replaceWithText ("<PresetBank name=\"Mine\"><PresetGroup name=\"Two\">"
                              "<Preset application=\"Pulsaret\" name=\"One\"><param name=\"Bass Drum Level\" value=\"0.3\"/></Preset>"
                              "<Preset application=\"Pulsaret\" name=\"Two\"/></PresetGroup></PresetBank>");
    settingsFile.replaceWithText (settingsText ("<ResourcesSettings><Presets default=\"userDefinedPresets\" file=\"" + userBank.getFullPathName() + "\"/></ResourcesSettings>"));
    {
        PresetTestPlugin plugin (settingsFile);
        plugin.start();
        EXPECT_EQ (plugin.getBankName(), "Mine");
        EXPECT_EQ (plugin.getPresetName (0), "One");
        EXPECT_EQ (plugin.getGroupSize (0), 2);
        EXPECT_EQ (plugin.getGroupSize (1), 126);
        EXPECT_FLOAT_EQ (plugin.value (0), 0.3f);
        EXPECT_EQ (plugin.getDialogFolder(), bankFolder);
    }

    // Missing, empty, a folder or damaged: the factory bank, with the choice kept.
    const juce::String fallbacks[] = {temp.file ("gone.PXprsb").getFullPathName(), "", bankFolder.getFullPathName(),
                                      "relative/bank.PXprsb", temp.file ("damaged.PXprsb").getFullPathName()};
    temp.file ("damaged.PXprsb").replaceWithText ("<PresetBank><PresetGroup><Preset");

    for (auto& path : fallbacks)
    {
        settingsFile.replaceWithText (settingsText ("<ResourcesSettings><Presets default=\"userDefinedPresets\" file=\"" + path + "\"/></ResourcesSettings>"));
        PresetTestPlugin plugin (settingsFile);
        plugin.start();
        EXPECT_EQ (plugin.getBankName(), "Pulsaret Factory Presets") << path;
        EXPECT_EQ (plugin.getPresetName (0), "Warm Welcome") << path;
        EXPECT_EQ (plugin.getNumGroups(), 2) << path;
        EXPECT_EQ (plugin.getDefaultPresetsSource(), BasePluginOldStyle::userDefinedPresets);

        auto written = plugin.createUserSettingsXml();
        auto* presets = written->getChildElement (1)->getChildElement (0);
        EXPECT_EQ (presets->getStringAttribute ("default"), "userDefinedPresets");
        EXPECT_TRUE (presets->hasAttribute ("file"));
        EXPECT_EQ (presets->getStringAttribute ("file"), path);
    }

    // The settings written at shut-down are read back at the next start.
    {
        PresetTestPlugin plugin (settingsFile);
        plugin.start();
        plugin.setStoringMode (BasePluginOldStyle::automaticStoring);
        plugin.setDefaultPresetsSource (BasePluginOldStyle::clearedPresets);
        ASSERT_TRUE (plugin.saveUserSettings());
    }
    {
        PresetTestPlugin plugin (settingsFile);
        plugin.start();
        EXPECT_EQ (plugin.getStoringMode(), BasePluginOldStyle::automaticStoring);
        EXPECT_EQ (plugin.getPresetName (0), "Preset 0");
    }
}
