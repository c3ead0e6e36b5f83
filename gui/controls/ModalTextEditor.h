#pragma once

#include "gui/controls/LiftedWindow.h"
#include "gui/controls/TextKeyFilter.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** A one-line text editor for renaming in place. While an edit runs it lifts itself into
    a window of its own at the same screen place (LiftedWindow), so it draws above
    everything and takes the keys, also inside a plug-in window embedded in a host. Return,
    Tab or a loss of focus ends the edit and reports a changed text; Escape restores the
    text from before. Ending the edit always takes the window away and gives the window
    system's keyboard focus back to where it was; so does the host closing the editor,
    which ends the edit as a loss of focus. Message thread only. */
class ModalTextEditor : public juce::TextEditor, public juce::TextEditor::Listener, private LiftedWindow::Client
{
public:
    class ModalListener
    {
    public:
        virtual ~ModalListener() = default;

        /** The text changed while typing. */
        virtual void textChanged (ModalTextEditor*) {}

        /** Editing ended with a text that differs from the one before. */
        virtual void textCommitted (ModalTextEditor*) {}

        /** Escape was pressed (after editFinished). */
        virtual void editCancelled (ModalTextEditor*) {}

        /** Editing ended (after any textCommitted). */
        virtual void editFinished (ModalTextEditor*) {}
    };

    explicit ModalTextEditor (const juce::String& name = {});
    ~ModalTextEditor() override;

    // Both listener kinds stay reachable.
    using juce::TextEditor::addListener;
    using juce::TextEditor::removeListener;
    void addListener (ModalListener* listener);
    void removeListener (ModalListener* listener);
    int getNumModalListeners() const noexcept { return modalListeners.size(); }

    /** Whatever the creator wants to find again; the editor never reads it. */
    void setOwner (void* newOwner) noexcept { owner = newOwner; }
    void* getOwner() const noexcept { return owner; }

    /** An edit runs from the focus gained to the focus lost, Return or Escape. */
    bool isEditing() const noexcept { return editing; }

    /** True while lifted into its own temporary window. */
    bool isInOwnWindow() const noexcept { return isOnDesktop(); }

    const juce::String& getTextBeforeEdit() const noexcept { return textBeforeEdit; }

    /** Takes the keyboard focus, which begins an edit. The window system's focus is noted
        first: on the way the toolkit hands it to the panel's window, and the edit's end
        must give it back to where it was before, usually the host. */
    void grabFocusForEdit();

    /** Keys held with Ctrl keep their commands but type nothing (TextKeyFilter). */
    bool keyPressed (const juce::KeyPress& key) override;
    void focusGained (FocusChangeType cause) override;
    void focusLost (FocusChangeType cause) override;

    void textEditorTextChanged (juce::TextEditor&) override;
    void textEditorReturnKeyPressed (juce::TextEditor&) override;
    void textEditorEscapeKeyPressed (juce::TextEditor&) override;

private:
    /** Ends the edit as a loss of focus does; releases the focus when it still has it. */
    void endByKey();

    void liftedPlaceGone() override;
    void liftedFocusGone() override;

    void beginEdit();
    void endEdit();
    void liftIntoOwnWindow();
    void putBack();

    TextKeyFilter keyFilter; // also cleans pasted text
    juce::ListenerList<ModalListener> modalListeners; // last added hears first
    void* owner = nullptr;
    juce::Component::SafePointer<juce::Component> parentBeforeEdit;
    juce::Rectangle<int> boundsBeforeEdit;
    juce::String textBeforeEdit;
    bool editing = false;
    bool moving = false; // focus changes while lifting or putting back are ours, not the user's
    bool focusNoted = false; // the window system's focus was noted before the toolkit moved it
    bool hadFocusInEdit = false; // a later gain is the focus coming back, which keeps the selection
    LiftedWindow liftedWindow{*this, *this};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ModalTextEditor)
};
