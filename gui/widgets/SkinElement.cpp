#include "gui/widgets/SkinElement.h"

#include <juce_graphics/juce_graphics.h>

bool SkinElement::namesMatch (juce::StringRef a, juce::StringRef b) noexcept
{
    auto p = a.text;
    auto q = b.text;

    for (;;)
    {
        auto c1 = p.getAndAdvance();
        auto c2 = q.getAndAdvance();

        // Only ASCII letters fold: names are ASCII and other scripts must not merge.
        if (c1 >= 'A' && c1 <= 'Z')
            c1 += 'a' - 'A';
        if (c2 >= 'A' && c2 <= 'Z')
            c2 += 'a' - 'A';

        if (c1 != c2)
            return false;
        if (c1 == 0)
            return true;
    }
}

bool SkinElement::hasTag (const juce::XmlElement& element, juce::StringRef tag) noexcept
{
    return namesMatch (element.getTagName(), tag);
}

const juce::XmlElement* SkinElement::getChild (const juce::XmlElement& element, juce::StringRef tag) noexcept
{
    for (auto* child : element.getChildIterator())
        if (hasTag (*child, tag))
            return child;

    return nullptr;
}

int SkinElement::findAttribute (const juce::XmlElement& element, juce::StringRef name) noexcept
{
    for (int i = 0; i < element.getNumAttributes(); ++i)
        if (namesMatch (element.getAttributeName (i), name))
            return i;

    return -1;
}

bool SkinElement::hasAttribute (const juce::XmlElement& element, juce::StringRef name) noexcept
{
    return findAttribute (element, name) >= 0;
}

juce::String SkinElement::getString (const juce::XmlElement& element, juce::StringRef name, const juce::String& defaultValue)
{
    const int index = findAttribute (element, name);
    return index >= 0 ? element.getAttributeValue (index) : defaultValue;
}

int SkinElement::getInt (const juce::XmlElement& element, juce::StringRef name, int defaultValue)
{
    const int index = findAttribute (element, name);
    return index >= 0 ? element.getAttributeValue (index).getIntValue() : defaultValue;
}

double SkinElement::getDouble (const juce::XmlElement& element, juce::StringRef name, double defaultValue)
{
    const int index = findAttribute (element, name);
    return index >= 0 ? element.getAttributeValue (index).getDoubleValue() : defaultValue;
}

bool SkinElement::getBool (const juce::XmlElement& element, juce::StringRef name, bool defaultValue)
{
    const int index = findAttribute (element, name);

    if (index < 0)
        return defaultValue;

    const auto first = *element.getAttributeValue (index).getCharPointer().findEndOfWhitespace();
    return first == '1' || first == 't' || first == 'T' || first == 'y' || first == 'Y';
}

juce::Colour SkinElement::parseColour (const juce::String& text)
{
    return juce::Colour ((juce::uint32) text.getHexValue32());
}
