#pragma once

#include "gui/controls/ModalTextEditor.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

/** A line of text that opens a ModalTextEditor over itself on a double click (or on
    request). It follows the typing, shows the old text again after Escape and hides the
    editor when the edit ends; owners hear the commit through their own registration. */
class LabelWithModalTextEditor : public juce::Component, public ModalTextEditor::ModalListener
{
public:
    /** The toolkit's label text colour. */
    static constexpr int textColourId = 0x1000281;

    LabelWithModalTextEditor();
    ~LabelWithModalTextEditor() override;

    void setText (const juce::String& newText);
    const juce::String& getText() const noexcept { return text; }

    void setFont (const juce::Font& newFont);
    const juce::Font& getFont() const noexcept { return font; }

    /** Registered with the editor, now or when it is first made; duplicates are ignored. */
    void addListener (ModalTextEditor::ModalListener* listener);

    /** Opens the editor over the label with its text, all selected, and the keyboard focus. */
    void showEditor();

    /** Null until the first edit; kept afterwards. */
    ModalTextEditor* getEditor() const noexcept { return editor.get(); }

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseDoubleClick (const juce::MouseEvent& e) override;

    void textChanged (ModalTextEditor* source) override;
    void editCancelled (ModalTextEditor* source) override;
    void editFinished (ModalTextEditor* source) override;

private:
    juce::Array<ModalTextEditor::ModalListener*> pendingListeners;
    juce::String text;
    std::unique_ptr<ModalTextEditor> editor;
    juce::Font font{13.0f};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LabelWithModalTextEditor)
};
