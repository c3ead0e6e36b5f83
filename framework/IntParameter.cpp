#include "framework/IntParameter.h"
#include "framework/NumberText.h"

#include <cmath>

IntParameter::IntParameter (int uidToUse, const juce::String& nameToUse, int minimumToUse, int maximumToUse, int initialValue)
    : Parameter (uidToUse, nameToUse)
    , minimum (minimumToUse)
    , maximum (maximumToUse)
    , value (clamp (initialValue))
{
}

std::unique_ptr<Parameter> IntParameter::clone() const
{
    auto copy = std::make_unique<IntParameter> (getUid(), getName(), minimum, maximum, getIntValue());
    copyAttributesTo (*copy);
    return copy;
}

void IntParameter::setRange (int newMinimum, int newMaximum) noexcept
{
    minimum = newMinimum;
    maximum = newMaximum;
}

int IntParameter::clamp (int v) const noexcept
{
    // The minimum wins, so an empty enum (range 0 to -1) still holds 0.
    return juce::jmax (minimum, juce::jmin (maximum, v));
}

void IntParameter::store (int newValue, bool notify)
{
    if (value.load() == newValue)
        return;

    value.exchange (newValue);
    valueChanged (notify);
}

float IntParameter::getValue() const
{
    return (float) getIntValue();
}

float IntParameter::getNormalisedValue() const
{
    // A one-item or empty range has no position in it.
    if (maximum <= minimum)
        return 0.0f;

    return (float) ((double) getIntValue() - minimum) / (float) ((double) maximum - minimum);
}

int IntParameter::getIntValue() const
{
    return value.load();
}

bool IntParameter::getBoolValue() const
{
    return getIntValue() != minimum;
}

juce::String IntParameter::getText() const
{
    return juce::String (getIntValue());
}

void IntParameter::setValue (float newValue, bool notify)
{
    if (std::isnan (newValue))
        return;

    // Clamped before the conversion, which is undefined outside the int range.
    const auto truncated = std::trunc ((double) newValue);
    store ((int) juce::jlimit ((double) minimum, (double) juce::jmax (minimum, maximum), truncated), notify);
}

void IntParameter::setNormalisedValue (float newValue, bool notify)
{
    if (std::isnan (newValue))
        return;

    const auto c = (double) juce::jlimit (0.0f, 1.0f, newValue);
    const auto steps = std::floor (((double) maximum - minimum) * c + 0.5);
    store (clamp ((int) juce::jlimit ((double) minimum, (double) juce::jmax (minimum, maximum), minimum + steps)), notify);
}

void IntParameter::setIntValue (int newValue, bool notify)
{
    store (clamp (newValue), notify);
}

void IntParameter::setBoolValue (bool newValue, bool notify)
{
    store (newValue ? clamp (maximum) : minimum, notify);
}

void IntParameter::setText (const juce::String& text, bool notify)
{
    setIntValue (parseDecimalInteger (text), notify);
}

void IntParameter::copyValueFrom (const Parameter& other, bool notify)
{
    setIntValue (other.getIntValue(), notify);
}
