#include "WidgetTestSupport.h"
#include "gui/widgets/GFXKnob.h"
#include "gui/widgets/GFXSwitch.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace widgettest;

TEST (GFXKnob, FrameFollowsValueAndEnablement)
{
    SkinContext skin;
    auto strip = addStrip ("knob64.png", 8, 4, 64);
    juce::Component parent;
    GFXKnob knob ("k");
    parent.addAndMakeVisible (knob);
    skin.load (knob, "<Knob><gfx resource='knob64.png' framesNum='64'/><pos left='3' top='4'/></Knob>");
    EXPECT_EQ (knob.getBounds(), juce::Rectangle<int> (3, 4, 8, 4));

    struct Case
    {
        double value;
        bool enabled, parentEnabled;
        int frame;
    };

    const Case cases[] = {
        {0.0, true, true, 0},
        {1.0, true, true, 63},
        {0.5, true, true, 32},                           // floor (31.5 + 0.5)
        {0.5 / 63, true, true, 1},                       // exactly on the .5 boundary
        {std::nextafter (0.5 / 63, 0.0), true, true, 1}, // single precision rounds this up
        {0.49 / 63, true, true, 0},
        {0.75, false, true, 0},
        {0.75, true, false, 0},
    };

    for (auto& c : cases)
    {
        knob.setValue (c.value, juce::dontSendNotification);
        knob.setEnabled (c.enabled);
        parent.setEnabled (c.parentEnabled);
        EXPECT_EQ (knob.getFrameToShow(), c.frame) << c.value;
        EXPECT_EQ (shownFrame (knob), c.frame) << c.value;
    }
}

TEST (GFXKnob, UserChangesWriteTheParameterAndGesturesReachTheHostFirst)
{
    SkinContext skin;
    std::vector<std::string> log;
    Recorder widgetListener (log, "W"), host (log, "H");
    auto* level = skin.param ("Level");
    level->addListener (&host);

    GFXKnob knob ("k");
    knob.setVisible (true);
    skin.load (knob, "<Knob><size width='40' height='40'/><links><link as='connectedTo' param='Level'/></links></Knob>");
    knob.addListener (&widgetListener);

    knob.mouseDown (mouseEvent (knob, 20.0f, 20.0f));
    knob.mouseDrag (mouseEvent (knob, 20.0f, 0.0f, juce::ModifierKeys::leftButtonModifier, {20.0f, 20.0f}));
    knob.mouseUp (mouseEvent (knob, 20.0f, 0.0f, juce::ModifierKeys(), {20.0f, 20.0f}));

    ASSERT_GE (log.size(), 6u);
    EXPECT_EQ (log[0], "H.gestureBegin");
    EXPECT_EQ (log[1], "W.begin");
    EXPECT_EQ (log[2], "H.param");
    EXPECT_EQ (log[3], "W.value");
    EXPECT_EQ (log[log.size() - 2], "H.gestureEnd");
    EXPECT_EQ (log.back(), "W.end");
    EXPECT_GT (level->getNormalisedValue(), 0.0f);
    EXPECT_FLOAT_EQ (level->getNormalisedValue(), (float) knob.getValue());

    // A change from elsewhere moves the picture without telling the widget's listeners.
    log.clear();
    level->setNormalisedValue (0.125f, true);
    pumpPendingMessages();
    EXPECT_DOUBLE_EQ (knob.getValue(), 0.125);
    EXPECT_EQ (log, (std::vector<std::string>{"H.param"}));
    level->removeListener (&host);
}

TEST (GFXKnob, UnlinkedKnobTellsNobody)
{
    std::vector<std::string> log;
    Recorder widgetListener (log);
    GFXKnob knob ("k");
    knob.setVisible (true);
    knob.setSize (40, 40);
    knob.addListener (&widgetListener);

    knob.mouseDown (mouseEvent (knob, 20.0f, 20.0f));
    knob.mouseDrag (mouseEvent (knob, 20.0f, 0.0f, juce::ModifierKeys::leftButtonModifier, {20.0f, 20.0f}));
    knob.mouseUp (mouseEvent (knob, 20.0f, 0.0f, juce::ModifierKeys(), {20.0f, 20.0f}));

    EXPECT_GT (knob.getValue(), 0.0);
    EXPECT_TRUE (log.empty());

    // The drawn fallback paints without an image.
    knob.createComponentSnapshot (knob.getLocalBounds());
}

TEST (GFXSwitch, FramesInDoublePrecisionAndStyles)
{
    SkinContext skin;
    auto strip = addStrip ("switch8.png", 6, 3, 8);
    GFXSwitch selector ("s");
    skin.load (selector, "<Switch style='VERTICAL'><gfx resource='switch8.png' framesNum='8'/></Switch>");
    EXPECT_EQ (selector.getSliderStyle(), juce::Slider::LinearVertical);
    EXPECT_EQ (selector.getMode(), GFXSwitch::vertical);

    struct Case
    {
        double value;
        int frame;
    };

    const Case cases[] = {{0.0, 0}, {0.07, 0}, {0.075, 1}, {0.5, 4}, {1.0, 7}};

    for (auto& c : cases)
    {
        selector.setValue (c.value, juce::dontSendNotification);
        EXPECT_EQ (selector.getFrameToShow(), c.frame) << c.value;
        EXPECT_EQ (shownFrame (selector, 8), c.frame) << c.value;
    }

    struct StyleCase
    {
        const char* style;
        juce::Slider::SliderStyle expected;
    };

    const StyleCase styles[] = {
        {"Horizontal", juce::Slider::LinearHorizontal},
        {"rotary", juce::Slider::RotaryVerticalDrag},
        {"Diagonal", juce::Slider::RotaryVerticalDrag},
    };

    for (auto& s : styles)
    {
        GFXSwitch other ("s");
        skin.load (other, juce::String ("<Switch style='") + s.style + "'/>");
        EXPECT_EQ (other.getSliderStyle(), s.expected) << s.style;
    }

    // Double precision: 25 x 0.58 + 0.5 stays below 15 (in single precision it would reach it).
    auto strip26 = addStrip ("switch26.png", 6, 3, 26);
    GFXSwitch fine ("s");
    skin.load (fine, "<Switch><gfx resource='switch26.png' framesNum='26'/></Switch>");
    fine.setValue (0.58, juce::dontSendNotification);
    EXPECT_EQ (fine.getFrameToShow(), 14);
    EXPECT_EQ (shownFrame (fine, 26), 14);

    // Steps of 0.005: values snap to them.
    GFXSwitch stepped ("s");
    stepped.setValue (0.0712, juce::dontSendNotification);
    EXPECT_NEAR (stepped.getValue(), 0.07, 1e-12);
}
