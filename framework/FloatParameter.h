#pragma once

#include "framework/Parameter.h"

#include <atomic>

/** A continuous value in [min, max]. */
class FloatParameter : public Parameter
{
public:
    FloatParameter (int uid, const juce::String& name, float minimum, float maximum, float value);

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

    float getMinimum() const noexcept { return minimum; }
    float getMaximum() const noexcept { return maximum; }

private:
    float clamp (float value) const noexcept;
    void store (float newValue, bool notify);

    const float minimum, maximum;
    std::atomic<float> value; // any thread: atomic load and exchange
};
