#include "../TempFolder.h"
#include "EditorTestHost.h"
#include "EditorWindowsTestSupport.h"

#include "editor/AboutWindow.h"
#include "editor/DrumMapSettingsComponent.h"
#include "editor/MidiControlComponent.h"
#include "editor/OldStylePresetBrowserWindow.h"
#include "editor/PatternsSettingsComponent.h"
#include "editor/OptionsWindow.h"
#include "editor/PresetsSettingsComponent.h"
#include "gui/widgets/GFXAnimation.h"
#include "gui/widgets/GFXButton.h"
#include "gui/widgets/GFXDisplay.h"
#include "gui/widgets/GFXKnob.h"
#include "gui/widgets/GFXMultiStateButton.h"
#include "gui/widgets/PatternNumberDisplay.h"

#include <gtest/gtest.h>

namespace
{
/** Answers every chooser at once with a scripted file. */
struct ScriptedChooser : public FileChooserLauncher
{
    juce::File answer;
    juce::StringArray titles, wildcards;

    void launch (const juce::String& title, const juce::File&, const juce::String& wildcard, Callback onChosen) override
    {
        titles.add (title);
        wildcards.add (wildcard);
        onChosen (answer);
    }

    void launchForSave (const juce::String& title, const juce::File&, const juce::String& wildcard, Callback onChosen) override
    {
        launch (title, {}, wildcard, std::move (onChosen));
    }
};

ScriptedChooser& scriptChooser (PulsaretEditor& editor)
{
    auto chooser = std::make_unique<ScriptedChooser>();
    auto& ref = *chooser;
    editor.getPatternFiles().setLauncher (std::move (chooser));
    return ref;
}

int countHighlighted (PulsaretEditor& editor)
{
    int n = 0;

    for (int i = 0; i < 16; ++i)
        n += editor.getStepButton (i)->isHighlighted() ? 1 : 0;

    return n;
}
} // namespace

TEST (DrumMachineEditor, WindowsTabsAndSizes)
{
    EditorTestHost host;
    auto& editor = host.editor();
    auto& tabs = editor.getOptionsWindow()->getTabbedComponent();

    EXPECT_EQ (tabs.getTabNames(), juce::StringArray ({"Outputs", "Sequencer", "Presets", "Patterns", "Drum map", "Midi Control"}));
    EXPECT_EQ (tabs.getCurrentTabIndex(), 0);
    EXPECT_EQ (editor.getOptionsWindow()->getBounds().getWidth(), 640);
    EXPECT_EQ (editor.getOptionsWindow()->getHeight(), 480);
    EXPECT_EQ (editor.getAboutWindow()->getWidth(), 550);
    EXPECT_EQ (editor.getAboutWindow()->getHeight(), 300);
    EXPECT_EQ (editor.getOptionsWindow()->getTitle(), "Options");

    if (EditorTestHost::hasEmbeddedSkin())
    {
        EXPECT_EQ (editor.getWidth(), 790);
        EXPECT_EQ (editor.getHeight(), 652);
        EXPECT_EQ (editor.getStatusBar()->getBounds(), juce::Rectangle<int> (0, 636, 790, 16));
    }

    // Changing tabs clears the status bar.
    editor.getStatusBar()->setMessage ("x", 7);
    tabs.setCurrentTabIndex (2);
    EXPECT_EQ (editor.getStatusBar()->getText(), "");
}

TEST (DrumMachineEditor, ParameterReactions)
{
    EditorTestHost host;
    auto& editor = host.editor();
    auto& plugin = *host.plugin;
    auto& number = host.widget<PatternNumberDisplay> ("PatternNumberDisplay");

    // Host mode shows the pattern as a note, otherwise as bank and slot.
    EXPECT_EQ (number.getDisplayMode(), PatternNumberDisplay::bankAndSlotMode);
    plugin.setHostMode (true);
    pumpPendingMessages();
    EXPECT_EQ (number.getDisplayMode(), PatternNumberDisplay::noteMode);
    plugin.setHostMode (false);
    pumpPendingMessages();
    EXPECT_EQ (number.getDisplayMode(), PatternNumberDisplay::bankAndSlotMode);

    // Random mode puts the threshold knob in the level knob's place, and back.
    auto& level = host.widget<GFXKnob> ("HiTomLevelKnob");
    auto& threshold = host.widget<GFXKnob> ("HiTomRandThresholdKnob");
    EXPECT_TRUE (level.isVisible());
    EXPECT_FALSE (threshold.isVisible());
    host.parameter (DrumMachine::firstRandStateUid + 3).setBoolValue (true, true);
    pumpPendingMessages();
    EXPECT_FALSE (level.isVisible());
    EXPECT_TRUE (threshold.isVisible());
    EXPECT_TRUE (host.widget<GFXAnimation> ("HiTomLevelModeLed").isBlinking());
    host.parameter (DrumMachine::firstRandStateUid + 3).setBoolValue (false, true);
    pumpPendingMessages();
    EXPECT_TRUE (level.isVisible());
    EXPECT_FALSE (threshold.isVisible());
    EXPECT_FALSE (host.widget<GFXAnimation> ("HiTomLevelModeLed").isBlinking());

    // Modes enable, blink and explain.
    plugin.setPatternWriteMode (true);
    pumpPendingMessages();
    EXPECT_TRUE (host.widget<GFXKnob> ("ShuffleKnob").isEnabled());
    plugin.handleEvent (DrumMachine::toggleLengthModeEvent);
    pumpPendingMessages();
    EXPECT_TRUE (host.widget<GFXMultiStateButton> ("PattLengthButton").isBlinking());
    EXPECT_EQ (editor.getStatusBar()->getText(), "Set pattern length using step buttons.");
    EXPECT_EQ (editor.getStatusBar()->getPriority(), 4);
    plugin.handleEvent (DrumMachine::toggleLengthModeEvent);
    pumpPendingMessages();
    EXPECT_FALSE (host.widget<GFXMultiStateButton> ("PattLengthButton").isBlinking());

    plugin.setPatternWriteMode (false);
    pumpPendingMessages();
    EXPECT_FALSE (host.widget<GFXKnob> ("ShuffleKnob").isEnabled());

    // Ready to play natively: the pattern name blinks at 200 ms.
    auto& name = host.widget<GFXDisplay> ("PatternNameDisplay");
    EXPECT_TRUE (name.isBlinking());
    EXPECT_EQ (name.getBlinkInterval(), 200);

    // With the internal sequencer off the pattern displays go dark and Ctrl + previous opens nothing.
    plugin.setInternalSequencer (false);
    pumpPendingMessages();
    EXPECT_FALSE (number.isEnabled());
    EXPECT_FALSE (name.isEnabled());
    const int edited = host.seq().getEditedPatternIndex();
    host.click<GFXButton> ("PattPrevButton", true);
    EXPECT_FALSE (editor.getLoadMenu().getComponent()->isShown());
    EXPECT_EQ (host.seq().getEditedPatternIndex(), edited);

    plugin.setInternalSequencer (true);
    pumpPendingMessages();
    host.click<GFXButton> ("PattPrevButton", true);
    EXPECT_TRUE (editor.getLoadMenu().getComponent()->isShown());
}

TEST (DrumMachineEditor, WriteSelectAndStepPutAHitOnTheSnare)
{
    EditorTestHost host;
    auto& seq = host.seq();
    seq.clearPattern();

    host.click<GFXMultiStateButton> ("WriteButton");
    host.click<GFXMultiStateButton> ("SnareDrumSelectButton");
    host.click<GFXMultiStateButton> ("Step05Button");

    for (int track = 0; track < 8; ++track)
        for (int step = 0; step < 16; ++step)
            EXPECT_EQ (seq.getStep (track, step), track == 1 && step == 4 ? 1 : 0) << track << " " << step;

    EXPECT_EQ (host.widget<GFXMultiStateButton> ("Step05Button").getStateIndex(), 1);
}

TEST (DrumMachineEditor, TheRunningStepAndTheTriggerLights)
{
    EditorTestHost host;
    auto& editor = host.editor();
    auto& plugin = *host.plugin;
    editor.setVisible (true);

    editor.refresh();
    EXPECT_EQ (plugin.getPlayingStep(), -1);
    EXPECT_EQ (countHighlighted (editor), 0);

    plugin.handleEvent (DrumMachine::startEvent);
    host.run (6000);
    pumpPendingMessages();
    editor.refresh();
    const int step = plugin.getPlayingStep();
    ASSERT_GE (step, 0);
    EXPECT_EQ (countHighlighted (editor), 1);
    EXPECT_TRUE (editor.getStepButton (step)->isHighlighted());

    plugin.handleEvent (DrumMachine::stopEvent);
    host.run (512);
    pumpPendingMessages();
    editor.refresh();
    EXPECT_EQ (countHighlighted (editor), 0);

    // A strike lights its voice; the accent track has no light and keeps its flag.
    (void) plugin.takeActivity (1);
    (void) plugin.takeActivity (7);
    {
        const juce::ScopedLock sl (plugin.getCallbackLock());
        plugin.triggerInstrument (1, 0.5f);
        plugin.triggerInstrument (7, 0.5f);
    }
    editor.refresh();
    EXPECT_EQ (editor.getActivityLight (1)->getStateIndex(), 1);
    EXPECT_EQ (editor.getActivityLight (7), nullptr);
    EXPECT_EQ (plugin.takeActivity (1), 0);
    EXPECT_EQ (plugin.takeActivity (7), 1);

    pumpFor (250);
    EXPECT_EQ (editor.getActivityLight (1)->getStateIndex(), 0);
}

TEST (DrumMachineEditor, SavingAsksAboutTheFileWithItsExtensionAndNoKeepsIt)
{
    EditorTestHost host;
    auto& editor = host.editor();
    auto& chooser = scriptChooser (editor);
    TempFolder folder;
    const auto existing = folder.file ("Groove.PXptr");
    ASSERT_TRUE (existing.replaceWithText ("keep me"));
    chooser.answer = folder.file ("Groove");

    editor.popupMenuItemSelected (&editor.getSaveMenu(), DrumMachineEditor::singlePattern, false);
    EXPECT_EQ (chooser.titles[0], "Save current pattern");
    EXPECT_EQ (chooser.wildcards[0], "*.PXptr");
    auto* question = editor.getPatternFiles().getQuestion();
    ASSERT_NE (question, nullptr);
    ASSERT_TRUE (question->isShown());
    EXPECT_TRUE (question->getMessage().contains ("\"Groove.PXptr\""));

    question->getButton (1)->triggerClick(); // "No"
    pumpPendingMessages();
    EXPECT_FALSE (question->isShown());
    EXPECT_EQ (existing.loadFileAsString(), "keep me");
    EXPECT_FALSE (folder.file ("Groove").exists());

    // "Yes" replaces it with the pattern; the folder is remembered.
    editor.popupMenuItemSelected (&editor.getSaveMenu(), DrumMachineEditor::singlePattern, false);
    editor.getPatternFiles().getQuestion()->getButton (0)->triggerClick();
    pumpPendingMessages();
    auto xml = juce::parseXML (existing);
    ASSERT_NE (xml, nullptr);
    EXPECT_TRUE (xml->hasTagName ("Pattern"));
    EXPECT_EQ (host.plugin->getDialogFolder(), folder.folder);

    // A new bank file is written without a question.
    chooser.answer = folder.file ("All");
    editor.popupMenuItemSelected (&editor.getSaveMenu(), DrumMachineEditor::patternBank, false);
    EXPECT_TRUE (folder.file ("All.PXptrb").existsAsFile());
}

TEST (DrumMachineEditor, EveryChooserOpensInTheDialogFolderAndOnlyAFileReadOrWrittenMovesIt)
{
    EditorTestHost host;
    auto& editor = host.editor();
    auto& plugin = *host.plugin;
    auto& browser = *editor.getPresetBrowserWindow();
    auto& drumMap = *editor.getDrumMapPage();
    auto& midi = *editor.getMidiControlComponent();
    TempFolder dialogFolder, elsewhere;

    auto pattern = [&editor] (PopupMenuEx& menu, int kind)
    {
        return [&editor, &menu, kind]
        {
            editor.popupMenuItemSelected (&menu, kind, false);
            pumpPendingMessages();
        };
    };
    auto press = [] (juce::Button* button)
    {
        return [button]
        { editor_test::click (*button); };
    };

    struct Chooser
    {
        const char* name;
        DocumentFileChooser& files;
        std::function<void()> load, save;
        juce::String extension;
    };

    const Chooser choosers[] = {
        {"preset", browser.getDocumentChooser(), press (&browser.getPresetLoadButton()), press (&browser.getPresetSaveButton()), ".PXprs"},
        {"preset bank", browser.getDocumentChooser(), press (&browser.getBankLoadButton()), press (&browser.getBankSaveButton()), ".PXprsb"},
        {"pattern", editor.getPatternFiles(), pattern (editor.getLoadMenu(), DrumMachineEditor::singlePattern),
         pattern (editor.getSaveMenu(), DrumMachineEditor::singlePattern), ".PXptr"},
        {"pattern bank", editor.getPatternFiles(), pattern (editor.getLoadMenu(), DrumMachineEditor::patternBank),
         pattern (editor.getSaveMenu(), DrumMachineEditor::patternBank), ".PXptrb"},
        {"drum map", drumMap.getDocumentChooser(), press (&drumMap.getLoadButton()), press (&drumMap.getSaveButton()),
         plugin.getDrumMapFileExtension()},
        {"MIDI map", midi.getDocumentChooser(), press (midi.getImageButton ("Load Map")), press (midi.getImageButton ("Save Map")),
         ".PXccmap"},
    };

    for (const auto& c : choosers)
    {
        SCOPED_TRACE (c.name);
        auto& dialogs = editor_test::script (c.files);
        const auto file = elsewhere.file (juce::String (c.name) + c.extension);
        const auto damaged = elsewhere.file (juce::String ("damaged ") + c.name + c.extension);
        ASSERT_TRUE (damaged.replaceWithText ("<"));

        // Written: the folder follows the file.
        plugin.setDialogFolder (dialogFolder.folder);
        dialogs.answers = {elsewhere.file (c.name)};
        c.save();
        ASSERT_TRUE (file.existsAsFile());
        EXPECT_EQ (plugin.getDialogFolder(), elsewhere.folder);

        // Cancelled, "No" to replacing, a failed save, a failed load: each opened in the dialog folder and
        // left it there. A name too long for the file system fails in a folder that exists.
        plugin.setDialogFolder (dialogFolder.folder);
        const auto unwritable = elsewhere.file (juce::String::repeatedString ("x", 300));
        dialogs.answers = {juce::File(), file, unwritable, damaged};
        c.save();
        c.save();
        ASSERT_NE (c.files.getQuestion(), nullptr);
        editor_test::click (*c.files.getQuestion()->getButton (1)); // "No"
        c.save();
        ASSERT_NE (c.files.getNotice(), nullptr);
        EXPECT_EQ (c.files.getNotice()->getMessage(), "\"" + unwritable.getFileName() + c.extension + "\" could not be saved.");
        EXPECT_EQ (plugin.getDialogFolder(), dialogFolder.folder);
        c.load();
        ASSERT_NE (c.files.getNotice(), nullptr);
        EXPECT_EQ (c.files.getNotice()->getMessage(), "\"" + damaged.getFileName() + "\" could not be loaded.");
        EXPECT_EQ (plugin.getDialogFolder(), dialogFolder.folder);

        // Read: the folder follows the file.
        dialogs.answers = {file};
        c.load();
        EXPECT_EQ (plugin.getDialogFolder(), elsewhere.folder);

        ASSERT_EQ (dialogs.initialFiles.size(), 6);
        for (const auto& initial : dialogs.initialFiles)
            EXPECT_EQ (initial, dialogFolder.folder);
    }

    // The path rows' "Browse" opens there too; picking a path reads nothing and leaves the folder.
    PathComponent* paths[] = {&editor.getPresetsPage()->getDefaultPresetsChoice().getPathComponent(),
                              &editor.getPatternsPage()->getGroup (0).getPathComponent(),
                              &drumMap.getDefaultMapChoice().getPathComponent(),
                              &midi.getDefaultMapCheckBox().getPathComponent()};

    for (auto* path : paths)
    {
        auto launcher = std::make_unique<editor_test::ScriptedLauncher>();
        auto& dialogs = *launcher;
        path->setFileChooserLauncher (std::move (launcher));
        plugin.setDialogFolder (dialogFolder.folder);
        dialogs.answers = {elsewhere.file ("picked")};
        path->browse();
        pumpPendingMessages();
        ASSERT_EQ (dialogs.initialFiles.size(), 1);
        EXPECT_EQ (dialogs.initialFiles[0], dialogFolder.folder);
        EXPECT_EQ (path->getPath(), elsewhere.file ("picked").getFullPathName());
        EXPECT_EQ (plugin.getDialogFolder(), dialogFolder.folder);
    }
}

TEST (DrumMachineEditor, AFailedLoadOrSaveSaysSoAndChangesNothing)
{
    EditorTestHost host;
    auto& editor = host.editor();
    auto& chooser = scriptChooser (editor);
    TempFolder folder;
    auto& seq = host.seq();
    const auto before = seq.createPatternBankXml()->toString();

    chooser.answer = folder.file ("broken.PXptrb");
    ASSERT_TRUE (chooser.answer.replaceWithText ("<PatternBank application=\"Pulsaret\"><Pattern"));
    editor.popupMenuItemSelected (&editor.getLoadMenu(), DrumMachineEditor::patternBank, false);
    EXPECT_EQ (chooser.titles[0], "Load pattern bank");
    ASSERT_NE (editor.getPatternFiles().getNotice(), nullptr);
    EXPECT_TRUE (editor.getPatternFiles().getNotice()->isShown());
    EXPECT_EQ (editor.getPatternFiles().getNotice()->getNumButtons(), 1);
    EXPECT_TRUE (editor.getPatternFiles().getNotice()->getMessage().contains ("could not be loaded"));
    EXPECT_EQ (seq.createPatternBankXml()->toString(), before);
    editor.getPatternFiles().getNotice()->getButton (0)->triggerClick();
    pumpPendingMessages();
    EXPECT_FALSE (editor.getPatternFiles().getNotice()->isShown());

    // Saving into a folder that does not exist.
    chooser.answer = folder.file ("missing").getChildFile ("Groove");
    editor.popupMenuItemSelected (&editor.getSaveMenu(), DrumMachineEditor::singlePattern, false);
    EXPECT_TRUE (editor.getPatternFiles().getNotice()->isShown());
    EXPECT_TRUE (editor.getPatternFiles().getNotice()->getMessage().contains ("could not be saved"));
}

TEST (DrumMachineEditor, EditedNamesAndThePresetsPage)
{
    EditorTestHost host;
    auto& editor = host.editor();
    auto& plugin = *host.plugin;

    // A finished edit of a name display (what the display reports) renames its target.
    auto& presetName = host.widget<GFXDisplay> ("PresetNameDisplay");
    presetName.setText ("Big Room");
    editor.displayTextChanged (&presetName);
    EXPECT_EQ (plugin.getPresetName (plugin.getCurrentPreset()), "Big Room");

    auto& patternName = host.widget<GFXDisplay> ("PatternNameDisplay");
    patternName.setText ("Groove");
    editor.displayTextChanged (&patternName);
    pumpPendingMessages();
    EXPECT_EQ (host.seq().getEditedPatternName(), "Groove");

    // "Automatic" stores the sound into the current preset at once; "On demand" stores nothing.
    auto& page = *editor.getPresetsPage();
    EXPECT_FALSE (page.getChangingChoice().isVisible());
    auto* slot = plugin.getPresetSlot (plugin.getCurrentPreset());
    host.parameter (3).setNormalisedValue (0.125f, true);
    page.getStoringChoice().setSelectedIndex (1, true);
    EXPECT_NE (slot->getValue (3), 0.125f);
    page.getStoringChoice().setSelectedIndex (0, true);
    EXPECT_EQ (plugin.getStoringMode(), 0);
    EXPECT_FLOAT_EQ (slot->getValue (3), 0.125f);

    // The default presets choice acts at the next start, which the status bar says.
    page.getDefaultPresetsChoice().setSelectedIndex (1, true);
    EXPECT_EQ (plugin.getDefaultPresetsSource(), 1);
    EXPECT_EQ (editor.getStatusBar()->getText(), "Default Presets settings will be affected when plugin is loaded.");
}
