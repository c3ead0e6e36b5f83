#include "gui/controls/ModalTextEditor.h"

//==============================================================================
ModalTextEditor::ModalTextEditor (const juce::String& name)
    : juce::TextEditor (name, 0)
{
    setMultiLine (false);
    setPopupMenuEnabled (false);
    setSelectAllWhenFocused (true);
    setWantsKeyboardFocus (true);
    setInputFilter (&keyFilter, false);
    juce::TextEditor::addListener (this);
}

ModalTextEditor::~ModalTextEditor()
{
    {
        const juce::ScopedValueSetter<bool> ours (moving, true);
        liftedWindow.lower();
    }

    juce::TextEditor::removeListener (this);
}

void ModalTextEditor::addListener (ModalListener* listener)
{
    if (listener != nullptr)
        modalListeners.add (listener);
}

void ModalTextEditor::removeListener (ModalListener* listener)
{
    modalListeners.remove (listener);
}

bool ModalTextEditor::keyPressed (const juce::KeyPress& key)
{
    // In the panel Tab would move the focus on, which ends the edit; a lifted window has no
    // neighbour to move it to.
    if (editing && key == juce::KeyPress (juce::KeyPress::tabKey))
    {
        endByKey();
        return true;
    }

    // The base types any character from a space up, with Ctrl held too. Its commands (select
    // all, copy, paste, undo) match on the key code alone, so they stay.
    return juce::TextEditor::keyPressed (juce::KeyPress (key.getKeyCode(), key.getModifiers(), TextKeyFilter::getTypedCharacter (key)));
}

void ModalTextEditor::focusGained (FocusChangeType cause)
{
    if (!editing && !moving)
        beginEdit();

    // The focus back after the host held it for a moment: the typing goes on where it was.
    if (editing && hadFocusInEdit)
    {
        const auto selection = getHighlightedRegion();
        const auto caret = getCaretPosition();
        juce::TextEditor::focusGained (cause);

        if (selection.isEmpty())
            setCaretPosition (caret);
        else
            setHighlightedRegion (selection);
    }
    else
    {
        juce::TextEditor::focusGained (cause);
    }

    if (editing && isOnDesktop() && !moving)
        hadFocusInEdit = true;

    repaint();
}

void ModalTextEditor::focusLost (FocusChangeType cause)
{
    juce::TextEditor::focusLost (cause);

    if (!moving && !liftedWindow.keepsThroughFocusLoss())
        endEdit();
}

void ModalTextEditor::textEditorTextChanged (juce::TextEditor&)
{
    modalListeners.call ([this] (ModalListener& l)
                         { l.textChanged (this); });
}

void ModalTextEditor::textEditorReturnKeyPressed (juce::TextEditor&)
{
    endByKey();
}

void ModalTextEditor::textEditorEscapeKeyPressed (juce::TextEditor&)
{
    setText (textBeforeEdit, false);
    endByKey();
    modalListeners.call ([this] (ModalListener& l)
                         { l.editCancelled (this); });
}

void ModalTextEditor::endByKey()
{
    // Given away rather than kept: the hidden editor must not go on taking the keys.
    if (hasKeyboardFocus (false))
    {
        const juce::ScopedValueSetter<bool> ours (moving, true);
        giveAwayKeyboardFocus();
    }

    endEdit();
}

void ModalTextEditor::liftedPlaceGone()
{
    if (editing)
        endByKey();
}

void ModalTextEditor::liftedFocusGone()
{
    if (editing)
        endByKey();
}

void ModalTextEditor::grabFocusForEdit()
{
    if (!editing)
    {
        liftedWindow.noteFocus();
        focusNoted = true;
    }

    grabKeyboardFocus();
    focusNoted = false;
}

void ModalTextEditor::beginEdit()
{
    editing = true;
    hadFocusInEdit = false;
    textBeforeEdit = getText();
    boundsBeforeEdit = getBounds();
    parentBeforeEdit = getParentComponent();

    // Only an editor on screen can be lifted; elsewhere (no display) it edits in place.
    if (parentBeforeEdit != nullptr && isShowing())
        liftIntoOwnWindow();
}

void ModalTextEditor::liftIntoOwnWindow()
{
    if (!focusNoted)
        liftedWindow.noteFocus();

    const juce::ScopedValueSetter<bool> ours (moving, true);

    // Let go first: a focused child taken from its parent hands the focus to the parent,
    // which would pass it on to another control of the panel.
    giveAwayKeyboardFocus();
    liftedWindow.lift (*parentBeforeEdit, boundsBeforeEdit);
}

void ModalTextEditor::putBack()
{
    const bool wasLifted = isOnDesktop();
    const juce::ScopedValueSetter<bool> ours (moving, true);
    liftedWindow.putBack (false);

    if (wasLifted)
        setHighlightedRegion ({});
}

void ModalTextEditor::endEdit()
{
    const bool wasEditing = editing;
    editing = false;
    putBack();

    if (getText() != textBeforeEdit)
    {
        modalListeners.call ([this] (ModalListener& l)
                             { l.textCommitted (this); });
        textBeforeEdit = getText();
    }

    if (wasEditing)
        modalListeners.call ([this] (ModalListener& l)
                             { l.editFinished (this); });

    repaint();
}
