#include "gui/controls/TextKeyFilter.h"

#include "framework/NameText.h"

juce::juce_wchar TextKeyFilter::getTypedCharacter (const juce::KeyPress& key)
{
    if (key.getModifiers().isCtrlDown())
        return 0;

    const auto character = key.getTextCharacter() != 0 ? key.getTextCharacter() : (juce::juce_wchar) key.getKeyCode();
    return isNameCharacter (character) ? character : 0;
}

juce::String TextKeyFilter::filterNewText (juce::TextEditor&, const juce::String& newInput)
{
    return cleanName (newInput);
}
