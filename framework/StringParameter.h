#pragma once

#include "framework/Parameter.h"

/** A text value; numbers are read from and written into the text. The texts are names (of the
    current preset, of the edited pattern), so they are kept without control characters
    (cleanName), whoever sets them. */
class StringParameter : public Parameter
{
public:
    StringParameter (int uid, const juce::String& name, const juce::String& text);

    std::unique_ptr<Parameter> clone() const override;

    float getValue() const override;
    float getNormalisedValue() const override;
    int getIntValue() const override;
    /** True for "true", "on", "yes" or a text that reads as a non-zero number. */
    bool getBoolValue() const override;
    juce::String getText() const override;

    void setValue (float value, bool notify) override;
    void setNormalisedValue (float value, bool notify) override;
    void setIntValue (int value, bool notify) override;
    void setBoolValue (bool value, bool notify) override;
    void setText (const juce::String& text, bool notify) override;
    void copyValueFrom (const Parameter& other, bool notify) override;

private:
    juce::String text;        // read under the read lock, replaced under the write lock
    juce::ReadWriteLock lock; // the writer may read, so its synchronous listeners can
};
