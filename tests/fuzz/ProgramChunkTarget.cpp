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

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    reader();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    return reader().run (data, size);
}
