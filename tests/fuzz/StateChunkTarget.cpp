#include "tests/fuzz/FuzzedReader.h"

// The host's state chunk, as a project restores it.
namespace
{
FuzzedReader& reader()
{
    static FuzzedReader shared (
        "state_chunk", FuzzedReader::stateChunk,
        [] (const void* data, size_t size) { return FuzzedReader::plugin().restoreStateChunk (data, (int) size); },
        FuzzedReader::stateChunk);
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
