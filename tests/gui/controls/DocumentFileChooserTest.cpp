#include "gui/controls/DocumentFileChooser.h"
#include "ControlsTestSupport.h"
#include "tests/TempFolder.h"

using namespace controls_test;

namespace
{
/** Answers each chooser at once with a scripted file (none: cancelled). */
struct ScriptedChooser : public FileChooserLauncher
{
    juce::File answer;
    juce::String lastWildcard;
    int saves = 0;

    void launchForSave (const juce::String&, const juce::File&, const juce::String& wildcard, Callback onChosen) override
    {
        ++saves;
        lastWildcard = wildcard;

        if (answer != juce::File())
            onChosen (answer);
    }

    void launch (const juce::String&, const juce::File&, const juce::String& wildcard, Callback onChosen) override
    {
        lastWildcard = wildcard;

        if (answer != juce::File())
            onChosen (answer);
    }
};

void click (Oru::AlertWindow& window, const juce::String& text)
{
    for (int i = 0; i < window.getNumButtons(); ++i)
        if (window.getButton (i)->getButtonText() == text)
            window.getButton (i)->triggerClick();

    pumpMessages (30);
}
} // namespace

TEST (DocumentFileChooser, ExtensionIsAppendedUnlessTheNameEndsWithIt)
{
    const struct
    {
        const char* chosen;
        const char* extension;
        const char* saved;
    } cases[] = {
        {"Groove", ".PXptr", "Groove.PXptr"},
        {"Groove v1.5", ".PXptr", "Groove v1.5.PXptr"},
        {"Kit v1.5", ".PXprs", "Kit v1.5.PXprs"},
        {"map.txt", ".PXccmap", "map.txt.PXccmap"},
        {"GROOVE.pxptr", ".PXptr", "GROOVE.pxptr"},
        {"Bank.PXptr", ".PXptrb", "Bank.PXptr.PXptrb"},
    };

    for (const auto& c : cases)
        EXPECT_EQ (DocumentFileChooser::withExtension (juce::File ("/songs").getChildFile (c.chosen), c.extension),
                   juce::File ("/songs").getChildFile (c.saved))
            << c.chosen;
}

TEST (DocumentFileChooser, AsksBeforeReplacingAndReportsFailure)
{
    DefaultLookAndFeel laf;
    TestDesktop editor (&laf);
    juce::Component page;
    editor.addAndMakeVisible (page);
    TempFolder temp;

    DocumentFileChooser files (page);
    auto scripted = std::make_unique<ScriptedChooser>();
    auto& chooser = *scripted;
    files.setLauncher (std::move (scripted));

    const auto target = temp.file ("Groove.PXptr");
    juce::String toWrite = "new";
    bool writerSucceeds = true;
    juce::Array<juce::File> written, saved;

    auto save = [&]
    {
        files.save (
            "Save pattern", ".PXptr",
            [&] (const juce::File& f)
            {
                written.add (f);
                return writerSucceeds && f.replaceWithText (toWrite);
            },
            [&] (const juce::File& f)
            { saved.add (f); });
    };

    // Cancelled: nothing asked, nothing written.
    save();
    EXPECT_EQ (chooser.lastWildcard, "*.PXptr");
    EXPECT_TRUE (written.isEmpty());

    // A new name: written under the name with its extension, no question.
    chooser.answer = temp.file ("Groove");
    save();
    EXPECT_EQ (files.getQuestion(), nullptr);
    EXPECT_EQ (saved, juce::Array<juce::File> (target));
    EXPECT_EQ (target.loadFileAsString(), "new");

    // The same name typed again: the question names the file with its extension; "No" keeps it.
    toWrite = "newer";
    save();
    ASSERT_NE (files.getQuestion(), nullptr);
    EXPECT_TRUE (files.getQuestion()->isShown());
    EXPECT_EQ (files.getQuestion()->getMessage(), "\"Groove.PXptr\" already exists. Do you want to replace it?");
    EXPECT_EQ (files.getQuestion()->getCoveringWindow().getParentComponent(), &editor);
    click (*files.getQuestion(), "No");
    EXPECT_FALSE (files.getQuestion()->isShown());
    EXPECT_EQ (written.size(), 1);
    EXPECT_EQ (target.loadFileAsString(), "new");

    // "Yes" replaces it.
    save();
    click (*files.getQuestion(), "Yes");
    EXPECT_EQ (target.loadFileAsString(), "newer");
    EXPECT_EQ (saved.size(), 2);

    // A writer that fails: a one-button notice, the file unchanged, no success reported.
    writerSucceeds = false;
    chooser.answer = temp.file ("groove.pxptr");
    save();
    EXPECT_EQ (files.getQuestion(), nullptr);
    ASSERT_NE (files.getNotice(), nullptr);
    EXPECT_TRUE (files.getNotice()->isShown());
    EXPECT_EQ (files.getNotice()->getNumButtons(), 1);
    EXPECT_EQ (files.getNotice()->getMessage(), "\"groove.pxptr\" could not be saved.");
    EXPECT_EQ (saved.size(), 2);

    // A name that is a folder: the notice, without calling the writer.
    temp.file ("Kit.PXptr").createDirectory();
    chooser.answer = temp.file ("Kit");
    const int writes = written.size();
    save();
    EXPECT_EQ (files.getQuestion(), nullptr);
    EXPECT_EQ (written.size(), writes);
    EXPECT_EQ (files.getNotice()->getMessage(), "\"Kit.PXptr\" could not be saved.");

    // A failed load says so too.
    chooser.answer = target;
    files.load ("Load pattern", "*.PXptr", [] (const juce::File&)
                { return false; });
    EXPECT_EQ (files.getNotice()->getMessage(), "\"Groove.PXptr\" could not be loaded.");
}

#include "tests/X11TestHost.h"

// Needs a real display: run by the gui_display_on_screen test under Xvfb, skipped otherwise.
TEST (FileChooserOnScreen, OwnChooserIsADialogOfTheHostWindowTakesTheKeysAndGoesWithItsOwner)
{
    const char* displayName = std::getenv ("PULSARET_EDITOR_DISPLAY");

    if (displayName == nullptr || juce::FileChooser::isPlatformDialogAvailable())
        GTEST_SKIP() << "no display, or zenity or kdialog is installed";

    X11Host host (displayName);
    ASSERT_NE (host.display, nullptr);
    ASSERT_TRUE (waitFor ([&]
                          { return host.isViewable (host.window); }));

    // The editor embedded in the host's window as the VST adapter embeds it.
    DefaultLookAndFeel laf;
    TestDesktop editor (&laf, 400, 250);
    juce::Component page;
    editor.addAndMakeVisible (page);
    editor.addToDesktop (0, (void*) (juce::pointer_sized_uint) host.window);
    ASSERT_TRUE (waitFor ([&]
                          { return host.isViewable ((Window) editor.getWindowHandle()); }));
    XSetInputFocus (host.display, host.window, RevertToParent, CurrentTime);
    XSync (host.display, False);
    int calls = 0;

    {
        DocumentFileChooser files (page);
        files.save ("Save pattern", ".PXptr", [&] (const juce::File&)
                    { return ++calls > 0; });

        auto* chooser = files.getLauncher().getChooserWindow();
        ASSERT_NE (chooser, nullptr);
        EXPECT_TRUE (chooser->isOnDesktop());
        Window dialogOf = 0;
        EXPECT_NE (XGetTransientForHint (host.display, (Window) chooser->getWindowHandle(), &dialogOf), 0);
        EXPECT_EQ (dialogOf, host.window);

        // Centred over the editor, with the keys in its name box once the window system lets it have them.
        EXPECT_TRUE (waitFor ([&]
                              { return dynamic_cast<juce::TextEditor*> (juce::Component::getCurrentlyFocusedComponent()) != nullptr
                                       && chooser->isParentOf (juce::Component::getCurrentlyFocusedComponent()); }));
        const auto editorCentre = host.rootPosition ((Window) editor.getWindowHandle()) + editor.getLocalBounds().getCentre();
        EXPECT_LE (chooser->getScreenBounds().getCentre().getDistanceFrom (editorCentre), 2);
    }

    // Gone with its owner, without a call, and the focus is back on the host's window.
    pumpPendingMessages();
    EXPECT_EQ (calls, 0);
    EXPECT_TRUE (waitFor ([&]
                          { return host.focus() == host.window; }));

    // The host closes the editor while a chooser is open, and while the question about
    // replacing a file waits: each goes as if cancelled, and nothing is written. As the VST
    // adapter does, the host's side holds the editor and goes with the host's window.
    editor.removeFromDesktop();
    TempFolder temp;
    const auto existing = temp.file ("Groove.PXptr");
    ASSERT_TRUE (existing.replaceWithText ("kept"));
    DocumentFileChooser files (page);

    const auto openEditor = [&]
    {
        auto holder = std::make_unique<juce::Component>();
        holder->setSize (400, 250);
        holder->addAndMakeVisible (editor);
        holder->addToDesktop (0, (void*) (juce::pointer_sized_uint) host.window);
        holder->setVisible (true);
        waitFor ([&]
                 { return editor.isShowing() && host.isViewable ((Window) holder->getWindowHandle()); });
        return holder;
    };

    auto holder = openEditor();
    files.save ("Save pattern", ".PXptr", [&] (const juce::File&)
                { return ++calls > 0; });
    ASSERT_NE (files.getLauncher().getChooserWindow(), nullptr);
    holder.reset();
    EXPECT_TRUE (waitFor ([&]
                          { return files.getLauncher().getChooserWindow() == nullptr; }))
        << "the chooser went with the editor";

    holder = openEditor();
    auto scripted = std::make_unique<ScriptedChooser>();
    scripted->answer = existing;
    files.setLauncher (std::move (scripted));
    files.save ("Save pattern", ".PXptr", [&] (const juce::File&)
                { return ++calls > 0; });
    ASSERT_NE (files.getQuestion(), nullptr);
    EXPECT_TRUE (files.getQuestion()->isShowing());
    holder.reset();
    EXPECT_EQ (files.getQuestion(), nullptr) << "the question went with the editor";
    EXPECT_EQ (calls, 0);
    EXPECT_EQ (existing.loadFileAsString(), "kept");
    settle();
}
