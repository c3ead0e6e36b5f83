#include "tests/fuzz/FuzzedReader.h"

// A drum map file, as the settings page loads it.
namespace
{
FuzzedReader& reader()
{
    static FuzzedReader shared = FuzzedReader::forFile (
        "drum_map", FuzzedReader::plugin().getDrumMapFileExtension(), [] { return FuzzedReader::documents ({ FuzzedReader::plugin().createDrumMapXml().get() }); },
        [] (const juce::File& file) { return FuzzedReader::plugin().loadDrumMapFile (file); },
        [] (const juce::File& file) { return FuzzedReader::plugin().saveDrumMapFile (file); });
    return shared;
}
} // namespace

FUZZED_READER_ENTRY_POINTS (reader)
