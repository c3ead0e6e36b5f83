#include "gui/controls/ModalTextEditor.h"
#include "../../MessagePump.h"
#include "gui/controls/LabelWithModalTextEditor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
struct EditLog : public ModalTextEditor::ModalListener
{
    explicit EditLog (std::vector<std::string>& logToUse, std::string nameToUse = "L")
        : log (logToUse)
        , name (std::move (nameToUse))
    {
    }

    void textChanged (ModalTextEditor* e) override { log.push_back (name + ".changed " + e->getText().toStdString()); }
    void textCommitted (ModalTextEditor* e) override { log.push_back (name + ".committed " + e->getText().toStdString()); }
    void editCancelled (ModalTextEditor*) override { log.push_back (name + ".cancelled"); }
    void editFinished (ModalTextEditor*) override { log.push_back (name + ".finished"); }

    std::vector<std::string>& log;
    std::string name;
};

void press (ModalTextEditor& editor, int keyCode)
{
    editor.keyPressed (juce::KeyPress (keyCode));
    pumpPendingMessages();
}

void type (ModalTextEditor& editor, const juce::String& text)
{
    editor.insertTextAtCaret (text);
    pumpPendingMessages();
}

/** Without a display nothing is on screen: focus changes are handed to the editor as the toolkit would. */
void focus (ModalTextEditor& editor)
{
    editor.focusGained (juce::Component::focusChangedByMouseClick);
}

void unfocus (ModalTextEditor& editor)
{
    editor.focusLost (juce::Component::focusChangedByMouseClick);
    pumpPendingMessages();
}
} // namespace

TEST (ModalTextEditor, IsASingleLineEditorThatSelectsAllOnFocus)
{
    ModalTextEditor editor ("name");
    EXPECT_EQ (editor.getName(), "name");
    EXPECT_FALSE (editor.isMultiLine());
    EXPECT_FALSE (editor.isPopupMenuEnabled());
    EXPECT_EQ (editor.getPasswordCharacter(), 0);
    EXPECT_TRUE (editor.getWantsKeyboardFocus());
    EXPECT_FALSE (editor.isEditing());
    EXPECT_TRUE (editor.getTextBeforeEdit().isEmpty());

    int owner = 0;
    editor.setOwner (&owner);
    EXPECT_EQ (editor.getOwner(), &owner);

    std::vector<std::string> log;
    EditLog a (log, "a"), b (log, "b");
    editor.addListener (&a);
    editor.addListener (&b);
    editor.addListener (&a);
    editor.addListener (static_cast<ModalTextEditor::ModalListener*> (nullptr));
    EXPECT_EQ (editor.getNumModalListeners(), 2);

    // Last added first.
    editor.setText ("x", false);
    focus (editor);
    type (editor, "y");
    EXPECT_EQ (log, (std::vector<std::string>{"b.changed y", "a.changed y"}));
}

TEST (ModalTextEditor, ReturnAndFocusLossEndTheEdit)
{
    std::vector<std::string> log;
    EditLog listener (log);
    ModalTextEditor editor ("e");
    editor.addListener (&listener);
    editor.setText ("Kick", false);

    // Return with the text unchanged: no commit, but the edit ends.
    focus (editor);
    EXPECT_TRUE (editor.isEditing());
    EXPECT_EQ (editor.getTextBeforeEdit(), "Kick");
    press (editor, juce::KeyPress::returnKey);
    EXPECT_FALSE (editor.isEditing());
    EXPECT_EQ (log, (std::vector<std::string>{"L.finished"}));

    // Return after typing: the commit comes before the end.
    log.clear();
    focus (editor);
    editor.selectAll();
    type (editor, "Snare");
    press (editor, juce::KeyPress::returnKey);
    EXPECT_EQ (log, (std::vector<std::string>{"L.changed Snare", "L.committed Snare", "L.finished"}));
    EXPECT_EQ (editor.getTextBeforeEdit(), "Snare");

    // A later focus loss does not report the same edit again.
    log.clear();
    unfocus (editor);
    EXPECT_TRUE (log.empty());

    // Focus loss ends an edit as Return does.
    focus (editor);
    editor.moveCaretToEnd();
    type (editor, "!");
    log.clear();
    unfocus (editor);
    EXPECT_EQ (log, (std::vector<std::string>{"L.committed Snare!", "L.finished"}));

    // So does Tab, which in a panel moves the focus on: it types nothing.
    focus (editor);
    editor.moveCaretToEnd();
    type (editor, "?");
    log.clear();
    press (editor, juce::KeyPress::tabKey);
    EXPECT_FALSE (editor.isEditing());
    EXPECT_EQ (editor.getText(), "Snare!?");
    EXPECT_EQ (log, (std::vector<std::string>{"L.committed Snare!?", "L.finished"}));
}

TEST (ModalTextEditor, EscapeRestoresTheTextFromBefore)
{
    std::vector<std::string> log;
    EditLog listener (log);
    ModalTextEditor editor ("e");
    editor.addListener (&listener);
    editor.setText ("Tom", false);

    focus (editor);
    editor.selectAll();
    type (editor, "Cymbal");
    log.clear();
    press (editor, juce::KeyPress::escapeKey);
    EXPECT_EQ (editor.getText(), "Tom");
    EXPECT_FALSE (editor.isEditing());
    EXPECT_EQ (log, (std::vector<std::string>{"L.finished", "L.cancelled"})) << "no commit, no change message";
}

TEST (LabelWithModalTextEditor, OpensTheEditorOverItselfAndFollowsIt)
{
    std::vector<std::string> log;
    EditLog owner (log, "O");
    LabelWithModalTextEditor label;
    label.setName ("Preset Name");
    label.setBounds (0, 0, 120, 18);
    EXPECT_EQ (label.getFont().getHeight(), 13.0f);
    label.setText ("Init");

    // Registered twice before the editor exists: told once.
    label.addListener (&owner);
    label.addListener (&owner);
    EXPECT_EQ (label.getEditor(), nullptr);

    label.showEditor();
    auto* editor = label.getEditor();
    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (editor->getName(), "Preset Name");
    EXPECT_EQ (editor->getOwner(), &label);
    EXPECT_EQ (editor->getNumModalListeners(), 2);
    EXPECT_EQ (editor->getParentComponent(), &label);
    EXPECT_EQ (editor->getBounds(), label.getLocalBounds());
    EXPECT_TRUE (editor->isVisible());
    EXPECT_EQ (editor->getText(), "Init");
    EXPECT_EQ (editor->getHighlightedRegion(), juce::Range<int> (0, 4));
    EXPECT_EQ (editor->findColour (juce::TextEditor::highlightColourId), juce::Colour (0xffd3d3d3));
    EXPECT_EQ (editor->findColour (juce::TextEditor::outlineColourId), juce::Colour (0xff000000));
    EXPECT_EQ (editor->findColour (juce::TextEditor::focusedOutlineColourId), juce::Colour (0xffff4500).withAlpha (0.75f));

    // The label follows the typing.
    focus (*editor);
    type (*editor, "Rock");
    EXPECT_EQ (label.getText(), "Rock");

    // Text set from outside while the editor is open goes in without a change message.
    log.clear();
    label.setText ("Jazz");
    pumpPendingMessages();
    EXPECT_EQ (editor->getText(), "Jazz");
    EXPECT_TRUE (log.empty());

    // Escape: both show the text from before the edit; the label hides the editor.
    press (*editor, juce::KeyPress::escapeKey);
    EXPECT_EQ (editor->getText(), "Init");
    EXPECT_EQ (label.getText(), "Init");
    EXPECT_FALSE (editor->isVisible());
    EXPECT_EQ (log, (std::vector<std::string>{"O.finished", "O.cancelled"}));

    // The editor is kept for the next edit; a commit reaches the owner, and the label keeps the text.
    log.clear();
    label.showEditor();
    EXPECT_EQ (label.getEditor(), editor);
    EXPECT_EQ (editor->getNumModalListeners(), 2);
    focus (*editor);
    editor->selectAll();
    type (*editor, "Funk");
    press (*editor, juce::KeyPress::returnKey);
    EXPECT_EQ (log, (std::vector<std::string>{"O.changed Funk", "O.committed Funk", "O.finished"}));
    EXPECT_EQ (label.getText(), "Funk");
    EXPECT_FALSE (editor->isVisible());

    // The editor covers the label when it changes size.
    label.setSize (200, 20);
    EXPECT_EQ (editor->getBounds(), juce::Rectangle<int> (0, 0, 200, 20));
}

TEST (LabelWithModalTextEditor, PaintsItsTextOnTheLeft)
{
    LabelWithModalTextEditor label;
    label.setBounds (0, 0, 60, 30);
    label.setColour (LabelWithModalTextEditor::textColourId, juce::Colours::red);
    label.setText ("II");
    auto image = label.createComponentSnapshot (label.getLocalBounds(), true, 1.0f);
    juce::Rectangle<int> inked;

    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt (x, y).getRed() > 128 && image.getPixelAt (x, y).getGreen() < 100)
                inked = inked.isEmpty() ? juce::Rectangle<int> (x, y, 1, 1) : inked.getUnion ({x, y, 1, 1});

    ASSERT_FALSE (inked.isEmpty());
    EXPECT_LT (inked.getX(), 5);
    EXPECT_NEAR (inked.getCentreY(), 15, 3);

    juce::Font font (20.0f);
    label.setFont (font);
    EXPECT_EQ (label.getFont(), font);
}
