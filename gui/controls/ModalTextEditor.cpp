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
    stopWatchingPlace();

    if (isOnDesktop())
    {
        const bool hadNativeFocus = NativeWindows::isFocusWithin (getWindowHandle());
        removeFromDesktop();

        if (hadNativeFocus)
            NativeWindows::restoreFocus (focusBeforeEdit);
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
    // The base types any character from a space up, with Ctrl held too. Its commands (select
    // all, copy, paste, undo) match on the key code alone, so they stay.
    return juce::TextEditor::keyPressed (juce::KeyPress (key.getKeyCode(), key.getModifiers(), TextKeyFilter::getTypedCharacter (key)));
}

void ModalTextEditor::focusGained (FocusChangeType cause)
{
    if (!editing && !moving)
        beginEdit();

    juce::TextEditor::focusGained (cause);
    repaint();
}

void ModalTextEditor::focusLost (FocusChangeType cause)
{
    juce::TextEditor::focusLost (cause);

    if (!moving)
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
        giveAwayKeyboardFocus();
    else
        endEdit();
}

void ModalTextEditor::endSoon()
{
    juce::MessageManager::callAsync ([safe = juce::Component::SafePointer<ModalTextEditor> (this)]
                                     {
                                         if (safe != nullptr && safe->editing)
                                             safe->endByKey(); });
}

void ModalTextEditor::grabFocusForEdit()
{
    if (!editing)
    {
        focusBeforeEdit = NativeWindows::saveFocus();
        focusNoted = true;
    }

    grabKeyboardFocus();
    focusNoted = false;
}

void ModalTextEditor::beginEdit()
{
    editing = true;
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
        focusBeforeEdit = NativeWindows::saveFocus();

    const auto screenBounds = getPlaceOnScreen();

    {
        const juce::ScopedValueSetter<bool> ours (moving, true);

        // Let go first: a focused child taken from its parent hands the focus to the
        // parent, which would pass it on to another control of the panel.
        giveAwayKeyboardFocus();
        addToDesktop (juce::ComponentPeer::windowIsTemporary);
        setBounds (screenBounds);
        setVisible (true);
        toFront (false);
        grabKeyboardFocus();
    }

    placeWatcher = std::make_unique<LiftedEditWatcher> (*this, static_cast<LiftedEditWatcher::Client&> (*this), *parentBeforeEdit, NativeWindows::isFocusWithin (getWindowHandle()));
}

void ModalTextEditor::followPlace()
{
    if (isOnDesktop() && parentBeforeEdit != nullptr && parentBeforeEdit->isShowing())
        setBounds (getPlaceOnScreen());
}

juce::Rectangle<int> ModalTextEditor::getPlaceOnScreen() const
{
    auto* place = parentBeforeEdit.getComponent();

    if (place == nullptr)
        return getScreenBounds();

    return LiftedEditWatcher::getScreenArea (*place, boundsBeforeEdit);
}

void ModalTextEditor::stopWatchingPlace()
{
    placeWatcher.reset();
}

void ModalTextEditor::putBack()
{
    stopWatchingPlace();

    if (!isOnDesktop())
        return;

    const bool hadNativeFocus = NativeWindows::isFocusWithin (getWindowHandle());

    {
        const juce::ScopedValueSetter<bool> ours (moving, true);

        if (hasKeyboardFocus (false))
            giveAwayKeyboardFocus();

        // Taken off the desktop even when the place is gone: no window stays behind.
        removeFromDesktop();

        if (auto* parent = parentBeforeEdit.getComponent())
        {
            parent->addChildComponent (this);
            setBounds (boundsBeforeEdit);
        }

        setHighlightedRegion ({});
    }

    // Destroying the focused window would drop the focus on the root window, where
    // neither the host nor anything else gets the keys.
    if (hadNativeFocus)
        NativeWindows::restoreFocus (focusBeforeEdit);
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
