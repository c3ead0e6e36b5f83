#pragma once

#include <juce_core/juce_core.h>

/** The names of the eight tracks in voice order: the seven instruments (0 to 6) and
    the accent track (7), which has no voice of its own. */
class DrumVoiceNames
{
public:
    static constexpr int numInstruments = 7;
    static constexpr int numTracks = 8;
    static constexpr int accentTrack = 7;

    /** "Bass Drum" ... "Accent"; empty outside 0..7. */
    static juce::String getName (int track);

    /** "BD" ... "AC"; empty outside 0..7. */
    static juce::String getShortName (int track);

    /** The track of a short name compared ignoring case, -1 when none. */
    static int findShortName (const juce::String& shortName);
};
