#pragma once

#include <juce_graphics/juce_graphics.h>

/** Reading skin elements: element and attribute names match ignoring ASCII case,
    values are taken as written. Numbers are decimal; text that is no number reads as 0. */
class SkinElement
{
public:
    static bool namesMatch (juce::StringRef a, juce::StringRef b) noexcept;

    static bool hasTag (const juce::XmlElement& element, juce::StringRef tag) noexcept;

    /** The first child element with that tag, or null. */
    static const juce::XmlElement* getChild (const juce::XmlElement& element, juce::StringRef tag) noexcept;

    static bool hasAttribute (const juce::XmlElement& element, juce::StringRef name) noexcept;
    static juce::String getString (const juce::XmlElement& element, juce::StringRef name, const juce::String& defaultValue = {});
    static int getInt (const juce::XmlElement& element, juce::StringRef name, int defaultValue);
    static double getDouble (const juce::XmlElement& element, juce::StringRef name, double defaultValue);

    /** True when the text, leading spaces skipped, begins with 1, t, T, y or Y. */
    static bool getBool (const juce::XmlElement& element, juce::StringRef name, bool defaultValue);

    /** An ARGB colour written as hexadecimal digits; other characters are skipped. */
    static juce::Colour parseColour (const juce::String& text);

private:
    static int findAttribute (const juce::XmlElement& element, juce::StringRef name) noexcept;
};
