#include "TestPlugin.h"

#include <gtest/gtest.h>

namespace
{
class SettingsFileTest : public ::testing::Test
{
protected:
    SettingsFileTest()
    {
        folder = juce::File::createTempFile ("settings");
        folder.createDirectory();
    }

    ~SettingsFileTest() override { folder.deleteRecursively(); }

    juce::File folder;
};
} // namespace

TEST_F (SettingsFileTest, SettingsRoundTripThroughTheFile)
{
    const auto file = folder.getChildFile ("TestPlugin.ini");

    {
        TestPlugin plugin;
        plugin.setUserSettingsFile (file);
        plugin.colour = "teal";
        plugin.recentFolder = folder;
        ASSERT_TRUE (plugin.saveUserSettings());
    }

    const auto text = file.loadFileAsString();
    EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<UserSettings application=\"TestPlugin\">"));
    EXPECT_FALSE (text.contains ("DOCTYPE"));
    EXPECT_TRUE (text.contains ("<RecentlyUsed dir=\"" + folder.getFullPathName() + "\"/>"));
    EXPECT_TRUE (text.contains ("<Colour name=\"teal\"/>"));
    EXPECT_EQ (folder.getNumberOfChildFiles (juce::File::findFiles), 1); // no temporary file left

    TestPlugin restored;
    restored.setUserSettingsFile (file);
    restored.preInitialise();
    restored.initialise();
    EXPECT_EQ (restored.colour, "teal");
    EXPECT_EQ (restored.recentFolder, folder);

    ASSERT_TRUE (restored.saveUserSettings());
    EXPECT_EQ (file.loadFileAsString(), text);
}

TEST_F (SettingsFileTest, MissingUnreadableOrForeignFilesLeaveTheDefaults)
{
    const auto home = juce::File::getSpecialLocation (juce::File::userHomeDirectory);

    juce::Array<juce::File> files;
    files.add (folder.getChildFile ("missing.ini"));
    files.add (folder.getChildFile ("folder.ini"));
    files.getLast().createDirectory(); // a folder where the file should be cannot be read
    files.add (folder.getChildFile ("broken.ini"));
    files.getLast().replaceWithText ("<UserSettings application='TestPlugin'><Colour name='red'/>");
    files.add (folder.getChildFile ("foreign.ini"));
    files.getLast().replaceWithText ("<UserSettings application='Other'><Colour name='red'/></UserSettings>");
    files.add (folder.getChildFile ("gone.ini"));
    files.getLast().replaceWithText ("<UserSettings application='TestPlugin'><PluginDirectories>"
                                     "<RecentlyUsed dir='/no/such/folder'/></PluginDirectories></UserSettings>");

    for (auto& file : files)
    {
        TestPlugin plugin;
        plugin.setUserSettingsFile (file);
        plugin.preInitialise();
        plugin.initialise();
        EXPECT_EQ (plugin.colour, "grey") << file.getFullPathName();
        EXPECT_EQ (plugin.recentFolder, home) << file.getFullPathName();
        EXPECT_EQ (plugin.afterInitialiseCalls, 1);
    }
}

TEST_F (SettingsFileTest, AFailedWriteDisturbsNothing)
{
    // Folders that cannot take a file, even for root: a read-only file system and a
    // "folder" that is a plain file.
    const auto plainFile = folder.getChildFile ("plain");
    plainFile.replaceWithText ("keep");

    for (auto& file : { juce::File ("/proc/TestPlugin.ini"), plainFile.getChildFile ("TestPlugin.ini") })
    {
        TestPlugin plugin;
        plugin.setUserSettingsFile (file);
        plugin.preInitialise();
        plugin.initialise();
        EXPECT_FALSE (plugin.saveUserSettings());
        EXPECT_FALSE (file.exists());
    }

    EXPECT_EQ (plainFile.loadFileAsString(), "keep");
    EXPECT_EQ (folder.getNumberOfChildFiles (juce::File::findFilesAndDirectories), 1);

    // An instance that never found its library has no settings file at all.
    TestPlugin unplaced;
    EXPECT_EQ (unplaced.getUserSettingsFile(), juce::File());
    EXPECT_FALSE (unplaced.saveUserSettings());
    EXPECT_FALSE (unplaced.loadUserSettings());
}

TEST_F (SettingsFileTest, PluginDirectoriesTakeOnlyExistingFolders)
{
    auto directories = BasePlugin::createPluginDirectoriesXml (folder);
    EXPECT_EQ (BasePlugin::readPluginDirectoriesXml (*directories), folder);

    EXPECT_EQ (BasePlugin::readPluginDirectoriesXml (*juce::parseXML ("<PluginDirectories><RecentlyUsed dir=''/></PluginDirectories>")), juce::File());
    EXPECT_EQ (BasePlugin::readPluginDirectoriesXml (*juce::parseXML ("<PluginDirectories><RecentlyUsed dir='relative'/></PluginDirectories>")), juce::File());

    const auto file = folder.getChildFile ("file.txt");
    file.replaceWithText ("x");
    EXPECT_EQ (BasePlugin::readPluginDirectoriesXml (*BasePlugin::createPluginDirectoriesXml (file)), juce::File());

    EXPECT_EQ (BasePlugin::readPluginDirectoriesXml (*juce::parseXML ("<PLUGINDIRECTORIES><recentlyused DIR='" + folder.getFullPathName() + "'/></PLUGINDIRECTORIES>")),
               folder);
}

TEST_F (SettingsFileTest, InitialiseLoadsTheUserMidiMapWhenTheSettingsChooseOne)
{
    const auto mapFile = folder.getChildFile ("user.PXccmap");
    mapFile.replaceWithText ("<MidiControlMap name='TestPlugin'><assign CC='12' param='Cymbal Tone'/></MidiControlMap>");

    TestPlugin chosen;
    chosen.setUserSettingsFile (folder.getChildFile ("TestPlugin.ini"));
    chosen.preInitialise();
    chosen.getMidiControl().setUseUserMap (true);
    chosen.getMidiControl().setUserMapFile (mapFile);
    chosen.initialise();
    EXPECT_EQ (chosen.getMidiControl().getParameterAt (12), chosen.getParameterManager().getParameter (18));

    TestPlugin notChosen;
    notChosen.setUserSettingsFile (folder.getChildFile ("TestPlugin.ini"));
    notChosen.preInitialise();
    notChosen.getMidiControl().setUserMapFile (mapFile);
    notChosen.initialise();
    EXPECT_EQ (notChosen.getMidiControl().getNumAssigned(), 0);

    TestPlugin missing;
    missing.setUserSettingsFile (folder.getChildFile ("TestPlugin.ini"));
    missing.preInitialise();
    missing.getMidiControl().setUseUserMap (true);
    missing.getMidiControl().setUserMapFile (folder.getChildFile ("gone.PXccmap"));
    missing.initialise();
    EXPECT_EQ (missing.getMidiControl().getNumAssigned(), 0);
}
