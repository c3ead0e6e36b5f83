#include "tests/fuzz/FuzzedReader.h"

// The settings file, read by the running instance as a new one reads it at start-up. Storing
// "automatic" stores the current preset, so that slot is part of what it may change.
namespace
{
juce::MemoryBlock settingsAndCurrentPreset()
{
    auto bytes = FuzzedReader::documents ({ FuzzedReader::plugin().createUserSettingsXml().get() });
    const auto preset = FuzzedReader::currentPreset();
    bytes.append (preset.getData(), preset.getSize());
    return bytes;
}

FuzzedReader& reader()
{
    static FuzzedReader shared = FuzzedReader::forFile (
        "settings", ".ini", settingsAndCurrentPreset,
        [] (const juce::File& file)
        {
            FuzzedReader::plugin().setUserSettingsFile (file);
            return FuzzedReader::plugin().loadUserSettings();
        },
        [] (const juce::File& file)
        {
            FuzzedReader::plugin().setUserSettingsFile (file);
            return FuzzedReader::plugin().saveUserSettings();
        });
    return shared;
}
} // namespace

FUZZED_READER_ENTRY_POINTS (reader)
