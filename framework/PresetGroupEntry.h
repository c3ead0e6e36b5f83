#pragma once

#include <juce_core/juce_core.h>

/** One preset group: a name and the number of consecutive slots it holds.
    Groups divide the preset list in list order. */
class PresetGroupEntry
{
public:
    PresetGroupEntry (const juce::String& groupName, int numPresets)
        : name (groupName)
        , count (numPresets)
    {
    }

    juce::String name;
    int count = 0;

    JUCE_LEAK_DETECTOR (PresetGroupEntry)
};
