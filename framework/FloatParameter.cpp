#include "framework/FloatParameter.h"
#include "framework/NumberText.h"

#include <cmath>
#include <limits>

FloatParameter::FloatParameter (int uidToUse, const juce::String& nameToUse, float minimumToUse, float maximumToUse, float initialValue)
    : Parameter (uidToUse, nameToUse)
    , minimum (minimumToUse)
    , maximum (maximumToUse)
    , value (std::isnan (initialValue) ? minimumToUse : clamp (initialValue))
{
}

std::unique_ptr<Parameter> FloatParameter::clone() const
{
    auto copy = std::make_unique<FloatParameter> (getUid(), getName(), minimum, maximum, getValue());
    copyAttributesTo (*copy);
    return copy;
}

float FloatParameter::clamp (float v) const noexcept
{
    // The minimum wins, so an inverted range still gives one definite value.
    return juce::jmax (minimum, juce::jmin (maximum, v));
}

void FloatParameter::store (float newValue, bool notify)
{
    // A NaN from a host or a file would poison every later comparison.
    if (std::isnan (newValue))
        return;

    if (value.load() == newValue)
        return;

    value.exchange (newValue);
    valueChanged (notify);
}

float FloatParameter::getValue() const
{
    return value.load();
}

float FloatParameter::getNormalisedValue() const
{
    // A range without width has no position in it.
    if (!(maximum > minimum))
        return 0.0f;

    return (getValue() - minimum) / (maximum - minimum);
}

int FloatParameter::getIntValue() const
{
    const auto v = getValue();

    if (v >= 2147483647.0f)
        return std::numeric_limits<int>::max();

    if (v <= -2147483648.0f)
        return std::numeric_limits<int>::min();

    return (int) v;
}

bool FloatParameter::getBoolValue() const
{
    const auto v = getValue();
    return (maximum - v) <= (v - minimum);
}

juce::String FloatParameter::getText() const
{
    return formatNineDecimals (getValue());
}

void FloatParameter::setValue (float newValue, bool notify)
{
    if (!std::isnan (newValue))
        store (clamp (newValue), notify);
}

void FloatParameter::setNormalisedValue (float newValue, bool notify)
{
    if (std::isnan (newValue))
        return;

    const auto c = juce::jlimit (0.0f, 1.0f, newValue);
    store (clamp (minimum + (maximum - minimum) * c), notify);
}

void FloatParameter::setIntValue (int newValue, bool notify)
{
    store (clamp ((float) newValue), notify);
}

void FloatParameter::setBoolValue (bool newValue, bool notify)
{
    store (newValue ? maximum : minimum, notify);
}

void FloatParameter::setText (const juce::String& text, bool notify)
{
    setValue ((float) parseDecimalNumber (text), notify);
}

void FloatParameter::copyValueFrom (const Parameter& other, bool notify)
{
    setValue (other.getValue(), notify);
}
