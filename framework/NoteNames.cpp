#include "framework/NoteNames.h"

namespace
{
// Negative numbers would otherwise give a negative remainder.
int semitoneOf (int note)
{
    return ((note % 12) + 12) % 12;
}

const char* const letters[12] = {"C", "C", "D", "D", "E", "F", "F", "G", "G", "A", "A", "B"};
const bool naturals[12] = {true, false, true, false, true, true, false, true, false, true, false, true};
const int naturalIndexes[12] = {0, 0, 1, 1, 2, 3, 3, 4, 4, 5, 5, 6};
} // namespace

juce::String getNoteName (int note)
{
    if (note < 0 || note > 127)
        return {};

    return getNoteLetter (note) + (isNaturalNote (note) ? "-" : "#") + getOctaveCharacter (note);
}

int getNoteNumber (const juce::String& text)
{
    if (text.length() != 3)
        return -1;

    const auto letter = text[0], accidental = text[1], octaveCharacter = text[2];

    if (accidental != '-' && accidental != '#')
        return -1;

    const bool sharp = accidental == '#';
    int semitone = 0;

    switch (letter)
    {
        case 'C':
            semitone = sharp ? 1 : 0;
            break;
        case 'D':
            semitone = sharp ? 3 : 2;
            break;
        case 'E':
            semitone = 4;
            break;
        case 'F':
            semitone = sharp ? 6 : 5;
            break;
        case 'G':
            semitone = sharp ? 8 : 7;
            break;
        case 'A':
            semitone = sharp ? 10 : 9;
            break;
        case 'B':
            semitone = 11;
            break;
        default:
            return -1;
    }

    int octave = 0;

    if (octaveCharacter >= '0' && octaveCharacter <= '9')
        octave = (int) (octaveCharacter - '0');
    else if (octaveCharacter == 'X')
        octave = 10;
    else
        return -1;

    return juce::jmin (127, semitone + 12 * octave);
}

juce::String getNoteLetter (int note)
{
    if (note < 0)
        return {};

    return letters[semitoneOf (note)];
}

juce::String getOctaveCharacter (int note)
{
    if (note < 0)
        return {};

    const int octave = note / 12;

    if (octave < 10)
        return juce::String::charToString ((juce::juce_wchar) ('0' + octave));

    return octave == 10 ? "X" : "";
}

bool isNaturalNote (int note)
{
    return naturals[semitoneOf (note)];
}

int getNaturalIndex (int note)
{
    return naturalIndexes[semitoneOf (note)];
}
