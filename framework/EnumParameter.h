#pragma once

#include "framework/IntParameter.h"

/** A choice among items; the value is the item's index. The items come as one
    text separated by ";". */
class EnumParameter : public IntParameter
{
public:
    EnumParameter (int uid, const juce::String& name, const juce::String& itemsText, const juce::String& initialText);

    std::unique_ptr<Parameter> clone() const override;

    /** The selected item's text; empty when the index is out of range. */
    juce::String getText() const override;
    void setText (const juce::String& text, bool notify) override;

    const juce::StringArray& getItems() const noexcept { return items; }
    const juce::String& getItemsText() const noexcept { return itemsText; }

private:
    const juce::String itemsText;
    juce::StringArray items;
};
