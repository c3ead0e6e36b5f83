#include "WidgetTestSupport.h"
#include "gui/widgets/GFXButton.h"
#include "gui/widgets/GFXDisplay.h"
#include "gui/widgets/GFXKnob.h"
#include "gui/widgets/GFXMultiStateButton.h"
#include "gui/widgets/GFXRocker.h"
#include "gui/widgets/GFXSwitch.h"
#include "gui/widgets/GFXToggleButton.h"
#include "gui/widgets/NumericDisplay.h"
#include "gui/widgets/PatternNumberDisplay.h"

#include <gtest/gtest.h>

using namespace widgettest;

namespace
{
// Made before Xlib's headers, whose KeyPress macro hides JUCE's class.
void pressReturn (juce::Component& target)
{
    target.keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
}

void typeKey (juce::Component& target, char c)
{
    target.keyPressed (juce::KeyPress (c, {}, c));
}

/** A click as the window system delivers it to the peer, focus handling included. */
void clickAt (juce::Component& window, juce::Point<int> where)
{
    auto* peer = window.getPeer();
    const auto time = juce::Time::currentTimeMillis();
    const auto down = juce::ModifierKeys().withFlags (juce::ModifierKeys::leftButtonModifier);
    peer->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, where.toFloat(), down,
                            juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation, time);
    peer->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, where.toFloat(), {},
                            juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation, time + 20);
}

struct Edits : public GFXDisplayListener
{
    void displayTextChanged (GFXDisplay* display) override { texts.add (display->getText()); }
    juce::StringArray texts;
};
} // namespace

TEST (SkinWidgets, TakeNoKeyboardFocusUnlessTheyEditText)
{
    std::vector<std::unique_ptr<juce::Component>> widgets;
    widgets.push_back (std::make_unique<GFXButton> ("b"));
    widgets.push_back (std::make_unique<GFXMultiStateButton> ("m"));
    widgets.push_back (std::make_unique<GFXToggleButton> ("t"));
    widgets.push_back (std::make_unique<GFXRocker> ("r"));
    widgets.push_back (std::make_unique<GFXKnob> ("k"));
    widgets.push_back (std::make_unique<GFXSwitch> ("s"));
    widgets.push_back (std::make_unique<NumericDisplay> ("n"));
    widgets.push_back (std::make_unique<PatternNumberDisplay> ("p"));

    for (auto& widget : widgets)
    {
        EXPECT_FALSE (widget->getWantsKeyboardFocus()) << widget->getName();
        EXPECT_FALSE (widget->getMouseClickGrabsKeyboardFocus()) << widget->getName();
    }

    GFXDisplay display ("d");
    EXPECT_TRUE (display.getWantsKeyboardFocus());
}

#include "tests/X11TestHost.h"

// Needs a real display: run by the gui_display_on_screen test under Xvfb, skipped otherwise.
TEST (GFXDisplayOnScreen, ClicksMoveNoFocusAndTheEditEndsWithTheHostWindow)
{
    const char* displayName = std::getenv ("PULSARET_EDITOR_DISPLAY");

    if (displayName == nullptr)
        GTEST_SKIP() << "no display";

    X11Host host (displayName);
    ASSERT_NE (host.display, nullptr);
    ASSERT_TRUE (waitFor ([&]
                          { return host.isViewable (host.window); }));

    // The panel inside the host's window as the VST adapter embeds it; the pattern name
    // display comes first, so the toolkit hands the panel's focus to it.
    SkinContext skin;
    auto font = addStrip ("font6x9.png", 6, 9, 128);
    auto strip = addStrip ("button.png", 20, 20, 2);
    auto holder = std::make_unique<juce::Component>();
    holder->setSize (300, 200);
    juce::Component panel;
    panel.setBounds (0, 0, 300, 200);
    holder->addAndMakeVisible (panel);

    GFXDisplay first ("PatternName"), second ("PresetName");
    skin.load (first, "<Display><gfx resource='font6x9.png' fontHeight='9'/><size width='60' height='9'/><pos left='10' top='10'/></Display>");
    skin.load (second, "<Display><gfx resource='font6x9.png' fontHeight='9'/><size width='60' height='9'/><pos left='10' top='40'/></Display>");
    GFXButton button ("Write");
    skin.load (button, "<Button><gfx resource='button.png' framesNum='2'/><pos left='100' top='10'/></Button>");
    int clicks = 0;
    button.onClick = [&]
    { ++clicks; };
    panel.addAndMakeVisible (first);
    panel.addAndMakeVisible (second);
    panel.addAndMakeVisible (button);
    Edits edits;
    second.addListener (&edits);
    second.setText ("INIT");

    holder->addToDesktop (0, (void*) (juce::pointer_sized_uint) host.window);
    holder->setVisible (true);
    ASSERT_TRUE (waitFor ([&]
                          { return button.isShowing() && host.isViewable ((Window) holder->getWindowHandle()); }));

    XSetInputFocus (host.display, host.window, RevertToParent, CurrentTime);
    XSync (host.display, False);
    ASSERT_TRUE (waitFor ([&]
                          { return host.focus() == host.window; }));

    // A skin button clicks without taking the keyboard: Return cannot click it again.
    clickAt (*holder, {110, 20});
    settle();
    EXPECT_EQ (clicks, 1);
    EXPECT_FALSE (button.hasKeyboardFocus (false));
    EXPECT_FALSE (first.isEditing());
    EXPECT_FALSE (second.isEditing());

    // Editing the second display lifts it out of the panel; the focus the panel hands on
    // reaches the first display, which must not start editing too.
    clickAt (*holder, {20, 44});
    ASSERT_TRUE (waitFor ([&]
                          { return second.isOnDesktop(); }));
    settle();
    EXPECT_TRUE (second.isEditing());
    EXPECT_FALSE (first.isEditing());
    EXPECT_FALSE (first.isOnDesktop());
    const auto lifted = (Window) second.getWindowHandle();
    EXPECT_TRUE (waitFor ([&]
                          { return host.focus() == lifted; }));

    // Return: back in the panel, no window left, the focus back where the click put it (the
    // plug-in's window takes it when clicked), not on the root window.
    const auto pluginWindow = (Window) holder->getWindowHandle();
    pressReturn (second);
    ASSERT_TRUE (waitFor ([&]
                          { return !second.isOnDesktop(); }));
    EXPECT_EQ (second.getParentComponent(), &panel);
    EXPECT_FALSE (first.isEditing());
    EXPECT_TRUE (waitFor ([&]
                          { return !host.exists (lifted); }));
    EXPECT_TRUE (waitFor ([&]
                          { return host.focus() == host.window || host.focus() == pluginWindow; }))
        << host.focus() << " host " << host.window << " plug-in " << pluginWindow;

    // The host closes its window during an edit: the edit ends as a loss of focus, the
    // display goes back to its panel and the focus to the host.
    clickAt (*holder, {20, 44});
    ASSERT_TRUE (waitFor ([&]
                          { return second.isOnDesktop(); }));
    const auto liftedAgain = (Window) second.getWindowHandle();
    ASSERT_TRUE (waitFor ([&]
                          { return host.focus() == liftedAgain; }));
    typeKey (second, 'X');
    holder.reset();
    EXPECT_TRUE (waitFor ([&]
                          { return !second.isOnDesktop() && !second.isEditing(); }));
    EXPECT_EQ (second.getParentComponent(), &panel);
    EXPECT_EQ (second.getBounds(), juce::Rectangle<int> (10, 40, 60, 9));
    EXPECT_EQ (edits.texts, juce::StringArray ("INITX"));
    EXPECT_TRUE (waitFor ([&]
                          { return !host.exists (liftedAgain); }));
    EXPECT_TRUE (waitFor ([&]
                          { return host.focus() == host.window; }))
        << host.focus() << " host " << host.window << " lifted " << liftedAgain;
}
