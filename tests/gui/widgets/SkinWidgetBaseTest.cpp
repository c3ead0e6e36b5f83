#include "WidgetTestSupport.h"
#include "gui/widgets/GFXAnimation.h"
#include "gui/widgets/GFXButton.h"
#include "gui/widgets/GFXKnob.h"

#include <gtest/gtest.h>

using namespace widgettest;

TEST (SkinWidgetBase, LinksTakeTheLastValidConnectedToLink)
{
    SkinContext skin;
    auto* level = skin.param ("Level");
    auto* tune = skin.param ("Tune");

    {
        GFXKnob knob ("k");
        skin.load (knob, "<Knob><links><link as='connectedTo' param='Level'/><link as='connectedTo' param='Tune'/></links></Knob>");
        EXPECT_EQ (knob.getParameter(), tune);
        EXPECT_EQ (level->getNumAsyncListeners(), 0);
        EXPECT_EQ (tune->getNumAsyncListeners(), 1);
    }

    // The widget leaves the parameter's list when it goes.
    EXPECT_EQ (tune->getNumAsyncListeners(), 0);

    struct Case
    {
        const char* element;
        bool linked;
    };

    const Case cases[] = {
        {"<Knob><links><link as='ConnectedTo' param='Level'/></links></Knob>", false}, // values are exact
        {"<Knob><LINKS><LINK AS='connectedTo' PARAM='Level'/></LINKS></Knob>", true},  // names ignore case
        {"<Knob><links><link as='connectedTo' param='level'/></links></Knob>", false}, // parameter names are exact
        {"<Knob><links><link as='blink' param='Level' time='100'/></links></Knob>", false},
        {"<Knob><links><link as='connectedTo' param='Nothing'/></links></Knob>", false},
        {"<Knob/>", false},
    };

    for (auto& c : cases)
    {
        GFXKnob knob ("k");
        skin.load (knob, c.element);
        EXPECT_EQ (knob.getParameter() != nullptr, c.linked) << c.element;
    }
}

TEST (SkinWidgetBase, ActionsNeedAKnownEventAndAType)
{
    SkinContext skin;
    GFXButton button ("b");
    skin.load (button, "<Button><actions>"
                       "<action type='onClick' event='Not An Event'/>"
                       "<action type='' event='Tap Bass Drum'/>"
                       "<ACTION TYPE='onClickWithCtrl' EVENT='Tap Bass Drum'/>"
                       "</actions></Button>");
    EXPECT_EQ (button.getClickUid(), -1);
    EXPECT_EQ (button.getCtrlClickUid(), 10);

    // The action's display name becomes the tooltip once the mouse enters with Ctrl held.
    button.setVisible (true);
    button.mouseEnter (mouseEvent (button, 1.0f, 1.0f, juce::ModifierKeys::ctrlModifier));
    EXPECT_EQ (button.getTooltip(), "Tap bass drum");
    button.modifierKeysChanged (juce::ModifierKeys());
    EXPECT_EQ (button.getTooltip(), "");
}

TEST (SkinWidgetBase, FilmstripFrameSizeAndFrameCount)
{
    SkinContext skin;
    auto strip = addStrip ("base40x120.png", 40, 40, 3);

    struct Case
    {
        const char* element;
        int framesNum, width, height;
    };

    const Case cases[] = {
        {"<Animation><gfx resource='base40x120.png' framesNum='3'/><size width='7' height='9'/></Animation>", 3, 40, 40},
        {"<Animation><gfx resource='BASE40X120.PNG'/></Animation>", 1, 40, 120},
        {"<Animation><GFX RESOURCE='base40x120.png' FRAMESNUM='2'/></Animation>", 2, 40, 60},
        // No frame count at all still gives one frame, never a division by zero.
        {"<Animation><gfx resource='base40x120.png' framesNum='0'/></Animation>", 1, 40, 120},
        {"<Animation><gfx resource='base40x120.png' framesNum='-4'/></Animation>", 1, 40, 120},
        {"<Animation><gfx resource='base40x120.png' framesNum='many'/></Animation>", 1, 40, 120},
        {"<Animation><gfx resource='base40x120.png' framesNum='NaN'/></Animation>", 1, 40, 120},
        {"<Animation><gfx resource='base40x120.png' framesNum='1000'/></Animation>", 1000, 40, 0},
        {"<Animation><gfx resource='base40x120.png' framesNum='2147483647'/></Animation>", BaseGFXController::maxFrames, 40, 0},
        {"<Animation><gfx resource='missing.png' framesNum='3'/><size width='7' height='9'/></Animation>", 3, 7, 9},
        {"<Animation><size width='7'/></Animation>", 1, 7, 0},
        {"<Animation><size width='-7' height='-1'/></Animation>", 1, 0, 0},
    };

    for (auto& c : cases)
    {
        GFXAnimation animation ("a");
        skin.load (animation, c.element);
        EXPECT_EQ (animation.getFramesNum(), c.framesNum) << c.element;
        EXPECT_EQ (animation.getFrameWidth(), c.width) << c.element;
        EXPECT_EQ (animation.getFrameHeight(), c.height) << c.element;
        EXPECT_EQ (animation.getBounds(), juce::Rectangle<int> (0, 0, c.width, c.height)) << c.element;

        // Whatever the element said, painting reads inside the strip.
        animation.setFrame (2);
        if (animation.getWidth() > 0 && animation.getHeight() > 0)
            animation.createComponentSnapshot (animation.getLocalBounds());
    }

    GFXAnimation placed ("a");
    skin.load (placed, "<Animation><pos left='12' top='34'/><gfx resource='base40x120.png' framesNum='3'/></Animation>");
    EXPECT_EQ (placed.getBounds(), juce::Rectangle<int> (12, 34, 40, 40));
}

TEST (SkinWidgetBase, ListenersAreCalledLastAddedFirst)
{
    std::vector<std::string> log;
    Recorder a (log, "A"), b (log, "B"), c (log, "C");
    GFXButton button ("b");
    button.addListener (&a);
    button.addListener (&b);
    button.addListener (&c);
    button.addListener (&b);
    button.addListener ((GUIController::Listener*) nullptr);
    EXPECT_EQ (button.getNumListeners(), 3);

    button.sendEvent (7);
    button.sendValueChanged();
    EXPECT_EQ (log, (std::vector<std::string>{"C.event 7", "B.event 7", "A.event 7", "C.value", "B.value", "A.value"}));
}

TEST (SkinWidgetBase, BlinkStartsInTheOffPhase)
{
    auto strip = makeStrip (10, 10, 2);
    GFXAnimation led ("led");
    led.setImage (strip, 2);
    led.setFrame (1);
    led.setBlinkInterval (40);

    led.startBlinking();
    EXPECT_TRUE (led.isBlinking());
    EXPECT_EQ (shownFrame (led), 1);

    // Toolkit timers may tick early or late, so the interval itself is not timed here.
    ASSERT_TRUE (pumpUntil ([&]
                            { return led.isInBlinkOnPhase(); }));
    EXPECT_EQ (shownFrame (led), 0);
    ASSERT_TRUE (pumpUntil ([&]
                            { return !led.isInBlinkOnPhase(); }));
    EXPECT_EQ (shownFrame (led), 1);
    ASSERT_TRUE (pumpUntil ([&]
                            { return led.isInBlinkOnPhase(); }));

    led.stopBlinking();
    EXPECT_EQ (shownFrame (led), 1);
}

TEST (SkinWidgetBase, ParameterChangesArriveOnTheMessageThreadLater)
{
    SkinContext skin;
    std::vector<std::string> log;
    Recorder recorder (log);
    GFXKnob knob ("k");
    skin.load (knob, "<Knob><links><link as='connectedTo' param='Level'/></links></Knob>");
    knob.addListener (&recorder);

    skin.param ("Level")->setNormalisedValue (0.25f, true);
    EXPECT_EQ (knob.getValue(), 0.0);

    pumpPendingMessages();
    EXPECT_DOUBLE_EQ (knob.getValue(), 0.25);
    EXPECT_TRUE (log.empty());
}
