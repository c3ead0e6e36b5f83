#include "tests/fuzz/FuzzedReader.h"

// A MIDI-learn map file, as the MIDI control page loads it.
namespace
{
FuzzedReader& reader()
{
    static FuzzedReader shared = FuzzedReader::forFile (
        "midi_map", FuzzedReader::plugin().getMidiMapFileExtension(), [] { return FuzzedReader::documents ({ FuzzedReader::plugin().getMidiControl().createMapXml().get() }); },
        [] (const juce::File& file) { return FuzzedReader::plugin().getMidiControl().loadMapFile (file); },
        [] (const juce::File& file) { return FuzzedReader::plugin().getMidiControl().saveMapFile (file); });
    return shared;
}
} // namespace

FUZZED_READER_ENTRY_POINTS (reader)
