#pragma once

#include <juce_core/juce_core.h>

/** One step-sequencer pattern: eight tracks (the seven voices in voice order and the
    accent track) of sixteen steps, with its name, length, scale, shuffle and tempo.

    Steps at or beyond the length stay in the record but are not played. The accent
    track only ever holds 0 or 2. */
class PatternData
{
public:
    static constexpr int numTracks = 8;
    static constexpr int numSteps = 16;
    static constexpr int accentTrack = 7;

    static constexpr int rest = 0;
    static constexpr int hit = 1;
    static constexpr int accented = 2;

    static constexpr double minTempo = 30.0;
    static constexpr double maxTempo = 300.0;
    static constexpr double maxShuffle = 0.8;

    PatternData() = default;

    /** Copies everything but the tempo, bringing each value into its range. */
    void copyFrom (const PatternData& source);

    /** Kept without control characters (cleanName): every name that comes from outside,
        typed, from the host or from a file, is set through here. */
    void setName (const juce::String& newName);

    /** Limits bpm to 30..300 and keeps one decimal; returns the tempo in tenths. */
    int setTempo (double bpm);

    /** Out-of-range indices are ignored; a non-zero accent is stored as 2. */
    void setStep (int track, int step, int value);

    /** The step value, or 0 for an index out of range. */
    int getStep (int track, int step) const;

    /** One character per step up to the length: "o" hit, "O" accented, "." rest. */
    juce::String getTrackString (int track) const;

    /** Rotate the first length steps of a track by one place, (n mod length) times. */
    void shiftTrackLeft (int track, int n);
    void shiftTrackRight (int track, int n);

    /** Writes the attributes and the eight track children (not the application). */
    void writeXml (juce::XmlElement& element) const;

    /** Reads the attributes and track children into this record. Steps beyond a
        track's text keep their previous values, so read into a fresh record when the
        result must be exactly what the element holds. */
    void readXml (const juce::XmlElement& element);

    /** The tag of a track's child element: "BD" ... "CH", "AC"; empty out of range. */
    static juce::String getTrackTag (int track);

    static int limitLength (int length) noexcept;
    static int limitScale (int scale) noexcept;
    static double limitShuffle (double shuffle) noexcept;

    bool operator== (const PatternData& other) const noexcept;
    bool operator!= (const PatternData& other) const noexcept { return !operator== (other); }

    juce::String name{"Empty"};
    int length = 16;
    double shuffle = 0.0;
    double tempo = 120.0;
    int scale = 4;

    // Written on the message thread by editing and read by the audio thread at the
    // next step: single int stores, no lock (a step is never half-written).
    int steps[numTracks][numSteps]{};
};
