#include "tests/fuzz/FuzzedReader.h"

// A pattern file loaded into the edited pattern, as the panel loads it.
namespace
{
FuzzedReader& reader()
{
    static FuzzedReader shared = FuzzedReader::forFile (
        "pattern", FuzzedReader::plugin().getPulsaretSeq()->getPatternFileExtension(), FuzzedReader::patterns,
        [] (const juce::File& file)
        {
            auto& sequencer = *FuzzedReader::plugin().getPulsaretSeq();
            return sequencer.loadPatternFile (sequencer.getEditedPatternIndex(), file);
        },
        [] (const juce::File& file)
        {
            auto& sequencer = *FuzzedReader::plugin().getPulsaretSeq();
            return sequencer.savePatternFile (sequencer.getEditedPatternIndex(), file);
        });
    return shared;
}
} // namespace

FUZZED_READER_ENTRY_POINTS (reader)
