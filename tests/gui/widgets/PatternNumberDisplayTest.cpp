#include "gui/widgets/PatternNumberDisplay.h"
#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

using namespace widgettest;

namespace
{
const char* const digitImages = "<gfx firstDigit='pn1.png' secondDigit='pn2.png' thirdDigit='pn3.png' fourthDigit='pn4.png'/>";

struct DigitStrips
{
    juce::Image first = addStrip ("pn1.png", 8, 16, 12);
    juce::Image second = addStrip ("pn2.png", 8, 16, 19);
    juce::Image third = addStrip ("pn3.png", 8, 16, 13);
    juce::Image fourth = addStrip ("pn4.png", 8, 16, 11);
};

std::vector<int> frames (PatternNumberDisplay& display)
{
    std::vector<int> result;

    for (int i = 0; i < display.getNumDigits(); ++i)
        result.push_back (display.getDigit (i)->getFrame());

    return result;
}

std::vector<int> paintedFrames (PatternNumberDisplay& display)
{
    std::vector<int> result;

    for (int i = 0; i < 4; ++i)
        result.push_back (shownFrame (display, 19, i * 8 + 4, 8));

    return result;
}
} // namespace

TEST (PatternNumberDisplay, FramesByMode)
{
    SkinContext skin;
    DigitStrips strips;
    PatternNumberDisplay display ("p");
    skin.load (display, juce::String ("<PatternNumberDisplay notePatternMax='127'><pos left='3' top='4'/><size width='40' height='16'/>") + digitImages + "</PatternNumberDisplay>");
    EXPECT_EQ (display.getBounds(), juce::Rectangle<int> (3, 4, 40, 16));
    ASSERT_EQ (display.getNumDigits(), 4);
    EXPECT_EQ (display.getDigit (3)->getBounds(), juce::Rectangle<int> (24, 0, 8, 16));

    struct Case
    {
        int mode, number;
        std::vector<int> frames;
    };

    const Case cases[] = {
        {0, 36, {11, 11, 12, 4}}, // "P." "C" "-" 3
        {0, 37, {11, 11, 11, 4}}, // "P." "C" "#" 3
        {0, 0, {11, 11, 12, 1}},
        {0, 71, {11, 17, 12, 6}}, // B-5
        {0, 66, {11, 14, 11, 6}}, // F#5
        {0, 127, {11, 15, 12, 11}},
        {1, 5, {0, 1, 6, 0}},
        {1, 16, {0, 2, 7, 0}},
        {2, 1, {2, 18, 1, 2}},
        {2, 13, {3, 18, 1, 2}},
        {2, 96, {9, 18, 2, 3}},
        {2, 12, {2, 18, 2, 3}},
    };

    for (auto& c : cases)
    {
        display.setDisplayMode (c.mode);
        display.setPatternNumber (c.number);
        EXPECT_EQ (frames (display), c.frames) << c.mode << " " << c.number;
    }

    // The octave of notes 120 to 127 lies past the fourth strip: nothing is drawn from it.
    display.setDisplayMode (0);
    display.setPatternNumber (36);
    EXPECT_EQ (paintedFrames (display), (std::vector<int>{11, 11, 12, 4}));
    display.setPatternNumber (127);
    EXPECT_EQ (paintedFrames (display), (std::vector<int>{11, 15, 12, -1}));

    display.setEnabled (false);
    EXPECT_EQ (frames (display), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ (paintedFrames (display), (std::vector<int>{0, 0, 0, 0}));
    display.setEnabled (true);
    EXPECT_EQ (frames (display), (std::vector<int>{11, 15, 12, 11}));

    // Another mode changes nothing.
    display.setDisplayMode (7);
    display.setPatternNumber (500);
    EXPECT_EQ (display.getPatternNumber(), 500);
    EXPECT_EQ (frames (display), (std::vector<int>{11, 15, 12, 11}));
}

TEST (PatternNumberDisplay, RangesClampingAndSlots)
{
    SkinContext skin;
    DigitStrips strips;

    struct SlotCase
    {
        const char* attribute;
        int slotMax;
    };

    const SlotCase slotCases[] = {{"slotMax='2'", 4}, {"slotMax='20'", 16}, {"", 12}, {"SLOTMAX='8'", 8}};

    for (auto& c : slotCases)
    {
        PatternNumberDisplay display ("p");
        skin.load (display, juce::String ("<PatternNumberDisplay ") + c.attribute + "/>");
        EXPECT_EQ (display.getSlotMax(), c.slotMax) << c.attribute;
        EXPECT_EQ (display.getBounds(), juce::Rectangle<int> (0, 0, 100, 40));
        EXPECT_EQ (display.getNumDigits(), 0);

        // With no digits, refreshing changes nothing and reads nothing.
        display.setPatternNumber (40);
        display.setDisplayMode (2);
        display.updateDigits();
        display.setEnabled (false);
    }

    PatternNumberDisplay display ("p");
    skin.load (display, juce::String ("<PatternNumberDisplay slotMax='8' numericPatternMax='99'><links><link as='connectedTo' param='Pattern'/></links>") + digitImages + "</PatternNumberDisplay>");

    auto* pattern = skin.param ("Pattern");
    pattern->setIntValue (120, true);
    pumpPendingMessages();
    EXPECT_EQ (display.getPatternNumber(), 120);

    // A mode shows the number clamped to its own range and keeps the number as given.
    display.setDisplayMode (2);
    EXPECT_EQ (display.getShownNumber(), 96);
    EXPECT_EQ (display.getPatternNumber(), 120);
    EXPECT_EQ (frames (display), (std::vector<int>{13, 18, 1, 9})); // bank 12, slot 08

    display.setDisplayMode (1);
    display.setPatternNumber (0);
    EXPECT_EQ (display.getShownNumber(), 1);
    display.setPatternNumber (150);
    EXPECT_EQ (display.getShownNumber(), 99);
    EXPECT_EQ (frames (display), (std::vector<int>{0, 10, 10, 0}));

    // The note range starts at 12: a first number of 1 arriving in note mode still shows
    // as bank 1, slot 01 once the mode changes, and back.
    PatternNumberDisplay fresh ("p");
    skin.load (fresh, juce::String ("<PatternNumberDisplay notePatternMin='12' notePatternMax='107'>") + digitImages + "</PatternNumberDisplay>");
    fresh.setPatternNumber (1);
    EXPECT_EQ (frames (fresh), (std::vector<int>{11, 11, 12, 2})); // "P." "C" "-" 1: note 12
    fresh.setDisplayMode (2);
    EXPECT_EQ (frames (fresh), (std::vector<int>{2, 18, 1, 2})); // "1-01"
    EXPECT_EQ (paintedFrames (fresh), (std::vector<int>{2, 18, 1, 2}));
    fresh.setDisplayMode (0);
    fresh.setDisplayMode (2);
    EXPECT_EQ (frames (fresh), (std::vector<int>{2, 18, 1, 2}));

    // A skin range reaching the lowest int ("2147483648" wraps to it) still gives frames.
    PatternNumberDisplay wide ("p");
    skin.load (wide, juce::String ("<PatternNumberDisplay bankAndSlotPatternMin='2147483648'>") + digitImages + "</PatternNumberDisplay>");
    wide.setDisplayMode (2);
    wide.setPatternNumber (std::numeric_limits<int>::min());
    EXPECT_EQ (wide.getPatternNumber(), std::numeric_limits<int>::min());
    EXPECT_EQ (frames (wide)[1], 18);
    wide.createComponentSnapshot (wide.getLocalBounds());

    // Without images each digit draws its frame's text on grey.
    PatternNumberDisplay drawn ("p");
    skin.load (drawn, "<PatternNumberDisplay><size width='80' height='20'/><gfx firstDigit='missing.png'/></PatternNumberDisplay>");
    ASSERT_EQ (drawn.getNumDigits(), 4);
    EXPECT_EQ (drawn.getDigit (1)->getBounds(), juce::Rectangle<int> (20, 0, 20, 20));
    drawn.setPatternNumber (37);
    EXPECT_EQ (pixelAt (drawn, 2, 2), juce::Colour::greyLevel (0.9f));

    auto& second = *drawn.getDigit (1);
    EXPECT_EQ (static_cast<PatternNumberDisplay::PatternNumberDisplaySecondDigit&> (second).getFrameText (11), "C");
    EXPECT_EQ (drawn.getDigit (0)->getFrameText (11), "P.");
    EXPECT_EQ (drawn.getDigit (2)->getFrameText (11), "#");
    EXPECT_EQ (drawn.getDigit (3)->getFrameText (11), "10");
    EXPECT_EQ (drawn.getDigit (3)->getFrameText (0), "");
    EXPECT_EQ (drawn.getDigit (1)->getFrameText (18), "-");
    EXPECT_EQ (drawn.getDigit (1)->getFrameText (19), "");
}
