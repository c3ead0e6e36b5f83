#include "ControlsTestSupport.h"
#include "gui/controls/AlertWindow.h"
#include "gui/controls/DefaultResourceCheckBox.h"
#include "gui/controls/DefaultResourcesRadioButtons.h"
#include "gui/controls/PanelComponent.h"
#include "gui/controls/RadioButtons.h"
#include "gui/controls/StatusBar.h"
#include "gui/controls/TabbedComponentEx.h"

using namespace controls_test;

namespace
{
struct RecordingCaller : public Oru::AlertWindow::Caller
{
    std::vector<int> results;
    bool wasHidden = true;

    void alertWindowClosed (Oru::AlertWindow* window, int result) override
    {
        results.push_back (result);
        wasHidden = wasHidden && !window->isShown();
    }
};

struct PathListener : public PathComponent::Listener
{
    int calls = 0;
    void pathChanged (PathComponent*) override { ++calls; }
};

struct ResourceListener : public DefaultResourceCheckBox::Listener
{
    int calls = 0;
    void defaultResourceChanged (DefaultResourceCheckBox*) override { ++calls; }
};

struct RadioListener : public RadioButtons::Listener
{
    int calls = 0;
    void radioButtonsChanged (RadioButtons*) override { ++calls; }
};

/** Answers every browse with a scripted file, synchronously. */
struct ScriptedLauncher : public FileChooserLauncher
{
    juce::File answer;
    juce::String lastTitle, lastWildcard;
    juce::File lastInitial;
    int launches = 0;

    void launch (const juce::String& title, const juce::File& initial, const juce::String& wildcard, Callback onChosen) override
    {
        ++launches;
        lastTitle = title;
        lastInitial = initial;
        lastWildcard = wildcard;

        if (answer != juce::File())
            onChosen (answer);
    }
};

void clickButton (juce::Button& b)
{
    b.triggerClick();
    pumpMessages (30);
}
} // namespace

TEST (AlertWindow, QuestionSizesAndResults)
{
    DefaultLookAndFeel laf;
    TestDesktop editor (&laf);
    RecordingCaller caller;
    auto alert = Oru::AlertWindow::createQuestionWindow ("MIDI control", "Clear?", &caller);
    editor.addChildComponent (*alert);

    EXPECT_EQ (alert->getTitle(), "MIDI control");
    EXPECT_EQ (alert->getMessage(), "Clear?");
    ASSERT_EQ (alert->getNumButtons(), 2);
    EXPECT_EQ (alert->getButton (0)->getButtonText(), "Yes");
    EXPECT_EQ (alert->getButton (1)->getButtonText(), "No");
    EXPECT_TRUE (alert->dimsBackground());

    // A short message gives the minimum window.
    EXPECT_EQ (alert->getWidth(), 250);
    EXPECT_EQ (alert->getHeight(), 120);

    // The row sits right-aligned at the bottom of the content area, the label above.
    const auto content = alert->getContentArea();
    auto& row = alert->getButtonRow();
    EXPECT_EQ (row.getRight(), content.getRight());
    EXPECT_EQ (row.getBottom(), content.getBottom());
    EXPECT_EQ (row.getWidth(), alert->getButton (0)->getWidth() + alert->getButton (1)->getWidth());
    EXPECT_EQ (alert->getMessageLabel().getBounds(), content.withTrimmedBottom (row.getHeight() + 10));

    // A long message widens the window to the text plus frame and margins.
    const juce::String longText ("Do you really want to clear all assignations of every controller on every channel?");
    alert->setMessage (longText);
    const int textWidth = (int) laf.getDefaultFont().getStringWidthFloat (longText);
    EXPECT_EQ (alert->getWidth(), textWidth + 6 + 10);
    EXPECT_EQ (alert->getContentArea().getWidth(), textWidth);
    EXPECT_EQ (alert->getHeight(), juce::jmax (120, 13 + row.getHeight() + 10 + 6 + 10 + 33));

    alert->show();
    ASSERT_TRUE (alert->isShown());
    clickButton (*alert->getButton (0));
    EXPECT_FALSE (alert->isShown());
    alert->show();
    clickButton (*alert->getButton (1));
    EXPECT_EQ (caller.results, (std::vector<int>{1, 0}));
    EXPECT_TRUE (caller.wasHidden);

    // The close button only hides.
    alert->show();
    clickButton (alert->getCloseButton());
    EXPECT_FALSE (alert->isShown());
    EXPECT_EQ (caller.results.size(), 2u);
}

TEST (PathComponent, PathsCompareExactlyAndBrowseGoesThroughTheSeam)
{
    DefaultLookAndFeel laf;
    TestDesktop page (&laf);
    PathComponent path;
    page.addAndMakeVisible (path);
    path.setSize (300, 10);
    EXPECT_EQ (path.getHeight(), path.getBrowseButton().getHeight());
    path.lookAndFeelChanged();
    EXPECT_EQ (path.getHeight(), path.getBrowseButton().getHeight());
    EXPECT_EQ (path.getBrowseButton().getButtonText(), "Browse");
    EXPECT_EQ (path.getBrowseButton().getRight(), 300);
    EXPECT_EQ (path.getTextArea().getRight(), 300 - path.getBrowseButton().getWidth() - PathComponent::buttonGap);
    EXPECT_EQ (path.getTextRect(), path.getTextArea().reduced (4));

    PathListener listener;
    path.addListener (&listener);
    path.setPath ("/home/user/Maps/kit.PXdrmap", true);
    EXPECT_EQ (listener.calls, 1);
    path.setPath ("/home/user/Maps/kit.PXdrmap", true);
    EXPECT_EQ (listener.calls, 1);
    // Letter case makes another file on Linux: the change is kept and told.
    path.setPath ("/home/user/maps/kit.PXdrmap", true);
    EXPECT_EQ (path.getPath(), "/home/user/maps/kit.PXdrmap");
    EXPECT_EQ (listener.calls, 2);
    path.setPath ("/tmp/a", false);
    EXPECT_EQ (listener.calls, 2);

    auto launcher = std::make_unique<ScriptedLauncher>();
    auto* scripted = launcher.get();
    scripted->answer = juce::File ("/tmp/chosen.PXptrb");
    path.setFileChooserLauncher (std::move (launcher));
    path.setChooserTitle ("Choose a pattern bank");
    path.setChooserWildcard ("*.PXptrb");
    path.setChooserInitialFile (juce::File ("/tmp"));
    clickButton (path.getBrowseButton());
    EXPECT_EQ (scripted->launches, 1);
    EXPECT_EQ (scripted->lastTitle, "Choose a pattern bank");
    EXPECT_EQ (scripted->lastWildcard, "*.PXptrb");
    EXPECT_EQ (path.getPath(), "/tmp/chosen.PXptrb");
    EXPECT_EQ (listener.calls, 3);

    // Cancelled: nothing changes.
    scripted->answer = juce::File();
    path.browse();
    EXPECT_EQ (path.getPath(), "/tmp/chosen.PXptrb");

    EXPECT_FALSE (path.isPathOverflowing());
    path.setPath ("/a/very/long/folder/name/that/goes/on/and/on/beyond/the/field/kit.PXdrmap", false);
    EXPECT_TRUE (path.isPathOverflowing());
}

TEST (DefaultResourceControls, EnablementAndNotifications)
{
    DefaultLookAndFeel laf;
    TestDesktop page (&laf);

    DefaultResourceCheckBox box;
    page.addAndMakeVisible (box);
    box.getCheckBox().setText ("Own drum map");
    box.setSize (400, 10);
    ResourceListener listener;
    box.addListener (&listener);
    EXPECT_EQ (box.getHeight(), juce::jmax (box.getCheckBox().getHeight(), box.getPathComponent().getHeight()));
    EXPECT_EQ (box.getPathComponent().getX(), box.getCheckBox().getWidth() + 5);
    EXPECT_EQ (box.getPathComponent().getRight(), 400);

    box.setFile ("/maps/Kit.PXdrmap");
    EXPECT_TRUE (box.isTicked());
    EXPECT_TRUE (box.getPathComponent().isEnabled());
    box.setFile ("/maps/kit.PXdrmap");
    EXPECT_EQ (box.getPath(), "/maps/kit.PXdrmap");
    box.setFile ("");
    EXPECT_FALSE (box.isTicked());
    EXPECT_FALSE (box.getPathComponent().isEnabled());
    EXPECT_EQ (listener.calls, 0);

    clickButton (box.getCheckBox().getButton());
    EXPECT_TRUE (box.isTicked());
    EXPECT_TRUE (box.getPathComponent().isEnabled());
    EXPECT_EQ (listener.calls, 1);
    box.getPathComponent().setPath ("/maps/other.PXdrmap", true);
    EXPECT_EQ (listener.calls, 2);

    DefaultResourcesRadioButtons radios ("Start-up pattern bank", {"Factory", "Empty", "File"});
    page.addAndMakeVisible (radios);
    radios.getPathComponent().setSize (200, radios.getPathComponent().getHeight());
    RadioListener radioListener;
    radios.addListener (&radioListener);
    auto& field = radios.getPathComponent();
    EXPECT_EQ (field.getX(), radios.getTextX() + radios.getTextWidth() + radios.getTextGap());
    EXPECT_EQ (field.getBounds().getCentreY(), radios.getFirstRowY() + 2 * 20 + 10);
    EXPECT_EQ (radios.getHeight(), 3 * 20 + juce::jmax (0, (field.getHeight() - 20) / 2) + 13 + 4);
    EXPECT_FALSE (field.isEnabled());

    radios.setSelectedIndex (2, false);
    EXPECT_TRUE (field.isEnabled());
    field.setPath ("/banks/my.PXptrb", true);
    EXPECT_EQ (radioListener.calls, 1);
    radios.setSelectedIndex (0, true);
    EXPECT_FALSE (field.isEnabled());
    EXPECT_EQ (radioListener.calls, 2);
}

TEST (AlertWindow, Snapshot)
{
    DefaultLookAndFeel laf;
    TestDesktop editor (&laf, 420, 220);
    RecordingCaller caller;
    auto alert = Oru::AlertWindow::createQuestionWindow ("MIDI Control", "Do you really want to clear all assignations?", &caller);
    editor.addChildComponent (*alert);
    alert->show();

    auto image = snapshot (editor, "alert-window.png");
    // Darkened editor around the window, window background inside.
    EXPECT_LT (image.getPixelAt (3, 3).getBrightness(), juce::Colour (0xff8899aa).getBrightness());
    const auto content = alert->getContentArea() + alert->getPosition();
    EXPECT_EQ (image.getPixelAt (content.getX() + 1, content.getY() + 1), juce::Colour (0xffc5c5c5));
}

TEST (AlertWindow, ABoxIsWideEnoughForItsWholeTitle)
{
    DefaultLookAndFeel laf;
    TestDesktop editor (&laf, 420, 220);

    // The notice of a failed Preset Save: its title is far wider than its message. Titles set
    // before and after the message both count.
    Oru::AlertWindow notice;
    notice.setTitle ("Save current settings as preset");
    notice.setMessage ("\"Kit.PXprs\" could not be saved.");
    notice.addButton ("OK", 0);
    Oru::AlertWindow later;
    later.setMessage ("\"Kit.PXprs\" could not be saved.");
    later.addButton ("OK", 0);
    later.setTitle ("Save current settings as preset");

    for (auto* box : {&notice, &later})
    {
        editor.addChildComponent (*box);
        box->show();
        EXPECT_GT (box->getWidth(), 250);

        // Laid out as the title bar draws it: every character of the title gets its place.
        juce::GlyphArrangement title;
        title.addCurtailedLineOfText (box->getTitleFont(), box->getTitle(), 0.0f, 0.0f,
                                      (float) box->getTitleTextArea().getWidth(), false);
        EXPECT_EQ (title.getNumGlyphs(), box->getTitle().length());
        box->hide();
    }

    // A short title leaves the box at the width its message asks for.
    notice.setTitle ("Save");
    EXPECT_EQ (notice.getWidth(), 250);

    notice.setTitle ("Save current settings as preset");
    notice.show();
    snapshot (editor, "alert-window-long-title.png");
}

TEST (FormControls, Snapshot)
{
    DefaultLookAndFeel laf;
    TestDesktop editor (&laf, 520, 330);
    TabbedComponentEx tabs;
    editor.addAndMakeVisible (tabs);
    tabs.setBounds (10, 10, 500, 290);

    juce::Component page1, page2;
    tabs.addTab ("Outputs", juce::Colours::transparentBlack, &page1, false);
    tabs.addTab ("Sequencer", juce::Colours::transparentBlack, &page2, false);
    tabs.addTab ("Drum Map", juce::Colours::transparentBlack, nullptr, false);

    RadioButtons mode ("Outputs", {"8 mono outputs", "8 stereo outputs"});
    page1.addAndMakeVisible (mode);
    mode.setTopLeftPosition (10, 10);
    mode.setSelectedIndex (1, false);

    DefaultResourcesRadioButtons bank ("Start-up pattern bank", {"Factory bank", "Empty bank", "File"});
    page1.addAndMakeVisible (bank);
    bank.getPathComponent().setSize (220, bank.getPathComponent().getHeight());
    bank.setSize (bank.getPathComponent().getRight() + 8, bank.getHeight());
    bank.setTopLeftPosition (10, 80);
    bank.setSelectedIndex (2, false);
    bank.getPathComponent().setPath ("/home/user/Patterns/Breakbeats and other long names.PXptrb", false);

    CheckBox clock;
    clock.setText ("Follow host transport");
    page1.addAndMakeVisible (clock);
    clock.setTopLeftPosition (200, 20);
    clock.setToggleState (true);

    DefaultResourceCheckBox map;
    page1.addAndMakeVisible (map);
    map.getCheckBox().setText ("Own drum map");
    map.setBounds (10, 180, 460, 10);
    map.setFile ("");

    PanelComponent panel ("Trigger out");
    juce::Label inside ("inside", "Pulse on output 8");
    inside.setSize (160, 20);
    panel.setContent (&inside);
    page1.addAndMakeVisible (panel);
    panel.setTopLeftPosition (200, 40);

    StatusBar status;
    editor.addAndMakeVisible (status);
    status.setBounds (0, 314, 520, 16);
    status.setMessage ("Tempo: 120.00 BPM", 6, 3000);

    tabs.setCurrentTabIndex (0);
    auto image = snapshot (editor, "form-controls.png");

    EXPECT_EQ (image.getPixelAt (300, 320), juce::Colour (0xff444444));
    const auto inPage = tabs.getBounds().getTopLeft() + juce::Point<int> (5, 200);
    EXPECT_EQ (image.getPixelAt (inPage.x, inPage.y), juce::Colour (0xffc5c5c5));
    panel.setContent (nullptr);
    page1.setLookAndFeel (nullptr);
    page2.setLookAndFeel (nullptr);
}
