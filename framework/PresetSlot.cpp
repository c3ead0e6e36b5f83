#include "framework/PresetSlot.h"
#include "framework/NameText.h"

#include <cmath>

PresetSlot::PresetSlot (const juce::String& initialName, int numberOfValues, int slotIndex)
    : name (cleanName (initialName))
    , numValues (juce::jmax (0, numberOfValues))
    , index (slotIndex)
    , values (new std::atomic<float>[(size_t) juce::jmax (1, numValues)])
{
    for (int i = 0; i < numValues; ++i)
        values[(size_t) i].store (0.0f);
}

juce::String PresetSlot::getName() const
{
    const juce::SpinLock::ScopedLockType lock (nameLock);
    return name;
}

void PresetSlot::setName (const juce::String& newName)
{
    auto cleaned = cleanName (newName);
    juce::String old;

    {
        const juce::SpinLock::ScopedLockType lock (nameLock);
        old = std::exchange (name, std::move (cleaned));
    }
    // old is released here, outside the lock
}

float PresetSlot::getValue (int uid) const noexcept
{
    if ((unsigned) uid >= (unsigned) numValues)
        return 0.0f;

    return values[(size_t) uid].load (std::memory_order_relaxed);
}

void PresetSlot::setValue (int uid, float value) noexcept
{
    if ((unsigned) uid < (unsigned) numValues)
        values[(size_t) uid].store (value, std::memory_order_relaxed);
}

void PresetSlot::copyFrom (const PresetSlot& other)
{
    if (&other == this)
        return;

    setName (other.getName());
    copyValuesFrom (other);
}

void PresetSlot::copyValuesFrom (const PresetSlot& other) noexcept
{
    if (&other == this)
        return;

    for (int i = 0; i < numValues; ++i)
        setValue (i, other.getValue (i));
}

juce::String PresetSlot::formatValue (float value)
{
    if (!std::isfinite (value))
        value = 0.0f;

    // Keeps the integer below within range; normalised values never come near.
    value = juce::jlimit (-1.0e12f, 1.0e12f, value);

    // The product is taken in single precision on purpose: stored files were
    // written that way, and 0.1234567f * 1e6f must round to 123457. Scaling the
    // rounded integer back by 0.000001 in double precision and printing six
    // decimals shows exactly the integer's digits, so they are written directly,
    // which also keeps the C locale's decimal point out of the files.
    const auto units = (long long) std::nearbyint (value * 1000000.0f);

    if (units == 0)
        return "0";

    const auto magnitude = units < 0 ? -units : units;
    auto text = juce::String (magnitude / 1000000);
    auto fraction = juce::String (magnitude % 1000000).paddedLeft ('0', 6);

    while (fraction.endsWithChar ('0'))
        fraction = fraction.dropLastCharacters (1);

    if (fraction.isNotEmpty())
        text << '.' << fraction;

    return units < 0 ? "-" + text : text;
}
