#pragma once

#include <juce_core/juce_core.h>

/** Attribute look-ups for our documents, whose attribute names match ignoring ASCII
    case (juce::XmlElement's own look-ups are case-sensitive). */

bool hasAttributeIgnoringCase (const juce::XmlElement& element, juce::StringRef name);

juce::String getAttributeIgnoringCase (const juce::XmlElement& element, juce::StringRef name, const juce::String& defaultValue = {});

/** Read as juce::XmlElement::getBoolAttribute reads it: true when the value starts
    with "1", "t", "T", "y" or "Y". */
bool getBoolAttributeIgnoringCase (const juce::XmlElement& element, juce::StringRef name, bool defaultValue);
