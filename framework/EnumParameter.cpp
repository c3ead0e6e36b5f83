#include "framework/EnumParameter.h"
#include "framework/NumberText.h"

EnumParameter::EnumParameter (int uidToUse, const juce::String& nameToUse, const juce::String& itemsTextToUse, const juce::String& initialText)
    : IntParameter (uidToUse, nameToUse, 0, 1, 0)
    , itemsText (itemsTextToUse)
{
    // A trailing ";" gives no empty last item; two in a row give an empty one.
    int start = 0;

    for (;;)
    {
        const int separator = itemsText.indexOfChar (start, ';');

        if (separator < 0)
        {
            if (start < itemsText.length())
                items.add (itemsText.substring (start));

            break;
        }

        items.add (itemsText.substring (start, separator));
        start = separator + 1;
    }

    setRange (0, items.size() - 1);
    setIntValue (getIntValue(), true);
    setText (initialText, true);
}

std::unique_ptr<Parameter> EnumParameter::clone() const
{
    auto copy = std::make_unique<EnumParameter> (getUid(), getName(), itemsText, juce::String());
    copy->setIntValue (getIntValue(), false);
    copyAttributesTo (*copy);
    return copy;
}

juce::String EnumParameter::getText() const
{
    const int index = getIntValue();
    return juce::isPositiveAndBelow (index, items.size()) ? items[index] : juce::String();
}

void EnumParameter::setText (const juce::String& text, bool notify)
{
    const int index = items.indexOf (text, false);

    if (index >= 0)
        setIntValue (index, notify);
    else
        setNormalisedValue ((float) parseDecimalNumber (text), notify);
}
