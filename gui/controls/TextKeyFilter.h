#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** What typing may put into the toolkit's text fields: the name displays lifted for an edit,
    and the modal text editor with the labels that open it. Whatever they hold ends up as a
    name in the plug-in's documents. As a juce::TextEditor input filter it cleans what is
    inserted, typed or pasted (cleanName); getTypedCharacter decides which keys type at all. */
class TextKeyFilter : public juce::TextEditor::InputFilter
{
public:
    /** The character a key types, or 0 when it types none. A key held with Ctrl is a command
        (Ctrl+A selects all), never text, whatever character it carries: X11 turns Ctrl+A into
        character 1 and leaves Ctrl+1 a "1". AltGr is no Ctrl: JUCE on Linux reports Ctrl only
        for the Control keys' modifier mask and Alt only for the left Alt key's, so a character
        typed with AltGr (its own mask) comes with neither and still types. A key without a
        character of its own types its key code. Control characters never type. */
    static juce::juce_wchar getTypedCharacter (const juce::KeyPress& key);

    juce::String filterNewText (juce::TextEditor&, const juce::String& newInput) override;
};
