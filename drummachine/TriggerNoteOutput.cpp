#include "drummachine/TriggerNoteOutput.h"

namespace
{
// What one three-byte event takes in a juce::MidiBuffer: its time and size before the bytes.
constexpr int bytesPerEvent = (int) sizeof (juce::int32) + (int) sizeof (juce::uint16) + 3;

constexpr juce::uint8 noteOffStatus = 0x80, noteOnStatus = 0x90; // channel 1
} // namespace

TriggerNoteOutput::TriggerNoteOutput()
{
    soundingKeys.fill (DrumMap::noInstrument);
}

void TriggerNoteOutput::prepare()
{
    notes.ensureSize ((size_t) bytesReserved);
    capacity = bytesReserved;
    notes.clear();
    bytesUsed = 0;
}

void TriggerNoteOutput::beginBlock (bool sendNotes) noexcept
{
    notes.clear();
    bytesUsed = 0;
    sampleCounter = 0;
    sending = sendNotes;
}

int TriggerNoteOutput::velocityByte (float velocity) noexcept
{
    return juce::jlimit (1, 127, (int) (velocity * 127.0f));
}

void TriggerNoteOutput::add (juce::uint8 status, int key, int velocity) noexcept
{
    if (bytesUsed + bytesPerEvent > capacity)
        return;

    const juce::uint8 bytes[3] = {status, (juce::uint8) key, (juce::uint8) velocity};
    notes.addEvent (bytes, 3, sampleCounter);
    bytesUsed += bytesPerEvent;
}

void TriggerNoteOutput::noteOn (int instrument, float velocity, const DrumMap& drumMap) noexcept
{
    if (instrument < 0 || instrument >= DrumVoiceNames::numInstruments || !sending)
        return;

    noteOff (instrument);

    const int velocityInByte = velocityByte (velocity);

    for (int key = 0; key < DrumMap::numKeys; ++key)
    {
        if (drumMap.getInstrument (key) == instrument)
        {
            // The map changed while another voice's note sounds on this key: end it
            // first, so that no note-on is left without its note-off.
            if (soundingKeys[(size_t) key] != DrumMap::noInstrument)
                add (noteOffStatus, key, 0);

            add (noteOnStatus, key, velocityInByte);
            soundingKeys[(size_t) key] = instrument;
        }
    }
}

void TriggerNoteOutput::noteOff (int instrument) noexcept
{
    // Keys that sound nothing hold noInstrument: that is no voice to end.
    if (instrument < 0 || instrument >= DrumVoiceNames::numInstruments)
        return;

    for (int key = 0; key < DrumMap::numKeys; ++key)
    {
        if (soundingKeys[(size_t) key] == instrument)
        {
            add (noteOffStatus, key, 0);
            soundingKeys[(size_t) key] = DrumMap::noInstrument;
        }
    }
}

void TriggerNoteOutput::releaseAll() noexcept
{
    for (int instrument = 0; instrument < DrumVoiceNames::numInstruments; ++instrument)
        noteOff (instrument);
}

void TriggerNoteOutput::passTo (juce::MidiBuffer& midi, bool replace) const
{
    if (replace)
        midi.clear();

    for (const auto metadata : notes)
        if (metadata.samplePosition >= 0)
            midi.addEvent (metadata.data, metadata.numBytes, metadata.samplePosition);
}

int TriggerNoteOutput::getSoundingInstrument (int key) const noexcept
{
    return DrumMap::isKey (key) ? soundingKeys[(size_t) key] : DrumMap::noInstrument;
}
