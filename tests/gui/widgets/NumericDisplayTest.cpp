#include "gui/widgets/NumericDisplay.h"
#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

using namespace widgettest;

namespace
{
// "_" for a blank digit, "-" in front for a shown minus sign.
std::string shownDigits (NumericDisplay& display)
{
    std::string text;

    if (auto* sign = display.getSign())
        text += sign->isNegative() ? "-" : "+";

    for (int i = 0; i < display.getNumDigitComponents(); ++i)
    {
        auto* digit = display.getDigit (i);
        text += digit->isBlank() ? '_' : (char) ('0' + digit->getDigit());
    }

    return text;
}

juce::String numericElement (int digits, const char* order, double min, double max, const char* extra = "")
{
    return "<NumericDisplay digitsNum='" + juce::String (digits) + "' " + order + " minValue='" + juce::String (min) + "' maxValue='" + juce::String (max) + "' " + extra + "><size width='" + juce::String (10 * digits + (min < 0 ? 10 : 0)) + "' height='12'/><digits resource='digits.png'/><sign><gfx resource='sign.png'/></sign></NumericDisplay>";
}
} // namespace

TEST (NumericDisplay, DigitsShowTheClampedValue)
{
    SkinContext skin;
    auto digitStrip = addStrip ("digits.png", 10, 12, 11);
    auto signStrip = addStrip ("sign.png", 10, 12, 2);

    struct Case
    {
        int digits;
        const char* order;
        double min, max, value;
        double expectedOrder;
        const char* shown;
    };

    const Case cases[] = {
        {2, "firstDigitOrder='10'", 1, 8, 1, 10, "_1"},
        {2, "firstDigitOrder='10'", 1, 8, 0, 10, "_1"}, // clamped first
        {2, "firstDigitOrder='10'", 1, 8, 12, 10, "_8"},
        {2, "firstDigitOrder='10'", 0, 99, 10, 10, "10"},
        {2, "firstDigitOrder='10'", 0, 99, 0, 10, "_0"},
        {2, "firstDigitOrder='5'", 0, 99, 42, 10, "42"}, // not a power of ten: 10
        {2, "firstDigitOrder='0'", 0, 99, 7, 10, "_7"},
        {2, "firstDigitOrder='-100'", 0, 99, 7, 10, "_7"},
        {2, "", 0, 99, 7, 10, "_7"},
        {3, "firstDigitOrder='1'", 0, 9, 0.5, 1, "050"},
        {3, "firstDigitOrder='1'", -10, 10, -1.25, 1, "-125"},
        {3, "firstDigitOrder='1'", -10, 10, 0, 1, "+000"},
        {3, "firstDigitOrder='1'", 0, 9, 1.01, 1, "101"},
        {3, "firstDigitOrder='1'", 0, 9, 1.006, 1, "101"},    // rounded half away from zero
        {3, "firstDigitOrder='0.1'", 0, 1, 0.05, 0.1, "_50"}, // no units digit among them
        {2, "firstDigitOrder='10'", 0, 0, 5, 10, "_0"},       // no range: always 0
        {2, "firstDigitOrder='10'", 0, 500, 500, 10, "00"},   // too large for the digits: no digit past 9 is shown
    };

    for (auto& c : cases)
    {
        NumericDisplay display ("n");
        skin.load (display, numericElement (c.digits, c.order, c.min, c.max));
        EXPECT_EQ (display.getFirstDigitOrder(), c.expectedOrder) << c.order;
        display.setValue (c.value, false);
        auto shown = shownDigits (display);

        if (c.max == 500)
            EXPECT_EQ (display.getDigit (0)->getDigit() > 9, true);
        else
            EXPECT_EQ (shown, c.shown) << c.digits << " " << c.order << " " << c.value;

        // Every frame read stays inside its strip.
        display.createComponentSnapshot (display.getLocalBounds());
    }
}

TEST (NumericDisplay, FramesOfDigitsAndSign)
{
    SkinContext skin;
    auto digitStrip = addStrip ("digits.png", 10, 12, 11);
    auto signStrip = addStrip ("sign.png", 10, 12, 2);
    NumericDisplay display ("n");
    skin.load (display, numericElement (3, "firstDigitOrder='1'", -10, 10) + "");
    EXPECT_EQ (display.getBounds(), juce::Rectangle<int> (0, 0, 40, 12));

    display.setValue (-1.25, false);
    const int expected[] = {1, 2, 3, 6};

    for (int i = 0; i < 4; ++i)
        EXPECT_EQ (shownFrame (display, 11, i * 10 + 5, 6), expected[i]) << i;

    display.setEnabled (false);

    for (int i = 0; i < 4; ++i)
        EXPECT_EQ (shownFrame (display, 11, i * 10 + 5, 6), 0) << i;
}

TEST (NumericDisplay, AnOpenDisplayRepaintsEveryDigitWhenItsEnablementChanges)
{
    SkinContext skin;
    auto digitStrip = addStrip ("digits.png", 10, 12, 11);
    auto signStrip = addStrip ("sign.png", 10, 12, 2);
    juce::Component window;
    NumericDisplay display ("n");
    window.addAndMakeVisible (display);
    skin.load (display, numericElement (4, "firstDigitOrder='100'", -300, 300));
    window.setSize (display.getWidth(), display.getHeight());
    display.setValue (-161.2, false);
    RetainedPicture picture (window);

    // Dark and lit again with its value, then a value sharing the first digit: the
    // unchanged digits and the sign are repainted as well.
    for (auto change : std::vector<std::function<void()>>{[&]
                                                          { display.setEnabled (false); },
                                                          [&]
                                                          { display.setEnabled (true); },
                                                          [&]
                                                          { window.setEnabled (false); },
                                                          [&]
                                                          { window.setEnabled (true); },
                                                          [&]
                                                          { display.setValue (-112.0, false); }})
    {
        change();
        EXPECT_TRUE (picture.difference().isEmpty()) << picture.difference().toString();
    }

    EXPECT_EQ (shownFrame (display, 11, 15, 6), 2); // the "1" of 112
}

TEST (NumericDisplay, DraggingChangesTheValueByWholeSteps)
{
    SkinContext skin;
    auto digitStrip = addStrip ("digits.png", 10, 12, 11);
    std::vector<std::string> log;
    Recorder widgetListener (log, "W"), host (log, "H");

    struct Case
    {
        const char* extra;
        float x;
        float dy;
        double expected;
    };

    const Case cases[] = {
        {"", 15, -45, 52}, // second digit: 20 pixels a step of 1
        {"", 15, -39, 51},
        {"", 5, -25, 60}, // first digit: 25 pixels a step of 10
        {"", 5, -24, 50},
        {"", 5, 30, 40},
        {"", 5, 0, 50},
        {"control='continous'", 5, -45, 52},
        {"control='continuous'", 5, -45, 60}, // only the skin's own spelling is continuous
    };

    for (auto& c : cases)
    {
        NumericDisplay display ("n");
        display.setVisible (true);
        skin.load (display, numericElement (2, "firstDigitOrder='10'", 0, 99, c.extra));
        display.setValue (50, false);
        comp (display).mouseDown (mouseEvent (display, c.x, 6.0f));
        comp (display).mouseDrag (mouseEvent (display, c.x, 6.0f + c.dy, juce::ModifierKeys::leftButtonModifier, {c.x, 6.0f}));
        EXPECT_EQ (display.getValue(), c.expected) << c.extra << " " << c.x << " " << c.dy;

        // Back at the start point the start value returns exactly.
        comp (display).mouseDrag (mouseEvent (display, c.x, 6.0f, juce::ModifierKeys::leftButtonModifier, {c.x, 6.0f}));
        EXPECT_EQ (display.getValue(), 50.0);
        comp (display).mouseUp (mouseEvent (display, c.x, 6.0f, juce::ModifierKeys(), {c.x, 6.0f}));
    }

    // The voices' output numbers: two digits, continuous, 1 to 8, linked.
    auto* output = skin.param ("Output");
    output->addListener (&host);
    NumericDisplay display ("n");
    skin.load (display, "<NumericDisplay digitsNum='2' firstDigitOrder='10' minValue='1' maxValue='8' control='continous'>"
                        "<links><link as='connectedTo' param='Output'/></links><size width='20' height='12'/>"
                        "<digits><gfx resource='digits.png'/><gfx resource='digits.png'/></digits></NumericDisplay>");
    display.addListener (&widgetListener);
    EXPECT_EQ (display.getValue(), 1.0);

    comp (display).mouseDown (mouseEvent (display, 3.0f, 6.0f));
    comp (display).mouseDrag (mouseEvent (display, 3.0f, -34.0f, juce::ModifierKeys::leftButtonModifier, {3.0f, 6.0f}));
    EXPECT_EQ (display.getValue(), 3.0);
    comp (display).mouseDrag (mouseEvent (display, 3.0f, -35.0f, juce::ModifierKeys::leftButtonModifier, {3.0f, 6.0f}));
    EXPECT_EQ (display.getValue(), 3.0);
    comp (display).mouseDrag (mouseEvent (display, 3.0f, -400.0f, juce::ModifierKeys::leftButtonModifier, {3.0f, 6.0f}));
    comp (display).mouseUp (mouseEvent (display, 3.0f, -400.0f, juce::ModifierKeys(), {3.0f, 6.0f}));

    EXPECT_EQ (output->getIntValue(), 8);
    EXPECT_EQ (log, (std::vector<std::string>{"H.gestureBegin", "W.begin", "H.param", "W.value", "H.param", "W.value", "H.gestureEnd", "W.end"}));

    // The value already shown writes nothing.
    log.clear();
    display.setValue (8, true);
    EXPECT_TRUE (log.empty());

    // A change of the parameter shows without writing back.
    output->setIntValue (3, true);
    pumpPendingMessages();
    EXPECT_EQ (display.getValue(), 3.0);
    EXPECT_EQ (log, (std::vector<std::string>{"H.param"}));
    output->removeListener (&host);
}

TEST (NumericDisplay, FarDigitsAndMissingImagesStaySafe)
{
    SkinContext skin;
    auto digitStrip = addStrip ("digits.png", 10, 12, 11);

    // From the sixth digit on a drag still moves the right way, five pixels a step.
    NumericDisplay wide ("n");
    skin.load (wide, numericElement (8, "firstDigitOrder='10000000'", 0, 99999999));
    wide.setValue (1000, false);
    comp (wide).mouseDown (mouseEvent (wide, 65.0f, 6.0f));
    EXPECT_EQ (wide.getDragStep(), 10.0);
    EXPECT_EQ (wide.getPixelsPerStep(), 5);
    comp (wide).mouseDrag (mouseEvent (wide, 65.0f, -4.0f, juce::ModifierKeys::leftButtonModifier, {65.0f, 6.0f}));
    EXPECT_EQ (wide.getValue(), 1020.0);
    comp (wide).mouseUp (mouseEvent (wide, 65.0f, -4.0f, juce::ModifierKeys(), {65.0f, 6.0f}));

    // Fewer digit images than digits: only those cells exist, and nothing reads past them.
    NumericDisplay few ("n");
    skin.load (few, "<NumericDisplay digitsNum='3' firstDigitOrder='100' maxValue='999'><size width='30' height='12'/>"
                    "<digits><gfx resource='digits.png'/></digits></NumericDisplay>");
    EXPECT_EQ (few.getNumDigitComponents(), 1);
    few.setValue (456, false);
    EXPECT_EQ (few.getDigit (0)->getDigit(), 4);
    few.createComponentSnapshot (few.getLocalBounds());

    // Absurd element values are bounded.
    const char* absurd[] = {
        "<NumericDisplay digitsNum='0'/>",
        "<NumericDisplay digitsNum='100000' maxValue='1e300'><size width='-5' height='99999999'/></NumericDisplay>",
        "<NumericDisplay digitsNum='-3' minValue='5' maxValue='-5'/>",
        "<NumericDisplay digitsNum='2' minValue='nan' maxValue='inf'/>",
        "<NumericDisplay digitsNum='15' firstDigitOrder='1e-308' maxValue='1'/>",
    };

    for (auto* element : absurd)
    {
        NumericDisplay display ("n");
        skin.load (display, element);
        EXPECT_GE (display.getDigitsNum(), 1);
        EXPECT_LE (display.getDigitsNum(), NumericDisplay::maxDigits);
        display.setValue (1e300, false);
        comp (display).mouseDown (mouseEvent (display, 0.0f, 0.0f));
        comp (display).mouseDrag (mouseEvent (display, 0.0f, -50.0f, juce::ModifierKeys::leftButtonModifier, {0.0f, 0.0f}));
        comp (display).mouseUp (mouseEvent (display, 0.0f, -50.0f, juce::ModifierKeys(), {0.0f, 0.0f}));
    }

    // "nan" and "inf" read as numbers; an endless range is no range, and no value is not a value.
    NumericDisplay endless ("n");
    skin.load (endless, "<NumericDisplay digitsNum='2' minValue='-inf' maxValue='nan'><size width='20' height='12'/></NumericDisplay>");
    EXPECT_EQ (endless.getSign(), nullptr);
    endless.setValue (5, false);
    EXPECT_EQ (endless.getValue(), 0.0);

    NumericDisplay ranged ("n");
    skin.load (ranged, "<NumericDisplay digitsNum='2' maxValue='99'><size width='20' height='12'/></NumericDisplay>");
    ranged.setValue (42, false);
    ranged.setValue (std::numeric_limits<double>::quiet_NaN(), true);
    EXPECT_EQ (ranged.getValue(), 42.0);
    EXPECT_EQ (ranged.getDigit (0)->getDigit(), 4);

    // Without images the digits draw their fallback.
    NumericDisplay drawn ("n");
    skin.load (drawn, "<NumericDisplay digitsNum='2' firstDigitOrder='1' maxValue='9.9'><size width='20' height='16'/></NumericDisplay>");
    EXPECT_EQ (drawn.getBounds(), juce::Rectangle<int> (0, 0, 20, 16));
    EXPECT_EQ (pixelAt (drawn, 1, 1), juce::Colour::greyLevel (1.0f));
    EXPECT_EQ (pixelAt (drawn, 11, 1), juce::Colour::greyLevel (0.8f));
}
