#include "WidgetTestSupport.h"
#include "gui/widgets/GFXButton.h"
#include "gui/widgets/GFXMultiStateButton.h"
#include "gui/widgets/GFXRocker.h"
#include "gui/widgets/GFXToggleButton.h"
#include "gui/widgets/GFXToggleButtonDragGroup.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace widgettest;

TEST (GFXButton, ClicksFireTheirActionAndPressedShowsFrameOne)
{
    SkinContext skin;
    auto strip = addStrip ("button2.png", 10, 6, 2);
    std::vector<std::string> log;
    Recorder recorder (log);

    GFXButton onRelease ("b");
    onRelease.setVisible (true);
    skin.load (onRelease, "<Button><gfx resource='button2.png' framesNum='2'/>"
                          "<actions><action type='onClick' event='Tap Bass Drum'/></actions></Button>");
    onRelease.addListener (&recorder);
    EXPECT_EQ (shownFrame (onRelease, 2), 0);

    comp (onRelease).mouseDown (mouseEvent (onRelease, 5.0f, 3.0f));
    EXPECT_TRUE (log.empty());
    EXPECT_EQ (shownFrame (onRelease, 2), 1);
    comp (onRelease).mouseUp (mouseEvent (onRelease, 5.0f, 3.0f, juce::ModifierKeys()));
    EXPECT_EQ (log, (std::vector<std::string>{"L.event 10"}));
    EXPECT_EQ (shownFrame (onRelease, 2), 0);

    // Ctrl with no Ctrl action sends nothing, not the plain action.
    log.clear();
    comp (onRelease).mouseDown (mouseEvent (onRelease, 5.0f, 3.0f, ctrlClick()));
    comp (onRelease).mouseUp (mouseEvent (onRelease, 5.0f, 3.0f, juce::ModifierKeys::ctrlModifier));
    EXPECT_TRUE (log.empty());

    GFXButton onPress ("b");
    onPress.setVisible (true);
    skin.load (onPress, "<Button clickEvent='onPress'><size width='10' height='6'/><actions>"
                        "<action type='onClick' event='Tap Bass Drum'/>"
                        "<action type='onClickWithCtrl' event='Select Next Preset'/></actions></Button>");
    onPress.addListener (&recorder);
    comp (onPress).mouseDown (mouseEvent (onPress, 5.0f, 3.0f, ctrlClick()));
    EXPECT_EQ (log, (std::vector<std::string>{"L.event 11"}));
    comp (onPress).mouseUp (mouseEvent (onPress, 5.0f, 3.0f, juce::ModifierKeys::ctrlModifier));
    EXPECT_EQ (log.size(), 1u);

    // The tag's own attributes are read only under its own tag.
    GFXButton other ("b");
    other.setVisible (true);
    skin.load (other, "<Knob clickEvent='onPress'><size width='10' height='6'/><actions>"
                      "<action type='onClick' event='Tap Bass Drum'/></actions></Knob>");
    other.addListener (&recorder);
    log.clear();
    comp (other).mouseDown (mouseEvent (other, 5.0f, 3.0f));
    EXPECT_TRUE (log.empty());
}

TEST (GFXButton, DefaultSizeAndFallbackDrawing)
{
    GFXButton unnamed ({});
    EXPECT_EQ (unnamed.getBounds(), juce::Rectangle<int> (0, 0, 18, 18));

    GFXButton named ("Tap");
    EXPECT_EQ (named.getWidth(), juce::Font (12.0f).getStringWidth ("Tap") + 8);
    EXPECT_EQ (named.getHeight(), 18);

    named.setVisible (true);
    EXPECT_EQ (pixelAt (named, 2, 2), juce::Colour::greyLevel (0.9f));
    named.setState (juce::Button::buttonDown);
    EXPECT_EQ (pixelAt (named, 2, 2), juce::Colour::greyLevel (0.4f));
    EXPECT_EQ (pixelAt (named, 0, 0), juce::Colours::black);
}

TEST (GFXMultiStateButton, FrameRules)
{
    struct Case
    {
        bool threeD;
        int states, state;
        bool pressed, blinkOn, highlighted;
        int frame;
    };

    const Case cases[] = {
        {true, 4, 2, true, false, false, 5},
        {true, 4, 2, false, false, false, 4},
        {false, 4, 3, true, false, false, 3},
        {false, 2, 0, false, false, true, 1}, // highlighted shows the opposite state
        {false, 2, 1, false, false, true, 0},
        {true, 3, 0, true, false, true, 5},
        {false, 3, 2, false, true, false, 0}, // blink on-phase shows the rest picture
        {true, 3, 2, true, true, false, 1},
        {true, 3, 2, false, true, false, 0},
        {false, 3, 0, false, true, true, 2}, // the highlight wins over the blink
    };

    SkinContext skin;

    for (auto& c : cases)
    {
        const int frames = c.threeD ? 2 * c.states : c.states;
        auto strip = addStrip ("msb.png", 10, 5, frames);
        GFXMultiStateButton button ("m");
        button.setVisible (true);
        skin.load (button, juce::String ("<MultiStateButton style='") + (c.threeD ? "3D" : "2D") + "' states='" + juce::String (c.states) + "'><gfx resource='msb.png' framesNum='1'/></MultiStateButton>");
        EXPECT_EQ (button.getFrameHeight(), 5);
        button.setStateIndex (c.state);
        button.setHighlighted (c.highlighted);

        if (c.pressed)
            button.setState (juce::Button::buttonDown);

        if (c.blinkOn)
        {
            button.setBlinkInterval (10);
            button.startBlinking();
            ASSERT_TRUE (pumpUntil ([&]
                                    { return button.isInBlinkOnPhase(); }));
        }

        EXPECT_EQ (shownFrame (button, frames), c.frame) << c.threeD << c.states << c.state << c.pressed << c.blinkOn << c.highlighted;
        button.stopBlinking();
    }
}

TEST (GFXMultiStateButton, FollowsItsParameterAndFlashes)
{
    SkinContext skin;
    std::vector<std::string> log;
    Recorder recorder (log);
    GFXMultiStateButton button ("m");
    button.setVisible (true);
    skin.load (button, "<MultiStateButton states='3' radioGroupId='4'><links><link as='connectedTo' param='Level'/></links>"
                       "<actions><action type='onClick' event='Tap Bass Drum'/></actions><size width='20' height='20'/></MultiStateButton>");
    button.addListener (&recorder);
    EXPECT_EQ (button.getStates(), 3);
    EXPECT_EQ (button.getRadioGroupId(), 4);

    struct Case
    {
        float value;
        int state;
    };

    const Case cases[] = {
        {0.5f, 1},
        {0.75f, 2},
        {0.24f, 0},
        {0.25f, 1},
        {2.0f, 2},
        {std::nextafter (0.25f, 0.0f), 1}, // single precision: the sum rounds up to 1
        {0.0f, 0},
    };

    for (auto& c : cases)
    {
        button.updateFromParameter (skin.param ("Level"));
        skin.param ("Level")->setNormalisedValue (c.value, true);
        pumpPendingMessages();
        EXPECT_EQ (button.getStateIndex(), c.state) << c.value;
    }

    // A click fires the event and leaves the parameter to the event handler.
    comp (button).mouseDown (mouseEvent (button, 10.0f, 10.0f));
    comp (button).mouseUp (mouseEvent (button, 10.0f, 10.0f, juce::ModifierKeys()));
    EXPECT_EQ (log, (std::vector<std::string>{"L.event 10"}));
    EXPECT_EQ (skin.param ("Level")->getNormalisedValue(), 0.0f);

    button.flash (30);
    EXPECT_EQ (button.getStateIndex(), 1);
    EXPECT_TRUE (pumpUntil ([&]
                            { return button.getStateIndex() == 0; }));

    // Fewer than two states or no number keeps the count.
    GFXMultiStateButton odd ("m");
    skin.load (odd, "<MultiStateButton states='1'/>");
    EXPECT_EQ (odd.getStates(), 2);
    skin.load (odd, "<MultiStateButton states='x'/>");
    EXPECT_EQ (odd.getStates(), 2);

    // So does a count no strip could hold (twice it would overflow for "3D").
    auto oddStrip = addStrip ("msbodd.png", 10, 5, 4);
    skin.load (odd, "<MultiStateButton style='3D' states='2000000000'><gfx resource='msbodd.png'/></MultiStateButton>");
    EXPECT_EQ (odd.getStates(), 2);
    EXPECT_EQ (odd.getFramesNum(), 4);
    EXPECT_EQ (odd.getFrameHeight(), 5);
    odd.setSize (20, 20);
    odd.createComponentSnapshot (odd.getLocalBounds());
}

TEST (GFXToggleButton, FrameRules)
{
    struct Case
    {
        bool threeD, on, pressed, enabled, parentEnabled, blinkOn;
        int frame;
    };

    const Case cases[] = {
        {true, false, true, true, true, false, 0},
        {true, true, false, true, true, false, 2},
        {true, true, true, true, true, false, 3},
        {false, true, false, true, true, false, 1},
        {false, false, false, true, true, false, 0},
        {false, true, false, false, true, false, 0},
        {true, true, false, true, false, false, 0},
        {true, true, false, true, true, true, 0},
    };

    SkinContext skin;

    for (auto& c : cases)
    {
        auto strip = addStrip ("toggle.png", 10, 5, c.threeD ? 4 : 2);
        juce::Component parent;
        GFXToggleButton button ("t");
        parent.addAndMakeVisible (button);
        skin.load (button, juce::String ("<ToggleButton style='") + (c.threeD ? "3D" : "2D") + "' framesNum='9'><gfx resource='toggle.png'/></ToggleButton>");
        button.setToggleState (c.on, juce::dontSendNotification);

        if (c.pressed)
            button.setState (juce::Button::buttonDown);

        button.setEnabled (c.enabled);
        parent.setEnabled (c.parentEnabled);

        if (c.blinkOn)
        {
            button.setBlinkInterval (10);
            button.startBlinking();
            ASSERT_TRUE (pumpUntil ([&]
                                    { return button.isInBlinkOnPhase(); }));
        }

        EXPECT_EQ (shownFrame (button, 4), c.frame) << c.threeD << c.on << c.pressed << c.enabled << c.parentEnabled << c.blinkOn;
        button.stopBlinking();
    }
}

TEST (GFXToggleButton, ClickWritesTheParameterAndParameterSetsTheState)
{
    SkinContext skin;
    std::vector<std::string> log;
    Recorder recorder (log);
    GFXToggleButton button ("t");
    button.setVisible (true);
    skin.load (button, "<ToggleButton><links><link as='connectedTo' param='Mute'/></links><size width='20' height='10'/></ToggleButton>");
    button.addListener (&recorder);

    comp (button).mouseDown (mouseEvent (button, 5.0f, 5.0f));
    comp (button).mouseUp (mouseEvent (button, 5.0f, 5.0f, juce::ModifierKeys()));
    EXPECT_TRUE (button.getToggleState());
    EXPECT_TRUE (skin.param ("Mute")->getBoolValue());
    EXPECT_EQ (log, (std::vector<std::string>{"L.value"}));

    log.clear();
    skin.param ("Mute")->setBoolValue (false, true);
    pumpPendingMessages();
    EXPECT_FALSE (button.getToggleState());
    EXPECT_TRUE (log.empty());

    button.createComponentSnapshot (button.getLocalBounds());
}

TEST (GFXToggleButton, DraggingAcrossAGroupPaintsThePressedState)
{
    SkinContext skin;
    std::vector<std::string> log;
    Recorder recorder (log);
    juce::Component window;
    window.setSize (100, 20);
    const char* params[] = {"Mute", "Mute 2", "Mute 3"};
    juce::OwnedArray<GFXToggleButton> buttons;

    for (int i = 0; i < 3; ++i)
    {
        auto* b = buttons.add (new GFXToggleButton ("t"));
        window.addAndMakeVisible (b);
        skin.load (*b, juce::String ("<ToggleButton clickEvent='onPress' dragGroup='dragTestGroup'><pos left='") + juce::String (i * 20) + "' top='0'/><size width='20' height='10'/><links><link as='connectedTo' param='" + params[i] + "'/></links></ToggleButton>");
        b->addListener (&recorder);
    }

    auto* registry = GFXToggleButtonDragGroup::getInstance();
    EXPECT_EQ (registry->getNumButtons ("dragTestGroup"), 3);

    auto& first = *buttons[0];
    comp (first).mouseDown (mouseEvent (first, 5.0f, 5.0f));
    comp (first).mouseDrag (mouseEvent (first, 30.0f, 5.0f, juce::ModifierKeys::leftButtonModifier, {5.0f, 5.0f}));
    EXPECT_TRUE (buttons[1]->getToggleState());
    EXPECT_FALSE (buttons[2]->getToggleState());
    comp (first).mouseDrag (mouseEvent (first, 45.0f, 5.0f, juce::ModifierKeys::leftButtonModifier, {5.0f, 5.0f}));
    comp (first).mouseUp (mouseEvent (first, 45.0f, 5.0f, juce::ModifierKeys(), {5.0f, 5.0f}));

    for (int i = 0; i < 3; ++i)
    {
        EXPECT_TRUE (buttons[i]->getToggleState()) << i;
        EXPECT_TRUE (skin.param (params[i])->getBoolValue()) << i;
    }

    EXPECT_EQ (log.size(), 3u);

    // Pressing an on button paints off.
    comp (*buttons[2]).mouseDown (mouseEvent (*buttons[2], 5.0f, 5.0f));
    comp (*buttons[2]).mouseDrag (mouseEvent (*buttons[2], -20.0f, 5.0f, juce::ModifierKeys::leftButtonModifier, {5.0f, 5.0f}));
    comp (*buttons[2]).mouseUp (mouseEvent (*buttons[2], -20.0f, 5.0f, juce::ModifierKeys(), {5.0f, 5.0f}));
    EXPECT_TRUE (buttons[0]->getToggleState());
    EXPECT_FALSE (buttons[1]->getToggleState());
    EXPECT_FALSE (buttons[2]->getToggleState());

    // Another window's buttons of the same group are left alone.
    juce::Component otherWindow;
    GFXToggleButton stranger ("t");
    otherWindow.addAndMakeVisible (stranger);
    skin.load (stranger, "<ToggleButton dragGroup='dragTestGroup'><pos left='20' top='0'/><size width='20' height='10'/></ToggleButton>");
    comp (first).mouseDown (mouseEvent (first, 5.0f, 5.0f));
    comp (first).mouseDrag (mouseEvent (first, 30.0f, 5.0f, juce::ModifierKeys::leftButtonModifier, {5.0f, 5.0f}));
    EXPECT_TRUE (buttons[1]->getToggleState() == first.getToggleState());
    EXPECT_FALSE (stranger.getToggleState());
    comp (first).mouseUp (mouseEvent (first, 30.0f, 5.0f, juce::ModifierKeys(), {5.0f, 5.0f}));

    // Destroyed buttons leave their group.
    EXPECT_EQ (registry->getNumButtons ("dragTestGroup"), 4);
    buttons.clear();
    EXPECT_EQ (registry->getNumButtons ("dragTestGroup"), 1);

    // Unknown groups do nothing.
    registry->beginDrag ("noSuchGroup", 0, 0);
    registry->dragTo ("noSuchGroup", 10, 0);
    registry->setPaintState ("noSuchGroup", true);
    EXPECT_FALSE (registry->hasGroup ("noSuchGroup"));
}

TEST (GFXRocker, PressSidesFireLessOrMoreAndReleaseRests)
{
    SkinContext skin;
    auto strip = addStrip ("rocker.png", 20, 10, 3);
    std::vector<std::string> log;
    Recorder recorder (log);
    const char* actions = "<actions><action type='onLessClick' event='Less'/><action type='onMoreClick' event='More'/>"
                          "<action type='onLessClickWithCtrl' event='Less Ctrl'/><action type='onMoreClickWithCtrl' event='More Ctrl'/></actions>";

    GFXRocker horizontal ("r");
    skin.load (horizontal, juce::String ("<Rocker type='horizontal'><gfx resource='rocker.png' framesNum='3'/>") + actions + "</Rocker>");
    horizontal.addListener (&recorder);
    EXPECT_EQ (horizontal.getType(), GFXRocker::horizontal);
    EXPECT_EQ (shownFrame (horizontal, 3), 1);

    struct Case
    {
        float x, y;
        bool ctrl;
        int frame;
        const char* event;
    };

    const Case horizontalCases[] = {
        {10.0f, 5.0f, false, 0, "L.event 12"}, // exactly half the width is less
        {11.0f, 5.0f, false, 2, "L.event 13"},
        {2.0f, 5.0f, true, 0, "L.event 14"},
        {18.0f, 5.0f, true, 2, "L.event 15"},
    };

    for (auto& c : horizontalCases)
    {
        log.clear();
        comp (horizontal).mouseDown (mouseEvent (horizontal, c.x, c.y, c.ctrl ? ctrlClick() : juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier)));
        EXPECT_EQ (shownFrame (horizontal, 3), c.frame) << c.x;
        EXPECT_EQ (log, (std::vector<std::string>{c.event})) << c.x;

        comp (horizontal).mouseDrag (mouseEvent (horizontal, c.x, 40.0f, juce::ModifierKeys::leftButtonModifier, {c.x, c.y}));
        EXPECT_EQ (shownFrame (horizontal, 3), 1);
        comp (horizontal).mouseDrag (mouseEvent (horizontal, c.x, c.y, juce::ModifierKeys::leftButtonModifier, {c.x, c.y}));
        EXPECT_EQ (shownFrame (horizontal, 3), c.frame);

        comp (horizontal).mouseUp (mouseEvent (horizontal, c.x, c.y, juce::ModifierKeys()));
        EXPECT_EQ (shownFrame (horizontal, 3), 1);
        EXPECT_EQ (log.size(), 1u);
    }

    GFXRocker vertical ("r");
    skin.load (vertical, juce::String ("<Rocker type='Horizontal'><gfx resource='rocker.png' framesNum='3'/>") + actions + "</Rocker>");
    vertical.addListener (&recorder);
    EXPECT_EQ (vertical.getType(), GFXRocker::vertical); // the value is exact

    log.clear();
    comp (vertical).mouseDown (mouseEvent (vertical, 10.0f, 4.0f));
    EXPECT_EQ (shownFrame (vertical, 3), 2);
    comp (vertical).mouseUp (mouseEvent (vertical, 10.0f, 4.0f, juce::ModifierKeys()));
    comp (vertical).mouseDown (mouseEvent (vertical, 10.0f, 5.0f));
    EXPECT_EQ (shownFrame (vertical, 3), 0);
    EXPECT_EQ (log, (std::vector<std::string>{"L.event 13", "L.event 12"}));

    GFXRocker drawn ("r");
    skin.load (drawn, "<Rocker><size width='20' height='30'/></Rocker>");
    comp (drawn).mouseDown (mouseEvent (drawn, 10.0f, 2.0f));
    EXPECT_EQ (pixelAt (drawn, 10, 5), juce::Colour::greyLevel (0.5f));
    EXPECT_EQ (pixelAt (drawn, 10, 25), juce::Colour::greyLevel (0.7f));
}

TEST (GFXButton, HeldAutoRepeatButtonRepeatsAfterASecondThenEveryTenthOfASecond)
{
    SkinContext skin;
    std::vector<std::string> log;
    Recorder recorder (log);
    GFXButton button ("b");
    button.setVisible (true);
    skin.load (button, "<Button clickEvent='onPress' autorepeat='yes'><size width='10' height='10'/>"
                       "<actions><action type='onClick' event='Tap Bass Drum'/></actions></Button>");
    EXPECT_TRUE (button.isAutoRepeating());
    button.addListener (&recorder);

    comp (button).mouseDown (mouseEvent (button, 5.0f, 5.0f));
    EXPECT_EQ (log.size(), 1u);
    EXPECT_EQ (button.getRepeatInterval(), 1000);

    // The toolkit's timer thread counts from its last wake-up, so a first tick can come a
    // few hundred milliseconds early (and any amount late): only a loose lower bound here.
    pumpFor (600);
    EXPECT_EQ (log.size(), 1u);
    ASSERT_TRUE (pumpUntil ([&]
                            { return log.size() >= 2; }));
    EXPECT_EQ (button.getRepeatInterval(), 100);
    ASSERT_TRUE (pumpUntil ([&]
                            { return log.size() >= 4; }));
    EXPECT_EQ (button.getRepeatInterval(), 100);

    comp (button).mouseUp (mouseEvent (button, 5.0f, 5.0f, juce::ModifierKeys()));
    EXPECT_EQ (button.getRepeatInterval(), 0);
    const auto count = log.size();
    pumpFor (250);
    EXPECT_EQ (log.size(), count);

    GFXButton single ("b");
    skin.load (single, "<Button autorepeat='maybe'/>");
    EXPECT_FALSE (single.isAutoRepeating());
}
