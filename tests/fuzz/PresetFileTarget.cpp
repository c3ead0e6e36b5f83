#include "tests/fuzz/FuzzedReader.h"

// A preset file loaded into the current slot, as the preset browser loads it: the slot and the
// parameters it is applied to are in the state.
namespace
{
FuzzedReader& reader()
{
    static FuzzedReader shared = FuzzedReader::forFile (
        "preset", FuzzedReader::plugin().getPresetFileExtension(), FuzzedReader::currentPreset,
        [] (const juce::File& file) { auto& plugin = FuzzedReader::plugin(); return plugin.loadPresetFile (file, plugin.getCurrentPreset()); },
        [] (const juce::File& file) { auto& plugin = FuzzedReader::plugin(); return plugin.savePresetFile (file, plugin.getCurrentPreset()); });
    return shared;
}
} // namespace

FUZZED_READER_ENTRY_POINTS (reader)
