#pragma once

#include <juce_core/juce_core.h>

#include <array>
#include <memory>

/** Which instrument (0 to 6) each of the 128 MIDI keys plays, -1 for none, with the
    map's name, and its "DrumMap" document form. A plain value: the drum machine reads
    a document into a fresh map and swaps the entries in whole. */
class DrumMap
{
public:
    static constexpr int numKeys = 128;
    static constexpr int noInstrument = -1;

    DrumMap() { clear(); }

    /** Every key unmapped; the name stays. */
    void clear() noexcept { entries.fill (noInstrument); }

    /** -1 for an unmapped key or one outside 0..127. */
    int getInstrument (int key) const noexcept { return isKey (key) ? entries[(size_t) key] : noInstrument; }

    /** Ignored unless the key is 0..127 and the instrument -1 or 0..6. */
    void setInstrument (int key, int instrument) noexcept;

    const juce::String& getName() const noexcept { return name; }
    /** Kept without control characters (cleanName). */
    void setName (const juce::String& newName);

    /** Reads the "assign" children of a "DrumMap" element whose tag and application the
        caller has checked: version "1.1" (with the name) or "1.0". The map is cleared first.
        False for another version, whose keys cannot be known: the caller keeps its map. */
    bool readXml (const juce::XmlElement& element);

    /** "DrumMap" version "1.1" with the application and name, the keys ordered by
        instrument, then by key. */
    std::unique_ptr<juce::XmlElement> createXml (const juce::String& application) const;

    const std::array<int, numKeys>& getEntries() const noexcept { return entries; }

    bool operator== (const DrumMap& other) const { return entries == other.entries && name == other.name; }
    bool operator!= (const DrumMap& other) const { return !operator== (other); }

    static bool isKey (int key) noexcept { return key >= 0 && key < numKeys; }

private:
    std::array<int, numKeys> entries;
    juce::String name;
};
