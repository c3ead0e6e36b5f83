#include "WidgetTestSupport.h"
#include "gui/widgets/ModWheel.h"
#include "gui/widgets/PitchBender.h"

#include <gtest/gtest.h>

using namespace widgettest;

namespace
{
struct WheelSkin : public SkinContext
{
    WheelSkin()
    {
        parameters.addParameter (std::make_unique<FloatParameter> (30, "Bend", -1.0f, 1.0f, 0.0f));
        parameters.addParameter (std::make_unique<FloatParameter> (31, "Mod", 0.0f, 1.0f, 0.0f));
    }
};

/** Drags the wheel from its centre by dy pixels and lets go; returns the parameter's value before letting go. */
template <typename Wheel>
float dragAndRelease (Wheel& wheel, float dy, Parameter& linked)
{
    const juce::Point<float> down (20.0f, 20.0f);
    wheel.mouseDown (mouseEvent (wheel, down.x, down.y));
    wheel.mouseDrag (mouseEvent (wheel, down.x, down.y + dy, juce::ModifierKeys::leftButtonModifier, down));
    const float held = linked.getValue();
    wheel.mouseUp (mouseEvent (wheel, down.x, down.y + dy, juce::ModifierKeys(), down));
    return held;
}
} // namespace

TEST (PitchBender, RestsInTheCentreAndSpringsBackThere)
{
    WheelSkin skin;
    auto strip = addStrip ("bender9.png", 40, 40, 9);
    std::vector<std::string> log;
    Recorder widgetListener (log, "W"), host (log, "H");
    auto* bend = skin.param ("Bend");
    bend->addListener (&host);

    PitchBender bender ("pb");
    bender.setVisible (true);
    EXPECT_DOUBLE_EQ (bender.getMinimum(), -1.0);
    EXPECT_DOUBLE_EQ (bender.getMaximum(), 1.0);
    EXPECT_DOUBLE_EQ (bender.getInterval(), 0.0);
    EXPECT_DOUBLE_EQ (bender.getValue(), 0.0);

    skin.load (bender, "<PitchBender><gfx resource='bender9.png' framesNum='9'/><links><link as='connectedTo' param='Bend'/></links></PitchBender>");
    bender.addListener (&widgetListener);
    EXPECT_EQ (shownFrame (bender, 9), 4) << "the centre frame at rest";

    // Below the centre reaches the parameter as it is.
    bender.setValue (-0.5, juce::sendNotificationSync);
    EXPECT_FLOAT_EQ (bend->getValue(), -0.5f);
    EXPECT_EQ (shownFrame (bender, 9), 2);

    // A parameter change below the centre shows there, and tells nobody back.
    log.clear();
    bend->setValue (-1.0f, true);
    pumpPendingMessages();
    EXPECT_DOUBLE_EQ (bender.getValue(), -1.0);
    EXPECT_EQ (shownFrame (bender, 9), 0);
    EXPECT_EQ (log, (std::vector<std::string>{"H.param"}));

    // Let go anywhere: back to the centre, and the parameter hears the 0 once more.
    bend->setValue (0.0f, true);
    pumpPendingMessages();
    log.clear();
    EXPECT_GT (dragAndRelease (bender, -15.0f, *bend), 0.0f);
    pumpPendingMessages();
    EXPECT_DOUBLE_EQ (bender.getValue(), 0.0);
    EXPECT_FLOAT_EQ (bend->getValue(), 0.0f);
    EXPECT_EQ (shownFrame (bender, 9), 4);
    EXPECT_EQ (log, (std::vector<std::string>{"H.gestureBegin", "W.begin", "H.param", "W.value", "H.gestureEnd", "W.end",
                                              "H.param", "W.value"}));
    bend->removeListener (&host);
}

TEST (ModWheel, SpringsBackToTheBottom)
{
    WheelSkin skin;
    auto strip = addStrip ("modwheel5.png", 40, 40, 5);
    std::vector<std::string> log;
    Recorder widgetListener (log, "W");
    auto* mod = skin.param ("Mod");

    ModWheel wheel ("mw");
    wheel.setVisible (true);
    EXPECT_DOUBLE_EQ (wheel.getMinimum(), 0.0);
    EXPECT_DOUBLE_EQ (wheel.getMaximum(), 1.0);
    skin.load (wheel, "<ModWheel><gfx resource='modwheel5.png' framesNum='5'/><links><link as='connectedTo' param='Mod'/></links></ModWheel>");
    wheel.addListener (&widgetListener);
    EXPECT_EQ (shownFrame (wheel, 5), 0);

    EXPECT_GT (dragAndRelease (wheel, -30.0f, *mod), 0.0f);
    pumpPendingMessages();
    EXPECT_DOUBLE_EQ (wheel.getValue(), 0.0);
    EXPECT_FLOAT_EQ (mod->getValue(), 0.0f);
    EXPECT_EQ (shownFrame (wheel, 5), 0);
    EXPECT_EQ (log.back(), "W.value");

    // The parameter moves the wheel without a word back.
    log.clear();
    mod->setNormalisedValue (1.0f, true);
    pumpPendingMessages();
    EXPECT_EQ (shownFrame (wheel, 5), 4);
    EXPECT_TRUE (log.empty());
}
