#pragma once

#include "gui/controls/LiftedWindow.h"
#include "gui/widgets/GFXDisplayListener.h"
#include "gui/widgets/GUIController.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** A line of text in a bitmap font, editable in place. The font image is a strip
    glyphWidth wide: glyphCount glyphs of fontHeight rows from firstASCII on, then the
    same glyphs again in their caret form.

    An edit starts from a click on the display only, never from focus handed back by the
    toolkit, and lifts the display into a window of its own in the same place (LiftedWindow),
    which takes the keys, until Return, Escape or a loss of focus; when the host closes its
    window meanwhile, the edit ends as a loss of focus does. */
class GFXDisplay : public GUIController, public juce::Component, private juce::Timer, private LiftedWindow::Client
{
public:
    explicit GFXDisplay (const juce::String& name);
    ~GFXDisplay() override;

    void updateFromParameter (Parameter* parameter) override;
    void loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context) override;
    void blinkStateChanged() override;

    void paint (juce::Graphics& g) override;
    bool keyPressed (const juce::KeyPress& key) override;
    void focusGained (FocusChangeType cause) override;
    void focusLost (FocusChangeType cause) override;
    void mouseDown (const juce::MouseEvent& e) override;

    using GUIController::addListener;
    void addListener (GFXDisplayListener* listener);
    void removeListener (GFXDisplayListener* listener);

    /** Apart from enablement (which the skin's read-only flag sets): when off, the display
        takes no keyboard focus and cannot be edited; an edit under way ends. On at first. */
    void setEditingAllowed (bool shouldBeAllowed);
    bool isEditingAllowed() const noexcept { return editingAllowed; }

    const juce::String& getText() const noexcept { return text; }
    void setText (const juce::String& newText);
    const juce::String& getShownText() const noexcept { return shownText; }

    int getCaretPosition() const noexcept { return caretPosition; }
    int getFirstVisible() const noexcept { return firstVisible; }
    int getGlyphWidth() const noexcept { return glyphWidth; }
    int getFontHeight() const noexcept { return fontHeight; }
    int getFirstASCII() const noexcept { return firstASCII; }
    int getLastASCII() const noexcept { return lastASCII; }
    int getGlyphCount() const noexcept { return glyphCount; }
    bool isEditing() const noexcept { return editing; }

    /** Number of whole glyph cells across the display (0 without a usable font). */
    int getNumCells() const noexcept;

    /** The glyph that draws a character: characters outside the font use its first or last. */
    int getGlyphIndex (juce::juce_wchar character) const noexcept;

private:
    void timerCallback() override;
    void updateFontLayout();
    void scrollToCaret();
    void beginEditing();
    void finishEditing();
    void returnToParent();
    void liftedPlaceGone() override;
    void liftedFocusGone() override;
    bool mayStartEditing() const;

    juce::String text, shownText, originalText;
    juce::Image fontImage;
    int glyphWidth = 8;
    int fontHeight = 0;
    int firstASCII = 32, lastASCII = 160;
    int glyphCount = 129;
    int caretPosition = 0;
    int firstVisible = 0;
    bool caretVisible = false;
    bool caretAsInverseGlyph = true;
    bool centreShortText = false;
    bool editing = false;
    bool editingAllowed = true;

    // Set while the display moves between its panel and the desktop, when the toolkit
    // moves focus on its own.
    bool reparenting = false;

    juce::Component::SafePointer<juce::Component> savedParent;
    juce::Rectangle<int> savedBounds;
    LiftedWindow liftedWindow{*this, *this};
    juce::Array<GFXDisplayListener*> displayListeners;
};
