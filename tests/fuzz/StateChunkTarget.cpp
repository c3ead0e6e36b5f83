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

FUZZED_READER_ENTRY_POINTS (reader)
