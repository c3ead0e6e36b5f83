#include "tests/fuzz/FuzzedReader.h"

#include <cstdio>

// Writes inputs of the fuzz targets, one folder per target:
//   corpus FOLDER       the seed corpus: files and chunks the plug-in writes itself, and the factory
//                       resources. Run by hand; the result is committed as tests/fuzz/corpus.
//   regressions FOLDER  the regression inputs too large to commit; the replay test makes them first.
namespace
{
constexpr auto application = "Pulsaret";

juce::File targetFolder (const juce::File& root, const char* target)
{
    auto folder = root.getChildFile (target);

    if (! folder.createDirectory())
        FuzzedReader::failWith ("inputs", "cannot create " + folder.getFullPathName());

    return folder;
}

void check (bool written, const juce::String& what)
{
    if (! written)
        FuzzedReader::failWith ("inputs", "could not write " + what);
}

void writeBytes (const juce::File& file, const juce::MemoryBlock& bytes)
{
    check (file.replaceWithData (bytes.getData(), bytes.getSize()), file.getFullPathName());
}

/** The chunk the plug-in's writer would make of the text: the magic, the length, the text and two zeros. */
juce::MemoryBlock chunkOf (const juce::String& text)
{
    const auto length = (juce::uint32) text.getNumBytesAsUTF8();
    juce::MemoryBlock chunk;
    chunk.append ("VC2!", 4);

    for (int i = 0; i < 4; ++i)
    {
        const auto byte = (char) (length >> (8 * i));
        chunk.append (&byte, 1);
    }

    chunk.append (text.toRawUTF8(), length);
    chunk.append ("\0\0", 2);
    return chunk;
}

void copyResource (const juce::File& folder, const juce::String& name)
{
    const auto source = juce::File (PULSARET_RESOURCES_DIR).getChildFile (name);
    check (source.copyFileTo (folder.getChildFile ("factory-" + name)), source.getFullPathName());
}

void writeCorpus (const juce::File& root)
{
    auto& plugin = FuzzedReader::plugin();
    auto& sequencer = *plugin.getPulsaretSeq();

    // As the instance starts: the factory kits, patterns and drum map.
    auto folder = targetFolder (root, "preset");
    check (plugin.savePresetFile (folder.getChildFile ("kit-0" + plugin.getPresetFileExtension()), 0), "preset 0");
    check (plugin.savePresetFile (folder.getChildFile ("kit-5" + plugin.getPresetFileExtension()), 5), "preset 5");
    copyResource (folder, "default" + plugin.getPresetFileExtension());

    folder = targetFolder (root, "preset_bank");
    check (plugin.saveBankFile (folder.getChildFile ("factory-kits" + plugin.getBankFileExtension())), "bank");
    copyResource (folder, "default" + plugin.getBankFileExtension());

    folder = targetFolder (root, "pattern");
    check (sequencer.savePatternFile (0, folder.getChildFile ("pattern-0" + sequencer.getPatternFileExtension())), "pattern 0");
    check (sequencer.savePatternFile (7, folder.getChildFile ("pattern-7" + sequencer.getPatternFileExtension())), "pattern 7");

    folder = targetFolder (root, "pattern_bank");
    check (sequencer.savePatternBankFile (folder.getChildFile ("factory-patterns" + sequencer.getPatternBankFileExtension())), "pattern bank");
    copyResource (folder, "default" + sequencer.getPatternBankFileExtension());

    folder = targetFolder (root, "drum_map");
    check (plugin.saveDrumMapFile (folder.getChildFile ("general-midi" + plugin.getDrumMapFileExtension())), "drum map");
    copyResource (folder, "default" + plugin.getDrumMapFileExtension());

    folder = targetFolder (root, "midi_map");
    auto& midiMap = plugin.getMidiControl();
    check (midiMap.saveMapFile (folder.getChildFile ("empty" + plugin.getMidiMapFileExtension())), "empty MIDI map");

    for (int index = 0, controller = 7; index < plugin.getNumHostParameters() && controller < 12; ++index)
        if (auto* parameter = plugin.getHostParameter (index); parameter != nullptr && parameter->isAuto())
            midiMap.assign (controller++, parameter, false);

    check (midiMap.saveMapFile (folder.getChildFile ("five-controllers" + plugin.getMidiMapFileExtension())), "MIDI map");

    // Saving the bank moved the dialog folder into the corpus: a folder every machine has instead.
    folder = targetFolder (root, "settings");
    plugin.setDialogFolder (juce::File ("/tmp"));
    plugin.setUserSettingsFile (folder.getChildFile ("started.ini"));
    check (plugin.saveUserSettings(), "settings");
    plugin.setStoringMode (BasePluginOldStyle::automaticStoring);
    plugin.setChangingMode (BasePluginOldStyle::silentChanging);
    plugin.setUserPresetsFile ("/nonexistent/kits" + plugin.getBankFileExtension());
    plugin.setDefaultPresetsSource (BasePluginOldStyle::userDefinedPresets);
    plugin.setUserDrumMapFile ("/nonexistent/map" + plugin.getDrumMapFileExtension());
    plugin.setUserSettingsFile (folder.getChildFile ("changed.ini"));
    check (plugin.saveUserSettings(), "changed settings");

    // The state with the MIDI map above, and the program chunks of two kits.
    folder = targetFolder (root, "state_chunk");
    writeBytes (folder.getChildFile ("started.chunk"), FuzzedReader::stateChunk());

    folder = targetFolder (root, "program_chunk");

    for (int preset : { 0, 5 })
    {
        plugin.selectPreset (preset, false);
        plugin.applyPreset();
        juce::MemoryBlock chunk;
        plugin.getCurrentProgramStateInformation (chunk);
        writeBytes (folder.getChildFile ("kit-" + juce::String (preset) + ".chunk"), chunk);
    }
}

/** The document element of each target's documents, opened and closed around a body. */
struct Document
{
    const char* target;
    juce::String open, close;
    bool chunk;
};

void writeRegressions (const juce::File& root)
{
    const juce::String app = juce::String ("application=\"") + application + "\"";
    const Document documents[] = {
        { "preset", "<Preset " + app + " name=\"x\">", "</Preset>", false },
        { "preset_bank", "<PresetBank name=\"x\"><PresetGroup name=\"g\"><Preset " + app + " name=\"x\">", "</Preset></PresetGroup></PresetBank>", false },
        { "pattern", "<Pattern " + app + " name=\"x\">", "</Pattern>", false },
        { "pattern_bank", "<PatternBank><Pattern " + app + " name=\"x\">", "</Pattern></PatternBank>", false },
        { "drum_map", "<DrumMap " + app + " ver=\"1.1\" name=\"x\">", "</DrumMap>", false },
        { "midi_map", "<MidiControlMap name=\"Pulsaret\">", "</MidiControlMap>", false },
        { "settings", "<UserSettings " + app + ">", "</UserSettings>", false },
        { "state_chunk", "<PluginState " + app + ">", "</PluginState>", true },
        { "program_chunk", "<Preset " + app + " name=\"x\">", "</Preset>", true },
    };

    // A character reference with no digit, 30,000 times: a parser that steps over the "<" after it
    // never closes an element, and recurses once per "<a>".
    const auto references = juce::String::repeatedString ("<a>&#x</a>", 30000);

    for (const auto& document : documents)
    {
        const auto folder = targetFolder (root, document.target);
        const auto text = document.open + references + document.close;

        if (document.chunk)
            writeBytes (folder.getChildFile ("reference-without-digits.chunk"), chunkOf (text));
        else
            check (folder.getChildFile ("reference-without-digits.xml").replaceWithText (text, false, false, nullptr),
                   document.target);
    }
}
} // namespace

int main (int argc, char** argv)
{
    const juce::String command = argc == 3 ? argv[1] : "";

    if (command != "corpus" && command != "regressions")
    {
        std::fprintf (stderr, "usage: %s corpus|regressions FOLDER\n", argv[0]);
        return 2;
    }

    const auto root = juce::File::getCurrentWorkingDirectory().getChildFile (argv[2]);

    if (command == "corpus")
        writeCorpus (root);
    else
        writeRegressions (root);

    return 0;
}
