#include "gui/widgets/MusicKeyboard.h"
#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

using namespace widgettest;

namespace
{
struct KeyLog : public MusicKeyboard::Listener
{
    void keyPressed (int note) override { log.push_back ("+" + std::to_string (note)); }
    void keyReleased (int note) override { log.push_back ("-" + std::to_string (note)); }

    std::vector<std::string> log;
};

std::vector<int> pressedKeys (const MusicKeyboard& keyboard)
{
    std::vector<int> pressed;

    for (int note = 0; note < MusicKeyboard::numKeys; ++note)
        if (keyboard.isKeyPressed (note))
            pressed.push_back (note);

    return pressed;
}
} // namespace

TEST (MusicKeyboard, KeysAreMadeInOrderWithBlackKeysInFront)
{
    MusicKeyboard keyboard ("kb");
    EXPECT_EQ (keyboard.getFirstKey(), 0);
    EXPECT_EQ (keyboard.getLastKey(), 127);
    EXPECT_TRUE (keyboard.isMouseEnabled());
    EXPECT_EQ (keyboard.getKey (60)->getName(), "Key No. 60");

    // Every black key lies in front of every white key.
    int frontmostWhite = -1, backmostBlack = 1000;

    for (int note = 0; note < 128; ++note)
    {
        const int index = keyboard.getIndexOfChildComponent (keyboard.getKey (note));

        if (MusicKeyboard::isBlackNote (note))
            backmostBlack = std::min (backmostBlack, index);
        else
            frontmostWhite = std::max (frontmostWhite, index);
    }

    EXPECT_LT (frontmostWhite, backmostBlack);
}

TEST (MusicKeyboard, LayoutFollowsThePianoShapes)
{
    SkinContext skin;
    MusicKeyboard keyboard ("kb");
    skin.load (keyboard, "<MusicKeyboard firstKey='60' lastKey='71'><size width='120' height='50'/><pos left='7' top='9'/></MusicKeyboard>");
    EXPECT_EQ (keyboard.getBounds(), juce::Rectangle<int> (7, 9, 120, 50));

    // One unit is 10 pixels; black keys are 11 wide and trunc (0.642 * 50) + 2 high.
    const std::pair<int, juce::Rectangle<int>> expected[] = {
        {60, {0, -2, 18, 52}},   // C: round (16.666) + 1
        {61, {10, -2, 11, 34}},  // C#
        {62, {17, -2, 18, 52}},  // D: round (20 - 3.333)
        {64, {33, -2, 18, 52}},  // E: round (40 - 6.666)
        {65, {50, -2, 19, 52}},  // F: round (17.5) + 1, half away from zero
        {67, {68, -2, 19, 52}},  // G: round (67.5)
        {69, {85, -2, 20, 52}},  // A: round (84.9), round (19) + 1
        {70, {100, -2, 11, 34}}, // A#
        {71, {103, -2, 19, 52}}, // B: round (102.5)
    };

    for (auto& [note, bounds] : expected)
        EXPECT_EQ (keyboard.getKey (note)->getBounds(), bounds) << note;

    for (int note = 0; note < 128; ++note)
        EXPECT_EQ (keyboard.getKey (note)->isVisible(), note >= 60 && note <= 71) << note;

    // Resizing lays the keys out again.
    keyboard.setSize (240, 50);
    EXPECT_EQ (keyboard.getKey (61)->getBounds(), juce::Rectangle<int> (20, -2, 21, 34));

    // One key takes the whole width, times its factor.
    skin.load (keyboard, "<MusicKeyboard firstKey='60' lastKey='60'><size width='100' height='40'/></MusicKeyboard>");
    EXPECT_EQ (keyboard.getKey (60)->getBounds(), juce::Rectangle<int> (0, -2, 168, 42));
    EXPECT_FALSE (keyboard.getKey (61)->isVisible());
}

TEST (MusicKeyboard, KeyRangeFromASkinIsKeptInsideTheKeys)
{
    SkinContext skin;
    struct Case
    {
        const char* attributes;
        int first, last;
    };

    const Case cases[] = {
        {"firstKey='-5' lastKey='300'", 0, 127},
        {"firstKey='100' lastKey='50'", 100, 100}, // no negative count to divide by
        {"firstKey='130' lastKey='140'", 127, 127},
        {"firstKey='20'", 0, 127}, // read only when both are there
    };

    for (auto& c : cases)
    {
        MusicKeyboard keyboard ("kb");
        skin.load (keyboard, juce::String ("<MusicKeyboard ") + c.attributes + "><size width='64' height='20'/></MusicKeyboard>");
        EXPECT_EQ (keyboard.getFirstKey(), c.first) << c.attributes;
        EXPECT_EQ (keyboard.getLastKey(), c.last) << c.attributes;

        for (int note = 0; note < 128; ++note)
            EXPECT_EQ (keyboard.getKey (note)->isVisible(), note >= c.first && note <= c.last);
    }
}

TEST (MusicKeyboard, MousePlaysTheKeyUnderThePointer)
{
    SkinContext skin;
    KeyLog keys;
    MusicKeyboard keyboard ("kb");
    skin.load (keyboard, "<MusicKeyboard firstKey='60' lastKey='71'><size width='120' height='50'/></MusicKeyboard>");
    keyboard.addListener (&keys);

    // The black key over the white ones plays.
    keyboard.mouseDown (mouseEvent (keyboard, 12.0f, 5.0f));
    EXPECT_EQ (pressedKeys (keyboard), std::vector<int>{61});
    EXPECT_EQ (keyboard.getCurrentKey(), keyboard.getKey (61));
    keyboard.mouseUp (mouseEvent (keyboard, 12.0f, 5.0f));
    EXPECT_TRUE (pressedKeys (keyboard).empty());
    EXPECT_EQ (keyboard.getCurrentKey(), nullptr);

    // Dragging releases each key as the pointer leaves it and presses the next.
    keys.log.clear();
    keyboard.mouseDown (mouseEvent (keyboard, 5.0f, 45.0f));
    keyboard.mouseDrag (mouseEvent (keyboard, 8.0f, 45.0f));
    keyboard.mouseDrag (mouseEvent (keyboard, 25.0f, 45.0f));
    keyboard.mouseDrag (mouseEvent (keyboard, 38.0f, 45.0f));
    keyboard.mouseDrag (mouseEvent (keyboard, 500.0f, 45.0f));
    keyboard.mouseUp (mouseEvent (keyboard, 500.0f, 45.0f));
    EXPECT_EQ (keys.log, (std::vector<std::string>{"+60", "-60", "+62", "-62", "+64", "-64"}));
    EXPECT_TRUE (pressedKeys (keyboard).empty());

    // Letting go outside the keys leaves nothing held.
    keys.log.clear();
    keyboard.mouseDown (mouseEvent (keyboard, 5.0f, 45.0f));
    keyboard.mouseUp (mouseEvent (keyboard, 500.0f, 45.0f));
    EXPECT_EQ (keys.log, (std::vector<std::string>{"+60", "-60"}));

    // Listeners are called last added first.
    KeyLog second;
    std::vector<std::string> order;
    struct Ordered : public MusicKeyboard::Listener
    {
        Ordered (std::vector<std::string>& l, std::string n)
            : log (l)
            , name (std::move (n))
        {
        }
        void keyPressed (int) override { log.push_back (name); }
        void keyReleased (int) override {}
        std::vector<std::string>& log;
        std::string name;
    } a (order, "a"), b (order, "b");
    keyboard.removeListener (&keys);
    keyboard.addListener (&a);
    keyboard.addListener (&b);
    keyboard.addListener (&a);
    keyboard.mouseDown (mouseEvent (keyboard, 5.0f, 45.0f));
    keyboard.mouseUp (mouseEvent (keyboard, 5.0f, 45.0f));
    EXPECT_EQ (order, (std::vector<std::string>{"b", "a"}));

    // With the mouse off, clicks and drags change nothing.
    order.clear();
    skin.load (keyboard, "<MusicKeyboard mouseEnabled='false'><size width='120' height='50'/></MusicKeyboard>");
    EXPECT_FALSE (keyboard.isMouseEnabled());
    keyboard.mouseDown (mouseEvent (keyboard, 5.0f, 45.0f));
    keyboard.mouseDrag (mouseEvent (keyboard, 25.0f, 45.0f));
    EXPECT_TRUE (pressedKeys (keyboard).empty());
    EXPECT_TRUE (order.empty());
}

TEST (MusicKeyboard, KeyFramesShowTheNeighboursStates)
{
    SkinContext skin;
    auto strip = addStrip ("pianokey8.png", 10, 30, 8);
    MusicKeyboard keyboard ("kb");
    skin.load (keyboard, "<MusicKeyboard firstKey='60' lastKey='62'><size width='60' height='40'/><pos left='10' top='20'/>"
                         "<Keys>"
                         "  <Key/>"
                         "  <Key left='1' right='1'><gfx resource='pianokey8.png' framesNum='8'/>"
                         "    <size width='10' height='30'/><pos left='30' top='25'/></Key>"
                         "  <Key left='2'/>"
                         "</Keys></MusicKeyboard>");

    // A Key element without gfx still takes its note: the second element is note 61.
    auto* key = keyboard.getKey (61);
    ASSERT_TRUE (key->hasImage());
    EXPECT_FALSE (keyboard.getKey (60)->hasImage());
    EXPECT_EQ (keyboard.getKey (62)->getLeftNeighbours(), 2);

    // Given in panel coordinates, kept by the layout.
    EXPECT_EQ (key->getBounds(), juce::Rectangle<int> (20, 5, 10, 30));

    // Bits from the highest neighbour down: D (62) then C (60); the key's own press adds half the strip.
    EXPECT_EQ (key->getFrameIndex(), 0);
    EXPECT_EQ (shownFrame (*key, 8), 0);

    keyboard.mouseDown (mouseEvent (keyboard, 5.0f, 38.0f)); // C
    EXPECT_EQ (key->getFrameIndex(), 1);
    EXPECT_EQ (shownFrame (*key, 8), 1);

    keyboard.mouseDrag (mouseEvent (keyboard, 50.0f, 38.0f)); // on to D
    EXPECT_EQ (key->getFrameIndex(), 2);
    EXPECT_EQ (shownFrame (*key, 8), 2);

    keyboard.mouseDrag (mouseEvent (keyboard, 25.0f, 10.0f)); // on to C#
    EXPECT_EQ (key->getFrameIndex(), 4);
    EXPECT_EQ (shownFrame (*key, 8), 4);
    keyboard.mouseUp (mouseEvent (keyboard, 25.0f, 10.0f));
    EXPECT_EQ (key->getFrameIndex(), 0);
}

TEST (MusicKeyboard, DrawnKeysUseTheKeyboardColours)
{
    SkinContext skin;
    MusicKeyboard keyboard ("kb");
    skin.load (keyboard, "<MusicKeyboard firstKey='60' lastKey='71'><size width='120' height='50'/></MusicKeyboard>");
    keyboard.setColour (MusicKeyboard::whiteKeyColourId, juce::Colour (0xff5ea5b2));
    keyboard.setColour (MusicKeyboard::whiteKeyPressedColourId, juce::Colours::white);
    keyboard.setColour (MusicKeyboard::blackKeyColourId, juce::Colour (0xff1c4a52));

    EXPECT_EQ (pixelAt (keyboard, 5, 45), juce::Colour (0xff5ea5b2));
    EXPECT_EQ (pixelAt (keyboard, 15, 10), juce::Colour (0xff1c4a52));

    keyboard.mouseDown (mouseEvent (keyboard, 5.0f, 45.0f));
    EXPECT_EQ (pixelAt (keyboard, 5, 45), juce::Colours::white);
    keyboard.mouseUp (mouseEvent (keyboard, 5.0f, 45.0f));
}
