#include "../../MessagePump.h"
#include "gui/controls/LabelWithModalTextEditor.h"

#include <gtest/gtest.h>

namespace
{
// Made before Xlib's headers, whose KeyPress macro hides JUCE's class.
void pressKey (juce::Component& target, int keyCode)
{
    target.keyPressed (juce::KeyPress (keyCode));
}

const int returnKeyCode = juce::KeyPress::returnKey;
const int escapeKeyCode = juce::KeyPress::escapeKey;
} // namespace

#include "tests/X11TestHost.h"

namespace
{
struct EditLog : public ModalTextEditor::ModalListener
{
    void textCommitted (ModalTextEditor* e) override { log.push_back ("committed " + e->getText().toStdString()); }
    void editCancelled (ModalTextEditor*) override { log.push_back ("cancelled"); }
    void editFinished (ModalTextEditor*) override { log.push_back ("finished"); }

    std::vector<std::string> log;
};
} // namespace

TEST (ModalTextEditorInX11, LiftsOutOfAnEmbeddedWindowAndGivesTheFocusBack)
{
    const char* displayName = std::getenv ("PULSARET_EDITOR_DISPLAY");

    if (displayName == nullptr)
        GTEST_SKIP() << "needs the display that with_xvfb.sh provides";

    X11Host host (displayName);
    ASSERT_NE (host.display, nullptr);
    ASSERT_TRUE (waitFor ([&]
                          { return host.isViewable (host.window); }));

    // The plug-in's panel inside the host's window, as the VST adapter embeds it: a
    // host-side holder on the desktop with the panel as its child, a label on the panel.
    auto holder = std::make_unique<juce::Component>();
    juce::Component panel;
    panel.setBounds (0, 0, 300, 200);
    holder->setSize (300, 200);
    holder->addAndMakeVisible (panel);
    LabelWithModalTextEditor label;
    label.setName ("Name");
    label.setBounds (20, 30, 120, 18);
    label.setText ("Init");
    panel.addAndMakeVisible (label);
    holder->addToDesktop (0, (void*) (juce::pointer_sized_uint) host.window);
    holder->setVisible (true);
    ASSERT_TRUE (waitFor ([&]
                          { return label.isShowing() && host.isViewable ((Window) holder->getWindowHandle()); }));
    const auto labelOnScreen = [&]
    { return host.rootPosition ((Window) holder->getWindowHandle()) + label.getPosition(); };

    EditLog owner;
    label.addListener (&owner);

    auto hostHasTheFocus = [&]
    {
        XSetInputFocus (host.display, host.window, RevertToParent, CurrentTime);
        XSync (host.display, False);
        return host.focus() == host.window;
    };

    auto* editor = static_cast<ModalTextEditor*> (nullptr);
    Window lifted = 0;

    auto openEditor = [&]
    {
        label.showEditor();
        editor = label.getEditor();

        if (editor == nullptr || !waitFor ([&]
                                           { return editor->isOnDesktop(); }))
            return false;

        lifted = (Window) editor->getWindowHandle();
        return waitFor ([&]
                        { return host.focus() == lifted; });
    };

    // Lifted into a window of its own over the label, with the keyboard.
    ASSERT_TRUE (hostHasTheFocus());
    ASSERT_TRUE (openEditor());
    EXPECT_TRUE (waitFor ([&]
                          { return host.rootPosition (lifted) == labelOnScreen(); }))
        << "over the label";
    EXPECT_EQ (editor->getBounds().withZeroOrigin(), label.getLocalBounds());
    EXPECT_TRUE (host.isViewable (lifted));
    EXPECT_TRUE (editor->hasKeyboardFocus (false));
    EXPECT_TRUE (editor->isEditing());

    // The host's window moves: nothing tells the embedded window, yet the lifted one follows.
    const auto before = host.rootPosition (host.window);
    XMoveWindow (host.display, host.window, before.x + 40, before.y + 25);
    XSync (host.display, False);
    ASSERT_TRUE (waitFor ([&]
                          { return host.rootPosition (host.window) != before; }));
    EXPECT_TRUE (waitFor ([&]
                          { return host.rootPosition (lifted) == labelOnScreen(); }))
        << "over the label after the move";

    // Return puts it back, takes the window away and hands the focus back to the host.
    editor->insertTextAtCaret ("Rock");
    pressKey (*editor, returnKeyCode);
    ASSERT_TRUE (waitFor ([&]
                          { return !editor->isOnDesktop(); }));
    EXPECT_EQ (editor->getParentComponent(), &label);
    EXPECT_EQ (editor->getBounds(), label.getLocalBounds());
    EXPECT_FALSE (editor->isVisible());
    EXPECT_FALSE (editor->hasKeyboardFocus (false));
    EXPECT_EQ (label.getText(), "Rock");
    EXPECT_EQ (owner.log, (std::vector<std::string>{"committed Rock", "finished"}));
    EXPECT_TRUE (waitFor ([&]
                          { return !host.exists (lifted); }))
        << "no window stays behind";
    EXPECT_TRUE (waitFor ([&]
                          { return host.focus() == host.window; }))
        << "the focus is back where it was";

    // Escape: the same, and the old text again.
    owner.log.clear();
    ASSERT_TRUE (openEditor());
    editor->insertTextAtCaret ("Jazz");
    pressKey (*editor, escapeKeyCode);
    ASSERT_TRUE (waitFor ([&]
                          { return !editor->isOnDesktop(); }));
    EXPECT_EQ (label.getText(), "Rock");
    EXPECT_EQ (owner.log, (std::vector<std::string>{"finished", "cancelled"}));
    EXPECT_TRUE (waitFor ([&]
                          { return !host.exists (lifted); }));
    EXPECT_TRUE (waitFor ([&]
                          { return host.focus() == host.window; }));

    // The host takes the focus back (a click in its own window, away from the edit): the edit
    // ends as committed.
    owner.log.clear();
    ASSERT_TRUE (openEditor());
    editor->insertTextAtCaret ("Soul");
    XWarpPointer (host.display, None, host.window, 0, 0, 0, 0, 400, 250);
    XSetInputFocus (host.display, host.window, RevertToParent, CurrentTime);
    XSync (host.display, False);
    ASSERT_TRUE (waitFor ([&]
                          { return !editor->isOnDesktop(); }));
    EXPECT_EQ (label.getText(), "Soul");
    EXPECT_EQ (owner.log, (std::vector<std::string>{"committed Soul", "finished"}));
    EXPECT_TRUE (waitFor ([&]
                          { return !host.exists (lifted); }));
    EXPECT_EQ (host.focus(), host.window);

    // A label deleted during an edit takes its window with it; the pointer moving over the
    // panel afterwards reaches nothing of it.
    {
        auto doomed = std::make_unique<LabelWithModalTextEditor>();
        doomed->setBounds (20, 80, 120, 18);
        panel.addAndMakeVisible (*doomed);
        ASSERT_TRUE (hostHasTheFocus());
        doomed->showEditor();
        ASSERT_NE (doomed->getEditor(), nullptr);
        ASSERT_TRUE (waitFor ([&]
                              { return doomed->getEditor()->isOnDesktop(); }));
        const auto doomedWindow = (Window) doomed->getEditor()->getWindowHandle();
        doomed.reset();
        EXPECT_TRUE (waitFor ([&]
                              { return !host.exists (doomedWindow); }));
        EXPECT_TRUE (waitFor ([&]
                              { return host.focus() == host.window; }))
            << "focus on " << host.focus() << ", the host's window " << host.window << ", the panel's " << (Window) holder->getWindowHandle();

        const auto panelOnScreen = host.rootPosition ((Window) holder->getWindowHandle());
        for (int step = 0; step < 5; ++step)
        {
            XWarpPointer (host.display, None, DefaultRootWindow (host.display), 0, 0, 0, 0, panelOnScreen.x + 30 + 10 * step, panelOnScreen.y + 60);
            XSync (host.display, False);
            settle();
        }
    }

    // The host closes the plug-in's window during an edit: the lifted one goes too, and the
    // focus does not fall to the root window.
    owner.log.clear();
    ASSERT_TRUE (openEditor());
    holder.reset();
    EXPECT_TRUE (waitFor ([&]
                          { return !editor->isOnDesktop(); }));
    EXPECT_TRUE (waitFor ([&]
                          { return !host.exists (lifted); }));
    EXPECT_EQ (owner.log, (std::vector<std::string>{"finished"}));
    EXPECT_TRUE (waitFor ([&]
                          { return host.focus() == host.window; }));
}
