#include "framework/XmlAttributes.h"

#include "framework/NumberText.h"

namespace
{
int findAttribute (const juce::XmlElement& element, juce::StringRef name)
{
    for (int i = 0; i < element.getNumAttributes(); ++i)
        if (element.getAttributeName (i).equalsIgnoreCase (name))
            return i;

    return -1;
}
} // namespace

bool hasAttributeIgnoringCase (const juce::XmlElement& element, juce::StringRef name)
{
    return findAttribute (element, name) >= 0;
}

juce::String getAttributeIgnoringCase (const juce::XmlElement& element, juce::StringRef name, const juce::String& defaultValue)
{
    const int index = findAttribute (element, name);
    return index >= 0 ? element.getAttributeValue (index) : defaultValue;
}

bool getBoolAttributeIgnoringCase (const juce::XmlElement& element, juce::StringRef name, bool defaultValue)
{
    const int index = findAttribute (element, name);

    if (index < 0)
        return defaultValue;

    const auto first = *element.getAttributeValue (index).getCharPointer().findEndOfWhitespace();
    return first == '1' || first == 't' || first == 'T' || first == 'y' || first == 'Y';
}

std::optional<int> readIntegerAttribute (const juce::XmlElement& element, juce::StringRef name, int missingValue)
{
    const int index = findAttribute (element, name);
    return index >= 0 ? readIntegerText (element.getAttributeValue (index)) : std::optional<int> (missingValue);
}

std::optional<double> readNumberAttribute (const juce::XmlElement& element, juce::StringRef name, double missingValue)
{
    const int index = findAttribute (element, name);
    return index >= 0 ? readNumberText (element.getAttributeValue (index)) : std::optional<double> (missingValue);
}
