#include "PresetTestPlugin.h"
#include "tests/TempFolder.h"

#include "framework/EmbeddedResources.h"
#include "framework/FloatParameter.h"
#include "framework/XmlDocuments.h"

#include <gtest/gtest.h>

namespace
{
juce::MemoryBlock bytesOf (const juce::File& file)
{
    juce::MemoryBlock block;
    file.loadFileAsData (block);
    return block;
}

juce::String presetText (const juce::String& application, const juce::String& name, const juce::String& params)
{
    return "<Preset application=\"" + application + "\" name=\"" + name + "\">" + params + "</Preset>";
}

struct Snapshot
{
    explicit Snapshot (BasePluginOldStyle& plugin)
    {
        for (int i = 0; i < plugin.getNumPresets(); ++i)
        {
            names.add (plugin.getPresetName (i));
            for (int uid = 0; uid < 24; ++uid)
                values.add (plugin.getPresetSlot (i)->getValue (uid));
        }
        for (int g = 0; g < plugin.getNumGroups(); ++g)
            groups.add (plugin.getGroupName (g) + ":" + juce::String (plugin.getGroupSize (g)));
        for (int uid = 0; uid < 47; ++uid)
            parameters.add (plugin.getParameterManager().getNormalisedValue (uid));
        bank = plugin.getBankName();
        current = plugin.getCurrentPreset();
    }

    bool operator== (const Snapshot& other) const
    {
        return names == other.names && values == other.values && groups == other.groups && parameters == other.parameters && bank == other.bank && current == other.current;
    }

    juce::StringArray names, groups;
    juce::Array<float> values, parameters;
    juce::String bank;
    int current = 0;
};
} // namespace

TEST (PresetFiles, NamesAndPatterns)
{
    PresetTestPlugin plugin;
    EXPECT_EQ (plugin.getPresetFileExtension(), ".PXprs");
    EXPECT_EQ (plugin.getPresetFileWildcard(), "*.PXprs");
    EXPECT_EQ (plugin.getPresetFilePatterns(), "*.PXprs");
    EXPECT_EQ (plugin.getBankFileExtension(), ".PXprsb");
    EXPECT_EQ (plugin.getBankFileWildcard(), "*.PXprsb");
    EXPECT_EQ (plugin.getBankFilePatterns(), "*.PXprsb");
    EXPECT_EQ (plugin.getMidiMapFileExtension(), ".PXccmap");
    EXPECT_EQ (plugin.getMidiMapFilePatterns(), "*.PXccmap");
}

TEST (PresetFiles, PresetDocumentTextAndByteForByteRoundTrip)
{
    PresetTestPlugin plugin;
    plugin.start();
    TempFolder temp;

    // The embedded empty preset is written exactly as this layer writes it.
    plugin.selectPreset (40, false);
    ASSERT_TRUE (plugin.loadPresetXmlIntoSlot (*juce::parseXML (loadXmlResource ("default.PXprs")), 40));
    ASSERT_TRUE (plugin.savePresetFile (temp.file ("empty.PXprs"), 40));
    EXPECT_EQ (bytesOf (temp.file ("empty.PXprs")), *getResourceData ("default.PXprs"));

    auto* slot = plugin.getPresetSlot (41);
    slot->setName ("Odd & \"quoted\" <name>");
    slot->setValue (0, 0.1234567f);
    slot->setValue (1, 1.0f);
    slot->setValue (2, 0.0f);
    slot->setValue (3, 0.776f);
    auto xml = plugin.createPresetXmlForSlot (41);
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getTagName(), "Preset");
    EXPECT_EQ (xml->getStringAttribute ("application"), "Pulsaret");
    EXPECT_EQ (xml->getStringAttribute ("name"), "Odd & \"quoted\" <name>");
    ASSERT_EQ (xml->getNumChildElements(), 24);
    EXPECT_EQ (xml->getChildElement (0)->getStringAttribute ("name"), "Bass Drum Level");
    EXPECT_EQ (xml->getChildElement (0)->getStringAttribute ("value"), "0.123457");
    EXPECT_EQ (xml->getChildElement (1)->getStringAttribute ("value"), "1");
    EXPECT_EQ (xml->getChildElement (2)->getStringAttribute ("value"), "0");
    EXPECT_EQ (xml->getChildElement (3)->getStringAttribute ("value"), "0.776");
    EXPECT_EQ (xml->getChildElement (23)->getStringAttribute ("name"), "Hi Hats Link Mode");
    EXPECT_EQ (plugin.createPresetXmlForSlot (128), nullptr);

    // Saved, read into another slot, saved again: the same bytes.
    ASSERT_TRUE (plugin.savePresetFile (temp.file ("a.PXprs"), 41));
    ASSERT_TRUE (plugin.loadPresetFile (temp.file ("a.PXprs"), 42));
    ASSERT_TRUE (plugin.savePresetFile (temp.file ("b.PXprs"), 42));
    EXPECT_EQ (bytesOf (temp.file ("a.PXprs")), bytesOf (temp.file ("b.PXprs")));
    EXPECT_EQ (plugin.getPresetName (42), "Odd & \"quoted\" <name>");
    EXPECT_EQ (plugin.getPresetSlot (42)->getValue (0), 0.123457f);

    EXPECT_TRUE (bytesOf (temp.file ("a.PXprs")).toString().startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    EXPECT_FALSE (bytesOf (temp.file ("a.PXprs")).toString().contains ("DOCTYPE"));

    // A file the layer cannot write reports it; the folder's old file stays whole.
    EXPECT_FALSE (plugin.savePresetFile (temp.file ("missing/folder/c.PXprs"), 41));
    EXPECT_FALSE (plugin.savePresetFile (temp.file ("d.PXprs"), 128));
    EXPECT_FALSE (temp.file ("d.PXprs").exists());
}

TEST (PresetFiles, LoadingAPresetAppliesOnlyTheCurrentSlot)
{
    PresetTestPlugin plugin;
    plugin.start();
    TempFolder temp;
    const auto file = temp.file ("three.PXprs");
    file.replaceWithText (presetText ("PULSARET", "Three",
                                      "<param name=\"Snare Drum Level\" value=\"0.25\"/>"
                                      "<PARAM NAME=\"Cymbal Tone\" VALUE=\"0.75\"/>"
                                      "<param name=\"Hi Hats Link Mode\"/>"
                                      "<param name=\"bass drum level\" value=\"0.9\"/>" // names are case-sensitive
                                      "<param name=\"Main Volume\" value=\"0.9\"/>"     // not presetable
                                      "<param name=\"No Such Parameter\" value=\"0.9\"/>"));

    // Into another slot: only that slot's three values change, no parameter.
    Snapshot before (plugin);
    PresetSlot old ("old", 24, -1);
    old.copyFrom (*plugin.getPresetSlot (7));
    ASSERT_TRUE (plugin.loadPresetFile (file, 7));
    EXPECT_EQ (plugin.getPresetName (7), "Three");
    for (int uid = 0; uid < 24; ++uid)
    {
        const float expected = uid == 1 ? 0.25f : uid == 18 ? 0.75f
                                              : uid == 23   ? 0.0f
                                                            : old.getValue (uid);
        EXPECT_EQ (plugin.getPresetSlot (7)->getValue (uid), expected) << uid;
    }
    for (int uid = 0; uid < 47; ++uid)
        EXPECT_EQ (plugin.value (uid), before.parameters[uid]) << uid;

    // Into the current slot: applied.
    ASSERT_TRUE (plugin.loadPresetFile (file, 0));
    EXPECT_EQ (plugin.value (1), 0.25f);
    EXPECT_EQ (plugin.getParameterManager().getText (BasePluginOldStyle::currentPresetNameUid), "Three");
    EXPECT_FALSE (plugin.loadPresetFile (file, 128));
    EXPECT_FALSE (plugin.loadPresetFile (file, -1));
}

TEST (PresetFiles, DamagedAndForeignPresetsChangeNothing)
{
    PresetTestPlugin plugin;
    plugin.start();
    TempFolder temp;

    // A negative uid must be refused like any uid past the presetable ones.
    plugin.getParameterManager().addParameter (std::make_unique<FloatParameter> (-5, "Negative", 0.0f, 1.0f, 0.0f));

    plugin.setValue (0, 0.0625f); // an unsaved edit of the current preset
    const Snapshot before (plugin);

    const juce::String bad[] = {
        presetText ("Other", "Foreign", "<param name=\"Bass Drum Level\" value=\"0.5\"/>"),
        "<Preset name=\"No application\"><param name=\"Bass Drum Level\" value=\"0.5\"/></Preset>",
        "<NotAPreset application=\"Pulsaret\" name=\"x\"/>",
        "<Preset application=\"Pulsaret\" name=\"Cut off\"><param name=\"Bass Drum Level\" val",
        "",
        "\xff\xfe garbage",
    };

    for (auto& text : bad)
    {
        const auto file = temp.file ("bad.PXprs");
        file.replaceWithText (text);
        EXPECT_FALSE (plugin.loadPresetFile (file, 0)) << text;
        EXPECT_FALSE (plugin.loadPresetFile (file, 3)) << text;
        EXPECT_TRUE (Snapshot (plugin) == before) << text;

        if (auto xml = juce::parseXML (text))
        {
            EXPECT_FALSE (plugin.loadProgramStateXml (*xml)) << text;
            EXPECT_TRUE (Snapshot (plugin) == before) << text;
        }
    }

    EXPECT_FALSE (plugin.loadPresetFile (temp.file ("missing.PXprs"), 0));

    // Values that are no number the parameters can take.
    temp.file ("odd.PXprs").replaceWithText (presetText ("Pulsaret", "Odd", "<param name=\"Negative\" value=\"0.5\"/>"
                                                                            "<param name=\"Bass Drum Level\" value=\"nan\"/>"
                                                                            "<param name=\"Snare Drum Level\" value=\"1e999\"/>"
                                                                            "<param name=\"Low Tom Level\" value=\"7\"/>"
                                                                            "<param name=\"Hi Tom Level\" value=\"-3\"/>"
                                                                            "<param name=\"Cymbal Level\" value=\"x\"/>"
                                                                            "<param name=\"Open Hi Hat Level\" value=\"0.5x\"/>"));
    const float bassDrum = plugin.getPresetSlot (5)->getValue (0);
    const float snareDrum = plugin.getPresetSlot (5)->getValue (1);
    const float cymbal = plugin.getPresetSlot (5)->getValue (4);
    const float openHiHat = plugin.getPresetSlot (5)->getValue (5);
    ASSERT_NE (cymbal, 0.0f);
    ASSERT_NE (openHiHat, 0.5f);
    ASSERT_TRUE (plugin.loadPresetFile (temp.file ("odd.PXprs"), 5));
    EXPECT_EQ (plugin.getPresetSlot (5)->getValue (0), bassDrum);
    EXPECT_EQ (plugin.getPresetSlot (5)->getValue (1), snareDrum);
    EXPECT_EQ (plugin.getPresetSlot (5)->getValue (2), 1.0f);
    EXPECT_EQ (plugin.getPresetSlot (5)->getValue (3), 0.0f);
    EXPECT_EQ (plugin.getPresetSlot (5)->getValue (4), cymbal);
    EXPECT_EQ (plugin.getPresetSlot (5)->getValue (5), openHiHat);
    EXPECT_EQ (plugin.getPresetName (5), "Odd");
}

TEST (PresetFiles, ProgramChunkHoldsTheSoundThatPlaysAndLeavesTheBank)
{
    constexpr int bassDrumTune = 8;
    PresetTestPlugin plugin;
    plugin.start();
    ASSERT_EQ (plugin.getStoringMode(), BasePluginOldStyle::onDemandStoring);
    plugin.changePreset (2);
    const float stored = plugin.getPresetSlot (2)->getValue (bassDrumTune);
    ASSERT_NE (stored, 0.9f);

    // An edit through the host that nobody stored: the host's own "Save preset" must keep it.
    plugin.setParameter (bassDrumTune, 0.9f);
    juce::MemoryBlock bankBefore, program, bankAfter;
    plugin.getStateInformation (bankBefore);
    plugin.getCurrentProgramStateInformation (program);
    plugin.getStateInformation (bankAfter);
    EXPECT_TRUE (bankAfter == bankBefore) << "taking the program chunk stores nothing";
    EXPECT_EQ (plugin.getPresetSlot (2)->getValue (bassDrumTune), stored);

    // The bank chunk as before: the slot as stored, the playing values beside it.
    auto state = BasePlugin::readStateChunk (bankAfter.getData(), (int) bankAfter.getSize());
    ASSERT_NE (state, nullptr);
    const auto valueIn = [] (const juce::XmlElement* parent, int index)
    { return parent != nullptr && parent->getChildElement (index) != nullptr ? parent->getChildElement (index)->getStringAttribute ("value") : "none"; };
    auto* bank = state->getChildByName ("PresetsState")->getChildByName ("PresetBank");
    ASSERT_NE (bank, nullptr);
    EXPECT_NEAR (valueIn (bank->getChildByName ("PresetGroup")->getChildElement (2), bassDrumTune).getDoubleValue(), stored, 1.0e-6);
    EXPECT_EQ (valueIn (state->getChildByName ("ParametersState"), bassDrumTune), "0.899999976");

    auto preset = BasePlugin::readStateChunk (program.getData(), (int) program.getSize());
    ASSERT_NE (preset, nullptr);
    EXPECT_EQ (preset->getStringAttribute ("name"), "Short Triplets");
    EXPECT_EQ (valueIn (preset.get(), bassDrumTune), "0.9");

    // A fresh instance on another preset takes it into its current slot and plays it.
    PresetTestPlugin fresh;
    fresh.start();
    fresh.changePreset (5);
    fresh.setCurrentProgramStateInformation (program.getData(), (int) program.getSize());
    EXPECT_EQ (fresh.getPresetName (5), "Short Triplets");
    EXPECT_EQ (fresh.getParameterManager().getText (BasePluginOldStyle::currentPresetNameUid), "Short Triplets");
    EXPECT_FLOAT_EQ (fresh.value (bassDrumTune), 0.9f);
    EXPECT_FLOAT_EQ (fresh.getParameter (bassDrumTune), 0.9f);

    for (int uid = 0; uid < 24; ++uid)
        EXPECT_NEAR (fresh.value (uid), plugin.value (uid), 1.0e-6f) << uid;
}

TEST (PresetFiles, BankDocumentReadingRules)
{
    PresetTestPlugin plugin;
    plugin.start();

    juce::String five;
    for (int i = 0; i < 5; ++i)
        five << presetText ("Pulsaret", "P" + juce::String (i), "<param name=\"Bass Drum Tune\" value=\"0." + juce::String (i + 1) + "\"/>");

    auto bank = juce::parseXML ("<presetbank><PresetGroup>" + five + "<Other/>" + presetText ("Foreign", "F", "") + "</PresetGroup><junk/><presetgroup name=\"Second\">" + five + "</presetgroup></presetbank>");
    ASSERT_TRUE (plugin.readPresetBankXml (*bank));
    EXPECT_EQ (plugin.getBankName(), "Preset Bank");
    ASSERT_EQ (plugin.getNumGroups(), 3);
    EXPECT_EQ (plugin.getGroupName (0), "group 1");
    EXPECT_EQ (plugin.getGroupSize (0), 5);
    EXPECT_EQ (plugin.getGroupName (1), "Second");
    EXPECT_EQ (plugin.getGroupSize (1), 5);
    EXPECT_EQ (plugin.getGroupName (2), "Not used");
    EXPECT_EQ (plugin.getGroupSize (2), 118);
    EXPECT_EQ (plugin.getPresetName (5), "P0");
    EXPECT_EQ (plugin.getPresetName (10), "Preset 10");
    EXPECT_FLOAT_EQ (plugin.getPresetSlot (9)->getValue (8), 0.5f);
    EXPECT_EQ (plugin.getPresetSlot (9)->getValue (0), plugin.getDefaultPreset().getValue (0));

    // More than 128 presets: the rest is ignored; later groups stay, empty.
    juce::String many;
    for (int i = 0; i < 130; ++i)
        many << presetText ("Pulsaret", "M" + juce::String (i), "");
    auto big = juce::parseXML ("<PresetBank name=\"Big\"><PresetGroup name=\"All\">" + many + "</PresetGroup><PresetGroup name=\"After\">" + five + "</PresetGroup></PresetBank>");
    ASSERT_TRUE (plugin.readPresetBankXml (*big));
    EXPECT_EQ (plugin.getBankName(), "Big");
    ASSERT_EQ (plugin.getNumGroups(), 2);
    EXPECT_EQ (plugin.getGroupSize (0), 128);
    EXPECT_EQ (plugin.getGroupName (1), "After");
    EXPECT_EQ (plugin.getGroupSize (1), 0);
    EXPECT_EQ (plugin.getPresetName (127), "M127");
}

TEST (PresetFiles, BankFilesRoundTripAndDamagedBanksChangeNothing)
{
    PresetTestPlugin plugin;
    plugin.start();
    TempFolder temp;

    // Rearrange the factory bank so the round trip has something to carry.
    plugin.insertGroup (1);
    plugin.setGroupName (1, "Mine");
    juce::SparseSet<int> rows;
    rows.addRange ({3, 6});
    plugin.movePresetsToGroup (1, 0, rows);
    plugin.setPresetName (120, "Ünïcode ✓ & more");
    plugin.getPresetSlot (120)->setValue (4, 0.333333f);

    const auto a = temp.file ("a.PXprsb");
    const auto b = temp.file ("b.PXprsb");
    ASSERT_TRUE (plugin.saveBankFile (a));
    EXPECT_EQ (plugin.getDialogFolder(), temp.folder);

    const Snapshot saved (plugin);
    plugin.clearPresets();
    ASSERT_TRUE (plugin.loadBankFile (a));
    ASSERT_TRUE (plugin.saveBankFile (b));
    EXPECT_EQ (bytesOf (a), bytesOf (b));

    const Snapshot loaded (plugin);
    EXPECT_EQ (loaded.names, saved.names);
    EXPECT_EQ (loaded.groups, saved.groups);
    EXPECT_EQ (loaded.values, saved.values);
    EXPECT_EQ (loaded.bank, "Pulsaret Factory Presets");

    // Loading a bank applies the current preset.
    plugin.setValue (0, 0.0625f);
    ASSERT_TRUE (plugin.loadBankFile (a));
    EXPECT_EQ (plugin.value (0), plugin.getPresetSlot (0)->getValue (0));

    // Foreign, empty, damaged or misnamed banks change no slot, group or name.
    plugin.setValue (0, 0.0625f);
    const Snapshot before (plugin);
    const auto whole = bytesOf (a).toString();
    const auto deep = "<PresetBank name=\"Deep\"><PresetGroup name=\"G\">" + presetText ("Pulsaret", "x", "") + juce::String::repeatedString ("<a>", 30000);
    const juce::String bad[] = {
        deep,
        whole.substring (0, whole.lastIndexOf ("</PresetBank>") + 5), // the parser alone takes it as whole
        whole + juce::String::repeatedString (" ", (int) maxXmlDocumentBytes),
        "<PresetBank name=\"Other's\"><PresetGroup name=\"G\">" + presetText ("Other", "x", "") + "</PresetGroup></PresetBank>",
        "<PresetBank name=\"Empty\"/>",
        "<PresetBank name=\"No groups\">" + presetText ("Pulsaret", "x", "") + "</PresetBank>",
        "<PresetGroup name=\"G\">" + presetText ("Pulsaret", "x", "") + "</PresetGroup>",
        bytesOf (a).toString().dropLastCharacters (200),
        "not xml at all",
    };

    for (auto& text : bad)
    {
        const auto file = temp.file ("bad.PXprsb");
        file.replaceWithText (text);
        EXPECT_FALSE (plugin.loadBankFile (file)) << text.substring (0, 200);
        EXPECT_TRUE (Snapshot (plugin) == before) << text.substring (0, 200);
    }
}

TEST (PresetFiles, PresetsStateRestoresTheBankAndSelectsWithoutApplying)
{
    PresetTestPlugin plugin;
    plugin.start();
    plugin.insertGroup (0);
    plugin.setGroupName (0, "First");
    plugin.selectPreset (9, false);
    plugin.setPresetName (9, "Saved current");

    auto state = plugin.createPluginStateXml();
    ASSERT_NE (state, nullptr);
    ASSERT_GE (state->getNumChildElements(), 3);
    EXPECT_EQ (state->getChildElement (0)->getTagName(), "ParametersState");
    EXPECT_EQ (state->getChildElement (1)->getTagName(), "PresetsState");
    EXPECT_EQ (state->getChildElement (1)->getStringAttribute ("currentPreset"), "9");
    EXPECT_EQ (state->getChildElement (1)->getChildElement (0)->getTagName(), "PresetBank");
    EXPECT_EQ (state->getChildElement (2)->getTagName(), "MidiControlMap");
    EXPECT_EQ (state->getChildElement (0)->getNumChildElements(), 47);
    const Snapshot saved (plugin);

    PresetTestPlugin other;
    other.start();
    other.setValue (0, 0.0625f);
    other.loadPluginStateXml (*state);
    const Snapshot restored (other);
    EXPECT_TRUE (restored == saved);
    EXPECT_EQ (other.getParameterManager().getText (BasePluginOldStyle::currentPresetNameUid), "Saved current");
    EXPECT_EQ (other.getParameterManager().getIntValue (BasePluginOldStyle::currentPresetNumberUid), 9);

    // The sound parameters come from "ParametersState", not from the slot.
    other.setValue (0, 0.0625f);
    state->getChildElement (0)->deleteAllChildElements();
    other.loadPluginStateXml (*state);
    EXPECT_EQ (other.value (0), 0.0625f);
    EXPECT_EQ (other.getCurrentPreset(), 9);

    // Another application's state is ignored.
    state->setAttribute ("application", "Other");
    other.clearPresets();
    other.loadPluginStateXml (*state);
    EXPECT_EQ (other.getPresetName (9), "Preset 9");
}

TEST (PresetFiles, NotPresetableParametersElement)
{
    PresetTestPlugin plugin;
    plugin.start();
    plugin.setValue (24, 0.25f);

    auto xml = plugin.createNotPresetableParamsXml();
    EXPECT_EQ (xml->getTagName(), "NotPresetableParams");
    ASSERT_EQ (xml->getNumChildElements(), 23);
    EXPECT_EQ (xml->getChildElement (0)->getStringAttribute ("name"), "Main Volume");
    EXPECT_EQ (xml->getChildElement (0)->getStringAttribute ("value"), "0.25");
    EXPECT_EQ (xml->getChildElement (22)->getStringAttribute ("name"), "Accent Rand Threshold");

    auto older = juce::parseXML ("<NotPresetParams><param name=\"Main Volume\" value=\"0.75\"/>"
                                 "<param name=\"Bass Drum Mute\"/><param name=\"Unknown\" value=\"1\"/></NotPresetParams>");
    plugin.setValue (25, 1.0f);
    EXPECT_TRUE (plugin.isNotPresetableParamsXml (*older));
    plugin.loadNotPresetableParamsXml (*older);
    EXPECT_EQ (plugin.value (24), 0.75f);
    EXPECT_EQ (plugin.value (25), 0.0f);

    auto wrong = juce::parseXML ("<Other><param name=\"Main Volume\" value=\"0.5\"/></Other>");
    plugin.loadNotPresetableParamsXml (*wrong);
    EXPECT_EQ (plugin.value (24), 0.75f);
}
