#pragma once

#include <juce_core/juce_core.h>

#include <optional>

/** Attribute look-ups for our documents, whose attribute names match ignoring ASCII
    case (juce::XmlElement's own look-ups are case-sensitive). */

bool hasAttributeIgnoringCase (const juce::XmlElement& element, juce::StringRef name);

juce::String getAttributeIgnoringCase (const juce::XmlElement& element, juce::StringRef name, const juce::String& defaultValue = {});

/** Read as juce::XmlElement::getBoolAttribute reads it: true when the value starts
    with "1", "t", "T", "y" or "Y". */
bool getBoolAttributeIgnoringCase (const juce::XmlElement& element, juce::StringRef name, bool defaultValue);

/** A number attribute read strictly (readIntegerText, readNumberText): missingValue when the
    attribute is missing, empty when it is there but holds no number, so that the reader can
    skip what a damaged value would otherwise turn into a valid entry. */
std::optional<int> readIntegerAttribute (const juce::XmlElement& element, juce::StringRef name, int missingValue);
std::optional<double> readNumberAttribute (const juce::XmlElement& element, juce::StringRef name, double missingValue);
