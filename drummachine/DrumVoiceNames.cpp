#include "drummachine/DrumVoiceNames.h"

namespace
{
const char* const names[DrumVoiceNames::numTracks] = {"Bass Drum", "Snare Drum", "Low Tom", "Hi Tom",
                                                      "Cymbal", "Open Hi Hat", "Closed Hi Hat", "Accent"};

const char* const shortNames[DrumVoiceNames::numTracks] = {"BD", "SD", "LT", "HT", "CY", "OH", "CH", "AC"};

bool isTrack (int track) noexcept
{
    return track >= 0 && track < DrumVoiceNames::numTracks;
}
} // namespace

juce::String DrumVoiceNames::getName (int track)
{
    return isTrack (track) ? juce::String (names[track]) : juce::String();
}

juce::String DrumVoiceNames::getShortName (int track)
{
    return isTrack (track) ? juce::String (shortNames[track]) : juce::String();
}

int DrumVoiceNames::findShortName (const juce::String& shortName)
{
    for (int i = 0; i < numTracks; ++i)
        if (shortName.equalsIgnoreCase (shortNames[i]))
            return i;

    return -1;
}
