#pragma once

#include <juce_core/juce_core.h>

/** MIDI note numbers as three-character names: letter, "-" or "#", octave "0" to "9"
    or "X" (note 0 is "C-0", 60 is "C-5", 127 is "G-X"). */

/** The note's name; empty for a note outside 0 to 127. */
juce::String getNoteName (int note);

/** The note number of a name, limited to 127; -1 when the text is no note name
    (the letter must be upper case). */
int getNoteNumber (const juce::String& text);

/** The note's letter alone ("C" for C#); empty for a negative note. */
juce::String getNoteLetter (int note);

/** "0" to "9" or "X" for octaves 0 to 10; empty beyond them. */
juce::String getOctaveCharacter (int note);

/** True for C, D, E, F, G, A and B (the white keys). */
bool isNaturalNote (int note);

/** Position of the note's white key within its octave, 0 to 6 (C# gives 0, as C). */
int getNaturalIndex (int note);
