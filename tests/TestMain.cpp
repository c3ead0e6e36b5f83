#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

// The message manager lives on the test's main thread, so tests can pump it.
int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);
    juce::ScopedJuceInitialiser_GUI juce;
    return RUN_ALL_TESTS();
}
