#include "tests/fuzz/FuzzedReader.h"

// A preset bank file, as the preset browser loads it: every slot, the groups and the bank name, and
// the current preset applied.
namespace
{
FuzzedReader& reader()
{
    static FuzzedReader shared = FuzzedReader::forFile (
        "preset_bank", FuzzedReader::plugin().getBankFileExtension(), FuzzedReader::presets,
        [] (const juce::File& file) { return FuzzedReader::plugin().loadBankFile (file); },
        [] (const juce::File& file) { return FuzzedReader::plugin().saveBankFile (file); });
    return shared;
}
} // namespace

FUZZED_READER_ENTRY_POINTS (reader)
