#include "WidgetTestSupport.h"
#include "gui/widgets/GFXDisplay.h"
#include "gui/widgets/GFXDisplayFloat.h"

#include <gtest/gtest.h>

using namespace widgettest;

namespace
{
// 64 glyphs of 6 x 9 from the space on, then their caret forms: glyph g has colour g,
// its caret form colour g + 64.
const char* const fontElement = "<gfx resource='font6x9.png' fontHeight='9' firstASCII=' '/>";

struct Edits : public GFXDisplayListener
{
    void displayTextChanged (GFXDisplay* display) override { texts.add (display->getText()); }
    juce::StringArray texts;
};

void type (GFXDisplay& display, const juce::String& text)
{
    for (auto c : text)
        display.keyPressed (juce::KeyPress ((int) juce::CharacterFunctions::toUpperCase (c), {}, c));
}

void press (GFXDisplay& display, int keyCode, juce::ModifierKeys mods = {})
{
    display.keyPressed (juce::KeyPress (keyCode, mods, 0));
}

int glyphAt (GFXDisplay& display, int x)
{
    return shownFrame (display, 128, x, display.getHeight() / 2);
}
} // namespace

TEST (GFXDisplay, FontLayoutAndCells)
{
    SkinContext skin;
    auto font = addStrip ("font6x9.png", 6, 9, 128);
    GFXDisplay display ("d");
    skin.load (display, juce::String ("<Display backgroundColour='#FF000000' caretColour='ffff0000' name='renamed'>") + fontElement + "<size width='287' height='13'/><pos left='4' top='5'/></Display>");

    EXPECT_EQ (display.getName(), "renamed");
    EXPECT_EQ (display.getBounds(), juce::Rectangle<int> (4, 5, 287, 13));
    EXPECT_EQ (display.getGlyphWidth(), 6);
    EXPECT_EQ (display.getGlyphCount(), 64);
    EXPECT_EQ (display.getFirstASCII(), 32);
    EXPECT_EQ (display.getLastASCII(), 95);
    EXPECT_EQ (display.getGlyphIndex ('a'), 63);
    EXPECT_EQ (display.getGlyphIndex ('\t'), 0);
    EXPECT_EQ (display.getGlyphIndex ('A'), 33);
    EXPECT_EQ (display.getNumCells(), 47);
    EXPECT_EQ (display.findColour (juce::CaretComponent::caretColourId), juce::Colours::red);
    EXPECT_TRUE (display.isEnabled());

    display.setText ("Ab");

    struct Case
    {
        int x, glyph;
    };

    const Case cases[] = {
        {1, -1}, // left margin: (287 - 47 * 6) / 2 = 2
        {2, 33}, // "A"
        {7, 33},
        {8, 63}, // a lower-case letter uses the last glyph
        {14, 0}, // past the text: spaces
        {2 + 47 * 6 - 1, 0},
        {2 + 47 * 6, -1},
    };

    for (auto& c : cases)
        EXPECT_EQ (glyphAt (display, c.x), c.glyph) << c.x;

    EXPECT_EQ (pixelAt (display, 1, 6), juce::Colours::black);

    // An absurdly wide display paints only the cells asked for (here 5 of 333 million).
    GFXDisplay wide ("d");
    skin.load (wide, juce::String ("<Display>") + fontElement + "<size width='2000000000' height='9'/></Display>");
    wide.setText ("Ab");
    const auto snapshot = wide.createComponentSnapshot ({0, 0, 30, 9});
    EXPECT_EQ (snapshot.getPixelAt (3, 4), frameColour ('A' - 32));
    EXPECT_EQ (snapshot.getPixelAt (15, 4), frameColour (0));
}

TEST (GFXDisplay, EditingReportsChangedTextOnce)
{
    SkinContext skin;
    auto font = addStrip ("font6x9.png", 6, 9, 128);
    Edits edits;
    GFXDisplay display ("d");
    skin.load (display, juce::String ("<Display>") + fontElement + "<size width='60' height='9'/></Display>");
    display.addListener (&edits);
    display.setText ("OLD");

    // Escape restores the text and tells nobody.
    display.focusGained (juce::Component::focusChangedByMouseClick);
    EXPECT_EQ (display.getCaretPosition(), 3);
    type (display, "XY");
    EXPECT_EQ (display.getText(), "OLDXY");
    press (display, juce::KeyPress::escapeKey);
    EXPECT_EQ (display.getText(), "OLD");
    display.focusLost (juce::Component::focusChangedByMouseClick);
    EXPECT_TRUE (edits.texts.isEmpty());

    // Typing and taking it back is no change.
    display.focusGained (juce::Component::focusChangedByMouseClick);
    type (display, "Z");
    press (display, juce::KeyPress::backspaceKey);
    press (display, juce::KeyPress::returnKey);
    display.focusLost (juce::Component::focusChangedByMouseClick);
    EXPECT_TRUE (edits.texts.isEmpty());

    // A real edit is reported once, on Return, and not again when focus goes.
    display.focusGained (juce::Component::focusChangedByMouseClick);
    press (display, juce::KeyPress::homeKey);
    type (display, "N");
    press (display, juce::KeyPress::deleteKey);
    press (display, juce::KeyPress::rightKey);
    press (display, juce::KeyPress::rightKey);
    press (display, juce::KeyPress::rightKey);
    type (display, "!");
    EXPECT_EQ (display.getText(), "NLD!");
    press (display, juce::KeyPress::leftKey, juce::ModifierKeys::shiftModifier); // counts only without modifiers
    press (display, juce::KeyPress::F1Key);
    type (display, "\t");
    EXPECT_EQ (display.getText(), "NLD!");
    press (display, juce::KeyPress::returnKey);
    EXPECT_EQ (edits.texts, juce::StringArray ("NLD!"));
    display.focusLost (juce::Component::focusChangedByMouseClick);
    EXPECT_EQ (edits.texts, juce::StringArray ("NLD!"));

    // A key's code decides whether it is in the font; its character is inserted.
    display.focusGained (juce::Component::focusChangedByMouseClick);
    display.keyPressed (juce::KeyPress ('A', {}, 'a'));
    display.keyPressed (juce::KeyPress ('a', {}, 'a'));
    display.focusLost (juce::Component::focusChangedByMouseClick);
    EXPECT_EQ (edits.texts, juce::StringArray ("NLD!", "NLD!a"));
}

TEST (GFXDisplay, CaretAndScrolling)
{
    SkinContext skin;
    auto font = addStrip ("font6x9.png", 6, 9, 128);
    GFXDisplay display ("d");
    skin.load (display, juce::String ("<Display>") + fontElement + "<size width='30' height='9'/></Display>");
    display.setText ("ABCDEFGHIJ");
    EXPECT_EQ (display.getNumCells(), 5);

    display.focusGained (juce::Component::focusChangedByMouseClick);
    EXPECT_EQ (display.getFirstVisible(), 6);
    // The caret cell is drawn from the caret half of the font.
    EXPECT_EQ (glyphAt (display, 1), 'G' - 32);
    EXPECT_EQ (glyphAt (display, 4 * 6 + 1), 64);

    struct Step
    {
        int key, caret, firstVisible;
    };

    const Step steps[] = {
        {juce::KeyPress::homeKey, 0, 0},
        {juce::KeyPress::rightKey, 1, 0},
        {juce::KeyPress::leftKey, 0, 0},
        {juce::KeyPress::leftKey, 0, 0},
        {juce::KeyPress::endKey, 10, 6},
        {juce::KeyPress::leftKey, 9, 6},
        {juce::KeyPress::rightKey, 10, 6},
        {juce::KeyPress::rightKey, 10, 6},
        {juce::KeyPress::homeKey, 0, 0},
        {juce::KeyPress::rightKey, 1, 0},
        {juce::KeyPress::rightKey, 2, 0},
        {juce::KeyPress::rightKey, 3, 0},
        {juce::KeyPress::rightKey, 4, 1},
    };

    for (auto& s : steps)
    {
        press (display, s.key);
        EXPECT_EQ (display.getCaretPosition(), s.caret) << s.key;
        EXPECT_EQ (display.getFirstVisible(), s.firstVisible) << s.key;
    }

    EXPECT_EQ (glyphAt (display, 3 * 6 + 1), 'E' - 32 + 64);

    display.focusLost (juce::Component::focusChangedByMouseClick);
    EXPECT_EQ (display.getCaretPosition(), 0);
    EXPECT_EQ (display.getFirstVisible(), 0);
    EXPECT_EQ (glyphAt (display, 1), 'A' - 32);
}

TEST (GFXDisplay, BlinkOnPhaseShowsTheBackgroundOnly)
{
    SkinContext skin;
    auto font = addStrip ("font6x9.png", 6, 9, 128);
    GFXDisplay display ("d");
    skin.load (display, juce::String ("<Display backgroundColour='FF000000'>") + fontElement + "<size width='30' height='9'/></Display>");
    display.setText ("!!!!!");
    display.setBlinkInterval (10);
    display.startBlinking();
    EXPECT_EQ (glyphAt (display, 1), 1);

    ASSERT_TRUE (pumpUntil ([&]
                            { return display.isInBlinkOnPhase(); }));
    EXPECT_EQ (display.getShownText(), "");
    EXPECT_EQ (glyphAt (display, 1), 0); // a space
    EXPECT_EQ (display.getText(), "!!!!!");
    display.stopBlinking();
    EXPECT_EQ (glyphAt (display, 1), 1);
}

TEST (GFXDisplay, MissingFontOrGlyphHeightNeverDividesByZero)
{
    SkinContext skin;
    auto font = addStrip ("font6x9.png", 6, 9, 128);

    const char* elements[] = {
        "<Display><size width='50' height='12'/></Display>",
        "<Display><gfx resource='font6x9.png'/><size width='50' height='12'/></Display>",
        "<Display><gfx resource='font6x9.png' fontHeight='0'/><size width='50' height='12'/></Display>",
        "<Display><gfx resource='font6x9.png' fontHeight='5000'/><size width='50' height='12'/></Display>",
        "<Display><gfx resource='font6x9.png' fontHeight='2000000000'/><size width='50' height='12'/></Display>",
        "<Display><gfx resource='font6x9.png' fontHeight='-3'/><size width='2' height='12'/></Display>",
        "<Display><gfx resource='missing.png' fontHeight='9' firstASCII=''/><size width='50' height='12'/></Display>",
    };

    for (auto* element : elements)
    {
        GFXDisplay display ("d");
        skin.load (display, element);
        display.setText ("ABC");
        display.focusGained (juce::Component::focusChangedByMouseClick);
        type (display, "D");
        press (display, juce::KeyPress::leftKey);
        display.createComponentSnapshot (display.getLocalBounds());
        press (display, juce::KeyPress::returnKey);
        EXPECT_LE (display.getFirstVisible(), display.getText().length()) << element;
    }
}

TEST (GFXDisplay, ParameterTextReadOnlyAndFloat)
{
    SkinContext skin;
    GFXDisplay name ("d");
    skin.load (name, "<Display readonly='yes'><links><link as='connectedTo' param='Name'/></links></Display>");
    EXPECT_FALSE (name.isEnabled());
    skin.param ("Name")->setText ("KICKS", true);
    pumpPendingMessages();
    EXPECT_EQ (name.getText(), "KICKS");

    name.focusGained (juce::Component::focusChangedByMouseClick);
    EXPECT_FALSE (name.isEditing());

    GFXDisplayFloat tempo ("t");
    skin.load (tempo, "<DisplayFloat readonly='Yes'><links><link as='connectedTo' param='Tempo'/></links></DisplayFloat>");
    EXPECT_TRUE (tempo.isEnabled());

    struct Case
    {
        float value;
        const char* text;
    };

    const Case cases[] = {{120.0f, "120"}, {120.5f, "120.5"}, {33.3f, "33.2999992"}};

    for (auto& c : cases)
    {
        skin.param ("Tempo")->setValue (c.value, false);
        tempo.updateFromParameter (skin.param ("Tempo"));
        EXPECT_EQ (tempo.getText(), c.text);
    }
}

TEST (GFXDisplay, EditingNeedsItsSwitchAndAClickNeverHandedBackFocus)
{
    SkinContext skin;
    auto font = addStrip ("font6x9.png", 6, 9, 128);
    Edits edits, removed;
    GFXDisplay display ("d");
    skin.load (display, juce::String ("<Display>") + fontElement + "<size width='60' height='9'/></Display>");
    display.addListener (&edits);
    display.addListener (&removed);
    display.removeListener (&removed);
    display.setText ("OLD");

    // Focus the toolkit hands on (a focused display leaving its panel) starts no edit, and
    // the keys then stay the host's.
    display.focusGained (juce::Component::focusChangedDirectly);
    EXPECT_FALSE (display.isEditing());
    EXPECT_FALSE (display.keyPressed (juce::KeyPress (juce::KeyPress::returnKey)));

    // Switched off: no focus wanted, a click edits nothing.
    EXPECT_TRUE (display.getWantsKeyboardFocus());
    display.setEditingAllowed (false);
    EXPECT_FALSE (display.getWantsKeyboardFocus());
    EXPECT_FALSE (display.getMouseClickGrabsKeyboardFocus());
    EXPECT_TRUE (display.isEnabled());
    display.focusGained (juce::Component::focusChangedByMouseClick);
    EXPECT_FALSE (display.isEditing());

    // Switched off during an edit: the edit ends as a loss of focus does, and only the
    // listener still registered hears it.
    display.setEditingAllowed (true);
    display.focusGained (juce::Component::focusChangedByMouseClick);
    ASSERT_TRUE (display.isEditing());
    type (display, "X");
    display.setEditingAllowed (false);
    EXPECT_FALSE (display.isEditing());
    EXPECT_EQ (edits.texts, juce::StringArray ("OLDX"));
    EXPECT_TRUE (removed.texts.isEmpty());

    // Enabled but not allowed, and allowed but read-only, both refuse.
    skin.load (display, juce::String ("<Display readonly='yes'>") + fontElement + "<size width='60' height='9'/></Display>");
    display.setEditingAllowed (true);
    display.focusGained (juce::Component::focusChangedByMouseClick);
    EXPECT_FALSE (display.isEditing());
}
