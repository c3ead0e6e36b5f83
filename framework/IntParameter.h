#pragma once

#include "framework/Parameter.h"

#include <atomic>

/** A whole number in [min, max]; the base of enum and note parameters. */
class IntParameter : public Parameter
{
public:
    IntParameter (int uid, const juce::String& name, int minimum, int maximum, int value);

    std::unique_ptr<Parameter> clone() const override;

    float getValue() const override;
    float getNormalisedValue() const override;
    int getIntValue() const override;
    bool getBoolValue() const override;
    juce::String getText() const override;

    void setValue (float value, bool notify) override;
    void setNormalisedValue (float value, bool notify) override;
    void setIntValue (int value, bool notify) override;
    void setBoolValue (bool value, bool notify) override;
    void setText (const juce::String& text, bool notify) override;
    void copyValueFrom (const Parameter& other, bool notify) override;

    int getMinimum() const noexcept { return minimum; }
    int getMaximum() const noexcept { return maximum; }

protected:
    /** Changes the range; the stored value is left for the caller to re-apply. */
    void setRange (int newMinimum, int newMaximum) noexcept;

    int clamp (int value) const noexcept;
    void store (int newValue, bool notify);

private:
    int minimum, maximum;   // fixed once construction is over
    std::atomic<int> value; // any thread: atomic load and exchange
};
