#include "vst/AudioEffect.h"
#include "vst/JuceVSTWrapper.h"

#include <gtest/gtest.h>

#include <cstring>

// Host buffers are small and fixed: nothing may be written past them.
TEST (HostStrings, CopiesStopAtTheHostBuffer)
{
    char buffer[40];

    std::memset (buffer, '#', sizeof (buffer));
    JuceVSTWrapper::copyUtf8 (buffer, juce::String ("An effect name far longer than thirty-two bytes"), 32);
    EXPECT_STREQ (buffer, "An effect name far longer than ");
    EXPECT_EQ (std::strlen (buffer), 31u);
    EXPECT_EQ (buffer[32], '#');

    // A two-byte character that does not fit whole is left out whole.
    std::memset (buffer, '#', sizeof (buffer));
    JuceVSTWrapper::copyUtf8 (buffer, juce::String::fromUTF8 ("abcdefg\xc3\xa9"), 9);
    EXPECT_STREQ (buffer, "abcdefg");
    EXPECT_EQ (buffer[9], '#');

    std::memset (buffer, '#', sizeof (buffer));
    JuceVSTWrapper::copyUtf8 (buffer, juce::String::fromUTF8 ("Caf\xc3\xa9"), 8);
    EXPECT_STREQ (buffer, "Caf\xc3\xa9");

    std::memset (buffer, '#', sizeof (buffer));
    AudioEffect::copyString (buffer, "Pulsaret", 5);
    EXPECT_STREQ (buffer, "Puls");
    EXPECT_EQ (buffer[5], '#');

    AudioEffect::copyString (buffer, nullptr, 8);
    EXPECT_STREQ (buffer, "");
    AudioEffect::copyString (nullptr, "x", 8);
    JuceVSTWrapper::copyUtf8 (buffer, "never", 0);
    EXPECT_STREQ (buffer, "");
}
