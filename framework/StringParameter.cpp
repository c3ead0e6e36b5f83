#include "framework/StringParameter.h"
#include "framework/NameText.h"
#include "framework/NumberText.h"

#include <cmath>

StringParameter::StringParameter (int uidToUse, const juce::String& nameToUse, const juce::String& initialText)
    : Parameter (uidToUse, nameToUse)
    , text (cleanName (initialText))
{
}

std::unique_ptr<Parameter> StringParameter::clone() const
{
    auto copy = std::make_unique<StringParameter> (getUid(), getName(), getText());
    copyAttributesTo (*copy);
    return copy;
}

float StringParameter::getValue() const
{
    return (float) parseDecimalNumber (getText());
}

float StringParameter::getNormalisedValue() const
{
    const auto v = getValue();
    return std::isnan (v) ? 0.0f : juce::jlimit (0.0f, 1.0f, v);
}

int StringParameter::getIntValue() const
{
    return parseDecimalInteger (getText());
}

bool StringParameter::getBoolValue() const
{
    const auto t = getText().trim();

    if (t.equalsIgnoreCase ("true") || t.equalsIgnoreCase ("on") || t.equalsIgnoreCase ("yes"))
        return true;

    const auto v = parseDecimalNumber (t);
    return v != 0.0 && !std::isnan (v);
}

juce::String StringParameter::getText() const
{
    const juce::ScopedReadLock sl (lock);
    return text;
}

void StringParameter::setValue (float newValue, bool notify)
{
    if (!std::isnan (newValue))
        setText (formatGeneralNumber (newValue), notify);
}

void StringParameter::setNormalisedValue (float newValue, bool notify)
{
    setValue (newValue, notify);
}

void StringParameter::setIntValue (int newValue, bool notify)
{
    setText (juce::String (newValue), notify);
}

void StringParameter::setBoolValue (bool newValue, bool notify)
{
    setText (newValue ? "true" : "false", notify);
}

void StringParameter::setText (const juce::String& newText, bool notify)
{
    const auto cleaned = cleanName (newText);

    {
        const juce::ScopedReadLock sl (lock);

        if (cleaned == text)
            return;
    }

    // The lock is released last, so a synchronous listener sees the new text.
    const juce::ScopedWriteLock sl (lock);
    text = cleaned;
    valueChanged (notify);
}

void StringParameter::copyValueFrom (const Parameter& other, bool notify)
{
    setText (other.getText(), notify);
}
