#include "framework/NoteNames.h"

#include <gtest/gtest.h>

#include <limits>

TEST (NoteNames, NamesOfEveryNote)
{
    const char* names[12] = {"C-", "C#", "D-", "D#", "E-", "F-", "F#", "G-", "G#", "A-", "A#", "B-"};
    const char* octaves = "0123456789X";

    for (int note = 0; note < 128; ++note)
    {
        const auto expected = juce::String (names[note % 12]) + octaves[note / 12];
        EXPECT_EQ (getNoteName (note), expected) << note;
        EXPECT_EQ (getNoteNumber (expected), note) << note;
        EXPECT_EQ (getNoteLetter (note), expected.substring (0, 1));
        EXPECT_EQ (getOctaveCharacter (note), expected.substring (2));
        EXPECT_EQ (isNaturalNote (note), expected[1] == '-');
    }

    EXPECT_EQ (getNoteName (0), "C-0");
    EXPECT_EQ (getNoteName (60), "C-5");
    EXPECT_EQ (getNoteName (61), "C#5");
    EXPECT_EQ (getNoteName (127), "G-X");
    EXPECT_EQ (getNoteName (128), "");
    EXPECT_EQ (getNoteName (-1), "");
    EXPECT_EQ (getNoteName (-12), "");
    EXPECT_EQ (getNoteName (std::numeric_limits<int>::min()), "");
    EXPECT_EQ (getNoteLetter (-1), "");
    EXPECT_EQ (getOctaveCharacter (-1), "");
    EXPECT_EQ (getOctaveCharacter (132), "");
    EXPECT_EQ (getOctaveCharacter (128), "X");

    const int naturalIndexes[12] = {0, 0, 1, 1, 2, 3, 3, 4, 4, 5, 5, 6};
    for (int note = 0; note < 24; ++note)
        EXPECT_EQ (getNaturalIndex (note), naturalIndexes[note % 12]);

    // Negative numbers still index the tables within bounds.
    EXPECT_EQ (getNaturalIndex (-1), 6);
    EXPECT_TRUE (isNaturalNote (-1));
    EXPECT_EQ (getNaturalIndex (std::numeric_limits<int>::min()), 2);
    EXPECT_FALSE (isNaturalNote (-11));
}

TEST (NoteNames, ReadingNames)
{
    const struct
    {
        const char* text;
        int note;
    } table[] = {
        {"C-5", 60},
        {"c-5", -1},
        {"E#3", 40},
        {"E-3", 40},
        {"B#3", 47},
        {"G#X", 127},
        {"B-X", 127},
        {"C-X", 120},
        {"C-9", 108},
        {"A#0", 10},
        {"H-3", -1},
        {"C+3", -1},
        {"C-Y", -1},
        {"C-x", -1},
        {"C-", -1},
        {"C-10", -1},
        {"", -1},
        {" C-3", -1},
    };

    for (auto& row : table)
        EXPECT_EQ (getNoteNumber (row.text), row.note) << row.text;
}
