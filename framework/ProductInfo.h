#pragma once

#include <juce_core/juce_core.h>

/** What a plug-in says about itself in its about window. */
struct ProductInfo
{
    juce::String name;
    juce::String version;
    juce::String format;   // the plug-in interface, "VST"
    juce::String platform; // "64bit" or "32bit"
    juce::String buildNumber;
    juce::String buildDate; // year-month-day, fixed when the library was built
};
