#include "../TempFolder.h"
#include "EditorTestHost.h"
#include "EditorWindowsTestSupport.h"

#include "editor/DrumMapSettingsComponent.h"
#include "editor/OldStylePresetBrowserWindow.h"
#include "editor/OptionsWindow.h"
#include "editor/OutputsSettingsComponent.h"
#include "editor/PatternsSettingsComponent.h"
#include "editor/PresetsSettingsComponent.h"
#include "editor/SequencerSettingsComponent.h"
#include "engine/DrumMachineCore.h"
#include "gui/widgets/GFXButton.h"
#include "gui/widgets/GFXDisplay.h"

#include <gtest/gtest.h>

using editor_test::click;
using editor_test::mouseAt;
using editor_test::script;

namespace
{
using Outputs = DrumMachineEditor::OutputsSettingsComponent;
using Sequencer = DrumMachineEditor::SequencerSettingsComponent;

constexpr int snare = 1;
constexpr int snareKey = 38;

/** Opens the combo's menu and clicks the row of the item with that id. */
void choose (ComboBoxEx& box, int id)
{
    box.mouseDown (mouseAt (box, {5, 5}));
    auto* popup = box.getMenu().getComponent();
    ASSERT_TRUE (popup->isShown());
    int row = 0;

    while (row < box.getMenu().getNumItems() && box.getMenu().getItem (row)->id != id)
        ++row;

    ASSERT_LT (row, box.getMenu().getNumItems()) << id;
    auto& window = *popup->getWindow (0);
    window.mouseDown (mouseAt (window, {10, 6 + PopupMenuEx::Window::rowHeight * row + 4}));
    pumpPendingMessages();
}

void tick (CheckBox& box)
{
    click (box.getButton());
}
void select (RadioButtons& radio, int index)
{
    click (*radio.getButton (index));
}

struct Counter : public CheckBox::Listener
{
    int calls = 0;
    void checkBoxChanged (CheckBox*) override { ++calls; }
};

} // namespace

TEST (SettingsPages, OutputsPageDefaultsAndTriggerOutput)
{
    EditorTestHost host;
    auto& plugin = *host.plugin;
    auto& page = *host.editor().getOutputsPage();

    // The type shows the default mode; a change waits for the next instance.
    EXPECT_EQ (page.getTypeChoice().getSelectedIndex(), 0);
    select (page.getTypeChoice(), 1);
    EXPECT_EQ (plugin.getDefaultOutputMode(), 1);
    EXPECT_FALSE (plugin.isMonoOutputMode());

    // Every voice combo lists the outputs 1 to 8.
    for (int voice = 0; voice < 7; ++voice)
    {
        EXPECT_EQ (page.getDefaultOutputBox (voice).getMenu().getNumItems(), 8);
        EXPECT_EQ (page.getDefaultOutputBox (voice).getText(), "1");
    }

    // Each combo keeps the same gap from its label, the trigger's combos too.
    for (auto* box : {&page.getDefaultOutputBox (0), &page.getDefaultOutputBox (6), &page.getTriggerSourceBox(),
                      &page.getTriggerOutputBox()})
    {
        auto* label = dynamic_cast<juce::Label*> (box->getParentComponent()->getChildComponent (0));
        ASSERT_NE (label, nullptr);
        EXPECT_EQ (box->getX() - label->getRight(), 4) << label->getText();
        EXPECT_EQ (box->getBounds().getCentreY(), label->getBounds().getCentreY()) << label->getText();
    }

    choose (page.getDefaultOutputBox (4), 6);
    EXPECT_EQ (plugin.getDefaultOutputNumber (4), 6);

    // The snare routed to output 3 becomes its default.
    host.parameter (DrumMachine::firstOutputNumberUid + snare).setNormalisedValue (2.0f / 7.0f, true);
    ASSERT_EQ (plugin.getOutputNumber (snare), 3);
    click (page.getSetFromCurrentButton());
    EXPECT_EQ (plugin.getDefaultOutputNumber (snare), 3);
    EXPECT_EQ (page.getDefaultOutputBox (snare).getText(), "3");
    EXPECT_EQ (page.getDefaultOutputBox (4).getText(), "1");

    // The trigger source and output chosen on the page carry the snare's pulse to output 3.
    auto& source = page.getTriggerSourceBox();
    EXPECT_EQ (source.getText(), " - None - ");
    EXPECT_EQ (source.getMenu().getItemText (7), "Accent");
    EXPECT_EQ (page.getTriggerOutputBox().getText(), "8");
    host.parameter (DrumMachine::firstOutputNumberUid + snare).setNormalisedValue (0.0f, true);
    choose (source, snare);
    choose (page.getTriggerOutputBox(), 3);
    EXPECT_EQ (plugin.getTriggerOutput(), 3);
    EXPECT_EQ (host.outputsSoundingAfter (snareKey), (std::vector<int>{1, 3}));

    // Both come back in a fresh instance's page once its state is restored.
    juce::MemoryBlock saved;
    plugin.getStateInformation (saved);
    EditorTestHost fresh;
    auto& freshPage = *fresh.editor().getOutputsPage();
    EXPECT_EQ (freshPage.getTriggerOutputBox().getText(), "8");
    fresh.plugin->setStateInformation (saved.getData(), (int) saved.getSize());
    pumpPendingMessages();
    EXPECT_EQ (freshPage.getTriggerSourceBox().getText(), "Snare Drum");
    EXPECT_EQ (freshPage.getTriggerOutputBox().getText(), "3");
    EXPECT_EQ (fresh.outputsSoundingAfter (snareKey), (std::vector<int>{1, 3}));

    // " - None - " switches the pulse off and keeps the source voice.
    choose (source, Outputs::noTriggerSource);
    EXPECT_FALSE (plugin.getCore()->isTriggerOutEnabled());
    EXPECT_EQ (plugin.getCore()->getTriggerOutInstrument(), snare);
    EXPECT_EQ (host.outputsSoundingAfter (snareKey), (std::vector<int>{1}));
}

TEST (SettingsPages, SequencerPageFollowsTheModesAndGreysDefaults)
{
    EditorTestHost host;
    auto& plugin = *host.plugin;
    auto& page = *host.editor().getSequencerPage();
    const bool sequencerOn = plugin.isInternalSequencerOn();
    EXPECT_EQ (page.getCurrentBox (Sequencer::internalSequencerBox).getToggleState(), sequencerOn);
    EXPECT_EQ (page.getCurrentBox (Sequencer::hostModeBox).getText(), "Host Mode");

    // The panel's mode buttons move the current boxes, without a change coming back.
    Counter counter;
    page.getCurrentBox (Sequencer::hostModeBox).addListener (&counter);
    const bool hostMode = plugin.isHostModeOn();
    plugin.handleEvent (DrumMachine::toggleHostModeEvent);
    pumpPendingMessages();
    EXPECT_NE (plugin.isHostModeOn(), hostMode);
    EXPECT_EQ (page.getCurrentBox (Sequencer::hostModeBox).getToggleState(), plugin.isHostModeOn());
    EXPECT_EQ (counter.calls, 0);
    page.getCurrentBox (Sequencer::hostModeBox).removeListener (&counter);

    // Ticking the boxes sets the modes; without the sequencer the others are greyed.
    if (!sequencerOn)
        tick (page.getCurrentBox (Sequencer::internalSequencerBox));
    ASSERT_TRUE (plugin.isInternalSequencerOn());
    const bool noteOff = plugin.isNoteOffModeOn();
    tick (page.getCurrentBox (Sequencer::noteOffModeBox));
    EXPECT_NE (plugin.isNoteOffModeOn(), noteOff);
    tick (page.getCurrentBox (Sequencer::internalSequencerBox));
    EXPECT_FALSE (plugin.isInternalSequencerOn());
    pumpPendingMessages();
    EXPECT_FALSE (page.getCurrentBox (Sequencer::noteOffModeBox).isEnabled());
    EXPECT_FALSE (page.getCurrentBox (Sequencer::internalClockBox).isEnabled());

    // Unticking the default sequencer greys and unticks the other defaults, keeping them.
    plugin.setModeDefaults (true, true, true, true);
    tick (page.getDefaultBox (Sequencer::internalSequencerBox));
    EXPECT_FALSE (plugin.getInternalSequencerDefault());
    EXPECT_TRUE (plugin.getInternalSyncDefault());

    for (int mode = Sequencer::internalClockBox; mode < Sequencer::numModes; ++mode)
    {
        EXPECT_FALSE (page.getDefaultBox (mode).isEnabled());
        EXPECT_FALSE (page.getDefaultBox (mode).getToggleState());
    }

    tick (page.getDefaultBox (Sequencer::internalSequencerBox));
    EXPECT_TRUE (page.getDefaultBox (Sequencer::hostModeBox).getToggleState());
    tick (page.getDefaultBox (Sequencer::hostModeBox));
    EXPECT_FALSE (plugin.getHostModeDefault());
    EXPECT_TRUE (plugin.getNoteOffDefault());
}

TEST (SettingsPages, StartUpChoicesReachTheSettingsFileAndTheNextInstance)
{
    EditorTestHost host;
    auto& plugin = *host.plugin;
    auto& editor = host.editor();
    TempFolder folder;
    const auto userMap = folder.file ("Kit.PXdrmap").getFullPathName();
    const auto userBank = folder.file ("Set.PXptrb").getFullPathName();

    select (editor.getOutputsPage()->getTypeChoice(), 1);
    choose (editor.getOutputsPage()->getDefaultOutputBox (2), 5);
    select (editor.getSequencerPage()->getDetectionChoice(), 1);
    tick (editor.getSequencerPage()->getDefaultBox (Sequencer::internalSequencerBox));
    auto& patterns = editor.getPatternsPage()->getGroup (0);
    EXPECT_EQ (editor.getPatternsPage()->getNumGroups(), 1);
    EXPECT_EQ (patterns.getTitle(), "Default patterns");
    select (patterns, 1);
    EXPECT_EQ (host.seq().getPatternsSource(), DrumMachineSeq::clearPatterns);
    auto& drumMap = editor.getDrumMapPage()->getDefaultMapChoice();
    auto launcher = std::make_unique<editor_test::ScriptedLauncher>();
    launcher->answers = {juce::File (userMap)};
    auto& browsed = *launcher;
    drumMap.getPathComponent().setFileChooserLauncher (std::move (launcher));
    select (drumMap, 0);
    EXPECT_FALSE (drumMap.getPathComponent().isEnabled());
    select (drumMap, 1);
    click (drumMap.getPathComponent().getBrowseButton());
    EXPECT_EQ (browsed.wildcards[0], plugin.getDrumMapFileFilter());
    EXPECT_EQ (drumMap.getPathComponent().getPath(), userMap);
    EXPECT_EQ (drumMap.getSelectedIndex(), 1);
    EXPECT_EQ (plugin.getDrumMapSource(), DrumMachine::userDrumMap);

    ASSERT_TRUE (plugin.saveUserSettings());
    PulsaretTestHost next (host.settingsFile.loadFileAsString());
    EXPECT_TRUE (next.plugin->isMonoOutputMode());
    EXPECT_EQ (next.plugin->getDefaultOutputNumber (2), 5);
    EXPECT_EQ (next.plugin->getHostPlayDetection(), 1);
    EXPECT_EQ (next.plugin->getInternalSequencerDefault(), plugin.getInternalSequencerDefault());
    EXPECT_EQ (next.seq().getPatternsSource(), DrumMachineSeq::clearPatterns);
    EXPECT_EQ (next.plugin->getUserDrumMapFile(), userMap);

    // Its pages show them; a stored path differing only in letter case is shown as stored.
    next.seq().setPatternsFile (userBank.toLowerCase());
    DrumMachineEditor::PatternsSettingsComponent nextPatterns (*next.plugin);
    DrumMachineEditor::DrumMapSettingsComponent nextMap (*next.plugin);
    EXPECT_EQ (nextPatterns.getGroup (0).getSelectedIndex(), 2);
    EXPECT_EQ (nextPatterns.getGroup (0).getPathComponent().getPath(), userBank.toLowerCase());
    next.seq().setPatternsFile (userBank);
    nextPatterns.updateFromPlugin();
    EXPECT_EQ (nextPatterns.getGroup (0).getPathComponent().getPath(), userBank);
    EXPECT_EQ (nextMap.getDefaultMapChoice().getSelectedIndex(), 1);
    EXPECT_EQ (nextMap.getDefaultMapChoice().getPathComponent().getPath(), userMap);
    EXPECT_EQ (DrumMachineEditor::OutputsSettingsComponent (*next.plugin).getTypeChoice().getSelectedIndex(), 1);
}

TEST (SettingsPages, DrumMapFilesRoundTripAndADamagedOneChangesNothing)
{
    EditorTestHost host;
    auto& plugin = *host.plugin;
    auto& page = *host.editor().getDrumMapPage();
    auto& chooser = script (page.getDocumentChooser());
    TempFolder folder;
    plugin.setDialogFolder (folder.folder);
    EXPECT_EQ (page.getLoadButton().getX() < page.getSaveButton().getX(), true);

    // "Drums" is written as "Drums.PXdrmap" in the folder last used.
    plugin.clearDrumMap();
    chooser.answers = {folder.file ("Drums")};
    click (page.getSaveButton());
    EXPECT_EQ (chooser.titles[0], "Save drum map");
    EXPECT_EQ (chooser.wildcards[0], "*.PXdrmap");
    EXPECT_EQ (chooser.initialFiles[0], folder.folder);
    const auto written = folder.file ("Drums.PXdrmap");
    ASSERT_TRUE (written.existsAsFile());

    // It loads into a fresh instance the same; a cancelled chooser changes nothing.
    EditorTestHost fresh;
    auto& freshPage = *fresh.editor().getDrumMapPage();
    auto& freshChooser = script (freshPage.getDocumentChooser());
    const auto factory = fresh.plugin->createDrumMapXml()->toString();
    ASSERT_NE (factory, plugin.createDrumMapXml()->toString());
    click (freshPage.getLoadButton());
    EXPECT_EQ (fresh.plugin->createDrumMapXml()->toString(), factory);
    freshChooser.answers = {written};
    click (freshPage.getLoadButton());
    EXPECT_EQ (freshChooser.titles[1], "Load drum map");
    EXPECT_EQ (freshChooser.wildcards[1], fresh.plugin->getDrumMapFileFilter());
    EXPECT_EQ (fresh.plugin->createDrumMapXml()->toString(), plugin.createDrumMapXml()->toString());
    EXPECT_EQ (fresh.plugin->getDialogFolder(), folder.folder);

    // A damaged file, or a map of a version whose keys cannot be known, says so in a one-button
    // notice and leaves the map.
    const auto damaged = folder.file ("Broken.PXdrmap");
    ASSERT_TRUE (damaged.replaceWithText (written.loadFileAsString().dropLastCharacters (20)));
    const auto unknown = folder.file ("Future.PXdrmap");
    ASSERT_TRUE (unknown.replaceWithText (written.loadFileAsString().replace ("ver=\"1.1\"", "ver=\"2.0\"")));
    fresh.plugin->loadFactoryDrumMap();

    for (const auto& file : {damaged, unknown})
    {
        freshChooser.answers = {file};
        click (freshPage.getLoadButton());
        auto* notice = freshPage.getDocumentChooser().getNotice();
        ASSERT_NE (notice, nullptr);
        EXPECT_TRUE (notice->isShown());
        EXPECT_EQ (notice->getNumButtons(), 1);
        EXPECT_EQ (notice->getMessage(), "\"" + file.getFileName() + "\" could not be loaded.");
        EXPECT_EQ (fresh.plugin->createDrumMapXml()->toString(), factory);
    }
}

TEST (SettingsPages, PatternBankFilesRoundTripIntoAFreshInstance)
{
    EditorTestHost host;
    auto& editor = host.editor();
    auto& chooser = script (editor.getPatternFiles());
    TempFolder folder;
    host.seq().getPattern (5)->name = "Breaks";

    chooser.answers = {folder.file ("Drums")};
    editor.popupMenuItemSelected (&editor.getSaveMenu(), DrumMachineEditor::patternBank, false);
    const auto written = folder.file ("Drums.PXptrb");
    ASSERT_TRUE (written.existsAsFile());

    EditorTestHost fresh;
    auto& freshChooser = script (fresh.editor().getPatternFiles());
    freshChooser.answers = {written};
    fresh.editor().popupMenuItemSelected (&fresh.editor().getLoadMenu(), DrumMachineEditor::patternBank, false);
    EXPECT_EQ (fresh.seq().createPatternBankXml()->toString(), host.seq().createPatternBankXml()->toString());
}

TEST (SettingsPages, RenamingTheCurrentPresetInTheBrowserShowsOnThePanel)
{
    EditorTestHost host;
    auto& plugin = *host.plugin;
    host.click<GFXButton> ("PresetBrowseButton");
    auto& browser = host.editor().getPresetBrowserWindow()->getBrowser();
    ASSERT_TRUE (host.editor().getPresetBrowserWindow()->isVisible());
    const int current = plugin.getCurrentPreset();
    const int group = plugin.getGroupOfPreset (current);
    browser.getGroupColumn()->selectItem (group);
    browser.getPresetColumn()->renameItem (current - plugin.getFirstPresetOfGroup (group), "Dusty Kit");
    pumpFor (100);
    EXPECT_EQ (plugin.getPresetName (current), "Dusty Kit");
    EXPECT_EQ (host.widget<GFXDisplay> ("PresetNameDisplay").getText(), "Dusty Kit");
}

TEST (SettingsPages, Pictures)
{
    EditorTestHost host;
    auto& editor = host.editor();
    auto* options = editor.getOptionsWindow();
    host.plugin->setUserDrumMapFile ("/home/musician/Kits/Studio.PXdrmap");
    host.seq().setPatternsFile ("/home/musician/Projects/Live sets/Winter tour/Second half/Grooves and fills.PXptrb");
    editor.getDrumMapPage()->updateFromPlugin();
    editor.getPatternsPage()->updateFromPlugin();
    host.click<GFXButton> ("OptionsButton");
    ASSERT_TRUE (options->isVisible());

    // The path fields reach across their group, clear of the frame.
    auto& group = editor.getDrumMapPage()->getDefaultMapChoice();
    EXPECT_EQ (group.getWidth() - group.getPathComponent().getRight(), 2 * group.getTextGap());
    EXPECT_TRUE (editor.getPatternsPage()->getGroup (0).getPathComponent().isPathOverflowing());
    auto& tabs = options->getTabbedComponent();
    const char* names[] = {"outputs", "sequencer", "presets", "patterns", "drum-map"};

    for (int tab = 0; tab < 5; ++tab)
    {
        tabs.setCurrentTabIndex (tab);
        pumpPendingMessages();
        editor_test::snapshot (*options, juce::String ("settings-page-") + names[tab] + ".png");
    }

    // Shown, the pages have the toolkit's fonts and are laid out again: every path field
    // still ends as far from its group's frame.
    for (auto* group : {&editor.getPresetsPage()->getDefaultPresetsChoice(), &editor.getPatternsPage()->getGroup (0),
                        &editor.getDrumMapPage()->getDefaultMapChoice()})
        EXPECT_EQ (group->getWidth() - group->getPathComponent().getRight(), 2 * group->getTextGap()) << group->getTitle();
}
