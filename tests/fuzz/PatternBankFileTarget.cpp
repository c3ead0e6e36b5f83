#include "tests/fuzz/FuzzedReader.h"

// A pattern bank file, as the panel loads it.
namespace
{
FuzzedReader& reader()
{
    static FuzzedReader shared = FuzzedReader::forFile (
        "pattern_bank", FuzzedReader::plugin().getPulsaretSeq()->getPatternBankFileExtension(), FuzzedReader::patterns,
        [] (const juce::File& file) { return FuzzedReader::plugin().loadPatternBankFile (file); },
        [] (const juce::File& file) { return FuzzedReader::plugin().getPulsaretSeq()->savePatternBankFile (file); });
    return shared;
}
} // namespace

FUZZED_READER_ENTRY_POINTS (reader)
