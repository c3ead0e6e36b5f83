#include "framework/NoteParameter.h"
#include "framework/NoteNames.h"
#include "framework/NumberText.h"

NoteParameter::NoteParameter (int uidToUse, const juce::String& nameToUse)
    : IntParameter (uidToUse, nameToUse, 0, 127, 0)
{
}

std::unique_ptr<Parameter> NoteParameter::clone() const
{
    auto copy = std::make_unique<NoteParameter> (getUid(), getName());
    copy->setIntValue (getIntValue(), false);
    copy->setAuto (isAuto());
    return copy;
}

juce::String NoteParameter::getText() const
{
    return getNoteName (getIntValue());
}

void NoteParameter::setText (const juce::String& text, bool notify)
{
    const int note = getNoteNumber (text);

    if (note >= 0)
        setIntValue (note, notify);
    else
        setNormalisedValue ((float) parseDecimalNumber (text), notify);
}
