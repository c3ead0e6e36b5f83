#pragma once

#include "framework/IntParameter.h"

/** A MIDI note number 0 to 127, shown and typed as a note name such as "C-5". */
class NoteParameter : public IntParameter
{
public:
    NoteParameter (int uid, const juce::String& name);

    std::unique_ptr<Parameter> clone() const override;

    juce::String getText() const override;
    void setText (const juce::String& text, bool notify) override;
};
