#pragma once

#include "framework/Parameter.h"

#include <atomic>

/** An on/off value whose text follows its style. */
class BoolParameter : public Parameter
{
public:
    enum Style
    {
        trueFalse = 0,
        onOff = 1,
        oneZero = 2,
        yesNo = 3
    };

    BoolParameter (int uid, const juce::String& name, int style);

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

    int getStyle() const noexcept { return style; }

private:
    void store (bool newValue, bool notify);

    const int style;
    std::atomic<int> value{0}; // 0 or 1; any thread: atomic load and exchange
};
