#include "gui/widgets/NoteDisplay.h"
#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

using namespace widgettest;

namespace
{
struct NoteSkin : public SkinContext
{
    NoteSkin() { parameters.addParameter (std::make_unique<IntParameter> (20, "Wide Note", -1000, 1000, 60)); }
};
} // namespace

TEST (NoteDisplay, PartsAreLaidOutFromTheStripsOrThePartSize)
{
    NoteSkin skin;
    auto notes = addStrip ("notes9.png", 8, 12, 9);
    auto tones = addStrip ("tones3.png", 5, 12, 3);
    auto octaves = addStrip ("octaves13.png", 9, 12, 13);

    NoteDisplay display ("n");
    EXPECT_EQ (display.getNotesArea(), juce::Rectangle<int> (0, 0, 10, 16));
    EXPECT_EQ (display.getOctavesArea(), juce::Rectangle<int> (20, 0, 10, 16));

    skin.load (display, "<NoteDisplay><gfx><notes resource='notes9.png'/><tones resource='tones3.png'/>"
                        "<octaves resource='octaves13.png'/></gfx><pos left='4' top='6'/></NoteDisplay>");
    EXPECT_EQ (display.getNotesArea(), juce::Rectangle<int> (0, 0, 8, 12));
    EXPECT_EQ (display.getTonesArea(), juce::Rectangle<int> (8, 0, 5, 12));
    EXPECT_EQ (display.getOctavesArea(), juce::Rectangle<int> (13, 0, 9, 12));
    EXPECT_EQ (display.getBounds(), juce::Rectangle<int> (4, 6, 22, 36));

    // A present size with a missing attribute reads 0 for it; parts without strips take it.
    NoteDisplay drawn ("d");
    skin.load (drawn, "<NoteDisplay><size width='12'/></NoteDisplay>");
    EXPECT_EQ (drawn.getNotesArea(), juce::Rectangle<int> (0, 0, 12, 0));
}

TEST (NoteDisplay, FramesShowLetterAccidentalAndOctave)
{
    NoteSkin skin;
    auto notes = addStrip ("notes9.png", 8, 12, 9);
    auto tones = addStrip ("tones3.png", 5, 12, 3);
    auto octaves = addStrip ("octaves13.png", 9, 12, 13);
    juce::Component parent;
    NoteDisplay display ("n");
    parent.addAndMakeVisible (display);
    skin.load (display, "<NoteDisplay><links><link as='connectedTo' param='Wide Note'/></links>"
                        "<gfx><notes resource='notes9.png'/><tones resource='tones3.png'/>"
                        "<octaves resource='octaves13.png'/></gfx></NoteDisplay>");

    struct Case
    {
        int value, note, notesFrame, tonesFrame, octavesFrame;
    };

    const Case cases[] = {
        {61, 61, 1, 1, 6},    // C#: the letter of the key below
        {60, 60, 1, 2, 6},    // C, natural, octave 5
        {71, 71, 7, 2, 6},    // B
        {200, 127, 5, 2, 11}, // G of octave 10
        {-5, 0, 1, 2, 1},
    };

    auto* linked = skin.param ("Wide Note");

    for (auto& c : cases)
    {
        linked->setIntValue (c.value, true);
        pumpPendingMessages();
        EXPECT_EQ (display.getNote(), c.note) << c.value;
        EXPECT_EQ (display.getNotesFrame(), c.notesFrame) << c.value;
        EXPECT_EQ (display.getTonesFrame(), c.tonesFrame) << c.value;
        EXPECT_EQ (display.getOctavesFrame(), c.octavesFrame) << c.value;
        EXPECT_EQ (shownFrame (display, 13, 4, 6), c.notesFrame);
        EXPECT_EQ (shownFrame (display, 13, 10, 6), c.tonesFrame);
        EXPECT_EQ (shownFrame (display, 13, 17, 6), c.octavesFrame);
    }

    // A disabled panel blanks every part, on an open window too, and lights them again.
    parent.setSize (display.getWidth(), display.getHeight());
    RetainedPicture window (parent);
    parent.setEnabled (false);
    EXPECT_EQ (display.getNotesFrame(), 0);
    EXPECT_EQ (display.getTonesFrame(), 0);
    EXPECT_EQ (shownFrame (display, 13, 17, 6), 0);
    EXPECT_TRUE (window.difference().isEmpty()) << window.difference().toString();
    parent.setEnabled (true);
    EXPECT_TRUE (window.difference().isEmpty()) << window.difference().toString();
}

TEST (NoteDisplay, DraggingMovesOneSemitonePerTwentyPixels)
{
    NoteSkin skin;
    std::vector<std::string> log;
    Recorder widgetListener (log, "W"), host (log, "H");
    auto* linked = skin.param ("Wide Note");
    linked->addListener (&host);

    NoteDisplay display ("n");
    skin.load (display, "<NoteDisplay><links><link as='connectedTo' param='Wide Note'/></links></NoteDisplay>");
    display.addListener (&widgetListener);
    display.updateFromParameter (linked);
    ASSERT_EQ (display.getNote(), 60);

    const juce::Point<float> down (5.0f, 50.0f);
    display.mouseDown (mouseEvent (display, down.x, down.y));
    display.mouseDrag (mouseEvent (display, 5.0f, 31.0f, juce::ModifierKeys::leftButtonModifier, down)); // 19 up: nothing yet
    EXPECT_EQ (display.getNote(), 60);
    display.mouseDrag (mouseEvent (display, 5.0f, 5.0f, juce::ModifierKeys::leftButtonModifier, down)); // 45 up
    EXPECT_EQ (display.getNote(), 62);
    EXPECT_EQ (linked->getIntValue(), 62);
    display.mouseDrag (mouseEvent (display, 5.0f, 109.0f, juce::ModifierKeys::leftButtonModifier, down)); // 59 down
    EXPECT_EQ (display.getNote(), 58);
    display.mouseUp (mouseEvent (display, 5.0f, 109.0f, juce::ModifierKeys(), down));

    EXPECT_EQ (log, (std::vector<std::string>{"H.gestureBegin", "W.begin", "H.param", "W.value", "H.param", "W.value",
                                              "H.gestureEnd", "W.end"}));

    // The range ends at the keyboard's ends.
    display.mouseDown (mouseEvent (display, 5.0f, 5000.0f));
    display.mouseDrag (mouseEvent (display, 5.0f, 0.0f, juce::ModifierKeys::leftButtonModifier, {5.0f, 5000.0f}));
    EXPECT_EQ (display.getNote(), 127);
    display.mouseUp (mouseEvent (display, 5.0f, 0.0f, juce::ModifierKeys(), {5.0f, 5000.0f}));
    linked->removeListener (&host);

    // Unlinked, it still moves but tells nobody.
    log.clear();
    NoteDisplay loose ("l");
    loose.addListener (&widgetListener);
    loose.mouseDown (mouseEvent (loose, 5.0f, 50.0f));
    loose.mouseDrag (mouseEvent (loose, 5.0f, 10.0f, juce::ModifierKeys::leftButtonModifier, {5.0f, 50.0f}));
    loose.mouseUp (mouseEvent (loose, 5.0f, 10.0f, juce::ModifierKeys(), {5.0f, 50.0f}));
    EXPECT_EQ (loose.getNote(), 2);
    EXPECT_TRUE (log.empty());
}

TEST (NoteDisplay, DrawnWithoutStripsAndBlankWhileBlinking)
{
    NoteSkin skin;
    NoteDisplay display ("n");
    skin.load (display, "<NoteDisplay><size width='20' height='20'/></NoteDisplay>");
    EXPECT_EQ (display.getBounds(), juce::Rectangle<int> (0, 0, 60, 60));

    // White parts with black text while active.
    auto image = display.createComponentSnapshot (display.getLocalBounds(), true, 1.0f);
    EXPECT_EQ (image.getPixelAt (1, 1), juce::Colours::white);
    bool anyDark = false;

    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            anyDark = anyDark || image.getPixelAt (x, y).getBrightness() < 0.5f;

    EXPECT_TRUE (anyDark) << "the letter is drawn";

    display.setBlinkInterval (10);
    display.startBlinking();
    ASSERT_TRUE (pumpUntil ([&]
                            { return display.isInBlinkOnPhase(); }));
    EXPECT_FALSE (display.isActive());
    EXPECT_EQ (display.getNotesFrame(), 0);
    display.stopBlinking();
    EXPECT_TRUE (display.isActive());
}
