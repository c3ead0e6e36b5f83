#include "framework/BoolParameter.h"
#include "framework/NumberText.h"

#include <cmath>

BoolParameter::BoolParameter (int uidToUse, const juce::String& nameToUse, int styleToUse)
    : Parameter (uidToUse, nameToUse)
    , style (styleToUse)
{
}

std::unique_ptr<Parameter> BoolParameter::clone() const
{
    auto copy = std::make_unique<BoolParameter> (getUid(), getName(), style);
    copy->setBoolValue (getBoolValue(), false);
    copyAttributesTo (*copy);
    return copy;
}

void BoolParameter::store (bool newValue, bool notify)
{
    const int word = newValue ? 1 : 0;

    if (value.load() == word)
        return;

    value.exchange (word);
    valueChanged (notify);
}

float BoolParameter::getValue() const
{
    return getBoolValue() ? 1.0f : 0.0f;
}

float BoolParameter::getNormalisedValue() const
{
    return getValue();
}

int BoolParameter::getIntValue() const
{
    return getBoolValue() ? 1 : 0;
}

bool BoolParameter::getBoolValue() const
{
    return value.load() != 0;
}

juce::String BoolParameter::getText() const
{
    const bool b = getBoolValue();

    switch (style)
    {
        case onOff:
            return b ? "on" : "off";
        case oneZero:
            return b ? "1" : "0";
        case yesNo:
            return b ? "yes" : "no";
        default:
            return b ? "true" : "false";
    }
}

void BoolParameter::setValue (float newValue, bool notify)
{
    if (!std::isnan (newValue))
        store (newValue != 0.0f, notify);
}

void BoolParameter::setNormalisedValue (float newValue, bool notify)
{
    if (std::isnan (newValue))
        return;

    if (newValue < 0.0f)
        store (false, notify);
    else if (newValue > 1.0f)
        store (true, notify);
    else
        store (newValue >= 0.5f, notify);
}

void BoolParameter::setIntValue (int newValue, bool notify)
{
    store (newValue != 0, notify);
}

void BoolParameter::setBoolValue (bool newValue, bool notify)
{
    store (newValue, notify);
}

void BoolParameter::setText (const juce::String& text, bool notify)
{
    // Keywords are exact: "On" is no keyword and reads as the number 0.
    if (text == "true" || text == "1" || text == "on" || text == "yes")
        store (true, notify);
    else if (text == "false" || text == "0" || text == "off" || text == "no")
        store (false, notify);
    else
        setNormalisedValue ((float) parseDecimalNumber (text), notify);
}

void BoolParameter::copyValueFrom (const Parameter& other, bool notify)
{
    store (other.getBoolValue(), notify);
}
