#include "WidgetTestSupport.h"
#include "gui/widgets/GFXAnimation.h"
#include "gui/widgets/GFXKnob.h"
#include "gui/widgets/GFXPanel.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace widgettest;

TEST (GFXAnimation, FrameFollowsTheClampedValue)
{
    struct Case
    {
        int frames;
        float value;
        int frame;
    };

    const Case cases[] = {
        {2, 0.5f, 1},
        {2, 0.49f, 0},
        {2, std::nextafter (0.5f, 0.0f), 1}, // single precision: the sum rounds up to 1
        {2, -1.0f, 0},
        {2, 2.0f, 1},
        {5, 0.375f, 2},
        {5, 0.374f, 1},
        {1, 1.0f, 0},
    };

    for (auto& c : cases)
    {
        auto strip = makeStrip (6, 4, c.frames);
        GFXAnimation led ("led");
        led.setImage (strip, c.frames);
        led.setFrameFromValue (c.value);
        EXPECT_EQ (led.getFrame(), c.frame) << c.frames << " " << c.value;
        EXPECT_EQ (shownFrame (led, c.frames), c.frame) << c.frames << " " << c.value;
    }
}

TEST (GFXAnimation, LinkedLedFollowsItsParameterAndFlashes)
{
    SkinContext skin;
    auto strip = addStrip ("led2.png", 6, 4, 2);
    GFXAnimation led ("led");
    skin.load (led, "<Animation states='7' style='x'><gfx resource='led2.png' framesNum='2'/><pos left='5' top='6'/>"
                    "<links><link as='connectedTo' param='Level'/></links></Animation>");
    EXPECT_EQ (led.getBounds(), juce::Rectangle<int> (5, 6, 6, 4));

    skin.param ("Level")->setNormalisedValue (0.6f, true);
    pumpPendingMessages();
    EXPECT_EQ (shownFrame (led, 2), 1);

    led.setFrame (0);
    led.flash (30);
    EXPECT_EQ (shownFrame (led, 2), 1);
    EXPECT_TRUE (pumpUntil ([&]
                            { return led.getFrame() == 0; }));

    // Without an image, one frame draws an empty circle rather than dividing by zero.
    GFXAnimation drawn ("led");
    skin.load (drawn, "<Animation><gfx resource='missing.png' framesNum='1'/><size width='20' height='20'/></Animation>");
    drawn.setFrame (0);
    EXPECT_EQ (pixelAt (drawn, 10, 10), juce::Colour::greyLevel (0.9f));

    GFXAnimation lit ("led");
    skin.load (lit, "<Animation><gfx framesNum='3'/><size width='20' height='20'/></Animation>");
    lit.setFrame (2);
    EXPECT_EQ (pixelAt (lit, 10, 10), juce::Colours::black);
}

TEST (GFXPanel, CreatesNestedWidgetsWithOffsetsAndPassesTheListenerOn)
{
    SkinContext skin;
    auto background = addStrip ("panelbg.png", 100, 50, 2);
    auto knobStrip = addStrip ("panelknob.png", 8, 8, 4);

    GFXPanel panel ("p");
    skin.load (panel, "<Panel><gfx resource='panelbg.png' framesNum='2'/><pos left='1' top='2'/>"
                      "<controls ofsX='10' ofsY='3'>"
                      "<Knob name='k1'><gfx resource='panelknob.png' framesNum='4'/><pos left='5' top='0'/></Knob>"
                      "<Gadget name='unknown'/>"
                      "<Panel name='inner'><size width='40' height='20'/><pos left='50' top='10'/>"
                      "  <controls ofsX='2'><Knob name='k2'><gfx resource='panelknob.png' framesNum='4'/><pos left='1' top='1'/></Knob></controls>"
                      "</Panel>"
                      "<Button name='b'><size width='9' height='9'/><actions><action type='onClick' event='Tap Bass Drum'/></actions></Button>"
                      "<MultiStateButton/><ToggleButton/><Animation/><Display/><DisplayFloat/><Rocker/><NumericDisplay/><PatternNumberDisplay/><Switch/>"
                      "</controls></Panel>");

    EXPECT_EQ (panel.getBounds(), juce::Rectangle<int> (1, 2, 100, 50));
    EXPECT_EQ (panel.getNumControllers(), 12);
    EXPECT_EQ (panel.getNumChildComponents(), 12);

    auto* k1 = dynamic_cast<GFXKnob*> (panel.getChildComponent (0));
    ASSERT_NE (k1, nullptr);
    EXPECT_EQ (k1->getName(), "k1");
    EXPECT_EQ (k1->getBounds(), juce::Rectangle<int> (15, 3, 8, 8));
    EXPECT_TRUE (k1->isVisible());

    auto* inner = dynamic_cast<GFXPanel*> (panel.getChildComponent (1));
    ASSERT_NE (inner, nullptr);
    EXPECT_EQ (inner->getBounds(), juce::Rectangle<int> (60, 13, 40, 20));
    auto* k2 = dynamic_cast<GFXKnob*> (inner->getChildComponent (0));
    ASSERT_NE (k2, nullptr);
    EXPECT_EQ (k2->getBounds(), juce::Rectangle<int> (3, 1, 8, 8)); // only the inner panel's offsets

    std::vector<std::string> log;
    Recorder recorder (log);
    panel.addListener (&recorder);
    EXPECT_EQ (panel.getNumListeners(), 1);
    EXPECT_EQ (inner->getNumListeners(), 1);
    EXPECT_EQ (k2->getNumListeners(), 1);
    panel.getController (2)->sendEvent (10);
    EXPECT_EQ (log, (std::vector<std::string>{"L.event 10"}));

    // Frame 0 of the background shows behind the children.
    EXPECT_EQ (shownFrame (panel, 2, 90, 45), 0);
    k1->setValue (1.0, juce::dontSendNotification);
    EXPECT_EQ (shownFrame (panel, 4, 21, 9), 3);
}

TEST (GFXPanel, TransparencyAndVisibilityFromParameters)
{
    SkinContext skin;
    auto background = addStrip ("panelbg2.png", 30, 30, 1);
    auto knobStrip = addStrip ("panelknob2.png", 8, 8, 2);

    GFXPanel panel ("p");
    skin.load (panel, "<Panel><gfx resource='panelbg2.png' transparent=' yes'/>"
                      "<controls><Knob><gfx resource='panelknob2.png' framesNum='2'/></Knob></controls></Panel>");
    EXPECT_TRUE (panel.isTransparent());
    EXPECT_EQ (pixelAt (panel, 20, 20).getAlpha(), 0);
    EXPECT_EQ (shownFrame (panel, 2, 4, 4), 0);

    GFXPanel opaque ("p");
    skin.load (opaque, "<Panel><gfx resource='panelbg2.png' transparent='false'/></Panel>");
    EXPECT_FALSE (opaque.isTransparent());
    EXPECT_EQ (shownFrame (opaque, 1, 20, 20), 0);

    GFXPanel drawn ("p");
    skin.load (drawn, "<Panel><size width='10' height='10'/></Panel>");
    EXPECT_EQ (pixelAt (drawn, 5, 5), juce::Colour::greyLevel (0.9f));

    auto* mute = skin.param ("Mute");
    mute->setBoolValue (true, false);
    panel.setVisible (true);
    panel.setHiddenFromParameter (mute);
    EXPECT_FALSE (panel.isVisible());
    EXPECT_FALSE (panel.getChildComponent (0)->isShowing());
    panel.setVisibleFromParameter (mute);
    EXPECT_TRUE (panel.isVisible());
}
