#include "WidgetTestSupport.h"
#include "gui/controls/NativeWindows.h"
#include "gui/widgets/GFXDisplay.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace widgettest;

// Needs a real display: run by the gui_display_on_screen test under Xvfb, skipped otherwise.
namespace
{
struct Edits : public GFXDisplayListener
{
    void displayTextChanged (GFXDisplay* display) override { texts.add (display->getText()); }
    juce::StringArray texts;
};
} // namespace

TEST (GFXDisplayOnScreen, EditingLiftsTheDisplayAndPutsItBack)
{
    if (std::getenv ("PULSARET_EDITOR_DISPLAY") == nullptr)
        GTEST_SKIP() << "no display";

    SkinContext skin;
    auto font = addStrip ("font6x9.png", 6, 9, 128);
    juce::Component window;
    window.setBounds (100, 100, 200, 100);
    window.addToDesktop (0);
    window.setVisible (true);

    juce::Component panel;
    panel.setBounds (10, 20, 150, 50);
    window.addAndMakeVisible (panel);

    Edits edits;
    GFXDisplay display ("d");
    skin.load (display, "<Display><gfx resource='font6x9.png' fontHeight='9'/><size width='60' height='9'/><pos left='5' top='6'/></Display>");
    display.addListener (&edits);
    panel.addAndMakeVisible (display);
    display.setText ("OLD");
    ASSERT_TRUE (display.isShowing());

    // Under load the window manager may place the window a while after it was asked to.
    for (int i = 0; i < 300 && NativeWindows::getScreenPosition (window.getWindowHandle()) != std::optional (juce::Point<int> (100, 100)); ++i)
    {
        pumpPendingMessages();
        juce::Thread::sleep (10);
    }

    for (auto key : {juce::KeyPress::escapeKey, juce::KeyPress::returnKey})
    {
        display.focusGained (juce::Component::focusChangedByMouseClick);
        EXPECT_TRUE (display.isOnDesktop());
        EXPECT_EQ (display.getParentComponent(), nullptr);
        // Over its place: where the window system has the window, or, while a loaded window manager
        // has not yet told the toolkit, where the toolkit still has it.
        const auto lifted = display.getScreenBounds();
        EXPECT_EQ (lifted.getWidth(), 60);
        EXPECT_EQ (lifted.getHeight(), 9);
        EXPECT_TRUE (lifted.getPosition() == juce::Point<int> (115, 126) || lifted.getPosition() == panel.localPointToGlobal (juce::Point<int> (5, 6)))
            << lifted.toString();

        display.keyPressed (juce::KeyPress ('X', {}, 'X'));
        display.keyPressed (juce::KeyPress (key, {}, 0));
        pumpPendingMessages();

        EXPECT_FALSE (display.isOnDesktop());
        EXPECT_EQ (display.getParentComponent(), &panel);
        EXPECT_EQ (display.getBounds(), juce::Rectangle<int> (5, 6, 60, 9));
    }

    EXPECT_EQ (display.getText(), "OLDX");
    EXPECT_EQ (edits.texts, juce::StringArray ("OLDX"));
}
