#include "tests/fuzz/FuzzedReader.h"

// The host's program chunk: the current preset, applied.
namespace
{
FuzzedReader& reader()
{
    static FuzzedReader shared (
        "program_chunk", FuzzedReader::currentPreset,
        [] (const void* data, size_t size) { return FuzzedReader::plugin().restoreProgramChunk (data, (int) size); },
        []
        {
            juce::MemoryBlock chunk;
            FuzzedReader::plugin().getCurrentProgramStateInformation (chunk);
            return chunk;
        });
    return shared;
}
} // namespace

FUZZED_READER_ENTRY_POINTS (reader)
