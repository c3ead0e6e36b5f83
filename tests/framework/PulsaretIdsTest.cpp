#include "generated/PulsaretIds.h"

#include <gtest/gtest.h>
#include <juce_core/juce_core.h>

namespace
{
// The name a description file gives to a number, empty when none.
juce::String nameInFile (const juce::String& file, const juce::String& tag, const juce::String& attribute, int number)
{
    const auto xml = juce::parseXML (juce::File (PULSARET_RESOURCES_DIR).getChildFile (file));
    if (xml == nullptr)
        return {};
    for (auto* element : xml->getChildWithTagNameIterator (tag))
        if (element->getStringAttribute (attribute) == juce::String (number))
            return element->getStringAttribute ("name");
    return {};
}
} // namespace

TEST (PulsaretIds, NamesMatchTheDescriptionFiles)
{
    const std::pair<int, const char*> parameters[] = {
        {ParameterId::bassDrumLevel, "Bass Drum Level"},
        {ParameterId::accentLevel, "Accent Level"},
        {ParameterId::hiHatsLinkMode, "Hi Hats Link Mode"},
        {ParameterId::mainVolume, "Main Volume"},
        {ParameterId::soundParameterCount, "Bass Drum Mute"},
        {ParameterId::firstMute, "Bass Drum Mute"},
        {ParameterId::firstSolo + ParameterId::soloCount - 1, "Closed Hi Hat Solo"},
        {ParameterId::firstOutputNumber + ParameterId::outputNumberCount, "Bass Drum Activity"},
        {ParameterId::firstRandSelection + ParameterId::randSelectionCount - 1, "Accent Rand Selection"},
        {(int) SoundParameter::closedHiHatDecay, "Closed Hi Hat Decay"},
    };
    for (const auto& [number, name] : parameters)
        EXPECT_EQ (nameInFile ("parameters.xml", "param", "index", number), name) << number;

    const std::pair<int, const char*> events[] = {
        {EventId::toggleBassDrumMute, "Toggle Bass Drum Mute"},
        {EventId::firstInverseSolo + EventId::inverseSoloCount - 1, "Inverse Closed Hi Hat Solo"},
        {EventId::firstSelect + EventId::selectCount - 1, "Select Accent"},
        {EventId::firstTapAccented + EventId::tapAccentedCount - 1, "Tap Accent Accented"},
        {EventId::tapAccept, "Tap/Accept"},
    };
    for (const auto& [number, name] : events)
        EXPECT_EQ (nameInFile ("events.xml", "event", "uid", number), name) << number;

    EXPECT_TRUE (ParameterId::isSoundParameter (ParameterId::mainVolume));
    EXPECT_FALSE (ParameterId::isSoundParameter (ParameterId::firstMute));
    EXPECT_FALSE (ParameterId::isSoundParameter (-1));
}
