#include "../StrictXml.h"
#include "EditorTestHost.h"
#include "editor/OldStylePresetBrowserWindow.h"
#include "editor/OldStylePresetsBrowser.h"
#include "framework/XmlDocuments.h"
#include "gui/widgets/GFXDisplay.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
const juce::String probe = "Probe KitZ";

/** probe with a control character after "Kit", and a tab, DEL and U+FFFF after the Z: what Ctrl+A
    once typed, and what a damaged file or chunk may bring. */
juce::String dirtyProbe()
{
    return juce::String ("Probe Kit") + juce::String::charToString (1) + "Z\t" + juce::String::charToString (0x7f)
           + juce::String::charToString (0xffff);
}

/** probe with the control characters a well-formed document can hold: DEL after "Kit", a tab and DEL
    after the Z. A document holding character 1 or U+FFFF, even as a reference, is no XML and is
    refused whole. */
juce::String documentProbe()
{
    return juce::String ("Probe Kit") + juce::String::charToString (0x7f) + "Z\t" + juce::String::charToString (0x7f);
}

/** The document of a chunk as the plug-in wrote it, to hand to another reader. */
juce::String chunkText (const juce::MemoryBlock& chunk)
{
    if (chunk.getSize() < 8)
        return {};

    const auto length = juce::jmin ((size_t) juce::ByteOrder::littleEndianInt (chunk.begin() + 4), chunk.getSize() - 8);
    return juce::String::fromUTF8 (chunk.begin() + 8, (int) length);
}

/** Every document the plug-in writes, as files named after where they came from. */
juce::Array<juce::File> writeEveryDocument (Pulsaret& plugin, const juce::File& folder, const juce::String& prefix)
{
    const auto file = [&] (const char* name)
    { return folder.getChildFile (prefix.replaceCharacters (" :/", "___") + "-" + name); };

    juce::MemoryBlock state, program;
    plugin.getStateInformation (state);
    plugin.getCurrentProgramStateInformation (program);
    file ("state.xml").replaceWithText (chunkText (state));
    file ("program.xml").replaceWithText (chunkText (program));
    plugin.savePresetFile (file ("preset.PXprs"), plugin.getCurrentPreset());
    plugin.saveBankFile (file ("bank.PXprsb"));
    plugin.getPulsaretSeq()->savePatternFile (0, file ("pattern.PXptr"));
    plugin.getPulsaretSeq()->savePatternBankFile (file ("patterns.PXptrb"));
    plugin.saveDrumMapFile (file ("map.PXdrmap"));

    juce::Array<juce::File> files;

    for (auto* name : {"state.xml", "program.xml", "preset.PXprs", "bank.PXprsb", "pattern.PXptr", "patterns.PXptrb", "map.PXdrmap"})
        files.add (file (name));

    return files;
}

/** Writes the element as our files are written, JUCE turning character 1 into "&#1;". */
juce::File writeDocument (const juce::XmlElement& element, const juce::File& file)
{
    EXPECT_TRUE (writeXmlDocument (element, file));
    return file;
}

juce::XmlElement* child (juce::XmlElement* parent, const char* tag)
{
    return parent != nullptr ? parent->getChildByName (tag) : nullptr;
}
} // namespace

// Through the real editors: the preset and pattern name displays and the preset browser's rename
// field, with the keys as X11 and JUCE hand them over.
TEST (NameCleaning, CtrlKeysTypeNothingWhileAltGrCharactersArrive)
{
    EditorTestHost host;
    auto& editor = host.editor();
    auto& plugin = *host.plugin;
    const int current = plugin.getCurrentPreset();
    plugin.setPresetName (current, "Probe Kit");
    plugin.setPatternWriteMode (true); // the pattern name is edited in write mode
    host.seq().setEditedPatternName ("Probe Kit");
    host.plugin->updatePatternNameState();
    pumpPendingMessages();

    // The keys as JUCE 7 hands them over on X11 (seen under Xvfb): Ctrl+A is the key "a" with
    // character 1, Ctrl+1 keeps its "1", Ctrl+Alt+Q is "q" with character 17. A key typed with
    // AltGr (ISO_Level3_Shift) comes with no modifier at all, with a right Alt that is no AltGr as Alt.
    const auto ctrl = juce::ModifierKeys::ctrlModifier, alt = juce::ModifierKeys::altModifier;
    const juce::KeyPress end (juce::KeyPress::endKey), ctrlA ('a', ctrl, 1), ctrl1 ('1', ctrl, '1'),
        ctrlAltQ ('q', ctrl | alt, 17), altGrAt ('@', {}, '@'), rightAltBracket ('[', alt, '['), z ('Z', {}, 'Z');

    auto& presetDisplay = host.widget<GFXDisplay> ("PresetNameDisplay");
    auto& patternDisplay = host.widget<GFXDisplay> ("PatternNameDisplay");
    auto* browser = editor.getPresetBrowserWindow();
    ASSERT_NE (browser, nullptr);
    editor.controllerEvent (nullptr, EventNameMap::browsePresetsEvent);
    pumpPendingMessages();

    // The browser's name field over the current preset's row, opened as a double click opens it.
    ModalTextEditor* renameField = nullptr;
    const auto openRenameField = [&]() -> juce::Component*
    {
        const int group = plugin.getGroupOfPreset (current), row = current - plugin.getFirstPresetOfGroup (group);
        browser->getBrowser().showPreset (group, row);
        auto* item = browser->getBrowser().getPresetColumn()->getItemComponent (row);
        item->showEditor();
        return renameField = item->getLabel().getEditor();
    };

    struct Field
    {
        std::function<juce::Component*()> open;
        std::function<juce::String()> shown, stored;
    };

    const auto presetName = [&] { return plugin.getPresetName (current); };
    const Field presetField{[&] { return &presetDisplay; }, [&] { return presetDisplay.getText(); }, presetName};
    const Field patternField{[&] { return &patternDisplay; }, [&] { return patternDisplay.getText(); },
                             [&] { return host.seq().getEditedPatternName(); }};
    const Field browserField{openRenameField, [&] { return renameField->getText(); }, presetName};

    struct Row
    {
        const char* field;
        const Field& edited;
        std::vector<juce::KeyPress> keys; // before Return
        juce::String typed;               // what the field holds then, and the name after Return
    };

    const Row rows[] = {
        {"preset name display", presetField, {end, ctrlA, z}, "Probe KitZ"},
        {"preset name display", presetField, {end, ctrl1, ctrlAltQ, altGrAt, rightAltBracket}, "Probe KitZ@["},
        {"pattern name display", patternField, {end, ctrlA, ctrl1, z, altGrAt}, "Probe KitZ@"},
        // Ctrl+A keeps its command there: it selects all, so the Z replaces the name.
        {"preset rename field", browserField, {ctrlA, z, ctrl1, ctrlAltQ, altGrAt, rightAltBracket}, "Z@["},
    };

    for (auto& row : rows)
    {
        SCOPED_TRACE (row.field);
        auto* target = row.edited.open();
        target->focusGained (juce::Component::focusChangedByMouseClick);

        for (auto& key : row.keys)
            target->keyPressed (key);

        EXPECT_EQ (row.edited.shown(), row.typed);
        target->keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
        pumpPendingMessages();
        EXPECT_EQ (row.edited.stored(), row.typed);
    }

    // What the field takes in otherwise (a paste) is cleaned as well.
    openRenameField()->focusGained (juce::Component::focusChangedByMouseClick);
    renameField->insertTextAtCaret (dirtyProbe());
    EXPECT_EQ (renameField->getText(), probe);
}

// Every way a name comes in from outside, given a name with control characters; then every document
// the plug-in writes must be one a strict XML 1.0 reader reads.
TEST (NameCleaning, NoPathLeavesAControlCharacterInANameOrADocument)
{
    EditorTestHost host;
    auto& plugin = *host.plugin;
    auto& seq = host.seq();
    const juce::File folder (host.folder);
    const auto dirty = dirtyProbe();
    const auto inDocument = documentProbe();
    plugin.selectPreset (0, true);
    plugin.setPatternWriteMode (true); // the pattern name parameter renames the edited pattern then

    using Names = std::function<juce::StringArray()>;
    const Names presetName = [&] { return juce::StringArray (plugin.getPresetName (0)); };
    const Names patternName = [&] { return juce::StringArray (seq.getPatternName (0)); };
    const Names bankNames = [&] { return juce::StringArray (plugin.getBankName(), plugin.getGroupName (0), plugin.getPresetName (0)); };

    struct Row
    {
        const char* path;
        std::function<void()> give; // hands the plug-in dirty by that path
        Names names;                // the names it reached, each must be probe
    };

    const Row rows[] = {
        {"state chunk from the host",
         [&]
         {
             auto state = plugin.createPluginStateXml();
             auto* bank = child (child (state.get(), "PresetsState"), "PresetBank");
             bank->setAttribute ("name", inDocument);
             child (bank, "PresetGroup")->setAttribute ("name", inDocument);
             child (child (bank, "PresetGroup"), "Preset")->setAttribute ("name", inDocument);
             child (child (child (state.get(), "PatternsState"), "PatternBank"), "Pattern")->setAttribute ("name", inDocument);
             child (state.get(), "DrumMap")->setAttribute ("name", inDocument);
             juce::MemoryBlock chunk;
             juce::AudioProcessor::copyXmlToBinary (*state, chunk);
             ASSERT_TRUE (chunkText (chunk).contains ("Probe Kit&#127;Z&#9;&#127;"));
             plugin.setStateInformation (chunk.getData(), (int) chunk.getSize());
         },
         [&]
         {
             auto names = bankNames();
             names.addArray (patternName());
             names.add (plugin.getDrumMap().getName());
             return names;
         }},
        {"program chunk from the host",
         [&]
         {
             auto preset = plugin.createPresetXmlForSlot (0);
             preset->setAttribute ("name", inDocument);
             juce::MemoryBlock chunk;
             juce::AudioProcessor::copyXmlToBinary (*preset, chunk);
             plugin.setCurrentProgramStateInformation (chunk.getData(), (int) chunk.getSize());
         },
         presetName},
        {"preset name parameter, set by the host or the panel",
         [&] { plugin.getParameterManager().getParameter (BasePluginOldStyle::currentPresetNameUid)->setText (dirty, true); },
         [&]
         {
             auto names = presetName();
             names.add (plugin.getParameterManager().getText (BasePluginOldStyle::currentPresetNameUid));
             return names;
         }},
        {"pattern name parameter, set by the panel",
         [&]
         {
             plugin.getParameterManager().getParameter (DrumMachine::patternNameUid)->setText (dirty, true);
             pumpPendingMessages();
         },
         [&] { return juce::StringArray (seq.getEditedPatternName(), plugin.getParameterManager().getText (DrumMachine::patternNameUid)); }},
        {"renamed by the editor's windows",
         [&]
         {
             plugin.setPresetName (0, dirty);
             plugin.setGroupName (0, dirty);
             seq.setPatternName (0, dirty);
         },
         [&] { return juce::StringArray (plugin.getPresetName (0), plugin.getGroupName (0), seq.getPatternName (0)); }},
        {"preset file",
         [&]
         {
             auto preset = plugin.createPresetXmlForSlot (0);
             preset->setAttribute ("name", inDocument);
             ASSERT_TRUE (plugin.loadPresetFile (writeDocument (*preset, folder.getChildFile ("in.PXprs")), 0));
         },
         presetName},
        {"preset file holding the control character itself, not a reference",
         [&]
         {
             auto preset = plugin.createPresetXmlForSlot (0);
             preset->setAttribute ("name", "@@");
             const auto file = folder.getChildFile ("raw.PXprs");
             // Raw in an attribute, a tab would read as a space: DEL alone.
             file.replaceWithText (preset->toString().replace ("@@", juce::String ("Probe Kit") + juce::String::charToString (0x7f) + "Z"));
             ASSERT_TRUE (plugin.loadPresetFile (file, 0));
         },
         presetName},
        {"preset bank file",
         [&]
         {
             auto bank = plugin.createPresetBankXml();
             bank->setAttribute ("name", inDocument);
             child (bank.get(), "PresetGroup")->setAttribute ("name", inDocument);
             child (child (bank.get(), "PresetGroup"), "Preset")->setAttribute ("name", inDocument);
             ASSERT_TRUE (plugin.loadBankFile (writeDocument (*bank, folder.getChildFile ("in.PXprsb"))));
         },
         bankNames},
        {"pattern file",
         [&]
         {
             auto pattern = seq.createPatternXml (1);
             pattern->setAttribute ("name", inDocument);
             ASSERT_TRUE (seq.loadPatternFile (0, writeDocument (*pattern, folder.getChildFile ("in.PXptr"))));
         },
         patternName},
        {"pattern bank file",
         [&]
         {
             auto bank = seq.createPatternBankXml();
             child (bank.get(), "Pattern")->setAttribute ("name", inDocument);
             ASSERT_TRUE (seq.loadPatternBankFile (writeDocument (*bank, folder.getChildFile ("in.PXptrb"))));
         },
         patternName},
        {"drum map file",
         [&]
         {
             auto map = plugin.createDrumMapXml();
             map->setAttribute ("name", inDocument);
             ASSERT_TRUE (plugin.loadDrumMapFile (writeDocument (*map, folder.getChildFile ("in.PXdrmap"))));
         },
         [&] { return juce::StringArray (plugin.getDrumMap().getName()); }},
    };

    juce::Array<juce::File> written;

    for (auto& row : rows)
    {
        SCOPED_TRACE (row.path);
        row.give();

        for (auto& name : row.names())
            EXPECT_EQ (name, probe);

        written.addArray (writeEveryDocument (plugin, folder, row.path));
    }

    EXPECT_EQ (refusedByStrictXmlReader (written), "");
}
